#pragma once

#include <QString>

namespace db {
struct ColumnType;
}

// Whether a recovery column that is already in the user's table can keep
// every value of its amount column exactly. A column of the same type
// always can; otherwise a type of the same family that is at least as wide:
// a decimal with at least as many decimals and as many digits before the
// point, an integer at least as wide, a float of the same width. On a
// weakly typed engine (SQLite) the declared type only decides how a value
// is stored: there a recovery column fits unless its storage would change
// the value (a TEXT column, or a REAL column for amounts that are not REAL).
//
// "" when it fits, otherwise the message naming both columns and types.
QString fgRecoveryColumnMisfit(const QString &pstrFieldName, const db::ColumnType &pField,
                               const QString &pstrRecFieldName, const db::ColumnType &pRec, bool pbWeaklyTyped);
