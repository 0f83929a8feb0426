#pragma once

#include <memory>
#include <mutex>
#include <vector>

namespace db {

class Connection;

// A user's Stop for the work of one thread (a conversion run, the listing of
// the confirmation window). While a StopScope for it is in force on the
// working thread, every statement that thread starts through a Connection
// is watched: stop(), from any thread, cancels the statements running at
// that moment, and any statement started after it fails at once with
// DbError::cancelled(). Commits and rollbacks are never refused: a field's
// transaction still ends the way its step decides.
class StopSignal {
public:
    void stop();
    bool stopped() const;

private:
    friend class StatementWatch;
    mutable std::mutex mGuard;
    bool mStopped = false;
    std::vector<Connection *> mRunning; // the statements in flight, by their connection
};

// Puts `signal` in force for the statements of the calling thread while it
// lives; scopes nest (the innermost is in force).
class StopScope {
public:
    // A null signal puts none in force: a step that must not be stopped
    // once begun (what follows a commit) runs so.
    explicit StopScope(std::shared_ptr<StopSignal> signal);
    // Whether a signal is in force on the calling thread.
    static bool inForce();
    ~StopScope();
    StopScope(const StopScope &) = delete;
    StopScope &operator=(const StopScope &) = delete;

private:
    std::shared_ptr<StopSignal> mPrevious;
};

// Held by a stoppable connection around one statement: registers it with the stop
// signal of the thread, or throws DbError::cancelled() when that signal is
// already given. Without a signal in force it does nothing.
class StatementWatch {
public:
    explicit StatementWatch(Connection &connection);
    ~StatementWatch();
    StatementWatch(const StatementWatch &) = delete;
    StatementWatch &operator=(const StatementWatch &) = delete;

private:
    std::shared_ptr<StopSignal> mSignal;
    Connection *mConnection;
};

} // namespace db
