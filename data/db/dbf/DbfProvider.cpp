#include "data/db/dbf/DbfProvider.h"

#include "data/db/AdoTypes.h"
#include "data/db/DbError.h"
#include "data/db/Decimal.h"
#include "data/db/dbf/DbfFile.h"
#include "data/db/dbf/DbfIndexFiles.h"
#include "data/db/dbf/DbfMemory.h"
#include "data/db/dbf/DbfTableGuard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <sqlite3.h>

namespace db {

namespace {

QString noCommandText()
{
    return QCoreApplication::translate("DbfProvider", "Comanda nu contine nicio instructiune SQL.");
}

[[noreturn]] void throwSqlite(sqlite3 *db, int rc)
{
    const QString text = QString::fromUtf8(sqlite3_errmsg(db));
    if ((rc & 0xff) == SQLITE_INTERRUPT)
        throw DbError::cancelled(); // only cancel() interrupts
    if ((rc & 0xff) == SQLITE_ERROR)
        throw DbError(DB_E_ERRORSINCOMMAND, text, QStringLiteral("42000"));
    if ((rc & 0xff) == SQLITE_AUTH)
        throw DbError(E_FAIL, text, QStringLiteral("HY000"));
    throw DbError(DB_E_ERRORSOCCURRED, text, QStringLiteral("HY000"));
}

QString quoteIdent(const QString &name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString unquote(QString name)
{
    if (name.size() >= 2
        && ((name.front() == QLatin1Char('"') && name.back() == QLatin1Char('"'))
            || (name.front() == QLatin1Char('[') && name.back() == QLatin1Char(']'))
            || (name.front() == QLatin1Char('`') && name.back() == QLatin1Char('`'))))
        name = name.mid(1, name.size() - 2);
    return name;
}

// The SQLite type a DBF column is held in: its letter first (read back by
// adoTypeOf), then a word that gives SQLite the wanted affinity.
QString sqliteType(const DbfField &f)
{
    switch (f.type) {
    case 'N':
    case 'F': return QStringLiteral("%1TEXT(%2,%3) COLLATE DBFNUM").arg(QLatin1Char(f.type)).arg(f.length).arg(f.decimals);
    case 'Y': return QStringLiteral("YTEXT COLLATE DBFNUM");
    case 'I': return QStringLiteral("IINT");
    case 'L': return QStringLiteral("LINT");
    case 'B': return QStringLiteral("BREAL");
    default: return QStringLiteral("%1TEXT").arg(QLatin1Char(f.type));
    }
}

int adoType(char type, int decimals = 0)
{
    Q_UNUSED(decimals);
    switch (type) {
    case 'N':
    case 'F': return adNumeric;
    case 'Y': return adCurrency;
    case 'I': return adInteger;
    case 'B': return adDouble;
    case 'L': return adBoolean;
    case 'D': return adDate;
    case 'T': return adDBTimeStamp;
    case 'M': return adLongVarChar;
    default: return adChar;
    }
}

QString declaration(const DbfField &f)
{
    switch (f.type) {
    case 'N':
    case 'F': return QStringLiteral("%1(%2,%3)").arg(QLatin1Char(f.type)).arg(f.length).arg(f.decimals);
    case 'C': return QStringLiteral("C(%1)").arg(f.length);
    default: return QString(QLatin1Char(f.type));
    }
}

int scaleOf(const DbfField &f)
{
    switch (f.type) {
    case 'N':
    case 'F': return f.decimals;
    case 'Y': return 4;
    case 'I': return 0;
    default: return -1;
    }
}

class Statement {
public:
    Statement(sqlite3 *db, const QString &sql) : mDb(db)
    {
        const QByteArray utf8 = sql.toUtf8();
        const char *tail = nullptr;
        const int rc = sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &mStmt, &tail);
        if (rc != SQLITE_OK)
            throwSqlite(db, rc);
        if (!mStmt)
            throw DbError(static_cast<qint32>(0x80040E0Cu), noCommandText());
        // Blanks and comments may follow; a second statement may not.
        if (tail && *tail) {
            sqlite3_stmt *rest = nullptr;
            const int more = sqlite3_prepare_v2(db, tail, -1, &rest, nullptr);
            const bool second = more != SQLITE_OK || rest != nullptr;
            sqlite3_finalize(rest);
            if (second)
                throw DbError(
                    E_FAIL, QCoreApplication::translate("DbfProvider", "Comanda contine mai multe instructiuni SQL."));
        }
    }
    ~Statement() { sqlite3_finalize(mStmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    sqlite3_stmt *get() const { return mStmt; }
    bool step()
    {
        const int rc = sqlite3_step(mStmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throwSqlite(mDb, rc);
        return rc == SQLITE_ROW;
    }

private:
    sqlite3 *mDb;
    sqlite3_stmt *mStmt = nullptr;
};

void exec(sqlite3 *db, const QString &sql)
{
    Statement st(db, sql);
    while (st.step()) {
    }
}

Variant cellOf(sqlite3_stmt *st, int i, char type)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL: return Variant::null();
    case SQLITE_INTEGER:
        if (type == 'L')
            return Variant(sqlite3_column_int64(st, i) != 0);
        return Variant(static_cast<qint64>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(st, i));
    default: {
        const QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                               sqlite3_column_bytes(st, i));
        if (type == 'N' || type == 'F' || type == 'Y') {
            if (const auto d = dec::parse(text))
                return Variant::decimal(dec::toText(*d));
        }
        return Variant(text);
    }
    }
}

bool sameValue(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    if (a.kind() == Variant::Kind::Bool || b.kind() == Variant::Kind::Bool)
        return a.toInt() == b.toInt(); // a logical value read back from a query
    if (a.kind() == Variant::Kind::Double || b.kind() == Variant::Kind::Double) {
        if (a.kind() != b.kind())
            return false;
        const double x = a.toDouble(), y = b.toDouble();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    return a.toString() == b.toString();
}

struct Authorizer {
    QList<QPair<QString, QString>> updates; // table, column
    QString refused;
};

int authorize(void *data, int action, const char *a1, const char *a2, const char *, const char *)
{
    auto *auth = static_cast<Authorizer *>(data);
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE: return SQLITE_OK;
    case SQLITE_UPDATE:
        auth->updates.append({QString::fromUtf8(a1), QString::fromUtf8(a2)});
        return SQLITE_OK;
    default:
        auth->refused = QCoreApplication::translate(
            "DbfProvider", "Furnizorul DBF ruleaza doar SELECT, UPDATE si ALTER TABLE ADD / DROP COLUMN.");
        return SQLITE_DENY;
    }
}

struct Loaded {
    DbfTable table;
    QString sqlName;
    bool dirty = false;
    // Held from the first change of the table until its new file is in place.
    std::unique_ptr<DbfTableGuard> guard;
};

class DbfProvider : public Provider {
public:
    DbfProvider(QString folder, bool readOnly, int lockTimeoutMs)
        : mFolder(std::move(folder)), mReadOnly(readOnly), mLockTimeoutMs(lockTimeoutMs)
    {
        reset();
    }

