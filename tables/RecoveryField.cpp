#include "tables/RecoveryField.h"

#include "data/Lookups.h"
#include "data/ProjectHost.h"
#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"
#include "data/db/ConnectionPool.h"
#include "data/db/DbError.h"
#include "datasources/ConnStrings.h"

#include <QCoreApplication>
#include <QHash>
#include <QPair>

namespace {

// The project holds no table, data source or template for the step.
QString missingMetadata()
{
    return QCoreApplication::translate("RecoveryField", "Informatie lipsa in metadate");
}
const QString kFieldType = QStringLiteral("[FIELD_TYPE]");

bool hasBlank(const QString &name) { return name.contains(QLatin1Char(' ')); }

QString quoted(const QString &name, QChar open, QChar close)
{
    return hasBlank(name) ? open + name + close : name;
}

// What the check, the add and the drop read about one table of the project.
struct TableInfo {
    qint32 idConn = 0;
    qint32 connType = 0;
    QString tableRef; // the table as written in the type's SQL
    QString tableName; // as stored
    QString owner;     // as stored, "" when none
    QString sqlTemplate;
};

// Runs the metadata query; false when the project has no row for the table.
// `templateColumn` is CreateFieldSQL, DropFieldSQL or "" for the check.
bool readTableInfo(qint32 idTable, const QString &templateColumn, TableInfo &info)
{
    QString sql = QStringLiteral("SELECT ");
    if (!templateColumn.isEmpty())
        sql += QStringLiteral("tConnType.") + templateColumn + QStringLiteral(", ");
    sql += QStringLiteral("tConn.IdConn, tTable.TableName, tTable.Owner, tConnType.IdConnType")
           + QStringLiteral(" FROM (tTable INNER JOIN tConn ON tTable.IdConn = tConn.IdConn)")
           + QStringLiteral(" INNER JOIN tConnType ON tConn.IdConnType = tConnType.IdConnType")
           + QStringLiteral(" WHERE IdTable = ") + QString::number(idTable);
    db::Recordset rs = projectConn().openRecordset(sql, db::CursorType::Static, db::LockType::ReadOnly);
    if (rs.eof())
        return false;
    info.idConn = static_cast<qint32>(rs.value(QStringLiteral("IdConn")).toInt());
    info.connType = static_cast<qint32>(rs.value(QStringLiteral("IdConnType")).toInt());
    info.tableName = rs.value(QStringLiteral("TableName")).toString();
    info.owner = rs.value(QStringLiteral("Owner")).toString();
    info.tableRef = fgGetTableName(info.connType, info.owner, info.tableName);
    if (!templateColumn.isEmpty())
        info.sqlTemplate = fgNZ(rs.value(templateColumn), QString()).toString();
    return true;
}

// readTableInfo and the table's connection string together. During a run
// (a pool scope) what was read for a table is kept until the run ends: the
// run changes neither, and reading them again for every field of a big
// project would cost more than the field's own work.
bool readRunTableInfo(qint32 idTable, const QString &templateColumn, TableInfo &info, QString &connString)
{
    struct Kept {
        quint64 serial = 0;
        const db::Connection *project = nullptr;
        QHash<QPair<qint32, QString>, QPair<TableInfo, QString>> tables;
        QHash<qint32, QString> connStrings; // by data source
    };
    static Kept kept;
    const quint64 serial = db::ConnectionPool::shared().scopeSerial();
    if (serial == 0 || kept.serial != serial || kept.project != &projectConn()) {
        kept.tables.clear();
        kept.connStrings.clear();
        kept.serial = serial;
        kept.project = &projectConn();
    }
    const QPair<qint32, QString> key(idTable, templateColumn);
    if (serial != 0) {
        const auto it = kept.tables.constFind(key);
        if (it != kept.tables.constEnd()) {
            info = it->first;
            connString = it->second;
            return true;
        }
    }
    if (!readTableInfo(idTable, templateColumn, info))
        return false;
    connString = serial != 0 ? kept.connStrings.value(info.idConn) : QString();
    if (connString.isEmpty())
        connString = fgGetConnString(projectConn(), info.idConn);
    if (serial != 0 && !connString.isEmpty()) {
        kept.tables.insert(key, {info, connString});
        kept.connStrings.insert(info.idConn, connString);
    }
    return true;
}

// The field of table `idTable` whose recovery column is `recFieldName` (its
// stored RecFieldName, or the default name when it stores none); failing
// that, the name without its "_VM" suffix; "" when neither gives one.
QString fieldOfRecoveryColumn(qint32 idTable, const QString &recFieldName)
{
    db::Recordset rs = projectConn().openRecordset(
        QStringLiteral("SELECT FieldName, RecFieldName FROM tField WHERE IdTable = ") + QString::number(idTable),
        db::CursorType::Static, db::LockType::ReadOnly);
    for (; !rs.eof(); rs.moveNext()) {
        const QString field = fgNZ(rs.value(QStringLiteral("FieldName")), QString()).toString();
        QString rec = fgNZ(rs.value(QStringLiteral("RecFieldName")), QString()).toString();
        if (rec.isEmpty())
            rec = fgGetRecoveryFieldName(field);
        if (rec.compare(recFieldName, Qt::CaseInsensitive) == 0)
            return field;
    }
    const QString suffix = fgGetRecoveryFieldName(QString());
    if (recFieldName.size() > suffix.size() && recFieldName.endsWith(suffix, Qt::CaseInsensitive))
        return recFieldName.chopped(suffix.size());
    return QString();
}

QString messageOf(const std::exception &error)
{
    if (const auto *dbError = dynamic_cast<const db::DbError *>(&error))
        return dbError->description();
    return QString::fromUtf8(error.what());
}

QString rejectedTypeName(int adoType)
{
    switch (adoType) {
    case db::adEmpty: return QStringLiteral("Empty");
    case db::adDate: return QStringLiteral("Date");
    case db::adBSTR: return QStringLiteral("BSTR");
    case db::adIDispatch: return QStringLiteral("IDispatch");
    case db::adError: return QStringLiteral("Error");
    case db::adBoolean: return QStringLiteral("Boolean");
    case db::adVariant: return QStringLiteral("Variant");
    case db::adIUnknown: return QStringLiteral("IUnknown");
    case db::adFileTime: return QStringLiteral("FileTime");
    case db::adGUID: return QStringLiteral("GUID");
    case db::adBinary: return QStringLiteral("Binary");
    case db::adChar: return QStringLiteral("Char");
    case db::adWChar: return QStringLiteral("WChar");
    case db::adUserDefined: return QStringLiteral("UserDefined");
    case db::adDBDate: return QStringLiteral("DBDate");
    case db::adDBTime: return QStringLiteral("DBTime");
    case db::adDBTimeStamp: return QStringLiteral("DBTimeStamp");
    case db::adChapter: return QStringLiteral("Chapter");
    case db::adPropVariant: return QStringLiteral("PropVariant");
    case db::adVarChar: return QStringLiteral("VarChar");
    case db::adLongVarChar: return QStringLiteral("LongVarChar");
    case db::adVarWChar: return QStringLiteral("VarWChar");
    case db::adLongVarWChar: return QStringLiteral("LongVarWChar");
    case db::adVarBinary: return QStringLiteral("VarBinary");
    case db::adLongVarBinary: return QStringLiteral("LongVarBinary");
    default: return QString(); // numeric types, and types the check does not know
    }
}

// Runs the type's template for the recovery column. The two errors a
// provider gives when the column exists already (among others) are handed to
// `onExisting`, which gives the result ("" = as if the command succeeded).
// Only the command itself is judged so: a connection that cannot be opened
// always reports its own error.
// `fieldName` is the column the recovery column backs up: "[FIELD_TYPE]"
// takes its declared type, so the copy of every amount is exact.
template <class OnExisting>
QString runRecoveryTemplate(qint32 idTable, const QString &templateColumn, const QString &recFieldName,
                            const QString &fieldName, const QString &fieldType, OnExisting onExisting)
{
    try {
        TableInfo info;
        QString connString;
        if (!readRunTableInfo(idTable, templateColumn, info, connString))
            return missingMetadata();
        if (connString.isEmpty() || info.sqlTemplate.isEmpty())
            return missingMetadata();

        const bool needsType = info.sqlTemplate.contains(kFieldType);
        const QString backedUp = needsType && fieldName.isEmpty() ? fieldOfRecoveryColumn(idTable, recFieldName) : fieldName;
        if (needsType && backedUp.isEmpty())
            return missingMetadata();

        // A connection of its own for the one command, from the pool: during
        // a run the same connection serves every field of the data source.
        const auto run = [&](db::Connection &user) {
            QString sql = info.sqlTemplate;
            // The type first: the names put in afterwards are never read as a placeholder.
            if (needsType)
                sql.replace(kFieldType, !fieldType.isEmpty()
                                            ? fieldType
                                            : user.columnType(info.tableName, backedUp, info.owner).declaration);
            sql.replace(QStringLiteral("[FIELD_NAME]"), fgGetFieldName(info.connType, recFieldName));
            sql.replace(QStringLiteral("[TABLE_NAME]"), info.tableRef);
            try {
                user.execute(sql);
            } catch (const db::DbError &e) {
                if (e.number() != db::DB_E_ERRORSINCOMMAND && e.number() != db::DB_E_ERRORSOCCURRED)
                    throw;
                return onExisting(e);
            }
            return QString();
        };
        db::PooledConnection user = db::ConnectionPool::shared().acquire(connString);
        try {
            return run(*user);
        } catch (const db::DbError &e) {
            // A kept connection whose server has gone since its last use:
            // once more on a new one. A command that did reach the database
            // finds its column there and takes it as the recovery column.
            if (!user.reused() || !e.sqlState().startsWith(QLatin1String("08")))
                throw;
        }
        user->close();
        user.release();
        user = db::ConnectionPool::shared().acquire(connString);
        return run(*user);
    } catch (const std::exception &e) {
        return messageOf(e);
    }
}

} // namespace

