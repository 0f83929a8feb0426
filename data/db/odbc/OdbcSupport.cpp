#include "data/db/odbc/OdbcSupport.h"

#include "data/db/AdoTypes.h"
#include "data/db/ConnString.h"
#include "data/db/DbError.h"
#include "data/db/odbc/OdbcProvider.h"

#include <odbcinst.h>

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <vector>

namespace db::odbc {

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
        if (rec == 1) {
            d.state = fromW(state);
            d.native = static_cast<int>(native);
        }
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

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char *what)
{
    if (!succeeded(rc))
        throwDiagnostics(handleType, handle,
                         QCoreApplication::translate("OdbcSupport", "Apelul ODBC %1 a esuat (cod %2).")
                             .arg(QLatin1String(what), QString::number(rc)));
}

// ---- handles ----

void InFlight::begin(SQLHSTMT statement)
{
    const std::lock_guard<std::mutex> lock(mMutex);
    mCurrent = statement;
    mCancelled = false;
}

void InFlight::end(SQLHSTMT statement)
{
    const std::lock_guard<std::mutex> lock(mMutex);
    if (mCurrent == statement)
        mCurrent = SQL_NULL_HSTMT;
}

void InFlight::cancel()
{
    const std::lock_guard<std::mutex> lock(mMutex);
    if (mCurrent == SQL_NULL_HSTMT)
        return;
    mCancelled = true;
    SQLCancel(mCurrent);
}

bool InFlight::cancelled(SQLHSTMT statement)
{
    const std::lock_guard<std::mutex> lock(mMutex);
    return mCancelled && mCurrent == statement;
}

void throwIfCluster(const Diagnostics &d, bool galera)
{
    const QString said = d.messages.join(QLatin1Char('\n'));
    const auto fail = [&](const QString &explained) {
        throw DbError(E_FAIL, explained + QLatin1Char('\n') + said, QStringLiteral("HY000"));
    };
    // A node cut off from the rest of its cluster (not in the primary
    // component) answers, but refuses every command on a table: ER 1047.
    // The node is alive, so it is not told as a lost connection.
    if (d.native == 1047)
        fail(QCoreApplication::translate("OdbcSupport",
                                         "Nodul clusterului Galera prin care se conecteaza aceasta sursa de date este "
                                         "despartit de celelalte noduri (nu face parte din componenta principala a "
                                         "clusterului) si nu primeste comenzi; conversia se face printr-un nod legat "
                                         "de cluster."));
    // The node left the primary component while the transaction was being
    // replicated (another node stopped, and the cluster was forming its new
    // membership): the transaction was rolled back.
    if (galera && said.contains(QLatin1String("Not connected to Primary Component"), Qt::CaseInsensitive))
        fail(QCoreApplication::translate("OdbcSupport",
                                         "Nodul clusterului Galera prin care se conecteaza aceasta sursa de date nu "
                                         "facea parte din componenta principala a clusterului cand tranzactia a fost "
                                         "trimisa celorlalte noduri (de exemplu, un alt nod tocmai se oprise). "
                                         "Tranzactia a fost anulata si nicio suma nu a fost schimbata; conversia se "
                                         "poate relua."));
    // A write set over the cluster's limits: the statement that reaches
    // the number of rows, or the commit that replicates too many bytes.
    if (said.contains(QLatin1String("wsrep_max_ws_rows"), Qt::CaseInsensitive))
        fail(QCoreApplication::translate("OdbcSupport",
                                         "Tranzactia depaseste numarul de inregistrari pe care clusterul Galera il "
                                         "accepta intr-o singura tranzactie (variabila wsrep_max_ws_rows a serverului); "
                                         "nicio suma nu a fost schimbata. Administratorul bazei de date poate mari limita "
                                         "pe fiecare nod, de exemplu cu SET GLOBAL wsrep_max_ws_rows = 0 (fara limita) "
                                         "si in fisierul de configurare al serverului, sectiunea [galera]; apoi "
                                         "conversia se reia."));
    if (galera && (said.contains(QLatin1String("writeset size"), Qt::CaseInsensitive)
                   || said.contains(QLatin1String("wsrep_max_ws_size"), Qt::CaseInsensitive)))
        fail(QCoreApplication::translate("OdbcSupport",
                                         "Tranzactia depaseste marimea pe care clusterul Galera o accepta intr-o "
                                         "singura tranzactie (variabila wsrep_max_ws_size a serverului); nicio suma nu a "
                                         "fost schimbata. Administratorul bazei de date poate mari limita pe fiecare "
                                         "nod, pana la SET GLOBAL wsrep_max_ws_size = 2147483647 (2 GB), si in "
                                         "fisierul de configurare al serverului, sectiunea [galera]; apoi conversia "
                                         "se reia."));
    // Certification: another node committed changes to the same rows
    // first, and this transaction was refused (at its commit, or aborted
    // by the other node's changes while it ran).
    if (galera && d.native == 1213)
        fail(QCoreApplication::translate("OdbcSupport",
                                         "Clusterul Galera a refuzat tranzactia: alt nod al clusterului a modificat in "
                                         "acelasi timp aceleasi inregistrari (conflict de certificare). Tranzactia a "
                                         "fost anulata si nicio suma nu a fost schimbata; conversia se poate relua."));
}

