#pragma once

#include <QString>
#include <QStringList>

class QFile;
class QFileDevice;

namespace db {
class Connection;
}

// Project files on disk. A project is never opened in place: it is copied to
// a working copy "~00001.tmp" in the program folder (see WorkingCopy.h), the
// working copy is the project database, and saving copies it back. These
// routines know no window; the main window and the command-line run both use
// them.
namespace projectfile {

// "~" + the counter formatted "00000" + ".tmp".
QString workingCopyName(int counter);
// The journals SQLite may keep beside a database: "-journal", "-wal", "-shm".
QStringList journalPaths(const QString &database);
// The lock file that names the process owning a working copy: "~00001.lock"
// beside "~00001.tmp".
QString workingCopyLockPath(const QString &workingCopy);
// True when no file of that working-copy name, of its journals or of its
// lock exists: a journal left by a killed run would otherwise be played into
// the next database of that name.
bool workingCopyNameFree(const QString &workingCopy);
// The first working-copy path in `folder` whose name is free.
QString nextWorkingCopyPath(const QString &folder);
// Copies `source` to a new working copy in `folder` (see WorkingCopy::create)
// and gives it up at once: nothing owns or removes it. For tools that remove
// the copy themselves. Throws DbError when it fails.
QString createWorkingCopy(const QString &source, const QString &folder);

// The path a file is known by, whatever path names it: the canonical path of
// an existing file (symbolic links and relative parts resolved), or the
// canonical path of its folder and its name when it does not exist yet.
QString canonicalPath(const QString &path);

// Copies the working copy over `target` through a temporary file beside the
// target ("NAME.~PID.tmp") renamed over it, so the previous file stays intact
// when the copy fails. A new project file is readable and writable by its
// owner alone (it holds the passwords of the data sources); a replaced one
// keeps its mode. A symbolic link stays a link: the file it names is
// replaced. Temporary files of earlier saves whose process has ended are
// removed. Throws DbError when it fails.
void saveWorkingCopy(const QString &workingCopy, const QString &target);
// The temporary file of a save of `target` by process `pid`.
QString saveTempPath(const QString &target, qint64 pid);

// "Provider=SQLite;Synchronous=Off;Journal=Persist;Data Source=" + path. The
// working copy is written without waiting for the disk: its durable form is
// the saved project (saveWorkingCopy), and a program that ends at any moment
// still leaves it whole, since the engine's journal is written before the
// file. Its journal file stays between transactions (cleared, not removed):
// no file is made and removed for every change of the project.
QString projectConnectionString(const QString &workingCopy);
// Version of the first tConfig row (Null reads "1.0"). Throws DbError when
// the project has no tConfig row.
QString readProjectVersion(db::Connection &conn);

namespace detail {
// Copies everything `from` holds into `to`; false with the reason on a read
// or write error.
bool copyContents(QFile &from, QFileDevice &to, QString &error);
// Throws DbError(E_FAIL) with the description.
[[noreturn]] void fail(const QString &description);
} // namespace detail

// Brings a project of format 1.0 made by an earlier version up to what this
// one reads (columns added since, all optional): done on the working copy
// right after it is opened. Throws DbError when it fails.
void upgradeSchema(db::Connection &conn);

} // namespace projectfile
