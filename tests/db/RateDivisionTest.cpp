// An old amount divided by a changeover's official rate and rounded once:
// the published examples of both rules, and thousands of amounts whose
// quotient falls next to a rounding boundary, each checked by multiplying
// back in whole numbers.
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/RateDivision.h"
#include "data/db/Recordset.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

using db::rate::Rounding;

namespace {

struct Example {
    const char *amount;
    const char *rate;
    Rounding rule;
    const char *expected;
};

class RateExamples : public ::testing::TestWithParam<Example> {};

TEST_P(RateExamples, GiveThePublishedAmount)
{
    const Example &e = GetParam();
    const std::optional<QString> got = db::rate::divide(QString::fromLatin1(e.amount), QString::fromLatin1(e.rate), 2, e.rule);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->toStdString(), e.expected) << e.amount << " / " << e.rate;
}

constexpr Rounding kHalf = Rounding::HalfUp;
constexpr Rounding kSus = Rounding::UpWhenNextDecimal;

INSTANTIATE_TEST_SUITE_P(
    Changeovers, RateExamples,
    ::testing::Values(Example{"100", "1.95583", kHalf, "51.13"}, Example{"1000", "1.95583", kHalf, "511.29"},
                      Example{"0.01", "1.95583", kHalf, "0.01"}, Example{"-100", "1.95583", kHalf, "-51.13"},
                      Example{"12345678901.23", "1.95583", kHalf, "6312245390.05"},
                      Example{"195.58", "1.95583", kHalf, "100.00"}, Example{"100", "7.53450", kHalf, "13.27"},
                      Example{"7.5345", "7.53450", kHalf, "1.00"}, Example{"1000000", "7.53450", kHalf, "132722.81"},
                      Example{"2000", "1.95583", kSus, "1022.59"}, Example{"1000", "1.95583", kSus, "511.30"},
                      Example{"1234.56", "1.95583", kSus, "631.22"}, Example{"-1000", "1.95583", kSus, "-511.30"},
                      Example{"0", "1.95583", kSus, "0.00"}, Example{"-0.001", "1.95583", kHalf, "0.00"},
                      Example{"14875000", "10000", kHalf, "1487.50"}, Example{" 149495 ", "10000", kHalf, "14.95"}));

// Amounts in cents whose quotient by 1.95583 lies just below, on and just
// above each side of a half cent (HalfUp) and of a whole cent (the salary
// rule), both signs; each result is checked against the rule restated in
// whole numbers: for a result of C cents and the rate as R hundred-
// thousandths, HalfUp needs (2C - 1) R <= 2 A 10^5 < (2C + 1) R, and the
// salary rule (10C - 9) R <= 10 A 10^5 < (10C + 1) R, on magnitudes.
TEST(RateDivision, AmountsNextToEveryRoundingBoundaryRoundOnce)
{
    const __int128 rate = 195583; // 1.95583 in hundred-thousandths
    std::mt19937_64 random(20260101);
    int checked = 0;
    for (int n = 0; n < 2600; ++n) {
        const __int128 target = static_cast<__int128>(random() % 100000000000ULL); // up to a billion in cents
        for (const bool half : {true, false}) {
            // The amount whose quotient is the boundary after `target` cents.
            const __int128 boundary = half ? (2 * target + 1) * rate / (2 * 100000) : (10 * target + 1) * rate / (10 * 100000);
            for (int offset = -1; offset <= 1; ++offset) {
                const __int128 cents = boundary + offset;
                if (cents < 0)
                    continue;
                for (const bool negative : {false, true}) {
                    const QString amount = QStringLiteral("%1%2.%3")
                                               .arg(negative ? QStringLiteral("-") : QString())
                                               .arg(static_cast<qint64>(cents / 100))
                                               .arg(static_cast<int>(cents % 100), 2, 10, QLatin1Char('0'));
                    const std::optional<QString> got =
                        db::rate::divide(amount, QStringLiteral("1.95583"), 2, half ? kHalf : kSus);
                    ASSERT_TRUE(got.has_value()) << amount.toStdString();
                    QString digits = *got;
                    const bool gotNegative = digits.startsWith(QLatin1Char('-'));
                    digits.remove(QLatin1Char('-')).remove(QLatin1Char('.'));
                    const __int128 c = digits.toLongLong();
                    const __int128 a = cents * 100000;
                    if (half) {
                        EXPECT_TRUE((2 * c - 1) * rate <= 2 * a && 2 * a < (2 * c + 1) * rate)
                            << amount.toStdString() << " gave " << got->toStdString();
                    } else {
                        EXPECT_TRUE((10 * c - 9) * rate <= 10 * a && 10 * a < (10 * c + 1) * rate)
                            << amount.toStdString() << " gave " << got->toStdString();
                    }
                    EXPECT_EQ(gotNegative, negative && c != 0) << amount.toStdString();
                    ++checked;
                }
            }
        }
    }
    EXPECT_GE(checked, 10000);
}

TEST(RateDivision, RefusesWhatIsNotAnAmountOrARate)
{
    for (const auto &[amount, rate, decimals] : std::initializer_list<std::tuple<const char *, const char *, int>>{
             {"12,50", "1.95583", 2}, {"1e3", "1.95583", 2}, {"", "1.95583", 2}, {"100", "0", 2},
             {"100", "-1.95583", 2}, {"100", "abc", 2}, {"100", "1.95583", -1}, {"100", "1.95583", 19}})
        EXPECT_FALSE(db::rate::divide(QString::fromLatin1(amount), QString::fromLatin1(rate), decimals, kHalf))
            << amount << " / " << rate << " to " << decimals;
    EXPECT_EQ(db::rate::roundingNamed(QString()), kHalf);
    EXPECT_EQ(db::rate::roundingNamed(QStringLiteral(" sus ")), kSus);
    EXPECT_FALSE(db::rate::roundingNamed(QStringLiteral("JOS")));
}

} // namespace

