// What a Galera cluster refuses or loses while a field is converted through
// one of its nodes: the field fails with a message that says why, nothing
// of it stays changed on any node, and a run after it converts it.
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/conversion/GaleraSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <thread>
#include <gtest/gtest.h>

using testsupport::ProjectFixture;

namespace {

const QStringList kColumns{QStringLiteral("suma"), QStringLiteral("tva")};

// A table of `rows` rows on the cluster, made through node 1: suma =
// id * 10000 (exactly id new lei), tva = id * 190000 (19 * id new lei).
QString makeTable(db::Connection &node1, const char *name, int rows)
{
    const QString table = testsupport::UserDatabase::tableName(QLatin1String(name));
    node1.execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
    node1.execute(
        QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, suma DECIMAL(18,2), tva INTEGER, cod INTEGER)").arg(table));
    node1.execute(QStringLiteral("INSERT INTO %1 SELECT seq, seq * 10000, seq * 190000, 0 FROM seq_1_to_%2")
                      .arg(table)
                      .arg(rows));
    return table;
}

// The amounts the table holds with suma and tva in old or new lei, by an
// exact integer calculation.
QStringList expected(int rows, bool sumaNew, bool tvaNew)
{
    QStringList list;
    for (qint64 id = 1; id <= rows; ++id)
        list << QStringLiteral("%1.00|%2").arg(sumaNew ? id : id * 10000).arg(tvaNew ? id * 19 : id * 190000);
    return list;
}

// Node 1's string with the other two nodes named, and `extra` attributes.
QString withOtherNodes(const QString &node1String, const QString &extra = QString())
{
    return node1String + extra
           + QStringLiteral("ClusterNodes=%1,%2;").arg(galeratest::nodeAddress(2), galeratest::nodeAddress(3));
}

struct ClusterProject {
    ProjectFixture project;
    int idTable = 0;
    ClusterProject(const QString &connString, const QString &table)
    {
        idTable = project.addTable(project.addConn(6, QStringLiteral("Cluster"), connString), table);
        project.addField(idTable, QStringLiteral("suma"));
        project.addField(idTable, QStringLiteral("tva"));
    }
    bool converted(const char *field)
    {
        return project.scalar(QStringLiteral("SELECT Converted FROM tField WHERE FieldName = '%1'").arg(QLatin1String(field)))
            .toBool();
    }
};

// Another node changes a row of the field's table between the field's
// statements and its commit: certification refuses the commit.
TEST(GaleraFailures, ACertificationConflictFailsTheFieldAndARunAfterItConvertsIt)
{
    VAMOR_REQUIRE_SERVER(node1String, "VAMOR_TEST_GALERA1");
    VAMOR_REQUIRE_SERVER(node2String, "VAMOR_TEST_GALERA2");
    db::Connection node1, node2;
    node1.open(node1String);
    node2.open(node2String);
    const QString table = makeTable(node1, "galera_cert", 5);
    ClusterProject cluster(node1String, table);

    std::atomic<bool> once{false};
    db::Connection::setCommitHook([&](std::optional<qint64>) {
        if (!once.exchange(true))
            convtest::elsewhere(node2String, QStringLiteral("UPDATE %1 SET cod = cod + 1 WHERE id = 1").arg(table));
    });
    const conversion::ReportLog first = convtest::runEngineAt(cluster.project.Conn(), true);
    db::Connection::setCommitHook({});
    ASSERT_EQ(first.rows().size(), 2);
    EXPECT_TRUE(first.rows()[0].error.contains(QStringLiteral("(conflict de certificare)")))
        << first.rows()[0].error.toStdString();
    EXPECT_TRUE(first.rows()[0].error.contains(QStringLiteral("Deadlock"))) << first.rows()[0].error.toStdString();
    EXPECT_TRUE(first.rows()[1].error.isEmpty()) << first.rows()[1].error.toStdString();
    EXPECT_FALSE(cluster.converted("suma"));
    EXPECT_TRUE(cluster.converted("tva"));
    EXPECT_EQ(galeratest::amounts(node2, table, kColumns), expected(5, false, true));

    const conversion::ReportLog again = convtest::runEngineAt(cluster.project.Conn(), true);
    for (const auto &row : again.rows())
        EXPECT_TRUE(row.error.isEmpty()) << row.error.toStdString();
    EXPECT_TRUE(cluster.converted("suma"));
    EXPECT_EQ(galeratest::amounts(node1, table, kColumns), expected(5, true, true));
    EXPECT_EQ(galeratest::amounts(node2, table, kColumns), expected(5, true, true));
    node1.execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
}

// A transaction over the cluster's limit of rows or of bytes fails the
// field with the limit named; with the limit raised, the field converts.
TEST(GaleraFailures, AWriteSetOverTheClustersLimitNamesTheLimit)
{
    VAMOR_REQUIRE_SERVER(node1String, "VAMOR_TEST_GALERA1");
    VAMOR_REQUIRE_SERVER(node2String, "VAMOR_TEST_GALERA2");
    struct Limit {
        const char *variable;
        const char *low;
        const char *usual;
    };
    for (const Limit &limit : {Limit{"wsrep_max_ws_rows", "2", "0"}, Limit{"wsrep_max_ws_size", "1024", "2147483647"}}) {
        SCOPED_TRACE(limit.variable);
        db::Connection node1, node2;
        node1.open(node1String);
        node2.open(node2String);
        const QString table = makeTable(node1, "galera_limit", 300);
        node1.execute(QStringLiteral("SET GLOBAL %1 = %2").arg(QLatin1String(limit.variable), QLatin1String(limit.low)));
        struct Restore {
            db::Connection &node;
            const Limit &limit;
            ~Restore()
            {
                node.execute(
                    QStringLiteral("SET GLOBAL %1 = %2").arg(QLatin1String(limit.variable), QLatin1String(limit.usual)));
            }
        } restore{node1, limit};
        ClusterProject cluster(node1String, table);
        const conversion::ReportLog run = convtest::runEngineAt(cluster.project.Conn(), true);
        ASSERT_EQ(run.rows().size(), 2);
        for (const auto &row : run.rows()) {
            EXPECT_TRUE(row.error.contains(QStringLiteral("clusterul Galera"))) << row.error.toStdString();
            EXPECT_TRUE(row.error.contains(QStringLiteral("SET GLOBAL %1 = ").arg(QLatin1String(limit.variable))))
                << row.error.toStdString();
        }
        EXPECT_EQ(galeratest::amounts(node2, table, kColumns), expected(300, false, false));

        node1.execute(QStringLiteral("SET GLOBAL %1 = %2").arg(QLatin1String(limit.variable), QLatin1String(limit.usual)));
        const conversion::ReportLog after = convtest::runEngineAt(cluster.project.Conn(), true);
        for (const auto &row : after.rows())
            EXPECT_TRUE(row.error.isEmpty()) << row.error.toStdString();
        EXPECT_EQ(galeratest::amounts(node2, table, kColumns), expected(300, true, true));
        node1.execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
    }
}

// The node the program converts through dies just before the field's
// commit: the link is lost, and the field's state is read through the other
// nodes the data source names, once they have seen the node leave.
TEST(GaleraFailures, ACommitWhoseNodeDiesIsReadAfreshThroughAnotherNode)
{
    VAMOR_REQUIRE_SERVER(node1String, "VAMOR_TEST_GALERA1");
    VAMOR_REQUIRE_SERVER(node2String, "VAMOR_TEST_GALERA2");
    VAMOR_REQUIRE_SERVER(node3String, "VAMOR_TEST_GALERA3");
    db::Connection node1, node2;
    node1.open(node1String);
    node2.open(node2String);
    const QString table = makeTable(node1, "galera_lost", 5);
    node1.close();
    ClusterProject cluster(withOtherNodes(node1String), table);

    std::atomic<bool> killed{false};
    db::Connection::setCommitHook([&](std::optional<qint64>) {
        if (!killed.exchange(true))
            galeratest::killNode(1);
    });
    const conversion::ReportLog run = convtest::runEngineAt(cluster.project.Conn(), true);
    db::Connection::setCommitHook({});
    struct Restart {
        ~Restart() { EXPECT_EQ(galeratest::restartNode(1), QString()); }
    } restart;
    ASSERT_TRUE(killed);
    ASSERT_EQ(run.rows().size(), 2);
    const QString &lost = run.rows()[0].error;
    EXPECT_TRUE(lost.startsWith(QStringLiteral("Legatura cu serverul s-a pierdut in timpul salvarii tranzactiei.")))
        << lost.toStdString();
    EXPECT_TRUE(lost.contains(QStringLiteral("Starea a fost verificata din nou dupa o intrerupere, prin nodul %1 al "
                                             "clusterului: campul este in lei VECHI.")
                                  .arg(galeratest::nodeAddress(2))))
        << lost.toStdString();
    EXPECT_FALSE(run.rows()[1].error.isEmpty());
    EXPECT_FALSE(cluster.converted("suma"));
    EXPECT_FALSE(cluster.converted("tva"));
    EXPECT_EQ(galeratest::amounts(node2, table, kColumns), expected(5, false, false));
    node2.execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
}

// The two other nodes stop answering while the field commits through node
// 1: the commit waits for the cluster, and the field ends at its commit
// timeout with its state asked afresh; once the nodes are back, the field
// is whole on every node and the project says what the cluster holds.
TEST(GaleraFailures, ACommitWaitingForTheClusterEndsAtTheCommitTimeout)
{
    VAMOR_REQUIRE_SERVER(node1String, "VAMOR_TEST_GALERA1");
    VAMOR_REQUIRE_SERVER(node2String, "VAMOR_TEST_GALERA2");
    VAMOR_REQUIRE_SERVER(node3String, "VAMOR_TEST_GALERA3");
    db::Connection node1;
    node1.open(node1String);
    const QString table = makeTable(node1, "galera_wait", 5);
    node1.close();
    ClusterProject cluster(withOtherNodes(node1String, QStringLiteral("LockTimeout=2;")), table);

    std::thread wakeUp;
    std::atomic<bool> paused{false};
    db::Connection::setCommitHook([&](std::optional<qint64>) {
        if (paused.exchange(true))
            return;
        galeratest::pauseNode(2, true);
        galeratest::pauseNode(3, true);
        wakeUp = std::thread([] {
            std::this_thread::sleep_for(std::chrono::seconds(8));
            galeratest::pauseNode(2, false);
            galeratest::pauseNode(3, false);
        });
    });
    QElapsedTimer clock;
    clock.start();
    const conversion::ReportLog run = convtest::runEngineAt(cluster.project.Conn(), true);
    const qint64 runMs = clock.elapsed();
    db::Connection::setCommitHook({});
    if (wakeUp.joinable())
        wakeUp.join();
    ASSERT_TRUE(paused);
    // Two fields, each at most three waits of 2 s (commit, abandoned
    // session, other nodes) and the login of a paused node (15 s).
    EXPECT_LT(runMs, 60000);
    ASSERT_EQ(run.rows().size(), 2);
    const QString &waited = run.rows()[0].error;
    EXPECT_TRUE(waited.startsWith(QStringLiteral("Baza de date nu a raspuns la salvarea tranzactiei in 2 s")))
        << waited.toStdString();

    ASSERT_TRUE(galeratest::waitForWholeCluster());
    db::Connection node2;
    node2.open(node2String);
    const QStringList held = galeratest::amounts(node2, table, kColumns);
    const bool sumaNew = held == expected(5, true, false);
    EXPECT_TRUE(sumaNew || held == expected(5, false, false)) << held.join(QLatin1Char(' ')).toStdString();
    if (!waited.contains(QStringLiteral("Starea campului este necunoscuta"))) {
        EXPECT_EQ(cluster.converted("suma"), sumaNew) << waited.toStdString();
    }
    node2.execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
}

} // namespace
