#pragma once

#include "data/db/Connection.h"
#include "tests/support/ProjectFixture.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace testsupport {

// One kind of user database the tests run against.
enum class Engine { Sqlite, Postgres, MariaDb };

QString engineName(Engine engine);

// A user database of one engine: a new SQLite file, or the test server's
// database (its connection string from the environment). Tables the test
// creates are dropped again at the end.
class UserDatabase {
public:
    explicit UserDatabase(Engine engine);
    ~UserDatabase();

    Engine engine() const { return mEngine; }
    // Empty when the server is not available.
    const QString &connString() const { return mConnString; }
    db::Connection &conn() { return mConn; }

    // A table name of this test process: `base` with the process id, so
    // tests running side by side on one server do not meet.
    static QString tableName(const QString &base);

    // Creates a table (dropping any table of that name first); `columns` is
    // the list of column definitions. {DOUBLE}, {MONEY}, {BOOL} and {TEXT} in
    // it are replaced by the engine's type names.
    void createTable(const QString &name, const QString &columns);
    void execute(const QString &sql);
    // Column names of a table, in lower case.
    QStringList columnNames(const QString &table);

private:
    Engine mEngine;
    QTemporaryDir mDir;
    QString mConnString;
    db::Connection mConn;
    QStringList mTables;
};

// The project data source of a user database (type 6, its connection string)
// with one table; returns the table's IdTable.
int addUserTable(ProjectFixture &project, const UserDatabase &user, const QString &table,
                 const QString &sqlWhere = QString());

} // namespace testsupport

// Opens the user database of the test's engine, or skips (fails under CI)
// when its server is missing.
#define VAMOR_OPEN_USER_DB(var, engine)                                                                \
    testsupport::UserDatabase var(engine);                                                              \
    if ((engine) == testsupport::Engine::Postgres) {                                                    \
        VAMOR_REQUIRE_SERVER(pgConn__, "VAMOR_TEST_PG");                                                \
    } else if ((engine) == testsupport::Engine::MariaDb) {                                              \
        VAMOR_REQUIRE_SERVER(myConn__, "VAMOR_TEST_MARIADB");                                           \
    }                                                                                                   \
    ASSERT_TRUE(var.conn().isOpen()) << "cannot open " << testsupport::engineName(engine).toStdString()
