#include "util/widgets/ModalDialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QVariant>

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
    if (const ModalHandler handler = modalHandler()) {
        // A person waits for a window that is still filling before acting
        // on it; so does a handler.
        while (dialog.property("busy").toBool())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return handler(dialog);
    }
    return dialog.exec();
}

ModalHandler setModalHandler(ModalHandler handler)
{
    ModalHandler previous = modalHandler();
    modalHandler() = std::move(handler);
    return previous;
}

} // namespace ui
