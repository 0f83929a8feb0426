// The main window's project lifecycle beyond opening and saving: a project
// file named on the command line, the lock of the project file, the working
// copies that ended runs left behind, and
// the end of the session on a signal.
#include "app/frmMain.h"

#include "conversion/ConversionCommand.h"
#include "conversion/RunHistory.h"
#include "conversion/frmProgress.h"
#include "data/ErrorTrap.h"
#include "data/ProjectFile.h"
#include "data/WorkingCopy.h"
#include "data/db/DbError.h"
#include "util/core/AppInfo.h"
#include "util/core/Prompt.h"
#include "util/core/RecentFiles.h"
#include "util/core/Signals.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kModule = QStringLiteral("frmMain");
// How long the end of a session waits for a conversion or a dialog before it
// removes the working copy and ends the program at once.
constexpr qint64 kEndingPatienceMs = 20000;
constexpr int kEndingRetryMs = 50;

} // namespace

bool frmMain::fLockProject(const QString &pstrFileName)
{
    QString message;
    if (mProjectLock.acquire(pstrFileName, message) == projectfile::ProjectLock::Outcome::Locked)
        return true;
    ui::msgBox(message, ui::Buttons::Ok, ui::Icon::Exclamation);
    return false;
}

bool frmMain::fOpenFile(const QString &pstrFileName)
{
    bool opened = false;
    fgTrap(kModule, QStringLiteral("fOpenFile"), [&] {
        if (!fCloseProject())
            return;
        // A name relative to the folder the program was started in.
        const QString path = QFileInfo(pstrFileName).absoluteFilePath();
        mstrFileName.clear();
        mstrTempFile.clear();
        if (!fLockProject(path))
            return;
        mstrFileName = path;
        mstrTempFile = fGetTempFile(mstrFileName);
        if (!mstrTempFile.isEmpty() && fLoadProject()) {
            pgAddToRecent(mstrFileName);
            opened = true;
            return;
        }
        // What cannot be loaded is not kept open: its working copy and the
        // lock go, and the window is left without a project.
        pClearProject(true);
        mstrFileName.clear();
        mstrTempFile.clear();
        SetDirty(false);
    });
    return opened;
}

void frmMain::pRemoveTempFile()
{
    if (mWorkingCopy && mWorkingCopy->path() == mstrTempFile) {
        mWorkingCopy->remove();
        mWorkingCopy.reset();
        return;
    }
    if (mstrTempFile.isEmpty())
        return;
    QFile::remove(mstrTempFile);
    for (const QString &journal : projectfile::journalPaths(mstrTempFile))
        QFile::remove(journal);
}

bool frmMain::fOfferOrphans()
{
    bool recovered = false;
    fgTrap(kModule, QStringLiteral("fOfferOrphans"), [&] {
        std::vector<std::unique_ptr<projectfile::WorkingCopy>> orphans =
            projectfile::findOrphanedCopies(fgAppPath());
        for (std::unique_ptr<projectfile::WorkingCopy> &orphan : orphans) {
            // Journals without their database hold nothing to recover.
            if (!orphan->hasDatabase()) {
                orphan->remove();
                continue;
            }
            if (recovered || mbEnding)
                continue;
            const QString text =
                //: "Da", "Nu" and "Anulare" are the question's buttons.
                tr("Copia de lucru \"%1\" din %2 a ramas de la o rulare Vamor care nu s-a inchis normal.\n"
                   "Doriti sa o deschideti ca proiect nou, nesalvat?\n\n"
                   "Da - o deschide, Nu - o sterge, Anulare - o lasa asa.")
                    .arg(QDir::toNativeSeparators(orphan->path()),
                         QLocale::system().toString(orphan->modified(), QLocale::ShortFormat));
            const ui::Answer answer = ui::msgBox(text, ui::Buttons::YesNoCancel, ui::Icon::Question);
            if (answer == ui::Answer::Yes)
                recovered = fRecoverCopy(std::move(orphan));
            else if (answer == ui::Answer::No)
                orphan->remove();
        }
    });
    return recovered;
}

