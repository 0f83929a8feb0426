// A run reads each table's columns once for all its fields. Another program
// may change the table between two fields of the run; what it did is seen
// where it decides a field: a recovery column it dropped makes the field read
// "not converted", and a field it converted meanwhile is not converted twice.
// On the built-in SQLite and on real PostgreSQL and MariaDB servers.
#include "conversion/ConversionEngine.h"
#include "conversion/ReportLog.h"
#include "data/db/Recordset.h"
#include "tests/conversion/ConversionTestSupport.h"
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

class CatalogChange : public ::testing::TestWithParam<Engine> {
protected:
    // Runs the engine; `atField` runs just before the field of that name is
    // probed.
    ReportLog run(bool toLeiNoi, const QString &field = QString(), const std::function<void()> &atField = {})
    {
        return convtest::runEngineAt(project.Conn(), toLeiNoi, field, atField);
    }

    void elsewhere(const UserDatabase &user, const QString &sql) { convtest::elsewhere(user.connString(), sql); }

    QString stored(int idField)
    {
        db::Recordset rs = project.Conn().openRecordset(
            QStringLiteral("SELECT Converted, Error FROM tField WHERE IdField = %1").arg(idField));
        return rs.value(0).toBool() ? QStringLiteral("Lei NOI ") + rs.value(1).toString()
                                    : QStringLiteral("Lei VECHI ") + rs.value(1).toString();
    }

    QString amounts(UserDatabase &user, const QString &table, const QString &column)
    {
        QStringList out;
        db::Recordset rs = user.conn().openRecordset(
            QStringLiteral("SELECT CAST(%1 * 100 AS INTEGER) FROM %2 ORDER BY id").arg(column, table));
        for (; !rs.eof(); rs.moveNext())
            out << rs.value(0).toString();
        return out.join(QLatin1Char(' '));
    }

    ProjectFixture project;
};

// Converting back, the recovery column of the second field is dropped by
// another program after the first field read the table's columns: the
// field reads "not converted" (nothing to restore), with no error.
TEST_P(CatalogChange, RecoveryColumnDroppedElsewhereReadsNotConverted)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    ASSERT_TRUE(project.ok());
    const QString table = UserDatabase::tableName(QStringLiteral("catalog_drop"));
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, a DECIMAL(18,2), b DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 15000.00, 30000.00)").arg(table));
    const int idTable = testsupport::addUserTable(project, user, table);
    const int a = project.addField(idTable, QStringLiteral("a"));
    const int b = project.addField(idTable, QStringLiteral("b"));
    ASSERT_EQ(run(true, QString(), [] {}).rows().size(), 2);
    ASSERT_EQ(stored(b), QStringLiteral("Lei NOI "));

    const ReportLog back = run(false, QStringLiteral("b"), [&] {
        elsewhere(user, QStringLiteral("ALTER TABLE %1 DROP COLUMN b_VM").arg(table));
    });
    ASSERT_EQ(back.rows().size(), 1);
    EXPECT_EQ(back.rows().at(0).fieldName, QStringLiteral("a"));
    EXPECT_EQ(back.rows().at(0).error, QString());
    EXPECT_EQ(stored(a), QStringLiteral("Lei VECHI "));
    EXPECT_EQ(stored(b), QStringLiteral("Lei VECHI "));
    EXPECT_EQ(amounts(user, table, QStringLiteral("a")), QStringLiteral("1500000"));
}

// Converting to new lei, another program converts the second field (adds
// its recovery column and fills it) after the first field read the table's
// columns: the run finds the field's amounts already divided and leaves them.
TEST_P(CatalogChange, FieldConvertedElsewhereMidRunIsNotConvertedTwice)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    ASSERT_TRUE(project.ok());
    const QString table = UserDatabase::tableName(QStringLiteral("catalog_add"));
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, a DECIMAL(18,2), b DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 15000.00, 30000.00)").arg(table));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (2, 20000.00, 150000.00)").arg(table));
    const int idTable = testsupport::addUserTable(project, user, table);
    const int a = project.addField(idTable, QStringLiteral("a"));
    const int b = project.addField(idTable, QStringLiteral("b"));

    const ReportLog forward = run(true, QStringLiteral("b"), [&] {
        elsewhere(user, QStringLiteral("ALTER TABLE %1 ADD b_VM DECIMAL(18,2)").arg(table));
        elsewhere(user, QStringLiteral("UPDATE %1 SET b_VM = b, b = b / 10000").arg(table));
    });
    for (const auto &row : forward.rows())
        EXPECT_EQ(row.error, QString()) << row.fieldName.toStdString();
    EXPECT_EQ(stored(a), QStringLiteral("Lei NOI "));
    EXPECT_EQ(stored(b), QStringLiteral("Lei NOI "));
    EXPECT_EQ(amounts(user, table, QStringLiteral("a")), QStringLiteral("150 200"));
    EXPECT_EQ(amounts(user, table, QStringLiteral("b")), QStringLiteral("300 1500"));
    EXPECT_EQ(amounts(user, table, QStringLiteral("b_VM")), QStringLiteral("3000000 15000000"));
}

INSTANTIATE_TEST_SUITE_P(Engines, CatalogChange, ::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                         [](const auto &info) { return testsupport::engineName(info.param).toStdString(); });

} // namespace
