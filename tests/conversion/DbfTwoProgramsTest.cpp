// Two runs of the real program converting the same DBF folder from two
// projects at once: each table is converted by exactly one of them, the
// other fails its field, and every amount is divided once.
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "data/db/dbf/DbfFile.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList values(const QString &path, const QString &column)
{
    const db::DbfTable t = db::DbfTable::read(path);
    QStringList out;
    const int c = t.columnIndex(column);
    for (int r = 0; r < t.recordCount(); ++r)
        out << (c < 0 ? QStringLiteral("<none>") : t.value(r, c).isNull() ? QStringLiteral("<null>") : t.value(r, c).toString());
    return out;
}

struct VamorRun {
    QTemporaryDir home;
    QString project;
    std::unique_ptr<QProcess> process;
    qint64 pid = 0;
};

// A project of its own over `folder`: facturi.Suma and plati.Val.
void makeProject(VamorRun &run, const QString &folder)
{
    ASSERT_TRUE(run.home.isValid());
    run.project = QDir(run.home.path()).filePath(QStringLiteral("dosar.vmd"));
    ASSERT_TRUE(QFile::copy(QDir(testsupport::templatesDir()).filePath(QStringLiteral("Vamor.vmt")), run.project));
    QFile::setPermissions(run.project, QFile::ReadOwner | QFile::WriteOwner);
    db::Connection conn;
    conn.open(QStringLiteral("Provider=SQLite;Data Source=") + run.project);
    conn.execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description, ConnString, Offline) VALUES (6, 'Dosar', "
                                "'Provider=DBF;LockTimeout=1;Data Source=%1', False)")
                     .arg(folder));
    conn.execute(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, 'facturi.dbf')"));
    conn.execute(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, 'plati.dbf')"));
    conn.execute(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Suma', 'Suma_VM')"));
    conn.execute(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (2, 'Val', 'Val_VM')"));
}

// The project's record of a field: "" when converted, else its error.
QString outcome(const VamorRun &run, const QString &field)
{
    db::Connection conn;
    conn.open(QStringLiteral("Provider=SQLite;Data Source=") + run.project);
    db::Recordset rs = conn.openRecordset(
        QStringLiteral("SELECT Converted, Error FROM tField WHERE FieldName = '%1'").arg(field));
    if (rs.eof())
        return QStringLiteral("<no field>");
    if (rs.value(0).toBool())
        return rs.value(1).isNull() ? QString() : QStringLiteral("converted, yet: ") + rs.value(1).toString();
    return rs.value(1).isNull() ? QStringLiteral("<neither converted nor failed>") : rs.value(1).toString();
}

} // namespace

TEST(DbfTwoPrograms, EachTableIsConvertedByExactlyOneOfTwoRuns)
{
    QTemporaryDir folder;
    QProcess make;
    make.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(VAMOR_DBF_SCRIPT), QStringLiteral("make"), folder.path()});
    make.waitForFinished(60000);
    if (!QFile::exists(folder.filePath(QStringLiteral("plati.dbf"))))
        GTEST_SKIP() << "python3-dbf is missing";

    VamorRun runs[2];
    for (VamorRun &run : runs)
        makeProject(run, folder.path());
    // Each run waits a while with a table's new file written and the table
    // held, so that the other reads the same tables and meets it there.
    for (VamorRun &run : runs) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VAMOR_HOME"), run.home.path());
        env.insert(QStringLiteral("VAMOR_DBF_PAUSE_BEFORE_REPLACE_MS"), QStringLiteral("2500"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        run.process = std::make_unique<QProcess>();
        run.process->setProcessEnvironment(env);
        run.process->start(QStringLiteral(VAMOR_CLI),
                           {QStringLiteral("--convert"), run.project, QStringLiteral("--to"), QStringLiteral("noi"),
                            QStringLiteral("--yes")});
        ASSERT_TRUE(run.process->waitForStarted());
        run.pid = run.process->processId();
    }
    for (VamorRun &run : runs) {
        ASSERT_TRUE(run.process->waitForFinished(120000));
        EXPECT_EQ(run.process->exitCode(), 1) << run.process->readAllStandardOutput().toStdString()
                                              << run.process->readAllStandardError().toStdString();
    }

    for (const QString &field : {QStringLiteral("Suma"), QStringLiteral("Val")}) {
        const QString outcomes[2] = {outcome(runs[0], field), outcome(runs[1], field)};
        const int winner = outcomes[0].isEmpty() ? 0 : 1;
        ASSERT_TRUE(outcomes[winner].isEmpty()) << field.toStdString() << ": " << outcomes[0].toStdString() << " / "
                                                << outcomes[1].toStdString();
        const QString &lost = outcomes[1 - winner];
        const QString table = field == QLatin1String("Suma") ? QStringLiteral("facturi.dbf") : QStringLiteral("plati.dbf");
        // The winner seen holding the table (its lock, or the file open), or
        // the table found changed once the winner let go.
        const auto heldBy = [&](const QString &how) {
            return QStringLiteral("Tabelul \"%1\" este %2 alt program (procesul %3, vamor); inchideti programul si "
                                  "reluati conversia.")
                .arg(table, how)
                .arg(runs[winner].pid);
        };
        const QString changed = QStringLiteral("Tabelul \"%1\" a fost schimbat de alt program in timpul conversiei; nu "
                                               "a fost scris nimic.")
                                    .arg(table);
        EXPECT_TRUE(lost == heldBy(QStringLiteral("blocat de")) || lost == heldBy(QStringLiteral("folosit de")) || lost == changed) << field.toStdString() << ": " << lost.toStdString();
    }
    // Every amount divided once, its old value kept once.
    EXPECT_EQ(values(folder.filePath(QStringLiteral("facturi.dbf")), QStringLiteral("Suma")),
              (QStringList{"1.49", "-1.49", "123456789.01", "<null>", "0.01"}));
    EXPECT_EQ(values(folder.filePath(QStringLiteral("facturi.dbf")), QStringLiteral("Suma_VM")),
              (QStringList{"14949.50", "-14949.50", "1234567890123.45", "<null>", "50.00"}));
    EXPECT_EQ(values(folder.filePath(QStringLiteral("plati.dbf")), QStringLiteral("Val")),
              (QStringList{"14949.5000", "-92233720.3700", "<null>", "1.0000"}));
    EXPECT_EQ(values(folder.filePath(QStringLiteral("plati.dbf")), QStringLiteral("Val_VM")),
              (QStringList{"149495000.1234", "-922337203685.4775", "<null>", "10000.0000"}));
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.vamor-*")}, QDir::Files).isEmpty());
}
