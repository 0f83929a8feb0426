// The project template and the statements the windows send to the project
// database, run exactly as the windows write them on a copy of Vamor.vmt.
#include "data/Lookups.h"
#include "data/ProjectFile.h"
#include "data/db/AdoTypes.h"
#include "data/db/DbError.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"

#include <QStringList>
#include <gtest/gtest.h>

using testsupport::ProjectFixture;

namespace {

QStringList column(db::Connection &conn, const QString &sql, const QString &name)
{
    QStringList values;
    db::Recordset rs = conn.openRecordset(sql);
    for (; !rs.eof(); rs.moveNext())
        values.append(rs.value(name).toString());
    return values;
}

int count(ProjectFixture &p, const QString &table)
{
    return static_cast<int>(p.scalar(QStringLiteral("SELECT Count(*) FROM ") + table).toInt());
}

} // namespace

TEST(ProjectTemplate, HoldsVersionAndTheSevenTypes)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    db::Recordset config = p.Conn().openRecordset(QStringLiteral("SELECT TOP 1 * FROM tConfig"));
    ASSERT_FALSE(config.eof());
    EXPECT_EQ(config.value(QStringLiteral("Version")).toString(), QStringLiteral("1.0"));
    EXPECT_EQ(count(p, QStringLiteral("tConfig")), 1);

    db::Recordset types = p.Conn().openRecordset(QStringLiteral("SELECT * FROM tConnType ORDER BY IdConnType"),
                                                 db::CursorType::ForwardOnly);
    QList<qint64> ids;
    for (; !types.eof(); types.moveNext()) {
        ids.append(types.value(QStringLiteral("IdConnType")).toInt());
        EXPECT_FALSE(types.value(QStringLiteral("Description")).toString().isEmpty());
        for (const char *sql : {"CreateFieldSQL", "DropFieldSQL", "ConvertSQL", "ConvertBackSQL"}) {
            const QString text = types.value(QLatin1String(sql)).toString();
            EXPECT_TRUE(text.contains(QStringLiteral("[TABLE_NAME]"))) << sql;
            EXPECT_FALSE(text.contains(QLatin1Char('{'))) << "unfilled rounding in " << sql;
        }
    }
    EXPECT_EQ(ids, (QList<qint64>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(types.fieldType(QStringLiteral("Enabled")), db::adBoolean);
}

// The four-decimal template is the two-decimal one with the rounding digits
// changed, and nothing else.
TEST(ProjectTemplate, FourDecimalTemplateDiffersOnlyInRounding)
{
    ProjectFixture two;
    ProjectFixture four(QStringLiteral("Vamor 4 zecimale.vmt"));
    ASSERT_TRUE(two.ok());
    ASSERT_TRUE(four.ok());
    const QString sql = QStringLiteral("SELECT * FROM tConnType ORDER BY IdConnType");
    db::Recordset a = two.Conn().openRecordset(sql);
    db::Recordset b = four.Conn().openRecordset(sql);
    ASSERT_EQ(a.recordCount(), b.recordCount());
    for (; !a.eof(); a.moveNext(), b.moveNext()) {
        for (int i = 0; i < a.fieldCount(); ++i) {
            const QString name = a.fieldName(i);
            QString expected = a.value(i).toString();
            if (name == QLatin1String("ConvertSQL")) {
                EXPECT_TRUE(expected.contains(QStringLiteral("[DECIMALS:2]"))) << expected.toStdString();
                expected.replace(QStringLiteral("[DECIMALS:2]"), QStringLiteral("[DECIMALS:4]"));
            }
            EXPECT_EQ(b.value(i).toString(), expected) << name.toStdString();
        }
    }
}

// Data sources, tables and fields through the statements of the windows:
// insert through "WHERE 1<>1", edit by key, filters, the tree query, the
// lookups, the deletes and their cascades.
TEST(ProjectStatements, RunAsWrittenWithCascadingDeletes)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    db::Connection &conn = p.Conn();

    // Add-data-source wizard: insert through an empty recordset, read the key back.
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT * FROM tConn WHERE 1<>1"), db::CursorType::Static,
                                          db::LockType::Optimistic);
    EXPECT_TRUE(rs.eof());
    rs.addNew();
    rs.setValue(QStringLiteral("IdConnType"), 6);
    rs.setValue(QStringLiteral("Description"), fgZN(QStringLiteral("Contabilitate")));
    rs.setValue(QStringLiteral("DataSource"), fgZN(QString()));
    rs.setValue(QStringLiteral("Password"), fgZN(QStringLiteral("0")));
    rs.setValue(QStringLiteral("ConnString"), fgZN(QStringLiteral("Provider=SQLite;Data Source=/tmp/x.db")));
    rs.setValue(QStringLiteral("IntegratedSecurity"), false);
    rs.setValue(QStringLiteral("Offline"), false);
    rs.update();
    const int idConn = static_cast<int>(rs.value(QStringLiteral("IdConn")).toInt());
    ASSERT_GT(idConn, 0);
    const int idOther = p.addConn(1, QStringLiteral("alta sursa"), QString(), true);

    // Data-source window: one row by key, edit.
    rs = conn.openRecordset(QStringLiteral("SELECT * FROM tConn WHERE IdConn = ") + QString::number(idConn),
                            db::CursorType::Static, db::LockType::Optimistic);
    ASSERT_FALSE(rs.eof());
    EXPECT_TRUE(rs.value(QStringLiteral("DataSource")).isNull());
    EXPECT_EQ(fgNZ(rs.value(QStringLiteral("DataSource")), QString()).toString(), QString());
    EXPECT_EQ(rs.value(QStringLiteral("Password")).toString(), QStringLiteral("0"));
    rs.setValue(QStringLiteral("UserName"), fgZN(QStringLiteral("ion")));
    rs.update();
    EXPECT_EQ(fgLookup(conn, QStringLiteral("tConn"), QStringLiteral("UserName"),
                       QStringLiteral("IdConn = ") + QString::number(idConn)).toString(), QStringLiteral("ion"));

    // Tree order ignores case; the online list leaves the offline source out.
    EXPECT_EQ(column(conn, QStringLiteral("SELECT * FROM tConn ORDER BY Description"), QStringLiteral("Description")),
              (QStringList{QStringLiteral("alta sursa"), QStringLiteral("Contabilitate")}));
    EXPECT_EQ(column(conn, QStringLiteral("SELECT * FROM tConn WHERE Offline = False ORDER BY Description"),
                     QStringLiteral("IdConn")),
              QStringList{QString::number(idConn)});
    EXPECT_TRUE(fgLookup(conn, QStringLiteral("tConn"), QStringLiteral("Offline"),
                         QStringLiteral("IdConn = ") + QString::number(idOther)).toBool());
    EXPECT_EQ(fgLookup(conn, QStringLiteral("tConn"), QStringLiteral("IdConnType"),
                       QStringLiteral("IdConn = ") + QString::number(idOther)).toInt(), 1);

    // Add-table dialog: the duplicate check, reused for the insert; names
    // compare without regard to case.
    const QString dup = QStringLiteral("SELECT * FROM tTable WHERE IdConn = ") + QString::number(idConn)
                        + QStringLiteral(" AND TableName = ") + fgSqlText(QStringLiteral("Facturi"));
    rs = conn.openRecordset(dup + QStringLiteral(" AND Owner Is Null"), db::CursorType::Static,
                            db::LockType::Optimistic);
    EXPECT_TRUE(rs.eof());
    rs.addNew();
    rs.setValue(QStringLiteral("IdConn"), idConn);
    rs.setValue(QStringLiteral("TableName"), QStringLiteral("Facturi"));
    rs.setValue(QStringLiteral("Owner"), db::Variant::null());
    rs.update();
    const int idTable = static_cast<int>(rs.value(QStringLiteral("IdTable")).toInt());
    EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT * FROM tTable WHERE IdConn = ") + QString::number(idConn)
                                 + QStringLiteral(" AND TableName = 'FACTURI' AND Owner Is Null"))
                  .recordCount(),
              1);
    const int idOwned = p.addTable(idConn, QStringLiteral("Facturi"), QStringLiteral("dbo"));
    EXPECT_EQ(conn.openRecordset(dup + QStringLiteral(" AND Owner = 'dbo'")).recordCount(), 1);
    const int idOtherTable = p.addTable(idOther, QStringLiteral("Plati"));

    // Table window: edit the condition by key.
    rs = conn.openRecordset(QStringLiteral("SELECT * FROM tTable WHERE IdTable = ") + QString::number(idTable),
                            db::CursorType::Static, db::LockType::Optimistic);
    rs.setValue(QStringLiteral("SQLWhere"), fgZN(QStringLiteral("Anul = 2005")));
    rs.update();
    EXPECT_EQ(fgLookup(conn, QStringLiteral("tTable"), QStringLiteral("TableName"),
                       QStringLiteral("IdTable = ") + QString::number(idOwned)).toString(), QStringLiteral("Facturi"));

    // Add-field dialog: recovery names of the table, duplicate filters, insert.
    rs = conn.openRecordset(QStringLiteral("SELECT * FROM tField WHERE IdTable = ") + QString::number(idTable),
                            db::CursorType::Static, db::LockType::Optimistic);
    rs.setFilter(QStringLiteral("FieldName = ") + fgSqlText(QStringLiteral("suma")));
    EXPECT_TRUE(rs.eof());
    rs.setFilter(QString());
    rs.addNew();
    rs.setValue(QStringLiteral("IdTable"), idTable);
    rs.setValue(QStringLiteral("FieldName"), QStringLiteral("Suma"));
    rs.setValue(QStringLiteral("RecFieldName"), QStringLiteral("Suma_VM"));
    rs.update();
    const int idSuma = static_cast<int>(rs.value(QStringLiteral("IdField")).toInt());
    EXPECT_FALSE(rs.value(QStringLiteral("Converted")).toBool());
    EXPECT_FALSE(rs.value(QStringLiteral("Converted")).isNull());
    rs.setFilter(QStringLiteral("FieldName = 'SUMA'"));
    EXPECT_EQ(rs.recordCount(), 1);
    const int idTva = p.addField(idTable, QStringLiteral("Tva"));
    p.addField(idOwned, QStringLiteral("Suma"));
    p.addField(idOtherTable, QStringLiteral("Valoare"));
    EXPECT_EQ(column(conn, QStringLiteral("SELECT RecFieldName FROM tField WHERE IdTable = ") + QString::number(idTable),
                     QStringLiteral("RecFieldName")),
              (QStringList{QStringLiteral("Suma_VM"), QStringLiteral("Tva_VM")}));
    EXPECT_EQ(column(conn,
                     QStringLiteral("SELECT * FROM tField WHERE IdTable = ") + QString::number(idTable)
                         + QStringLiteral(" AND IdField In (") + QString::number(idTva) + QStringLiteral(", ")
                         + QString::number(idSuma) + QStringLiteral(") ORDER BY FieldName"),
                     QStringLiteral("FieldName")),
              (QStringList{QStringLiteral("Suma"), QStringLiteral("Tva")}));

    // Field dialog and conversion: write the condition, Converted and Error by key.
    rs = conn.openRecordset(QStringLiteral("SELECT * FROM tField WHERE IdField = ") + QString::number(idSuma),
                            db::CursorType::Static, db::LockType::Optimistic);
    rs.setValue(QStringLiteral("SQLWhere"), fgZN(QString()));
    rs.setValue(QStringLiteral("Converted"), true);
    rs.setValue(QStringLiteral("Error"), QStringLiteral("linia 1\r\nlinia 2"));
    rs.update();

    // The conversion's recordsets over whole tables, narrowed by filter.
    db::Recordset tables = conn.openRecordset(QStringLiteral("SELECT * FROM tTable"));
    tables.setFilter(QStringLiteral("IdConn = ") + QString::number(idConn));
    EXPECT_EQ(tables.recordCount(), 2);
    db::Recordset fields = conn.openRecordset(QStringLiteral("SELECT * FROM tField"), db::CursorType::Static,
                                              db::LockType::Optimistic);
    fields.setFilter(QStringLiteral("IdTable = ") + QString::number(idTable));
    EXPECT_EQ(fields.recordCount(), 2);
    fields.setFilter(QStringLiteral("Converted = True"));
    EXPECT_EQ(fields.recordCount(), 1);
    EXPECT_EQ(fields.value(QStringLiteral("Error")).toString(), QStringLiteral("linia 1\r\nlinia 2"));

    // The tree query with its field counts.
    db::Recordset tree = conn.openRecordset(QStringLiteral(
        "SELECT tTable.IdTable, tTable.IdConn, tTable.TableName, tTable.Owner, Count(tField.IdField) AS FieldsCount "
        "FROM tTable LEFT JOIN tField ON tTable.IdTable = tField.IdTable GROUP BY tTable.IdTable, tTable.IdConn, "
        "tTable.TableName, tTable.Owner ORDER BY TableName"));
    QStringList rows;
    for (; !tree.eof(); tree.moveNext())
        rows.append(tree.value(QStringLiteral("TableName")).toString() + QLatin1Char('/')
                    + fgNZ(tree.value(QStringLiteral("Owner")), QString()).toString() + QLatin1Char('/')
                    + tree.value(QStringLiteral("FieldsCount")).toString());
    rows.sort();
    EXPECT_EQ(rows, (QStringList{QStringLiteral("Facturi//2"), QStringLiteral("Facturi/dbo/1"),
                                 QStringLiteral("Plati//1")}));

    // Deleting a field, a table (its fields go with it), a data source (its
    // tables and their fields go with it).
    conn.execute(QStringLiteral("DELETE FROM tField WHERE IdField = ") + QString::number(idTva));
    EXPECT_EQ(count(p, QStringLiteral("tField")), 3);
    // The count is the parent row alone, not the rows that go with it.
    EXPECT_EQ(conn.execute(QStringLiteral("DELETE FROM tTable WHERE IdTable = ") + QString::number(idOtherTable)), 1);
    EXPECT_EQ(count(p, QStringLiteral("tField")), 2);
    EXPECT_EQ(conn.execute(QStringLiteral("DELETE FROM tConn WHERE IdConn = ") + QString::number(idConn)), 1);
    EXPECT_EQ(count(p, QStringLiteral("tTable")), 0);
    EXPECT_EQ(count(p, QStringLiteral("tField")), 0);
    EXPECT_EQ(count(p, QStringLiteral("tConn")), 1);
}

