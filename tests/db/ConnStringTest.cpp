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

// The other nodes of a cluster, as a data source names them: each gets the
// string with its own server and port, without the program's own keys
// (which the driver never sees either).
TEST(ConnStringTest, ClusterNodesGiveOneStringPerNode)
{
    struct Case {
        const char *given;
        const char *address;
        const char *server;
        const char *port;
    };
    const QString base = QStringLiteral("Driver={MariaDB Unicode};SERVER=db1;Port=3306;Pwd={a;b};LockTimeout=10;");
    for (const Case &c : {Case{"db2:3307", "db2:3307", "db2", "3307"}, Case{" db3 ", "db3", "db3", "3306"},
                          Case{"10.0.0.4:3310", "10.0.0.4:3310", "10.0.0.4", "3310"},
                          Case{"[fe80::1]:3311", "[fe80::1]:3311", "fe80::1", "3311"},
                          Case{"[fe80::2]", "[fe80::2]", "fe80::2", "3306"}}) {
        SCOPED_TRACE(c.given);
        const QList<db::ClusterNode> nodes =
            db::clusterNodesOf(base + QStringLiteral("ClusterNodes={%1, }").arg(QLatin1String(c.given)));
        ASSERT_EQ(nodes.size(), 1);
        EXPECT_EQ(nodes[0].address, QLatin1String(c.address));
        const ConnString node = ConnString::parse(nodes[0].connectionString);
        EXPECT_EQ(node.value(QStringLiteral("Server")), QLatin1String(c.server));
        EXPECT_EQ(node.value(QStringLiteral("Port")), QLatin1String(c.port));
        EXPECT_EQ(node.value(QStringLiteral("Pwd")), QStringLiteral("a;b"));
        EXPECT_EQ(node.value(QStringLiteral("LockTimeout")), QStringLiteral("10"));
        EXPECT_FALSE(node.contains(QStringLiteral("ClusterNodes")));
    }
    // A DSN without Server or Port gets both; no ClusterNodes, no nodes.
    const QList<db::ClusterNode> dsn = db::clusterNodesOf(QStringLiteral("DSN=firma;ClusterNodes=db2:3307,db3:3308"));
    ASSERT_EQ(dsn.size(), 2);
    EXPECT_EQ(dsn[1].connectionString, QStringLiteral("DSN=firma;Server=db3;Port=3308;"));
    EXPECT_TRUE(db::clusterNodesOf(base).isEmpty());

    const ConnString driver = ConnString::parse(db::forDriver(base + QStringLiteral("ClusterNodes=db2,db3")));
    EXPECT_FALSE(driver.contains(QStringLiteral("ClusterNodes")));
    EXPECT_FALSE(driver.contains(QStringLiteral("LockTimeout")));
    EXPECT_EQ(driver.value(QStringLiteral("Pwd")), QStringLiteral("a;b"));
}
