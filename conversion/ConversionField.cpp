#include "conversion/ConversionEngine.h"

#include "conversion/EngineSupport.h"
#include "data/Lookups.h"
#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"
#include "data/db/ConnectionPool.h"
#include "data/db/DbError.h"
#include "data/db/StopSignal.h"
#include "data/db/Recordset.h"
#include "tables/ConvertSql.h"
#include "tables/RecoveryColumnFit.h"
#include "tables/RecoveryField.h"
#include "conversion/TableStateProbe.h"
#include "conversion/ControlTotals.h"
#include "conversion/ConversionListing.h"
#include "conversion/FieldRecheck.h"
#include "conversion/Waits.h"

#include <QCoreApplication>
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
QString nonNumericMessage(const QString &fieldName, const QString &example)
{
    return QCoreApplication::translate("ConversionField",
                                       "Campul \"%1\" contine valori care nu sunt numere (de exemplu \"%2\"); nu a "
                                       "fost convertit.")
        .arg(fieldName, example.left(40));
}

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
        return nonNumericMessage(fieldName, rs.value(0).toString());
    } catch (const std::exception &e) {
        return errorText(e);
    }
}

// On an engine whose numeric columns may hold text (the built-in SQLite):
// the field's state and an amount that is not a number, read in one pass
// over the table, where the probes and the check would read it twice.
// Nothing when that pass fails: the probes and the check then say why.
struct StateAndNumbers {
    qint32 state = -1; // 1 a recovery value exists, 0 an amount exists, -1 neither
    QString nonNumber; // an amount that is not a number; "" when none
};

