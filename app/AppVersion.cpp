#include "app/AppVersion.h"

QString fgAppVersion() { return QStringLiteral(VAMOR_VERSION); }

QString fgAppDescription()
{
    return QStringLiteral("Conversia sumelor din bazele de date din lei vechi in lei noi si inapoi");
}
