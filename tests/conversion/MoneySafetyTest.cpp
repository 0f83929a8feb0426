// What must hold for every amount, on the built-in SQLite and on real
// PostgreSQL and MariaDB servers, through the conversion engine as a run
// drives it: every numeric column type comes back bit for bit; a new amount
// is rounded once, to what its column keeps; a field is never converted
// twice; converting back restores every row the conversion changed.
#include "conversion/ConversionEngine.h"
#include "conversion/ConversionListing.h"
#include "conversion/ReportLog.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/ExactDecimal.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include <gtest/gtest.h>

using conversion::ConversionEngine;
using conversion::ReportLog;
using testsupport::Engine;
using testsupport::ProjectFixture;
using testsupport::UserDatabase;

namespace {

struct RunOutcome {
    ConversionEngine::Result result;
    ReportLog report;
};

RunOutcome runEngine(ProjectFixture &project, bool toLeiNoi)
{
    RunOutcome outcome;
    convtest::RecordingProgress progress;
    outcome.report.ConvertStart();
    ConversionEngine engine(project.Conn(), progress, outcome.report);
    outcome.result = engine.run(toLeiNoi);
    outcome.report.ConvertEnd(QString());
    return outcome;
}

db::Variant scalar(db::Connection &conn, const QString &sql)
{
    db::Recordset rs = conn.openRecordset(sql);
    return rs.eof() ? db::Variant() : rs.value(0);
}

// One amount column of the type matrix: its declaration, its values in old
// lei (decimal texts exactly representable in the type; "" is Null), the
// decimals it keeps (-1: any), and the type its expected new amounts are
// written in for a comparison on the server ("" = a plain literal).
struct MatrixColumn {
    QString name;
    QString type;
    QStringList values;
    int keeps;
    QString castAs;
};

const QStringList kWhole{QStringLiteral("2147483647"), QStringLiteral("-2147483648"), QStringLiteral("14950"),
                         QStringLiteral("-14950"),     QStringLiteral("14949"),       QStringLiteral("15000"),
                         QStringLiteral("0"),          QString()};
const QStringList kSmall{QStringLiteral("32767"), QStringLiteral("-32768"), QStringLiteral("14950"),
                         QStringLiteral("-14950"), QStringLiteral("14949"), QStringLiteral("15000"),
                         QStringLiteral("0"),     QString()};
const QStringList kBig{QStringLiteral("9223372036854775807"), QStringLiteral("-9223372036854775808"),
                       QStringLiteral("999999999999995000"),  QStringLiteral("-14950"),
                       QStringLiteral("14949"),               QStringLiteral("15000"),
                       QStringLiteral("0"),                   QString()};
const QStringList kDec2{QStringLiteral("9999999999999999.99"), QStringLiteral("-14949.50"), QStringLiteral("14949.99"),
                        QStringLiteral("14950.00"),            QStringLiteral("49.50"),     QStringLiteral("-0.01"),
                        QStringLiteral("0"),                   QString()};
const QStringList kDec0{QStringLiteral("999999999999999999"), QStringLiteral("-999999999999995000"),
                        QStringLiteral("14950"),              QStringLiteral("-14949"),
                        QStringLiteral("5000"),               QStringLiteral("4999"),
                        QStringLiteral("0"),                  QString()};
const QStringList kDec4{QStringLiteral("999999999999999.9999"), QStringLiteral("-14949.5000"),
                        QStringLiteral("1.4950"),               QStringLiteral("0.0001"),
                        QStringLiteral("123.4567"),             QStringLiteral("-50"),
                        QStringLiteral("0"),                    QString()};
const QStringList kDec6{QStringLiteral("99999999999999.999999"), QStringLiteral("-14949.500000"),
                        QStringLiteral("1.494950"),              QStringLiteral("0.000001"),
                        QStringLiteral("123.456789"),            QStringLiteral("-49.99"),
                        QStringLiteral("0"),                     QString()};
const QStringList kDec10{QStringLiteral("9999999999999999999999999999.9999999999"),
                         QStringLiteral("-0.0000000001"),
                         QStringLiteral("14949.5"),
                         QStringLiteral("1234567890123456789.0123456789"),
                         QStringLiteral("-14950"),
                         QStringLiteral("0.5"),
                         QStringLiteral("0"),
                         QString()};
// Doubles with 17 significant digits and floats: written exactly as the
// engine stores them, compared bit for bit after the round trip.
const QStringList kDouble{QStringLiteral("0.30000000000000004"), QStringLiteral("12345678901234.56"),
                          QStringLiteral("1e15"),                QStringLiteral("-14949.5"),
                          QStringLiteral("14950"),               QStringLiteral("0.1"),
                          QStringLiteral("0"),                   QString()};
const QStringList kFloat{QStringLiteral("1234567"), QStringLiteral("7654321"), QStringLiteral("16777216"),
                         QStringLiteral("1234549"), QStringLiteral("-14949.5"), QStringLiteral("0.5"),
                         QStringLiteral("0"),       QString()};
const QStringList kMoney{QStringLiteral("92233720368547758.07"), QStringLiteral("-14949.50"),
                         QStringLiteral("14949.99"),             QStringLiteral("14950.00"),
                         QStringLiteral("49.50"),                QStringLiteral("-0.01"),
                         QStringLiteral("0"),                    QString()};

QList<MatrixColumn> matrixFor(Engine engine)
{
    QList<MatrixColumn> columns{
        {QStringLiteral("c_int"), QStringLiteral("INTEGER"), kWhole, 0, QString()},
        {QStringLiteral("c_big"), QStringLiteral("BIGINT"), kBig, 0, QString()},
        {QStringLiteral("c_small"), QStringLiteral("SMALLINT"), kSmall, 0, QString()},
        {QStringLiteral("c_dec0"), QStringLiteral("DECIMAL(18,0)"), kDec0, 0, QString()},
        {QStringLiteral("c_dec2"), QStringLiteral("DECIMAL(18,2)"), kDec2, 2, QString()},
        {QStringLiteral("c_dec4"), QStringLiteral("DECIMAL(19,4)"), kDec4, 4, QString()},
        {QStringLiteral("c_dec6"), QStringLiteral("NUMERIC(20,6)"), kDec6, 6, QString()},
    };
    switch (engine) {
    case Engine::Sqlite:
        // SQLite keeps every value as an integer or a double: the wide
        // decimals and the float are left to the engines that have them.
        columns.append({QStringLiteral("c_num"), QStringLiteral("NUMBER(10,2)"), kDec2.mid(1), 2, QString()});
        columns.append({QStringLiteral("c_real"), QStringLiteral("REAL"), kDouble, -1, QString()});
        columns.append({QStringLiteral("c_dbl"), QStringLiteral("DOUBLE"), kDouble, -1, QString()});
        break;
    case Engine::Postgres:
        columns.append({QStringLiteral("c_dec10"), QStringLiteral("DECIMAL(38,10)"), kDec10, 10, QString()});
        columns.append({QStringLiteral("c_numeric"), QStringLiteral("NUMERIC"), kDec10, -1, QString()});
        columns.append({QStringLiteral("c_real"), QStringLiteral("REAL"), kFloat, -1, QStringLiteral("REAL")});
        columns.append({QStringLiteral("c_dbl"), QStringLiteral("DOUBLE PRECISION"), kDouble, -1,
                        QStringLiteral("DOUBLE PRECISION")});
        columns.append({QStringLiteral("c_money"), QStringLiteral("MONEY"), kMoney, 2, QStringLiteral("MONEY")});
        break;
    case Engine::MariaDb:
        columns.append({QStringLiteral("c_dec10"), QStringLiteral("DECIMAL(38,10)"), kDec10, 10, QString()});
        columns.append({QStringLiteral("c_real"), QStringLiteral("FLOAT"), kFloat, -1, QStringLiteral("FLOAT")});
        columns.append({QStringLiteral("c_dbl"), QStringLiteral("DOUBLE"), kDouble, -1, QStringLiteral("DOUBLE")});
        break;
    }
    return columns;
}

// "a differs from b", bit for bit, in the engine's own terms.
QString differs(Engine engine, const QString &a, const QString &b)
{
    switch (engine) {
    case Engine::Sqlite:
        return QStringLiteral("(%1 IS NOT %2 OR typeof(%1) <> typeof(%2))").arg(a, b);
    case Engine::Postgres:
        return QStringLiteral("(%1 IS DISTINCT FROM %2)").arg(a, b);
    case Engine::MariaDb:
        return QStringLiteral("NOT (%1 <=> %2)").arg(a, b);
    }
    return QString();
}

class TypeMatrix : public ::testing::TestWithParam<std::tuple<Engine, QString>> {};

} // namespace

