// A MariaDB Galera cluster of three nodes: a project converted to new lei
// and back through node 1 leaves the same amounts on every node.
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/conversion/GaleraSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include <gtest/gtest.h>

using testsupport::ProjectFixture;

namespace {

using galeratest::clusterSize;
using galeratest::clusterStatus;
using galeratest::waitUntil;

QStringList amounts(db::Connection &node, const QString &table)
{
    return galeratest::amounts(node, table, {QStringLiteral("suma"), QStringLiteral("tva")});
}

TEST(GaleraCluster, ConvertedThroughOneNodeAndBackEveryNodeHoldsTheSameAmounts)
{
    VAMOR_REQUIRE_SERVER(node1String, "VAMOR_TEST_GALERA1");
    VAMOR_REQUIRE_SERVER(node2String, "VAMOR_TEST_GALERA2");
    VAMOR_REQUIRE_SERVER(node3String, "VAMOR_TEST_GALERA3");
    db::Connection nodes[3];
    nodes[0].open(node1String);
    nodes[1].open(node2String);
    nodes[2].open(node3String);
    // Each node names itself by its own member id in the cluster.
    EXPECT_EQ(nodes[0].clusterNodeId().size(), 36);
    EXPECT_NE(nodes[0].clusterNodeId(), nodes[1].clusterNodeId());
    const QString table = testsupport::UserDatabase::tableName(QStringLiteral("galera"));
    nodes[0].execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
    nodes[0].execute(
        QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, suma DECIMAL(18,2), tva INTEGER)").arg(table));
    nodes[0].execute(QStringLiteral("INSERT INTO %1 VALUES (1, 1000000, 190000), (2, 12345.67, 5), (3, -25000, 0), "
                                    "(4, NULL, 15000)")
                         .arg(table));
    const QStringList before{QStringLiteral("1000000.00|190000"), QStringLiteral("12345.67|5"),
                             QStringLiteral("-25000.00|0"), QStringLiteral("|15000")};

    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const int idConn = project.addConn(6, QStringLiteral("Cluster"), node1String);
    const int idTable = project.addTable(idConn, table);
    project.addField(idTable, QStringLiteral("suma"));
    project.addField(idTable, QStringLiteral("tva"));

    const conversion::ReportLog forward = convtest::runEngineAt(project.Conn(), true);
    ASSERT_EQ(forward.rows().size(), 2);
    for (const auto &row : forward.rows())
        EXPECT_TRUE(row.error.isEmpty()) << row.error.toStdString();
    // 1000000 / 10000 = 100; 12345.67 / 10000 = 1.234567 -> 1.23; -25000 ->
    // -2.50; 190000 -> 19, 5 -> 0 and 15000 -> 2 (1.5 away from zero) in the
    // integer column.
    const QStringList converted{QStringLiteral("100.00|19"), QStringLiteral("1.23|0"), QStringLiteral("-2.50|0"),
                                QStringLiteral("|2")};
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(amounts(nodes[n], table), converted) << "node " << n + 1;

    const conversion::ReportLog back = convtest::runEngineAt(project.Conn(), false);
    ASSERT_EQ(back.rows().size(), 2);
    for (const auto &row : back.rows())
        EXPECT_TRUE(row.error.isEmpty()) << row.error.toStdString();
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(amounts(nodes[n], table), before) << "node " << n + 1;
    nodes[0].execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
}

// A node cut off from the other two (not in the primary component) is
// named in every field's message; nothing changes anywhere; the node
// joins its cluster again afterwards.
TEST(GaleraCluster, ANodeCutOffFromItsClusterIsNamedAndNothingChanges)
{
    VAMOR_REQUIRE_SERVER(node1String, "VAMOR_TEST_GALERA1");
    VAMOR_REQUIRE_SERVER(node3String, "VAMOR_TEST_GALERA3");
    db::Connection node1, node3;
    node1.open(node1String);
    node3.open(node3String);
    const QString table = testsupport::UserDatabase::tableName(QStringLiteral("galera_cut"));
    node1.execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
    node1.execute(QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, suma DECIMAL(18,2), tva INTEGER)").arg(table));
    node1.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 1000000, 190000)").arg(table));
    const QStringList before{QStringLiteral("1000000.00|190000")};
    ASSERT_EQ(amounts(node3, table), before);

    node3.execute(QStringLiteral("SET GLOBAL wsrep_provider_options = 'gmcast.isolate=1'"));
    // Whatever happens below, the node goes back to its cluster.
    struct Rejoin {
        db::Connection &node;
        ~Rejoin()
        {
            node.execute(QStringLiteral("SET GLOBAL wsrep_provider_options = 'gmcast.isolate=0'"));
            waitUntil([&] { return clusterSize(node) == 3 && clusterStatus(node) == QLatin1String("Primary"); });
        }
    } rejoin{node3};
    ASSERT_TRUE(waitUntil([&] { return clusterStatus(node3) == QLatin1String("non-Primary"); }));

    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const int idTable = project.addTable(project.addConn(6, QStringLiteral("Nodul 3"), node3String), table);
    project.addField(idTable, QStringLiteral("suma"));
    project.addField(idTable, QStringLiteral("tva"));
    const conversion::ReportLog run = convtest::runEngineAt(project.Conn(), true);
    ASSERT_EQ(run.rows().size(), 2);
    for (const auto &row : run.rows())
        EXPECT_TRUE(row.error.contains(QStringLiteral("este despartit de celelalte noduri"))) << row.error.toStdString();
    node1.execute(QStringLiteral("SET SESSION wsrep_sync_wait = 1"));
    EXPECT_EQ(amounts(node1, table), before);
    EXPECT_FALSE(node1.openRecordset(QStringLiteral("SELECT COUNT(*) FROM information_schema.columns WHERE "
                                                    "table_name = '%1' AND column_name = 'suma_VM'").arg(table))
                     .value(0)
                     .toInt());
}

} // namespace
