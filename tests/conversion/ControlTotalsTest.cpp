// Control totals: what each engine sums in the conversion's transaction,
// against totals computed independently on decimal digits.
#include "conversion/ControlTotals.h"
#include "conversion/ConversionEngine.h"
#include "conversion/ReportLog.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/ExactDecimal.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using conversion::ConversionEngine;
using conversion::FieldTotals;
using conversion::ReportLog;
using testsupport::Engine;
using testsupport::ProjectFixture;
using testsupport::UserDatabase;

namespace {

ReportLog runEngine(ProjectFixture &project, bool toLeiNoi, bool totals = true)
{
    ReportLog report;
    report.setWantsTotals(totals);
    convtest::RecordingProgress progress;
    report.ConvertStart();
    ConversionEngine engine(project.Conn(), progress, report);
    const ConversionEngine::Result result = engine.run(toLeiNoi);
    EXPECT_FALSE(result.failed) << result.errorDescription.toStdString();
    report.ConvertEnd(QString());
    for (const auto &row : report.rows())
        EXPECT_EQ(row.error, QString()) << row.fieldName.toStdString();
    return report;
}

const FieldTotals *totalsOf(const ReportLog &report, const QString &field)
{
    for (const auto &[index, totals] : report.fieldTotals())
        if (report.rows().at(index).fieldName == field)
            return &totals;
    return nullptr;
}

// One amount column: its type, its old amounts row by row ("" is Null) and
// the decimals its new amounts keep.
struct Column {
    QString name;
    QString type;
    QStringList values;
    int decimals;
};

// Rows 1-5 are in 2004, row 6 in 2005: the table's condition leaves it out.
const QStringList kYears{QStringLiteral("2004"), QStringLiteral("2004"), QStringLiteral("2004"),
                         QStringLiteral("2004"), QStringLiteral("2004"), QStringLiteral("2005")};
const QList<Column> kColumns{
    {QStringLiteral("suma"), QStringLiteral("DECIMAL(18,2)"),
     {QStringLiteral("14949.50"), QStringLiteral("5000"), QStringLiteral("5000"), QString(), QStringLiteral("-1234.56"),
      QStringLiteral("99999.99")},
     2},
    {QStringLiteral("cant"), QStringLiteral("INTEGER"),
     {QStringLiteral("15000"), QStringLiteral("5000"), QStringLiteral("-25000"), QString(), QStringLiteral("7"),
      QStringLiteral("1")},
     0},
    {QStringLiteral("pret"), QStringLiteral("DECIMAL(19,4)"),
     {QStringLiteral("123.4567"), QStringLiteral("-0.0001"), QString(), QStringLiteral("14949.5"),
      QStringLiteral("1000000000.9999"), QStringLiteral("5")},
     2},
};

// What the totals of one column must be, computed on the digits.
struct Expected {
    int rows = 0;
    QString oldSum = QStringLiteral("0"), newSum = QStringLiteral("0");
};

Expected expectedFor(const Column &c)
{
    Expected e;
    for (int r = 0; r < c.values.size(); ++r) {
        if (c.values.at(r).isEmpty() || kYears.at(r) != QLatin1String("2004"))
            continue;
        ++e.rows;
        e.oldSum = exact::add(e.oldSum, c.values.at(r));
        e.newSum = exact::add(e.newSum, exact::newLei(c.values.at(r), c.decimals));
    }
    return e;
}

class EngineTotals : public ::testing::TestWithParam<Engine> {};

} // namespace

