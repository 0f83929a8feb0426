#include "conversion/CommandLineProject.h"

#include "conversion/ReportLog.h"
#include "conversion/TerminalOutput.h"
#include "conversion/RunHistory.h"
#include "data/ProjectFile.h"
#include "util/core/AppInfo.h"
#include "util/core/Signals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace cli {

using terminal::describe;

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

// Names the working copies that runs which have ended left in the program
// folder. They are only named: the desktop program offers to recover or
// delete them.
void nameOrphanedCopies()
{
    for (const auto &orphan : projectfile::findOrphanedCopies(fgAppPath())) {
        const QString when = QLocale::system().toString(orphan->modified(), QLocale::ShortFormat);
        if (orphan->hasDatabase())
            terminal::err(QCoreApplication::translate("CommandLineProject",
                                                      "Copie de lucru ramasa de la o rulare Vamor oprita: \"%1\" (%2). "
                                                      "Poate fi recuperata sau stearsa din programul Vamor cu ferestre.")
                              .arg(shown(orphan->path()), when)
                          + QLatin1Char('\n'));
        else
            terminal::err(QCoreApplication::translate("CommandLineProject",
                                                      "Jurnal ramas de la o rulare Vamor oprita: \"%1\" (%2). Poate fi "
                                                      "sters din programul Vamor cu ferestre.")
                              .arg(shown(orphan->files().value(0)), when)
                          + QLatin1Char('\n'));
    }
}

} // namespace

OpenProject::OpenProject() = default;

OpenProject::~OpenProject()
{
    setProjectHost(nullptr);
    mConn.close();
    if (mWorkingCopy) {
        if (mKeepWorkingCopy)
            mWorkingCopy->release();
        else
            mWorkingCopy->remove();
        mWorkingCopy.reset();
    }
    mLock.release();
    appsignals::restoreDefaults();
}

QString OpenProject::workingCopyPath() const { return mWorkingCopy ? mWorkingCopy->path() : QString(); }

QString OpenProject::open(const QString &projectPath)
{
    mProjectPath = QFileInfo(projectPath).absoluteFilePath();
    if (QFileInfo(mProjectPath).isDir())
        return QCoreApplication::translate("CommandLineProject", "\"%1\" este un folder, nu un fisier de proiect.")
            .arg(projectPath);
    if (!QFileInfo(mProjectPath).isFile())
        return QCoreApplication::translate("CommandLineProject", "Proiectul \"%1\" nu exista.").arg(projectPath);

    appsignals::installExitOnSignal();
    QString message;
    if (mLock.acquire(mProjectPath, message) != projectfile::ProjectLock::Outcome::Locked)
        return message;

    nameOrphanedCopies();
    try {
        mWorkingCopy = projectfile::WorkingCopy::create(mProjectPath, fgAppPath());
    } catch (const std::exception &e) {
        return QCoreApplication::translate("CommandLineProject",
                                           "Nu se poate face copia de lucru a proiectului in folderul \"%1\": %2")
            .arg(fgAppPath(), describe(e));
    }
    try {
        mConn.open(projectfile::projectConnectionString(mWorkingCopy->path()));
        const QString version = projectfile::readProjectVersion(mConn);
        if (version != QStringLiteral("1.0"))
            return QCoreApplication::translate("CommandLineProject",
                                               "Proiectul are versiunea %1, pe care acest program nu o cunoaste.")
                .arg(version);
        projectfile::upgradeSchema(mConn);
        // Runs recorded since the project was last saved (a run killed
        // midway among them).
        const QString historyMessage = foldHistory();
        if (!historyMessage.isEmpty())
            terminal::err(historyMessage + QStringLiteral("\n"));
    } catch (const std::exception &e) {
        return QCoreApplication::translate("CommandLineProject", "Proiectul \"%1\" nu poate fi deschis: %2")
            .arg(projectPath, describe(e));
    }
    setProjectHost(&mHost);
    return QString();
}

QString OpenProject::foldHistory()
{
    const QString message = history::foldJournal(mConn, mProjectPath);
    mHistoryFolded = message.isEmpty();
    return message;
}

const volatile std::sig_atomic_t *OpenProject::stopOnFirstSignal() { return appsignals::stopOnFirstSignal(); }

