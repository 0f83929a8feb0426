#include "conversion/RunHistory.h"

#include "conversion/SourceJob.h"
#include "data/Lookups.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace history {

namespace {

QString iso(const QDateTime &t) { return t.isValid() ? t.toString(Qt::ISODateWithMs) : QString(); }
QDateTime fromIso(const QString &s) { return QDateTime::fromString(s, Qt::ISODateWithMs); }

QString lit(const QString &text) { return text.isNull() ? QStringLiteral("Null") : fgSqlText(text); }
QString lit(qint64 n) { return QString::number(n); }

// The error of a write to the journal, with the system's reason (errno).
QString cannotWrite(const QString &path)
{
    const QString reason = QString::fromLocal8Bit(strerror(errno));
    return QCoreApplication::translate("RunHistory", "Istoricul nu poate fi scris in \"%1\": %2").arg(path, reason);
}

QJsonObject fieldJson(const FieldEntry &f)
{
    QJsonObject o{{QStringLiteral("ds"), f.dataSource},     {QStringLiteral("t"), f.table},
                  {QStringLiteral("f"), f.field},           {QStringLiteral("cond"), f.condition},
                  {QStringLiteral("n"), f.records},         {QStringLiteral("before"), f.stateBefore},
                  {QStringLiteral("after"), f.stateAfter},  {QStringLiteral("err"), f.error},
                  {QStringLiteral("ms"), f.durationMs},     {QStringLiteral("note"), f.note}};
    if (f.hasTotals)
        o.insert(QStringLiteral("totals"), conversion::job::totalsToJson(f.totals));
    return o;
}

FieldEntry fieldFromJson(const QJsonObject &o)
{
    FieldEntry f;
    f.dataSource = o.value(QStringLiteral("ds")).toString();
    f.table = o.value(QStringLiteral("t")).toString();
    f.field = o.value(QStringLiteral("f")).toString();
    f.condition = o.value(QStringLiteral("cond")).toString();
    f.records = o.value(QStringLiteral("n")).toInt();
    f.stateBefore = o.value(QStringLiteral("before")).toString();
    f.stateAfter = o.value(QStringLiteral("after")).toString();
    f.error = o.value(QStringLiteral("err")).toString();
    f.note = o.value(QStringLiteral("note")).toString();
    f.durationMs = o.value(QStringLiteral("ms")).toInteger(-1);
    f.hasTotals = o.contains(QStringLiteral("totals"));
    if (f.hasTotals)
        f.totals = conversion::job::totalsFromJson(o.value(QStringLiteral("totals")).toObject());
    return f;
}

} // namespace

int RunEntry::converted() const
{
    int n = 0;
    for (const FieldEntry &f : fields)
        n += f.error.isEmpty() ? 1 : 0;
    return n;
}

int RunEntry::failed() const { return static_cast<int>(fields.size()) - converted(); }

QString statusText(const RunEntry &run)
{
    // The stored status is data; what is shown of it is translated.
    if (run.status == kInterrupted)
        //: A run that ended without writing its end (killed, a power cut).
        return QCoreApplication::translate("RunHistory", "intrerupta");
    if (run.status == kStopped)
        //: A run the user stopped.
        return QCoreApplication::translate("RunHistory", "oprita de utilizator");
    //: A run that ended by itself.
    return QCoreApplication::translate("RunHistory", "terminata");
}

QString directionText(const RunEntry &run)
{
    return run.toLeiNoi ? run.oldCode + QStringLiteral(" -> ") + run.newCode : run.newCode + QStringLiteral(" -> ") + run.oldCode;
}

conversion::TotalsSum runTotals(const RunEntry &run)
{
    conversion::TotalsSum sum;
    sum.toLeiNoi = run.toLeiNoi;
    for (const FieldEntry &f : run.fields)
        if (f.hasTotals)
            sum.add(f.totals);
    return sum;
}

QString journalPath(const QString &projectPath) { return projectPath + QStringLiteral(".istoric"); }

