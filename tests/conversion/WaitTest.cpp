// Every wait of a run on a user's database has an end: a table that another
// program keeps locked fails its field after the data source's lock timeout
// with a message that names it, nothing of the field changed, and the run
// goes on with the next field. On the built-in SQLite and on real
// PostgreSQL and MariaDB servers.
#include "conversion/ConversionEngine.h"
#include "conversion/ConversionListing.h"
#include "conversion/ReportLog.h"
#include "conversion/Waits.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/ExactDecimal.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

using conversion::ConversionEngine;
using conversion::ReportLog;
using testsupport::Engine;
using testsupport::ProjectFixture;
using testsupport::UserDatabase;

namespace {

QString withAttribute(QString connString, const QString &attribute)
{
    if (!connString.trimmed().endsWith(QLatin1Char(';')))
        connString += QLatin1Char(';');
    return connString + attribute + QLatin1Char(';');
}

ReportLog runEngine(ProjectFixture &project, bool toLeiNoi)
{
    ReportLog report;
    convtest::RecordingProgress progress;
    report.ConvertStart();
    ConversionEngine engine(project.Conn(), progress, report);
    const ConversionEngine::Result result = engine.run(toLeiNoi);
    EXPECT_FALSE(result.failed) << result.errorDescription.toStdString();
    report.ConvertEnd(QString());
    return report;
}

QString amounts(UserDatabase &user, const QString &table, const QString &column)
{
    QStringList out;
    db::Recordset rs = user.conn().openRecordset(QStringLiteral("SELECT %1 FROM %2 ORDER BY id").arg(column, table));
    for (; !rs.eof(); rs.moveNext())
        out << (rs.value(0).isNull() ? QStringLiteral("Null") : exact::normalized(rs.value(0).toString()));
    return out.join(QLatin1Char(' '));
}

// Another program's session that keeps a table from being changed (and,
// on the servers, from being read) until it lets go.
class TableLock {
public:
    TableLock(Engine engine, const QString &connString, const QString &table) : mEngine(engine)
    {
        mConn.open(connString);
        switch (engine) {
        case Engine::Sqlite:
            // The file's write lock: readers go on, writers wait.
            mConn.beginTrans();
            mConn.execute(QStringLiteral("INSERT INTO %1 (id, suma) VALUES (99, 1)").arg(table));
            break;
        case Engine::Postgres:
            mConn.beginTrans();
            mConn.execute(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(table));
            break;
        case Engine::MariaDb: mConn.execute(QStringLiteral("LOCK TABLES %1 WRITE").arg(table)); break;
        }
    }
    ~TableLock() { release(); }
    void release()
    {
        if (!mConn.isOpen())
            return;
        if (mEngine == Engine::MariaDb)
            mConn.execute(QStringLiteral("UNLOCK TABLES"));
        else
            mConn.rollbackTrans();
        mConn.close();
    }

private:
    Engine mEngine;
    db::Connection mConn;
};

class LockedTable : public ::testing::TestWithParam<Engine> {};

// In both directions: the locked table's field fails with the lock message
// within a small lock timeout, the next field (another data source) is
// converted, and the locked table keeps every amount as it was; once the
// lock is gone the field converts.
TEST_P(LockedTable, FieldFailsWithTheLockMessageAndTheRunGoesOn)
{
    VAMOR_OPEN_USER_DB(lockedDb, GetParam());
    VAMOR_OPEN_USER_DB(freeDb, GetParam());
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const QString plati = UserDatabase::tableName(QStringLiteral("plati"));
    const QString facturi = UserDatabase::tableName(QStringLiteral("facturi"));
    lockedDb.createTable(plati, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
    lockedDb.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 14875000), (2, 10000)").arg(plati));
    freeDb.createTable(facturi, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
    freeDb.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 30000)").arg(facturi));
    const QString lockedString = withAttribute(lockedDb.connString(), QStringLiteral("LockTimeout=2"));
    const int platiField = project.addField(
        project.addTable(project.addConn(6, QStringLiteral("A Plati"), lockedString), plati), QStringLiteral("suma"));
    const int facturiField = project.addField(
        project.addTable(project.addConn(6, QStringLiteral("B Facturi"), freeDb.connString()), facturi),
        QStringLiteral("suma"));
    const QString lockMessage = QStringLiteral("Tabelul \"%1\" este blocat de alt program; timpul de asteptare (2 s) "
                                               "a expirat (")
                                    .arg(plati);

    struct Direction {
        bool toLeiNoi;
        const char *platiBefore; // and after the failed field
        const char *facturiAfter;
    };
    const Direction directions[] = {{true, "14875000 10000", "3"}, {false, "1487.5 1", "30000"}};
    for (const Direction &d : directions) {
        SCOPED_TRACE(d.toLeiNoi ? "to new lei" : "to old lei");
        if (!d.toLeiNoi) {
            // Converted first, with nothing in the way.
            ASSERT_EQ(runEngine(project, true).errorCount(), 0);
        }
        ASSERT_EQ(amounts(lockedDb, plati, QStringLiteral("suma")), QString::fromLatin1(d.platiBefore));
        ReportLog report;
        {
            TableLock lock(GetParam(), lockedDb.connString(), plati);
            QElapsedTimer clock;
            clock.start();
            report = runEngine(project, d.toLeiNoi);
            EXPECT_LT(clock.elapsed(), 60000);
        }
        ASSERT_EQ(report.rows().size(), 2);
        const auto &failed = report.rows().at(0);
        EXPECT_EQ(failed.tableName, plati);
        EXPECT_TRUE(failed.error.startsWith(lockMessage)) << failed.error.toStdString();
        EXPECT_TRUE(failed.error.endsWith(QStringLiteral("). Campul nu a fost convertit."))) << failed.error.toStdString();
        EXPECT_EQ(failed.recCount, 0);
        EXPECT_EQ(report.rows().at(1).error, QString());
        EXPECT_EQ(amounts(freeDb, facturi, QStringLiteral("suma")), QString::fromLatin1(d.facturiAfter));
        EXPECT_EQ(amounts(lockedDb, plati, QStringLiteral("suma")), QString::fromLatin1(d.platiBefore));
        EXPECT_EQ(project.scalar(QStringLiteral("SELECT Error FROM tField WHERE IdField = %1").arg(platiField)).toString(),
                  failed.error);
        EXPECT_EQ(project.scalar(QStringLiteral("SELECT Converted FROM tField WHERE IdField = %1").arg(platiField)).toBool(),
                  !d.toLeiNoi);
        EXPECT_EQ(project.scalar(QStringLiteral("SELECT Converted FROM tField WHERE IdField = %1").arg(facturiField)).toBool(),
                  d.toLeiNoi);

        // The lock gone, the field converts.
        const ReportLog after = runEngine(project, d.toLeiNoi);
        ASSERT_EQ(after.rows().size(), 1);
        EXPECT_EQ(after.rows().first().error, QString());
        EXPECT_EQ(after.rows().first().recCount, 2);
    }
}

// The probe timeout shortened for a test, and put back after it.
struct ShortProbes {
    explicit ShortProbes(int seconds) { conversion::setProbeTimeout(seconds); }
    ~ShortProbes() { conversion::setProbeTimeout(30); }
};

class SlowReads : public ::testing::TestWithParam<Engine> {};

// A view whose state cannot be read quickly (its recovery column is Null in
// a billion rows): the confirmation list names the field with the reason,
// and the run fails it, each within a bound far below the reading's time.
TEST_P(SlowReads, ProbeThatRunsTooLongEndsTheListingAndTheFieldClearly)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const QString view = UserDatabase::tableName(QStringLiteral("lent"));
    QString rows;
    switch (GetParam()) {
    case Engine::Sqlite:
        rows = QStringLiteral("(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 2000000000) "
                              "SELECT x FROM c) r");
        break;
    case Engine::Postgres: rows = QStringLiteral("(SELECT generate_series(1, 2000000000) AS x) r"); break;
    case Engine::MariaDb: rows = QStringLiteral("(SELECT seq AS x FROM seq_1_to_2000000000) r"); break;
    }
    user.execute(QStringLiteral("DROP VIEW IF EXISTS %1").arg(view));
    user.execute(QStringLiteral("CREATE VIEW %1 AS SELECT x AS id, x AS suma, CASE WHEN x < 0 THEN x END AS suma_vm "
                                "FROM %2")
                     .arg(view, rows));
    project.addField(project.addTable(project.addConn(6, QStringLiteral("Lent"), user.connString()), view),
                     QStringLiteral("suma"));
    const ShortProbes probes(1);
    const QString timedOut = QStringLiteral("Interogarea nu s-a terminat in 1 s si a fost oprita.");

