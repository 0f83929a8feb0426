// The history window and the printed report, driven through the real main
// window offscreen: a run killed in an earlier session (its journal beside
// the project) and a run made here are listed; each shows its report, which
// is saved as text and PDF and printed.
#include "app/frmMain.h"
#include "conversion/HistoryReport.h"
#include "conversion/ReportView.h"
#include "conversion/RunHistory.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmHistory.h"
#include "conversion/frmProgress.h"
#include "data/db/Connection.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/conversion/UserTableProject.h"
#include "tests/support/OpenThroughStart.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/util/Sandbox.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// A print dialog answered as a user who prints to a PDF file.
testsupport::ScriptedModals::Step printInto(const QString &file)
{
    return [file](QDialog &dialog) {
        auto &print = dynamic_cast<QPrintDialog &>(dialog);
        print.printer()->setOutputFormat(QPrinter::PdfFormat);
        print.printer()->setOutputFileName(file);
        return int(QDialog::Accepted);
    };
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Amounts: Valoare 12,500,000 + 3,333,333.33 old lei = 15,833,333.33; new
// 1,250.00 + 333.33 = 1,583.33 against 1,583.333333 expected.
TEST(HistoryWindowTest, RunsOfEarlierSessionsAndOfThisOneShowTheirReportsToSavePrintAndMakePdf)
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
    // A run back to old lei killed after its first field, in an earlier
    // session: only its journal holds it.
    {
        history::Journal journal(history::journalPath(projectFile));
        history::RunEntry killed = history::newRun(false, Changeover(), QStringLiteral("--jobs 2"));
        killed.started = killed.started.addSecs(-3600);
        journal.start(killed);
        history::FieldEntry field;
        field.dataSource = QStringLiteral("Contabilitate");
        field.table = QStringLiteral("Facturi");
        field.field = QStringLiteral("Valoare");
        field.records = 2;
        field.stateBefore = QStringLiteral("noi");
        field.stateAfter = QStringLiteral("vechi");
        field.hasTotals = true;
        field.totals.toLeiNoi = false;
        field.totals.rows = QStringLiteral("2");
        field.totals.oldSum = QStringLiteral("15833333.33");
        field.totals.restoredSum = QStringLiteral("15833333.33");
        field.totals.restoredMatches = true;
        journal.field(killed.key, field);
        ASSERT_TRUE(journal.error().isEmpty()) << journal.error().toStdString();
    }

    testsupport::ScriptedPrompts prompts;
    testsupport::ScriptedModals modals;
    modals.then([&](QDialog &dialog) { return testsupport::openExistingProject(dialog, projectFile); });
    modals.then([](QDialog &dialog) {
        auto &confirm = dynamic_cast<frmConvertStart &>(dialog);
        confirm.okButton()->click();
        return confirm.result();
    });
    modals.then([](QDialog &dialog) {
        auto &progress = dynamic_cast<frmProgress &>(dialog);
        QTimer::singleShot(20000, &progress, [&progress] { progress.Unload(); }); // never hang
        return progress.exec();
    });
    // The report window at the end of the run: saved as PDF, then printed.
    const QString runPdf = folder.filePath(QStringLiteral("raport.pdf"));
    const QString runPrinted = folder.filePath(QStringLiteral("tiparit.pdf"));
    QStringList reportButtons;
    modals.then([&](QDialog &dialog) {
        auto &report = dynamic_cast<frmConvertEnd &>(dialog);
        for (auto *button : report.findChildren<QPushButton *>())
            reportButtons.append(button->text());
        prompts.saveFile(runPdf);
        report.findChild<QPushButton *>(QStringLiteral("cmdSavePdf"))->click();
        modals.then(printInto(runPrinted));
        report.findChild<QPushButton *>(QStringLiteral("cmdPrint"))->click();
        return int(QDialog::Accepted);
    });

    frmMain w;
    w.show();
    QElapsedTimer clock;
    clock.start();
    while (w.trv->topLevelItemCount() == 0 && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(w.trv->topLevelItemCount(), 1);
    QAction *menu = w.findChild<QAction *>(QStringLiteral("mnuHistory"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isEnabled());
    ASSERT_TRUE(w.selectNode(QStringLiteral("T_1")));
    w.tlbButton(QStringLiteral("-"))->trigger();
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(reportButtons, (QStringList{"Salveaza...", "Salveaza PDF...", "Tipareste...", "Inchide"}));
    ASSERT_EQ(prompts.saveRequests().size(), 1);
    EXPECT_EQ(prompts.saveRequests().at(0).filter, QStringLiteral("Fisiere PDF (*.pdf)|*.pdf|Toate Fisierele (*.*)|*.*"));
    for (const QString &file : {runPdf, runPrinted}) {
        const QString text = convtest::pdfText(file);
        EXPECT_TRUE(text.contains(QStringLiteral("Proiect: ") + projectFile)) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Utilizator: ") + history::currentUser()));
        EXPECT_EQ(convtest::linesWith(text, {"Contabilitate", "Facturi", "Valoare", "2", "convertit in RON"}).size(), 1)
            << text.toStdString();
        EXPECT_EQ(convtest::linesWith(text, {"Valoare", "2", "15833333.33", "1583.33", "1583.333333", "-0.003333"}).size(), 1);
        EXPECT_TRUE(text.contains(QStringLiteral("Pagina 1 din 1")));
    }
    // The run saved the project: its file holds both runs, the journal is gone.
    EXPECT_FALSE(QFile::exists(history::journalPath(projectFile)));

    // Fisier > Istoric conversii...: both runs, the last one shown.
    QStringList runRows, lastFields, killedTitle;
    int killedFields = -1;
    bool totalsShown = false;
    const QString savedText = folder.filePath(QStringLiteral("istoric.txt"));
    const QString savedPdf = folder.filePath(QStringLiteral("istoric.pdf"));
    const QString printed = folder.filePath(QStringLiteral("istoric-tiparit.pdf"));
    modals.then([&](QDialog &dialog) {
        auto &window = dynamic_cast<frmHistory &>(dialog);
        QTreeWidget *runs = window.runList();
        for (int i = 0; i < runs->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = runs->topLevelItem(i);
            runRows.append(QStringList{item->text(0), item->text(3), item->text(5), item->text(6), item->text(7),
                                       item->text(8), item->text(9)}
                               .join(QLatin1Char('|')));
        }
        QTreeWidget *fields = window.report()->list();
        for (int i = 0; i < fields->topLevelItemCount(); ++i)
            lastFields.append(fields->topLevelItem(i)->text(2));
        totalsShown = window.report()->tabs()->isTabVisible(1);
        // The killed run: its one field, and why it has no end.
        runs->setCurrentItem(runs->topLevelItem(0));
        killedFields = window.report()->list()->topLevelItemCount();
        killedTitle = window.report()->titleBox()->toPlainText().split(QLatin1Char('\n'));
        prompts.saveFile(savedText);
        window.findChild<QPushButton *>(QStringLiteral("cmdSave"))->click();
        prompts.saveFile(savedPdf);
        window.findChild<QPushButton *>(QStringLiteral("cmdSavePdf"))->click();
        modals.then(printInto(printed));
        window.findChild<QPushButton *>(QStringLiteral("cmdPrint"))->click();
        return int(QDialog::Accepted);
    });
    menu->trigger();
    const QString who = history::currentUser();
    EXPECT_EQ(runRows, (QStringList{"1|" + who + "|RON -> ROL|1|0|intrerupta|--jobs 2",
                                    "2|" + who + "|ROL -> RON|2|0|terminata|"}));
    EXPECT_EQ(lastFields, (QStringList{"Valoare", "Total"}));
    EXPECT_TRUE(totalsShown);
    EXPECT_EQ(killedFields, 1);
    EXPECT_EQ(killedTitle.value(2), QStringLiteral("Conversie intrerupta: programul s-a oprit inainte de sfarsitul ei"));
    EXPECT_TRUE(readText(savedText).contains(QStringLiteral("\"Contabilitate\",\"Facturi\",\"Valoare\",\"2 inregistrari\"")))
        << readText(savedText).toStdString();
    for (const QString &file : {savedPdf, printed}) {
        const QString text = convtest::pdfText(file);
        EXPECT_TRUE(text.contains(QStringLiteral("Conversie din Lei NOI in Lei VECHI"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Optiuni: --jobs 2")));
        EXPECT_EQ(convtest::linesWith(text, {"Valoare", "2", "15833333.33", "15833333.33", "egal"}).size(), 1);
    }
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
    w.close();
}

} // namespace
