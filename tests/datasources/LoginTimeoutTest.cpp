// A connection attempt to a server that never answers ends with the driver's
// message after the login timeout, not after minutes.
#include "data/db/ConnString.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/OdbcProvider.h"
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

// Seconds until the attempt failed, with the driver's message; -1 when it
// connected.
double attempt(const QString &connString, QString &message)
{
    QElapsedTimer clock;
    clock.start();
    try {
        db::Connection c;
        c.open(connString);
        return -1;
    } catch (const db::DbError &e) {
        message = e.description();
    }
    return clock.elapsed() / 1000.0;
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
    QString message;
    const double own = attempt(head + QStringLiteral("LoginTimeout=2;"), message);
    EXPECT_GE(own, 1.5);
    EXPECT_LT(own, 8.0);
    EXPECT_TRUE(message.contains(QLatin1String("timeout"), Qt::CaseInsensitive)) << message.toStdString();

    message.clear();
    const double standard = attempt(head, message);
    EXPECT_GE(standard, 14.0);
    EXPECT_LT(standard, 25.0);
    EXPECT_FALSE(message.isEmpty());
}

} // namespace
