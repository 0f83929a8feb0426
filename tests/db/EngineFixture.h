#pragma once

// A fixture over four engines: the built-in SQLite provider, SQLite through
// the SQLite3 ODBC driver, PostgreSQL and MariaDB through their ODBC drivers.
// The server engines read their connection strings from VAMOR_TEST_PG and
// VAMOR_TEST_MARIADB (tests/servers.sh writes them) and skip loudly without.

#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "tests/db/DbTestSupport.h"

#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace dbtest {

enum class Engine { BuiltInSqlite, SqliteOdbc, PostgreSql, MariaDb };

struct EngineCase {
    Engine engine;
    const char *name;
};

std::string engineName(const testing::TestParamInfo<EngineCase> &info);

class EngineFixture : public testing::TestWithParam<EngineCase> {
protected:
    void SetUp() override;
    void TearDown() override;

    Engine engine() const { return GetParam().engine; }
    bool isServer() const { return engine() == Engine::PostgreSql || engine() == Engine::MariaDb; }
    bool isSqlite() const { return engine() == Engine::BuiltInSqlite || engine() == Engine::SqliteOdbc; }

    // A new table (dropped after the test) with the given column list.
    QString createTable(const QString &columns);
    QString createView(const QString &select);
    // Runs `sql` after the test, whatever happens.
    void dropLater(const QString &sql) { mDrops.push_back(sql); }
    qint64 rowCount(db::Connection &c, const QString &table);
    // The first value of the first row of `sql`.
    db::Variant scalar(db::Connection &c, const QString &sql);

    db::Connection conn;
    QString mConnString;
    std::unique_ptr<QTemporaryDir> mDir;

private:
    std::vector<QString> mDrops;
};

} // namespace dbtest

#define VAMOR_ODBC_ENGINES                                                                                 \
    testing::Values(dbtest::EngineCase{dbtest::Engine::SqliteOdbc, "SqliteOdbc"},                             \
                    dbtest::EngineCase{dbtest::Engine::PostgreSql, "PostgreSql"},                             \
                    dbtest::EngineCase{dbtest::Engine::MariaDb, "MariaDb"})

#define VAMOR_INSTANTIATE_ENGINES(Suite)                                                                   \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                               \
                             testing::Values(dbtest::EngineCase{dbtest::Engine::BuiltInSqlite, "BuiltInSqlite"}, \
                                             dbtest::EngineCase{dbtest::Engine::SqliteOdbc, "SqliteOdbc"},       \
                                             dbtest::EngineCase{dbtest::Engine::PostgreSql, "PostgreSql"},       \
                                             dbtest::EngineCase{dbtest::Engine::MariaDb, "MariaDb"}),            \
                             dbtest::engineName)
