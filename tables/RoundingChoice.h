#pragma once

#include <QString>

class QComboBox;
class QWidget;

namespace db {
class Recordset;
}

// A field's rounding rule as the field dialogs offer it: the project's own
// (stored as Null: halves away from zero in the templates shipped) or "SUS"
// (up when the next decimal is not zero, for salaries, pensions and social
// payments).
namespace rounding {

// A combo box named "cboRounding" holding both rules, the project's first.
QComboBox *makeChoice(QWidget *parent);
void setChoice(QComboBox *box, const QString &rule);
// "" or "SUS".
QString choice(const QComboBox *box);
// How the table window lists a rule.
QString listText(const QString &rule);
// The rule of the current row of a tField recordset; "" when the project
// has no such column (made by an earlier version).
QString ofRow(const db::Recordset &fields);
// True when the recordset can store a rule.
bool canStore(const db::Recordset &fields);

} // namespace rounding
