// The history of the runs: recorded as each run goes, kept in the project,
// printed by --history; a run killed midway shows as interrupted.
#include "tests/conversion/CommandLineFixture.h"
#include "tests/conversion/ConversionTestSupport.h"

#include <QDir>
#include <QFile>

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace {

class HistoryCommandLineTest : public convtest::CommandLineFixture {};

TEST_F(HistoryCommandLineTest, RunsStopsAndKilledRunsAreRecordedWithTheirFieldsAndTotals)
{
    // A project of the earlier schema has no history tables.
    EXPECT_EQ(projectScalar(QStringLiteral("SELECT Count(*) FROM sqlite_master WHERE name = 'tRun'")).toInt(), 0);
    Outcome r = vamor({"--history", projectPath});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Proiectul nu are nicio conversie inregistrata.")));

    ASSERT_EQ(vamor({"--convert", projectPath, "--to", "noi", "--yes"}).status, 0);
    ASSERT_EQ(vamor({"--convert", projectPath, "--to", "vechi", "--yes", "--no-totals"}).status, 0);
    // The earlier schema's own queries still run on the project.
    EXPECT_EQ(projectScalar(QStringLiteral("SELECT Count(*) FROM tField WHERE Converted = False")).toInt(), 2);

    // A run stopped by Ctrl+C and a run killed midway, each over a big table.
    user.exec({QStringLiteral("CREATE TABLE Mari (Id INTEGER PRIMARY KEY, A INTEGER, B INTEGER, C INTEGER)"),
               QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300000) "
                              "INSERT INTO Mari SELECT i, i * 10000, i, i FROM n")});
    project(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Mari')"));
    for (const char *name : {"A", "B", "C"})
        project(QStringLiteral("INSERT INTO tField (IdTable, FieldName) VALUES (2, '%1')").arg(QLatin1String(name)));
    std::unique_ptr<QProcess> stopped = start({"--convert", projectPath, "--to", "noi", "--yes"});
    QByteArray seen = waitFor(*stopped, "Camp 1/3 (A)", true);
    ::kill(static_cast<pid_t>(stopped->processId()), SIGINT);
    EXPECT_EQ(finish(*stopped, seen).status, 1);
    std::unique_ptr<QProcess> killed = start({"--convert", projectPath, "--to", "vechi", "--yes"});
    seen = waitFor(*killed, "Camp 1/3 (A)", true);
    ::kill(static_cast<pid_t>(killed->processId()), SIGKILL);
    finish(*killed, seen);

    r = vamor({"--history", projectPath});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList runs = r.out.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^Conversia \\d+: ")));
    ASSERT_EQ(runs.size(), 4) << r.out.toStdString();
    EXPECT_TRUE(runs.at(0).contains(QStringLiteral("ROL -> RON, 2 campuri convertite, 0 esuate, terminata")));
    EXPECT_TRUE(runs.at(1).contains(QStringLiteral("RON -> ROL, 2 campuri convertite, 0 esuate, terminata (--no-totals)")));
    EXPECT_TRUE(runs.at(2).contains(QStringLiteral("oprita de utilizator")));
    EXPECT_TRUE(runs.at(3).contains(QStringLiteral(", intrerupta"))) << runs.at(3).toStdString();
    // The fields with their control totals, as the databases summed them.
    EXPECT_TRUE(r.out.contains(QStringLiteral("  Firma / Facturi / Suma: 1 inregistrari, Sume rotunjite la 0 zecimale; totaluri: "
                                              "vechi 1000000, noi 100, asteptat 100")))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("  Firma / Facturi / Tva: 2 inregistrari; totaluri: vechi 269000.50, noi 26.90")))
        << r.out.toStdString();

    r = vamor({"--history", projectPath, "--csv"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral(",\"Firma\",\"Facturi\",\"Tva\",\"2\",\"noi\",\"vechi\",\"\",")))
        << r.out.toStdString();
    EXPECT_EQ(vamor({"--history"}).status, 2);
    EXPECT_EQ(vamor({"--history", projectPath, "--pdf"}).status, 2);
}

