#include "conversion/SourceJobs.h"

#include "conversion/SourceJob.h"
#include "conversion/TerminalOutput.h"
#include "data/ProjectFile.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "util/core/Signals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTimer>

#include <memory>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace conversion {

using terminal::formatElapsed;

namespace {

// "campuri 40/1000", or "campuri 40" when the total is not known.
QString fieldsText(qint32 done, qint32 total)
{
    if (total > 0)
        //: Fields done of all in the progress line.
        return QCoreApplication::translate("SourceJobs", "campuri %1/%2")
            .arg(QString::number(done), QString::number(total));
    //: Fields done in the progress line, when their total is not known.
    return QCoreApplication::translate("SourceJobs", "campuri %1").arg(done);
}

} // namespace

// ---- progress ----

JobsProgress::JobsProgress(qint32 totalFields, Options options)
    : mOptions(std::move(options)),
      mTty(mOptions.tty < 0 ? ::isatty(STDERR_FILENO) == 1 : mOptions.tty == 1),
      mTotal(std::max(0, totalFields))
{
    mRun.start();
}

JobsProgress::~JobsProgress()
{
    if (mTty && mDrawn)
        write(QStringLiteral("\r") + line(0) + QStringLiteral("\x1b[K\n"));
}

JobsProgress::InFlight *JobsProgress::find(const QString &source)
{
    for (InFlight &f : mInFlight)
        if (f.source == source)
            return &f;
    return nullptr;
}

void JobsProgress::sourceStarted(const QString &source)
{
    mInFlight.append({source, QString(), QString(), 0, -1});
    redraw();
}

void JobsProgress::event(const QString &source, const QJsonObject &event)
{
    InFlight *f = find(source);
    if (!f || job::kindOf(event) != QStringLiteral("step"))
        return;
    const int level = event.value(QStringLiteral("l")).toInt();
    const QString caption = event.value(QStringLiteral("c")).toString();
    if (level == 2) {
        f->table = caption;
        f->field.clear();
        f->fieldStartMs = -1;
    } else if (level == 3) {
        f->field = caption;
        ++f->begun;
        f->fieldStartMs = mRun.elapsed();
        if (!mTty) {
            write(fieldsText(doneFields(), mTotal) + QStringLiteral(" | ") + f->source + QStringLiteral(" | ") + f->table
                  + QStringLiteral(" | ") + f->field + QLatin1Char('\n'));
            return;
        }
    }
    redraw();
}

void JobsProgress::sourceEnded(const QString &source)
{
    for (qsizetype i = 0; i < mInFlight.size(); ++i) {
        if (mInFlight.at(i).source == source) {
            mFinished += mInFlight.at(i).begun;
            mInFlight.removeAt(i);
            break;
        }
    }
    redraw();
}

void JobsProgress::stopAsked()
{
    if (mStopSaid)
        return;
    mStopSaid = true;
    write((mTty && mDrawn ? QStringLiteral("\n") : QString())
          + QCoreApplication::translate("SourceJobs",
                                        "Oprire ceruta: conversia se opreste dupa campul curent al fiecarei surse de "
                                        "date.")
          + QLatin1Char('\n'));
}

qint32 JobsProgress::doneFields() const
{
    qint32 done = mFinished;
    for (const InFlight &f : mInFlight)
        done += f.fieldStartMs >= 0 ? f.begun - 1 : f.begun;
    return done;
}

// "campuri 40/1000 | scurs 00:00:12 | ramas ~00:04:50 | Firma A: Tabel 3/50
// (Facturi) Camp 2/5 (Suma) 00:00:01 | Firma B: ..."
QString JobsProgress::line(int width) const
{
    const qint64 now = mRun.elapsed();
    const qint32 done = doneFields();
    QString text = fieldsText(done, mTotal) + QStringLiteral(" | ")
                   //: The time the run has taken so far.
                   + QCoreApplication::translate("SourceJobs", "scurs %1").arg(formatElapsed(now));
    if (done > 0 && mTotal > done)
        text += QStringLiteral(" | ")
                //: An estimate of the time the run still needs.
                + QCoreApplication::translate("SourceJobs", "ramas ~%1").arg(formatElapsed(now * (mTotal - done) / done));
    for (const InFlight &f : mInFlight) {
        text += QStringLiteral(" | ") + f.source + QLatin1Char(':');
        if (!f.table.isEmpty())
            text += QLatin1Char(' ') + f.table;
        if (!f.field.isEmpty())
            text += QLatin1Char(' ') + f.field;
        if (f.fieldStartMs >= 0)
            text += QLatin1Char(' ') + formatElapsed(now - f.fieldStartMs);
    }
    return width > 0 ? text.left(width) : text;
}

