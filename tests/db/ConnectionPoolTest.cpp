// Kept connections: what one user leaves behind (an open transaction, a
// failed statement, a closed link) never reaches the next; nothing is kept
// outside a pool scope. The strings handed to ODBC drivers, and the
// synchronous setting of a built-in SQLite string.

#include "data/db/ConnectionPool.h"
#include "data/db/odbc/OdbcProvider.h"
#include "tests/db/EngineFixture.h"

using namespace db;
using dbtest::expectDbError;

namespace {

class ConnectionPoolTest : public dbtest::EngineFixture {};

TEST_P(ConnectionPoolTest, TheNextUserGetsNoOpenTransactionNoFailedStateAndNoClosedLink)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    ConnectionPool &pool = ConnectionPool::shared();
    {
        PoolScope scope;
        {
            // Left mid-transaction, after a row and a failed statement (on
            // PostgreSQL the transaction is then aborted).
            PooledConnection first = pool.acquire(mConnString);
            EXPECT_FALSE(first.reused());
            first->beginTrans();
            first->execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
            expectDbError([&] { first->execute(QStringLiteral("INSERT INTO vamor_no_such_table (k) VALUES (1)")); });
        }
        EXPECT_EQ(pool.idleCount(), 1);
        {
            PooledConnection second = pool.acquire(mConnString);
            EXPECT_TRUE(second.reused());
            EXPECT_FALSE(second->inTransaction());
            EXPECT_EQ(rowCount(conn, table), 0) << "the first user's row was rolled back";
            // Usable at once, each statement committed on its own.
            EXPECT_EQ(second->execute(QStringLiteral("INSERT INTO %1 (k) VALUES (2)").arg(table)), 1);
            EXPECT_EQ(rowCount(conn, table), 1);
            second->close(); // a link its user closed is not kept
        }
        EXPECT_EQ(pool.idleCount(), 0);
        {
            PooledConnection third = pool.acquire(mConnString);
            EXPECT_FALSE(third.reused());
            EXPECT_TRUE(third->isOpen());
        }
        EXPECT_EQ(pool.idleCount(), 1);
    }
    // The scope's end closes what was kept; without a scope nothing is kept.
    EXPECT_EQ(pool.idleCount(), 0);
    {
        PooledConnection unscoped = pool.acquire(mConnString);
        EXPECT_FALSE(unscoped.reused());
    }
    EXPECT_EQ(pool.idleCount(), 0);
}

VAMOR_INSTANTIATE_ENGINES(ConnectionPoolTest);

TEST(OdbcConnectionString, CursorFetchingIsAskedOfPostgreSqlOnlyWhenTheStringDoesNotSetIt)
{
    // What the PostgreSQL driver is asked for: cursor fetching on, its logs
    // off; a setting the string gives (by name or short name) keeps its value.
    struct Case {
        const char *given;
        const char *added; // "" when the string goes as it is
    };
    const Case cases[] = {
        {"Driver=PostgreSQL Unicode;Server=db;Database=firma", "CommLog=0;Debug=0;UseDeclareFetch=1;"},
        {"Driver={PostgreSQL ANSI};Server=db;", "CommLog=0;Debug=0;UseDeclareFetch=1;"},
        {"Driver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so;Server=db", "CommLog=0;Debug=0;UseDeclareFetch=1;"},
        {"Driver=PostgreSQL Unicode;Server=db;UseDeclareFetch=0;", "CommLog=0;Debug=0;"},
        {"Driver=PostgreSQL Unicode;usedeclarefetch=0", "CommLog=0;Debug=0;"},
        {"Driver=PostgreSQL Unicode;B6=0", "CommLog=0;Debug=0;"},
        {"Driver=PostgreSQL Unicode;CommLog=1;B2=1;B6=0", ""},
        {"Driver=PostgreSQL Unicode;B3=1", "Debug=0;UseDeclareFetch=1;"},
        {"Driver=MariaDB Unicode;Server=db;Database=firma", ""},
        {"Driver=SQLite3;Database=/tmp/firma.db", ""},
        {"Driver=FreeTDS;Server=db", ""},
    };
    for (const Case &c : cases) {
        const QString given = QString::fromLatin1(c.given);
        const QString added = QString::fromLatin1(c.added);
        const QString result = odbcConnectionString(given);
        if (added.isEmpty())
            EXPECT_EQ(result, given) << c.given;
        else
            EXPECT_EQ(result, given + (given.endsWith(QLatin1Char(';')) ? "" : ";") + added) << c.given;
    }
}

