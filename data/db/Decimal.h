#pragma once

#include <QString>
#include <optional>

namespace db::dec {

// Exact decimal numbers as digit strings: the DBF provider's values, the
// control totals' sums and the rate division's amounts never pass through a
// binary double.

// An exact decimal number: sign, digits without a point, and how many of
// them are decimals. 12.50 is {false, "1250", 2}.
struct Decimal {
    bool negative = false;
    QString digits; // ASCII digits, at least one
    int scale = 0;  // digits after the point (never negative)
};

// Reads "-12.50", "+3", ".5", "1.5e3" (blanks around allowed). Nothing on
// anything else.
std::optional<Decimal> parse(const QString &text);

// Plain text, "-0.15", with exactly `scale` decimals.
QString toText(const Decimal &value);

// value * 10^power, exactly.
Decimal shift(const Decimal &value, int power);

// Rounded to `decimals` places, halves away from zero; a value with fewer
// decimals is padded with zeros.
Decimal round(const Decimal &value, int decimals);

// -1, 0 or 1. Zero has no sign: -0.00 equals 0.
int compare(const Decimal &a, const Decimal &b);

// a + b, exactly, with the larger of the two scales.
Decimal add(const Decimal &a, const Decimal &b);

} // namespace db::dec
