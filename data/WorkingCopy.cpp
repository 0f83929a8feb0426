#include "data/WorkingCopy.h"

#include "data/ProjectFile.h"
#include "util/core/Signals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QRegularExpression>

namespace projectfile {

using detail::fail;

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

bool exists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Where a working copy is written before it takes its name: a run killed
// while it copies never leaves a copy that is not whole under that name.
QString partialPath(const QString &workingCopy) { return workingCopy + QStringLiteral("-new"); }

std::unique_ptr<QLockFile> newLock(const QString &workingCopy)
{
    auto lock = std::make_unique<QLockFile>(workingCopyLockPath(workingCopy));
    // Only the owner's end makes a lock stale, never its age: a run may last.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

WorkingCopy::WorkingCopy(QString path, std::unique_ptr<QLockFile> lock) : mPath(std::move(path)), mLock(std::move(lock))
{
}

WorkingCopy::~WorkingCopy() { release(); }

void WorkingCopy::registerForSignals()
{
    mRemoveOnSignal.clear();
    QStringList paths = QStringList{mPath, partialPath(mPath)} + journalPaths(mPath);
    for (const QString &path : paths)
        mRemoveOnSignal.push_back(std::make_unique<appsignals::RemoveOnSignal>(path));
    mRemoveOnSignal.push_back(std::make_unique<appsignals::RemoveOnSignal>(workingCopyLockPath(mPath), true));
}

std::unique_ptr<WorkingCopy> WorkingCopy::create(const QString &source, const QString &folder)
{
    QFile in(source);
    if (QFileInfo(source).isDir() || !in.open(QIODevice::ReadOnly))
        fail(QFileInfo(source).isDir()
                 ? QCoreApplication::translate("WorkingCopy", "Fisierul \"%1\" nu poate fi citit: este un director")
                       .arg(shown(source))
                 : QCoreApplication::translate("WorkingCopy", "Fisierul \"%1\" nu poate fi citit: %2")
                       .arg(shown(source), in.errorString()));

    // The lock is taken before the copy is made and given up after it is
    // deleted, so that a copy never exists without its owner being known.
    const QDir dir(folder);
    for (int counter = 1;; ++counter) {
        const QString path = dir.filePath(workingCopyName(counter));
        if (!workingCopyNameFree(path))
            continue;
        std::unique_ptr<QLockFile> lock = newLock(path);
        if (!lock->tryLock(0)) {
            if (lock->error() == QLockFile::LockFailedError)
                continue; // taken in the meantime
            fail(QCoreApplication::translate("WorkingCopy", "Copia de lucru \"%1\" nu poate fi creata: fisierul "
                                                            "\"%2\" nu poate fi scris in folderul programului.")
                     .arg(shown(path), shown(workingCopyLockPath(path))));
        }
        std::unique_ptr<WorkingCopy> copy(new WorkingCopy(path, std::move(lock)));
        // A program that keeps no lock may have taken the name meanwhile.
        bool taken = exists(path);
        for (const QString &journal : journalPaths(path))
            taken = taken || exists(journal);
        if (taken) {
            copy->release();
            continue;
        }
        copy->registerForSignals();

        // The working copy holds the passwords of the data sources: it is
        // readable and writable by the user alone. It is written whole under
        // a name of its own (one left by a killed run of the same name goes
        // first: the lock says that run has ended), then renamed.
        const QString partial = partialPath(path);
        QFile::remove(partial);
        QFile out(partial);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            const QString error = out.errorString();
            copy->remove();
            fail(QCoreApplication::translate("WorkingCopy", "Copia de lucru \"%1\" nu poate fi creata: %2")
                     .arg(shown(path), error));
        }
        QString error;
        const bool copied = detail::copyContents(in, out, error) && out.flush();
        if (!copied && error.isEmpty())
            error = out.errorString();
        out.close();
        if (!copied || out.error() != QFileDevice::NoError) {
            copy->remove();
            fail(QCoreApplication::translate("WorkingCopy", "Fisierul \"%1\" nu poate fi copiat in \"%2\": %3")
                     .arg(shown(source), shown(path), error));
        }
        // Renaming never replaces: a program that keeps no lock and took the
        // name meanwhile keeps its file, and this copy takes the next name.
        if (!QFile::rename(partial, path)) {
            QFile::remove(partial);
            if (exists(path)) {
                copy->release();
                continue;
            }
            copy->remove();
            fail(QCoreApplication::translate("WorkingCopy", "Copia de lucru \"%1\" nu poate fi creata.")
                     .arg(shown(path)));
        }
        return copy;
    }
}

bool WorkingCopy::hasDatabase() const { return exists(mPath); }

QStringList WorkingCopy::files() const
{
    QStringList result;
    for (const QString &path : QStringList{mPath} + journalPaths(mPath))
        if (exists(path))
            result.append(path);
    return result;
}

QDateTime WorkingCopy::modified() const
{
    QDateTime newest;
    for (const QString &path : files()) {
        const QDateTime time = QFileInfo(path).lastModified();
        if (path == mPath)
            return time;
        if (!newest.isValid() || time > newest)
            newest = time;
    }
    return newest;
}

void WorkingCopy::adopt() { registerForSignals(); }

void WorkingCopy::remove()
{
    QFile::remove(mPath);
    QFile::remove(partialPath(mPath));
    for (const QString &journal : journalPaths(mPath))
        QFile::remove(journal);
    release();
}

void WorkingCopy::release()
{
    mRemoveOnSignal.clear();
    if (mLock && mLock->isLocked())
        mLock->unlock();
    mLock.reset();
}

QString createWorkingCopy(const QString &source, const QString &folder)
{
    std::unique_ptr<WorkingCopy> copy = WorkingCopy::create(source, folder);
    const QString path = copy->path();
    copy->release();
    return path;
}

std::vector<std::unique_ptr<WorkingCopy>> findOrphanedCopies(const QString &folder)
{
    static const QRegularExpression kName(QStringLiteral("^(~\\d{5,})\\.(tmp|tmp-new|tmp-journal|tmp-wal|tmp-shm|lock)$"));
    const QDir dir(folder);
    QMap<qint64, QString> bases;
    for (const QString &name : dir.entryList({QStringLiteral("~*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = kName.match(name);
        if (match.hasMatch())
            bases.insert(match.captured(1).mid(1).toLongLong(), match.captured(1));
    }

    std::vector<std::unique_ptr<WorkingCopy>> orphans;
    for (const QString &base : bases) {
        const QString path = dir.filePath(base + QStringLiteral(".tmp"));
        std::unique_ptr<QLockFile> lock = newLock(path);
        // A copy whose owner runs stays locked; one whose owner has ended has
        // its stale lock taken over.
        if (!lock->tryLock(0))
            continue;
        std::unique_ptr<WorkingCopy> copy(new WorkingCopy(path, std::move(lock)));
        if (copy->files().isEmpty()) {
            // A lock left alone, or a copy never finished: nothing to offer.
            copy->remove();
            continue;
        }
        orphans.push_back(std::move(copy));
    }
    return orphans;
}

} // namespace projectfile
