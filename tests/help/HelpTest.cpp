// The help: the two menu commands without and with the help collection, F1
// in every window, and the built collection itself (every context number has
// its page, every page is in the contents and the index, every window has an
// index entry).
#include "app/frmMain.h"
#include "app/frmStart.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmHistory.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "datasources/frmConn.h"
#include "datasources/frmConnAdd.h"
#include "help/HelpSystem.h"
#include "help/frmAbout.h"
#include "help/frmHelp.h"
#include "help/frmTerms.h"
#include "tables/frmField.h"
#include "tables/frmFieldAdd.h"
#include "tables/frmTable.h"
#include "tables/frmTableAdd.h"
#include "tests/support/TestSupport.h"
#include "tests/util/Sandbox.h"
#include "util/core/HelpTopics.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QKeyEvent>
#include <QSet>
#include <QTabWidget>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using testsupport::ProgramFolder;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

QString builtCollection() { return QDir(testsupport::templatesDir()).filePath(QStringLiteral("Vamor.qhc")); }

// Copies the built help (collection and its documentation) into the folder.
void installHelp(const ProgramFolder &folder)
{
    for (const char *name : {"Vamor.qhc", "Vamor.qch"}) {
        const QString file = QString::fromLatin1(name);
        ASSERT_TRUE(QFile::copy(QDir(testsupport::templatesDir()).filePath(file), folder.filePath(file))) << name;
    }
}

QList<QWidget *> visibleWindows()
{
    QList<QWidget *> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            windows.append(w);
    return windows;
}

bool waitFor(const std::function<bool()> &done)
{
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void pressF1(QWidget *widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

QUrl withoutFragment(QUrl url)
{
    url.setFragment(QString());
    return url;
}

TEST(HelpCommands, WithoutHelpFileShowNothing)
{
    ProgramFolder folder(false);
    testsupport::ScriptedPrompts prompts;
    testsupport::ScriptedModals modals;
    frmMain w;
    const QList<QWidget *> before = visibleWindows();
    w.mnuHepContent->trigger();
    w.mnuHelpIndex->trigger();
    pressF1(w.trv);
    QApplication::processEvents();
    EXPECT_EQ(visibleWindows(), before);
    EXPECT_EQ(w.findChildren<frmHelp *>().size(), 0);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(modals.shown(), 0);
}

TEST(HelpCommands, ContentsAndIndexOpenTheHelpWindow)
{
    ProgramFolder folder(false);
    installHelp(folder);
    testsupport::ScriptedPrompts prompts;
    frmMain w;
    w.mnuHepContent->trigger();
    auto *help = w.findChild<frmHelp *>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->browser()->source(), help::topicUrl(0));
    EXPECT_FALSE(help->browser()->toPlainText().isEmpty());
    EXPECT_EQ(help->panes()->currentIndex(), 0);
    w.mnuHelpIndex->trigger();
    EXPECT_EQ(w.findChildren<frmHelp *>().size(), 1);
    EXPECT_EQ(help->panes()->currentIndex(), 1);
    EXPECT_TRUE(prompts.messages().isEmpty());
    help->close();
}

// F1 in a widget of each window opens the topic of the window's number,
// in a help window over that window (usable while a dialog is modal).
TEST(HelpCommands, F1OpensTheTopicOfEachWindow)
{
    ProgramFolder folder(false);
    installHelp(folder);
    testsupport::ScriptedPrompts prompts;
    frmMain w;
    HelpSystem *system = w.findChild<HelpSystem *>();
    ASSERT_NE(system, nullptr);

    struct Case {
        const char *name;
        int context;
        std::function<QWidget *()> make;
    };
    const Case cases[] = {
        {"frmMain", 0, [&]() -> QWidget * { return &w; }},
        {"frmFieldAdd", 2, [] { return new frmFieldAdd; }},
        {"frmConnAdd", 3, [] { return new frmConnAdd; }},
        {"frmTableAdd", 4, [] { return new frmTableAdd; }},
        {"frmField", 7, [] { return new frmField; }},
        {"frmConvertStart", 8, [] { return new frmConvertStart; }},
        {"frmStart", 9, [] { return new frmStart; }},
        {"frmAbout", 9, [] { return new frmAbout; }},
        {"frmConn", 10, [] { return new frmConn; }},
        {"frmTable", 11, [] { return new frmTable; }},
        {"frmTerms", 15, [] { return new frmTerms; }},
        {"frmProgress", 20, [] { return new frmProgress; }},
        {"frmConvertEnd", 21, [] { return new frmConvertEnd; }},
        {"frmHistory", 23, [] { return new frmHistory; }},
    };
    for (const Case &c : cases) {
        QWidget *window = c.make();
        // The deepest widget of the window, or the window itself.
        QWidget *target = window;
        const QList<QWidget *> children = window->findChildren<QWidget *>();
        if (!children.isEmpty())
            target = children.last();
        pressF1(target);
        frmHelp *help = system->helpWindow();
        ASSERT_NE(help, nullptr) << c.name;
        EXPECT_EQ(help->browser()->source(), help::topicUrl(c.context)) << c.name;
        // Over the window F1 was pressed in; a menu lends it to its window.
        const bool inMenu = target->window()->windowType() == Qt::Popup;
        EXPECT_EQ(help->parentWidget(), inMenu ? window->window() : target->window()) << c.name;
        EXPECT_TRUE(help->isVisible()) << c.name;
        if (window != &w)
            delete window;
    }
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(QLatin1Char('\n')).toStdString();
}

class Collection : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(builtCollection())) << builtCollection().toStdString();
        help = std::make_unique<frmHelp>(builtCollection());
    }
    std::unique_ptr<frmHelp> help;
};

