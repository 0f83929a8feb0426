// Other programs change the user's tables while Vamor works: the firm's own
// program writes new rows, a colleague converts the same field, a table is
// moved away, a column is left from an earlier attempt, a driver rolls a
// whole transaction back on an error. Whatever they did, a field is decided
// from the database at the moment it matters, fails with a clear message
// rather than guess, and never loses an amount. On the built-in SQLite and on
// real PostgreSQL and MariaDB servers.
#include "conversion/ControlTotals.h"
#include "conversion/ConversionEngine.h"
#include "conversion/ConversionListing.h"
#include "conversion/ReportLog.h"
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

class OtherPrograms : public ::testing::TestWithParam<Engine> {
protected:
    // Runs the engine; `atField` runs just before the field of that name is
    // probed.
    ReportLog run(bool toLeiNoi, const QString &field = QString(), const std::function<void()> &atField = {})
    {
        return convtest::runEngineAt(project.Conn(), toLeiNoi, field, atField);
    }

    void elsewhere(const UserDatabase &user, const QString &sql) { convtest::elsewhere(user.connString(), sql); }

    // "Lei NOI" or "Lei VECHI" as stored, and whether an error is stored.
    QString stored(int idField)
    {
        db::Recordset rs = project.Conn().openRecordset(
            QStringLiteral("SELECT Converted, Error FROM tField WHERE IdField = %1").arg(idField));
        return QString::fromLatin1(rs.value(0).toBool() ? "Lei NOI" : "Lei VECHI")
               + QString::fromLatin1(rs.value(1).isNull() ? "" : " (eroare)");
    }

    // The amounts of a column as the engine writes them, without needless
    // zeros; Null as "Null".
    QString amounts(UserDatabase &user, const QString &table, const QString &column)
    {
        QStringList out;
        db::Recordset rs =
            user.conn().openRecordset(QStringLiteral("SELECT %1 FROM %2 ORDER BY id").arg(column, table));
        for (; !rs.eof(); rs.moveNext())
            out << (rs.value(0).isNull() ? QStringLiteral("Null") : exact::normalized(rs.value(0).toString()));
        return out.join(QLatin1Char(' '));
    }

    ProjectFixture project;
};

QString onlyError(const ReportLog &report)
{
    return report.rows().size() == 1 ? report.rows().first().error : QStringLiteral("<%1 rows>").arg(report.rows().size());
}

