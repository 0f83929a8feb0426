#include "data/db/Connection.h"

#include "data/db/ConnString.h"
#include "data/db/DbError.h"
#include "data/db/StopSignal.h"
#include "data/db/dbf/DbfProvider.h"
#include "data/db/odbc/OdbcProvider.h"
#include "data/db/sqlite/SqliteProvider.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

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
    throw DbError(E_FAIL, QCoreApplication::translate("Connection",
                                                      "Valoare necunoscuta pentru Cache: %1 (se accepta Shared sau "
                                                      "Private).")
                              .arg(mode));
}

// "LockTimeout=SECONDS" in a DBF string: how long a table another program
// holds is waited for before its change is refused (dbf/DbfProvider.h).
int dbfLockTimeoutMs(const ConnString &parsed)
{
    if (!parsed.contains(QStringLiteral("LockTimeout")))
        return kDbfDefaultLockTimeoutMs;
    const QString text = parsed.value(QStringLiteral("LockTimeout")).trimmed();
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || seconds < 0 || seconds > 600)
        throw DbError(E_FAIL, QCoreApplication::translate("Connection",
                                                          "Valoare necunoscuta pentru LockTimeout: %1 (se accepta un "
                                                          "numar de secunde intre 0 si 600).")
                                  .arg(text));
    return static_cast<int>(seconds * 1000 + 0.5);
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
        throw DbError(E_FAIL, QCoreApplication::translate("Connection",
                                                          "Valoare necunoscuta pentru Synchronous: %1 (se accepta Off, "
                                                          "Normal sau Full).")
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
        throw DbError(E_FAIL, QCoreApplication::translate("Connection",
                                                          "Valoare necunoscuta pentru Journal: %1 (se accepta Delete, "
                                                          "Truncate sau Persist).")
                                  .arg(parsed.value(QStringLiteral("Journal"))));
    Recordset rs = provider.query(QStringLiteral("PRAGMA journal_mode = ") + mode, LockType::ReadOnly, 0);
}

// Another program may change a table too: what was read of it is kept for
// a moment only.
constexpr qint64 kKeepColumnsMs = 2000;

// A column that a command of the program added to a table. The table as
// the command wrote it, its parts unquoted: "a.b" may be table b of owner a
// or a table named "a.b" (a DBF file).
struct AddedColumn {
    quint64 number = 0;
    QString written; // the parts joined by "."
    QString schema;  // the parts before the last; "" when none
    QString table;   // the last part
    QString column;

    // Whether the command may have named `table` of `owner` (names as the
    // catalog lists them). A table named otherwise in the command than in
    // the list would keep a list without the column: every reading counts.
    bool names(const QString &owner, const QString &name) const
    {
        const auto same = [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; };
        if (same(written, name) || (!owner.isEmpty() && same(written, owner + QLatin1Char('.') + name)))
            return true;
        return same(table, name) && (schema.isEmpty() || owner.isEmpty() || same(schema, owner));
    }
};

// The columns of one table as read at one moment.
struct KnownTable {
    QString schema;
    QString table;
    quint64 generation = 0; // of the program's changes when read
    quint64 added = 0;      // the last added column applied
    quint64 number = 0;     // of the reads, from 1
    QElapsedTimer read;
    std::vector<TableColumn> columns;
};

// What the program's commands did to tables, shared by all its connections
// (a recovery column is added on a connection of its own while the run's
// connection keeps the table's columns), and the columns read of tables,
// by connection string (the confirmation list reads a table's columns on
// a connection of its own just before the run needs them).
struct SchemaChanges {
    std::mutex mutex;
    quint64 generation = 0; // commands that may have changed any table's columns
    quint64 added = 0;      // columns added, numbered from 1
    std::deque<AddedColumn> recent; // the last kKeptAdded of them
    QHash<QString, std::vector<KnownTable>> known;
    quint64 reads = 0;
};
constexpr size_t kKeptAdded = 4096;

SchemaChanges &schemaChanges()
{
    static SchemaChanges changes;
    return changes;
}

void bumpGeneration()
{
    SchemaChanges &c = schemaChanges();
    const std::lock_guard<std::mutex> lock(c.mutex);
    ++c.generation;
}