    QElapsedTimer clock;
    clock.start();
    QList<conversion::ListedField> listed;
    conversion::listFieldsToConvert(project.Conn(), true, [&](const conversion::ListedField &f) { listed.append(f); });
    EXPECT_LT(clock.elapsed(), 20000);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.first().note, QStringLiteral("Starea campului nu a putut fi citita: ") + timedOut);

    clock.restart();
    const ReportLog report = runEngine(project, true);
    EXPECT_LT(clock.elapsed(), 20000);
    ASSERT_EQ(report.rows().size(), 1);
    EXPECT_EQ(report.rows().first().error, timedOut);
    user.execute(QStringLiteral("DROP VIEW %1").arg(view));
}

class SlowConversion : public ::testing::TestWithParam<Engine> {};

// Converting takes longer than the probe timeout (a trigger of the firm's
// program sleeps 2 s on every change): no timer cuts it. (The built-in
// SQLite has no function that waits.)
TEST_P(SlowConversion, ConversionLongerThanTheProbeTimeoutIsNeverCut)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const QString table = UserDatabase::tableName(QStringLiteral("lunga"));
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 25000)").arg(table));
    if (GetParam() == Engine::Postgres) {
        user.execute(QStringLiteral("CREATE OR REPLACE FUNCTION %1_lent() RETURNS trigger LANGUAGE plpgsql AS "
                                    "$$ BEGIN PERFORM pg_sleep(2); RETURN NULL; END $$")
                         .arg(table));
        user.execute(QStringLiteral("CREATE TRIGGER %1_lent AFTER UPDATE ON %1 FOR EACH STATEMENT EXECUTE FUNCTION "
                                    "%1_lent()")
                         .arg(table));
    } else {
        user.execute(QStringLiteral("CREATE TRIGGER %1_lent BEFORE UPDATE ON %1 FOR EACH ROW SET @vamor_lent = "
                                    "SLEEP(2)")
                         .arg(table));
    }
    project.addField(project.addTable(project.addConn(6, QStringLiteral("Lunga"), user.connString()), table),
                     QStringLiteral("suma"));
    const ShortProbes probes(1);

    const ReportLog report = runEngine(project, true);
    ASSERT_EQ(report.rows().size(), 1);
    EXPECT_EQ(report.rows().first().error, QString());
    EXPECT_EQ(amounts(user, table, QStringLiteral("suma")), QStringLiteral("2.5"));
    if (GetParam() == Engine::Postgres)
        user.execute(QStringLiteral("DROP FUNCTION %1_lent() CASCADE").arg(table));
}

