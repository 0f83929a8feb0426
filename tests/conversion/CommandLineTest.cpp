#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/conversion/CommandLineFixture.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace {

class CommandLineTest : public convtest::CommandLineFixture {
protected:
    QStringList workingCopies() const
    {
        return QDir(home.path()).entryList({QStringLiteral("~*.tmp")}, QDir::Files);
    }

};

TEST_F(CommandLineTest, ConvertsWithYesWritesTheReportSavesTheProjectAndExitsZero)
{
    const QString reportPath = QDir(home.path()).filePath(QStringLiteral("raport.txt"));
    Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--report", reportPath});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Conversie din Lei VECHI in Lei NOI")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 campuri vor fi convertite")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 campuri din 2 convertite cu succes")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("Continuati")));
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);
    EXPECT_EQ(projectScalar("SELECT Count(*) FROM tField WHERE Converted = True").toInt(), 2);
    EXPECT_TRUE(workingCopies().isEmpty());

    QFile report(reportPath);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(report.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("------------------------------\r\n2 campuri din 2 convertite cu succes\r\n")));
    EXPECT_TRUE(text.contains(
        QStringLiteral("\"Firma\",\"Facturi\",\"Suma\",\"1 inregistrari (Sume rotunjite la 0 zecimale)\",\"\"\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Firma\",\"Facturi\",\"Tva\",\"2 inregistrari\",\"\"\r\n")));

    // Run again: nothing left to convert.
    r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("0 campuri vor fi convertite")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("0 campuri din 0 convertite cu succes")));
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);

    // And back.
    r = vamor({"--convert", projectPath, "--to", "vechi", "--yes"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
    EXPECT_EQ(user.scalar("SELECT Tva FROM Facturi WHERE Id = 1").toDouble(), 19000.5);
}

TEST_F(CommandLineTest, AsksBeforeConvertingAndNoInputMeansNo)
{
    Outcome r = vamor({"--convert", projectPath, "--to", "noi"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Continuati? (d/n)")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Conversia nu a fost facuta.")));
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);

    r = vamor({"--convert", projectPath, "--to", "noi"}, "n\n");
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);

    r = vamor({"--convert", projectPath, "--to", "noi"}, "d\n");
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);
    EXPECT_TRUE(workingCopies().isEmpty());
}

// --list converts nothing but refreshes and saves the probed states.
TEST_F(CommandLineTest, ListOnlyListsAndSavesTheRefreshedStates)
{
    project(QStringLiteral("UPDATE tField SET Converted = True"));
    const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--list"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Firma")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 campuri vor fi convertite")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("convertite cu succes")));
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
    EXPECT_EQ(projectScalar("SELECT Count(*) FROM tField WHERE Converted = True").toInt(), 0);
    EXPECT_TRUE(workingCopies().isEmpty());
}

