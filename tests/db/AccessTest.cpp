// The read-only engine: an Access database through the MDBTools ODBC driver,
// on a copy of the Northwind sample.

#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/odbc/OdbcProvider.h"
#include "tests/db/DbTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDateTime>
#include <QFile>

using namespace db;
using dbtest::expectDbError;

namespace {

class AccessTest : public testing::Test {
protected:
    void SetUp() override
    {
        mDir = dbtest::makeTempDir();
        mPath = testsupport::copyTestData(QStringLiteral("access/nwind.mdb"), mDir->path());
        ASSERT_FALSE(mPath.isEmpty()) << "cannot copy the Access test database";
        try {
            conn.open(QStringLiteral("Driver=MDBTools;DBQ=") + mPath);
        } catch (const DbError &e) {
            FAIL() << e;
        }
    }

    std::unique_ptr<QTemporaryDir> mDir;
    QString mPath;
    Connection conn;
};

TEST_F(AccessTest, TablesQueriesAndSystemTablesAreTold)
{
    Recordset rs = conn.tables();
    auto typeOf = [&](const QString &name) {
        return dbtest::lookup(rs, QStringLiteral("TABLE_NAME"), name, QStringLiteral("TABLE_TYPE")).toString();
    };
    EXPECT_EQ(typeOf(QStringLiteral("Products")), QStringLiteral("TABLE"));
    EXPECT_EQ(typeOf(QStringLiteral("Order Details")), QStringLiteral("TABLE"));
    EXPECT_EQ(typeOf(QStringLiteral("Orders")), QStringLiteral("TABLE"));
    // Non-ASCII names come through the driver manager intact.
    EXPECT_EQ(typeOf(QStringLiteral("Ums\u00e4tze")), QStringLiteral("TABLE"));
    EXPECT_EQ(typeOf(QStringLiteral("Invoices")), QStringLiteral("VIEW"));
    EXPECT_EQ(typeOf(QStringLiteral("Ten Most Expensive Products")), QStringLiteral("VIEW"));
    EXPECT_EQ(typeOf(QStringLiteral("MSysObjects")), QStringLiteral("SYSTEM TABLE"));
    EXPECT_EQ(typeOf(QStringLiteral("MSysQueries")), QStringLiteral("SYSTEM TABLE"));
    int tables = 0, views = 0, system = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString type = rs.value(QStringLiteral("TABLE_TYPE")).toString();
        const QString name = rs.value(QStringLiteral("TABLE_NAME")).toString();
        tables += type == QLatin1String("TABLE");
        views += type == QLatin1String("VIEW");
        system += type == QLatin1String("SYSTEM TABLE");
        EXPECT_EQ(type == QLatin1String("SYSTEM TABLE"), name.startsWith(QLatin1String("MSys"))) << name.toStdString();
        EXPECT_TRUE(rs.value(QStringLiteral("TABLE_SCHEMA")).isNull());
    }
    EXPECT_EQ(tables, 9);
    EXPECT_EQ(views, 22);
    EXPECT_EQ(system, 10);
}

TEST_F(AccessTest, ProductsColumnsWithTheirTypes)
{
    Recordset rs = conn.columns(QStringLiteral("Products"));
    QStringList got;
    for (; !rs.eof(); rs.moveNext())
        got << rs.value(QStringLiteral("COLUMN_NAME")).toString() + QLatin1Char('=')
                   + rs.value(QStringLiteral("DATA_TYPE")).toString();
    // The driver reports Currency as DECIMAL with the type name MONEY: the
    // name tells the money column apart.
    EXPECT_EQ(got, (QStringList{"ProductID=3", "ProductName=200", "SupplierID=3", "CategoryID=3", "QuantityPerUnit=200",
                                "UnitPrice=6", "UnitsInStock=2", "UnitsOnOrder=2", "ReorderLevel=2", "Discontinued=11"}));
    EXPECT_EQ(conn.columns(QStringLiteral("Order Details")).recordCount(), 5);
}

TEST_F(AccessTest, ColumnTypesAsTheDriverNamesThem)
{
    const ColumnType price = conn.columnType(QStringLiteral("Products"), QStringLiteral("UnitPrice"));
    EXPECT_EQ(price.adoType, adCurrency);
    EXPECT_EQ(price.declaration, QStringLiteral("MONEY")) << "no size after a money type";
    EXPECT_EQ(price.scale, 4);
    const ColumnType id = conn.columnType(QStringLiteral("Products"), QStringLiteral("ProductID"));
    EXPECT_EQ(id.declaration, QStringLiteral("LONGINT"));
    EXPECT_EQ(id.scale, 0);
    EXPECT_EQ(conn.columnType(QStringLiteral("Products"), QStringLiteral("ProductName")).scale, -1);
    EXPECT_THROW(conn.columnType(QStringLiteral("Products"), QStringLiteral("Pret")), DbError);
}

