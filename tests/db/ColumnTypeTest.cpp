// Column types as each engine declares them: a recovery column declared with
// the type columnType gives holds an exact copy of every value, and the scale
// says how many decimals the column keeps. Also the search for values that
// are not numbers in SQLite's weakly typed columns.

#include "data/db/AdoTypes.h"
#include "data/db/ConnString.h"
#include "data/db/odbc/OdbcProvider.h"
#include "data/db/sqlite/SqliteProvider.h"
#include "tests/db/EngineFixture.h"

using namespace db;
using dbtest::Engine;
using dbtest::expectDbError;

namespace {

struct TypeCase {
    QString declared;    // as CREATE TABLE writes it
    QString declaration; // as columnType gives it
    int scale;
    QStringList values;  // literals, each copied exactly
};

const QStringList kInts{"0", "-2147483648", "2147483647", "15000"};
const QStringList kBigInts{"9223372036854775807", "-9223372036854775808", "9007199254740993"};
const QStringList kSmallInts{"-32768", "32767", "14950"};
const QStringList kDec18_2{"9999999999999999.99", "-14949.50", "0.01"};
const QStringList kDec18_0{"999999999999999999", "-15000"};
const QStringList kDec19_4{"999999999999999.9999", "-0.0001", "1.5000"};
const QStringList kDec38_10{"9999999999999999999999999999.9999999999", "-9999999999999999999999999999.9999999999",
                            "0.0000000001"};
const QStringList kDec20_6{"99999999999999.999999", "-0.000001"};
const QStringList kReals{"1234567", "7654321", "0.1"};
const QStringList kDoubles{"0.30000000000000004", "12345678901234.56", "1.7976931348623157e308", "-5e-324"};

std::vector<TypeCase> typeCases(Engine engine)
{
    switch (engine) {
    case Engine::BuiltInSqlite:
    case Engine::SqliteOdbc:
        // SQLite keeps the declared text; affinity decides what is stored.
        return {{"INTEGER", "INTEGER", 0, kInts},
                {"BIGINT", "BIGINT", 0, kBigInts},
                {"SMALLINT", "SMALLINT", 0, kSmallInts},
                {"DECIMAL(18,2)", "DECIMAL(18,2)", 2, kDec18_2},
                {"DECIMAL(18,0)", "DECIMAL(18,0)", 0, kDec18_0},
                {"DECIMAL(19,4)", "DECIMAL(19,4)", 4, kDec19_4},
                {"DECIMAL(38,10)", "DECIMAL(38,10)", 10, kDec38_10},
                {"decimal(20, 6)", "decimal(20, 6)", 6, kDec20_6},
                {"numeric(10)", "numeric(10)", 0, kDec18_0},
                {"NUMERIC", "NUMERIC", -1, kDec18_2},
                {"NUMBER(10,2)", "NUMBER(10,2)", 2, kDec18_2},
                {"MONEY", "MONEY", 4, kDec19_4},
                {"REAL", "REAL", -1, kReals},
                {"FLOAT", "FLOAT", -1, kDoubles},
                {"double precision", "double precision", -1, kDoubles},
                {"", "", -1, kDoubles + kInts}};
    case Engine::PostgreSql:
        return {{"INTEGER", "integer", 0, kInts},
                {"BIGINT", "bigint", 0, kBigInts},
                {"SMALLINT", "smallint", 0, kSmallInts},
                {"DECIMAL(18,2)", "numeric(18,2)", 2, kDec18_2},
                {"DECIMAL(18,0)", "numeric(18,0)", 0, kDec18_0},
                {"DECIMAL(19,4)", "numeric(19,4)", 4, kDec19_4},
                {"DECIMAL(38,10)", "numeric(38,10)", 10, kDec38_10},
                {"NUMERIC(20,6)", "numeric(20,6)", 6, kDec20_6},
                // The driver reports numeric(28,6); the catalog knows better.
                {"NUMERIC", "numeric", -1, {"123456789012345678901234567890.1234567890123456789", "-0.000000000000000000000001"}},
                {"REAL", "real", -1, kReals},
                {"FLOAT", "double precision", -1, kDoubles},
                {"DOUBLE PRECISION", "double precision", -1, kDoubles},
                {"MONEY", "money", 2, {"92233720368547758.07", "-92233720368547758.08", "1234.56"}}};
    case Engine::MariaDb:
        return {{"INTEGER", "int(11)", 0, kInts},
                {"BIGINT", "bigint(20)", 0, kBigInts},
                {"SMALLINT", "smallint(6)", 0, kSmallInts},
                {"DECIMAL(18,2)", "decimal(18,2)", 2, kDec18_2},
                {"DECIMAL(18,0)", "decimal(18,0)", 0, kDec18_0},
                {"DECIMAL(19,4)", "decimal(19,4)", 4, kDec19_4},
                {"DECIMAL(38,10)", "decimal(38,10)", 10, kDec38_10},
                {"NUMERIC(20,6)", "decimal(20,6)", 6, kDec20_6},
                {"NUMERIC", "decimal(10,0)", 0, {"9999999999", "-15000"}},
                {"FLOAT", "float", -1, kReals},
                {"FLOAT(7,2)", "float(7,2)", 2, {"12345.67", "-0.5"}},
                {"REAL", "double", -1, kDoubles},
                {"DOUBLE", "double", -1, kDoubles},
                {"BIGINT UNSIGNED", "bigint(20) unsigned", 0, {"18446744073709551615", "0"}}};
    }
    return {};
}

class ColumnTypeTest : public dbtest::EngineFixture {
protected:
    // Rows where the copy and the original agree, as the server itself
    // compares them: by value and by the engine's own text of the value.
    qint64 exactCopies(const QString &table)
    {
        QString same;
        switch (engine()) {
        case Engine::BuiltInSqlite:
        case Engine::SqliteOdbc:
            same = QStringLiteral("x = c AND typeof(x) = typeof(c) AND quote(x) = quote(c)");
            break;
        case Engine::PostgreSql:
            same = QStringLiteral("x = c AND CAST(x AS text) = CAST(c AS text)");
            break;
        case Engine::MariaDb:
            same = QStringLiteral("x = c AND CAST(x AS CHAR) = CAST(c AS CHAR)");
            break;
        }
        return scalar(conn, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, same)).toInt();
    }