TEST_F(Collection, EveryContextNumberOpensAnExistingPage)
{
    for (const help::Topic &topic : help::topics()) {
        help->showTopic(topic.context);
        EXPECT_EQ(help->browser()->source(), help::pageUrl(topic.page)) << topic.context;
        const QByteArray page = help->engine()->fileData(help::pageUrl(topic.page));
        EXPECT_TRUE(page.contains("<h1>")) << topic.page.toStdString();
        EXPECT_FALSE(help->browser()->documentTitle().isEmpty()) << topic.page.toStdString();
    }
    // Every number the program uses is there.
    QList<int> numbers;
    for (const help::Topic &topic : help::topics())
        numbers.append(topic.context);
    EXPECT_EQ(numbers, (QList<int>{0, 2, 3, 4, 7, 8, 9, 10, 11, 15, 20, 21, 22, 23}));
}

TEST_F(Collection, EveryPageIsInTheContentsAndTheIndex)
{
    QHelpEngine *engine = help->engine();
    QSet<QUrl> pages;
    for (const QUrl &url : engine->files(help::kNamespace, QString(), QStringLiteral("html")))
        pages.insert(url);
    ASSERT_GE(pages.size(), 25);

    QHelpContentModel *contents = engine->contentModel();
    ASSERT_TRUE(waitFor([&] { return !contents->isCreatingContents() && contents->rowCount() > 0; }));
    QSet<QUrl> inContents;
    std::function<void(QHelpContentItem *)> walk = [&](QHelpContentItem *item) {
        if (!item)
            return;
        inContents.insert(withoutFragment(item->url()));
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i));
    };
    for (int row = 0; row < contents->rowCount(); ++row)
        walk(contents->contentItemAt(contents->index(row, 0)));

    QHelpIndexModel *index = engine->indexModel();
    ASSERT_TRUE(waitFor([&] { return !index->isCreatingIndex() && index->rowCount() > 0; }));
    QSet<QUrl> inIndex;
    QSet<QString> indexedWindows;
    for (const QString &keyword : index->stringList())
        for (const QHelpLink &link : engine->documentsForKeyword(keyword)) {
            inIndex.insert(withoutFragment(link.url));
            for (const help::Topic &topic : help::topics())
                if (link.url == help::pageUrl(topic.page))
                    indexedWindows.insert(topic.page);
        }

    for (const QUrl &page : pages) {
        EXPECT_TRUE(inContents.contains(page)) << "not in the contents: " << page.toString().toStdString();
        EXPECT_TRUE(inIndex.contains(page)) << "not in the index: " << page.toString().toStdString();
    }
    // Every window's own topic has an index entry.
    for (const help::Topic &topic : help::topics())
        EXPECT_TRUE(indexedWindows.contains(topic.page)) << topic.window.toStdString();
    // And the links of every page lead to pages of the collection.
    for (const QUrl &page : pages) {
        const QString html = QString::fromUtf8(engine->fileData(page));
        qsizetype at = 0;
        while ((at = html.indexOf(QStringLiteral("href=\""), at)) >= 0) {
            at += 6;
            const QString target = html.mid(at, html.indexOf(QLatin1Char('"'), at) - at);
            const QUrl resolved = withoutFragment(page.resolved(QUrl(target)));
            if (resolved.scheme() == QLatin1String("qthelp")) {
                EXPECT_FALSE(engine->fileData(resolved).isEmpty())
                    << page.fileName().toStdString() << " -> " << target.toStdString();
            }
        }
    }
}

} // namespace
