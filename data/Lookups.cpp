#include "data/Lookups.h"

#include "data/ErrorTrap.h"
#include "data/db/Connection.h"

db::Variant fgLookup(db::Connection &pConn, const QString &pstrTable, const QString &pstrField,
                     const QString &pstrCondition)
{
    db::Variant result;
    fgTrap(QStringLiteral("basADOTools"), QStringLiteral("fgLookup"), [&] {
        db::Recordset rs = pConn.openRecordset(QStringLiteral("SELECT ") + pstrField + QStringLiteral(" FROM ")
                                                   + pstrTable + QStringLiteral(" WHERE ") + pstrCondition,
                                               db::CursorType::ForwardOnly, db::LockType::ReadOnly, 1);
        if (!rs.eof())
            result = rs.value(0);
        rs.close();
    });
    return result;
}

db::Variant fgNZ(const db::Variant &pvarValue, const db::Variant &pvarReplacement)
{
    return pvarValue.isNull() ? pvarReplacement : pvarValue;
}

db::Variant fgZN(const db::Variant &pvarValue)
{
    switch (pvarValue.kind()) {
    case db::Variant::Kind::Empty: return db::Variant::null();
    case db::Variant::Kind::Text: return pvarValue.toString().isEmpty() ? db::Variant::null() : pvarValue;
    case db::Variant::Kind::Int:
    case db::Variant::Kind::Double:
    case db::Variant::Kind::Decimal: return pvarValue.toDouble() == 0.0 ? db::Variant::null() : pvarValue;
    default: return pvarValue;
    }
}

QString fgSqlText(const QString &pstrText)
{
    QString text = pstrText;
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}