// Every column type converts to new lei rounded once to what it keeps, and
// comes back bit for bit; a second run in either direction changes nothing.
TEST_P(TypeMatrix, EveryColumnTypeRoundsOnceAndComesBackBitForBit)
{
    const auto &[engine, templateFile] = GetParam();
    VAMOR_OPEN_USER_DB(user, engine);
    const int rounding = templateFile.contains(QLatin1Char('4')) ? 4 : 2;
    const QList<MatrixColumn> columns = matrixFor(engine);
    const QString table = UserDatabase::tableName(QStringLiteral("matrice"));
    const QString copy = UserDatabase::tableName(QStringLiteral("matrice_orig"));

    QString definition = QStringLiteral("id INTEGER PRIMARY KEY");
    for (const auto &c : columns)
        definition += QStringLiteral(", %1 %2").arg(c.name, c.type);
    user.createTable(table, definition);
    user.createTable(copy, definition);
    const int rows = static_cast<int>(kWhole.size());
    for (int r = 0; r < rows; ++r) {
        QString names = QStringLiteral("id");
        QString values = QString::number(r + 1);
        for (const auto &c : columns) {
            if (r >= c.values.size())
                continue;
            names += QStringLiteral(", ") + c.name;
            const QString v = c.values.at(r);
            values += QStringLiteral(", ")
                      + (v.isEmpty() ? QStringLiteral("NULL")
                         : c.castAs.isEmpty() ? v
                                              : QStringLiteral("CAST('%1' AS %2)").arg(v, c.castAs));
        }
        for (const QString &target : {table, copy})
            user.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(target, names, values));
    }

    ProjectFixture project(templateFile);
    ASSERT_TRUE(project.ok());
    const int idTable = testsupport::addUserTable(project, user, table);
    for (const auto &c : columns)
        project.addField(idTable, c.name);

    const QString join = QStringLiteral(" FROM %1 t INNER JOIN %2 o ON t.id = o.id WHERE ").arg(table, copy);
    const auto count = [&](const QString &from, const QString &where) {
        return scalar(user.conn(), QStringLiteral("SELECT COUNT(*)") + from + where).toInt();
    };

    // To new lei.
    RunOutcome forward = runEngine(project, true);
    EXPECT_FALSE(forward.result.failed) << forward.result.errorDescription.toStdString();
    ASSERT_EQ(forward.report.rows().size(), columns.size());
    for (const auto &row : forward.report.rows())
        EXPECT_EQ(row.error, QString()) << row.fieldName.toStdString();
    for (const auto &c : columns) {
        SCOPED_TRACE(c.name.toStdString() + " " + c.type.toStdString());
        const QString rec = QStringLiteral("t.") + c.name + QStringLiteral("_VM");
        // The recovery column holds the old amount exactly, or Null where there was none.
        EXPECT_EQ(count(join, differs(engine, rec, QStringLiteral("o.") + c.name)), 0);
        const int decimals = c.keeps >= 0 && c.keeps < rounding ? c.keeps : rounding;
        for (int r = 0; r < c.values.size(); ++r) {
            const QString old = c.values.at(r);
            if (old.isEmpty())
                continue;
            // Doubles are checked against the amount they hold as a decimal.
            const QString exactOld = old == QLatin1String("1e15") ? QStringLiteral("1000000000000000") : old;
            const QString expected = exact::newLei(exactOld, decimals);
            ASSERT_FALSE(expected.isEmpty()) << old.toStdString();
            const QString literal = c.castAs.isEmpty() ? expected
                                                       : QStringLiteral("CAST('%1' AS %2)").arg(expected, c.castAs);
            EXPECT_EQ(count(QStringLiteral(" FROM ") + table,
                            QStringLiteral(" WHERE id = %1 AND %2 = %3").arg(r + 1).arg(c.name, literal)),
                      1)
                << old.toStdString() << " should be " << expected.toStdString() << ", is "
                << scalar(user.conn(), QStringLiteral("SELECT %1 FROM %2 WHERE id = %3").arg(c.name, table).arg(r + 1))
                       .toString()
                       .toStdString();
        }
    }
    EXPECT_TRUE(runEngine(project, true).report.rows().isEmpty()) << "a second run converts nothing";

    // Back to old lei: every amount as it was, every recovery value Null.
    RunOutcome back = runEngine(project, false);
    ASSERT_EQ(back.report.rows().size(), columns.size());
    for (const auto &row : back.report.rows())
        EXPECT_EQ(row.error, QString()) << row.fieldName.toStdString();
    for (const auto &c : columns) {
        SCOPED_TRACE(c.name.toStdString() + " " + c.type.toStdString());
        EXPECT_EQ(count(join, differs(engine, QStringLiteral("t.") + c.name, QStringLiteral("o.") + c.name)), 0);
        EXPECT_EQ(count(QStringLiteral(" FROM ") + table, QStringLiteral(" WHERE %1_VM IS NOT NULL").arg(c.name)), 0);
    }
    EXPECT_TRUE(runEngine(project, false).report.rows().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, TypeMatrix,
                         ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                                            ::testing::Values(QStringLiteral("Vamor.vmt"),
                                                              QStringLiteral("Vamor 4 zecimale.vmt"))),
                         [](const auto &info) {
                             return testsupport::engineName(std::get<0>(info.param)).toStdString()
                                    + (std::get<1>(info.param).contains(QLatin1Char('4')) ? "_4dec" : "_2dec");
                         });

