#pragma once

#include "data/db/Recordset.h"
#include "data/db/SqlScan.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace db {

// The type of one column of a table.
struct ColumnType {
    int adoType = 0;     // the AdoType number, as Recordset::fieldType gives for the column
    QString declaration; // the column's type as its database declares it, usable in
                         // "ALTER TABLE t ADD c <declaration>"; "" when the database gives none
                         // (a SQLite column declared without a type)
    int scale = -1;      // decimals every value of the column keeps: 0 for integer types, the declared
                         // scale for exact numerics that have one (DECIMAL(18) is 0), -1 when not fixed
                         // (float, real, double, NUMERIC without precision, SQLite types without a scale)
};

// One column of a table, with its type.
struct TableColumn {
    QString name; // as the catalog writes it
    ColumnType type;
    bool known = true; // false: the type is not read yet (Connection::columnType asks the provider)
};

// The item of `items` whose `name` is `name`: spelt the same first, then
// without regard to case (catalogs keep names as they were written); nullptr
// when there is none.
template <class Item>
const Item *findNamed(const std::vector<Item> &items, const QString &name)
{
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
        for (const Item &item : items)
            if (item.name.compare(name, cs) == 0)
                return &item;
    return nullptr;
}

// One provider behind a connection: the built-in SQLite engine or ODBC.
//
// Transactions: inTransaction() is the driver's own state. A commit that
// fails rolls the transaction back before it throws, so no transaction is
// left open; a rollback that fails drops the link to the database without
// committing (the database rolls back a transaction whose connection ends),
// and the provider is no longer connected.
class Provider {
public:
    virtual ~Provider() = default;
    virtual void close() = 0;
    virtual bool isConnected() const = 0;
    // False when the driver already knows the link is lost; no round trip.
    virtual bool isAlive() const { return isConnected(); }
    virtual qint64 execute(const QString &sql) = 0;
    virtual void beginTrans() = 0;
    virtual void commitTrans() = 0;
    virtual void rollbackTrans() = 0;
    virtual bool inTransaction() const = 0;
    virtual Recordset query(const QString &sql, LockType lock, int maxRows) = 0;
    virtual Recordset tables() = 0;
    virtual Recordset columns(const QString &schema, const QString &table) = 0;
    virtual ColumnType columnType(const QString &schema, const QString &table, const QString &column) = 0;
    // Every column of a table with its type, in column order; empty when the
    // table does not exist. By default the columns list, then each column's type.
    virtual std::vector<TableColumn> tableColumns(const QString &schema, const QString &table);
    // How the engine reads the text of a command.
    virtual SqlDialect dialect() const = 0;
    // True when a column may hold values of any kind whatever its declared
    // type (SQLite).
    virtual bool weaklyTyped() const = 0;
    // True when the database can be read but not changed through this connection.
    virtual bool isReadOnly() const = 0;
    // True when the server is a standby that follows another one (it can
    // only be read until it is promoted).
    virtual bool isStandby() const { return false; }
    // The node's own id in its cluster (a Galera node's group member id);
    // empty for a server that is not a cluster node.
    virtual QString clusterNodeId() const { return QString(); }
    // Called from another thread while one runs a statement: stops it, so
    // that it throws DbError::cancelled(). Must be safe at any moment,
    // also when no statement runs (then it does nothing).
    virtual void cancel() {}
    // The lock timeout in force in the session, in milliseconds, when the
    // provider knows it; nullopt otherwise.
    virtual std::optional<qint64> lockTimeoutMs() const { return std::nullopt; }
    // The statements from now on run at most `seconds` (0: no limit), then
    // throw DbError::statementTimeout. A provider that cannot stop them
    // lets them run.
    virtual void setStatementTimeout(int seconds) { (void)seconds; }
    // True when a server answers the commits (not a file of this machine):
    // a commit may then go unanswered.
    virtual bool isRemote() const { return false; }
    // The server's number for the session (PostgreSQL's backend process,
    // MariaDB's connection id); nullopt where there is none.
    virtual std::optional<qint64> sessionId() const { return std::nullopt; }
    // Ends session `id` of the same database (an abandoned connection of
    // this program) and waits at most `waitMs` for it to go: true when it is
    // gone, false when it is still there, nullopt when the provider cannot.
    virtual std::optional<bool> endSession(qint64 id, qint64 waitMs)
    {
        (void)id;
        (void)waitMs;
        return std::nullopt;
    }
};

