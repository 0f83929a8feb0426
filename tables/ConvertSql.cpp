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

// The placeholder that starts at `at` in `text` ("[" included): its name
// and, for "[DECIMALS:N]", N; the name is empty when none starts there.
struct Placeholder {
    QLatin1String name;
    int decimals = 0;
    qsizetype length = 0;
};

Placeholder placeholderAt(const QString &text, qsizetype at)
{
    static const QLatin1String names[] = {QLatin1String("FIELD_NAME"), QLatin1String("REC_FIELD_NAME"),
                                          QLatin1String("TABLE_NAME"), QLatin1String("WHERE"), QLatin1String("AND"),
                                          QLatin1String("AMOUNT")};
    const QStringView rest = QStringView(text).mid(at + 1);
    for (const QLatin1String &name : names)
        if (rest.startsWith(name) && rest.size() > name.size() && rest.at(name.size()) == QLatin1Char(']'))
            return {name, 0, name.size() + 2};
    // "[DECIMALS:" and one or two digits.
    const QLatin1String decimals("DECIMALS:");
    if (!rest.startsWith(decimals))
        return {};
    qsizetype end = decimals.size();
    int value = 0;
    while (end < rest.size() && end < decimals.size() + 2 && rest.at(end).isDigit() && rest.at(end).unicode() < 128)
        value = value * 10 + (rest.at(end++).unicode() - '0');
    if (end == decimals.size() || end >= rest.size() || rest.at(end) != QLatin1Char(']'))
        return {};
    return {decimals, value, end + 2};
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
    for (qsizetype at = pstrTemplate.indexOf(QLatin1Char('[')); at >= 0;
         at = pstrTemplate.indexOf(QLatin1Char('['), at + 1)) {
        const Placeholder p = placeholderAt(pstrTemplate, at);
        if (p.length == 0)
            continue;
        text += QStringView(pstrTemplate).mid(done, at - done);
        done = at + p.length;
        const QLatin1String name = p.name;
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
            text += QString::number(effectiveDecimals(pnColumnScale, p.decimals));
        at = done - 1;
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
