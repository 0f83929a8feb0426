// Folders of dBase and Visual FoxPro tables written by python3-dbf, converted
// to new lei and back by the conversion engine through the project template.
#include "conversion/ConversionEngine.h"
#include "conversion/ReportLog.h"
#include "data/db/dbf/DbfFile.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/ProjectFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>

using conversion::ConversionEngine;
using conversion::ReportLog;
using testsupport::ProjectFixture;

namespace {

QByteArray python(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(VAMOR_DBF_SCRIPT)} + args);
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QByteArray();
    return p.readAllStandardOutput();
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A column of a table as the provider's own reader gives it.
QStringList values(const QString &path, const QString &column)
{
    const db::DbfTable t = db::DbfTable::read(path);
    QStringList out;
    const int c = t.columnIndex(column);
    for (int r = 0; r < t.recordCount(); ++r)
        out << (c < 0 ? QStringLiteral("<none>") : t.value(r, c).isNull() ? QStringLiteral("<null>") : t.value(r, c).toString());
    return out;
}

struct RunOutcome {
    ConversionEngine::Result result;
    ReportLog report;
};

class DbfConversion : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(project.ok());
        python({QStringLiteral("make"), dir.path()});
        if (!QFile::exists(path(QStringLiteral("plati.dbf"))))
            GTEST_SKIP() << "python3-dbf is missing";
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    int source(int type, const QString &folder)
    {
        const int id = project.addConn(type, QStringLiteral("Contabilitate %1").arg(type));
        project.Conn().execute(QStringLiteral("UPDATE tConn SET DataSource = '%1' WHERE IdConn = %2").arg(folder).arg(id));
        return id;
    }

    RunOutcome run(bool leiNoi)
    {
        RunOutcome out;
        convtest::RecordingProgress progress;
        out.report.ConvertStart();
        ConversionEngine engine(project.Conn(), progress, out.report);
        out.result = engine.run(leiNoi);
        out.report.ConvertEnd(QString());
        return out;
    }

    QString errorOf(const RunOutcome &r, const QString &table, const QString &field)
    {
        for (const auto &row : r.report.rows())
            if (row.tableName == table && row.fieldName == field)
                return row.error;
        return QStringLiteral("<no row>");
    }

    QTemporaryDir dir;
    ProjectFixture project{QString::fromLatin1(GetParam())};
};

} // namespace