    QString quoteName(const QString &name) const
    {
        return engine() == Engine::MariaDb ? QLatin1Char('`') + name + QLatin1Char('`')
                                           : QLatin1Char('"') + name + QLatin1Char('"');
    }

    // The schema (owner) the engine lists the test tables under.
    QString ownSchema() const
    {
        switch (engine()) {
        case Engine::BuiltInSqlite: return QStringLiteral("main");
        case Engine::PostgreSql: return QStringLiteral("public");
        case Engine::MariaDb: return QStringLiteral("vamor_test");
        default: return QString();
        }
    }
};

TEST_P(ColumnTypeTest, RecoveryColumnOfTheFieldsOwnTypeCopiesEveryValueExactly)
{
    for (const TypeCase &tc : typeCases(engine())) {
        SCOPED_TRACE(tc.declared.toStdString());
        const QString t = createTable(QStringLiteral("id INTEGER, c ") + tc.declared);
        int id = 0;
        conn.beginTrans();
        for (const QString &value : tc.values)
            conn.execute(QStringLiteral("INSERT INTO %1 VALUES (%2, %3)").arg(t).arg(++id).arg(value));
        conn.execute(QStringLiteral("INSERT INTO %1 VALUES (%2, NULL)").arg(t).arg(++id));
        conn.commitTrans();

        const ColumnType type = conn.columnType(t, QStringLiteral("c"));
        EXPECT_EQ(type.declaration, tc.declaration);
        EXPECT_EQ(type.scale, tc.scale);
        // A SQLite column without a type has none of its own, as in the columns list.
        EXPECT_EQ(type.adoType, tc.declared.isEmpty() && engine() == Engine::BuiltInSqlite
                                    ? adVariant
                                    : conn.openRecordset(QStringLiteral("SELECT c FROM %1 WHERE 1<>1").arg(t)).fieldType(0));
        if (!ownSchema().isEmpty()) {
            const ColumnType inSchema = conn.columnType(t, QStringLiteral("c"), ownSchema());
            EXPECT_EQ(inSchema.declaration, tc.declaration);
            EXPECT_EQ(inSchema.scale, tc.scale);
        }

        conn.execute(QStringLiteral("ALTER TABLE %1 ADD x %2").arg(t, type.declaration));
        EXPECT_EQ(conn.execute(QStringLiteral("UPDATE %1 SET x = c").arg(t)), tc.values.size() + 1);
        EXPECT_EQ(exactCopies(t), tc.values.size());
        EXPECT_EQ(scalar(conn, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE x IS NULL").arg(t)).toInt(), 1);
    }
}

TEST_P(ColumnTypeTest, NamesReachTheCatalogAsValuesAndMissingOnesAreErrors)
{
    // A name with a quote and a blank: given as the catalog lists it.
    const QString table = dbtest::uniqueName(QStringLiteral("vt O'Brien"));
    dropLater(QStringLiteral("DROP TABLE ") + quoteName(table));
    conn.execute(QStringLiteral("CREATE TABLE %1 (%2 DECIMAL(18,2))").arg(quoteName(table), quoteName(QStringLiteral("Suma Lei"))));
    const ColumnType type = conn.columnType(table, QStringLiteral("Suma Lei"));
    EXPECT_EQ(type.scale, 2);
    EXPECT_TRUE(type.declaration.contains(QLatin1String("18,2")) || type.declaration.contains(QLatin1String("18, 2")))
        << type.declaration.toStdString();

    DbError e = expectDbError([&] { conn.columnType(table, QStringLiteral("Nu Exista")); });
    EXPECT_EQ(e.number(), DB_E_ERRORSINCOMMAND) << e;
    EXPECT_TRUE(e.description().contains(QLatin1String("Nu Exista"))) << e;
    e = expectDbError([&] { conn.columnType(dbtest::uniqueName(QStringLiteral("nosuch")), QStringLiteral("c")); });
    EXPECT_EQ(e.number(), DB_E_ERRORSINCOMMAND) << e;

    if (engine() == Engine::PostgreSql) {
        // A table in a schema outside the search path is found by its owner.
        const QString schema = dbtest::uniqueName(QStringLiteral("vs"));
        conn.execute(QStringLiteral("CREATE SCHEMA ") + schema);
        dropLater(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema));
        conn.execute(QStringLiteral("CREATE TABLE %1.t (c NUMERIC)").arg(schema));
        const ColumnType outside = conn.columnType(QStringLiteral("t"), QStringLiteral("c"), schema);
        EXPECT_EQ(outside.declaration, QStringLiteral("numeric")) << "not the driver's numeric(28,6)";
        EXPECT_EQ(outside.scale, -1);
        EXPECT_THROW(conn.columnType(QStringLiteral("t"), QStringLiteral("c")), DbError);
    }
}

TEST_P(ColumnTypeTest, TextAndBlobsInANumberColumnAreFoundOnSqliteOnly)
{
    const QString t = createTable(QStringLiteral("id INTEGER, Suma DECIMAL(18,2)"));
    const QString query = conn.nonNumericValuesQuery(t, QString(), QStringLiteral("Suma"));
    if (!isSqlite()) {
        EXPECT_EQ(query, QString()) << "the engine enforces the column's type";
        return;
    }
    conn.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 1250), (2, 12.5), (3, NULL), (4, '1250')").arg(t));
    EXPECT_EQ(conn.openRecordset(query).recordCount(), 0) << "numbers, and text SQLite stored as a number";

    conn.execute(QStringLiteral("INSERT INTO %1 VALUES (5, '12,50'), (6, X'0102')").arg(t));
    EXPECT_EQ(conn.openRecordset(query).recordCount(), 2);
    const QString filtered = conn.nonNumericValuesQuery(t, QStringLiteral("id <> 6 OR id IS NULL"), QStringLiteral("Suma"));
    Recordset rs = conn.openRecordset(filtered);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("12,50"));
}

