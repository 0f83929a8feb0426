#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// The desktop program's answer to SIGTERM and SIGINT (a logout, Ctrl+C in
// the terminal that started it). The signal handler only writes to a pipe;
// the call runs later on the event loop, where windows may be closed. A
// second signal removes the working copy and ends the program at once.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(std::function<void()> onSignal, QObject *parent = nullptr);
    ~SignalWatcher() override;

    // False when the pipe could not be made: the signals keep their default
    // actions.
    bool isWatching() const { return mNotifier != nullptr; }

private:
    std::function<void()> mOnSignal;
    QSocketNotifier *mNotifier = nullptr;
};
