#pragma once

struct sqlite3;

namespace db {

// Registers RATE_DIVIDE(amount, rate, decimals, rule) on a SQLite database:
// the amount divided by the rate (a decimal text used in full) and rounded
// once to `decimals` places by `rule` ('' halves away from zero, 'SUS' up
// when the next decimal is not zero), on the exact quotient.
//
// An integer or a decimal text is read digit by digit; a real is read as the
// shortest decimal that gives the same double (the amount the user typed).
// The result keeps the kind of the amount: a decimal text for a text, a
// whole number for an integer rounded to no decimals, otherwise the double
// nearest to the exactly rounded value. Null stays Null; anything that is
// not a number fails the statement with a message.
void registerRateDivide(sqlite3 *db);

} // namespace db
