#include "util/core/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#ifndef VAMOR_DATA_FROM_BIN
#define VAMOR_DATA_FROM_BIN "../share/vamor"
#endif

namespace {

// The folder of the installed program's templates and help, relative to the
// executable's folder, and its name in the desktop's data folders.
const QString kDataFromBin = QStringLiteral(VAMOR_DATA_FROM_BIN);
const QString kDataSubfolder = QStringLiteral("vamor");
const QString kTemplatePattern = QStringLiteral("*.vmt");

QString clean(const QString &path) { return QDir::cleanPath(QDir(path).absolutePath()); }

QString exeFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // No application object (a helper before one exists): the process's own
    // executable.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists())
        return QFileInfo(self.canonicalFilePath()).absolutePath();
    return QDir::currentPath();
}

// The user's own data folder of the program.
QString userDataFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return clean(base + QLatin1Char('/') + kAppTitle);
}

bool inGroup(gid_t group)
{
    if (group == getegid())
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int got = getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[static_cast<size_t>(i)] == group)
            return true;
    return false;
}

} // namespace

namespace appinfo {

bool isWritableFolder(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    // A read-only file system, an access list, the search bit.
    if (::access(native.constData(), W_OK | X_OK) != 0)
        return false;
    // The superuser, in no class of a folder it does not own, follows the
    // owner's bit.
    if (info.st_uid == geteuid() || geteuid() == 0)
        return (info.st_mode & S_IWUSR) != 0;
    if (inGroup(info.st_gid))
        return (info.st_mode & S_IWGRP) != 0;
    return (info.st_mode & S_IWOTH) != 0;
}

Folders resolveFolders(const QString &exeDir, const QString &home)
{
    Folders folders;
    if (!home.isEmpty()) {
        folders.program = clean(home);
        folders.data = {folders.program};
        return folders;
    }
    const QString exe = clean(exeDir);
    const QString installedData = clean(QDir(exe).filePath(kDataFromBin));
    folders.installed = QFileInfo(installedData).isDir() || !isWritableFolder(exe);
    if (!folders.installed) {
        folders.program = exe;
        folders.data = {exe};
        return folders;
    }
    folders.program = userDataFolder();
    QStringList candidates{installedData};
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates.append(clean(dir + QLatin1Char('/') + kDataSubfolder));
    candidates << exe << folders.program;
    for (const QString &dir : candidates)
        if (!folders.data.contains(dir))
            folders.data.append(dir);
    return folders;
}

} // namespace appinfo

QString fgAppPath()
{
    const appinfo::Folders folders = appinfo::resolveFolders(exeFolder(), qEnvironmentVariable("VAMOR_HOME"));
    // The user's data folder is made on first use; when it cannot be, the
    // working copy's own error says where it could not be written.
    if (folders.installed)
        QDir().mkpath(folders.program);
    return folders.program;
}

QStringList fgDataPaths()
{
    return appinfo::resolveFolders(exeFolder(), qEnvironmentVariable("VAMOR_HOME")).data;
}

QStringList fgTemplateFiles() { return appinfo::templateFiles(fgDataPaths()); }

QStringList appinfo::templateFiles(const QStringList &folders)
{
    QStringList result;
    QSet<QString> seen;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QStringList names =
            dir.entryList({kTemplatePattern}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
        for (const QString &name : names) {
            if (seen.contains(name))
                continue;
            seen.insert(name);
            result.append(dir.filePath(name));
        }
    }
    return result;
}

namespace {

// The path of `name` in the first of `folders` holding it, "" when none does.
QString firstFile(const QStringList &folders, const QString &name)
{
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

} // namespace

QString fgProgramFile(const QString &name)
{
    return firstFile(fgDataPaths() + appinfo::resolveFolders(exeFolder(), QString()).data, name);
}

QString fgDataFile(const QString &name)
{
    const QStringList folders = fgDataPaths();
    const QString found = firstFile(folders, name);
    if (!found.isEmpty())
        return found;
    return folders.isEmpty() ? name : QDir(folders.first()).filePath(name);
}