    void close() override
    {
        {
            const std::lock_guard<std::mutex> lock(mCancelGuard);
            mDb.reset();
        }
        mTables.clear();
        mInTransaction = false;
    }

    // From another thread: the loading of a table stops at its next record,
    // a statement of the in-memory engine at once.
    void cancel() override
    {
        mCancelled = true;
        const std::lock_guard<std::mutex> lock(mCancelGuard);
        if (mDb)
            sqlite3_interrupt(mDb.get());
    }
    bool isConnected() const override { return mDb != nullptr; }

    qint64 execute(const QString &sql) override { return run(sql, nullptr, 0); }

    void beginTrans() override
    {
        reset();
        exec(handle(), QStringLiteral("BEGIN"));
        mInTransaction = true;
    }

    void commitTrans() override
    {
        try {
            flush();
        } catch (...) {
            rollbackTrans();
            throw;
        }
        mInTransaction = false;
        reset();
    }

    void rollbackTrans() override
    {
        mInTransaction = false;
        reset();
    }

    bool inTransaction() const override { return mInTransaction; }
    SqlDialect dialect() const override { return SqlDialect::Sqlite; }
    bool weaklyTyped() const override { return false; }
    bool isReadOnly() const override { return mReadOnly || !QFileInfo(mFolder).isWritable(); }

