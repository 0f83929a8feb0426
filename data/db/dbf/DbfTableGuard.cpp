#include "data/db/dbf/DbfTableGuard.h"

#include "data/db/DbError.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace db {

namespace {

using Clock = std::chrono::steady_clock;

// Vamor's own lock: one byte far beyond every offset a dBase, FoxPro or
// Clipper program locks (all of them below 4 GiB).
constexpr off_t kOwnLockOffset = off_t(1) << 62;
// How often a held table is looked at again while waiting.
constexpr auto kPoll = std::chrono::milliseconds(40);

std::function<void(const QString &)> &beforeReplaceHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

QString nameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

[[noreturn]] void fail(const QString &text)
{
    throw DbError(E_FAIL, text);
}

[[noreturn]] void changed(const QString &path)
{
    fail(QCoreApplication::translate(
             "DbfTableGuard",
             "Tabelul \"%1\" a fost schimbat de alt program in timpul conversiei; nu a fost scris nimic.")
             .arg(nameOf(path)));
}

// What keeps a table from being changed at this moment.
struct Holder {
    enum Kind { None, Opened, Locked } kind = None;
    pid_t pid = 0; // 0 when not known
};

QString processName(pid_t pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

// Names the process that holds the table when it is known: its number,
// and its name too when that can be read.
QString heldMessage(const QString &path, const Holder &holder)
{
    const QString table = nameOf(path);
    const QString pid = QString::number(holder.pid);
    const QString name = holder.pid > 0 ? processName(holder.pid) : QString();
    if (holder.kind == Holder::Locked) {
        if (holder.pid <= 0)
            return QCoreApplication::translate("DbfTableGuard", "Tabelul \"%1\" este blocat de alt program; "
                                                                "inchideti programul si reluati conversia.")
                .arg(table);
        if (name.isEmpty())
            return QCoreApplication::translate("DbfTableGuard", "Tabelul \"%1\" este blocat de alt program "
                                                                "(procesul %2); inchideti programul si reluati "
                                                                "conversia.")
                .arg(table, pid);
        return QCoreApplication::translate("DbfTableGuard", "Tabelul \"%1\" este blocat de alt program (procesul "
                                                            "%2, %3); inchideti programul si reluati conversia.")
            .arg(table, pid, name);
    }
    if (holder.pid <= 0)
        return QCoreApplication::translate("DbfTableGuard", "Tabelul \"%1\" este folosit de alt program; inchideti "
                                                            "programul si reluati conversia.")
            .arg(table);
    if (name.isEmpty())
        return QCoreApplication::translate("DbfTableGuard", "Tabelul \"%1\" este folosit de alt program (procesul "
                                                            "%2); inchideti programul si reluati conversia.")
            .arg(table, pid);
    return QCoreApplication::translate("DbfTableGuard", "Tabelul \"%1\" este folosit de alt program (procesul %2, "
                                                        "%3); inchideti programul si reluati conversia.")
        .arg(table, pid, name);
}

// Another process of this machine that has the file open; 0 when none is
// seen. Processes whose descriptors may not be read (another user's, unless
// this one is root) are not seen.
pid_t otherProcessWith(dev_t device, ino_t inode)
{
    DIR *proc = opendir("/proc");
    if (!proc)
        return 0;
    const pid_t self = getpid();
    pid_t found = 0;
    while (found == 0) {
        const dirent *entry = readdir(proc);
        if (!entry)
            break;
        char *end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (*end != '\0' || pid <= 0 || pid == self)
            continue;
        char folder[48];
        std::snprintf(folder, sizeof folder, "/proc/%ld/fd", pid);
        DIR *fds = opendir(folder);
        if (!fds)
            continue;
        while (const dirent *fd = readdir(fds)) {
            struct stat st;
            if (fd->d_name[0] != '.' && fstatat(dirfd(fds), fd->d_name, &st, 0) == 0 && st.st_dev == device
                && st.st_ino == inode) {
                found = static_cast<pid_t>(pid);
                break;
            }
        }
        closedir(fds);
    }
    closedir(proc);
    return found;
}

// A record lock another open file description holds anywhere from the first
// byte to the largest offset, beyond the end of the file included.
bool otherRecordLock(const QString &path, int fd, pid_t *pid)
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0; // to the largest offset
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0)
        fail(QCoreApplication::translate("DbfTableGuard", "Blocarile tabelului \"%1\" nu pot fi verificate: %2")
                 .arg(nameOf(path), systemError()));
    if (lock.l_type == F_UNLCK)
        return false;
    *pid = lock.l_pid > 0 ? lock.l_pid : 0; // an open file description lock has no process
    return true;
}

