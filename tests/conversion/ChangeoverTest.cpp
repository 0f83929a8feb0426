// Fixed-rate changeovers (leva and kuna to euro) through the conversion
// engine, on the built-in SQLite and on real PostgreSQL and MariaDB servers:
// amounts at every half-cent boundary rounded once by each rule, the largest
// amounts of the column types, float columns, the way back bit for bit and a
// second run that converts nothing. The expected amounts are worked out here
// with whole numbers, independently of the SQL and of the program's own
// division.
#include "conversion/ConversionEngine.h"
#include "conversion/ReportLog.h"
#include "data/ProjectFile.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "data/db/dbf/DbfFile.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

using conversion::ReportLog;
using testsupport::Engine;
using testsupport::ProjectFixture;
using testsupport::UserDatabase;

namespace {

using Int = __int128;

// A rate as a whole number of units of 10^-scale: 1.95583 is {195583, 5}.
struct Rate {
    Int units;
    int scale;
};

Int power10(int n)
{
    Int p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

QString digitsOf(Int v)
{
    if (v == 0)
        return QStringLiteral("0");
    QString s;
    for (; v > 0; v /= 10)
        s.prepend(QChar('0' + static_cast<int>(v % 10)));
    return s;
}

// `units` of 10^-decimals as a decimal text with that many decimals.
QString decimalText(bool negative, Int units, int decimals)
{
    QString digits = digitsOf(units);
    if (decimals > 0) {
        if (digits.size() <= decimals)
            digits = QString(decimals + 1 - digits.size(), QLatin1Char('0')) + digits;
        digits.insert(digits.size() - decimals, QLatin1Char('.'));
    }
    return (negative && units != 0 ? QStringLiteral("-") : QString()) + digits;
}

// An amount of `amountUnits` units of 10^-amountScale divided by the rate and
// rounded to `decimals`: halves away from zero, or (salaries) up when the
// next decimal is not zero.
QString expectedNew(Int amountUnits, int amountScale, const Rate &rate, int decimals, bool salaryRule)
{
    const bool negative = amountUnits < 0;
    const Int a = negative ? -amountUnits : amountUnits;
    // quotient * 10^decimals = a * 10^(rate.scale + decimals) / (rate.units * 10^amountScale)
    const Int numerator = a * power10(rate.scale + decimals);
    const Int denominator = rate.units * power10(amountScale);
    Int result;
    if (salaryRule) {
        const Int tenths = numerator * 10 / denominator; // one decimal more, truncated
        result = (tenths + 9) / 10;
    } else {
        result = (2 * numerator + denominator) / (2 * denominator);
    }
    return decimalText(negative, result, decimals);
}

// Amounts in cents whose quotient lies just below and just above each
// half-cent (third and later decimals 4999…, 5000…) and each whole cent
// (…999 and 0001…), for `count` / 4 cents spread over eleven orders of
// magnitude, every other one negative.
QList<Int> boundaryAmounts(const Rate &rate, int count)
{
    QList<Int> amounts;
    const Int ten = power10(rate.scale);
    for (int k = 0; amounts.size() < count; ++k) {
        Int cents = 1 + static_cast<Int>(k) * 7919;
        for (int i = 0; i < k % 9; ++i)
            cents *= 3;
        cents %= power10(12);
        const Int half = ((2 * cents + 1) * rate.units) / (2 * ten);
        const Int whole = (cents * rate.units) / ten;
        const Int sign = k % 2 == 0 ? 1 : -1;
        for (Int a : {half, half + 1, whole, whole + 1})
            amounts.append(sign * a);
    }
    return amounts;
}

ReportLog runEngine(ProjectFixture &project, bool toNew) { return convtest::runEngineAt(project.Conn(), toNew); }

struct Scenario {
    const char *templateFile;
    Rate rate;
};

const Scenario kLeva{"Vamor BGN-EUR.vmt", {195583, 5}};
const Scenario kKuna{"Vamor HRK-EUR.vmt", {75345, 4}};

class ChangeoverAmounts : public ::testing::TestWithParam<std::tuple<Engine, Scenario>> {};

// A value of a DECIMAL column as a plain decimal text ("51.13", "-0.5").
QString plain(const db::Variant &v)
{
    QString text = v.toString();
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

} // namespace

// Ten thousand amounts at the rounding boundaries, each in a column rounded
// halves up, one rounded by the salary rule, a float column and a whole
// number column; then back, bit for bit; then nothing more to do.
TEST_P(ChangeoverAmounts, BoundaryAmountsRoundOnceByEachRuleAndComeBackExactly)
{
    const auto &[engine, changeover] = GetParam();
    VAMOR_OPEN_USER_DB(user, engine);
    const QString table = UserDatabase::tableName(QStringLiteral("schimb"));
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, a DECIMAL(18,2), s DECIMAL(18,2), d {DOUBLE}, "
                                           "n BIGINT"));
    QList<Int> amounts = boundaryAmounts(changeover.rate, 10000);
    // The largest amounts the columns hold (SQLite keeps decimals in doubles:
    // its largest exact amounts have fifteen digits).
    const Int largest = engine == Engine::Sqlite ? power10(15) - 1 : power10(18) - 1;
    amounts.append(largest);
    amounts.append(-largest);
    const Int bigintMax = static_cast<Int>(std::numeric_limits<qint64>::max());
    for (int first = 0; first < amounts.size(); first += 500) {
        QString values;
        for (int i = first; i < qMin(first + 500, static_cast<int>(amounts.size())); ++i) {
            const QString a = decimalText(amounts[i] < 0, amounts[i] < 0 ? -amounts[i] : amounts[i], 2);
            // The whole-number column: the amount in cents, and the type's
            // limits on the last two rows.
            const Int n = i == amounts.size() - 2 ? bigintMax : i == amounts.size() - 1 ? -bigintMax : amounts[i];
            values += QStringLiteral("%1(%2, %3, %3, %3, %4)")
                          .arg(values.isEmpty() ? QString() : QStringLiteral(", "))
                          .arg(i + 1)
                          .arg(a, decimalText(n < 0, n < 0 ? -n : n, 0));
        }
        user.execute(QStringLiteral("INSERT INTO %1 (id, a, s, d, n) VALUES %2").arg(table, values));
    }

