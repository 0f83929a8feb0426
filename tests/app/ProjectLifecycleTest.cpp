// The main window's project against the world outside it: the modes of the
// files it saves, a project another run has open, working copies that ended
// runs left behind, and the end of the session on SIGTERM or SIGINT.
#include "app/SignalWatcher.h"
#include "app/frmMain.h"
#include "data/ProjectFile.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sys/stat.h>

using apptest::chooseExisting;
using apptest::chooseTemplate;
using apptest::fillOneSource;
using apptest::makeProject;
using testsupport::ProgramFolder;
using testsupport::ProjectFixture;
using testsupport::ScriptedModals;
using testsupport::ScriptedPrompts;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

class ProjectLifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::clearSettings();
        previousMask = ::umask(022);
    }
    void TearDown() override { ::umask(previousMask); }
    mode_t previousMask = 022;
};

unsigned modeOf(const QString &path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode & 07777;
}

QStringList workingCopies(const ProgramFolder &folder) { return folder.files().filter(QStringLiteral(".tmp")); }

// The command-line run on `project`, held at its question "Continuati?" so
// that it keeps the project open until it is answered or killed.
std::unique_ptr<QProcess> holdProject(const QString &project, const QString &home)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VAMOR_HOME"), home);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process->setProcessEnvironment(env);
    process->start(QStringLiteral(VAMOR_CLI), {"--convert", project, "--to", "noi"});
    EXPECT_TRUE(process->waitForStarted());
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (!out.contains("Continuati?") && process->state() == QProcess::Running && clock.elapsed() < 30000) {
        process->waitForReadyRead(50);
        out += process->readAllStandardOutput();
    }
    EXPECT_TRUE(out.contains("Continuati?")) << out.toStdString() << process->readAllStandardError().toStdString();
    return process;
}

} // namespace

TEST_F(ProjectLifecycle, NewProjectFileIsPrivateAndAReplacedOneKeepsItsMode)
{
    ProgramFolder folder;
    frmMain w;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
    w.pNew();
    w.SetDirty(true);
    const QString target = folder.filePath(QStringLiteral("Parole.vmd"));
    prompts.saveFile(target);
    ASSERT_TRUE(w.fSave());
    EXPECT_EQ(modeOf(target), 0600u);
    EXPECT_EQ(modeOf(w.tempFile()), 0600u);

    // The owner shares it with the group; the next save keeps that.
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    w.Conn().execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description) VALUES (6, 'Sursa')"));
    w.SetDirty(true);
    ASSERT_TRUE(w.fSave());
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
}

TEST_F(ProjectLifecycle, ProjectAnotherRunHasOpenStaysClosed)
{
    ProgramFolder folder;
    QTemporaryDir otherHome;
    const QString file = folder.filePath(QStringLiteral("Ocupat.vmd"));
    makeProject(file, fillOneSource);
    std::unique_ptr<QProcess> holder = holdProject(file, otherHome.path());
    const QString who = QStringLiteral("este deschis de alt program: vamor, procesul %1 de pe calculatorul %2")
                            .arg(holder->processId())
                            .arg(QSysInfo::machineHostName());

    frmMain w;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    modals.then(chooseExisting(file));
    w.pOpen(false);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().at(0).text.contains(who)) << prompts.messages().at(0).text.toStdString();
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("Vamor"));
    // Nothing half open.
    EXPECT_TRUE(w.fileName().isEmpty());
    EXPECT_TRUE(w.tempFile().isEmpty());
    EXPECT_FALSE(w.Conn().isOpen());
    EXPECT_EQ(w.trv->topLevelItemCount(), 0);
    EXPECT_FALSE(w.tlbButton(QStringLiteral("conn_add"))->isEnabled());
    EXPECT_FALSE(w.holdsProjectLock());
    EXPECT_TRUE(workingCopies(folder).isEmpty());

    // Nor is a new project saved over it; the next save asks for a name again.
    modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
    w.pNew();
    w.SetDirty(true);
    const QByteArray before = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    prompts.clear();
    prompts.saveFile(file);
    EXPECT_FALSE(w.fSave());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().at(0).text.contains(who));
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_TRUE(w.fileName().isEmpty());
    EXPECT_TRUE(w.isDirty());

    // Once the other run has ended the project opens, locked by this window
    // until it is closed.
    holder->write("n\n");
    holder->closeWriteChannel();
    ASSERT_TRUE(holder->waitForFinished(30000));
    prompts.clear();
    prompts.answer(ui::Answer::No);
    modals.then(chooseExisting(file));
    w.pOpen(false);
    EXPECT_EQ(w.fileName(), file);
    EXPECT_EQ(w.trv->topLevelItemCount(), 1);
    EXPECT_TRUE(w.holdsProjectLock());
    EXPECT_TRUE(QFile::exists(file + QStringLiteral(".lock")));
    EXPECT_TRUE(w.fCloseProject());
    EXPECT_FALSE(QFile::exists(file + QStringLiteral(".lock")));
}