// A flock() another program holds, tried on an open file description of our
// own (closed at once, which lets go of the trial lock).
bool otherFlock(const QByteArray &nativePath)
{
    const int fd = open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false; // the other checks say why the file cannot be used
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

// Who holds the file `st` now, seen through our own descriptor `fd` of it
// (opened for reading will do): record locks and flock() first, then any
// other process that has it open.
Holder holderOf(const QString &path, const struct stat &st, int fd)
{
    pid_t pid = 0;
    if (otherRecordLock(path, fd, &pid))
        return {Holder::Locked, pid != 0 ? pid : otherProcessWith(st.st_dev, st.st_ino)};
    // A descriptor of the very file, whatever its name is now.
    if (otherFlock(QByteArray("/proc/self/fd/") + QByteArray::number(fd)))
        return {Holder::Locked, otherProcessWith(st.st_dev, st.st_ino)};
    pid = otherProcessWith(st.st_dev, st.st_ino);
    if (pid != 0)
        return {Holder::Opened, pid};
    return {};
}

// What another process that has the file open does with it, for the
// message: looking means opening the file, which a waiting Vamor does not
// do, so that a Vamor holding it does not see it.
Holder describeHolder(const QString &path, const QByteArray &nativePath, const struct stat &st, const Holder &seen)
{
    const int fd = open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return seen;
    const Holder holder = holderOf(path, st, fd);
    close(fd);
    return holder.kind == Holder::None ? seen : holder;
}

bool sameFile(const struct stat &st, const DbfFileStamp &stamp)
{
    return static_cast<quint64>(st.st_dev) == stamp.device && static_cast<quint64>(st.st_ino) == stamp.inode
           && st.st_size == stamp.size && st.st_mtim.tv_sec == stamp.modifiedSeconds
           && st.st_mtim.tv_nsec == stamp.modifiedNanoseconds;
}

QByteArray checksumOf(const QByteArray &content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256);
}