    ProjectFixture project(QString::fromLatin1(changeover.templateFile));
    ASSERT_TRUE(project.ok());
    const int idTable = testsupport::addUserTable(project, user, table);
    project.addField(idTable, QStringLiteral("a"));
    const int salary = project.addField(idTable, QStringLiteral("s"));
    project.Conn().execute(QStringLiteral("UPDATE tField SET Rounding = 'SUS' WHERE IdField = %1").arg(salary));
    project.addField(idTable, QStringLiteral("d"));
    project.addField(idTable, QStringLiteral("n"));

    const ReportLog forward = runEngine(project, true);
    ASSERT_EQ(forward.rows().size(), 4);
    for (const auto &row : forward.rows())
        EXPECT_EQ(row.error, QString()) << row.fieldName.toStdString();

    int wrong = 0;
    {
        db::Recordset rs = user.conn().openRecordset(QStringLiteral("SELECT id, a, s, d, n FROM %1 ORDER BY id").arg(table));
        for (; !rs.eof(); rs.moveNext()) {
            const int i = rs.value(0).toInt() - 1;
            const Int n = i == amounts.size() - 2 ? bigintMax : i == amounts.size() - 1 ? -bigintMax : amounts[i];
            const QString halfUp = expectedNew(amounts[i], 2, changeover.rate, 2, false);
            const QString checks[][2] = {
                {plain(rs.value(1)), plain(db::Variant(halfUp))},
                {plain(rs.value(2)), plain(db::Variant(expectedNew(amounts[i], 2, changeover.rate, 2, true)))},
                {plain(rs.value(4)), expectedNew(n, 0, changeover.rate, 0, false)},
            };
            for (const auto &check : checks)
                if (check[0] != check[1] && ++wrong <= 10)
                    ADD_FAILURE() << "row " << i + 1 << ": " << check[0].toStdString() << " should be "
                                  << check[1].toStdString();
            // The float column holds the double nearest to the rounded amount
            // (of amounts a double holds: not the largest ones).
            if (i < amounts.size() - 2 && rs.value(3).toDouble() != halfUp.toDouble() && ++wrong <= 10)
                ADD_FAILURE() << "row " << i + 1 << " (float): " << rs.value(3).toString().toStdString()
                              << " should be " << halfUp.toStdString();
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(runEngine(project, true).rows().isEmpty()) << "a second run converts nothing";

    ReportLog back = runEngine(project, false);
    ASSERT_EQ(back.rows().size(), 4);
    for (const auto &row : back.rows())
        EXPECT_EQ(row.error, QString()) << row.fieldName.toStdString();
    wrong = 0;
    {
        db::Recordset rs = user.conn().openRecordset(QStringLiteral("SELECT id, a, s, d, n FROM %1 ORDER BY id").arg(table));
        for (; !rs.eof(); rs.moveNext()) {
            const int i = rs.value(0).toInt() - 1;
            const QString old = plain(db::Variant(decimalText(amounts[i] < 0, amounts[i] < 0 ? -amounts[i] : amounts[i], 2)));
            if ((plain(rs.value(1)) != old || plain(rs.value(2)) != old || rs.value(3).toDouble() != old.toDouble())
                && ++wrong <= 10)
                ADD_FAILURE() << "row " << i + 1 << " did not come back: " << plain(rs.value(1)).toStdString()
                              << " instead of " << old.toStdString();
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(runEngine(project, false).rows().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, ChangeoverAmounts,
                         ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                                            ::testing::Values(kLeva, kKuna)),
                         [](const auto &info) {
                             return testsupport::engineName(std::get<0>(info.param)).toStdString()
                                    + (std::get<1>(info.param).rate.units == 195583 ? "_BGN" : "_HRK");
                         });

// The published examples, through the program's templates and both rules.
TEST(Changeover, PublishedExamplesAndTheTotalsInTheCurrencies)
{
    VAMOR_OPEN_USER_DB(user, Engine::Sqlite);
    user.createTable(QStringLiteral("plati"), QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2), "
                                                             "salariu DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO plati VALUES (1, 100, 2000), (2, 1000, 1000), (3, 0.01, 1234.56), "
                                "(4, -100, -1000), (5, 12345678901.23, 0), (6, 195.58, 195.58)"));
    ProjectFixture project(QStringLiteral("Vamor BGN-EUR.vmt"));
    ASSERT_TRUE(project.ok());
    const int idTable = testsupport::addUserTable(project, user, QStringLiteral("plati"));
    project.addField(idTable, QStringLiteral("suma"));
    const int salary = project.addField(idTable, QStringLiteral("salariu"));
    project.Conn().execute(QStringLiteral("UPDATE tField SET Rounding = 'SUS' WHERE IdField = %1").arg(salary));

    ReportLog run = runEngine(project, true);
    ASSERT_EQ(run.rows().size(), 2);
    const QStringList sums{"51.13", "511.29", "0.01", "-51.13", "6312245390.05", "100"};
    const QStringList salaries{"1022.59", "511.3", "631.22", "-511.3", "0", "100"};
    db::Recordset rs = user.conn().openRecordset(QStringLiteral("SELECT suma, salariu FROM plati ORDER BY id"));
    for (int i = 0; !rs.eof(); rs.moveNext(), ++i) {
        EXPECT_EQ(plain(rs.value(0)), sums.at(i));
        EXPECT_EQ(plain(rs.value(1)), salaries.at(i));
    }
    // The totals name the currencies; the expected sum is the old sum over
    // the rate, to four decimals past the cent.
    run.setChangeover(Changeover::of(project.Conn()));
    const QString totals = run.totalsText();
    EXPECT_TRUE(totals.contains(QStringLiteral("\"Suma BGN\",\"Suma EUR\""))) << totals.toStdString();
    // 12345680096.82 / 1.95583 = 6312246001.349811…
    EXPECT_TRUE(totals.contains(QStringLiteral("\"12345680096.82\",\"6312246001.35\",\"6312246001.349811\",\"0.000189\"")))
        << totals.toStdString();

    // Kuna: the three examples.
    ProjectFixture kuna(QStringLiteral("Vamor HRK-EUR.vmt"));
    user.createTable(QStringLiteral("kune"), QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO kune VALUES (1, 100), (2, 7.5345), (3, 1000000)"));
    kuna.addField(testsupport::addUserTable(kuna, user, QStringLiteral("kune")), QStringLiteral("suma"));
    ASSERT_EQ(runEngine(kuna, true).rows().size(), 1);
    db::Recordset k = user.conn().openRecordset(QStringLiteral("SELECT suma FROM kune ORDER BY id"));
    for (const char *expected : {"13.27", "1", "132722.81"}) {
        ASSERT_FALSE(k.eof());
        EXPECT_EQ(plain(k.value(0)), QString::fromLatin1(expected));
        k.moveNext();
    }
}

// The salary rule is honoured by the 2005 templates too, on every engine:
// 12 345 old lei are 1.2345 new lei, 1.24 by it and 1.23 halves up;
// converting back restores them.
class LeuSalaryRule : public ::testing::TestWithParam<Engine> {};

TEST_P(LeuSalaryRule, TheLeuTemplatesAcceptTheSalaryRule)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    const QString table = UserDatabase::tableName(QStringLiteral("salarii"));
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, brut DECIMAL(18,2), net DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 12345, 12345), (2, 12300, 12300), (3, -12345, -12345), "
                                "(4, 12349.99, 12349.99)")
                     .arg(table));
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const int idTable = testsupport::addUserTable(project, user, table);
    const int brut = project.addField(idTable, QStringLiteral("brut"));
    project.addField(idTable, QStringLiteral("net"));
    project.Conn().execute(QStringLiteral("UPDATE tField SET Rounding = 'SUS' WHERE IdField = %1").arg(brut));
    ReportLog run = runEngine(project, true);
    ASSERT_EQ(run.rows().size(), 2);
    for (const auto &row : run.rows())
        EXPECT_EQ(row.error, QString());
    const QStringList brutExpected{"1.24", "1.23", "-1.24", "1.24"};
    const QStringList netExpected{"1.23", "1.23", "-1.23", "1.23"};
    const QString select = QStringLiteral("SELECT brut, net FROM %1 ORDER BY id").arg(table);
    db::Recordset rs = user.conn().openRecordset(select);
    for (int i = 0; !rs.eof(); rs.moveNext(), ++i) {
        EXPECT_EQ(plain(rs.value(0)), brutExpected.at(i)) << i;
        EXPECT_EQ(plain(rs.value(1)), netExpected.at(i)) << i;
    }
    runEngine(project, false);
    db::Recordset back = user.conn().openRecordset(select);
    for (const char *old : {"12345", "12300", "-12345", "12349.99"}) {
        ASSERT_FALSE(back.eof());
        EXPECT_EQ(plain(back.value(0)), QString::fromLatin1(old));
        EXPECT_EQ(plain(back.value(1)), QString::fromLatin1(old));
        back.moveNext();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, LeuSalaryRule, ::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                         [](const auto &info) { return testsupport::engineName(info.param).toStdString(); });

