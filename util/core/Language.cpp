#include "util/core/Language.h"

#include "util/core/AppInfo.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

#include <memory>

namespace language {

namespace {

const QString kSettingsKey = QStringLiteral("Language/Choice");

QString gCurrent = QStringLiteral("ro");
std::unique_ptr<QTranslator> gProgram;
std::unique_ptr<QTranslator> gToolkit;

// "bg_BG.UTF-8" -> "bg"; "C.UTF-8" -> "c".
QString languageOf(const QString &locale)
{
    QString code = locale.trimmed();
    for (const QChar stop : {QLatin1Char('.'), QLatin1Char('@'), QLatin1Char('_'), QLatin1Char('-')}) {
        const qsizetype at = code.indexOf(stop);
        if (at >= 0)
            code.truncate(at);
    }
    return code.toLower();
}

bool speaks(const QString &code) { return languages().contains(code); }

} // namespace

const QStringList &languages()
{
    static const QStringList list{QStringLiteral("ro"), QStringLiteral("en"), QStringLiteral("bg")};
    return list;
}

QString nativeName(const QString &code)
{
    if (code == QLatin1String("en"))
        return QStringLiteral("English");
    if (code == QLatin1String("bg"))
        return QStringLiteral("Български");
    return QStringLiteral("Romana");
}

QString choose(const Sources &sources)
{
    const QString forced = languageOf(sources.vamorLang);
    if (speaks(forced))
        return forced;
    const QString saved = languageOf(sources.saved);
    if (speaks(saved))
        return saved;
    QString locale = sources.lcAll;
    if (locale.isEmpty())
        locale = sources.lcMessages;
    if (locale.isEmpty())
        locale = sources.lang;
    const QString localeLanguage = languageOf(locale);
    if (localeLanguage.isEmpty() || localeLanguage == QLatin1String("c") || localeLanguage == QLatin1String("posix"))
        return QStringLiteral("ro");
    for (const QString &wanted : sources.languageList.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString code = languageOf(wanted);
        if (speaks(code))
            return code;
    }
    return speaks(localeLanguage) ? localeLanguage : QStringLiteral("ro");
}

Sources currentSources()
{
    Sources s;
    s.vamorLang = qEnvironmentVariable("VAMOR_LANG");
    s.saved = savedChoice();
    s.lcAll = qEnvironmentVariable("LC_ALL");
    s.lcMessages = qEnvironmentVariable("LC_MESSAGES");
    s.lang = qEnvironmentVariable("LANG");
    s.languageList = qEnvironmentVariable("LANGUAGE");
    return s;
}

QString install(const QString &code)
{
    if (gProgram)
        QCoreApplication::removeTranslator(gProgram.get());
    if (gToolkit)
        QCoreApplication::removeTranslator(gToolkit.get());
    gProgram.reset();
    gToolkit.reset();
    gCurrent = QStringLiteral("ro");
    if (!speaks(code))
        return gCurrent;
    if (code != QLatin1String("ro")) {
        auto program = std::make_unique<QTranslator>();
        const QString file = QStringLiteral("vamor_") + code + QStringLiteral(".qm");
        // Without its translation the program stays Romanian throughout.
        const QString path = fgProgramFile(file);
        if (path.isEmpty() || !program->load(path))
            return gCurrent;
        QCoreApplication::installTranslator(program.get());
        gProgram = std::move(program);
    }
    // The toolkit's own texts (file and print dialogs) in the same language,
    // when its translations are installed.
    auto toolkit = std::make_unique<QTranslator>();
    if (toolkit->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(toolkit.get());
        gToolkit = std::move(toolkit);
    }
    gCurrent = code;
    return gCurrent;
}

QString installChosen() { return install(choose(currentSources())); }

QString current() { return gCurrent; }

QLocale locale()
{
    const QLocale system = QLocale::system();
    if (gCurrent == QLatin1String("ro") || languageOf(system.name()) == gCurrent)
        return system;
    return QLocale(gCurrent);
}

QString savedChoice() { return QSettings(kAppTitle, kAppTitle).value(kSettingsKey).toString(); }

void saveChoice(const QString &code)
{
    QSettings settings(kAppTitle, kAppTitle);
    if (code.isEmpty())
        settings.remove(kSettingsKey);
    else
        settings.setValue(kSettingsKey, code);
}

} // namespace language
