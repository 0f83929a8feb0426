// A statement timeout stops the reads that must not hold a person for long;
// once it is lifted, statements run as long as they take.

#include "tests/db/EngineFixture.h"

#include <QElapsedTimer>

#include <cmath>

using namespace db;
using dbtest::Engine;
using dbtest::expectDbError;

namespace {

class StatementTimeoutTest : public dbtest::EngineFixture {
protected:
    // A query that takes `seconds` (SQLite: about that, by comparing every
    // pair of a counted series, some 30 million pairs a second; the series
    // is made once, so the pairs cost no memory of their own, which keeps
    // the query as quick under the address sanitizer).
    QString queryTaking(double seconds) const
    {
        switch (engine()) {
        case Engine::BuiltInSqlite:
        case Engine::SqliteOdbc:
            return QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %1) "
                                  "SELECT count(*) FROM c a, c b WHERE a.x + b.x > 0")
                .arg(static_cast<qint64>(std::sqrt(seconds * 30000000.0)) + 1);
        case Engine::PostgreSql: return QStringLiteral("SELECT pg_sleep(%1)").arg(seconds);
        case Engine::MariaDb: return QStringLiteral("SELECT SLEEP(%1)").arg(seconds);
        }
        return QString();
    }
};

TEST_P(StatementTimeoutTest, SlowReadStopsAtTheTimeoutAndLaterStatementsRunUntimed)
{
    {
        const TimedStatements timed(conn, 1);
        EXPECT_EQ(conn.statementTimeout(), 1);
        QElapsedTimer clock;
        clock.start();
        const DbError e = expectDbError([&] { conn.openRecordset(queryTaking(200)); });
        EXPECT_LT(clock.elapsed(), 20000);
        EXPECT_EQ(e.kind(), DbError::Kind::StatementTimeout) << e;
        EXPECT_EQ(e.number(), DB_E_ABORTLIMITREACHED) << e;
        EXPECT_EQ(e.description(), QStringLiteral("Interogarea nu s-a terminat in 1 s si a fost oprita.")) << e;
        // A quick read goes through, on the same connection.
        EXPECT_EQ(scalar(conn, QStringLiteral("SELECT 4")).toInt(), 4);
    }
    EXPECT_EQ(conn.statementTimeout(), 0);
    // Longer than the timeout was, and not stopped.
    EXPECT_FALSE(conn.openRecordset(queryTaking(2)).eof());
    EXPECT_EQ(scalar(conn, QStringLiteral("SELECT 3")).toInt(), 3);
}

// A timeout set before the connection opens holds for it.
TEST_P(StatementTimeoutTest, TimeoutOutlivesAReopening)
{
    conn.setStatementTimeout(1);
    conn.close();
    conn.open(mConnString);
    const DbError e = expectDbError([&] { conn.openRecordset(queryTaking(200)); });
    EXPECT_EQ(e.kind(), DbError::Kind::StatementTimeout) << e;
    conn.setStatementTimeout(0);
}

// The SQLite3 ODBC driver takes no statement timeout: its statements run on.
INSTANTIATE_TEST_SUITE_P(Engines, StatementTimeoutTest,
                         testing::Values(dbtest::EngineCase{dbtest::Engine::BuiltInSqlite, "BuiltInSqlite"},
                                         dbtest::EngineCase{dbtest::Engine::PostgreSql, "PostgreSql"},
                                         dbtest::EngineCase{dbtest::Engine::MariaDb, "MariaDb"}),
                         dbtest::engineName);

} // namespace
