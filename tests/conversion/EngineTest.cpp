#include "conversion/ConversionEngine.h"
#include "conversion/ConversionListing.h"
#include "conversion/ReportLog.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

using conversion::ConversionEngine;
using conversion::ListedField;
using conversion::ReportLog;

namespace {

// A project (copy of Vamor.vmt) and one SQLite user database, with helpers to
// run the engine and read back the project's rows.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(project.ok()); }

    ConversionEngine::Result run(bool leiNoi)
    {
        progress = std::make_unique<convtest::RecordingProgress>();
        if (stopHook)
            progress->hook = stopHook;
        report = std::make_unique<ReportLog>();
        report->ConvertStart();
        ConversionEngine engine(project.Conn(), *progress, *report);
        const auto result = engine.run(leiNoi);
        report->ConvertEnd(result.cancelled ? convertStoppedStatus() : QString());
        return result;
    }

    db::Variant fieldColumn(int idField, const QString &column)
    {
        return project.scalar(QStringLiteral("SELECT %1 FROM tField WHERE IdField = %2").arg(column).arg(idField));
    }
    bool converted(int idField) { return fieldColumn(idField, QStringLiteral("Converted")).toBool(); }
    QString error(int idField) { return fieldColumn(idField, QStringLiteral("Error")).toString(); }

    void setTemplate(const QString &column, const QString &sql)
    {
        project.Conn().execute(QStringLiteral("UPDATE tConnType SET %1 = %2 WHERE IdConnType = 6")
                                   .arg(column, testsupport::ProjectFixture::literal(db::Variant(sql))));
    }

    QList<ListedField> listing(bool toLeiNoi)
    {
        QList<ListedField> listed;
        conversion::listFieldsToConvert(project.Conn(), toLeiNoi, [&](const ListedField &f) { listed.append(f); });
        return listed;
    }

    static QStringList numbers(const QList<db::Variant> &values)
    {
        QStringList out;
        for (const auto &v : values)
            out.append(v.isNull() ? QStringLiteral("Null") : QString::number(v.toDouble(), 'g', 17));
        return out;
    }

    testsupport::ProjectFixture project;
    convtest::SqliteUserDb user;
    std::unique_ptr<convtest::RecordingProgress> progress;
    std::unique_ptr<ReportLog> report;
    std::function<void(convtest::RecordingProgress &, const QString &)> stopHook;
};

// Old lei to new lei and back on the built-in SQLite provider: integer,
// decimal and double columns, Nulls, negative amounts; a second run in the
// same direction skips every field.
TEST_F(EngineTest, ConvertsToNewLeiSkipsASecondRunAndRestoresEveryAmountExactly)
{
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER, Tva DECIMAL(18,2), Curs DOUBLE)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 123450000, 2345678.55, 98765.4321)"),
               QStringLiteral("INSERT INTO Facturi VALUES (2, NULL, 15000, NULL)"),
               QStringLiteral("INSERT INTO Facturi VALUES (3, 5, NULL, 55554)"),
               QStringLiteral("INSERT INTO Facturi VALUES (4, -125000, -0.5, 12345678901.0)")});
    const QStringList before[3] = {numbers(user.column("Facturi", "Suma")), numbers(user.column("Facturi", "Tva")),
                                   numbers(user.column("Facturi", "Curs"))};
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    const int table = project.addTable(conn, QStringLiteral("Facturi"));
    const int fields[3] = {project.addField(table, QStringLiteral("Suma")), project.addField(table, QStringLiteral("Tva")),
                           project.addField(table, QStringLiteral("Curs"))};

    auto result = run(true);
    EXPECT_FALSE(result.failed) << result.errorDescription.toStdString();
    EXPECT_FALSE(result.cancelled);
    // An INTEGER column keeps whole lei: -12.5 rounds away from zero.
    EXPECT_EQ(numbers(user.column("Facturi", "Suma")), (QStringList{"12345", "Null", "0", "-13"}));
    EXPECT_EQ(numbers(user.column("Facturi", "Tva")), (QStringList{"234.56999999999999", "1.5", "Null", "0"}));
    EXPECT_EQ(numbers(user.column("Facturi", "Curs")), (QStringList{"9.8800000000000008", "Null", "5.5599999999999996", "1234567.8899999999"}));
    EXPECT_EQ(numbers(user.column("Facturi", "Suma_VM")), before[0]);
    EXPECT_EQ(numbers(user.column("Facturi", "Tva_VM")), before[1]);
    EXPECT_EQ(numbers(user.column("Facturi", "Curs_VM")), before[2]);
    ASSERT_EQ(report->rows().size(), 3);
    EXPECT_EQ(report->errorCount(), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(converted(fields[i]));
        EXPECT_TRUE(fieldColumn(fields[i], QStringLiteral("Error")).isNull());
        EXPECT_EQ(report->rows().at(i).recCount, 3);
        EXPECT_EQ(report->rows().at(i).dataSource, QStringLiteral("Firma"));
        EXPECT_EQ(report->rows().at(i).tableName, QStringLiteral("Facturi"));
    }
    EXPECT_EQ(report->rows().at(2).fieldName, QStringLiteral("Curs"));

    // A second run to new lei finds every field converted and touches nothing.
    result = run(true);
    EXPECT_FALSE(result.failed);
    EXPECT_TRUE(report->rows().isEmpty());
    EXPECT_EQ(progress->callsStartingWith("P3").size(), 3);
    EXPECT_EQ(numbers(user.column("Facturi", "Suma")), (QStringList{"12345", "Null", "0", "-13"}));
    EXPECT_TRUE(listing(true).isEmpty());
    EXPECT_EQ(listing(false).size(), 3);

    // Back to old lei: every amount exactly as before, recovery columns empty.
    result = run(false);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(report->rows().size(), 3);
    EXPECT_EQ(numbers(user.column("Facturi", "Suma")), before[0]);
    EXPECT_EQ(numbers(user.column("Facturi", "Tva")), before[1]);
    EXPECT_EQ(numbers(user.column("Facturi", "Curs")), before[2]);
    EXPECT_EQ(numbers(user.column("Facturi", "Suma_VM")), (QStringList{"Null", "Null", "Null", "Null"}));
    for (int field : fields)
        EXPECT_FALSE(converted(field));
}

