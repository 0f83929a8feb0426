// Connections that cannot be made: each gives a DbError with the provider's
// own words and none brings the program down.

#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "tests/db/DbTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>

using namespace db;
using dbtest::expectDbError;

namespace {

QString writeTextFile(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("This is a plain text file, not a database.\n").repeated(200));
    f.close();
    return path;
}

// The connection string with its password replaced.
QString withPassword(const QString &connString, const QString &password)
{
    QString s = connString;
    s.replace(QRegularExpression(QStringLiteral("Pwd=[^;]*"), QRegularExpression::CaseInsensitiveOption),
              QStringLiteral("Pwd=") + password);
    return s;
}

TEST(ConnectErrorTest, FileThatIsNotADatabase)
{
    auto dir = dbtest::makeTempDir();
    const QString path = writeTextFile(*dir, QStringLiteral("text.db"));

    Connection builtIn;
    DbError e = expectDbError([&] { builtIn.open(QStringLiteral("Provider=SQLite;Data Source=") + path); });
    EXPECT_TRUE(e.description().contains(QLatin1String("not a database"))) << e;
    EXPECT_FALSE(builtIn.isOpen());

    // The SQLite3 driver opens any file and finds out at the first read.
    Connection odbc;
    try {
        odbc.open(QStringLiteral("Driver=SQLite3;Database=") + path);
        e = expectDbError([&] { odbc.openRecordset(QStringLiteral("SELECT * FROM sqlite_master")); });
    } catch (const DbError &err) {
        e = err;
    }
    EXPECT_TRUE(e.description().contains(QLatin1String("not a database"))) << e;

    const QString mdb = writeTextFile(*dir, QStringLiteral("text.mdb"));
    Connection access;
    e = expectDbError([&] { access.open(QStringLiteral("Driver=MDBTools;DBQ=") + mdb); });
    EXPECT_NE(e.number(), 0);
    // MDBTools leaves no diagnostic record; its own message is taken from
    // what it printed while connecting.
    EXPECT_TRUE(e.description().contains(QLatin1String("Unable to locate database"))) << e;
    EXPECT_FALSE(access.isOpen());
}

TEST(ConnectErrorTest, MissingFile)
{
    auto dir = dbtest::makeTempDir();
    const QString missing = dir->filePath(QStringLiteral("missing/none.db"));

    Connection builtIn;
    DbError e = expectDbError([&] { builtIn.open(QStringLiteral("Provider=SQLite;Data Source=") + missing); });
    EXPECT_TRUE(e.description().contains(missing)) << e;

    Connection sqliteOdbc;
    e = expectDbError([&] { sqliteOdbc.open(QStringLiteral("Driver=SQLite3;Database=") + missing); });
    EXPECT_TRUE(e.description().contains(QLatin1String("[SQLite]"))) << e;
    EXPECT_EQ(e.sqlState(), QStringLiteral("HY000"));

    Connection access;
    e = expectDbError([&] { access.open(QStringLiteral("Driver=MDBTools;DBQ=") + dir->filePath(QStringLiteral("none.mdb"))); });
    EXPECT_TRUE(e.description().contains(QLatin1String("File not found"))) << e;
    EXPECT_FALSE(access.isOpen());
}

TEST(ConnectErrorTest, UnknownDriverName)
{
    Connection conn;
    const DbError e = expectDbError([&] { conn.open(QStringLiteral("Driver={No Such Driver 1.0};Database=x")); });
    EXPECT_EQ(e.number(), E_FAIL);
    EXPECT_TRUE(e.description().contains(QLatin1String("[unixODBC][Driver Manager]"))) << e;
    EXPECT_TRUE(e.description().contains(QLatin1String("No Such Driver 1.0"))) << e;

    const DbError dsn = expectDbError([&] { conn.open(QStringLiteral("DSN=vamor_no_such_dsn")); });
    EXPECT_EQ(dsn.sqlState(), QStringLiteral("IM002")) << dsn;
    EXPECT_FALSE(conn.isOpen());
}

TEST(ConnectErrorTest, ClosedConnectionRefusesWork)
{
    auto dir = dbtest::makeTempDir();
    Connection conn;
    conn.open(QStringLiteral("Driver=SQLite3;Database=") + dbtest::makeEmptySqliteFile(*dir));
    conn.close();
    EXPECT_FALSE(conn.isOpen());
    const DbError e = expectDbError([&] { conn.execute(QStringLiteral("SELECT 1")); });
    EXPECT_EQ(e.number(), ADO_E_ILLEGALOPERATION);
}

TEST(ConnectErrorTest, RefusedPasswordPostgreSql)
{
    VAMOR_REQUIRE_SERVER(pg, "VAMOR_TEST_PG");
    Connection conn;
    const DbError e = expectDbError([&] { conn.open(withPassword(pg, QStringLiteral("wrong-password"))); });
    EXPECT_TRUE(e.description().contains(QLatin1String("password authentication failed"))) << e;
    EXPECT_FALSE(conn.isOpen());
}

TEST(ConnectErrorTest, RefusedPasswordMariaDb)
{
    VAMOR_REQUIRE_SERVER(maria, "VAMOR_TEST_MARIADB");
    Connection conn;
    const DbError e = expectDbError([&] { conn.open(withPassword(maria, QStringLiteral("wrong-password"))); });
    EXPECT_TRUE(e.description().contains(QLatin1String("Access denied"))) << e;
    EXPECT_EQ(e.sqlState().left(2), QStringLiteral("28")) << e;
    EXPECT_FALSE(conn.isOpen());
}

} // namespace
