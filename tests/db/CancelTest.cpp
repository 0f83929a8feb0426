// A statement that another thread stops: it ends with the user's-stop error
// long before its natural end, and the connection goes on working.

#include "data/db/StopSignal.h"
#include "tests/db/EngineFixture.h"

#include <QElapsedTimer>

#include <atomic>
#include <memory>
#include <chrono>
#include <thread>

using namespace db;
using dbtest::Engine;
using dbtest::expectDbError;

namespace {

// Far longer than the bound the tests allow (20 s).
QString slowQuery(Engine engine)
{
    switch (engine) {
    case Engine::BuiltInSqlite:
    case Engine::SqliteOdbc:
        return QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000000000) "
                              "SELECT count(*) FROM c");
    case Engine::PostgreSql: return QStringLiteral("SELECT pg_sleep(30)");
    case Engine::MariaDb: return QStringLiteral("SELECT SLEEP(30)");
    }
    return QString();
}

constexpr qint64 kUpperBoundMs = 20000;

class CancelTest : public dbtest::EngineFixture {
protected:
    // Runs `body` while another thread cancels the connection every 200 ms
    // (a cancel before the statement starts stops nothing) until it returns.
    DbError cancelledWhile(const std::function<void()> &body, qint64 &elapsedMs)
    {
        std::atomic<bool> done{false};
        std::thread canceller([&] {
            while (!done) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                conn.cancel();
            }
        });
        QElapsedTimer clock;
        clock.start();
        DbError e = expectDbError(body);
        elapsedMs = clock.elapsed();
        done = true;
        canceller.join();
        return e;
    }
};

TEST_P(CancelTest, SlowQueryStopsWithTheUsersMessageAndTheConnectionGoesOn)
{
    for (const bool asCommand : {false, true}) {
        qint64 elapsed = 0;
        const DbError e = cancelledWhile(
            [&] {
                if (asCommand)
                    conn.execute(slowQuery(engine()));
                else
                    conn.openRecordset(slowQuery(engine()));
            },
            elapsed);
        EXPECT_EQ(e.kind(), DbError::Kind::Cancelled) << e;
        EXPECT_EQ(e.number(), DB_E_CANCELED) << e;
        EXPECT_EQ(e.description(), QStringLiteral("Asteptarea a fost oprita de utilizator.")) << e;
        EXPECT_LT(elapsed, kUpperBoundMs) << "command " << asCommand;
        ASSERT_TRUE(conn.isOpen());
        EXPECT_EQ(scalar(conn, QStringLiteral("SELECT 42")).toInt(), 42);
    }
}

TEST_P(CancelTest, StoppedStatementInATransactionIsRolledBackWithIt)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    conn.beginTrans();
    conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
    qint64 elapsed = 0;
    const DbError e = cancelledWhile([&] { conn.openRecordset(slowQuery(engine())); }, elapsed);
    EXPECT_EQ(e.kind(), DbError::Kind::Cancelled) << e;
    EXPECT_LT(elapsed, kUpperBoundMs);
    conn.rollbackTrans();
    EXPECT_FALSE(conn.inTransaction());
    EXPECT_EQ(rowCount(conn, table), 0);
    EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (2)").arg(table)), 1);
    EXPECT_EQ(rowCount(conn, table), 1);
}

// A cancel with nothing running stops nothing later; nor does one of a
// closed connection fail.
TEST_P(CancelTest, CancelWithNothingRunningLeavesTheNextStatementAlone)
{
    conn.cancel();
    EXPECT_EQ(scalar(conn, QStringLiteral("SELECT 7")).toInt(), 7);
    conn.close();
    conn.cancel();
    EXPECT_FALSE(conn.isOpen());
}

// The user's Stop for the work of a thread: the statement in flight on a
// connection that thread opened is cut, the next one is refused at once,
// and a commit still goes through. A connection opened before (the
// project's) is not touched.
TEST_P(CancelTest, UsersStopCutsTheWorksStatementsButNeitherItsCommitNorOtherConnections)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    const auto signal = std::make_shared<StopSignal>();
    std::atomic<bool> slowStarted{false};
    std::thread work([&] {
        const StopScope scope(signal);
        Connection c, slow;
        c.open(mConnString);
        slow.open(mConnString);
        EXPECT_TRUE(c.stoppable());
        c.beginTrans();
        c.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
        slowStarted = true;
        const DbError cut = expectDbError([&] { slow.openRecordset(slowQuery(engine())); });
        EXPECT_EQ(cut.kind(), DbError::Kind::Cancelled) << cut;
        const DbError refused = expectDbError([&] { c.execute(QStringLiteral("SELECT 1")); });
        EXPECT_EQ(refused.description(), QStringLiteral("Asteptarea a fost oprita de utilizator.")) << refused;
        c.commitTrans();
        EXPECT_EQ(scalar(conn, QStringLiteral("SELECT 5")).toInt(), 5) << "not opened under the stop";
        {
            // What follows a commit runs on, stopped or not.
            const StopScope finishing(nullptr);
            EXPECT_EQ(scalar(c, QStringLiteral("SELECT 6")).toInt(), 6);
        }
    });
    while (!slowStarted)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    signal->stop();
    work.join();
    EXPECT_TRUE(signal->stopped());
    EXPECT_EQ(rowCount(conn, table), 1);
}

VAMOR_INSTANTIATE_ENGINES(CancelTest);

} // namespace
