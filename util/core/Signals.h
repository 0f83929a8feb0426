#pragma once

#include <QString>
#include <csignal>

// How the program ends on SIGINT and SIGTERM. The handler does only what is
// safe inside a signal handler: it sets a flag, writes one byte to a pipe,
// unlinks files whose names were stored beforehand, and calls _exit.
//
// Files registered with RemoveOnSignal (the working copy, its journals, the
// save's temporary file, the lock files) are removed whenever the program
// ends at once on a signal.
namespace appsignals {

// A file removed when the program ends at once on a signal, for the life of
// the object. Files marked `last` (lock files) go after the others, so that
// no other process takes a name while its files are still there.
class RemoveOnSignal {
public:
    RemoveOnSignal() = default;
    explicit RemoveOnSignal(const QString &path, bool last = false) { set(path, last); }
    ~RemoveOnSignal() { clear(); }
    RemoveOnSignal(const RemoveOnSignal &) = delete;
    RemoveOnSignal &operator=(const RemoveOnSignal &) = delete;

    // Registers `path` (replacing what this object registered before).
    void set(const QString &path, bool last = false);
    void clear();

private:
    int mSlot = -1;
};

// The run without windows. From now on SIGINT and SIGTERM remove the
// registered files and end the program at once with status 1.
void installExitOnSignal();
// From now on the first SIGINT or SIGTERM only sets the returned flag (the
// run stops after its current field); a second one ends the program at once
// as above.
const volatile std::sig_atomic_t *stopOnFirstSignal();

// The desktop program: the first SIGINT or SIGTERM writes one byte to a pipe
// whose read end is returned (-1 when no pipe can be made); a second one ends
// the program at once as above.
int notifyOnSignal();
// Empties the pipe of notifyOnSignal.
void drainNotifications();

// Removes the registered files and ends the program with status 1, as a
// second signal does.
[[noreturn]] void exitNow();

// SIGINT and SIGTERM get their default actions back; the count of signals
// received starts again.
void restoreDefaults();

} // namespace appsignals
