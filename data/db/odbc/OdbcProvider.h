#pragma once

#include "data/db/Connection.h"

#include <optional>

namespace db {

// Opens a connection through the unixODBC driver manager (SQLDriverConnect,
// no prompt) with the string odbcConnectionString gives, without its
// LockTimeout; `lockTimeoutMs` (the string's, nullopt for the default) is
// set with the engine's own SQL on PostgreSQL and MariaDB/MySQL, and as the
// SQLite3 driver's Timeout.
std::unique_ptr<Provider> openOdbcProvider(const QString &connectionString,
                                           std::optional<qint64> lockTimeoutMs = std::nullopt);

// The string handed to the driver manager: the string as written, and for
// the PostgreSQL driver (named by Driver=, or by the data source of DSN=)
// "UseDeclareFetch=1" added when neither the string nor its data source sets
// it (nor its short name "B6"), so that results are read through a cursor a
// few rows at a time and a one-row probe reads one row, whatever the
// machine's driver settings say.
QString odbcConnectionString(const QString &connectionString);

// For the SQLite3 ODBC driver, which waits for a file another program locks
// as long as its own "Timeout" (milliseconds) says whatever SQLite is told:
// the string with that Timeout set to `lockTimeoutMs` (nullopt: the default,
// unless the string sets its own Timeout). Any other string as written.
QString withSqliteDriverTimeout(const QString &connectionString, std::optional<qint64> lockTimeoutMs);

// Seconds a connection attempt may take before the driver gives up
// (SQL_ATTR_LOGIN_TIMEOUT): the value of a login-timeout key of the string
// ("LoginTimeout", "Login Timeout", "ConnectTimeout", "Connect Timeout",
// "Connection Timeout", "CONN_TIMEOUT"; 0 waits as long as the driver does),
// otherwise kDefaultLoginTimeout.
constexpr int kDefaultLoginTimeout = 15;
int odbcLoginTimeout(const QString &connectionString);

// ADO type number of an ODBC SQL type (SQL_INTEGER, SQL_DECIMAL, ...).
int adoTypeFromSqlType(int sqlType, bool isUnsigned = false);

// The type of a column from what SQLColumns says of it (SQL type, TYPE_NAME,
// COLUMN_SIZE, DECIMAL_DIGITS), for drivers whose database has no better
// catalog here (SQL Server, Oracle, Access, any other).
ColumnType columnTypeFromCatalog(int sqlType, const QString &typeName, std::optional<qint64> size,
                                 std::optional<qint64> digits, int adoType);

// Fault injection for tests: the next `count` rollbacks on ODBC connections
// fail as a driver's failed SQLEndTran does, without reaching the driver
// (the transaction stays open in the driver). 0 ends it.
void failNextOdbcRollbacks(int count);

} // namespace db
