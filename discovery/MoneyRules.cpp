#include "discovery/MoneyRules.h"

#include "data/db/AdoTypes.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace discovery {

namespace {

// ---- values ----

// A decimal text taken apart: sign, digits before and after the point, with
// no leading or trailing zeros. Exponents ("1.5e+06", as drivers write some
// floats) are moved into the digits.
struct Decimal {
    bool negative = false;
    QString whole; // "" for 0
    QString fraction;
    bool isZero() const { return whole.isEmpty() && fraction.isEmpty(); }
    QString text() const
    {
        QString t = (negative && !isZero() ? QStringLiteral("-") : QString())
                    + (whole.isEmpty() ? QStringLiteral("0") : whole);
        if (!fraction.isEmpty())
            t += QLatin1Char('.') + fraction;
        return t;
    }
};

std::optional<Decimal> parseDecimal(const QString &value)
{
    static const QRegularExpression form(QStringLiteral("^\\s*([+-]?)(\\d*)(?:\\.(\\d*))?(?:[eE]([+-]?\\d+))?\\s*$"));
    const QRegularExpressionMatch m = form.match(value);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()))
        return std::nullopt;
    QString digits = m.captured(2) + m.captured(3);
    qsizetype point = m.captured(2).size();
    if (!m.captured(4).isEmpty()) {
        bool ok = false;
        const int exponent = m.captured(4).toInt(&ok);
        if (!ok || exponent > 400 || exponent < -400)
            return std::nullopt;
        point += exponent;
    }
    if (point < 0) {
        digits = QString(-point, QLatin1Char('0')) + digits;
        point = 0;
    }
    if (point > digits.size())
        digits += QString(point - digits.size(), QLatin1Char('0'));
    Decimal d;
    d.negative = m.captured(1) == QStringLiteral("-");
    d.whole = digits.left(point);
    d.fraction = digits.mid(point);
    while (d.whole.startsWith(QLatin1Char('0')))
        d.whole.remove(0, 1);
    while (d.fraction.endsWith(QLatin1Char('0')))
        d.fraction.chop(1);
    return d;
}

// -1, 0, 1 as a is less than, equal to or greater than b.
int compare(const Decimal &a, const Decimal &b)
{
    if (a.isZero() && b.isZero())
        return 0;
    const bool an = a.negative && !a.isZero(), bn = b.negative && !b.isZero();
    if (an != bn)
        return an ? -1 : 1;
    int magnitude = 0;
    if (a.whole.size() != b.whole.size())
        magnitude = a.whole.size() < b.whole.size() ? -1 : 1;
    else if (const int c = a.whole.compare(b.whole))
        magnitude = c < 0 ? -1 : 1;
    else {
        const qsizetype n = std::max(a.fraction.size(), b.fraction.size());
        const int f = a.fraction.leftJustified(n, QLatin1Char('0')).compare(b.fraction.leftJustified(n, QLatin1Char('0')));
        magnitude = f < 0 ? -1 : f > 0 ? 1 : 0;
    }
    return an ? -magnitude : magnitude;
}

// ---- names ----

enum class Match { Word, Prefix, Anywhere };

struct WordRule {
    const char *stem;
    Match how;
};

