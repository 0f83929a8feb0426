#include "tables/RoundingChoice.h"

#include "data/Lookups.h"
#include "data/db/Recordset.h"

#include <QComboBox>
#include <QCoreApplication>

namespace rounding {

namespace {
const QString kUp = QStringLiteral("SUS");
} // namespace

QComboBox *makeChoice(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cboRounding"));
    //: The usual rounding rule: halves away from zero
    box->addItem(QCoreApplication::translate("Rounding", "Obisnuita: de la jumatate in sus"), QString());
    //: "SUS" is the rule's stored name, kept as it is
    box->addItem(QCoreApplication::translate("Rounding", "SUS: salarii, pensii (niciodata mai putin)"), kUp);
    box->setItemData(1,
                     QCoreApplication::translate("Rounding",
                                                 "Cand prima zecimala dupa cele pastrate nu este zero, ultima zecimala "
                                                 "pastrata creste cu unu (departe de zero la sumele negative)"),
                     Qt::ToolTipRole);
    return box;
}

void setChoice(QComboBox *box, const QString &rule)
{
    const int index = box->findData(rule.trimmed().toUpper() == kUp ? kUp : QString());
    box->setCurrentIndex(index < 0 ? 0 : index);
}

QString choice(const QComboBox *box) { return box->currentData().toString(); }

QString listText(const QString &rule)
{
    //: The usual rounding rule, as the table window lists a field's rule
    return rule.trimmed().toUpper() == kUp ? kUp : QCoreApplication::translate("Rounding", "obisnuita");
}

bool canStore(const db::Recordset &fields) { return fields.fieldIndex(QStringLiteral("Rounding")) >= 0; }

QString ofRow(const db::Recordset &fields)
{
    if (!canStore(fields))
        return QString();
    return fgNZ(fields.value(QStringLiteral("Rounding")), QString()).toString().trimmed().toUpper();
}

} // namespace rounding
