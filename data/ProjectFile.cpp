#include "data/ProjectFile.h"

#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "util/core/Signals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace projectfile {

using detail::fail;

namespace detail {

void fail(const QString &description) { throw db::DbError(db::E_FAIL, description); }

bool copyContents(QFile &from, QFileDevice &to, QString &error)
{
    constexpr qint64 kChunk = 1 << 16;
    QByteArray buffer;
    while (true) {
        buffer = from.read(kChunk);
        if (buffer.isEmpty()) {
            if (from.error() != QFileDevice::NoError) {
                error = from.errorString();
                return false;
            }
            return true;
        }
        if (to.write(buffer) != buffer.size()) {
            error = to.errorString();
            return false;
        }
    }
}

} // namespace detail

namespace {

bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

bool processAlive(qint64 pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// Removes the temporary files that saves of `target` by processes that have
// ended left beside it ("NAME.~PID.tmp").
void removeDeadSaveTemps(const QString &target)
{
    const QFileInfo info(target);
    const QString prefix = info.fileName() + QStringLiteral(".~");
    const QString suffix = QStringLiteral(".tmp");
    const QDir dir = info.absoluteDir();
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!name.startsWith(prefix) || !name.endsWith(suffix))
            continue;
        bool number = false;
        const qint64 pid = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size()).toLongLong(&number);
        if (number && pid != QCoreApplication::applicationPid() && !processAlive(pid))
            QFile::remove(dir.filePath(name));
    }
}

} // namespace

QString workingCopyName(int counter)
{
    return QStringLiteral("~") + QStringLiteral("%1").arg(counter, 5, 10, QLatin1Char('0'))
           + QStringLiteral(".tmp");
}

QStringList journalPaths(const QString &database)
{
    return {database + QStringLiteral("-journal"), database + QStringLiteral("-wal"),
            database + QStringLiteral("-shm")};
}

QString workingCopyLockPath(const QString &workingCopy)
{
    const QFileInfo info(workingCopy);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".lock"));
}

bool workingCopyNameFree(const QString &workingCopy)
{
    if (pathTaken(workingCopy) || pathTaken(workingCopyLockPath(workingCopy)))
        return false;
    for (const QString &journal : journalPaths(workingCopy))
        if (pathTaken(journal))
            return false;
    return true;
}

QString nextWorkingCopyPath(const QString &folder)
{
    const QDir dir(folder);
    for (int counter = 1;; ++counter) {
        const QString candidate = dir.filePath(workingCopyName(counter));
        if (workingCopyNameFree(candidate))
            return candidate;
    }
}

QString canonicalPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return QDir::cleanPath(info.absoluteFilePath());
    return QDir(folder).filePath(info.fileName());
}

QString saveTempPath(const QString &target, qint64 pid)
{
    return target + QStringLiteral(".~") + QString::number(pid) + QStringLiteral(".tmp");
}

void saveWorkingCopy(const QString &workingCopy, const QString &target)
{
    QFile in(workingCopy);
    if (!in.open(QIODevice::ReadOnly))
        fail(QCoreApplication::translate("ProjectFile", "Copia de lucru \"%1\" nu poate fi citita: %2")
                 .arg(shown(workingCopy), in.errorString()));
    if (QFileInfo(target).isDir())
        fail(QCoreApplication::translate("ProjectFile", "\"%1\" este un director.").arg(shown(target)));

    // A symbolic link stays a link: the file it names is replaced.
    const QFileInfo targetInfo(target);
    QString finalPath = targetInfo.absoluteFilePath();
    if (targetInfo.isSymLink())
        finalPath = targetInfo.exists() ? targetInfo.canonicalFilePath() : targetInfo.symLinkTarget();
    const QByteArray finalName = QFile::encodeName(finalPath);
    struct stat previous {};
    const bool replacing = ::stat(finalName.constData(), &previous) == 0;
    const mode_t mode = replacing ? (previous.st_mode & 07777) : (S_IRUSR | S_IWUSR);

    // Written beside the target and renamed over it only when complete.
    const QString temp = saveTempPath(finalPath, QCoreApplication::applicationPid());
    const QByteArray tempName = QFile::encodeName(temp);
    appsignals::RemoveOnSignal removeTemp(temp);
    int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0 && errno == EEXIST) {
        // Only this process writes files of this name: it is a leftover.
        ::unlink(tempName.constData());
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    }
    if (fd < 0)
        fail(QCoreApplication::translate("ProjectFile", "Fisierul \"%1\" nu poate fi scris: %2")
                 .arg(shown(target), qt_error_string(errno)));

    QString error;
    bool written = false;
    {
        QFile out;
        if (out.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
            written = detail::copyContents(in, out, error) && out.flush();
            if (!written && error.isEmpty())
                error = out.errorString();
        } else {
            error = out.errorString();
        }
    }
    if (written) {
        // The owner and group of a replaced file are kept where the system
        // allows it; its mode always.
        if (replacing && ::fchown(fd, previous.st_uid, previous.st_gid) != 0) {
            // Not allowed (a file of another user): the new file is this user's.
        }
        if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
            written = false;
            error = qt_error_string(errno);
        }
    }
    if (::close(fd) != 0 && written) {
        written = false;
        error = qt_error_string(errno);
    }
    if (written && ::rename(tempName.constData(), finalName.constData()) != 0) {
        written = false;
        error = qt_error_string(errno);
    }
    if (!written) {
        ::unlink(tempName.constData());
        fail(QCoreApplication::translate("ProjectFile", "Fisierul \"%1\" nu poate fi scris: %2")
                 .arg(shown(target), error));
    }
    const int dirFd = ::open(QFile::encodeName(QFileInfo(finalPath).absolutePath()).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    removeDeadSaveTemps(finalPath);
}

QString projectConnectionString(const QString &workingCopy)
{
    return QStringLiteral("Provider=SQLite;Synchronous=Off;Journal=Persist;Data Source=") + workingCopy;
}

QString readProjectVersion(db::Connection &conn)
{
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT TOP 1 * FROM tConfig"), db::CursorType::Static,
                                          db::LockType::ReadOnly);
    if (rs.eof())
        throw db::DbError(
            db::ADO_E_NOCURRENTRECORD,
            QCoreApplication::translate("ProjectFile", "Tabelul tConfig al proiectului nu are niciun rand."));
    const db::Variant version = rs.value(QStringLiteral("Version"));
    rs.close();
    return version.isNull() || version.isEmpty() ? QStringLiteral("1.0") : version.toString();
}

void upgradeSchema(db::Connection &conn)
{
    // A field's own rounding rule: projects made before it lack the column.
    // Readers of the older format ignore a column they do not know.
    if (!db::findNamed(conn.tableColumns(QStringLiteral("tField"), QString()), QStringLiteral("Rounding")))
        conn.execute(QStringLiteral("ALTER TABLE tField ADD COLUMN Rounding TEXT COLLATE NOCASE"));
}

} // namespace projectfile
