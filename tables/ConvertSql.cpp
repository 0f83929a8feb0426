#include "tables/ConvertSql.h"

#include <QRegularExpression>

namespace convertsql {

QString joinConditions(const QString &pstrTableWhere, const QString &pstrFieldWhere)
{
    if (!pstrTableWhere.isEmpty() && !pstrFieldWhere.isEmpty())
        return QStringLiteral("(") + pstrTableWhere + QStringLiteral(") AND (") + pstrFieldWhere + QStringLiteral(")");
    return pstrTableWhere.isEmpty() ? pstrFieldWhere : pstrTableWhere;
}

QString rowSource(const QString &pstrTableRef, const QString &pstrCondition)
{
    QString sql = QStringLiteral("SELECT * FROM ") + pstrTableRef;
    if (!pstrCondition.isEmpty())
        sql += QStringLiteral(" WHERE ") + pstrCondition;
    return sql;
}

namespace {

// "[DECIMALS:N]": the rounding of a conversion template, at most N decimals.
const QRegularExpression &decimalsPlaceholder()
{
    static const QRegularExpression placeholder(QStringLiteral("\\[DECIMALS:(\\d{1,2})\\]"));
    return placeholder;
}

} // namespace

QString fillConvertTemplate(const QString &pstrTemplate, const QString &pstrFieldName,
                            const QString &pstrRecFieldName, const QString &pstrTableRef,
                            const QString &pstrCondition, int pnColumnScale, bool pbSinglePrecision)
{
    // The rounding is filled first, so that nothing the user typed (a name, a
    // condition) is ever read as a placeholder of ours.
    QString text;
    qsizetype done = 0;
    for (auto it = decimalsPlaceholder().globalMatch(pstrTemplate); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        text += pstrTemplate.mid(done, m.capturedStart() - done);
        text += QString::number(effectiveDecimals(pnColumnScale, m.captured(1).toInt()));
        done = m.capturedEnd();
    }
    text += pstrTemplate.mid(done);
    text.replace(QStringLiteral("[AMOUNT]"),
                 pbSinglePrecision ? QStringLiteral("([FIELD_NAME] + 0E0)") : QStringLiteral("[FIELD_NAME]"));

    text.replace(QStringLiteral("[FIELD_NAME]"), pstrFieldName);
    text.replace(QStringLiteral("[REC_FIELD_NAME]"), pstrRecFieldName);
    text.replace(QStringLiteral("[TABLE_NAME]"), pstrTableRef);
    if (pstrCondition.isEmpty()) {
        text.replace(QStringLiteral("[WHERE]"), QString());
        text.replace(QStringLiteral("[AND]"), QString());
    } else {
        text.replace(QStringLiteral("[WHERE]"), QStringLiteral(" WHERE (") + pstrCondition + QStringLiteral(")"));
        text.replace(QStringLiteral("[AND]"), QStringLiteral(" AND (") + pstrCondition + QStringLiteral(")"));
    }
    return text;
}

int roundingDecimals(const QString &pstrTemplate)
{
    const QRegularExpressionMatch m = decimalsPlaceholder().match(pstrTemplate);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

int effectiveDecimals(int pnColumnScale, int pnRounding)
{
    if (pnColumnScale < 0)
        return pnRounding;
    if (pnRounding < 0)
        return pnColumnScale;
    return pnColumnScale < pnRounding ? pnColumnScale : pnRounding;
}

bool keepsFewerDecimals(int pnColumnScale, int pnRounding)
{
    return pnColumnScale >= 0 && pnRounding >= 0 && pnColumnScale < pnRounding;
}

QStringList splitStatements(const QString &pstrText)
{
    return pstrText.split(QStringLiteral("[GO]"), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

} // namespace convertsql
