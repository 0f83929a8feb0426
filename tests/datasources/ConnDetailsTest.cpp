// The connection-details control: when it reports a change, the check-box
// rules, the shared values, the problems it finds, the browse buttons and
// its smallest size.
#include "datasources/ctlConnDetails.h"
#include "tests/support/TestSupport.h"
#include "tests/util/Sandbox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using testsupport::ScriptedPrompts;

namespace {

// The control in a window beside a box outside it, so the focus can leave.
struct Host {
    QWidget window;
    ctlConnDetails *details = new ctlConnDetails;
    QLineEdit *outside = new QLineEdit;
    QSignalSpy changes{details, &ctlConnDetails::AfterChange};

    Host()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(details);
        layout->addWidget(outside);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // The user types in a box, then moves to the box outside the control.
    void typeAndLeave(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
        outside->setFocus();
        QApplication::processEvents();
    }
    void enterAndLeave(QWidget *box)
    {
        box->setFocus();
        outside->setFocus();
        QApplication::processEvents();
    }
};

TEST(ConnDetails, TypingAndLeavingABoxRaisesAfterChangeOnce)
{
    Host h;
    h.typeAndLeave(h.details->txtAccessPath, QStringLiteral("/date/firma.mdb"));
    EXPECT_EQ(h.changes.count(), 1);
    EXPECT_EQ(h.details->DataSource(), QStringLiteral("/date/firma.mdb"));
    h.enterAndLeave(h.details->txtAccessPath);
    EXPECT_EQ(h.changes.count(), 1);
    // Moving between two boxes of the control reports the first change at once.
    h.details->txtAccessDBPassword->setFocus();
    QTest::keyClicks(h.details->txtAccessDBPassword, QStringLiteral("x"));
    h.details->txtAccessPath->setFocus();
    EXPECT_EQ(h.changes.count(), 2);
    EXPECT_EQ(h.details->DBPassword(), QStringLiteral("x"));
}

TEST(ConnDetails, IntegratedSecurityClickOnlySwitchesTheUserBoxes)
{
    Host h;
    struct Case {
        int type;
        QCheckBox *box;
        QLineEdit *user;
        QLineEdit *password;
    } cases[] = {
        {1, h.details->chkSQLIntegratedSecurity, h.details->txtSQLUserName, h.details->txtSQLPassword},
        {2, h.details->chkOracleIntegratedSecurity, h.details->txtOracleUserName, h.details->txtOraclePassword},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        h.details->setConnType(c.type);
        c.box->click();
        EXPECT_TRUE(h.details->IntegratedSecurity());
        EXPECT_FALSE(c.user->isEnabled());
        EXPECT_FALSE(c.password->isEnabled());
        c.box->click();
        EXPECT_FALSE(h.details->IntegratedSecurity());
        EXPECT_TRUE(c.user->isEnabled());
        EXPECT_TRUE(c.password->isEnabled());
    }
    EXPECT_EQ(h.changes.count(), 0);

    // Set by the host, both boxes follow.
    h.details->setIntegratedSecurity(true);
    for (const Case &c : cases)
        EXPECT_TRUE(c.box->isChecked() && !c.user->isEnabled());
    EXPECT_EQ(h.changes.count(), 0);
}

TEST(ConnDetails, SecurityFileFromTheHostTicksTheBoxAndLeavesTheChangePending)
{
    Host h;
    EXPECT_FALSE(h.details->chkAccessSec->isChecked());
    EXPECT_FALSE(h.details->txtAccessSecurityPath->isEnabled());
    h.details->setSecurityFile(QStringLiteral("/date/system.mdw"));
    EXPECT_TRUE(h.details->chkAccessSec->isChecked());
    for (QLineEdit *box : {h.details->txtAccessSecurityPath, h.details->txtAccessUserName,
                           h.details->txtAccessPassword})
        EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(h.changes.count(), 0);
    EXPECT_TRUE(h.details->hasPendingChange());
    h.enterAndLeave(h.details->txtAccessUserName);
    EXPECT_EQ(h.changes.count(), 1);

    // Clearing the box keeps the file typed before.
    h.details->chkAccessSec->click();
    EXPECT_FALSE(h.details->txtAccessSecurityPath->isEnabled());
    EXPECT_EQ(h.details->SecurityFile(), QStringLiteral("/date/system.mdw"));
}

TEST(ConnDetails, AnotherTypeShowsItsOwnPanelWhileTheValuesStay)
{
    Host h;
    h.typeAndLeave(h.details->txtAccessPath, QStringLiteral("/date/firma.mdb"));
    h.details->setConnType(1);
    for (int i = 0; i < ctlConnDetails::kPanelCount; ++i)
        EXPECT_EQ(h.details->fr(i)->isVisible(), i == 1) << i;
    EXPECT_EQ(h.details->txtSQLServer->text(), QString());
    EXPECT_EQ(h.details->DataSource(), QStringLiteral("/date/firma.mdb"));
    EXPECT_FALSE(h.details->GetErrors().contains(QLatin1String("Serverul")));

    // A type without a panel: none shown, the error box, no problems.
    ScriptedPrompts prompts;
    h.details->setConnType(7);
    for (int i = 0; i < ctlConnDetails::kPanelCount; ++i)
        EXPECT_FALSE(h.details->fr(i)->isVisible()) << i;
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("ctlConnDetails: ConnType"));
    EXPECT_EQ(h.details->GetErrors(), QString());
}

