// The common behaviour of the four engines (see EngineFixture.h).

#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "tests/db/DbTestSupport.h"
#include "tests/db/EngineFixture.h"

#include <QDate>
#include <QDateTime>

#include <vector>

using namespace db;
using dbtest::Engine;
using dbtest::expectDbError;

namespace {

// A column of the type table: its declaration on this engine and the ADO
// number the engine's metadata leads to.
struct TypedColumn {
    QString name;
    QString declaration;
    int adoType;
};

// What each engine reports for the common SQL types. The built-in provider
// works from the declared type; the ODBC drivers report their own view:
// SQLite3 ODBC calls DECIMAL and CHAR VARCHAR, NUMERIC and REAL DOUBLE, BLOB
// BINARY; PostgreSQL's REAL is single precision and its text types are wide;
// MariaDB's REAL is a DOUBLE and its BOOLEAN a TINYINT (BIT(1) is the bit).
std::vector<TypedColumn> typedColumns(Engine engine)
{
    switch (engine) {
    case Engine::BuiltInSqlite:
        return {{"c_small", "SMALLINT", adSmallInt},       {"c_int", "INTEGER", adInteger},
                {"c_big", "BIGINT", adBigInt},             {"c_real", "REAL", adDouble},
                {"c_dbl", "DOUBLE PRECISION", adDouble},   {"c_dec", "DECIMAL(18,2)", adNumeric},
                {"c_num", "NUMERIC", adNumeric},           {"c_date", "DATE", adDBDate},
                {"c_ts", "TIMESTAMP", adDBTimeStamp},      {"c_char", "CHAR(5)", adChar},
                {"c_vc", "VARCHAR(20)", adVarWChar},       {"c_text", "TEXT", adVarWChar},
                {"c_bool", "BOOLEAN", adBoolean},          {"c_blob", "BLOB", adLongVarBinary},
                {"c_money", "MONEY", adCurrency}};
    case Engine::SqliteOdbc:
        return {{"c_small", "SMALLINT", adSmallInt},       {"c_int", "INTEGER", adInteger},
                {"c_big", "BIGINT", adBigInt},             {"c_real", "REAL", adDouble},
                {"c_dbl", "DOUBLE", adDouble},             {"c_dec", "DECIMAL(18,2)", adVarChar},
                {"c_num", "NUMERIC", adDouble},            {"c_date", "DATE", adDBDate},
                {"c_ts", "TIMESTAMP", adDBTimeStamp},      {"c_char", "CHAR(5)", adVarChar},
                {"c_vc", "VARCHAR(20)", adVarChar},        {"c_text", "TEXT", adLongVarChar},
                {"c_bool", "BOOLEAN", adBoolean},          {"c_blob", "BLOB", adBinary},
                {"c_money", "MONEY", adVarChar}};
    case Engine::PostgreSql:
        return {{"c_small", "SMALLINT", adSmallInt},       {"c_int", "INTEGER", adInteger},
                {"c_big", "BIGINT", adBigInt},             {"c_real", "REAL", adSingle},
                {"c_dbl", "DOUBLE PRECISION", adDouble},   {"c_dec", "DECIMAL(18,2)", adNumeric},
                {"c_num", "NUMERIC", adNumeric},           {"c_date", "DATE", adDBDate},
                {"c_ts", "TIMESTAMP", adDBTimeStamp},      {"c_char", "CHAR(5)", adWChar},
                {"c_vc", "VARCHAR(20)", adVarWChar},       {"c_text", "TEXT", adLongVarWChar},
                {"c_bool", "BOOLEAN", adBoolean},          {"c_blob", "BYTEA", adLongVarBinary},
                {"c_money", "MONEY", adCurrency}};
    case Engine::MariaDb:
        return {{"c_small", "SMALLINT", adSmallInt},       {"c_int", "INTEGER", adInteger},
                {"c_big", "BIGINT", adBigInt},             {"c_real", "REAL", adDouble},
                {"c_dbl", "DOUBLE", adDouble},             {"c_dec", "DECIMAL(18,2)", adNumeric},
                {"c_num", "NUMERIC", adNumeric},           {"c_date", "DATE", adDBDate},
                {"c_ts", "TIMESTAMP", adDBTimeStamp},      {"c_char", "CHAR(5)", adWChar},
                {"c_vc", "VARCHAR(20)", adVarWChar},       {"c_text", "TEXT", adLongVarWChar},
                {"c_bool", "BOOLEAN", adTinyInt},          {"c_bit", "BIT(1)", adBoolean},
                {"c_blob", "BLOB", adLongVarBinary},       {"c_uint", "INT UNSIGNED", adUnsignedInt}};
    }
    return {};
}

class EngineTest : public dbtest::EngineFixture {
protected:
    // Number the engine gives unknown names and syntax errors.
    qint32 commandErrorNumber() const
    {
        return engine() == Engine::SqliteOdbc ? DB_E_ERRORSOCCURRED : DB_E_ERRORSINCOMMAND;
    }

