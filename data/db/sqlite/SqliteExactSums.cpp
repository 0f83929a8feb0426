#include "data/db/sqlite/SqliteExactSums.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <sqlite3.h>

namespace db {

namespace {

// Kept in SQLite's aggregate memory, which is aligned for 8 bytes only.
struct Tally {
    std::int64_t units = 0;
    bool inexact = false;
    bool started = false;
};

constexpr std::int64_t kPowers[] = {1,          10,          100,          1000,          10000,         100000,
                                    1000000,    10000000,    100000000,    1000000000,    10000000000,   100000000000,
                                    1000000000000, 10000000000000, 100000000000000};
constexpr int kMaxScale = 14;

// A real's units at `scale`, when a decimal of that many places is the
// value exactly: the candidate k = v * 10^scale rounded, kept when k / 10^scale
// (one correctly rounded division, k and 10^scale both exact in a double) is
// v again. Below 10^(15 - scale) the decimals of that scale lie far further
// apart than a double's steps, so k is the one the value's own text gives.
bool realUnits(double v, int scale, std::int64_t &units)
{
    static constexpr double kLimits[] = {1e15, 1e14, 1e13, 1e12, 1e11, 1e10, 1e9, 1e8,
                                         1e7,  1e6,  1e5,  1e4,  1e3,  1e2,  1e1};
    const double power = static_cast<double>(kPowers[scale]);
    if (!(std::fabs(v) < kLimits[scale])) // 15 significant digits or more, or not finite
        return false;
    const double k = std::nearbyint(v * power);
    if (k / power != v)
        return false;
    units = static_cast<std::int64_t>(k);
    return true;
}

void step(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    auto *tally = static_cast<Tally *>(sqlite3_aggregate_context(ctx, sizeof(Tally)));
    if (!tally)
        return;
    tally->started = true;
    if (tally->inexact)
        return;
    const int scale = sqlite3_value_int(argv[1]);
    if (scale < 0 || scale > kMaxScale) {
        tally->inexact = true;
        return;
    }
    std::int64_t units = 0;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: return;
    case SQLITE_INTEGER: {
        const std::int64_t v = sqlite3_value_int64(argv[0]);
        const std::int64_t limit = std::numeric_limits<std::int64_t>::max() / kPowers[scale];
        if (v > limit || v < -limit) {
            tally->inexact = true;
            return;
        }
        units = v * kPowers[scale];
        break;
    }
    case SQLITE_FLOAT:
        if (!realUnits(sqlite3_value_double(argv[0]), scale, units)) {
            tally->inexact = true;
            return;
        }
        break;
    default: tally->inexact = true; return;
    }
    if (__builtin_add_overflow(tally->units, units, &tally->units))
        tally->inexact = true;
}

void final(sqlite3_context *ctx)
{
    auto *tally = static_cast<Tally *>(sqlite3_aggregate_context(ctx, 0));
    if (!tally || !tally->started) {
        sqlite3_result_int64(ctx, 0);
        return;
    }
    if (tally->inexact)
        sqlite3_result_null(ctx);
    else
        sqlite3_result_int64(ctx, tally->units);
}

} // namespace

void registerExactSums(sqlite3 *db)
{
    sqlite3_create_function_v2(db, "EXACT_UNITS", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr, step,
                               final, nullptr);
}

} // namespace db
