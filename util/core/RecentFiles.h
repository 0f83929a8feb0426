#pragma once

#include <QString>
#include <QStringList>

// The recently used project files, kept in the settings store under
// "RecentFiles": values "RecentFile1" to "RecentFile5", most recent first.
// Slots 1 to 4 are read, slots 1 to 5 written.

// The stored paths, distinct without regard to case, most recent first.
QStringList fgGetRecentFiles();
// Puts `path` at the head of the list; the other slots shift down behind it.
void pgAddToRecent(const QString &path);
// The text after the last "/"; the whole text when it has none.
QString fgExtractFileName(const QString &path);
// The text up to and including the last "/"; "" when it has none.
QString fgFilePath(const QString &path);