TEST_F(CommandLineTest, FailedFieldOrUnreachableSourceExitsOne)
{
    project(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Lipsa', 'Lipsa_VM')"));
    Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("1 erori de conversie"))) << r.out.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);

    project(QStringLiteral("DELETE FROM tField WHERE FieldName = 'Lipsa'"));
    project(QStringLiteral("UPDATE tConn SET ConnString = 'Provider=SQLite;Data Source=/nu/exista/firma.db'"));
    r = vamor({"--convert", projectPath, "--to", "vechi", "--yes"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Deconectat"))) << r.err.toStdString();
    EXPECT_TRUE(projectScalar("SELECT Offline FROM tConn").toBool());
}

TEST_F(CommandLineTest, WrongArgumentsOrAProjectThatCannotBeOpenedExitTwo)
{
    const struct {
        QStringList args;
        std::string message;
    } cases[] = {
        {{"--convert"}, "Lipseste valoarea optiunii --convert"},
        {{"--convert", projectPath}, "Lipseste directia conversiei"},
        {{"--convert", projectPath, "--to", "euro"}, "Directie necunoscuta: euro"},
        {{"--convert", projectPath, "--to", "noi", "--repede"}, "Optiune necunoscuta: --repede"},
        {{"--list", "--to", "noi"}, "Lipseste proiectul"},
        // Options of the run without --convert: a message, not a window that
        // cannot open without a display.
        {{"--to", "noi", "--yes"}, "Lipseste proiectul"},
        {{"--report", "r.txt"}, "Lipseste proiectul"},
        {{"--to=noi", projectPath}, "Argument neasteptat: " + projectPath.toStdString()},
        {{"--convert=" + projectPath, "--to=euro"}, "Directie necunoscuta: euro"},
        {{"--convert", projectPath, "--to", "noi", "--yes=nu"}, "Optiunea --yes nu primeste o valoare"},
        {{"--convert", QDir(home.path()).filePath("nu-exista.vmd"), "--to", "noi"}, "nu exista"},
        {{"--convert", home.path(), "--to", "noi"}, "este un folder"},
    };
    for (const auto &c : cases) {
        const Outcome r = vamor(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromStdString(c.message))) << r.err.toStdString();
    }

    const QString notAProject = QDir(home.path()).filePath(QStringLiteral("text.vmd"));
    QFile file(notAProject);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("nu este o baza de date");
    file.close();
    Outcome r = vamor({"--convert", notAProject, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nu poate fi deschis"))) << r.err.toStdString();

    project(QStringLiteral("UPDATE tConfig SET Version = '2.0'"));
    r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("versiunea 2.0"))) << r.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
    EXPECT_TRUE(workingCopies().isEmpty());

    r = vamor({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("--convert PROIECT.vmd --to noi|vechi")));
}

// Mistyped, repeated or missing words, and no display at all: one line
// naming the problem, the usage, exit 2; never a window that cannot open.
// The program runs with neither DISPLAY nor QT_QPA_PLATFORM set.
TEST_F(CommandLineTest, BadCommandLinesGetWordsNotACrash)
{
    const struct {
        QStringList args;
        std::string message;
    } cases[] = {
        {{"--covert", projectPath}, "Optiune necunoscuta: --covert"},
        {{"--convert", projectPath, "--to"}, "Lipseste valoarea optiunii --to"},
        {{"--convert", projectPath, "--to", "noi", "--to", "vechi"}, "Optiunea --to este data de doua ori"},
        {{"--convert", projectPath, "--convert", projectPath, "--to", "noi"}, "Optiunea --convert este data de doua ori"},
        {{"--convert", projectPath, "--yes", "--to", "noi", "--yes"}, "Optiunea --yes este data de doua ori"},
        {{}, "are nevoie de un ecran"},
        {{projectPath}, "are nevoie de un ecran"},
    };
    for (const auto &c : cases) {
        const Outcome r = vamor(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromStdString(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("--convert PROIECT.vmd"))) << "the usage, or how to run without windows";
    }
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);

    const Outcome version = vamor({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("Vamor 1."))) << version.out.toStdString();
}

// A run that leaves fields undone says so and exits 1: a data source passed
// over (no connection string, no template for the direction), or a stop.
TEST_F(CommandLineTest, SourcesPassedOverAreNamedAndExitOne)
{
    project(QStringLiteral("INSERT INTO tConn (IdConnType, Description, Offline) VALUES (6, 'Fara Sir', False)"));
    project(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (2, 'Plati')"));
    project(QStringLiteral("INSERT INTO tField (IdTable, FieldName) VALUES (2, 'Suma')"));
    Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Sursa de date \"Fara Sir\" a fost sarita: nu are sir de conectare; "
                                              "1 campuri ale ei nu au fost convertite.")))
        << r.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);

    project(QStringLiteral("DELETE FROM tConn WHERE IdConn = 2"));
    project(QStringLiteral("UPDATE tConnType SET ConvertBackSQL = NULL WHERE IdConnType = 6"));
    r = vamor({"--convert", projectPath, "--to", "vechi", "--yes"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("\"Firma\" a fost sarita: tipul ei nu are sablon de conversie in lei "
                                              "vechi; 2 campuri")))
        << r.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);
}

