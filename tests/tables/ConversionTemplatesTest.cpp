// The conversion templates of the raw type (6), filled as the conversion
// fills them, run on real tables of SQLite, PostgreSQL and MariaDB: every new
// amount is the old one divided by 10 000 and rounded half away from zero;
// converting back restores every original value exactly and empties the
// recovery column; rows outside the condition are not touched.
#include "data/Lookups.h"
#include "data/ProjectHost.h"
#include "data/db/DbError.h"
#include "tables/ConvertSql.h"
#include "tables/RecoveryField.h"
#include "tests/support/ExactDecimal.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"

#include <QMap>
#include <gtest/gtest.h>
#include <tuple>

using testsupport::Engine;
using testsupport::ProjectFixture;

namespace {

// Old-lei amounts per column, one per row; an empty text is Null.
const QStringList kWhole{
    QStringLiteral("1000000000000000"), QStringLiteral("999999999999999"), QStringLiteral("999999999999950"),
    QStringLiteral("-999999999999950"), QStringLiteral("-999999999999949"), QStringLiteral("14950"),
    QStringLiteral("14949"), QStringLiteral("150"), QStringLiteral("149"), QStringLiteral("-150"),
    QStringLiteral("-149"), QStringLiteral("50"), QStringLiteral("49"), QStringLiteral("-50"),
    QStringLiteral("123456789012345"), QStringLiteral("0"), QString(), QStringLiteral("-49")};
const QStringList kInteger{
    QStringLiteral("2147483647"), QStringLiteral("-2147483648"), QStringLiteral("2147480050"),
    QStringLiteral("-2147480050"), QStringLiteral("-2147480049"), QStringLiteral("14950"),
    QStringLiteral("14949"), QStringLiteral("150"), QStringLiteral("149"), QStringLiteral("-150"),
    QStringLiteral("-149"), QStringLiteral("50"), QStringLiteral("49"), QStringLiteral("-50"),
    QStringLiteral("1234567"), QStringLiteral("0"), QString(), QStringLiteral("-49")};
const QStringList kDecimal2{
    QStringLiteral("1000000000000000"), QStringLiteral("999999999999999"), QStringLiteral("999999999999950"),
    QStringLiteral("-999999999999950"), QStringLiteral("-999999999999949"), QStringLiteral("14950"),
    QStringLiteral("14949.99"), QStringLiteral("14949.50"), QStringLiteral("149.99"), QStringLiteral("-14949.50"),
    QStringLiteral("-149"), QStringLiteral("50"), QStringLiteral("12345.67"), QStringLiteral("-0.5"),
    QStringLiteral("14950.00"), QStringLiteral("0"), QString(), QStringLiteral("-49.99")};
const QStringList kDecimal6{
    QStringLiteral("999999999999.999999"), QStringLiteral("14949.5"), QStringLiteral("14949.50"),
    QStringLiteral("-14949.50"), QStringLiteral("14949.99"), QStringLiteral("14950"), QStringLiteral("14950.00"),
    QStringLiteral("-14950.00"), QStringLiteral("1.49495"), QStringLiteral("0.000050"), QStringLiteral("-0.000049"),
    QStringLiteral("50"), QStringLiteral("49.99"), QStringLiteral("123.456789"), QStringLiteral("-123.456789"),
    QStringLiteral("0"), QString(), QStringLiteral("-49.50")};
const QStringList kDecimal0{
    QStringLiteral("999999999999999999"), QStringLiteral("-999999999999995000"), QStringLiteral("14950"),
    QStringLiteral("-14950"), QStringLiteral("14949"), QStringLiteral("-14949"), QStringLiteral("5000"),
    QStringLiteral("4999"), QStringLiteral("-5000"), QStringLiteral("15000"), QStringLiteral("-15000"),
    QStringLiteral("50"), QStringLiteral("49"), QStringLiteral("1"), QStringLiteral("123456789012345"),
    QStringLiteral("0"), QString(), QStringLiteral("-49")};
const QStringList kDecimal4{
    QStringLiteral("99999999999.9999"), QStringLiteral("999999999999999"), QStringLiteral("999999999999950"),
    QStringLiteral("-999999999999950"), QStringLiteral("-999999999999949"), QStringLiteral("14950"),
    QStringLiteral("14949.9999"), QStringLiteral("150"), QStringLiteral("149.5"), QStringLiteral("-150"),
    QStringLiteral("-149"), QStringLiteral("123.4567"), QStringLiteral("49"), QStringLiteral("-50.0001"),
    QStringLiteral("12345.6789"), QStringLiteral("0"), QString(), QStringLiteral("-49")};
const QStringList kDouble{
    QStringLiteral("1000000000000000"), QStringLiteral("999999999999999"), QStringLiteral("999999999999950"),
    QStringLiteral("-999999999999950"), QStringLiteral("-999999999999949"), QStringLiteral("14950"),
    QStringLiteral("14949"), QStringLiteral("150"), QStringLiteral("149"), QStringLiteral("-150"),
    QStringLiteral("-149"), QStringLiteral("50"), QStringLiteral("1234567.89"), QStringLiteral("-0.5"),
    QStringLiteral("123456789012345"), QStringLiteral("0"), QString(), QStringLiteral("-49")};

struct AmountColumn {
    const char *name;
    const char *type;
    const QStringList *values;
    int scale; // decimals the column keeps; -1 = any
};
const AmountColumn kColumns[] = {{"i", "INTEGER", &kInteger, 0},      {"b", "BIGINT", &kWhole, 0},
                                 {"d0", "DECIMAL(18,0)", &kDecimal0, 0}, {"d2", "DECIMAL(18,2)", &kDecimal2, 2},
                                 {"d4", "DECIMAL(19,4)", &kDecimal4, 4}, {"d6", "DECIMAL(20,6)", &kDecimal6, 6},
                                 {"f", "{DOUBLE}", &kDouble, -1}};

// Two stored amounts are the same: doubles by their exact value, other
// numbers by their decimal value.
bool sameAmount(const db::Variant &a, const db::Variant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (a.kind() == db::Variant::Kind::Double || b.kind() == db::Variant::Kind::Double)
        return a.toDouble() == b.toDouble();
    return exact::normalized(a.toString()) == exact::normalized(b.toString());
}

std::string show(const db::Variant &v)
{
    return v.isNull() ? std::string("Null") : v.toString().toStdString();
}

using Case = std::tuple<Engine, QString /* template file */, bool /* with condition */>;

class ConversionTemplates : public ::testing::TestWithParam<Case> {};

std::string caseLabel(const ::testing::TestParamInfo<Case> &info)
{
    const auto &[engine, file, filtered] = info.param;
    return testsupport::engineName(engine).toStdString() + (file.contains(QLatin1Char('4')) ? "_4dec" : "_2dec")
           + (filtered ? "_filtered" : "_all");
}

// Rows of the table by id: the columns' values.
QString sume() { return testsupport::UserDatabase::tableName(QStringLiteral("sume")); }

QMap<int, QMap<QString, db::Variant>> readRows(db::Connection &conn)
{
    QMap<int, QMap<QString, db::Variant>> rows;
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT * FROM ") + sume());
    for (; !rs.eof(); rs.moveNext()) {
        QMap<QString, db::Variant> row;
        for (int i = 0; i < rs.fieldCount(); ++i)
            row.insert(rs.fieldName(i).toLower(), rs.value(i));
        rows.insert(static_cast<int>(rs.value(QStringLiteral("id")).toInt()), row);
    }
    return rows;
}

} // namespace

