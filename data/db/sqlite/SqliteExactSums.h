#pragma once

struct sqlite3;

namespace db {

// Registers the aggregate EXACT_UNITS(value, scale) on a SQLite database:
// the sum of the values as whole units of 10^-scale (12.5 at scale 2 is
// 1250), or Null when one of them has no exact value at that scale: a real
// holding more decimals, a real of 15 significant digits or more, an
// integer too large to scale, text or a blob, or a sum beyond 64-bit
// integers. Nulls are left out; no row gives 0. One pass over the rows,
// where the same sum written in SQL formats every real twice.
void registerExactSums(sqlite3 *db);

} // namespace db
