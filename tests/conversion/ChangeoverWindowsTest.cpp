// A leva project in the real windows, offscreen: the toolbar, the table
// window, the confirmation and the report name its currencies; a field's
// rounding rule is chosen in its dialog, listed, noted and honoured.
#include "app/frmMain.h"
#include "app/frmStart.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "tables/frmTable.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/conversion/UserTableProject.h"
#include "tests/support/OpenThroughStart.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/util/Sandbox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QStringList texts(const QTreeWidgetItem *item)
{
    QStringList out;
    for (int c = 0; c < item->columnCount(); ++c)
        out << item->text(c);
    return out;
}

TEST(ChangeoverWindows, ALevaProjectSpeaksEuroAndLevaAndHonoursTheSalaryRule)
{
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    testsupport::ProgramFolder folder;
    convtest::SqliteUserDb user;
    user.exec({QStringLiteral("CREATE TABLE Salarii (Id INTEGER PRIMARY KEY, Brut DECIMAL(18,2), Avans DECIMAL(18,2))"),
               QStringLiteral("INSERT INTO Salarii VALUES (1, 2000, 100)"),
               QStringLiteral("INSERT INTO Salarii VALUES (2, 1234.56, 1000)")});
    const QString projectFile = folder.filePath(QStringLiteral("firma.vmd"));
    ASSERT_TRUE(convtest::saveUserTableProject(projectFile, user.connString(), QStringLiteral("Firma"),
                                               QStringLiteral("Salarii"), {"Avans", "Brut"},
                                               QStringLiteral("Vamor BGN-EUR.vmt")));

    testsupport::ScriptedPrompts prompts;
    testsupport::ScriptedModals modals;
    modals.then([&](QDialog &dialog) { return testsupport::openExistingProject(dialog, projectFile); });
    frmMain w;
    w.show();
    QElapsedTimer clock;
    clock.start();
    while (w.trv->topLevelItemCount() == 0 && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(w.trv->topLevelItemCount(), 1);

    // The toolbar and its menu commands name the currencies.
    EXPECT_EQ(w.tlbButton(QStringLiteral("-"))->text(), QStringLiteral("EUR"));
    EXPECT_EQ(w.tlbButton(QStringLiteral("-"))->toolTip(), QStringLiteral("Converteste la EUR"));
    EXPECT_EQ(w.tlbButton(QStringLiteral("+"))->text(), QStringLiteral("BGN"));
    auto *menuCommand = w.findChild<QAction *>(QStringLiteral("mnu_+"));
    ASSERT_NE(menuCommand, nullptr);
    EXPECT_EQ(menuCommand->text(), QStringLiteral("Converteste la BGN"));

    // The salary rule for Brut, chosen in its dialog and listed in the table window.
    ASSERT_TRUE(w.selectNode(QStringLiteral("T_1")));
    auto *table = qobject_cast<frmTable *>(w.mcolChildren.value(QStringLiteral("T_1")).data());
    ASSERT_NE(table, nullptr);
    QTreeWidgetItem *brut = table->list()->topLevelItem(1);
    ASSERT_EQ(brut->text(0), QStringLiteral("Brut"));
    EXPECT_EQ(texts(brut).mid(1, 1), QStringList{"BGN"});
    EXPECT_EQ(brut->text(5), QStringLiteral("obisnuita"));
    table->list()->setCurrentItem(brut);
    modals.then([](QDialog &field) {
        auto *rule = field.findChild<QComboBox *>(QStringLiteral("cboRounding"));
        EXPECT_EQ(rule->count(), 2);
        rule->setCurrentIndex(rule->findData(QStringLiteral("SUS")));
        field.findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
        return field.result();
    });
    table->lsv_DblClick();
    EXPECT_EQ(brut->text(5), QStringLiteral("SUS"));
    EXPECT_TRUE(w.isDirty());

    // To euro: the confirmation names the direction and notes the rule; the
    // report and its totals name the currencies.
    QString confirmTitle, brutNote, reportCaption;
    QStringList totalsHeader;
    prompts.answer(ui::Answer::Yes); // save before converting
    modals.then([&](QDialog &dialog) {
        auto &confirm = dynamic_cast<frmConvertStart &>(dialog);
        confirmTitle = confirm.titleBox()->text();
        for (int i = 0; i < confirm.list()->topLevelItemCount(); ++i)
            if (confirm.list()->topLevelItem(i)->text(2) == QLatin1String("Brut"))
                brutNote = confirm.list()->topLevelItem(i)->text(3);
        confirm.okButton()->click();
        return confirm.result();
    });
    modals.then([&](QDialog &dialog) {
        auto &progress = dynamic_cast<frmProgress &>(dialog);
        QTimer::singleShot(20000, &progress, [&progress] { progress.Unload(); });
        return progress.exec();
    });
    modals.then([&](QDialog &dialog) {
        auto &report = dynamic_cast<frmConvertEnd &>(dialog);
        reportCaption = report.windowTitle();
        totalsHeader = texts(report.totalsList()->headerItem());
        return int(QDialog::Accepted);
    });
    w.tlbButton(QStringLiteral("-"))->trigger();
    EXPECT_EQ(confirmTitle, QStringLiteral("Conversie din BGN in EUR"));
    EXPECT_TRUE(brutNote.startsWith(QStringLiteral("Rotunjire SUS"))) << brutNote.toStdString();
    EXPECT_EQ(reportCaption, QStringLiteral("Conversie din BGN in EUR"));
    EXPECT_TRUE(totalsHeader.contains(QStringLiteral("Suma BGN"))) << totalsHeader.join(", ").toStdString();
    EXPECT_TRUE(totalsHeader.contains(QStringLiteral("Suma EUR")));
    // 2000 BGN is 1022.59 EUR by the salary rule, 100 BGN 51.13 halves up.
    EXPECT_EQ(user.scalar("SELECT Brut FROM Salarii WHERE Id = 1").toString(), QStringLiteral("1022.59"));
    EXPECT_EQ(user.scalar("SELECT Brut FROM Salarii WHERE Id = 2").toString(), QStringLiteral("631.22"));
    EXPECT_EQ(user.scalar("SELECT Avans FROM Salarii WHERE Id = 1").toString(), QStringLiteral("51.13"));
    EXPECT_EQ(user.scalar("SELECT Avans FROM Salarii WHERE Id = 2").toString(), QStringLiteral("511.29"));
    table = qobject_cast<frmTable *>(w.mcolChildren.value(QStringLiteral("T_1")).data());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->list()->topLevelItem(1)->text(1), QStringLiteral("EUR"));
    w.close();
}

} // namespace