// Holds the first commit of the run's fields until the test lets go (or
// runs `atFirst` with the session's id instead); the others go through.
class FirstCommitHook {
public:
    explicit FirstCommitHook(std::function<void(std::optional<qint64>)> atFirst = {}) : mAtFirst(std::move(atFirst))
    {
        db::Connection::setCommitHook([this](std::optional<qint64> session) {
            std::unique_lock<std::mutex> lock(mMutex);
            if (mCommits++ > 0)
                return;
            if (mAtFirst) {
                mAtFirst(session);
                return;
            }
            ++mInside;
            mReleased.wait(lock, [this] { return mFree; });
            --mInside;
            mReleased.notify_all();
        });
    }
    // The held commit runs on a thread of its own: it is let go, and the
    // hook is left only once that thread is out of it.
    ~FirstCommitHook()
    {
        release();
        db::Connection::setCommitHook({});
        std::unique_lock<std::mutex> lock(mMutex);
        mReleased.wait(lock, [this] { return mInside == 0; });
    }
    void release()
    {
        {
            const std::lock_guard<std::mutex> lock(mMutex);
            mFree = true;
        }
        mReleased.notify_all();
    }

private:
    std::function<void(std::optional<qint64>)> mAtFirst;
    std::mutex mMutex;
    std::condition_variable mReleased;
    bool mFree = false;
    int mCommits = 0;
    int mInside = 0;
};

