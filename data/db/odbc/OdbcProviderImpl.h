#pragma once

// The ODBC provider's class, shared by its two source files: OdbcProvider.cpp
// (connecting, commands, transactions, result sets) and OdbcProviderCatalog.cpp
// (tables, columns and their types). Nothing outside these two files uses it.

#include "data/db/ConnString.h"
#include "data/db/Connection.h"
#include "data/db/odbc/OdbcSupport.h"

#include <optional>
#include <vector>

namespace db::odbc {

// One column as SQLColumns describes it.
struct CatalogColumn {
    QString schema, table, name, typeName;
    int sqlType = 0;
    int adoType = 0;
    std::optional<qint64> size;   // COLUMN_SIZE
    std::optional<qint64> digits; // DECIMAL_DIGITS
    qint64 ordinal = 0;
    int order = 0;
};

class OdbcProvider final : public Provider {
public:
    // `lockTimeoutMs`: the string's LockTimeout (nullopt: the default, which
    // a shorter wait the session has already keeps).
    OdbcProvider(const QString &connectionString, std::optional<qint64> lockTimeoutMs);
    ~OdbcProvider() override { release(); }

    void close() override { release(); }
    bool isConnected() const override { return mConnected; }
    bool isAlive() const override;
    qint64 execute(const QString &sql) override;
    void beginTrans() override;
    void commitTrans() override;
    void rollbackTrans() override;
    bool inTransaction() const override { return mConnected && mInTransaction; }
    SqlDialect dialect() const override;
    bool weaklyTyped() const override { return mEngine == Engine::Sqlite; }
    bool isReadOnly() const override { return mReadOnly; }
    bool isStandby() const override { return mStandby; }
    QString clusterNodeId() const override { return mClusterNodeId; }
    Recordset query(const QString &sql, LockType lock, int maxRows) override;
    void cancel() override { mInFlight.cancel(); }
    std::optional<qint64> lockTimeoutMs() const override { return mLockTimeoutMs; }
    void setStatementTimeout(int seconds) override;
    bool isRemote() const override { return mEngine != Engine::Sqlite && mEngine != Engine::MdbTools; }
    std::optional<qint64> sessionId() const override { return mSessionId; }
    std::optional<bool> endSession(qint64 id, qint64 waitMs) override;

    // OdbcProviderCatalog.cpp
    Recordset tables() override;
    Recordset columns(const QString &schema, const QString &table) override;
    ColumnType columnType(const QString &schema, const QString &table, const QString &column) override;
    std::vector<TableColumn> tableColumns(const QString &schema, const QString &table) override;

private:
    static QString lostText();
    void applyLockTimeout(std::optional<qint64> ms, const ConnString &driverString);
    SQLHDBC dbc() const;
    // dbc() for a statement about to run, with the session's statement
    // timeout brought in line first where the engine keeps it there
    // (MariaDB); and the timeout a statement handle carries itself.
    SQLHDBC timedDbc();
    int queryTimeout() const;
    void requireTransaction() const;
    SQLRETURN setAutocommit(bool on);
    SQLRETURN endTran(SQLSMALLINT completion);
    void backToAutocommit();
    void drop(const QString &reason);
    Recordset snapshot(const Statement &st, int maxRows);
    void settleAfterFailure();
    void release();

    // OdbcProviderCatalog.cpp
    std::vector<CatalogColumn> readCatalogColumns(const QString &schema, const QString &table);
    Recordset queryWithText(const QString &sql, const QStringList &params);
    ColumnType postgresColumnType(const QString &schema, const CatalogColumn &c);
    ColumnType mysqlColumnType(const QString &schema, const CatalogColumn &c);
    ColumnType typeOf(const QString &schema, const CatalogColumn &c);
    std::optional<std::vector<TableColumn>> postgresTableColumns(const QString &schema, const QString &table);
    std::optional<std::vector<TableColumn>> mysqlTableColumns(const QString &schema, const QString &table);

    SQLHENV mEnv = SQL_NULL_HENV;
    SQLHDBC mDbc = SQL_NULL_HDBC;
    bool mConnected = false;
    bool mTransactions = true;
    bool mInTransaction = false;
    Engine mEngine = Engine::Other;
    bool mReadOnly = false;
    bool mStandby = false;
    QString mClusterNodeId;
    QString mLostReason;
    InFlight mInFlight; // the statement running now, for cancel()
    std::optional<qint64> mLockTimeoutMs; // in force in the session, when set here
    std::optional<qint64> mSessionId; // PostgreSQL's backend process, MariaDB's connection id
    int mStatementTimeout = 0;
    int mSessionTimeout = 0; // MariaDB's max_statement_time in the session; -1 when it cannot be set
};

} // namespace db::odbc
