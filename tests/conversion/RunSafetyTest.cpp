// The command-line run against its neighbours and its end: two runs on one
// project, journals and working copies that killed runs left behind, SIGINT
// and SIGTERM, and a report file that must not replace anything else. Every
// case runs the real program as separate processes.
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/CommandLineFixture.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sqlite3.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

class RunSafety : public convtest::CommandLineFixture {
protected:
    // A table whose field "Suma" takes seconds to convert (a trigger does
    // useless work for every row), placed before "Facturi" in the run.
    void addSlowTable(int rows = 100)
    {
        project(QStringLiteral("DELETE FROM tTable"));
        user.exec({QStringLiteral("CREATE TABLE Balast (x INTEGER)"),
                   QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 1500) "
                                  "INSERT INTO Balast SELECT i FROM c"),
                   QStringLiteral("CREATE TABLE Arhiva (Id INTEGER PRIMARY KEY, Suma INTEGER)"),
                   QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < %1) "
                                  "INSERT INTO Arhiva SELECT i, i * 10000 FROM c")
                       .arg(rows),
                   QStringLiteral("CREATE TRIGGER Franare AFTER UPDATE OF Suma ON Arhiva BEGIN SELECT count(*) FROM "
                                  "Balast a, Balast b; END")});
        for (const char *table : {"Arhiva", "Facturi"})
            project(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, '%1')").arg(QLatin1String(table)));
        for (const char *field : {"Arhiva.Suma", "Facturi.Suma", "Facturi.Tva"}) {
            const QStringList parts = QString::fromLatin1(field).split(QLatin1Char('.'));
            project(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName) SELECT IdTable, '%2', '%2_VM' "
                                   "FROM tTable WHERE TableName = '%1'")
                        .arg(parts.at(0), parts.at(1)));
        }
    }
    bool converted(const QString &table, const QString &field)
    {
        return projectScalar(QStringLiteral("SELECT Converted FROM tField INNER JOIN tTable ON tField.IdTable = "
                                            "tTable.IdTable WHERE TableName = '%1' AND FieldName = '%2'")
                                 .arg(table, field))
            .toBool();
    }

    // Files of the program folder that a run leaves only while it runs:
    // working copies, journals, locks, save temporaries.
    QStringList runFiles() const
    {
        QStringList files;
        for (const QString &name : QDir(home.path()).entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (name.startsWith(QLatin1Char('~')) || name.endsWith(QStringLiteral(".lock"))
                || name.contains(QStringLiteral(".~")))
                files.append(name);
        return files;
    }

};

TEST_F(RunSafety, SecondRunOnAnOpenProjectSaysWhoHasItAndExitsTwo)
{
    // The first run holds the project while it waits for its answer.
    std::unique_ptr<QProcess> first = start({"--convert", projectPath, "--to", "noi"});
    waitFor(*first, "Continuati? (d/n)");
    const QString holder = QStringLiteral("este deschis de alt program: vamor, procesul %1 de pe calculatorul %2")
                               .arg(first->processId())
                               .arg(QSysInfo::machineHostName());

    // The same file under other names: a symbolic link, a relative path.
    const QString link = QDir(home.path()).filePath(QStringLiteral("legatura.vmd"));
    ASSERT_TRUE(QFile::link(projectPath, link));
    const struct {
        QStringList args;
        QString workingDir;
    } seconds[] = {
        {{"--convert", projectPath, "--to", "noi", "--yes"}, QString()},
        {{"--convert", link, "--to", "noi", "--yes"}, QString()},
        {{"--convert", "firma.vmd", "--to", "vechi", "--yes", "--list"}, home.path()},
    };
    for (const auto &second : seconds) {
        const Outcome r = vamor(second.args, QByteArray(), second.workingDir);
        EXPECT_EQ(r.status, 2) << second.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(holder)) << r.err.toStdString() << "\nexpected: " << holder.toStdString();
        EXPECT_FALSE(r.out.contains(QStringLiteral("vor fi convertite"))) << r.out.toStdString();
    }
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
    // Only the first run's working copy and lock are there.
    EXPECT_EQ(runFiles(), QStringList({"firma.vmd.lock", "~00001.lock", "~00001.tmp"}));

    first->write("d\n");
    const Outcome r = finish(*first);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);
    EXPECT_EQ(user.scalar("SELECT Suma_VM FROM Facturi WHERE Id = 1").toInt(), 1000000);
    EXPECT_TRUE(runFiles().isEmpty()) << runFiles().join(' ').toStdString();
}