namespace {

// A SQLite user database with one table and a project over it.
class SqliteSafety : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(project.ok()); }

    int addTable(const QString &where = QString())
    {
        if (idConn == 0)
            idConn = project.addConn(6, QStringLiteral("Firma"), user.connString());
        return project.addTable(idConn, QStringLiteral("Sume"), QString(), where);
    }
    QStringList values(const QString &column)
    {
        QStringList out;
        for (const db::Variant &v : user.column(QStringLiteral("Sume"), column))
            out.append(v.isNull() ? QStringLiteral("Null") : exact::normalized(v.toString()));
        return out;
    }

    convtest::SqliteUserDb user;
    ProjectFixture project;
    int idConn = 0;
};

} // namespace

// A condition that names the amount itself selects fewer rows once they are
// converted; converting back still restores every row the conversion changed.
TEST_F(SqliteSafety, ConditionOnTheAmountItselfStillConvertsEveryChangedRowBack)
{
    user.exec({QStringLiteral("CREATE TABLE Sume (Id INTEGER PRIMARY KEY, Suma DECIMAL(18,2))"),
               QStringLiteral("INSERT INTO Sume VALUES (1, 5000000), (2, 20000000000), (3, 300000), (4, NULL)")});
    const int idField = project.addField(addTable(QStringLiteral("Suma >= 1000000")), QStringLiteral("Suma"));
    const QStringList before = values(QStringLiteral("Suma"));

    runEngine(project, true);
    EXPECT_EQ(values(QStringLiteral("Suma")),
              (QStringList{QStringLiteral("500"), QStringLiteral("2000000"), QStringLiteral("300000"),
                           QStringLiteral("Null")}));
    EXPECT_TRUE(project.scalar(QStringLiteral("SELECT Converted FROM tField WHERE IdField = %1").arg(idField)).toBool());

    RunOutcome back = runEngine(project, false);
    ASSERT_EQ(back.report.rows().size(), 1);
    EXPECT_EQ(back.report.rows().first().recCount, 2);
    EXPECT_EQ(values(QStringLiteral("Suma")), before);
    EXPECT_EQ(values(QStringLiteral("Suma_VM")), QStringList(4, QStringLiteral("Null")));
}

