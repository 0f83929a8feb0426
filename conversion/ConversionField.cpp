#include "conversion/ConversionEngine.h"

#include "conversion/EngineSupport.h"
#include "data/Lookups.h"
#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"
#include "data/db/ConnectionPool.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "tables/ConvertSql.h"
#include "tables/RecoveryField.h"

#include <QHash>
#include <optional>

// One field of a conversion run: its probe, its checks, its recovery column
// and its statements in one transaction.
namespace conversion {

using detail::errorText;
using detail::text;

namespace {

// A row whose amount is not a number, in engines that let a numeric column
// hold text ("12,50"): "" when there is none, otherwise the message. The
// division would read such a text as another amount.
QString nonNumericValues(db::Connection &userConn, const QString &tableRef, const QString &condition,
                         const QString &fieldRef, const QString &fieldName)
{
    const QString query = userConn.nonNumericValuesQuery(tableRef, condition, fieldRef);
    if (query.isEmpty())
        return QString();
    try {
        db::Recordset rs = userConn.openRecordset(query, db::CursorType::Static, db::LockType::ReadOnly, 1);
        if (rs.eof())
            return QString();
        return QStringLiteral("Campul \"") + fieldName + QStringLiteral("\" contine valori care nu sunt numere (de exemplu \"")
               + rs.value(0).toString().left(40) + QStringLiteral("\"); nu a fost convertit.");
    } catch (const std::exception &e) {
        return errorText(e);
    }
}

} // namespace

QString roundedNote(int decimals)
{
    return QStringLiteral("Sume rotunjite la ") + QString::number(decimals) + QStringLiteral(" zecimale");
}

QHash<qint64, QString> fieldConflicts(db::Recordset &fields, TableClaims &claims)
{
    QHash<qint64, QString> conflicts;
    QHash<QString, QString> &amounts = claims.amounts;
    QHash<QString, QString> &recoveries = claims.recoveries;
    for (fields.moveFirst(); !fields.eof(); fields.moveNext()) {
        const QString name = text(fields, "FieldName");
        const QString rec = recoveryFieldName(fields);
        const QString nameKey = name.toLower();
        const QString recKey = rec.toLower();
        QString reason;
        if (amounts.contains(nameKey))
            reason = QStringLiteral("Coloana \"") + name + QStringLiteral("\" este convertita deja de un alt camp al "
                                                                       "tabelului; campul nu a fost convertit.");
        else if (recKey == nameKey || recoveries.contains(nameKey))
            reason = QStringLiteral("Coloana \"") + name
                     + QStringLiteral("\" este coloana de restaurare a unui camp al tabelului; campul nu a fost "
                                      "convertit.");
        else if (recoveries.contains(recKey) || amounts.contains(recKey))
            reason = QStringLiteral("Coloana de restaurare \"") + rec
                     + QStringLiteral("\" este folosita si de un alt camp al tabelului; campul nu a fost convertit.");
        if (!reason.isEmpty()) {
            conflicts.insert(static_cast<qint64>(fields.value(QStringLiteral("IdField")).toInt()), reason);
            continue; // a refused field claims no column
        }
        amounts.insert(nameKey, name);
        recoveries.insert(recKey, name);
    }
    fields.moveFirst();
    return conflicts;
}

namespace {

bool listed(const std::vector<db::TableColumn> &columns, const QString &column)
{
    for (const db::TableColumn &c : columns)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

bool hasColumn(db::Connection &userConn, const QString &table, const QString &owner, const QString &column)
{
    return listed(userConn.tableColumns(table, owner, true), column);
}

FieldProbe refreshConvertedState(db::Connection &userConn, qint32 idConnType, const db::Recordset &tables,
                                 db::Recordset &fields)
{
    const QString owner = text(tables, "Owner");
    const QString tableName = text(tables, "TableName");
    const QString recName = recoveryFieldName(fields);
    const QString tableRef = fgGetTableName(idConnType, owner, tableName);
    const QString condition = convertsql::joinConditions(text(tables, "SQLWhere"), text(fields, "SQLWhere"));
    // The table's columns, read once for all its fields: a recovery column
    // that is not among them is not there yet, so the field is not converted
    // and its rows need not be asked. A table the list does not find is
    // left to the probe, which says why.
    bool recoveryMissing = false;
    try {
        const std::vector<db::TableColumn> columns = userConn.tableColumns(tableName, owner);
        recoveryMissing = !columns.empty() && !listed(columns, recName);
    } catch (const std::exception &) {
    }
    QString probeError;
    qint32 state = 0;
    if (!recoveryMissing)
        state = fgGetConvertedState(userConn, convertsql::rowSource(tableRef, QString()),
                                    convertsql::rowSource(tableRef, condition),
                                    fgGetFieldName(idConnType, text(fields, "FieldName")),
                                    fgGetFieldName(idConnType, recName), &probeError);
    FieldProbe probe;
    if (!probeError.isEmpty()) {
        // Only a recovery column that is not there (any more: another
        // program may have dropped it) means "not converted". Any other
        // failure (a lock time-out, a lost server) tells nothing: the stored
        // state stays and the field is not touched.
        bool missing = false;
        try {
            missing = !hasColumn(userConn, tableName, owner, recName);
        } catch (const std::exception &) {
        }
        if (!missing) {
            probe.converted = fields.value(QStringLiteral("Converted")).toBool();
            probe.error = probeError;
            return probe;
        }
        state = 0;
    }
    const bool stored = fields.value(QStringLiteral("Converted")).toBool();
    probe.converted = state == 1 ? true : state == 0 ? false : stored;
    // A state that did not change is not written again.
    if (probe.converted != stored || fields.value(QStringLiteral("Converted")).isNull()) {
        fields.setValue(QStringLiteral("Converted"), probe.converted);
        fields.update();
    }
    return probe;
}

void ConversionEngine::convertField(db::PooledConnection &lease, const QString &connString, qint32 idConnType,
                                    const QString &templateText, const QString &dataSource, db::Recordset &tables,
                                    db::Recordset &fields, bool pbLeiNoi, const QString &conflict, bool readOnly)
{
    const QString fieldName = text(fields, "FieldName");
    const QString tableName = text(tables, "TableName");
    const QString owner = text(tables, "Owner");
    const QString recName = recoveryFieldName(fields);

    qint32 recCount = 0;
    // A field that fails before its statements run: the message goes to its
    // row and to the report; its state stays as it is.
    const auto fail = [&](const QString &message) {
        fields.setValue(QStringLiteral("Error"), message);
        fields.update();
        mReport.AddField(dataSource, tableName, fieldName, 0, message, QString());
    };

    // A refused field is not even probed: a recovery column that belongs to
    // another field would make its state read wrong.
    if (!conflict.isEmpty())
        return fail(conflict);
    // The source's connection, taken again when an earlier field could not
    // get it back (a server that went away meanwhile).
    if (!lease) {
        try {
            lease = db::ConnectionPool::shared().acquire(connString);
        } catch (const std::exception &e) {
            return fail(errorText(e));
        }
    }
    const FieldProbe probe = refreshConvertedState(*lease, idConnType, tables, fields);
    if (!probe.error.isEmpty())
        return fail(probe.error);
    if (probe.converted == pbLeiNoi)
        return; // already in the wanted currency
    if (readOnly)
        return fail(kReadOnlySourceMessage);

    // To new lei: the column must hold numbers, and the amounts are rounded
    // to the decimals it keeps.
    int columnScale = -1;
    bool singlePrecision = false;
    QString fieldType; // as declared; the recovery column takes it
    if (pbLeiNoi) {
        try {
            const db::ColumnType type = lease->columnType(tableName, fieldName, owner);
            const QString refused = fgFieldTypeMessage(type.adoType);
            if (!refused.isEmpty())
                return fail(refused);
            columnScale = type.scale;
            singlePrecision = type.adoType == db::adSingle;
            fieldType = type.declaration;
        } catch (const std::exception &e) {
            return fail(errorText(e));
        }
    }

    // The recovery column is added on a connection of its own, taken from
    // the pool: the run gives its connection back first (it holds no
    // transaction between fields), so the one step borrows it rather than a
    // second connection, which would make the database (and the run) read
    // the table's definition afresh after every column added. The column's
    // command commits on its own, whatever becomes of the field.
    lease.release();
    const QString message = fgCreateRecoveryField(static_cast<qint32>(tables.value(QStringLiteral("IdTable")).toInt()),
                                                  recName, false, fieldName, fieldType);
    try {
        lease = db::ConnectionPool::shared().acquire(connString);
    } catch (const std::exception &e) {
        return fail(message.isEmpty() ? errorText(e) : message);
    }
    if (!message.isEmpty())
        return fail(message);
    db::Connection &userConn = *lease;

    const QString tableRef = fgGetTableName(idConnType, owner, tableName);
    const QString fieldRef = fgGetFieldName(idConnType, fieldName);
    const QString condition = convertsql::joinConditions(text(tables, "SQLWhere"), text(fields, "SQLWhere"));
    const QStringList statements =
        convertsql::convertStatements(templateText, fieldRef, fgGetFieldName(idConnType, recName), tableRef, condition,
                                      columnScale, singlePrecision);

    // The control totals are read by the database in the same transaction.
    std::optional<ControlTotals> totals;
    if (mReport.WantsTotals())
        totals.emplace(userConn, tableName, owner, fieldName, tableRef, fieldRef, fgGetFieldName(idConnType, recName),
                       pbLeiNoi);

    try {
        userConn.beginTrans();
    } catch (const std::exception &e) {
        return fail(errorText(e));
    }
    QString errors;
    const auto appendError = [&errors](const QString &description) {
        if (!errors.isEmpty())
            errors += QStringLiteral("\r\n");
        errors += description;
    };
    if (pbLeiNoi)
        appendError(nonNumericValues(userConn, tableRef, condition, fieldRef, fieldName));
    if (errors.isEmpty() && totals)
        totals->beforeStatements();
    if (errors.isEmpty()) {
        for (const QString &statement : statements) {
            try {
                recCount = static_cast<qint32>(userConn.execute(statement));
            } catch (const std::exception &e) {
                appendError(errorText(e));
            }
        }
    }
    FieldTotals fieldTotals;
    if (errors.isEmpty() && totals)
        fieldTotals = totals->afterStatements();
    if (errors.isEmpty()) {
        // The state is recorded only once the database has accepted the work.
        try {
            userConn.commitTrans();
        } catch (const std::exception &e) {
            appendError(errorText(e));
        }
    }
    if (!errors.isEmpty() && userConn.inTransaction()) {
        try {
            userConn.rollbackTrans();
        } catch (const std::exception &e) {
            appendError(errorText(e));
        }
    }
    if (errors.isEmpty())
        fields.setValue(QStringLiteral("Converted"), pbLeiNoi);
    fields.setValue(QStringLiteral("Error"), errors.isEmpty() ? db::Variant::null() : db::Variant(errors));
    fields.update();

    // Nothing of a rolled-back field stays changed: it reports no records.
    QString note;
    if (!errors.isEmpty())
        recCount = 0;
    else if (pbLeiNoi && convertsql::keepsFewerDecimals(columnScale, convertsql::roundingDecimals(templateText)))
        note = roundedNote(columnScale);
    mReport.AddField(dataSource, tableName, fieldName, recCount, errors, note);
    if (errors.isEmpty() && totals)
        mReport.AddFieldTotals(fieldTotals);
}

} // namespace conversion