QString JobsProgress::statusLine() const { return line(0); }

void JobsProgress::redraw()
{
    if (!mTty)
        return;
    winsize size{};
    const int columns = ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
    write(QStringLiteral("\r") + line(std::max(20, columns - 1)) + QStringLiteral("\x1b[K"));
    mDrawn = true;
}

void JobsProgress::write(const QString &text) const
{
    if (mOptions.write)
        mOptions.write(text);
    else
        terminal::err(text);
}

// ---- the run ----

namespace {

// One data source of the run and its process.
struct Job {
    qint32 idConn = 0;
    QString description;
    QString copy; // the project copy its process writes
    std::unique_ptr<QProcess> process;
    appsignals::RemoveOnSignal copyGuard, journalGuard;
    QByteArray partial; // output read up to the end of its last line
    QList<QJsonObject> events;
    qint32 fieldsBegun = 0;
    bool inField = false;
    bool ended = false; // its run told its end
    QString failure;    // why its process ended without telling it
};

// Copies what the source's process wrote of its fields (state, error) and
// of the source (marked offline) into the project. Throws on failure.
void foldStates(db::Connection &project, const QString &copyPath, qint32 idConn)
{
    const QString fieldsSql =
        QStringLiteral("SELECT * FROM tField WHERE IdTable IN (SELECT IdTable FROM tTable WHERE IdConn = %1)").arg(idConn);
    QHash<qint64, std::pair<db::Variant, db::Variant>> states;
    bool offline = false;
    {
        db::Connection copy;
        copy.open(projectfile::projectConnectionString(copyPath));
        db::Recordset rs = copy.openRecordset(fieldsSql, db::CursorType::Static, db::LockType::ReadOnly);
        for (; !rs.eof(); rs.moveNext())
            states.insert(rs.value(QStringLiteral("IdField")).toInt(),
                          {rs.value(QStringLiteral("Converted")), rs.value(QStringLiteral("Error"))});
        db::Recordset source = copy.openRecordset(
            QStringLiteral("SELECT Offline FROM tConn WHERE IdConn = %1").arg(idConn), db::CursorType::Static,
            db::LockType::ReadOnly);
        offline = !source.eof() && source.value(0).toBool();
    }
    const auto same = [](const db::Variant &a, const db::Variant &b) {
        return a.isNull() == b.isNull() && (a.isNull() || a.toString() == b.toString());
    };
    db::inOneTransaction(project, [&] {
        db::Recordset rs = project.openRecordset(fieldsSql, db::CursorType::Static, db::LockType::Optimistic);
        for (; !rs.eof(); rs.moveNext()) {
            const auto found = states.constFind(rs.value(QStringLiteral("IdField")).toInt());
            if (found == states.constEnd())
                continue;
            if (same(rs.value(QStringLiteral("Converted")), found->first)
                && same(rs.value(QStringLiteral("Error")), found->second))
                continue;
            rs.setValue(QStringLiteral("Converted"), found->first);
            rs.setValue(QStringLiteral("Error"), found->second);
            rs.update();
        }
        if (offline)
            project.execute(QStringLiteral("UPDATE tConn SET Offline = True WHERE IdConn = %1").arg(idConn));
    });
}

void removeCopy(const QString &copy)
{
    QFile::remove(copy);
    for (const QString &journal : projectfile::journalPaths(copy))
        QFile::remove(journal);
}

// Removes the project copies of source runs whose run was killed and whose
// working copy is gone (recovered or deleted since).
void removeStaleCopies(const QString &workingCopy)
{
    const QDir folder = QFileInfo(workingCopy).absoluteDir();
    for (const QString &name : folder.entryList({QStringLiteral("~*.tmp.source-*")}, QDir::Files | QDir::Hidden)) {
        const QString base = name.left(name.indexOf(QStringLiteral(".source-")));
        if (!QFileInfo::exists(folder.filePath(base)))
            QFile::remove(folder.filePath(name));
    }
}

} // namespace