// dBase III and Visual FoxPro tables: the provider divides the decimal texts
// of N(19,2) columns by the rate with both rules, and restores them.
TEST(Changeover, DbfTablesRoundOnceByEachRuleAndComeBackExactly)
{
    QTemporaryDir dir;
    const QList<Int> amounts = boundaryAmounts(kLeva.rate, 2000);
    QStringList lines;
    for (Int a : amounts)
        lines << decimalText(a < 0, a < 0 ? -a : a, 2);
    // Large amounts of an N(19,2) column, with their sign.
    lines << QStringLiteral("99999999999999.99") << QStringLiteral("-99999999999999.99");
    {
        QFile f(dir.filePath(QStringLiteral("amounts.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(lines.join(QLatin1Char('\n')).toLatin1());
    }
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(VAMOR_DBF_SCRIPT), QStringLiteral("amounts"), dir.path()});
    p.waitForFinished(120000);
    const QByteArray errors = p.readAllStandardError();
    if (errors.contains("No module named"))
        GTEST_SKIP() << "python3-dbf is missing";
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("sumevfp.dbf")))) << errors.toStdString();

    // The amounts as the files hold them (the writer rounds through floats
    // near the column's limit): cents as whole numbers.
    const auto column = [&](const char *file, const char *name) {
        const db::DbfTable t = db::DbfTable::read(dir.filePath(QString::fromLatin1(file)));
        QStringList out;
        for (int r = 0; r < t.recordCount(); ++r)
            out << t.value(r, t.columnIndex(QString::fromLatin1(name))).toString().trimmed();
        return out;
    };
    const auto cents = [](const QString &text) {
        const QString fraction = (text.section(QLatin1Char('.'), 1) + QStringLiteral("00")).left(2);
        Int v = 0;
        for (QChar c : text.section(QLatin1Char('.'), 0, 0) + fraction)
            if (c.isDigit())
                v = v * 10 + (c.unicode() - '0');
        return text.startsWith(QLatin1Char('-')) ? -v : v;
    };
    QHash<QString, QStringList> before;
    for (const char *file : {"sume.dbf", "sumevfp.dbf"})
        before.insert(QString::fromLatin1(file), column(file, "SUMA"));

    ProjectFixture project(QStringLiteral("Vamor BGN-EUR.vmt"));
    ASSERT_TRUE(project.ok());
    for (const auto &[type, file] : {std::pair{5, "sume.dbf"}, std::pair{4, "sumevfp.dbf"}}) {
        const int idConn = project.addConn(type, QString::fromLatin1(file));
        project.Conn().execute(QStringLiteral("UPDATE tConn SET DataSource = '%1' WHERE IdConn = %2").arg(dir.path()).arg(idConn));
        const int idTable = project.addTable(idConn, QString::fromLatin1(file));
        project.addField(idTable, QStringLiteral("SUMA"));
        const int salary = project.addField(idTable, QStringLiteral("SUS"));
        project.Conn().execute(QStringLiteral("UPDATE tField SET Rounding = 'SUS' WHERE IdField = %1").arg(salary));
    }
    ReportLog forward = runEngine(project, true);
    ASSERT_EQ(forward.rows().size(), 4);
    for (const auto &row : forward.rows())
        EXPECT_EQ(row.error, QString()) << row.tableName.toStdString() << " " << row.fieldName.toStdString();

    for (const char *file : {"sume.dbf", "sumevfp.dbf"}) {
        SCOPED_TRACE(file);
        const QStringList old = before.value(QString::fromLatin1(file));
        const QStringList suma = column(file, "SUMA"), sus = column(file, "SUS");
        ASSERT_EQ(suma.size(), lines.size());
        int wrong = 0;
        for (int r = 0; r < suma.size(); ++r) {
            const QString halfUp = plain(db::Variant(expectedNew(cents(old.at(r)), 2, kLeva.rate, 2, false)));
            const QString up = plain(db::Variant(expectedNew(cents(old.at(r)), 2, kLeva.rate, 2, true)));
            if ((plain(db::Variant(suma.at(r))) != halfUp || plain(db::Variant(sus.at(r))) != up) && ++wrong <= 10)
                ADD_FAILURE() << old.at(r).toStdString() << ": " << suma.at(r).toStdString() << " / "
                              << sus.at(r).toStdString() << " should be " << halfUp.toStdString() << " / "
                              << up.toStdString();
        }
        EXPECT_EQ(wrong, 0);
    }
    EXPECT_TRUE(runEngine(project, true).rows().isEmpty());
    ASSERT_EQ(runEngine(project, false).rows().size(), 4);
    for (const char *file : {"sume.dbf", "sumevfp.dbf"})
        for (const char *name : {"SUMA", "SUS"})
            EXPECT_EQ(column(file, name), before.value(QString::fromLatin1(file))) << file << " " << name;
}

