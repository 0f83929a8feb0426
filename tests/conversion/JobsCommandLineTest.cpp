// Data sources converted side by side (--jobs): the same amounts, states,
// report and exit status as one source at a time, and a stop that leaves
// every field whole.
#include "data/db/Recordset.h"
#include "tests/conversion/CommandLineFixture.h"
#include "tests/conversion/ConversionTestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace {

using convtest::SqliteUserDb;

class JobsCommandLineTest : public convtest::CommandLineFixture {
protected:
    void addSource(const QString &name, const QString &connString, const QString &table, const QStringList &fields)
    {
        project(QStringLiteral("INSERT INTO tConn (IdConnType, Description, ConnString, Offline) VALUES (6, '%1', '%2', "
                               "False)")
                    .arg(name, connString));
        project(QStringLiteral("INSERT INTO tTable (IdConn, TableName) SELECT Max(IdConn), '%1' FROM tConn").arg(table));
        for (const QString &field : fields)
            project(QStringLiteral("INSERT INTO tField (IdTable, FieldName) SELECT Max(IdTable), '%1' FROM tTable")
                        .arg(field));
    }

    // The fields' states and errors as the saved project records them.
    QStringList projectStates()
    {
        QStringList states;
        db::Connection conn;
        conn.open(QStringLiteral("Provider=SQLite;Data Source=") + projectPath);
        db::Recordset rs = conn.openRecordset(
            QStringLiteral("SELECT tConn.Description, tConn.Offline, tTable.TableName, tField.FieldName, "
                           "tField.Converted, tField.Error FROM (tField INNER JOIN tTable ON tField.IdTable = "
                           "tTable.IdTable) INNER JOIN tConn ON tTable.IdConn = tConn.IdConn ORDER BY tField.IdField"));
        for (; !rs.eof(); rs.moveNext())
            states.append(QStringList{rs.value(0).toString(), rs.value(1).toString(), rs.value(2).toString(),
                                      rs.value(3).toString(), rs.value(4).toString(), rs.value(5).toString()}
                              .join(QLatin1Char('|')));
        return states;
    }

    // The saved report without what differs from run to run: its times.
    QString reportWithoutTimes(const QString &path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        text = text.left(text.indexOf(QStringLiteral("Durata pe camp")));
        return text.mid(text.indexOf(QStringLiteral("------------------------------")));
    }

    QString reportPath() const { return QDir(home.path()).filePath(QStringLiteral("raport.txt")); }
};

// Four sources: two that convert, one whose fields fail (an amount that is
// not a number, a column that is not there) and one that cannot be opened.
TEST_F(JobsCommandLineTest, SideBySideGivesTheSameAmountsStatesReportAndStatusAsOneAtATime)
{
    SqliteUserDb second, third;
    second.exec({QStringLiteral("CREATE TABLE Plati (Id INTEGER PRIMARY KEY, Suma INTEGER, Valoare DECIMAL(18,2))"),
                 QStringLiteral("INSERT INTO Plati VALUES (1, 2500000, 12345.67), (2, 15000, 99999.99)")});
    third.exec({QStringLiteral("CREATE TABLE Casa (Id INTEGER PRIMARY KEY, Suma DECIMAL(18,2), Bun INTEGER)"),
                QStringLiteral("INSERT INTO Casa VALUES (1, '12,50', 70000), (2, 30000, 80000)")});
    addSource(QStringLiteral("Firma 2"), second.connString(), QStringLiteral("Plati"),
              {QStringLiteral("Suma"), QStringLiteral("Valoare")});
    addSource(QStringLiteral("Firma 3"), third.connString(), QStringLiteral("Casa"),
              {QStringLiteral("Suma"), QStringLiteral("Lipsa"), QStringLiteral("Bun")});
    addSource(QStringLiteral("Firma 4"), QStringLiteral("Provider=SQLite;Data Source=/nu/exista/firma4.db"),
              QStringLiteral("Conturi"), {QStringLiteral("Sold")});

    struct Seen {
        int status;
        QString report;
        QStringList states;
        QList<db::Variant> amounts;
        QString err;
    };
    const auto convert = [&](const char *jobs) {
        const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--reconnect", "--jobs", jobs,
                                 "--report", reportPath()});
        QList<db::Variant> amounts = user.column(QStringLiteral("Facturi"), QStringLiteral("Suma"))
                                     + user.column(QStringLiteral("Facturi"), QStringLiteral("Tva"))
                                     + second.column(QStringLiteral("Plati"), QStringLiteral("Suma"))
                                     + second.column(QStringLiteral("Plati"), QStringLiteral("Valoare"))
                                     + third.column(QStringLiteral("Casa"), QStringLiteral("Suma"))
                                     + third.column(QStringLiteral("Casa"), QStringLiteral("Bun"));
        return Seen{r.status, reportWithoutTimes(reportPath()), projectStates(), amounts, r.err};
    };
    const Seen sideBySide = convert("4");
    // Every source stands as it would alone: the amounts, exactly.
    EXPECT_EQ(sideBySide.status, 1) << sideBySide.err.toStdString();
    EXPECT_EQ(second.scalar("SELECT Suma FROM Plati WHERE Id = 1").toInt(), 250);
    EXPECT_EQ(second.scalar("SELECT printf('%.2f', Valoare) FROM Plati WHERE Id = 1").toString(), QStringLiteral("1.23"));
    EXPECT_EQ(second.scalar("SELECT printf('%.2f', Valoare) FROM Plati WHERE Id = 2").toString(), QStringLiteral("10.00"));
    EXPECT_EQ(third.scalar("SELECT Bun FROM Casa WHERE Id = 2").toInt(), 8);
    EXPECT_EQ(third.scalar("SELECT Suma FROM Casa WHERE Id = 2").toInt(), 30000);
    EXPECT_TRUE(sideBySide.report.contains(QStringLiteral("\"Firma 3\",\"Casa\",\"Suma\",\"0 inregistrari\",\"Campul "
                                                          "\"Suma\" contine valori care nu sunt numere")))
        << sideBySide.report.toStdString();
    EXPECT_TRUE(sideBySide.err.contains(QStringLiteral("Sursa de date \"Firma 4\" a fost sarita: nu a putut fi "
                                                       "deschisa si a fost marcata Deconectat")))
        << sideBySide.err.toStdString();

    // Back to old lei, one at a time, then the same run with one source at a time.
    const Outcome back = vamor({"--convert", projectPath, "--to", "vechi", "--yes"});
    EXPECT_EQ(back.status, 1) << back.err.toStdString();
    EXPECT_EQ(second.scalar("SELECT printf('%.2f', Valoare) FROM Plati WHERE Id = 1").toString(),
              QStringLiteral("12345.67"));
    const Seen oneAtATime = convert("1");
    EXPECT_EQ(oneAtATime.status, sideBySide.status);
    EXPECT_EQ(oneAtATime.report, sideBySide.report);
    EXPECT_EQ(oneAtATime.states, sideBySide.states);
    EXPECT_EQ(oneAtATime.amounts, sideBySide.amounts);
}

