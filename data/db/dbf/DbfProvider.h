#pragma once

#include "data/db/Connection.h"

namespace db {

// Opens the DBF provider on a folder of dBase / FoxPro tables
// ("Provider=DBF;Data Source=FOLDER"). A table is named by its file name,
// with or without ".dbf", in any case.
//
// Each statement runs over an in-memory SQLite copy of the tables it names.
// Changed tables are written back when the statement ends (outside a
// transaction) or on commit, each as a new file renamed over the old one;
// a rollback writes nothing. Numeric (N, F) and currency (Y) values are
// kept as exact decimal text; the functions DECIMAL_SHIFT(x, n) (x times
// 10^n) and DECIMAL_ROUND(x, d) (halves away from zero) compute on them
// exactly, and DECIMAL_SUM(x) (an aggregate) and DECIMAL_SUB(a, b) add and
// subtract them exactly. A statement that would change a column an index file of the
// folder may use (DbfIndexFiles) is refused before anything changes, and the
// type of such a column is not given (columnType throws the reason), so a
// conversion fails it before adding a recovery column.
//
// A table is changed only while no other program holds it, and only if it is
// still the file read (DbfTableGuard): checked before its first change and
// again just before its new file replaces it. Another program's hold is
// waited for at most `lockTimeoutMs` ("LockTimeout=SECONDS" in the
// connection string); then the statement fails and nothing is written.
inline constexpr int kDbfDefaultLockTimeoutMs = 3000;
std::unique_ptr<Provider> openDbfProvider(const QString &folder, bool readOnly = false,
                                          int lockTimeoutMs = kDbfDefaultLockTimeoutMs);

} // namespace db
