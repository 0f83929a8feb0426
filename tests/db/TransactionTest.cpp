// Transactions as the driver sees them: a commit that fails keeps nothing and
// leaves no transaction behind, a rollback that fails never commits, a
// transaction cannot be begun twice.

#include "data/db/odbc/OdbcProvider.h"
#include "tests/db/EngineFixture.h"

using namespace db;
using dbtest::Engine;
using dbtest::expectDbError;

namespace {

class TransactionTest : public dbtest::EngineFixture {
protected:
    qint64 rowsSeenByAnother(const QString &table)
    {
        Connection other;
        other.open(mConnString);
        return rowCount(other, table);
    }

    // The work is kept after a transaction: the connection commits each
    // statement on its own again.
    void expectUsableInAutocommit(const QString &table, qint64 rowsBefore)
    {
        EXPECT_FALSE(conn.inTransaction());
        EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table)), 1);
        EXPECT_EQ(rowsSeenByAnother(table), rowsBefore + 1);
    }
};

TEST_P(TransactionTest, CommitRefusedAtTheEndKeepsNothingAndEndsTheTransaction)
{
    // A constraint the engine checks only at COMMIT.
    QString table;
    switch (engine()) {
    case Engine::PostgreSql:
        table = createTable(QStringLiteral("k INTEGER, CONSTRAINT %1 UNIQUE (k) DEFERRABLE INITIALLY DEFERRED")
                                .arg(dbtest::uniqueName(QStringLiteral("uk"))));
        break;
    case Engine::BuiltInSqlite:
    case Engine::SqliteOdbc: {
        conn.execute(QStringLiteral("PRAGMA foreign_keys = ON"));
        const QString parent = createTable(QStringLiteral("id INTEGER PRIMARY KEY"));
        table = createTable(QStringLiteral("k INTEGER REFERENCES %1 (id) DEFERRABLE INITIALLY DEFERRED").arg(parent));
        conn.execute(QStringLiteral("INSERT INTO %1 VALUES (1)").arg(parent));
        break;
    }
    case Engine::MariaDb:
        GTEST_SKIP() << "MariaDB checks every constraint at once, none at COMMIT";
    }
    conn.beginTrans();
    conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
    conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (%2)").arg(table).arg(isSqlite() ? 7 : 1));

    const DbError e = expectDbError([&] { conn.commitTrans(); });
    EXPECT_TRUE(e.description().contains(QLatin1String(isSqlite() ? "FOREIGN KEY" : "unique"), Qt::CaseInsensitive)) << e;
    EXPECT_FALSE(e.description().contains(QLatin1String("tranzactie"))) << e;
    EXPECT_FALSE(conn.inTransaction());
    // The caller's rollback after a failed commit adds nothing.
    EXPECT_NO_THROW(conn.rollbackTrans());
    EXPECT_EQ(rowCount(conn, table), 0);
    EXPECT_EQ(rowsSeenByAnother(table), 0);
    expectUsableInAutocommit(table, 0);
}

TEST_P(TransactionTest, SecondBeginIsRefusedAndTheOpenTransactionStays)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    EXPECT_NO_THROW(conn.rollbackTrans()) << "nothing to roll back is no error";
    DbError e = expectDbError([&] { conn.commitTrans(); });
    EXPECT_EQ(e.description(), QStringLiteral("Nu exista o tranzactie deschisa."));

    conn.beginTrans();
    conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
    e = expectDbError([&] { conn.beginTrans(); });
    EXPECT_EQ(e.description(), QStringLiteral("O tranzactie este deja deschisa."));
    EXPECT_TRUE(conn.inTransaction());
    conn.rollbackTrans();
    EXPECT_EQ(rowCount(conn, table), 0);

    if (engine() == Engine::BuiltInSqlite) {
        // A transaction begun by a statement is the connection's too.
        conn.execute(QStringLiteral("BEGIN"));
        EXPECT_TRUE(conn.inTransaction());
        EXPECT_THROW(conn.beginTrans(), DbError);
        conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
        conn.rollbackTrans();
        EXPECT_FALSE(conn.inTransaction());
        EXPECT_EQ(rowCount(conn, table), 0);
    }
    expectUsableInAutocommit(table, 0);
}

VAMOR_INSTANTIATE_ENGINES(TransactionTest);

// A driver whose rollback fails: under ODBC, going back to autocommit would
// commit the open transaction; the connection is ended instead.
class FailedRollbackTest : public TransactionTest {
protected:
    void TearDown() override
    {
        failNextOdbcRollbacks(0);
        TransactionTest::TearDown();
    }
};

TEST_P(FailedRollbackTest, CommitsNothingAndClosesTheConnection)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
    conn.beginTrans();
    conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (2)").arg(table));
    conn.execute(QStringLiteral("DELETE FROM %1 WHERE k = 1").arg(table));

    failNextOdbcRollbacks(1);
    const DbError e = expectDbError([&] { conn.rollbackTrans(); });
    EXPECT_TRUE(e.description().contains(QLatin1String("Conexiunea a fost inchisa"))) << e;
    EXPECT_FALSE(conn.isOpen());
    EXPECT_FALSE(conn.inTransaction());
    EXPECT_NO_THROW(conn.rollbackTrans());
    const DbError later = expectDbError([&] { conn.execute(QStringLiteral("DELETE FROM ") + table); });
    EXPECT_TRUE(later.description().contains(QLatin1String("Conexiunea a fost inchisa"))) << later;

    // Only the row committed before the transaction is there.
    Connection other;
    other.open(mConnString);
    EXPECT_EQ(scalar(other, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE k = 1").arg(table)).toInt(), 1);
    EXPECT_EQ(rowCount(other, table), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, FailedRollbackTest, VAMOR_ODBC_ENGINES, dbtest::engineName);

} // namespace
