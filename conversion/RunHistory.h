#pragma once

#include "conversion/ControlTotals.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace db {
class Connection;
}

// The history of the conversion runs of a project. A run writes its record
// as it goes to an append-only journal beside the project file, synced to
// the disk after every line, so that a run killed at any moment leaves what
// it finished; the record is folded into the project's own tables (tRun,
// tRunField) when the project is next opened and at the end of the run, and
// the journal is removed once a saved project holds all of it. A record is
// never changed after its run ends.
namespace history {

// One field a run attempted.
struct FieldEntry {
    QString dataSource, table, field, condition;
    qint32 records = 0;
    QString stateBefore, stateAfter; // "noi" / "vechi"
    QString error;
    QString note; // what the user should know of a converted field ("Sume rotunjite la 0 zecimale")
    qint64 durationMs = -1;
    bool hasTotals = false;
    conversion::FieldTotals totals;
};

// One run.
struct RunEntry {
    QString key; // unique, written by the run
    QDateTime started, ended;
    QString user, computer, version;
    bool toLeiNoi = true;
    QString oldCode, newCode, rate;
    QString options;
    // "" a run that ended by itself; "oprita" stopped by the user;
    // "intrerupta" ended without writing its end (killed, a power cut).
    QString status;
    QList<FieldEntry> fields;
    int converted() const;
    int failed() const;
};

inline const QString kInterrupted = QStringLiteral("intrerupta");
inline const QString kStopped = QStringLiteral("oprita");

// The journal of the project file `projectPath`: "PROIECT.vmd.istoric".
QString journalPath(const QString &projectPath);

// Appends the record of one run to the journal, one JSON object per line,
// each synced to the disk before the call returns. Failures to write are
// kept in error() and never stop the run.
class Journal {
public:
    explicit Journal(QString path) : mPath(std::move(path)) {}
    void start(const RunEntry &run);
    void field(const QString &runKey, const FieldEntry &field);
    void end(const QString &runKey, const QDateTime &ended, const QString &status);
    const QString &error() const { return mError; }

private:
    void append(const QByteArray &line);
    QString mPath;
    QString mError;
};

// The runs a journal holds, in their order; a run without its end is
// "intrerupta". Lines that cannot be read (a line cut by a power cut) are
// passed over.
QList<RunEntry> readJournal(const QString &path);

// Adds the history tables to a project that lacks them (a project of an
// earlier version, which ignores them).
void ensureTables(db::Connection &project);
// Writes the runs the project does not hold yet (by key) in one
// transaction; returns how many.
int fold(db::Connection &project, const QList<RunEntry> &runs);
// Folds the journal of `projectPath` into the open project; "" or the
// message. The journal itself stays until removeJournalIfSaved.
QString foldJournal(db::Connection &project, const QString &projectPath);
// Removes the journal after the project holding its runs has been saved.
void removeJournal(const QString &projectPath);

// Every run of the project, oldest first, with its fields.
QList<RunEntry> readHistory(db::Connection &project);

// "terminata", "oprita de utilizator" or "intrerupta".
QString statusText(const RunEntry &run);
// "ROL -> RON" (or back).
QString directionText(const RunEntry &run);
// The totals of the run's fields added up exactly.
conversion::TotalsSum runTotals(const RunEntry &run);

// The operating-system user and the computer's name.
QString currentUser();
QString currentComputer();

} // namespace history
