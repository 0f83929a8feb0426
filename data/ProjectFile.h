#pragma once

#include <QString>

namespace db {
class Connection;
}

// Project files on disk. A project is never opened in place: it is copied to
// a working copy "~00001.tmp" in the program folder, the working copy is the
// project database, and saving copies it back. These routines know no window;
// the main window and the command-line run both use them.
namespace projectfile {

// "~" + the counter formatted "00000" + ".tmp".
QString workingCopyName(int counter);
// The first working-copy path in `folder` that no existing file uses.
QString nextWorkingCopyPath(const QString &folder);
// Copies `source` to a new working copy in `folder`, readable and writable by
// the user alone; returns its path. Throws DbError when the copy fails.
QString createWorkingCopy(const QString &source, const QString &folder);
// Copies the working copy over `target` through a temporary file in the
// target's folder renamed over it, so the previous file stays intact when the
// copy fails. Throws DbError when it fails.
void saveWorkingCopy(const QString &workingCopy, const QString &target);
// "Provider=SQLite;Data Source=" + path.
QString projectConnectionString(const QString &workingCopy);
// Version of the first tConfig row (Null reads "1.0"). Throws DbError when
// the project has no tConfig row.
QString readProjectVersion(db::Connection &conn);

} // namespace projectfile
