#include "conversion/ConversionCommand.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/ExactDecimal.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"
#include "util/widgets/ModalDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <optional>

using testsupport::ScriptedPrompts;

namespace {

class SettingsInTempDir {
public:
    SettingsInTempDir() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mDir.path()); }

private:
    QTemporaryDir mDir;
};

TEST(ProgressWindowTest, BarsAdvanceByOneSetExactValuesAndFill)
{
    ScriptedPrompts prompts;
    frmProgress w;
    w.InitProgress1(3, QStringLiteral("Sursa de Date"));
    w.Progress1(0, QString());
    EXPECT_EQ(w.bar(1)->value(), 1);
    EXPECT_EQ(w.label(1)->text(), QStringLiteral("Sursa de Date"));
    w.Progress1(0, QStringLiteral("Sursa de Date 2/3 (Contabilitate)"));
    EXPECT_EQ(w.bar(1)->value(), 2);
    EXPECT_EQ(w.label(1)->text(), QStringLiteral("Sursa de Date 2/3 (Contabilitate)"));

    w.InitProgress2(10, QStringLiteral("Tabel"));
    w.Progress2(0, QStringLiteral("x"));
    w.Progress2(5, QStringLiteral("Tabel 5/10 (Facturi)"));
    EXPECT_EQ(w.bar(2)->value(), 5);

    w.InitProgress3(4, QStringLiteral("Camp"));
    for (int i = 0; i < 4; ++i)
        w.Progress3(0, QString());
    EXPECT_EQ(w.bar(3)->value(), w.bar(3)->maximum());
    EXPECT_EQ(w.bar(3)->maximum(), 4);
    EXPECT_TRUE(prompts.messages().isEmpty());

    // Past the end: the standard error box, and the run goes on.
    w.Progress3(0, QString());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmProgress: Progress3"));
    EXPECT_EQ(w.bar(3)->value(), 4);

    w.EndProgess2();
    EXPECT_TRUE(w.bar(2)->isHidden());
    EXPECT_TRUE(w.label(2)->isHidden());
}