// A SELECT or a VALUES list changes no table's columns (what a recordset
// usually opens); SELECT ... INTO makes a table.
bool readsOnly(const QString &sql)
{
    static const QRegularExpression select(QStringLiteral(R"(^\s*(SELECT\s|VALUES\s*\())"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression into(QStringLiteral(R"(\bINTO\b)"), QRegularExpression::CaseInsensitiveOption);
    return select.match(sql).hasMatch() && !into.match(sql).hasMatch();
}

// Statements that change rows, never columns: UPDATE, INSERT, DELETE, and
// what readsOnly accepts.
bool changesRowsOnly(const QString &sql)
{
    static const QRegularExpression rows(QStringLiteral(R"(^\s*(UPDATE|INSERT|DELETE)\s)"),
                                         QRegularExpression::CaseInsensitiveOption);
    return rows.match(sql).hasMatch() || readsOnly(sql);
}

// A name as SQL writes it: "x", [x], `x` or bare.
const QString kNamePart = QStringLiteral(R"((?:"[^"]+"|\[[^\]]+\]|`[^`]+`|[^\s."\[`(),;]+))");

QString unquoted(const QString &part)
{
    if (part.size() >= 2
        && ((part.front() == QLatin1Char('"') && part.back() == QLatin1Char('"'))
            || (part.front() == QLatin1Char('[') && part.back() == QLatin1Char(']'))
            || (part.front() == QLatin1Char('`') && part.back() == QLatin1Char('`'))))
        return part.mid(1, part.size() - 2);
    return part;
}

