#include "tests/conversion/CommandLineFixture.h"

#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace convtest {

void CommandLineFixture::SetUp()
{
    ASSERT_TRUE(home.isValid());
    projectPath = QDir(home.path()).filePath(QStringLiteral("firma.vmd"));
    ASSERT_TRUE(QFile::copy(QDir(testsupport::templatesDir()).filePath(QStringLiteral("Vamor.vmt")), projectPath));
    QFile::setPermissions(projectPath, QFile::ReadOwner | QFile::WriteOwner);
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER, Tva DECIMAL(18,2))"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 1000000, 19000.5)"),
               QStringLiteral("INSERT INTO Facturi VALUES (2, NULL, 250000)")});
    project(QStringLiteral("INSERT INTO tConn (IdConnType, Description, ConnString, Offline) VALUES (6, 'Firma', '%1', "
                           "False)")
                .arg(user.connString()));
    project(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (1, 'Facturi')"));
    project(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Suma', 'Suma_VM')"));
    project(QStringLiteral("INSERT INTO tField (IdTable, FieldName, RecFieldName) VALUES (1, 'Tva', 'Tva_VM')"));
}

void CommandLineFixture::project(const QString &sql)
{
    db::Connection conn;
    conn.open(QStringLiteral("Provider=SQLite;Data Source=") + projectPath);
    conn.execute(sql);
}

db::Variant CommandLineFixture::projectScalar(const QString &sql)
{
    db::Connection conn;
    conn.open(QStringLiteral("Provider=SQLite;Data Source=") + projectPath);
    db::Recordset rs = conn.openRecordset(sql);
    return rs.eof() ? db::Variant() : rs.value(0);
}

QProcessEnvironment CommandLineFixture::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VAMOR_HOME"), home.path());
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return env;
}

std::unique_ptr<QProcess> CommandLineFixture::start(const QStringList &args, const QString &workingDir)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    if (!workingDir.isEmpty())
        process->setWorkingDirectory(workingDir);
    process->start(QStringLiteral(VAMOR_CLI), args);
    EXPECT_TRUE(process->waitForStarted());
    return process;
}

CommandLineFixture::Outcome CommandLineFixture::finish(QProcess &process, const QByteArray &errSoFar)
{
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(errSoFar + process.readAllStandardError())};
}

CommandLineFixture::Outcome CommandLineFixture::vamor(const QStringList &args, const QByteArray &input,
                                                      const QString &workingDir)
{
    std::unique_ptr<QProcess> process = start(args, workingDir);
    if (!input.isEmpty())
        process->write(input);
    return finish(*process);
}

QByteArray CommandLineFixture::waitFor(QProcess &process, const QByteArray &text, bool onStderr)
{
    QByteArray seen;
    QElapsedTimer clock;
    clock.start();
    while (!seen.contains(text) && process.state() == QProcess::Running && clock.elapsed() < 30000) {
        process.waitForReadyRead(50);
        seen += onStderr ? process.readAllStandardError() : process.readAllStandardOutput();
    }
    EXPECT_TRUE(seen.contains(text)) << seen.toStdString();
    return seen;
}

} // namespace convtest
