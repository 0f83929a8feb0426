#include "conversion/FieldRecheck.h"

#include "conversion/ConversionEngine.h"
#include "conversion/EngineSupport.h"
#include "conversion/Waits.h"
#include "data/db/ConnString.h"
#include "data/db/Connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>

namespace conversion {

using detail::errorText;

namespace {

QString unknown(const QString &reason)
{
    return QCoreApplication::translate("ConversionField",
                                       "Starea campului este necunoscuta: nu a putut fi verificata din nou dupa "
                                       "intrerupere (%1).")
        .arg(reason);
}

// What one look through another node of the cluster found.
struct NodeLook {
    enum { Told, NotYet, Cannot } outcome = NotYet;
    QString text; // the state found, or why the node could not tell
};

// Reads the field's state through `node` once the node's primary
// component no longer counts `nodeId` among its members.
NodeLook lookThrough(const db::ClusterNode &node, const QString &nodeId, qint32 idConnType, const QString &dataSource,
                     const db::Recordset &tables, db::Recordset &fields, const Changeover &changeover)
{
    db::Connection other;
    try {
        other.open(node.connectionString);
        other.setStatementTimeout(probeTimeout());
        db::Recordset status = other.openRecordset(QStringLiteral("SHOW STATUS LIKE 'wsrep_cluster_status'"));
        if (status.eof() || status.value(1).toString() != QLatin1String("Primary"))
            return {NodeLook::NotYet, QCoreApplication::translate("ConversionField",
                                                                  "nodul nu face parte din componenta principala a "
                                                                  "clusterului")};
    } catch (const std::exception &e) {
        return {NodeLook::NotYet, errorText(e)};
    }
    try {
        db::Recordset members = other.openRecordset(
            QStringLiteral("SELECT COUNT(*) FROM mysql.wsrep_cluster_members WHERE node_uuid = '%1'").arg(nodeId));
        if (members.eof() || members.value(0).toInt() != 0)
            return {NodeLook::NotYet,
                    QCoreApplication::translate("ConversionField",
                                                "nodul il vede inca in cluster pe cel prin care s-a facut conversia, "
                                                "unde tranzactia poate fi inca salvata")};
    } catch (const std::exception &e) {
        return {NodeLook::Cannot, QCoreApplication::translate("ConversionField",
                                                              "membrii clusterului nu au putut fi cititi; utilizatorul "
                                                              "sursei de date are nevoie de dreptul de a citi tabelul "
                                                              "mysql.wsrep_cluster_members: %1")
                                      .arg(errorText(e))};
    }
    try {
        // Everything the cluster committed before the read is applied on
        // this node first.
        other.execute(QStringLiteral("SET SESSION wsrep_sync_wait = 1"));
        const FieldProbe probe = refreshConvertedState(other, idConnType, dataSource, tables, fields, false);
        if (!probe.error.isEmpty())
            return {NodeLook::Cannot, probe.error};
        return {NodeLook::Told, changeover.inSentence(probe.converted)};
    } catch (const std::exception &e) {
        return {NodeLook::Cannot, errorText(e)};
    }
}

// The state read through the other nodes the data source names, trying
// them in turn until one can tell or `waitMs` has passed. Empty when no
// node is named; else the sentence for the report.
QString stateThroughOtherNodes(const QString &connString, const QString &nodeId, qint64 waitMs, qint32 idConnType,
                               const QString &dataSource, const db::Recordset &tables, db::Recordset &fields,
                               const Changeover &changeover, const QString &ownReason)
{
    const QList<db::ClusterNode> nodes = db::clusterNodesOf(connString);
    static const QRegularExpression memberId(QStringLiteral("^[0-9A-Fa-f-]+$"));
    if (nodes.isEmpty() || !memberId.match(nodeId).hasMatch())
        return QString();
    QElapsedTimer clock;
    clock.start();
    QStringList reasons;
    QList<db::ClusterNode> left = nodes;
    for (;;) {
        reasons.clear();
        QList<db::ClusterNode> again;
        for (const db::ClusterNode &node : left) {
            const NodeLook look = lookThrough(node, nodeId, idConnType, dataSource, tables, fields, changeover);
            if (look.outcome == NodeLook::Told)
                return QCoreApplication::translate("ConversionField",
                                                   "Starea a fost verificata din nou dupa o intrerupere, prin nodul "
                                                   "%1 al clusterului: campul este in %2.")
                    .arg(node.address, look.text);
            reasons << QCoreApplication::translate("ConversionField", "prin nodul %1: %2").arg(node.address, look.text);
            if (look.outcome == NodeLook::NotYet)
                again.append(node);
        }
        left = again;
        if (left.isEmpty() || clock.elapsed() >= waitMs)
            break;
        QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(waitMs - clock.elapsed(), 0, 500)));
    }
    return unknown(ownReason + QStringLiteral("; ") + reasons.join(QStringLiteral("; ")));
}

} // namespace

QString stateAfterInterruption(db::PooledConnection &lease, const QString &connString, qint32 idConnType,
                               const QString &dataSource, const db::Recordset &tables, db::Recordset &fields,
                               const Interruption &what, const Changeover &changeover)
{
    lease.release();
    QString reason; // why the field's own node could not tell
    try {
        db::Connection fresh;
        fresh.open(connString);
        fresh.setStatementTimeout(probeTimeout());
        const std::optional<bool> ended = what.session ? fresh.endSession(*what.session, what.waitMs) : std::nullopt;
        if (ended && !*ended) {
            reason = QCoreApplication::translate("ConversionField",
                                                 "sesiunea abandonata, numarul %1 pe server, nu s-a incheiat inca, iar "
                                                 "tranzactia ei poate fi inca salvata")
                         .arg(*what.session);
        } else {
            const FieldProbe probe = refreshConvertedState(fresh, idConnType, dataSource, tables, fields, false);
            if (probe.error.isEmpty())
                return QCoreApplication::translate("ConversionField",
                                                   "Starea a fost verificata din nou dupa o intrerupere: campul este "
                                                   "in %1.")
                    .arg(changeover.inSentence(probe.converted));
            reason = probe.error;
        }
    } catch (const std::exception &e) {
        reason = errorText(e);
    }
    if (!what.clusterNodeId.isEmpty()) {
        const QString through = stateThroughOtherNodes(connString, what.clusterNodeId, what.waitMs, idConnType,
                                                       dataSource, tables, fields, changeover, reason);
        if (!through.isEmpty())
            return through;
    }
    return unknown(reason);
}

} // namespace conversion