    Recordset query(const QString &sql, LockType, int maxRows) override
    {
        Recordset rs;
        run(sql, &rs, maxRows);
        return rs;
    }

    Recordset tables() override
    {
        const QList<Column> columns{{QStringLiteral("TABLE_SCHEMA"), adVarWChar},
                                    {QStringLiteral("TABLE_NAME"), adVarWChar},
                                    {QStringLiteral("TABLE_TYPE"), adVarWChar}};
        std::vector<QList<Variant>> rows;
        for (const QString &name : tableFiles())
            rows.push_back({Variant::null(), Variant(name), Variant(QStringLiteral("TABLE"))});
        return Recordset(columns, std::move(rows));
    }

    Recordset columns(const QString &, const QString &table) override
    {
        const QList<Column> columns{{QStringLiteral("COLUMN_NAME"), adVarWChar},
                                    {QStringLiteral("DATA_TYPE"), adInteger},
                                    {QStringLiteral("TYPE_NAME"), adVarWChar},
                                    {QStringLiteral("ORDINAL_POSITION"), adInteger}};
        std::vector<QList<Variant>> rows;
        const DbfTable t = current(table);
        qint64 n = 0;
        for (const auto &f : t.columns())
            rows.push_back({Variant(f.name), Variant(adoType(f.type)), Variant(declaration(f)), Variant(++n)});
        return Recordset(columns, std::move(rows));
    }

    ColumnType columnType(const QString &, const QString &table, const QString &column) override
    {
        const DbfTable t = current(table);
        const int i = t.columnIndex(column);
        if (i < 0)
            throw DbError(
                DB_E_ERRORSINCOMMAND,
                QCoreApplication::translate("DbfProvider", "Coloana %1 nu exista in tabelul %2.").arg(column, table),
                QStringLiteral("42S22"));
        const DbfField f = t.columns().at(i);
        // A column an index file may use cannot be converted: its type is
        // not offered for it, so nothing of the table changes.
        const QString why = mIndexes.obstacle(t, f.name);
        if (!why.isEmpty())
            throw DbError(E_FAIL, why);
        return ColumnType{adoType(f.type), declaration(f), scaleOf(f)};
    }

private:
    sqlite3 *handle() const
    {
        if (!mDb)
            throw DbError(
                ADO_E_ILLEGALOPERATION,
                QCoreApplication::translate("DbfProvider", "Operatia nu este permisa cand conexiunea este inchisa."));
        return mDb.get();
    }

    // Outside a transaction every statement starts from the files as they are now.
    void reset()
    {
        mTables.clear();
        DbfMemory fresh = openDbfMemory();
        const std::lock_guard<std::mutex> lock(mCancelGuard);
        mDb = std::move(fresh);
    }

    QStringList tableFiles() const
    {
        QDir dir(mFolder);
        if (!dir.exists())
            throw DbError(E_FAIL, QCoreApplication::translate("DbfProvider", "Dosarul %1 nu exista.").arg(mFolder));
        dir.setNameFilters({QStringLiteral("*.dbf")});
        dir.setFilter(QDir::Files);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        return dir.entryList();
    }

    // The file of a table named "a", "a.dbf", "A.DBF" or quoted; "" when none.
    QString fileOf(const QString &name) const
    {
        const QString bare = unquote(name.trimmed());
        for (const QString &file : tableFiles())
            if (file.compare(bare, Qt::CaseInsensitive) == 0 || QFileInfo(file).completeBaseName().compare(bare, Qt::CaseInsensitive) == 0)
                return QDir(mFolder).filePath(file);
        return QString();
    }