// The field is converted by another program after the run read the
// table's columns (the first field did), and that program's new rows hold
// new lei with no recovery value: the run asks the database inside the
// field's transaction and converts nothing twice. Converting back in the
// same situation restores the field instead of recording "Lei VECHI" for
// amounts that are in new lei.
TEST_P(OtherPrograms, FieldConvertedElsewhereWithNewRowsIsNeverConvertedTwice)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    ASSERT_TRUE(project.ok());
    const QString table = UserDatabase::tableName(QStringLiteral("other_newrows"));
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, b DECIMAL(18,2), a DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 30000.00, 15000.00)").arg(table));
    const int idTable = testsupport::addUserTable(project, user, table);
    const int b = project.addField(idTable, QStringLiteral("b"));
    const int a = project.addField(idTable, QStringLiteral("a"));

    const auto convertElsewhere = [&] {
        elsewhere(user, QStringLiteral("ALTER TABLE %1 ADD a_VM DECIMAL(18,2)").arg(table));
        elsewhere(user, QStringLiteral("UPDATE %1 SET a_VM = a, a = a / 10000.0").arg(table));
        // The firm's program goes on writing, in new lei.
        elsewhere(user, QStringLiteral("INSERT INTO %1 (id, b, a) VALUES (2, 7.00, 2.50)").arg(table));
    };
    const ReportLog forward = run(true, QStringLiteral("a"), convertElsewhere);
    for (const auto &row : forward.rows())
        EXPECT_EQ(row.error, QString()) << row.fieldName.toStdString();
    EXPECT_EQ(stored(a), QStringLiteral("Lei NOI"));
    EXPECT_EQ(stored(b), QStringLiteral("Lei NOI"));
    EXPECT_EQ(amounts(user, table, QStringLiteral("a")), QStringLiteral("1.5 2.5"));
    EXPECT_EQ(amounts(user, table, QStringLiteral("a_VM")), QStringLiteral("15000 Null"));
    EXPECT_EQ(amounts(user, table, QStringLiteral("b")), QStringLiteral("3 7"));

    // Back: field b alone was converted; field a joins the project after
    // it. The run reads the table's columns for b; then another program
    // converts a.
    const QString tableC = UserDatabase::tableName(QStringLiteral("other_back"));
    user.createTable(tableC, QStringLiteral("id INTEGER PRIMARY KEY, b DECIMAL(18,2), a DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 30000.00, 15000.00)").arg(tableC));
    const int idTableC = testsupport::addUserTable(project, user, tableC);
    const int bc = project.addField(idTableC, QStringLiteral("b"));
    project.Conn().execute(QStringLiteral("DELETE FROM tTable WHERE IdTable = %1").arg(idTable));
    ASSERT_EQ(run(true).errorCount(), 0);
    const int ac = project.addField(idTableC, QStringLiteral("a"));
    ASSERT_EQ(stored(ac), QStringLiteral("Lei VECHI"));

    const ReportLog back = run(false, QStringLiteral("a"), [&] {
        if (user.columnNames(tableC).contains(QStringLiteral("a_vm")))
            return;
        elsewhere(user, QStringLiteral("ALTER TABLE %1 ADD a_VM DECIMAL(18,2)").arg(tableC));
        elsewhere(user, QStringLiteral("UPDATE %1 SET a_VM = a, a = a / 10000.0").arg(tableC));
    });
    for (const auto &row : back.rows())
        EXPECT_EQ(row.error, QString()) << row.fieldName.toStdString();
    EXPECT_EQ(stored(ac), QStringLiteral("Lei VECHI"));
    EXPECT_EQ(stored(bc), QStringLiteral("Lei VECHI"));
    EXPECT_EQ(amounts(user, tableC, QStringLiteral("a")), QStringLiteral("15000"));
    EXPECT_EQ(amounts(user, tableC, QStringLiteral("a_VM")), QStringLiteral("Null"));
    EXPECT_EQ(amounts(user, tableC, QStringLiteral("b")), QStringLiteral("30000"));
}

// A table the data source no longer has (a moved file, a wrong database, a
// renamed table) fails its field with the table and the data source named,
// in both directions and in the confirmation list; the stored state stays.
TEST_P(OtherPrograms, MissingTableIsAnErrorNeverAState)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    ASSERT_TRUE(project.ok());
    const QString table = UserDatabase::tableName(QStringLiteral("other_gone"));
    const QString moved = UserDatabase::tableName(QStringLiteral("other_moved"));
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
    user.createTable(moved, QStringLiteral("id INTEGER PRIMARY KEY"));
    user.execute(QStringLiteral("DROP TABLE %1").arg(moved));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 15000.00)").arg(table));
    const int idTable = testsupport::addUserTable(project, user, table);
    const int idField = project.addField(idTable, QStringLiteral("suma"));
    ASSERT_EQ(run(true).errorCount(), 0);
    ASSERT_EQ(stored(idField), QStringLiteral("Lei NOI"));

    elsewhere(user, QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(table, moved));
    for (const bool toLeiNoi : {false, true}) {
        const ReportLog report = run(toLeiNoi);
        const QString error = onlyError(report);
        EXPECT_TRUE(error.contains(QStringLiteral("Tabelul \"%1\" nu a fost gasit").arg(table))) << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("sursa de date \"%1\"").arg(testsupport::engineName(GetParam()))))
            << error.toStdString();
        EXPECT_EQ(report.errorCount(), 1);
        EXPECT_EQ(stored(idField), QStringLiteral("Lei NOI (eroare)")) << "direction " << toLeiNoi;
    }
    // Listed (by its stored state) with the reason, never as not converted.
    QStringList listed;
    conversion::listFieldsToConvert(project.Conn(), false, [&](const conversion::ListedField &f) {
        listed << f.fieldName + QStringLiteral(": ") + f.note;
    });
    ASSERT_EQ(listed.size(), 1);
    EXPECT_TRUE(listed.first().contains(QStringLiteral("nu a fost gasit"))) << listed.first().toStdString();
    EXPECT_EQ(stored(idField), QStringLiteral("Lei NOI (eroare)"));

    elsewhere(user, QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(moved, table));
    ASSERT_EQ(run(false).errorCount(), 0);
    EXPECT_EQ(stored(idField), QStringLiteral("Lei VECHI"));
    EXPECT_EQ(amounts(user, table, QStringLiteral("suma")), QStringLiteral("15000"));
}

