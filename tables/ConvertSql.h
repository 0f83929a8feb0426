#pragma once

#include <QString>
#include <QStringList>

// Filling the conversion templates of tConnType (ConvertSQL, ConvertBackSQL)
// for one field. Window-free; names are passed already written by the naming
// rules of the data source's type.
namespace convertsql {

// The row condition of a field from its table's and its own condition:
// "(T) AND (F)" when both are given, the one given alone, or "".
QString joinConditions(const QString &pstrTableWhere, const QString &pstrFieldWhere);

// The rows a field's conversion touches: "SELECT * FROM " + table, followed by
// " WHERE " + condition when there is one.
QString rowSource(const QString &pstrTableRef, const QString &pstrCondition);

// Replaces, each everywhere and case-sensitively, in this order:
// "[FIELD_NAME]", "[REC_FIELD_NAME]", "[TABLE_NAME]", then "[WHERE]" by
// " WHERE (condition)" and "[AND]" by " AND (condition)" (both by "" when
// the condition is empty).
QString fillConvertTemplate(const QString &pstrTemplate, const QString &pstrFieldName,
                            const QString &pstrRecFieldName, const QString &pstrTableRef,
                            const QString &pstrCondition);

// Splits a filled template at every "[GO]" (case-sensitive). A text without
// "[GO]" is one statement; pieces keep their blanks and line breaks, and an
// empty piece stays in the list.
QStringList splitStatements(const QString &pstrText);

} // namespace convertsql
