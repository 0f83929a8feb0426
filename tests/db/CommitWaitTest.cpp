// A commit the database does not answer is abandoned after its limit: the
// connection is closed for good, its transaction is never kept once given
// up before it was sent, and another connection can end the abandoned
// session on the server.

#include "tests/db/EngineFixture.h"

#include <QElapsedTimer>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace db;
using dbtest::Engine;
using dbtest::expectDbError;

namespace {

// A commit hook that holds each commit until the test lets go.
class HeldCommits {
public:
    HeldCommits()
    {
        Connection::setCommitHook([this](std::optional<qint64>) {
            std::unique_lock<std::mutex> lock(mMutex);
            mReleased.wait(lock, [this] { return mFree; });
        });
    }
    ~HeldCommits()
    {
        release();
        Connection::setCommitHook({});
    }
    void release()
    {
        {
            const std::lock_guard<std::mutex> lock(mMutex);
            mFree = true;
        }
        mReleased.notify_all();
    }

private:
    std::mutex mMutex;
    std::condition_variable mReleased;
    bool mFree = false;
};

// Waits (bounded) until no abandoned commit is still waiting.
bool abandonedCommitsEnd()
{
    for (int i = 0; i < 300 && Connection::abandonedCommits() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return Connection::abandonedCommits() == 0;
}

class CommitWaitTest : public dbtest::EngineFixture {};

TEST_P(CommitWaitTest, AnsweredCommitKeepsTheWork)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    conn.beginTrans();
    conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
    conn.commitTrans(2000);
    EXPECT_FALSE(conn.inTransaction());
    Connection other;
    other.open(mConnString);
    EXPECT_EQ(rowCount(other, table), 1);
}

TEST_P(CommitWaitTest, UnansweredCommitIsAbandonedAndItsTransactionNeverKept)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    Connection waiting;
    waiting.open(mConnString);
    const std::optional<qint64> session = waiting.sessionId();
    EXPECT_EQ(session.has_value(), isServer());
    {
        HeldCommits held;
        waiting.beginTrans();
        waiting.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
        QElapsedTimer clock;
        clock.start();
        const DbError e = expectDbError([&] { waiting.commitTrans(1000); });
        EXPECT_LT(clock.elapsed(), 20000);
        EXPECT_EQ(e.kind(), DbError::Kind::NoAnswer) << e;
        EXPECT_EQ(e.description(),
                  QStringLiteral("Baza de date nu a raspuns la salvarea tranzactiei in 1 s; conexiunea a fost "
                                 "abandonata."));
        EXPECT_FALSE(waiting.isOpen());
        EXPECT_FALSE(waiting.inTransaction());
        EXPECT_EQ(Connection::abandonedCommits(), 1);
        const DbError closed = expectDbError([&] { waiting.execute(QStringLiteral("SELECT 1")); });
        EXPECT_EQ(closed.number(), ADO_E_ILLEGALOPERATION) << closed;

        // The servers end the abandoned session on request.
        if (session) {
            EXPECT_EQ(conn.endSession(*session, 5000), std::optional<bool>(true));
        } else {
            EXPECT_EQ(conn.endSession(0, 100), std::nullopt);
        }
    }
    ASSERT_TRUE(abandonedCommitsEnd());
    EXPECT_EQ(rowCount(conn, table), 0);
}

VAMOR_INSTANTIATE_ENGINES(CommitWaitTest);

} // namespace
