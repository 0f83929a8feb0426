#pragma once

#include <QString>
#include <functional>

class QWidget;

// Waiting on a user's database without freezing the window: the work runs
// on a thread of its own while the window goes on repainting and its timers
// go on ticking. After a moment a small window says what the program waits
// for and for how long ("Se asteapta serverul ... (12 s)") and offers
// "Abandoneaza". Input to the program's other windows waits meanwhile.
namespace ui {

enum class WaitOutcome {
    Done,      // the work ended by itself (or threw: see waitFor)
    Stopped,   // the user pressed Abandoneaza, and the work ended after it
    Abandoned, // the user pressed Abandoneaza on work that may not be stopped: it goes on unseen
};

struct WaitRequest {
    QString what;                  // "Se asteapta serverul Firma"
    std::function<void()> work;    // runs on the worker thread; touches nothing of the windows
    std::function<void()> cancel;  // called on the window's thread when the user stops the wait
    // Work that cannot be stopped early (a login) is left to end on its own
    // when the user gives up on it: it must own everything it touches.
    bool abandonable = false;
};

// Runs the request; returns when the work has ended (or was abandoned). An
// exception thrown by the work is thrown again here, on the window's thread.
WaitOutcome waitFor(QWidget *parent, const WaitRequest &request);

// The caption of the wait window after `seconds` seconds.
QString waitCaption(const QString &what, int seconds);

// Tests only: the wait window shows at once instead of after a moment.
void setWaitWindowDelay(int milliseconds);

} // namespace ui
