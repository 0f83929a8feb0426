#include "data/db/odbc/OdbcProviderImpl.h"

#include "data/db/AdoTypes.h"
#include "data/db/DbError.h"
#include "data/db/odbc/OdbcProvider.h"
#include "data/db/sqlite/SqliteProvider.h"

#include <QCoreApplication>
#include <algorithm>

// The catalog side of the ODBC provider: the tables of a data source, the
// columns of a table and their types.

namespace db {

namespace odbc {

namespace {

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

} // namespace

Recordset OdbcProvider::tables()
{
    Statement st(timedDbc(), &mInFlight, queryTimeout());
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
    st.requireNotCancelled();
    return Recordset(columns, std::move(rows));
}

Recordset OdbcProvider::columns(const QString &schema, const QString &table)
{
    QList<Column> columns{{QStringLiteral("COLUMN_NAME"), adVarWChar},
                          {QStringLiteral("DATA_TYPE"), adInteger},
                          {QStringLiteral("TYPE_NAME"), adVarWChar},
                          {QStringLiteral("ORDINAL_POSITION"), adInteger}};
    std::vector<QList<Variant>> rows;
    int position = 0;
    for (const CatalogColumn &c : readCatalogColumns(schema, table))
        rows.push_back({Variant(c.name), Variant(c.adoType), Variant(c.typeName), Variant(++position)});
    return Recordset(columns, std::move(rows));
}

ColumnType OdbcProvider::columnType(const QString &schema, const QString &table, const QString &column)
{
    const std::vector<CatalogColumn> columns = readCatalogColumns(schema, table);
    if (columns.empty())
        throw DbError(DB_E_ERRORSINCOMMAND,
                      QCoreApplication::translate("OdbcProvider", "Tabelul %1 nu exista.").arg(table),
                      QStringLiteral("42S02"));
    const CatalogColumn *c = findNamed(columns, column);
    if (!c)
        throw DbError(
            DB_E_ERRORSINCOMMAND,
            QCoreApplication::translate("OdbcProvider", "Coloana %1 nu exista in tabelul %2.").arg(column, table),
            QStringLiteral("42S22"));
    return typeOf(schema, *c);
}

ColumnType OdbcProvider::typeOf(const QString &schema, const CatalogColumn &c)
{
    switch (mEngine) {
    case Engine::PostgreSql:
        return postgresColumnType(schema, c);
    case Engine::MySql:
        return mysqlColumnType(schema, c);
    case Engine::Sqlite:
        // The SQLite3 driver gives the declared type as the type name
        // (and calls DECIMAL a VARCHAR): SQLite's own rules apply.
        return ColumnType{c.adoType, c.typeName.trimmed(), scaleFromDeclaredType(c.typeName)};
    default:
        return genericColumnType(c);
    }
}

// PostgreSQL and MariaDB: one query of the server's own catalog gives every
// column of the table with its type. Elsewhere, and for a table that query
// does not find by its exact name, the driver's column list and then each
// column's type.
std::vector<TableColumn> OdbcProvider::tableColumns(const QString &schema, const QString &table)
{
    dbc();
    std::optional<std::vector<TableColumn>> found;
    if (mEngine == Engine::PostgreSql)
        found = postgresTableColumns(schema, table);
    else if (mEngine == Engine::MySql)
        found = mysqlTableColumns(schema, table);
    if (found)
        return *found;
    std::vector<TableColumn> columns;
    for (const CatalogColumn &c : readCatalogColumns(schema, table))
        columns.push_back(TableColumn{c.name, typeOf(schema, c), true});
    return columns;
}

std::vector<CatalogColumn> OdbcProvider::readCatalogColumns(const QString &schema, const QString &table)
{
    Statement st(timedDbc(), &mInFlight, queryTimeout());
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
    st.requireNotCancelled();
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
Recordset OdbcProvider::queryWithText(const QString &sql, const QStringList &params)
{
    Statement st(timedDbc(), &mInFlight, queryTimeout());
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
ColumnType OdbcProvider::postgresColumnType(const QString &schema, const CatalogColumn &c)
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
        throw DbError(
            DB_E_ERRORSINCOMMAND,
            QCoreApplication::translate("OdbcProvider", "Coloana %1 nu exista in tabelul %2.").arg(c.name, c.table),
            QStringLiteral("42S22"));
    return ColumnType{c.adoType, rs.value(0).toString(),
                      postgresScale(rs.value(1).toInt(), rs.value(2).toInt(), rs.value(3).toInt())};
}

    // MariaDB and MySQL: COLUMN_TYPE as the server writes it ("decimal(18,2)",
    // "int(11)", "bigint(20) unsigned", "float(7,2)"), the same type for the
    // copy; NUMERIC_SCALE gives the decimals (0 for integers, D of
    // FLOAT(M,D), Null for FLOAT and DOUBLE).
ColumnType OdbcProvider::mysqlColumnType(const QString &schema, const CatalogColumn &c)
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

namespace {

// The ADO type the driver's column list gives a PostgreSQL column of these
// built-in types (by type oid); 0 for any other type, whose ADO type only the
// driver's own list tells.
int postgresAdoType(qint64 typeOid)
{
    switch (typeOid) {
    case 21: return adSmallInt;
    case 23: return adInteger;
    case 20: return adBigInt;
    case 700: return adSingle;
    case 701: return adDouble;
    case 1700: return adNumeric;
    case 790: return adCurrency;
    default: return 0;
    }
}

// The same for MariaDB and MySQL, by DATA_TYPE and COLUMN_TYPE.
int mysqlAdoType(const QString &dataType, const QString &columnType)
{
    const bool isUnsigned = typeNameIsUnsigned(columnType);
    const QString t = dataType.toLower();
    if (t == QLatin1String("smallint"))
        return isUnsigned ? adUnsignedSmallInt : adSmallInt;
    if (t == QLatin1String("int") || t == QLatin1String("integer") || t == QLatin1String("mediumint"))
        return isUnsigned ? adUnsignedInt : adInteger;
    if (t == QLatin1String("bigint"))
        return isUnsigned ? adUnsignedBigInt : adBigInt;
    if (t == QLatin1String("decimal") || t == QLatin1String("numeric"))
        return adNumeric;
    if (t == QLatin1String("float"))
        return adSingle;
    if (t == QLatin1String("double") || t == QLatin1String("real"))
        return adDouble;
    return 0;
}

} // namespace

// Every column of a PostgreSQL table in one catalog query (the names
// compared as the catalog's own type, so that its index finds the table);
// nullopt when the query finds no table of that exact name (one outside the
// search path, a name whose case differs), which the driver's own list then
// looks for.
std::optional<std::vector<TableColumn>> OdbcProvider::postgresTableColumns(const QString &schema, const QString &table)
{
    Recordset rs = queryWithText(
        QStringLiteral("SELECT CAST(a.attname AS text), pg_catalog.format_type(a.atttypid, a.atttypmod),"
                       " CAST(CASE WHEN t.typtype = 'd' THEN t.typbasetype ELSE a.atttypid END AS bigint),"
                       " CASE WHEN t.typtype = 'd' THEN t.typtypmod ELSE a.atttypmod END,"
                       " pg_catalog.scale(CAST(CAST('0' AS money) AS numeric)), CAST(a.atttypid AS bigint)"
                       " FROM pg_catalog.pg_attribute a"
                       " JOIN pg_catalog.pg_class r ON r.oid = a.attrelid"
                       " JOIN pg_catalog.pg_namespace n ON n.oid = r.relnamespace"
                       " JOIN pg_catalog.pg_type t ON t.oid = a.atttypid"
                       " WHERE r.relname = CAST(? AS name) AND a.attnum > 0 AND NOT a.attisdropped"
                       " AND CASE WHEN ? = '' THEN pg_catalog.pg_table_is_visible(r.oid) ELSE n.nspname = CAST(? AS name) END"
                       " ORDER BY a.attnum"),
        {table, schema, schema});
    if (rs.eof())
        return std::nullopt;
    std::vector<TableColumn> columns;
    for (; !rs.eof(); rs.moveNext()) {
        const int adoType = postgresAdoType(rs.value(5).toInt());
        columns.push_back(TableColumn{rs.value(0).toString(),
                                      ColumnType{adoType, rs.value(1).toString(),
                                                 postgresScale(rs.value(2).toInt(), rs.value(3).toInt(),
                                                               rs.value(4).toInt())},
                                      adoType != 0});
    }
    return columns;
}

// Every column of a MariaDB or MySQL table in one query of
// information_schema; nullopt when no table has exactly that name.
std::optional<std::vector<TableColumn>> OdbcProvider::mysqlTableColumns(const QString &schema, const QString &table)
{
    Recordset rs = queryWithText(QStringLiteral("SELECT COLUMN_NAME, COLUMN_TYPE, NUMERIC_SCALE, DATA_TYPE, TABLE_NAME"
                                                " FROM information_schema.COLUMNS"
                                                " WHERE TABLE_SCHEMA = COALESCE(NULLIF(?, ''), DATABASE())"
                                                " AND TABLE_NAME = ? ORDER BY ORDINAL_POSITION"),
                                 {schema, table});
    std::vector<TableColumn> columns;
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.value(4).toString() != table)
            continue; // a name that only differs in case
        const QString declaration = rs.value(1).toString();
        const Variant scale = rs.value(2);
        const int adoType = mysqlAdoType(rs.value(3).toString(), declaration);
        columns.push_back(TableColumn{rs.value(0).toString(),
                                      ColumnType{adoType, declaration, scale.isNull() ? -1 : static_cast<int>(scale.toInt())},
                                      adoType != 0});
    }
    if (columns.empty())
        return std::nullopt;
    return columns;
}

} // namespace odbc

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
    if (decimal && !odbc::isMoneyName(name) && !name.contains(QLatin1Char('(')) && size && digits)
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
        if (odbc::isMoneyName(typeName))
            t.scale = 4;
        else if (decimal)
            t.scale = digits ? static_cast<int>(*digits) : -1;
        else
            t.scale = -1;
    }
    return t;
}

} // namespace db