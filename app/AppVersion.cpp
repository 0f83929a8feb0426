#include "app/AppVersion.h"

#include <QCoreApplication>

QString fgAppVersion() { return QStringLiteral(VAMOR_VERSION); }

QString fgAppDescription()
{
    return QCoreApplication::translate("AppVersion",
                                       "Conversia sumelor din bazele de date din lei vechi in lei noi si inapoi");
}
