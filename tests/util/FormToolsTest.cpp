// Window placement kept from one run to the next.
#include "tests/util/Sandbox.h"
#include "util/core/AppInfo.h"
#include "util/widgets/FormTools.h"

#include <QApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

QString storedLine(const QString &name)
{
    QSettings settings(kAppTitle, kAppTitle);
    return settings.value(QStringLiteral("FormSettings/") + name).toString();
}

void storeLine(const QString &name, const QString &line)
{
    QSettings settings(kAppTitle, kAppTitle);
    settings.setValue(QStringLiteral("FormSettings/") + name, line);
}

class FormTools : public ::testing::Test {
protected:
    void SetUp() override { testsupport::clearSettings(); }
};

} // namespace

TEST_F(FormTools, FirstSeenWindowIsCentredOnTheScreen)
{
    QWidget window;
    window.setObjectName(QStringLiteral("frmNou"));
    window.resize(300, 200);
    pgLoadFormSettings(&window);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window.pos(), QPoint(area.x() + (area.width() - 300) / 2, area.y() + (area.height() - 200) / 2));
    EXPECT_EQ(window.size(), QSize(300, 200));
}

TEST_F(FormTools, NormalPlacementRoundTripsInTwips)
{
    {
        QWidget window;
        window.setObjectName(QStringLiteral("frmNormal"));
        window.move(40, 30);
        window.resize(320, 240);
        window.show();
        QApplication::processEvents();
        pgSaveFormSettings(&window);
    }
    const QStringList fields = storedLine(QStringLiteral("frmNormal")).split(QLatin1Char('|'));
    ASSERT_EQ(fields.size(), 6);
    EXPECT_EQ(fields.at(0), QStringLiteral("2"));
    EXPECT_EQ(fields.at(1), QStringLiteral("600"));
    EXPECT_EQ(fields.at(2), QStringLiteral("450"));
    EXPECT_EQ(fields.at(3), QStringLiteral("0"));
    EXPECT_EQ(fields.at(4), QStringLiteral("4800"));
    EXPECT_EQ(fields.at(5), QStringLiteral("3600"));

    QWidget again;
    again.setObjectName(QStringLiteral("frmNormal"));
    pgLoadFormSettings(&again);
    EXPECT_EQ(again.size(), QSize(320, 240));
    EXPECT_EQ(again.pos(), QPoint(40, 30));
}

TEST_F(FormTools, MaximisedComesBackMaximisedAndMinimisedComesBackNormal)
{
    {
        QWidget window;
        window.setObjectName(QStringLiteral("frmMare"));
        window.resize(320, 240);
        window.move(20, 10);
        window.showMaximized();
        QApplication::processEvents();
        pgSaveFormSettings(&window);
    }
    EXPECT_EQ(storedLine(QStringLiteral("frmMare")).split(QLatin1Char('|')).value(3), QStringLiteral("2"));
    QWidget maximised;
    maximised.setObjectName(QStringLiteral("frmMare"));
    pgLoadFormSettings(&maximised);
    EXPECT_TRUE(maximised.windowState().testFlag(Qt::WindowMaximized));

    // A minimised window is stored in its normal state, with its normal size.
    {
        QWidget window;
        window.setObjectName(QStringLiteral("frmMic"));
        window.move(60, 50);
        window.resize(330, 250);
        window.show();
        QApplication::processEvents();
        window.setWindowState(Qt::WindowMinimized);
        QApplication::processEvents();
        pgSaveFormSettings(&window);
    }
    const QStringList fields = storedLine(QStringLiteral("frmMic")).split(QLatin1Char('|'));
    ASSERT_EQ(fields.size(), 6);
    EXPECT_EQ(fields.at(3), QStringLiteral("0"));
    QWidget normal;
    normal.setObjectName(QStringLiteral("frmMic"));
    pgLoadFormSettings(&normal);
    EXPECT_FALSE(normal.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    EXPECT_EQ(normal.size(), QSize(330, 250));
}

TEST_F(FormTools, FixedBorderTakesPositionOnlyAndOldTagIsHonoured)
{
    storeLine(QStringLiteral("frmFix"), QStringLiteral("2|1500|750|0|9000|6000"));
    QWidget fixed;
    fixed.setObjectName(QStringLiteral("frmFix"));
    fixed.setFixedSize(200, 100);
    ASSERT_TRUE(fgHasFixedBorder(&fixed));
    pgLoadFormSettings(&fixed);
    EXPECT_EQ(fixed.pos(), QPoint(100, 50));
    EXPECT_EQ(fixed.size(), QSize(200, 100));

    QWidget sizable;
    sizable.setObjectName(QStringLiteral("frmFix"));
    pgLoadFormSettings(&sizable);
    EXPECT_EQ(sizable.pos(), QPoint(100, 50));
    EXPECT_EQ(sizable.size(), QSize(600, 400));

    storeLine(QStringLiteral("frmVechi"), QStringLiteral("1|3000|1500"));
    QWidget old;
    old.setObjectName(QStringLiteral("frmVechi"));
    old.resize(250, 150);
    pgLoadFormSettings(&old);
    EXPECT_EQ(old.pos(), QPoint(200, 100));
    EXPECT_EQ(old.size(), QSize(250, 150));

    // Another tag or a damaged line leaves the window where it is.
    for (const QString &line : {QStringLiteral("3|1|2|0|3|4"), QStringLiteral("2|x|y|0|z|w"), QStringLiteral("2|15")}) {
        storeLine(QStringLiteral("frmAltul"), line);
        QWidget other;
        other.setObjectName(QStringLiteral("frmAltul"));
        other.move(7, 9);
        other.resize(110, 120);
        pgLoadFormSettings(&other);
        EXPECT_EQ(other.pos(), QPoint(7, 9)) << line.toStdString();
        EXPECT_EQ(other.size(), QSize(110, 120)) << line.toStdString();
    }
}
