#include "app/SignalWatcher.h"

#include "util/core/Signals.h"

#include <QSocketNotifier>

SignalWatcher::SignalWatcher(std::function<void()> onSignal, QObject *parent)
    : QObject(parent), mOnSignal(std::move(onSignal))
{
    const int fd = appsignals::notifyOnSignal();
    if (fd < 0) {
        appsignals::restoreDefaults();
        return;
    }
    mNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(mNotifier, &QSocketNotifier::activated, this, [this] {
        appsignals::drainNotifications();
        if (mOnSignal)
            mOnSignal();
    });
}

SignalWatcher::~SignalWatcher() { appsignals::restoreDefaults(); }
