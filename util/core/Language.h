#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>

// The language the program speaks. Romanian is the language its texts are
// written in; the others come from translation files (vamor_en.qm,
// vamor_bg.qm) beside the program's data, with Qt's own texts for the same
// language.
namespace language {

// "ro", then every language with a translation: "en", "bg".
const QStringList &languages();
// The name of a language in that language ("Romana", "English", "Български").
QString nativeName(const QString &code);

// What decides the language, read from the environment and the settings.
struct Sources {
    QString vamorLang;   // VAMOR_LANG
    QString saved;       // the choice of the menu, "" for the system's
    QString lcAll, lcMessages, lang, languageList; // LC_ALL, LC_MESSAGES, LANG, LANGUAGE
};
// VAMOR_LANG when it names a language the program speaks, else the menu's
// choice, else the system's locale as gettext reads it: LC_ALL, LC_MESSAGES
// or LANG names the locale ("C" and "POSIX" are Romanian here), and
// LANGUAGE, a list ("bg:en"), is preferred to it unless the locale is C;
// a language without a translation is Romanian.
QString choose(const Sources &sources);
// The sources of this process: its environment and the saved choice.
Sources currentSources();

// Loads and installs the program's and Qt's translations for `code` into
// the running application (which must exist); Romanian installs only Qt's
// own Romanian texts, when they are there. Returns the language in force.
QString install(const QString &code);
// install(choose(currentSources())).
QString installChosen();
// The language in force.
QString current();
// How dates and times are written in the windows: as the system's regional
// settings write them when they are of the language in force (or the
// language is Romanian, the program's own), else as the language does.
QLocale locale();

// The menu's choice, applied at the next start ("" = the system's).
QString savedChoice();
void saveChoice(const QString &code);

} // namespace language
