#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// The topics of the help collection behind the help context numbers that the
// windows carry (property "HelpContextID"). Each number has one page.
// The help collection of the language in force (Vamor.qhc in Romanian,
// Vamor_en.qhc in English), where the program looks for it (the first
// data folder holding it). The help commands do nothing when this file does
// not exist.
QString fgHelpFile();
// The language of the help's pages: the program's own, else English (a
// language the pages are not written in yet), else Romanian.
QString fgHelpLanguage();

namespace help {

// The namespace and virtual folder under which the pages are registered.
inline const QString kNamespace = QStringLiteral("ro.vamor.help");
inline const QString kFolder = QStringLiteral("doc");

struct Topic {
    int context;
    QString page;   // file name inside the collection, "fereastra_principala.html"
    QString window; // the window the number belongs to, as its caption reads
};

// Every context number the program uses, in increasing order.
const QList<Topic> &topics();
// The page of a context number; the contents page for an unknown number.
QString topicPage(int context);
// The address of a page inside the collection: qthelp://ro.vamor.help/doc/page.
QUrl pageUrl(const QString &page);
QUrl topicUrl(int context);

} // namespace help
