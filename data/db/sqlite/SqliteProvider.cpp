#include "data/db/sqlite/SqliteProvider.h"
#include "data/db/sqlite/SqliteExactSums.h"
#include "data/db/sqlite/SqliteRateFunction.h"

#include "data/db/AdoTypes.h"
#include "data/db/DbError.h"
#include "data/db/SqlScan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <climits>
#include <mutex>
#include <sqlite3.h>
#include <utility>

namespace db {

namespace {

using DbHandle = std::shared_ptr<sqlite3>;

// The statement timeout (seconds) that interrupted the statement of this
// thread; 0 when none did (an interrupt is then a cancel).
thread_local int tTimedOut = 0;

[[noreturn]] void throwSqlite(sqlite3 *handle, int rc, const QString &context = QString())
{
    QString text = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (!context.isEmpty())
        text += QStringLiteral(" (") + context + QLatin1Char(')');
    switch (rc & 0xff) {
    case SQLITE_INTERRUPT:
        if (tTimedOut > 0)
            throw DbError::statementTimeout(std::exchange(tTimedOut, 0));
        throw DbError::cancelled();
    case SQLITE_BUSY:
    case SQLITE_LOCKED: throw DbError::lockTimeout(text, QStringLiteral("HY000"));
    case SQLITE_ERROR: throw DbError(DB_E_ERRORSINCOMMAND, text, QStringLiteral("42000"));
    case SQLITE_MISMATCH:
    case SQLITE_RANGE:
    case SQLITE_TOOBIG: throw DbError(DB_E_ERRORSOCCURRED, text, QStringLiteral("22000"));
    case SQLITE_CONSTRAINT: throw DbError(E_FAIL, text, QStringLiteral("23000"));
    default: throw DbError(E_FAIL, text, QStringLiteral("HY000"));
    }
}

QString quoteIdent(const QString &name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// Jet writes "SELECT TOP n …"; SQLite wants "… LIMIT n".
QString translateJet(const QString &sql)
{
    static const QRegularExpression top(QStringLiteral(R"(^\s*SELECT\s+(DISTINCT\s+)?TOP\s+(\d+)\s+)"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = top.match(sql);
    if (!m.hasMatch())
        return sql;
    QString rest = sql.mid(m.capturedEnd());
    while (!rest.isEmpty() && (rest.back().isSpace() || rest.back() == QLatin1Char(';')))
        rest.chop(1);
    return QStringLiteral("SELECT ") + m.captured(1) + rest + QStringLiteral(" LIMIT ") + m.captured(2);
}

class Statement {
public:
    Statement(sqlite3 *db, const QByteArray &utf8, int offset) : mDb(db)
    {
        const char *start = utf8.constData() + offset;
        const int rc = sqlite3_prepare_v2(db, start, static_cast<int>(utf8.size() - offset), &mStmt, &mTail);
        if (rc != SQLITE_OK) {
            // Keep the message before finalize clears nothing of it.
            throwSqlite(db, rc);
        }
        mTailOffset = static_cast<int>(mTail - utf8.constData());
    }
    ~Statement() { sqlite3_finalize(mStmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    sqlite3_stmt *get() const { return mStmt; }
    int tailOffset() const { return mTailOffset; }
    int step()
    {
        const int rc = sqlite3_step(mStmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throwSqlite(mDb, rc);
        return rc;
    }

private:
    sqlite3 *mDb;
    sqlite3_stmt *mStmt = nullptr;
    const char *mTail = nullptr;
    int mTailOffset = 0;
};

void bindValue(sqlite3_stmt *st, int index, const Variant &v)
{
    switch (v.kind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null: sqlite3_bind_null(st, index); break;
    case Variant::Kind::Bool:
    case Variant::Kind::Int: sqlite3_bind_int64(st, index, v.toInt()); break;
    case Variant::Kind::Double: sqlite3_bind_double(st, index, v.toDouble()); break;
    case Variant::Kind::Decimal:
    case Variant::Kind::Text:
    case Variant::Kind::DateTime: {
        const QByteArray text = v.toString().toUtf8();
        sqlite3_bind_text(st, index, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

Variant readCell(sqlite3_stmt *st, int i, int adoType)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL: return Variant::null();
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(st, i);
        if (adoType == adBoolean)
            return Variant(v != 0);
        return Variant(v);
    }
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(st, i));
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        const int bytes = sqlite3_column_bytes(st, i);
        return Variant(QString::fromUtf8(text, bytes));
    }
    }
}

int adoTypeFromStorage(int storage)
{
    switch (storage) {
    case SQLITE_INTEGER: return adBigInt;
    case SQLITE_FLOAT: return adDouble;
    case SQLITE_BLOB: return adLongVarBinary;
    default: return adVarWChar;
    }
}

class SqliteWriter : public RecordsetWriter {
public:
    SqliteWriter(std::weak_ptr<sqlite3> db, QString table, QStringList origins, QString keyColumn)
        : mDb(std::move(db)), mTable(std::move(table)), mOrigins(std::move(origins)), mKey(std::move(keyColumn))
    {
    }

    QList<Variant> insertRow(const QList<Column> &columns, const QList<Variant> &values,
                             const QList<bool> &set) override
    {
        DbHandle db = handle();
        QStringList names;
        QStringList marks;
        QList<Variant> bound;
        for (int i = 0; i < columns.size(); ++i) {
            if (!set.at(i) || mOrigins.at(i).isEmpty())
                continue;
            names << quoteIdent(mOrigins.at(i));
            marks << QStringLiteral("?");
            bound << values.at(i);
        }
        const QString sql = names.isEmpty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdent(mTable))
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(quoteIdent(mTable), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        const QByteArray utf8 = sql.toUtf8();
        {
            Statement st(db.get(), utf8, 0);
            for (int i = 0; i < bound.size(); ++i)
                bindValue(st.get(), i + 1, bound.at(i));
            st.step();
        }
        const qint64 rowid = sqlite3_last_insert_rowid(db.get());
        return readRow(db.get(), columns, QStringLiteral("rowid = ?"), Variant(rowid));
    }

    void updateRow(const QList<Column> &columns, const QList<Variant> &original, const QList<Variant> &values,
                   const QList<bool> &set) override
    {
        DbHandle db = handle();
        const int key = keyIndex();
        QStringList assignments;
        QList<Variant> bound;
        for (int i = 0; i < columns.size(); ++i) {
            if (!set.at(i) || mOrigins.at(i).isEmpty())
                continue;
            assignments << quoteIdent(mOrigins.at(i)) + QStringLiteral(" = ?");
            bound << values.at(i);
        }
        if (assignments.isEmpty())
            return;
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                .arg(quoteIdent(mTable), assignments.join(QStringLiteral(", ")), quoteIdent(mKey));
        const QByteArray utf8 = sql.toUtf8();
        Statement st(db.get(), utf8, 0);
        int n = 1;
        for (const auto &v : bound)
            bindValue(st.get(), n++, v);
        bindValue(st.get(), n, original.at(key));
        st.step();
        if (sqlite3_changes(db.get()) == 0)
            throw DbError(DB_E_ERRORSOCCURRED,
                          QCoreApplication::translate("SqliteProvider", "Inregistrarea nu mai exista in tabelul %1.")
                              .arg(mTable));
    }

private:
    DbHandle handle() const
    {
        DbHandle db = mDb.lock();
        if (!db)
            throw DbError(ADO_E_ILLEGALOPERATION,
                          QCoreApplication::translate("SqliteProvider",
                                                      "Operatia nu este permisa cand conexiunea este inchisa."));
        return db;
    }

    int keyIndex() const
    {
        for (int i = 0; i < mOrigins.size(); ++i)
            if (!mKey.isEmpty() && mOrigins.at(i).compare(mKey, Qt::CaseInsensitive) == 0)
                return i;
        throw DbError(ADO_E_ILLEGALOPERATION,
                      QCoreApplication::translate("SqliteProvider",
                                                  "Inregistrarea nu poate fi actualizata: lipseste cheia tabelului %1.")
                          .arg(mTable));
    }

    QList<Variant> readRow(sqlite3 *db, const QList<Column> &columns, const QString &where, const Variant &arg)
    {
        QStringList names;
        for (const auto &origin : mOrigins)
            names << (origin.isEmpty() ? QStringLiteral("NULL") : quoteIdent(origin));
        const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                .arg(names.join(QLatin1Char(',')), quoteIdent(mTable), where);
        const QByteArray utf8 = sql.toUtf8();
        Statement st(db, utf8, 0);
        bindValue(st.get(), 1, arg);
        QList<Variant> row;
        if (st.step() == SQLITE_ROW)
            for (int i = 0; i < columns.size(); ++i)
                row << readCell(st.get(), i, columns.at(i).adoType);
        else
            for (int i = 0; i < columns.size(); ++i)
                row << Variant::null();
        return row;
    }

    std::weak_ptr<sqlite3> mDb;
    QString mTable;
    QStringList mOrigins;
    QString mKey;
};

// SQLite's own reading of the text after the first statement: anything but
// blanks and comments there is a second statement, refused before the first
// runs.
void requireNothingAfter(sqlite3 *db, const QByteArray &utf8, int offset)
{
    bool more = false;
    try {
        Statement rest(db, utf8, offset);
        more = rest.get() != nullptr;
    } catch (const DbError &) {
        more = true;
    }
    if (more)
        throw DbError(E_FAIL, multipleStatementsMessage());
}

QString noCommandText()
{
    return QCoreApplication::translate("SqliteProvider", "Comanda nu contine nicio instructiune SQL.");
}

class SqliteProvider : public Provider {
public:
    SqliteProvider(DbHandle db, bool readOnly) : mDb(std::move(db)), mReadOnly(readOnly) {}

    void close() override
    {
        const std::lock_guard<std::mutex> lock(mCancelGuard);
        mDb.reset();
    }
    bool isConnected() const override { return mDb != nullptr; }

    // sqlite3_interrupt may come from any thread, but not while the
    // handle closes: the guard keeps it open meanwhile.
    void cancel() override
    {
        const std::lock_guard<std::mutex> lock(mCancelGuard);
        if (mDb)
            sqlite3_interrupt(mDb.get());
    }

    qint64 execute(const QString &sql) override
    {
        sqlite3 *db = handle();
        const QByteArray utf8 = translateJet(sql).toUtf8();
        Statement st(db, utf8, 0);
        if (!st.get())
            throw DbError(static_cast<qint32>(0x80040E0Cu), noCommandText());
        requireNothingAfter(db, utf8, st.tailOffset());
        const sqlite3_int64 before = sqlite3_total_changes64(db);
        while (st.step() == SQLITE_ROW) {
        }
        // The rows of the statement itself: rows that its triggers or
        // cascading deletes change do not count (as on the other engines).
        // A statement that changed nothing leaves the count of an earlier
        // statement in sqlite3_changes64, hence the total.
        if (sqlite3_stmt_readonly(st.get()))
            return -1;
        return sqlite3_total_changes64(db) == before ? 0 : sqlite3_changes64(db);
    }

    void beginTrans() override { exec("BEGIN"); }

    void commitTrans() override
    {
        sqlite3 *db = handle();
        try {
            exec("COMMIT");
        } catch (const DbError &) {
            // A COMMIT that fails (a deferred constraint, a busy file) leaves
            // the transaction open: it is rolled back, so nothing of it stays
            // half done and the connection is out of it.
            if (!sqlite3_get_autocommit(db)) {
                try {
                    exec("ROLLBACK");
                } catch (const DbError &) {
                    drop();
                }
            }
            throw;
        }
    }

    void rollbackTrans() override
    {
        sqlite3 *db = handle();
        if (sqlite3_get_autocommit(db))
            return;
        try {
            exec("ROLLBACK");
        } catch (const DbError &e) {
            // Closing the database rolls the transaction back.
            drop();
            throw DbError(e.number(), e.description() + QLatin1Char('\n') + lostText(), e.sqlState());
        }
    }

    bool inTransaction() const override { return mDb && !sqlite3_get_autocommit(mDb.get()); }

    // The engine calls back every few thousand steps of a statement; past
    // the timeout the callback interrupts it.
    void setStatementTimeout(int seconds) override
    {
        mTimeoutSeconds = seconds;
        if (mDb)
            sqlite3_progress_handler(mDb.get(), seconds > 0 ? 10000 : 0, seconds > 0 ? &onProgress : nullptr, this);
    }

    SqlDialect dialect() const override { return SqlDialect::Sqlite; }
    bool weaklyTyped() const override { return true; }
    bool isReadOnly() const override { return mReadOnly || (mDb && sqlite3_db_readonly(mDb.get(), "main") == 1); }

    Recordset query(const QString &sql, LockType lock, int maxRows) override
    {
        sqlite3 *db = handle();
        const QByteArray utf8 = translateJet(sql).toUtf8();
        Statement st(db, utf8, 0);
        if (!st.get())
            throw DbError(static_cast<qint32>(0x80040E0Cu), noCommandText());
        requireNothingAfter(db, utf8, st.tailOffset());
        const int n = sqlite3_column_count(st.get());
        if (n == 0) {
            // A statement that returns no rows is simply run.
            while (st.step() == SQLITE_ROW) {
            }
            return Recordset({}, {});
        }
        QList<Column> columns;
        QStringList origins;
        QString table;
        bool singleTable = n > 0;
        QList<bool> typeKnown;
        for (int i = 0; i < n; ++i) {
            Column c;
            c.name = QString::fromUtf8(sqlite3_column_name(st.get(), i));
            const char *decl = sqlite3_column_decltype(st.get(), i);
            typeKnown << (decl != nullptr);
            c.adoType = decl ? adoTypeFromDeclaredType(QString::fromUtf8(decl)) : adVarWChar;
            columns << c;
            const char *tableName = sqlite3_column_table_name(st.get(), i);
            const char *origin = sqlite3_column_origin_name(st.get(), i);
            origins << (origin ? QString::fromUtf8(origin) : QString());
            if (!tableName)
                continue;
            const QString t = QString::fromUtf8(tableName);
            if (table.isEmpty())
                table = t;
            else if (table.compare(t, Qt::CaseInsensitive) != 0)
                singleTable = false;
        }
        std::vector<QList<Variant>> rows;
        while ((maxRows <= 0 || static_cast<int>(rows.size()) < maxRows) && st.step() == SQLITE_ROW) {
            QList<Variant> row;
            row.reserve(n);
            for (int i = 0; i < n; ++i) {
                if (!typeKnown.at(i) && sqlite3_column_type(st.get(), i) != SQLITE_NULL) {
                    columns[i].adoType = adoTypeFromStorage(sqlite3_column_type(st.get(), i));
                    typeKnown[i] = true;
                }
                row << readCell(st.get(), i, columns.at(i).adoType);
            }
            rows.push_back(std::move(row));
        }
        std::shared_ptr<RecordsetWriter> writer;
        if (lock == LockType::Optimistic && singleTable && !table.isEmpty())
            writer = std::make_shared<SqliteWriter>(mDb, table, origins, keyColumn(table));
        return Recordset(columns, std::move(rows), writer);
    }

    Recordset tables() override
    {
        const QList<Column> columns{{QStringLiteral("TABLE_SCHEMA"), adVarWChar},
                                    {QStringLiteral("TABLE_NAME"), adVarWChar},
                                    {QStringLiteral("TABLE_TYPE"), adVarWChar}};
        std::vector<QList<Variant>> rows;
        const QByteArray sql("SELECT name, type FROM sqlite_master WHERE type IN ('table','view') ORDER BY name");
        Statement st(handle(), sql, 0);
        while (st.step() == SQLITE_ROW) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 0)));
            const QString type = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 1)));
            QString tableType = QStringLiteral("VIEW");
            if (type == QLatin1String("table"))
                tableType = name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive) ? QStringLiteral("SYSTEM TABLE")
                                                                                          : QStringLiteral("TABLE");
            rows.push_back({Variant::null(), Variant(name), Variant(tableType)});
        }
        return Recordset(columns, std::move(rows));
    }

    Recordset columns(const QString &, const QString &table) override
    {
        const QList<Column> columns{{QStringLiteral("COLUMN_NAME"), adVarWChar},
                                    {QStringLiteral("DATA_TYPE"), adInteger},
                                    {QStringLiteral("TYPE_NAME"), adVarWChar},
                                    {QStringLiteral("ORDINAL_POSITION"), adInteger}};
        std::vector<QList<Variant>> rows;
        const QByteArray sql = QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdent(table)).toUtf8();
        Statement st(handle(), sql, 0);
        while (st.step() == SQLITE_ROW) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 1)));
            const char *declRaw = reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 2));
            const QString decl = declRaw ? QString::fromUtf8(declRaw) : QString();
            rows.push_back({Variant(name), Variant(adoTypeFromDeclaredType(decl)), Variant(decl),
                            Variant(sqlite3_column_int64(st.get(), 0) + 1)});
        }
        return Recordset(columns, std::move(rows));
    }

    ColumnType columnType(const QString &schema, const QString &table, const QString &column) override
    {
        const std::vector<TableColumn> columns = tableColumns(schema, table);
        if (columns.empty())
            throw DbError(DB_E_ERRORSINCOMMAND,
                          QCoreApplication::translate("SqliteProvider", "Tabelul %1 nu exista.").arg(table),
                          QStringLiteral("42S02"));
        if (const TableColumn *found = findNamed(columns, column))
            return found->type;
        throw DbError(
            DB_E_ERRORSINCOMMAND,
            QCoreApplication::translate("SqliteProvider", "Coloana %1 nu exista in tabelul %2.").arg(column, table),
            QStringLiteral("42S22"));
    }

    // Every column with its type from one reading of the table's definition.
    std::vector<TableColumn> tableColumns(const QString &schema, const QString &table) override
    {
        std::vector<TableColumn> columns;
        for (const auto &[name, decl] : tableInfo(schema, table))
            columns.push_back(TableColumn{name, typeOf(decl), true});
        return columns;
    }

