#include "util/core/Signals.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace appsignals {

namespace {

constexpr int kSlots = 64;
constexpr std::size_t kMaxPath = 4096;

// Slot states: free, being written (the handler skips it), a file removed
// first, a file removed last.
enum SlotState : std::sig_atomic_t { kFree = 0, kWriting = 1, kFirst = 2, kLast = 3 };

struct Slot {
    char path[kMaxPath];
    volatile std::sig_atomic_t state;
};

Slot gSlots[kSlots];

enum Mode : std::sig_atomic_t { kExit = 0, kStop = 1, kNotify = 2 };
volatile std::sig_atomic_t gMode = kExit;
volatile std::sig_atomic_t gSignalled = 0;
volatile std::sig_atomic_t gStop = 0;
int gPipe[2] = {-1, -1};

void removeRegistered()
{
    for (std::sig_atomic_t pass : {kFirst, kLast})
        for (Slot &slot : gSlots)
            if (slot.state == pass)
                ::unlink(slot.path);
}

extern "C" void onSignal(int)
{
    const int savedErrno = errno;
    if (gMode == kExit || gSignalled) {
        removeRegistered();
        ::_exit(1);
    }
    gSignalled = 1;
    if (gMode == kStop) {
        gStop = 1;
    } else if (gPipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
    }
    errno = savedErrno;
}

void install(std::sig_atomic_t mode)
{
    gMode = mode;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Both signals are held while the handler runs, so that a second one
    // finds the first one's work done.
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace

void RemoveOnSignal::set(const QString &path, bool last)
{
    clear();
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || static_cast<std::size_t>(encoded.size()) >= kMaxPath)
        return;
    for (int i = 0; i < kSlots; ++i) {
        if (gSlots[i].state != kFree)
            continue;
        gSlots[i].state = kWriting;
        std::atomic_signal_fence(std::memory_order_seq_cst);
        std::memcpy(gSlots[i].path, encoded.constData(), static_cast<std::size_t>(encoded.size()) + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        gSlots[i].state = last ? kLast : kFirst;
        mSlot = i;
        return;
    }
}

void RemoveOnSignal::clear()
{
    if (mSlot < 0)
        return;
    gSlots[mSlot].state = kFree;
    mSlot = -1;
}

void installExitOnSignal() { install(kExit); }

const volatile std::sig_atomic_t *stopOnFirstSignal()
{
    gStop = 0;
    install(kStop);
    return &gStop;
}

int notifyOnSignal()
{
    if (gPipe[0] < 0 && ::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        gPipe[0] = gPipe[1] = -1;
        return -1;
    }
    install(kNotify);
    return gPipe[0];
}

void drainNotifications()
{
    char buffer[64];
    while (gPipe[0] >= 0 && ::read(gPipe[0], buffer, sizeof buffer) > 0) {
    }
}

void exitNow()
{
    removeRegistered();
    ::_exit(1);
}

void restoreDefaults()
{
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    gMode = kExit;
    gSignalled = 0;
    gStop = 0;
    drainNotifications();
}

} // namespace appsignals
