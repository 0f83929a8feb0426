#include "conversion/ConversionListing.h"

#include "conversion/ConversionEngine.h"
#include "data/Lookups.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "datasources/ConnStrings.h"
#include "tables/ConvertSql.h"

namespace conversion {

void listFieldsToConvert(db::Connection &project, bool toLeiNoi,
                         const std::function<void(const ListedField &)> &add,
                         const std::function<void(int)> &probed)
{
    int probedCount = 0;
    db::Recordset sources =
        project.openRecordset(QStringLiteral("SELECT * FROM tConn WHERE Offline = False ORDER BY Description"),
                              db::CursorType::Static, db::LockType::ReadOnly);
    db::Recordset tables = project.openRecordset(QStringLiteral("SELECT * FROM tTable ORDER BY TableName"),
                                                 db::CursorType::Static, db::LockType::ReadOnly);
    db::Connection userConn;

    for (; !sources.eof(); sources.moveNext()) {
        const qint32 idConn = static_cast<qint32>(sources.value(QStringLiteral("IdConn")).toInt());
        // Without a window to show it in: a string that cannot be built is
        // passed over here, and the run names the source and the reason.
        QString connString;
        try {
            connString = buildConnString(project, idConn);
        } catch (const std::exception &) {
            continue;
        }
        if (connString.isEmpty())
            continue;
        try {
            userConn.open(connString);
        } catch (const std::exception &) {
            userConn.close();
            continue;
        }
        const qint32 idConnType = static_cast<qint32>(sources.value(QStringLiteral("IdConnType")).toInt());
        const QString description = fgNZ(sources.value(QStringLiteral("Description")), QString()).toString();
        // The decimals the run to new lei rounds to at most.
        const int rounding =
            toLeiNoi ? convertsql::roundingDecimals(
                           fgNZ(fgLookup(project, QStringLiteral("tConnType"), QStringLiteral("ConvertSQL"),
                                         QStringLiteral("IdConnType = ") + QString::number(idConnType)),
                                QString())
                               .toString())
                     : -1;

        tables.setFilter(QStringLiteral("IdConn = ") + QString::number(idConn));
        for (; !tables.eof(); tables.moveNext()) {
            const QString tableName = fgNZ(tables.value(QStringLiteral("TableName")), QString()).toString();
            const QString owner = fgNZ(tables.value(QStringLiteral("Owner")), QString()).toString();
            // The fields of one table through the project's index on
            // IdTable: a filter over every field of the project, table after
            // table, grows with the square of the project's size.
            db::Recordset fields = project.openRecordset(
                QStringLiteral("SELECT * FROM tField WHERE IdTable = ")
                    + QString::number(tables.value(QStringLiteral("IdTable")).toInt())
                    + QStringLiteral(" ORDER BY FieldName"),
                db::CursorType::Static, db::LockType::Optimistic);
            for (; !fields.eof(); fields.moveNext()) {
                const FieldProbe probe = refreshConvertedState(userConn, idConnType, tables, fields);
                if (probed)
                    probed(++probedCount);
                if (probe.converted == toLeiNoi)
                    continue;
                const QString fieldName = fgNZ(fields.value(QStringLiteral("FieldName")), QString()).toString();
                QString note;
                if (!probe.error.isEmpty()) {
                    note = QStringLiteral("Starea campului nu a putut fi citita: ") + probe.error;
                } else if (rounding >= 0) {
                    try {
                        const int scale = userConn.columnType(tableName, fieldName, owner).scale;
                        if (convertsql::keepsFewerDecimals(scale, rounding))
                            note = keptDecimalsNote(scale);
                    } catch (const std::exception &) {
                        // The run reports what is wrong with the column.
                    }
                }
                add({description, tableName, fieldName, note});
            }
        }
        userConn.close();
    }
}

QString keptDecimalsNote(int decimals)
{
    return QStringLiteral("Coloana pastreaza doar ") + QString::number(decimals) + QStringLiteral(" zecimale");
}

QString probedCountText(int count)
{
    return QStringLiteral("Campuri verificate: ") + QString::number(count);
}

QString listedCountText(int count)
{
    return QString::number(count) + QStringLiteral(" campuri vor fi convertite");
}

} // namespace conversion