bool isLinkLost(Engine engine, const Diagnostics &d)
{
    if (d.state.startsWith(QLatin1String("08")))
        return true;
    // CR_SERVER_GONE_ERROR, CR_SERVER_LOST
    return engine == Engine::MySql && (d.native == 2006 || d.native == 2013);
}

bool isLockTimeout(Engine engine, const Diagnostics &d)
{
    switch (engine) {
    case Engine::PostgreSql: return d.state == QLatin1String("55P03"); // lock_not_available
    case Engine::MySql: return d.native == 1205; // ER_LOCK_WAIT_TIMEOUT (a deadlock is 1213)
    case Engine::Sqlite: return d.native == 5 || d.native == 6; // SQLITE_BUSY, SQLITE_LOCKED
    default: return false;
    }
}

bool isStatementTimeout(Engine engine, const Diagnostics &d)
{
    if (d.state == QLatin1String("HYT00") || d.state == QLatin1String("S1T00")) // the driver's own timer
        return true;
    switch (engine) {
    case Engine::PostgreSql: // query_canceled, by statement_timeout (a cancel is told before)
        return d.state == QLatin1String("57014")
               && d.messages.join(QLatin1Char(' ')).contains(QLatin1String("statement timeout"), Qt::CaseInsensitive);
    case Engine::MySql: return d.native == 1969 || d.native == 3024; // max_statement_time, max_execution_time
    default: return false;
    }
}

void Statement::check(SQLRETURN rc, const char *what) const
{
    if (succeeded(rc))
        return;
    requireNotCancelled();
    Diagnostics d = readDiagnostics(SQL_HANDLE_STMT, mStmt);
    if (mInFlight && isLockTimeout(mInFlight->engine, d))
        throw DbError::lockTimeout(d.messages.join(QLatin1Char('\n')), d.state);
    if (mInFlight && mInFlight->timeoutSeconds > 0 && isStatementTimeout(mInFlight->engine, d))
        throw DbError::statementTimeout(mInFlight->timeoutSeconds);
    if (mInFlight && mInFlight->engine == Engine::MySql)
        throwIfCluster(d, mInFlight->galera);
    throwError(d, QCoreApplication::translate("OdbcSupport", "Apelul ODBC %1 a esuat (cod %2).")
                      .arg(QLatin1String(what), QString::number(rc)));
}

void Statement::requireNotCancelled() const
{
    if (mInFlight && mInFlight->cancelled(mStmt))
        throw DbError::cancelled();
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

std::optional<qint64> columnInteger(const Statement &st, SQLUSMALLINT col)
{
    // The catalog's numbers fit 32 bits, and every driver converts to them.
    SQLINTEGER value = 0;
    SQLLEN indicator = 0;
    if (!succeeded(SQLGetData(st.handle(), col, SQL_C_SLONG, &value, sizeof(value), &indicator))
        || indicator == SQL_NULL_DATA)
        return std::nullopt;
    return static_cast<qint64>(value);
}

} // namespace db::odbc

