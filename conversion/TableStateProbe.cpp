#include "conversion/TableStateProbe.h"

#include "conversion/ConversionEngine.h"
#include "conversion/EngineSupport.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "tables/ConvertSql.h"
#include "tables/RecoveryField.h"

#include <QCoreApplication>
#include <QSet>

namespace conversion {

namespace {

// Fields read by one query: enough to make a table of a few dozen fields
// one round trip, few enough to keep the statement short.
constexpr std::size_t kFieldsPerQuery = 50;

// The names of the table's columns, case folded, as the database lists them
// now; false when the list could not be read or found no table. With
// `typesWanted` they come from the connection's list of the table with the
// columns' types, read afresh and kept for the caller's next questions;
// otherwise from the plain columns list, which some providers read much
// faster.
bool readColumnNames(db::Connection &userConn, const QString &table, const QString &owner, bool typesWanted,
                     QSet<QString> &names)
{
    try {
        if (typesWanted) {
            for (const db::TableColumn &column : userConn.tableColumns(table, owner, true))
                names.insert(column.name.toCaseFolded());
        } else {
            db::Recordset columns = userConn.columns(table, owner);
            const int name = columns.fieldIndex(QStringLiteral("COLUMN_NAME"));
            for (; !columns.eof(); columns.moveNext())
                names.insert(columns.value(name).toString().toCaseFolded());
        }
    } catch (const std::exception &) {
        names.clear();
        return false;
    }
    return !names.isEmpty();
}

// The names of the table's columns as the database lists them now; empty
// when it has no such table. Throws what the provider throws.
std::vector<db::TableColumn> freshColumns(db::Connection &userConn, const QString &table, const QString &owner)
{
    return userConn.tableColumns(table, owner, true);
}

bool listedIn(const std::vector<db::TableColumn> &columns, const QString &name)
{
    return db::findNamed(columns, name) != nullptr;
}

// One row, one column for each field: 1, 0 or -1 as the field's own two
// probes would answer (the recovery column over the whole table first, then
// the field over its rows). EXISTS stops at the first row, as the probes
// do. A column of the table's list is read from the table itself, which
// the engine plans far faster than the same rows through a derived table;
// a condition keeps the derived table, so that its text is read exactly as
// the probe reads it. "" on engines whose SQL is not known, and inside a
// transaction.
QString statesQuery(const db::Connection &userConn, const QString &tableRef, const QSet<QString> &columns,
                    const std::vector<const StateProbeField *> &fields)
{
    // A query that fails inside a transaction would spoil it (PostgreSQL):
    // there the fields are read one by one.
    if (userConn.inTransaction())
        return QString();
    switch (userConn.dialect()) {
    case db::SqlDialect::Sqlite:
    case db::SqlDialect::PostgreSql:
    case db::SqlDialect::MySql: break;
    default: return QString();
    }
    const auto anyValue = [&](const QString &name, const QString &column, const QString &condition) {
        const QString from = condition.isEmpty() && columns.contains(name.toCaseFolded())
                                 ? tableRef
                                 : QStringLiteral("(") + convertsql::rowSource(tableRef, condition)
                                       + QStringLiteral(") VamorRows");
        return QStringLiteral("EXISTS (SELECT 1 FROM ") + from + QStringLiteral(" WHERE Not ") + column
               + QStringLiteral(" Is Null)");
    };
    // PostgreSQL's driver reads a VALUES row at once, where it would open
    // and close a cursor around a SELECT.
    const bool values = userConn.dialect() == db::SqlDialect::PostgreSql;
    QString sql = values ? QStringLiteral("VALUES (") : QStringLiteral("SELECT ");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const StateProbeField &f = *fields[i];
        if (i > 0)
            sql += QStringLiteral(", ");
        sql += QStringLiteral("CASE WHEN ") + anyValue(f.recName, f.recRef, QString()) + QStringLiteral(" THEN 1 WHEN ")
               + anyValue(f.fieldName, f.fieldRef, f.condition) + QStringLiteral(" THEN 0 ELSE -1 END");
    }
    return values ? sql + QLatin1Char(')') : sql;
}

// The states of `fields` (indexes into `all`) read by one query; false when
// the query failed or gave something else than a state for each field. A
// query that waited in vain (a lock that did not come, the user's stop,
// or the statement timeout) gives each field its error: reading them one by
// one would only wait again.
bool readTogether(db::Connection &userConn, const QString &tableRef, const QSet<QString> &columns,
                  const std::vector<StateProbeField> &all, const std::vector<std::size_t> &fields,
                  std::vector<StateProbeResult> &results)
{
    std::vector<const StateProbeField *> probed;
    probed.reserve(fields.size());
    for (std::size_t i : fields)
        probed.push_back(&all[i]);
    const QString sql = statesQuery(userConn, tableRef, columns, probed);
    if (sql.isEmpty())
        return false;
    std::vector<qint32> states;
    try {
        db::Recordset rs = userConn.openRecordset(sql, db::CursorType::Static, db::LockType::ReadOnly, 1);
        if (rs.eof() || rs.fieldCount() != static_cast<int>(fields.size()))
            return false;
        for (int column = 0; column < rs.fieldCount(); ++column) {
            bool ok = false;
            const qint32 state = rs.value(column).toString().toInt(&ok);
            if (!ok || state < -1 || state > 1)
                return false;
            states.push_back(state);
        }
    } catch (const db::DbError &e) {
        if (e.kind() == db::DbError::Kind::Other)
            return false;
        for (std::size_t i : fields)
            results[i] = StateProbeResult{0, e.description()};
        return true;
    } catch (const std::exception &) {
        return false;
    }
    for (std::size_t i = 0; i < fields.size(); ++i)
        results[fields[i]] = StateProbeResult{states[i], QString()};
    return true;
}

} // namespace