// A project of an earlier version (no changeover, no fields' rules) reads as
// the 2005 leu; opening it adds the rules' column; a changeover whose rate
// is not a positive decimal is refused.
TEST(Changeover, ProjectsOfEarlierVersionsAreLeuProjectsAndABadRateIsRefused)
{
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    project.Conn().execute(QStringLiteral("DROP TABLE tChangeover"));
    project.Conn().execute(QStringLiteral("ALTER TABLE tField DROP COLUMN Rounding"));
    const Changeover old = Changeover::of(project.Conn());
    EXPECT_EQ(old.directionTitle(true), QStringLiteral("Conversie din Lei VECHI in Lei NOI"));
    EXPECT_EQ(old.rate, QStringLiteral("10000"));
    EXPECT_EQ(old.directionNamed(QStringLiteral("RON")), 1);
    EXPECT_EQ(old.directionNamed(QStringLiteral("vechi")), 0);
    projectfile::upgradeSchema(project.Conn());
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('tField') WHERE name = 'Rounding'"))
                  .toInt(),
              1);

    ProjectFixture bad(QStringLiteral("Vamor BGN-EUR.vmt"));
    bad.Conn().execute(QStringLiteral("UPDATE tChangeover SET Rate = '1,95583'"));
    try {
        Changeover::of(bad.Conn());
        ADD_FAILURE() << "a rate with a comma was taken";
    } catch (const db::DbError &e) {
        EXPECT_EQ(e.description(), QStringLiteral("Cursul de schimb din proiect (\"1,95583\") nu este un numar zecimal pozitiv."));
    }
}

