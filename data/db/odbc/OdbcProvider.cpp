#include "data/db/odbc/OdbcProvider.h"

#include "data/db/AdoTypes.h"
#include "data/db/ConnString.h"
#include "data/db/DbError.h"
#include "data/db/odbc/OdbcProviderImpl.h"
#include "data/db/odbc/OdbcSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <optional>
#include <unistd.h>
#include <vector>

namespace db {

namespace odbc {

namespace {

// Some drivers (MDBTools) report why a connection failed only on the
// standard error stream and leave no diagnostic record. While connecting, the
// stream is caught in a temporary file; its text becomes the description when
// the driver gives none, and is passed on to the real stream otherwise.
class StderrCapture {
public:
    StderrCapture()
    {
        std::fflush(stderr);
        mFile = std::tmpfile();
        if (!mFile)
            return;
        mSaved = ::dup(STDERR_FILENO);
        if (mSaved < 0 || ::dup2(::fileno(mFile), STDERR_FILENO) < 0) {
            if (mSaved >= 0)
                ::close(mSaved);
            mSaved = -1;
            std::fclose(mFile);
            mFile = nullptr;
        }
    }
    ~StderrCapture() { finish(true); }
    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;

    // Restores the stream and returns what was written meanwhile; with
    // `replay` the text is also written to the restored stream.
    QString finish(bool replay)
    {
        if (!mFile)
            return QString();
        std::fflush(stderr);
        ::dup2(mSaved, STDERR_FILENO);
        ::close(mSaved);
        mSaved = -1;
        QByteArray bytes;
        std::rewind(mFile);
        char chunk[4096];
        size_t n = 0;
        while ((n = std::fread(chunk, 1, sizeof(chunk), mFile)) > 0 && bytes.size() < 1024 * 1024)
            bytes.append(chunk, static_cast<qsizetype>(n));
        std::fclose(mFile);
        mFile = nullptr;
        if (replay && !bytes.isEmpty()) {
            std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
            std::fflush(stderr);
        }
        return QString::fromLocal8Bit(bytes);
    }

private:
    std::FILE *mFile = nullptr;
    int mSaved = -1;
};

// The first lines of a driver's own output, without repeats.
QString summariseDriverOutput(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (!t.isEmpty() && !lines.contains(t))
            lines.append(t);
        if (lines.size() >= 8)
            break;
    }
    return lines.join(QLatin1Char('\n'));
}

// What the driver says its database is (SQL_DBMS_NAME, SQL_DRIVER_NAME).
Engine engineOf(const QString &dbmsName, const QString &driverName)
{
    const QString dbms = dbmsName.toLower();
    if (dbms.contains(QLatin1String("postgres")))
        return Engine::PostgreSql;
    if (dbms.contains(QLatin1String("mariadb")) || dbms.contains(QLatin1String("mysql")))
        return Engine::MySql;
    if (dbms.contains(QLatin1String("sqlite")))
        return Engine::Sqlite;
    if (dbms.contains(QLatin1String("mdb")) || driverName.contains(QLatin1String("mdb"), Qt::CaseInsensitive))
        return Engine::MdbTools;
    return Engine::Other;
}

std::atomic<int> gFailingRollbacks{0};

QString infoText(SQLHDBC dbc, SQLUSMALLINT infoType)
{
    SQLWCHAR buffer[256] = {};
    SQLSMALLINT bytes = 0;
    if (!succeeded(SQLGetInfoW(dbc, infoType, buffer, sizeof(buffer) - sizeof(SQLWCHAR), &bytes)))
        return QString();
    return fromW(buffer).trimmed();
}

} // namespace

OdbcProvider::OdbcProvider(const QString &connectionString, std::optional<qint64> lockTimeoutMs)
{
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &mEnv);
    if (!succeeded(rc)) {
        mEnv = SQL_NULL_HENV;
        throw DbError(
            E_FAIL, QCoreApplication::translate("OdbcProvider", "Managerul de drivere ODBC nu a putut fi initializat."),
            QStringLiteral("HY000"));
    }
    try {
        check(SQLSetEnvAttr(mEnv, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              SQL_HANDLE_ENV, mEnv, "SQLSetEnvAttr");
        rc = SQLAllocHandle(SQL_HANDLE_DBC, mEnv, &mDbc);
        if (!succeeded(rc)) {
            mDbc = SQL_NULL_HDBC;
            check(rc, SQL_HANDLE_ENV, mEnv, "SQLAllocHandle");
        }
        // A server that never answers must not hold the program for
        // minutes. A driver that knows no login timeout goes on without.
        SQLSetConnectAttrW(mDbc, SQL_ATTR_LOGIN_TIMEOUT,
                           reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(odbcLoginTimeout(connectionString))),
                           0);
        WText text(connectionString);
        std::vector<SQLWCHAR> out(4096);
        SQLSMALLINT outLength = 0;
        StderrCapture capture;
        rc = SQLDriverConnectW(mDbc, nullptr, text.ptr(), SQL_NTS, out.data(),
                               static_cast<SQLSMALLINT>(out.size()), &outLength, SQL_DRIVER_NOPROMPT);
        if (!succeeded(rc)) {
            Diagnostics d = readDiagnostics(SQL_HANDLE_DBC, mDbc);
            const QString driverText = summariseDriverOutput(capture.finish(false));
            if (d.messages.isEmpty() && !driverText.isEmpty())
                d.messages.append(driverText);
            throwError(d, QCoreApplication::translate("OdbcProvider",
                                                      "Driverul ODBC a refuzat conexiunea fara sa spuna de ce."));
        }
        capture.finish(true);
        mConnected = true;
        SQLUSMALLINT txn = SQL_TC_NONE;
        if (succeeded(SQLGetInfoW(mDbc, SQL_TXN_CAPABLE, &txn, sizeof(txn), nullptr)))
            mTransactions = txn != SQL_TC_NONE;
        mEngine = engineOf(infoText(mDbc, SQL_DBMS_NAME), infoText(mDbc, SQL_DRIVER_NAME));
        mInFlight.engine = mEngine;
        // MDB Tools reads Access files but cannot write them.
        mReadOnly = infoText(mDbc, SQL_DATA_SOURCE_READ_ONLY).compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0
                    || mEngine == Engine::MdbTools;
        ConnString driverString;
        try {
            driverString = ConnString::parse(connectionString);
        } catch (const DbError &) {
            // the driver took it: its own reading counts
        }
        try {
            applyLockTimeout(lockTimeoutMs, driverString);
        } catch (const DbError &) {
            // A server that knows these settings otherwise (a look-alike of
            // PostgreSQL or MySQL) keeps its own waits; the connection is
            // good all the same.
            mLockTimeoutMs.reset();
        }
        // A PostgreSQL standby accepts the connection and every read, and
        // refuses the first write: it is known as read-only from the start.
        mStandby = false;
        if (mEngine == Engine::PostgreSql) {
            try {
                Recordset rs = query(QStringLiteral("VALUES (pg_is_in_recovery())"), LockType::ReadOnly, 1);
                mStandby = !rs.eof() && rs.value(0).toBool();
                mReadOnly = mReadOnly || mStandby;
            } catch (const DbError &) {
                // a look-alike without the function: taken as a primary
            }
        }
        // A node of a Galera cluster names itself by its group member id;
        // a server without Galera has none.
        if (mEngine == Engine::MySql) {
            try {
                Recordset rs = query(QStringLiteral("SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS "
                                                      "WHERE VARIABLE_NAME = 'WSREP_GCOMM_UUID'"),
                                       LockType::ReadOnly, 1);
                if (!rs.eof())
                    mClusterNodeId = rs.value(0).toString().trimmed();
            } catch (const DbError &) {
                // a look-alike without the status: not a cluster node
            }
            mInFlight.galera = !mClusterNodeId.isEmpty();
        }
    } catch (...) {
        release();
        throw;
    }
}