// What a run keeps of a data source (its connection string, its tables)
// ends with the run: a source moved to another file between runs is
// converted there.
TEST_F(EngineTest, DataSourceMovedToAnotherFileBetweenRunsIsConvertedThere)
{
    convtest::SqliteUserDb moved;
    for (convtest::SqliteUserDb *db : {&user, &moved})
        db->exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER)"),
                  QStringLiteral("INSERT INTO Facturi VALUES (1, 150000)")});
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    const int field = project.addField(project.addTable(conn, QStringLiteral("Facturi")), QStringLiteral("Suma"));
    ASSERT_FALSE(run(true).failed);
    ASSERT_TRUE(run(false).errorDescription.isEmpty());
    EXPECT_EQ(numbers(user.column("Facturi", "Suma")), QStringList{"150000"});

    project.Conn().execute(QStringLiteral("UPDATE tConn SET ConnString = %1 WHERE IdConn = %2")
                               .arg(testsupport::ProjectFixture::literal(db::Variant(moved.connString())))
                               .arg(conn));
    const auto result = run(true);
    EXPECT_FALSE(result.failed) << result.errorDescription.toStdString();
    EXPECT_EQ(report->errorCount(), 0);
    EXPECT_TRUE(converted(field));
    EXPECT_EQ(numbers(moved.column("Facturi", "Suma")), QStringList{"15"});
    EXPECT_EQ(numbers(moved.column("Facturi", "Suma_VM")), QStringList{"150000"});
    EXPECT_EQ(numbers(user.column("Facturi", "Suma")), QStringList{"150000"});
}

TEST_F(EngineTest, NoDataSourceOnlineInitialisesNoBarAndConvertsNothing)
{
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 10000)")});
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString(), true);
    const int field = project.addField(project.addTable(conn, QStringLiteral("Facturi")), QStringLiteral("Suma"));

    const auto result = run(true);
    EXPECT_FALSE(result.failed);
    EXPECT_FALSE(result.cancelled);
    EXPECT_TRUE(progress->calls.isEmpty());
    EXPECT_TRUE(report->rows().isEmpty());
    // The source left offline is named, so its field is not taken for converted.
    EXPECT_EQ(report->totalLines(),
              (QStringList{"0 campuri din 0 convertite cu succes",
                           "Sursa de date \"Firma\" sarita: este marcata Deconectat (nu a putut fi deschisa la o "
                           "rulare anterioara); 1 campuri neconvertite"}));
    ASSERT_EQ(result.skippedSources.size(), 1);
    EXPECT_EQ(result.skippedSources.first().fieldCount, 1);
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi").toInt(), 10000);
    EXPECT_FALSE(converted(field));
    EXPECT_TRUE(listing(true).isEmpty());
}