QString fgGetTableName(qint32 plngConnType, const QString &pstrOwner, const QString &pstrTableName)
{
    switch (plngConnType) {
    case 0:
    case 1: return quoted(pstrTableName, QLatin1Char('['), QLatin1Char(']'));
    case 2: {
        const QString table = quoted(pstrTableName, QLatin1Char('"'), QLatin1Char('"'));
        if (pstrOwner.isEmpty())
            return table;
        return quoted(pstrOwner, QLatin1Char('"'), QLatin1Char('"')) + QLatin1Char('.') + table;
    }
    case 3:
    case 4:
    case 5:
    case 6: return pstrTableName;
    default: return QString();
    }
}

QString fgGetFieldName(qint32 plngConnType, const QString &pstrFieldName)
{
    switch (plngConnType) {
    case 0:
    case 1: return quoted(pstrFieldName, QLatin1Char('['), QLatin1Char(']'));
    case 2: return quoted(pstrFieldName, QLatin1Char('"'), QLatin1Char('"'));
    case 3:
    case 4:
    case 5:
    case 6: return pstrFieldName;
    default: return QString();
    }
}

QString fgGetRecoveryFieldName(const QString &pstrFieldName) { return pstrFieldName + QStringLiteral("_VM"); }


QString fgCheckFieldType(qint32 plngIdTable, const QString &pstrFieldName)
{
    try {
        TableInfo info;
        if (!readTableInfo(plngIdTable, QString(), info))
            return missingMetadata();
        const QString connString = fgGetConnString(projectConn(), info.idConn);
        if (connString.isEmpty())
            return missingMetadata();

        db::Connection user;
        user.open(connString);
        db::Recordset rs = user.openRecordset(QStringLiteral("SELECT ") + fgGetFieldName(info.connType, pstrFieldName)
                                                  + QStringLiteral(" FROM ") + info.tableRef
                                                  + QStringLiteral(" WHERE 1<>1"),
                                              db::CursorType::Static, db::LockType::ReadOnly);
        const QString message = fgFieldTypeMessage(rs.fieldType(0));
        rs.close();
        user.close();
        return message;
    } catch (const std::exception &e) {
        return messageOf(e);
    }
}