// To new lei and back, under a table condition, with Nulls and negatives:
// every total as the exact calculation gives it, per field, per data source
// and for the run; the restored sum equals the old one and the check says so.
TEST_P(EngineTotals, ConversionAndRestoreProveTheirSums)
{
    const Engine engine = GetParam();
    VAMOR_OPEN_USER_DB(user, engine);
    const QString table = UserDatabase::tableName(QStringLiteral("totaluri"));
    QString definition = QStringLiteral("id INTEGER PRIMARY KEY, an INTEGER, curs {DOUBLE}");
    for (const Column &c : kColumns)
        definition += QStringLiteral(", %1 %2").arg(c.name, c.type);
    user.createTable(table, definition);
    for (int r = 0; r < kYears.size(); ++r) {
        QString values = QStringLiteral("%1, %2, %3").arg(r + 1).arg(kYears.at(r)).arg(QString::fromLatin1(r % 2 ? "0.1" : "NULL"));
        for (const Column &c : kColumns)
            values += QStringLiteral(", ") + (c.values.at(r).isEmpty() ? QStringLiteral("NULL") : c.values.at(r));
        user.execute(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, values));
    }

    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const int idTable = testsupport::addUserTable(project, user, table, QStringLiteral("an = 2004"));
    for (const Column &c : kColumns)
        project.addField(idTable, c.name);
    project.addField(idTable, QStringLiteral("curs"));

    const ReportLog forward = runEngine(project, true);
    ASSERT_EQ(forward.fieldTotals().size(), kColumns.size() + 1);
    QString runOld = QStringLiteral("0");
    for (const Column &c : kColumns) {
        SCOPED_TRACE(c.name.toStdString());
        const FieldTotals *t = totalsOf(forward, c.name);
        ASSERT_NE(t, nullptr);
        ASSERT_TRUE(t->available()) << t->unavailable.toStdString();
        const Expected e = expectedFor(c);
        const QString expected = exact::tenThousandth(e.oldSum);
        EXPECT_FALSE(t->approximate);
        EXPECT_EQ(t->rows, QString::number(e.rows));
        EXPECT_EQ(exact::normalized(t->oldSum), e.oldSum);
        EXPECT_EQ(exact::normalized(t->newSum), e.newSum);
        EXPECT_EQ(exact::normalized(t->expectedSum), expected);
        EXPECT_EQ(exact::normalized(t->difference), exact::subtract(e.newSum, expected));
        runOld = exact::add(runOld, e.oldSum);
    }
    // The example an accountant checks by hand.
    const FieldTotals *suma = totalsOf(forward, QStringLiteral("suma"));
    EXPECT_EQ(exact::normalized(suma->difference), QStringLiteral("-0.001494"));
    // A float column gets totals said to be approximate.
    const FieldTotals *curs = totalsOf(forward, QStringLiteral("curs"));
    ASSERT_NE(curs, nullptr);
    EXPECT_TRUE(curs->available()) << curs->unavailable.toStdString();
    EXPECT_TRUE(curs->approximate);

    // The run's total carries the approximate field's remark.
    EXPECT_TRUE(forward.totalsRows().last().values.at(5).contains(QStringLiteral("aproximativ")));

    const ReportLog back = runEngine(project, false);
    ASSERT_EQ(back.fieldTotals().size(), kColumns.size() + 1);
    for (const Column &c : kColumns) {
        SCOPED_TRACE(c.name.toStdString());
        const FieldTotals *t = totalsOf(back, c.name);
        ASSERT_NE(t, nullptr);
        ASSERT_TRUE(t->available()) << t->unavailable.toStdString();
        const Expected e = expectedFor(c);
        EXPECT_EQ(t->rows, QString::number(e.rows));
        EXPECT_EQ(exact::normalized(t->oldSum), e.oldSum);
        EXPECT_EQ(exact::normalized(t->restoredSum), e.oldSum);
        EXPECT_TRUE(t->restoredMatches);
        EXPECT_EQ(conversion::totalsValues(*t).at(3), QStringLiteral("egal"));
    }
    EXPECT_EQ(exact::normalized(back.totalsRows().last().values.at(2)),
              exact::add(runOld, exact::normalized(totalsOf(back, QStringLiteral("curs"))->restoredSum)));
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineTotals, ::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                         [](const auto &info) { return testsupport::engineName(info.param).toStdString(); });

// Converting back restores only the rows the conversion changed: rows the
// business added since in new lei (no recovery value) stay out of the
// restored sum, and a run without totals reads none.
TEST(ControlTotals, RestoredSumLeavesOutRowsAddedAfterTheConversion)
{
    VAMOR_OPEN_USER_DB(user, Engine::Sqlite);
    user.createTable(QStringLiteral("Plati"), QStringLiteral("id INTEGER PRIMARY KEY, Suma DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO Plati (Suma) VALUES (14949.50), (5000), (5000)"));
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    project.addField(testsupport::addUserTable(project, user, QStringLiteral("Plati")), QStringLiteral("Suma"));
    const ReportLog untotalled = runEngine(project, true, false);
    ASSERT_EQ(untotalled.rows().size(), 1);
    EXPECT_TRUE(untotalled.fieldTotals().isEmpty());
    EXPECT_TRUE(untotalled.totalsText().isEmpty());
    runEngine(project, false, false);

    ASSERT_EQ(runEngine(project, true).fieldTotals().size(), 1);
    user.execute(QStringLiteral("INSERT INTO Plati (Suma) VALUES (12.34)"));
    const ReportLog back = runEngine(project, false);
    ASSERT_EQ(back.fieldTotals().size(), 1);
    const FieldTotals &t = back.fieldTotals().first().second;
    EXPECT_EQ(t.rows, QStringLiteral("3"));
    EXPECT_EQ(exact::normalized(t.restoredSum), QStringLiteral("24949.5"));
    EXPECT_TRUE(t.restoredMatches);
}

