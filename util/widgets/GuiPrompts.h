#pragma once

#include "util/core/Prompt.h"

#include <QStringList>

class QWidget;

// The windowed answers to ui::msgBox, ui::getOpenFileName and
// ui::getSaveFileName: QMessageBox with Romanian buttons, QFileDialog.
namespace ui {

// Installs the windowed handlers; dialogs are owned by the active window.
void installGuiPrompts();

// Windowed handlers, installed by installGuiPrompts.
Answer guiMessageBox(const MessageRequest &request);
QString guiOpenFileName(const FileRequest &request);
QString guiSaveFileName(const FileRequest &request);

// "Vamor Files (*.vmd)|*.vmd|All Files (*.*)|*.*" as file-dialog name
// filters: "Vamor Files (*.vmd)", "All Files (*)". "*.*" matches every file,
// names with or without a dot.
QStringList fgDialogNameFilters(const QString &filter);
// The patterns of each filter entry, as the dialog applies them.
QStringList fgFilterPatterns(const QString &filter, int entry);
// True when the file name matches one of the patterns, without regard to case.
bool fgMatchesPatterns(const QString &fileName, const QStringList &patterns);

} // namespace ui