// Every amount of dBase III and Visual FoxPro tables goes to new lei rounded
// once and comes back exactly; python3-dbf reads the same records, deleted
// flags and memo texts after the round trip.
TEST_P(DbfConversion, ConvertsToNewLeiAndBackExactly)
{
    const bool four = QString::fromLatin1(GetParam()).contains(QLatin1String("4"));
    const QByteArray facturiBefore = python({QStringLiteral("dump"), path("facturi.dbf")});
    const QByteArray platiBefore = python({QStringLiteral("dump"), path("plati.dbf")});
    const QByteArray memos[2] = {bytesOf(path("facturi.dbt")), bytesOf(path("plati.fpt"))};

    const int facturi = project.addTable(source(5, dir.path()), QStringLiteral("facturi.dbf"));
    project.addField(facturi, QStringLiteral("Suma"));
    project.addField(facturi, QStringLiteral("Cant"));
    const int plati = project.addTable(source(4, dir.path()), QStringLiteral("PLATI"));
    for (const char *f : {"Val", "Suma", "Nr", "Curs"})
        project.addField(plati, QString::fromLatin1(f));

    RunOutcome forward = run(true);
    EXPECT_FALSE(forward.result.failed) << forward.result.errorDescription.toStdString();
    ASSERT_EQ(forward.report.rows().size(), 6);
    for (const auto &row : forward.report.rows())
        EXPECT_EQ(row.error, QString()) << row.tableName.toStdString() << "." << row.fieldName.toStdString();

    // Expected values worked out by hand: old / 10000, halves away from zero.
    EXPECT_EQ(values(path("facturi.dbf"), QStringLiteral("Suma")),
              (QStringList{"1.49", "-1.49", "123456789.01", "<null>", "0.01"}));
    EXPECT_EQ(values(path("facturi.dbf"), QStringLiteral("Suma_VM")),
              (QStringList{"14949.50", "-14949.50", "1234567890123.45", "<null>", "50.00"}));
    EXPECT_EQ(values(path("facturi.dbf"), QStringLiteral("Cant")), (QStringList{"0", "2", "0", "<null>", "15000"}));
    const QStringList val = four ? QStringList{"14949.5000", "-92233720.3685", "<null>", "1.0000"}
                                 : QStringList{"14949.5000", "-92233720.3700", "<null>", "1.0000"};
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Val")), val);
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Val_VM")),
              (QStringList{"149495000.1234", "-922337203685.4775", "<null>", "10000.0000"}));
    const QStringList suma = four ? QStringList{"1.4950", "0.0000", "<null>", "10.0000"}
                                  : QStringList{"1.4900", "0.0000", "<null>", "10.0000"};
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Suma")), suma);
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Nr")), (QStringList{"2", "-3", "<null>", "0"}));
    EXPECT_TRUE(db::DbfTable::read(path("facturi.dbf")).isDeleted(4));

    EXPECT_TRUE(run(true).report.rows().isEmpty()) << "a second run converts nothing";

    RunOutcome back = run(false);
    ASSERT_EQ(back.report.rows().size(), 6);
    for (const auto &row : back.report.rows())
        EXPECT_EQ(row.error, QString()) << row.tableName.toStdString() << "." << row.fieldName.toStdString();

    // Every amount where it started, read by an independent implementation.
    const auto withoutRecovery = [](const QByteArray &json) {
        QJsonObject o = QJsonDocument::fromJson(json).object();
        return o;
    };
    const QJsonObject facturiAfter = withoutRecovery(python({QStringLiteral("dump"), path("facturi.dbf")}));
    const QJsonObject platiAfter = withoutRecovery(python({QStringLiteral("dump"), path("plati.dbf")}));
    const auto project = [](const QJsonObject &dumped, int columns) {
        QJsonArray out;
        for (const auto &rec : dumped.value(QStringLiteral("records")).toArray()) {
            QJsonObject o = rec.toObject();
            QJsonArray v = o.value(QStringLiteral("values")).toArray();
            while (v.size() > columns)
                v.removeLast();
            o.insert(QStringLiteral("values"), v);
            out.append(o);
        }
        return out;
    };
    EXPECT_EQ(QString::fromUtf8(QJsonDocument(project(facturiAfter, 6)).toJson(QJsonDocument::Compact)), QString::fromUtf8(QJsonDocument(project(QJsonDocument::fromJson(facturiBefore).object(), 6)).toJson(QJsonDocument::Compact)));
    EXPECT_EQ(QString::fromUtf8(QJsonDocument(project(platiAfter, 7)).toJson(QJsonDocument::Compact)), QString::fromUtf8(QJsonDocument(project(QJsonDocument::fromJson(platiBefore).object(), 7)).toJson(QJsonDocument::Compact)));
    EXPECT_EQ(values(path("facturi.dbf"), QStringLiteral("Suma")),
              (QStringList{"14949.50", "-14949.50", "1234567890123.45", "<null>", "50.00"}));
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Val")),
              (QStringList{"149495000.1234", "-922337203685.4775", "<null>", "10000.0000"}));
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Val_VM")), (QStringList{"<null>", "<null>", "<null>", "<null>"}));
    EXPECT_EQ(bytesOf(path("facturi.dbt")), memos[0]);
    EXPECT_EQ(bytesOf(path("plati.fpt")), memos[1]);
}

