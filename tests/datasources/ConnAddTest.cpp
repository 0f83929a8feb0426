// The add-data-source wizard: the type options, the checks of "Inainte" and
// "Ok" with their messages, the row it writes and cancelling.
#include "datasources/ctlConnDetails.h"
#include "datasources/frmConnAdd.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using testsupport::ProjectFixture;
using testsupport::ScriptedPrompts;

namespace {

struct Wizard {
    frmConnAdd dialog;
    explicit Wizard(ProjectFixture &p)
    {
        dialog.Conn = &p.Conn();
        dialog.ensurePolished();
        dialog.show();
    }
    // The visible options, top to bottom, with their tops.
    QList<QPair<int, int>> visibleOptions() const
    {
        QList<QPair<int, int>> result;
        for (int index : dialog.optionIndexes())
            if (!dialog.optConnType(index)->isHidden())
                result.append({index, dialog.optConnType(index)->y()});
        return result;
    }
    void firstPage(const QString &description, int type)
    {
        QTest::keyClicks(dialog.txtDescription, description);
        if (type >= 0)
            dialog.optConnType(type)->click();
        dialog.cmdNext->click();
    }
};

int connRows(ProjectFixture &p) { return static_cast<int>(p.scalar(QStringLiteral("SELECT Count(*) FROM tConn")).toInt()); }

TEST(ConnAdd, OneOptionPerEnabledTypeInKeyOrderAtOneAndAHalfHeights)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    p.Conn().execute(QStringLiteral("UPDATE tConnType SET Enabled = True"));
    {
        Wizard w(p);
        const auto options = w.visibleOptions();
        ASSERT_EQ(options.size(), 7);
        const int step = static_cast<int>(std::lround(w.dialog.optConnType(0)->height() * 1.5));
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(options.at(i).first, i);
            EXPECT_EQ(options.at(i).second, options.at(0).second + i * step) << i;
        }
        EXPECT_EQ(w.dialog.optConnType(2)->text(), QStringLiteral("Oracle Data Server"));
        EXPECT_EQ(w.dialog.page(), 0);
        EXPECT_FALSE(w.dialog.cmdOk->isEnabled());
        EXPECT_FALSE(w.dialog.cmdBack->isEnabled());
    }
    // A disabled type keeps its hidden option; the next one moves up.
    p.Conn().execute(QStringLiteral("UPDATE tConnType SET Enabled = False WHERE IdConnType = 1"));
    Wizard w(p);
    const auto options = w.visibleOptions();
    ASSERT_EQ(options.size(), 6);
    EXPECT_EQ(options.at(1).first, 2);
    EXPECT_EQ(options.at(1).second, options.at(0).second + std::lround(w.dialog.optConnType(0)->height() * 1.5));
    EXPECT_NE(w.dialog.optConnType(1), nullptr);
}

TEST(ConnAdd, NextNeedsADescriptionAndAType)
{
    ProjectFixture p;
    Wizard w(p);
    ScriptedPrompts prompts;
    w.dialog.cmdNext->click();
    QTest::keyClicks(w.dialog.txtDescription, QStringLiteral("Firma"));
    w.dialog.cmdNext->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList({"Trebuie sa specificati descrierea conexiunii",
                                                   "Trebuie sa alegeti tipul conexiunii"}));
    EXPECT_EQ(prompts.messages().at(1).icon, ui::Icon::Information);
    EXPECT_EQ(w.dialog.page(), 0);
    EXPECT_TRUE(w.dialog.optConnType(0)->isChecked());
    EXPECT_EQ(w.dialog.IdConnType, 0);
    // The second press goes on with the first type.
    w.dialog.cmdNext->click();
    EXPECT_EQ(w.dialog.page(), 1);
    EXPECT_EQ(w.dialog.ctlDetails->ConnType(), 0);
    EXPECT_TRUE(w.dialog.cmdOk->isEnabled());
    EXPECT_FALSE(w.dialog.cmdNext->isEnabled());
    w.dialog.cmdBack->click();
    EXPECT_EQ(w.dialog.page(), 0);
    EXPECT_EQ(w.dialog.txtDescription->text(), QStringLiteral("Firma"));
}