// Sets how long a statement of the session waits for a lock that another
// session holds, with the engine's own SQL. Without a LockTimeout in the
// string the default applies, unless the session already waits less (set
// by the data source's own settings or by the server's): a shorter wait is
// kept. Engines this program does not know keep their own waits.
void OdbcProvider::applyLockTimeout(std::optional<qint64> ms, const ConnString &driverString)
{
    const bool keepShorter = !ms;
    const qint64 wanted = ms.value_or(kDefaultLockTimeoutMs);
    const auto firstRow = [this](const QString &sql) { return query(sql, LockType::ReadOnly, 1); };
    switch (mEngine) {
    case Engine::PostgreSql: {
        // lock_timeout is kept in milliseconds, and 0 there waits without
        // end: not waiting is the shortest wait it knows, 1 ms. VALUES is
        // read at once: no cursor, no transaction around it.
        Recordset rs = firstRow(QStringLiteral(
            "VALUES ((SELECT setting FROM pg_settings WHERE name = 'lock_timeout'), pg_backend_pid())"));
        const qint64 now = rs.eof() ? 0 : rs.value(0).toString().toLongLong();
        if (!rs.eof())
            mSessionId = rs.value(1).toInt();
        qint64 inForce = std::max<qint64>(wanted, 1);
        if (keepShorter && now > 0 && now < inForce)
            inForce = now;
        else
            execute(QStringLiteral("SET lock_timeout = %1").arg(inForce));
        mLockTimeoutMs = inForce;
        break;
    }
    case Engine::MySql: {
        // Row locks (InnoDB) and table locks (the metadata of a table
        // another session locked or alters) have a wait each, in whole
        // seconds; 0 does not wait.
        Recordset rs = firstRow(QStringLiteral(
            "SELECT @@SESSION.innodb_lock_wait_timeout, @@SESSION.lock_wait_timeout, CONNECTION_ID()"));
        if (!rs.eof())
            mSessionId = rs.value(2).toInt();
        const qint64 seconds = (wanted + 999) / 1000;
        qint64 rows = seconds, tables = seconds;
        if (keepShorter && !rs.eof()) {
            const qint64 rowsNow = rs.value(0).toInt(), tablesNow = rs.value(1).toInt();
            rows = rowsNow > 0 ? std::min(seconds, rowsNow) : seconds;
            tables = tablesNow > 0 ? std::min(seconds, tablesNow) : seconds;
        }
        execute(QStringLiteral("SET SESSION innodb_lock_wait_timeout = %1, SESSION lock_wait_timeout = %2")
                    .arg(rows)
                    .arg(tables));
        mLockTimeoutMs = std::max(rows, tables) * 1000;
        break;
    }
    case Engine::Sqlite: {
        // The driver's own Timeout, which its string sets (withSqliteDriverTimeout).
        bool ok = false;
        const qint64 driverMs = driverString.value(QStringLiteral("Timeout")).trimmed().toLongLong(&ok);
        if (ok)
            mLockTimeoutMs = driverMs;
        break;
    }
    default:
        break;
    }
}