    void expectCommandError(const DbError &e, const QStringList &engineWords)
    {
        EXPECT_EQ(e.number(), commandErrorNumber()) << e;
        if (isServer()) {
            EXPECT_TRUE(e.sqlState().startsWith(QLatin1String("42"))) << e;
        }
        for (const QString &word : engineWords)
            EXPECT_TRUE(e.description().contains(word, Qt::CaseInsensitive)) << "missing \"" << word.toStdString()
                                                                              << "\" in " << e;
    }

    QString boolLiteral(bool v) const
    {
        if (engine() == Engine::PostgreSql)
            return v ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        return v ? QStringLiteral("1") : QStringLiteral("0");
    }
};

TEST_P(EngineTest, CreateInsertUpdateDeleteGiveRecordsAffected)
{
    const QString t = createTable(QStringLiteral("id INTEGER NOT NULL PRIMARY KEY, name VARCHAR(20), amount DECIMAL(18,2)"));
    for (int id = 1; id <= 4; ++id)
        EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 (id, name, amount) VALUES (%2, 'n%2', %3)")
                                   .arg(t)
                                   .arg(id)
                                   .arg(QString::number(id * 1000 + 0.5, 'f', 2))),
                  1);
    EXPECT_EQ(conn.execute(QStringLiteral("UPDATE %1 SET amount = ROUND(amount / 10000, 2) WHERE id <= 3").arg(t)), 3);
    // A row whose value does not change still counts: the row was matched.
    EXPECT_EQ(conn.execute(QStringLiteral("UPDATE %1 SET name = 'n4' WHERE id = 4").arg(t)), 1);
    EXPECT_EQ(conn.execute(QStringLiteral("UPDATE %1 SET name = 'x' WHERE id = 99").arg(t)), 0);
    EXPECT_EQ(conn.execute(QStringLiteral("DELETE FROM %1 WHERE id >= 3").arg(t)), 2);
    EXPECT_EQ(rowCount(conn, t), 2);

    // Rows that a trigger writes are not rows of the statement.
    if (engine() == Engine::BuiltInSqlite || engine() == Engine::SqliteOdbc) {
        const QString log = createTable(QStringLiteral("id INTEGER"));
        conn.execute(QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE ON %2 BEGIN INSERT INTO %3 VALUES (new.id); "
                                    "INSERT INTO %3 VALUES (new.id); END")
                         .arg(dbtest::uniqueName(QStringLiteral("vg")), t, log));
        EXPECT_EQ(conn.execute(QStringLiteral("UPDATE %1 SET name = 'y'").arg(t)), 2);
        EXPECT_EQ(rowCount(conn, log), 4);
        if (engine() == Engine::BuiltInSqlite) { // and no count left over from the UPDATE
            EXPECT_EQ(conn.execute(QStringLiteral("CREATE INDEX %1 ON %2 (name)")
                                       .arg(dbtest::uniqueName(QStringLiteral("vi")), t)),
                      0);
        }
    }

    Recordset rs = conn.openRecordset(QStringLiteral("SELECT amount FROM %1 WHERE id = 2").arg(t));
    ASSERT_FALSE(rs.eof());
    EXPECT_DOUBLE_EQ(rs.value(QStringLiteral("AMOUNT")).toDouble(), 0.20);
}

