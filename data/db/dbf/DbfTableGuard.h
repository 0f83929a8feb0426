#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace db {

// A table file as it was read: which file it was, its size and the time of
// its last change (to the nanosecond), and a checksum of the bytes read.
struct DbfFileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;
    QByteArray checksum;

    // The stamp of `content`, just read through the open file `fd`.
    static DbfFileStamp of(int fd, const QByteArray &content);
};

// Vamor's hold on a table it changes, from the check before the first change
// until the new file has replaced the old one.
//
// Other programs (FoxPro, dBase, Clipper, another Vamor) keep editing a table
// they hold open; a table renamed over theirs would lose their edits. So a
// table is changed only while no other program holds it:
//  - no record lock of another program anywhere in the file or in the lock
//    regions beyond its end (Clipper at 1 000 000 000, FoxPro below
//    0x7FFFFFFE, dBase IV near 4 GiB): one query over the whole range;
//  - no flock() on it;
//  - no other process of this machine with the file open (/proc/*/fd; a
//    process of another user is seen only when Vamor runs as root);
//  - the file still byte for byte as read: same file, size, time of change
//    and checksum of its content.
// Vamor's own hold is a write lock (open file description lock) on one byte
// far beyond any offset those programs lock: a second Vamor cannot take it,
// and sees the first one's lock and open file in the checks above.
// A holder is waited for at most the time given; the table is then refused.
class DbfTableGuard {
public:
    // Checks the table and takes Vamor's lock on it. Throws DbError naming
    // the table and why it may not be changed; nothing is held then.
    static std::unique_ptr<DbfTableGuard> take(const QString &path, const DbfFileStamp &asRead, int timeoutMs);
    ~DbfTableGuard();
    DbfTableGuard(const DbfTableGuard &) = delete;
    DbfTableGuard &operator=(const DbfTableGuard &) = delete;

    // Writes `content` to a new file beside the table (its permissions and,
    // where allowed, its owner), checks the table again as take() does, and
    // renames the new file over it. Throws DbError when a check or the write
    // fails: the new file is removed and the table is as it was.
    void replace(const QByteArray &content);

private:
    DbfTableGuard(QString path, DbfFileStamp stamp, int fd, int timeoutMs);
    // Waits (up to the time-out) until no other program holds the table and
    // checks it is unchanged; throws otherwise.
    void checkHeld() const;

    QString mPath;
    DbfFileStamp mStamp;
    int mFd = -1;
    int mTimeoutMs = 0;
};

namespace dbf {

// Tests only: called with the table's path once its new file is written,
// before the last checks and the rename (a test changes or locks the table
// there). An empty function removes the hook. Without a hook, the variable
// VAMOR_DBF_PAUSE_BEFORE_REPLACE_MS makes a run wait that many milliseconds
// there (tests of two programs at once).
void setBeforeReplaceHook(std::function<void(const QString &)> hook);

} // namespace dbf

} // namespace db