TEST_F(CommandLineTest, StoppedRunNamesTheFieldsLeftAndExitsOne)
{
    // Enough rows that a field takes a moment, and fields enough that the
    // stop always finds some left.
    QStringList fill{QStringLiteral("CREATE TABLE Mari (Id INTEGER PRIMARY KEY, A INTEGER, B INTEGER, C INTEGER, "
                                    "D INTEGER, E INTEGER)"),
                     QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000) "
                                    "INSERT INTO Mari SELECT i, i * 10000, i, i, i, i FROM n")};
    user.exec(fill);
    project(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Mari')"));
    for (const char *name : {"A", "B", "C", "D", "E"})
        project(QStringLiteral("INSERT INTO tField (IdTable, FieldName) VALUES (2, '%1')").arg(QLatin1String(name)));

    std::unique_ptr<QProcess> process = start({"--convert", projectPath, "--to", "noi", "--yes"});
    // The first field of the big table has begun: ask to stop.
    const QByteArray seen = waitFor(*process, "Camp 1/5 (A)", true);
    ::kill(static_cast<pid_t>(process->processId()), SIGINT);
    const Outcome r = finish(*process, seen);
    const QString text = r.err;
    EXPECT_EQ(r.status, 1) << text.toStdString();
    const int left = projectScalar("SELECT Count(*) FROM tField WHERE Converted = False").toInt();
    EXPECT_GE(left, 1);
    EXPECT_TRUE(text.contains(QStringLiteral("Conversia a fost oprita inainte de sfarsit; %1 campuri nu au fost "
                                             "convertite:").arg(left)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("  Firma / Mari / E\n"))) << text.toStdString();
    EXPECT_TRUE(r.out.contains(convertStoppedStatus()));
}

// Columns that keep fewer decimals than the rounding are named in the list.
TEST_F(CommandLineTest, ListNamesColumnsThatKeepFewerDecimals)
{
    const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--list"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("Firma +Facturi +Suma +Coloana pastreaza doar 0 "
                                                                 "zecimale\n"))))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("Firma +Facturi +Tva\n")))) << r.out.toStdString();
}

// A column the type check refuses is never converted (a text would become 0).
TEST_F(CommandLineTest, TextColumnIsRefusedByTheTypeCheckAndKeptAsItIs)
{
    user.exec({QStringLiteral("ALTER TABLE Facturi ADD Nume TEXT"), QStringLiteral("UPDATE Facturi SET Nume = 'abc'")});
    project(QStringLiteral("INSERT INTO tField (IdTable, FieldName) VALUES (1, 'Nume')"));
    const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"Nume\",\"0 inregistrari\",\"Nu poate fi folosit tipul VarWChar\"")))
        << r.out.toStdString();
    EXPECT_EQ(user.scalar("SELECT Nume FROM Facturi WHERE Id = 1").toString(), QStringLiteral("abc"));
    EXPECT_FALSE(user.columnNames(QStringLiteral("Facturi")).contains(QStringLiteral("Nume_VM")));
}

// A source that cannot be opened says why, is named in every later run and
// in the report, and --reconnect tries it again.
TEST_F(CommandLineTest, OfflineSourcesAreNamedWithTheReasonAndReconnectTriesThemAgain)
{
    const QString good = user.connString();
    project(QStringLiteral("UPDATE tConn SET ConnString = 'Provider=SQLite;Data Source=/nu/exista/firma.db'"));
    Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("\"Firma\" a fost sarita: nu a putut fi deschisa si a fost marcata "
                                              "Deconectat: ")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("/nu/exista/firma.db"))) << r.err.toStdString();

    project(QStringLiteral("UPDATE tConn SET ConnString = '%1'").arg(good));
    r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("\"Firma\" a fost sarita: este marcata Deconectat"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Sursa de date \"Firma\" sarita: este marcata Deconectat")))
        << r.out.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);

    r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--reconnect"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("1 surse de date marcate Deconectat vor fi incercate din nou.")));
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);
    EXPECT_FALSE(projectScalar("SELECT Offline FROM tConn").toBool());
}

