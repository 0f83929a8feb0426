#pragma once

#include <QString>
#include <QStringList>

// The application title: message-box titles, the settings store's
// application name, the default template's name.
inline const QString kAppTitle = QStringLiteral("Vamor");

// The program folder: where working copies of open projects are made, and
// the folder the file dialogs start in.
// - The folder named by the environment variable VAMOR_HOME, when set.
// - Otherwise the executable's folder, when this user may write there and
//   the program is not installed (an installed program has its data folder
//   ../share/vamor beside its own folder).
// - Otherwise the user's data folder, ~/.local/share/Vamor (made when
//   missing), so that an installed program never writes beside itself.
QString fgAppPath();

// The folders project templates (*.vmt) and help are read from, first
// folder first. With VAMOR_HOME only that folder; with the executable's
// folder as program folder only that one; for an installed program the
// installed data folder (../share/vamor from the executable's folder), then
// "vamor" in every data folder of the desktop (XDG_DATA_HOME, XDG_DATA_DIRS),
// then the executable's folder and the user's data folder.
QStringList fgDataPaths();

// The project templates of the data folders, as full paths; a name found in an earlier folder hides the same name in a
// later one.
QStringList fgTemplateFiles();

// The full path of the file `name` in the first data folder holding it;
// when none does, its path in the first data folder (which does not exist).
QString fgDataFile(const QString &name);
// A file that comes with the program itself (a translation): as
// fgDataFile, then in the program's own folders also when VAMOR_HOME names
// another. "" when there is none.
QString fgProgramFile(const QString &name);

namespace appinfo {

struct Folders {
    QString program;      // where working copies go (not made here)
    QStringList data;     // where templates and help are read, in order
    bool installed = false;
};

// The rules above for an executable in `exeDir`, VAMOR_HOME `home` ("" when
// unset) and the desktop's data folders as QStandardPaths gives them now.
Folders resolveFolders(const QString &exeDir, const QString &home);

// The templates of `folders`, as fgTemplateFiles gives them.
QStringList templateFiles(const QStringList &folders);

// True when this user may create files in `path`. The folder's permission
// bits are obeyed even by the superuser: a program folder marked read-only
// stays untouched whoever runs the program.
bool isWritableFolder(const QString &path);

} // namespace appinfo