// "ALTER TABLE t ADD [COLUMN] c type" and nothing else: a column more, no
// type of another column changed; the table (with its owner when written)
// and the column. Anything less plain (several actions, a DROP, a RENAME,
// an ALTER COLUMN) counts as any other command: nullopt.
std::optional<AddedColumn> addedColumn(const QString &sql)
{
    static const QRegularExpression add(QStringLiteral(R"(^\s*ALTER\s+TABLE\s+(%1(?:\.%1)*)\s+ADD\s+(?:COLUMN\s+)?(%1)\s)")
                                            .arg(kNamePart),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression part(kNamePart);
    static const QRegularExpression other(QStringLiteral(R"([,;]|\b(DROP|RENAME|ALTER|MODIFY|CHANGE)\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression parenthesized(QStringLiteral(R"(\([^()]*\))"));
    const QRegularExpressionMatch m = add.match(sql);
    if (!m.hasMatch())
        return std::nullopt;
    QString rest = sql.mid(m.capturedEnd());
    for (QString plain = rest;; rest = plain) { // DECIMAL(18,2) holds a comma of its own
        plain.replace(parenthesized, QStringLiteral(" "));
        if (plain == rest)
            break;
    }
    if (other.match(rest).hasMatch())
        return std::nullopt;
    QStringList parts;
    for (auto it = part.globalMatch(m.captured(1)); it.hasNext();)
        parts << unquoted(it.next().captured(0));
    if (parts.isEmpty())
        return std::nullopt;
    AddedColumn added;
    added.written = parts.join(QLatin1Char('.'));
    added.table = parts.takeLast();
    added.schema = parts.join(QLatin1Char('.'));
    added.column = unquoted(m.captured(2));
    return added;
}

void recordAdded(AddedColumn added)
{
    SchemaChanges &c = schemaChanges();
    const std::lock_guard<std::mutex> lock(c.mutex);
    added.number = ++c.added;
    c.recent.push_back(std::move(added));
    if (c.recent.size() > kKeptAdded)
        c.recent.pop_front();
}

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
    mStoppable = StopScope::inForce();
    if (mStoppable)
        StatementWatch refusedOnceStopped(*this);
    const ConnString parsed = ConnString::parse(connectionString);
    const std::optional<qint64> lockTimeout = lockTimeoutMsOf(parsed);
    qint64 waitMs = lockTimeout.value_or(kDefaultLockTimeoutMs);
    std::unique_ptr<Provider> opened;
    if (parsed.isBuiltInSqlite()) {
        const QString path = parsed.value(QStringLiteral("Data Source"));
        if (path.isEmpty())
            throw DbError(E_FAIL, QCoreApplication::translate("Connection", "Sirul de conectare nu numeste fisierul "
                                                                            "bazei de date (Data Source)."));
        opened = openSqliteProvider(path, readOnlyMode(parsed), sharedCacheMode(parsed), waitMs);
        applySynchronous(*opened, parsed);
        applyJournal(*opened, parsed);
    } else if (parsed.value(QStringLiteral("Provider")).compare(QLatin1String("DBF"), Qt::CaseInsensitive) == 0) {
        waitMs = dbfLockTimeoutMs(parsed);
        opened = openDbfProvider(parsed.value(QStringLiteral("Data Source")), readOnlyMode(parsed), static_cast<int>(waitMs));
    } else {
        opened = openOdbcProvider(connectionString, lockTimeout);
    }
    if (!mProviderGuard)
        mProviderGuard = std::make_unique<std::mutex>(); // moved from, and opened again
    {
        const std::lock_guard<std::mutex> lock(*mProviderGuard);
        mProvider = std::move(opened);
    }
    mConnectionString = connectionString;
    mLockTimeoutMs = waitMs;
    if (mStatementTimeout > 0)
        mProvider->setStatementTimeout(mStatementTimeout);
}

void Connection::setStatementTimeout(int seconds)
{
    mStatementTimeout = std::max(seconds, 0);
    if (mProvider)
        mProvider->setStatementTimeout(mStatementTimeout);
}

TimedStatements::TimedStatements(Connection &connection, int seconds)
    : mConnection(connection), mPrevious(connection.statementTimeout())
{
    mConnection.setStatementTimeout(seconds);
}

TimedStatements::~TimedStatements()
{
    try {
        mConnection.setStatementTimeout(mPrevious);
    } catch (...) {
    }
}

qint64 Connection::lockTimeoutMs() const
{
    if (mProvider)
        if (const std::optional<qint64> inForce = mProvider->lockTimeoutMs())
            return *inForce;
    return mLockTimeoutMs;
}

void Connection::close()
{
    mChangedInTransaction = false;
    if (!mProvider)
        return;
    std::unique_ptr<Provider> provider;
    {
        const std::lock_guard<std::mutex> lock(*mProviderGuard);
        provider = std::move(mProvider);
    }
    provider->close();
}

void Connection::cancel()
{
    if (!mProviderGuard)
        return; // moved from
    const std::lock_guard<std::mutex> lock(*mProviderGuard);
    if (mProvider)
        mProvider->cancel();
}

Provider &Connection::provider() const
{
    // A provider that lost its link (a failed rollback) says why itself.
    if (!mProvider)
        throw DbError(
            ADO_E_ILLEGALOPERATION,
            QCoreApplication::translate("Connection", "Operatia nu este permisa cand conexiunea este inchisa."));
    return *mProvider;
}

// Filters and names end up inside commands: a command is refused whole,
// before anything runs, when its text holds a second statement, or bytes
// that were not UTF-8 (the scanner would read other text than an engine).
void Connection::requireSingleStatement(const QString &sql) const
{
    const SqlDialect dialect = provider().dialect();
    if (!isWellFormedText(sql))
        throw DbError(E_FAIL, malformedTextMessage(TextSubject::Command));
    // Only a ";" separates two statements: a text with none, and with no
    // comment that could be all it holds, is one statement.
    if (!sql.contains(QLatin1Char(';')) && !sql.contains(QLatin1String("--"))
        && !sql.contains(QLatin1String("/*")) && !(dialect == SqlDialect::MySql && sql.contains(QLatin1Char('#')))
        && !sql.trimmed().isEmpty())
        return;
    const int statements = countStatements(sql, dialect);
    if (statements == 0)
        throw DbError(DB_E_NOCOMMAND,
                      QCoreApplication::translate("Connection", "Comanda nu contine nicio instructiune SQL."));
    if (statements > 1)
        throw DbError(E_FAIL, multipleStatementsMessage());
}

void Connection::schemaChanged()
{
    bumpGeneration();
    if (mProvider && mProvider->inTransaction())
        mChangedInTransaction = true;
}

qint64 Connection::execute(const QString &sql)
{
    std::optional<StatementWatch> watch;
    if (mStoppable)
        watch.emplace(*this);
    Provider &p = provider();
    requireSingleStatement(sql);
    if (changesRowsOnly(sql))
        return p.execute(sql);
    // Outside a transaction an added column is there once the command
    // returns; inside one it may still be undone.
    if (const std::optional<AddedColumn> added = p.inTransaction() ? std::nullopt : addedColumn(sql)) {
        const qint64 count = p.execute(sql);
        recordAdded(*added);
        return count;
    }
    // Before and after: a list read by another connection while the command
    // runs is not kept.
    schemaChanged();
    qint64 count = 0;
    try {
        count = p.execute(sql);
    } catch (...) {
        schemaChanged();
        throw;
    }
    schemaChanged();
    return count;
}

void Connection::beginTrans()
{
    Provider &p = provider();
    if (p.inTransaction())
        throw DbError(ADO_E_ILLEGALOPERATION,
                      QCoreApplication::translate("Connection", "O tranzactie este deja deschisa."));
    mChangedInTransaction = false;
    p.beginTrans();
}

void Connection::commitTrans()
{
    Provider &p = provider();
    if (!p.inTransaction())
        throw DbError(ADO_E_ILLEGALOPERATION,
                      QCoreApplication::translate("Connection", "Nu exista o tranzactie deschisa."));
    endTransaction([&p] { p.commitTrans(); });
}

void Connection::rollbackTrans()
{
    Provider &p = provider();
    if (!p.inTransaction())
        return; // ended already: by a failed commit, or by the engine itself
    endTransaction([&p] { p.rollbackTrans(); });
}

void Connection::endTransaction(const std::function<void()> &end)
{
    // Columns changed in the transaction are kept or undone by its end, and
    // a failed end may have done either: lists read before, during or after
    // are not used again.
    const bool changed = std::exchange(mChangedInTransaction, false);
    if (changed)
        bumpGeneration();
    try {
        end();
    } catch (...) {
        if (changed)
            bumpGeneration();
        throw;
    }
    if (changed)
        bumpGeneration();
}

Recordset Connection::openRecordset(const QString &sql, CursorType, LockType lock, int maxRows)
{
    std::optional<StatementWatch> watch;
    if (mStoppable)
        watch.emplace(*this);
    Provider &p = provider();
    requireSingleStatement(sql);
    if (readsOnly(sql))
        return p.query(sql, lock, maxRows);
    schemaChanged();
    try {
        Recordset rs = p.query(sql, lock, maxRows);
        schemaChanged();
        return rs;
    } catch (...) {
        schemaChanged();
        throw;
    }
}

Recordset Connection::tables()
{
    std::optional<StatementWatch> watch;
    if (mStoppable)
        watch.emplace(*this);
    return provider().tables();
}

Recordset Connection::columns(const QString &table, const QString &schema)
{
    std::optional<StatementWatch> watch;
    if (mStoppable)
        watch.emplace(*this);
    return provider().columns(schema, table);
}

std::vector<TableColumn> Connection::tableColumns(const QString &table, const QString &schema, bool fresh)
{
    Provider &p = provider();
    // A transaction that changed a table sees what no other connection sees.
    if (mChangedInTransaction && p.inTransaction()) {
        std::optional<StatementWatch> watch;
        if (mStoppable)
            watch.emplace(*this);
        return p.tableColumns(schema, table);
    }
    SchemaChanges &changes = schemaChanges();
    std::unique_lock<std::mutex> lock(changes.mutex);
    std::vector<KnownTable> &knownTables = changes.known[mConnectionString];
    auto known = std::find_if(knownTables.begin(), knownTables.end(),
                              [&](const KnownTable &k) { return k.table == table && k.schema == schema; });
    if (known != knownTables.end()) {
        const bool missedSome = !changes.recent.empty() && changes.recent.front().number > known->added + 1;
        if (fresh || known->generation != changes.generation || known->read.hasExpired(kKeepColumnsMs) || missedSome) {
            knownTables.erase(known);
        } else {
            // Columns the program added since: in the list, with their types
            // still to read.
            for (const AddedColumn &added : changes.recent) {
                if (added.number <= known->added || !added.names(schema, table))
                    continue;
                if (!findNamed(known->columns, added.column))
                    known->columns.push_back(TableColumn{added.column, ColumnType{}, false});
            }
            known->added = changes.added;
            return known->columns;
        }
    }
    const quint64 generation = changes.generation;
    const quint64 added = changes.added;
    lock.unlock();
    std::optional<StatementWatch> watch;
    if (mStoppable)
        watch.emplace(*this);
    std::vector<TableColumn> columns = p.tableColumns(schema, table);
    watch.reset();
    lock.lock();
    // Columns added meanwhile join the list at its next use.
    if (changes.generation == generation) {
        std::vector<KnownTable> &kept = changes.known[mConnectionString];
        // Lists read under an older generation, or too long ago, go.
        kept.erase(std::remove_if(kept.begin(), kept.end(),
                                  [&](const KnownTable &k) {
                                      return k.generation != generation || k.read.hasExpired(kKeepColumnsMs)
                                             || (k.table == table && k.schema == schema);
                                  }),
                   kept.end());
        KnownTable k{schema, table, generation, added, ++changes.reads, QElapsedTimer(), columns};
        k.read.start();
        kept.push_back(std::move(k));
    }
    return columns;
}

ColumnType Connection::columnType(const QString &table, const QString &column, const QString &schema)
{
    Provider &p = provider();
    // A column not in the kept list may have been added since by another
    // program: asked once more of the database.
    std::vector<TableColumn> columns = tableColumns(table, schema);
    const TableColumn *found = findNamed(columns, column);
    if (!found) {
        columns = tableColumns(table, schema, true);
        found = findNamed(columns, column);
    }
    if (columns.empty())
        throw DbError(DB_E_ERRORSINCOMMAND,
                      QCoreApplication::translate("Connection", "Tabelul %1 nu exista.").arg(table),
                      QStringLiteral("42S02"));
    if (!found)
        throw DbError(
            DB_E_ERRORSINCOMMAND,
            QCoreApplication::translate("Connection", "Coloana %1 nu exista in tabelul %2.").arg(column, table),
            QStringLiteral("42S22"));
    if (found->known)
        return found->type;
    std::optional<StatementWatch> watch;
    if (mStoppable)
        watch.emplace(*this);
    return p.columnType(schema, table, found->name);
}

std::vector<TableColumn> Provider::tableColumns(const QString &schema, const QString &table)
{
    std::vector<TableColumn> columns;
    for (Recordset rs = this->columns(schema, table); !rs.eof(); rs.moveNext()) {
        const QString name = rs.value(QStringLiteral("COLUMN_NAME")).toString();
        try {
            columns.push_back(TableColumn{name, columnType(schema, table, name), true});
        } catch (const DbError &) {
            // A type the provider will not give (a DBF column an index may
            // use): asked again, and refused with its reason, when wanted.
            columns.push_back(TableColumn{name, ColumnType{}, false});
        }
    }
    return columns;
}

bool Connection::weaklyTyped() const
{
    return provider().weaklyTyped();
}

QString Connection::nonNumericValuesQuery(const QString &table, const QString &condition, const QString &column) const
{
    if (!provider().weaklyTyped())
        return QString();
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE typeof(%1) NOT IN ('integer','real','null')").arg(column, table);
    if (!condition.isEmpty())
        sql += QStringLiteral(" AND (") + condition + QLatin1Char(')');
    return sql;
}

SqlDialect Connection::dialect() const
{
    return provider().dialect();
}

bool Connection::isReadOnly() const
{
    return provider().isReadOnly();
}

bool Connection::isStandby() const
{
    return provider().isStandby();
}

QString Connection::clusterNodeId() const
{
    return provider().clusterNodeId();
}

void inOneTransaction(Connection &conn, const std::function<void()> &work)
{
    conn.beginTrans();
    try {
        work();
        conn.commitTrans();
    } catch (...) {
        try {
            if (conn.inTransaction())
                conn.rollbackTrans();
        } catch (const std::exception &) {
        }
        throw;
    }
}

} // namespace db