    // The table as this connection sees it: with its pending changes inside
    // a transaction, else as on disk.
    DbfTable current(const QString &name)
    {
        const QString path = fileOf(name);
        if (path.isEmpty())
            throw DbError(DB_E_ERRORSINCOMMAND,
                          QCoreApplication::translate("DbfProvider", "Tabelul %1 nu exista.").arg(name),
                          QStringLiteral("42S02"));
        const auto it = mTables.find(path);
        if (it != mTables.end())
            return it->second.table;
        return DbfTable::read(path);
    }

    Loaded &load(const QString &path)
    {
        auto it = mTables.find(path);
        if (it != mTables.end())
            return it->second;
        Loaded l{DbfTable::read(path), QStringLiteral("t%1").arg(mTables.size() + 1), false, nullptr};
        const QList<DbfField> cols = l.table.columns();
        QStringList defs, marks;
        for (const auto &f : cols) {
            defs << quoteIdent(f.name) + QLatin1Char(' ') + sqliteType(f);
            marks << QStringLiteral("?");
        }
        sqlite3 *db = handle();
        exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdent(l.sqlName), defs.join(QLatin1Char(','))));
        Statement insert(db, QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (?, %3)")
                                 .arg(quoteIdent(l.sqlName),
                                      [&] { QStringList n; for (const auto &f : cols) n << quoteIdent(f.name); return n.join(QLatin1Char(',')); }(),
                                      marks.join(QLatin1Char(','))));
        for (int r = 0; r < l.table.recordCount(); ++r) {
            if (mCancelled)
                throw DbError::cancelled();
            sqlite3_reset(insert.get());
            sqlite3_bind_int64(insert.get(), 1, r + 1);
            for (int c = 0; c < cols.size(); ++c) {
                const Variant v = l.table.value(r, c);
                switch (v.kind()) {
                case Variant::Kind::Null:
                case Variant::Kind::Empty: sqlite3_bind_null(insert.get(), c + 2); break;
                case Variant::Kind::Int:
                case Variant::Kind::Bool: sqlite3_bind_int64(insert.get(), c + 2, v.toInt()); break;
                case Variant::Kind::Double: sqlite3_bind_double(insert.get(), c + 2, v.toDouble()); break;
                default: {
                    const QByteArray text = v.toString().toUtf8();
                    sqlite3_bind_text(insert.get(), c + 2, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
                }
                }
            }
            insert.step();
        }
        return mTables.emplace(path, std::move(l)).first->second;
    }

