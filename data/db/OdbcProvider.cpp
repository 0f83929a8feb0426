#include "data/db/OdbcProvider.h"

#include "data/db/AdoTypes.h"
#include "data/db/DbError.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC must use 16-bit SQLWCHAR");

namespace db {

namespace {

// ---- text between QString and the driver manager's UTF-16 ----

struct WText {
    explicit WText(const QString &s) : text(s) {}
    SQLWCHAR *ptr() { return reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(reinterpret_cast<const char16_t *>(text.utf16()))); }
    QString text;
};

QString fromW(const SQLWCHAR *s, qsizetype chars)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(s), chars);
}

QString fromW(const SQLWCHAR *s)
{
    qsizetype n = 0;
    while (s[n] != 0)
        ++n;
    return fromW(s, n);
}

bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// ---- diagnostics ----

struct Diagnostics {
    QString state;
    QStringList messages;
};

Diagnostics readDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    Diagnostics d;
    if (handle == SQL_NULL_HANDLE)
        return d;
    for (SQLSMALLINT rec = 1; rec <= 64; ++rec) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::vector<SQLWCHAR> message(1024);
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, rec, state, &native, message.data(),
                                      static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.resize(static_cast<size_t>(length) + 1);
            rc = SQLGetDiagRecW(handleType, handle, rec, state, &native, message.data(),
                                static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!succeeded(rc))
            break;
        if (rec == 1)
            d.state = fromW(state);
        const qsizetype chars = std::clamp<qsizetype>(length, 0, static_cast<qsizetype>(message.size()) - 1);
        QString text = fromW(message.data(), chars).trimmed();
        if (!text.isEmpty())
            d.messages.append(text);
    }
    return d;
}

[[noreturn]] void throwError(Diagnostics d, const QString &fallback)
{
    // A driver that fails without a diagnostic record (or with one that has
    // no SQLSTATE) gives E_FAIL: nothing says the command was at fault.
    if (d.messages.isEmpty())
        d.messages.append(fallback);
    throw DbError(DbError::numberForSqlState(d.state), d.messages.join(QLatin1Char('\n')), d.state);
}

[[noreturn]] void throwDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const QString &fallback)
{
    throwError(readDiagnostics(handleType, handle), fallback);
}

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

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char *what)
{
    if (!succeeded(rc))
        throwDiagnostics(handleType, handle,
                         QStringLiteral("Apelul ODBC %1 a esuat (cod %2).").arg(QLatin1String(what)).arg(rc));
}

// ---- types ----

// Type names that say more than the SQL type the driver reports: money
// columns (SQL Server's money, Access's Currency, PostgreSQL's money) and
// booleans that a driver hands over as characters.
// A driver that reports a money column as text (SQLite3 ODBC) keeps its
// word: only a number type is taken for money.
int refineByTypeName(int adoType, const QString &typeName)
{
    const QString name = typeName.trimmed().toLower();
    const bool numeric = adoType == adNumeric || adoType == adDouble || adoType == adSingle || adoType == adInteger
                         || adoType == adBigInt || adoType == adSmallInt;
    if (numeric && (name == QLatin1String("money") || name == QLatin1String("smallmoney") || name == QLatin1String("currency")))
        return adCurrency;
    if (name == QLatin1String("bool") || name == QLatin1String("boolean"))
        return adBoolean;
    return adoType;
}

bool typeNameIsUnsigned(const QString &typeName)
{
    return typeName.contains(QLatin1String("unsigned"), Qt::CaseInsensitive);
}

// How a value of a SQL type is read into a Variant.
enum class Fetch { Integer, UnsignedBig, Double, Decimal, Text, Date, Time, Timestamp, Bit, Binary };

Fetch fetchKindFor(int sqlType, bool isUnsigned)
{
    switch (sqlType) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
        return Fetch::Integer;
    case SQL_BIGINT:
        return isUnsigned ? Fetch::UnsignedBig : Fetch::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return Fetch::Double;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return Fetch::Decimal;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return Fetch::Date;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return Fetch::Time;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return Fetch::Timestamp;
    case SQL_BIT:
        return Fetch::Bit;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return Fetch::Binary;
    default:
        return Fetch::Text;
    }
}

QDateTime makeDateTime(int year, int month, int day, int hour, int minute, int second, qint64 fractionNs)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, static_cast<int>(fractionNs / 1000000));
    return QDateTime(date, time);
}

