#include "tests/conversion/ConversionTestSupport.h"

#include "conversion/ConversionEngine.h"
#include "data/db/ConnString.h"
#include "data/db/Recordset.h"
#include "data/db/odbc/OdbcProvider.h"
#include "data/db/sqlite/SqliteProvider.h"

#include <QDir>
#include <QProcess>
#include <QFile>
#include <memory>
#include <gtest/gtest.h>

namespace convtest {

SqliteUserDb::SqliteUserDb()
{
    mPath = QDir(mDir.path()).filePath(QStringLiteral("firma.db"));
    QFile file(mPath);
    if (!file.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot create " << mPath.toStdString();
}

void SqliteUserDb::exec(const QStringList &statements)
{
    db::Connection conn;
    conn.open(connString());
    for (const QString &sql : statements)
        conn.execute(sql);
}

db::Variant SqliteUserDb::scalar(const QString &sql)
{
    db::Connection conn;
    conn.open(connString());
    db::Recordset rs = conn.openRecordset(sql);
    return rs.eof() ? db::Variant() : rs.value(0);
}

QList<db::Variant> SqliteUserDb::column(const QString &table, const QString &column)
{
    db::Connection conn;
    conn.open(connString());
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT %1 FROM %2 ORDER BY Id").arg(column, table));
    QList<db::Variant> values;
    for (; !rs.eof(); rs.moveNext())
        values.append(rs.value(0));
    return values;
}

QStringList SqliteUserDb::columnNames(const QString &table)
{
    db::Connection conn;
    conn.open(connString());
    db::Recordset rs = conn.columns(table);
    QStringList names;
    for (; !rs.eof(); rs.moveNext())
        names.append(rs.value(QStringLiteral("COLUMN_NAME")).toString());
    return names;
}

void elsewhere(const QString &connString, const QString &sql)
{
    const db::ConnString parsed = db::ConnString::parse(connString);
    std::unique_ptr<db::Provider> other = parsed.isBuiltInSqlite()
                                              ? db::openSqliteProvider(parsed.value(QStringLiteral("Data Source")))
                                              : db::openOdbcProvider(connString);
    other->execute(sql);
}

conversion::ReportLog runEngineAt(db::Connection &project, bool toLeiNoi, const QString &field,
                                  const std::function<void()> &atField)
{
    conversion::ReportLog report;
    RecordingProgress progress;
    progress.hook = [&](RecordingProgress &, const QString &line) {
        if (atField && line.startsWith(QLatin1String("P3 "))
            && line.endsWith(QLatin1Char('(') + field + QLatin1Char(')')))
            atField();
    };
    report.ConvertStart();
    conversion::ConversionEngine engine(project, progress, report);
    const conversion::ConversionEngine::Result result = engine.run(toLeiNoi);
    EXPECT_FALSE(result.failed) << result.errorDescription.toStdString();
    report.ConvertEnd(QString());
    return report;
}

QString pdfText(const QString &path)
{
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!reader.waitForFinished(30000) || reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils) could not read " << path.toStdString() << ": "
                      << reader.errorString().toStdString() << " " << reader.readAllStandardError().toStdString();
        return QString();
    }
    return QString::fromUtf8(reader.readAllStandardOutput());
}

QStringList linesWith(const QString &text, const QStringList &pieces)
{
    QStringList found;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        qsizetype from = 0;
        bool all = true;
        for (const QString &piece : pieces) {
            const qsizetype at = line.indexOf(piece, from);
            if (at < 0) {
                all = false;
                break;
            }
            from = at + piece.size();
        }
        if (all)
            found.append(line);
    }
    return found;
}

} // namespace convtest
