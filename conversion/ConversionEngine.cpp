#include "conversion/ConversionEngine.h"

#include "data/Lookups.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "datasources/ConnStrings.h"
#include "tables/ConvertSql.h"
#include "tables/RecoveryField.h"

#include <stdexcept>

namespace conversion {

namespace {

QString text(const db::Recordset &rs, const char *column)
{
    return fgNZ(rs.value(QString::fromLatin1(column)), QString()).toString();
}

QString errorText(const std::exception &e)
{
    if (const auto *dbError = dynamic_cast<const db::DbError *>(&e))
        return dbError->description();
    return QString::fromUtf8(e.what());
}

QString progressCaption(const QString &level, qint32 counter, qint32 count, const QString &name)
{
    return level + QLatin1Char(' ') + QString::number(counter) + QLatin1Char('/') + QString::number(count)
           + QStringLiteral(" (") + name + QLatin1Char(')');
}

} // namespace

QString recoveryFieldName(const db::Recordset &fields)
{
    const QString stored = text(fields, "RecFieldName");
    return stored.isEmpty() ? fgGetRecoveryFieldName(text(fields, "FieldName")) : stored;
}

bool refreshConvertedState(db::Connection &userConn, qint32 idConnType, const db::Recordset &tables,
                           db::Recordset &fields)
{
    const QString tableRef = fgGetTableName(idConnType, text(tables, "Owner"), text(tables, "TableName"));
    const QString condition = convertsql::joinConditions(text(tables, "SQLWhere"), text(fields, "SQLWhere"));
    const qint32 state = fgGetConvertedState(userConn, convertsql::rowSource(tableRef, condition),
                                             fgGetFieldName(idConnType, text(fields, "FieldName")),
                                             fgGetFieldName(idConnType, recoveryFieldName(fields)));
    const bool converted = state == 1 ? true : state == 0 ? false : fields.value(QStringLiteral("Converted")).toBool();
    fields.setValue(QStringLiteral("Converted"), converted);
    fields.update();
    return converted;
}

ConversionEngine::ConversionEngine(db::Connection &project, IConversionProgress &progress,
                                   IConversionReport &report)
    : mProject(project), mProgress(progress), mReport(report)
{
}

ConversionEngine::Result ConversionEngine::run(bool pbLeiNoi)
{
    Result result;
    db::Connection userConn;
    try {
        db::Recordset sources = mProject.openRecordset(QStringLiteral("SELECT * FROM tConn WHERE Offline = False"),
                                                       db::CursorType::Static, db::LockType::Optimistic);
        db::Recordset tables = mProject.openRecordset(QStringLiteral("SELECT * FROM tTable"),
                                                      db::CursorType::Static, db::LockType::ReadOnly);
        db::Recordset fields = mProject.openRecordset(QStringLiteral("SELECT * FROM tField"),
                                                      db::CursorType::Static, db::LockType::Optimistic);
        const QString templateColumn = pbLeiNoi ? QStringLiteral("ConvertSQL") : QStringLiteral("ConvertBackSQL");

        const qint32 sourceCount = sources.recordCount();
        if (sourceCount > 0)
            mProgress.InitProgress1(sourceCount, QStringLiteral("Sursa de Date"));
        qint32 sourceCounter = 0;
        while (!sources.eof()) {
            if (mProgress.Cancel()) {
                result.cancelled = true;
                break;
            }
            ++sourceCounter;
            const QString description = text(sources, "Description");
            mProgress.Progress1(0, progressCaption(QStringLiteral("Sursa de Date"), sourceCounter, sourceCount, description));

            const qint32 idConn = static_cast<qint32>(sources.value(QStringLiteral("IdConn")).toInt());
            const qint32 idConnType = static_cast<qint32>(sources.value(QStringLiteral("IdConnType")).toInt());
            const QString templateText =
                fgNZ(fgLookup(mProject, QStringLiteral("tConnType"), templateColumn,
                              QStringLiteral("IdConnType = ") + QString::number(idConnType)),
                     QString())
                    .toString();
            if (!templateText.isEmpty()) {
                const QString connString = fgGetConnString(mProject, idConn);
                if (!connString.isEmpty()) {
                    try {
                        userConn.open(connString);
                    } catch (const std::exception &) {
                        userConn.close();
                        sources.setValue(QStringLiteral("Offline"), true);
                        sources.update();
                        result.offlineSources.append(description);
                    }
                }
            }

            if (userConn.isOpen()) {
                tables.setFilter(QStringLiteral("IdConn = ") + QString::number(idConn));
                const qint32 tableCount = tables.recordCount();
                if (tableCount > 0)
                    mProgress.InitProgress2(tableCount, QStringLiteral("Tabel"));
                qint32 tableCounter = 0;
                while (!tables.eof()) {
                    if (mProgress.Cancel()) {
                        result.cancelled = true;
                        break;
                    }
                    ++tableCounter;
                    mProgress.Progress2(0, progressCaption(QStringLiteral("Tabel"), tableCounter, tableCount,
                                                           text(tables, "TableName")));

                    fields.setFilter(QStringLiteral("IdTable = ") + tables.value(QStringLiteral("IdTable")).toString());
                    const qint32 fieldCount = fields.recordCount();
                    if (fieldCount > 0)
                        mProgress.InitProgress3(fieldCount, QStringLiteral("Camp"));
                    qint32 fieldCounter = 0;
                    while (!fields.eof()) {
                        if (mProgress.Cancel()) {
                            result.cancelled = true;
                            break;
                        }
                        ++fieldCounter;
                        mProgress.Progress3(0, progressCaption(QStringLiteral("Camp"), fieldCounter, fieldCount,
                                                               text(fields, "FieldName")));
                        convertField(userConn, idConnType, templateText, description, tables, fields, pbLeiNoi);
                        fields.moveNext();
                    }
                    if (result.cancelled)
                        break;
                    tables.moveNext();
                }
                userConn.close();
                if (result.cancelled)
                    break;
            }
            sources.moveNext();
        }
    } catch (const std::exception &e) {
        result.failed = true;
        if (const auto *dbError = dynamic_cast<const db::DbError *>(&e)) {
            result.errorNumber = dbError->number();
            result.errorDescription = dbError->description();
        } else {
            result.errorNumber = db::E_FAIL;
            result.errorDescription = QString::fromUtf8(e.what());
        }
        // A field's transaction that an error interrupted is never committed.
        try {
            if (userConn.isOpen() && userConn.inTransaction())
                userConn.rollbackTrans();
        } catch (const std::exception &) {
        }
        try {
            userConn.close();
        } catch (const std::exception &) {
        }
    }
    return result;
}

void ConversionEngine::convertField(db::Connection &userConn, qint32 idConnType, const QString &templateText,
                                    const QString &dataSource, db::Recordset &tables, db::Recordset &fields,
                                    bool pbLeiNoi)
{
    const QString fieldName = text(fields, "FieldName");
    const QString tableName = text(tables, "TableName");
    const QString recName = recoveryFieldName(fields);

    const bool converted = refreshConvertedState(userConn, idConnType, tables, fields);
    if (converted == pbLeiNoi)
        return; // already in the wanted currency

    qint32 recCount = 0;
    const QString message =
        fgCreateRecoveryField(static_cast<qint32>(tables.value(QStringLiteral("IdTable")).toInt()), recName, false);
    if (!message.isEmpty()) {
        fields.setValue(QStringLiteral("Error"), message);
        fields.update();
        mReport.AddField(dataSource, tableName, fieldName, recCount, message);
        return;
    }

    const QString tableRef = fgGetTableName(idConnType, text(tables, "Owner"), tableName);
    const QString condition = convertsql::joinConditions(text(tables, "SQLWhere"), text(fields, "SQLWhere"));
    const QStringList statements = convertsql::splitStatements(
        convertsql::fillConvertTemplate(templateText, fgGetFieldName(idConnType, fieldName),
                                        fgGetFieldName(idConnType, recName), tableRef, condition));

    userConn.beginTrans();
    QString errors;
    const auto appendError = [&errors](const QString &description) {
        if (!errors.isEmpty())
            errors += QStringLiteral("\r\n");
        errors += description;
    };
    for (const QString &statement : statements) {
        try {
            recCount = static_cast<qint32>(userConn.execute(statement));
        } catch (const std::exception &e) {
            appendError(errorText(e));
        }
    }
    if (errors.isEmpty()) {
        // The state is recorded only once the database has accepted the work.
        try {
            userConn.commitTrans();
        } catch (const std::exception &e) {
            appendError(errorText(e));
        }
    }
    if (!errors.isEmpty() && userConn.inTransaction()) {
        try {
            userConn.rollbackTrans();
        } catch (const std::exception &e) {
            appendError(errorText(e));
        }
    }
    if (errors.isEmpty())
        fields.setValue(QStringLiteral("Converted"), pbLeiNoi);
    fields.setValue(QStringLiteral("Error"), errors.isEmpty() ? db::Variant::null() : db::Variant(errors));
    fields.update();

    mReport.AddField(dataSource, tableName, fieldName, recCount, errors);
}

} // namespace conversion