TEST(ProgressWindowTest, StopAsksOnceAndNoKeepsRunning)
{
    ScriptedPrompts prompts;
    frmProgress w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Progres"));
    prompts.answer(ui::Answer::No);
    w.stopButton()->click();
    ASSERT_EQ(prompts.messages().size(), 1);
    const ui::MessageRequest &question = prompts.messages().at(0);
    EXPECT_EQ(question.text, QStringLiteral("Sunteti sigur ca doriti sa opriti procesul de conversie?"));
    EXPECT_EQ(question.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(question.icon, ui::Icon::Question);
    EXPECT_EQ(question.defaultButton, 1); // No
    EXPECT_EQ(question.title, QStringLiteral("Vamor"));
    EXPECT_FALSE(w.Cancel());
    EXPECT_EQ(w.stopButton()->text(), QStringLiteral("Stop"));

    prompts.answer(ui::Answer::Yes);
    w.stopButton()->click();
    EXPECT_TRUE(w.Cancel());
    EXPECT_EQ(w.stopButton()->text(), QStringLiteral("Stopping"));
    w.stopButton()->click();
    EXPECT_EQ(prompts.messages().size(), 2);
}

// Shown, the window calls RunMethod on Parent by name; the run's end closes it.
class RunTarget : public QObject {
    Q_OBJECT
public:
    frmProgress *window = nullptr;
    int runs = 0;
public slots:
    void pConvertToLeiNoi()
    {
        ++runs;
        window->InitProgress1(1, QStringLiteral("Sursa de Date"));
        window->Unload();
    }
};

TEST(ProgressWindowTest, ShowingTheWindowRunsTheNamedMethodOnce)
{
    RunTarget target;
    frmProgress w;
    target.window = &w;
    w.Parent = &target;
    w.RunMethod = QStringLiteral("pConvertToLeiNoi");
    QTimer::singleShot(5000, &w, [&w] { w.Unload(); }); // never hang
    w.exec();
    EXPECT_EQ(target.runs, 1);
    EXPECT_FALSE(w.isVisible());
}

TEST(ReportWindowTest, RowsTotalsTitleAndCaptionFollowTheRun)
{
    SettingsInTempDir settings;
    ScriptedPrompts prompts;
    frmConvertEnd w;
    w.ToLeiNoi = false;
    w.ConvertStart();
    w.Load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Conversie din Lei NOI in Lei VECHI"));
    w.AddField(QStringLiteral("Contabilitate"), QStringLiteral("Facturi"), QStringLiteral("Suma"), 12, QString());
    w.AddField(QStringLiteral("Contabilitate"), QStringLiteral("Facturi"), QStringLiteral("Tva"), 0, QStringLiteral("eroare"));
    w.ConvertEnd(convertStoppedStatus());

    ASSERT_EQ(w.list()->topLevelItemCount(), 2);
    const QTreeWidgetItem *first = w.list()->topLevelItem(0);
    EXPECT_EQ(first->text(3), QStringLiteral("12"));
    EXPECT_EQ(first->data(0, Qt::UserRole).toString(), QStringLiteral("ok"));
    EXPECT_EQ(w.list()->topLevelItem(1)->data(0, Qt::UserRole).toString(), QStringLiteral("err"));
    EXPECT_EQ(w.list()->topLevelItem(1)->text(4), QStringLiteral("eroare"));
    EXPECT_EQ(w.totalBox()->toPlainText(), QStringLiteral("1 campuri din 2 convertite cu succes\n1 erori de conversie"));
    const QStringList title = w.titleBox()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(title.size(), 3);
    EXPECT_EQ(title.at(2), QStringLiteral("Conversie intrerupta de utilizator"));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST(ReportWindowTest, SaveWritesTheFileCancelWritesNothingAndAFailureIsReported)
{
    SettingsInTempDir settings;
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    frmConvertEnd w;
    w.ConvertStart();
    w.Load();
    static_cast<IConversionReport &>(w).StartField(QString());
    w.AddField(QStringLiteral("A"), QStringLiteral("T"), QStringLiteral("F"), 0, QString());
    w.ConvertEnd(QString());

    const QString path = QDir(dir.path()).filePath(QStringLiteral("raport.txt"));
    prompts.saveFile(QString());
    w.cmdSave_Click();
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(prompts.saveRequests().size(), 1);
    const ui::FileRequest &request = prompts.saveRequests().at(0);
    EXPECT_EQ(request.title, QStringLiteral("Salveaza raport conversie"));
    EXPECT_EQ(request.filter, QStringLiteral("Fisiere Text (*.txt)|*.txt|Toate Fisierele (*.*)|*.*"));
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_TRUE(request.fileName.isEmpty());

    prompts.saveFile(path);
    w.cmdSave_Click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), w.log().fileText());
    EXPECT_TRUE(w.log().fileText().contains(QStringLiteral("\"A\",\"T\",\"F\",\"0 inregistrari\",\"\"\r\n")));
    // The window's saved report has the time of each field, like the command line's.
    EXPECT_TRUE(w.log().fileText().contains(QStringLiteral("Durata pe camp\r\n\"A\",\"T\",\"F\",\"")));

    prompts.saveFile(QStringLiteral("/nu/exista/raport.txt"));
    w.cmdSave_Click();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmConvertEnd: cmdSave_Click"));
    EXPECT_EQ(prompts.messages().at(0).icon, ui::Icon::Critical);
}

