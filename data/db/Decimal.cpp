#include "data/db/Decimal.h"

namespace db::dec {

namespace {

bool isZero(const Decimal &v)
{
    for (QChar c : v.digits)
        if (c != QLatin1Char('0'))
            return false;
    return true;
}

// Leading zeros of the whole part go, keeping at least one digit before the point.
Decimal trimmed(Decimal v)
{
    int lead = 0;
    while (lead < v.digits.size() - v.scale - 1 && v.digits.at(lead) == QLatin1Char('0'))
        ++lead;
    v.digits.remove(0, lead);
    if (v.digits.size() <= v.scale)
        v.digits.prepend(QString(v.scale - v.digits.size() + 1, QLatin1Char('0')));
    return v;
}

} // namespace

std::optional<Decimal> parse(const QString &input)
{
    const QString text = input.trimmed();
    Decimal v;
    int i = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        v.negative = text.at(i++) == QLatin1Char('-');
    bool point = false;
    int count = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            v.digits += c;
            ++count;
            if (point)
                ++v.scale;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (count == 0)
        return std::nullopt;
    int exponent = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        bool negExp = false;
        if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
            negExp = text.at(i++) == QLatin1Char('-');
        int expDigits = 0;
        for (; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128; ++i) {
            exponent = exponent * 10 + (text.at(i).unicode() - '0');
            if (++expDigits > 4)
                return std::nullopt;
        }
        if (expDigits == 0)
            return std::nullopt;
        if (negExp)
            exponent = -exponent;
    }
    if (i != text.size())
        return std::nullopt;
    return trimmed(shift(v, exponent));
}

Decimal shift(const Decimal &value, int power)
{
    Decimal v = value;
    v.scale -= power;
    if (v.scale < 0) {
        v.digits += QString(-v.scale, QLatin1Char('0'));
        v.scale = 0;
    }
    return trimmed(v);
}

Decimal round(const Decimal &value, int decimals)
{
    Decimal v = value;
    if (decimals < 0)
        decimals = 0;
    if (v.scale <= decimals) {
        v.digits += QString(decimals - v.scale, QLatin1Char('0'));
        v.scale = decimals;
        return trimmed(v);
    }
    const int drop = v.scale - decimals;
    const bool up = v.digits.at(v.digits.size() - drop) >= QLatin1Char('5');
    v.digits.chop(drop);
    v.scale = decimals;
    if (up) {
        int i = v.digits.size() - 1;
        for (; i >= 0; --i) {
            if (v.digits.at(i) == QLatin1Char('9')) {
                v.digits[i] = QLatin1Char('0');
            } else {
                v.digits[i] = QChar(v.digits.at(i).unicode() + 1);
                break;
            }
        }
        if (i < 0)
            v.digits.prepend(QLatin1Char('1'));
    }
    if (v.digits.isEmpty())
        v.digits = QStringLiteral("0");
    return trimmed(v);
}

QString toText(const Decimal &value)
{
    const Decimal v = trimmed(value);
    QString out;
    if (v.negative && !isZero(v))
        out += QLatin1Char('-');
    out += v.digits.left(v.digits.size() - v.scale);
    if (v.scale > 0)
        out += QLatin1Char('.') + v.digits.right(v.scale);
    return out;
}

int compare(const Decimal &a, const Decimal &b)
{
    const bool za = isZero(a), zb = isZero(b);
    const bool na = a.negative && !za, nb = b.negative && !zb;
    if (na != nb)
        return na ? -1 : 1;
    const int scale = qMax(a.scale, b.scale);
    Decimal x = round(a, scale), y = round(b, scale);
    int magnitude = 0;
    if (x.digits.size() != y.digits.size())
        magnitude = x.digits.size() < y.digits.size() ? -1 : 1;
    else
        magnitude = x.digits < y.digits ? -1 : (x.digits == y.digits ? 0 : 1);
    return na ? -magnitude : magnitude;
}

namespace {

// |a| + |b| or |a| - |b| (|a| >= |b|) on digit strings of the same length.
QString addDigits(const QString &a, const QString &b, bool subtract)
{
    QString out(a.size() + 1, QLatin1Char('0'));
    int carry = 0;
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        int d = (a.at(i).unicode() - '0') + (subtract ? -carry : carry);
        const int e = b.at(i).unicode() - '0';
        d = subtract ? d - e : d + e;
        carry = subtract ? (d < 0 ? 1 : 0) : (d >= 10 ? 1 : 0);
        d = subtract ? (d < 0 ? d + 10 : d) : (d >= 10 ? d - 10 : d);
        out[i + 1] = QChar('0' + d);
    }
    out[0] = QChar('0' + (subtract ? 0 : carry));
    return out;
}

} // namespace

Decimal add(const Decimal &a, const Decimal &b)
{
    const int scale = qMax(a.scale, b.scale);
    Decimal x = round(a, scale), y = round(b, scale);
    const qsizetype width = qMax(x.digits.size(), y.digits.size());
    x.digits = x.digits.rightJustified(width, QLatin1Char('0'));
    y.digits = y.digits.rightJustified(width, QLatin1Char('0'));
    Decimal sum;
    sum.scale = scale;
    if (x.negative == y.negative) {
        sum.negative = x.negative;
        sum.digits = addDigits(x.digits, y.digits, false);
    } else if (x.digits >= y.digits) {
        sum.negative = x.negative;
        sum.digits = addDigits(x.digits, y.digits, true);
    } else {
        sum.negative = y.negative;
        sum.digits = addDigits(y.digits, x.digits, true);
    }
    sum = trimmed(sum);
    if (isZero(sum))
        sum.negative = false;
    return sum;
}

} // namespace db::dec
