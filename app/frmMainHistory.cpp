// The main window's part in the history of the conversion runs: the
// journal a run writes beside the project file is folded into the project
// when it is loaded and when it is saved, and the history window.
#include "app/frmMain.h"

#include "conversion/RunHistory.h"
#include "conversion/frmHistory.h"
#include "data/ErrorTrap.h"
#include "util/core/Prompt.h"
#include "util/widgets/ModalDialog.h"

namespace {
const QString kModule = QStringLiteral("frmMain");
}

void frmMain::pFoldRunJournal()
{
    if (mstrFileName.isEmpty() || !mcnnProject.isOpen())
        return;
    // Runs recorded since the project was last saved, a run killed midway
    // among them, join its history; the journal stays until a save.
    const QString message = history::foldJournal(mcnnProject, mstrFileName);
    if (!message.isEmpty())
        ui::msgBox(message, ui::Buttons::Ok, ui::Icon::Exclamation);
}

bool frmMain::fFoldRunJournal(const QString &projectFile)
{
    if (projectFile.isEmpty() || !mcnnProject.isOpen())
        return false;
    return history::foldJournal(mcnnProject, projectFile).isEmpty();
}

void frmMain::pShowHistory()
{
    fgTrap(kModule, QStringLiteral("pShowHistory"), [&] {
        if (!mcnnProject.isOpen())
            return;
        pFoldRunJournal();
        frmHistory window(this);
        window.Load(mcnnProject, mstrFileName);
        ui::showModal(window);
    });
}
