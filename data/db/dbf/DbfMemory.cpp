#include "data/db/dbf/DbfMemory.h"

#include "data/db/DbError.h"
#include "data/db/Decimal.h"
#include "data/db/sqlite/SqliteRateFunction.h"

#include <QCoreApplication>
#include <QString>
#include <cstring>
#include <optional>
#include <sqlite3.h>

namespace db {

namespace {

// Fails the call of a function with `message`.
void resultError(sqlite3_context *ctx, const QString &message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), static_cast<int>(utf8.size()));
}

std::optional<dec::Decimal> argument(sqlite3_value *v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return dec::parse(QString::number(sqlite3_value_int64(v)));
    case SQLITE_FLOAT: return dec::parse(QString::number(sqlite3_value_double(v), 'g', 17));
    default:
        return dec::parse(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)),
                                               sqlite3_value_bytes(v)));
    }
}

void decimalFunction(sqlite3_context *ctx, int, sqlite3_value **argv, bool rounding)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto x = argument(argv[0]);
    if (!x) {
        resultError(ctx, QCoreApplication::translate("DbfMemory", "Valoarea \"%1\" nu este un numar.")
                             .arg(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])))));
        return;
    }
    const int n = sqlite3_value_int(argv[1]);
    if (n < -40 || n > 40) {
        resultError(ctx, QCoreApplication::translate("DbfMemory", "Argument in afara limitelor."));
        return;
    }
    const QByteArray out = dec::toText(rounding ? dec::round(*x, n) : dec::shift(*x, n)).toUtf8();
    sqlite3_result_text(ctx, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

// DECIMAL_SUB(a, b): a - b, exactly; Null when either is Null.
void decimalSubtract(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto a = argument(argv[0]);
    auto b = argument(argv[1]);
    if (!a || !b) {
        resultError(ctx, QCoreApplication::translate("DbfMemory", "Valoarea nu este un numar."));
        return;
    }
    b->negative = !b->negative;
    const QByteArray out = dec::toText(dec::add(*a, *b)).toUtf8();
    sqlite3_result_text(ctx, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

// DECIMAL_SUM(x): the exact sum of the non-Null values, "0" over none.
void decimalSumStep(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    auto **sum = static_cast<dec::Decimal **>(sqlite3_aggregate_context(ctx, sizeof(dec::Decimal *)));
    if (!sum) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    const auto x = argument(argv[0]);
    if (!x) {
        resultError(ctx, QCoreApplication::translate("DbfMemory", "Valoarea nu este un numar."));
        return;
    }
    if (!*sum)
        *sum = new dec::Decimal(*x);
    else
        **sum = dec::add(**sum, *x);
}

void decimalSumFinal(sqlite3_context *ctx)
{
    auto **sum = static_cast<dec::Decimal **>(sqlite3_aggregate_context(ctx, 0));
    const QByteArray out = sum && *sum ? dec::toText(**sum).toUtf8() : QByteArray("0");
    if (sum) {
        delete *sum;
        *sum = nullptr;
    }
    sqlite3_result_text(ctx, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

// Numbers by value, before any text that is not a number; such texts bytewise.
int compareNumbers(void *, int n1, const void *p1, int n2, const void *p2)
{
    const QString a = QString::fromUtf8(static_cast<const char *>(p1), n1);
    const QString b = QString::fromUtf8(static_cast<const char *>(p2), n2);
    const auto x = dec::parse(a), y = dec::parse(b);
    if (x && y)
        return dec::compare(*x, *y);
    if (x || y)
        return x ? -1 : 1;
    const int c = std::memcmp(p1, p2, static_cast<size_t>(qMin(n1, n2)));
    return c != 0 ? c : n1 - n2;
}

} // namespace

DbfMemory openDbfMemory()
{
    sqlite3 *raw = nullptr;
    if (sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(raw);
        throw DbError(E_FAIL, QCoreApplication::translate("DbfMemory",
                                                          "Memoria de lucru a furnizorului DBF nu poate fi deschisa."));
    }
    DbfMemory db(raw, [](sqlite3 *h) { sqlite3_close_v2(h); });
    sqlite3_create_function_v2(
        raw, "DECIMAL_SHIFT", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
        [](sqlite3_context *c, int n, sqlite3_value **v) { decimalFunction(c, n, v, false); }, nullptr, nullptr,
        nullptr);
    sqlite3_create_function_v2(
        raw, "DECIMAL_ROUND", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
        [](sqlite3_context *c, int n, sqlite3_value **v) { decimalFunction(c, n, v, true); }, nullptr, nullptr,
        nullptr);
    sqlite3_create_function_v2(raw, "DECIMAL_SUB", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, decimalSubtract,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(raw, "DECIMAL_SUM", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr,
                               decimalSumStep, decimalSumFinal, nullptr);
    registerRateDivide(raw);
    sqlite3_create_collation_v2(raw, "DBFNUM", SQLITE_UTF8, nullptr, compareNumbers, nullptr);
    return db;
}


} // namespace db