// A text among the amounts of a leva project fails its field with the
// program's own message, with or without control totals, and changes nothing.
TEST(Changeover, ATextAmountFailsItsFieldWithTheUsualMessage)
{
    for (const bool totals : {true, false}) {
        SCOPED_TRACE(totals ? "with totals" : "without totals");
        VAMOR_OPEN_USER_DB(user, Engine::Sqlite);
        // A decimal column and a float column, each holding a text.
        user.createTable(QStringLiteral("plati"), QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2), curs {DOUBLE}"));
        user.execute(QStringLiteral("INSERT INTO plati VALUES (1, 100, 100), (2, '12,50', '1,5')"));
        ProjectFixture project(QStringLiteral("Vamor BGN-EUR.vmt"));
        const int idTable = testsupport::addUserTable(project, user, QStringLiteral("plati"));
        project.addField(idTable, QStringLiteral("suma"));
        project.addField(idTable, QStringLiteral("curs"));
        ReportLog report;
        report.setWantsTotals(totals);
        convtest::RecordingProgress progress;
        conversion::ConversionEngine(project.Conn(), progress, report).run(true);
        ASSERT_EQ(report.rows().size(), 2);
        EXPECT_EQ(report.rows().at(0).error, QStringLiteral("Campul \"suma\" contine valori care nu sunt numere (de "
                                                            "exemplu \"12,50\"); nu a fost convertit."));
        EXPECT_EQ(report.rows().at(1).error, QStringLiteral("Campul \"curs\" contine valori care nu sunt numere (de "
                                                            "exemplu \"1,5\"); nu a fost convertit."));
        db::Recordset rs = user.conn().openRecordset(QStringLiteral("SELECT suma, curs FROM plati ORDER BY id"));
        EXPECT_EQ(plain(rs.value(0)), QStringLiteral("100"));
        EXPECT_EQ(plain(rs.value(1)), QStringLiteral("100"));
    }
}