// A data source without tables and a table without fields leave the deeper
// level's bar alone; the walk goes on.
TEST_F(EngineTest, SourceWithoutTablesAndTableWithoutFieldsKeepTheirBarsAndTheWalkGoesOn)
{
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 10000)")});
    project.addConn(6, QStringLiteral("Alfa"), user.connString());
    const int beta = project.addConn(6, QStringLiteral("Beta"), user.connString());
    project.addTable(beta, QStringLiteral("Goala"));
    const int field = project.addField(project.addTable(beta, QStringLiteral("Facturi")), QStringLiteral("Suma"));

    const auto result = run(true);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(progress->calls, (QStringList{"Init1 2 Sursa de Date", "P1 0 Sursa de Date 1/2 (Alfa)",
                                            "P1 0 Sursa de Date 2/2 (Beta)", "Init2 2 Tabel", "P2 0 Tabel 1/2 (Goala)",
                                            "P2 0 Tabel 2/2 (Facturi)", "Init3 1 Camp", "P3 0 Camp 1/1 (Suma)"}));
    EXPECT_TRUE(converted(field));
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi").toInt(), 1);
}

// The table's and the field's conditions select the rows, and fill "[WHERE]"
// and "[AND]" exactly.
TEST_F(EngineTest, TableAndFieldFiltersSelectTheRowsAndFillWhereAndAnd)
{
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Anul INTEGER, Suma INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 2004, 10000)"),
               QStringLiteral("INSERT INTO Facturi VALUES (2, 2005, 20000)"),
               QStringLiteral("INSERT INTO Facturi VALUES (3, 2005, -30000)"),
               QStringLiteral("INSERT INTO Facturi VALUES (4, 2005, NULL)")});
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    const int table = project.addTable(conn, QStringLiteral("Facturi"), QString(), QStringLiteral("Anul = 2005"));
    const int field = project.addField(table, QStringLiteral("Suma"), QString(), QStringLiteral("Suma > 0"));

    run(true);
    EXPECT_TRUE(converted(field));
    EXPECT_EQ(numbers(user.column("Facturi", "Suma")), (QStringList{"10000", "2", "-30000", "Null"}));
    EXPECT_EQ(numbers(user.column("Facturi", "Suma_VM")), (QStringList{"Null", "20000", "Null", "Null"}));
    ASSERT_EQ(report->rows().size(), 1);
    EXPECT_EQ(report->rows().at(0).recCount, 1);
}

TEST_F(EngineTest, WhereAndAndTextsForBothFiltersTableFilterOnlyAndNone)
{
    QStringList schema{QStringLiteral("CREATE TABLE VamorLog (Id INTEGER PRIMARY KEY, Tbl TEXT, Txt TEXT)")};
    for (const char *name : {"Ambele", "Tabel", "Niciunul"}) {
        schema.append(QStringLiteral("CREATE TABLE %1 (Id INTEGER PRIMARY KEY, Anul INTEGER, Suma INTEGER)").arg(name));
        schema.append(QStringLiteral("INSERT INTO %1 VALUES (1, 2005, 10000)").arg(name));
    }
    user.exec(schema);
    setTemplate(QStringLiteral("ConvertSQL"),
                QStringLiteral("INSERT INTO VamorLog (Tbl, Txt) VALUES ('[TABLE_NAME]', '[WHERE]|[AND]')"));
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    project.addField(project.addTable(conn, QStringLiteral("Ambele"), QString(), QStringLiteral("Anul = 2005")),
                     QStringLiteral("Suma"), QString(), QStringLiteral("Suma > 0"));
    project.addField(project.addTable(conn, QStringLiteral("Tabel"), QString(), QStringLiteral("Anul = 2005")),
                     QStringLiteral("Suma"));
    project.addField(project.addTable(conn, QStringLiteral("Niciunul")), QStringLiteral("Suma"));

    run(true);
    EXPECT_EQ(report->errorCount(), 0);
    EXPECT_EQ(user.scalar("SELECT Txt FROM VamorLog WHERE Tbl = 'Ambele'").toString(),
              QStringLiteral(" WHERE ((Anul = 2005) AND (Suma > 0))| AND ((Anul = 2005) AND (Suma > 0))"));
    EXPECT_EQ(user.scalar("SELECT Txt FROM VamorLog WHERE Tbl = 'Tabel'").toString(),
              QStringLiteral(" WHERE (Anul = 2005)| AND (Anul = 2005)"));
    EXPECT_EQ(user.scalar("SELECT Txt FROM VamorLog WHERE Tbl = 'Niciunul'").toString(), QStringLiteral("|"));
}

