#include "data/ProjectLock.h"

#include "data/ProjectFile.h"
#include "util/core/Signals.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

namespace projectfile {

QString projectLockPath(const QString &projectPath) { return canonicalPath(projectPath) + QStringLiteral(".lock"); }

ProjectLock::ProjectLock() = default;

ProjectLock::~ProjectLock() { release(); }

namespace {

// A holder writes its name into the lock file the moment it creates it; a
// lock file that stays empty longer than this was left by a process that
// ended between the two.
constexpr qint64 kEmptyLockGraceMs = 2000;

} // namespace

// The lock file exists but names no holder: a process killed between making
// the file and writing into it. Without a holder's name it can never be seen
// as ended, so the project would stay locked for good. Waits out the moment a
// live holder needs to write its name, then removes the file if it is still
// empty. True when it was removed.
bool ProjectLock::takeOverEmptyLock(const QString &lockPath)
{
    QFileInfo info(lockPath);
    if (!info.exists() || info.size() != 0)
        return false;
    const qint64 age = info.lastModified().msecsTo(QDateTime::currentDateTime());
    if (age < kEmptyLockGraceMs)
        QThread::msleep(static_cast<unsigned long>(kEmptyLockGraceMs - qMax<qint64>(age, 0)));
    info.refresh();
    if (!info.exists() || info.size() != 0)
        return false;
    return QFile::remove(lockPath);
}

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
    bool locked = lock->tryLock(0);
    if (!locked && lock->error() == QLockFile::LockFailedError && takeOverEmptyLock(lockPath))
        locked = lock->tryLock(0);
    if (locked) {
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
            //: Stands for the name of a program or of a computer that is not known.
            const QString unknown = QCoreApplication::translate("ProjectLock", "necunoscut");
            message = QCoreApplication::translate("ProjectLock",
                                                  "Proiectul \"%1\" este deschis de alt program: %2, procesul %3 de "
                                                  "pe calculatorul %4.\nProiectul poate fi deschis dupa ce acel "
                                                  "program il inchide.")
                          .arg(project, program.isEmpty() ? unknown : program, QString::number(pid),
                               host.isEmpty() ? unknown : host);
        } else {
            message = QCoreApplication::translate("ProjectLock",
                                                  "Proiectul \"%1\" este deschis de alt program (fisierul \"%2\")."
                                                  "\nProiectul poate fi deschis dupa ce acel program il inchide.")
                          .arg(project, QDir::toNativeSeparators(lockPath));
        }
        return Outcome::HeldByOther;
    }
    message = lock->error() == QLockFile::PermissionError
                  ? QCoreApplication::translate("ProjectLock",
                                                "Proiectul \"%1\" nu poate fi rezervat pentru acest program: "
                                                "fisierul \"%2\" nu poate fi creat (folderul proiectului nu poate "
                                                "fi scris).")
                  : QCoreApplication::translate("ProjectLock",
                                                "Proiectul \"%1\" nu poate fi rezervat pentru acest program: "
                                                "fisierul \"%2\" nu poate fi creat (folderul proiectului nu exista "
                                                "sau nu poate fi folosit).");
    message = message.arg(project, QDir::toNativeSeparators(lockPath));
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