// SQLite keeps no decimals: values with more decimals than the column
// declares, or written with an exponent, cannot be summed exactly and the
// totals say they are approximate.
TEST(ControlTotals, SqliteValuesBeyondTheColumnScaleGiveApproximateTotals)
{
    VAMOR_OPEN_USER_DB(user, Engine::Sqlite);
    user.createTable(QStringLiteral("Note"), QStringLiteral("id INTEGER PRIMARY KEY, Suma DECIMAL(18,2), Alta DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO Note (Suma, Alta) VALUES (0.125, 1), (1e-7, 2), (5000, 3.5)"));
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const int idTable = testsupport::addUserTable(project, user, QStringLiteral("Note"));
    project.addField(idTable, QStringLiteral("Suma"));
    project.addField(idTable, QStringLiteral("Alta"));
    const ReportLog forward = runEngine(project, true);
    const FieldTotals *suma = totalsOf(forward, QStringLiteral("Suma"));
    const FieldTotals *alta = totalsOf(forward, QStringLiteral("Alta"));
    ASSERT_TRUE(suma && alta);
    EXPECT_TRUE(suma->available() && suma->approximate);
    EXPECT_TRUE(alta->available() && !alta->approximate);
    EXPECT_EQ(exact::normalized(alta->oldSum), QStringLiteral("6.5"));
    const ReportLog back = runEngine(project, false);
    const FieldTotals *sumaBack = totalsOf(back, QStringLiteral("Suma"));
    ASSERT_TRUE(sumaBack);
    EXPECT_TRUE(sumaBack->approximate);
    EXPECT_EQ(conversion::totalsValues(*sumaBack).at(3), QStringLiteral("aproximativ"));
}

// Approximate sums are for people: a float column's sums are shown to the
// decimals its amounts are rounded to plus four, without the noise of
// binary doubles; sums beyond 64-bit integers are approximate too, and the
// field converts.
TEST(ControlTotals, ApproximateSumsAreRoundedForPeopleAndHugeSumsDoNotFailTheField)
{
    VAMOR_OPEN_USER_DB(user, Engine::Sqlite);
    user.createTable(QStringLiteral("Curs"), QStringLiteral("id INTEGER PRIMARY KEY, Val REAL, Mare BIGINT"));
    user.execute(QStringLiteral("INSERT INTO Curs (Val, Mare) VALUES (1000.1, 9223372036854775807), (2000.2, 10000)"));
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const int idTable = testsupport::addUserTable(project, user, QStringLiteral("Curs"));
    project.addField(idTable, QStringLiteral("Val"));
    project.addField(idTable, QStringLiteral("Mare"));
    const ReportLog forward = runEngine(project, true);
    for (const auto &row : forward.rows())
        EXPECT_EQ(row.error, QString()) << row.fieldName.toStdString();
    const FieldTotals *val = totalsOf(forward, QStringLiteral("Val"));
    ASSERT_TRUE(val && val->available() && val->approximate);
    // 1000.1 + 2000.2 old lei; 0.1 + 0.2 new lei; 3000.3 / 10 000 expected.
    EXPECT_EQ(val->oldSum, QStringLiteral("3000.3"));
    EXPECT_EQ(val->newSum, QStringLiteral("0.3"));
    EXPECT_EQ(val->expectedSum, QStringLiteral("0.30003"));
    EXPECT_EQ(val->difference, QStringLiteral("-0.00003"));
    const FieldTotals *mare = totalsOf(forward, QStringLiteral("Mare"));
    ASSERT_TRUE(mare && mare->available()) << (mare ? mare->unavailable.toStdString() : "");
    EXPECT_TRUE(mare->approximate);
    for (const QString &sum : {mare->oldSum, mare->newSum, mare->expectedSum, mare->difference})
        EXPECT_LE(sum.section(QLatin1Char('.'), 1).size(), 4) << sum.toStdString();
}