// Ctrl+C stops every source after its current field: each field is all or
// nothing, the project records what the databases hold, the fields left are
// named and the run exits 1. The progress names every source in flight.
TEST_F(JobsCommandLineTest, StopEndsEverySourceAfterItsFieldAndLeavesEachFieldWhole)
{
    SqliteUserDb second;
    const QStringList big{QStringLiteral("CREATE TABLE Mari (Id INTEGER PRIMARY KEY, A INTEGER, B INTEGER, C INTEGER, "
                                         "D INTEGER, E INTEGER)"),
                          QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                                         "200000) INSERT INTO Mari SELECT i, i * 10000, i, i, i, i FROM n")};
    user.exec(big);
    second.exec(big);
    const QStringList columns{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                              QStringLiteral("E")};
    project(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Mari')"));
    for (const QString &name : columns)
        project(QStringLiteral("INSERT INTO tField (IdTable, FieldName) VALUES (2, '%1')").arg(name));
    addSource(QStringLiteral("Firma 2"), second.connString(), QStringLiteral("Mari"), columns);

    std::unique_ptr<QProcess> process = start({"--convert", projectPath, "--to", "noi", "--yes", "--jobs", "2"});
    // Both sources are at their big table: ask to stop.
    // (the two reach it in either order).
    QByteArray seen = waitFor(*process, "| Firma | Tabel 2/2 (Mari) | Camp 1/5 (A)", true);
    if (!seen.contains("| Firma 2 | Tabel 1/1 (Mari) | Camp 1/5 (A)"))
        seen += waitFor(*process, "| Firma 2 | Tabel 1/1 (Mari) | Camp 1/5 (A)", true);
    EXPECT_TRUE(seen.contains("| Firma 2 | Tabel 1/1 (Mari) | Camp 1/5 (A)")) << seen.toStdString();
    ::kill(static_cast<pid_t>(process->processId()), SIGINT);
    const Outcome r = finish(*process, seen);
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Oprire ceruta"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(convertStoppedStatus()));

    int left = 0;
    for (SqliteUserDb *db : {&user, &second}) {
        const QString source = db == &user ? QStringLiteral("Firma") : QStringLiteral("Firma 2");
        for (const QString &name : columns) {
            // All or nothing: every row has its recovery value, or none has.
            const int kept = db->columnNames(QStringLiteral("Mari")).contains(name + QStringLiteral("_VM"))
                                 ? static_cast<int>(db->scalar(QStringLiteral("SELECT Count(%1_VM) FROM Mari").arg(name)).toInt())
                                 : 0;
            EXPECT_TRUE(kept == 0 || kept == 200000) << source.toStdString() << " " << name.toStdString() << " " << kept;
            const bool converted = projectScalar(QStringLiteral("SELECT tField.Converted FROM tField INNER JOIN tTable "
                                                                "ON tField.IdTable = tTable.IdTable INNER JOIN tConn ON "
                                                                "tTable.IdConn = tConn.IdConn WHERE tConn.Description = "
                                                                "'%1' AND tTable.TableName = 'Mari' AND FieldName = '%2'")
                                                     .arg(source, name))
                                       .toBool();
            EXPECT_EQ(converted, kept == 200000) << source.toStdString() << " " << name.toStdString();
            if (kept == 0) {
                ++left;
                EXPECT_TRUE(r.err.contains(QStringLiteral("  %1 / Mari / %2\n").arg(source, name))) << r.err.toStdString();
            }
        }
    }
    EXPECT_GE(left, 2); // the stop came while each source had fields to go
    EXPECT_TRUE(r.err.contains(QRegularExpression(QStringLiteral("Conversia a fost oprita inainte de sfarsit; \\d+ "
                                                                 "campuri nu au fost convertite:"))))
        << r.err.toStdString();
    EXPECT_TRUE(QDir(home.path()).entryList({QStringLiteral("*.source-*")}, QDir::Files).isEmpty());
}

TEST_F(JobsCommandLineTest, JobsTakesACountFromZeroUp)
{
    for (const char *bad : {"-1", "doi", "65"}) {
        const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--jobs", bad});
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_TRUE(r.err.contains(QStringLiteral("Valoare gresita pentru --jobs: ") + QLatin1String(bad))) << bad;
    }
    // One source: converted as before, whatever the count.
    const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--jobs", "0"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);
}

} // namespace