private:
    static QString lostText()
    {
        return QCoreApplication::translate(
            "SqliteProvider",
            "Conexiunea a fost inchisa, iar baza de date a anulat tranzactia: nimic din ea nu a fost salvat.");
    }

    static ColumnType typeOf(const QString &declaredType)
    {
        return ColumnType{adoTypeFromDeclaredType(declaredType), declaredType, scaleFromDeclaredType(declaredType)};
    }

    // The names and declared types of a table's columns, in their order;
    // empty when there is no such table. A schema names an attached
    // database ("main", "temp", ...); any other owner is not SQLite's and is
    // left out, as the columns list does.
    QList<QPair<QString, QString>> tableInfo(const QString &schema, const QString &table)
    {
        const QString pragma = isDatabaseName(schema)
                                   ? QStringLiteral("PRAGMA %1.table_info(%2)").arg(quoteIdent(schema), quoteIdent(table))
                                   : QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdent(table));
        const QByteArray sql = pragma.toUtf8();
        Statement st(handle(), sql, 0);
        QList<QPair<QString, QString>> found;
        while (st.step() == SQLITE_ROW) {
            const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 1));
            const auto *decl = reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 2));
            found.append({QString::fromUtf8(name), decl ? QString::fromUtf8(decl) : QString()});
        }
        return found;
    }

    bool isDatabaseName(const QString &name)
    {
        if (name.isEmpty())
            return false;
        Statement st(handle(), QByteArray("PRAGMA database_list"), 0);
        while (st.step() == SQLITE_ROW)
            if (QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 1)))
                    .compare(name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

    // The handle for the work about to be done (its statement timeout
    // counts from now).
    sqlite3 *handle() const
    {
        if (!mDb)
            throw DbError(ADO_E_ILLEGALOPERATION,
                          mLost ? lostText()
                                : QCoreApplication::translate(
                                      "SqliteProvider", "Operatia nu este permisa cand conexiunea este inchisa."));
        if (mTimeoutSeconds > 0) {
            mClock.start();
            tTimedOut = 0;
        }
        return mDb.get();
    }

    static int onProgress(void *self)
    {
        const auto *provider = static_cast<const SqliteProvider *>(self);
        if (provider->mClock.elapsed() < qint64(provider->mTimeoutSeconds) * 1000)
            return 0;
        tTimedOut = provider->mTimeoutSeconds;
        return 1;
    }

    // Ends the link to the file; SQLite rolls back what was not committed.
    void drop()
    {
        {
            const std::lock_guard<std::mutex> lock(mCancelGuard);
            mDb.reset();
        }
        mLost = true;
    }

    void exec(const char *sql)
    {
        sqlite3 *db = handle();
        char *message = nullptr;
        const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
        sqlite3_free(message);
        if (rc != SQLITE_OK)
            throwSqlite(db, rc);
    }

    QString keyColumn(const QString &table)
    {
        const QByteArray sql = QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdent(table)).toUtf8();
        Statement st(handle(), sql, 0);
        QString key;
        int keys = 0;
        while (st.step() == SQLITE_ROW) {
            if (sqlite3_column_int(st.get(), 5) > 0) {
                key = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 1)));
                ++keys;
            }
        }
        return keys == 1 ? key : QString();
    }

    DbHandle mDb;
    std::mutex mCancelGuard; // held while mDb is reset and while cancel() uses it
    int mTimeoutSeconds = 0;
    mutable QElapsedTimer mClock; // since the work at hand began
    bool mReadOnly = false;
    bool mLost = false;
};

} // namespace

