// "vamor --discover": the list as CSV, the adding of the proposed columns,
// and the exit status.
#include "tests/conversion/CommandLineFixture.h"

#include <gtest/gtest.h>

namespace {

class DiscoverCommandTest : public convtest::CommandLineFixture {
protected:
    void SetUp() override
    {
        CommandLineFixture::SetUp();
        user.exec({QStringLiteral("CREATE TABLE Plati (Id INTEGER PRIMARY KEY, Valoare DECIMAL(15,2), NrDoc INTEGER)"),
                   QStringLiteral("INSERT INTO Plati VALUES (1, 1500000, 1001), (2, 250000, 1002), (3, 37500000, 1003)")});
    }
    QString line(const Outcome &r, const QString &start) const
    {
        for (const QString &l : r.out.split(QLatin1Char('\n')))
            if (l.startsWith(start))
                return l;
        return QString();
    }
};

TEST_F(DiscoverCommandTest, ListsEveryNumericColumnWithItsEvidenceAndChangesNothing)
{
    const Outcome r = vamor({"--discover", projectPath});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("\"Sursa Date\",\"Tabel\",\"Camp\",\"Tip\",\"Inregistrari\",\"Completate\","
                                                "\"Minim\",\"Maxim\",\"Exemple\",\"Propus\",\"Stare\",\"Dovezi\"\n")));
    EXPECT_TRUE(line(r, QStringLiteral("\"Firma\",\"Plati\",\"Valoare\",\"DECIMAL(15,2)\",\"3\",\"3\",\"250000\",\"37500000\","
                                       "\"1500000; 250000; 37500000\",\"da\",\"\",\"pentru: tip DECIMAL(15,2), numele contine "
                                       "'valoare'"))
                    .size() > 0)
        << r.out.toStdString();
    EXPECT_TRUE(line(r, QStringLiteral("\"Firma\",\"Plati\",\"NrDoc\"")).contains(QStringLiteral("\"nu\",\"\",")));
    EXPECT_TRUE(line(r, QStringLiteral("\"Firma\",\"Plati\",\"Id\"")).contains(QStringLiteral("cheie primara")));
    EXPECT_TRUE(line(r, QStringLiteral("\"Firma\",\"Facturi\",\"Suma\"")).contains(QStringLiteral("\"nu\",\"in proiect\"")));
    EXPECT_EQ(projectScalar(QStringLiteral("SELECT Count(*) FROM tTable")).toInt(), 1);
}

TEST_F(DiscoverCommandTest, AddPutsTheProposedColumnsInTheProjectOnce)
{
    Outcome r = vamor({"--discover", projectPath, "--add"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Adaugate in proiect: 1 tabele, 1 campuri."))) << r.err.toStdString();
    EXPECT_EQ(projectScalar(QStringLiteral("SELECT RecFieldName FROM tField INNER JOIN tTable ON tField.IdTable = "
                                           "tTable.IdTable WHERE TableName = 'Plati' AND FieldName = 'Valoare'"))
                  .toString(),
              QStringLiteral("Valoare_VM"));
    r = vamor({"--discover", projectPath, "--source", "firma", "--add"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Adaugate in proiect: 0 tabele, 0 campuri."))) << r.err.toStdString();
    EXPECT_TRUE(line(r, QStringLiteral("\"Firma\",\"Plati\",\"Valoare\"")).contains(QStringLiteral("\"nu\",\"in proiect\"")));
    EXPECT_EQ(projectScalar(QStringLiteral("SELECT Count(*) FROM tField")).toInt(), 3);
}

TEST_F(DiscoverCommandTest, UnreadableSourcesExitOneAndBadArgumentsTwo)
{
    project(QStringLiteral("INSERT INTO tConn (IdConnType, Description, ConnString, Offline) VALUES (6, 'Lipsa', "
                           "'Provider=SQLite;Data Source=/nu/exista/lipsa.db', False)"));
    Outcome r = vamor({"--discover", projectPath});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Sursa de date \"Lipsa\" nu a putut fi citita: "))) << r.err.toStdString();
    EXPECT_FALSE(line(r, QStringLiteral("\"Firma\",\"Plati\",\"Valoare\"")).isEmpty());

    const struct {
        QStringList args;
        const char *message;
    } bad[] = {
        {{"--discover"}, "Lipseste valoarea optiunii --discover."},
        {{"--discover", projectPath, "--source", "Nimic"}, "Proiectul nu are sursa de date \"Nimic\"."},
        {{"--discover", projectPath, "--toate"}, "Optiune necunoscuta: --toate"},
        {{"--discover", projectPath, "--add", "--add"}, "Optiunea --add este data de doua ori."},
    };
    for (const auto &c : bad) {
        r = vamor(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
    }
}

} // namespace