// A main window for the command: a project fixture and the lifecycle calls recorded.
class FakeMain : public IConversionHost {
public:
    explicit FakeMain(testsupport::ProjectFixture &project) : mProject(project) {}
    QWidget *conversionWindow() override { return nullptr; }
    db::Connection &Conn() override { return mProject.Conn(); }
    QString projectFileName() const override { return fileName; }
    bool projectDirty() const override { return dirty; }
    void SetDirty(bool pbDirty) override { calls.append(QStringLiteral("SetDirty(%1)").arg(pbDirty)); dirty = pbDirty; }
    bool fSave() override { calls.append(QStringLiteral("fSave")); if (saveWorks) { fileName = "p.vmd"; dirty = false; } return saveWorks; }
    void pClearProject(bool flag) override { calls.append(QStringLiteral("pClearProject(%1)").arg(flag)); }
    // Like the real reload, loading leaves the project unchanged.
    bool fLoadProject() override { calls.append(QStringLiteral("fLoadProject")); dirty = false; return true; }
    QString selectedNodeKey() const override { return QStringLiteral("T_1"); }
    void reselectNode(const QString &key) override { calls.append(QStringLiteral("reselectNode(%1)").arg(key)); }
    void refreshFieldStates() override {}

    QString fileName;
    bool dirty = false;
    bool saveWorks = true;
    QStringList calls;

private:
    testsupport::ProjectFixture &mProject;
};

// Answers the three windows of a conversion: Ok on the confirmation (after
// recording its list), a real modal run of the progress window, and a record
// of the report.
class ConversionScript {
public:
    ConversionScript()
    {
        mPrevious = ui::setModalHandler([this](QDialog &dialog) {
            if (auto *confirm = qobject_cast<frmConvertStart *>(&dialog)) {
                for (int i = 0; i < confirm->list()->topLevelItemCount(); ++i)
                    listed.append(confirm->list()->topLevelItem(i)->text(2));
                countLine = confirm->totalBox()->text();
                confirmTitle = confirm->titleBox()->text();
                if (beforeOk)
                    beforeOk();
                if (pressOk)
                    confirm->cmdOk_Click();
                else
                    confirm->cmdCancel_Click();
                return dialog.result();
            }
            if (auto *progress = qobject_cast<frmProgress *>(&dialog)) {
                ++progressShown;
                progressWindow = progress;
                QTimer::singleShot(20000, progress, [progress] { progress->Unload(); }); // never hang
                return dialog.exec();
            }
            if (auto *report = qobject_cast<frmConvertEnd *>(&dialog)) {
                reportTitle = report->titleBox()->toPlainText();
                reportTotal = report->totalBox()->toPlainText();
                reportRows = report->list()->topLevelItemCount();
                for (int i = 0; i < reportRows; ++i)
                    reportErrors.append(report->list()->topLevelItem(i)->text(4));
                reportCaption = report->windowTitle();
                progressVisibleAtReport = progressWindow && progressWindow->isVisible();
                return int(QDialog::Accepted);
            }
            return dialog.exec();
        });
    }
    ~ConversionScript() { ui::setModalHandler(mPrevious); }

    bool pressOk = true;
    std::function<void()> beforeOk; // once the list is read
    QStringList listed;
    QString countLine, confirmTitle, reportTitle, reportTotal, reportCaption;
    int reportRows = -1;
    QStringList reportErrors;
    int progressShown = 0;
    bool progressVisibleAtReport = true;
    QPointer<frmProgress> progressWindow;

private:
    ui::ModalHandler mPrevious;
};

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(project.ok());
        user.exec({QStringLiteral("CREATE TABLE Salarii (Id INTEGER PRIMARY KEY, A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER)"),
                   QStringLiteral("INSERT INTO Salarii VALUES (1, 10000, 20000, 30000, 40000, 50000)")});
        const int table = project.addTable(project.addConn(6, QStringLiteral("Firma"), user.connString()), QStringLiteral("Salarii"));
        for (const char *name : {"A", "B", "C", "D", "E"})
            project.addField(table, QString::fromLatin1(name));
    }

    SettingsInTempDir settings;
    testsupport::ProjectFixture project;
    convtest::SqliteUserDb user;
    ScriptedPrompts prompts;
};

