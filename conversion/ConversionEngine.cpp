#include "conversion/ConversionEngine.h"

#include "data/Lookups.h"
#include "data/db/AdoTypes.h"
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

// A row whose amount is not a number, in engines that let a numeric column
// hold text ("12,50"): "" when there is none, otherwise the message. The
// division would read such a text as another amount.
QString nonNumericValues(db::Connection &userConn, const QString &rowSource, const QString &fieldRef,
                         const QString &fieldName)
{
    const QString query = userConn.nonNumericValuesQuery(rowSource, fieldRef);
    if (query.isEmpty())
        return QString();
    try {
        db::Recordset rs = userConn.openRecordset(query, db::CursorType::Static, db::LockType::ReadOnly, 1);
        if (rs.eof())
            return QString();
        return QStringLiteral("Campul \"") + fieldName + QStringLiteral("\" contine valori care nu sunt numere (de exemplu \"")
               + rs.value(0).toString().left(40) + QStringLiteral("\"); nu a fost convertit.");
    } catch (const std::exception &e) {
        return errorText(e);
    }
}

// The fields of one data source in the project.
qint32 countFields(db::Connection &project, qint32 idConn)
{
    return static_cast<qint32>(
        fgLookup(project, QStringLiteral("tField INNER JOIN tTable ON tField.IdTable = tTable.IdTable"),
                 QStringLiteral("Count(*)"), QStringLiteral("tTable.IdConn = ") + QString::number(idConn))
            .toInt());
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

QString roundedNote(int decimals)
{
    return QStringLiteral("Sume rotunjite la ") + QString::number(decimals) + QStringLiteral(" zecimale");
}

bool hasColumn(db::Connection &userConn, const QString &table, const QString &owner, const QString &column)
{
    db::Recordset columns = userConn.columns(table, owner);
    for (; !columns.eof(); columns.moveNext())
        if (columns.value(QStringLiteral("COLUMN_NAME")).toString().compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

FieldProbe refreshConvertedState(db::Connection &userConn, qint32 idConnType, const db::Recordset &tables,
                                 db::Recordset &fields)
{
    const QString owner = text(tables, "Owner");
    const QString tableName = text(tables, "TableName");
    const QString recName = recoveryFieldName(fields);
    const QString tableRef = fgGetTableName(idConnType, owner, tableName);
    const QString condition = convertsql::joinConditions(text(tables, "SQLWhere"), text(fields, "SQLWhere"));
    QString probeError;
    qint32 state = fgGetConvertedState(userConn, convertsql::rowSource(tableRef, QString()),
                                       convertsql::rowSource(tableRef, condition),
                                       fgGetFieldName(idConnType, text(fields, "FieldName")),
                                       fgGetFieldName(idConnType, recName), &probeError);
    FieldProbe probe;
    if (!probeError.isEmpty()) {
        // Only a recovery column that is not there yet means "not converted".
        // Any other failure (a lock time-out, a lost server) tells nothing:
        // the stored state stays and the field is not touched.
        bool missing = false;
        try {
            missing = !hasColumn(userConn, tableName, owner, recName);
        } catch (const std::exception &) {
        }
        if (!missing) {
            probe.converted = fields.value(QStringLiteral("Converted")).toBool();
            probe.error = probeError;
            return probe;
        }
        state = 0;
    }
    probe.converted = state == 1 ? true : state == 0 ? false : fields.value(QStringLiteral("Converted")).toBool();
    fields.setValue(QStringLiteral("Converted"), probe.converted);
    fields.update();
    return probe;
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
            QString skipReason;
            if (templateText.isEmpty()) {
                skipReason = pbLeiNoi ? QStringLiteral("tipul ei nu are sablon de conversie in lei noi")
                                      : QStringLiteral("tipul ei nu are sablon de conversie in lei vechi");
            } else {
                const QString connString = fgGetConnString(mProject, idConn);
                if (connString.isEmpty())
                    skipReason = QStringLiteral("nu are sir de conectare");
                else {
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
            if (!skipReason.isEmpty()) {
                const qint32 fieldCount = countFields(mProject, idConn);
                if (fieldCount > 0)
                    result.skippedSources.append({description, skipReason, fieldCount});
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
    const QString owner = text(tables, "Owner");
    const QString recName = recoveryFieldName(fields);

    qint32 recCount = 0;
    // A field that fails before its statements run: the message goes to its
    // row and to the report; its state stays as it is.
    const auto fail = [&](const QString &message) {
        fields.setValue(QStringLiteral("Error"), message);
        fields.update();
        mReport.AddField(dataSource, tableName, fieldName, 0, message, QString());
    };

    const FieldProbe probe = refreshConvertedState(userConn, idConnType, tables, fields);
    if (!probe.error.isEmpty())
        return fail(probe.error);
    if (probe.converted == pbLeiNoi)
        return; // already in the wanted currency

    // To new lei: the column must hold numbers, and the amounts are rounded
    // to the decimals it keeps.
    int columnScale = -1;
    bool singlePrecision = false;
    if (pbLeiNoi) {
        try {
            const db::ColumnType type = userConn.columnType(tableName, fieldName, owner);
            const QString refused = fgFieldTypeMessage(type.adoType);
            if (!refused.isEmpty())
                return fail(refused);
            columnScale = type.scale;
            singlePrecision = type.adoType == db::adSingle;
        } catch (const std::exception &e) {
            return fail(errorText(e));
        }
    }

    const QString message = fgCreateRecoveryField(static_cast<qint32>(tables.value(QStringLiteral("IdTable")).toInt()),
                                                  recName, false, fieldName);
    if (!message.isEmpty())
        return fail(message);

    const QString tableRef = fgGetTableName(idConnType, owner, tableName);
    const QString fieldRef = fgGetFieldName(idConnType, fieldName);
    const QString condition = convertsql::joinConditions(text(tables, "SQLWhere"), text(fields, "SQLWhere"));
    const QStringList statements = convertsql::splitStatements(convertsql::fillConvertTemplate(
        templateText, fieldRef, fgGetFieldName(idConnType, recName), tableRef, condition, columnScale,
        singlePrecision));

    try {
        userConn.beginTrans();
    } catch (const std::exception &e) {
        return fail(errorText(e));
    }
    QString errors;
    const auto appendError = [&errors](const QString &description) {
        if (!errors.isEmpty())
            errors += QStringLiteral("\r\n");
        errors += description;
    };
    if (pbLeiNoi)
        appendError(nonNumericValues(userConn, convertsql::rowSource(tableRef, condition), fieldRef, fieldName));
    if (errors.isEmpty()) {
        for (const QString &statement : statements) {
            try {
                recCount = static_cast<qint32>(userConn.execute(statement));
            } catch (const std::exception &e) {
                appendError(errorText(e));
            }
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

    // Nothing of a rolled-back field stays changed: it reports no records.
    QString note;
    if (!errors.isEmpty())
        recCount = 0;
    else if (pbLeiNoi && convertsql::keepsFewerDecimals(columnScale, convertsql::roundingDecimals(templateText)))
        note = roundedNote(columnScale);
    mReport.AddField(dataSource, tableName, fieldName, recCount, errors, note);
}

} // namespace conversion