// A recovery column left from an earlier attempt that cannot keep every
// amount exactly is named with both types, and nothing changes; one that
// can (or SQLite's, whose storage keeps the value whatever the declared
// numeric type) serves, and the amounts come back bit for bit.
TEST_P(OtherPrograms, LeftoverRecoveryColumnMustKeepEveryAmountExactly)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    ASSERT_TRUE(project.ok());
    struct Case {
        QString recType;
        bool refused;
    };
    QList<Case> cases;
    switch (GetParam()) {
    case Engine::Postgres:
        cases = {{QStringLiteral("NUMERIC(18,0)"), true}, {QStringLiteral("NUMERIC(17,2)"), true},
                 {QStringLiteral("NUMERIC(20,4)"), false}, {QStringLiteral("NUMERIC"), false}};
        break;
    case Engine::MariaDb:
        cases = {{QStringLiteral("DECIMAL(10,0)"), true}, {QStringLiteral("DOUBLE"), true},
                 {QStringLiteral("DECIMAL(18,2)"), false}, {QStringLiteral("DECIMAL(30,6)"), false}};
        break;
    case Engine::Sqlite:
        // A TEXT column would turn the amounts into text; NUMERIC(18,0)
        // only names a type: SQLite keeps 12345.67 as it is.
        cases = {{QStringLiteral("TEXT"), true}, {QStringLiteral("NUMERIC(18,0)"), false}};
        break;
    }
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.recType.toStdString());
        const QString table = UserDatabase::tableName(QStringLiteral("other_rec%1").arg(++n));
        user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2), suma_VM %1").arg(c.recType));
        user.execute(QStringLiteral("INSERT INTO %1 (id, suma) VALUES (1, 12345.67), (2, -999999999999.99)").arg(table));
        const int idField = project.addField(testsupport::addUserTable(project, user, table), QStringLiteral("suma"));
        const ReportLog report = run(true);
        const QString error = report.rows().isEmpty() ? QString() : report.rows().last().error;
        if (c.refused) {
            EXPECT_TRUE(error.contains(c.recType, Qt::CaseInsensitive)) << error.toStdString();
            EXPECT_TRUE(error.contains(QStringLiteral("(18,2))"))) << error.toStdString();
            EXPECT_EQ(stored(idField), QStringLiteral("Lei VECHI (eroare)"));
            EXPECT_EQ(amounts(user, table, QStringLiteral("suma")), QStringLiteral("12345.67 -999999999999.99"));
            EXPECT_EQ(amounts(user, table, QStringLiteral("suma_VM")), QStringLiteral("Null Null"));
        } else {
            EXPECT_EQ(error, QString());
            EXPECT_EQ(amounts(user, table, QStringLiteral("suma")), QStringLiteral("1.23 -100000000"));
            ASSERT_EQ(run(false).errorCount(), 0);
            EXPECT_EQ(amounts(user, table, QStringLiteral("suma")), QStringLiteral("12345.67 -999999999999.99"));
            EXPECT_EQ(stored(idField), QStringLiteral("Lei VECHI"));
        }
        user.execute(QStringLiteral("DELETE FROM %1").arg(table));
        project.Conn().execute(QStringLiteral("DELETE FROM tTable"));
    }
}