TEST_F(CommandTest, NeverSavedProjectMustBeSavedFirstAndNoStopsEverything)
{
    FakeMain main(project);
    ConversionCommand command(main);
    ConversionScript script;
    prompts.answer(ui::Answer::No);
    command.tlbConvert(true);
    EXPECT_EQ(script.listed, (QStringList{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(script.countLine, QStringLiteral("5 campuri vor fi convertite"));
    EXPECT_EQ(script.confirmTitle, QStringLiteral("Conversie din Lei VECHI in Lei NOI"));
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).text,
              QStringLiteral("Proiectul trebuie salvat inainte de a face conversia.\nDoriti sa se faca salvarea acum?"));
    EXPECT_EQ(prompts.messages().at(0).buttons, ui::Buttons::YesNo);
    EXPECT_EQ(prompts.messages().at(0).icon, ui::Icon::Question);
    EXPECT_EQ(script.progressShown, 0);
    EXPECT_TRUE(main.calls.isEmpty());

    // Yes, but the save dialog is cancelled: no conversion either.
    main.saveWorks = false;
    prompts.answer(ui::Answer::Yes);
    command.tlbConvert(true);
    EXPECT_EQ(main.calls, QStringList{"fSave"});
    EXPECT_EQ(script.progressShown, 0);
    EXPECT_EQ(user.scalar("SELECT A FROM Salarii").toInt(), 10000);
}

TEST_F(CommandTest, RenuntaConvertsNothingButTheStatesAreRefreshed)
{
    FakeMain main(project);
    main.fileName = QStringLiteral("p.vmd");
    ConversionCommand command(main);
    ConversionScript script;
    script.pressOk = false;
    project.Conn().execute(QStringLiteral("UPDATE tField SET Converted = True"));
    command.tlbConvert(true);
    EXPECT_EQ(script.listed.size(), 5);
    EXPECT_EQ(script.progressShown, 0);
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT Count(*) FROM tField WHERE Converted = True")).toInt(), 0);
}

// A saved, unchanged project goes straight to the progress window; Stop
// confirmed during the second of five fields cuts it and ends the walk, the
// project is saved and reloaded and the report says so.
TEST_F(CommandTest, SavedProjectRunsAtOnceAndStopDuringTheSecondFieldIsSavedAndReported)
{
    FakeMain main(project);
    main.fileName = QStringLiteral("p.vmd");
    ConversionCommand command(main);
    ConversionScript script;
    prompts.answer(ui::Answer::Yes); // the Stop question
    // The second field's statement takes as long as the Stop lets it.
    user.exec({QStringLiteral("CREATE TRIGGER vm_lent AFTER UPDATE OF B ON Salarii BEGIN SELECT count(*) FROM (WITH "
                              "RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 2000000000) "
                              "SELECT x FROM c); END")});
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (script.progressWindow && script.progressWindow->label(3)->text().startsWith(QStringLiteral("Camp 2/5"))
            && !script.progressWindow->Cancel())
            script.progressWindow->stopButton()->click();
    });
    poll.start(0);
    command.tlbConvert(true);
    poll.stop();

    EXPECT_EQ(script.progressShown, 1);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).text, QStringLiteral("Sunteti sigur ca doriti sa opriti procesul de conversie?"));
    // The second field was cut in the middle of its statement and rolled
    // back whole, and the report says so; the first stays converted.
    EXPECT_EQ(user.scalar("SELECT A || ',' || B || ',' || C FROM Salarii").toString(), QStringLiteral("1,20000,30000"));
    ASSERT_EQ(script.reportErrors.size(), 2);
    EXPECT_TRUE(script.reportErrors.at(0).isEmpty());
    EXPECT_TRUE(script.reportErrors.at(1).contains(QStringLiteral("Asteptarea a fost oprita de utilizator.")))
        << script.reportErrors.at(1).toStdString();
    EXPECT_EQ(main.calls, (QStringList{"fSave", "pClearProject(0)", "fLoadProject", "reselectNode(T_1)"}));
    EXPECT_TRUE(script.reportTitle.endsWith(QStringLiteral("\nConversie intrerupta de utilizator")));
    EXPECT_EQ(script.reportRows, 2);
    EXPECT_EQ(script.reportCaption, QStringLiteral("Conversie din Lei VECHI in Lei NOI"));
    EXPECT_FALSE(script.progressVisibleAtReport);
    EXPECT_EQ(command.mfrmProgress, nullptr);
}

