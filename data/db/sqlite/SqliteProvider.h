#pragma once

#include "data/db/Connection.h"

namespace db {

// Opens the built-in SQLite provider on a file. The file must exist. A file
// the process may not write, or `readOnly`, opens for reading only.
// Connections of this process opened with `sharedCache` on the same file
// share one page cache and one copy of its schema: a column one of them adds
// is known to the others without each reading the whole schema again. They
// see each other's tables locked (not waiting) while one writes, so they
// suit connections used one after the other, as the steps of a run are.
// A statement waits at most `lockTimeoutMs` for a file another program
// locks (0: not at all), then fails with DbError::Kind::LockTimeout.
std::unique_ptr<Provider> openSqliteProvider(const QString &path, bool readOnly = false, bool sharedCache = false,
                                             qint64 lockTimeoutMs = 30000);

// ADO type number of a SQLite declared column type: the names the windows
// know first, then SQLite's own affinity rules (a name that says nothing
// else, such as NUMBER(10,2), is numeric).
int adoTypeFromDeclaredType(const QString &declaredType);

// Decimals every value of a column of this SQLite declared type keeps: 0 for
// integer affinity, 4 for MONEY/CURRENCY, the scale of "(p,s)" ("(p)" is 0)
// for other numeric names, -1 otherwise.
int scaleFromDeclaredType(const QString &declaredType);

} // namespace db
