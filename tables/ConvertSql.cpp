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
                                          QLatin1String("AMOUNT"), QLatin1String("NEW_AMOUNT")};
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
                            const QString &pstrCondition, int pnColumnScale, bool pbSinglePrecision,
                            const RateRule &pRule)
{
    const QString amount =
        pbSinglePrecision ? QStringLiteral("(") + pstrFieldName + QStringLiteral(" + 0E0)") : pstrFieldName;
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
            text += amount;
        else if (name == QLatin1String("NEW_AMOUNT"))
            text += newAmountSql(amount, pRule, effectiveDecimals(pnColumnScale, pRule.decimals));
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
                              const QString &pstrCondition, int pnColumnScale, bool pbSinglePrecision,
                              const RateRule &pRule)
{
    QStringList statements = splitStatements(pstrTemplate);
    for (QString &statement : statements)
        statement = fillConvertTemplate(statement, pstrFieldName, pstrRecFieldName, pstrTableRef, pstrCondition,
                                        pnColumnScale, pbSinglePrecision, pRule);
    return statements;
}

QString newAmountSql(const QString &amount, const RateRule &rule, int decimals)
{
    if (decimals < 0)
        decimals = 2;
    const QString rounding = rule.rounding.trimmed().toUpper();
    if (rule.rateFunction)
        return QStringLiteral("RATE_DIVIDE(%1, '%2', %3, '%4')")
            .arg(amount, rule.rate.trimmed(), QString::number(decimals), rounding);

    // The rate as M * 10^e, M a whole number without trailing zeros.
    QString digits = rule.rate.trimmed();
    int e = 0;
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        e = -static_cast<int>(digits.size() - point - 1);
        digits.remove(point, 1);
    }
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0'))) {
        digits.chop(1);
        ++e;
    }
    // |a| * 10^(decimals + 1) / rate = |a| * 10^p / M: the quotient in
    // units of the first decimal past those kept. Its fraction, when it has
    // one, is at least 1 / (M * 10^s) away from every whole number (s the
    // decimals of a past the first p), far more than the error of the
    // engines' decimal division at the scale they keep.
    const int p = decimals + 1 - e;
    const QString a = QStringLiteral("CAST(") + amount + QStringLiteral(" AS DECIMAL(38,10))");
    QString quotient = QStringLiteral("ABS(") + a + QLatin1Char(')');
    if (p > 0)
        quotient += QStringLiteral(" * 1") + QString(p, QLatin1Char('0'));
    quotient += QStringLiteral(" / ") + digits + (p < 0 ? QString(-p, QLatin1Char('0')) : QString());
    // Tenths are taken by multiplying by 0.1, never by dividing by 10: an
    // engine may round a quotient of whole numbers to a whole number
    // (PostgreSQL keeps no decimals of a large one), which would round the
    // amount a second time.
    const QString units = rounding == QLatin1String("SUS")
                              ? QStringLiteral("FLOOR((FLOOR(") + quotient + QStringLiteral(") + 9) * 0.1)")
                              : QStringLiteral("FLOOR((") + quotient + QStringLiteral(" + 5) * 0.1)");
    QString scaled = units;
    if (decimals > 0)
        scaled += QStringLiteral(" * 0.") + QString(decimals - 1, QLatin1Char('0')) + QLatin1Char('1');
    return QStringLiteral("SIGN(") + a + QStringLiteral(") * ") + scaled;
}

QString rateConvertTemplate()
{
    return QStringLiteral("UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = [NEW_AMOUNT] "
                          "WHERE [FIELD_NAME] IS NOT NULL AND [REC_FIELD_NAME] IS NULL[AND]");
}

bool usesRateRule(const QString &pstrTemplate) { return pstrTemplate.contains(QLatin1String("[NEW_AMOUNT]")); }

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