TEST_P(EngineTest, RollbackLeavesNothingAndCommitKeepsEverything)
{
    const QString t = createTable(QStringLiteral("id INTEGER NOT NULL, amount DECIMAL(18,2)"));
    conn.beginTrans();
    EXPECT_TRUE(conn.inTransaction());
    EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 10)").arg(t)), 1);
    EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 VALUES (2, 20)").arg(t)), 1);
    EXPECT_EQ(conn.execute(QStringLiteral("UPDATE %1 SET amount = amount * 2").arg(t)), 2);
    conn.rollbackTrans();
    EXPECT_FALSE(conn.inTransaction());
    EXPECT_EQ(rowCount(conn, t), 0);

    conn.beginTrans();
    EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 10)").arg(t)), 1);
    EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 VALUES (2, 20)").arg(t)), 1);
    conn.commitTrans();
    EXPECT_EQ(rowCount(conn, t), 2);

    // After the transaction every statement commits on its own again:
    // another connection sees the next row at once.
    EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 VALUES (3, 30)").arg(t)), 1);
    Connection other;
    other.open(mConnString);
    EXPECT_EQ(rowCount(other, t), 3);
    other.close();

    // A failed statement inside a transaction, then a rollback: nothing stays.
    conn.beginTrans();
    EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 VALUES (4, 40)").arg(t)), 1);
    expectDbError([&] { conn.execute(QStringLiteral("UPDATE %1 SET nosuch_col = 1").arg(t)); });
    conn.rollbackTrans();
    EXPECT_EQ(rowCount(conn, t), 3);
}

TEST_P(EngineTest, CommandErrorsCarryTheEngineText)
{
    const QString t = createTable(QStringLiteral("id INTEGER, amount DECIMAL(18,2)"));

    DbError e = expectDbError([&] { conn.openRecordset(QStringLiteral("SELECT nosuch_col FROM %1").arg(t)); });
    expectCommandError(e, {QStringLiteral("nosuch_col")});

    e = expectDbError([&] { conn.execute(QStringLiteral("UPDATE %1 SET nosuch_col = 1").arg(t)); });
    expectCommandError(e, {QStringLiteral("nosuch_col")});

    const QString missing = dbtest::uniqueName(QStringLiteral("nosuch_table"));
    e = expectDbError([&] { conn.openRecordset(QStringLiteral("SELECT * FROM ") + missing); });
    expectCommandError(e, {missing});

    conn.execute(QStringLiteral("ALTER TABLE %1 ADD amount_vm DECIMAL(38,10)").arg(t));
    e = expectDbError([&] { conn.execute(QStringLiteral("ALTER TABLE %1 ADD amount_vm DECIMAL(38,10)").arg(t)); });
    expectCommandError(e, {QStringLiteral("amount_vm")});
    EXPECT_TRUE(e.description().contains(QLatin1String("duplicate"), Qt::CaseInsensitive)
                || e.description().contains(QLatin1String("already exists"), Qt::CaseInsensitive))
        << e;

    e = expectDbError([&] { conn.execute(QStringLiteral("SELEC amount FROM ") + t); });
    expectCommandError(e, {QStringLiteral("syntax")});

    // The connection is still usable after the errors.
    EXPECT_EQ(conn.execute(QStringLiteral("INSERT INTO %1 (id) VALUES (1)").arg(t)), 1);
}

