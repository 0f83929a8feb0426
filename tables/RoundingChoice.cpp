#include "tables/RoundingChoice.h"

#include "data/Lookups.h"
#include "data/db/Recordset.h"

#include <QComboBox>

namespace rounding {

namespace {
const QString kUp = QStringLiteral("SUS");
} // namespace

QComboBox *makeChoice(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cboRounding"));
    box->addItem(QStringLiteral("Obisnuita: de la jumatate in sus"), QString());
    box->addItem(QStringLiteral("SUS: salarii, pensii (niciodata mai putin)"), kUp);
    box->setItemData(1, QStringLiteral("Cand prima zecimala dupa cele pastrate nu este zero, ultima zecimala "
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
    return rule.trimmed().toUpper() == kUp ? kUp : QStringLiteral("obisnuita");
}

bool canStore(const db::Recordset &fields) { return fields.fieldIndex(QStringLiteral("Rounding")) >= 0; }

QString ofRow(const db::Recordset &fields)
{
    if (!canStore(fields))
        return QString();
    return fgNZ(fields.value(QStringLiteral("Rounding")), QString()).toString().trimmed().toUpper();
}

} // namespace rounding