    // Table names after FROM, JOIN, UPDATE, INTO and TABLE, outside quoted
    // strings, become the names of their in-memory copies.
    QString rewrite(const QString &sql)
    {
        static const QRegularExpression ref(
            QStringLiteral(R"(\b(FROM|JOIN|UPDATE|INTO|TABLE)(\s+)("[^"]*"|\[[^\]]*\]|`[^`]*`|[^\s(),;'"]+))"),
            QRegularExpression::CaseInsensitiveOption);
        QString out;
        int i = 0;
        while (i < sql.size()) {
            const int quote = sql.indexOf(QLatin1Char('\''), i);
            const int end = quote < 0 ? sql.size() : quote;
            const QString plain = sql.mid(i, end - i);
            int done = 0;
            for (auto it = ref.globalMatch(plain); it.hasNext();) {
                const auto m = it.next();
                const QString path = fileOf(m.captured(3));
                if (path.isEmpty())
                    continue;
                out += plain.mid(done, m.capturedStart(3) - done) + quoteIdent(load(path).sqlName);
                done = m.capturedEnd(3);
            }
            out += plain.mid(done);
            if (quote < 0)
                break;
            int close = quote + 1;
            while (close < sql.size()) {
                if (sql.at(close) == QLatin1Char('\'')) {
                    if (close + 1 < sql.size() && sql.at(close + 1) == QLatin1Char('\'')) {
                        close += 2;
                        continue;
                    }
                    break;
                }
                ++close;
            }
            out += sql.mid(quote, close + 1 - quote);
            i = close + 1;
        }
        return out;
    }

    Loaded *bySqlName(const QString &sqlName)
    {
        for (auto &[path, l] : mTables)
            if (l.sqlName.compare(sqlName, Qt::CaseInsensitive) == 0)
                return &l;
        return nullptr;
    }

    // Why the table may not be changed in `column` ("" when it may).
    QString obstacle(const Loaded &l, const QString &column) const
    {
        const QString why = readOnlyObstacle(l);
        return why.isEmpty() ? mIndexes.obstacle(l.table, column) : why;
    }

    // Before a table first changes: no other program may hold it, and it
    // must still be the file read (DbfTableGuard). Throws why not.
    void hold(Loaded &l)
    {
        if (!l.guard)
            l.guard = DbfTableGuard::take(l.table.path(), l.table.stamp(), mLockTimeoutMs);
    }

    QString readOnlyObstacle(const Loaded &l) const
    {
        const QFileInfo info(l.table.path());
        // A file without any write permission is read-only even for a user
        // the system would let write it (root), as the read-only attribute is.
        const auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup
                              | QFileDevice::WriteOther;
        if (mReadOnly || !info.isWritable() || !(info.permissions() & anyWrite)
            || !QFileInfo(info.path()).isWritable())
            return QCoreApplication::translate("DbfProvider",
                                               "Tabelul %1 poate fi doar citit: Vamor nu il poate modifica.")
                .arg(info.fileName());
        return QString();
    }

    qint64 alter(const QRegularExpressionMatch &m)
    {
        const QString path = fileOf(m.captured(1));
        if (path.isEmpty())
            throw DbError(DB_E_ERRORSINCOMMAND,
                          QCoreApplication::translate("DbfProvider", "Tabelul %1 nu exista.").arg(m.captured(1)),
                          QStringLiteral("42S02"));
        Loaded &l = load(path);
        const QString column = unquote(m.captured(3));
        const bool add = m.captured(2).compare(QLatin1String("ADD"), Qt::CaseInsensitive) == 0;
        // A new column changes no key of an index; dropping one may.
        const QString why = add ? readOnlyObstacle(l) : obstacle(l, column);
        if (!why.isEmpty())
            throw DbError(E_FAIL, why);
        hold(l);
        if (add) {
            static const QRegularExpression typeRe(QStringLiteral(R"(^\s*([A-Za-z]+)\s*(?:\(\s*(\d+)\s*(?:,\s*(\d+)\s*)?\))?\s*$)"));
            const auto t = typeRe.match(m.captured(4));
            if (!t.hasMatch())
                throw DbError(DB_E_ERRORSOCCURRED,
                              QCoreApplication::translate("DbfProvider", "Tipul de coloana \"%1\" nu este cunoscut.")
                                  .arg(m.captured(4).trimmed()));
            const QString word = t.captured(1).toUpper();
            static const QList<QPair<QString, char>> names{
                {QStringLiteral("N"), 'N'}, {QStringLiteral("NUMERIC"), 'N'}, {QStringLiteral("F"), 'F'},
                {QStringLiteral("FLOAT"), 'F'}, {QStringLiteral("Y"), 'Y'}, {QStringLiteral("CURRENCY"), 'Y'},
                {QStringLiteral("I"), 'I'}, {QStringLiteral("INTEGER"), 'I'}, {QStringLiteral("B"), 'B'},
                {QStringLiteral("DOUBLE"), 'B'}, {QStringLiteral("C"), 'C'}, {QStringLiteral("CHAR"), 'C'},
                {QStringLiteral("L"), 'L'}, {QStringLiteral("LOGICAL"), 'L'}, {QStringLiteral("D"), 'D'},
                {QStringLiteral("DATE"), 'D'}, {QStringLiteral("T"), 'T'}, {QStringLiteral("DATETIME"), 'T'}};
            char type = 0;
            for (const auto &[n, c] : names)
                if (n == word)
                    type = c;
            if (type == 0)
                throw DbError(DB_E_ERRORSOCCURRED,
                              QCoreApplication::translate("DbfProvider", "Tipul de coloana \"%1\" nu este cunoscut.")
                                  .arg(m.captured(4).trimmed()));
            const int length = t.captured(2).isEmpty() ? 10 : t.captured(2).toInt();
            l.table.addColumn(column, type, length, t.captured(3).toInt());
            const DbfField f = l.table.columns().back();
            exec(handle(), QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(quoteIdent(l.sqlName), quoteIdent(f.name), sqliteType(f)));
        } else {
            const int c = l.table.columnIndex(column);
            if (c < 0)
                throw DbError(DB_E_ERRORSINCOMMAND,
                              QCoreApplication::translate("DbfProvider", "Coloana %1 nu exista in tabelul %2.")
                                  .arg(column, QFileInfo(path).fileName()),
                              QStringLiteral("42S22"));
            const QString name = l.table.columns().at(c).name;
            l.table.dropColumn(c);
            exec(handle(), QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(quoteIdent(l.sqlName), quoteIdent(name)));
        }
        l.dirty = true;
        return 0;
    }

    // Runs one statement; fills `rows` when given and the statement returns rows.
    qint64 run(const QString &sql, Recordset *rows, int maxRows)
    {
        mCancelled = false; // a cancel stops the statement running when it comes
        if (!mInTransaction)
            reset();
        try {
            const qint64 result = runHere(sql, rows, maxRows);
            if (!mInTransaction) {
                flush();
                reset();
            }
            return result;
        } catch (...) {
            if (!mInTransaction)
                reset();
            throw;
        }
    }

    qint64 runHere(const QString &sql, Recordset *rows, int maxRows)
    {
        static const QRegularExpression alterRe(
            QStringLiteral(R"(^\s*ALTER\s+TABLE\s+("[^"]+"|\[[^\]]+\]|`[^`]+`|\S+)\s+(ADD|DROP)\s+(?:COLUMN\s+)?("[^"]+"|\[[^\]]+\]|`[^`]+`|[^\s;]+)\s*([^;]*?)\s*;?\s*$)"),
            QRegularExpression::CaseInsensitiveOption);
        const auto alterMatch = alterRe.match(sql);
        if (alterMatch.hasMatch())
            return alter(alterMatch);