// The report as a PDF: the project, the direction, the fields with their
// state and the control totals per field, data source and run, page numbers
// and the signature line; the history names the field's condition and the
// run's totals. Sums: Suma 1,000,000 old lei (one row); Tva 19,000.50 +
// 250,000 = 269,000.50 old lei, 1.90 + 25.00 = 26.90 new lei against
// 26.90005 expected.
TEST_F(HistoryCommandLineTest, PdfReportHoldsTheFieldsAndTheControlTotals)
{
    project(QStringLiteral("UPDATE tField SET SQLWhere = 'Id > 0' WHERE FieldName = 'Tva'"));
    const QString pdf = QDir(QFileInfo(projectPath).absolutePath()).filePath(QStringLiteral("raport.pdf"));
    Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--report", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QString text = convtest::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Raport conversie: Conversie din Lei VECHI in Lei NOI"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Proiect: ") + projectPath)) << text.left(400).toStdString() << projectPath.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Trecerea: ROL -> RON (1 RON = 10000 ROL)")));
    EXPECT_TRUE(text.contains(QStringLiteral("2 campuri din 2 convertite cu succes")));
    EXPECT_EQ(convtest::linesWith(text, {"Firma", "Facturi", "Suma", "1", "convertit in RON", "Sume rotunjite la 0"}).size(), 1)
        << text.toStdString();
    EXPECT_EQ(convtest::linesWith(text, {"Firma", "Facturi", "Tva", "2", "convertit in RON"}).size(), 1);
    EXPECT_EQ(convtest::linesWith(text, {"Tva", "2", "269000.50", "26.90", "26.900050", "-0.000050"}).size(), 1);
    EXPECT_EQ(convtest::linesWith(text, {"Firma", "3", "1269000.50", "126.90", "126.900050", "-0.000050",
                                         "Total sursa de date"})
                  .size(),
              1);
    EXPECT_EQ(convtest::linesWith(text, {"Total", "3", "1269000.50", "126.90", "126.900050", "-0.000050",
                                         "Total conversie"})
                  .size(),
              1);
    EXPECT_TRUE(text.contains(QStringLiteral("Semnatura:")));
    EXPECT_TRUE(text.contains(QStringLiteral("Pagina 1 din 1")));

    // Back, into a file named in capitals: the restored sums equal the old ones.
    const QString back = QDir(QFileInfo(projectPath).absolutePath()).filePath(QStringLiteral("INAPOI.PDF"));
    r = vamor({"--convert", projectPath, "--to", "vechi", "--yes", "--report", back});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    text = convtest::pdfText(back);
    EXPECT_EQ(convtest::linesWith(text, {"Tva", "2", "269000.50", "269000.50", "egal"}).size(), 1) << text.toStdString();
    EXPECT_EQ(convtest::linesWith(text, {"Firma", "Facturi", "Tva", "convertit in ROL"}).size(), 1);

    // A PDF this program wrote is replaced by the next report; another
    // program's PDF is not.
    r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--report", back});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(convtest::pdfText(back).contains(QStringLiteral("Conversie din Lei VECHI in Lei NOI")));
    const QString foreign = QDir(QFileInfo(projectPath).absolutePath()).filePath(QStringLiteral("factura.pdf"));
    {
        QFile file(foreign);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n1 0 obj\n<<\n/Creator (Alt program)\n>>\nendobj\n");
    }
    r = vamor({"--convert", projectPath, "--to", "vechi", "--yes", "--report", foreign});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("exista si nu este un raport scris de Vamor"))) << r.err.toStdString();
    ASSERT_EQ(vamor({"--convert", projectPath, "--to", "vechi", "--yes"}).status, 0);

    // Taking a field out of the project leaves its lines in the history.
    project(QStringLiteral("DELETE FROM tField WHERE FieldName = 'Tva'"));
    r = vamor({"--history", projectPath});
    EXPECT_TRUE(r.out.contains(QStringLiteral("terminata; totaluri: vechi 1269000.50, noi 126.90, asteptat 126.900050, "
                                              "diferenta -0.000050")))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("  Firma / Facturi / Tva: 2 inregistrari (WHERE Id > 0); totaluri:")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("terminata; totaluri: vechi 1269000.50, restaurat 1269000.50")));
    r = vamor({"--history", projectPath, "--csv"});
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"26.90\",\"26.900050\",\"-0.000050\",\"\",\"Id > 0\",\"\"\n")))
        << r.out.toStdString();
}

} // namespace
