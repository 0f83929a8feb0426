// The command line's lock timeout: --lock-timeout SECONDS goes over what the
// data sources' strings say for the run, so a table another program keeps
// locked fails its fields after that wait and the run ends.
#include "data/db/Connection.h"
#include "tests/conversion/CommandLineFixture.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

class WaitCommandLineTest : public convtest::CommandLineFixture {};

TEST_F(WaitCommandLineTest, LockTimeoutOfTheCommandLineEndsTheWaitForALockedTable)
{
    // Another program writes to the user's file and has not committed.
    db::Connection other;
    other.open(user.connString());
    other.beginTrans();
    other.execute(QStringLiteral("INSERT INTO Facturi VALUES (3, 5, 5)"));

    QElapsedTimer clock;
    clock.start();
    Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--lock-timeout", "1"});
    // Each field would wait the default 30 s.
    EXPECT_LT(clock.elapsed(), 25000);
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    for (const char *field : {"Suma", "Tva"}) {
        const QString row = QStringLiteral("\"Firma\",\"Facturi\",\"%1\",\"0 inregistrari\",\"Tabelul \"Facturi\" este "
                                           "blocat de alt program; timpul de asteptare (1 s) a expirat (")
                                .arg(QLatin1String(field));
        EXPECT_TRUE(r.out.contains(row)) << field << "\n" << r.out.toStdString();
    }
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);

    other.rollbackTrans();
    other.close();
    r = vamor({"--convert", projectPath, "--to", "noi", "--yes"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 100);
}

TEST_F(WaitCommandLineTest, LockTimeoutIsZeroToSixHundredSecondsAndHelpNamesIt)
{
    const Outcome help = vamor({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("[--lock-timeout SECUNDE]"))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("  --lock-timeout S\n"))) << help.out.toStdString();

    for (const char *bad : {"abc", "-3", "601"}) {
        const Outcome r = vamor({"--convert", projectPath, "--to", "noi", "--yes", "--lock-timeout", bad});
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("Valoare gresita pentru --lock-timeout: ") + QLatin1String(bad)))
            << r.err.toStdString();
    }
    const Outcome missing = vamor({"--convert", projectPath, "--to", "noi", "--lock-timeout"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.startsWith(QStringLiteral("Lipseste valoarea optiunii --lock-timeout."))) << missing.err.toStdString();
    EXPECT_EQ(user.scalar("SELECT Suma FROM Facturi WHERE Id = 1").toInt(), 1000000);
}

} // namespace
