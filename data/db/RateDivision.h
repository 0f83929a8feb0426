#pragma once

#include <QString>
#include <optional>

// The amount of a fixed-rate changeover: an old amount divided by the
// official rate, used in full, and rounded once, on the exact quotient. The
// arithmetic is done on the decimal digits, so no amount ever passes through
// a binary double and any number of digits is exact. The engines without
// exact decimals of their own (SQLite, the DBF provider) compute with it.
namespace db::rate {

enum class Rounding {
    // Halves go away from zero: 51.125 gives 51.13, -51.125 gives -51.13.
    HalfUp,
    // For salaries and social payments: when the first decimal past the ones
    // kept is not zero, the last one kept goes up by one, away from zero
    // (the new amount is never below the old one's worth). Only that first
    // decimal decides: 631.2200...7 gives 631.22.
    UpWhenNextDecimal,
};

// `amount` / `rate` rounded to `decimals` places (0 to 18) by `rule`, as
// plain text ("-51.13", "0.00"). Both are plain decimal texts ("1.95583",
// "-12345678901.23"; blanks around allowed); nothing when either is not
// one, when the rate is not above zero, or when `decimals` is out of range.
std::optional<QString> divide(const QString &amount, const QString &rate, int decimals, Rounding rule);

// The rule written in a project ("" or "SUS"); nothing for another word.
std::optional<Rounding> roundingNamed(const QString &name);

} // namespace db::rate
