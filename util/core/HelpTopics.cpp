#include "util/core/HelpTopics.h"

#include "util/core/AppInfo.h"
#include "util/core/Language.h"

#include <QFileInfo>

namespace {

// The help's pages exist in Romanian (Vamor.qhc) and English (Vamor_en.qhc).
QString helpFileFor(const QString &code)
{
    return fgDataFile(code == QLatin1String("ro") ? QStringLiteral("Vamor.qhc")
                                                  : QStringLiteral("Vamor_%1.qhc").arg(code));
}

} // namespace

QString fgHelpLanguage()
{
    const QString code = language::current();
    if (code == QLatin1String("ro"))
        return code;
    // A language whose pages are not written yet reads the English ones.
    for (const QString &candidate : {code, QStringLiteral("en")})
        if (QFileInfo(helpFileFor(candidate)).isFile())
            return candidate;
    return QStringLiteral("ro");
}

QString fgHelpFile() { return helpFileFor(fgHelpLanguage()); }

namespace help {

const QList<Topic> &topics()
{
    static const QList<Topic> list = {
        {0, QStringLiteral("index.html"), QStringLiteral("Vamor (fereastra principala)")},
        {2, QStringLiteral("adauga_camp.html"), QStringLiteral("Adauga Camp")},
        {3, QStringLiteral("adauga_sursa.html"), QStringLiteral("Adauga Sursa de Date")},
        {4, QStringLiteral("adauga_tabel.html"), QStringLiteral("Adauga Tabel")},
        {7, QStringLiteral("camp.html"), QStringLiteral("Camp")},
        {8, QStringLiteral("confirmare.html"), QStringLiteral("Confirmare Conversie")},
        {9, QStringLiteral("start.html"), QStringLiteral("Proiect Nou / Deschide Proiect; Despre")},
        {10, QStringLiteral("sursa_de_date.html"), QStringLiteral("Sursa de date")},
        {11, QStringLiteral("tabel.html"), QStringLiteral("Tabel")},
        {15, QStringLiteral("termene.html"), QStringLiteral("Termene si Conditii de Utilizare")},
        {20, QStringLiteral("progres.html"), QStringLiteral("Progres")},
        {21, QStringLiteral("raport.html"), QStringLiteral("Raport Conversie")},
        {22, QStringLiteral("cauta_sume.html"), QStringLiteral("Cauta sume")},
        {23, QStringLiteral("istoric.html"), QStringLiteral("Istoric conversii")},
    };
    return list;
}

QString topicPage(int context)
{
    for (const Topic &topic : topics())
        if (topic.context == context)
            return topic.page;
    return topics().first().page;
}

QUrl pageUrl(const QString &page)
{
    return QUrl(QStringLiteral("qthelp://") + kNamespace + QLatin1Char('/') + kFolder + QLatin1Char('/') + page);
}

QUrl topicUrl(int context) { return pageUrl(topicPage(context)); }

} // namespace help
