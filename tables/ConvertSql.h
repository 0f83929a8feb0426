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

// Replaces, case-sensitively, every "[FIELD_NAME]", "[REC_FIELD_NAME]" and
// "[TABLE_NAME]" by the names, "[WHERE]" by " WHERE (condition)" and "[AND]"
// by " AND (condition)" (both by "" when the condition is empty), in one
// pass: text that a replacement brings in is never read again, so a name
// written "[TABLE_NAME]" or "[GO]" by a naming rule stays that name.
//
// And our own two: "[DECIMALS:N]" (N a whole number) by the decimals the new
// amount is rounded to: the decimals the field's column keeps
// (`pnColumnScale`, -1 when the column keeps any number), at most N, so no
// engine rounds or truncates the amount a second time when it is stored;
// "[AMOUNT]" by the amount as the arithmetic reads it: the field itself, or
// for a single-precision column "(field + 0E0)", widened exactly to double
// precision (PostgreSQL turns a real into a decimal with only 6 significant
// digits).
QString fillConvertTemplate(const QString &pstrTemplate, const QString &pstrFieldName,
                            const QString &pstrRecFieldName, const QString &pstrTableRef,
                            const QString &pstrCondition, int pnColumnScale = -1,
                            bool pbSinglePrecision = false);

// The statements of a template for one field: split at "[GO]" first, then
// each piece filled, so that no name or condition can split a statement.
QStringList convertStatements(const QString &pstrTemplate, const QString &pstrFieldName,
                              const QString &pstrRecFieldName, const QString &pstrTableRef,
                              const QString &pstrCondition, int pnColumnScale = -1,
                              bool pbSinglePrecision = false);

// The N of the first "[DECIMALS:N]" of a template: the decimals it rounds to
// at most; -1 when the template has none.
int roundingDecimals(const QString &pstrTemplate);

// The decimals an amount is rounded to in a column that keeps
// `pnColumnScale` decimals (-1: any) under a template rounding to at most
// `pnRounding` (-1: not known).
int effectiveDecimals(int pnColumnScale, int pnRounding);

// True when a column keeping `pnColumnScale` decimals keeps fewer than the
// template's rounding: its new amounts lose decimals (bani) an exact
// conversion would have.
bool keepsFewerDecimals(int pnColumnScale, int pnRounding);

// Splits a filled template at every "[GO]" (case-sensitive). A text without
// "[GO]" is one statement; pieces keep their blanks and line breaks, and an
// empty piece stays in the list.
QStringList splitStatements(const QString &pstrText);

} // namespace convertsql
