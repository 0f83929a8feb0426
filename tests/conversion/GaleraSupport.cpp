#include "tests/conversion/GaleraSupport.h"

#include "data/db/ConnString.h"
#include "data/db/Recordset.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <sys/types.h>

namespace galeratest {

QString nodeString(int node)
{
    return qEnvironmentVariable(QStringLiteral("VAMOR_TEST_GALERA%1").arg(node).toLatin1().constData());
}

QString nodeAddress(int node)
{
    const db::ConnString parsed = db::ConnString::parse(nodeString(node));
    return parsed.value(QStringLiteral("Server")) + QLatin1Char(':') + parsed.value(QStringLiteral("Port"));
}

QStringList amounts(db::Connection &node, const QString &table, const QStringList &columns)
{
    node.execute(QStringLiteral("SET SESSION wsrep_sync_wait = 1"));
    QStringList casts;
    for (const QString &column : columns)
        casts << QStringLiteral("CAST(%1 AS CHAR)").arg(column);
    QStringList list;
    db::Recordset rs =
        node.openRecordset(QStringLiteral("SELECT %1 FROM %2 ORDER BY id").arg(casts.join(QStringLiteral(", ")), table));
    for (; !rs.eof(); rs.moveNext()) {
        QStringList row;
        for (int i = 0; i < columns.size(); ++i)
            row << rs.value(i).toString();
        list.append(row.join(QLatin1Char('|')));
    }
    return list;
}

namespace {

QString statusValue(db::Connection &node, const char *name)
{
    db::Recordset rs = node.openRecordset(QStringLiteral("SHOW STATUS LIKE '%1'").arg(QLatin1String(name)));
    return rs.eof() ? QString() : rs.value(1).toString();
}

QString pidFile(int node)
{
    return qEnvironmentVariable("VAMOR_TEST_GALERA_DIR") + QStringLiteral("/node%1/server.pid").arg(node);
}

} // namespace

QString clusterStatus(db::Connection &node)
{
    return statusValue(node, "wsrep_cluster_status");
}

int clusterSize(db::Connection &node)
{
    return statusValue(node, "wsrep_cluster_size").toInt();
}

bool waitUntil(const std::function<bool()> &condition)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000) {
        try {
            if (condition())
                return true;
        } catch (const std::exception &) {
            // a node that does not answer yet
        }
        QThread::msleep(100);
    }
    return false;
}

bool waitForWholeCluster()
{
    return waitUntil([] {
        for (int n = 1; n <= 3; ++n) {
            db::Connection node;
            node.open(nodeString(n));
            if (clusterSize(node) != 3 || clusterStatus(node) != QLatin1String("Primary")
                || statusValue(node, "wsrep_local_state_comment") != QLatin1String("Synced"))
                return false;
        }
        return true;
    });
}

namespace {

pid_t serverPid(int node)
{
    QFile file(pidFile(node));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return static_cast<pid_t>(QString::fromLatin1(file.readAll()).trimmed().toLongLong());
}

} // namespace

bool pauseNode(int node, bool paused)
{
    const pid_t pid = serverPid(node);
    return pid > 0 && ::kill(pid, paused ? SIGSTOP : SIGCONT) == 0;
}

bool killNode(int node)
{
    const pid_t pid = serverPid(node);
    if (pid <= 0 || ::kill(pid, SIGKILL) != 0)
        return false;
    // The server is a child of the script that started it, not of this
    // process: it is gone once signal 0 finds nobody (or only its zombie
    // until the script's shell reaps it, which no longer holds its ports).
    return waitUntil([pid] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return true;
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        return close > 0 && text.mid(close + 2, 1) == "Z";
    });
}

QString restartNode(int node)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("bash"), {qEnvironmentVariable("VAMOR_TEST_SERVERS"), QStringLiteral("restart-galera-node"),
                                         qEnvironmentVariable("VAMOR_TEST_GALERA_DIR") + QStringLiteral("/.."),
                                         QString::number(node)});
    if (!script.waitForFinished(180000) || script.exitCode() != 0)
        return QString::fromLocal8Bit(script.readAll());
    return waitForWholeCluster() ? QString() : QStringLiteral("node %1 did not rejoin its cluster").arg(node);
}

} // namespace galeratest
