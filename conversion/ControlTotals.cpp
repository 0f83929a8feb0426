#include "conversion/ControlTotals.h"

#include "conversion/EngineSupport.h"
#include "data/db/AdoTypes.h"
#include "data/db/ConnString.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/RateDivision.h"
#include "data/db/Recordset.h"
#include "data/db/Decimal.h"

#include <QCoreApplication>

namespace conversion {

namespace {

// The remark of totals that are not exact.
QString approximateText()
{
    //: Remark of control totals that are not exact (read from floating-point values).
    return QCoreApplication::translate("ControlTotals", "aproximativ");
}

QString noNumberText()
{
    return QCoreApplication::translate("ControlTotals", "baza de date nu a intors un numar pentru totaluri");
}

QString noRowText()
{
    return QCoreApplication::translate("ControlTotals", "interogarea totalurilor nu a intors niciun rand");
}

QString zeros(int n) { return QString(n, QLatin1Char('0')); }
QString power10(int n) { return QLatin1Char('1') + zeros(n); }

// A decimal text the database returned, checked and written plainly
// ("1.5E+3" becomes "1500"); "" when it is not a number.
QString plainDecimal(const QString &text)
{
    const auto value = db::dec::parse(text);
    return value ? db::dec::toText(*value) : QString();
}

// An approximate sum as a person reads it: rounded (halves away from zero,
// on its decimal text) to `decimals` places, without the zeros a cast to a
// wide decimal pads it with. Its last digits are noise of binary floats.
QString forPeople(const QString &text, int decimals)
{
    auto value = db::dec::parse(text);
    if (!value)
        return text;
    if (value->scale > decimals)
        value = db::dec::round(*value, decimals);
    QString out = db::dec::toText(*value);
    if (out.contains(QLatin1Char('.'))) {
        while (out.endsWith(QLatin1Char('0')))
            out.chop(1);
        if (out.endsWith(QLatin1Char('.')))
            out.chop(1);
    }
    return out == QLatin1String("-0") ? QStringLiteral("0") : out;
}

// An integer of scaled units as a decimal with `scale` decimals: "-495", 5 gives "-0.00495".
QString fromUnits(const QString &units, int scale)
{
    const auto value = db::dec::parse(units);
    if (!value || value->scale != 0)
        return QString();
    return db::dec::toText(db::dec::shift(*value, -scale));
}

// SQLite: the value as a whole number of units of 10^-scale, without any
// binary arithmetic on it: an integer is multiplied as an integer, a real is
// written with `scale` decimals by SQLite's printf and read back as the
// digits without the point. Anything else gives Null.
QString sqliteUnits(const QString &value, int scale)
{
    return QStringLiteral("CASE WHEN typeof(%1) = 'integer' THEN %1 * %2 WHEN typeof(%1) = 'real' "
                          "THEN CAST(replace(printf('%.%3f', %1), '.', '') AS INTEGER) END")
        .arg(value, power10(scale), QString::number(scale));
}

// SQLite: 1 when the units of the value are not exact: a real that is not
// the double of its text with `scale` decimals (it holds more decimals), a
// real beyond 15 significant digits, an integer too large to scale, or a
// value that is not a number.
QString sqliteInexact(const QString &value, int scale)
{
    const QString limit = QString::number(Q_INT64_C(9223372036854775807) / power10(scale).toLongLong());
    return QStringLiteral("CASE WHEN %1 IS NULL THEN 0 WHEN typeof(%1) = 'integer' THEN (abs(%1) > %2) "
                          "WHEN typeof(%1) = 'real' THEN (abs(%1) >= 1e%3 OR CAST(printf('%.%4f', %1) AS REAL) <> %1) "
                          "ELSE 1 END")
        .arg(value, limit, QString::number(15 - scale), QString::number(scale));
}

// The exact sum of a column as the engine writes it.
QString sumOf(TotalsDialect dialect, const QString &expr, int scale)
{
    switch (dialect) {
    // Each amount is made NUMERIC before the sum: a sum of integers or of
    // money could overflow its type, and a failed statement would end the
    // conversion's transaction.
    case TotalsDialect::PostgreSql: return QStringLiteral("COALESCE(SUM(CAST(%1 AS NUMERIC)), 0)").arg(expr);
    case TotalsDialect::MySql:
        return QStringLiteral("COALESCE(CAST(SUM(%1) AS DECIMAL(65,%2)), 0)")
            .arg(expr, QString::number(scale >= 0 ? scale : 10));
    case TotalsDialect::Sqlite: return QStringLiteral("TOTAL(%1)").arg(expr);
    // The DBF provider's own exact sum of decimal texts ("0" over no row).
    case TotalsDialect::Dbf: return QStringLiteral("DECIMAL_SUM(%1)").arg(expr);
    case TotalsDialect::Generic: break;
    }
    return QStringLiteral("COALESCE(SUM(CAST(%1 AS DECIMAL(38,10))), 0)").arg(expr);
}

} // namespace

TotalsDialect totalsDialect(const db::Connection &conn)
{
    if (db::ConnString::parse(conn.connectionString())
            .value(QStringLiteral("Provider"))
            .compare(QLatin1String("DBF"), Qt::CaseInsensitive)
        == 0)
        return TotalsDialect::Dbf;
    switch (conn.dialect()) {
    case db::SqlDialect::Sqlite: return TotalsDialect::Sqlite;
    case db::SqlDialect::PostgreSql: return TotalsDialect::PostgreSql;
    case db::SqlDialect::MySql: return TotalsDialect::MySql;
    case db::SqlDialect::Generic: break;
    }
    return TotalsDialect::Generic;
}

// The built-in SQLite provider's one-pass exact sum of units, Null when a
// value is not exact at that scale.
static QString exactUnitsSum(const QString &value, int scale)
{
    return QStringLiteral("EXACT_UNITS(%1, %2)").arg(value, QString::number(scale));
}

QString TotalsSql::toNewLei() const
{
    if (dialect == TotalsDialect::Sqlite && exactUnits && nativeUnits) {
        const int s = unitScale();
        const QString oldUnits = exactUnitsSum(rec, s);
        const QString newUnits = exactUnitsSum(field, s);
        // The sixth column: an old amount that is not a number, if any.
        return QStringLiteral("SELECT COUNT(*), %1, %2, %3, CASE WHEN %1 IS NULL OR %2 IS NULL THEN 1 ELSE 0 END, "
                              "MIN(CASE WHEN typeof(%5) IN ('text', 'blob') THEN %5 END) FROM %4 WHERE %5 IS NOT NULL")
            .arg(oldUnits, newUnits,
                 leuRate ? newUnits + QStringLiteral(" * 10000 - ") + oldUnits : QStringLiteral("0"), table, rec);
    }
    if (dialect == TotalsDialect::Sqlite && exactUnits) {
        const int s = unitScale();
        const QString oldUnits = QStringLiteral("COALESCE(SUM(%1), 0)").arg(sqliteUnits(rec, s));
        const QString newUnits = QStringLiteral("COALESCE(SUM(%1), 0)").arg(sqliteUnits(field, s));
        return QStringLiteral("SELECT COUNT(*), %1, %2, %3, COALESCE(SUM(%4 + %5), 0) FROM %6 "
                              "WHERE %7 IS NOT NULL")
            .arg(oldUnits, newUnits, leuRate ? newUnits + QStringLiteral(" * 10000 - ") + oldUnits : QStringLiteral("0"),
                 sqliteInexact(rec, s), sqliteInexact(field, s), table, rec);
    }
    const QString oldSum = sumOf(dialect, rec, scale);
    const QString newSum = sumOf(dialect, field, scale);
    QString expected = oldSum + QStringLiteral(" * 0.0001");
    QString difference = newSum + QStringLiteral(" - ") + expected;
    if (!leuRate) {
        // The program divides the old sum by the rate itself.
        expected = difference = QStringLiteral("0");
    } else if (dialect == TotalsDialect::Sqlite) {
        expected = oldSum + QStringLiteral(" / 10000.0");
        difference = newSum + QStringLiteral(" - ") + expected;
    } else if (dialect == TotalsDialect::Dbf) {
        expected = QStringLiteral("DECIMAL_SHIFT(%1, -4)").arg(oldSum);
        difference = QStringLiteral("DECIMAL_SUB(%1, %2)").arg(newSum, expected);
    }
    // The built-in SQLite also tells an old amount that is text.
    const QString nonNumber = nativeUnits ? QStringLiteral(", MIN(CASE WHEN typeof(%1) IN ('text', 'blob') THEN %1 END)")
                                                .arg(rec)
                                          : QString();
    return QStringLiteral("SELECT COUNT(%1), %2, %3, %4, %5%7 FROM %6 WHERE %1 IS NOT NULL")
        .arg(rec, oldSum, newSum, expected, difference, table, nonNumber);
}

QString TotalsSql::beforeRestore() const
{
    const QString untouched = QStringLiteral("CASE WHEN %1 IS NULL THEN %2 END");
    if (dialect == TotalsDialect::Sqlite && exactUnits && nativeUnits) {
        const int s = unitScale();
        const QString oldUnits = exactUnitsSum(rec, s);
        const QString untouchedUnits = exactUnitsSum(untouched.arg(rec, field), s);
        return QStringLiteral("SELECT COUNT(%1), %2, %3, CASE WHEN %2 IS NULL OR %3 IS NULL THEN 1 ELSE 0 END FROM %4")
            .arg(rec, oldUnits, untouchedUnits, table);
    }
    if (dialect == TotalsDialect::Sqlite && exactUnits) {
        const int s = unitScale();
        return QStringLiteral("SELECT COUNT(%1), COALESCE(SUM(%2), 0), COALESCE(SUM(CASE WHEN %1 IS NULL THEN %3 END), 0), "
                              "COALESCE(SUM(%4 + CASE WHEN %1 IS NULL THEN %5 ELSE 0 END), 0) FROM %6")
            .arg(rec, sqliteUnits(rec, s), sqliteUnits(field, s), sqliteInexact(rec, s), sqliteInexact(field, s),
                 table);
    }
    return QStringLiteral("SELECT COUNT(%1), %2, %3 FROM %4")
        .arg(rec, sumOf(dialect, rec, scale), sumOf(dialect, untouched.arg(rec, field), scale), table);
}

QString TotalsSql::afterRestore(const QString &oldSum, const QString &untouchedSum) const
{
    if (dialect == TotalsDialect::Sqlite && exactUnits && nativeUnits) {
        const QString units = exactUnitsSum(field, unitScale());
        const QString restored = units + QStringLiteral(" - (") + untouchedSum + QLatin1Char(')');
        return QStringLiteral("SELECT %1, CASE WHEN %1 = (%2) THEN 1 ELSE 0 END, CASE WHEN %3 IS NULL THEN 1 ELSE 0 END "
                              "FROM %4")
            .arg(restored, oldSum, units, table);
    }
    if (dialect == TotalsDialect::Sqlite && exactUnits) {
        const int s = unitScale();
        const QString restored =
            QStringLiteral("COALESCE(SUM(%1), 0) - (%2)").arg(sqliteUnits(field, s), untouchedSum);
        return QStringLiteral("SELECT %1, CASE WHEN %1 = (%2) THEN 1 ELSE 0 END, COALESCE(SUM(%3), 0) FROM %4")
            .arg(restored, oldSum, sqliteInexact(field, s), table);
    }
    if (dialect == TotalsDialect::Dbf) {
        // Decimal texts, compared by value.
        const QString restored = QStringLiteral("DECIMAL_SUB(%1, '%2')").arg(sumOf(dialect, field, scale), untouchedSum);
        return QStringLiteral("SELECT %1, CASE WHEN %1 = '%2' COLLATE DBFNUM THEN 1 ELSE 0 END FROM %3")
            .arg(restored, oldSum, table);
    }
    const QString restored = sumOf(dialect, field, scale) + QStringLiteral(" - (") + untouchedSum + QLatin1Char(')');
    return QStringLiteral("SELECT %1, CASE WHEN %1 = (%2) THEN 1 ELSE 0 END FROM %3").arg(restored, oldSum, table);
}

ControlTotals::ControlTotals(db::Connection &conn, const QString &tableName, const QString &owner,
                             const QString &fieldName, const QString &tableRef, const QString &fieldRef,
                             const QString &recRef, bool toLeiNoi)
    : mConn(conn), mToLeiNoi(toLeiNoi)
{
    mSql.dialect = totalsDialect(conn);
    mSql.nativeUnits = mSql.dialect == TotalsDialect::Sqlite
                       && db::ConnString::parse(conn.connectionString())
                                  .value(QStringLiteral("Provider"))
                                  .compare(QLatin1String("SQLite"), Qt::CaseInsensitive)
                              == 0;
    mSql.table = tableRef;
    mSql.field = fieldRef;
    mSql.rec = recRef;
    try {
        const db::ColumnType type = conn.columnType(tableName, fieldName, owner);
        mSql.scale = type.scale;
        mSql.floating = type.adoType == db::adSingle || type.adoType == db::adDouble;
    } catch (const std::exception &) {
        // Unknown type: SQLite reads the values at four decimals and says
        // when they have more; the other engines sum what the column holds.
    }
    mSql.exactUnits = !mSql.floating;
    mBefore.toLeiNoi = toLeiNoi;
}

namespace {

std::function<QString(const QString &)> &queryHook()
{
    static std::function<QString(const QString &)> hook;
    return hook;
}

} // namespace

void ControlTotals::setQueryHook(std::function<QString(const QString &)> hook)
{
    queryHook() = std::move(hook);
}

QString ControlTotals::firstNonNumber()
{
    db::Recordset rs = mConn.openRecordset(QStringLiteral("SELECT %1 FROM %2 WHERE %1 IS NOT NULL AND typeof(%1) IN "
                                                          "('text', 'blob') LIMIT 1")
                                               .arg(mSql.rec, mSql.table),
                                           db::CursorType::Static, db::LockType::ReadOnly, 1);
    return rs.eof() ? QString() : rs.value(0).toString();
}

QStringList ControlTotals::fetchUnits(const QString &sql, int columns)
{
    try {
        return fetch(sql, columns);
    } catch (const db::DbError &e) {
        // SQLite adds whole units as 64-bit integers and stops on an
        // overflow: sums that large are read as doubles instead, marked
        // approximate. A failed query leaves SQLite's transaction as it was.
        if (!e.description().contains(QLatin1String("integer overflow")))
            throw;
    }
    // The last column is the inexact flag; a toNew pass that also looks for
    // non-numbers gives one column less here, so that the caller looks again.
    const int flagged = columns == 6 ? 5 : columns;
    QStringList v;
    for (int i = 0; i < flagged; ++i)
        v.append(i == flagged - 1 ? QStringLiteral("1") : QStringLiteral("0"));
    return v;
}

int ControlTotals::approximateDecimals() const
{
    return (mSql.scale >= 0 ? mSql.scale : mKeptDecimals) + 4;
}

QStringList ControlTotals::fetch(const QString &query, int columns)
{
    const QString sql = queryHook() ? queryHook()(query) : query;
    // The queries are built so that they cannot fail on data (PostgreSQL,
    // whose transaction a failed statement would end, adds in NUMERIC, which
    // does not overflow); a failure here leaves the field without totals.
    if (mSql.dialect == TotalsDialect::PostgreSql) {
        // The row as one text in a VALUES row, which the driver reads at
        // once, where it would open and close a cursor around a SELECT. The
        // text of a row of numbers is "(n1,n2,...)", each number as the
        // server writes it, a Null as nothing.
        db::Recordset rs = mConn.openRecordset(QStringLiteral("VALUES ((SELECT CAST(ROW(VamorTotals.*) AS text) FROM (")
                                                   + sql + QStringLiteral(") VamorTotals))"),
                                               db::CursorType::Static, db::LockType::ReadOnly, 1);
        const QString row = rs.eof() ? QString() : rs.value(0).toString();
        if (!row.startsWith(QLatin1Char('(')) || !row.endsWith(QLatin1Char(')')))
            throw db::DbError(db::E_FAIL, noRowText());
        const QStringList values = row.mid(1, row.size() - 2).split(QLatin1Char(','));
        if (values.size() < columns)
            throw db::DbError(db::E_FAIL, noRowText());
        return values.mid(0, columns);
    }
    db::Recordset rs = mConn.openRecordset(sql, db::CursorType::Static, db::LockType::ReadOnly, 1);
    if (rs.eof() || rs.fieldCount() < columns)
        throw db::DbError(db::E_FAIL, noRowText());
    QStringList values;
    for (int i = 0; i < columns; ++i)
        values.append(rs.value(i).toString());
    return values;
}

void ControlTotals::beforeStatements()
{
    if (mToLeiNoi || !mBefore.available())
        return;
    try {
        const bool units = mSql.dialect == TotalsDialect::Sqlite && mSql.exactUnits;
        QStringList v = units ? fetchUnits(mSql.beforeRestore(), 4) : fetch(mSql.beforeRestore(), 3);
        if (units && v.at(3) != QLatin1String("0")) {
            // A value SQLite cannot give exactly: the sums of doubles instead.
            mSql.exactUnits = false;
            v = fetch(mSql.beforeRestore(), 3);
        }
        mBefore.rows = v.at(0);
        mBefore.approximate = mSql.floating || (mSql.dialect == TotalsDialect::Sqlite && !mSql.exactUnits);
        // Kept as the database wrote them: they go back into the query after the restore.
        mBefore.oldSum = plainDecimal(v.at(1));
        mUntouched = plainDecimal(v.at(2));
        if (mBefore.oldSum.isEmpty() || mUntouched.isEmpty())
            mBefore.unavailable = noNumberText();
    } catch (const std::exception &e) {
        mBefore.unavailable = detail::errorText(e);
        mFailure = mBefore.unavailable;
    }
}

FieldTotals ControlTotals::afterStatements()
{
    FieldTotals totals = mBefore;
    if (!totals.available())
        return totals;
    const bool units = mSql.dialect == TotalsDialect::Sqlite && mSql.exactUnits;
    const int s = mSql.unitScale();
    try {
        if (mToLeiNoi) {
            const bool checking = checksNumbers();
            QStringList v = units ? fetchUnits(mSql.toNewLei(), checking ? 6 : 5)
                                  : fetch(mSql.toNewLei(), checking ? 6 : 5);
            if (checking) {
                // A sum beyond 64-bit integers ended the pass early: the
                // old amounts are looked at on their own.
                totals.nonNumber = v.size() > 5 ? v.at(5) : firstNonNumber();
                if (!totals.nonNumber.isEmpty()) {
                    totals.unavailable = QCoreApplication::translate("ControlTotals", "valori care nu sunt numere");
                    return totals;
                }
            }
            if (units && v.at(4) != QLatin1String("0")) {
                mSql.exactUnits = false;
                v = fetch(mSql.toNewLei(), 5);
            }
            const bool exact = !(mSql.dialect == TotalsDialect::Sqlite && !mSql.exactUnits) && !mSql.floating;
            totals.approximate = !exact;
            totals.rows = v.at(0);
            if (mSql.dialect == TotalsDialect::Sqlite && mSql.exactUnits) {
                totals.oldSum = fromUnits(v.at(1), s);
                totals.newSum = fromUnits(v.at(2), s);
                totals.expectedSum = fromUnits(v.at(1), s + 4);
                totals.difference = fromUnits(v.at(3), s + 4);
            } else {
                totals.oldSum = plainDecimal(v.at(1));
                totals.newSum = plainDecimal(v.at(2));
                totals.expectedSum = plainDecimal(v.at(3));
                totals.difference = plainDecimal(v.at(4));
            }
            if (!mSql.leuRate) {
                // The quotient of any other rate does not end: it is given to
                // four decimals past those the amounts keep.
                const QString oldSum = plainDecimal(totals.oldSum);
                const auto expected =
                    oldSum.isEmpty() ? std::nullopt
                                     : db::rate::divide(oldSum, mRate, approximateDecimals(), db::rate::Rounding::HalfUp);
                totals.expectedSum = expected ? *expected : QString();
                totals.difference = subtractDecimals(plainDecimal(totals.newSum), totals.expectedSum);
            }
            if (totals.approximate)
                for (QString *sum : {&totals.oldSum, &totals.newSum, &totals.expectedSum, &totals.difference})
                    *sum = forPeople(*sum, approximateDecimals());
            if (totals.oldSum.isEmpty() || totals.newSum.isEmpty() || totals.expectedSum.isEmpty()
                || totals.difference.isEmpty())
                totals.unavailable = noNumberText();
        } else {
            const QStringList v = units ? fetchUnits(mSql.afterRestore(mBefore.oldSum, mUntouched), 3)
                                        : fetch(mSql.afterRestore(mBefore.oldSum, mUntouched), 2);
            if (units && v.at(2) != QLatin1String("0")) {
                // The restored amounts hold a value the sums before did not.
                totals.unavailable =
                    QCoreApplication::translate("ControlTotals", "suma restaurata nu poate fi citita exact");
                return totals;
            }
            totals.restoredSum = units ? fromUnits(v.at(0), s) : plainDecimal(v.at(0));
            totals.restoredMatches = v.at(1) == QLatin1String("1");
            if (totals.approximate) {
                totals.oldSum = forPeople(totals.oldSum, approximateDecimals());
                totals.restoredSum = forPeople(totals.restoredSum, approximateDecimals());
            }
            if (units)
                totals.oldSum = fromUnits(mBefore.oldSum, s);
            if (totals.restoredSum.isEmpty())
                totals.unavailable = noNumberText();
        }
    } catch (const std::exception &e) {
        totals.unavailable = detail::errorText(e);
        mFailure = totals.unavailable;
    }
    return totals;
}

QString addDecimals(const QString &a, const QString &b)
{
    const auto x = db::dec::parse(a), y = db::dec::parse(b);
    if (!x || !y)
        return QString();
    return db::dec::toText(db::dec::add(*x, *y));
}

QString subtractDecimals(const QString &a, const QString &b)
{
    auto y = db::dec::parse(b);
    if (!y)
        return QString();
    y->negative = !y->negative;
    return addDecimals(a, db::dec::toText(*y));
}

void TotalsSum::add(const FieldTotals &totals)
{
    toLeiNoi = totals.toLeiNoi;
    if (!totals.available()) {
        ++unavailable;
        return;
    }
    ++fields;
    approximate = approximate || totals.approximate;
    rows = addDecimals(rows, totals.rows);
    oldSum = addDecimals(oldSum, totals.oldSum);
    if (totals.toLeiNoi) {
        newSum = addDecimals(newSum, totals.newSum);
        expectedSum = addDecimals(expectedSum, totals.expectedSum);
        difference = addDecimals(difference, totals.difference);
    } else {
        restoredSum = addDecimals(restoredSum, totals.restoredSum);
        allMatch = allMatch && totals.restoredMatches;
    }
}

QStringList totalsHeader(bool toLeiNoi, const Changeover &changeover)
{
    //: Column head: the sum in a currency, as "Suma lei vechi".
    const QString oldSum = QCoreApplication::translate("ControlTotals", "Suma %1").arg(changeover.inLowerCase(false));
    const QString records = QCoreApplication::translate("ControlTotals", "Inregistrari");
    const QString remarks = QCoreApplication::translate("ControlTotals", "Observatii");
    if (toLeiNoi)
        return {records, oldSum,
                //: Column head: the sum in a currency, as "Suma lei vechi".
                QCoreApplication::translate("ControlTotals", "Suma %1").arg(changeover.inLowerCase(true)),
                QCoreApplication::translate("ControlTotals", "Suma asteptata"),
                QCoreApplication::translate("ControlTotals", "Diferenta rotunjire"), remarks};
    return {records, oldSum, QCoreApplication::translate("ControlTotals", "Suma restaurata"),
            //: Column head: whether the restored sum equals the old one.
            QCoreApplication::translate("ControlTotals", "Verificare"), remarks};
}

QString restoreCheckText(bool matches, bool approximate)
{
    if (approximate)
        return approximateText();
    //: The restored sum equals the old one.
    return matches ? QCoreApplication::translate("ControlTotals", "egal")
                   //: The restored sum differs from the old one; written in capitals to stand out.
                   : QCoreApplication::translate("ControlTotals", "DIFERIT");
}

QStringList totalsValues(const FieldTotals &totals)
{
    const int width = static_cast<int>(totalsHeader(totals.toLeiNoi).size());
    if (!totals.available()) {
        QStringList values(width - 1);
        values.append(QCoreApplication::translate("ControlTotals", "fara totaluri: %1").arg(totals.unavailable));
        return values;
    }
    const QString remark = totals.approximate ? approximateText() : QString();
    if (totals.toLeiNoi)
        return {totals.rows, totals.oldSum, totals.newSum, totals.expectedSum, totals.difference, remark};
    return {totals.rows, totals.oldSum, totals.restoredSum,
            restoreCheckText(totals.restoredMatches, totals.approximate), remark};
}

QStringList totalsValues(const TotalsSum &sum, const QString &label)
{
    QString remark = label;
    if (sum.approximate)
        remark += QStringLiteral("; ") + approximateText();
    if (sum.unavailable > 0)
        remark += QStringLiteral("; ")
                  + QCoreApplication::translate("ControlTotals", "%n campuri fara totaluri", nullptr, sum.unavailable);
    if (sum.toLeiNoi)
        return {sum.rows, sum.oldSum, sum.newSum, sum.expectedSum, sum.difference, remark};
    return {sum.rows, sum.oldSum, sum.restoredSum,
            sum.fields == 0 ? QString() : restoreCheckText(sum.allMatch, sum.approximate), remark};
}

} // namespace conversion
