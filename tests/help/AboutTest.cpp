// The About window: its shape is its picture less the black pixels, it moves
// with the mouse, and its labels open the web page, the mail program, the
// terms and close it.
#include "help/frmAbout.h"
#include "tests/util/Sandbox.h"
#include "util/core/ShellTools.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

// A small picture: black runs at the edges, inside and in whole columns,
// single black pixels, and colours next to black that must stay.
QImage testPicture()
{
    QImage image(9, 7, QImage::Format_RGB32);
    image.fill(QColor(250, 240, 200));
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawLine(0, 0, 0, 6);  // a whole column
    p.drawLine(3, 0, 3, 2);  // a run from the top
    p.drawLine(3, 5, 3, 6);  // and one to the bottom of the same column
    p.drawLine(5, 2, 5, 4);  // a run in the middle
    p.drawPoint(7, 3);       // single pixels
    p.drawPoint(8, 0);
    p.drawPoint(8, 6);
    p.setPen(QColor(1, 0, 0)); // almost black is not black
    p.drawPoint(6, 3);
    p.setPen(QColor(0, 0, 1));
    p.drawPoint(2, 2);
    p.end();
    return image;
}

TEST(AboutWindow, RegionLeavesOutExactlyTheBlackPixels)
{
    frmAbout about;
    const QImage picture = testPicture();
    about.setPicture(picture);
    const QRegion mask = about.mask();

    EXPECT_EQ(about.size(), picture.size());
    EXPECT_TRUE(QRect(QPoint(0, 0), picture.size()).contains(mask.boundingRect()));
    int kept = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool black = (picture.pixel(x, y) & 0xFFFFFF) == 0;
            kept += black ? 0 : 1;
            EXPECT_EQ(mask.contains(QPoint(x, y)), !black) << "pixel " << x << "," << y;
        }
    EXPECT_EQ(kept, 9 * 7 - 7 - 3 - 2 - 3 - 3);

    // The window's own picture: black around a shape.
    frmAbout real;
    const QRegion shape = real.mask();
    EXPECT_FALSE(shape.isEmpty());
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(real.lblTitle->geometry().center()));
    EXPECT_TRUE(shape.contains(real.lblClose->geometry().center()));
}

TEST(AboutWindow, DraggedBySurface)
{
    frmAbout about;
    about.move(100, 100);
    about.show();
    const QPoint start = about.pos();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(200, 20), about.mapToGlobal(QPointF(200, 20)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&about, &press);
    QMouseEvent drag(QEvent::MouseMove, QPointF(230, 35), about.mapToGlobal(QPointF(230, 35)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&about, &drag);
    EXPECT_EQ(about.pos(), start + QPoint(30, 15));
    // Moving without the button does nothing.
    QMouseEvent hover(QEvent::MouseMove, QPointF(10, 10), about.mapToGlobal(QPointF(10, 10)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&about, &hover);
    EXPECT_EQ(about.pos(), start + QPoint(30, 15));
}

TEST(AboutWindow, LinksOpenWebMailTermsAndClose)
{
    QStringList started;
    const shell::Launcher previous = shell::setLauncher([&](const QString &program, const QStringList &arguments) {
        started.append(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
        return true;
    });
    shell::setBrowserCommandReader([] { return QStringLiteral("/usr/bin/test-browser %u"); });
    testsupport::ScriptedModals modals;
    QString termsTitle;
    QString termsText;
    modals.then([&](QDialog &dialog) {
        termsTitle = dialog.windowTitle();
        termsText = dialog.findChild<QPlainTextEdit *>(QStringLiteral("txtTerm"))->toPlainText();
        return int(QDialog::Accepted);
    });

    frmAbout about;
    about.show();
    emit about.lblWeb->linkActivated(QStringLiteral("web"));
    emit about.lblEmail->linkActivated(QStringLiteral("email"));
    emit about.lblTerms->linkActivated(QStringLiteral("terms"));
    EXPECT_EQ(started, (QStringList{QStringLiteral("/usr/bin/test-browser ") + frmAbout::webAddress(),
                                    QStringLiteral("xdg-open mailto:") + frmAbout::emailAddress()}));
    EXPECT_EQ(modals.shown(), 1);
    EXPECT_EQ(termsTitle, QStringLiteral("Termene si Conditii de Utilizare"));
    EXPECT_TRUE(termsText.contains(QStringLiteral("gratuit")));
    EXPECT_TRUE(about.isVisible());
    emit about.lblClose->linkActivated(QStringLiteral("close"));
    EXPECT_FALSE(about.isVisible());

    shell::setLauncher(previous);
    shell::setBrowserCommandReader({});
}

} // namespace
