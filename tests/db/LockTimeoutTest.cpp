// A wait for a lock that another session holds ends after the data source's
// lock timeout ("LockTimeout=SECONDS", 30 s by default), with an error that
// says so; the connection goes on working once the lock is gone.

#include "data/db/ConnString.h"
#include "tests/db/EngineFixture.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>

using namespace db;
using dbtest::Engine;
using dbtest::expectDbError;

namespace {

QString withAttribute(QString connString, const QString &attribute)
{
    if (!connString.trimmed().endsWith(QLatin1Char(';')))
        connString += QLatin1Char(';');
    return connString + attribute;
}

class LockTimeoutTest : public dbtest::EngineFixture {
protected:
    // The session's own lock wait, in milliseconds, as the engine reports
    // it; the SQLite3 driver keeps its wait to itself (its Timeout).
    std::optional<qint64> sessionLockWaitMs(Connection &c)
    {
        switch (engine()) {
        case Engine::SqliteOdbc: return std::nullopt;
        case Engine::BuiltInSqlite: return scalar(c, QStringLiteral("PRAGMA busy_timeout")).toInt();
        case Engine::PostgreSql:
            return scalar(c, QStringLiteral("SELECT setting FROM pg_settings WHERE name = 'lock_timeout'")).toInt();
        case Engine::MariaDb: return scalar(c, QStringLiteral("SELECT @@SESSION.innodb_lock_wait_timeout")).toInt() * 1000;
        }
        return std::nullopt;
    }

    // Another session takes a lock that keeps every other session from
    // changing the row of `table` that holds 1, until `holder` rolls back.
    void lockFromAnotherSession(Connection &holder, const QString &table)
    {
        holder.open(mConnString);
        switch (engine()) {
        case Engine::BuiltInSqlite:
        case Engine::SqliteOdbc:
            holder.beginTrans();
            holder.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (9)").arg(table));
            break;
        case Engine::PostgreSql:
            holder.beginTrans();
            holder.execute(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(table));
            break;
        case Engine::MariaDb:
            // A row lock: the row another session changed and has not committed.
            holder.beginTrans();
            holder.execute(QStringLiteral("UPDATE %1 SET k = 2 WHERE k = 1").arg(table));
            break;
        }
    }
};

TEST_P(LockTimeoutTest, TheSessionWaitsTheStringsLockTimeoutOrThirtySeconds)
{
    if (const auto ms = sessionLockWaitMs(conn)) {
        EXPECT_EQ(*ms, 30000);
    }
    EXPECT_EQ(conn.lockTimeoutMs(), 30000);
    Connection shortWait;
    shortWait.open(withAttribute(mConnString, QStringLiteral("LockTimeout=2;")));
    if (const auto ms = sessionLockWaitMs(shortWait)) {
        EXPECT_EQ(*ms, 2000);
    }
    EXPECT_EQ(shortWait.lockTimeoutMs(), 2000);
    EXPECT_EQ(scalar(shortWait, QStringLiteral("SELECT 5")).toInt(), 5);
}

TEST_P(LockTimeoutTest, LockedTableFailsAfterTheLockTimeoutAndTheConnectionGoesOn)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
    Connection waiting;
    waiting.open(withAttribute(mConnString, QStringLiteral("LockTimeout=1")));
    Connection holder;
    lockFromAnotherSession(holder, table);

    const quint64 before = lastLockTimeout().count;
    QElapsedTimer clock;
    clock.start();
    waiting.beginTrans();
    const DbError e =
        expectDbError([&] { waiting.execute(QStringLiteral("UPDATE %1 SET k = 3 WHERE k = 1").arg(table)); });
    EXPECT_LT(clock.elapsed(), 20000);
    EXPECT_EQ(e.kind(), DbError::Kind::LockTimeout) << e;
    EXPECT_EQ(e.number(), E_FAIL) << e;
    EXPECT_EQ(lastLockTimeout().count, before + 1);
    EXPECT_EQ(lastLockTimeout().description, e.description());
    waiting.rollbackTrans();