TEST_P(ConversionTemplates, ConvertAndBackAreExact)
{
    const auto &[engine, templateFile, filtered] = GetParam();
    VAMOR_OPEN_USER_DB(user, engine);
    const int digits = templateFile.contains(QLatin1Char('4')) ? 4 : 2;

    QString definition = QStringLiteral("id INTEGER, an INTEGER");
    for (const auto &c : kColumns)
        definition += QStringLiteral(", %1 %2").arg(QLatin1String(c.name), QLatin1String(c.type));
    user.createTable(sume(), definition);
    const int rowCount = static_cast<int>(kWhole.size());
    for (int r = 0; r < rowCount; ++r) {
        QString values = QStringLiteral("%1, %2").arg(r + 1).arg(r % 2 ? 2004 : 2005);
        for (const auto &c : kColumns) {
            const QString v = c.values->at(r);
            values += QStringLiteral(", ") + (v.isEmpty() ? QStringLiteral("NULL") : v);
        }
        user.execute(QStringLiteral("INSERT INTO ") + sume() + QStringLiteral(" VALUES (") + values + QLatin1Char(')'));
    }
    const auto original = readRows(user.conn());
    ASSERT_EQ(original.size(), rowCount);

    ProjectFixture p(templateFile);
    ASSERT_TRUE(p.ok());
    const QString condition = filtered ? QStringLiteral("an = 2005") : QString();
    const int idTable = testsupport::addUserTable(p, user, sume(), condition);
    const QString convertSql = fgLookup(projectConn(), QStringLiteral("tConnType"), QStringLiteral("ConvertSQL"),
                                        QStringLiteral("IdConnType = 6")).toString();
    const QString backSql = fgLookup(projectConn(), QStringLiteral("tConnType"), QStringLiteral("ConvertBackSQL"),
                                     QStringLiteral("IdConnType = 6")).toString();
    ASSERT_FALSE(convertSql.isEmpty());

    const auto inScope = [&](const QMap<QString, db::Variant> &row) {
        return !filtered || row.value(QStringLiteral("an")).toInt() == 2005;
    };
    // Runs one template for a column as the conversion does: one transaction.
    const auto run = [&](const QString &tpl, const QString &column, int scale) {
        const QString filled = convertsql::fillConvertTemplate(tpl, fgGetFieldName(6, column),
                                                               fgGetFieldName(6, column + QStringLiteral("_VM")),
                                                               fgGetTableName(6, QString(), sume()),
                                                               condition, scale);
        qint64 affected = 0;
        user.conn().beginTrans();
        for (const QString &statement : convertsql::splitStatements(filled))
            affected = user.conn().execute(statement);
        user.conn().commitTrans();
        return affected;
    };
    const auto probe = [&](const QString &column) {
        return fgGetConvertedState(user.conn(),
                                   convertsql::rowSource(fgGetTableName(6, QString(), sume()), condition),
                                   column, column + QStringLiteral("_VM"));
    };

    for (const auto &c : kColumns) {
        const QString column = QLatin1String(c.name);
        const QString rec = column + QStringLiteral("_vm");
        SCOPED_TRACE(column.toStdString());
        ASSERT_EQ(fgCreateRecoveryField(idTable, column + QStringLiteral("_VM"), false, column), QString());
        int expectedAffected = 0;
        for (const auto &row : original)
            expectedAffected += inScope(row) && !row.value(column).isNull();

        // To new lei.
        EXPECT_EQ(run(convertSql, column, c.scale), expectedAffected);
        // A second run converts nothing: the rows keep their recovery values.
        EXPECT_EQ(run(convertSql, column, c.scale), 0);
        EXPECT_EQ(probe(column), 1);
        const auto converted = readRows(user.conn());
        for (auto it = original.cbegin(); it != original.cend(); ++it) {
            const db::Variant before = it.value().value(column);
            const db::Variant after = converted.value(it.key()).value(column);
            const db::Variant kept = converted.value(it.key()).value(rec);
            SCOPED_TRACE("row " + std::to_string(it.key()) + " old " + show(before));
            if (!inScope(it.value()) || before.isNull()) {
                EXPECT_TRUE(sameAmount(after, before)) << show(after);
                EXPECT_TRUE(kept.isNull()) << show(kept);
                continue;
            }
            EXPECT_TRUE(sameAmount(kept, before)) << "kept " << show(kept);
            // Rounded once, to what the column keeps, at most the template's decimals.
            const int decimals = c.scale >= 0 && c.scale < digits ? c.scale : digits;
            const QString expected = exact::newLei(before.toString(), decimals);
            ASSERT_FALSE(expected.isEmpty()) << show(before);
            const db::Variant want = db::Variant::decimal(expected);
            EXPECT_TRUE(sameAmount(after, want)) << "new " << show(after) << ", expected " << show(want);
        }

        // Back to old lei.
        EXPECT_EQ(run(backSql, column, c.scale), expectedAffected);
        EXPECT_EQ(run(backSql, column, c.scale), 0);
        EXPECT_EQ(probe(column), 0);
        const auto restored = readRows(user.conn());
        for (auto it = original.cbegin(); it != original.cend(); ++it) {
            const db::Variant before = it.value().value(column);
            const db::Variant after = restored.value(it.key()).value(column);
            EXPECT_TRUE(sameAmount(after, before) && after.kind() == before.kind())
                << "row " << it.key() << ": " << show(after) << " instead of " << show(before);
            EXPECT_TRUE(restored.value(it.key()).value(rec).isNull()) << "row " << it.key();
        }
        EXPECT_EQ(fgDropRecoveryField(idTable, column + QStringLiteral("_VM")), QString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    EnginesTemplatesConditions, ConversionTemplates,
    ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                       ::testing::Values(QStringLiteral("Vamor.vmt"), QStringLiteral("Vamor 4 zecimale.vmt")),
                       ::testing::Bool()),
    caseLabel);