Variant parseDateText(const QString &text)
{
    QString t = text.trimmed();
    QDateTime dt = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (!dt.isValid())
        dt = QDateTime::fromString(QString(t).replace(QLatin1Char(' '), QLatin1Char('T')), Qt::ISODateWithMs);
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(t, Qt::ISODate);
        if (d.isValid())
            dt = QDateTime(d, QTime(0, 0));
    }
    return dt.isValid() ? Variant(dt) : Variant(text);
}

// ---- handles ----

class Statement {
public:
    explicit Statement(SQLHDBC dbc)
    {
        const SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, dbc, &mStmt);
        if (!succeeded(rc)) {
            mStmt = SQL_NULL_HSTMT;
            db::check(rc, SQL_HANDLE_DBC, dbc, "SQLAllocHandle");
        }
    }
    ~Statement()
    {
        if (mStmt != SQL_NULL_HSTMT) {
            SQLFreeStmt(mStmt, SQL_CLOSE);
            SQLFreeHandle(SQL_HANDLE_STMT, mStmt);
        }
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    SQLHSTMT handle() const { return mStmt; }
    void check(SQLRETURN rc, const char *what) const { db::check(rc, SQL_HANDLE_STMT, mStmt, what); }

private:
    SQLHSTMT mStmt = SQL_NULL_HSTMT;
};

struct ResultColumn {
    QString name;
    int sqlType = 0;
    bool isUnsigned = false;
    int adoType = 0;
    Fetch fetch = Fetch::Text;
};

// ---- reading values ----

// Reads the whole character value of a column as UTF-16, piece by piece.
// Returns false for SQL NULL.
bool readText(const Statement &st, SQLUSMALLINT col, QString &out, bool &failed)
{
    failed = false;
    out.clear();
    std::vector<SQLWCHAR> buffer(2048);
    bool gotAny = false;
    for (;;) {
        SQLLEN indicator = 0;
        const SQLLEN bytes = static_cast<SQLLEN>(buffer.size() * sizeof(SQLWCHAR));
        const SQLRETURN rc = SQLGetData(st.handle(), col, SQL_C_WCHAR, buffer.data(), bytes, &indicator);
        if (rc == SQL_NO_DATA)
            break;
        if (!succeeded(rc)) {
            if (!gotAny) {
                failed = true;
                return false;
            }
            st.check(rc, "SQLGetData");
        }
        if (indicator == SQL_NULL_DATA)
            return false;
        gotAny = true;
        const qsizetype capacity = static_cast<qsizetype>(buffer.size()) - 1;
        qsizetype chars = capacity;
        const bool truncated = rc == SQL_SUCCESS_WITH_INFO
                               && (indicator == SQL_NO_TOTAL || indicator >= bytes - static_cast<SQLLEN>(sizeof(SQLWCHAR)));
        if (!truncated && indicator != SQL_NO_TOTAL)
            chars = std::min<qsizetype>(capacity, indicator / static_cast<SQLLEN>(sizeof(SQLWCHAR)));
        else if (!truncated) {
            chars = 0;
            while (chars < capacity && buffer[static_cast<size_t>(chars)] != 0)
                ++chars;
        }
        out += fromW(buffer.data(), chars);
        if (!truncated)
            break;
    }
    return true;
}

Variant textVariant(const Statement &st, SQLUSMALLINT col)
{
    QString text;
    bool failed = false;
    if (!readText(st, col, text, failed)) {
        if (failed)
            st.check(SQL_ERROR, "SQLGetData");
        return Variant::null();
    }
    return Variant(text);
}

// Reads a fixed-size value; on a driver that cannot convert to the C type,
// falls back to the text form. Returns false for SQL NULL.
template <typename T>
bool readFixed(const Statement &st, SQLUSMALLINT col, SQLSMALLINT cType, T &value, bool &unsupported)
{
    SQLLEN indicator = 0;
    unsupported = false;
    const SQLRETURN rc = SQLGetData(st.handle(), col, cType, &value, sizeof(T), &indicator);
    if (!succeeded(rc)) {
        unsupported = true;
        return false;
    }
    return indicator != SQL_NULL_DATA;
}