QString fgFieldTypeMessage(int plngAdoType)
{
    const QString rejected = rejectedTypeName(plngAdoType);
    if (rejected.isEmpty())
        return QString();
    //: %1 is the name of a database type ("Date", "VarChar"), kept as it is
    return QCoreApplication::translate("RecoveryField", "Nu poate fi folosit tipul %1").arg(rejected);
}

QString fgCreateRecoveryField(qint32 plngIdTable, const QString &pstrRecFieldName, bool pbReportExisting,
                              const QString &pstrFieldName, const QString &pstrFieldType)
{
    return runRecoveryTemplate(plngIdTable, QStringLiteral("CreateFieldSQL"), pstrRecFieldName, pstrFieldName,
                               pstrFieldType,
                               [&](const db::DbError &) {
                                   if (!pbReportExisting)
                                       return QString();
                                   return QCoreApplication::translate("RecoveryField",
                                                                      "Campul \"%1\" deja exista in tabel.")
                                       .arg(pstrRecFieldName);
                               });
}

QString fgDropRecoveryField(qint32 plngIdTable, const QString &pstrRecFieldName)
{
    return runRecoveryTemplate(plngIdTable, QStringLiteral("DropFieldSQL"), pstrRecFieldName, QString(), QString(),
                               [](const db::DbError &e) { return e.description(); });
}