// Each fault gives its own message in the report, and no file changes.
TEST_P(DbfConversion, FaultsAreReportedAndChangeNoFile)
{
    QFile cdx(path("plati.cdx"));
    ASSERT_TRUE(cdx.open(QIODevice::WriteOnly));
    cdx.write(QByteArray(512, '\0') + "STR(VAL,20,4)" + QByteArray(64, '\0'));
    cdx.close();
    {
        QFile junk(path("stricat.dbf"));
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("nu este un tabel");
    }
    QDir(dir.path()).mkdir(QStringLiteral("doar citire"));
    QDir(dir.path()).mkdir(QStringLiteral("alt"));
    ASSERT_TRUE(QFile::copy(path("facturi.dbf"), path("alt/facturi.dbf")));
    ASSERT_TRUE(QFile::copy(path("facturi.dbt"), path("alt/facturi.dbt")));
    ASSERT_TRUE(QFile::setPermissions(path("alt/facturi.dbf"), QFileDevice::ReadOwner));

    const QStringList files{"facturi.dbf", "plati.dbf", "stricat.dbf", "alt/facturi.dbf"};
    QList<QByteArray> before;
    for (const auto &f : files)
        before << bytesOf(path(f));

    const int conn = source(3, dir.path());
    project.addField(project.addTable(conn, QStringLiteral("plati.dbf")), QStringLiteral("Val"));
    project.addField(project.addTable(conn, QStringLiteral("facturi.dbf")), QStringLiteral("Nume"));
    project.addField(project.addTable(conn, QStringLiteral("facturi.dbf")), QStringLiteral("Data"));
    project.addField(project.addTable(conn, QStringLiteral("stricat.dbf")), QStringLiteral("Suma"));
    project.addField(project.addTable(source(3, path("alt")), QStringLiteral("facturi.dbf")), QStringLiteral("Suma"));
    project.addField(project.addTable(source(5, path("lipsa")), QStringLiteral("facturi.dbf")), QStringLiteral("Suma"));

    RunOutcome r = run(true);
    EXPECT_TRUE(errorOf(r, QStringLiteral("plati.dbf"), QStringLiteral("Val")).contains(QStringLiteral("plati.cdx poate folosi coloana")))
        << errorOf(r, QStringLiteral("plati.dbf"), QStringLiteral("Val")).toStdString();
    EXPECT_EQ(errorOf(r, QStringLiteral("facturi.dbf"), QStringLiteral("Nume")), QStringLiteral("Nu poate fi folosit tipul Char"));
    EXPECT_EQ(errorOf(r, QStringLiteral("facturi.dbf"), QStringLiteral("Data")), QStringLiteral("Nu poate fi folosit tipul Date"));
    EXPECT_TRUE(errorOf(r, QStringLiteral("stricat.dbf"), QStringLiteral("Suma")).contains(QStringLiteral("nu este un tabel DBF")))
        << errorOf(r, QStringLiteral("stricat.dbf"), QStringLiteral("Suma")).toStdString();
    bool readOnlyReported = false;
    for (const auto &row : r.report.rows())
        readOnlyReported = readOnlyReported || row.error.contains(QStringLiteral("poate fi doar citit"));
    EXPECT_TRUE(readOnlyReported);
    for (int i = 0; i < files.size(); ++i)
        EXPECT_EQ(bytesOf(path(files.at(i))), before.at(i)) << files.at(i).toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("lipsa")));
}

// A table another program holds (a Clipper record lock): its fields fail with
// a message that names the program, the other table converts, the held file
// stays as it was; once the program has let go, a run converts it.
TEST_P(DbfConversion, AHeldTableFailsItsFieldsAndTheOthersConvert)
{
    const bool four = QString::fromLatin1(GetParam()).contains(QLatin1String("4"));
    const int conn = project.addConn(6, QStringLiteral("Contabilitate"),
                                     QStringLiteral("Provider=DBF;LockTimeout=0.2;Data Source=") + dir.path());
    project.addField(project.addTable(conn, QStringLiteral("facturi.dbf")), QStringLiteral("Suma"));
    const int plati = project.addTable(conn, QStringLiteral("plati.dbf"));
    project.addField(plati, QStringLiteral("Val"));
    project.addField(plati, QStringLiteral("Suma"));
    const QByteArray platiBefore = bytesOf(path("plati.dbf"));
    const QByteArray memo = bytesOf(path("plati.fpt"));

    auto holder = std::make_unique<QProcess>();
    holder->start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral(VAMOR_DBF_HOLDER), path("plati.dbf"), QStringLiteral("clipper")});
    QByteArray seen;
    while (!seen.contains("gata") && holder->waitForReadyRead(10000))
        seen += holder->readAllStandardOutput();
    ASSERT_TRUE(seen.contains("gata")) << holder->readAllStandardError().toStdString();

    RunOutcome held = run(true);
    const QString message = QStringLiteral("Tabelul \"plati.dbf\" este blocat de alt program (procesul %1, python3); "
                                           "inchideti programul si reluati conversia.")
                                .arg(holder->processId());
    EXPECT_EQ(errorOf(held, QStringLiteral("plati.dbf"), QStringLiteral("Val")), message);
    EXPECT_EQ(errorOf(held, QStringLiteral("plati.dbf"), QStringLiteral("Suma")), message);
    EXPECT_EQ(errorOf(held, QStringLiteral("facturi.dbf"), QStringLiteral("Suma")), QString());
    EXPECT_EQ(values(path("facturi.dbf"), QStringLiteral("Suma")),
              (QStringList{"1.49", "-1.49", "123456789.01", "<null>", "0.01"}));
    EXPECT_EQ(values(path("facturi.dbf"), QStringLiteral("Suma_VM")),
              (QStringList{"14949.50", "-14949.50", "1234567890123.45", "<null>", "50.00"}));
    EXPECT_EQ(bytesOf(path("plati.dbf")), platiBefore);
    EXPECT_EQ(bytesOf(path("plati.fpt")), memo);

    holder->closeWriteChannel();
    ASSERT_TRUE(holder->waitForFinished(10000));
    RunOutcome freed = run(true);
    EXPECT_EQ(errorOf(freed, QStringLiteral("plati.dbf"), QStringLiteral("Val")), QString());
    EXPECT_EQ(errorOf(freed, QStringLiteral("plati.dbf"), QStringLiteral("Suma")), QString());
    const QStringList val = four ? QStringList{"14949.5000", "-92233720.3685", "<null>", "1.0000"}
                                 : QStringList{"14949.5000", "-92233720.3700", "<null>", "1.0000"};
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Val")), val);
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Suma_VM")),
              (QStringList{"14949.5000", "-0.0050", "<null>", "99999.9999"}));
    EXPECT_EQ(bytesOf(path("plati.fpt")), memo);
}