bool OdbcProvider::isAlive() const
{
    if (!mConnected)
        return false;
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (!succeeded(SQLGetConnectAttrW(mDbc, SQL_ATTR_CONNECTION_DEAD, &dead, sizeof(dead), nullptr)))
        return true; // a driver that cannot tell: the first command will
    return dead != SQL_CD_TRUE;
}

qint64 OdbcProvider::execute(const QString &sql)
{
    try {
        Statement st(timedDbc(), &mInFlight, queryTimeout());
        WText text(sql);
        const SQLRETURN rc = SQLExecDirectW(st.handle(), text.ptr(), SQL_NTS);
        st.requireNotCancelled();
        if (rc == SQL_NO_DATA)
            return 0; // a searched UPDATE or DELETE that touched no row
        st.check(rc, "SQLExecDirect");
        SQLLEN count = -1;
        if (!succeeded(SQLRowCount(st.handle(), &count)))
            count = -1;
        return static_cast<qint64>(count);
    } catch (const DbError &) {
        settleAfterFailure();
        throw;
    }
}

// The PostgreSQL driver reads a SELECT through a cursor, and a cursor
// lives in a transaction the driver opens around it even when statements
// commit on their own. A statement stopped at the wrong moment (a cancel
// that lands between the driver's own steps) can leave that transaction
// aborted, and every later statement of the session would fail with
// "current transaction is aborted". Outside a transaction of ours there
// is nothing to keep, so the session is brought back with a ROLLBACK,
// sent on a statement of its own that no cancel is aimed at; "no
// transaction in progress" is only a warning.
void OdbcProvider::settleAfterFailure()
{
    if (mEngine != Engine::PostgreSql || !mConnected || mInTransaction || mDbc == SQL_NULL_HDBC)
        return;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, mDbc, &stmt)))
        return;
    WText text(QStringLiteral("ROLLBACK"));
    SQLExecDirectW(stmt, text.ptr(), SQL_NTS);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
}

