// The main window's Limba menu: the language the program speaks from its
// next start (the system's, or one chosen here), kept in the settings.
#include "app/frmMain.h"

#include "util/core/Language.h"
#include "util/core/Prompt.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

void frmMain::pSetupLanguageMenu()
{
    mnuLanguage = new QMenu(tr("Limba"), this);
    mnuLanguage->setObjectName(QStringLiteral("mnuLanguage"));
    menuBar()->insertMenu(mnuHelp->menuAction(), mnuLanguage);
    auto *group = new QActionGroup(mnuLanguage);
    const QString saved = language::savedChoice();
    const auto item = [&](const QString &caption, const QString &code) {
        QAction *action = mnuLanguage->addAction(caption);
        action->setObjectName(QStringLiteral("mnuLanguage_") + (code.isEmpty() ? QStringLiteral("system") : code));
        action->setCheckable(true);
        action->setChecked(saved == code);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, code] { pChooseLanguage(code); });
    };
    item(tr("Limba sistemului"), QString());
    mnuLanguage->addSeparator();
    for (const QString &code : language::languages())
        item(language::nativeName(code), code);
}

void frmMain::pChooseLanguage(const QString &code)
{
    if (code == language::savedChoice())
        return;
    language::saveChoice(code);
    language::Sources sources = language::currentSources();
    const QString forced = sources.vamorLang;
    sources.vamorLang.clear();
    const QString next = language::choose(sources);
    if (!forced.isEmpty() && language::languages().contains(forced.left(2).toLower())) {
        ui::msgBox(tr("Variabila VAMOR_LANG din mediu alege limba inaintea acestui meniu; alegerea facuta aici "
                      "se aplica atunci cand ea lipseste."),
                   ui::Buttons::Ok, ui::Icon::Information);
        return;
    }
    if (next != language::current())
        ui::msgBox(tr("Programul va folosi limba aleasa de la urmatoarea pornire."), ui::Buttons::Ok,
                   ui::Icon::Information);
}
