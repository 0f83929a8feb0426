#pragma once

#include "data/db/Recordset.h"

#include <QString>
#include <memory>

namespace db {

// One provider behind a connection: the built-in SQLite engine or ODBC.
class Provider {
public:
    virtual ~Provider() = default;
    virtual void close() = 0;
    virtual qint64 execute(const QString &sql) = 0;
    virtual void beginTrans() = 0;
    virtual void commitTrans() = 0;
    virtual void rollbackTrans() = 0;
    virtual Recordset query(const QString &sql, LockType lock, int maxRows) = 0;
    virtual Recordset tables() = 0;
    virtual Recordset columns(const QString &schema, const QString &table) = 0;
};

// A connection to a database, opened from a connection string.
// "Provider=SQLite;Data Source=FILE" opens the built-in SQLite provider;
// any other string goes to ODBC exactly as written. Failures throw DbError.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    Connection(Connection &&) noexcept;
    Connection &operator=(Connection &&) noexcept;

    void open(const QString &connectionString);
    void close();
    bool isOpen() const { return mProvider != nullptr; }
    const QString &connectionString() const { return mConnectionString; }

    // Runs one statement; returns the records-affected count (-1 when the
    // driver does not know it).
    qint64 execute(const QString &sql);

    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const { return mInTransaction; }

    // Opens a static snapshot of the statement's rows. With maxRows > 0 at
    // most that many rows are fetched from the database. A recordset that
    // may be edited needs LockType::Optimistic and a SELECT over one table
    // (built-in SQLite only).
    Recordset openRecordset(const QString &sql, CursorType cursor = CursorType::Static,
                            LockType lock = LockType::ReadOnly, int maxRows = 0);

    // Columns TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE ("TABLE", "VIEW", "SYSTEM TABLE").
    Recordset tables();
    // Columns COLUMN_NAME, DATA_TYPE (the AdoType number), in column order.
    Recordset columns(const QString &table, const QString &schema = QString());

private:
    Provider &provider();

    std::unique_ptr<Provider> mProvider;
    QString mConnectionString;
    bool mInTransaction = false;
};

} // namespace db