TEST_F(RunSafety, RunsStartedHalfASecondApartNeverBothConvert)
{
    addSlowTable();
    std::unique_ptr<QProcess> runs[2];
    qint64 pids[2] = {0, 0};
    runs[0] = start({"--convert", projectPath, "--to", "noi", "--yes"});
    pids[0] = runs[0]->processId();
    QThread::msleep(500);
    runs[1] = start({"--convert", projectPath, "--to", "noi", "--yes"});
    pids[1] = runs[1]->processId();
    const Outcome outcomes[2] = {finish(*runs[0]), finish(*runs[1])};
    // One converts; the other is refused before anything and names the first.
    const int refused = outcomes[0].status == 2 ? 0 : 1;
    EXPECT_EQ(outcomes[1 - refused].status, 0) << outcomes[1 - refused].err.toStdString();
    EXPECT_EQ(outcomes[refused].status, 2) << outcomes[refused].out.toStdString() << outcomes[refused].err.toStdString();
    EXPECT_TRUE(outcomes[refused].err.contains(QStringLiteral("procesul %1").arg(pids[1 - refused])))
        << outcomes[refused].err.toStdString();
    // Converted once: the recovery column holds the old amounts.
    EXPECT_EQ(user.scalar("SELECT Suma FROM Arhiva WHERE Id = 7").toInt(), 7);
    EXPECT_EQ(user.scalar("SELECT Suma_VM FROM Arhiva WHERE Id = 7").toInt(), 70000);
    EXPECT_EQ(user.scalar("SELECT Suma_VM FROM Facturi WHERE Id = 1").toInt(), 1000000);
    EXPECT_TRUE(runFiles().isEmpty()) << runFiles().join(' ').toStdString();
}

// A run killed outright leaves its lock and working copy: the next run takes
// the lock over, names the working copy and leaves it where it is.
TEST_F(RunSafety, KilledRunsLockIsTakenOverAndItsWorkingCopyNamed)
{
    std::unique_ptr<QProcess> killed = start({"--convert", projectPath, "--to", "noi"});
    waitFor(*killed, "Continuati? (d/n)");
    killed->kill();
    killed->waitForFinished();
    ASSERT_EQ(runFiles(), QStringList({"firma.vmd.lock", "~00001.lock", "~00001.tmp"}));
    const QByteArray orphan = readAll(QDir(home.path()).filePath(QStringLiteral("~00001.tmp")));

    const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Copie de lucru ramasa de la o rulare Vamor oprita: \"%1\"")
                                   .arg(QDir(home.path()).filePath(QStringLiteral("~00001.tmp")))))
        << r.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);
    EXPECT_EQ(runFiles(), QStringList({"~00001.tmp"}));
    EXPECT_EQ(readAll(QDir(home.path()).filePath(QStringLiteral("~00001.tmp"))), orphan);
}

// A run killed between making its lock file and writing its name into it
// leaves an empty lock: the next run waits out the moment a live holder needs
// and takes it over, where a lock naming a live holder is still respected.
TEST_F(RunSafety, EmptyLockLeftByAKilledRunIsTakenOver)
{
    writeFile(projectPath + QStringLiteral(".lock"), QByteArray());
    const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--list"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Firma"))) << r.out.toStdString();
    EXPECT_TRUE(runFiles().isEmpty()) << runFiles().join(' ').toStdString();
}