// A transaction is the connection in manual-commit mode; it ends with
// SQLEndTran and the return to autocommit.
void OdbcProvider::beginTrans()
{
    dbc();
    if (!mTransactions)
        throw DbError(E_FAIL, QCoreApplication::translate("OdbcProvider", "Driverul ODBC nu suporta tranzactii."),
                      QStringLiteral("HYC00"));
    if (mInTransaction)
        throw DbError(ADO_E_ILLEGALOPERATION,
                      QCoreApplication::translate("OdbcProvider", "O tranzactie este deja deschisa."));
    if (!succeeded(setAutocommit(false))) {
        const Diagnostics failure = readDiagnostics(SQL_HANDLE_DBC, mDbc);
        setAutocommit(true); // nothing ran since: this commits nothing
        throwError(failure, QCoreApplication::translate("OdbcProvider", "Tranzactia nu a putut incepe."));
    }
    mInTransaction = true;
}

void OdbcProvider::commitTrans()
{
    requireTransaction();
    if (succeeded(endTran(SQL_COMMIT))) {
        backToAutocommit();
        return;
    }
    const Diagnostics failure = readDiagnostics(SQL_HANDLE_DBC, mDbc);
    // The driver or the server may keep the transaction open after a
    // failed commit: it is rolled back, never committed by the return
    // to autocommit. Only the commit's own message is told.
    if (succeeded(endTran(SQL_ROLLBACK)))
        backToAutocommit();
    else
        drop(lostText());
    // A commit sent over a link that then broke may have been kept.
    if (isLinkLost(mEngine, failure))
        throw DbError::commitLinkLost(failure.messages.join(QLatin1Char('\n')), failure.state);
    if (mEngine == Engine::MySql)
        throwIfCluster(failure, mInFlight.galera);
    throwError(failure, QCoreApplication::translate("OdbcProvider", "Tranzactia nu a putut fi salvata."));
}

void OdbcProvider::rollbackTrans()
{
    requireTransaction();
    if (succeeded(endTran(SQL_ROLLBACK))) {
        backToAutocommit();
        return;
    }
    // Under ODBC the return to autocommit would commit the transaction.
    // The connection is ended instead: a server rolls back the
    // transaction of a connection that ends.
    Diagnostics failure = readDiagnostics(SQL_HANDLE_DBC, mDbc);
    if (failure.messages.isEmpty())
        failure.messages.append(QCoreApplication::translate("OdbcProvider", "Tranzactia nu a putut fi anulata."));
    failure.messages.append(lostText());
    drop(lostText());
    throwError(failure, QString());
}

SqlDialect OdbcProvider::dialect() const
{
    switch (mEngine) {
    case Engine::PostgreSql: return SqlDialect::PostgreSql;
    case Engine::MySql: return SqlDialect::MySql;
    case Engine::Sqlite: return SqlDialect::Sqlite;
    default: return SqlDialect::Generic;
    }
}

