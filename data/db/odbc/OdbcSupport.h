#pragma once

// The pieces of the ODBC provider below the provider itself: text between
// QString and the driver manager's UTF-16, diagnostics, statement handles and
// the reading of values.

#include "data/db/Variant.h"

#include <QString>
#include <QStringList>

#include <sql.h>
#include <sqlext.h>

#include <mutex>
#include <optional>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC must use 16-bit SQLWCHAR");

namespace db::odbc {

// ---- text between QString and the driver manager's UTF-16 ----

struct WText {
    explicit WText(const QString &s) : text(s) {}
    SQLWCHAR *ptr() { return reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(reinterpret_cast<const char16_t *>(text.utf16()))); }
    QString text;
};

QString fromW(const SQLWCHAR *s, qsizetype chars);
QString fromW(const SQLWCHAR *s);

inline bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// ---- diagnostics ----

struct Diagnostics {
    QString state;
    int native = 0; // the engine's own error number, of the first record
    QStringList messages;
};

// The database behind a connection, as the driver names it.
enum class Engine { Other, PostgreSql, MySql, Sqlite, MdbTools };

// Whether the diagnostics of a failed statement on `engine` say that it
// waited the lock timeout for a lock another session holds.
bool isLockTimeout(Engine engine, const Diagnostics &d);
// Whether they say that the statement ran longer than its statement timeout.
bool isStatementTimeout(Engine engine, const Diagnostics &d);
// For a MariaDB/MySQL session: throws what a failure says about the
// session's cluster, in the user's words with the server's after them (a
// node cut off from its cluster, a transaction over the cluster's limits,
// a certification conflict when `galera`); returns for any other failure.
void throwIfCluster(const Diagnostics &d, bool galera);
// Whether a failure says that the link to the server was lost.
bool isLinkLost(Engine engine, const Diagnostics &d);

Diagnostics readDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);
// Throws the diagnostics as a DbError; `fallback` when they hold no text.
[[noreturn]] void throwError(Diagnostics d, const QString &fallback);
[[noreturn]] void throwDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const QString &fallback);
// Throws the handle's diagnostics when `rc` is a failure.
void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char *what);

// ---- types ----

// Type names that say more than the SQL type the driver reports (money,
// booleans handed over as characters).
int refineByTypeName(int adoType, const QString &typeName);
bool typeNameIsUnsigned(const QString &typeName);

// How a value of a SQL type is read into a Variant.
enum class Fetch { Integer, UnsignedBig, Double, Decimal, Text, Date, Time, Timestamp, Bit, Binary };

Fetch fetchKindFor(int sqlType, bool isUnsigned);

// ---- handles ----

// The statement a connection runs now, so that another thread can stop it
// (SQLCancel). A handle is registered while it lives and unregistered under
// the same lock before it is freed, so a cancel never reaches a freed handle.
class InFlight {
public:
    // Whose errors the statements throw (set once connected), and the
    // statement timeout they run with (seconds, 0 for none).
    Engine engine = Engine::Other;
    int timeoutSeconds = 0;
    bool galera = false; // a node of a MariaDB Galera cluster

    void begin(SQLHSTMT statement);
    void end(SQLHSTMT statement);
    // Stops the registered statement, if any; any thread.
    void cancel();
    // Whether cancel() reached `statement` while it was registered.
    bool cancelled(SQLHSTMT statement);

private:
    std::mutex mMutex;
    SQLHSTMT mCurrent = SQL_NULL_HSTMT;
    bool mCancelled = false;
};

class Statement {
public:
    // With `inFlight`, the statement may be stopped from another thread
    // while it lives; a failure after such a stop throws DbError::cancelled().
    // A `queryTimeout` (seconds) asks the driver to stop it after that long
    // (SQL_ATTR_QUERY_TIMEOUT; a driver that cannot lets it run).
    explicit Statement(SQLHDBC dbc, InFlight *inFlight = nullptr, int queryTimeout = 0) : mInFlight(inFlight)
    {
        const SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, dbc, &mStmt);
        if (!succeeded(rc)) {
            mStmt = SQL_NULL_HSTMT;
            odbc::check(rc, SQL_HANDLE_DBC, dbc, "SQLAllocHandle");
        }
        if (queryTimeout > 0)
            SQLSetStmtAttrW(mStmt, SQL_ATTR_QUERY_TIMEOUT,
                            reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(queryTimeout)), SQL_IS_UINTEGER);
        if (mInFlight)
            mInFlight->begin(mStmt);
    }
    ~Statement()
    {
        if (mStmt != SQL_NULL_HSTMT) {
            if (mInFlight)
                mInFlight->end(mStmt);
            SQLFreeStmt(mStmt, SQL_CLOSE);
            SQLFreeHandle(SQL_HANDLE_STMT, mStmt);
        }
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    SQLHSTMT handle() const { return mStmt; }
    void check(SQLRETURN rc, const char *what) const;
    // Throws DbError::cancelled() when the statement was stopped from
    // another thread, whatever the driver answered: a driver may let a
    // stopped statement end as if nothing happened (MariaDB's SLEEP).
    void requireNotCancelled() const;

private:
    SQLHSTMT mStmt = SQL_NULL_HSTMT;
    InFlight *mInFlight = nullptr;
};

struct ResultColumn {
    QString name;
    int sqlType = 0;
    bool isUnsigned = false;
    int adoType = 0;
    Fetch fetch = Fetch::Text;
};

// ---- reading values ----

// Reads the whole character value of a column as UTF-16, piece by piece.
// Returns false for SQL NULL; `failed` tells a driver error.
bool readText(const Statement &st, SQLUSMALLINT col, QString &out, bool &failed);
Variant readValue(const Statement &st, SQLUSMALLINT col, const ResultColumn &column);
// The text of a column; "" for Null or an error.
QString columnText(const Statement &st, SQLUSMALLINT col);
Variant columnTextOrNull(const Statement &st, SQLUSMALLINT col);
// A whole number of a catalog column (32 bits); nullopt for Null or an error.
std::optional<qint64> columnInteger(const Statement &st, SQLUSMALLINT col);

} // namespace db::odbc
