// Pictures of the three conversion windows, for looking at them under a real
// X server (xvfb-run): ConversionShots OUTPUT_DIR
#include "tests/support/Shots.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "util/core/Language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>

using shots::Host;
using shots::shoot;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    language::installChosen(); // VAMOR_LANG=en or bg for the translated windows
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString templates = qEnvironmentVariable("VAMOR_TEMPLATES");
    QTemporaryDir dir;
    const QString userDb = QDir(dir.path()).filePath(QStringLiteral("firma.db"));
    const QString projectDb = QDir(dir.path()).filePath(QStringLiteral("p.vmd"));
    QFile::copy(QDir(templates).filePath(QStringLiteral("Vamor.vmt")), projectDb);
    QFile::setPermissions(projectDb, QFile::ReadOwner | QFile::WriteOwner);
    { QFile f(userDb); f.open(QIODevice::WriteOnly); }
    {
        db::Connection user;
        user.open(QStringLiteral("Provider=SQLite;Data Source=") + userDb);
        user.execute(QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Valoare DECIMAL(18,2), TVA DECIMAL(18,2), Total INTEGER)"));
        user.execute(QStringLiteral("INSERT INTO Facturi VALUES (1, 12500000, 2375000, 14875000)"));
        user.execute(QStringLiteral("CREATE TABLE Salarii (Id INTEGER PRIMARY KEY, Brut INTEGER, Net DOUBLE)"));
        user.execute(QStringLiteral("INSERT INTO Salarii VALUES (1, 15000000, 10836000.75)"));
    }
    Host host;
    host.conn.open(QStringLiteral("Provider=SQLite;Data Source=") + projectDb);
    setProjectHost(&host);
    host.conn.execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description, ConnString, Offline) VALUES (6, 'Contabilitate', 'Provider=SQLite;Data Source=%1', False)").arg(userDb));
    host.conn.execute(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Facturi'), (1, 'Salarii')"));
    host.conn.execute(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Valoare', 'Valoare_VM'), (1, 'TVA', 'TVA_VM'), (1, 'Total', 'Total_VM'), (2, 'Brut', 'Brut_VM'), (2, 'Net', 'Net_VM')"));

    frmConvertStart start;
    start.ToLeiNoi = true;
    start.Load();
    while (start.listing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    shoot(start, QDir(out).filePath(QStringLiteral("frmConvertStart.png")));

    frmProgress progress;
    progress.InitProgress1(3, QStringLiteral("Sursa de Date"));
    progress.Progress1(0, QStringLiteral("Sursa de Date 2/3 (Contabilitate)"));
    progress.Progress1(0, QString());
    progress.InitProgress2(4, QStringLiteral("Tabel"));
    progress.Progress2(0, QStringLiteral("Tabel 1/4 (Facturi)"));
    progress.InitProgress3(3, QStringLiteral("Camp"));
    progress.Progress3(0, QStringLiteral("Camp 1/3 (Valoare)"));
    progress.Progress3(0, QStringLiteral("Camp 2/3 (TVA)"));
    shoot(progress, QDir(out).filePath(QStringLiteral("frmProgress.png")));

    frmConvertEnd report;
    report.ToLeiNoi = true;
    report.ConvertStart();
    report.Load();
    report.AddField(QStringLiteral("Contabilitate"), QStringLiteral("Facturi"), QStringLiteral("Valoare"), 1250, QString());
    report.AddField(QStringLiteral("Contabilitate"), QStringLiteral("Facturi"), QStringLiteral("TVA"), 1250, QString());
    report.AddField(QStringLiteral("Contabilitate"), QStringLiteral("Facturi"), QStringLiteral("Total"), 1250, QString(),
                    QStringLiteral("Sume rotunjite la 0 zecimale"));
    report.AddField(QStringLiteral("Contabilitate"), QStringLiteral("Salarii"), QStringLiteral("Net"), 0,
                    QStringLiteral("nu exista coloana: Net"));
    report.AddSourceSkipped(QStringLiteral("Arhiva 2004"), QStringLiteral("nu are sir de conectare"), 4);
    report.ConvertEnd(QStringLiteral("Conversie intrerupta de utilizator"));
    shoot(report, QDir(out).filePath(QStringLiteral("frmConvertEnd.png")));

    // The same kind of run with control totals, on their page.
    frmConvertEnd totals;
    totals.ToLeiNoi = true;
    totals.ConvertStart();
    totals.Load();
    const auto addTotals = [&totals](const char *source, const char *table, const char *field, const char *rows,
                                     const char *oldSum, const char *newSum, const char *expected, const char *difference,
                                     bool approximate = false) {
        totals.AddField(QString::fromLatin1(source), QString::fromLatin1(table), QString::fromLatin1(field),
                        QString::fromLatin1(rows).toInt(), QString());
        conversion::FieldTotals t;
        t.rows = QString::fromLatin1(rows);
        t.oldSum = QString::fromLatin1(oldSum);
        t.newSum = QString::fromLatin1(newSum);
        t.expectedSum = QString::fromLatin1(expected);
        t.difference = QString::fromLatin1(difference);
        t.approximate = approximate;
        totals.AddFieldTotals(t);
    };
    addTotals("Contabilitate", "Facturi", "Valoare", "1250", "15624987500.00", "1562498.73", "1562498.750000", "-0.020000");
    addTotals("Contabilitate", "Facturi", "TVA", "1250", "2968747625.50", "296874.76", "296874.762550", "-0.002550");
    addTotals("Contabilitate", "Salarii", "Net", "12", "130032009.00", "13003.20", "13003.2009", "-0.0009", true);
    addTotals("Arhiva 2004", "Plati", "Suma", "3", "24949.50", "2.49", "2.494950", "-0.004950");
    totals.ConvertEnd(QString());
    totals.tabs()->setCurrentIndex(1);
    totals.resize(980, 420);
    shoot(totals, QDir(out).filePath(QStringLiteral("frmConvertEnd_totals.png")));
    setProjectHost(nullptr);
    return 0;
}
