// The column check, the recovery column and the converted-state probe against
// real user databases: the built-in SQLite provider, and PostgreSQL and
// MariaDB through ODBC when their test servers run.
#include "tables/ConvertSql.h"
#include "tables/RecoveryColumnFit.h"
#include "tables/RecoveryField.h"
#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include "data/db/DbError.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using testsupport::Engine;
using testsupport::ProjectFixture;

namespace {

QString T(const char *base) { return testsupport::UserDatabase::tableName(QLatin1String(base)); }

const QString kMissing = QStringLiteral("Informatie lipsa in metadate");

class UserDb : public ::testing::TestWithParam<Engine> {};

std::string engineLabel(const ::testing::TestParamInfo<Engine> &info)
{
    return testsupport::engineName(info.param).toStdString();
}

} // namespace

TEST_P(UserDb, ColumnCheckAcceptsNumbersRefusesOthers)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    user.createTable(T("verificare"),
                     QStringLiteral("i INTEGER, b BIGINT, d DECIMAL(18,2), n NUMERIC(19,4), f {DOUBLE}, m {MONEY}, "
                                    "dt DATE, t {TEXT}, ok {BOOL}"));
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idTable = testsupport::addUserTable(p, user, T("verificare"));
    for (const char *column : {"i", "b", "d", "n", "f", "m"})
        EXPECT_EQ(fgCheckFieldType(idTable, QLatin1String(column)), QString()) << column;

    EXPECT_EQ(fgCheckFieldType(idTable, QStringLiteral("dt")), QStringLiteral("Nu poate fi folosit tipul DBDate"));
    EXPECT_EQ(fgCheckFieldType(idTable, QStringLiteral("t")), QStringLiteral("Nu poate fi folosit tipul VarWChar"));
    if (GetParam() == Engine::MariaDb)
        // MariaDB's BOOLEAN is TINYINT(1), a number: the driver says so.
        EXPECT_EQ(fgCheckFieldType(idTable, QStringLiteral("ok")), QString());
    else
        EXPECT_EQ(fgCheckFieldType(idTable, QStringLiteral("ok")), QStringLiteral("Nu poate fi folosit tipul Boolean"));

    // A column the table lacks: the provider's description.
    const QString missing = fgCheckFieldType(idTable, QStringLiteral("nu_exista"));
    EXPECT_FALSE(missing.isEmpty());
    EXPECT_FALSE(missing.startsWith(QStringLiteral("Nu poate fi folosit")));
}