// A text in a numeric column would be read as another amount ("12,50" as
// 12): the field fails with a clear message and none of its rows changes. A
// column declared NUMBER(10,2) is numeric and converts.
TEST_F(SqliteSafety, TextInANumericColumnFailsTheFieldAndChangesNothing)
{
    user.exec({QStringLiteral("CREATE TABLE Sume (Id INTEGER PRIMARY KEY, Suma DECIMAL(18,2), Plata NUMBER(10,2))"),
               QStringLiteral("INSERT INTO Sume VALUES (1, 1000000, 14950), (2, '12,50', 25000.50), (3, NULL, NULL)")});
    const int idTable = addTable();
    const int suma = project.addField(idTable, QStringLiteral("Suma"));
    project.addField(idTable, QStringLiteral("Plata"));

    RunOutcome run = runEngine(project, true);
    ASSERT_EQ(run.report.rows().size(), 2);
    const auto &failed = run.report.rows().at(0);
    EXPECT_EQ(failed.fieldName, QStringLiteral("Suma"));
    EXPECT_EQ(failed.error,
              QStringLiteral("Campul \"Suma\" contine valori care nu sunt numere (de exemplu \"12,50\"); nu a fost "
                             "convertit."));
    EXPECT_EQ(failed.recCount, 0);
    EXPECT_EQ(values(QStringLiteral("Suma")), (QStringList{QStringLiteral("1000000"), QStringLiteral("12,50"),
                                                           QStringLiteral("Null")}));
    EXPECT_EQ(values(QStringLiteral("Suma_VM")), QStringList(3, QStringLiteral("Null")));
    EXPECT_FALSE(project.scalar(QStringLiteral("SELECT Converted FROM tField WHERE IdField = %1").arg(suma)).toBool());

    EXPECT_EQ(run.report.rows().at(1).error, QString());
    EXPECT_EQ(values(QStringLiteral("Plata")),
              (QStringList{QStringLiteral("1.5"), QStringLiteral("2.5"), QStringLiteral("Null")}));
}

