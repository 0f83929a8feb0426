#pragma once

#include <functional>

class QDialog;

// Every modal window is shown through showModal. A test installs a handler
// that acts on the dialog (fills it in, presses its buttons) instead of
// running its event loop, and returns the dialog's result.
namespace ui {

using ModalHandler = std::function<int(QDialog &)>;

// Polishes the dialog (which runs its load handler) and runs it modally;
// returns QDialog::Accepted or QDialog::Rejected. A handler gets a dialog
// whose property "busy" is true (a list still filling) once it is false.
int showModal(QDialog &dialog);
// Installs the handler (an empty one restores exec); returns the previous one.
ModalHandler setModalHandler(ModalHandler handler);

} // namespace ui