Variant readValue(const Statement &st, SQLUSMALLINT col, const ResultColumn &column)
{
    bool unsupported = false;
    switch (column.fetch) {
    case Fetch::Integer: {
        SQLBIGINT v = 0;
        if (readFixed(st, col, SQL_C_SBIGINT, v, unsupported))
            return Variant(static_cast<qint64>(v));
        if (!unsupported)
            return Variant::null();
        const Variant t = textVariant(st, col);
        if (t.isNull())
            return t;
        bool ok = false;
        const qint64 n = t.toString().trimmed().toLongLong(&ok);
        return ok ? Variant(n) : t;
    }
    case Fetch::UnsignedBig: {
        const Variant t = textVariant(st, col);
        if (t.isNull())
            return t;
        bool ok = false;
        const qint64 n = t.toString().trimmed().toLongLong(&ok);
        return ok ? Variant(n) : Variant::decimal(t.toString().trimmed());
    }
    case Fetch::Double: {
        double v = 0;
        if (readFixed(st, col, SQL_C_DOUBLE, v, unsupported))
            return Variant(v);
        if (!unsupported)
            return Variant::null();
        const Variant t = textVariant(st, col);
        if (t.isNull())
            return t;
        bool ok = false;
        const double d = t.toString().trimmed().toDouble(&ok);
        return ok ? Variant(d) : t;
    }
    case Fetch::Decimal: {
        const Variant t = textVariant(st, col);
        if (t.isNull())
            return t;
        QString text = t.toString().trimmed();
        if (text.startsWith(QLatin1Char('.')))
            text.prepend(QLatin1Char('0'));
        else if (text.startsWith(QLatin1String("-.")))
            text.insert(1, QLatin1Char('0'));
        return Variant::decimal(text);
    }
    case Fetch::Date:
    case Fetch::Timestamp: {
        SQL_TIMESTAMP_STRUCT ts{};
        if (readFixed(st, col, SQL_C_TYPE_TIMESTAMP, ts, unsupported))
            return Variant(makeDateTime(ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second, ts.fraction));
        if (!unsupported)
            return Variant::null();
        const Variant t = textVariant(st, col);
        return t.isNull() ? t : parseDateText(t.toString());
    }
    case Fetch::Time: {
        SQL_TIME_STRUCT tm{};
        if (readFixed(st, col, SQL_C_TYPE_TIME, tm, unsupported))
            return Variant(makeDateTime(1899, 12, 30, tm.hour, tm.minute, tm.second, 0));
        if (!unsupported)
            return Variant::null();
        const Variant t = textVariant(st, col);
        if (t.isNull())
            return t;
        const QTime time = QTime::fromString(t.toString().trimmed(), Qt::ISODateWithMs);
        return time.isValid() ? Variant(QDateTime(QDate(1899, 12, 30), time)) : t;
    }
    case Fetch::Bit: {
        unsigned char v = 0;
        if (readFixed(st, col, SQL_C_BIT, v, unsupported))
            return Variant(v != 0);
        if (!unsupported)
            return Variant::null();
        const Variant t = textVariant(st, col);
        if (t.isNull())
            return t;
        const QString s = t.toString().trimmed().toLower();
        return Variant(!(s.isEmpty() || s == QLatin1String("0") || s == QLatin1String("f")
                         || s == QLatin1String("false") || s == QLatin1String("no")));
    }
    case Fetch::Binary:
        // Binary values have no Variant kind; they are kept in the hexadecimal
        // text form ODBC gives them.
    case Fetch::Text:
        return textVariant(st, col);
    }
    return Variant::null();
}

QString columnText(const Statement &st, SQLUSMALLINT col)
{
    QString text;
    bool failed = false;
    readText(st, col, text, failed);
    return failed ? QString() : text;
}