// Three statements whose middle one fails: all three run, Error holds the
// middle one's text, the work is rolled back (the recovery column added
// before the transaction stays), the report row carries the third's count.
TEST_F(EngineTest, FailingMiddleStatementRunsAllThreeRollsBackAndReportsNoRecords)
{
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 10000)"), QStringLiteral("INSERT INTO Facturi VALUES (2, 20000)"),
               QStringLiteral("INSERT INTO Facturi VALUES (3, 30000)"),
               QStringLiteral("CREATE TABLE Jurnal (Id INTEGER PRIMARY KEY, Nota TEXT)")});
    setTemplate(QStringLiteral("ConvertSQL"),
                QStringLiteral("UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME][GO]\r\n"
                               "UPDATE NuExista SET X = 1[GO]\r\n"
                               "UPDATE [TABLE_NAME] SET [FIELD_NAME] = [FIELD_NAME] WHERE Id <= 2"));
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    const int field = project.addField(project.addTable(conn, QStringLiteral("Facturi")), QStringLiteral("Suma"));

    run(true);
    const QString err = error(field);
    EXPECT_TRUE(err.contains(QStringLiteral("NuExista"))) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("\r\n")));
    EXPECT_FALSE(converted(field));
    EXPECT_TRUE(user.columnNames("Facturi").contains(QStringLiteral("Suma_VM")));
    EXPECT_EQ(numbers(user.column("Facturi", "Suma_VM")), (QStringList{"Null", "Null", "Null"}));
    ASSERT_EQ(report->rows().size(), 1);
    // Nothing of a rolled-back field stays changed: no records are reported.
    EXPECT_EQ(report->rows().at(0).recCount, 0);
    EXPECT_EQ(report->rows().at(0).error, err);
    EXPECT_EQ(report->errorCount(), 1);

    // Every failing statement adds a line; the count is 0 when none completed.
    setTemplate(QStringLiteral("ConvertSQL"), QStringLiteral("UPDATE NuExista1 SET X = 1[GO]UPDATE NuExista2 SET X = 1"));
    run(true);
    const QStringList lines = error(field).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.at(0).contains(QStringLiteral("NuExista1")));
    EXPECT_TRUE(lines.at(1).contains(QStringLiteral("NuExista2")));
    EXPECT_EQ(report->rows().at(0).recCount, 0);

    // A later successful run clears the error.
    setTemplate(QStringLiteral("ConvertSQL"), QStringLiteral("UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME]"));
    run(true);
    EXPECT_TRUE(fieldColumn(field, QStringLiteral("Error")).isNull());
    EXPECT_TRUE(converted(field));
}

TEST_F(EngineTest, TrailingGoSendsAnEmptyStatementAndRollsBackEveryTime)
{
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 10000)")});
    setTemplate(QStringLiteral("ConvertSQL"),
                QStringLiteral("UPDATE [TABLE_NAME] SET [REC_FIELD_NAME] = [FIELD_NAME], [FIELD_NAME] = [FIELD_NAME] / 10000[GO]"));
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    const int field = project.addField(project.addTable(conn, QStringLiteral("Facturi")), QStringLiteral("Suma"));

    for (int attempt = 0; attempt < 2; ++attempt) {
        run(true);
        EXPECT_FALSE(error(field).isEmpty());
        EXPECT_FALSE(converted(field));
        EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi").toInt(), 10000);
        EXPECT_TRUE(user.scalar("SELECT Suma_VM FROM Facturi").isNull());
        ASSERT_EQ(report->rows().size(), 1);
        EXPECT_EQ(report->rows().at(0).recCount, 0); // the first statement's work was rolled back
    }
}

