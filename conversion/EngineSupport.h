#pragma once

#include "data/Lookups.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"

#include <QString>
#include <exception>

// Small helpers the conversion run's sources share.
namespace conversion::detail {

// A text column of the current row, Null read as "".
inline QString text(const db::Recordset &rs, const char *column)
{
    return fgNZ(rs.value(QString::fromLatin1(column)), QString()).toString();
}

// The provider's description of an error, or the text of any other.
inline QString errorText(const std::exception &e)
{
    if (const auto *dbError = dynamic_cast<const db::DbError *>(&e))
        return dbError->description();
    return QString::fromUtf8(e.what());
}

} // namespace conversion::detail
