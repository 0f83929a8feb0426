#include "data/db/OdbcProvider.h"

#include "data/db/AdoTypes.h"
#include "data/db/ConnString.h"
#include "data/db/DbError.h"
#include "data/db/OdbcSupport.h"
#include "data/db/SqliteProvider.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <optional>
#include <unistd.h>
#include <vector>

namespace db {

namespace {

using namespace odbc;

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

// ---- the provider ----

QString normaliseTableType(const QString &driverType)
{
    const QString t = driverType.trimmed().toUpper();
    if (t == QLatin1String("TABLE") || t == QLatin1String("BASE TABLE"))
        return QStringLiteral("TABLE");
    if (t == QLatin1String("VIEW"))
        return QStringLiteral("VIEW");
    if (t == QLatin1String("SYSTEM TABLE") || t == QLatin1String("SYSTEM_TABLE"))
        return QStringLiteral("SYSTEM TABLE");
    if (t == QLatin1String("SYSTEM VIEW") || t == QLatin1String("SYSTEM_VIEW"))
        return QStringLiteral("SYSTEM VIEW");
    return t;
}

enum class Engine { Other, PostgreSql, MySql, Sqlite, MdbTools };

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

const CatalogColumn *findColumn(const std::vector<CatalogColumn> &columns, const QString &name)
{
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
        for (const CatalogColumn &c : columns)
            if (c.name.compare(name, cs) == 0)
                return &c;
    return nullptr;
}

// Decimals of a PostgreSQL column from its base type and type modifier.
int postgresScale(qint64 baseType, qint64 typmod, qint64 moneyScale)
{
    switch (baseType) {
    case 20: // bigint
    case 21: // smallint
    case 23: // integer
        return 0;
    case 790: // money: the decimals of the server's lc_monetary
        return static_cast<int>(moneyScale);
    case 1700: { // numeric: typmod = (precision << 16 | scale) + 4; -1 without precision
        if (typmod < 4)
            return -1;
        int scale = static_cast<int>((typmod - 4) & 0x7ff);
        if (scale & 0x400)
            scale -= 0x800; // a negative scale (PostgreSQL 15) keeps whole numbers only
        return std::max(scale, 0);
    }
    default:
        return -1;
    }
}

bool isMoneyName(const QString &typeName)
{
    const QString n = typeName.trimmed().toLower();
    return n == QLatin1String("money") || n == QLatin1String("smallmoney") || n == QLatin1String("currency");
}

// Any other driver: the type as SQLColumns reports it (columnTypeFromCatalog).
ColumnType genericColumnType(const CatalogColumn &c)
{
    return columnTypeFromCatalog(c.sqlType, c.typeName, c.size, c.digits, c.adoType);
}

QString infoText(SQLHDBC dbc, SQLUSMALLINT infoType)
{
    SQLWCHAR buffer[256] = {};
    SQLSMALLINT bytes = 0;
    if (!succeeded(SQLGetInfoW(dbc, infoType, buffer, sizeof(buffer) - sizeof(SQLWCHAR), &bytes)))
        return QString();
    return fromW(buffer).trimmed();
}

class OdbcProvider final : public Provider {
public:
    explicit OdbcProvider(const QString &connectionString)
    {
        SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &mEnv);
        if (!succeeded(rc)) {
            mEnv = SQL_NULL_HENV;
            throw DbError(E_FAIL, QStringLiteral("Managerul de drivere ODBC nu a putut fi initializat."), QStringLiteral("HY000"));
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
                throwError(d, QStringLiteral("Driverul ODBC a refuzat conexiunea fara sa spuna de ce."));
            }
            capture.finish(true);
            mConnected = true;
            SQLUSMALLINT txn = SQL_TC_NONE;
            if (succeeded(SQLGetInfoW(mDbc, SQL_TXN_CAPABLE, &txn, sizeof(txn), nullptr)))
                mTransactions = txn != SQL_TC_NONE;
            mEngine = engineOf(infoText(mDbc, SQL_DBMS_NAME), infoText(mDbc, SQL_DRIVER_NAME));
            // MDB Tools reads Access files but cannot write them.
            mReadOnly = infoText(mDbc, SQL_DATA_SOURCE_READ_ONLY).compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0
                        || mEngine == Engine::MdbTools;
        } catch (...) {
            release();
            throw;
        }
    }

