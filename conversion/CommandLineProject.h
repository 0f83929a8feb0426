#pragma once

#include "data/ProjectHost.h"
#include "data/ProjectLock.h"
#include "data/WorkingCopy.h"
#include "data/db/Connection.h"

#include <QString>
#include <csignal>
#include <memory>

namespace cli {

// The project host of the run: the working copy's connection and nothing else.
class CommandLineHost : public IProjectHost {
public:
    explicit CommandLineHost(db::Connection &conn) : mConn(conn) {}
    db::Connection &Conn() override { return mConn; }
    void SetDirty(bool pbDirty) override { mDirty = pbDirty; }
    void NodeTextChanged(const QString &, const QString &) override {}
    void SetFieldButtons(bool) override {}
    void UnloadChild(const QString &) override {}

private:
    db::Connection &mConn;
    bool mDirty = false;
};

// The open project of the run: the project's lock, its working copy, the
// connection to it and the registered host. Saved over the project file and
// removed at the end.
//
// From the opening on, SIGINT and SIGTERM end the run at once (status 1),
// removing the working copy, its journals and the save's temporary file; the
// project file keeps its previous content. stopOnFirstSignal() changes that
// for the conversion.
class OpenProject {
public:
    OpenProject();
    ~OpenProject();

    // Locks the project (a project another run has open is refused with who
    // holds it), names on standard error the working copies that ended runs
    // left in the program folder, and opens a working copy of the project.
    // Returns "" or the message.
    QString open(const QString &projectPath);

    db::Connection &conn() { return mConn; }
    // The project file as given, made absolute; the working copy.
    const QString &projectPath() const { return mProjectPath; }
    QString workingCopyPath() const;

    // From now on the first SIGINT or SIGTERM only sets the returned flag (the
    // conversion stops after its current field, then the run saves and ends as
    // usual); a second one ends the run at once.
    const volatile std::sig_atomic_t *stopOnFirstSignal();

    // Copies the working copy over the project file. Returns "" or the message;
    // on failure the working copy is kept so that nothing is lost. Once saved,
    // the history journal whose runs the working copy holds is removed.
    QString save();
    // Folds the history journal beside the project file into the working
    // copy; "" or the message (the journal then stays for a later opening).
    QString foldHistory();

private:
    db::Connection mConn;
    CommandLineHost mHost{mConn};
    QString mProjectPath;
    projectfile::ProjectLock mLock;
    std::unique_ptr<projectfile::WorkingCopy> mWorkingCopy;
    bool mKeepWorkingCopy = false;
    bool mHistoryFolded = false; // the working copy holds every run of the journal
};

// Checks the file named by --report before anything runs: it must not be the
// project file, its working copy or their companions, nor an existing file
// other than a report this program wrote (recognised by its first lines) or
// an empty file. Returns "" when the report may be written there, otherwise
// the message.
QString checkReportTarget(const QString &reportPath, const OpenProject &project);
// True when `head`, the beginning of a file, is the beginning of a report
// written by this program.
bool looksLikeReport(const QByteArray &head);

} // namespace cli