// Columns that keep fewer decimals than the rounding are named before the
// run, with what they keep, and their report rows say how they were rounded.
TEST_F(SqliteSafety, ColumnsKeepingFewerDecimalsAreNamedBeforeAndInTheReport)
{
    user.exec({QStringLiteral("CREATE TABLE Sume (Id INTEGER PRIMARY KEY, Intreg INTEGER, Bani DECIMAL(18,2), "
                              "Dublu DOUBLE)"),
               QStringLiteral("INSERT INTO Sume VALUES (1, 15000, 14949.50, 14949.5)")});
    const int idTable = addTable();
    for (const char *name : {"Intreg", "Bani", "Dublu"})
        project.addField(idTable, QString::fromLatin1(name));

    QStringList notes;
    conversion::listFieldsToConvert(project.Conn(), true, [&](const conversion::ListedField &f) {
        notes.append(f.fieldName + QLatin1Char(':') + f.note);
    });
    // Listed by field name.
    EXPECT_EQ(notes, (QStringList{QStringLiteral("Bani:"), QStringLiteral("Dublu:"),
                                  QStringLiteral("Intreg:Coloana pastreaza doar 0 zecimale")}));

    RunOutcome run = runEngine(project, true);
    ASSERT_EQ(run.report.rows().size(), 3);
    EXPECT_EQ(run.report.rows().at(0).note, QStringLiteral("Sume rotunjite la 0 zecimale"));
    EXPECT_EQ(run.report.rows().at(1).note, QString());
    EXPECT_TRUE(run.report.fileText().contains(
        QStringLiteral("\"Intreg\",\"1 inregistrari (Sume rotunjite la 0 zecimale)\",\"\"")));
    EXPECT_EQ(values(QStringLiteral("Intreg")), QStringList{QStringLiteral("2")});
    EXPECT_EQ(values(QStringLiteral("Bani")), QStringList{QStringLiteral("1.49")});

    // Back to old lei nothing is rounded: no notes.
    conversion::listFieldsToConvert(project.Conn(), false, [&](const conversion::ListedField &f) {
        EXPECT_EQ(f.note, QString()) << f.fieldName.toStdString();
    });
}

