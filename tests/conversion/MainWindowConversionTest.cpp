#include "app/frmMain.h"
#include "app/frmStart.h"
#include "conversion/RunHistory.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/conversion/UserTableProject.h"
#include "tests/support/OpenThroughStart.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/util/Sandbox.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

int convertedFields(const QString &projectFile)
{
    db::Connection conn;
    conn.open(QStringLiteral("Provider=SQLite;Data Source=") + projectFile);
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT Count(*) FROM tField WHERE Converted = True"));
    return static_cast<int>(rs.value(0).toInt());
}

// The real main window, offscreen, on a real project file: "-" goes through
// the confirmation, the progress window and the report, converts the user's
// database, saves the project and selects the same node again; "+" restores.
TEST(MainWindowConversionTest, MinusAndPlusGoThroughConfirmationProgressAndReport)
{
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    testsupport::ProgramFolder folder;
    convtest::SqliteUserDb user;
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Valoare DECIMAL(18,2), Total INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 12500000, 14875000)"),
               QStringLiteral("INSERT INTO Facturi VALUES (2, 3333333.33, NULL)")});
    const QString projectFile = folder.filePath(QStringLiteral("firma.vmd"));
    ASSERT_TRUE(convtest::saveUserTableProject(projectFile, user.connString(), QStringLiteral("Contabilitate"),
                                               QStringLiteral("Facturi"), {"Valoare", "Total"}));

    testsupport::ScriptedPrompts prompts;
    QStringList listed, progressCaptions;
    QString countLine, reportTitle, reportTotal, reportCaption;
    int reportRows = -1;
    testsupport::ScriptedModals modals;
    modals.then([&](QDialog &dialog) { return testsupport::openExistingProject(dialog, projectFile); });
    const auto confirmStep = [&](QDialog &dialog) {
        auto &confirm = dynamic_cast<frmConvertStart &>(dialog);
        listed.clear();
        for (int i = 0; i < confirm.list()->topLevelItemCount(); ++i)
            listed.append(confirm.list()->topLevelItem(i)->text(1) + QLatin1Char('.') + confirm.list()->topLevelItem(i)->text(2));
        countLine = confirm.totalBox()->text();
        confirm.okButton()->click();
        return confirm.result();
    };
    const auto progressStep = [&](QDialog &dialog) {
        auto &progress = dynamic_cast<frmProgress &>(dialog);
        QTimer::singleShot(20000, &progress, [&progress] { progress.Unload(); }); // never hang
        const int result = progress.exec();
        progressCaptions = {progress.label(1)->text(), progress.label(2)->text(), progress.label(3)->text()};
        return result;
    };
    const auto reportStep = [&](QDialog &dialog) {
        auto &report = dynamic_cast<frmConvertEnd &>(dialog);
        reportTitle = report.titleBox()->toPlainText();
        reportTotal = report.totalBox()->toPlainText();
        reportCaption = report.windowTitle();
        reportRows = report.list()->topLevelItemCount();
        return int(QDialog::Accepted);
    };
    modals.then(confirmStep);
    modals.then(progressStep);
    modals.then(reportStep);

    frmMain w;
    w.show();
    QElapsedTimer clock;
    clock.start();
    while (w.trv->topLevelItemCount() == 0 && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(w.trv->topLevelItemCount(), 1);
    ASSERT_TRUE(w.selectNode(QStringLiteral("T_1")));
    ASSERT_TRUE(w.tlbButton(QStringLiteral("-"))->isEnabled());

    w.tlbButton(QStringLiteral("-"))->trigger();
    EXPECT_EQ(modals.shown(), 4);
    EXPECT_EQ(listed, (QStringList{"Facturi.Total", "Facturi.Valoare"}));
    EXPECT_EQ(countLine, QStringLiteral("2 campuri vor fi convertite"));
    EXPECT_EQ(progressCaptions, (QStringList{"Sursa de Date 1/1 (Contabilitate)", "Tabel 1/1 (Facturi)", "Camp 2/2 (Total)"}));
    EXPECT_EQ(reportCaption, QStringLiteral("Conversie din Lei VECHI in Lei NOI"));
    EXPECT_EQ(reportTotal, QStringLiteral("2 campuri din 2 convertite cu succes"));
    EXPECT_EQ(reportTitle.split(QLatin1Char('\n')).size(), 2);
    EXPECT_EQ(reportRows, 2);
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(user.scalar("SELECT Valoare FROM Facturi WHERE Id = 1").toDouble(), 1250.0);
    // An INTEGER column keeps whole lei: 1487.5 rounds to 1488.
    EXPECT_EQ(user.scalar("SELECT Total FROM Facturi WHERE Id = 1").toInt(), 1488);
    EXPECT_EQ(convertedFields(projectFile), 2); // saved to the project file
    EXPECT_FALSE(w.isDirty());
    EXPECT_EQ(w.selectedNodeKey(), QStringLiteral("T_1"));
    EXPECT_EQ(w.conversionCommand()->mfrmProgress, nullptr);

    // Back to old lei with "+".
    modals.then(confirmStep);
    modals.then(progressStep);
    modals.then(reportStep);
    w.tlbButton(QStringLiteral("+"))->trigger();
    EXPECT_EQ(modals.shown(), 7);
    EXPECT_EQ(reportCaption, QStringLiteral("Conversie din Lei NOI in Lei VECHI"));
    EXPECT_EQ(user.scalar("SELECT Valoare FROM Facturi WHERE Id = 2").toDouble(), 3333333.33);
    EXPECT_EQ(user.scalar("SELECT Total FROM Facturi WHERE Id = 1").toInt(), 14875000);
    EXPECT_EQ(convertedFields(projectFile), 0);
    // Both runs are in the saved project's history, with their fields and
    // totals, and the journal beside it is gone.
    {
        db::Connection conn;
        conn.open(QStringLiteral("Provider=SQLite;Data Source=") + projectFile);
        const QList<history::RunEntry> runs = history::readHistory(conn);
        ASSERT_EQ(runs.size(), 2);
        EXPECT_TRUE(runs.at(0).toLeiNoi);
        EXPECT_FALSE(runs.at(1).toLeiNoi);
        ASSERT_EQ(runs.at(0).fields.size(), 2);
        EXPECT_EQ(runs.at(0).fields.at(0).field, QStringLiteral("Valoare"));
        EXPECT_EQ(runs.at(0).fields.at(0).stateAfter, QStringLiteral("noi"));
        EXPECT_TRUE(runs.at(0).fields.at(0).hasTotals);
        // 12,500,000 + 3,333,333.33 old lei; 1,250.00 + 333.33 new lei.
        EXPECT_EQ(runs.at(0).fields.at(0).totals.oldSum, QStringLiteral("15833333.33"));
        EXPECT_EQ(runs.at(0).fields.at(0).totals.newSum, QStringLiteral("1583.33"));
        EXPECT_EQ(runs.at(1).converted(), 2);
    }
    EXPECT_FALSE(QFile::exists(history::journalPath(projectFile)));
    w.close();
}

} // namespace
