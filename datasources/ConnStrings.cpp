#include "datasources/ConnStrings.h"

#include "data/ErrorTrap.h"
#include "data/db/ConnString.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"

#include <QCoreApplication>

namespace {

// The runtime's error for a Null where a text is required.
constexpr qint32 kInvalidUseOfNull = 94;

QString requiredText(const db::Variant &value, const char *column)
{
    if (value.isNull() || value.isEmpty())
        throw db::DbError(kInvalidUseOfNull,
                          QCoreApplication::translate("ConnStrings", "Valoare Null nepermisa in coloana %1")
                              .arg(QLatin1String(column)));
    return value.toString();
}

} // namespace

QString fgGetConnString(db::Connection &pConn, qint32 plngIdConn)
{
    QString result;
    fgTrap(QStringLiteral("basGlobal"), QStringLiteral("fgGetConnString"),
           [&] { result = buildConnString(pConn, plngIdConn); });
    return result;
}

QString buildConnString(db::Connection &pConn, qint32 plngIdConn)
{
    const QString sql =
        QStringLiteral("SELECT tConn.*, tConnType.ConnString AS ConnTypeConnString, tConnType.DataSourceTag, "
                       "tConnType.UserNameTag, tConnType.PasswordTag,  tConnType.SecurityFileTag, "
                       "tConnType.DBPasswordTag, tConnType.DatabaseTag, tConnType.IntegratedSecurityTag")
        + QStringLiteral(" FROM tConn INNER JOIN tConnType ON tConn.IdConnType = tConnType.IdConnType")
        + QStringLiteral(" WHERE IdConn = ") + QString::number(plngIdConn);
    db::Recordset rs = pConn.openRecordset(sql, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    if (rs.eof())
        throw db::DbError(db::E_FAIL, QCoreApplication::translate("ConnStrings",
                                                                  "Sursa de date sau tipul ei nu exista in proiect."));

    QString text;
    if (rs.value(QStringLiteral("IdConnType")).toInt() == 6) {
        text = requiredText(rs.value(QStringLiteral("ConnString")), "ConnString");
    } else {
        text = requiredText(rs.value(QStringLiteral("ConnTypeConnString")), "ConnString");
        static const struct {
            const char *value;
            const char *tag;
        } parts[] = {{"DataSource", "DataSourceTag"},     {"UserName", "UserNameTag"},
                     {"Password", "PasswordTag"},         {"SecurityFile", "SecurityFileTag"},
                     {"DBPassword", "DBPasswordTag"},     {"Database", "DatabaseTag"}};
        for (const auto &part : parts) {
            const QString value = rs.value(QLatin1String(part.value)).toString();
            if (value.isEmpty())
                continue;
            QString tag = requiredText(rs.value(QLatin1String(part.tag)), part.tag);
            text += tag.replace(QStringLiteral("[VALUE]"), value);
        }
        if (rs.value(QStringLiteral("IntegratedSecurity")).toBool())
            text += rs.value(QStringLiteral("IntegratedSecurityTag")).toString();
    }
    rs.close();
    return db::withRunLockTimeout(text);
}

QString fgGetConnText(const QString &pstrDescription, bool pbOffline)
{
    //: The tree node of a data source marked offline: %1 is its description.
    return pbOffline ? QCoreApplication::translate("ConnStrings", "%1 (Deconectat)").arg(pstrDescription)
                     : pstrDescription;
}
