#include "data/ProjectLock.h"

#include "data/ProjectFile.h"
#include "util/core/Signals.h"

#include <QDir>
#include <QLockFile>

namespace projectfile {

QString projectLockPath(const QString &projectPath) { return canonicalPath(projectPath) + QStringLiteral(".lock"); }

ProjectLock::ProjectLock() = default;

ProjectLock::~ProjectLock() { release(); }

ProjectLock::Outcome ProjectLock::acquire(const QString &projectPath, QString &message)
{
    message.clear();
    const QString canonical = canonicalPath(projectPath);
    if (holds(projectPath))
        return Outcome::Locked;

    const QString lockPath = canonical + QStringLiteral(".lock");
    auto lock = std::make_unique<QLockFile>(lockPath);
    // Only the holder's end makes a lock stale, never its age: a run may last.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        release();
        mLock = std::move(lock);
        mCanonicalPath = canonical;
        mRemoveOnSignal = std::make_unique<appsignals::RemoveOnSignal>(lockPath, true);
        return Outcome::Locked;
    }

    const QString project = QDir::toNativeSeparators(projectPath);
    if (lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString program;
        if (lock->getLockInfo(&pid, &host, &program)) {
            message = QStringLiteral("Proiectul \"%1\" este deschis de alt program: %2, procesul %3 de pe "
                                     "calculatorul %4.\nProiectul poate fi deschis dupa ce acel program il inchide.")
                          .arg(project, program.isEmpty() ? QStringLiteral("necunoscut") : program,
                               QString::number(pid), host.isEmpty() ? QStringLiteral("necunoscut") : host);
        } else {
            message = QStringLiteral("Proiectul \"%1\" este deschis de alt program (fisierul \"%2\").\nProiectul "
                                     "poate fi deschis dupa ce acel program il inchide.")
                          .arg(project, QDir::toNativeSeparators(lockPath));
        }
        return Outcome::HeldByOther;
    }
    message = QStringLiteral("Proiectul \"%1\" nu poate fi rezervat pentru acest program: fisierul \"%2\" nu poate fi "
                             "creat (%3).")
                  .arg(project, QDir::toNativeSeparators(lockPath),
                       lock->error() == QLockFile::PermissionError
                           ? QStringLiteral("folderul proiectului nu poate fi scris")
                           : QStringLiteral("folderul proiectului nu exista sau nu poate fi folosit"));
    return Outcome::Failed;
}

void ProjectLock::release()
{
    mRemoveOnSignal.reset();
    if (mLock && mLock->isLocked())
        mLock->unlock();
    mLock.reset();
    mCanonicalPath.clear();
}

bool ProjectLock::isLocked() const { return mLock && mLock->isLocked(); }

bool ProjectLock::holds(const QString &projectPath) const
{
    return isLocked() && mCanonicalPath == canonicalPath(projectPath);
}

} // namespace projectfile