// Words of bookkeeping that name money, Romanian and English.
const WordRule kMoneyWords[] = {
    {"suma", Match::Anywhere},      {"sume", Match::Anywhere},     {"valoare", Match::Anywhere},
    {"val", Match::Prefix},         {"pret", Match::Anywhere},     {"total", Match::Anywhere},
    {"sold", Match::Anywhere},      {"debit", Match::Anywhere},    {"credit", Match::Anywhere},
    {"rulaj", Match::Anywhere},     {"tva", Match::Anywhere},      {"taxa", Match::Anywhere},
    {"taxe", Match::Anywhere},      {"impozit", Match::Anywhere},  {"salar", Match::Anywhere},
    {"brut", Match::Prefix},        {"net", Match::Word},          {"plata", Match::Anywhere},
    {"plati", Match::Anywhere},     {"platit", Match::Anywhere},   {"incasa", Match::Anywhere},
    {"achitat", Match::Anywhere},   {"avans", Match::Anywhere},    {"cost", Match::Anywhere},
    {"cheltuiel", Match::Anywhere}, {"venit", Match::Anywhere},    {"amenda", Match::Anywhere},
    {"penalit", Match::Anywhere},   {"comision", Match::Anywhere}, {"onorar", Match::Anywhere},
    {"chirie", Match::Anywhere},    {"dobanda", Match::Anywhere},  {"rest", Match::Word},
    {"lei", Match::Word},           {"ron", Match::Word},          {"rol", Match::Word},
    {"contrib", Match::Anywhere},   {"bani", Match::Word},         {"pu", Match::Word},
    {"amount", Match::Anywhere},    {"amt", Match::Word},          {"value", Match::Anywhere},
    {"price", Match::Anywhere},     {"balance", Match::Anywhere},  {"tax", Match::Prefix},
    {"vat", Match::Word},           {"salary", Match::Anywhere},   {"wage", Match::Anywhere},
    {"fee", Match::Prefix},         {"paid", Match::Anywhere},     {"payment", Match::Anywhere},
    {"due", Match::Word},           {"charge", Match::Anywhere},   {"gross", Match::Anywhere},
    {"sum", Match::Word},           {"cash", Match::Anywhere},
};

// Words that name what is not money: keys and codes, numbers of documents,
// quantities, percentages and rates, counts, dates, phones and postal codes.
const WordRule kOtherWords[] = {
    {"id", Match::Prefix},        {"nr", Match::Prefix},        {"cod", Match::Prefix},
    {"code", Match::Anywhere},    {"no", Match::Word},          {"numar", Match::Anywhere},
    {"num", Match::Word},         {"number", Match::Anywhere},  {"cant", Match::Prefix},
    {"qty", Match::Anywhere},     {"quant", Match::Anywhere},   {"buc", Match::Prefix},
    {"proc", Match::Prefix},      {"pct", Match::Word},         {"percent", Match::Anywhere},
    {"curs", Match::Anywhere},    {"rate", Match::Word},        {"ratio", Match::Anywhere},
    {"cota", Match::Anywhere},    {"an", Match::Word},          {"anul", Match::Word},
    {"year", Match::Anywhere},    {"luna", Match::Word},        {"month", Match::Anywhere},
    {"zi", Match::Word},          {"zile", Match::Word},        {"day", Match::Word},
    {"ore", Match::Word},         {"count", Match::Anywhere},   {"cnt", Match::Word},
    {"tel", Match::Prefix},       {"phone", Match::Anywhere},   {"fax", Match::Word},
    {"zip", Match::Word},         {"postal", Match::Anywhere},  {"cp", Match::Word},
    {"cui", Match::Word},         {"cif", Match::Word},         {"cnp", Match::Word},
    {"ean", Match::Word},         {"barcode", Match::Anywhere}, {"bare", Match::Word},
    {"stoc", Match::Prefix},      {"stock", Match::Anywhere},   {"greutate", Match::Anywhere},
    {"weight", Match::Anywhere},  {"kg", Match::Word},          {"um", Match::Word},
    {"versiune", Match::Anywhere}, {"version", Match::Anywhere}, {"ordine", Match::Anywhere},
    {"poz", Match::Prefix},       {"nivel", Match::Anywhere},   {"level", Match::Anywhere},
    {"seq", Match::Word},         {"varsta", Match::Anywhere},  {"age", Match::Word},
    {"cont", Match::Word},        {"tip", Match::Word},         {"type", Match::Word},
    {"flag", Match::Anywhere},    {"stare", Match::Word},       {"status", Match::Word},
    {"durata", Match::Anywhere},  {"km", Match::Word},
};

// Tables that hold money: invoices, payments, salaries, the cash book...
const WordRule kMoneyTables[] = {
    {"factur", Match::Anywhere}, {"plat", Match::Anywhere},   {"incasa", Match::Anywhere},
    {"salar", Match::Anywhere},  {"casa", Match::Anywhere},   {"banca", Match::Anywhere},
    {"jurnal", Match::Anywhere}, {"registr", Match::Anywhere}, {"balant", Match::Anywhere},
    {"avans", Match::Anywhere},  {"chelt", Match::Anywhere},  {"venit", Match::Anywhere},
    {"contab", Match::Anywhere}, {"invoice", Match::Anywhere}, {"payment", Match::Anywhere},
    {"ledger", Match::Anywhere}, {"journal", Match::Anywhere}, {"stat", Match::Word},
};