TEST_P(UserDb, RecoveryColumnAddExistingAndDrop)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    user.createTable(T("facturi"), QStringLiteral("id INTEGER, suma DECIMAL(18,2)"));
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    testsupport::ScriptedPrompts prompts;
    const int idTable = testsupport::addUserTable(p, user, T("facturi"));

    EXPECT_EQ(fgCreateRecoveryField(idTable, QStringLiteral("Suma_VM"), true), QString());
    EXPECT_TRUE(user.columnNames(T("facturi")).contains(QStringLiteral("suma_vm")));
    EXPECT_EQ(fgCreateRecoveryField(idTable, QStringLiteral("Suma_VM"), false), QString());
    EXPECT_EQ(fgCreateRecoveryField(idTable, QStringLiteral("Suma_VM"), true),
              QStringLiteral("Campul \"Suma_VM\" deja exista in tabel."));
    // The recovery column takes numbers.
    EXPECT_EQ(fgCheckFieldType(idTable, QStringLiteral("Suma_VM")), QString());

    EXPECT_EQ(fgDropRecoveryField(idTable, QStringLiteral("Suma_VM")), QString());
    EXPECT_FALSE(user.columnNames(T("facturi")).contains(QStringLiteral("suma_vm")));
    EXPECT_EQ(user.columnNames(T("facturi")), (QStringList{QStringLiteral("id"), QStringLiteral("suma")}));
    const QString again = fgDropRecoveryField(idTable, QStringLiteral("Suma_VM"));
    EXPECT_FALSE(again.isEmpty());
    EXPECT_NE(again, kMissing);
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_P(UserDb, MissingMetadataIsReportedWithoutConnecting)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    testsupport::ScriptedPrompts prompts;
    const int idTable = testsupport::addUserTable(p, user, T("facturi"));
    const int noTable = idTable + 100;
    EXPECT_EQ(fgCheckFieldType(noTable, QStringLiteral("suma")), kMissing);
    EXPECT_EQ(fgCreateRecoveryField(noTable, QStringLiteral("suma_VM"), true), kMissing);
    EXPECT_EQ(fgDropRecoveryField(noTable, QStringLiteral("suma_VM")), kMissing);

    // A raw data source without a connection string (the lookup shows why).
    const int noString = p.addTable(p.addConn(6, QStringLiteral("fara sir")), T("facturi"));
    EXPECT_EQ(fgCheckFieldType(noString, QStringLiteral("suma")), kMissing);
    EXPECT_EQ(fgCreateRecoveryField(noString, QStringLiteral("suma_VM"), false), kMissing);
    EXPECT_EQ(fgDropRecoveryField(noString, QStringLiteral("suma_VM")), kMissing);
    EXPECT_EQ(prompts.messages().size(), 3);

    // A type without the template. The source cannot be reached either: a
    // connection attempt would give the driver's error instead.
    p.Conn().execute(QStringLiteral("UPDATE tConnType SET CreateFieldSQL = NULL, DropFieldSQL = '' WHERE IdConnType = 6"));
    const int unreachable = p.addTable(p.addConn(6, QStringLiteral("S"), QStringLiteral("Driver=NuExista;")),
                                       T("facturi"));
    for (int id : {idTable, unreachable}) {
        EXPECT_EQ(fgCreateRecoveryField(id, QStringLiteral("suma_VM"), false), kMissing);
        EXPECT_EQ(fgCreateRecoveryField(id, QStringLiteral("suma_VM"), true), kMissing);
        EXPECT_EQ(fgDropRecoveryField(id, QStringLiteral("suma_VM")), kMissing);
    }
    EXPECT_EQ(prompts.messages().size(), 3);
}

TEST_P(UserDb, ProbeTellsConvertedNotConvertedAndUnknown)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    user.createTable(T("proba"),
                     QStringLiteral("id INTEGER, an INTEGER, suma DECIMAL(18,2), suma_vm DECIMAL(38,10)"));
    user.execute(QStringLiteral("INSERT INTO ") + T("proba") + QStringLiteral(" (id, an, suma, suma_vm) VALUES (1, 2004, 100, NULL)"));
    user.execute(QStringLiteral("INSERT INTO ") + T("proba") + QStringLiteral(" (id, an, suma, suma_vm) VALUES (2, 2005, NULL, NULL)"));
    user.execute(QStringLiteral("INSERT INTO ") + T("proba") + QStringLiteral(" (id, an, suma, suma_vm) VALUES (3, 2005, 0.02, 150)"));
    user.execute(QStringLiteral("INSERT INTO ") + T("proba") + QStringLiteral(" (id, an, suma, suma_vm) VALUES (4, 2005, NULL, NULL)"));
    const auto probe = [&](const QString &condition, const QString &rec = QStringLiteral("suma_vm")) {
        return fgGetConvertedState(user.conn(), convertsql::rowSource(T("proba"), condition),
                                   QStringLiteral("suma"), rec);
    };
    EXPECT_EQ(probe(QString()), 1);
    EXPECT_EQ(probe(QStringLiteral("an = 2005")), 1);
    EXPECT_EQ(probe(QStringLiteral("an = 2004")), 0);
    EXPECT_EQ(probe(QStringLiteral("id = 2 OR id = 4")), -1);
    EXPECT_EQ(probe(QStringLiteral("id = 99")), -1);
    EXPECT_EQ(probe(QString(), QStringLiteral("nu_exista")), 0);
    EXPECT_EQ(probe(QStringLiteral("nu_exista = 1")), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, UserDb, ::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                         engineLabel);

