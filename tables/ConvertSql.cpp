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

// Every placeholder a conversion template may hold.
const QRegularExpression &anyPlaceholder()
{
    static const QRegularExpression placeholder(
        QStringLiteral("\\[(FIELD_NAME|REC_FIELD_NAME|TABLE_NAME|WHERE|AND|AMOUNT|DECIMALS:(\\d{1,2}))\\]"));
    return placeholder;
}

} // namespace

QString fillConvertTemplate(const QString &pstrTemplate, const QString &pstrFieldName,
                            const QString &pstrRecFieldName, const QString &pstrTableRef,
                            const QString &pstrCondition, int pnColumnScale, bool pbSinglePrecision)
{
    // One pass over the template: only its own placeholders are replaced,
    // never text a replacement brought in. A column written "[GO]" or
    // "[TABLE_NAME]" by a naming rule stays the column it names.
    QString text;
    qsizetype done = 0;
    for (auto it = anyPlaceholder().globalMatch(pstrTemplate); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        text += pstrTemplate.mid(done, m.capturedStart() - done);
        done = m.capturedEnd();
        const QString name = m.captured(1);
        if (name == QLatin1String("FIELD_NAME"))
            text += pstrFieldName;
        else if (name == QLatin1String("REC_FIELD_NAME"))
            text += pstrRecFieldName;
        else if (name == QLatin1String("TABLE_NAME"))
            text += pstrTableRef;
        else if (name == QLatin1String("AMOUNT"))
            text += pbSinglePrecision ? QStringLiteral("(") + pstrFieldName + QStringLiteral(" + 0E0)") : pstrFieldName;
        else if (name == QLatin1String("WHERE"))
            text += pstrCondition.isEmpty() ? QString() : QStringLiteral(" WHERE (") + pstrCondition + QStringLiteral(")");
        else if (name == QLatin1String("AND"))
            text += pstrCondition.isEmpty() ? QString() : QStringLiteral(" AND (") + pstrCondition + QStringLiteral(")");
        else
            text += QString::number(effectiveDecimals(pnColumnScale, m.captured(2).toInt()));
    }
    return text + pstrTemplate.mid(done);
}

QStringList convertStatements(const QString &pstrTemplate, const QString &pstrFieldName,
                              const QString &pstrRecFieldName, const QString &pstrTableRef,
                              const QString &pstrCondition, int pnColumnScale, bool pbSinglePrecision)
{
    QStringList statements = splitStatements(pstrTemplate);
    for (QString &statement : statements)
        statement = fillConvertTemplate(statement, pstrFieldName, pstrRecFieldName, pstrTableRef, pstrCondition,
                                        pnColumnScale, pbSinglePrecision);
    return statements;
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