qint32 onlineSourceCount(db::Connection &project)
{
    db::Recordset rs = project.openRecordset(QStringLiteral("SELECT Count(*) FROM tConn WHERE Offline = False"),
                                             db::CursorType::Static, db::LockType::ReadOnly);
    return rs.eof() ? 0 : static_cast<qint32>(rs.value(0).toInt());
}

SourceJobs::SourceJobs(db::Connection &project, const QString &workingCopy, IConversionReport &report,
                       const volatile std::sig_atomic_t *stop, JobsOptions options)
    : mProject(project), mWorkingCopy(workingCopy), mReport(report), mStop(stop), mOptions(std::move(options))
{
}

ConversionEngine::Result SourceJobs::run(bool toLeiNoi, JobsProgress &progress)
{
    ConversionEngine::Result result;
    // This run converts nothing itself: it only names the sources left offline.
    SilentProgress quiet;
    ConversionEngine(mProject, quiet, mReport).reportOfflineSources(result);
    removeStaleCopies(mWorkingCopy);

    std::vector<std::unique_ptr<Job>> jobs;
    {
        db::Recordset sources = mProject.openRecordset(ConversionEngine::onlineSourcesSql(), db::CursorType::Static,
                                                       db::LockType::ReadOnly);
        for (; !sources.eof(); sources.moveNext()) {
            auto job = std::make_unique<Job>();
            job->idConn = static_cast<qint32>(sources.value(QStringLiteral("IdConn")).toInt());
            job->description = sources.value(QStringLiteral("Description")).toString();
            job->copy = mWorkingCopy + QStringLiteral(".source-") + QString::number(job->idConn);
            jobs.push_back(std::move(job));
        }
    }
    const QString program =
        mOptions.program.isEmpty() ? QCoreApplication::applicationFilePath() : mOptions.program;
    const pid_t parent = ::getpid();

    QEventLoop loop;
    size_t next = 0;
    int running = 0;
    bool stopping = false;

    const auto readLines = [&](Job &job) {
        job.partial += job.process->readAllStandardOutput();
        qsizetype end;
        while ((end = job.partial.indexOf('\n')) >= 0) {
            const std::optional<QJsonObject> event = job::parseEvent(job.partial.left(end));
            job.partial.remove(0, end + 1);
            if (!event)
                continue;
            const QString kind = job::kindOf(*event);
            if (kind == QStringLiteral("init") || kind == QStringLiteral("step")) {
                const int level = event->value(QStringLiteral("l")).toInt();
                if (kind == QStringLiteral("step") && level == 3) {
                    ++job.fieldsBegun;
                    job.inField = true;
                } else if (kind == QStringLiteral("step") && level < 3) {
                    job.inField = false;
                }
                progress.event(job.description, *event);
                continue;
            }
            if (kind == QStringLiteral("field"))
                job.inField = false;
            if (kind == QStringLiteral("end"))
                job.ended = true;
            job.events.append(*event);
        }
    };

    std::function<void()> startNext;
    const auto jobEnded = [&](Job &job) {
        readLines(job);
        if (!job.ended && job.failure.isEmpty()) {
            const QProcess &p = *job.process;
            //: Why a data source was passed over; follows its name.
            job.failure = p.exitStatus() == QProcess::CrashExit
                              ? QCoreApplication::translate("SourceJobs", "procesul care o converteste s-a oprit neasteptat")
                              //: Why a data source was passed over; %1 is the exit code of its process.
                              : QCoreApplication::translate("SourceJobs",
                                                            "procesul care o converteste s-a oprit neasteptat (codul %1)")
                                    .arg(p.exitCode());
        }
        try {
            foldStates(mProject, job.copy, job.idConn);
        } catch (const std::exception &e) {
            if (!result.failed) {
                result.failed = true;
                result.errorNumber = db::E_FAIL;
                result.errorDescription =
                    QCoreApplication::translate("SourceJobs",
                                                "starea campurilor sursei de date \"%1\" nu a putut fi trecuta in "
                                                "proiect (ea va fi citita din nou din baza de date la urmatoarea "
                                                "rulare): %2")
                        .arg(job.description, terminal::describe(e));
            }
        }
        removeCopy(job.copy);
        job.copyGuard.clear();
        job.journalGuard.clear();
        progress.sourceEnded(job.description);
        --running;
        startNext();
    };

    const auto start = [&](Job &job) {
        job.copyGuard.set(job.copy);
        job.journalGuard.set(projectfile::journalPaths(job.copy).value(0));
        removeCopy(job.copy);
        if (!QFile::copy(mWorkingCopy, job.copy)) {
            //: Why a data source was passed over; follows its name.
            job.failure = QCoreApplication::translate("SourceJobs", "copia proiectului pentru ea nu a putut fi facuta");
            job.copyGuard.clear();
            job.journalGuard.clear();
            return false;
        }
        job.process = std::make_unique<QProcess>();
        QProcess &p = *job.process;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.setInputChannelMode(QProcess::ManagedInputChannel);
        // The process is not in the terminal's group (Ctrl+C reaches this
        // run alone, which asks each source once), and it ends with this
        // run: a run killed at any moment leaves no source converting on.
        p.setChildProcessModifier([parent] {
            ::setpgid(0, 0);
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(1);
        });
        Job *self = &job;
        QObject::connect(&p, &QProcess::readyReadStandardOutput, &loop, [&, self] { readLines(*self); });
        QObject::connect(&p, &QProcess::finished, &loop, [&, self] { jobEnded(*self); });
        QObject::connect(&p, &QProcess::errorOccurred, &loop, [&, self](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return;
            //: Why a data source was passed over; %1 is the system's reason.
            self->failure = QCoreApplication::translate("SourceJobs", "programul nu a putut porni conversia ei: %1")
                                .arg(self->process->errorString());
            jobEnded(*self);
        });
        progress.sourceStarted(job.description);
        ++running;
        p.start(program, job::partArguments(job.copy, job.idConn, toLeiNoi, mOptions.totals, mOptions.lockTimeoutMs));
        p.closeWriteChannel();
        return true;
    };

    startNext = [&] {
        while (!stopping && running < std::max(1, mOptions.jobs) && next < jobs.size())
            start(*jobs[next++]);
        if (running == 0)
            loop.quit();
    };

    QTimer watch;
    int ticks = 0;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (*mStop && !stopping) {
            stopping = true;
            progress.stopAsked();
            for (const auto &job : jobs)
                if (job->process && job->process->state() != QProcess::NotRunning)
                    ::kill(static_cast<pid_t>(job->process->processId()), SIGTERM);
        }
        // The clock of a field that runs long, once a second.
        if (++ticks % 10 == 0)
            progress.redraw();
    });
    watch.start(100);
    QTimer::singleShot(0, &loop, [&] { startNext(); });
    loop.exec();
    watch.stop();

    if (stopping)
        result.cancelled = true;
    // The report in project order: each source's rows as its run told them.
    for (const auto &job : jobs) {
        for (const QJsonObject &event : job->events) {
            if (job::kindOf(event) == QStringLiteral("end"))
                job::mergeEnd(event, job->description, result);
            else
                job::replay(event, mReport, result);
        }
        if (!job->failure.isEmpty()) {
            // What its process did not finish stays as the database holds
            // it; the next run probes it again.
            const qint32 total = static_cast<qint32>(
                mProject
                    .openRecordset(QStringLiteral("SELECT Count(*) FROM tField INNER JOIN tTable ON tField.IdTable = "
                                                  "tTable.IdTable WHERE tTable.IdConn = %1")
                                       .arg(job->idConn),
                                   db::CursorType::Static, db::LockType::ReadOnly)
                    .value(0)
                    .toInt());
            const qint32 finished = job->fieldsBegun - (job->inField ? 1 : 0);
            const qint32 left = std::max(1, total - finished);
            mReport.AddSourceSkipped(job->description, job->failure, left);
            result.skippedSources.append({job->description, job->failure, left});
        }
    }
    return result;
}

} // namespace conversion
