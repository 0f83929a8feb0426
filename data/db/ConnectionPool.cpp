#include "data/db/ConnectionPool.h"

#include "data/db/ConnString.h"
#include "data/db/StopSignal.h"

#include <deque>
#include <utility>

namespace db {

struct PoolState {
    struct Idle {
        QString key;
        std::unique_ptr<Connection> connection;
    };
    std::deque<Idle> idle; // oldest first
    int scopes = 0;
    quint64 serial = 0; // of the outermost scope now or last in force
};

namespace {

void closeQuietly(std::unique_ptr<Connection> connection)
{
    try {
        connection->close();
    } catch (...) {
    }
}

} // namespace

PooledConnection::~PooledConnection() { release(); }

PooledConnection::PooledConnection(PooledConnection &&other) noexcept
    : mConnection(std::move(other.mConnection)), mReused(other.mReused)
{
}

PooledConnection &PooledConnection::operator=(PooledConnection &&other) noexcept
{
    if (this != &other) {
        release();
        mConnection = std::move(other.mConnection);
        mReused = other.mReused;
    }
    return *this;
}

void PooledConnection::release()
{
    if (mConnection)
        ConnectionPool::shared().giveBack(std::move(mConnection));
}

ConnectionPool::ConnectionPool() : mState(std::make_unique<PoolState>()) {}

ConnectionPool::~ConnectionPool() = default;

ConnectionPool &ConnectionPool::shared()
{
    static ConnectionPool pool;
    return pool;
}

PooledConnection ConnectionPool::acquire(const QString &connectionString)
{
    PooledConnection lease;
    const QString opened = sharingString(connectionString);
    // The newest idle connection of the string: the likeliest to be alive.
    for (auto it = mState->idle.rbegin(); it != mState->idle.rend(); ++it) {
        if (it->key != opened)
            continue;
        std::unique_ptr<Connection> connection = std::move(it->connection);
        mState->idle.erase(std::next(it).base());
        if (connection->isAlive() && !connection->inTransaction()) {
            // Kept from before the user's Stop was in force on this thread.
            if (StopScope::inForce())
                connection->setStoppable(true);
            lease.mConnection = std::move(connection);
            lease.mReused = true;
            return lease;
        }
        closeQuietly(std::move(connection));
        break;
    }
    auto connection = std::make_unique<Connection>();
    connection->open(opened);
    lease.mConnection = std::move(connection);
    return lease;
}

QString ConnectionPool::sharingString(const QString &connectionString)
{
    try {
        const ConnString parsed = ConnString::parse(connectionString);
        if (!parsed.isBuiltInSqlite() || parsed.contains(QStringLiteral("Cache")))
            return connectionString;
    } catch (const std::exception &) {
        return connectionString; // opening it reports the fault
    }
    QString shared = connectionString.trimmed();
    if (!shared.endsWith(QLatin1Char(';')))
        shared += QLatin1Char(';');
    return shared + QStringLiteral("Cache=Shared");
}

void ConnectionPool::giveBack(std::unique_ptr<Connection> connection)
{
    // Nothing of one user's work may reach the next: a transaction left
    // open is rolled back, and a connection that cannot say it is clean is
    // not kept.
    bool clean = false;
    try {
        if (connection->isOpen() && connection->inTransaction())
            connection->rollbackTrans();
        clean = connection->isOpen() && !connection->inTransaction();
    } catch (...) {
        clean = false;
    }
    if (!clean || mState->scopes == 0) {
        closeQuietly(std::move(connection));
        return;
    }
    const QString key = connection->connectionString();
    mState->idle.push_back({key, std::move(connection)});
    while (static_cast<int>(mState->idle.size()) > kMaxIdle) {
        closeQuietly(std::move(mState->idle.front().connection));
        mState->idle.pop_front();
    }
}

void ConnectionPool::clear()
{
    std::deque<PoolState::Idle> idle;
    idle.swap(mState->idle);
    for (PoolState::Idle &entry : idle)
        closeQuietly(std::move(entry.connection));
}

int ConnectionPool::idleCount() const { return static_cast<int>(mState->idle.size()); }

quint64 ConnectionPool::scopeSerial() const { return mState->scopes > 0 ? mState->serial : 0; }

PoolScope::PoolScope()
{
    PoolState &state = *ConnectionPool::shared().mState;
    if (state.scopes++ == 0)
        ++state.serial;
}

PoolScope::~PoolScope()
{
    ConnectionPool &pool = ConnectionPool::shared();
    if (--pool.mState->scopes == 0)
        pool.clear();
}

} // namespace db