    ~OdbcProvider() override { release(); }

    void close() override { release(); }
    bool isConnected() const override { return mConnected; }
    bool isAlive() const override
    {
        if (!mConnected)
            return false;
        SQLUINTEGER dead = SQL_CD_FALSE;
        if (!succeeded(SQLGetConnectAttrW(mDbc, SQL_ATTR_CONNECTION_DEAD, &dead, sizeof(dead), nullptr)))
            return true; // a driver that cannot tell: the first command will
        return dead != SQL_CD_TRUE;
    }

    qint64 execute(const QString &sql) override
    {
        Statement st(dbc());
        WText text(sql);
        const SQLRETURN rc = SQLExecDirectW(st.handle(), text.ptr(), SQL_NTS);
        if (rc == SQL_NO_DATA)
            return 0; // a searched UPDATE or DELETE that touched no row
        st.check(rc, "SQLExecDirect");
        SQLLEN count = -1;
        if (!succeeded(SQLRowCount(st.handle(), &count)))
            count = -1;
        return static_cast<qint64>(count);
    }

    // A transaction is the connection in manual-commit mode; it ends with
    // SQLEndTran and the return to autocommit.
    void beginTrans() override
    {
        dbc();
        if (!mTransactions)
            throw DbError(E_FAIL, QStringLiteral("Driverul ODBC nu suporta tranzactii."), QStringLiteral("HYC00"));
        if (mInTransaction)
            throw DbError(ADO_E_ILLEGALOPERATION, QStringLiteral("O tranzactie este deja deschisa."));
        if (!succeeded(setAutocommit(false))) {
            const Diagnostics failure = readDiagnostics(SQL_HANDLE_DBC, mDbc);
            setAutocommit(true); // nothing ran since: this commits nothing
            throwError(failure, QStringLiteral("Tranzactia nu a putut incepe."));
        }
        mInTransaction = true;
    }