TEST(ConnAdd, OkChecksTheValuesOfTheTypeBeforeWriting)
{
    using Fill = std::function<void(ctlConnDetails &)>;
    struct Case {
        int type;
        Fill fill;
        const char *message;
    } cases[] = {
        {0, [](ctlConnDetails &) {}, "Trebuie sa specificati calea spre un fisier Microsoft Access."},
        {1, [](ctlConnDetails &) {}, "Trebuie sa specificati serverul Microsoft SQL Server."},
        {1, [](ctlConnDetails &d) { d.setDataSource(QStringLiteral("srv")); },
         "Trebuie sa specificati baza de date Microsoft SQL Server."},
        {1,
         [](ctlConnDetails &d) {
             d.setDataSource(QStringLiteral("srv"));
             d.setDatabase(QStringLiteral("firma"));
         },
         "Trebuie sa specificati utilizatorul de conectare."},
        {2,
         [](ctlConnDetails &d) {
             d.setDataSource(QStringLiteral("ora"));
             d.chkOracleIntegratedSecurity->click();
         },
         "Trebuie sa specificati utilizatorul de conectare."},
        {2,
         [](ctlConnDetails &d) {
             d.setDataSource(QStringLiteral("ora"));
             d.setUserName(QStringLiteral("ion"));
         },
         "Trebuie sa specificati parola de conectare."},
    };
    ProjectFixture p;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        Wizard w(p);
        w.firstPage(QStringLiteral("Firma"), c.type);
        c.fill(*w.dialog.ctlDetails);
        ScriptedPrompts prompts;
        w.dialog.cmdOk->click();
        EXPECT_EQ(prompts.messageTexts(), QStringList(QString::fromLatin1(c.message)));
        EXPECT_FALSE(w.dialog.Ok);
        EXPECT_EQ(w.dialog.page(), 1);
    }
    EXPECT_EQ(connRows(p), 0);
}

TEST(ConnAdd, OkWritesTheRowAndHandsItBack)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    Wizard w(p);
    // Typed on the Access panel first, then the type changed to SQL Server.
    w.firstPage(QStringLiteral("Salarii"), 0);
    ctlConnDetails &d = *w.dialog.ctlDetails;
    QTest::keyClicks(d.txtAccessDBPassword, QStringLiteral("0"));
    w.dialog.cmdBack->click();
    w.dialog.optConnType(1)->click();
    w.dialog.chkOffline->click();
    w.dialog.cmdNext->click();
    QTest::keyClicks(d.txtSQLServer, QStringLiteral("srv\\sql"));
    QTest::keyClicks(d.txtSQLDatabase, QStringLiteral("salarii"));
    d.chkSQLIntegratedSecurity->click();
    ScriptedPrompts prompts;
    w.dialog.cmdOk->click();
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(w.dialog.Ok);
    EXPECT_EQ(w.dialog.Description, QStringLiteral("Salarii"));
    EXPECT_TRUE(w.dialog.Offline);
    EXPECT_EQ(w.dialog.IdConnType, 1);
    EXPECT_EQ(w.dialog.result(), QDialog::Accepted);
    const QString row = QStringLiteral(" FROM tConn WHERE IdConn = ") + QString::number(w.dialog.IdConn);
    auto column = [&](const char *name) { return p.scalar(QStringLiteral("SELECT ") + QLatin1String(name) + row); };
    EXPECT_EQ(column("IdConnType").toInt(), 1);
    EXPECT_EQ(column("Description").toString(), QStringLiteral("Salarii"));
    EXPECT_EQ(column("DataSource").toString(), QStringLiteral("srv\\sql"));
    EXPECT_EQ(column("Database").toString(), QStringLiteral("salarii"));
    EXPECT_TRUE(column("UserName").isNull());
    EXPECT_TRUE(column("Password").isNull());
    EXPECT_TRUE(column("ConnString").isNull());
    // A "0" is kept as typed.
    EXPECT_EQ(column("DBPassword").toString(), QStringLiteral("0"));
    EXPECT_TRUE(column("IntegratedSecurity").toBool());
    EXPECT_TRUE(column("Offline").toBool());
}

TEST(ConnAdd, CancellingWritesNothing)
{
    ProjectFixture p;
    Wizard w(p);
    w.firstPage(QStringLiteral("Firma"), 6);
    QTest::keyClicks(w.dialog.ctlDetails->txtUnknownConnString, QStringLiteral("DSN=firma"));
    w.dialog.cmdCancel->click();
    EXPECT_FALSE(w.dialog.Ok);
    EXPECT_EQ(w.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(connRows(p), 0);
}

} // namespace