// Columns and types read once are remembered for a moment (a field's checks
// ask twice); what any connection changes meanwhile is read again: a column
// another connection adds, a type it changes (alone or beside an added
// column), a column added in a transaction that is then rolled back.
TEST_P(ColumnTypeTest, ColumnsAndTypesReadAgainShowWhatAnyConnectionChanged)
{
    const QString table = createTable(QStringLiteral("k INTEGER, a DECIMAL(18,2)"));
    auto names = [&] {
        QStringList found;
        for (Recordset rs = conn.columns(table); !rs.eof(); rs.moveNext())
            found << rs.value(QStringLiteral("COLUMN_NAME")).toString().toLower();
        return found;
    };
    Connection other;
    other.open(mConnString);
    ASSERT_EQ(names(), (QStringList{"k", "a"}));
    ASSERT_EQ(conn.columnType(table, QStringLiteral("a")).scale, 2);

    other.execute(QStringLiteral("ALTER TABLE %1 ADD b DECIMAL(18,3)").arg(table));
    EXPECT_EQ(names(), (QStringList{"k", "a", "b"}));
    EXPECT_EQ(conn.columnType(table, QStringLiteral("b")).scale, 3);
    EXPECT_EQ(conn.columnType(table, QStringLiteral("a")).scale, 2);

    // Each way of changing a's type that the engine has; the last one leaves scale 5.
    QStringList changes;
    if (isSqlite())
        changes << QStringLiteral("ALTER TABLE %1 DROP COLUMN a") << QStringLiteral("ALTER TABLE %1 ADD a DECIMAL(18,5)");
    else if (engine() == Engine::PostgreSql)
        changes << QStringLiteral("ALTER TABLE %1 ALTER COLUMN a TYPE DECIMAL(18,4)")
                << QStringLiteral("ALTER TABLE %1 ADD c INTEGER, ALTER COLUMN a TYPE DECIMAL(18,5)");
    else
        changes << QStringLiteral("ALTER TABLE %1 MODIFY a DECIMAL(18,4)")
                << QStringLiteral("ALTER TABLE %1 ADD c INTEGER, MODIFY a DECIMAL(18,5)");
    other.execute(changes.at(0).arg(table));
    if (!isSqlite()) {
        EXPECT_EQ(conn.columnType(table, QStringLiteral("a")).scale, 4) << qPrintable(changes.at(0));
    }
    other.execute(changes.at(1).arg(table));
    EXPECT_EQ(conn.columnType(table, QStringLiteral("a")).scale, 5) << qPrintable(changes.at(1));

    if (engine() != Engine::MariaDb) { // MariaDB commits every change of a table at once
        conn.beginTrans();
        conn.execute(QStringLiteral("ALTER TABLE %1 ADD d INTEGER").arg(table));
        EXPECT_TRUE(names().contains(QStringLiteral("d")));
        EXPECT_EQ(conn.columnType(table, QStringLiteral("d")).scale, 0);
        conn.rollbackTrans();
        EXPECT_FALSE(names().contains(QStringLiteral("d")));
        expectDbError([&] { conn.columnType(table, QStringLiteral("d")); });
    }
}