TEST_F(EngineTest, PlaceholdersInOtherLetterCaseReachTheDatabaseAsWritten)
{
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER, Tva INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 10000, 1900)"),
               QStringLiteral("CREATE TABLE VamorLog (Id INTEGER PRIMARY KEY, Txt TEXT)")});
    setTemplate(QStringLiteral("ConvertSQL"),
                QStringLiteral("INSERT INTO VamorLog (Txt) VALUES ('[table_name]|[Field_Name]|[where][go][And]')"));
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    project.addField(project.addTable(conn, QStringLiteral("Facturi")), QStringLiteral("Suma"));

    run(true);
    EXPECT_EQ(report->errorCount(), 0);
    EXPECT_EQ(user.scalar("SELECT Count(*) FROM VamorLog").toInt(), 1);
    EXPECT_EQ(user.scalar("SELECT Txt FROM VamorLog").toString(),
              QStringLiteral("[table_name]|[Field_Name]|[where][go][And]"));

    // A small-letter placeholder in an UPDATE names no column: the database's error.
    setTemplate(QStringLiteral("ConvertSQL"), QStringLiteral("UPDATE [TABLE_NAME] SET [Field_Name] = 1"));
    const int other = project.addField(project.addTable(conn, QStringLiteral("Facturi")), QStringLiteral("Tva"));
    run(true);
    EXPECT_TRUE(error(other).contains(QStringLiteral("Field_Name"))) << error(other).toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi").toInt(), 10000);
}

// Field and recovery column hold only Nulls in the selected rows: the stored
// state decides.
TEST_F(EngineTest, UnknownProbeKeepsTheStoredState)
{
    user.exec({QStringLiteral("CREATE TABLE Platite (Id INTEGER PRIMARY KEY, Suma INTEGER, Suma_VM DECIMAL(38,10))"),
               QStringLiteral("INSERT INTO Platite VALUES (1, NULL, NULL)"),
               QStringLiteral("CREATE TABLE Neplatite (Id INTEGER PRIMARY KEY, Suma INTEGER)"),
               QStringLiteral("INSERT INTO Neplatite VALUES (1, NULL)")});
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    const int storedNew = project.addField(project.addTable(conn, QStringLiteral("Platite")), QStringLiteral("Suma"));
    const int storedOld = project.addField(project.addTable(conn, QStringLiteral("Neplatite")), QStringLiteral("Suma"));
    project.Conn().execute(QStringLiteral("UPDATE tField SET Converted = True WHERE IdField = %1").arg(storedNew));

    run(true);
    EXPECT_TRUE(converted(storedNew));
    EXPECT_TRUE(converted(storedOld));
    ASSERT_EQ(report->rows().size(), 1);
    EXPECT_EQ(report->rows().at(0).tableName, QStringLiteral("Neplatite"));
    EXPECT_EQ(report->rows().at(0).recCount, 0);
}

TEST_F(EngineTest, RecoveryColumnThatCannotBeMadeIsReportedAndTheFieldIsLeftAlone)
{
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 10000)")});
    setTemplate(QStringLiteral("CreateFieldSQL"), QString());
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    const int field = project.addField(project.addTable(conn, QStringLiteral("Facturi")), QStringLiteral("Suma"));

    const auto result = run(true);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(error(field), QStringLiteral("Informatie lipsa in metadate"));
    EXPECT_FALSE(converted(field));
    ASSERT_EQ(report->rows().size(), 1);
    EXPECT_EQ(report->rows().at(0).error, QStringLiteral("Informatie lipsa in metadate"));
    EXPECT_EQ(report->rows().at(0).recCount, 0);
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi").toInt(), 10000);
}

// Stop confirmed while the second of five fields is shown: the second field
// completes, the third never starts.
TEST_F(EngineTest, StopDuringTheSecondOfFiveFieldsFinishesItAndStartsNoOther)
{
    user.exec({QStringLiteral("CREATE TABLE Salarii (Id INTEGER PRIMARY KEY, A INTEGER, B INTEGER, C INTEGER, D INTEGER, E INTEGER)"),
               QStringLiteral("INSERT INTO Salarii VALUES (1, 10000, 20000, 30000, 40000, 50000)")});
    const int conn = project.addConn(6, QStringLiteral("Firma"), user.connString());
    const int table = project.addTable(conn, QStringLiteral("Salarii"));
    QList<int> fields;
    for (const char *name : {"A", "B", "C", "D", "E"})
        fields.append(project.addField(table, QString::fromLatin1(name)));
    stopHook = [](convtest::RecordingProgress &p, const QString &line) {
        if (line.startsWith(QStringLiteral("P3 0 Camp 2/5")))
            p.stop = true;
    };

    const auto result = run(true);
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(progress->callsStartingWith("P3"), (QStringList{"P3 0 Camp 1/5 (A)", "P3 0 Camp 2/5 (B)"}));
    EXPECT_EQ(user.scalar("SELECT A || ',' || B || ',' || C || ',' || D || ',' || E FROM Salarii").toString(),
              QStringLiteral("1,2,30000,40000,50000"));
    EXPECT_TRUE(converted(fields[0]));
    EXPECT_TRUE(converted(fields[1]));
    EXPECT_FALSE(converted(fields[2]));
    EXPECT_EQ(report->rows().size(), 2);
    EXPECT_EQ(report->titleLines().size(), 3);
    EXPECT_EQ(report->titleLines().last(), QStringLiteral("Conversie intrerupta de utilizator"));
}

