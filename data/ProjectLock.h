#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace appsignals {
class RemoveOnSignal;
}

namespace projectfile {

// The lock file of a project: the project's canonical path + ".lock".
QString projectLockPath(const QString &projectPath);

// One program at a time per project file: from opening a project to closing
// it, the lock file beside it names the program, process and computer that
// have it open. A lock left by a process that has ended is taken over, and
// so is one left empty by a process killed while making it.
class ProjectLock {
public:
    ProjectLock();
    ~ProjectLock();
    ProjectLock(const ProjectLock &) = delete;
    ProjectLock &operator=(const ProjectLock &) = delete;

    enum class Outcome { Locked, HeldByOther, Failed };
    // Locks `projectPath` for this process; a lock this object held on
    // another project is given up once the new one is taken. `message` gets
    // the reason when it is not Locked: who holds the project, or why its
    // lock file cannot be made.
    Outcome acquire(const QString &projectPath, QString &message);
    void release();
    bool isLocked() const;
    // True when this object holds the lock of the file `projectPath` names.
    bool holds(const QString &projectPath) const;

private:
    static bool takeOverEmptyLock(const QString &lockPath);

    std::unique_ptr<QLockFile> mLock;
    std::unique_ptr<appsignals::RemoveOnSignal> mRemoveOnSignal;
    QString mCanonicalPath;
};

} // namespace projectfile
