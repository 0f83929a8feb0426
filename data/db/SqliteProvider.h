#pragma once

#include "data/db/Connection.h"

namespace db {

// Opens the built-in SQLite provider on a file. The file must exist.
std::unique_ptr<Provider> openSqliteProvider(const QString &path);

// ADO type number of a SQLite declared column type.
int adoTypeFromDeclaredType(const QString &declaredType);

} // namespace db