// Names with blanks are written by the type's naming rule: here type 1's
// brackets, reaching a SQLite file (which reads brackets as quotes).
TEST(RecoveryColumnSqlite, NamesWithBlanksAreQuotedByType)
{
    testsupport::UserDatabase user(Engine::Sqlite);
    ASSERT_TRUE(user.conn().isOpen());
    user.createTable(QStringLiteral("Vanzari Lunare"),
                     QStringLiteral("\"Suma Totala\" DECIMAL(18,2), \"Data Vanzare\" DATE"));
    user.execute(QStringLiteral("INSERT INTO \"Vanzari Lunare\" VALUES (12345, '2005-01-01')"));
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const QString path = user.connString().section(QLatin1Char('='), -1);
    p.Conn().execute(QStringLiteral("UPDATE tConnType SET ConnString = 'Provider=SQLite;', "
                                    "DataSourceTag = 'Data Source=[VALUE]' WHERE IdConnType = 1"));
    const int idConn = p.insertRow(QStringLiteral("tConn"), {{QStringLiteral("IdConnType"), 1},
                                                            {QStringLiteral("DataSource"), path}});
    const int idTable = p.addTable(idConn, QStringLiteral("Vanzari Lunare"), QStringLiteral("dbo"));

    EXPECT_EQ(fgCheckFieldType(idTable, QStringLiteral("Suma Totala")), QString());
    EXPECT_EQ(fgCheckFieldType(idTable, QStringLiteral("Data Vanzare")), QStringLiteral("Nu poate fi folosit tipul DBDate"));
    EXPECT_EQ(fgCreateRecoveryField(idTable, QStringLiteral("Suma Totala_VM"), true), QString());
    EXPECT_TRUE(user.columnNames(QStringLiteral("Vanzari Lunare")).contains(QStringLiteral("suma totala_vm")));
    const QString table = fgGetTableName(1, QStringLiteral("dbo"), QStringLiteral("Vanzari Lunare"));
    EXPECT_EQ(fgGetConvertedState(user.conn(), convertsql::rowSource(table, QString()),
                                  fgGetFieldName(1, QStringLiteral("Suma Totala")),
                                  fgGetFieldName(1, QStringLiteral("Suma Totala_VM"))),
              0);
    EXPECT_EQ(fgDropRecoveryField(idTable, QStringLiteral("Suma Totala_VM")), QString());
    EXPECT_FALSE(user.columnNames(QStringLiteral("Vanzari Lunare")).contains(QStringLiteral("suma totala_vm")));
}

// Placeholders are replaced everywhere, in capitals only.
TEST(RecoveryColumnSqlite, TemplatePlaceholdersCaseSensitiveAndRepeated)
{
    testsupport::UserDatabase user(Engine::Sqlite);
    ASSERT_TRUE(user.conn().isOpen());
    user.createTable(T("facturi"), QStringLiteral("suma INTEGER, suma_vm INTEGER"));
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idTable = testsupport::addUserTable(p, user, T("facturi"));

    p.Conn().execute(QStringLiteral("UPDATE tConnType SET CreateFieldSQL = "
                                    "'CREATE INDEX ix_[FIELD_NAME] ON [TABLE_NAME] ([FIELD_NAME])' WHERE IdConnType = 6"));
    EXPECT_EQ(fgCreateRecoveryField(idTable, QStringLiteral("suma_vm"), true), QString());
    EXPECT_EQ(user.conn().openRecordset(QStringLiteral("SELECT name FROM sqlite_master WHERE name = 'ix_suma_vm'"))
                  .recordCount(),
              1);

    p.Conn().execute(QStringLiteral("UPDATE tConnType SET CreateFieldSQL = "
                                    "'ALTER TABLE [TABLE_NAME] ADD [field_name] INTEGER' WHERE IdConnType = 6"));
    EXPECT_EQ(fgCreateRecoveryField(idTable, QStringLiteral("alta"), true), QString());
    EXPECT_TRUE(user.columnNames(T("facturi")).contains(QStringLiteral("field_name")));
    EXPECT_FALSE(user.columnNames(T("facturi")).contains(QStringLiteral("alta")));
}

