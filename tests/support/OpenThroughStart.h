#pragma once

// For the benches that time a real window: the start dialog, whenever it is
// shown, opens `file` through its "existing" tab as a user would; any other
// modal window is cancelled.
#include "app/frmStart.h"
#include "util/widgets/ModalDialog.h"

#include <QLineEdit>
#include <QPushButton>

namespace testsupport {

// A step for the start dialog: opens `file` through its "existing" tab;
// any other window is cancelled.
inline int openExistingProject(QDialog &dialog, const QString &file)
{
    auto *start = qobject_cast<frmStart *>(&dialog);
    if (!start)
        return int(QDialog::Rejected);
    start->selectTab(QStringLiteral("existing"));
    start->txtExisting->setText(file);
    start->cmdOpen->click();
    return start->result();
}

inline void openThroughStartDialog(const QString &file)
{
    ui::setModalHandler([file](QDialog &dialog) { return openExistingProject(dialog, file); });
}

} // namespace testsupport