    holder.rollbackTrans();
    holder.close();
    EXPECT_EQ(waiting.execute(QStringLiteral("UPDATE %1 SET k = 3 WHERE k = 1").arg(table)), 1);
}

// A shorter wait that the data source's own settings give the session is
// kept when the string sets no LockTimeout; one the string sets wins.
TEST(LockTimeoutPostgres, ShorterWaitOfTheSessionIsKeptUnlessTheStringSetsOne)
{
    VAMOR_REQUIRE_SERVER(pg, "VAMOR_TEST_PG");
    const QString shorter = withAttribute(pg, QStringLiteral("ConnSettings={SET lock_timeout = 500};"));
    Connection conn;
    conn.open(shorter);
    EXPECT_EQ(conn.lockTimeoutMs(), 500);
    conn.open(shorter + QStringLiteral("LockTimeout=4;"));
    EXPECT_EQ(conn.lockTimeoutMs(), 4000);
    Recordset rs = conn.openRecordset(QStringLiteral("SHOW lock_timeout"));
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("4s"));
}

TEST(LockTimeoutString, ValueIsReadCheckedAndLeftOutOfTheDriversString)
{
    EXPECT_EQ(lockTimeoutMsOf(ConnString::parse(QStringLiteral("Driver=x;LockTimeout= 12 ;"))), 12000);
    EXPECT_EQ(lockTimeoutMsOf(ConnString::parse(QStringLiteral("Driver=x;locktimeout=0.25"))), 250);
    EXPECT_EQ(lockTimeoutMsOf(ConnString::parse(QStringLiteral("Driver=x;LockTimeout=0"))), 0);
    EXPECT_EQ(lockTimeoutMsOf(ConnString::parse(QStringLiteral("Driver=x"))), std::nullopt);
    for (const QString &bad : {QStringLiteral("abc"), QStringLiteral("-1"), QStringLiteral("2,5"), QString()}) {
        const DbError e = expectDbError([&] { lockTimeoutMsOf(ConnString::parse(QStringLiteral("LockTimeout=") + bad)); });
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("Valoare necunoscuta pentru LockTimeout"))) << e;
    }
    auto dir = dbtest::makeTempDir();
    const QString file = dbtest::makeEmptySqliteFile(*dir);
    Connection conn;
    const DbError e = expectDbError([&] { conn.open(QStringLiteral("Provider=SQLite;LockTimeout=x;Data Source=") + file); });
    EXPECT_TRUE(e.description().contains(QStringLiteral("LockTimeout"))) << e;

    EXPECT_EQ(forDriver(QStringLiteral("Driver={A B};LockTimeout=5;Pwd={a;b}}c};Server=s")),
              QStringLiteral("Driver=A B;Pwd={a;b}}c};Server=s;"));
    EXPECT_EQ(forDriver(QStringLiteral("Driver={A B};Server=s")), QStringLiteral("Driver={A B};Server=s"));
    const ConnString stripped = ConnString::parse(forDriver(QStringLiteral("Pwd={ x;y };LOCKTIMEOUT=1")));
    EXPECT_EQ(stripped.value(QStringLiteral("Pwd")), QStringLiteral(" x;y "));
    EXPECT_FALSE(stripped.contains(QStringLiteral("LockTimeout")));
}

// The command line's lock timeout goes over what each string says, for
// the run only.
TEST(LockTimeoutString, RunLockTimeoutGoesOverTheStrings)
{
    const QString written = QStringLiteral("Driver=x;LockTimeout=60");
    EXPECT_EQ(withRunLockTimeout(written), written);
    setRunLockTimeout(3000);
    EXPECT_EQ(lockTimeoutMsOf(ConnString::parse(withRunLockTimeout(written))), 3000);
    setRunLockTimeout(1500);
    EXPECT_EQ(lockTimeoutMsOf(ConnString::parse(withRunLockTimeout(QStringLiteral("Provider=SQLite;Data Source=a")))),
              1500);
    setRunLockTimeout(std::nullopt);
    EXPECT_EQ(withRunLockTimeout(written), written);
}

VAMOR_INSTANTIATE_ENGINES(LockTimeoutTest);

} // namespace