Recordset OdbcProvider::query(const QString &sql, LockType lock, int maxRows)
{
    Q_UNUSED(lock); // ODBC recordsets are read-only snapshots
    try {
        Statement st(timedDbc(), &mInFlight, queryTimeout());
        if (maxRows > 0) {
            // Not every driver honours the limit (01S02 "option value changed"
            // is fine); fetching stops at maxRows below in any case.
            SQLSetStmtAttrW(st.handle(), SQL_ATTR_MAX_ROWS,
                            reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(maxRows)), SQL_IS_UINTEGER);
        }
        WText text(sql);
        const SQLRETURN rc = SQLExecDirectW(st.handle(), text.ptr(), SQL_NTS);
        if (rc != SQL_NO_DATA)
            st.check(rc, "SQLExecDirect");
        return snapshot(st, maxRows);
    } catch (const DbError &) {
        settleAfterFailure(); // with the failed statement's cursor closed
        throw;
    }
}

QString OdbcProvider::lostText()
{
    return QCoreApplication::translate("OdbcProvider",
                                       "Conexiunea a fost inchisa fara a salva tranzactia; baza de date o anuleaza.");
}

// The session is ended by the server itself (its transaction rolled back,
// unless its commit was already under way), then looked for until it has
// gone or the wait is over.
std::optional<bool> OdbcProvider::endSession(qint64 id, qint64 waitMs)
{
    QString end, stillThere;
    switch (mEngine) {
    case Engine::PostgreSql:
        end = QStringLiteral("VALUES (pg_terminate_backend(%1))").arg(id);
        stillThere = QStringLiteral("VALUES ((SELECT count(*) FROM pg_stat_activity WHERE pid = %1))").arg(id);
        break;
    case Engine::MySql:
        end = QStringLiteral("KILL CONNECTION %1").arg(id);
        stillThere = QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = %1").arg(id);
        break;
    default: return std::nullopt;
    }
    try {
        execute(end);
    } catch (const DbError &) {
        // gone already ("unknown thread id"), or not ours to end: the list says
    }
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (query(stillThere, LockType::ReadOnly, 1).value(0).toInt() == 0)
            return true;
        if (clock.hasExpired(waitMs))
            return false;
        QThread::msleep(100);
    }
}

void OdbcProvider::setStatementTimeout(int seconds)
{
    mStatementTimeout = seconds;
    mInFlight.timeoutSeconds = seconds;
}

// MariaDB's driver does not honour SQL_ATTR_QUERY_TIMEOUT: the session's
// max_statement_time does it (catalog functions included), set when it
// differs from what the next statement wants. A server that has no such
// variable (MySQL) runs without.
SQLHDBC OdbcProvider::timedDbc()
{
    const SQLHDBC handle = dbc();
    if (mEngine != Engine::MySql || mSessionTimeout == mStatementTimeout || mSessionTimeout < 0)
        return handle;
    Statement set(handle);
    WText text(QStringLiteral("SET SESSION max_statement_time = %1").arg(mStatementTimeout));
    mSessionTimeout = succeeded(SQLExecDirectW(set.handle(), text.ptr(), SQL_NTS)) ? mStatementTimeout : -1;
    return handle;
}

int OdbcProvider::queryTimeout() const
{
    return mEngine == Engine::MySql ? 0 : mStatementTimeout;
}

SQLHDBC OdbcProvider::dbc() const
{
    if (!mConnected)
        throw DbError(ADO_E_ILLEGALOPERATION,
                      mLostReason.isEmpty() ? QCoreApplication::translate(
                          "OdbcProvider", "Operatia nu este permisa cand conexiunea este inchisa.")
                                            : mLostReason);
    return mDbc;
}