// A new empty database of the built-in SQLite provider in `dir`.
static void openScratchDatabase(const QTemporaryDir &dir, db::Connection &conn)
{
    const QString path = dir.filePath(QStringLiteral("scratch.db"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    conn.open(QStringLiteral("Provider=SQLite;Data Source=") + path);
}

// RATE_DIVIDE as SQLite and the DBF provider run it: the result keeps the
// kind of the amount, and what is not a number fails the statement.
TEST(RateDivideFunction, KeepsTheKindOfTheAmountAndRefusesWhatIsNoNumber)
{
    QTemporaryDir dir;
    db::Connection conn;
    openScratchDatabase(dir, conn);
    const auto one = [&](const QString &expression) {
        db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT typeof(v), v FROM (SELECT ") + expression
                                              + QStringLiteral(" AS v)"));
        return rs.value(0).toString() + QLatin1Char(' ') + rs.value(1).toString();
    };
    // An integer rounded to no decimals stays an integer.
    EXPECT_EQ(one(QStringLiteral("RATE_DIVIDE(9223372036854775807, '1.95583', 0, '')")),
              QStringLiteral("integer 4715835239696075736"));
    // A text stays a decimal text with the decimals asked for.
    EXPECT_EQ(one(QStringLiteral("RATE_DIVIDE('-1000.00', '1.95583', 2, 'SUS')")), QStringLiteral("text -511.30"));
    // A real is read as the decimal it shows and gives the double nearest the result.
    db::Recordset real = conn.openRecordset(QStringLiteral("SELECT RATE_DIVIDE(0.1, '1.95583', 2, ''), "
                                                           "RATE_DIVIDE(100, '1.95583', 2, '')"));
    EXPECT_EQ(real.value(0).toDouble(), 0.05);
    EXPECT_EQ(real.value(1).toDouble(), 51.13);
    EXPECT_EQ(one(QStringLiteral("RATE_DIVIDE(NULL, '1.95583', 2, '')")), QStringLiteral("null "));
    for (const char *bad : {"RATE_DIVIDE('abc', '1.95583', 2, '')", "RATE_DIVIDE(1, '1.95583', 2, 'JOS')",
                            "RATE_DIVIDE(1, '0', 2, '')", "RATE_DIVIDE(1, '1,95583', 2, '')"})
        EXPECT_THROW(conn.openRecordset(QStringLiteral("SELECT ") + QString::fromLatin1(bad)), db::DbError) << bad;
}

// EXACT_UNITS, the control totals' one-pass sum on SQLite, gives for every
// value the units its decimal text gives, and Null exactly where that text
// is not the value (more decimals, 15 digits or more, text, too large).
TEST(ExactUnitsAggregate, AgreesWithTheValuesDecimalText)
{
    QTemporaryDir dir;
    db::Connection conn;
    openScratchDatabase(dir, conn);
    conn.execute(QStringLiteral("CREATE TABLE v (id INTEGER PRIMARY KEY, x)"));
    QStringList values{"0.1", "0.125", "-0.005", "12.5", "1e13", "99999999999999.99", "999999999999.99",
                       "0.30000000000000004", "922337203685477580", "-922337203685477", "'12,50'", "1e300", "0", "-0.0"};
    std::mt19937_64 random(7);
    for (int i = 0; i < 3000; ++i) {
        const qint64 digits = static_cast<qint64>(random() % 100000000000000ULL) - 50000000000000LL;
        values << QStringLiteral("%1e-%2").arg(digits).arg(random() % 8);
        values << QString::number(static_cast<qint64>(random() % 1000000000000LL));
    }
    for (int i = 0; i < values.size(); i += 500)
        conn.execute(QStringLiteral("INSERT INTO v (x) VALUES (") + values.mid(i, 500).join(QStringLiteral("), (")) + QLatin1Char(')'));
    for (int scale : {0, 2, 4}) {
        const QString p = QStringLiteral("1") + QString(scale, QLatin1Char('0'));
        // The units and the check as SQL wrote them, value by value.
        const QString units = QStringLiteral("CASE WHEN typeof(x) = 'integer' THEN x * %1 WHEN typeof(x) = 'real' "
                                             "THEN CAST(replace(printf('%.%2f', x), '.', '') AS INTEGER) END")
                                  .arg(p)
                                  .arg(scale);
        const QString inexact = QStringLiteral("CASE WHEN typeof(x) = 'integer' THEN (abs(x) > 9223372036854775807 / %1) "
                                               "WHEN typeof(x) = 'real' THEN (abs(x) >= 1e%2 OR "
                                               "CAST(printf('%.%3f', x) AS REAL) <> x) ELSE 1 END")
                                    .arg(p)
                                    .arg(15 - scale)
                                    .arg(scale);
        db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT x, EXACT_UNITS(x, %1), %2, %3 FROM v GROUP BY id")
                                                  .arg(scale)
                                                  .arg(units, inexact));
        int wrong = 0;
        for (; !rs.eof(); rs.moveNext()) {
            const QString expected = rs.value(3).toInt() != 0 ? QStringLiteral("<null>") : rs.value(2).toString();
            const QString got = rs.value(1).isNull() ? QStringLiteral("<null>") : rs.value(1).toString();
            if (got != expected && ++wrong <= 10)
                ADD_FAILURE() << rs.value(0).toString().toStdString() << " at scale " << scale << ": " << got.toStdString()
                              << " instead of " << expected.toStdString();
        }
        EXPECT_EQ(wrong, 0);
    }
}
