#pragma once

#include "data/Changeover.h"
#include "data/db/ConnectionPool.h"
#include "data/db/Recordset.h"

#include <QString>
#include <optional>

// A field whose commit ended without an answer (the database did not
// answer in time, or the link broke): whether the database kept it is
// asked afresh before anything is reported.
namespace conversion {

struct Interruption {
    std::optional<qint64> session; // the server's number of the abandoned session
    QString clusterNodeId;         // the cluster node the commit went to (Galera); "" for another server
    qint64 waitMs = 0;             // the commit timeout of the field's connection
};

// On a new connection the abandoned session is ended first (a transaction
// it left open can then never be kept later), and the field's state is read
// afresh by the usual probe. When its own node cannot tell (it is gone, or
// the session is still there) and the data source names other nodes of its
// Galera cluster (ClusterNodes), the state is read through one of them,
// once that node's cluster no longer counts the first node among its
// members: what the first node committed is then everywhere, and nothing
// more of it can come. The sentence that tells what was found, or why the
// state is not known. The connections are the function's own, not the
// pool's; `lease` is given back (closed) first.
QString stateAfterInterruption(db::PooledConnection &lease, const QString &connString, qint32 idConnType,
                               const QString &dataSource, const db::Recordset &tables, db::Recordset &fields,
                               const Interruption &what, const Changeover &changeover);

} // namespace conversion
