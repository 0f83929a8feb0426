#include "util/widgets/WaitDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace ui {

namespace {

int &windowDelay()
{
    static int delay = 400;
    return delay;
}

// What the worker thread and the window's thread share; the worker holds it
// for as long as it runs, so abandoned work never outlives it.
struct Shared {
    std::function<void()> work;
    std::exception_ptr error;
    std::atomic<bool> finished{false};
    QPointer<QEventLoop> loop;
};

} // namespace

QString waitCaption(const QString &what, int seconds)
{
    //: The seconds waited so far, after what is waited for.
    return QCoreApplication::translate("WaitDialog", "%1 (%2 s)").arg(what, QString::number(seconds));
}

void setWaitWindowDelay(int milliseconds) { windowDelay() = milliseconds; }

WaitOutcome waitFor(QWidget *parent, const WaitRequest &request)
{
    auto shared = std::make_shared<Shared>();
    shared->work = request.work;
    QEventLoop loop;
    shared->loop = &loop;

    std::thread worker([shared] {
        try {
            shared->work();
        } catch (...) {
            shared->error = std::current_exception();
        }
        shared->finished = true;
        // Wakes the window's thread; the loop may be gone (abandoned work).
        QMetaObject::invokeMethod(qApp, [shared] {
            if (shared->loop)
                shared->loop->quit();
        }, Qt::QueuedConnection);
    });

    QDialog window(parent);
    window.setObjectName(QStringLiteral("frmWait"));
    window.setWindowTitle(QStringLiteral("Vamor"));
    window.setWindowModality(Qt::ApplicationModal);
    window.setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto *label = new QLabel(waitCaption(request.what, 0), &window);
    label->setObjectName(QStringLiteral("lblWait"));
    auto *stop = new QPushButton(QCoreApplication::translate("WaitDialog", "Abandoneaza"), &window);
    stop->setObjectName(QStringLiteral("cmdStop"));
    stop->setAutoDefault(false);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(label);
    layout->addWidget(stop, 0, Qt::AlignRight);

    WaitOutcome outcome = WaitOutcome::Done;
    bool stopping = false;
    QObject::connect(stop, &QPushButton::clicked, &window, [&] {
        if (stopping)
            return;
        stopping = true;
        stop->setEnabled(false);
        label->setText(QCoreApplication::translate("WaitDialog", "Se opreste..."));
        if (request.cancel)
            request.cancel();
        if (request.abandonable) {
            outcome = WaitOutcome::Abandoned;
            loop.quit();
        } else {
            outcome = WaitOutcome::Stopped;
        }
    });
    // Escape (or the window closed by the desktop) is the same as the button.
    QObject::connect(&window, &QDialog::rejected, stop, &QPushButton::click);

    QElapsedTimer clock;
    clock.start();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &window, [&] {
        if (!window.isVisible() && clock.elapsed() >= windowDelay())
            window.show();
        if (!stopping)
            label->setText(waitCaption(request.what, static_cast<int>(clock.elapsed() / 1000)));
    });
    ticker.start(qBound(50, windowDelay(), 250));
    if (windowDelay() <= 0)
        window.show();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    if (!shared->finished)
        loop.exec();
    QApplication::restoreOverrideCursor();
    ticker.stop();
    window.hide();

    if (outcome == WaitOutcome::Abandoned && !shared->finished) {
        worker.detach();
        return outcome;
    }
    worker.join();
    if (shared->error)
        std::rethrow_exception(shared->error);
    return outcome;
}

} // namespace ui
