#pragma once

// Exact decimal arithmetic for the tests' expected amounts, done on the
// digits of the decimal text, so no expectation ever passes through a binary
// double and any number of digits is exact.

#include <QString>

namespace exact {

// The parts of a plain decimal text ("-14949.50", "1e15" is not one).
struct Decimal {
    bool negative = false;
    QString whole;    // digits, at least one
    QString fraction; // digits, maybe none
};

inline bool parse(QString text, Decimal &out)
{
    text = text.trimmed();
    out.negative = text.startsWith(QLatin1Char('-'));
    if (out.negative || text.startsWith(QLatin1Char('+')))
        text.remove(0, 1);
    out.whole = text.section(QLatin1Char('.'), 0, 0);
    out.fraction = text.contains(QLatin1Char('.')) ? text.section(QLatin1Char('.'), 1) : QString();
    if (out.whole.isEmpty())
        out.whole = QStringLiteral("0");
    for (QChar c : out.whole + out.fraction)
        if (!c.isDigit())
            return false;
    return true;
}

// The decimal written without leading and trailing zeros ("-012.50" gives
// "-12.5", "-0.00" gives "0").
inline QString write(Decimal d)
{
    while (d.whole.size() > 1 && d.whole.startsWith(QLatin1Char('0')))
        d.whole.remove(0, 1);
    while (d.fraction.endsWith(QLatin1Char('0')))
        d.fraction.chop(1);
    QString text = d.whole;
    if (!d.fraction.isEmpty())
        text += QLatin1Char('.') + d.fraction;
    return d.negative && text != QLatin1String("0") ? QLatin1Char('-') + text : text;
}

// The same decimal without needless zeros; the text itself when it is not a
// plain decimal (so that "12,50" stays "12,50").
inline QString normalized(const QString &decimal)
{
    Decimal d;
    return parse(decimal, d) ? write(d) : decimal.trimmed();
}

// An amount in old lei in new lei: divided by 10 000 and rounded once, halves
// away from zero, to `decimals` decimals. "" when `oldLei` is not a plain
// decimal.
inline QString newLei(const QString &oldLei, int decimals)
{
    Decimal d;
    if (!parse(oldLei, d))
        return QString();
    // Dividing by 10 000 moves the point four digits to the left.
    const QString whole = d.whole.rightJustified(5, QLatin1Char('0'));
    QString digits = whole.left(whole.size() - 4);                     // the new whole part
    QString fraction = whole.right(4) + d.fraction;                     // the new fraction, exact
    fraction = fraction.leftJustified(decimals + 1, QLatin1Char('0'));  // room for the rounding digit
    const bool up = fraction.at(decimals) >= QLatin1Char('5');
    QString kept = digits + fraction.left(decimals);
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept.at(i) == QLatin1Char('9'))
            kept[i--] = QLatin1Char('0');
        if (i >= 0)
            kept[i] = QChar(kept.at(i).unicode() + 1);
        else
            kept.prepend(QLatin1Char('1'));
    }
    Decimal result;
    result.negative = d.negative;
    result.whole = kept.left(kept.size() - decimals);
    result.fraction = kept.right(decimals);
    if (result.whole.isEmpty())
        result.whole = QStringLiteral("0");
    return write(result);
}

// Sums and shifts for expected control totals, on whole numbers of 10^-12
// (128-bit), ample for the amounts of a test. "" when an input is not a
// plain decimal or has more than 12 decimals.
inline bool toPico(const QString &text, __int128 &out)
{
    Decimal d;
    if (!parse(text, d) || d.fraction.size() > 12)
        return false;
    out = 0;
    for (QChar c : d.whole + d.fraction.leftJustified(12, QLatin1Char('0')))
        out = out * 10 + (c.unicode() - '0');
    if (d.negative)
        out = -out;
    return true;
}

inline QString fromPico(__int128 value)
{
    const bool negative = value < 0;
    QString digits;
    for (__int128 v = negative ? -value : value; v > 0; v /= 10)
        digits.prepend(QChar('0' + static_cast<int>(v % 10)));
    digits = digits.rightJustified(13, QLatin1Char('0'));
    return write(Decimal{negative, digits.left(digits.size() - 12), digits.right(12)});
}

// a + b
inline QString add(const QString &a, const QString &b)
{
    __int128 x = 0, y = 0;
    return toPico(a, x) && toPico(b, y) ? fromPico(x + y) : QString();
}

// a - b
inline QString subtract(const QString &a, const QString &b)
{
    __int128 x = 0, y = 0;
    return toPico(a, x) && toPico(b, y) ? fromPico(x - y) : QString();
}

// a / 10 000, exact while the result keeps at most 12 decimals.
inline QString tenThousandth(const QString &a)
{
    __int128 x = 0;
    return toPico(a, x) && x % 10000 == 0 ? fromPico(x / 10000) : QString();
}

} // namespace exact