// A data source that cannot be reached gives the provider's description,
// never the already-exists message.
TEST(RecoveryColumnSqlite, UnreachableSourceGivesItsOwnError)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idTable = p.addTable(p.addConn(6, QStringLiteral("S"), QStringLiteral("Driver=NuExista;Server=x")),
                                   T("facturi"));
    for (bool report : {true, false}) {
        const QString message = fgCreateRecoveryField(idTable, QStringLiteral("suma_VM"), report);
        EXPECT_FALSE(message.isEmpty());
        EXPECT_FALSE(message.startsWith(QStringLiteral("Campul")));
    }
    EXPECT_FALSE(fgCheckFieldType(idTable, QStringLiteral("suma")).isEmpty());
}

// An Access file through the shipped Access type (MDB Tools): the check reads
// the column types; the read-only driver refuses to add a column, and says so.
TEST(RecoveryColumnAccess, CheckReadsTypesAddIsRefusedByTheDriver)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const QString mdb = testsupport::copyTestData(QStringLiteral("access/nwind.mdb"), p.dir());
    ASSERT_FALSE(mdb.isEmpty());
    const int idConn = p.insertRow(QStringLiteral("tConn"), {{QStringLiteral("IdConnType"), 0},
                                                            {QStringLiteral("DataSource"), mdb}});
    const int products = p.addTable(idConn, QStringLiteral("Products"));
    EXPECT_EQ(fgCheckFieldType(products, QStringLiteral("UnitPrice")), QString());
    EXPECT_EQ(fgCheckFieldType(products, QStringLiteral("UnitsInStock")), QString());
    EXPECT_TRUE(fgCheckFieldType(products, QStringLiteral("ProductName")).startsWith(QStringLiteral("Nu poate fi folosit tipul ")));
    const QString refused = fgCreateRecoveryField(products, QStringLiteral("UnitPrice_VM"), false);
    const QString conversion = [&] {
        try {
            db::Connection user;
            user.open(QStringLiteral("Driver=MDBTools;DBQ=") + mdb + QLatin1Char(';'));
            user.execute(QStringLiteral("UPDATE Products SET UnitPrice = 0"));
            return QString();
        } catch (const db::DbError &e) {
            return e.description();
        }
    }();
    EXPECT_FALSE(conversion.isEmpty()) << "MDB Tools wrote to the file";
    // The driver cannot write: its own message, whatever the flag.
    EXPECT_FALSE(refused.isEmpty());
    EXPECT_FALSE(refused.startsWith(QStringLiteral("Campul")));
    EXPECT_EQ(fgCreateRecoveryField(products, QStringLiteral("UnitPrice_VM"), true), refused);
}

