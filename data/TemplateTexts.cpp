#include "data/TemplateTexts.h"

#include <QCoreApplication>

namespace templatetext {

namespace {

// Every text the templates store, for the translation tools to find. The
// words must stay exactly as the templates write them.
[[maybe_unused]] const char *const kStoredTexts[] = {
    //: The currency before the 2005 denomination of the leu.
    QT_TRANSLATE_NOOP("TemplateTexts", "Lei VECHI"),
    //: The currency after the 2005 denomination of the leu.
    QT_TRANSLATE_NOOP("TemplateTexts", "Lei NOI"),
    QT_TRANSLATE_NOOP("TemplateTexts",
                      "Leu romanesc: 10 000 lei vechi (ROL) = 1 leu nou (RON), denominarea din 1 iulie 2005"),
    QT_TRANSLATE_NOOP("TemplateTexts", "Lev bulgaresc in euro: 1 EUR = 1,95583 BGN, de la 1 ianuarie 2026"),
    QT_TRANSLATE_NOOP("TemplateTexts", "Kuna croata in euro: 1 EUR = 7,53450 HRK, de la 1 ianuarie 2023"),
    //: A kind of data source.
    QT_TRANSLATE_NOOP("TemplateTexts", "Oracle Data Server"),
    //: A kind of data source: a folder of dBASE/FoxPro tables.
    QT_TRANSLATE_NOOP("TemplateTexts", "FoxPro Free Table Directory"),
    //: A kind of data source.
    QT_TRANSLATE_NOOP("TemplateTexts", "Visual FoxPro Project"),
    //: A kind of data source: any other ODBC data source.
    QT_TRANSLATE_NOOP("TemplateTexts", "Unknown Data Source"),
};

} // namespace

QString shown(const QString &stored)
{
    if (stored.isEmpty())
        return stored;
    return QCoreApplication::translate("TemplateTexts", stored.toUtf8().constData());
}

} // namespace templatetext