namespace db {

namespace {

// One value of an ODBC configuration file section ("odbc.ini" for a data
// source name, "odbcinst.ini" for a driver), "" when not set.
QString profileValue(const QString &section, const char *key, const char *file)
{
    if (section.isEmpty())
        return QString();
    char buffer[1024] = {};
    const QByteArray name = section.toUtf8();
    const int length = SQLGetPrivateProfileString(name.constData(), key, "", buffer, sizeof(buffer), file);
    return length > 0 ? QString::fromUtf8(buffer, qMin<int>(length, sizeof(buffer) - 1)).trimmed() : QString();
}

// Whether `driver` (a library, or a section of odbcinst.ini) is the one
// whose name or library holds one of `marks`.
bool namesDriver(const QString &driver, std::initializer_list<const char *> marks)
{
    for (const char *mark : marks)
        if (driver.contains(QLatin1String(mark), Qt::CaseInsensitive))
            return true;
    // A driver named by its odbcinst.ini section: the library it loads.
    if (driver.contains(QLatin1Char('/')))
        return false;
    const QString library = profileValue(driver, "Driver", "odbcinst.ini");
    for (const char *mark : marks)
        if (library.contains(QLatin1String(mark), Qt::CaseInsensitive))
            return true;
    return false;
}

bool namesPostgresDriver(const QString &driver)
{
    return namesDriver(driver, {"psqlodbc", "PostgreSQL"});
}

// The driver a string names, by Driver= or by the data source of DSN=; ""
// when it names none.
QString driverOf(const ConnString &parsed)
{
    QString driver = parsed.value(QStringLiteral("Driver")).trimmed();
    if (driver.startsWith(QLatin1Char('{')) && driver.endsWith(QLatin1Char('}')))
        driver = driver.mid(1, driver.size() - 2);
    const QString dsn = parsed.value(QStringLiteral("DSN")).trimmed();
    if (driver.isEmpty() && !dsn.isEmpty())
        driver = profileValue(dsn, "Driver", "odbc.ini");
    return driver;
}

} // namespace

QString withSqliteDriverTimeout(const QString &connectionString, std::optional<qint64> lockTimeoutMs)
{
    ConnString parsed;
    try {
        parsed = ConnString::parse(connectionString);
    } catch (const DbError &) {
        return connectionString;
    }
    const QString driver = driverOf(parsed);
    if (driver.isEmpty() || !namesDriver(driver, {"sqlite3odbc", "SQLite3"}))
        return connectionString;
    if (!lockTimeoutMs && parsed.contains(QStringLiteral("Timeout")))
        return connectionString; // the data source's own wait
    const qint64 ms = std::min<qint64>(lockTimeoutMs.value_or(kDefaultLockTimeoutMs), INT_MAX);
    QStringList kept;
    for (const auto &[key, value] : parsed.items())
        if (key.compare(QLatin1String("Timeout"), Qt::CaseInsensitive) != 0)
            kept << connectionAttribute(key, value);
    return kept.join(QLatin1Char(';')) + QStringLiteral(";Timeout=") + QString::number(ms) + QLatin1Char(';');
}

QString odbcConnectionString(const QString &connectionString)
{
    ConnString parsed;
    try {
        parsed = ConnString::parse(connectionString);
    } catch (const DbError &) {
        return connectionString; // the driver manager says what is wrong
    }
    const QString driver = driverOf(parsed);
    const QString dsn = parsed.value(QStringLiteral("DSN")).trimmed();
    if (driver.isEmpty() || !namesPostgresDriver(driver))
        return connectionString;
    // Each setting under its name or the driver's short name; one the string
    // or its data source sets keeps its value. The driver's logs (CommLog,
    // Debug) stay off unless asked for here: a machine-wide setting would
    // leave a log file in /tmp for every connection Vamor opens.
    struct Setting {
        const char *name;
        const char *shortName;
        const char *value;
    };
    static const Setting settings[] = {
        {"CommLog", "B3", "0"},
        {"Debug", "B2", "0"},
        {"UseDeclareFetch", "B6", "1"},
    };
    QString added;
    for (const Setting &setting : settings) {
        if (parsed.contains(QLatin1String(setting.name)) || parsed.contains(QLatin1String(setting.shortName)))
            continue;
        if (!dsn.isEmpty()
            && (!profileValue(dsn, setting.name, "odbc.ini").isEmpty()
                || !profileValue(dsn, setting.shortName, "odbc.ini").isEmpty()))
            continue;
        added += QLatin1String(setting.name) + QLatin1Char('=') + QLatin1String(setting.value) + QLatin1Char(';');
    }
    if (added.isEmpty())
        return connectionString;
    QString result = connectionString.trimmed();
    if (!result.isEmpty() && !result.endsWith(QLatin1Char(';')))
        result += QLatin1Char(';');
    return result + added;
}

} // namespace db