// The save at the end of a run fails (the project file's folder is gone):
// the reload must not mark the project unchanged, or closing the program
// would drop the states of the run without asking.
TEST_F(CommandTest, FailedSaveAfterTheRunLeavesTheProjectModified)
{
    FakeMain main(project);
    main.fileName = QStringLiteral("p.vmd");
    main.saveWorks = false;
    ConversionCommand command(main);
    ConversionScript script;
    command.tlbConvert(true);
    EXPECT_EQ(script.progressShown, 1);
    EXPECT_EQ(main.calls, (QStringList{"fSave", "pClearProject(0)", "fLoadProject", "reselectNode(T_1)", "SetDirty(1)"}));
    EXPECT_TRUE(main.dirty);
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT Count(*) FROM tField WHERE Converted = True")).toInt(), 5)
        << project.scalar(QStringLiteral("SELECT Error FROM tField")).toString().toStdString();
    EXPECT_EQ(script.reportRows, 5);
}

// An unexpected error ends the walk: the standard error box, the report with
// what was gathered, no save and no reload, and the project marked modified.
TEST_F(CommandTest, UnexpectedErrorShowsTheErrorBoxMarksTheProjectModifiedAndStillReports)
{
    FakeMain main(project);
    main.fileName = QStringLiteral("p.vmd");
    ConversionCommand command(main);
    ConversionScript script;
    project.Conn().execute(QStringLiteral("ALTER TABLE tTable RENAME TO tTableAlt"));
    command.pConvertField(true);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmMain: pConvertField"));
    EXPECT_EQ(prompts.messages().at(0).icon, ui::Icon::Critical);
    EXPECT_EQ(main.calls, QStringList{"SetDirty(1)"});
    EXPECT_EQ(script.reportRows, 0);
    EXPECT_EQ(script.reportTotal, QStringLiteral("0 campuri din 0 convertite cu succes"));
}

// Another program's session that keeps a server's table from being read or
// changed until the test lets go.
class ServerTableLock {
public:
    ServerTableLock(testsupport::Engine engine, const QString &connString, const QString &table) : mEngine(engine)
    {
        mConn.open(connString);
        if (engine == testsupport::Engine::MariaDb) {
            mConn.execute(QStringLiteral("LOCK TABLES %1 WRITE").arg(table));
        } else {
            mConn.beginTrans();
            mConn.execute(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(table));
        }
    }
    ~ServerTableLock()
    {
        if (mEngine == testsupport::Engine::MariaDb)
            mConn.execute(QStringLiteral("UNLOCK TABLES"));
        else
            mConn.rollbackTrans();
    }

private:
    testsupport::Engine mEngine;
    db::Connection mConn;
};

class WaitWindows : public ::testing::TestWithParam<testsupport::Engine> {
protected:
    // A project with one field on a server table that only Stop can get
    // past while it is locked (its lock timeout is two minutes).
    void makeProject(testsupport::UserDatabase &userDb)
    {
        ASSERT_TRUE(project.ok());
        table = testsupport::UserDatabase::tableName(QStringLiteral("plati"));
        userDb.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
        userDb.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 14875000), (2, 10000)").arg(table));
        const QString patient = userDb.connString() + QStringLiteral(";LockTimeout=120;");
        project.addField(project.addTable(project.addConn(6, QStringLiteral("Server"), patient), table),
                         QStringLiteral("suma"));
    }
    static QString amounts(testsupport::UserDatabase &userDb, const QString &table)
    {
        QStringList out;
        db::Recordset rs =
            userDb.conn().openRecordset(QStringLiteral("SELECT suma FROM %1 ORDER BY id").arg(table));
        for (; !rs.eof(); rs.moveNext())
            out << exact::normalized(rs.value(0).toString());
        return out.join(QLatin1Char(' '));
    }

    SettingsInTempDir settings;
    testsupport::ProjectFixture project;
    ScriptedPrompts prompts;
    QString table;
};