        sqlite3 *db = handle();
        const QString text = rewrite(sql);
        Authorizer auth;
        sqlite3_set_authorizer(db, authorize, &auth);
        std::unique_ptr<Statement> st;
        try {
            st = std::make_unique<Statement>(db, text);
        } catch (const DbError &e) {
            sqlite3_set_authorizer(db, nullptr, nullptr);
            if (!auth.refused.isEmpty())
                throw DbError(E_FAIL, auth.refused);
            throw;
        }
        sqlite3_set_authorizer(db, nullptr, nullptr);
        QList<Loaded *> changed;
        for (const auto &[table, column] : auth.updates) {
            Loaded *l = bySqlName(table);
            if (!l)
                continue;
            const QString why = obstacle(*l, column);
            if (!why.isEmpty())
                throw DbError(E_FAIL, why);
            hold(*l);
            if (!changed.contains(l))
                changed << l;
        }
        const int n = sqlite3_column_count(st->get());
        if (n == 0 || !rows) {
            const sqlite3_int64 before = sqlite3_total_changes64(db);
            while (st->step()) {
            }
            for (Loaded *l : changed)
                l->dirty = true;
            if (sqlite3_stmt_readonly(st->get()))
                return -1;
            if (rows)
                *rows = Recordset({}, {});
            return sqlite3_total_changes64(db) == before ? 0 : sqlite3_changes64(db);
        }
        QList<Column> columns;
        QList<char> types;
        for (int i = 0; i < n; ++i) {
            const char *decl = sqlite3_column_decltype(st->get(), i);
            const char type = decl && std::strchr("NFYILBCDTM", decl[0]) ? decl[0] : 0;
            types << type;
            columns << Column{QString::fromUtf8(sqlite3_column_name(st->get(), i)), type ? adoType(type) : adVarWChar};
        }
        std::vector<QList<Variant>> data;
        while ((maxRows <= 0 || static_cast<int>(data.size()) < maxRows) && st->step()) {
            QList<Variant> row;
            for (int i = 0; i < n; ++i) {
                if (!types.at(i) && sqlite3_column_type(st->get(), i) != SQLITE_NULL && columns[i].adoType == adVarWChar) {
                    const int storage = sqlite3_column_type(st->get(), i);
                    columns[i].adoType = storage == SQLITE_INTEGER ? adBigInt : storage == SQLITE_FLOAT ? adDouble : adVarWChar;
                }
                row << cellOf(st->get(), i, types.at(i));
            }
            data.push_back(std::move(row));
        }
        *rows = Recordset(columns, std::move(data));
        return -1;
    }