bool frmMain::fRecoverCopy(std::unique_ptr<projectfile::WorkingCopy> copy)
{
    // A new project that has never been saved: its first save asks for a name.
    mstrFileName.clear();
    mstrTempFile = copy->path();
    mWorkingCopy = std::move(copy);
    mWorkingCopy->adopt();
    if (fLoadProject()) {
        SetDirty(true);
        return true;
    }
    // What cannot be opened is left where it was, for another try.
    pClearProject(false);
    mWorkingCopy->release();
    mWorkingCopy.reset();
    mstrTempFile.clear();
    SetDirty(false);
    return false;
}

void frmMain::pEndSession()
{
    if (!mbEnding) {
        mbEnding = true;
        mEndingSince = QDateTime::currentMSecsSinceEpoch();
    }
    if (QDateTime::currentMSecsSinceEpoch() - mEndingSince > kEndingPatienceMs)
        appsignals::exitNow();

    ConversionCommand *command = conversionCommand();
    if (command && command->mfrmProgress) {
        // A running conversion stops: the statement in flight is cut and its
        // field rolled back; the command then saves the project as after
        // any stop. Its question is answered
        // here (a stop already asked for asks nothing).
        if (QPushButton *stop = command->mfrmProgress->stopButton()) {
            const ui::MessageHandler previous =
                ui::setMessageHandler([](const ui::MessageRequest &) { return ui::Answer::Yes; });
            stop->click();
            ui::setMessageHandler(previous);
        }
    } else if (QWidget *modal = QApplication::activeModalWidget()) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    } else {
        mbCloseByCode = true;
        close();
        emit sessionEnded();
        return;
    }
    QTimer::singleShot(kEndingRetryMs, this, [this] { pEndSession(); });
}

void frmMain::pShowChangeover()
{
    for (const bool toNew : {true, false}) {
        const QString key = toNew ? QStringLiteral("-") : QStringLiteral("+");
        const QString tip = tr("Converteste la %1").arg(mChangeover.inSentence(toNew));
        if (QAction *button = tlbButton(key)) {
            button->setText(mChangeover.name(toNew));
            button->setToolTip(tip);
        }
        if (QAction *command = findChild<QAction *>(QStringLiteral("mnu_") + key))
            command->setText(tip);
    }
}

bool frmMain::fSave()
{
    bool saved = false;
    fgTrap(kModule, QStringLiteral("fSave"), [&] {
        const QString previous = mstrFileName;
        QString target = mstrFileName;
        if (target.isEmpty()) {
            ui::FileRequest request;
            //: The file dialog's title; %1 is the program's name.
            request.title = tr("%1 File").arg(kAppTitle);
            // The descriptions are translated, the patterns stay.
            request.filter = tr("Vamor Files (*.vmd)") + QStringLiteral("|*.vmd|") + tr("All Files (*.*)")
                             + QStringLiteral("|*.*");
            request.confirmOverwrite = true;
            target = ui::getSaveFileName(request);
            if (target.isEmpty())
                return;
        }
        // The file written is this window's from now on; a file another
        // program has open is not written over.
        QString lockMessage;
        switch (mProjectLock.acquire(target, lockMessage)) {
        case projectfile::ProjectLock::Outcome::Locked:
            break;
        case projectfile::ProjectLock::Outcome::HeldByOther:
            ui::msgBox(lockMessage, ui::Buttons::Ok, ui::Icon::Exclamation);
            return;
        case projectfile::ProjectLock::Outcome::Failed:
            mstrFileName = target;
            throw db::DbError(db::E_FAIL, lockMessage);
        }
        mstrFileName = target;
        // Runs recorded since the last save go into the file saved.
        const bool journalFolded = fFoldRunJournal(previous);
        const QString connectionString = mcnnProject.isOpen() ? mcnnProject.connectionString()
                                                              : projectfile::projectConnectionString(mstrTempFile);
        mcnnProject.close();
        try {
            projectfile::saveWorkingCopy(mstrTempFile, mstrFileName);
        } catch (...) {
            // The project stays usable: its working copy is opened again.
            try {
                mcnnProject.open(connectionString);
            } catch (...) {
            }
            throw;
        }
        mcnnProject.open(connectionString);
        // The saved file holds every run of its journal.
        if (journalFolded && previous == mstrFileName)
            history::removeJournal(previous);
        SetDirty(false);
        pgAddToRecent(mstrFileName);
        saved = true;
    });
    return saved;
}
