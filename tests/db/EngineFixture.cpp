#include "tests/db/EngineFixture.h"

#include "tests/support/TestSupport.h"

using namespace db;

namespace dbtest {

std::string engineName(const testing::TestParamInfo<EngineCase> &info) { return info.param.name; }

void EngineFixture::SetUp()
{
    switch (engine()) {
    case Engine::BuiltInSqlite:
        mDir = makeTempDir();
        mConnString = QStringLiteral("Provider=SQLite;Data Source=") + makeEmptySqliteFile(*mDir);
        break;
    case Engine::SqliteOdbc:
        mDir = makeTempDir();
        mConnString = QStringLiteral("Driver=SQLite3;Database=") + makeEmptySqliteFile(*mDir);
        break;
    case Engine::PostgreSql: {
        VAMOR_REQUIRE_SERVER(pg, "VAMOR_TEST_PG");
        mConnString = pg;
        break;
    }
    case Engine::MariaDb: {
        VAMOR_REQUIRE_SERVER(maria, "VAMOR_TEST_MARIADB");
        mConnString = maria;
        break;
    }
    }
    try {
        conn.open(mConnString);
    } catch (const DbError &e) {
        FAIL() << "cannot open " << mConnString.toStdString() << ": " << e;
    }
}

void EngineFixture::TearDown()
{
    if (!conn.isOpen()) {
        // A test may have ended the connection: the drops on a server need
        // one (a SQLite file goes with its folder).
        if (mDrops.empty() || !isServer())
            return;
        try {
            conn.close();
            conn.open(mConnString);
        } catch (const DbError &) {
            return;
        }
    }
    if (conn.inTransaction()) {
        try {
            conn.rollbackTrans();
        } catch (const DbError &) {
        }
    }
    for (auto it = mDrops.rbegin(); it != mDrops.rend(); ++it) {
        try {
            conn.execute(*it);
        } catch (const DbError &) {
        }
    }
    conn.close();
}

QString EngineFixture::createTable(const QString &columns)
{
    const QString name = uniqueName(QStringLiteral("vt"));
    mDrops.push_back(QStringLiteral("DROP TABLE ") + name);
    conn.execute(QStringLiteral("CREATE TABLE %1 (%2)").arg(name, columns));
    return name;
}

QString EngineFixture::createView(const QString &select)
{
    const QString name = uniqueName(QStringLiteral("vv"));
    mDrops.push_back(QStringLiteral("DROP VIEW ") + name);
    conn.execute(QStringLiteral("CREATE VIEW %1 AS %2").arg(name, select));
    return name;
}

qint64 EngineFixture::rowCount(Connection &c, const QString &table)
{
    return scalar(c, QStringLiteral("SELECT COUNT(*) AS n FROM ") + table).toInt();
}

Variant EngineFixture::scalar(Connection &c, const QString &sql)
{
    Recordset rs = c.openRecordset(sql);
    if (rs.eof()) {
        ADD_FAILURE() << "no row from " << sql.toStdString();
        return Variant();
    }
    return rs.value(0);
}

} // namespace dbtest
