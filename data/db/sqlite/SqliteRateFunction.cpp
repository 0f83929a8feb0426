#include "data/db/sqlite/SqliteRateFunction.h"

#include "data/db/Decimal.h"
#include "data/db/RateDivision.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <sqlite3.h>

namespace db {

namespace {

QString valueText(sqlite3_value *v)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

void fail(sqlite3_context *ctx, const QString &message)
{
    const QByteArray text = message.toUtf8();
    sqlite3_result_error(ctx, text.constData(), static_cast<int>(text.size()));
}

void rateDivide(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int kind = sqlite3_value_type(argv[0]);
    if (kind == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // The amount as plain decimal digits.
    std::optional<dec::Decimal> amount;
    if (kind == SQLITE_INTEGER)
        amount = dec::parse(QString::number(sqlite3_value_int64(argv[0])));
    else if (kind == SQLITE_FLOAT)
        amount = dec::parse(QString::number(sqlite3_value_double(argv[0]), 'g', QLocale::FloatingPointShortest));
    else
        amount = dec::parse(valueText(argv[0]));
    if (!amount) {
        fail(ctx, QCoreApplication::translate("SqliteRateFunction", "Valoarea \"%1\" nu este un numar.")
                      .arg(valueText(argv[0])));
        return;
    }
    const int decimals = sqlite3_value_int(argv[2]);
    const auto rule = rate::roundingNamed(sqlite3_value_type(argv[3]) == SQLITE_NULL ? QString() : valueText(argv[3]));
    if (!rule) {
        fail(ctx, QCoreApplication::translate("SqliteRateFunction", "Regula de rotunjire \"%1\" nu este cunoscuta.")
                      .arg(valueText(argv[3])));
        return;
    }
    const auto quotient = rate::divide(dec::toText(*amount), valueText(argv[1]), decimals, *rule);
    if (!quotient) {
        fail(ctx, QCoreApplication::translate("SqliteRateFunction",
                                              "Cursul \"%1\" sau numarul de zecimale %2 nu pot fi folosite.")
                      .arg(valueText(argv[1]), QString::number(decimals)));
        return;
    }
    if (kind == SQLITE_TEXT || kind == SQLITE_BLOB) {
        const QByteArray out = quotient->toUtf8();
        sqlite3_result_text(ctx, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
        return;
    }
    if (kind == SQLITE_INTEGER && decimals == 0) {
        bool ok = false;
        const qint64 whole = quotient->toLongLong(&ok);
        if (ok) {
            sqlite3_result_int64(ctx, whole);
            return;
        }
    }
    // Qt reads a decimal text as the double nearest to it, whatever the locale.
    sqlite3_result_double(ctx, quotient->toDouble());
}

} // namespace

void registerRateDivide(sqlite3 *db)
{
    sqlite3_create_function_v2(db, "RATE_DIVIDE", 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, rateDivide, nullptr,
                               nullptr, nullptr);
}

} // namespace db