void OdbcProvider::requireTransaction() const
{
    dbc();
    if (!mInTransaction)
        throw DbError(ADO_E_ILLEGALOPERATION,
                      QCoreApplication::translate("OdbcProvider", "Nu exista o tranzactie deschisa."));
}

SQLRETURN OdbcProvider::setAutocommit(bool on)
{
    return SQLSetConnectAttrW(mDbc, SQL_ATTR_AUTOCOMMIT,
                              reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER);
}

SQLRETURN OdbcProvider::endTran(SQLSMALLINT completion)
{
    if (completion == SQL_ROLLBACK) {
        int pending = gFailingRollbacks.load();
        while (pending > 0 && !gFailingRollbacks.compare_exchange_weak(pending, pending - 1)) {
        }
        if (pending > 0)
            return SQL_ERROR;
    }
    return SQLEndTran(SQL_HANDLE_DBC, mDbc, completion);
}

// After a transaction ended: statements commit on their own again. A
// driver that will not go back would keep every later statement in a
// transaction nobody commits, so the connection is ended instead.
void OdbcProvider::backToAutocommit()
{
    mInTransaction = false;
    if (!succeeded(setAutocommit(true)))
        drop(QCoreApplication::translate("OdbcProvider",
                                         "Conexiunea a fost inchisa: driverul ODBC nu a revenit la salvarea automata a "
                                         "fiecarei instructiuni dupa tranzactie."));
}

// Ends the connection without committing anything. A driver that
// refuses to disconnect while a transaction is open (SQLSTATE 25000,
// the SQLite3 driver) keeps its handle in manual-commit mode, never
// committed; the database rolls the transaction back when the program
// ends. Later use of the provider throws `reason`.
void OdbcProvider::drop(const QString &reason)
{
    mLostReason = reason;
    mInTransaction = false;
    if (!mConnected)
        return;
    mConnected = false;
    if (succeeded(SQLDisconnect(mDbc))) {
        SQLFreeHandle(SQL_HANDLE_DBC, mDbc);
        mDbc = SQL_NULL_HDBC;
        return;
    }
    mDbc = SQL_NULL_HDBC; // left open on purpose, and with it its environment
    mEnv = SQL_NULL_HENV;
}

Recordset OdbcProvider::snapshot(const Statement &st, int maxRows)
{
    SQLSMALLINT count = 0;
    st.requireNotCancelled();
    if (!succeeded(SQLNumResultCols(st.handle(), &count)) || count <= 0)
        return Recordset(QList<Column>(), {});
    std::vector<ResultColumn> cols(static_cast<size_t>(count));
    QList<Column> columns;
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
        ResultColumn &c = cols[i - 1];
        SQLWCHAR name[512] = {};
        SQLSMALLINT nameLength = 0, dataType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        st.check(SQLDescribeColW(st.handle(), i, name, 512, &nameLength, &dataType, &size, &digits, &nullable),
                 "SQLDescribeCol");
        c.name = fromW(name, std::clamp<qsizetype>(nameLength, 0, 511));
        c.sqlType = dataType;
        SQLLEN isUnsigned = SQL_FALSE;
        if (!succeeded(SQLColAttributeW(st.handle(), i, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned)))
            isUnsigned = SQL_FALSE;
        c.isUnsigned = isUnsigned == SQL_TRUE && dataType != SQL_BIT;
        SQLWCHAR typeName[128] = {};
        SQLSMALLINT typeNameBytes = 0;
        QString typeNameText;
        if (succeeded(SQLColAttributeW(st.handle(), i, SQL_DESC_TYPE_NAME, typeName, sizeof(typeName),
                                       &typeNameBytes, nullptr)))
            typeNameText = fromW(typeName);
        c.adoType = refineByTypeName(adoTypeFromSqlType(dataType, c.isUnsigned), typeNameText);
        c.fetch = c.adoType == adBoolean ? Fetch::Bit : fetchKindFor(dataType, c.isUnsigned);
        columns.append(Column{c.name, c.adoType});
    }
    std::vector<QList<Variant>> rows;
    while (maxRows <= 0 || static_cast<qint64>(rows.size()) < maxRows) {
        const SQLRETURN rc = SQLFetch(st.handle());
        if (rc == SQL_NO_DATA)
            break;
        st.check(rc, "SQLFetch");
        QList<Variant> row;
        row.reserve(count);
        for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i)
            row.append(readValue(st, i, cols[i - 1]));
        rows.push_back(std::move(row));
    }
    st.requireNotCancelled();
    return Recordset(columns, std::move(rows));
}

