#include "data/db/StopSignal.h"

#include "data/db/Connection.h"
#include "data/db/DbError.h"

#include <algorithm>

namespace db {

namespace {
thread_local std::shared_ptr<StopSignal> tSignal;
}

void StopSignal::stop()
{
    const std::lock_guard<std::mutex> lock(mGuard);
    mStopped = true;
    // Connection::cancel is safe at any moment; a connection stays
    // registered (and so alive) until its statement has returned.
    for (Connection *connection : mRunning)
        connection->cancel();
}

bool StopSignal::stopped() const
{
    const std::lock_guard<std::mutex> lock(mGuard);
    return mStopped;
}

StopScope::StopScope(std::shared_ptr<StopSignal> signal) : mPrevious(std::move(tSignal))
{
    tSignal = std::move(signal);
}

StopScope::~StopScope() { tSignal = std::move(mPrevious); }

bool StopScope::inForce() { return tSignal != nullptr; }

StatementWatch::StatementWatch(Connection &connection) : mSignal(tSignal), mConnection(&connection)
{
    if (!mSignal)
        return;
    const std::lock_guard<std::mutex> lock(mSignal->mGuard);
    if (mSignal->mStopped) {
        mSignal.reset();
        throw DbError::cancelled();
    }
    mSignal->mRunning.push_back(mConnection);
}

StatementWatch::~StatementWatch()
{
    if (!mSignal)
        return;
    const std::lock_guard<std::mutex> lock(mSignal->mGuard);
    auto &running = mSignal->mRunning;
    const auto found = std::find(running.begin(), running.end(), mConnection);
    if (found != running.end())
        running.erase(found);
}

} // namespace db
