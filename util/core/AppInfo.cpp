#include "util/core/AppInfo.h"

#include <QCoreApplication>
#include <QDir>

QString fgAppPath()
{
    const QString home = qEnvironmentVariable("VAMOR_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(QDir(home).absolutePath());
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}