void OdbcProvider::release()
{
    if (mDbc != SQL_NULL_HDBC) {
        if (mConnected) {
            if (mInTransaction) {
                SQLEndTran(SQL_HANDLE_DBC, mDbc, SQL_ROLLBACK);
                mInTransaction = false;
            }
            SQLDisconnect(mDbc);
            mConnected = false;
        }
        SQLFreeHandle(SQL_HANDLE_DBC, mDbc);
        mDbc = SQL_NULL_HDBC;
    }
    if (mEnv != SQL_NULL_HENV) {
        SQLFreeHandle(SQL_HANDLE_ENV, mEnv);
        mEnv = SQL_NULL_HENV;
    }
}

} // namespace odbc

int adoTypeFromSqlType(int sqlType, bool isUnsigned)
{
    switch (sqlType) {
    case SQL_SMALLINT: return isUnsigned ? adUnsignedSmallInt : adSmallInt;
    case SQL_INTEGER: return isUnsigned ? adUnsignedInt : adInteger;
    case SQL_TINYINT: return isUnsigned ? adUnsignedTinyInt : adTinyInt;
    case SQL_BIGINT: return isUnsigned ? adUnsignedBigInt : adBigInt;
    case SQL_REAL: return adSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE: return adDouble;
    case SQL_DECIMAL:
    case SQL_NUMERIC: return adNumeric;
    case SQL_CHAR: return adChar;
    case SQL_WCHAR: return adWChar;
    case SQL_VARCHAR: return adVarChar;
    case SQL_WVARCHAR: return adVarWChar;
    case SQL_LONGVARCHAR: return adLongVarChar;
    case SQL_WLONGVARCHAR: return adLongVarWChar;
    case SQL_TYPE_DATE:
    case SQL_DATE: return adDBDate;
    case SQL_TYPE_TIME:
    case SQL_TIME: return adDBTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return adDBTimeStamp;
    case SQL_BIT: return adBoolean;
    case SQL_BINARY: return adBinary;
    case SQL_VARBINARY: return adVarBinary;
    case SQL_LONGVARBINARY: return adLongVarBinary;
    case SQL_GUID: return adGUID;
    default: return adVariant;
    }
}

int odbcLoginTimeout(const QString &connectionString)
{
    static const char *const keys[] = {"LoginTimeout",       "Login Timeout",      "ConnectTimeout",
                                       "Connect Timeout",    "Connection Timeout", "CONN_TIMEOUT"};
    try {
        const ConnString parsed = ConnString::parse(connectionString);
        for (const char *key : keys) {
            if (!parsed.contains(QLatin1String(key)))
                continue;
            bool ok = false;
            const int seconds = parsed.value(QLatin1String(key)).trimmed().toInt(&ok);
            if (ok && seconds >= 0)
                return seconds;
        }
    } catch (const DbError &) {
        // The driver says what is wrong with the string.
    }
    return kDefaultLoginTimeout;
}

std::unique_ptr<Provider> openOdbcProvider(const QString &connectionString, std::optional<qint64> lockTimeoutMs)
{
    return std::make_unique<odbc::OdbcProvider>(
        odbcConnectionString(withSqliteDriverTimeout(forDriver(connectionString), lockTimeoutMs)),
        lockTimeoutMs);
}

void failNextOdbcRollbacks(int count)
{
    odbc::gFailingRollbacks.store(std::max(count, 0));
}

} // namespace db