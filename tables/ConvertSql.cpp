#include "tables/ConvertSql.h"

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

QString fillConvertTemplate(const QString &pstrTemplate, const QString &pstrFieldName,
                            const QString &pstrRecFieldName, const QString &pstrTableRef,
                            const QString &pstrCondition)
{
    QString text = pstrTemplate;
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

QStringList splitStatements(const QString &pstrText)
{
    return pstrText.split(QStringLiteral("[GO]"), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

} // namespace convertsql
