#include "data/db/RateDivision.h"

#include <algorithm>

namespace db::rate {

namespace {

struct Parsed {
    bool negative = false;
    QString digits; // the value without its point, leading zeros dropped ("0" for zero)
    int scale = 0;  // digits after the point
};

std::optional<Parsed> parsePlain(QString text)
{
    text = text.trimmed();
    Parsed out;
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) {
        out.negative = text.startsWith(QLatin1Char('-'));
        text.remove(0, 1);
    }
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? text : text.left(point);
    const QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    for (const QString &part : {whole, fraction})
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
    out.digits = whole + fraction;
    out.scale = static_cast<int>(fraction.size());
    while (out.digits.size() > 1 && out.digits.startsWith(QLatin1Char('0')))
        out.digits.remove(0, 1);
    if (out.digits.isEmpty())
        out.digits = QStringLiteral("0");
    return out;
}

// The digits as one number; nothing past 18 digits.
std::optional<quint64> smallNumber(const QString &digits)
{
    if (digits.size() > 18)
        return std::nullopt;
    quint64 value = 0;
    for (QChar c : digits)
        value = value * 10 + static_cast<quint64>(c.unicode() - '0');
    return value;
}

// digits + 1, as digits.
QString plusOne(QString digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits.at(i) != QLatin1Char('9')) {
            digits[i] = QChar(digits.at(i).unicode() + 1);
            return digits;
        }
        digits[i] = QLatin1Char('0');
    }
    return QLatin1Char('1') + digits;
}

} // namespace

std::optional<QString> divide(const QString &amount, const QString &rate, int decimals, Rounding rule)
{
    const std::optional<Parsed> a = parsePlain(amount);
    const std::optional<Parsed> r = parsePlain(rate);
    if (!a || !r || r->negative || decimals < 0 || decimals > 18)
        return std::nullopt;
    const std::optional<quint64> rateDigits = smallNumber(r->digits);
    if (!rateDigits || *rateDigits == 0)
        return std::nullopt;

    // q = a / r, and q * 10^(decimals + 1) = A * 10^e / R, with A and R the
    // digits of a and r: the dividend takes e zeros, or the divisor -e.
    const int e = r->scale + decimals + 1 - a->scale;
    QString dividend = a->digits;
    unsigned __int128 divisor = *rateDigits;
    if (e >= 0) {
        dividend += QString(e, QLatin1Char('0'));
    } else {
        for (int i = 0; i < -e; ++i) {
            divisor *= 10;
            if (divisor > static_cast<unsigned __int128>(1000000000000000000ULL) * 10000000000000000000ULL)
                return std::nullopt; // more decimals than any column keeps
        }
    }

    // Long division, one digit at a time; the remainder stays below the
    // divisor, so remainder * 10 + 9 fits.
    QString quotient;
    unsigned __int128 remainder = 0;
    for (QChar c : dividend) {
        remainder = remainder * 10 + static_cast<unsigned>(c.unicode() - '0');
        const auto digit = static_cast<unsigned>(remainder / divisor);
        remainder %= divisor;
        if (!quotient.isEmpty() || digit != 0)
            quotient += QChar(QLatin1Char('0' + static_cast<char>(digit)));
    }
    if (quotient.isEmpty())
        quotient = QStringLiteral("0");

    // The first digit past the ones kept decides (with, for halves, nothing
    // else: 5 and anything after it is at least half).
    const int next = quotient.back().unicode() - '0';
    QString kept = quotient.size() > 1 ? quotient.left(quotient.size() - 1) : QStringLiteral("0");
    const bool up = rule == Rounding::HalfUp ? next >= 5 : next > 0;
    if (up)
        kept = plusOne(kept);

    if (kept.size() <= decimals)
        kept = QString(decimals + 1 - kept.size(), QLatin1Char('0')) + kept;
    QString text = decimals > 0 ? kept.left(kept.size() - decimals) + QLatin1Char('.') + kept.right(decimals) : kept;
    const bool zero = std::all_of(kept.cbegin(), kept.cend(), [](QChar c) { return c == QLatin1Char('0'); });
    if (a->negative && !zero)
        text.prepend(QLatin1Char('-'));
    return text;
}

std::optional<Rounding> roundingNamed(const QString &name)
{
    const QString word = name.trimmed();
    if (word.isEmpty())
        return Rounding::HalfUp;
    if (word.compare(QLatin1String("SUS"), Qt::CaseInsensitive) == 0)
        return Rounding::UpWhenNextDecimal;
    return std::nullopt;
}

} // namespace db::rate