// A Clipper index named unlike any table (PLSUMA.NTX) whose key uses SUMA:
// SUMA fails in both tables before anything of it changes, the index file
// named; the columns no index uses convert.
TEST_P(DbfConversion, AnIndexFileNamedUnlikeItsTableFailsTheColumnsItUses)
{
    QByteArray ntx(2048, '\0');
    ntx[0] = 0x06;
    const QByteArray key("STR(SUMA,12,2)+NR");
    ntx.replace(22, key.size(), key);
    {
        QFile index(path("PLSUMA.NTX"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write(ntx);
    }
    const int conn = source(3, dir.path());
    const int facturi = project.addTable(conn, QStringLiteral("facturi.dbf"));
    project.addField(facturi, QStringLiteral("Suma"));
    project.addField(facturi, QStringLiteral("Cant"));
    const int plati = project.addTable(conn, QStringLiteral("plati.dbf"));
    project.addField(plati, QStringLiteral("Suma"));
    project.addField(plati, QStringLiteral("Val"));
    const QStringList facturiSums = values(path("facturi.dbf"), QStringLiteral("Suma"));
    const QStringList platiSums = values(path("plati.dbf"), QStringLiteral("Suma"));

    RunOutcome r = run(true);
    for (const QString &table : {QStringLiteral("facturi.dbf"), QStringLiteral("plati.dbf")}) {
        const QString error = errorOf(r, table, QStringLiteral("Suma"));
        EXPECT_TRUE(error.contains(QStringLiteral("Fisierul de index PLSUMA.NTX poate folosi coloana SUMA")))
            << table.toStdString() << ": " << error.toStdString();
    }
    EXPECT_EQ(errorOf(r, QStringLiteral("facturi.dbf"), QStringLiteral("Cant")), QString());
    EXPECT_EQ(errorOf(r, QStringLiteral("plati.dbf"), QStringLiteral("Val")), QString());
    EXPECT_EQ(values(path("facturi.dbf"), QStringLiteral("Suma")), facturiSums);
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Suma")), platiSums);
    EXPECT_EQ(values(path("facturi.dbf"), QStringLiteral("Suma_VM")), QStringList(5, QStringLiteral("<none>")));
    EXPECT_EQ(values(path("facturi.dbf"), QStringLiteral("Cant")), (QStringList{"0", "2", "0", "<null>", "15000"}));
    EXPECT_EQ(values(path("plati.dbf"), QStringLiteral("Val_VM")),
              (QStringList{"149495000.1234", "-922337203685.4775", "<null>", "10000.0000"}));
    EXPECT_EQ(bytesOf(path("PLSUMA.NTX")), ntx);
}

INSTANTIATE_TEST_SUITE_P(Templates, DbfConversion, ::testing::Values("Vamor.vmt", "Vamor 4 zecimale.vmt"));