qint32 fgGetConvertedState(db::Connection &pConn, const QString &pstrRowSource, const QString &pstrField,
                           const QString &pstrRecField)
{
    return fgGetConvertedState(pConn, pstrRowSource, pstrRowSource, pstrField, pstrRecField, nullptr);
}

qint32 fgGetConvertedState(db::Connection &pConn, const QString &pstrRecRowSource, const QString &pstrRowSource,
                           const QString &pstrField, const QString &pstrRecField, QString *pstrError)
{
    // The derived table is named: PostgreSQL, MariaDB and SQL Server refuse
    // one without a name. An alias without AS is accepted everywhere.
    const auto anyValue = [](const QString &rowSource, const QString &column) {
        return QStringLiteral("SELECT ") + column + QStringLiteral(" FROM (") + rowSource
               + QStringLiteral(") VamorRows WHERE Not ") + column + QStringLiteral(" Is Null");
    };
    const auto probe = [&](const QString &rowSource, const QString &column) {
        db::Recordset rs = pConn.openRecordset(anyValue(rowSource, column), db::CursorType::Static,
                                               db::LockType::ReadOnly, 1);
        const bool found = !rs.eof();
        rs.close();
        return found;
    };
    // Where the engine's SQL is known, both questions go in one statement
    // that gives one row (EXISTS stops at the first row found, as the
    // probes do). PostgreSQL's driver reads a VALUES row at once, where it
    // would open and close a cursor around a SELECT. A failure (a missing
    // column among others) is told by the two probes themselves, one after
    // the other; in a transaction, which a failure would spoil, they alone run.
    const db::SqlDialect dialect = pConn.dialect();
    if ((dialect == db::SqlDialect::PostgreSql || dialect == db::SqlDialect::MySql
         || dialect == db::SqlDialect::Sqlite)
        && !pConn.inTransaction()) {
        const QString states = QStringLiteral("CASE WHEN EXISTS (") + anyValue(pstrRecRowSource, pstrRecField)
                               + QStringLiteral(") THEN 1 WHEN EXISTS (") + anyValue(pstrRowSource, pstrField)
                               + QStringLiteral(") THEN 0 ELSE -1 END");
        try {
            db::Recordset rs = pConn.openRecordset(dialect == db::SqlDialect::PostgreSql
                                                       ? QStringLiteral("VALUES (") + states + QStringLiteral(")")
                                                       : QStringLiteral("SELECT ") + states,
                                                   db::CursorType::Static, db::LockType::ReadOnly, 1);
            bool ok = false;
            const qint32 state = rs.eof() ? 2 : static_cast<qint32>(rs.value(0).toString().toInt(&ok));
            if (ok && state >= -1 && state <= 1)
                return state;
        } catch (const db::DbError &e) {
            // A wait that ended (a lock that did not come, the user's stop,
            // the statement timeout) would only end again for each probe.
            if (e.kind() != db::DbError::Kind::Other) {
                if (pstrError)
                    *pstrError = messageOf(e);
                return 0;
            }
        } catch (const std::exception &) {
        }
    }
    qint32 result = 0;
    try {
        if (probe(pstrRecRowSource, pstrRecField))
            return 1;
        result = probe(pstrRowSource, pstrField) ? 0 : -1;
    } catch (const std::exception &e) {
        // Errors (a recovery column that does not exist among them) mean
        // "not converted"; a caller that asks is told which error it was.
        if (pstrError)
            *pstrError = messageOf(e);
    }
    return result;
}
