// A commit that the database may not answer: it runs on a thread of its
// own, and the caller stops waiting after a limit.
#include "data/db/Connection.h"

#include "data/db/DbError.h"

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <thread>

namespace db {

namespace {

std::mutex gHookMutex;
std::function<void(std::optional<qint64>)> gCommitHook;
std::atomic<int> gAbandoned{0};

std::function<void(std::optional<qint64>)> commitHook()
{
    const std::lock_guard<std::mutex> lock(gHookMutex);
    return gCommitHook;
}

// What the committing thread and the caller share. Once the caller gives
// up, the provider is the thread's: it ends the link when the commit
// returns, and nothing else touches it again.
struct PendingCommit {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    bool abandoned = false;
    std::exception_ptr failure;
    std::unique_ptr<Provider> orphan;
};

constexpr qint64 kShortestCommitWaitMs = 1000;

} // namespace

int Connection::abandonedCommits()
{
    return gAbandoned;
}

void Connection::setCommitHook(std::function<void(std::optional<qint64>)> hook)
{
    const std::lock_guard<std::mutex> lock(gHookMutex);
    gCommitHook = std::move(hook);
}

std::optional<qint64> Connection::sessionId() const
{
    return mProvider ? mProvider->sessionId() : std::nullopt;
}

std::optional<bool> Connection::endSession(qint64 id, qint64 waitMs)
{
    return provider().endSession(id, waitMs);
}

void Connection::commitTrans(qint64 limitMs)
{
    Provider &p = provider();
    if (!p.inTransaction())
        throw DbError(ADO_E_ILLEGALOPERATION,
                      QCoreApplication::translate("Connection", "Nu exista o tranzactie deschisa."));
    const qint64 waitMs = std::max(limitMs, kShortestCommitWaitMs);
    if (!p.isRemote()) {
        if (const auto hook = commitHook())
            hook(p.sessionId());
        endTransaction([&p] { p.commitTrans(); });
        return;
    }
    endTransaction([&] {
        auto pending = std::make_shared<PendingCommit>();
        std::thread committer([pending, provider = &p, hook = commitHook(), session = p.sessionId()] {
            std::exception_ptr failure;
            try {
                if (hook)
                    hook(session);
                bool abandoned = false;
                {
                    const std::lock_guard<std::mutex> lock(pending->mutex);
                    abandoned = pending->abandoned;
                }
                // Not sent before the caller gave up: nothing of it is kept.
                if (abandoned)
                    provider->rollbackTrans();
                else
                    provider->commitTrans();
            } catch (...) {
                failure = std::current_exception();
            }
            std::unique_ptr<Provider> orphan;
            {
                const std::lock_guard<std::mutex> lock(pending->mutex);
                pending->done = true;
                pending->failure = failure;
                orphan = std::move(pending->orphan);
            }
            pending->answered.notify_all();
            if (orphan) {
                try {
                    orphan->close();
                } catch (...) {
                }
                orphan.reset();
                --gAbandoned;
            }
        });
        std::unique_lock<std::mutex> lock(pending->mutex);
        if (pending->answered.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return pending->done; })) {
            lock.unlock();
            committer.join();
            if (pending->failure)
                std::rethrow_exception(pending->failure);
            return;
        }
        // No answer: the provider goes to the committing thread, and this
        // connection is closed for good.
        {
            const std::lock_guard<std::mutex> guard(*mProviderGuard);
            pending->orphan = std::move(mProvider);
        }
        pending->abandoned = true;
        ++gAbandoned;
        lock.unlock();
        committer.detach();
        throw DbError::commitNotAnswered(waitMs);
    });
}

} // namespace db
