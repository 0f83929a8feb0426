#include "data/db/ConnString.h"
#include "data/db/DbError.h"
#include "tests/db/DbTestSupport.h"

using db::ConnString;

TEST(ConnStringTest, KeysWithoutRegardToCaseLastOneWins)
{
    const ConnString cs = ConnString::parse(QStringLiteral(" Driver = SQLite3 ;DATABASE=/tmp/a.db;database=/tmp/b.db"));
    EXPECT_EQ(cs.value(QStringLiteral("driver")), QStringLiteral("SQLite3"));
    EXPECT_EQ(cs.value(QStringLiteral("Database")), QStringLiteral("/tmp/b.db"));
    EXPECT_TRUE(cs.contains(QStringLiteral("DRIVER")));
    EXPECT_FALSE(cs.contains(QStringLiteral("Pwd")));
    EXPECT_EQ(cs.value(QStringLiteral("Pwd")), QString());
}

TEST(ConnStringTest, BracedValuesKeepSemicolonsAndDoubledBraces)
{
    const ConnString cs = ConnString::parse(
        QStringLiteral("Driver={PostgreSQL Unicode};Pwd={a;b}}c=d};Server=127.0.0.1;Database={}"));
    EXPECT_EQ(cs.value(QStringLiteral("Driver")), QStringLiteral("PostgreSQL Unicode"));
    EXPECT_EQ(cs.value(QStringLiteral("Pwd")), QStringLiteral("a;b}c=d"));
    EXPECT_EQ(cs.value(QStringLiteral("Server")), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(cs.contains(QStringLiteral("Database")));
    EXPECT_EQ(cs.value(QStringLiteral("Database")), QString());
    EXPECT_EQ(cs.items().size(), 4);
}

TEST(ConnStringTest, StraySemicolonsAreSkipped)
{
    const ConnString cs = ConnString::parse(QStringLiteral(";;Provider=SQLite;; ;Data Source=/x/p.vmd;"));
    ASSERT_EQ(cs.items().size(), 2);
    EXPECT_TRUE(cs.isBuiltInSqlite());
    EXPECT_EQ(cs.value(QStringLiteral("data source")), QStringLiteral("/x/p.vmd"));
    EXPECT_FALSE(ConnString::parse(QStringLiteral("Driver=SQLite3;Database=/x")).isBuiltInSqlite());
    EXPECT_TRUE(ConnString::parse(QString()).items().isEmpty());
}

TEST(ConnStringTest, MalformedStringsAreRefusedClearly)
{
    for (const QString &bad : {QStringLiteral("Driver={SQLite3;Database=x"), QStringLiteral("Pwd={a}}"),
                               QStringLiteral("=x;Driver=y"), QStringLiteral("Driver=y; =x"),
                               QStringLiteral("Driver={a}b;Database=c"), QStringLiteral("Driver=x;Database")}) {
        const db::DbError e = dbtest::expectDbError([&] { ConnString::parse(bad); });
        EXPECT_EQ(e.number(), db::E_FAIL) << bad.toStdString();
        EXPECT_TRUE(e.description().startsWith(QLatin1String("Sirul de conectare nu este valid"))) << e;
    }
}