// Faults of the project's configuration name the source and exit 1, once.
TEST_F(CommandLineTest, ConfigurationFaultsNameTheSourceAndExitOne)
{
    const struct {
        const char *change;
        const char *message;
    } cases[] = {
        {"UPDATE tConn SET IdConnType = 9", "\"Firma\" a fost sarita: tipul ei (9) nu exista in proiect; 2 campuri"},
        {"UPDATE tConn SET ConnString = NULL", "\"Firma\" a fost sarita: nu are sir de conectare; 2 campuri"},
        {"UPDATE tConnType SET ConvertSQL = '' WHERE IdConnType = 6",
         "\"Firma\" a fost sarita: tipul ei nu are sablon de conversie in lei noi; 2 campuri"},
    };
    const QString good = user.connString();
    for (const auto &c : cases) {
        project(QString::fromLatin1(c.change));
        const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
        EXPECT_EQ(r.status, 1) << c.change;
        EXPECT_EQ(r.err.count(QString::fromLatin1(c.message)), 1) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("inregistrare curenta"))) << r.err.toStdString();
        EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
        project(QStringLiteral("UPDATE tConn SET IdConnType = 6, ConnString = '%1'").arg(good));
        project(QStringLiteral("UPDATE tConnType SET ConvertSQL = (SELECT ConvertSQL FROM tConnType WHERE IdConnType = 1) "
                               "WHERE IdConnType = 6"));
    }
}

} // namespace

namespace {

// The fixture's project made a leva project: the changeover and the
// statement of the leva template.
class LevaCommandLineTest : public convtest::CommandLineFixture {
protected:
    void SetUp() override
    {
        convtest::CommandLineFixture::SetUp();
        db::Connection leva;
        leva.open(QStringLiteral("Provider=SQLite;Mode=Read;Data Source=")
                  + QDir(testsupport::templatesDir()).filePath(QStringLiteral("Vamor BGN-EUR.vmt")));
        db::Recordset rs = leva.openRecordset(QStringLiteral("SELECT ConvertSQL FROM tConnType WHERE IdConnType = 6"));
        const QString statement = rs.value(0).toString();
        project(QStringLiteral("UPDATE tChangeover SET OldName = 'BGN', NewName = 'EUR', OldCode = 'BGN', "
                               "NewCode = 'EUR', Rate = '1.95583', Decimals = 2"));
        project(QStringLiteral("UPDATE tConnType SET ConvertSQL = '%1'").arg(statement));
    }
};

} // namespace

// The project's codes choose the direction; everything printed names leva
// and euro, never lei; an unknown code is a wrong argument.
TEST_F(LevaCommandLineTest, TheCodesChooseTheDirectionAndTheOutputNamesTheCurrencies)
{
    Outcome r = vamor({"--convert", projectPath, "--to", "USD", "--yes"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Directie necunoscuta: USD (se accepta noi sau vechi, EUR sau BGN)")))
        << r.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);

    r = vamor({"--convert", projectPath, "--to", "eur", "--yes"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Conversie din BGN in EUR")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"Suma BGN\",\"Suma EUR\"")));
    EXPECT_FALSE((r.out + r.err).contains(QStringLiteral("lei"), Qt::CaseInsensitive)) << r.out.toStdString();
    // 1 000 000 / 1.95583 = 511291.88…, whole units in an INTEGER column;
    // 19000.5 / 1.95583 = 9714.801…; 250000 / 1.95583 = 127822.970…
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 511292);
    EXPECT_EQ(user.scalar("SELECT Tva FROM Facturi WHERE Id = 1").toString(), QStringLiteral("9714.8"));
    EXPECT_EQ(user.scalar("SELECT Tva FROM Facturi WHERE Id = 2").toString(), QStringLiteral("127822.97"));

    r = vamor({"--convert", projectPath, "--to", "EUR", "--yes"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("0 campuri vor fi convertite")));

    r = vamor({"--convert", projectPath, "--to", "BGN", "--yes"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Conversie din EUR in BGN")));
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
    EXPECT_EQ(user.scalar("SELECT Tva FROM Facturi WHERE Id = 1").toString(), QStringLiteral("19000.5"));
}
