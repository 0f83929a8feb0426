#pragma once

#include <QStringList>

// "vamor --history PROIECT.vmd [--csv]": the runs recorded in the project.
namespace history {

bool isHistoryCommand(const QStringList &args);
// Its exit status: 0, or 2 for bad arguments or a project that cannot be opened.
int runHistoryCommand(const QStringList &args);

} // namespace history