// One column listed twice, or a recovery column two fields share: the later
// field is refused with a message, so no amount is converted twice and no
// copy is overwritten; converting back restores everything.
TEST_F(SqliteSafety, ColumnListedTwiceOrSharedRecoveryColumnIsRefused)
{
    user.exec({QStringLiteral("CREATE TABLE Sume (Id INTEGER PRIMARY KEY, Valoare DECIMAL(18,2), Suma DECIMAL(18,2))"),
               QStringLiteral("INSERT INTO Sume VALUES (1, 7060846125.8, 15000), (2, -14949.50, NULL)")});
    const int idTable = addTable();
    const int first = project.addField(idTable, QStringLiteral("Valoare"), QStringLiteral("Valoare_VM"));
    const int twice = project.addField(idTable, QStringLiteral("valoare"), QStringLiteral("Valoare_VM2"));
    const int shared = project.addField(idTable, QStringLiteral("Suma"), QStringLiteral("VALOARE_VM"));
    const QStringList before[2] = {values(QStringLiteral("Valoare")), values(QStringLiteral("Suma"))};

    RunOutcome run = runEngine(project, true);
    ASSERT_EQ(run.report.rows().size(), 3);
    EXPECT_EQ(run.report.rows().at(0).error, QString());
    EXPECT_EQ(run.report.rows().at(1).error, QStringLiteral("Coloana \"valoare\" este convertita deja de un alt camp "
                                                            "al tabelului; campul nu a fost convertit."));
    EXPECT_EQ(run.report.rows().at(2).error, QStringLiteral("Coloana de restaurare \"VALOARE_VM\" este folosita si de "
                                                            "un alt camp al tabelului; campul nu a fost convertit."));
    EXPECT_EQ(values(QStringLiteral("Valoare")), (QStringList{QStringLiteral("706084.61"), QStringLiteral("-1.49")}));
    EXPECT_EQ(values(QStringLiteral("Suma")), before[1]);
    const auto state = [&](int id) {
        return project.scalar(QStringLiteral("SELECT Converted FROM tField WHERE IdField = %1").arg(id)).toBool();
    };
    EXPECT_TRUE(state(first));
    EXPECT_FALSE(state(twice));
    EXPECT_FALSE(state(shared));

    // The same table listed a second time: its field of the same column is refused too.
    const int again = project.addField(addTable(), QStringLiteral("Valoare"), QStringLiteral("Valoare_VM3"));
    EXPECT_TRUE(runEngine(project, true).report.rows().last().error.startsWith(QStringLiteral("Coloana \"Valoare\" este convertita deja")));
    EXPECT_FALSE(state(again));
    EXPECT_EQ(values(QStringLiteral("Valoare")), (QStringList{QStringLiteral("706084.61"), QStringLiteral("-1.49")}));

    runEngine(project, false);
    EXPECT_EQ(values(QStringLiteral("Valoare")), before[0]);
    EXPECT_EQ(values(QStringLiteral("Suma")), before[1]);
    EXPECT_FALSE(state(first));
}

// A condition or a name that smuggles in a second statement is refused
// before anything runs: the other table survives, the field fails.
TEST_F(SqliteSafety, SecondStatementInAConditionOrANameIsRefused)
{
    user.exec({QStringLiteral("CREATE TABLE Sume (Id INTEGER PRIMARY KEY, Suma DECIMAL(18,2))"),
               QStringLiteral("INSERT INTO Sume VALUES (1, 10000)"),
               QStringLiteral("CREATE TABLE Victima (Id INTEGER PRIMARY KEY)")});
    const int filtered = addTable(QStringLiteral("1=1); DROP TABLE Victima; --"));
    project.addField(filtered, QStringLiteral("Suma"));
    const int plain = addTable();
    project.addField(plain, QStringLiteral("Suma"), QStringLiteral("Nou DECIMAL; DROP TABLE Victima; --"));

    RunOutcome run = runEngine(project, true);
    ASSERT_EQ(run.report.rows().size(), 2);
    for (const auto &row : run.report.rows())
        EXPECT_FALSE(row.error.isEmpty()) << row.tableName.toStdString();
    EXPECT_EQ(user.scalar(QStringLiteral("SELECT Count(*) FROM sqlite_master WHERE name = 'Victima'")).toInt(), 1);
    EXPECT_EQ(values(QStringLiteral("Suma")), QStringList{QStringLiteral("10000")});
}

