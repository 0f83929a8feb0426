// Waiting on a database keeps the program alive: the work runs on a thread
// of its own, the window's timers go on ticking, the wait window says what
// it waits for and since when, and "Abandoneaza" stops or leaves the wait.
#include "util/core/Prompt.h"
#include "util/widgets/WaitDialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

QDialog *waitWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmWait") && w->isVisible())
            return qobject_cast<QDialog *>(w);
    return nullptr;
}

struct Blocked {
    std::atomic<bool> release{false};
    std::atomic<bool> ended{false};
    void work()
    {
        // Bounded: a test that never releases it still ends.
        for (int i = 0; i < 3000 && !release; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ended = true;
    }
};

class WaitDialog : public ::testing::Test {
protected:
    void SetUp() override { ui::setWaitWindowDelay(0); }
    void TearDown() override { ui::setWaitWindowDelay(400); }
};

// While the work waits, a timer of the window keeps ticking and the wait
// window shows the caption; its button cancels the work, and the wait ends
// only when the work has ended.
TEST_F(WaitDialog, WindowStaysAliveAndStopCancelsTheWork)
{
    Blocked blocked;
    int ticks = 0, cancels = 0;
    QString caption;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        QDialog *window = waitWindow();
        if (ticks == 5 && window) {
            caption = window->findChild<QLabel *>(QStringLiteral("lblWait"))->text();
            window->findChild<QPushButton *>(QStringLiteral("cmdStop"))->click();
        }
    });
    ticker.start(20);
    ui::WaitRequest request;
    request.what = QStringLiteral("Se asteapta serverul Firma");
    request.work = [&] { blocked.work(); };
    request.cancel = [&] {
        ++cancels;
        blocked.release = true;
    };
    EXPECT_EQ(ui::waitFor(nullptr, request), ui::WaitOutcome::Stopped);
    EXPECT_TRUE(blocked.ended);
    EXPECT_EQ(cancels, 1);
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(caption, QStringLiteral("Se asteapta serverul Firma (0 s)"));
    EXPECT_EQ(waitWindow(), nullptr);
}

// Work that ends by itself is Done; what it threw comes back on the
// window's thread.
TEST_F(WaitDialog, WorkThatEndsOrThrowsIsSeenByTheCaller)
{
    int ran = 0;
    ui::WaitRequest request;
    request.what = QStringLiteral("Se citesc tabelele");
    request.work = [&] { ++ran; };
    EXPECT_EQ(ui::waitFor(nullptr, request), ui::WaitOutcome::Done);
    EXPECT_EQ(ran, 1);
    request.work = [] { throw std::runtime_error("server pierdut"); };
    EXPECT_THROW(ui::waitFor(nullptr, request), std::runtime_error);
    EXPECT_EQ(ui::waitCaption(QStringLiteral("Se asteapta"), 12), QStringLiteral("Se asteapta (12 s)"));
}

// A message the work asks for (an error it meets) is shown by the window's
// thread, and the work gets the person's answer.
TEST_F(WaitDialog, MessageOfTheWorkIsAskedOnTheWindowsThread)
{
    QThread *askedOn = nullptr;
    const ui::MessageHandler previous = ui::setMessageHandler([&](const ui::MessageRequest &) {
        askedOn = QThread::currentThread();
        return ui::Answer::No;
    });
    ui::Answer answer = ui::Answer::Ok;
    ui::WaitRequest request;
    request.what = QStringLiteral("Se verifica tipul campului");
    request.work = [&] { answer = ui::msgBox(QStringLiteral("Continuati?"), ui::Buttons::YesNo, ui::Icon::Question); };
    ui::waitFor(nullptr, request);
    ui::setMessageHandler(previous);
    EXPECT_EQ(askedOn, QApplication::instance()->thread());
    EXPECT_EQ(answer, ui::Answer::No);
}

// Work that cannot be stopped is left to end on its own: the wait ends at
// once, the work goes on and ends later.
TEST_F(WaitDialog, AbandonedWorkGoesOnUnseen)
{
    auto blocked = std::make_shared<Blocked>();
    QTimer::singleShot(50, [] {
        if (QDialog *window = waitWindow())
            window->findChild<QPushButton *>(QStringLiteral("cmdStop"))->click();
    });
    ui::WaitRequest request;
    request.what = QStringLiteral("Se asteapta serverul");
    request.abandonable = true;
    request.work = [blocked] { blocked->work(); };
    EXPECT_EQ(ui::waitFor(nullptr, request), ui::WaitOutcome::Abandoned);
    EXPECT_FALSE(blocked->ended);
    blocked->release = true;
    for (int i = 0; i < 500 && !blocked->ended; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(blocked->ended);
}

} // namespace