QString OpenProject::save()
{
    mConn.close();
    try {
        projectfile::saveWorkingCopy(mWorkingCopy->path(), mProjectPath);
    } catch (const std::exception &e) {
        mKeepWorkingCopy = true;
        return QCoreApplication::translate("CommandLineProject",
                                           "Proiectul nu a putut fi salvat: %1\nStarea campurilor a ramas in copia de "
                                           "lucru \"%2\".")
            .arg(describe(e), mWorkingCopy->path());
    }
    if (mHistoryFolded)
        history::removeJournal(mProjectPath);
    return QString();
}

bool looksLikeReport(const QByteArray &head)
{
    // A PDF report names Vamor as its creator, in UTF-16 as Qt writes it.
    if (head.startsWith("%PDF-")) {
        static const QByteArray creator("/Creator (\xfe\xff\0V\0a\0m\0o\0r)", 23);
        return head.contains(creator);
    }
    const QStringList lines = QString::fromUtf8(head).split(QStringLiteral("\r\n"));
    // Its title lines in Romanian or in the language the program shows now.
    if (lines.size() < 4 || !conversion::ReportLog::isTitleLine(0, lines.at(0))
        || !conversion::ReportLog::isTitleLine(1, lines.at(1)))
        return false;
    // The end status, when there is one, stands before the rule.
    const QString rule(30, QLatin1Char('-'));
    return lines.at(2) == rule || (lines.size() > 4 && lines.at(3) == rule);
}

QString checkReportTarget(const QString &reportPath, const OpenProject &project)
{
    if (reportPath.isEmpty())
        return QString();
    const QString target = projectfile::canonicalPath(reportPath);
    const QString pick =
        QLatin1Char(' ') + QCoreApplication::translate("CommandLineProject", "Alegeti alt fisier pentru --report.");

    QStringList projectFiles{projectfile::canonicalPath(project.projectPath()),
                             projectfile::projectLockPath(project.projectPath()),
                             projectfile::canonicalPath(history::journalPath(project.projectPath()))};
    if (projectFiles.contains(target))
        return QCoreApplication::translate("CommandLineProject",
                                           "Raportul nu poate fi scris in \"%1\": acesta este fisierul proiectului.")
                   .arg(shown(reportPath))
               + pick;
    const QString copy = project.workingCopyPath();
    if (!copy.isEmpty()) {
        QStringList copyFiles = QStringList{copy, projectfile::workingCopyLockPath(copy)} + projectfile::journalPaths(copy);
        for (QString &file : copyFiles)
            file = projectfile::canonicalPath(file);
        if (copyFiles.contains(target))
            return QCoreApplication::translate("CommandLineProject",
                                               "Raportul nu poate fi scris in \"%1\": acesta este copia de lucru a "
                                               "proiectului.")
                       .arg(shown(reportPath))
                   + pick;
    }

    const QFileInfo info(reportPath);
    if (info.isDir())
        return QCoreApplication::translate("CommandLineProject",
                                           "\"%1\" este un folder; --report trebuie sa numeasca un fisier.")
            .arg(shown(reportPath));
    if (!info.exists()) {
        if (info.isSymLink())
            return QCoreApplication::translate("CommandLineProject",
                                               "\"%1\" este o legatura catre un fisier care nu exista; raportul nu va "
                                               "fi scris acolo.")
                       .arg(shown(reportPath))
                   + pick;
        return QString();
    }
    if (!info.isFile())
        return QCoreApplication::translate("CommandLineProject",
                                           "\"%1\" nu este un fisier obisnuit; raportul nu va fi scris acolo.")
                   .arg(shown(reportPath))
               + pick;
    if (info.size() == 0)
        return QString();
    QFile file(reportPath);
    if (!file.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("CommandLineProject",
                                           "Fisierul \"%1\" nu poate fi citit (%2); nu va fi inlocuit de raport.")
                   .arg(shown(reportPath), file.errorString())
               + pick;
    if (!looksLikeReport(file.read(1024)))
        return QCoreApplication::translate("CommandLineProject",
                                           "Fisierul \"%1\" exista si nu este un raport scris de Vamor; nu va fi "
                                           "inlocuit.")
                   .arg(shown(reportPath))
               + pick;
    return QString();
}

} // namespace cli