TEST_P(EngineTest, TablesListTellsTablesFromViews)
{
    const QString t = createTable(QStringLiteral("id INTEGER, name VARCHAR(10)"));
    const QString v = createView(QStringLiteral("SELECT id FROM ") + t);
    Recordset rs = conn.tables();
    ASSERT_EQ(rs.fieldCount(), 3);
    EXPECT_EQ(rs.fieldName(0), QStringLiteral("TABLE_SCHEMA"));
    EXPECT_EQ(rs.fieldName(1), QStringLiteral("TABLE_NAME"));
    EXPECT_EQ(rs.fieldName(2), QStringLiteral("TABLE_TYPE"));
    EXPECT_EQ(dbtest::lookup(rs, QStringLiteral("TABLE_NAME"), t, QStringLiteral("TABLE_TYPE")).toString(),
              QStringLiteral("TABLE"))
        << dbtest::dump(rs).join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dbtest::lookup(rs, QStringLiteral("TABLE_NAME"), v, QStringLiteral("TABLE_TYPE")).toString(),
              QStringLiteral("VIEW"));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString type = rs.value(QStringLiteral("TABLE_TYPE")).toString();
        EXPECT_TRUE(type == QLatin1String("TABLE") || type == QLatin1String("VIEW") || type == QLatin1String("SYSTEM TABLE")
                    || type == QLatin1String("SYSTEM VIEW"))
            << type.toStdString();
    }
    if (engine() == Engine::PostgreSql) {
        EXPECT_EQ(dbtest::lookup(rs, QStringLiteral("TABLE_NAME"), t, QStringLiteral("TABLE_SCHEMA")).toString(),
                  QStringLiteral("public"));
    }
}

TEST_P(EngineTest, ColumnsListGivesTheAdoNumberOfEachType)
{
    const std::vector<TypedColumn> cols = typedColumns(engine());
    QStringList declarations;
    for (const TypedColumn &c : cols)
        declarations << c.name + QLatin1Char(' ') + c.declaration;
    const QString t = createTable(declarations.join(QStringLiteral(", ")));

    Recordset rs = conn.columns(t);
    ASSERT_EQ(rs.recordCount(), static_cast<int>(cols.size())) << dbtest::dump(rs).join(QLatin1Char('\n')).toStdString();
    int i = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++i) {
        const TypedColumn &c = cols.at(static_cast<size_t>(i));
        EXPECT_EQ(rs.value(QStringLiteral("COLUMN_NAME")).toString(), c.name) << "columns in table order";
        EXPECT_EQ(rs.value(QStringLiteral("DATA_TYPE")).toInt(), c.adoType) << c.name.toStdString() << " " << c.declaration.toStdString();

        // A query that returns no rows still gives the column's type, the same
        // as the columns list.
        Recordset empty = conn.openRecordset(QStringLiteral("SELECT %1 FROM %2 WHERE 1<>1").arg(c.name, t));
        EXPECT_TRUE(empty.eof());
        EXPECT_EQ(empty.recordCount(), 0);
        ASSERT_EQ(empty.fieldCount(), 1);
        EXPECT_EQ(empty.fieldType(0), c.adoType) << c.name.toStdString() << " in an empty SELECT";
    }
}

