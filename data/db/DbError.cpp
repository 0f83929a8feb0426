#include "data/db/DbError.h"

namespace db {

qint32 DbError::numberForSqlState(const QString &sqlState)
{
    const QString cls = sqlState.left(2);
    if (cls == QLatin1String("42") || sqlState == QLatin1String("37000") || sqlState == QLatin1String("S0001")
        || sqlState == QLatin1String("S0002") || sqlState == QLatin1String("S0021")
        || sqlState == QLatin1String("S0022"))
        return DB_E_ERRORSINCOMMAND;
    if (cls == QLatin1String("07") || cls == QLatin1String("22") || sqlState == QLatin1String("HY000")
        || sqlState == QLatin1String("S1000"))
        return DB_E_ERRORSOCCURRED;
    return E_FAIL;
}

DbError DbError::cancelled()
{
    return DbError(DB_E_CANCELED, QStringLiteral("Asteptarea a fost oprita de utilizator."), QStringLiteral("HY008"),
                   Kind::Cancelled);
}

} // namespace db