// A statement of the field's transaction that fails, the control totals
// among them, fails the field and rolls it back: the commit is never asked
// for, even where the driver has rolled the whole transaction back already
// (PostgreSQL's Protocol=7.4-1), which a commit would report as success.
TEST_P(OtherPrograms, FailedTotalsQueryRollsTheFieldBack)
{
    VAMOR_OPEN_USER_DB(user, GetParam());
    ASSERT_TRUE(project.ok());
    const QString table = UserDatabase::tableName(QStringLiteral("other_totals"));
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO %1 VALUES (1, 15000.00), (2, 25000.00)").arg(table));
    QStringList strings{user.connString()};
    if (GetParam() == Engine::Postgres)
        strings << (user.connString().endsWith(QLatin1Char(';')) ? user.connString() : user.connString() + QLatin1Char(';'))
                       + QStringLiteral("Protocol=7.4-1");
    for (const QString &connString : strings) {
        SCOPED_TRACE(connString.toStdString());
        project.Conn().execute(QStringLiteral("DELETE FROM tConn"));
        const int idConn = project.addConn(6, QStringLiteral("Server"), connString);
        const int idField = project.addField(project.addTable(idConn, table), QStringLiteral("suma"));
        // The totals query is one the database refuses.
        conversion::ControlTotals::setQueryHook([&](const QString &) {
            return QStringLiteral("SELECT no_such_column FROM %1").arg(table);
        });
        const ReportLog report = run(true);
        conversion::ControlTotals::setQueryHook({});
        EXPECT_TRUE(onlyError(report).contains(QStringLiteral("Totalurile de control"))) << onlyError(report).toStdString();
        EXPECT_EQ(report.rows().first().recCount, 0);
        EXPECT_EQ(stored(idField), QStringLiteral("Lei VECHI (eroare)"));
        EXPECT_EQ(amounts(user, table, QStringLiteral("suma")), QStringLiteral("15000 25000"));
        EXPECT_EQ(amounts(user, table, QStringLiteral("suma_VM")), QStringLiteral("Null Null"));
        // Without the fault the field converts, then comes back.
        ASSERT_EQ(run(true).errorCount(), 0);
        EXPECT_EQ(amounts(user, table, QStringLiteral("suma")), QStringLiteral("1.5 2.5"));
        ASSERT_EQ(run(false).errorCount(), 0);
        EXPECT_EQ(stored(idField), QStringLiteral("Lei VECHI"));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, OtherPrograms, ::testing::Values(Engine::Sqlite, Engine::Postgres, Engine::MariaDb),
                         [](const auto &info) { return testsupport::engineName(info.param).toStdString(); });

// Converting back, another program's trigger changes the amounts the
// restore writes: the database finds the restored sum different from the
// old one, so the field is rolled back with both sums named and stays in
// new lei, its recovery values intact.
TEST(RestoreCheck, RestoredSumThatDiffersRollsTheFieldBack)
{
    ProjectFixture project;
    ASSERT_TRUE(project.ok());
    UserDatabase user(Engine::Sqlite);
    const QString table = QStringLiteral("plati");
    user.createTable(table, QStringLiteral("id INTEGER PRIMARY KEY, suma DECIMAL(18,2)"));
    user.execute(QStringLiteral("INSERT INTO plati VALUES (1, 15000.00), (2, 25000.00)"));
    const int idField = project.addField(testsupport::addUserTable(project, user, table), QStringLiteral("suma"));
    ReportLog report;
    convtest::RecordingProgress progress;
    ASSERT_EQ((ConversionEngine(project.Conn(), progress, report).run(true), report.errorCount()), 0);
    user.execute(QStringLiteral("CREATE TRIGGER adauga AFTER UPDATE OF suma ON plati WHEN new.suma_VM IS NULL "
                                "BEGIN UPDATE plati SET suma = suma + 1 WHERE id = new.id; END"));

    ReportLog back;
    back.ConvertStart();
    ConversionEngine(project.Conn(), progress, back).run(false);
    ASSERT_EQ(back.rows().size(), 1);
    const QString error = back.rows().first().error;
    EXPECT_TRUE(error.contains(QStringLiteral("(40002.00)"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("(40000.00)"))) << error.toStdString();
    EXPECT_EQ(back.rows().first().recCount, 0);
    EXPECT_TRUE(project.scalar(QStringLiteral("SELECT Converted FROM tField WHERE IdField = %1").arg(idField)).toBool());
    db::Recordset rs = user.conn().openRecordset(QStringLiteral("SELECT suma, suma_VM FROM plati ORDER BY id"));
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("1.5"));
    EXPECT_EQ(rs.value(1).toString(), QStringLiteral("15000"));
}

} // namespace