    void commitTrans() override
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
        throwError(failure, QStringLiteral("Tranzactia nu a putut fi salvata."));
    }

    void rollbackTrans() override
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
            failure.messages.append(QStringLiteral("Tranzactia nu a putut fi anulata."));
        failure.messages.append(lostText());
        drop(lostText());
        throwError(failure, QString());
    }

    bool inTransaction() const override { return mConnected && mInTransaction; }

    SqlDialect dialect() const override
    {
        switch (mEngine) {
        case Engine::PostgreSql: return SqlDialect::PostgreSql;
        case Engine::MySql: return SqlDialect::MySql;
        case Engine::Sqlite: return SqlDialect::Sqlite;
        default: return SqlDialect::Generic;
        }
    }

    bool weaklyTyped() const override { return mEngine == Engine::Sqlite; }
    bool isReadOnly() const override { return mReadOnly; }
    void forgetCatalog() override { mCatalog.reset(); }

    Recordset query(const QString &sql, LockType lock, int maxRows) override
    {
        Q_UNUSED(lock); // ODBC recordsets are read-only snapshots
        Statement st(dbc());
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
    }

    Recordset tables() override
    {
        Statement st(dbc());
        st.check(SQLTablesW(st.handle(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), "SQLTables");
        QList<Column> columns{{QStringLiteral("TABLE_SCHEMA"), adVarWChar},
                              {QStringLiteral("TABLE_NAME"), adVarWChar},
                              {QStringLiteral("TABLE_TYPE"), adVarWChar}};
        std::vector<QList<Variant>> rows;
        for (;;) {
            const SQLRETURN rc = SQLFetch(st.handle());
            if (rc == SQL_NO_DATA)
                break;
            st.check(rc, "SQLFetch");
            const Variant schema = columnTextOrNull(st, 2);
            const QString name = columnText(st, 3);
            const QString type = normaliseTableType(columnText(st, 4));
            if (name.isEmpty())
                continue;
            rows.push_back({schema, Variant(name), Variant(type)});
        }
        return Recordset(columns, std::move(rows));
    }

    Recordset columns(const QString &schema, const QString &table) override
    {
        QList<Column> columns{{QStringLiteral("COLUMN_NAME"), adVarWChar},
                              {QStringLiteral("DATA_TYPE"), adInteger},
                              {QStringLiteral("TYPE_NAME"), adVarWChar},
                              {QStringLiteral("ORDINAL_POSITION"), adInteger}};
        std::vector<QList<Variant>> rows;
        int position = 0;
        for (const CatalogColumn &c : catalogColumns(schema, table))
            rows.push_back({Variant(c.name), Variant(c.adoType), Variant(c.typeName), Variant(++position)});
        return Recordset(columns, std::move(rows));
    }

    ColumnType columnType(const QString &schema, const QString &table, const QString &column) override
    {
        const std::vector<CatalogColumn> columns = catalogColumns(schema, table);
        if (columns.empty())
            throw DbError(DB_E_ERRORSINCOMMAND, QStringLiteral("Tabelul %1 nu exista.").arg(table), QStringLiteral("42S02"));
        const CatalogColumn *c = findColumn(columns, column);
        if (!c)
            throw DbError(DB_E_ERRORSINCOMMAND, QStringLiteral("Coloana %1 nu exista in tabelul %2.").arg(column, table),
                          QStringLiteral("42S22"));
        switch (mEngine) {
        case Engine::PostgreSql:
            return postgresColumnType(schema, *c);
        case Engine::MySql:
            return mysqlColumnType(schema, *c);
        case Engine::Sqlite:
            // The SQLite3 driver gives the declared type as the type name
            // (and calls DECIMAL a VARCHAR): SQLite's own rules apply.
            return ColumnType{c->adoType, c->typeName.trimmed(), scaleFromDeclaredType(c->typeName)};
        default:
            return genericColumnType(*c);
        }
    }

private:
    static QString lostText()
    {
        return QStringLiteral("Conexiunea a fost inchisa fara a salva tranzactia; baza de date o anuleaza.");
    }

    SQLHDBC dbc() const
    {
        if (!mConnected)
            throw DbError(ADO_E_ILLEGALOPERATION,
                          mLostReason.isEmpty() ? QStringLiteral("Operatia nu este permisa cand conexiunea este inchisa.")
                                                : mLostReason);
        return mDbc;
    }

    void requireTransaction() const
    {
        dbc();
        if (!mInTransaction)
            throw DbError(ADO_E_ILLEGALOPERATION, QStringLiteral("Nu exista o tranzactie deschisa."));
    }

    SQLRETURN setAutocommit(bool on)
    {
        return SQLSetConnectAttrW(mDbc, SQL_ATTR_AUTOCOMMIT,
                                  reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER);
    }

    SQLRETURN endTran(SQLSMALLINT completion)
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
    void backToAutocommit()
    {
        mInTransaction = false;
        if (!succeeded(setAutocommit(true)))
            drop(QStringLiteral("Conexiunea a fost inchisa: driverul ODBC nu a revenit la salvarea automata a "
                                "fiecarei instructiuni dupa tranzactie."));
    }

    // Ends the connection without committing anything. A driver that
    // refuses to disconnect while a transaction is open (SQLSTATE 25000,
    // the SQLite3 driver) keeps its handle in manual-commit mode, never
    // committed; the database rolls the transaction back when the program
    // ends. Later use of the provider throws `reason`.
    void drop(const QString &reason)
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

    // Rows of SQLColumns for exactly the table asked for, in column order.
    // The last table's list serves again for a moment, while no command has
    // run on any connection since (a field's checks ask for its table's
    // columns twice in a row); on a server every catalog read is a query.
    std::vector<CatalogColumn> catalogColumns(const QString &schema, const QString &table)
    {
        dbc();
        if (mCatalog && mCatalog->generation == schemaGeneration() && !mCatalog->read.hasExpired(2000)
            && mCatalog->schema == schema && mCatalog->table == table)
            return mCatalog->columns;
        mCatalog.reset();
        const quint64 generation = schemaGeneration();
        QElapsedTimer read;
        read.start();
        std::vector<CatalogColumn> kept = readCatalogColumns(schema, table);
        mCatalog = CatalogList{generation, read, schema, table, kept};
        return kept;
    }

    std::vector<CatalogColumn> readCatalogColumns(const QString &schema, const QString &table)
    {
        Statement st(dbc());
        WText schemaText(schema);
        WText tableText(table);
        // MariaDB and MySQL call their databases catalogs and refuse schemas.
        const bool schemaIsCatalog = mEngine == Engine::MySql;
        SQLWCHAR *owner = schema.isEmpty() ? nullptr : schemaText.ptr();
        const SQLSMALLINT ownerLength = schema.isEmpty() ? 0 : SQL_NTS;
        st.check(SQLColumnsW(st.handle(), schemaIsCatalog ? owner : nullptr, schemaIsCatalog ? ownerLength : 0,
                             schemaIsCatalog ? nullptr : owner, schemaIsCatalog ? 0 : ownerLength, tableText.ptr(),
                             SQL_NTS, nullptr, 0),
                 "SQLColumns");
        std::vector<CatalogColumn> found;
        int order = 0;
        for (;;) {
            const SQLRETURN rc = SQLFetch(st.handle());
            if (rc == SQL_NO_DATA)
                break;
            st.check(rc, "SQLFetch");
            CatalogColumn c;
            c.schema = columnText(st, schemaIsCatalog ? 1 : 2);
            c.table = columnText(st, 3);
            c.name = columnText(st, 4);
            c.sqlType = static_cast<int>(columnInteger(st, 5).value_or(0));
            c.typeName = columnText(st, 6);
            c.size = columnInteger(st, 7);
            c.digits = columnInteger(st, 9);
            c.ordinal = columnInteger(st, 17).value_or(0);
            c.adoType = refineByTypeName(adoTypeFromSqlType(c.sqlType, typeNameIsUnsigned(c.typeName)), c.typeName);
            c.order = order++;
            found.push_back(c);
        }
        // The arguments are search patterns ("_" matches any character):
        // keep the table asked for, exactly when it is there.
        auto matches = [&](const CatalogColumn &c, Qt::CaseSensitivity cs) {
            return c.table.compare(table, cs) == 0 && (schema.isEmpty() || c.schema.compare(schema, cs) == 0);
        };
        std::vector<CatalogColumn> kept;
        for (const CatalogColumn &c : found)
            if (matches(c, Qt::CaseSensitive))
                kept.push_back(c);
        if (kept.empty())
            for (const CatalogColumn &c : found)
                if (matches(c, Qt::CaseInsensitive))
                    kept.push_back(c);
        std::stable_sort(kept.begin(), kept.end(), [](const CatalogColumn &a, const CatalogColumn &b) {
            if (a.ordinal > 0 && b.ordinal > 0 && a.ordinal != b.ordinal)
                return a.ordinal < b.ordinal;
            return a.order < b.order;
        });
        return kept;
    }

    // A catalog query whose "?" markers take `params` as text: names reach
    // the server as values, never as SQL.
    Recordset queryWithText(const QString &sql, const QStringList &params)
    {
        Statement st(dbc());
        std::vector<WText> texts;
        texts.reserve(static_cast<size_t>(params.size()));
        std::vector<SQLLEN> lengths(static_cast<size_t>(params.size()));
        for (qsizetype i = 0; i < params.size(); ++i) {
            texts.emplace_back(params.at(i));
            const auto n = static_cast<size_t>(i);
            lengths[n] = static_cast<SQLLEN>(params.at(i).size() * qsizetype(sizeof(SQLWCHAR)));
            st.check(SQLBindParameter(st.handle(), static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_WCHAR,
                                      SQL_WVARCHAR, static_cast<SQLULEN>(std::max<qsizetype>(1, params.at(i).size())), 0,
                                      texts[n].ptr(), lengths[n], &lengths[n]),
                     "SQLBindParameter");
        }
        WText text(sql);
        const SQLRETURN rc = SQLExecDirectW(st.handle(), text.ptr(), SQL_NTS);
        if (rc != SQL_NO_DATA)
            st.check(rc, "SQLExecDirect");
        return snapshot(st, 0);
    }

    // PostgreSQL: the type exactly as the catalog writes it (format_type),
    // so "numeric" stays unconstrained where the driver reports
    // numeric(28,6), and the scale from the type modifier. A domain gives
    // its own name and the scale of its base type. Without a schema the
    // table is the one the search path shows.
    ColumnType postgresColumnType(const QString &schema, const CatalogColumn &c)
    {
        const QString sql = QStringLiteral(
            "SELECT pg_catalog.format_type(a.atttypid, a.atttypmod),"
            " CAST(CASE WHEN t.typtype = 'd' THEN t.typbasetype ELSE a.atttypid END AS bigint),"
            " CASE WHEN t.typtype = 'd' THEN t.typtypmod ELSE a.atttypmod END,"
            " pg_catalog.scale(CAST(CAST('0' AS money) AS numeric))"
            " FROM pg_catalog.pg_attribute a"
            " JOIN pg_catalog.pg_class r ON r.oid = a.attrelid"
            " JOIN pg_catalog.pg_namespace n ON n.oid = r.relnamespace"
            " JOIN pg_catalog.pg_type t ON t.oid = a.atttypid"
            " WHERE CAST(r.relname AS text) = ? AND CAST(a.attname AS text) = ?"
            " AND a.attnum > 0 AND NOT a.attisdropped"
            " AND CASE WHEN ? = '' THEN pg_catalog.pg_table_is_visible(r.oid) ELSE CAST(n.nspname AS text) = ? END");
        Recordset rs = queryWithText(sql, {c.table, c.name, schema, schema});
        if (rs.eof() && schema.isEmpty() && !c.schema.isEmpty()) // a table outside the search path
            rs = queryWithText(sql, {c.table, c.name, c.schema, c.schema});
        // The driver's own description is no substitute: it calls an
        // unconstrained numeric numeric(28,6).
        if (rs.eof())
            throw DbError(DB_E_ERRORSINCOMMAND, QStringLiteral("Coloana %1 nu exista in tabelul %2.").arg(c.name, c.table),
                          QStringLiteral("42S22"));
        return ColumnType{c.adoType, rs.value(0).toString(),
                          postgresScale(rs.value(1).toInt(), rs.value(2).toInt(), rs.value(3).toInt())};
    }

    // MariaDB and MySQL: COLUMN_TYPE as the server writes it ("decimal(18,2)",
    // "int(11)", "bigint(20) unsigned", "float(7,2)"), the same type for the
    // copy; NUMERIC_SCALE gives the decimals (0 for integers, D of
    // FLOAT(M,D), Null for FLOAT and DOUBLE).
    ColumnType mysqlColumnType(const QString &schema, const CatalogColumn &c)
    {
        Recordset rs = queryWithText(QStringLiteral("SELECT COLUMN_TYPE, NUMERIC_SCALE, TABLE_NAME, COLUMN_NAME, DATA_TYPE"
                                                    " FROM information_schema.COLUMNS"
                                                    " WHERE TABLE_SCHEMA = COALESCE(NULLIF(?, ''), DATABASE())"
                                                    " AND TABLE_NAME = ? AND COLUMN_NAME = ?"),
                                     {schema, c.table, c.name});
        for (; !rs.eof(); rs.moveNext()) {
            if (rs.value(2).toString() != c.table || rs.value(3).toString() != c.name)
                continue; // a name that only differs in case
            const Variant scale = rs.value(1);
            ColumnType t{c.adoType, rs.value(0).toString(), scale.isNull() ? -1 : static_cast<int>(scale.toInt())};
            // The driver lists FLOAT(M,D) and DOUBLE(M,D) as DECIMAL but
            // describes their values as the floating types they are.
            const QString dataType = rs.value(4).toString().toLower();
            if (dataType == QLatin1String("float"))
                t.adoType = adSingle;
            else if (dataType == QLatin1String("double"))
                t.adoType = adDouble;
            return t;
        }
        return genericColumnType(c);
    }

    Recordset snapshot(const Statement &st, int maxRows)
    {
        SQLSMALLINT count = 0;
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
        return Recordset(columns, std::move(rows));
    }

    void release()
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

    SQLHENV mEnv = SQL_NULL_HENV;
    SQLHDBC mDbc = SQL_NULL_HDBC;
    bool mConnected = false;
    bool mTransactions = true;
    bool mInTransaction = false;
    Engine mEngine = Engine::Other;
    bool mReadOnly = false;
    struct CatalogList {
        quint64 generation = 0;
        QElapsedTimer read; // another program may change the table too: kept for a moment only
        QString schema;
        QString table;
        std::vector<CatalogColumn> columns;
    };
    std::optional<CatalogList> mCatalog;
    QString mLostReason;
};

} // namespace