TEST_F(ProjectLifecycle, OrphanedWorkingCopiesAreOfferedForRecoveryOrRemoval)
{
    ProgramFolder folder;
    // ~00001.tmp: the working copy of a run killed outright.
    const QString killedProject = folder.filePath(QStringLiteral("Ucis.vmd"));
    makeProject(killedProject);
    std::unique_ptr<QProcess> killed = holdProject(killedProject, folder.path());
    killed->kill();
    killed->waitForFinished();
    // ~00002.tmp and ~00003.tmp: copies an older program left without a lock;
    // ~00004.tmp-journal: a journal alone.
    makeProject(folder.filePath(QStringLiteral("~00002.tmp")));
    makeProject(folder.filePath(QStringLiteral("~00003.tmp")), fillOneSource);
    {
        QFile journal(folder.filePath(QStringLiteral("~00004.tmp-journal")));
        ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
        journal.write("jurnal");
    }
    QFile::remove(killedProject + QStringLiteral(".lock"));

    ScriptedModals modals;
    ScriptedPrompts prompts;
    prompts.answer(ui::Answer::No);     // ~00001: delete
    prompts.answer(ui::Answer::Cancel); // ~00002: leave
    prompts.answer(ui::Answer::Yes);    // ~00003: recover
    frmMain w;
    w.show();
    QTRY_COMPARE_WITH_TIMEOUT(prompts.messages().size(), 3, 5000);
    QTest::qWait(50);
    EXPECT_EQ(prompts.messages().size(), 3);
    for (int i = 0; i < 3; ++i) {
        const ui::MessageRequest &question = prompts.messages().at(i);
        const QString copy = folder.filePath(projectfile::workingCopyName(i + 1));
        EXPECT_TRUE(question.text.contains(QStringLiteral("Copia de lucru \"%1\" din ").arg(copy)))
            << question.text.toStdString();
        EXPECT_TRUE(question.text.contains(QStringLiteral("Doriti sa o deschideti ca proiect nou, nesalvat?")));
        EXPECT_TRUE(question.text.contains(QString::number(QFileInfo(copy).lastModified().date().year() % 100)));
        EXPECT_EQ(question.buttons, ui::Buttons::YesNoCancel);
    }
    // The recovered copy is the project: new, unsaved, changed; the start
    // dialog does not come up.
    EXPECT_EQ(modals.shown(), 0);
    EXPECT_EQ(w.tempFile(), folder.filePath(QStringLiteral("~00003.tmp")));
    EXPECT_TRUE(w.fileName().isEmpty());
    EXPECT_TRUE(w.isDirty());
    ASSERT_EQ(w.trv->topLevelItemCount(), 1);
    EXPECT_EQ(w.trv->topLevelItem(0)->text(0), QStringLiteral("Contabilitate"));
    EXPECT_EQ(workingCopies(folder), QStringList({"~00002.tmp", "~00003.tmp"}));

    // Another window asks only about the copy that was left; the recovered
    // one belongs to a live window now.
    {
        ScriptedPrompts again;
        frmMain other;
        EXPECT_FALSE(other.fOfferOrphans());
        ASSERT_EQ(again.messages().size(), 1);
        EXPECT_TRUE(again.messages().at(0).text.contains(folder.filePath(QStringLiteral("~00002.tmp"))));
    }

    // Saved, it is a project like any other.
    const QString saved = folder.filePath(QStringLiteral("Recuperat.vmd"));
    prompts.saveFile(saved);
    ASSERT_TRUE(w.fSave());
    db::Connection conn;
    conn.open(projectfile::projectConnectionString(saved));
    EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT Description FROM tConn")).value(0).toString(),
              QStringLiteral("Contabilitate"));
}

TEST_F(ProjectLifecycle, SignalEndsTheSessionWithoutQuestionsAndRemovesTheWorkingCopy)
{
    ProgramFolder folder;
    for (const bool dialogOpen : {false, true}) {
        SCOPED_TRACE(dialogOpen ? "with a dialog open" : "idle");
        ScriptedModals modals;
        ScriptedPrompts prompts;
        frmMain w;
        modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
        w.pNew();
        w.show();
        w.SetDirty(true);
        const QString copy = w.tempFile();
        ASSERT_TRUE(QFile::exists(copy));
        SignalWatcher watcher([&w] { w.pEndSession(); });
        ASSERT_TRUE(watcher.isWatching());

        if (dialogOpen) {
            // A dialog of the window's own is up when the signal comes.
            QDialog dialog(&w);
            QTimer::singleShot(0, [] { ::raise(SIGTERM); });
            EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        } else {
            ::raise(SIGTERM);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 5000);
        EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
        EXPECT_FALSE(QFile::exists(copy));
        EXPECT_TRUE(workingCopies(folder).isEmpty());
        EXPECT_FALSE(QFile::exists(projectfile::workingCopyLockPath(copy)));
    }
}

// The real program, on the offscreen display: a SIGTERM while it asks about
// a working copy left behind ends it cleanly and leaves the copy.
TEST_F(ProjectLifecycle, RealProgramEndsCleanlyOnSigterm)
{
    ProgramFolder folder;
    const QString orphan = folder.filePath(QStringLiteral("~00001.tmp"));
    makeProject(orphan);
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VAMOR_HOME"), folder.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VAMOR_CLI), QStringList());
    ASSERT_TRUE(program.waitForStarted());
    // The question is up once the program holds the copy's lock.
    const QString lock = projectfile::workingCopyLockPath(orphan);
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(lock) && clock.elapsed() < 20000 && program.state() == QProcess::Running)
        QTest::qWait(20);
    ASSERT_TRUE(QFile::exists(lock)) << program.readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(orphan));
    EXPECT_FALSE(QFile::exists(lock));
}