// A server that is down: marked offline, left out of the next run and of the
// next confirmation list even once it can be reached again.
TEST_F(EngineTest, ServerThatIsDownIsMarkedOfflineAndLeftOutAfterwards)
{
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 10000)")});
    const int down = project.addConn(
        6, QStringLiteral("Server oprit"),
        QStringLiteral("Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=1;Database=x;Uid=x;Pwd=x;"));
    const int downField = project.addField(project.addTable(down, QStringLiteral("Facturi")), QStringLiteral("Suma"));
    const int up = project.addConn(6, QStringLiteral("Firma"), user.connString());
    const int upField = project.addField(project.addTable(up, QStringLiteral("Facturi")), QStringLiteral("Suma"));

    auto result = run(true);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.offlineSources, QStringList{"Server oprit"});
    EXPECT_TRUE(project.scalar(QStringLiteral("SELECT Offline FROM tConn WHERE IdConn = %1").arg(down)).toBool());
    EXPECT_FALSE(project.scalar(QStringLiteral("SELECT Offline FROM tConn WHERE IdConn = %1").arg(up)).toBool());
    EXPECT_TRUE(converted(upField));
    EXPECT_EQ(report->rows().size(), 1);

    // The server comes back; the data source stays out until put online again.
    project.Conn().execute(QStringLiteral("UPDATE tConn SET ConnString = '%1' WHERE IdConn = %2").arg(user.connString()).arg(down));
    user.exec({QStringLiteral("UPDATE Facturi SET Suma = 10000, Suma_VM = NULL")});
    const QList<ListedField> listed = listing(true);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.at(0).dataSource, QStringLiteral("Firma"));
    result = run(true);
    EXPECT_EQ(progress->callsStartingWith("P1"), QStringList{"P1 0 Sursa de Date 1/1 (Firma)"});
    EXPECT_FALSE(converted(downField));
}

// The confirmation's list: ordered by data source, table and field; every
// probed field's state is refreshed; a source that cannot be opened is passed over.
TEST_F(EngineTest, ListingOrdersRefreshesStatesAndPassesOverUnreachableSources)
{
    user.exec({QStringLiteral("CREATE TABLE Salarii (Id INTEGER PRIMARY KEY, Brut INTEGER, Net INTEGER)"),
               QStringLiteral("INSERT INTO Salarii VALUES (1, 10000, 8000)"),
               QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER, Suma_VM DECIMAL(38,10))"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 1, 10000)")});
    const int b = project.addConn(6, QStringLiteral("Beta"), user.connString());
    const int a = project.addConn(6, QStringLiteral("Alfa"), user.connString());
    project.addConn(6, QStringLiteral("Lipsa"), QStringLiteral("Provider=SQLite;Data Source=/nu/exista/firma.db"));
    const int salarii = project.addTable(b, QStringLiteral("Salarii"));
    const int net = project.addField(salarii, QStringLiteral("Net"));
    project.addField(salarii, QStringLiteral("Brut"));
    const int suma = project.addField(project.addTable(a, QStringLiteral("Facturi")), QStringLiteral("Suma"));
    project.Conn().execute(QStringLiteral("UPDATE tField SET Converted = True WHERE IdField = %1").arg(net));

    QList<ListedField> listed = listing(true);
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed.at(0).dataSource + "/" + listed.at(0).tableName + "/" + listed.at(0).fieldName, QStringLiteral("Beta/Salarii/Brut"));
    EXPECT_EQ(listed.at(1).fieldName, QStringLiteral("Net"));
    EXPECT_FALSE(converted(net));  // refreshed from the probe
    EXPECT_TRUE(converted(suma));  // its recovery column holds a value
    listed = listing(false);
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.at(0).dataSource + "/" + listed.at(0).tableName + "/" + listed.at(0).fieldName, QStringLiteral("Alfa/Facturi/Suma"));
    EXPECT_EQ(conversion::listedCountText(12), QStringLiteral("12 campuri vor fi convertite"));
}

