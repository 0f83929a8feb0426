#include "data/db/Connection.h"

#include "data/db/ConnString.h"
#include "data/db/DbError.h"
#include "data/db/OdbcProvider.h"
#include "data/db/SqliteProvider.h"

namespace db {

namespace {

constexpr qint32 DB_E_NOCOMMAND = static_cast<qint32>(0x80040E0Cu);

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    try {
        close();
    } catch (...) {
    }
}

Connection::Connection(Connection &&) noexcept = default;
Connection &Connection::operator=(Connection &&) noexcept = default;

void Connection::open(const QString &connectionString)
{
    close();
    const ConnString parsed = ConnString::parse(connectionString);
    if (parsed.isBuiltInSqlite()) {
        const QString path = parsed.value(QStringLiteral("Data Source"));
        if (path.isEmpty())
            throw DbError(E_FAIL, QStringLiteral("Sirul de conectare nu numeste fisierul bazei de date (Data Source)."));
        mProvider = openSqliteProvider(path);
    } else {
        mProvider = openOdbcProvider(connectionString);
    }
    mConnectionString = connectionString;
    mInTransaction = false;
}

void Connection::close()
{
    if (!mProvider)
        return;
    std::unique_ptr<Provider> provider = std::move(mProvider);
    mInTransaction = false;
    provider->close();
}

Provider &Connection::provider()
{
    if (!mProvider)
        throw DbError(ADO_E_ILLEGALOPERATION, QStringLiteral("Operatia nu este permisa cand conexiunea este inchisa."));
    return *mProvider;
}

qint64 Connection::execute(const QString &sql)
{
    Provider &p = provider();
    if (sql.trimmed().isEmpty())
        throw DbError(DB_E_NOCOMMAND, QStringLiteral("Comanda nu contine nicio instructiune SQL."));
    return p.execute(sql);
}

void Connection::beginTrans()
{
    provider().beginTrans();
    mInTransaction = true;
}

void Connection::commitTrans()
{
    provider().commitTrans();
    mInTransaction = false;
}

void Connection::rollbackTrans()
{
    Provider &p = provider();
    mInTransaction = false;
    p.rollbackTrans();
}

Recordset Connection::openRecordset(const QString &sql, CursorType, LockType lock, int maxRows)
{
    Provider &p = provider();
    if (sql.trimmed().isEmpty())
        throw DbError(DB_E_NOCOMMAND, QStringLiteral("Comanda nu contine nicio instructiune SQL."));
    return p.query(sql, lock, maxRows);
}

Recordset Connection::tables()
{
    return provider().tables();
}

Recordset Connection::columns(const QString &table, const QString &schema)
{
    return provider().columns(schema, table);
}

} // namespace db
