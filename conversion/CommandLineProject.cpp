#include "conversion/CommandLineProject.h"

#include "conversion/TerminalOutput.h"
#include "data/ProjectFile.h"
#include "util/core/AppInfo.h"

#include <QFile>
#include <QFileInfo>

namespace cli {

using terminal::describe;

OpenProject::~OpenProject()
{
    setProjectHost(nullptr);
    mConn.close();
    if (!mWorkingCopy.isEmpty() && !mKeepWorkingCopy)
        QFile::remove(mWorkingCopy);
}

QString OpenProject::open(const QString &projectPath)
{
    mProjectPath = QFileInfo(projectPath).absoluteFilePath();
    if (QFileInfo(mProjectPath).isDir())
        return QStringLiteral("\"") + projectPath + QStringLiteral("\" este un folder, nu un fisier de proiect.");
    if (!QFileInfo(mProjectPath).isFile())
        return QStringLiteral("Proiectul \"") + projectPath + QStringLiteral("\" nu exista.");
    try {
        mWorkingCopy = projectfile::createWorkingCopy(mProjectPath, fgAppPath());
    } catch (const std::exception &e) {
        return QStringLiteral("Nu se poate face copia de lucru a proiectului in folderul \"") + fgAppPath()
               + QStringLiteral("\": ") + describe(e);
    }
    try {
        mConn.open(projectfile::projectConnectionString(mWorkingCopy));
        const QString version = projectfile::readProjectVersion(mConn);
        if (version != QStringLiteral("1.0"))
            return QStringLiteral("Proiectul are versiunea ") + version
                   + QStringLiteral(", pe care acest program nu o cunoaste.");
    } catch (const std::exception &e) {
        return QStringLiteral("Proiectul \"") + projectPath + QStringLiteral("\" nu poate fi deschis: ")
               + describe(e);
    }
    setProjectHost(&mHost);
    return QString();
}

QString OpenProject::save()
{
    mConn.close();
    try {
        projectfile::saveWorkingCopy(mWorkingCopy, mProjectPath);
    } catch (const std::exception &e) {
        mKeepWorkingCopy = true;
        return QStringLiteral("Proiectul nu a putut fi salvat: ") + describe(e)
               + QStringLiteral("\nStarea campurilor a ramas in copia de lucru \"") + mWorkingCopy
               + QStringLiteral("\".");
    }
    return QString();
}

} // namespace cli
