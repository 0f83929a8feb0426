#include "conversion/ConversionListing.h"

#include "conversion/ConversionEngine.h"
#include "data/Lookups.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "datasources/ConnStrings.h"

namespace conversion {

void listFieldsToConvert(db::Connection &project, bool toLeiNoi,
                         const std::function<void(const ListedField &)> &add)
{
    db::Recordset sources =
        project.openRecordset(QStringLiteral("SELECT * FROM tConn WHERE Offline = False ORDER BY Description"),
                              db::CursorType::Static, db::LockType::ReadOnly);
    db::Recordset tables = project.openRecordset(QStringLiteral("SELECT * FROM tTable ORDER BY TableName"),
                                                 db::CursorType::Static, db::LockType::ReadOnly);
    db::Recordset fields = project.openRecordset(QStringLiteral("SELECT * FROM tField ORDER BY FieldName"),
                                                 db::CursorType::Static, db::LockType::Optimistic);
    db::Connection userConn;

    for (; !sources.eof(); sources.moveNext()) {
        const qint32 idConn = static_cast<qint32>(sources.value(QStringLiteral("IdConn")).toInt());
        const QString connString = fgGetConnString(project, idConn);
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

        tables.setFilter(QStringLiteral("IdConn = ") + QString::number(idConn));
        for (; !tables.eof(); tables.moveNext()) {
            fields.setFilter(QStringLiteral("IdTable = ") + tables.value(QStringLiteral("IdTable")).toString());
            for (; !fields.eof(); fields.moveNext()) {
                const bool converted = refreshConvertedState(userConn, idConnType, tables, fields);
                if (converted != toLeiNoi)
                    add({description, fgNZ(tables.value(QStringLiteral("TableName")), QString()).toString(),
                         fgNZ(fields.value(QStringLiteral("FieldName")), QString()).toString()});
            }
        }
        userConn.close();
    }
}

QString listedCountText(int count)
{
    return QString::number(count) + QStringLiteral(" campuri vor fi convertite");
}

} // namespace conversion