// A source its driver can only read (an Access file through MDB Tools) is
// told apart before anything is sent: one clear message per field.
TEST(ReadOnlySource, AccessFileFieldsFailWithOneClearMessage)
{
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    const QString mdb = testsupport::copyTestData(QStringLiteral("access/nwind.mdb"), project.dir());
    ASSERT_FALSE(mdb.isEmpty());
    const int idConn = project.addConn(6, QStringLiteral("Access"), QStringLiteral("Driver=MDBTools;DBQ=") + mdb + QLatin1Char(';'));
    project.addField(project.addTable(idConn, QStringLiteral("Products")), QStringLiteral("UnitPrice"));
    RunOutcome run = runEngine(project, true);
    ASSERT_EQ(run.report.rows().size(), 1);
    EXPECT_EQ(run.report.rows().first().error, conversion::readOnlySourceMessage());
    EXPECT_FALSE(run.report.rows().first().error.contains(QStringLiteral("parse")));
}

// Under the four-decimals template a column of two decimals is named too.
TEST(SqliteSafetyFourDecimals, TwoDecimalColumnIsNamedAndRoundedOnceToTwo)
{
    convtest::SqliteUserDb user;
    user.exec({QStringLiteral("CREATE TABLE Sume (Id INTEGER PRIMARY KEY, Bani DECIMAL(18,2), Patru DECIMAL(18,4))"),
               QStringLiteral("INSERT INTO Sume VALUES (1, 14949.50, 14949.50), (2, -14949.50, 14950.00)")});
    ProjectFixture project(QStringLiteral("Vamor 4 zecimale.vmt"));
    ASSERT_TRUE(project.ok());
    const int idTable = project.addTable(project.addConn(6, QStringLiteral("Firma"), user.connString()),
                                         QStringLiteral("Sume"));
    project.addField(idTable, QStringLiteral("Bani"));
    project.addField(idTable, QStringLiteral("Patru"));
    QStringList notes;
    conversion::listFieldsToConvert(project.Conn(), true,
                                    [&](const conversion::ListedField &f) { notes.append(f.note); });
    EXPECT_EQ(notes, (QStringList{QStringLiteral("Coloana pastreaza doar 2 zecimale"), QString()}));

    RunOutcome run = runEngine(project, true);
    ASSERT_EQ(run.report.rows().size(), 2);
    EXPECT_EQ(run.report.rows().at(0).note, QStringLiteral("Sume rotunjite la 2 zecimale"));
    // 1.49495 rounded once: 1.49 (a first rounding to 1.4950 would give 1.50).
    QStringList bani;
    for (const auto &v : user.column(QStringLiteral("Sume"), QStringLiteral("Bani")))
        bani.append(exact::normalized(v.toString()));
    EXPECT_EQ(bani, (QStringList{QStringLiteral("1.49"), QStringLiteral("-1.49")}));
    QStringList patru;
    for (const auto &v : user.column(QStringLiteral("Sume"), QStringLiteral("Patru")))
        patru.append(exact::normalized(v.toString()));
    EXPECT_EQ(patru, (QStringList{QStringLiteral("1.495"), QStringLiteral("1.495")}));
}

namespace {

// A PostgreSQL table of the test server and a project over it.
struct PostgresTable {
    explicit PostgresTable(const QString &conn) : connString(conn) {}
    QString connString;
    UserDatabase user{Engine::Postgres};
    ProjectFixture project;
    QString table = UserDatabase::tableName(QStringLiteral("sume_pg"));

    int field(const QString &connSuffix = QString())
    {
        const int idConn = project.addConn(6, QStringLiteral("Server"), connString + connSuffix);
        return project.addField(project.addTable(idConn, table), QStringLiteral("suma"));
    }
    QStringList column(const QString &name)
    {
        QStringList out;
        db::Recordset rs = user.conn().openRecordset(QStringLiteral("SELECT %1 FROM %2 ORDER BY id").arg(name, table));
        for (; !rs.eof(); rs.moveNext())
            out.append(rs.value(0).isNull() ? QStringLiteral("Null") : exact::normalized(rs.value(0).toString()));
        return out;
    }
    db::Variant stored(int idField, const char *column)
    {
        return project.scalar(QStringLiteral("SELECT %1 FROM tField WHERE IdField = %2")
                                  .arg(QLatin1String(column))
                                  .arg(idField));
    }
};

} // namespace

