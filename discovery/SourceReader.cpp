#include "discovery/SourceReader.h"

#include "data/Lookups.h"
#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"
#include "conversion/EngineSupport.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "data/db/SqlScan.h"
#include "tables/RecoveryField.h"

#include <QCoreApplication>

namespace discovery {

namespace {

// Seconds a catalog read or a sample may take.
constexpr int kReadTimeout = 30;

QString lower(const QString &s) { return s.toLower(); }

QString sqlText(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// Keys and indexes of the tables: by lower-case table name, then column
// name, 'P' (primary key), 'F' (foreign key) or 'I' (other index); a column
// in several keeps every letter.
using Keys = QHash<QString, QHash<QString, QString>>;

void readKeys(db::Connection &user, const QString &sql, int tableColumn, Keys &keys)
{
    db::Recordset rs = user.openRecordset(sql, db::CursorType::Static, db::LockType::ReadOnly);
    for (; !rs.eof(); rs.moveNext())
        keys[lower(rs.value(tableColumn).toString())][lower(rs.value(tableColumn + 1).toString())] +=
            rs.value(tableColumn + 2).toString();
}

// The keys of every table, where one query of the server's catalog tells them.
Keys serverKeys(db::Connection &user)
{
    Keys keys;
    switch (user.dialect()) {
    case db::SqlDialect::PostgreSql:
        readKeys(user,
                 QStringLiteral(
                     "SELECT c.relname, a.attname, CASE WHEN i.indisprimary THEN 'P' ELSE 'I' END FROM pg_index i "
                     "JOIN pg_class c ON c.oid = i.indrelid JOIN pg_namespace n ON n.oid = c.relnamespace "
                     "JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum = ANY(i.indkey) "
                     "WHERE n.nspname NOT IN ('pg_catalog', 'information_schema') "
                     "UNION ALL SELECT c.relname, a.attname, 'F' FROM pg_constraint co "
                     "JOIN pg_class c ON c.oid = co.conrelid JOIN pg_attribute a ON a.attrelid = co.conrelid "
                     "AND a.attnum = ANY(co.conkey) WHERE co.contype = 'f'"),
                 0, keys);
        break;
    case db::SqlDialect::MySql:
        readKeys(user,
                 QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME, CASE WHEN INDEX_NAME = 'PRIMARY' THEN 'P' ELSE 'I' END "
                                "FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE() "
                                "UNION ALL SELECT TABLE_NAME, COLUMN_NAME, 'F' FROM information_schema.KEY_COLUMN_USAGE "
                                "WHERE TABLE_SCHEMA = DATABASE() AND REFERENCED_TABLE_NAME IS NOT NULL"),
                 0, keys);
        break;
    default: break;
    }
    return keys;
}

// The keys of one SQLite table, from its pragmas.
QHash<QString, QString> sqliteKeys(db::Connection &user, const QString &table)
{
    const QString t = sqlText(table);
    Keys keys;
    readKeys(user,
             QStringLiteral("SELECT %1, name, 'P' FROM pragma_table_info(%1) WHERE pk > 0 "
                            "UNION ALL SELECT %1, \"from\", 'F' FROM pragma_foreign_key_list(%1) "
                            "UNION ALL SELECT %1, ii.name, 'I' FROM pragma_index_list(%1) AS il, "
                            "pragma_index_info(il.name) AS ii WHERE il.origin <> 'pk'")
                 .arg(t),
             0, keys);
    return keys.value(lower(table));
}

} // namespace

bool isNumericType(int adoType)
{
    switch (adoType) {
    case db::adSmallInt:
    case db::adInteger:
    case db::adSingle:
    case db::adDouble:
    case db::adCurrency:
    case db::adDecimal:
    case db::adTinyInt:
    case db::adUnsignedTinyInt:
    case db::adUnsignedSmallInt:
    case db::adUnsignedInt:
    case db::adBigInt:
    case db::adUnsignedBigInt:
    case db::adNumeric:
    case db::adVarNumeric: return true;
    default: return false;
    }
}

KnownTables knownTables(db::Connection &project, qint32 idConn)
{
    KnownTables known;
    db::Recordset rs = project.openRecordset(
        QStringLiteral("SELECT tTable.IdTable, tTable.TableName, tField.FieldName, tField.RecFieldName FROM tTable "
                       "LEFT JOIN tField ON tField.IdTable = tTable.IdTable WHERE tTable.IdConn = %1 "
                       "ORDER BY tTable.IdTable")
            .arg(idConn),
        db::CursorType::Static, db::LockType::ReadOnly);
    for (; !rs.eof(); rs.moveNext()) {
        KnownTable &table = known[lower(rs.value(1).toString())];
        if (table.idTable == 0)
            table.idTable = static_cast<qint32>(rs.value(0).toInt());
        const QString field = rs.value(2).toString();
        if (field.isEmpty())
            continue;
        table.fields.insert(lower(field));
        const QString rec = rs.value(3).toString();
        table.recoveries.insert(lower(rec.isEmpty() ? fgGetRecoveryFieldName(field) : rec));
    }
    return known;
}

SourceFindings readSource(db::Connection &user, qint32 idConnType, const KnownTables &known,
                          const ReadProgress &progress)
{
    SourceFindings found;
    const db::TimedStatements timed(user, kReadTimeout);
    struct Table {
        QString owner, name;
    };
    QList<Table> tables;
    for (db::Recordset rs = user.tables(); !rs.eof(); rs.moveNext()) {
        if (rs.value(QStringLiteral("TABLE_TYPE")).toString() != QLatin1String("TABLE"))
            continue;
        // The owner is kept where the project keeps it (Oracle's schemas).
        tables.append({idConnType == 2 ? fgNZ(rs.value(QStringLiteral("TABLE_SCHEMA")), QString()).toString() : QString(),
                       rs.value(QStringLiteral("TABLE_NAME")).toString()});
    }
    Keys keys;
    try {
        keys = serverKeys(user);
    } catch (const std::exception &) {
        // Without the keys the names and values still tell.
    }
    const bool sqlite = user.dialect() == db::SqlDialect::Sqlite;
    // The MariaDB provider limits the rows of a query itself.
    const bool limits = sqlite || user.dialect() == db::SqlDialect::PostgreSql;

    int done = 0;
    for (const Table &table : tables) {
        if (progress.stopped && progress.stopped()) {
            found.stopped = true;
            break;
        }
        if (progress.step)
            progress.step(done, static_cast<int>(tables.size()), table.name);
        ++done;
        try {
            const std::vector<db::TableColumn> columns = user.tableColumns(table.name, table.owner);
            QList<Finding> numeric;
            const KnownTable project = known.value(lower(table.name));
            const QHash<QString, QString> tableKeys =
                sqlite ? [&] {
                    try {
                        return sqliteKeys(user, table.name);
                    } catch (const std::exception &) {
                        return QHash<QString, QString>();
                    }
                }()
                       : keys.value(lower(table.name));
            for (const db::TableColumn &column : columns) {
                const db::ColumnType type =
                    column.known ? column.type : user.columnType(table.name, column.name, table.owner);
                if (!isNumericType(type.adoType))
                    continue;
                Finding f;
                f.owner = table.owner;
                f.facts.table = table.name;
                f.facts.column = column.name;
                f.facts.typeName = type.declaration.isEmpty()
                                       ? QCoreApplication::translate("SourceReader", "fara tip declarat")
                                       : type.declaration;
                f.facts.adoType = type.adoType;
                f.facts.scale = type.scale;
                const QString kinds = tableKeys.value(lower(column.name));
                f.facts.primaryKey = kinds.contains(QLatin1Char('P'));
                f.facts.foreignKey = kinds.contains(QLatin1Char('F'));
                f.facts.indexed = kinds.contains(QLatin1Char('I'));
                f.inProject = project.fields.contains(lower(column.name));
                f.recovery = project.recoveries.contains(lower(column.name))
                             || column.name.endsWith(fgGetRecoveryFieldName(QString()), Qt::CaseInsensitive);
                numeric.append(f);
            }
            if (!numeric.isEmpty()) {
                QStringList refs;
                for (const Finding &f : numeric)
                    refs.append(fgGetFieldName(idConnType, f.facts.column));
                const QString sql = QStringLiteral("SELECT ") + refs.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                                    + fgGetTableName(idConnType, table.owner, table.name)
                                    + (limits ? QStringLiteral(" LIMIT %1").arg(kSampleRows) : QString());
                qint64 sampled = 0;
                db::Recordset rs = user.openRecordset(sql, db::CursorType::ForwardOnly, db::LockType::ReadOnly, kSampleRows);
                for (; !rs.eof() && sampled < kSampleRows; rs.moveNext(), ++sampled)
                    for (qsizetype i = 0; i < numeric.size(); ++i) {
                        const db::Variant value = rs.value(static_cast<int>(i));
                        addSampleValue(numeric[i].facts, value.isNull() ? QString() : value.toString());
                    }
                rs.close();
                qint64 rows = sampled;
                if (sampled >= kSampleRows) {
                    try {
                        db::Recordset count = user.openRecordset(
                            QStringLiteral("SELECT COUNT(*) FROM ") + fgGetTableName(idConnType, table.owner, table.name));
                        rows = count.eof() ? -1 : count.value(0).toInt();
                    } catch (const std::exception &) {
                        rows = -1;
                    }
                }
                for (Finding &f : numeric) {
                    f.rows = rows;
                    f.verdict = judge(f.facts);
                    found.columns.append(f);
                }
            }
            ++found.tablesRead;
        } catch (const std::exception &e) {
            found.failures.append({table.name, conversion::detail::errorText(e)});
        }
    }
    if (progress.step && !found.stopped)
        progress.step(done, static_cast<int>(tables.size()), QString());
    return found;
}

} // namespace discovery