Variant columnTextOrNull(const Statement &st, SQLUSMALLINT col)
{
    QString text;
    bool failed = false;
    if (!readText(st, col, text, failed))
        return Variant::null();
    return Variant(text);
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
        } catch (...) {
            release();
            throw;
        }
    }

    ~OdbcProvider() override { release(); }

    void close() override { release(); }

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

    void beginTrans() override
    {
        dbc();
        if (!mTransactions)
            throw DbError(E_FAIL, QStringLiteral("Driverul ODBC nu suporta tranzactii."), QStringLiteral("HYC00"));
        check(SQLSetConnectAttrW(mDbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER),
              SQL_HANDLE_DBC, mDbc, "SQLSetConnectAttr");
        mInTransaction = true;
    }

    void commitTrans() override { endTransaction(SQL_COMMIT); }
    void rollbackTrans() override { endTransaction(SQL_ROLLBACK); }

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
        Statement st(dbc());
        WText schemaText(schema);
        WText tableText(table);
        st.check(SQLColumnsW(st.handle(), nullptr, 0, schema.isEmpty() ? nullptr : schemaText.ptr(),
                             schema.isEmpty() ? 0 : SQL_NTS, tableText.ptr(), SQL_NTS, nullptr, 0),
                 "SQLColumns");
        struct Found {
            QString schema, table, name, typeName;
            int adoType;
            qint64 ordinal;
            int order;
        };
        std::vector<Found> found;
        int order = 0;
        for (;;) {
            const SQLRETURN rc = SQLFetch(st.handle());
            if (rc == SQL_NO_DATA)
                break;
            st.check(rc, "SQLFetch");
            Found f;
            f.schema = columnText(st, 2);
            f.table = columnText(st, 3);
            f.name = columnText(st, 4);
            SQLSMALLINT dataType = 0;
            SQLLEN ind = 0;
            if (!succeeded(SQLGetData(st.handle(), 5, SQL_C_SSHORT, &dataType, sizeof(dataType), &ind))
                || ind == SQL_NULL_DATA)
                dataType = 0;
            const QString typeName = columnText(st, 6);
            SQLINTEGER ordinal = 0;
            ind = 0;
            if (!succeeded(SQLGetData(st.handle(), 17, SQL_C_SLONG, &ordinal, sizeof(ordinal), &ind))
                || ind == SQL_NULL_DATA)
                ordinal = 0;
            f.typeName = typeName;
            f.adoType = refineByTypeName(adoTypeFromSqlType(dataType, typeNameIsUnsigned(typeName)), typeName);
            f.ordinal = ordinal;
            f.order = order++;
            found.push_back(f);
        }
        // The arguments are search patterns ("_" matches any character):
        // keep the table asked for, exactly when it is there.
        auto matches = [&](const Found &f, Qt::CaseSensitivity cs) {
            return f.table.compare(table, cs) == 0 && (schema.isEmpty() || f.schema.compare(schema, cs) == 0);
        };
        std::vector<Found> kept;
        for (const Found &f : found)
            if (matches(f, Qt::CaseSensitive))
                kept.push_back(f);
        if (kept.empty())
            for (const Found &f : found)
                if (matches(f, Qt::CaseInsensitive))
                    kept.push_back(f);
        std::stable_sort(kept.begin(), kept.end(), [](const Found &a, const Found &b) {
            if (a.ordinal > 0 && b.ordinal > 0 && a.ordinal != b.ordinal)
                return a.ordinal < b.ordinal;
            return a.order < b.order;
        });
        QList<Column> columns{{QStringLiteral("COLUMN_NAME"), adVarWChar},
                              {QStringLiteral("DATA_TYPE"), adInteger},
                              {QStringLiteral("TYPE_NAME"), adVarWChar},
                              {QStringLiteral("ORDINAL_POSITION"), adInteger}};
        std::vector<QList<Variant>> rows;
        int position = 0;
        for (const Found &f : kept)
            rows.push_back({Variant(f.name), Variant(f.adoType), Variant(f.typeName), Variant(++position)});
        return Recordset(columns, std::move(rows));
    }

private:
    SQLHDBC dbc()
    {
        if (!mConnected)
            throw DbError(ADO_E_ILLEGALOPERATION, QStringLiteral("Operatia nu este permisa cand conexiunea este inchisa."));
        return mDbc;
    }

    void endTransaction(SQLSMALLINT completion)
    {
        dbc();
        if (!mInTransaction)
            throw DbError(ADO_E_ILLEGALOPERATION, QStringLiteral("Nu exista o tranzactie deschisa."));
        const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, mDbc, completion);
        // Whatever the outcome, the connection goes back to autocommit.
        Diagnostics failure;
        if (!succeeded(rc))
            failure = readDiagnostics(SQL_HANDLE_DBC, mDbc);
        SQLSetConnectAttrW(mDbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER);
        mInTransaction = false;
        if (!succeeded(rc)) {
            throwError(failure, QStringLiteral("Tranzactia nu a putut fi incheiata."));
        }
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
};

} // namespace

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

std::unique_ptr<Provider> openOdbcProvider(const QString &connectionString)
{
    return std::make_unique<OdbcProvider>(connectionString);
}

} // namespace db