// Waits (bounded) until no abandoned commit is still waiting.
bool abandonedCommitsEnd()
{
    for (int i = 0; i < 600 && db::Connection::abandonedCommits() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return db::Connection::abandonedCommits() == 0;
}

// Two data sources, "A Plati" (its first commit is the one held) and
// "B Facturi", each with a field "suma" in lei vechi.
struct TwoSources {
    explicit TwoSources(Engine engine) : platiDb(engine), facturiDb(engine) {}
    bool open()
    {
        if (!project.ok() || !platiDb.conn().isOpen() || !facturiDb.conn().isOpen())
            return false;
        platiDb.createTable(plati, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
        platiDb.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 14875000), (2, 10000)").arg(plati));
        facturiDb.createTable(facturi, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
        facturiDb.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 30000)").arg(facturi));
        platiField = project.addField(
            project.addTable(project.addConn(6, QStringLiteral("A Plati"),
                                             withAttribute(platiDb.connString(), QStringLiteral("LockTimeout=1"))),
                             plati),
            QStringLiteral("suma"));
        project.addField(project.addTable(project.addConn(6, QStringLiteral("B Facturi"), facturiDb.connString()),
                                          facturi),
                         QStringLiteral("suma"));
        return true;
    }
    bool platiConverted()
    {
        return project.scalar(QStringLiteral("SELECT Converted FROM tField WHERE IdField = %1").arg(platiField)).toBool();
    }

    UserDatabase platiDb;
    UserDatabase facturiDb;
    ProjectFixture project;
    QString plati = UserDatabase::tableName(QStringLiteral("plati_commit"));
    QString facturi = UserDatabase::tableName(QStringLiteral("facturi_commit"));
    int platiField = 0;
};

const QString kNoAnswer = QStringLiteral("Baza de date nu a raspuns la salvarea tranzactiei in 1 s; conexiunea a fost "
                                         "abandonata. ");

class CommitNotAnswered : public ::testing::TestWithParam<Engine> {};

// The commit of the first field hangs before it reaches the database: the
// run gives up after the lock timeout, ends the abandoned session, reads
// the field's state afresh and says so; the next field converts, and the
// transaction given up is never kept.
TEST_P(CommitNotAnswered, FieldStateIsReadAgainAndTheRunGoesOn)
{
    VAMOR_OPEN_USER_DB(check, GetParam());
    TwoSources t(GetParam());
    ASSERT_TRUE(t.open());
    ReportLog report;
    {
        FirstCommitHook held;
        QElapsedTimer clock;
        clock.start();
        report = runEngine(t.project, true);
        EXPECT_LT(clock.elapsed(), 60000);
        ASSERT_EQ(report.rows().size(), 2);
        EXPECT_EQ(report.rows().at(0).error,
                  kNoAnswer + QStringLiteral("Starea a fost verificata din nou dupa o intrerupere: campul este in lei "
                                             "VECHI."));
        EXPECT_EQ(report.rows().at(0).recCount, 0);
        EXPECT_EQ(report.rows().at(1).error, QString());
        EXPECT_EQ(amounts(t.facturiDb, t.facturi, QStringLiteral("suma")), QStringLiteral("3"));
    }
    ASSERT_TRUE(abandonedCommitsEnd());
    EXPECT_EQ(amounts(t.platiDb, t.plati, QStringLiteral("suma")), QStringLiteral("14875000 10000"));
    EXPECT_FALSE(t.platiConverted());
    EXPECT_EQ(t.project.scalar(QStringLiteral("SELECT Error FROM tField WHERE IdField = %1").arg(t.platiField)).toString(),
              report.rows().at(0).error);

    const ReportLog again = runEngine(t.project, true);
    ASSERT_EQ(again.rows().size(), 1);
    EXPECT_EQ(again.rows().first().error, QString());
    EXPECT_EQ(amounts(t.platiDb, t.plati, QStringLiteral("suma")), QStringLiteral("1487.5 1"));
}

// (A SQLite file's commit is waited for: nothing stops answering there.)
INSTANTIATE_TEST_SUITE_P(Engines, CommitNotAnswered, ::testing::Values(Engine::Postgres, Engine::MariaDb),
                         [](const ::testing::TestParamInfo<Engine> &info) {
                             return testsupport::engineName(info.param).toStdString();
                         });

// The server's process of the run's connection is stopped (SIGSTOP) just
// before the commit: the commit gets no answer, the process cannot be ended
// while it is stopped, so the field's state is unknown and the report says
// why. Once the process goes on, the table holds the conversion whole or not
// at all, and the next run leaves it converted exactly once.
TEST(CommitOfAStoppedServer, StateIsUnknownAndTheTableStaysWhole)
{
    VAMOR_OPEN_USER_DB(check, Engine::Postgres);
    TwoSources t(Engine::Postgres);
    ASSERT_TRUE(t.open());
    pid_t stopped = 0;
    struct Resume {
        pid_t &pid;
        ~Resume()
        {
            if (pid > 0)
                ::kill(pid, SIGCONT);
        }
    } resume{stopped};
    ReportLog report;
    {
        FirstCommitHook stop([&](std::optional<qint64> session) {
            ASSERT_TRUE(session.has_value());
            stopped = static_cast<pid_t>(*session);
            ASSERT_EQ(::kill(stopped, SIGSTOP), 0);
        });
        report = runEngine(t.project, true);
    }
    ASSERT_GT(stopped, 0);
    ASSERT_EQ(report.rows().size(), 2);
    EXPECT_EQ(report.rows().at(0).error,
              kNoAnswer
                  + QStringLiteral("Starea campului este necunoscuta: nu a putut fi verificata din nou dupa intrerupere "
                                   "(sesiunea abandonata, numarul %1 pe server, nu s-a incheiat inca, iar tranzactia ei "
                                   "poate fi inca salvata).")
                        .arg(stopped));
    EXPECT_EQ(report.rows().at(1).error, QString());

    ::kill(stopped, SIGCONT);
    stopped = 0;
    ASSERT_TRUE(abandonedCommitsEnd());
    const QString suma = amounts(t.platiDb, t.plati, QStringLiteral("suma"));
    const QString copy = amounts(t.platiDb, t.plati, QStringLiteral("suma_vm"));
    EXPECT_TRUE((suma == QStringLiteral("14875000 10000") && copy == QStringLiteral("Null Null"))
                || (suma == QStringLiteral("1487.5 1") && copy == QStringLiteral("14875000 10000")))
        << suma.toStdString() << " / " << copy.toStdString();

    const ReportLog again = runEngine(t.project, true);
    for (const auto &row : again.rows())
        EXPECT_EQ(row.error, QString());
    EXPECT_EQ(amounts(t.platiDb, t.plati, QStringLiteral("suma")), QStringLiteral("1487.5 1"));
    EXPECT_TRUE(t.platiConverted());
}

INSTANTIATE_TEST_SUITE_P(Engines, SlowReads, ::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                         [](const ::testing::TestParamInfo<Engine> &info) {
                             return testsupport::engineName(info.param).toStdString();
                         });
INSTANTIATE_TEST_SUITE_P(Engines, SlowConversion, ::testing::Values(Engine::Postgres, Engine::MariaDb),
                         [](const ::testing::TestParamInfo<Engine> &info) {
                             return testsupport::engineName(info.param).toStdString();
                         });

INSTANTIATE_TEST_SUITE_P(Engines, LockedTable,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                         [](const ::testing::TestParamInfo<Engine> &info) {
                             return testsupport::engineName(info.param).toStdString();
                         });

} // namespace