TEST(SqliteSettings, TheStringSetsHowOftenTheEngineWaitsForTheDiskAndWhatBecomesOfItsJournal)
{
    auto dir = dbtest::makeTempDir();
    const QString file = dbtest::makeEmptySqliteFile(*dir);
    const struct {
        const char *key;
        qint64 level; // PRAGMA synchronous: 0 off, 1 normal, 2 full
    } cases[] = {{"", 2}, {"Synchronous=Off;", 0}, {"Synchronous=normal;", 1}, {"Synchronous=FULL;", 2}};
    for (const auto &c : cases) {
        Connection conn;
        conn.open(QStringLiteral("Provider=SQLite;") + QString::fromLatin1(c.key) + QStringLiteral("Data Source=") + file);
        Recordset rs = conn.openRecordset(QStringLiteral("PRAGMA synchronous"));
        EXPECT_EQ(rs.value(0).toInt(), c.level) << c.key;
    }
    {
        // The working copy's journal stays between transactions.
        Connection conn;
        conn.open(QStringLiteral("Provider=SQLite;Journal=Persist;Data Source=") + file);
        Recordset rs = conn.openRecordset(QStringLiteral("PRAGMA journal_mode"));
        EXPECT_EQ(rs.value(0).toString(), QStringLiteral("persist"));
    }
    for (const char *bad : {"Synchronous=Sometimes;", "Journal=Memory;", "Cache=Often;"}) {
        Connection refused;
        const DbError e = expectDbError(
            [&] { refused.open(QStringLiteral("Provider=SQLite;") + QString::fromLatin1(bad) + QStringLiteral("Data Source=") + file); });
        EXPECT_TRUE(e.description().contains(QString::fromLatin1(bad).section(QLatin1Char('='), 0, 0))) << e;
    }
}

TEST(SqliteSharedCache, ARunsConnectionsToOneFileSeeEachOthersColumnsAndKeepTheirOwnTransactions)
{
    auto dir = dbtest::makeTempDir();
    const QString file = dbtest::makeEmptySqliteFile(*dir);
    const QString plain = QStringLiteral("Provider=SQLite;Data Source=") + file;
    // Only built-in SQLite strings that say nothing of the cache are shared.
    EXPECT_EQ(ConnectionPool::sharingString(plain), plain + QStringLiteral(";Cache=Shared"));
    for (const QString &asWritten : {plain + QStringLiteral(";Cache=Private"), QStringLiteral("Provider=DBF;Data Source=/tmp"),
                                     QStringLiteral("Driver=PostgreSQL Unicode;Server=db")})
        EXPECT_EQ(ConnectionPool::sharingString(asWritten), asWritten);

    Connection outside; // another program's view of the file
    outside.open(plain);
    outside.execute(QStringLiteral("CREATE TABLE t (Id INTEGER PRIMARY KEY, Suma INTEGER)"));
    outside.execute(QStringLiteral("INSERT INTO t VALUES (1, 150000), (2, 20000)"));

    PoolScope scope;
    Connection run;
    run.open(ConnectionPool::sharingString(plain));
    EXPECT_EQ(run.openRecordset(QStringLiteral("SELECT count(*) FROM t")).value(0).toInt(), 2);
    {
        PooledConnection own = ConnectionPool::shared().acquire(plain);
        own->execute(QStringLiteral("ALTER TABLE t ADD Suma_VM INTEGER"));
    }
    // A rolled-back field leaves nothing; a committed one is what others read.
    run.beginTrans();
    run.execute(QStringLiteral("UPDATE t SET Suma_VM = Suma, Suma = Suma / 10000"));
    run.rollbackTrans();
    EXPECT_EQ(outside.openRecordset(QStringLiteral("SELECT count(*) FROM t WHERE Suma_VM IS NULL AND Suma > 10000"))
                  .value(0).toInt(), 2);
    run.beginTrans();
    run.execute(QStringLiteral("UPDATE t SET Suma_VM = Suma, Suma = Suma / 10000"));
    run.commitTrans();
    Recordset rs = outside.openRecordset(QStringLiteral("SELECT Suma, Suma_VM FROM t ORDER BY Id"));
    EXPECT_EQ(rs.value(0).toInt(), 15);
    EXPECT_EQ(rs.value(1).toInt(), 150000);
    rs.moveNext();
    EXPECT_EQ(rs.value(0).toInt(), 2);
    EXPECT_EQ(rs.value(1).toInt(), 20000);
}

} // namespace
