#include "conversion/ConversionCommand.h"

#include <QDir>
#include <QFile>

#include "conversion/ConversionEngine.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "conversion/HistoryReport.h"
#include "conversion/RunHistory.h"
#include "conversion/OffThread.h"
#include "data/db/StopSignal.h"
#include "data/ErrorTrap.h"
#include "util/core/Prompt.h"
#include "util/widgets/ModalDialog.h"

#include <memory>

namespace {
const QString kModule = QStringLiteral("frmMain");

} // namespace

ConversionCommand::ConversionCommand(IConversionHost &host, QObject *parent) : QObject(parent), mHost(host) {}

ConversionCommand *ConversionCommand::attach(IConversionHost &host, QObject *window)
{
    auto *command = new ConversionCommand(host, window);
    command->setRunTarget(window);
    QObject::connect(window, SIGNAL(convertRequested(bool)), command, SLOT(tlbConvert(bool)));
    return command;
}

void ConversionCommand::tlbConvert(bool toLeiNoi)
{
    fgTrap(kModule, QStringLiteral("tlb_ButtonClick"), [&] {
        {
            frmConvertStart confirm(mHost.conversionWindow());
            confirm.ToLeiNoi = toLeiNoi;
            confirm.Load();
            ui::showModal(confirm);
            // The listing probed every field: the open windows show what it read.
            mHost.refreshFieldStates();
            if (!confirm.Ok)
                return;
            mTotals = confirm.Totals;
        }
        if (mHost.projectFileName().isEmpty() || mHost.projectDirty()) {
            const ui::Answer answer = ui::msgBox(tr("Proiectul trebuie salvat inainte de a face conversia.\n"
                                                    "Doriti sa se faca salvarea acum?"),
                                                 ui::Buttons::YesNo, ui::Icon::Question);
            if (answer != ui::Answer::Yes)
                return;
            if (!mHost.fSave())
                return;
        }
        std::unique_ptr<frmProgress> progress(new frmProgress(mHost.conversionWindow()));
        mfrmProgress = progress.get();
        mfrmProgress->Parent = mRunTarget ? mRunTarget.data() : static_cast<QObject *>(this);
        mfrmProgress->RunMethod = toLeiNoi ? QStringLiteral("pConvertToLeiNoi") : QStringLiteral("pConvertToLeiVechi");
        ui::showModal(*mfrmProgress);
        mfrmProgress = nullptr;
    });
    mfrmProgress = nullptr;
}

void ConversionCommand::pConvertToLeiNoi()
{
    fgTrap(kModule, QStringLiteral("pConvertToLeiNoi"), [&] { pConvertField(true); });
}

void ConversionCommand::pConvertToLeiVechi()
{
    fgTrap(kModule, QStringLiteral("pConvertToLeiVechi"), [&] { pConvertField(false); });
}

void ConversionCommand::pConvertField(bool pbLeiNoi)
{
    frmConvertEnd report(mHost.conversionWindow());
    report.ToLeiNoi = pbLeiNoi;
    report.setWantsTotals(mTotals);
    fgTrap(kModule, QStringLiteral("pConvertField"), [&] { report.setChangeover(Changeover::of(mHost.Conn())); });
    report.ConvertStart();
    report.Load();

    // The run works on a thread of its own: the windows stay alive, and
    // Stop cuts the statement in flight (the field is rolled back).
    const auto stop = std::make_shared<db::StopSignal>();
    SilentProgress silent;
    IConversionProgress &shown = mfrmProgress ? static_cast<IConversionProgress &>(*mfrmProgress) : silent;
    conversion::QueuedProgress progress(shown, mfrmProgress ? static_cast<QObject *>(mfrmProgress) : this, stop);
    // The run's record in the project's history, written as it goes.
    const history::RunEntry entry =
        history::newRun(pbLeiNoi, report.changeover(), history::optionsText(!mTotals, 1, false, -1));
    const QString projectFile = mHost.projectFileName();
    report.setPrintedRun(projectFile, entry.options);
    // A project never saved has no place for a journal beside it: its run
    // is recorded in a journal of its own, folded into the working copy at
    // the end of the run.
    const QString journalFile = projectFile.isEmpty()
                                    ? QDir::temp().filePath(QStringLiteral("vamor-%1.istoric").arg(entry.key))
                                    : history::journalPath(projectFile);
    history::Journal journal(journalFile);
    journal.start(entry);
    history::HistoryReport recording(report, journal, entry.key, pbLeiNoi);
    conversion::QueuedReport queuedReport(recording, &report);
    if (mfrmProgress)
        mfrmProgress->StopRequested = [stop] { stop->stop(); };
    db::Connection &project = mHost.Conn();
    conversion::ConversionEngine::Result result;
    conversion::runOffThread(
        [&] {
            conversion::ConversionEngine engine(project, progress, queuedReport);
            result = engine.run(pbLeiNoi);
        },
        stop);
    recording.flush();
    journal.end(entry.key, QDateTime::currentDateTime(), result.cancelled ? history::kStopped : QString());
    // The history window shows the run at once; the journal beside the
    // project goes when the project holding the run is saved.
    fgTrap(kModule, QStringLiteral("pConvertField"), [&] {
        history::fold(project, history::readJournal(journalFile));
        if (projectFile.isEmpty())
            QFile::remove(journalFile);
    });

    if (mfrmProgress)
        mfrmProgress->Unload();
    if (result.failed) {
        pgShowError(kModule, QStringLiteral("pConvertField"), result.errorNumber, result.errorDescription);
        // The states written before the error are in the working copy only:
        // the project stays marked modified so that they are not lost unasked.
        fgTrap(kModule, QStringLiteral("pConvertField"), [&] {
            mHost.SetDirty(true);
            mHost.refreshFieldStates();
        });
    } else {
        fgTrap(kModule, QStringLiteral("pConvertField"), [&] {
            const QString key = mHost.selectedNodeKey();
            const bool saved = mHost.fSave();
            mHost.pClearProject(false);
            if (mHost.fLoadProject() && !key.isEmpty())
                mHost.reselectNode(key);
            // The reload marks the project unchanged; when the save failed
            // the states of the run are still only in the working copy.
            if (!saved)
                mHost.SetDirty(true);
        });
    }

    try {
        report.ConvertEnd(result.cancelled ? convertStoppedStatus() : QString());
        ui::showModal(report);
    } catch (...) {
    }
}
