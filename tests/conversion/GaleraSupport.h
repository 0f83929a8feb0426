#pragma once

#include "data/db/Connection.h"

#include <QString>
#include <QStringList>
#include <functional>

// The three-node Galera cluster of tests/servers.sh, as the cluster tests
// use it: the nodes' connection strings, what a node holds, and a node
// killed and started again.
namespace galeratest {

// VAMOR_TEST_GALERA1..3; "" when the cluster is not running.
QString nodeString(int node);
// "127.0.0.1:PORT" of a node, as a data source's ClusterNodes names it.
QString nodeAddress(int node);

// The amounts of `columns` in `table` ("suma|tva" per row, by id) as the
// node holds them once it has applied everything committed in the cluster
// before the read.
QStringList amounts(db::Connection &node, const QString &table, const QStringList &columns);

// The node's own view of its cluster: "Primary" or "non-Primary", and how
// many nodes it sees.
QString clusterStatus(db::Connection &node);
int clusterSize(db::Connection &node);

// Polls `condition` for up to a minute.
bool waitUntil(const std::function<bool()> &condition);

// Waits until every node is synced in a primary component of three; false
// after a minute.
bool waitForWholeCluster();

// Kills the node's server with SIGKILL and waits until it is gone; false
// when there was no process to kill.
bool killNode(int node);
// Stops (SIGSTOP) or lets go on (SIGCONT) the node's server: a node that
// does not answer its cluster; false when there is no process.
bool pauseNode(int node, bool paused);
// Starts a killed node again and waits until it is back in a cluster of
// three; "" on success, else what went wrong.
QString restartNode(int node);

} // namespace galeratest