// A rollback journal left by a run killed while writing "~00001.tmp" (the
// copy itself since removed) must not be played into the next working copy.
TEST_F(RunSafety, StaleJournalIsNotPlayedIntoTheNextWorkingCopy)
{
    // Another project, changed inside a transaction big enough that SQLite
    // writes its journal out; the journal is copied while it is hot.
    const QString other = QDir(home.path()).filePath(QStringLiteral("altul.db"));
    ASSERT_TRUE(QFile::copy(QDir(testsupport::templatesDir()).filePath(QStringLiteral("Vamor.vmt")), other));
    QFile::setPermissions(other, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(other).constData(), &db), SQLITE_OK);
    const auto exec = [db](const char *sql) { ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; };
    exec("INSERT INTO tConn (IdConnType, Description, ConnString, Offline) VALUES (6, 'Strain', 'x', 0)");
    exec("PRAGMA cache_size = 10");
    exec("BEGIN");
    exec("DELETE FROM tConn");
    exec("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 3000) INSERT INTO tConn "
         "(IdConnType, Description, Offline) SELECT 6, printf('%0200d', i), 0 FROM c");
    const QByteArray journal = readAll(other + QStringLiteral("-journal"));
    exec("ROLLBACK");
    sqlite3_close(db);
    QFile::remove(other);
    ASSERT_GT(journal.size(), 1024);
    const QString stale = QDir(home.path()).filePath(QStringLiteral("~00001.tmp-journal"));
    writeFile(stale, journal);

    const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--list"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Firma"))) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("Strain"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Jurnal ramas de la o rulare Vamor oprita: \"%1\"").arg(stale)))
        << r.err.toStdString();
    EXPECT_EQ(projectScalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(projectScalar(QStringLiteral("SELECT group_concat(Description) FROM tConn")).toString(),
              QStringLiteral("Firma"));
    EXPECT_EQ(projectScalar(QStringLiteral("SELECT Count(*) FROM tField")).toInt(), 2);
    // The journal is not this run's: it stays as it was.
    EXPECT_EQ(readAll(stale), journal);
    EXPECT_EQ(runFiles(), QStringList({"~00001.tmp-journal"}));
}

TEST_F(RunSafety, OneSignalStopsAfterTheFieldThenSavesAndCleansUp)
{
    addSlowTable();
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig);
        std::unique_ptr<QProcess> run = start({"--convert", projectPath, "--to", "noi", "--yes"});
        const QByteArray err = waitFor(*run, "(Arhiva)", true);
        ::kill(static_cast<pid_t>(run->processId()), sig);
        const Outcome r = finish(*run, err);
        EXPECT_GE(r.status, 0) << "ended by the signal\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Oprire ceruta"))) << r.err.toStdString();
        // The field under way finished; the next one was not started; the
        // states were saved.
        EXPECT_EQ(user.scalar("SELECT Suma FROM Arhiva WHERE Id = 7").toInt(), 7);
        EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
        EXPECT_TRUE(converted(QStringLiteral("Arhiva"), QStringLiteral("Suma")));
        EXPECT_FALSE(converted(QStringLiteral("Facturi"), QStringLiteral("Suma")));
        EXPECT_FALSE(converted(QStringLiteral("Facturi"), QStringLiteral("Tva")));
        EXPECT_TRUE(runFiles().isEmpty()) << runFiles().join(' ').toStdString();
        // As it was, for the next signal.
        project(QStringLiteral("UPDATE tField SET Converted = False"));
        user.exec({QStringLiteral("UPDATE Arhiva SET Suma = Suma_VM, Suma_VM = NULL")});
    }
}