// A recovery column that is already in the table serves only when it keeps
// every amount of its column exactly: as the catalogs of the engines describe
// their types (ADO type, declaration, scale).
TEST(RecoveryColumnFit, NarrowerTypesAreRefusedWiderOnesServe)
{
    struct Case {
        const char *label;
        db::ColumnType field, rec;
        bool weak;
        bool fits;
    };
    const db::ColumnType dec18_2{db::adNumeric, QStringLiteral("numeric(18,2)"), 2};
    const db::ColumnType bigint{db::adBigInt, QStringLiteral("bigint"), 0};
    const Case cases[] = {
        {"same type", dec18_2, dec18_2, false, true},
        {"same type, other spelling", dec18_2, {db::adNumeric, QStringLiteral("NUMERIC (18, 2)"), 2}, false, true},
        {"fewer decimals", dec18_2, {db::adNumeric, QStringLiteral("numeric(18,0)"), 0}, false, false},
        {"fewer digits before the point", dec18_2, {db::adNumeric, QStringLiteral("numeric(17,2)"), 2}, false, false},
        {"wider decimal", dec18_2, {db::adNumeric, QStringLiteral("decimal(20,4)"), 4}, false, true},
        {"numeric without precision", dec18_2, {db::adNumeric, QStringLiteral("numeric"), -1}, false, true},
        {"unlimited into limited", {db::adNumeric, QStringLiteral("numeric"), -1}, dec18_2, false, false},
        {"MariaDB decimal(10,0)", {db::adNumeric, QStringLiteral("decimal(18,2)"), 2},
         {db::adNumeric, QStringLiteral("decimal(10,0)"), 0}, false, false},
        {"integer into a wider integer", {db::adInteger, QStringLiteral("int(11)"), 0}, bigint, false, true},
        {"bigint into int", bigint, {db::adInteger, QStringLiteral("integer"), 0}, false, false},
        {"bigint into decimal(19,0)", bigint, {db::adNumeric, QStringLiteral("decimal(19,0)"), 0}, false, true},
        {"bigint into decimal(18,0)", bigint, {db::adNumeric, QStringLiteral("decimal(18,0)"), 0}, false, false},
        {"signed into unsigned", {db::adInteger, QStringLiteral("int"), 0},
         {db::adUnsignedBigInt, QStringLiteral("bigint unsigned"), 0}, false, false},
        {"decimal(18,0) into bigint", {db::adNumeric, QStringLiteral("decimal(18,0)"), 0}, bigint, false, true},
        {"decimal(18,2) into bigint", dec18_2, bigint, false, false},
        {"double into real", {db::adDouble, QStringLiteral("double precision"), -1},
         {db::adSingle, QStringLiteral("real"), -1}, false, false},
        {"real into double", {db::adSingle, QStringLiteral("real"), -1},
         {db::adDouble, QStringLiteral("double precision"), -1}, false, false},
        {"double into float(53)", {db::adDouble, QStringLiteral("double precision"), -1},
         {db::adDouble, QStringLiteral("float(53)"), -1}, false, true},
        {"money into numeric(18,2)", {db::adCurrency, QStringLiteral("money"), 2}, dec18_2, false, false},
        {"DBF N(12,2) into N(10,2)", {db::adNumeric, QStringLiteral("N(12,2)"), 2},
         {db::adNumeric, QStringLiteral("N(10,2)"), 2}, false, false},
        {"DBF N(12,2) into N(14,4)", {db::adNumeric, QStringLiteral("N(12,2)"), 2},
         {db::adNumeric, QStringLiteral("N(14,4)"), 4}, false, true},
        {"SQLite NUMERIC(18,0) keeps reals", {db::adNumeric, QStringLiteral("DECIMAL(18,2)"), 2},
         {db::adNumeric, QStringLiteral("NUMERIC(18,0)"), 0}, true, true},
        {"SQLite no type keeps anything", {db::adNumeric, QStringLiteral("DECIMAL(18,2)"), 2},
         {db::adVariant, QString(), -1}, true, true},
        {"SQLite TEXT turns amounts into text", {db::adNumeric, QStringLiteral("DECIMAL(18,2)"), 2},
         {db::adVarWChar, QStringLiteral("TEXT"), -1}, true, false},
        {"SQLite REAL loses large integers", {db::adBigInt, QStringLiteral("BIGINT"), 0},
         {db::adDouble, QStringLiteral("REAL"), -1}, true, false},
        {"SQLite REAL beside REAL", {db::adDouble, QStringLiteral("DOUBLE"), -1},
         {db::adDouble, QStringLiteral("FLOAT"), -1}, true, true},
    };
    for (const Case &c : cases) {
        const QString message =
            fgRecoveryColumnMisfit(QStringLiteral("Suma"), c.field, QStringLiteral("Suma_VM"), c.rec, c.weak);
        EXPECT_EQ(message.isEmpty(), c.fits) << c.label << ": " << message.toStdString();
        if (!c.fits) {
            EXPECT_TRUE(message.contains(QStringLiteral("\"Suma_VM\""))) << c.label;
            EXPECT_TRUE(message.contains(QLatin1Char('(') + c.field.declaration + QLatin1Char(')'))) << c.label;
        }
    }
}
