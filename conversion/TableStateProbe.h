#pragma once

#include <QString>
#include <vector>

namespace db {
class Connection;
}

namespace conversion {

// One field of a user table whose state is read. The references are written
// by the naming rules of the data source's type.
struct StateProbeField {
    QString fieldName; // the amount column's name as stored
    QString fieldRef;  // the amount column as the statements name it
    QString recName;   // the recovery column's name as stored, looked for in the catalog
    QString recRef;    // the recovery column as the statements name it
    QString condition; // which rows of the table the field covers; "" for all
};

// What the probe of one field found, as fgGetConvertedState tells it: 1 when
// the recovery column holds a value (new lei), 0 when it holds none but the
// field does or when the recovery column is not there (old lei), -1 when both
// hold only Nulls (nothing tells). `error` is "" when the state was read;
// otherwise it holds the provider's message and `state` means nothing.
struct StateProbeResult {
    qint32 state = 0;
    QString error;
};

// Reads the states of some fields of one table (`table` and `owner` as the
// catalog lists them, `tableRef` as the statements name it). A recovery
// column is looked at over the whole table, a field over its rows. The
// results are in the order of `fields` and are the ones probeFieldState
// gives field by field.
//
// The table's column list is read once: a field whose recovery column is not
// in it is in old lei without a query. The others are read together, many to
// a query, on the engines whose SQL is known (SQLite, PostgreSQL, MySQL and
// MariaDB) and outside a transaction; elsewhere, and for the fields of a
// query that fails, they are read one by one, so a field that cannot be
// read never hides the states of its neighbours.
//
// `typesWanted`: the caller asks the types of the table's columns next
// (Connection::columnType); the list is then read with them, once for both.
//
// The column list is read afresh from the database, never taken from what
// the program keeps: it decides "not converted" for a missing recovery
// column. A table the database does not have, or a field whose column it
// does not have, gets the error that says so, never a state. `dataSource`
// names the data source in those messages.
std::vector<StateProbeResult> probeTableStates(db::Connection &userConn, const QString &table, const QString &owner,
                                               const QString &tableRef, const std::vector<StateProbeField> &fields,
                                               bool typesWanted = false, const QString &dataSource = QString());

// One field on its own: its two probe queries, and when they fail, whether
// the recovery column is missing (old lei) or the failure is the answer.
StateProbeResult probeFieldState(db::Connection &userConn, const QString &table, const QString &owner,
                                 const QString &tableRef, const StateProbeField &field,
                                 const QString &dataSource = QString());

// What a probe that failed with `error` means, asked of the database's
// catalog at once (nothing kept is used): a missing recovery column means
// old lei (state 0, no error); a missing table or amount column gives the
// message that names it; anything else leaves the probe's own error.
StateProbeResult explainFailedProbe(db::Connection &userConn, const QString &dataSource, const QString &table,
                                    const QString &owner, const QString &fieldName, const QString &recName,
                                    const QString &error);

// "" when the table and the field's amount column are in the database,
// otherwise the message naming the one that is not (and the data source).
// What the program keeps of the table's columns is asked first; a table or
// column it does not show is asked of the database again.
QString missingTableOrColumn(db::Connection &userConn, const QString &dataSource, const QString &table,
                             const QString &owner, const QString &fieldName);

// The messages of a table, or a column of a field, that the data source does not have.
QString tableNotFoundMessage(const QString &table, const QString &dataSource);
QString columnNotFoundMessage(const QString &column, const QString &table, const QString &dataSource);

} // namespace conversion