int adoTypeFromDeclaredType(const QString &declaredType)
{
    const QString t = declaredType.trimmed().toUpper();
    if (t.isEmpty())
        return adVariant;
    if (t.contains(QLatin1String("BIGINT")) || t.contains(QLatin1String("INT8")))
        return adBigInt;
    if (t.contains(QLatin1String("SMALLINT")) || t.contains(QLatin1String("INT2")))
        return adSmallInt;
    if (t.contains(QLatin1String("TINYINT")))
        return adTinyInt;
    if (t.contains(QLatin1String("INT")))
        return adInteger;
    if (t.contains(QLatin1String("MONEY")) || t.contains(QLatin1String("CURRENCY")))
        return adCurrency;
    if (t.contains(QLatin1String("DEC")) || t.contains(QLatin1String("NUMERIC")))
        return adNumeric;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")))
        return adDouble;
    if (t.contains(QLatin1String("BOOL")) || t == QLatin1String("BIT") || t.startsWith(QLatin1String("YESNO")))
        return adBoolean;
    if (t.contains(QLatin1String("DATETIME")) || t.contains(QLatin1String("TIMESTAMP")))
        return adDBTimeStamp;
    if (t.contains(QLatin1String("DATE")))
        return adDBDate;
    if (t.contains(QLatin1String("TIME")))
        return adDBTime;
    if (t.contains(QLatin1String("BLOB")) || t.contains(QLatin1String("BINARY")) || t.contains(QLatin1String("BYTEA")))
        return adLongVarBinary;
    if (t.contains(QLatin1String("VARCHAR")) || t.contains(QLatin1String("TEXT")) || t.contains(QLatin1String("CLOB"))
        || t.contains(QLatin1String("MEMO")))
        return adVarWChar;
    if (t.startsWith(QLatin1String("NCHAR")) || t.startsWith(QLatin1String("NATIONAL CHAR")))
        return adWChar;
    if (t.startsWith(QLatin1String("CHAR")) || t.startsWith(QLatin1String("CHARACTER")))
        return adChar;
    // Any other name: SQLite's affinity rules (INT was taken above).
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT")))
        return adVarWChar;
    return adNumeric;
}