    // Writes every changed table: its in-memory rows go back into the
    // records, only where a value changed, and the file is replaced whole.
    void flush()
    {
        for (auto &[path, l] : mTables) {
            if (!l.dirty)
                continue;
            const QList<DbfField> cols = l.table.columns();
            QStringList names;
            for (const auto &f : cols)
                names << quoteIdent(f.name);
            Statement st(handle(), QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid").arg(names.join(QLatin1Char(',')), quoteIdent(l.sqlName)));
            int r = 0;
            while (st.step()) {
                if (sqlite3_column_int64(st.get(), 0) != r + 1 || r >= l.table.recordCount())
                    throw DbError(E_FAIL, QCoreApplication::translate(
                                              "DbfProvider", "Inregistrarile tabelului %1 nu mai corespund fisierului.")
                                              .arg(QFileInfo(path).fileName()));
                for (int c = 0; c < cols.size(); ++c) {
                    const Variant now = cellOf(st.get(), c + 1, cols.at(c).type);
                    if (!sameValue(now, l.table.value(r, c)))
                        l.table.setValue(r, c, now);
                }
                ++r;
            }
            if (r != l.table.recordCount())
                throw DbError(E_FAIL, QCoreApplication::translate(
                                          "DbfProvider", "Inregistrarile tabelului %1 nu mai corespund fisierului.")
                                          .arg(QFileInfo(path).fileName()));
        }
        for (auto &[path, l] : mTables)
            if (l.dirty) {
                hold(l);
                l.guard->replace(l.table.bytes());
                l.guard.reset();
                l.dirty = false;
            }
    }

    QString mFolder;
    bool mReadOnly = false;
    int mLockTimeoutMs = 0;
    mutable DbfIndexFiles mIndexes;
    bool mInTransaction = false;
    DbfMemory mDb;
    std::mutex mCancelGuard; // held while mDb changes and while cancel() uses it
    std::atomic<bool> mCancelled{false};
    std::map<QString, Loaded> mTables;
};

} // namespace

std::unique_ptr<Provider> openDbfProvider(const QString &folder, bool readOnly, int lockTimeoutMs)
{
    if (folder.trimmed().isEmpty())
        throw DbError(E_FAIL, QCoreApplication::translate(
                                  "DbfProvider", "Sirul de conectare nu numeste dosarul tabelelor DBF (Data Source)."));
    if (!QFileInfo(folder).isDir())
        throw DbError(E_FAIL,
                      QCoreApplication::translate("DbfProvider", "Dosarul tabelelor DBF nu exista: %1").arg(folder));
    return std::make_unique<DbfProvider>(folder, readOnly, lockTimeoutMs);
}

} // namespace db
