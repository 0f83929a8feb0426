#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QLockFile;

namespace appsignals {
class RemoveOnSignal;
}

namespace projectfile {

// A working copy "~00001.tmp" in the program folder and its lock file
// "~00001.lock", which names the process that owns it (program, process id,
// computer) for as long as the copy exists. A copy whose owner has ended is
// an orphan: findOrphanedCopies hands it over to this process.
class WorkingCopy {
public:
    ~WorkingCopy();
    WorkingCopy(const WorkingCopy &) = delete;
    WorkingCopy &operator=(const WorkingCopy &) = delete;

    // Copies `source` to a new working copy in `folder` under the first free
    // name, readable and writable by the user alone and never over an
    // existing file; the copy is this process's and is removed if the program
    // ends on a signal. Throws DbError when it cannot be made.
    static std::unique_ptr<WorkingCopy> create(const QString &source, const QString &folder);

    const QString &path() const { return mPath; }
    // The copy itself exists (an orphan may be journals alone).
    bool hasDatabase() const;
    // The files of this copy that exist: the copy and its journals.
    QStringList files() const;
    // When the copy (or, without it, its newest journal) was last written.
    QDateTime modified() const;

    // Makes an orphan this process's working copy: it is removed if the
    // program ends on a signal.
    void adopt();
    // Deletes the copy and its journals, then the lock.
    void remove();
    // Gives the copy up without deleting it: the lock goes, the files stay
    // (a later start finds them as an orphan). The destructor does the same.
    void release();

private:
    WorkingCopy(QString path, std::unique_ptr<QLockFile> lock);
    void registerForSignals();

    QString mPath;
    std::unique_ptr<QLockFile> mLock;
    std::vector<std::unique_ptr<appsignals::RemoveOnSignal>> mRemoveOnSignal;

    friend std::vector<std::unique_ptr<WorkingCopy>> findOrphanedCopies(const QString &folder);
};

// The working copies in `folder` whose owner has ended (killed, crashed, or
// an older program that kept no lock), in the order of their numbers; each is
// locked by this process until it is removed, adopted or released. A copy
// whose owner still runs is never among them. Lock files left alone by ended
// processes are removed on the way.
std::vector<std::unique_ptr<WorkingCopy>> findOrphanedCopies(const QString &folder);

} // namespace projectfile