int scaleFromDeclaredType(const QString &declaredType)
{
    const QString t = declaredType.trimmed().toUpper();
    if (t.contains(QLatin1String("INT")))
        return 0;
    if (t.isEmpty() || t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB"))
        || t.contains(QLatin1String("TEXT")) || t.contains(QLatin1String("BLOB")) || t.contains(QLatin1String("REAL"))
        || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")))
        return -1;
    if (t.contains(QLatin1String("MONEY")) || t.contains(QLatin1String("CURRENCY")))
        return 4;
    static const QRegularExpression size(QStringLiteral(R"(\(\s*\d+\s*(?:,\s*(\d+)\s*)?\))"));
    const auto m = size.match(t);
    if (!m.hasMatch())
        return -1;
    return m.captured(1).isEmpty() ? 0 : m.captured(1).toInt();
}

void configureSqliteOnce()
{
    // No count of the memory SQLite holds: it would take a lock around every
    // allocation. Only possible before SQLite's first use in the process; if
    // another part of the program came first, SQLite keeps its default.
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}

std::unique_ptr<Provider> openSqliteProvider(const QString &path, bool readOnly, bool sharedCache, qint64 lockTimeoutMs)
{
    if (!QFileInfo(path).isFile())
        throw DbError(E_FAIL,
                      QCoreApplication::translate("SqliteProvider", "Fisierul bazei de date nu exista: %1").arg(path));
    sqlite3 *raw = nullptr;
    configureSqliteOnce();
    // Each connection is used by one thread at a time (the database layer is
    // single-threaded): SQLite need not lock it around every call. The one
    // call from another thread, sqlite3_interrupt, takes no lock.
    int flags = SQLITE_OPEN_NOMUTEX
                | (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | (sharedCache ? SQLITE_OPEN_SHAREDCACHE : 0));
    if (!sharedCache || readOnly)
        flags |= SQLITE_OPEN_PRIVATECACHE;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    DbHandle db(raw, [](sqlite3 *h) { sqlite3_close_v2(h); });
    if (rc != SQLITE_OK)
        throwSqlite(raw, rc, path);
    sqlite3_busy_timeout(raw, static_cast<int>(std::clamp<qint64>(lockTimeoutMs, 0, INT_MAX)));
    registerRateDivide(raw);
    registerExactSums(raw);
    // Reading the schema proves that the file is a database.
    for (const char *sql : {"PRAGMA foreign_keys = ON", "SELECT count(*) FROM sqlite_master"}) {
        char *message = nullptr;
        const int erc = sqlite3_exec(raw, sql, nullptr, nullptr, &message);
        sqlite3_free(message);
        if (erc != SQLITE_OK)
            throwSqlite(raw, erc, path);
    }
    return std::make_unique<SqliteProvider>(std::move(db), readOnly);
}

} // namespace db
