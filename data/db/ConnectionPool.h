#pragma once

#include "data/db/Connection.h"

#include <QString>
#include <memory>

namespace db {

class ConnectionPool;

// A connection borrowed from the pool for one piece of work. It goes back
// when the lease ends: a transaction left open is rolled back first, and a
// connection that is no longer open, or whose rollback failed, is dropped,
// so the next user always gets a connection outside any transaction.
class PooledConnection {
public:
    PooledConnection() = default;
    ~PooledConnection();
    PooledConnection(PooledConnection &&other) noexcept;
    PooledConnection &operator=(PooledConnection &&other) noexcept;
    PooledConnection(const PooledConnection &) = delete;
    PooledConnection &operator=(const PooledConnection &) = delete;

    explicit operator bool() const { return mConnection != nullptr; }
    Connection &operator*() const { return *mConnection; }
    Connection *operator->() const { return mConnection.get(); }
    // True when the connection had served an earlier user.
    bool reused() const { return mReused; }
    // Gives the connection back now (see above).
    void release();

private:
    friend class ConnectionPool;
    std::unique_ptr<Connection> mConnection;
    bool mReused = false;
};

// Connections to the user's databases kept open between short pieces of work
// that each "open their own connection" (adding a recovery column for every
// field of a run), keyed by the connection string as written. Connections are
// kept only while a PoolScope lives; outside one, every lease opens a new
// connection and closes it at its end, as an unpooled open would. When the
// last scope ends every kept connection is closed, so none outlives the run
// that wanted it (a user's file replaced between runs is opened afresh).
// Single-threaded, as the rest of the database layer.
class ConnectionPool {
public:
    static ConnectionPool &shared();

    // A connection for `connectionString`: an idle one kept for the same
    // string, otherwise a new one (Connection::open; throws DbError). A kept
    // one uses the column lists the program's connections of the same string
    // share, as a new one would (they last a moment, and follow what the
    // program changes).
    PooledConnection acquire(const QString &connectionString);
    // Closes every kept connection.
    void clear();
    // Connections kept idle now.
    int idleCount() const;

    // The string the pool opens `connectionString` with, and the one a run
    // opens its own connection to the same database with: the connections
    // of a run to one built-in SQLite file share its cache and schema
    // ("Cache=Shared"), so a column added on one is not read again by the
    // others from the whole schema. Any other string is returned as written.
    static QString sharingString(const QString &connectionString);

    // A number for the pool scope (the run) now in force, different for each
    // outermost scope; 0 outside any. What a run reads once and keeps for
    // its length is tied to it.
    quint64 scopeSerial() const;

    // At most this many idle connections are kept; the oldest goes first.
    static constexpr int kMaxIdle = 8;

private:
    friend class PooledConnection;
    friend class PoolScope;
    ConnectionPool();
    ~ConnectionPool();
    void giveBack(std::unique_ptr<Connection> connection);

    std::unique_ptr<struct PoolState> mState;
};

// Keeps connections in the shared pool while it lives (scopes nest).
class PoolScope {
public:
    PoolScope();
    ~PoolScope();
    PoolScope(const PoolScope &) = delete;
    PoolScope &operator=(const PoolScope &) = delete;
};

} // namespace db
