// The windows in the user's language: the main window's menus, toolbar and
// tree in English and Bulgarian, the Limba menu that keeps the choice for
// the next start, and the help that Bulgarian reads in English.
#include "app/frmMain.h"
#include "help/frmHelp.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "util/core/HelpTopics.h"
#include "util/core/Language.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

using apptest::chooseExisting;
using apptest::makeProject;
using testsupport::ProgramFolder;
using testsupport::ProjectFixture;
using testsupport::ScriptedModals;
using testsupport::ScriptedPrompts;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

// Each test leaves the program Romanian and VAMOR_LANG as it found them.
class LanguageWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::clearSettings();
        mVamorLang = qgetenv("VAMOR_LANG");
        qunsetenv("VAMOR_LANG");
    }
    void TearDown() override
    {
        language::install(QStringLiteral("ro"));
        qputenv("VAMOR_LANG", mVamorLang);
    }
    QByteArray mVamorLang;
};

QStringList menuTitles(frmMain &w)
{
    QStringList titles;
    for (QAction *action : w.menuBar()->actions())
        titles.append(action->text().remove(QLatin1Char('&')));
    return titles;
}

QStringList treeTexts(QTreeWidget *tree)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        texts.append((*it)->text(0));
    return texts;
}

struct WindowCase {
    const char *code;
    QStringList menus;
    const char *toNew, *toOld; // the toolbar's conversion buttons
    const char *offlineSource;
};

TEST_F(LanguageWindows, MainWindowShowsMenusButtonsAndTreeInTheChosenLanguage)
{
    const WindowCase cases[] = {
        {"en", {"File", "Project", "Language", "Help"}, "NEW lei", "OLD lei", "Arhiva (Offline)"},
        {"bg", {"Файл", "Проект", "Език", "Помощ"}, "НОВИ леи", "СТАРИ леи", "Arhiva (Без връзка)"},
        {"ro", {"Fisier", "Proiect", "Limba", "Ajutor"}, "Lei NOI", "Lei VECHI", "Arhiva (Deconectat)"},
    };
    ProgramFolder folder;
    const QString file = folder.filePath(QStringLiteral("Firma.vmd"));
    makeProject(file, [](ProjectFixture &p) {
        const int online = p.addConn(6, QStringLiteral("Contabilitate"), QStringLiteral("DSN=contab"));
        p.addConn(1, QStringLiteral("Arhiva"), QStringLiteral("DSN=arhiva"), true);
        p.addField(p.addTable(online, QStringLiteral("Plati")), QStringLiteral("Suma"));
    });
    for (const WindowCase &c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_EQ(language::install(QString::fromLatin1(c.code)), QString::fromLatin1(c.code));
        frmMain w;
        ScriptedModals modals;
        ScriptedPrompts prompts;
        modals.then(chooseExisting(file));
        w.pOpen(false);
        ASSERT_EQ(w.fileName(), file);
        EXPECT_EQ(menuTitles(w), c.menus);
        EXPECT_EQ(w.tlbButton(QStringLiteral("-"))->text(), QString::fromUtf8(c.toNew));
        EXPECT_EQ(w.tlbButton(QStringLiteral("+"))->text(), QString::fromUtf8(c.toOld));
        EXPECT_TRUE(treeTexts(w.findChild<QTreeWidget *>(QStringLiteral("trv"))).contains(QString::fromUtf8(c.offlineSource)))
            << treeTexts(w.findChild<QTreeWidget *>(QStringLiteral("trv"))).join(QLatin1Char('|')).toStdString();
        // The project keeps the template's own words.
        EXPECT_EQ(w.Conn().openRecordset(QStringLiteral("SELECT NewName FROM tChangeover")).value(0).toString(),
                  QStringLiteral("Lei NOI"));
        w.SetDirty(false);
    }
}

// The menu's choice is kept for the next start and said so; the window
// stays in its language. VAMOR_LANG, when set, goes before the choice, and
// the user is told.
TEST_F(LanguageWindows, LanguageMenuKeepsTheChoiceForTheNextStart)
{
    frmMain w;
    ScriptedPrompts prompts;
    QMenu *menu = w.findChild<QMenu *>(QStringLiteral("mnuLanguage"));
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction *action : menu->actions())
        if (!action->isSeparator())
            items.append(action->text());
    EXPECT_EQ(items, (QStringList{QStringLiteral("Limba sistemului"), QStringLiteral("Romana"), QStringLiteral("English"),
                                  QString::fromUtf8("Български")}));
    EXPECT_TRUE(w.findChild<QAction *>(QStringLiteral("mnuLanguage_system"))->isChecked());

    w.findChild<QAction *>(QStringLiteral("mnuLanguage_en"))->trigger();
    EXPECT_EQ(language::savedChoice(), QStringLiteral("en"));
    EXPECT_EQ(prompts.messageTexts(),
              QStringList{QStringLiteral("Programul va folosi limba aleasa de la urmatoarea pornire.")});
    EXPECT_EQ(menuTitles(w).first(), QStringLiteral("Fisier"));
    EXPECT_EQ(language::choose(language::currentSources()), QStringLiteral("en"));

    prompts.clear();
    qputenv("VAMOR_LANG", "bg");
    w.findChild<QAction *>(QStringLiteral("mnuLanguage_ro"))->trigger();
    EXPECT_EQ(language::savedChoice(), QStringLiteral("ro"));
    ASSERT_EQ(prompts.messageTexts().size(), 1);
    EXPECT_TRUE(prompts.messageTexts().first().startsWith(QStringLiteral("Variabila VAMOR_LANG")));
    EXPECT_EQ(language::choose(language::currentSources()), QStringLiteral("bg"));
    qunsetenv("VAMOR_LANG");

    prompts.clear();
    w.findChild<QAction *>(QStringLiteral("mnuLanguage_system"))->trigger();
    EXPECT_EQ(language::savedChoice(), QString());
}

// English reads its own help pages; Bulgarian reads them too and the help
// window's title says so; Romanian reads the Romanian ones.
TEST_F(LanguageWindows, HelpPagesFollowTheLanguageAndBulgarianSaysTheyAreEnglish)
{
    struct HelpCase {
        const char *code, *collection, *title;
    };
    const HelpCase cases[] = {
        {"ro", "Vamor.qhc", "Vamor - Ajutor"},
        {"en", "Vamor_en.qhc", "Vamor - Help"},
        {"bg", "Vamor_en.qhc", "Vamor - Помощ (страниците са на английски)"},
    };
    for (const HelpCase &c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_EQ(language::install(QString::fromLatin1(c.code)), QString::fromLatin1(c.code));
        ASSERT_EQ(QFileInfo(fgHelpFile()).fileName(), QString::fromLatin1(c.collection));
        ASSERT_TRUE(QFileInfo(fgHelpFile()).isFile()) << fgHelpFile().toStdString();
        frmHelp help(fgHelpFile());
        EXPECT_TRUE(help.windowTitle().startsWith(QString::fromUtf8(c.title))) << help.windowTitle().toStdString();
        if (QString::fromLatin1(c.code) != QLatin1String("bg")) {
            EXPECT_FALSE(help.windowTitle().contains(QString::fromUtf8("английски")));
        }
    }
}

} // namespace