// The same run on real servers through ODBC.
void roundTripOnServer(testsupport::ProjectFixture &project, const QString &connString)
{
    db::Connection server;
    server.open(connString);
    // Named for this process, so that other tests on the server never meet it.
    const QString tableName = QStringLiteral("vm_facturi_%1").arg(::getpid());
    for (const char *sql : {"DROP TABLE IF EXISTS vm_facturi",
                            "CREATE TABLE vm_facturi (Id INT PRIMARY KEY, Anul INT, Suma BIGINT, Tva DECIMAL(18,2), Curs DOUBLE PRECISION)",
                            "INSERT INTO vm_facturi VALUES (1, 2005, 123450000, 2345678.55, 98765.4321)",
                            "INSERT INTO vm_facturi VALUES (2, 2005, NULL, 15000, NULL)",
                            "INSERT INTO vm_facturi VALUES (3, 2004, 250000, 250000, 250000)",
                            "INSERT INTO vm_facturi VALUES (4, 2005, -125000, -0.5, 55554)"})
        server.execute(QString::fromLatin1(sql).replace(QStringLiteral("vm_facturi"), tableName));
    const auto snapshot = [&](const char *columns) {
        db::Recordset rs = server.openRecordset(QStringLiteral("SELECT %1 FROM %2 ORDER BY Id").arg(QString::fromLatin1(columns), tableName));
        QStringList out;
        for (; !rs.eof(); rs.moveNext())
            for (int i = 0; i < rs.fieldCount(); ++i)
                out.append(rs.value(i).isNull() ? QStringLiteral("Null") : QString::number(rs.value(i).toDouble(), 'f', 4));
        return out;
    };
    const QStringList before = snapshot("Suma, Tva, Curs");

    const int conn = project.addConn(6, QStringLiteral("Server"), connString);
    const int table = project.addTable(conn, tableName, QString(), QStringLiteral("Anul = 2005"));
    for (const char *name : {"Suma", "Tva", "Curs"})
        project.addField(table, QString::fromLatin1(name));

    const auto run = [&](bool noi, ReportLog &report) {
        convtest::RecordingProgress progress;
        ConversionEngine engine(project.Conn(), progress, report);
        return engine.run(noi);
    };
    ReportLog first;
    auto result = run(true, first);
    EXPECT_FALSE(result.failed) << result.errorDescription.toStdString();
    EXPECT_TRUE(result.offlineSources.isEmpty());
    ASSERT_EQ(first.rows().size(), 3);
    EXPECT_EQ(first.errorCount(), 0) << first.rows().at(0).error.toStdString();
    EXPECT_EQ(first.rows().at(0).recCount, 2); // Suma: rows 1 and 4
    EXPECT_EQ(snapshot("Suma, Tva, Curs"),
              (QStringList{"12345.0000", "234.5700", "9.8800", "Null", "1.5000", "Null", "250000.0000", "250000.0000",
                           "250000.0000", "-13.0000", "0.0000", "5.5600"})); // an integer column keeps whole new lei

    ReportLog second;
    run(true, second);
    EXPECT_TRUE(second.rows().isEmpty());

    ReportLog back;
    run(false, back);
    EXPECT_EQ(back.rows().size(), 3);
    EXPECT_EQ(back.errorCount(), 0);
    EXPECT_EQ(snapshot("Suma, Tva, Curs"), before);
    EXPECT_EQ(snapshot("Suma_VM, Tva_VM, Curs_VM"), QStringList(12, QStringLiteral("Null")));
    server.execute(QStringLiteral("DROP TABLE ") + tableName);
}

TEST(EngineServerTest, PostgreSqlRoundTrip)
{
    VAMOR_REQUIRE_SERVER(conn, "VAMOR_TEST_PG");
    testsupport::ProjectFixture project;
    ASSERT_TRUE(project.ok());
    roundTripOnServer(project, conn);
}

TEST(EngineServerTest, MariaDbRoundTrip)
{
    VAMOR_REQUIRE_SERVER(conn, "VAMOR_TEST_MARIADB");
    testsupport::ProjectFixture project;
    ASSERT_TRUE(project.ok());
    roundTripOnServer(project, conn);
}

} // namespace