// The file's content read again through `fd`; empty when it cannot be read whole.
QByteArray contentOf(int fd, qint64 size)
{
    QByteArray data(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = pread(fd, data.data() + done, static_cast<size_t>(size - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return QByteArray();
        done += n;
    }
    return data;
}

bool writeAll(int fd, const QByteArray &content)
{
    qint64 done = 0;
    while (done < content.size()) {
        const ssize_t n = write(fd, content.constData() + done, static_cast<size_t>(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void waitABit()
{
    std::this_thread::sleep_for(kPoll);
}

void beforeReplace(const QString &path)
{
    if (const auto &hook = beforeReplaceHook()) {
        hook(path);
        return;
    }
    static const int pause = qEnvironmentVariableIntValue("VAMOR_DBF_PAUSE_BEFORE_REPLACE_MS");
    if (pause > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
}

// The new file beside the table, removed unless it took the table's place.
struct NewFile {
    QByteArray path;
    int fd = -1;
    bool placed = false;
    ~NewFile()
    {
        if (fd >= 0)
            close(fd);
        if (!placed && !path.isEmpty())
            unlink(path.constData());
    }
};

} // namespace

DbfFileStamp DbfFileStamp::of(int fd, const QByteArray &content)
{
    DbfFileStamp stamp;
    struct stat st;
    if (fstat(fd, &st) != 0)
        return stamp; // a size of -1 matches no file: the table reads as changed
    stamp.device = static_cast<quint64>(st.st_dev);
    stamp.inode = static_cast<quint64>(st.st_ino);
    stamp.size = st.st_size;
    stamp.modifiedSeconds = st.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = st.st_mtim.tv_nsec;
    stamp.checksum = checksumOf(content);
    return stamp;
}

DbfTableGuard::DbfTableGuard(QString path, DbfFileStamp stamp, int fd, int timeoutMs)
    : mPath(std::move(path)), mStamp(std::move(stamp)), mFd(fd), mTimeoutMs(timeoutMs)
{
}

DbfTableGuard::~DbfTableGuard()
{
    if (mFd >= 0)
        close(mFd); // lets go of Vamor's lock
}

std::unique_ptr<DbfTableGuard> DbfTableGuard::take(const QString &path, const DbfFileStamp &asRead, int timeoutMs)
{
    const QByteArray native = QFile::encodeName(path);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(qMax(0, timeoutMs));
    for (;;) {
        struct stat st;
        if (stat(native.constData(), &st) != 0 || !sameFile(st, asRead))
            changed(path);
        // The file is opened only when no other process has it: a second
        // Vamor waiting here is not seen by the first one's checks.
        Holder holder{Holder::Opened, otherProcessWith(st.st_dev, st.st_ino)};
        if (holder.pid == 0) {
            const int fd = open(native.constData(), O_RDWR | O_CLOEXEC);
            if (fd < 0)
                fail(QCoreApplication::translate("DbfTableGuard",
                                                 "Tabelul \"%1\" nu poate fi deschis pentru scriere: %2")
                         .arg(nameOf(path), systemError()));
            struct flock own {};
            own.l_type = F_WRLCK;
            own.l_whence = SEEK_SET;
            own.l_start = kOwnLockOffset;
            own.l_len = 1;
            if (fcntl(fd, F_OFD_SETLK, &own) == 0) {
                std::unique_ptr<DbfTableGuard> guard(new DbfTableGuard(path, asRead, fd, timeoutMs));
                // Holding the lock, wait for whoever else has the file.
                guard->checkHeld();
                return guard;
            }
            const int error = errno;
            close(fd);
            if (error != EAGAIN && error != EACCES) {
                errno = error;
                fail(QCoreApplication::translate("DbfTableGuard", "Tabelul \"%1\" nu poate fi blocat: %2")
                         .arg(nameOf(path), systemError()));
            }
            holder = {Holder::Locked, otherProcessWith(st.st_dev, st.st_ino)};
        }
        if (Clock::now() >= deadline)
            fail(heldMessage(path, holder.kind == Holder::Opened ? describeHolder(path, native, st, holder) : holder));
        waitABit();
    }
}

void DbfTableGuard::checkHeld() const
{
    const QByteArray native = QFile::encodeName(mPath);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(qMax(0, mTimeoutMs));
    struct stat mine;
    for (;;) {
        struct stat named;
        // Our descriptor is still the file read, and still the one the name leads to.
        if (fstat(mFd, &mine) != 0 || !sameFile(mine, mStamp) || stat(native.constData(), &named) != 0
            || named.st_dev != mine.st_dev || named.st_ino != mine.st_ino)
            changed(mPath);
        const Holder holder = holderOf(mPath, mine, mFd);
        if (holder.kind == Holder::None)
            break;
        if (Clock::now() >= deadline)
            fail(heldMessage(mPath, holder));
        waitABit();
    }
    if (checksumOf(contentOf(mFd, mStamp.size)) != mStamp.checksum || fstat(mFd, &mine) != 0 || !sameFile(mine, mStamp))
        changed(mPath);
}

void DbfTableGuard::replace(const QByteArray &content)
{
    const QString name = nameOf(mPath);
    const auto cannotWrite = [&name]() {
        fail(QCoreApplication::translate("DbfTableGuard", "Tabelul %1 nu poate fi scris: %2").arg(name, systemError()));
    };
    struct stat table;
    if (fstat(mFd, &table) != 0)
        cannotWrite();
    NewFile file;
    file.path = QFile::encodeName(mPath + QStringLiteral(".vamor-XXXXXX"));
    file.fd = mkostemp(file.path.data(), O_CLOEXEC);
    if (file.fd < 0) {
        file.path.clear();
        cannotWrite();
    }
    if (!writeAll(file.fd, content) || fchmod(file.fd, table.st_mode & 07777) != 0)
        cannotWrite();
    // The owner too, where this user may give it (root).
    if (fchown(file.fd, table.st_uid, table.st_gid) != 0) {
        // Not allowed: the new file stays the writer's, as any file it writes.
    }
    if (fsync(file.fd) != 0)
        cannotWrite();
    const int fd = file.fd;
    file.fd = -1;
    if (close(fd) != 0)
        cannotWrite();

    beforeReplace(mPath);
    checkHeld();
    if (rename(file.path.constData(), QFile::encodeName(mPath).constData()) != 0)
        cannotWrite();
    file.placed = true;
    // The rename itself on disk.
    const int folder = open(QFile::encodeName(QFileInfo(mPath).path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
}

namespace dbf {

void setBeforeReplaceHook(std::function<void(const QString &)> hook)
{
    beforeReplaceHook() = std::move(hook);
}

} // namespace dbf

} // namespace db