TEST(ProjectStatements, ConvertedIsNeverNullAndVersionNullReadsOneZero)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idTable = p.addTable(p.addConn(6, QStringLiteral("S")), QStringLiteral("T"));
    EXPECT_THROW(p.Conn().execute(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName, Converted) "
                                                 "VALUES (") + QString::number(idTable) + QStringLiteral(", 'A', 'A_VM', NULL)")),
                 db::DbError);
    // A table row without its data source cannot be stored.
    EXPECT_THROW(p.Conn().execute(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (999, 'X')")),
                 db::DbError);

    p.Conn().execute(QStringLiteral("UPDATE tConfig SET Version = Null"));
    EXPECT_EQ(projectfile::readProjectVersion(p.Conn()), QStringLiteral("1.0"));
}

// A name with a single quote is stored and found again when spliced through
// fgSqlText, in a statement and in a recordset filter.
TEST(ProjectStatements, QuoteInNameIsDoubled)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idConn = p.addConn(6, QStringLiteral("S"));
    const QString name = QStringLiteral("O'Brien");
    EXPECT_EQ(fgSqlText(name), QStringLiteral("'O''Brien'"));
    db::Recordset rs = p.Conn().openRecordset(QStringLiteral("SELECT * FROM tTable WHERE IdConn = ")
                                                  + QString::number(idConn) + QStringLiteral(" AND TableName = ")
                                                  + fgSqlText(name) + QStringLiteral(" AND Owner = ") + fgSqlText(name),
                                              db::CursorType::Static, db::LockType::Optimistic);
    EXPECT_TRUE(rs.eof());
    rs.addNew();
    rs.setValue(QStringLiteral("IdConn"), idConn);
    rs.setValue(QStringLiteral("TableName"), name);
    rs.setValue(QStringLiteral("Owner"), name);
    rs.update();
    db::Recordset all = p.Conn().openRecordset(QStringLiteral("SELECT * FROM tTable"));
    all.setFilter(QStringLiteral("TableName = ") + fgSqlText(name));
    ASSERT_EQ(all.recordCount(), 1);
    EXPECT_EQ(all.value(QStringLiteral("Owner")).toString(), name);
}
