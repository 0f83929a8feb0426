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
std::vector<StateProbeResult> probeTableStates(db::Connection &userConn, const QString &table, const QString &owner,
                                               const QString &tableRef, const std::vector<StateProbeField> &fields,
                                               bool typesWanted = false);

// One field on its own: its two probe queries, and when they fail, whether
// the recovery column is missing (old lei) or the failure is the answer.
StateProbeResult probeFieldState(db::Connection &userConn, const QString &table, const QString &owner,
                                 const QString &tableRef, const StateProbeField &field);

} // namespace conversion