// A converted field whose probe fails (the table is locked by another
// session) is neither converted again nor taken as not converted: it keeps
// its state, reports the server's message, and its amounts stay as they are.
TEST(PostgresSafety, ProbeThatFailsKeepsTheStateAndTouchesNothing)
{
    VAMOR_REQUIRE_SERVER(pg, "VAMOR_TEST_PG");
    PostgresTable t(pg);
    ASSERT_TRUE(t.project.ok());
    t.user.createTable(t.table, QStringLiteral("id INTEGER PRIMARY KEY, suma NUMERIC(18,2)"));
    t.user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 14875000), (2, 10000)").arg(t.table));
    // The run's connection gives up on a lock after a moment.
    const int idField = t.field(QStringLiteral("ConnSettings={SET lock_timeout = 500};"));

    ASSERT_EQ(runEngine(t.project, true).report.errorCount(), 0);
    const QStringList converted = t.column(QStringLiteral("suma"));
    EXPECT_EQ(converted, (QStringList{QStringLiteral("1487.5"), QStringLiteral("1")}));

    db::Connection locker;
    locker.open(pg);
    locker.beginTrans();
    locker.execute(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(t.table));
    for (const bool toLeiNoi : {true, false}) {
        RunOutcome locked = runEngine(t.project, toLeiNoi);
        ASSERT_EQ(locked.report.rows().size(), 1) << "direction " << toLeiNoi;
        EXPECT_TRUE(locked.report.rows().first().error.contains(QStringLiteral("lock"), Qt::CaseInsensitive))
            << locked.report.rows().first().error.toStdString();
        EXPECT_EQ(locked.report.rows().first().recCount, 0);
        EXPECT_TRUE(t.stored(idField, "Converted").toBool());
        EXPECT_FALSE(t.stored(idField, "Error").isNull());
    }
    locker.rollbackTrans();
    locker.close();

    EXPECT_EQ(t.column(QStringLiteral("suma")), converted);
    EXPECT_EQ(t.column(QStringLiteral("suma_vm")), (QStringList{QStringLiteral("14875000"), QStringLiteral("10000")}));
    ASSERT_EQ(runEngine(t.project, false).report.errorCount(), 0);
    EXPECT_EQ(t.column(QStringLiteral("suma")), (QStringList{QStringLiteral("14875000"), QStringLiteral("10000")}));
    EXPECT_TRUE(t.stored(idField, "Error").isNull());
}

// A commit the server refuses (a deferred unique constraint) fails the field
// with the server's message alone, and nothing of it stays.
TEST(PostgresSafety, RefusedCommitReportsOnlyTheServersMessageAndKeepsNothing)
{
    VAMOR_REQUIRE_SERVER(pg, "VAMOR_TEST_PG");
    PostgresTable t(pg);
    ASSERT_TRUE(t.project.ok());
    t.user.createTable(t.table, QStringLiteral("id INTEGER PRIMARY KEY, suma NUMERIC(18,2), "
                                               "UNIQUE (suma) DEFERRABLE INITIALLY DEFERRED"));
    // Both become 1.00 new lei.
    t.user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 10000), (2, 10049)").arg(t.table));
    const int idField = t.field();

    RunOutcome run = runEngine(t.project, true);
    ASSERT_EQ(run.report.rows().size(), 1);
    const QString error = run.report.rows().first().error;
    EXPECT_TRUE(error.contains(QStringLiteral("duplicate key"))) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("\r\n"))) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("tranzactie"))) << error.toStdString();
    EXPECT_EQ(run.report.rows().first().recCount, 0);
    EXPECT_FALSE(t.stored(idField, "Converted").toBool());
    EXPECT_EQ(t.column(QStringLiteral("suma")), (QStringList{QStringLiteral("10000"), QStringLiteral("10049")}));
    EXPECT_EQ(t.column(QStringLiteral("suma_vm")), (QStringList{QStringLiteral("Null"), QStringLiteral("Null")}));
}
