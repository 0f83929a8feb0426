#pragma once

#include <QString>
#include <QStringList>

// Filling the conversion templates of tConnType (ConvertSQL, ConvertBackSQL)
// for one field. Window-free; names are passed already written by the naming
// rules of the data source's type.
namespace convertsql {

// How "[NEW_AMOUNT]" computes the new amount of a field: the amount divided
// by `rate` (old units for one new unit, an exact decimal text such as
// "1.95583", used in full) and rounded once, on the exact quotient, by
// `rounding` ("" halves away from zero, "SUS" up when the next decimal is
// not zero, away from zero), to `decimals` places at most (-1: as the
// column keeps them).
struct RateRule {
    QString rate = QStringLiteral("10000");
    QString rounding;
    int decimals = -1;
    // SQLite and the DBF provider divide with the program's RATE_DIVIDE
    // function; the other engines with their exact NUMERIC/DECIMAL type.
    bool rateFunction = false;
};

// The expression of the new amount of `amount` rounded to `decimals`:
// RATE_DIVIDE(...) for an engine with the function; otherwise the quotient
// in units of the first decimal past those kept, as a scaled decimal
// division that every engine computes with more decimals than the half
// decision needs, truncated with FLOOR and rounded by the rule, on the
// absolute value with the sign put back.
QString newAmountSql(const QString &amount, const RateRule &rule, int decimals);

// The guarded UPDATE of a field whose new amount is "[NEW_AMOUNT]": used for
// a field rounded by a rule that its type's statements do not write.
QString rateConvertTemplate();

// True when a conversion template computes the new amount with "[NEW_AMOUNT]".
bool usesRateRule(const QString &pstrTemplate);

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
// digits). "[NEW_AMOUNT]" by newAmountSql of "[AMOUNT]" under `pRule`,
// rounded to the decimals the column keeps, at most the rule's.
QString fillConvertTemplate(const QString &pstrTemplate, const QString &pstrFieldName,
                            const QString &pstrRecFieldName, const QString &pstrTableRef,
                            const QString &pstrCondition, int pnColumnScale = -1,
                            bool pbSinglePrecision = false, const RateRule &pRule = RateRule());

// The statements of a template for one field: split at "[GO]" first, then
// each piece filled, so that no name or condition can split a statement.
QStringList convertStatements(const QString &pstrTemplate, const QString &pstrFieldName,
                              const QString &pstrRecFieldName, const QString &pstrTableRef,
                              const QString &pstrCondition, int pnColumnScale = -1,
                              bool pbSinglePrecision = false, const RateRule &pRule = RateRule());

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