// The declaration names the column's own type, so that the copy of every
// value is exact by construction:
// - SQL Server (FreeTDS): int, bigint, smallint, tinyint copy whole numbers
//   unchanged; decimal/numeric are reported with COLUMN_SIZE p and
//   DECIMAL_DIGITS s and declared decimal(p,s), the same fixed-point type; float
//   is float(53) and real float(24), the same binary formats, copied bit for
//   bit; money and smallmoney keep their names (no size is appended) and are
//   the same 4-decimal fixed-point types. "int identity" loses " identity": a
//   second identity column is not allowed and the copy needs none.
// - Oracle: NUMBER(p,s) is reported as DECIMAL with p and s and declared
//   NUMBER(p,s); NUMBER without precision has no DECIMAL_DIGITS, so it is
//   declared NUMBER, the same unconstrained decimal type; BINARY_DOUBLE and
//   BINARY_FLOAT keep their names, the same IEEE formats.
// The scale: 0 for integer types, DECIMAL_DIGITS for decimal types (-1
// when not given), 4 for money types, -1 for floating types and the rest.
ColumnType columnTypeFromCatalog(int sqlType, const QString &typeName, std::optional<qint64> size,
                                 std::optional<qint64> digits, int adoType)
{
    ColumnType t;
    t.adoType = adoType;
    QString name = typeName.trimmed();
    if (name.endsWith(QLatin1String(" identity"), Qt::CaseInsensitive))
        name.chop(9);
    name = name.trimmed();
    if (name.endsWith(QLatin1String("()"))) // SQL Server's "numeric() identity"
        name.chop(2);
    const bool decimal = sqlType == SQL_DECIMAL || sqlType == SQL_NUMERIC;
    if (decimal && !isMoneyName(name) && !name.contains(QLatin1Char('(')) && size && digits)
        name += QStringLiteral("(%1,%2)").arg(*size).arg(*digits);
    t.declaration = name;
    switch (sqlType) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
        t.scale = 0;
        break;
    default:
        if (isMoneyName(typeName))
            t.scale = 4;
        else if (decimal)
            t.scale = digits ? static_cast<int>(*digits) : -1;
        else
            t.scale = -1;
    }
    return t;
}

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

std::unique_ptr<Provider> openOdbcProvider(const QString &connectionString)
{
    return std::make_unique<OdbcProvider>(odbcConnectionString(connectionString));
}

void failNextOdbcRollbacks(int count)
{
    gFailingRollbacks.store(std::max(count, 0));
}

} // namespace db