// A second signal, or one before the conversion starts, ends the run at once
// with status 1: the working copy and everything beside it goes, the project
// file keeps its content, and no amount is half converted.
TEST_F(RunSafety, SecondSignalOrOneBeforeTheConversionEndsAtOnce)
{
    addSlowTable();
    const QByteArray before = readAll(projectPath);
    const struct {
        const char *name;
        QList<int> signalsSent;
        bool atPrompt;
    } cases[] = {
        {"two SIGTERM during a field", {SIGTERM, SIGTERM}, false},
        {"two SIGINT during a field", {SIGINT, SIGINT}, false},
        {"SIGINT then SIGTERM", {SIGINT, SIGTERM}, false},
        {"SIGTERM at the question", {SIGTERM}, true},
        {"Ctrl+C at the question", {SIGINT}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QProcess> run =
            start(c.atPrompt ? QStringList{"--convert", projectPath, "--to", "noi"}
                             : QStringList{"--convert", projectPath, "--to", "noi", "--yes"});
        const QByteArray err = c.atPrompt ? waitFor(*run, "Continuati? (d/n)") : waitFor(*run, "(Arhiva)", true);
        for (int sig : c.signalsSent) {
            ::kill(static_cast<pid_t>(run->processId()), sig);
            QThread::msleep(100);
        }
        QElapsedTimer clock;
        clock.start();
        const Outcome r = finish(*run, err);
        EXPECT_LT(clock.elapsed(), 1500) << "did not end at once";
        EXPECT_EQ(r.status, 1) << r.err.toStdString();
        EXPECT_EQ(readAll(projectPath), before);
        EXPECT_TRUE(runFiles().isEmpty()) << runFiles().join(' ').toStdString();
        // All or nothing: the field under way was rolled back.
        EXPECT_EQ(user.scalar("SELECT Count(*) FROM Arhiva WHERE Suma = Id * 10000").toInt(), 100);
        EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
    }
}

TEST_F(RunSafety, ReportNeverReplacesTheProjectTheWorkingCopyOrAForeignFile)
{
    const QDir dir(home.path());
    const QString link = dir.filePath(QStringLiteral("raport-legatura.txt"));
    ASSERT_TRUE(QFile::link(projectPath, link));
    const QString data = dir.filePath(QStringLiteral("date.db"));
    writeFile(data, "datele utilizatorului\n");
    const QString almost = dir.filePath(QStringLiteral("aproape.txt"));
    writeFile(almost, "Inceput Conversie: 1\r\nAltceva\r\n");
    ASSERT_TRUE(dir.mkdir(QStringLiteral("dosar")));
    const QByteArray project = readAll(projectPath);

    const struct {
        QString report;
        QString workingDir;
        QString message;
    } refused[] = {
        {projectPath, QString(), QStringLiteral("acesta este fisierul proiectului")},
        {link, QString(), QStringLiteral("acesta este fisierul proiectului")},
        {QStringLiteral("firma.vmd"), home.path(), QStringLiteral("acesta este fisierul proiectului")},
        {QStringLiteral("dosar/../firma.vmd"), home.path(), QStringLiteral("acesta este fisierul proiectului")},
        {dir.filePath(QStringLiteral("~00001.tmp")), QString(), QStringLiteral("acesta este copia de lucru")},
        {dir.filePath(QStringLiteral("firma.vmd.lock")), QString(), QStringLiteral("acesta este fisierul proiectului")},
        {data, QString(), QStringLiteral("exista si nu este un raport scris de Vamor; nu va fi inlocuit")},
        {almost, QString(), QStringLiteral("exista si nu este un raport scris de Vamor")},
        {dir.filePath(QStringLiteral("dosar")), QString(), QStringLiteral("este un folder")},
    };
    for (const auto &c : refused) {
        const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--report", c.report}, QByteArray(), c.workingDir);
        EXPECT_EQ(r.status, 2) << c.report.toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << c.report.toStdString() << "\n" << r.err.toStdString();
        EXPECT_FALSE(r.out.contains(QStringLiteral("vor fi convertite"))) << r.out.toStdString();
    }
    EXPECT_EQ(readAll(projectPath), project);
    EXPECT_EQ(readAll(data), QByteArray("datele utilizatorului\n"));
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
    EXPECT_TRUE(runFiles().isEmpty()) << runFiles().join(' ').toStdString();

    // A new file, an empty one, and a report of an earlier run are written.
    const QString report = dir.filePath(QStringLiteral("raport.txt"));
    const QString empty = dir.filePath(QStringLiteral("gol.txt"));
    writeFile(empty, QByteArray());
    Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--report", report});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(readAll(report).startsWith("Inceput Conversie: "));
    r = vamor({"--convert", projectPath, "--to", "vechi", "--yes", "--report", report});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(readAll(report).contains("\"Firma\",\"Facturi\",\"Suma\""));
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
    r = vamor({"--convert", projectPath, "--to", "vechi", "--yes", "--report", empty});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(readAll(empty).startsWith("Inceput Conversie: "));
}

} // namespace
