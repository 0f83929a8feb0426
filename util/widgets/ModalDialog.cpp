#include "util/widgets/ModalDialog.h"

#include <QDialog>

namespace ui {

namespace {

ModalHandler &modalHandler()
{
    static ModalHandler handler;
    return handler;
}

} // namespace

int showModal(QDialog &dialog)
{
    dialog.ensurePolished();
    if (const ModalHandler handler = modalHandler())
        return handler(dialog);
    return dialog.exec();
}

ModalHandler setModalHandler(ModalHandler handler)
{
    ModalHandler previous = modalHandler();
    modalHandler() = std::move(handler);
    return previous;
}

} // namespace ui