std::optional<StateAndNumbers> stateAndNumbers(db::Connection &userConn, const QString &tableRef,
                                               const QString &condition, const QString &fieldRef,
                                               const QString &recRef)
{
    const QString inRows = condition.isEmpty() ? QString() : QStringLiteral("(") + condition + QStringLiteral(") AND ");
    const QString sql =
        QStringLiteral("SELECT MAX(%1 IS NOT NULL), MAX(CASE WHEN %2%3 IS NOT NULL THEN 1 ELSE 0 END), "
                       "MIN(CASE WHEN %2typeof(%3) IN ('text', 'blob') THEN %3 END) FROM %4")
            .arg(recRef, inRows, fieldRef, tableRef);
    try {
        db::Recordset rs = userConn.openRecordset(sql, db::CursorType::Static, db::LockType::ReadOnly, 1);
        if (rs.eof())
            return std::nullopt;
        StateAndNumbers read;
        read.state = rs.value(0).toInt() == 1 ? 1 : rs.value(1).toInt() == 1 ? 0 : -1;
        read.nonNumber = rs.value(2).isNull() ? QString() : rs.value(2).toString();
        return read;
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

} // namespace

QString roundedNote(int decimals)
{
    return QCoreApplication::translate("ConversionField", "Sume rotunjite la %n zecimale", nullptr, decimals);
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
            reason = QCoreApplication::translate("ConversionField",
                                                 "Coloana \"%1\" este convertita deja de un alt camp al tabelului; "
                                                 "campul nu a fost convertit.")
                         .arg(name);
        else if (recKey == nameKey || recoveries.contains(nameKey))
            reason = QCoreApplication::translate("ConversionField",
                                                 "Coloana \"%1\" este coloana de restaurare a unui camp al tabelului; "
                                                 "campul nu a fost convertit.")
                         .arg(name);
        else if (recoveries.contains(recKey) || amounts.contains(recKey))
            reason = QCoreApplication::translate("ConversionField",
                                                 "Coloana de restaurare \"%1\" este folosita si de un alt camp al "
                                                 "tabelului; campul nu a fost convertit.")
                         .arg(rec);
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

FieldProbe refreshConvertedState(db::Connection &userConn, qint32 idConnType, const QString &dataSource,
                                 const db::Recordset &tables, db::Recordset &fields, bool keptListMayTell)
{
    const QString owner = text(tables, "Owner");
    const QString tableName = text(tables, "TableName");
    const QString fieldName = text(fields, "FieldName");
    const QString recName = recoveryFieldName(fields);
    const QString tableRef = fgGetTableName(idConnType, owner, tableName);
    const QString condition = convertsql::joinConditions(text(tables, "SQLWhere"), text(fields, "SQLWhere"));
    const bool stored = fields.value(QStringLiteral("Converted")).toBool();
    FieldProbe probe;
    // What the program keeps of the table's columns may say that the
    // recovery column is not there: a hint that the field is in old lei,
    // taken only by a caller that asks the database again before it acts.
    if (keptListMayTell) {
        try {
            const std::vector<db::TableColumn> columns = userConn.tableColumns(tableName, owner);
            if (!columns.empty() && !db::findNamed(columns, recName)) {
                probe.converted = false;
                probe.hint = true;
                return probe;
            }
        } catch (const std::exception &) {
        }
    }
    QString probeError;
    qint32 state = fgGetConvertedState(userConn, convertsql::rowSource(tableRef, QString()),
                                       convertsql::rowSource(tableRef, condition), fgGetFieldName(idConnType, fieldName),
                                       fgGetFieldName(idConnType, recName), &probeError);
    if (!probeError.isEmpty()) {
        // Only a recovery column that is not there (any more: another
        // program may have dropped it) means "not converted". A missing
        // table or column, and any other failure (a lock time-out, a lost
        // server), tell nothing: the stored state stays and the field is not
        // touched.
        const StateProbeResult explained =
            explainFailedProbe(userConn, dataSource, tableName, owner, fieldName, recName, probeError);
        if (!explained.error.isEmpty()) {
            probe.converted = stored;
            probe.error = explained.error;
            return probe;
        }
        state = 0;
    }
    probe.converted = state == 1 ? true : state == 0 ? false : stored;
    // A state that did not change is not written again.
    if (probe.converted != stored || fields.value(QStringLiteral("Converted")).isNull()) {
        fields.setValue(QStringLiteral("Converted"), probe.converted);
        fields.update();
    }
    return probe;
}

namespace {

// Records a state the database told, where it differs from the stored one.
void recordState(db::Recordset &fields, bool converted)
{
    if (fields.value(QStringLiteral("Converted")).isNull()
        || fields.value(QStringLiteral("Converted")).toBool() != converted) {
        fields.setValue(QStringLiteral("Converted"), converted);
        fields.update();
    }
}

// The type of an existing column as the database declares it now.
db::ColumnType freshColumnType(db::Connection &userConn, const QString &table, const QString &owner,
                               const QString &column)
{
    const std::vector<db::TableColumn> columns = userConn.tableColumns(table, owner, true);
    const db::TableColumn *found = db::findNamed(columns, column);
    if (!found)
        return userConn.columnType(table, column, owner);
    return found->known ? found->type : userConn.columnType(table, found->name, owner);
}

QString restoreDiffersMessage(const FieldTotals &totals, const Changeover &changeover)
{
    return QCoreApplication::translate("ConversionField",
                                       "Suma restaurata (%1) difera de suma %2 din coloana de restaurare (%3); "
                                       "conversia inapoi a fost anulata, campul a ramas in %4.")
        .arg(totals.restoredSum, changeover.inLowerCase(false), totals.oldSum, changeover.inLowerCase(true));
}

// The field's own rounding rule ("" or "SUS"); "" in a project without the column.
QString fieldRounding(const db::Recordset &fields)
{
    if (fields.fieldIndex(QStringLiteral("Rounding")) < 0)
        return QString();
    return text(fields, "Rounding");
}

QString totalsFailedMessage(const QString &error)
{
    return QCoreApplication::translate("ConversionField",
                                       "Totalurile de control nu au putut fi citite (%1); conversia campului a fost "
                                       "anulata.")
        .arg(error);
}

} // namespace

void ConversionEngine::convertField(db::PooledConnection &lease, const QString &connString, qint32 idConnType,
                                    const QString &templateText, const QString &dataSource, db::Recordset &tables,
                                    db::Recordset &fields, bool pbLeiNoi, const QString &conflict,
                                    const QString &readOnly)
{
    const QString fieldName = text(fields, "FieldName");
    const QString tableName = text(tables, "TableName");
    const QString owner = text(tables, "Owner");
    const QString recName = recoveryFieldName(fields);

    qint32 recCount = 0;
    // A step that failed because another program kept the table locked
    // says so, whatever the step: its failure is told by its text.
    const LockTimeoutWatch locks;
    qint64 lockWaitMs = 0; // of the field's connection
    const auto explained = [&](const QString &message) {
        return locks.explained(message, tableName, lockWaitMs,
                               QLatin1Char(' ')
                                   + QCoreApplication::translate("ConversionField", "Campul nu a fost convertit."));
    };
    // A field that fails before its statements run: the message goes to its
    // row and to the report; its state stays as it is.
    const auto fail = [&](const QString &failure) {
        const QString message = explained(failure);
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
    lockWaitMs = lease->lockTimeoutMs();
    // The reads of the catalog and of the field's state have a limit; the
    // recovery column's command and the conversion itself have none.
    std::optional<db::TimedStatements> timed;
    timed.emplace(*lease, probeTimeout());
    // A table or an amount column the database does not have is an error,
    // never a state: the amounts may well be in new lei somewhere else.
    const QString missing = missingTableOrColumn(*lease, dataSource, tableName, owner, fieldName);
    if (!missing.isEmpty())
        return fail(missing);
    // Converting to new lei, a recovery column the program does not know of
    // is taken as a hint of old lei: the field's transaction asks the
    // database before anything changes. Converting back, the database is
    // asked here.
    const FieldProbe probe = refreshConvertedState(*lease, idConnType, dataSource, tables, fields, pbLeiNoi);
    if (!probe.error.isEmpty())
        return fail(probe.error);
    if (probe.converted == pbLeiNoi)
        return; // already in the wanted currency
    if (!readOnly.isEmpty())
        return fail(readOnly);

    // To new lei: the column must hold numbers, and the amounts are rounded
    // to the decimals it keeps.
    int columnScale = -1;
    bool singlePrecision = false;
    db::ColumnType fieldType; // as declared; the recovery column takes it
    bool recoveryKnown = false; // the program knows of a recovery column in the table
    if (pbLeiNoi) {
        try {
            fieldType = lease->columnType(tableName, fieldName, owner);
            const QString refused = fgFieldTypeMessage(fieldType.adoType);
            if (!refused.isEmpty())
                return fail(refused);
            columnScale = fieldType.scale;
            singlePrecision = fieldType.adoType == db::adSingle;
            recoveryKnown = db::findNamed(lease->tableColumns(tableName, owner), recName) != nullptr;
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
    timed.reset();
    lease.release();
    const QString message = fgCreateRecoveryField(static_cast<qint32>(tables.value(QStringLiteral("IdTable")).toInt()),
                                                  recName, false, fieldName, fieldType.declaration);
    try {
        lease = db::ConnectionPool::shared().acquire(connString);
    } catch (const std::exception &e) {
        return fail(message.isEmpty() ? errorText(e) : message);
    }
    if (!message.isEmpty())
        return fail(message);
    db::Connection &userConn = *lease;

    // A recovery column that was there already (left from an earlier
    // attempt, or made by hand) must keep every amount exactly: one of a
    // narrower type would lose the copy the conversion back needs.
    if (pbLeiNoi) {
        try {
            const db::TimedStatements catalogRead(userConn, probeTimeout());
            const db::ColumnType recType = recoveryKnown ? freshColumnType(userConn, tableName, owner, recName)
                                                         : userConn.columnType(tableName, recName, owner);
            const QString misfit =
                fgRecoveryColumnMisfit(fieldName, fieldType, recName, recType, userConn.weaklyTyped());
            if (!misfit.isEmpty())
                return fail(misfit);
        } catch (const std::exception &e) {
            return fail(errorText(e));
        }
    }

    const QString tableRef = fgGetTableName(idConnType, owner, tableName);
    const QString fieldRef = fgGetFieldName(idConnType, fieldName);
    const QString recRef = fgGetFieldName(idConnType, recName);
    const QString condition = convertsql::joinConditions(text(tables, "SQLWhere"), text(fields, "SQLWhere"));
    // The new amount: the changeover's rate, the field's rule (or the
    // changeover's), the decimals the column keeps at most the changeover's.
    // A field rounded by a rule its type's statements do not write runs the
    // program's guarded statement instead.
    const int keptDecimals = keptDecimalsOf(mChangeover, templateText);
    convertsql::RateRule rule;
    rule.rate = mChangeover.rate;
    rule.rounding = effectiveRounding(fieldRounding(fields), mChangeover);
    rule.decimals = keptDecimals;
    const TotalsDialect engine = totalsDialect(userConn);
    rule.rateFunction = engine == TotalsDialect::Sqlite || engine == TotalsDialect::Dbf;
    const QString fieldTemplate = pbLeiNoi && !rule.rounding.isEmpty() && !convertsql::usesRateRule(templateText)
                                      ? convertsql::rateConvertTemplate()
                                      : templateText;
    const QStringList statements = convertsql::convertStatements(fieldTemplate, fieldRef, recRef, tableRef, condition,
                                                                 columnScale, singlePrecision, rule);

    // The control totals are read by the database in the same transaction.
    std::optional<ControlTotals> totals;
    if (mReport.WantsTotals())
    {
        totals.emplace(userConn, tableName, owner, fieldName, tableRef, fieldRef, recRef, pbLeiNoi);
        totals->setKeptDecimals(keptDecimals >= 0 ? keptDecimals : 2);
        totals->setRate(mChangeover.rate);
    }

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
    // The state that decides, read by the database inside the transaction:
    // another program (or a second run) may have converted the field since
    // it was probed, and its new rows then hold new lei with no recovery
    // value, which the row guards alone would convert again.
    const auto stateNow = [&](QString *error) {
        const db::TimedStatements probeRead(userConn, probeTimeout());
        return fgGetConvertedState(userConn, convertsql::rowSource(tableRef, QString()),
                                   convertsql::rowSource(tableRef, condition), fieldRef, recRef, error);
    };
    const bool stored = fields.value(QStringLiteral("Converted")).toBool();
    const auto nothingToDo = [&](qint32 state) {
        // Already in the wanted currency: nothing to do, nothing to report.
        try {
            userConn.rollbackTrans();
        } catch (const std::exception &) {
        }
        if (state != -1)
            recordState(fields, pbLeiNoi);
    };
    // On the built-in SQLite with control totals, the totals' pass after the
    // one statement tells the state that decides and the amounts that are
    // not numbers (one pass less over the table): recovery values beyond the
    // rows the statement converted mean the field was converted meanwhile,
    // and the transaction is rolled back. Elsewhere they are read first.
    const bool stateAfter = pbLeiNoi && totals && totals->checksNumbers() && statements.size() == 1;
    if (!stateAfter) {
        QString probeError;
        std::optional<StateAndNumbers> oneRead;
        if (pbLeiNoi && !userConn.nonNumericValuesQuery(tableRef, condition, fieldRef).isEmpty()) {
            const db::TimedStatements probeRead(userConn, probeTimeout());
            oneRead = stateAndNumbers(userConn, tableRef, condition, fieldRef, recRef);
        }
        const qint32 state = oneRead ? oneRead->state : stateNow(&probeError);
        if (!probeError.isEmpty())
            appendError(probeError);
        if (errors.isEmpty() && (state == 1 ? true : state == 0 ? false : stored) == pbLeiNoi)
            return nothingToDo(state);
        if (errors.isEmpty() && pbLeiNoi)
            appendError(oneRead ? (oneRead->nonNumber.isEmpty() ? QString()
                                                                : nonNumericMessage(fieldName, oneRead->nonNumber))
                                : nonNumericValues(userConn, tableRef, condition, fieldRef, fieldName));
    }
    if (errors.isEmpty() && totals) {
        totals->beforeStatements();
        if (!totals->failure().isEmpty())
            appendError(totalsFailedMessage(totals->failure()));
    }
    if (errors.isEmpty()) {
        for (const QString &statement : statements) {
            try {
                recCount = static_cast<qint32>(userConn.execute(statement));
            } catch (const std::exception &e) {
                appendError(errorText(e));
            }
        }
    }
    // A statement that failed on an amount that is not a number says so as
    // the check before it would have.
    if (!errors.isEmpty() && stateAfter) {
        const QString nonNumbers = nonNumericValues(userConn, tableRef, condition, fieldRef, fieldName);
        if (!nonNumbers.isEmpty())
            errors = nonNumbers;
    }
    // What the database shows of the work before the commit: the rows the
    // statements converted hold their recovery values, the restored ones
    // none. The same must hold after the commit.
    bool expectConverted = false, expectRestored = false;
    if (errors.isEmpty() && recCount != 0) {
        QString workError;
        const qint32 work = stateNow(&workError);
        if (!workError.isEmpty())
            appendError(workError);
        else if (pbLeiNoi)
            expectConverted = work == 1;
        else
            expectRestored = work != 1;
    }
    FieldTotals fieldTotals;
    if (errors.isEmpty() && totals) {
        fieldTotals = totals->afterStatements();
        bool counted = false;
        const qint64 withRecovery = fieldTotals.rows.toLongLong(&counted);
        if (!totals->failure().isEmpty())
            appendError(totalsFailedMessage(totals->failure()));
        else if (stateAfter && !fieldTotals.nonNumber.isEmpty())
            appendError(nonNumericMessage(fieldName, fieldTotals.nonNumber));
        else if (stateAfter && !counted)
            appendError(totalsFailedMessage(
                QCoreApplication::translate("ConversionField", "numarul inregistrarilor nu a putut fi citit")));
        else if (stateAfter && withRecovery > recCount)
            return nothingToDo(1); // converted meanwhile: its recovery values were there before
        else if (stateAfter && recCount == 0 && stored == pbLeiNoi)
            return nothingToDo(-1);
        else if (!pbLeiNoi && fieldTotals.available() && !fieldTotals.approximate && !fieldTotals.restoredMatches)
            appendError(restoreDiffersMessage(fieldTotals, mChangeover));
    }
    // A commit is only asked for when every statement succeeded. One the
    // database does not answer within the lock timeout is abandoned with its
    // connection, and one whose link broke may have been kept: the field's
    // state is then asked afresh.
    bool committed = false;
    // From the commit on, the user's Stop no longer cuts in: what the
    // database kept is confirmed and recorded.
    const db::StopScope finishing(nullptr);
    if (errors.isEmpty()) {
        const Interruption interruption{userConn.sessionId(), userConn.clusterNodeId(), lockWaitMs};
        try {
            userConn.commitTrans(lockWaitMs);
            committed = true;
        } catch (const db::DbError &e) {
            if (e.kind() == db::DbError::Kind::NoAnswer || e.kind() == db::DbError::Kind::LinkLost) {
                const QString message = e.description() + QLatin1Char(' ')
                                        + stateAfterInterruption(lease, connString, idConnType, dataSource, tables,
                                                                 fields, interruption, mChangeover);
                fields.setValue(QStringLiteral("Error"), message);
                fields.update();
                mReport.AddField(dataSource, tableName, fieldName, 0, message, QString());
                return;
            }
            appendError(errorText(e));
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
    // The database confirms the work it committed, by the query that
    // decides the state: the converted rows hold their recovery values, the
    // restored ones none. A read that fails (the server went away just
    // after the commit) takes nothing back: the commit was confirmed, and
    // the field is recorded as the database said, with the failed check
    // told.
    if (committed && (expectConverted || expectRestored)) {
        QString confirmError;
        const qint32 after = stateNow(&confirmError);
        if (!confirmError.isEmpty()) {
            appendError(QCoreApplication::translate("ConversionField",
                                                    "Baza de date a confirmat tranzactia, dar starea campului nu a "
                                                    "putut fi citita din nou: %1")
                            .arg(confirmError));
        } else if (pbLeiNoi ? after != 1 : after == 1) {
            appendError(QCoreApplication::translate("ConversionField",
                                                    "Baza de date a confirmat tranzactia, dar nu arata campul "
                                                    "convertit; starea lui a fost citita din nou din baza de date."));
            committed = false;
            if (after != -1)
                recordState(fields, after == 1);
        }
    }
    errors = explained(errors);
    if (committed)
        fields.setValue(QStringLiteral("Converted"), pbLeiNoi);
    fields.setValue(QStringLiteral("Error"), errors.isEmpty() ? db::Variant::null() : db::Variant(errors));
    fields.update();

    // Nothing of a rolled-back field stays changed: it reports no records.
    QString note;
    if (!errors.isEmpty() && !committed)
        recCount = 0;
    else if (pbLeiNoi && convertsql::keepsFewerDecimals(columnScale, keptDecimals))
        note = roundedNote(columnScale);
    mReport.AddField(dataSource, tableName, fieldName, recCount, errors, note);
    if (errors.isEmpty() && totals)
        mReport.AddFieldTotals(fieldTotals);
}

} // namespace conversion
