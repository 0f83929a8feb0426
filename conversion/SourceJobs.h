#pragma once

#include "conversion/ConversionEngine.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <csignal>
#include <functional>
#include <optional>

namespace db {
class Connection;
}

namespace conversion {

// The progress of data sources converted side by side, on standard error.
// On a terminal: one line redrawn in place with the fields done of all, the
// time since the start, an estimate of the time left, and every source in
// flight with its table, its field and the time the field has been running.
// Not on a terminal: one plain line for every field begun, naming its source.
class JobsProgress {
public:
    struct Options {
        int tty = -1; // -1: standard error is asked; 0 or 1 forces it
        std::function<void(const QString &)> write; // standard error when empty
    };
    JobsProgress(qint32 totalFields, Options options);
    explicit JobsProgress(qint32 totalFields) : JobsProgress(totalFields, Options()) {}
    ~JobsProgress();
    JobsProgress(const JobsProgress &) = delete;
    JobsProgress &operator=(const JobsProgress &) = delete;

    void sourceStarted(const QString &source);
    // A progress event ("init", "step") of the source's run.
    void event(const QString &source, const QJsonObject &event);
    void sourceEnded(const QString &source);
    // The user asked to stop: said once.
    void stopAsked();
    // Draws the line again (a terminal's clock).
    void redraw();
    // What the line reads now.
    QString statusLine() const;

private:
    struct InFlight {
        QString source;
        QString table;
        QString field;
        qint32 begun = 0;
        qint64 fieldStartMs = -1; // -1: between fields
    };
    InFlight *find(const QString &source);
    qint32 doneFields() const;
    QString line(int width) const;
    void write(const QString &text) const;

    Options mOptions;
    bool mTty;
    bool mDrawn = false;
    bool mStopSaid = false;
    qint32 mTotal;
    qint32 mFinished = 0; // fields of the sources that ended
    QList<InFlight> mInFlight;
    QElapsedTimer mRun;
};

// How a run converts its data sources side by side.
struct JobsOptions {
    int jobs = 2;   // sources converted at once
    bool totals = true;
    std::optional<qint64> lockTimeoutMs;
    QString program; // the program started for each source; this one when empty
};

// Converts the online data sources of the open project up to `jobs` at a
// time, each in a process of its own with its own connection (or DBF
// folder) and a private copy of the project's working copy; the fields of a
// source go in project order. When a source's process ends, the states and
// errors it wrote are folded into the working copy, which this run alone
// writes. The report receives every source's rows in project order, whatever
// order the sources finished in. Stop (`*stop` set) asks every source to
// stop after its current field and starts no other; a source that fails,
// goes offline or whose process ends unexpectedly does not stop the others.
class SourceJobs {
public:
    SourceJobs(db::Connection &project, const QString &workingCopy, IConversionReport &report,
               const volatile std::sig_atomic_t *stop, JobsOptions options);
    ConversionEngine::Result run(bool toLeiNoi, JobsProgress &progress);

private:
    db::Connection &mProject;
    QString mWorkingCopy;
    IConversionReport &mReport;
    const volatile std::sig_atomic_t *mStop;
    JobsOptions mOptions;
};

// The data sources a run would convert side by side: those not marked
// offline.
qint32 onlineSourceCount(db::Connection &project);

} // namespace conversion
