// A connection attempt to a server that never answers ends with the driver's
// message after the login timeout, not after minutes.
#include "data/db/ConnString.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/odbc/OdbcProvider.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

TEST(LoginTimeout, FifteenSecondsUnlessTheStringSetsItsOwn)
{
    const struct {
        const char *connString;
        int seconds;
    } cases[] = {
        {"Driver=PostgreSQL Unicode;Server=h;", 15},
        {"Driver=X;LoginTimeout=3;", 3},
        {"Driver=X;login timeout = 4;", 4},
        {"Driver=X;Connect Timeout=7", 7},
        {"Driver=X;ConnectTimeout=8", 8},
        {"Driver=X;Connection Timeout=9", 9},
        {"Driver=MariaDB Unicode;CONN_TIMEOUT=0;", 0},
        {"Driver=X;LoginTimeout=abc;", 15},
        {"Driver=X;LoginTimeout=-1;", 15},
        {"Driver={X;LoginTimeout=2", 15},
    };
    for (const auto &c : cases)
        EXPECT_EQ(db::odbcLoginTimeout(QString::fromLatin1(c.connString)), c.seconds) << c.connString;
}

// A server that takes connections and never says a word: the kernel
// completes the handshake of every connection, nobody accepts or answers.
class SilentServer {
public:
    SilentServer()
    {
        mSocket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (mSocket < 0 || ::bind(mSocket, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0
            || ::listen(mSocket, 16) != 0
            || ::getsockname(mSocket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        mPort = ntohs(address.sin_port);
    }
    ~SilentServer()
    {
        if (mSocket >= 0)
            ::close(mSocket);
    }
    int port() const { return mPort; }

private:
    int mSocket = -1;
    int mPort = 0;
};

// How an attempt to connect ended. Its time is only ever bounded from
// above: a loaded or instrumented machine may take longer, and how much
// sooner a wait ends tells nothing about the timeout.
struct Attempt {
    bool connected = false;
    QString message; // the driver's, when it failed
    double seconds = 0;
};

Attempt attempt(const QString &connString)
{
    Attempt result;
    QElapsedTimer clock;
    clock.start();
    try {
        db::Connection c;
        c.open(connString);
        result.connected = true;
    } catch (const db::DbError &e) {
        result.message = e.description();
    }
    result.seconds = clock.elapsed() / 1000.0;
    return result;
}

TEST(LoginTimeout, AServerThatNeverAnswersFailsWithinTheTimeout)
{
    VAMOR_REQUIRE_SERVER(pg, "VAMOR_TEST_PG");
    SilentServer server;
    ASSERT_NE(server.port(), 0);
    const QString driver = db::ConnString::parse(pg).value(QStringLiteral("Driver"));
    const QString head = QStringLiteral("Driver={%1};Server=127.0.0.1;Port=%2;Database=x;Uid=u;Pwd=p;")
                             .arg(driver)
                             .arg(server.port());
    // The string's own timeout ends the wait, with the driver's time-out
    // error, long before the fifteen seconds it did not ask for.
    const Attempt own = attempt(head + QStringLiteral("LoginTimeout=2;"));
    EXPECT_FALSE(own.connected);
    EXPECT_TRUE(own.message.contains(QLatin1String("timeout"), Qt::CaseInsensitive)) << own.message.toStdString();
    EXPECT_LT(own.seconds, 12.0);

    // Without one, the fifteen seconds end it: the same error, not minutes.
    const Attempt standard = attempt(head);
    EXPECT_FALSE(standard.connected);
    EXPECT_TRUE(standard.message.contains(QLatin1String("timeout"), Qt::CaseInsensitive))
        << standard.message.toStdString();
    EXPECT_LT(standard.seconds, 60.0);
}

} // namespace