TEST(ConnDetails, GetErrorsListsTheProblemsOfTheType)
{
    struct Case {
        int type;
        const char *dataSource, *database, *user, *password;
        bool integrated;
        const char *expected;
    } cases[] = {
        {0, "", "", "", "", false, "Calea spre fisierul Microsoft Access nu este specificata"},
        {0, "/a.mdb", "", "", "", false, ""},
        {1, "", "", "", "", false,
         "Serverul Microsoft SQL Server nu este specificat\r\nBaza de date Microsoft SQL Server nu este "
         "specificata\r\nUtilizatorul de conectare nu este specificat"},
        {1, "srv", "", "", "", true, "Baza de date Microsoft SQL Server nu este specificata"},
        {1, "srv", "firma", "", "", true, ""},
        {2, "host", "", "", "", true,
         "Utilizatorul de conectare nu este specificat\r\nParola de conectare nu este specificata"},
        {2, "", "", "ion", "", false, "Hostul Oracle nu este specificat\r\nParola de conectare nu este specificata"},
        {3, "", "", "", "", false, ""},
        {6, "", "", "", "", false, ""},
    };
    for (const Case &c : cases) {
        ctlConnDetails d;
        d.setConnType(c.type);
        d.setDataSource(QString::fromLatin1(c.dataSource));
        d.setDatabase(QString::fromLatin1(c.database));
        d.setUserName(QString::fromLatin1(c.user));
        d.setPassword(QString::fromLatin1(c.password));
        d.setIntegratedSecurity(c.integrated);
        EXPECT_EQ(d.GetErrors(), QString::fromLatin1(c.expected)) << c.type << " " << c.dataSource;
    }
}

TEST(ConnDetails, BrowseButtonsFillTheirBoxAndReportTheChange)
{
    testsupport::ProgramFolder folder(false);
    Host h;
    ctlConnDetails &d = *h.details;
    struct Case {
        int type;
        QPushButton *button;
        QLineEdit *box;
        const char *filterStart;
        const char *expected; // what the box receives for "/date/x/fisier.ext"
    } cases[] = {
        {0, d.cmdAccessPath, d.txtAccessPath, "Cale spre fisier Microsoft Access (*.mdb)|", "/date/x/fisier.ext"},
        {0, d.cmdAccessSecurity, d.txtAccessSecurityPath, "Cale spre fisier de securitate Microsoft Access",
         "/date/x/fisier.ext"},
        {3, d.cmdFoxProBrowse, d.txtFoxProPath, "Cale spre fisierele FoxPro (*.dbf)|", "/date/x"},
        {4, d.cmdVFPPath, d.txtVFPPath, "Cale spre fisierele FoxPro (*.dbf)|", "/date/x"},
        {5, d.cmdDBasePath, d.txtDBasePath, "Cale spre fisier DBase (*.dbf)|*.dbf|", "/date/x"},
    };
    d.setSecurityFile(QString());
    d.chkAccessSec->click();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.filterStart);
        d.setConnType(c.type);
        c.box->clear();
        h.changes.clear();
        ScriptedPrompts prompts;
        prompts.openFile(QString());
        c.button->click();
        EXPECT_EQ(c.box->text(), QString());
        prompts.openFile(QStringLiteral("/date/x/fisier.ext"));
        c.button->click();
        ASSERT_EQ(prompts.openRequests().size(), 2);
        const ui::FileRequest &first = prompts.openRequests().at(0);
        EXPECT_TRUE(first.filter.startsWith(QLatin1String(c.filterStart))) << first.filter.toStdString();
        EXPECT_TRUE(first.filter.endsWith(QLatin1String("|Toate Fisierele (*.*)|*.*")));
        EXPECT_EQ(first.initialDir, folder.path());
        EXPECT_TRUE(first.mustExist);
        EXPECT_EQ(c.box->text(), QString::fromLatin1(c.expected));
        EXPECT_EQ(h.changes.count(), 1);
        // The next dialog starts where the box points.
        prompts.openFile(QString());
        c.button->click();
        EXPECT_EQ(prompts.openRequests().at(2).initialDir, QString::fromLatin1(c.expected));
    }
}

TEST(ConnDetails, NeverSmallerThanTheMinimum)
{
    ctlConnDetails d;
    const int m = ctlConnDetails::kMinimumSize;
    EXPECT_EQ(m * 15, 3615);
    d.resize(100, 400);
    EXPECT_EQ(d.size(), QSize(m, 400));
    d.resize(400, 100);
    EXPECT_EQ(d.size(), QSize(400, m));
    d.show();
    EXPECT_EQ(d.fr(0)->size(), QSize(400, m));
}

} // namespace
