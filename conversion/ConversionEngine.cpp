#include "conversion/ConversionEngine.h"

#include "conversion/EngineSupport.h"

#include "data/Lookups.h"
#include "data/db/AdoTypes.h"
#include "data/db/Connection.h"
#include "data/db/ConnectionPool.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "datasources/ConnStrings.h"
#include "tables/ConvertSql.h"
#include "tables/RecoveryField.h"

#include <QCoreApplication>
#include <QHash>
#include <stdexcept>

namespace conversion {

using detail::errorText;
using detail::text;

namespace {

// The fields of one data source in the project.
qint32 countFields(db::Connection &project, qint32 idConn)
{
    return static_cast<qint32>(
        fgLookup(project, QStringLiteral("tField INNER JOIN tTable ON tField.IdTable = tTable.IdTable"),
                 QStringLiteral("Count(*)"), QStringLiteral("tTable.IdConn = ") + QString::number(idConn))
            .toInt());
}

// The captions of the three levels of the progress: "Sursa de Date 1/3
// (Firma)". The terminal shortens a caption that does not fit to the name
// in its closing parentheses.
QString sourceCaption(qint32 counter, qint32 count, const QString &name)
{
    //: Progress of the data sources: number, count, the source's name. Keep the name last, in parentheses.
    return QCoreApplication::translate("ConversionEngine", "Sursa de Date %1/%2 (%3)")
        .arg(QString::number(counter), QString::number(count), name);
}

QString tableCaption(qint32 counter, qint32 count, const QString &name)
{
    //: Progress of the tables: number, count, the table's name. Keep the name last, in parentheses.
    return QCoreApplication::translate("ConversionEngine", "Tabel %1/%2 (%3)")
        .arg(QString::number(counter), QString::number(count), name);
}

QString fieldCaption(qint32 counter, qint32 count, const QString &name)
{
    //: Progress of the fields: number, count, the field's name. Keep the name last, in parentheses.
    return QCoreApplication::translate("ConversionEngine", "Camp %1/%2 (%3)")
        .arg(QString::number(counter), QString::number(count), name);
}

} // namespace

QString readOnlySourceMessage()
{
    return QCoreApplication::translate("ConversionEngine",
                                       "Vamor poate citi aceasta baza de date, dar nu poate scrie in ea (driverul ei "
                                       "este doar pentru citire); campul nu a fost convertit.");
}

QString standbySourceMessage()
{
    return QCoreApplication::translate("ConversionEngine",
                                       "Serverul acestei surse de date este un server de rezerva (standby) care urmeaza "
                                       "alt server si poate fi doar citit; conversia se face prin serverul principal. "
                                       "Campul nu a fost convertit.");
}

QString recoveryFieldName(const db::Recordset &fields)
{
    const QString stored = text(fields, "RecFieldName");
    return stored.isEmpty() ? fgGetRecoveryFieldName(text(fields, "FieldName")) : stored;
}

QString ConversionEngine::onlineSourcesSql() { return QStringLiteral("SELECT * FROM tConn WHERE Offline = False"); }

ConversionEngine::ConversionEngine(db::Connection &project, IConversionProgress &progress,
                                   IConversionReport &report)
    : mProject(project), mProgress(progress), mReport(report)
{
}

void ConversionEngine::skipSource(Result &result, const QString &dataSource, const QString &reason,
                                  qint32 fieldCount)
{
    if (fieldCount <= 0)
        return;
    result.skippedSources.append({dataSource, reason, fieldCount});
    mReport.AddSourceSkipped(dataSource, reason, fieldCount);
}

void ConversionEngine::reportOfflineSources(Result &result)
{
    db::Recordset offline = mProject.openRecordset(
        QStringLiteral("SELECT IdConn, Description FROM tConn WHERE Offline = True ORDER BY Description"),
        db::CursorType::Static, db::LockType::ReadOnly);
    for (; !offline.eof(); offline.moveNext())
        skipSource(result, text(offline, "Description"),
                   //: Why a data source was passed over; follows its name.
                   QCoreApplication::translate("ConversionEngine",
                                               "este marcata Deconectat (nu a putut fi deschisa la o rulare anterioara)"),
                   countFields(mProject, static_cast<qint32>(offline.value(QStringLiteral("IdConn")).toInt())));
}

QString ConversionEngine::openSource(db::PooledConnection &userConn, QString &connString, db::Recordset &sources,
                                     qint32 idConn, qint32 idConnType, const QString &templateColumn, bool pbLeiNoi,
                                     QString &templateText, Result &result)
{
    const db::Variant typeRow = fgLookup(mProject, QStringLiteral("tConnType"), QStringLiteral("IdConnType"),
                                         QStringLiteral("IdConnType = ") + QString::number(idConnType));
    if (typeRow.isEmpty())
        return QCoreApplication::translate("ConversionEngine", "tipul ei (%1) nu exista in proiect")
            .arg(QString::number(idConnType));
    templateText = fgNZ(fgLookup(mProject, QStringLiteral("tConnType"), templateColumn,
                                 QStringLiteral("IdConnType = ") + QString::number(idConnType)),
                        QString())
                       .toString();
    if (templateText.isEmpty())
        return QCoreApplication::translate("ConversionEngine", "tipul ei nu are sablon de conversie in %1")
            .arg(mChangeover.inLowerCase(pbLeiNoi));
    if (idConnType == 6 && fgNZ(sources.value(QStringLiteral("ConnString")), QString()).toString().isEmpty())
        return QCoreApplication::translate("ConversionEngine", "nu are sir de conectare");
    connString.clear();
    try {
        connString = buildConnString(mProject, idConn);
    } catch (const std::exception &e) {
        return QCoreApplication::translate("ConversionEngine", "sirul ei de conectare nu poate fi format: %1")
            .arg(errorText(e));
    }
    if (connString.isEmpty())
        return QCoreApplication::translate("ConversionEngine", "nu are sir de conectare");
    try {
        userConn = db::ConnectionPool::shared().acquire(connString);
    } catch (const std::exception &e) {
        userConn.release();
        sources.setValue(QStringLiteral("Offline"), true);
        sources.update();
        const QString description = text(sources, "Description");
        result.offlineSources.append(description);
        return QCoreApplication::translate("ConversionEngine", "nu a putut fi deschisa si a fost marcata Deconectat: %1")
            .arg(errorText(e));
    }
    return QString();
}

namespace {

// The project rows a table's fields write (their states, their errors) go to
// the working copy in one transaction, committed when the table ends, even
// when an error ends it: one write of the file for the table, not one for
// every field. A run killed in between loses only the rows of its last
// table, whose states the next run's probes read again from the user's
// database.
class TableWrites {
public:
    explicit TableWrites(db::Connection &project) : mProject(project)
    {
        if (!mProject.inTransaction()) {
            mProject.beginTrans();
            mOwn = true;
        }
    }
    ~TableWrites()
    {
        try {
            commit();
        } catch (const std::exception &) {
            try {
                mProject.rollbackTrans();
            } catch (const std::exception &) {
            }
        }
    }
    TableWrites(const TableWrites &) = delete;
    TableWrites &operator=(const TableWrites &) = delete;
    void commit()
    {
        if (!mOwn)
            return;
        mOwn = false;
        mProject.commitTrans();
    }

private:
    db::Connection &mProject;
    bool mOwn = false;
};

} // namespace

ConversionEngine::Result ConversionEngine::run(bool pbLeiNoi)
{
    Result result;
    // The connections of the run come from the pool: the recovery column of
    // each field is added on a connection of its own, kept open for the run,
    // not opened again for every field.
    db::PoolScope poolScope;
    db::PooledConnection userConn;
    QString connString;
    try {
        mChangeover = Changeover::of(mProject);
        db::Recordset sources = mProject.openRecordset(
            onlineSourcesSql() + (mOnlySource ? QStringLiteral(" AND IdConn = ") + QString::number(mOnlySource) : QString()),
            db::CursorType::Static, db::LockType::Optimistic);
        db::Recordset tables = mProject.openRecordset(QStringLiteral("SELECT * FROM tTable"),
                                                      db::CursorType::Static, db::LockType::ReadOnly);
        const QString templateColumn = pbLeiNoi ? QStringLiteral("ConvertSQL") : QStringLiteral("ConvertBackSQL");

        // Sources left out of every run since one failed to open: named, so
        // that nobody takes their fields for converted.
        if (!mOnlySource)
            reportOfflineSources(result);

        const qint32 sourceCount = sources.recordCount();
        if (sourceCount > 0)
            mProgress.InitProgress1(sourceCount, QCoreApplication::translate("ConversionEngine", "Sursa de Date"));
        qint32 sourceCounter = 0;
        while (!sources.eof()) {
            if (mProgress.Cancel()) {
                result.cancelled = true;
                break;
            }
            ++sourceCounter;
            const QString description = text(sources, "Description");
            mProgress.Progress1(0, sourceCaption(sourceCounter, sourceCount, description));

            const qint32 idConn = static_cast<qint32>(sources.value(QStringLiteral("IdConn")).toInt());
            const qint32 idConnType = static_cast<qint32>(sources.value(QStringLiteral("IdConnType")).toInt());
            QString templateText;
            const QString skipReason = openSource(userConn, connString, sources, idConn, idConnType, templateColumn,
                                                  pbLeiNoi, templateText, result);
            if (!skipReason.isEmpty())
                skipSource(result, description, skipReason, countFields(mProject, idConn));

            if (userConn && userConn->isOpen()) {
                // What the fields of each user table claim, across the rows
                // that list the same table.
                QHash<QString, TableClaims> claims;
                // A source that can only be read (its driver, or a standby
                // server): nothing is sent to it; each field says why.
                QString readOnly;
                try {
                    if (userConn->isStandby())
                        readOnly = standbySourceMessage();
                    else if (userConn->isReadOnly())
                        readOnly = readOnlySourceMessage();
                } catch (const std::exception &) {
                }
                tables.setFilter(QStringLiteral("IdConn = ") + QString::number(idConn));
                // The fields of this source only: each table's filter then
                // walks the source's fields, not every field of the project.
                db::Recordset fields = mProject.openRecordset(
                    QStringLiteral("SELECT * FROM tField WHERE IdTable IN (SELECT IdTable FROM tTable WHERE IdConn = %1)")
                        .arg(idConn),
                    db::CursorType::Static, db::LockType::Optimistic);
                const qint32 tableCount = tables.recordCount();
                if (tableCount > 0)
                    mProgress.InitProgress2(tableCount, QCoreApplication::translate("ConversionEngine", "Tabel"));
                qint32 tableCounter = 0;
                while (!tables.eof()) {
                    if (mProgress.Cancel()) {
                        result.cancelled = true;
                        break;
                    }
                    ++tableCounter;
                    mProgress.Progress2(0, tableCaption(tableCounter, tableCount, text(tables, "TableName")));

                    fields.setFilter(QStringLiteral("IdTable = ") + tables.value(QStringLiteral("IdTable")).toString());
                    const QString tableKey =
                        text(tables, "Owner").toLower() + QLatin1Char('.') + text(tables, "TableName").toLower();
                    const QHash<qint64, QString> conflicts = fieldConflicts(fields, claims[tableKey]);
                    const qint32 fieldCount = fields.recordCount();
                    if (fieldCount > 0)
                        mProgress.InitProgress3(fieldCount, QCoreApplication::translate("ConversionEngine", "Camp"));
                    qint32 fieldCounter = 0;
                    TableWrites tableWrites(mProject);
                    while (!fields.eof()) {
                        if (mProgress.Cancel()) {
                            result.cancelled = true;
                            break;
                        }
                        ++fieldCounter;
                        mProgress.Progress3(0, fieldCaption(fieldCounter, fieldCount, text(fields, "FieldName")));
                        const QString conflict =
                            conflicts.value(static_cast<qint64>(fields.value(QStringLiteral("IdField")).toInt()));
                        mReport.StartField(
                            convertsql::joinConditions(text(tables, "SQLWhere"), text(fields, "SQLWhere")));
                        convertField(userConn, connString, idConnType, templateText, description, tables, fields,
                                     pbLeiNoi, conflict, readOnly);
                        fields.moveNext();
                    }
                    tableWrites.commit();
                    if (result.cancelled)
                        break;
                    tables.moveNext();
                }
                userConn.release();
                if (result.cancelled)
                    break;
            }
            sources.moveNext();
        }
        // A Stop that cut the last field's statement ends the run as stopped too.
        if (mProgress.Cancel())
            result.cancelled = true;
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
            if (userConn && userConn->isOpen() && userConn->inTransaction())
                userConn->rollbackTrans();
        } catch (const std::exception &) {
        }
        try {
            userConn.release();
        } catch (const std::exception &) {
        }
    }
    return result;
}

} // namespace conversion
