// A server's commit that does not answer is abandoned after its limit: the
// connection is closed for good, its transaction is never kept once given
// up before it was sent, and another connection can end the abandoned
// session on the server. A file's commit is waited for, however long.

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
            ++mInside;
            mReleased.wait(lock, [this] { return mFree; });
            --mInside;
            mReleased.notify_all();
        });
    }
    // The commits it holds run on threads of their own: it lets them go and
    // waits until none is inside the hook any more.
    ~HeldCommits()
    {
        release();
        Connection::setCommitHook({});
        std::unique_lock<std::mutex> lock(mMutex);
        mReleased.wait(lock, [this] { return mInside == 0; });
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
    int mInside = 0;
};

// Waits (bounded) until no abandoned commit is still waiting.
bool abandonedCommitsEnd()
{
    for (int i = 0; i < 300 && Connection::abandonedCommits() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return Connection::abandonedCommits() == 0;
}

class CommitWaitTest : public dbtest::EngineFixture {};
class FileCommitTest : public dbtest::EngineFixture {};
class ServerCommitTest : public dbtest::EngineFixture {};

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

TEST_P(FileCommitTest, CommitIsWaitedForPastTheLimit)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    Connection::setCommitHook([](std::optional<qint64>) { std::this_thread::sleep_for(std::chrono::milliseconds(1500)); });
    conn.beginTrans();
    conn.execute(QStringLiteral("INSERT INTO %1 (k) VALUES (1)").arg(table));
    EXPECT_NO_THROW(conn.commitTrans(1000));
    Connection::setCommitHook({});
    EXPECT_TRUE(conn.isOpen());
    EXPECT_EQ(rowCount(conn, table), 1);
}

TEST_P(ServerCommitTest, UnansweredCommitIsAbandonedAndItsTransactionNeverKept)
{
    const QString table = createTable(QStringLiteral("k INTEGER"));
    Connection waiting;
    waiting.open(mConnString);
    const std::optional<qint64> session = waiting.sessionId();
    ASSERT_TRUE(session.has_value());
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

        // The server ends the abandoned session on request.
        EXPECT_EQ(conn.endSession(*session, 5000), std::optional<bool>(true));
    }
    ASSERT_TRUE(abandonedCommitsEnd());
    EXPECT_EQ(rowCount(conn, table), 0);
}

VAMOR_INSTANTIATE_ENGINES(CommitWaitTest);
INSTANTIATE_TEST_SUITE_P(Engines, FileCommitTest,
                         testing::Values(dbtest::EngineCase{dbtest::Engine::BuiltInSqlite, "BuiltInSqlite"},
                                         dbtest::EngineCase{dbtest::Engine::SqliteOdbc, "SqliteOdbc"}),
                         dbtest::engineName);
INSTANTIATE_TEST_SUITE_P(Engines, ServerCommitTest,
                         testing::Values(dbtest::EngineCase{dbtest::Engine::PostgreSql, "PostgreSql"},
                                         dbtest::EngineCase{dbtest::Engine::MariaDb, "MariaDb"}),
                         dbtest::engineName);

} // namespace