QString tableNotFoundMessage(const QString &table, const QString &dataSource)
{
    return QCoreApplication::translate("TableStateProbe",
                                       "Tabelul \"%1\" nu a fost gasit in sursa de date \"%2\"; campul nu a fost "
                                       "convertit, iar starea lui inregistrata a ramas neschimbata.")
        .arg(table, dataSource);
}

QString columnNotFoundMessage(const QString &column, const QString &table, const QString &dataSource)
{
    return QCoreApplication::translate("TableStateProbe",
                                       "Coloana \"%1\" nu a fost gasita in tabelul \"%2\" al sursei de date \"%3\"; "
                                       "campul nu a fost convertit, iar starea lui inregistrata a ramas neschimbata.")
        .arg(column, table, dataSource);
}

QString missingTableOrColumn(db::Connection &userConn, const QString &dataSource, const QString &table,
                             const QString &owner, const QString &fieldName)
{
    try {
        std::vector<db::TableColumn> columns = userConn.tableColumns(table, owner);
        if (columns.empty() || !listedIn(columns, fieldName))
            columns = freshColumns(userConn, table, owner);
        if (columns.empty())
            return tableNotFoundMessage(table, dataSource);
        if (!listedIn(columns, fieldName))
            return columnNotFoundMessage(fieldName, table, dataSource);
    } catch (const std::exception &e) {
        return detail::errorText(e);
    }
    return QString();
}

StateProbeResult explainFailedProbe(db::Connection &userConn, const QString &dataSource, const QString &table,
                                    const QString &owner, const QString &fieldName, const QString &recName,
                                    const QString &error)
{
    try {
        const std::vector<db::TableColumn> columns = freshColumns(userConn, table, owner);
        if (columns.empty())
            return StateProbeResult{0, tableNotFoundMessage(table, dataSource)};
        if (!listedIn(columns, fieldName))
            return StateProbeResult{0, columnNotFoundMessage(fieldName, table, dataSource)};
        if (!listedIn(columns, recName))
            return StateProbeResult{0, QString()};
    } catch (const std::exception &) {
        // The list cannot be read either: the probe's own error says why.
    }
    return StateProbeResult{0, error};
}

StateProbeResult probeFieldState(db::Connection &userConn, const QString &table, const QString &owner,
                                 const QString &tableRef, const StateProbeField &field, const QString &dataSource)
{
    StateProbeResult result;
    QString error;
    result.state = fgGetConvertedState(userConn, convertsql::rowSource(tableRef, QString()),
                                       convertsql::rowSource(tableRef, field.condition), field.fieldRef, field.recRef,
                                       &error);
    if (error.isEmpty())
        return result;
    // Only a recovery column that is not there yet means "not converted";
    // a missing table or column is an error, and any other failure tells
    // nothing.
    return explainFailedProbe(userConn, dataSource, table, owner, field.fieldName, field.recName, error);
}

std::vector<StateProbeResult> probeTableStates(db::Connection &userConn, const QString &table, const QString &owner,
                                               const QString &tableRef, const std::vector<StateProbeField> &fields,
                                               bool typesWanted, const QString &dataSource)
{
    std::vector<StateProbeResult> results(fields.size());
    QSet<QString> columns;
    const bool listed = readColumnNames(userConn, table, owner, typesWanted, columns);

    // A recovery column missing from the table as the database lists it
    // now: nothing to read. A field whose own column is missing is an
    // error. A table the list does not find is left to the queries, and to
    // the list read again when they fail, which say why.
    std::vector<std::size_t> toRead;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (listed && !columns.contains(fields[i].fieldName.toCaseFolded()))
            results[i] = StateProbeResult{0, columnNotFoundMessage(fields[i].fieldName, table, dataSource)};
        else if (listed && !columns.contains(fields[i].recName.toCaseFolded()))
            results[i] = StateProbeResult{0, QString()};
        else
            toRead.push_back(i);
    }

    for (std::size_t first = 0; first < toRead.size(); first += kFieldsPerQuery) {
        const std::vector<std::size_t> chunk(toRead.begin() + static_cast<std::ptrdiff_t>(first),
                                             toRead.begin()
                                                 + static_cast<std::ptrdiff_t>(qMin(first + kFieldsPerQuery,
                                                                                    toRead.size())));
        // A list not read names no column: every field through a derived table.
        if (readTogether(userConn, tableRef, columns, fields, chunk, results))
            continue;
        for (std::size_t i : chunk)
            results[i] = probeFieldState(userConn, table, owner, tableRef, fields[i], dataSource);
    }
    return results;
}

} // namespace conversion
