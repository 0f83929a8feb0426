#pragma once

#include <memory>

struct sqlite3;

namespace db {

// The in-memory SQLite database the DBF provider runs statements over, with
// its exact decimal functions: DECIMAL_SHIFT(x, n) (x times 10^n),
// DECIMAL_ROUND(x, d) (halves away from zero), DECIMAL_SUB(a, b) and the
// aggregate DECIMAL_SUM(x), and the collation DBFNUM (numbers by value,
// before any text that is not a number). Throws DbError when it cannot be
// opened.
using DbfMemory = std::shared_ptr<sqlite3>;
DbfMemory openDbfMemory();

} // namespace db
