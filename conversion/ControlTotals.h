#pragma once

#include "data/Changeover.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace db {
class Connection;
} // namespace db

// Control totals of a conversion: for each converted field, what the user's
// database itself sums over the rows that hold a recovery value, in the same
// transaction as the conversion. The program never adds fetched amounts: it
// only checks and formats the decimal texts the database returns, and adds
// totals of fields exactly, digit by digit (per data source and per run).
namespace conversion {

// The totals of one field.
struct FieldTotals {
    bool toLeiNoi = true;
    QString unavailable;      // why there are no totals; "" when there are
    bool approximate = false; // a float column, or values that cannot be read exactly
    QString rows;             // rows holding an amount
    QString oldSum;           // old lei, from the recovery column
    // To new lei:
    QString newSum;      // the new amounts
    QString expectedSum; // old sum / rate: exact for the leu's 10 000, else rounded to 4 decimals past those kept
    QString difference;  // new sum - expected sum: the rounding difference
    // Back to old lei:
    QString restoredSum;          // the amounts restored
    bool restoredMatches = false; // restored sum = old sum, as the database compared them
    // To new lei on the built-in SQLite: an old amount that is not a number
    // (text such as "12,50"), read in the same pass; "" when there is none.
    QString nonNumber;

    bool available() const { return unavailable.isEmpty(); }
};

// How the engine behind a connection is asked for its totals.
enum class TotalsDialect { Sqlite, PostgreSql, MySql, Dbf, Generic };
TotalsDialect totalsDialect(const db::Connection &conn);

// The aggregate queries of one field. `table`, `field` and `rec` are written
// as the data source's type writes names; `scale` is the decimals the amount
// column keeps (-1: not fixed) and `floating` says it is a float column.
struct TotalsSql {
    TotalsDialect dialect = TotalsDialect::Generic;
    QString table, field, rec;
    int scale = -1;
    bool floating = false;
    bool exactUnits = true; // SQLite: decimals as scaled integers read from the value's text
    bool leuRate = true;    // the expected sum is the old sum / 10 000; otherwise the program divides
    bool nativeUnits = false; // the built-in SQLite provider: its EXACT_UNITS aggregate sums the units

    // To new lei, after the statements: rows, old, new, expected, difference[, inexact values].
    QString toNewLei() const;
    // Back, before the statements: rows, old sum, sum of the amounts the
    // restore leaves alone[, inexact values].
    QString beforeRestore() const;
    // Back, after the statements: restored sum (all amounts less those left
    // alone), 1 when it equals the old sum[, inexact values].
    QString afterRestore(const QString &oldSum, const QString &untouchedSum) const;
    // The decimals of the scaled integers of SQLite's exact sums.
    int unitScale() const { return scale >= 0 ? scale : 4; }
};

// Computes the totals of one field on its open connection, inside the
// field's transaction. Failures never throw: they make the totals
// unavailable, and a query the database refused is also told by failure(),
// for the field's transaction must not be committed after it (a driver may
// have rolled the whole transaction back).
class ControlTotals {
public:
    ControlTotals(db::Connection &conn, const QString &tableName, const QString &owner, const QString &fieldName,
                  const QString &tableRef, const QString &fieldRef, const QString &recRef, bool toLeiNoi);
    // Before the conversion statements (back to old lei reads the recovery column here).
    void beforeStatements();
    // After the statements, before the commit.
    FieldTotals afterStatements();
    // The decimals the amounts of a column without a fixed scale (a float)
    // are rounded to (the template's rounding); approximate sums are shown
    // with four more.
    void setKeptDecimals(int decimals) { mKeptDecimals = decimals; }
    // The changeover's rate (old units for one new unit, a decimal text).
    // For any rate but 10 000 the expected sum is the old sum divided by it
    // exactly and rounded to four decimals past those the amounts keep, and
    // the difference is the new sum less that.
    void setRate(const QString &rate)
    {
        mRate = rate;
        mSql.leuRate = rate == QLatin1String("10000");
    }
    // True when afterStatements() also looks for old amounts that are not
    // numbers (FieldTotals::nonNumber), in the pass that sums them: the
    // field's statements may then run before that check, inside the
    // transaction that a non-number rolls back.
    bool checksNumbers() const { return mToLeiNoi && mSql.nativeUnits; }
    // The error of a totals query that failed; "" when none did.
    const QString &failure() const { return mFailure; }

    // Tests only: every totals query goes through `hook` (which may replace
    // it) before it runs; an empty function takes the hook away.
    static void setQueryHook(std::function<QString(const QString &)> hook);

private:
    QStringList fetch(const QString &sql, int columns);
    // An old amount of the converted rows that is not a number; "" when none.
    QString firstNonNumber();
    int approximateDecimals() const;
    // SQLite's exact sums of units; a sum beyond 64-bit integers reads as
    // inexact (the last column 1), so that the doubles' sums are read instead.
    QStringList fetchUnits(const QString &sql, int columns);
    QStringList fetchWithFallback(TotalsSql sql, int columns, bool before, FieldTotals &totals);

    db::Connection &mConn;
    TotalsSql mSql;
    bool mToLeiNoi;
    FieldTotals mBefore;
    QString mUntouched;
    QString mFailure;
    int mKeptDecimals = 2;
    QString mRate = QStringLiteral("10000");
};

// Adds decimal texts exactly; "" when one is not a plain decimal.
QString addDecimals(const QString &a, const QString &b);
// a - b, exactly; "" when one is not a plain decimal.
QString subtractDecimals(const QString &a, const QString &b);

// Totals of several fields added up (only fields with totals count).
struct TotalsSum {
    bool toLeiNoi = true;
    int fields = 0;           // fields with totals
    int unavailable = 0;      // fields without
    bool approximate = false; // one of them approximate
    bool allMatch = true;     // back: every restored sum equals its old sum
    QString rows = QStringLiteral("0");
    QString oldSum = QStringLiteral("0"), newSum = QStringLiteral("0"), expectedSum = QStringLiteral("0"),
            difference = QStringLiteral("0"), restoredSum = QStringLiteral("0");
    void add(const FieldTotals &totals);
};

// The texts of the report's totals. A field's values, in the order of
// `totalsHeader`: rows, the sums, and the remark.
QStringList totalsHeader(bool toLeiNoi, const Changeover &changeover = Changeover());
QStringList totalsValues(const FieldTotals &totals);
QStringList totalsValues(const TotalsSum &sum, const QString &label);
// "egal" / "DIFERIT" for a restore check; the remark of approximate totals.
QString restoreCheckText(bool matches, bool approximate);

} // namespace conversion