// A connection to a database, opened from a connection string.
// "Provider=SQLite;Data Source=FILE" opens the built-in SQLite provider,
// "Provider=DBF;Data Source=FOLDER" the built-in DBF provider (dbf/DbfProvider.h);
// any other string goes to ODBC exactly as written. Failures throw DbError.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    Connection(Connection &&) noexcept;
    Connection &operator=(Connection &&) noexcept;

    // "Mode=Read" in a built-in SQLite string opens the file read-only.
    void open(const QString &connectionString);
    void close();
    // False once closed, and after a failed rollback dropped the link.
    bool isOpen() const { return mProvider != nullptr && mProvider->isConnected(); }
    const QString &connectionString() const { return mConnectionString; }
    // False when closed, or when the driver already knows the link to the
    // database is lost (a pooled connection is checked so before reuse).
    bool isAlive() const { return mProvider != nullptr && mProvider->isAlive(); }

    // Runs one statement; returns the records-affected count (-1 when the
    // driver does not know it). A command holding more than one statement is
    // refused before anything runs (DbError E_FAIL); trailing blanks,
    // comments and one final ";" are allowed.
    qint64 execute(const QString &sql);

    // Starts a transaction. One that fails leaves the connection usable and
    // not in a transaction; one asked for inside a transaction is refused.
    void beginTrans();
    // Commits. A commit that fails throws the provider's message and leaves
    // the connection not in a transaction: nothing of it is kept.
    void commitTrans();
    // Commits a server's transaction on a thread of its own and waits for
    // the answer at most `limitMs` (at least a second). A commit that has not
    // answered by then (a cluster waiting for its members, a server that
    // stopped answering) is abandoned: the connection is closed for good,
    // its link left to that thread, which ends it once the commit returns
    // (or, if the commit had not been sent yet, rolls the transaction back),
    // and DbError::Kind::NoAnswer is thrown. Whether the transaction was kept
    // is then unknown: ask the database on another connection. A file of
    // this machine (the built-in providers, the SQLite3 and MDB Tools
    // drivers) answers for itself: its commit, which may wait for another
    // program's lock and write a whole table, is waited for as commitTrans().
    void commitTrans(qint64 limitMs);
    // Commits abandoned so that are still waiting for the database.
    static int abandonedCommits();
    // Test seam: called on the committing thread just before each commit
    // of commitTrans(limitMs), with the session's id; a test makes a
    // server's commit wait. An empty function ends it.
    static void setCommitHook(std::function<void(std::optional<qint64> sessionId)> hook);

    // The server's number for this connection's session (PostgreSQL's
    // backend process, MariaDB's connection id); nullopt for the built-in
    // providers and other drivers.
    std::optional<qint64> sessionId() const;
    // Ends session `id` of the same database, a connection this program
    // abandoned, so that a transaction it left can never be kept, and waits
    // at most `waitMs` for it to go: true when it is gone, false when it is
    // still there, nullopt when this connection cannot tell.
    std::optional<bool> endSession(qint64 id, qint64 waitMs);
    // Rolls back; nothing to do when no transaction is open. A rollback that
    // fails never commits: the link to the database is dropped (the database
    // rolls back) and the connection is no longer open.
    void rollbackTrans();
    // The driver's own view: true while a transaction is open.
    bool inTransaction() const { return mProvider != nullptr && mProvider->inTransaction(); }

    // Stops the statement that another thread runs on this connection now
    // (a command, a query, a catalog read): it throws DbError::cancelled()
    // ("Asteptarea a fost oprita de utilizator."), and the connection stays
    // usable; a transaction it ran in is the caller's to roll back. Safe to
    // call from any thread at any moment; it does nothing when no statement
    // runs, and a statement started after it returns is not stopped. The
    // one call into a connection that another thread may make.
    void cancel();

    // A stoppable connection's statements follow the stop signal in force
    // on the thread that runs them (StopSignal.h). A connection opened, or
    // taken from the pool, while one is in force is stoppable; the
    // project's own connection never is, so what a run writes of a field
    // is written whatever the user stopped.
    void setStoppable(bool stoppable) { mStoppable = stoppable; }
    bool stoppable() const { return mStoppable; }

    // How long a statement waits for a lock that another program holds
    // before it fails with DbError::Kind::LockTimeout, in milliseconds (0:
    // it does not wait). The string's LockTimeout (or the provider's
    // default: 30 s, the DBF provider's 3 s), or the shorter wait the
    // session already had.
    qint64 lockTimeoutMs() const;

    // How long each statement from now on may run before the database stops
    // it, in seconds (0, the default: as long as it takes); one stopped so
    // throws DbError::Kind::StatementTimeout. For the reads of a catalog and
    // of the tables' states, which must not hold a person for long; never
    // for the statements that change amounts, whatever the size of the
    // table. PostgreSQL, MariaDB/MySQL, drivers that honour
    // SQL_ATTR_QUERY_TIMEOUT and the built-in SQLite provider stop them; the
    // SQLite3 ODBC driver and the DBF provider do not.
    void setStatementTimeout(int seconds);
    int statementTimeout() const { return mStatementTimeout; }

    // Opens a static snapshot of the statement's rows. With maxRows > 0 at
    // most that many rows are fetched from the database. A recordset that
    // may be edited needs LockType::Optimistic and a SELECT over one table
    // (built-in SQLite only). One statement only, as for execute.
    Recordset openRecordset(const QString &sql, CursorType cursor = CursorType::Static,
                            LockType lock = LockType::ReadOnly, int maxRows = 0);

    // Columns TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE ("TABLE", "VIEW", "SYSTEM TABLE").
    Recordset tables();
    // Columns COLUMN_NAME, DATA_TYPE (the AdoType number), in column order.
    Recordset columns(const QString &table, const QString &schema = QString());

    // The type of `column` of `table` (names as the catalog lists them,
    // unquoted; schema/owner may be ""). Throws DbError
    // (DB_E_ERRORSINCOMMAND) when the table or the column does not exist.
    // A SQLite column declared without a type has no ADO type of its own:
    // adVariant, as in the columns list.
    ColumnType columnType(const QString &table, const QString &column, const QString &schema = QString());

    // Every column of `table` with its type, in column order; empty when
    // the table does not exist. What was read is kept while no command of
    // the program could have changed a table's columns (a column added by a
    // plain "ALTER TABLE t ADD c ...", on any connection, joins the kept
    // list of t), and for a moment at most, for changes made by other
    // programs; connections of the program opened with the same string
    // share it. `fresh` asks the database whatever is kept.
    std::vector<TableColumn> tableColumns(const QString &table, const QString &schema = QString(), bool fresh = false);

    // A query that returns a row when some non-Null value of `column` in
    // the rows of `table` that meet `condition` ("" for every row) is not a
    // number; "" when the engine enforces column types, so no such value
    // exists. The arguments are written SQL and go in as they are.
    QString nonNumericValuesQuery(const QString &table, const QString &condition, const QString &column) const;

    // How the engine behind the open connection reads SQL (SQLite also for
    // the DBF provider, whose statements run on SQLite).
    SqlDialect dialect() const;

    // True when a column may hold values of any kind whatever its declared
    // type (SQLite, built in or through ODBC).
    bool weaklyTyped() const;

    // True when the database can be read but not changed: the driver says
    // its data source is read-only, the driver cannot write (MDB Tools), or
    // the SQLite file was opened read-only.
    bool isReadOnly() const;
    // True when the server is a standby of another (PostgreSQL in recovery):
    // read-only as well, and said so.
    bool isStandby() const;
    // The id of the cluster node the connection goes to (Galera); empty
    // when the server is not a cluster node.
    QString clusterNodeId() const;