// A table's column list read once follows what the program itself changes,
// on any of its connections: a column added by a plain ALTER joins it (its
// type read when asked), a dropped one leaves it. A column another program
// adds or drops is seen when the list is asked for afresh, and a column
// asked for that the kept list lacks is looked for in the database.
TEST_P(ColumnTypeTest, KeptColumnListFollowsTheProgramAndIsReadAfreshForOthers)
{
    const QString table = createTable(QStringLiteral("k INTEGER, a DECIMAL(18,2)"));
    const auto names = [&](bool fresh) {
        QStringList found;
        for (const TableColumn &c : conn.tableColumns(table, QString(), fresh))
            found << c.name.toLower();
        return found;
    };
    // Another program: a connection of its own that the program's
    // bookkeeping of its commands never sees.
    const auto elsewhere = [&](const QString &sql) {
        const ConnString parsed = ConnString::parse(mConnString);
        std::unique_ptr<Provider> other = parsed.isBuiltInSqlite()
                                              ? openSqliteProvider(parsed.value(QStringLiteral("Data Source")))
                                              : openOdbcProvider(mConnString);
        other->execute(sql.arg(table));
    };
    Connection other;
    other.open(mConnString);
    ASSERT_EQ(names(false), (QStringList{"k", "a"}));

    other.execute(QStringLiteral("ALTER TABLE %1 ADD b DECIMAL(18,3)").arg(table));
    EXPECT_EQ(names(false), (QStringList{"k", "a", "b"}));
    EXPECT_EQ(conn.columnType(table, QStringLiteral("b")).scale, 3);
    other.execute(QStringLiteral("ALTER TABLE %1 DROP COLUMN b").arg(table));
    EXPECT_EQ(names(false), (QStringList{"k", "a"}));

    elsewhere(QStringLiteral("ALTER TABLE %1 ADD c INTEGER"));
    EXPECT_EQ(conn.columnType(table, QStringLiteral("c")).scale, 0);
    elsewhere(QStringLiteral("ALTER TABLE %1 DROP COLUMN c"));
    EXPECT_EQ(names(true), (QStringList{"k", "a"}));
    expectDbError([&] { conn.columnType(table, QStringLiteral("c")); });
}

VAMOR_INSTANTIATE_ENGINES(ColumnTypeTest);

TEST(SqliteDeclaredTypeTest, NamesTheLayerKnowsThenSqliteAffinity)
{
    const struct {
        const char *declared;
        int adoType;
        int scale;
    } cases[] = {
        {"NUMBER(10,2)", adNumeric, 2}, {"NUMBER", adNumeric, -1},        {"DECIMAL(10,5)", adNumeric, 5},
        {"MONEY", adCurrency, 4},       {"CURRENCY", adCurrency, 4},      {"INT8", adBigInt, 0},
        {"MEDIUMINT", adInteger, 0},    {"FLOAT8", adDouble, -1},
        {"DATE", adDBDate, -1},         {"DATETIME", adDBTimeStamp, -1},  {"BOOL", adBoolean, -1},
        {"YESNO", adBoolean, -1},       {"VARCHAR2(10)", adVarWChar, -1}, {"NATIVE CHARACTER(70)", adVarWChar, -1},
        {"LONGTEXT", adVarWChar, -1},   {"CHAR(5)", adChar, -1},          {"BLOB", adLongVarBinary, -1},
        {"", adVariant, -1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(adoTypeFromDeclaredType(QString::fromLatin1(c.declared)), c.adoType) << c.declared;
        EXPECT_EQ(scaleFromDeclaredType(QString::fromLatin1(c.declared)), c.scale) << c.declared;
    }
}

} // namespace