TEST_P(EngineTest, ColumnsListKeepsToTheTableAskedFor)
{
    // "_" is a wildcard in the driver's search pattern: the second table's
    // name matches the first's pattern, its columns must not show.
    const QString base = dbtest::uniqueName(QStringLiteral("vp"));
    const QString first = base + QStringLiteral("_a");
    const QString second = base + QStringLiteral("xa");
    dropLater(QStringLiteral("DROP TABLE ") + first);
    dropLater(QStringLiteral("DROP TABLE ") + second);
    conn.execute(QStringLiteral("CREATE TABLE %1 (one INTEGER, two INTEGER)").arg(first));
    conn.execute(QStringLiteral("CREATE TABLE %1 (three INTEGER)").arg(second));
    Recordset rs = conn.columns(first);
    QStringList names;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        names << rs.value(QStringLiteral("COLUMN_NAME")).toString();
    EXPECT_EQ(names, (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_EQ(conn.columns(dbtest::uniqueName(QStringLiteral("nosuch"))).recordCount(), 0);
}

TEST_P(EngineTest, ValuesAndNullsRoundTrip)
{
    const QString boolType = engine() == Engine::MariaDb ? QStringLiteral("BIT(1)") : QStringLiteral("BOOLEAN");
    const QString tsType = engine() == Engine::MariaDb ? QStringLiteral("TIMESTAMP NULL") : QStringLiteral("TIMESTAMP");
    const QString t = createTable(QStringLiteral("id INTEGER NOT NULL, c_int INTEGER, c_big BIGINT, c_dec DECIMAL(18,2), "
                                                 "c_dbl DOUBLE PRECISION, c_text VARCHAR(50), c_date DATE, c_ts %1, c_bool %2, c_long TEXT")
                                      .arg(tsType, boolType));
    const QString text = QStringLiteral("Lei NOI \u0103\u00ee\u0219\u021b\u00e2");
    // Longer than one read buffer of the ODBC provider, ending in a character
    // outside Latin-1 so a split in the wrong place shows.
    const QString longText = QString(5000, QLatin1Char('x')) + QStringLiteral("\u021b");
    conn.execute(QStringLiteral("INSERT INTO %1 VALUES (1, -42, 9007199254740993, 12345678.91, 2.5, '%2', "
                                "'2005-07-01', '2005-07-01 12:34:56', %3, '%4')")
                     .arg(t, text, boolLiteral(true), longText));
    conn.execute(QStringLiteral("INSERT INTO %1 VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)").arg(t));

    Recordset rs = conn.openRecordset(QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(t));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.value(QStringLiteral("c_int")).kind(), Variant::Kind::Int);
    EXPECT_EQ(rs.value(QStringLiteral("c_int")).toInt(), -42);
    EXPECT_EQ(rs.value(QStringLiteral("c_big")).toInt(), Q_INT64_C(9007199254740993));
    EXPECT_EQ(rs.value(QStringLiteral("c_dec")).toString(), QStringLiteral("12345678.91"));
    EXPECT_DOUBLE_EQ(rs.value(QStringLiteral("c_dbl")).toDouble(), 2.5);
    EXPECT_EQ(rs.value(QStringLiteral("c_text")).toString(), text);
    EXPECT_EQ(rs.value(QStringLiteral("c_date")).toDateTime().date(), QDate(2005, 7, 1));
    EXPECT_EQ(rs.value(QStringLiteral("c_ts")).toDateTime(), QDateTime(QDate(2005, 7, 1), QTime(12, 34, 56)));
    EXPECT_TRUE(rs.value(QStringLiteral("c_bool")).toBool());
    EXPECT_EQ(rs.value(QStringLiteral("c_long")).toString(), longText);

    rs.moveNext();
    ASSERT_FALSE(rs.eof());
    for (int i = 1; i < rs.fieldCount(); ++i) {
        const Variant v = rs.value(i);
        EXPECT_TRUE(v.isNull()) << rs.fieldName(i).toStdString();
        EXPECT_FALSE(v.isEmpty()) << rs.fieldName(i).toStdString();
    }
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
}

TEST_P(EngineTest, RowLimitedRecordsetHoldsOneRow)
{
    const QString t = createTable(QStringLiteral("id INTEGER NOT NULL, amount DECIMAL(18,2)"));
    for (int id = 1; id <= 5; ++id)
        conn.execute(QStringLiteral("INSERT INTO %1 VALUES (%2, %2)").arg(t).arg(id));
    const QString sql = QStringLiteral("SELECT id, amount FROM %1 ORDER BY id").arg(t);
    Recordset one = conn.openRecordset(sql, CursorType::Static, LockType::ReadOnly, 1);
    EXPECT_EQ(one.recordCount(), 1);
    EXPECT_EQ(one.value(QStringLiteral("id")).toInt(), 1);
    one.moveNext();
    EXPECT_TRUE(one.eof());
    EXPECT_EQ(conn.openRecordset(sql, CursorType::Static, LockType::ReadOnly, 3).recordCount(), 3);
    EXPECT_EQ(conn.openRecordset(sql).recordCount(), 5);
    // The limit belongs to one statement only.
    EXPECT_EQ(rowCount(conn, t), 5);
}

VAMOR_INSTANTIATE_ENGINES(EngineTest);

} // namespace