// A run waiting for a table another session holds: the progress window goes
// on answering (a timer keeps ticking) and Stop ends the wait at once; the
// field is rolled back and reported as stopped.
TEST_P(WaitWindows, StopEndsARunThatWaitsForALockedTable)
{
    VAMOR_OPEN_USER_DB(userDb, GetParam());
    makeProject(userDb);
    FakeMain main(project);
    main.fileName = QStringLiteral("p.vmd");
    ConversionCommand command(main);
    ConversionScript script;
    prompts.answer(ui::Answer::Yes); // the Stop question
    std::optional<ServerTableLock> lock;
    script.beforeOk = [&] { lock.emplace(GetParam(), userDb.connString(), table); };
    int ticks = 0, ticksWhileWaiting = -1;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QTimer poll;
    int waitingSince = -1;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        frmProgress *progress = script.progressWindow;
        if (!progress || !progress->label(3)->text().startsWith(QStringLiteral("Camp 1/1")) || progress->Cancel())
            return;
        if (waitingSince < 0)
            waitingSince = ticks;
        else if (ticks - waitingSince >= 50) { // a second of the field's wait
            ticksWhileWaiting = ticks - waitingSince;
            progress->stopButton()->click();
        }
    });
    poll.start(0);
    command.tlbConvert(true);
    poll.stop();
    lock.reset();

    EXPECT_GE(ticksWhileWaiting, 50);
    ASSERT_EQ(script.reportErrors.size(), 1);
    EXPECT_TRUE(script.reportErrors.at(0).contains(QStringLiteral("Asteptarea a fost oprita de utilizator.")))
        << script.reportErrors.at(0).toStdString();
    EXPECT_TRUE(script.reportTitle.endsWith(QStringLiteral("\nConversie intrerupta de utilizator")));
    EXPECT_EQ(amounts(userDb, table), QStringLiteral("14875000 10000"));
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT Count(*) FROM tField WHERE Converted = True")).toInt(), 0);
}

// The confirmation window is on screen while it probes a locked table; it
// answers meanwhile, and Renunta stops the probe and closes it.
TEST_P(WaitWindows, ConfirmationWindowAnswersWhileItWaitsAndRenuntaStopsIt)
{
    VAMOR_OPEN_USER_DB(userDb, GetParam());
    makeProject(userDb);
    // With its recovery column there, the field's state is read from the table.
    userDb.execute(QStringLiteral("ALTER TABLE %1 ADD suma_VM DECIMAL(18,2)").arg(table));
    ServerTableLock lock(GetParam(), userDb.connString(), table);
    frmConvertStart confirm;
    confirm.ToLeiNoi = true;
    confirm.Load();
    confirm.show();
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    while (ticks < 50)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_TRUE(confirm.listing());
    EXPECT_TRUE(confirm.isVisible());
    EXPECT_FALSE(confirm.okButton()->isEnabled()) << "the list is not complete";
    confirm.cancelButton()->click();
    const int stopAsked = ticks;
    while (confirm.isVisible() && ticks - stopAsked < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_FALSE(confirm.isVisible());
    EXPECT_FALSE(confirm.listing());
    EXPECT_EQ(confirm.result(), QDialog::Rejected);
    EXPECT_FALSE(confirm.Ok);
    EXPECT_TRUE(prompts.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Servers, WaitWindows,
                         ::testing::Values(testsupport::Engine::Postgres, testsupport::Engine::MariaDb),
                         [](const ::testing::TestParamInfo<testsupport::Engine> &info) {
                             return testsupport::engineName(info.param).toStdString();
                         });

} // namespace

#include "WindowsTest.moc"