void Journal::append(const QByteArray &line)
{
    const QByteArray bytes = line + '\n';
    const int fd = ::open(QFile::encodeName(mPath).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        mError = cannotWrite(mPath);
        return;
    }
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            mError = cannotWrite(mPath);
            break;
        }
        written += n;
    }
    // On the disk before the run goes on: a run killed next keeps this line.
    ::fdatasync(fd);
    ::close(fd);
}

void Journal::start(const RunEntry &run)
{
    append(QJsonDocument(QJsonObject{{QStringLiteral("run"), run.key},
                                     {QStringLiteral("e"), QStringLiteral("start")},
                                     {QStringLiteral("started"), iso(run.started)},
                                     {QStringLiteral("user"), run.user},
                                     {QStringLiteral("computer"), run.computer},
                                     {QStringLiteral("version"), run.version},
                                     {QStringLiteral("toNew"), run.toLeiNoi},
                                     {QStringLiteral("old"), run.oldCode},
                                     {QStringLiteral("new"), run.newCode},
                                     {QStringLiteral("rate"), run.rate},
                                     {QStringLiteral("options"), run.options}})
               .toJson(QJsonDocument::Compact));
}

void Journal::field(const QString &runKey, const FieldEntry &field)
{
    QJsonObject o = fieldJson(field);
    o.insert(QStringLiteral("run"), runKey);
    o.insert(QStringLiteral("e"), QStringLiteral("field"));
    append(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

void Journal::end(const QString &runKey, const QDateTime &ended, const QString &status)
{
    append(QJsonDocument(QJsonObject{{QStringLiteral("run"), runKey},
                                     {QStringLiteral("e"), QStringLiteral("end")},
                                     {QStringLiteral("ended"), iso(ended)},
                                     {QStringLiteral("status"), status}})
               .toJson(QJsonDocument::Compact));
}

QList<RunEntry> readJournal(const QString &path)
{
    QList<RunEntry> runs;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return runs;
    QHash<QString, qsizetype> index;
    QSet<QString> ended;
    while (!file.atEnd()) {
        const QJsonDocument line = QJsonDocument::fromJson(file.readLine());
        if (!line.isObject())
            continue;
        const QJsonObject o = line.object();
        const QString key = o.value(QStringLiteral("run")).toString();
        const QString kind = o.value(QStringLiteral("e")).toString();
        if (key.isEmpty())
            continue;
        if (kind == QStringLiteral("start") && !index.contains(key)) {
            RunEntry run;
            run.key = key;
            run.started = fromIso(o.value(QStringLiteral("started")).toString());
            run.user = o.value(QStringLiteral("user")).toString();
            run.computer = o.value(QStringLiteral("computer")).toString();
            run.version = o.value(QStringLiteral("version")).toString();
            run.toLeiNoi = o.value(QStringLiteral("toNew")).toBool(true);
            run.oldCode = o.value(QStringLiteral("old")).toString();
            run.newCode = o.value(QStringLiteral("new")).toString();
            run.rate = o.value(QStringLiteral("rate")).toString();
            run.options = o.value(QStringLiteral("options")).toString();
            run.status = kInterrupted; // until its end is read
            index.insert(key, runs.size());
            runs.append(run);
        } else if (index.contains(key) && !ended.contains(key)) {
            RunEntry &run = runs[index.value(key)];
            if (kind == QStringLiteral("field")) {
                run.fields.append(fieldFromJson(o));
            } else if (kind == QStringLiteral("end")) {
                run.ended = fromIso(o.value(QStringLiteral("ended")).toString());
                run.status = o.value(QStringLiteral("status")).toString();
                ended.insert(key);
            }
        }
    }
    return runs;
}

void ensureTables(db::Connection &project)
{
    project.execute(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS tRun (IdRun INTEGER PRIMARY KEY, RunKey TEXT NOT NULL UNIQUE, Started TEXT, "
        "Ended TEXT, UserName TEXT, Computer TEXT, Version TEXT, ToLeiNoi INTEGER, OldCode TEXT, NewCode TEXT, "
        "Rate TEXT, Options TEXT, Status TEXT, FieldsConverted INTEGER, FieldsFailed INTEGER)"));
    project.execute(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS tRunField (IdRunField INTEGER PRIMARY KEY, IdRun INTEGER NOT NULL, "
        "Position INTEGER, DataSource TEXT, TableName TEXT, FieldName TEXT, Condition TEXT, Records INTEGER, "
        "StateBefore TEXT, StateAfter TEXT, Error TEXT, DurationMs INTEGER, HasTotals INTEGER, Unavailable TEXT, "
        "Approximate INTEGER, RowsWithAmount TEXT, OldSum TEXT, NewSum TEXT, ExpectedSum TEXT, Difference TEXT, "
        "RestoredSum TEXT, RestoredMatches INTEGER, Note TEXT)"));
    // The field's note came after the first history tables.
    if (!db::findNamed(project.tableColumns(QStringLiteral("tRunField"), QString(), true), QStringLiteral("Note")))
        project.execute(QStringLiteral("ALTER TABLE tRunField ADD COLUMN Note TEXT"));
}

int fold(db::Connection &project, const QList<RunEntry> &runs)
{
    if (runs.isEmpty())
        return 0;
    ensureTables(project);
    int inserted = 0;
    db::inOneTransaction(project, [&] {
        for (const RunEntry &run : runs) {
            db::Recordset known = project.openRecordset(
                QStringLiteral("SELECT Count(*) FROM tRun WHERE RunKey = ") + fgSqlText(run.key));
            if (known.value(0).toInt() > 0)
                continue;
            project.execute(
                QStringLiteral("INSERT INTO tRun (RunKey, Started, Ended, UserName, Computer, Version, ToLeiNoi, "
                               "OldCode, NewCode, Rate, Options, Status, FieldsConverted, FieldsFailed) VALUES (")
                + QStringList{lit(run.key), lit(iso(run.started)), lit(iso(run.ended)), lit(run.user),
                              lit(run.computer), lit(run.version), lit(run.toLeiNoi ? 1 : 0), lit(run.oldCode),
                              lit(run.newCode), lit(run.rate), lit(run.options), lit(run.status),
                              lit(run.converted()), lit(run.failed())}
                      .join(QStringLiteral(", "))
                + QLatin1Char(')'));
            db::Recordset id = project.openRecordset(
                QStringLiteral("SELECT IdRun FROM tRun WHERE RunKey = ") + fgSqlText(run.key));
            const QString idRun = id.value(0).toString();
            qint64 position = 0;
            for (const FieldEntry &f : run.fields) {
                const conversion::FieldTotals &t = f.totals;
                project.execute(
                    QStringLiteral("INSERT INTO tRunField (IdRun, Position, DataSource, TableName, FieldName, Condition, "
                                   "Records, StateBefore, StateAfter, Error, DurationMs, HasTotals, Unavailable, "
                                   "Approximate, RowsWithAmount, OldSum, NewSum, ExpectedSum, Difference, RestoredSum, "
                                   "RestoredMatches, Note) VALUES (")
                    + QStringList{idRun, lit(++position), lit(f.dataSource), lit(f.table), lit(f.field),
                                  lit(f.condition), lit(f.records), lit(f.stateBefore), lit(f.stateAfter),
                                  lit(f.error), lit(f.durationMs), lit(f.hasTotals ? 1 : 0), lit(t.unavailable),
                                  lit(t.approximate ? 1 : 0), lit(t.rows), lit(t.oldSum), lit(t.newSum),
                                  lit(t.expectedSum), lit(t.difference), lit(t.restoredSum),
                                  lit(t.restoredMatches ? 1 : 0), lit(f.note)}
                          .join(QStringLiteral(", "))
                    + QLatin1Char(')'));
            }
            ++inserted;
        }
    });
    return inserted;
}

QString foldJournal(db::Connection &project, const QString &projectPath)
{
    const QString path = journalPath(projectPath);
    if (!QFile::exists(path))
        return QString();
    try {
        fold(project, readJournal(path));
    } catch (const std::exception &e) {
        return QCoreApplication::translate("RunHistory",
                                           "Istoricul conversiilor din \"%1\" nu a putut fi trecut in proiect: %2")
            .arg(path, QString::fromUtf8(e.what()));
    }
    return QString();
}

void removeJournal(const QString &projectPath) { QFile::remove(journalPath(projectPath)); }

QList<RunEntry> readHistory(db::Connection &project)
{
    QList<RunEntry> runs;
    if (!db::findNamed(project.tableColumns(QStringLiteral("tRun"), QString(), true), QStringLiteral("RunKey")))
        return runs;
    QHash<qint64, qsizetype> index;
    db::Recordset rs = project.openRecordset(QStringLiteral("SELECT * FROM tRun ORDER BY Started, IdRun"));
    for (; !rs.eof(); rs.moveNext()) {
        RunEntry run;
        run.key = rs.value(QStringLiteral("RunKey")).toString();
        run.started = fromIso(rs.value(QStringLiteral("Started")).toString());
        run.ended = fromIso(rs.value(QStringLiteral("Ended")).toString());
        run.user = rs.value(QStringLiteral("UserName")).toString();
        run.computer = rs.value(QStringLiteral("Computer")).toString();
        run.version = rs.value(QStringLiteral("Version")).toString();
        run.toLeiNoi = rs.value(QStringLiteral("ToLeiNoi")).toInt() != 0;
        run.oldCode = rs.value(QStringLiteral("OldCode")).toString();
        run.newCode = rs.value(QStringLiteral("NewCode")).toString();
        run.rate = rs.value(QStringLiteral("Rate")).toString();
        run.options = rs.value(QStringLiteral("Options")).toString();
        run.status = rs.value(QStringLiteral("Status")).toString();
        index.insert(rs.value(QStringLiteral("IdRun")).toInt(), runs.size());
        runs.append(run);
    }
    // The note came after the first history tables.
    const bool hasNote =
        db::findNamed(project.tableColumns(QStringLiteral("tRunField"), QString(), true), QStringLiteral("Note"));
    db::Recordset fs = project.openRecordset(QStringLiteral("SELECT * FROM tRunField ORDER BY IdRun, Position"));
    for (; !fs.eof(); fs.moveNext()) {
        const auto found = index.constFind(fs.value(QStringLiteral("IdRun")).toInt());
        if (found == index.constEnd())
            continue;
        FieldEntry f;
        f.dataSource = fs.value(QStringLiteral("DataSource")).toString();
        f.table = fs.value(QStringLiteral("TableName")).toString();
        f.field = fs.value(QStringLiteral("FieldName")).toString();
        f.condition = fs.value(QStringLiteral("Condition")).toString();
        f.records = static_cast<qint32>(fs.value(QStringLiteral("Records")).toInt());
        f.stateBefore = fs.value(QStringLiteral("StateBefore")).toString();
        f.stateAfter = fs.value(QStringLiteral("StateAfter")).toString();
        f.error = fs.value(QStringLiteral("Error")).toString();
        if (hasNote)
            f.note = fs.value(QStringLiteral("Note")).toString();
        f.durationMs = fs.value(QStringLiteral("DurationMs")).isNull() ? -1 : fs.value(QStringLiteral("DurationMs")).toInt();
        f.hasTotals = fs.value(QStringLiteral("HasTotals")).toInt() != 0;
        f.totals.toLeiNoi = runs.at(*found).toLeiNoi;
        f.totals.unavailable = fs.value(QStringLiteral("Unavailable")).toString();
        f.totals.approximate = fs.value(QStringLiteral("Approximate")).toInt() != 0;
        f.totals.rows = fs.value(QStringLiteral("RowsWithAmount")).toString();
        f.totals.oldSum = fs.value(QStringLiteral("OldSum")).toString();
        f.totals.newSum = fs.value(QStringLiteral("NewSum")).toString();
        f.totals.expectedSum = fs.value(QStringLiteral("ExpectedSum")).toString();
        f.totals.difference = fs.value(QStringLiteral("Difference")).toString();
        f.totals.restoredSum = fs.value(QStringLiteral("RestoredSum")).toString();
        f.totals.restoredMatches = fs.value(QStringLiteral("RestoredMatches")).toInt() != 0;
        runs[*found].fields.append(f);
    }
    return runs;
}

QString currentUser()
{
    if (const passwd *pw = ::getpwuid(::getuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::fromLocal8Bit(qgetenv("USER"));
}

QString currentComputer() { return QSysInfo::machineHostName(); }

} // namespace history