// The first rule that the name meets, or nullptr.
template <size_t N>
const char *firstMatch(const WordRule (&rules)[N], const QString &name)
{
    const QStringList words = nameWords(name);
    const QString joined = words.join(QString());
    for (const WordRule &rule : rules) {
        const QString stem = QLatin1String(rule.stem);
        for (const QString &word : words) {
            if (word == stem || (rule.how != Match::Word && word.startsWith(stem)))
                return rule.stem;
        }
        if (rule.how == Match::Anywhere && joined.contains(stem))
            return rule.stem;
    }
    return nullptr;
}

bool isMoneyType(const ColumnFacts &f)
{
    const QString type = f.typeName.toUpper();
    return f.adoType == db::adCurrency || type.contains(QStringLiteral("MONEY")) || type.contains(QStringLiteral("CURRENCY"));
}

bool isExactNumeric(const ColumnFacts &f)
{
    return f.adoType == db::adNumeric || f.adoType == db::adDecimal || f.adoType == db::adVarNumeric;
}

bool isSmallInteger(const ColumnFacts &f)
{
    return f.adoType == db::adSmallInt || f.adoType == db::adTinyInt || f.adoType == db::adUnsignedTinyInt
           || f.adoType == db::adUnsignedSmallInt || f.adoType == db::adBoolean;
}

} // namespace

QStringList nameWords(const QString &name)
{
    // Camel case splits ("SumaTotala"), then anything but letters and digits does.
    QString spaced;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (i > 0 && c.isUpper() && name.at(i - 1).isLower())
            spaced += QLatin1Char(' ');
        spaced += c;
    }
    const QString plain = spaced.normalized(QString::NormalizationForm_KD).toLower();
    QStringList words;
    QString word;
    for (const QChar c : plain) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isLetterOrNumber() && c.unicode() < 128) {
            word += c;
            continue;
        }
        if (!word.isEmpty())
            words.append(word);
        word.clear();
    }
    if (!word.isEmpty())
        words.append(word);
    return words;
}

void addSampleValue(ColumnFacts &facts, const QString &value)
{
    ++facts.sampled;
    if (value.isNull())
        return;
    const std::optional<Decimal> d = parseDecimal(value);
    if (!d)
        return; // not a number: the conversion's own check names it
    ++facts.filled;
    const QString text = d->text();
    if (facts.examples.size() < 5 && !facts.examples.contains(text))
        facts.examples.append(text);
    if (facts.minValue.isEmpty() || compare(*d, *parseDecimal(facts.minValue)) < 0)
        facts.minValue = text;
    if (facts.maxValue.isEmpty() || compare(*d, *parseDecimal(facts.maxValue)) > 0)
        facts.maxValue = text;
    facts.maxDecimals = std::max(facts.maxDecimals, static_cast<int>(d->fraction.size()));
    facts.maxWholeDigits = std::max(facts.maxWholeDigits, static_cast<int>(d->whole.size()));
    if (d->isZero())
        return;
    ++facts.nonZero;
    if (d->fraction.isEmpty()) {
        if (d->whole.size() >= 3 && d->whole.endsWith(QStringLiteral("00")))
            ++facts.wholeHundreds;
        if (!d->negative && d->whole.size() == 4 && d->whole >= QStringLiteral("1900") && d->whole <= QStringLiteral("2100"))
            ++facts.yearLike;
        if (d->whole.size() >= 8 && !d->whole.endsWith(QLatin1Char('0')))
            ++facts.longOdd;
    }
}

