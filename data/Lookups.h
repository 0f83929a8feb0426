#pragma once

#include "data/db/Variant.h"

#include <QString>

namespace db {
class Connection;
}

// The value of `field` in the first row of "SELECT field FROM table WHERE
// condition": Empty when no row matches, Null when the column is Null. The
// three texts are spliced in unchanged (callers pass ready SQL fragments).
// Errors are shown with the standard error box and give Empty.
db::Variant fgLookup(db::Connection &pConn, const QString &pstrTable, const QString &pstrField,
                     const QString &pstrCondition);

// The replacement when the value is Null, otherwise the value itself.
db::Variant fgNZ(const db::Variant &pvarValue, const db::Variant &pvarReplacement);

// Null for the empty text and for the number zero (Empty counts as the empty
// text); any other value, the text "0" included, unchanged.
db::Variant fgZN(const db::Variant &pvarValue);

// A text written as an SQL string literal for the project database: in single
// quotes, a quote inside doubled ("O'Brien" -> 'O''Brien'). Also the form of
// a text in a recordset filter.
QString fgSqlText(const QString &pstrText);