private:
    Provider &provider() const;
    void requireSingleStatement(const QString &sql) const;
    // A command that may change a table's columns has run or is about to.
    void schemaChanged();
    // Ends the open transaction with `end` (commit or rollback).
    void endTransaction(const std::function<void()> &end);

    std::unique_ptr<Provider> mProvider;
    // Held while mProvider changes and while cancel() reaches it from
    // another thread.
    std::unique_ptr<std::mutex> mProviderGuard = std::make_unique<std::mutex>();
    QString mConnectionString;
    qint64 mLockTimeoutMs = 0;
    int mStatementTimeout = 0;
    // A command of the open transaction may have changed a table's columns:
    // its end changes them again (kept or undone).
    bool mChangedInTransaction = false;
    bool mStoppable = false;
};

// Gives a connection a statement timeout while it lives (Connection::
// setStatementTimeout), and the one it had before at its end.
class TimedStatements {
public:
    TimedStatements(Connection &connection, int seconds);
    ~TimedStatements();
    TimedStatements(const TimedStatements &) = delete;
    TimedStatements &operator=(const TimedStatements &) = delete;

private:
    Connection &mConnection;
    int mPrevious;
};

// Runs `work` in one transaction of `conn`: committed when it returns,
// rolled back when it throws (and the exception goes on).
void inOneTransaction(Connection &conn, const std::function<void()> &work);

} // namespace db