QString Verdict::evidenceText(bool decidingFirst) const
{
    QStringList parts;
    if (!evidenceFor.isEmpty())
        //: Evidence for the column holding money, followed by its list
        parts.append(
            QCoreApplication::translate("MoneyRules", "pentru: %1").arg(evidenceFor.join(QStringLiteral(", "))));
    if (!evidenceAgainst.isEmpty())
        //: Evidence against the column holding money, followed by its list
        parts.append(
            QCoreApplication::translate("MoneyRules", "impotriva: %1").arg(evidenceAgainst.join(QStringLiteral(", "))));
    if (decidingFirst && !proposed && parts.size() == 2)
        parts.swapItemsAt(0, 1);
    return parts.join(QStringLiteral("; "));
}

Verdict judge(const ColumnFacts &f)
{
    Verdict v;
    const auto pro = [&v](int weight, const QString &why) {
        v.score += weight;
        v.evidenceFor.append(why);
    };
    const auto con = [&v](int weight, const QString &why) {
        v.score -= weight;
        v.evidenceAgainst.append(why);
    };
    //: The column's data type as the database declares it ("tip DECIMAL(15,2)")
    const QString type = QCoreApplication::translate("MoneyRules", "tip %1").arg(f.typeName);

    // The type: money types and two decimals speak for money; a small
    // integer or three decimals (quantities, rates) against.
    if (isMoneyType(f))
        pro(4, type);
    else if (isExactNumeric(f) && f.scale == 2)
        pro(3, type);
    else if (isExactNumeric(f) && (f.scale == 0 || f.scale == 4))
        pro(1, type);
    else if (isExactNumeric(f) && f.scale > 0)
        con(2, type);
    else if (isSmallInteger(f))
        con(3, type);

    // Keys are never amounts.
    if (f.primaryKey)
        con(6, QCoreApplication::translate("MoneyRules", "cheie primara"));
    if (f.foreignKey)
        con(5, QCoreApplication::translate("MoneyRules", "cheie straina"));
    else if (f.indexed && !f.primaryKey)
        con(1, QCoreApplication::translate("MoneyRules", "are index"));

    // The names.
    if (const char *word = firstMatch(kMoneyWords, f.column))
        //: %1 is a word of the column's name, kept as it is
        pro(3, QCoreApplication::translate("MoneyRules", "numele contine '%1'").arg(QLatin1String(word)));
    if (const char *word = firstMatch(kOtherWords, f.column))
        con(4, QCoreApplication::translate("MoneyRules", "numele contine '%1'").arg(QLatin1String(word)));
    if (const char *word = firstMatch(kMoneyTables, f.table))
        //: %1 is a word of the table's name, kept as it is
        pro(1, QCoreApplication::translate("MoneyRules", "tabelul pare de sume ('%1')").arg(QLatin1String(word)));

    // The values of the sample. Amounts in old lei are large and mostly
    // whole hundreds or thousands; quantities and percentages are small;
    // codes are long and not round.
    if (f.filled == 0) {
        v.evidenceAgainst.append(QCoreApplication::translate("MoneyRules", "nicio valoare in primele randuri"));
    } else if (f.yearLike == f.nonZero && f.nonZero > 0) {
        con(4, QCoreApplication::translate("MoneyRules", "valori ca anii (1900-2100)"));
    } else if (f.maxWholeDigits <= 3) {
        if (f.maxDecimals >= 3)
            con(3, QCoreApplication::translate("MoneyRules", "valori mici, cu %n zecimale", nullptr, f.maxDecimals));
        else
            con(2, QCoreApplication::translate("MoneyRules", "valori mici (sub 1000)"));
    } else {
        if (f.nonZero >= 3 && f.wholeHundreds * 5 >= f.nonZero * 4)
            pro(3, QCoreApplication::translate("MoneyRules", "valori multiplu de 100"));
        if (f.nonZero >= 3 && f.longOdd * 2 >= f.nonZero)
            con(3, QCoreApplication::translate("MoneyRules", "valori lungi, nerotunde (ca niste coduri)"));
        else if (f.maxWholeDigits >= 5)
            pro(1, QCoreApplication::translate("MoneyRules", "valori mari (de la 10 000 in sus)"));
        if (f.maxDecimals >= 3)
            con(1, QCoreApplication::translate("MoneyRules", "valori cu %n zecimale", nullptr, f.maxDecimals));
    }

    v.proposed = v.score >= 3 && !f.primaryKey && !f.foreignKey;
    return v;
}

} // namespace discovery
