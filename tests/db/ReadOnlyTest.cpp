// Sources that can be read but not written are known before anything is sent.

#include "tests/db/EngineFixture.h"
#include "tests/support/TestSupport.h"

#include <QFile>

#include <unistd.h>

using namespace db;
using dbtest::expectDbError;

namespace {

class ReadOnlyTest : public dbtest::EngineFixture {};

TEST_P(ReadOnlyTest, WritableSourcesSaySo)
{
    EXPECT_FALSE(conn.isReadOnly());
}

VAMOR_INSTANTIATE_ENGINES(ReadOnlyTest);

TEST(ReadOnlySource, AccessThroughMdbToolsCannotWrite)
{
    auto dir = dbtest::makeTempDir();
    const QString path = testsupport::copyTestData(QStringLiteral("access/nwind.mdb"), dir->path());
    ASSERT_FALSE(path.isEmpty());
    Connection conn;
    conn.open(QStringLiteral("Driver=MDBTools;DBQ=") + path);
    EXPECT_TRUE(conn.isReadOnly());
}

TEST(ReadOnlySource, SqliteFileOpenedForReadingOnly)
{
    auto dir = dbtest::makeTempDir();
    const QString path = dbtest::makeEmptySqliteFile(*dir);
    {
        Connection writer;
        writer.open(QStringLiteral("Provider=SQLite;Data Source=") + path);
        writer.execute(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    }
    Connection conn;
    conn.open(QStringLiteral("Provider=SQLite;Data Source=%1;Mode=Read").arg(path));
    EXPECT_TRUE(conn.isReadOnly());
    const DbError e = expectDbError([&] { conn.execute(QStringLiteral("INSERT INTO t VALUES (1)")); });
    EXPECT_TRUE(e.description().contains(QLatin1String("readonly"))) << e;
    EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT COUNT(*) FROM t")).value(0).toInt(), 0);
}

TEST(ReadOnlySource, SqliteFileTheUserMayNotWrite)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "SKIPPED: running as root, who may write a file whatever its mode";
    auto dir = dbtest::makeTempDir();
    const QString path = dbtest::makeEmptySqliteFile(*dir);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    Connection conn;
    conn.open(QStringLiteral("Provider=SQLite;Data Source=") + path);
    EXPECT_TRUE(conn.isReadOnly());
}

} // namespace
