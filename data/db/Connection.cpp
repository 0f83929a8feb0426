#include "data/db/Connection.h"

#include "data/db/ConnString.h"
#include "data/db/DbError.h"
#include "data/db/DbfProvider.h"
#include "data/db/OdbcProvider.h"
#include "data/db/SqliteProvider.h"

#include <QRegularExpression>
#include <atomic>

namespace db {

namespace {

constexpr qint32 DB_E_NOCOMMAND = static_cast<qint32>(0x80040E0Cu);

// ADO's Mode: "Read" (adModeRead = 1) opens for reading only.
bool readOnlyMode(const ConnString &parsed)
{
    const QString mode = parsed.value(QStringLiteral("Mode")).trimmed();
    return mode.compare(QLatin1String("Read"), Qt::CaseInsensitive) == 0 || mode == QLatin1String("1");
}

// "Cache=Shared" (or Private, the default) in a built-in SQLite string: the
// connections of this program so opened on one file share its cache and
// schema (openSqliteProvider).
bool sharedCacheMode(const ConnString &parsed)
{
    const QString mode = parsed.value(QStringLiteral("Cache")).trimmed();
    if (mode.isEmpty() || mode.compare(QLatin1String("Private"), Qt::CaseInsensitive) == 0)
        return false;
    if (mode.compare(QLatin1String("Shared"), Qt::CaseInsensitive) == 0)
        return true;
    throw DbError(E_FAIL, QStringLiteral("Valoare necunoscuta pentru Cache: %1 (se accepta Shared sau Private).").arg(mode));
}

// "Synchronous=Off" (or Normal, Full) in a built-in SQLite string: how often
// the engine waits for the disk. Off still survives the end of the process at
// any moment (the journal is written before the file); only a failure of the
// machine itself may spoil the file. For files that are copies of a durable
// original, such as the working copy of a project.
void applySynchronous(Provider &provider, const ConnString &parsed)
{
    if (!parsed.contains(QStringLiteral("Synchronous")))
        return;
    const QString level = parsed.value(QStringLiteral("Synchronous")).trimmed().toUpper();
    if (level != QLatin1String("OFF") && level != QLatin1String("NORMAL") && level != QLatin1String("FULL"))
        throw DbError(E_FAIL, QStringLiteral("Valoare necunoscuta pentru Synchronous: %1 (se accepta Off, Normal sau Full).")
                                  .arg(parsed.value(QStringLiteral("Synchronous"))));
    provider.execute(QStringLiteral("PRAGMA synchronous = ") + level);
}

// "Journal=Persist" (or Delete, Truncate) in a built-in SQLite string: what
// becomes of the rollback journal after each transaction. Persist keeps the
// file and clears its header, so a transaction creates and removes no file;
// a journal left by a program that ended mid-transaction is still played
// back, as with Delete.
void applyJournal(Provider &provider, const ConnString &parsed)
{
    if (!parsed.contains(QStringLiteral("Journal")))
        return;
    const QString mode = parsed.value(QStringLiteral("Journal")).trimmed().toUpper();
    if (mode != QLatin1String("PERSIST") && mode != QLatin1String("DELETE") && mode != QLatin1String("TRUNCATE"))
        throw DbError(E_FAIL, QStringLiteral("Valoare necunoscuta pentru Journal: %1 (se accepta Delete, Truncate sau "
                                             "Persist).")
                                  .arg(parsed.value(QStringLiteral("Journal"))));
    Recordset rs = provider.query(QStringLiteral("PRAGMA journal_mode = ") + mode, LockType::ReadOnly, 0);
}

constexpr qint64 kKeepTypesMs = 2000;

std::atomic<quint64> gSchemaGeneration{0};
std::atomic<quint64> gTypeGeneration{0};

// Any command may have changed the columns of some table, and their types.
void schemaMayChange()
{
    gSchemaGeneration.fetch_add(1, std::memory_order_relaxed);
    gTypeGeneration.fetch_add(1, std::memory_order_relaxed);
}

// A SELECT changes no table's columns (what a recordset usually opens);
// SELECT ... INTO makes a table.
bool readsOnly(const QString &sql)
{
    static const QRegularExpression select(QStringLiteral(R"(^\s*SELECT\s)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression into(QStringLiteral(R"(\bINTO\b)"), QRegularExpression::CaseInsensitiveOption);
    return select.match(sql).hasMatch() && !into.match(sql).hasMatch();
}

// "ALTER TABLE t ADD [COLUMN] c type" and nothing else: a column more, no
// type of another column changed. Anything less plain (several actions,
// a DROP, a RENAME, an ALTER COLUMN) counts as any other command.
bool addsOneColumn(const QString &sql)
{
    static const QRegularExpression add(QStringLiteral(R"(^\s*ALTER\s+TABLE\s+\S+\s+ADD\s)"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression other(QStringLiteral(R"([,;]|\b(DROP|RENAME|ALTER|MODIFY|CHANGE)\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression parenthesized(QStringLiteral(R"(\([^()]*\))"));
    const QRegularExpressionMatch m = add.match(sql);
    if (!m.hasMatch())
        return false;
    QString rest = sql.mid(m.capturedEnd());
    for (QString plain = rest;; rest = plain) { // DECIMAL(18,2) holds a comma of its own
        plain.replace(parenthesized, QStringLiteral(" "));
        if (plain == rest)
            break;
    }
    return !other.match(rest).hasMatch();
}

} // namespace

quint64 schemaGeneration()
{
    return gSchemaGeneration.load(std::memory_order_relaxed);
}

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
        mProvider = openSqliteProvider(path, readOnlyMode(parsed), sharedCacheMode(parsed));
        applySynchronous(*mProvider, parsed);
        applyJournal(*mProvider, parsed);
    } else if (parsed.value(QStringLiteral("Provider")).compare(QLatin1String("DBF"), Qt::CaseInsensitive) == 0) {
        mProvider = openDbfProvider(parsed.value(QStringLiteral("Data Source")), readOnlyMode(parsed));
    } else {
        mProvider = openOdbcProvider(connectionString);
    }
    mConnectionString = connectionString;
}

void Connection::close()
{
    mKnownTypes.clear();
    if (!mProvider)
        return;
    std::unique_ptr<Provider> provider = std::move(mProvider);
    provider->close();
}

Provider &Connection::provider() const
{
    // A provider that lost its link (a failed rollback) says why itself.
    if (!mProvider)
        throw DbError(ADO_E_ILLEGALOPERATION, QStringLiteral("Operatia nu este permisa cand conexiunea este inchisa."));
    return *mProvider;
}

// Filters and names end up inside commands: a command is refused whole,
// before anything runs, when its text holds a second statement.
void Connection::requireSingleStatement(const QString &sql) const
{
    const int statements = countStatements(sql, provider().dialect());
    if (statements == 0)
        throw DbError(DB_E_NOCOMMAND, QStringLiteral("Comanda nu contine nicio instructiune SQL."));
    if (statements > 1)
        throw DbError(E_FAIL, multipleStatementsMessage());
}

qint64 Connection::execute(const QString &sql)
{
    Provider &p = provider();
    requireSingleStatement(sql);
    if (addsOneColumn(sql))
        gSchemaGeneration.fetch_add(1, std::memory_order_relaxed);
    else
        schemaMayChange();
    return p.execute(sql);
}

void Connection::beginTrans()
{
    Provider &p = provider();
    if (p.inTransaction())
        throw DbError(ADO_E_ILLEGALOPERATION, QStringLiteral("O tranzactie este deja deschisa."));
    p.beginTrans();
}

void Connection::commitTrans()
{
    Provider &p = provider();
    if (!p.inTransaction())
        throw DbError(ADO_E_ILLEGALOPERATION, QStringLiteral("Nu exista o tranzactie deschisa."));
    schemaMayChange(); // columns changed in the transaction are kept
    p.commitTrans();
}

void Connection::rollbackTrans()
{
    Provider &p = provider();
    if (!p.inTransaction())
        return; // ended already: by a failed commit, or by the engine itself
    schemaMayChange(); // columns changed in the transaction are undone
    p.rollbackTrans();
}

Recordset Connection::openRecordset(const QString &sql, CursorType, LockType lock, int maxRows)
{
    Provider &p = provider();
    requireSingleStatement(sql);
    if (!readsOnly(sql))
        schemaMayChange();
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

ColumnType Connection::columnType(const QString &table, const QString &column, const QString &schema)
{
    Provider &p = provider();
    // Another program may change a table too: what was read is kept for a
    // moment only.
    const quint64 generation = gTypeGeneration.load(std::memory_order_relaxed);
    if (mTypesGeneration != generation || !mTypesRead.isValid() || mTypesRead.hasExpired(kKeepTypesMs)) {
        mKnownTypes.clear();
        mTypesGeneration = generation;
        mTypesRead.start();
    }
    for (const KnownType &known : mKnownTypes)
        if (known.table == table && known.column == column && known.schema == schema)
            return known.type;
    ColumnType type = p.columnType(schema, table, column);
    if (gTypeGeneration.load(std::memory_order_relaxed) == generation)
        mKnownTypes.push_back(KnownType{schema, table, column, type});
    return type;
}

void Connection::forgetCatalog()
{
    mKnownTypes.clear();
    if (mProvider)
        mProvider->forgetCatalog();
}

QString Connection::nonNumericValuesQuery(const QString &rowSource, const QString &column) const
{
    if (!provider().weaklyTyped())
        return QString();
    return QStringLiteral("SELECT %1 FROM (%2) VamorRows WHERE typeof(%1) NOT IN ('integer','real','null')")
        .arg(column, rowSource);
}

SqlDialect Connection::dialect() const
{
    return provider().dialect();
}

bool Connection::isReadOnly() const
{
    return provider().isReadOnly();
}

} // namespace db