// Totals of fields are added digit by digit, per data source and for the
// run; the saved report's section quotes every value with a decimal point.
TEST(ControlTotals, ReportAddsFieldsExactlyPerSourceAndRun)
{
    struct Case {
        const char *a, *b, *sum;
    };
    for (const Case &c : {Case{"0.1", "0.2", "0.3"}, Case{"99999999999999999999.99", "0.01", "100000000000000000000.00"},
                          Case{"-2.49495", "2.49", "-0.00495"}, Case{"-0.5", "0.5", "0.0"}, Case{"12", "-0.004", "11.996"},
                          Case{"1,5", "1", ""}}) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(conversion::addDecimals(QString::fromLatin1(c.a), QString::fromLatin1(c.b)),
                  QString::fromLatin1(c.sum));
    }

    ReportLog log;
    const auto field = [&log](const char *source, const char *name, const char *old, const char *nw, const char *exp,
                              const char *diff) {
        log.AddField(QString::fromLatin1(source), QStringLiteral("T"), QString::fromLatin1(name), 1, QString());
        FieldTotals t;
        t.rows = QStringLiteral("1");
        t.oldSum = QString::fromLatin1(old);
        t.newSum = QString::fromLatin1(nw);
        t.expectedSum = QString::fromLatin1(exp);
        t.difference = QString::fromLatin1(diff);
        log.AddFieldTotals(t);
    };
    field("A", "X", "14949.50", "1.49", "1.494950", "-0.004950");
    field("A", "Y", "5000", "1", "0.5000", "0.5000");
    field("B", "Z", "5000.00", "0.50", "0.500000", "0.000000");
    log.AddField(QStringLiteral("B"), QStringLiteral("T"), QStringLiteral("Err"), 0, QStringLiteral("eroare"));
    const QString text = log.totalsText();
    EXPECT_TRUE(log.fileText().endsWith(text));
    EXPECT_TRUE(text.startsWith(QString(30, QLatin1Char('-')) + QStringLiteral("\r\nTotaluri de control\r\n")));
    for (const char *line :
         {"\"Sursa Date\",\"Tabel\",\"Camp\",\"Inregistrari\",\"Suma lei vechi\",\"Suma lei noi\",\"Suma asteptata\","
          "\"Diferenta rotunjire\",\"Observatii\"\r\n",
          "\"A\",\"T\",\"X\",\"1\",\"14949.50\",\"1.49\",\"1.494950\",\"-0.004950\",\"\"\r\n",
          "\"A\",\"\",\"\",\"2\",\"19949.50\",\"2.49\",\"1.994950\",\"0.495050\",\"Total sursa de date\"\r\n",
          "\"B\",\"\",\"\",\"1\",\"5000.00\",\"0.50\",\"0.500000\",\"0.000000\",\"Total sursa de date\"\r\n",
          "\"\",\"\",\"\",\"3\",\"24949.50\",\"2.99\",\"2.494950\",\"0.495050\",\"Total conversie\"\r\n"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(line))) << line << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Err")));
}

// DBF folders: the provider adds the decimal texts of N columns exactly.
TEST(ControlTotals, DbfProviderSumsItsDecimalTextsExactly)
{
    QTemporaryDir dir;
    QProcess make;
    make.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(VAMOR_DBF_SCRIPT), QStringLiteral("make"), dir.path()});
    make.waitForFinished(60000);
    if (!QFile::exists(dir.filePath(QStringLiteral("facturi.dbf"))))
        GTEST_SKIP() << "python3-dbf is missing";
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const int conn = project.addConn(5, QStringLiteral("Arhiva"));
    project.Conn().execute(QStringLiteral("UPDATE tConn SET DataSource = '%1' WHERE IdConn = %2").arg(dir.path()).arg(conn));
    project.addField(project.addTable(conn, QStringLiteral("facturi.dbf")), QStringLiteral("Suma"));

    // 14949.50, -14949.50, 1234567890123.45, Null and 50.00 old lei.
    const ReportLog forward = runEngine(project, true);
    ASSERT_EQ(forward.fieldTotals().size(), 1);
    const FieldTotals &t = forward.fieldTotals().first().second;
    ASSERT_TRUE(t.available()) << t.unavailable.toStdString();
    EXPECT_FALSE(t.approximate);
    QString old = QStringLiteral("0"), nw = QStringLiteral("0");
    for (const char *v : {"14949.50", "-14949.50", "1234567890123.45", "50.00"}) {
        old = exact::add(old, QString::fromLatin1(v));
        nw = exact::add(nw, exact::newLei(QString::fromLatin1(v), 2));
    }
    EXPECT_EQ(t.rows, QStringLiteral("4"));
    EXPECT_EQ(exact::normalized(t.oldSum), old);
    EXPECT_EQ(exact::normalized(t.newSum), nw);
    EXPECT_EQ(exact::normalized(t.expectedSum), exact::tenThousandth(old));
    EXPECT_EQ(exact::normalized(t.difference), exact::subtract(nw, exact::tenThousandth(old)));

    const ReportLog back = runEngine(project, false);
    ASSERT_EQ(back.fieldTotals().size(), 1);
    const FieldTotals &b = back.fieldTotals().first().second;
    ASSERT_TRUE(b.available()) << b.unavailable.toStdString();
    EXPECT_EQ(exact::normalized(b.restoredSum), old);
    EXPECT_TRUE(b.restoredMatches);
}