TEST_F(AccessTest, EmptySelectGivesTheMoneyType)
{
    Recordset rs = conn.openRecordset(QStringLiteral("SELECT UnitPrice FROM Products WHERE 1<>1"));
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.recordCount(), 0);
    ASSERT_EQ(rs.fieldCount(), 1);
    EXPECT_EQ(rs.fieldType(0), adCurrency);
}

TEST_F(AccessTest, ValuesAreReadExactly)
{
    Recordset rs = conn.openRecordset(QStringLiteral("SELECT * FROM Products"));
    EXPECT_EQ(rs.recordCount(), 77);
    EXPECT_EQ(rs.value(QStringLiteral("ProductID")).toInt(), 1);
    EXPECT_EQ(rs.value(QStringLiteral("ProductName")).toString(), QStringLiteral("Chai"));
    const Variant price = rs.value(QStringLiteral("UnitPrice"));
    EXPECT_EQ(price.kind(), Variant::Kind::Decimal);
    EXPECT_DOUBLE_EQ(price.toDouble(), 18.0);
    EXPECT_EQ(rs.value(QStringLiteral("Discontinued")).kind(), Variant::Kind::Bool);

    Recordset order = conn.openRecordset(QStringLiteral("SELECT OrderDate, Freight FROM Orders WHERE OrderID = 10248"));
    ASSERT_EQ(order.recordCount(), 1);
    EXPECT_EQ(order.fieldType(0), adDBTimeStamp);
    EXPECT_EQ(order.value(QStringLiteral("OrderDate")).toDateTime(), QDateTime(QDate(1994, 8, 4), QTime(0, 0)));
    EXPECT_EQ(order.fieldType(1), adCurrency);
    EXPECT_EQ(order.value(QStringLiteral("Freight")).toString(), QStringLiteral("32.3800"));

    Recordset one = conn.openRecordset(QStringLiteral("SELECT * FROM Products"), CursorType::Static, LockType::ReadOnly, 1);
    EXPECT_EQ(one.recordCount(), 1);
    EXPECT_FALSE(one.updatable());
}

TEST_F(AccessTest, ChangesAreRefusedWithTheDriverText)
{
    for (const QString &sql : {QStringLiteral("ALTER TABLE Products ADD COLUMN UnitPrice_VM DECIMAL(38,10)"),
                               QStringLiteral("UPDATE Products SET UnitPrice = UnitPrice / 10000")}) {
        const DbError e = expectDbError([&] { conn.execute(sql); });
        EXPECT_FALSE(e.description().isEmpty()) << e;
        EXPECT_TRUE(e.description().contains(QLatin1String("parse"), Qt::CaseInsensitive)) << e;
    }
    // Nothing changed and the connection still answers.
    Recordset rs = conn.openRecordset(QStringLiteral("SELECT UnitPrice FROM Products"));
    EXPECT_DOUBLE_EQ(rs.value(0).toDouble(), 18.0);
    EXPECT_EQ(conn.columns(QStringLiteral("Products")).recordCount(), 10);
}

// Drivers that cannot be reached here: the catalog shapes SQL Server (FreeTDS)
// and Oracle give, read into a declaration of the column's own type.
TEST(CatalogColumnType, SqlServerAndOracleShapes)
{
    const struct {
        int sqlType;
        const char *typeName;
        std::optional<qint64> size, digits;
        const char *declaration;
        int scale;
    } cases[] = {
        {4, "int", 10, 0, "int", 0},
        {4, "int identity", 10, 0, "int", 0},
        {3, "numeric() identity", 18, 0, "numeric(18,0)", 0},
        {3, "decimal", 18, 2, "decimal(18,2)", 2},
        {3, "money", 19, 4, "money", 4},
        {3, "smallmoney", 10, 4, "smallmoney", 4},
        {6, "float", 53, std::nullopt, "float", -1},
        {7, "real", 24, std::nullopt, "real", -1},
        {3, "NUMBER", 10, 2, "NUMBER(10,2)", 2},
        {3, "NUMBER", 38, std::nullopt, "NUMBER", -1},
        {8, "BINARY_DOUBLE", 15, std::nullopt, "BINARY_DOUBLE", -1},
    };
    for (const auto &c : cases) {
        const ColumnType t = columnTypeFromCatalog(c.sqlType, QString::fromLatin1(c.typeName), c.size, c.digits, adNumeric);
        EXPECT_EQ(t.declaration, QString::fromLatin1(c.declaration)) << c.typeName;
        EXPECT_EQ(t.scale, c.scale) << c.typeName;
    }
}

} // namespace
