#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "tests/db/DbTestSupport.h"

using namespace db;
using dbtest::expectDbError;

namespace {

Recordset connectionsList()
{
    QList<Column> cols{{QStringLiteral("IdConn"), adInteger}, {QStringLiteral("Name"), adVarWChar},
                       {QStringLiteral("Converted"), adBoolean}};
    std::vector<QList<Variant>> rows{{Variant(5), Variant("abc"), Variant(true)},
                                     {Variant(7), Variant("ABC"), Variant(false)},
                                     {Variant(5), Variant("other"), Variant::null()},
                                     {Variant(12), Variant::null(), Variant(false)}};
    return Recordset(cols, std::move(rows));
}

QList<qint64> ids(Recordset &rs)
{
    QList<qint64> out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out << rs.value(QStringLiteral("idconn")).toInt();
    return out;
}

TEST(RecordsetTest, FilterFormsTheWindowsUse)
{
    Recordset rs = connectionsList();
    EXPECT_EQ(rs.recordCount(), 4);
    rs.setFilter(QStringLiteral("IdConn = 5"));
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(ids(rs), (QList<qint64>{5, 5}));
    rs.setFilter(QStringLiteral("Name = 'abc'"));
    EXPECT_EQ(ids(rs), (QList<qint64>{5, 7})) << "text without regard to case";
    rs.setFilter(QStringLiteral("name='ABC' AND IdConn=7"));
    EXPECT_EQ(ids(rs), (QList<qint64>{7}));
    rs.setFilter(QStringLiteral("Converted = False"));
    EXPECT_EQ(ids(rs), (QList<qint64>{7, 12})) << "Null matches nothing";
    rs.setFilter(QStringLiteral("IdConn = 99"));
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.recordCount(), 0);
    rs.setFilter(QString());
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(rs.value(QStringLiteral("Name")).toString(), QStringLiteral("abc")) << "back on the first row";

    EXPECT_EQ(expectDbError([&] { rs.setFilter(QStringLiteral("Missing = 1")); }).number(), ADO_E_ITEMNOTFOUND);
    expectDbError([&] { rs.setFilter(QStringLiteral("IdConn > 5")); });
}

TEST(RecordsetTest, FieldsByNameAndEndOfRows)
{
    Recordset rs = connectionsList();
    EXPECT_EQ(rs.fieldIndex(QStringLiteral("NAME")), 1);
    EXPECT_EQ(rs.fieldType(QStringLiteral("converted")), adBoolean);
    EXPECT_EQ(expectDbError([&] { rs.value(QStringLiteral("Nope")); }).number(), ADO_E_ITEMNOTFOUND);
    rs.moveLast();
    EXPECT_EQ(rs.value(QStringLiteral("IdConn")).toInt(), 12);
    EXPECT_TRUE(rs.value(QStringLiteral("Name")).isNull());
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(expectDbError([&] { rs.value(0); }).number(), ADO_E_NOCURRENTRECORD);
    EXPECT_FALSE(rs.updatable());
    expectDbError([&] { rs.addNew(); });
}

class ProjectRecordsetTest : public testing::Test {
protected:
    void SetUp() override
    {
        mDir = dbtest::makeTempDir();
        mConnString = QStringLiteral("Provider=SQLite;Data Source=") + dbtest::makeEmptySqliteFile(*mDir, QStringLiteral("p.vmd"));
        conn.open(mConnString);
        conn.execute(QStringLiteral("CREATE TABLE tConn (IdConn INTEGER PRIMARY KEY AUTOINCREMENT, "
                                    "ConnName TEXT COLLATE NOCASE, IdConnType INTEGER, Online BOOLEAN DEFAULT 1)"));
    }

    std::unique_ptr<QTemporaryDir> mDir;
    QString mConnString;
    Connection conn;
};

TEST_F(ProjectRecordsetTest, AddNewGivesBackTheAutonumber)
{
    Recordset rs = conn.openRecordset(QStringLiteral("SELECT * FROM tConn"), CursorType::Static, LockType::Optimistic);
    ASSERT_TRUE(rs.updatable());
    rs.addNew();
    rs.setValue(QStringLiteral("ConnName"), Variant("Contabilitate"));
    rs.setValue(QStringLiteral("IdConnType"), Variant(6));
    rs.update();
    const qint64 first = rs.value(QStringLiteral("IdConn")).toInt();
    EXPECT_GT(first, 0);
    EXPECT_TRUE(rs.value(QStringLiteral("Online")).toBool()) << "defaults are read back";
    rs.addNew();
    rs.setValue(QStringLiteral("ConnName"), Variant("Salarii"));
    rs.update();
    EXPECT_EQ(rs.value(QStringLiteral("IdConn")).toInt(), first + 1);
    EXPECT_EQ(rs.recordCount(), 2);

    Recordset check = conn.openRecordset(QStringLiteral("SELECT ConnName, IdConnType FROM tConn WHERE IdConn = %1").arg(first));
    ASSERT_FALSE(check.eof());
    EXPECT_EQ(check.value(QStringLiteral("ConnName")).toString(), QStringLiteral("Contabilitate"));
    EXPECT_EQ(check.value(QStringLiteral("IdConnType")).toInt(), 6);
}

TEST_F(ProjectRecordsetTest, EditUpdatesTheRowByItsKey)
{
    conn.execute(QStringLiteral("INSERT INTO tConn (ConnName, IdConnType) VALUES ('a', 0)"));
    conn.execute(QStringLiteral("INSERT INTO tConn (ConnName, IdConnType) VALUES ('b', 1)"));
    Recordset rs = conn.openRecordset(QStringLiteral("SELECT * FROM tConn"), CursorType::Static, LockType::Optimistic);
    rs.setFilter(QStringLiteral("ConnName = 'B'"));
    ASSERT_EQ(rs.recordCount(), 1);
    rs.setValue(QStringLiteral("ConnName"), Variant("b2"));
    rs.setValue(QStringLiteral("IdConnType"), Variant::null());
    rs.update();
    Recordset check = conn.openRecordset(QStringLiteral("SELECT ConnName, IdConnType FROM tConn ORDER BY IdConn"));
    EXPECT_EQ(dbtest::dump(check), (QStringList{QStringLiteral("a|0"), QStringLiteral("b2|")}));
    check.moveLast();
    EXPECT_TRUE(check.value(QStringLiteral("IdConnType")).isNull());
}

} // namespace
