// A PostgreSQL standby given as a data source: every field fails with the
// standby's own message before anything is sent; converting through the
// primary, the standby shows the same amounts once it has replayed.
#include "conversion/ConversionEngine.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

using testsupport::Engine;
using testsupport::ProjectFixture;

namespace {

// The amounts of the table on a connection, in id order, as the server
// writes them.
QStringList amounts(db::Connection &conn, const QString &table)
{
    QStringList list;
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT CAST(suma AS TEXT), CAST(tva AS TEXT) FROM %1 ORDER BY id")
                                              .arg(table));
    for (; !rs.eof(); rs.moveNext())
        list.append(rs.value(0).toString() + QLatin1Char('|') + rs.value(1).toString());
    return list;
}

// Waits until the standby has replayed everything the primary wrote so far
// (commits of the test server may still sit in its WAL buffers: the insert
// position counts them).
bool replayed(db::Connection &primary, db::Connection &standby)
{
    const QString target =
        primary.openRecordset(QStringLiteral("SELECT CAST(pg_current_wal_insert_lsn() AS TEXT)")).value(0).toString();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        db::Recordset rs = standby.openRecordset(
            QStringLiteral("SELECT pg_last_wal_replay_lsn() >= CAST('%1' AS pg_lsn)").arg(target));
        if (rs.value(0).toBool())
            return true;
        QThread::msleep(50);
    }
    return false;
}

TEST(PostgresStandby, RefusedAsReadOnlyAndShowsThePrimarysAmountsOnceReplayed)
{
    VAMOR_OPEN_USER_DB(user, Engine::Postgres);
    VAMOR_REQUIRE_SERVER(standbyString, "VAMOR_TEST_PG_STANDBY");
    const QString table = testsupport::UserDatabase::tableName(QStringLiteral("standby"));
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, suma NUMERIC(18,2), tva INTEGER"));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 1000000, 190000), (2, 12345.67, 5), (3, -25000, 0)")
                     .arg(table));
    db::Connection standby;
    standby.open(standbyString);
    EXPECT_TRUE(standby.isStandby());
    EXPECT_TRUE(standby.isReadOnly());
    EXPECT_FALSE(user.conn().isStandby());
    ASSERT_TRUE(replayed(user.conn(), standby));
    const QStringList before{QStringLiteral("1000000.00|190000"), QStringLiteral("12345.67|5"),
                             QStringLiteral("-25000.00|0")};
    ASSERT_EQ(amounts(standby, table), before);

    // Through the standby: both fields fail with its message, nothing moves.
    {
        ProjectFixture project;
        ASSERT_TRUE(project.ok());
        const int idConn = project.addConn(6, QStringLiteral("Rezerva"), standbyString);
        const int idTable = project.addTable(idConn, table);
        project.addField(idTable, QStringLiteral("suma"));
        project.addField(idTable, QStringLiteral("tva"));
        const conversion::ReportLog run = convtest::runEngineAt(project.Conn(), true);
        ASSERT_EQ(run.rows().size(), 2);
        for (const auto &row : run.rows())
            EXPECT_EQ(row.error, conversion::standbySourceMessage()) << row.fieldName.toStdString();
        EXPECT_EQ(amounts(user.conn(), table), before);
        EXPECT_FALSE(user.columnNames(table).contains(QStringLiteral("suma_vm")));
    }

    // Through the primary: converted there, the same on the standby.
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const int idTable = testsupport::addUserTable(project, user, table);
    project.addField(idTable, QStringLiteral("suma"));
    project.addField(idTable, QStringLiteral("tva"));
    const conversion::ReportLog run = convtest::runEngineAt(project.Conn(), true);
    ASSERT_EQ(run.rows().size(), 2);
    for (const auto &row : run.rows())
        EXPECT_TRUE(row.error.isEmpty()) << row.error.toStdString();
    // 1000000 / 10000 = 100; 12345.67 / 10000 = 1.234567 -> 1.23;
    // 190000 / 10000 = 19; 5 / 10000 -> 0 in an integer column.
    const QStringList after{QStringLiteral("100.00|19"), QStringLiteral("1.23|0"), QStringLiteral("-2.50|0")};
    EXPECT_EQ(amounts(user.conn(), table), after);
    ASSERT_TRUE(replayed(user.conn(), standby));
    EXPECT_EQ(amounts(standby, table), after);
}

} // namespace
