// The main window: toolbar and menus, the project lifecycle driven through
// the start dialog, the save dialog and the questions, the tree and its
// child windows, damaged project files.
#include "app/frmMain.h"
#include "app/frmStart.h"
#include "data/ProjectFile.h"
#include "data/db/DbError.h"
#include "datasources/frmConn.h"
#include "tables/frmTable.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "util/core/AppInfo.h"
#include "util/core/RecentFiles.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using apptest::chooseExisting;
using apptest::closeFromTitleBar;
using apptest::kSaveQuestion;
using apptest::chooseTemplate;
using apptest::makeProject;
using testsupport::ProgramFolder;
using testsupport::ProjectFixture;
using testsupport::ScriptedModals;
using testsupport::ScriptedPrompts;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { testsupport::clearSettings(); }
};

QStringList enabledButtons(frmMain &w)
{
    QStringList keys;
    for (const QString &key : w.tlbKeys())
        if (w.tlbButton(key)->isEnabled())
            keys.append(key);
    return keys;
}

QStringList workingCopies(const ProgramFolder &folder) { return folder.files().filter(QStringLiteral(".tmp")); }

// The window-system close: the title bar's close box.

// A project with two data sources (one offline) and three tables.
void fillSample(ProjectFixture &p)
{
    const int online = p.addConn(6, QStringLiteral("Contabilitate"), QStringLiteral("DSN=contab"));
    const int offline = p.addConn(1, QStringLiteral("Arhiva"), QStringLiteral("DSN=arhiva"), true);
    const int plati = p.addTable(online, QStringLiteral("Plati"));
    for (const char *field : {"Suma", "Tva", "Total"})
        p.addField(plati, QString::fromLatin1(field));
    p.addTable(online, QStringLiteral("Angajati"));
    const int vechi = p.addTable(offline, QStringLiteral("Facturi"));
    p.addField(vechi, QStringLiteral("Valoare"));
}

} // namespace

TEST_F(MainWindow, ToolbarMenusAndStartingButtonStates)
{
    ProgramFolder folder;
    ScriptedModals modals;
    frmMain w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vamor"));
    const QStringList keys = {"new", "open", "save", "conn_add", "conn_del", "table_add",
                              "table_del", "field_add", "field_del", "-", "+"};
    EXPECT_EQ(w.tlbKeys(), keys);
    const QStringList captions = {"Nou", "Deschide", "Salveaza", "Adauga", "Sterge", "Adauga",
                                  "Sterge", "Adauga", "Sterge", "Lei NOI", "Lei VECHI"};
    const QStringList tooltips = {"Proiect Nou", "Deschide Proiect", "Salveaza Proiectul", "Adauga Sursa de Date",
                                  "Sterge Sursa de Date", "Adauga Tabel", "Sterge Tabel", "Adauga Camp",
                                  "Sterge Camp", "Converteste la lei NOI", "Converteste la lei VECHI"};
    for (int i = 0; i < keys.size(); ++i) {
        QAction *button = w.tlbButton(keys.at(i));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), captions.at(i));
        EXPECT_EQ(button->toolTip(), tooltips.at(i));
        EXPECT_FALSE(button->icon().pixmap(32, 32).isNull()) << keys.at(i).toStdString();
    }
    EXPECT_EQ(w.tlb->iconSize(), QSize(32, 32));
    EXPECT_EQ(w.tlb->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    QStringList menus;
    for (QAction *menu : w.menuBar()->actions()) {
        QStringList items;
        for (QAction *item : menu->menu()->actions())
            items.append(item->isSeparator() ? QStringLiteral("-") : item->text());
        menus.append(menu->text() + QLatin1Char(':') + items.join(QLatin1Char(',')));
    }
    EXPECT_EQ(menus, QStringList({"Fisier:Proiect Nou,Deschide Proiect,-,Salveaza,Istoric conversii...,-,Inchide",
                                  "Proiect:Adauga Sursa de Date,Sterge Sursa de Date,Cauta sume...,Adauga Tabel,Sterge Tabel,"
                                  "Adauga Camp,Sterge Camp,-,Converteste la lei NOI,Converteste la lei VECHI",
                                  QString::fromUtf8("Limba:Limba sistemului,-,Romana,English,Български"),
                                  "Ajutor:Continut,Index,-,Termene si Conditii,Despre"}));
    // The project menu follows the toolbar's states, and every command has
    // a key: the whole road can be walked without the mouse.
    EXPECT_EQ(w.mnuSave->shortcut(), QKeySequence(QKeySequence::Save));
    for (QAction *item : w.mnuProject->actions()) {
        if (item == w.mnuDiscover) {
            EXPECT_FALSE(item->isEnabled()) << "no data source is current";
        } else if (!item->isSeparator()) {
            EXPECT_EQ(item->isEnabled(), w.tlbButton(item->objectName().mid(4))->isEnabled())
                << item->text().toStdString();
        }
    }

    EXPECT_EQ(enabledButtons(w), QStringList({"new", "open"}));
    EXPECT_FALSE(w.mnuSave->isEnabled());
    EXPECT_EQ(projectHost(), &w);
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.pic->width(), 190);
}

TEST_F(MainWindow, FirstSeenWindowIsCentredAndItsPlacementIsKept)
{
    ProgramFolder folder;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    {
        frmMain w;
        EXPECT_EQ(w.pos(), QPoint(area.x() + (area.width() - w.width()) / 2,
                                  area.y() + (area.height() - w.height()) / 2));
        w.move(30, 20);
        w.resize(700, 500);
    }
    QSettings settings(kAppTitle, kAppTitle);
    EXPECT_EQ(settings.value(QStringLiteral("FormSettings/frmMain")).toString(),
              QStringLiteral("2|450|300|0|10500|7500"));
    frmMain again;
    EXPECT_EQ(again.pos(), QPoint(30, 20));
    EXPECT_EQ(again.size(), QSize(700, 500));
}

TEST_F(MainWindow, FirstActivationOpensTheStartDialogOnceWithAllTabs)
{
    ProgramFolder folder;
    ScriptedModals modals;
    QStringList tabs;
    modals.then(apptest::recordTabs(tabs));
    frmMain w;
    w.show();
    QTRY_COMPARE_WITH_TIMEOUT(modals.shown(), 1, 2000);
    EXPECT_EQ(tabs, QStringList({"new", "existing", "recent"}));
    w.Form_Activate();
    QApplication::processEvents();
    EXPECT_EQ(modals.shown(), 1);
    EXPECT_TRUE(w.tempFile().isEmpty());
    EXPECT_TRUE(workingCopies(folder).isEmpty());
}

TEST_F(MainWindow, WorkingCopyTakesTheNextFreeNameAndIsPrivate)
{
    ProgramFolder folder;
    QFile taken(folder.filePath(QStringLiteral("~00001.tmp")));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("ocupat");
    taken.close();

    frmMain w;
    const QString copy = w.fGetTempFile(folder.filePath(QStringLiteral("Vamor.vmt")));
    EXPECT_EQ(copy, folder.filePath(QStringLiteral("~00002.tmp")));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(copy).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(QFile(copy).size(), QFile(folder.filePath(QStringLiteral("Vamor.vmt"))).size());
    EXPECT_EQ(projectfile::workingCopyName(123456), QStringLiteral("~123456.tmp"));

    // A source that cannot be read: the standard error box, no working copy.
    ScriptedPrompts prompts;
    EXPECT_TRUE(w.fGetTempFile(folder.filePath(QStringLiteral("lipsa.vmd"))).isEmpty());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmMain: fGetTempFile"));
    EXPECT_EQ(prompts.messages().at(0).icon, ui::Icon::Critical);
    EXPECT_EQ(workingCopies(folder), QStringList({"~00001.tmp", "~00002.tmp"}));
}

TEST_F(MainWindow, NewProjectFromTemplateAndItsFirstSave)
{
    ProgramFolder folder;
    frmMain w;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    QStringList tabs;
    modals.then(apptest::recordTabs(tabs));
    w.pNew();
    EXPECT_EQ(tabs, QStringList({"new"}));
    EXPECT_TRUE(w.tempFile().isEmpty());

    modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
    w.pNew();
    ASSERT_EQ(w.tempFile(), folder.filePath(QStringLiteral("~00001.tmp")));
    EXPECT_TRUE(w.Conn().isOpen());
    EXPECT_TRUE(w.fileName().isEmpty());
    EXPECT_EQ(enabledButtons(w), QStringList({"new", "open", "conn_add"}));   // empty tree: no conversion
    EXPECT_TRUE(fgGetRecentFiles().isEmpty());

    // An edit, then a save whose dialog is cancelled: nothing is written.
    w.Conn().execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description) VALUES (6, 'Sursa')"));
    w.SetDirty(true);
    const QStringList before = folder.files();
    prompts.saveFile(QString());
    EXPECT_FALSE(w.fSave());
    ASSERT_EQ(prompts.saveRequests().size(), 1);
    EXPECT_EQ(prompts.saveRequests().at(0).title, QStringLiteral("Vamor File"));
    EXPECT_EQ(prompts.saveRequests().at(0).filter, QStringLiteral("Vamor Files (*.vmd)|*.vmd|All Files (*.*)|*.*"));
    EXPECT_TRUE(prompts.saveRequests().at(0).confirmOverwrite);
    EXPECT_EQ(folder.files(), before);
    EXPECT_TRUE(w.tlbButton(QStringLiteral("save"))->isEnabled());
    EXPECT_TRUE(w.mnuSave->isEnabled());
    EXPECT_TRUE(w.isDirty());

    // Named at the save (as typed: no extension is added).
    const QString target = folder.filePath(QStringLiteral("Proiectul meu"));
    prompts.saveFile(target);
    EXPECT_TRUE(w.fSave());
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_EQ(w.fileName(), target);
    EXPECT_FALSE(w.tlbButton(QStringLiteral("save"))->isEnabled());
    EXPECT_FALSE(w.isDirty());
    EXPECT_EQ(fgGetRecentFiles().value(0), target);
    EXPECT_TRUE(w.Conn().isOpen());
    // Nothing but the project file, its lock (held while the project is open)
    // and the working copy is left behind.
    QStringList expected = before;
    expected.append(QStringLiteral("Proiectul meu"));
    expected.append(QStringLiteral("Proiectul meu.lock"));
    expected.sort();
    EXPECT_EQ(folder.files(), expected);
    {
        db::Connection saved;
        saved.open(projectfile::projectConnectionString(target));
        EXPECT_EQ(saved.openRecordset(QStringLiteral("SELECT Description FROM tConn")).value(0).toString(),
                  QStringLiteral("Sursa"));
    }
}

TEST_F(MainWindow, SavingAnOpenedProjectAsksNothingAndHeadsTheRecentList)
{
    ProgramFolder folder;
    const QString file = folder.filePath(QStringLiteral("Salarii.vmd"));
    makeProject(file, fillSample);
    pgAddToRecent(folder.filePath(QStringLiteral("Altul.vmd")));

    frmMain w;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    modals.then(chooseExisting(file));
    w.pOpen(false);
    ASSERT_EQ(w.fileName(), file);
    EXPECT_EQ(fgGetRecentFiles().value(0), file);
    pgAddToRecent(folder.filePath(QStringLiteral("Altul.vmd")));

    w.Conn().execute(QStringLiteral("UPDATE tConn SET Description = 'Contabilitate 2005' WHERE Description = 'Contabilitate'"));
    w.SetDirty(true);
    EXPECT_TRUE(w.fSave());
    EXPECT_TRUE(prompts.saveRequests().isEmpty());
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(fgGetRecentFiles().value(0), file);
    db::Connection saved;
    saved.open(projectfile::projectConnectionString(file));
    EXPECT_EQ(saved.openRecordset(QStringLiteral("SELECT Count(*) AS N FROM tConn WHERE Description = 'Contabilitate 2005'"))
                  .value(0)
                  .toInt(),
              1);
}

TEST_F(MainWindow, FailedSaveKeepsTheProjectUsableAndModified)
{
    ProgramFolder folder;
    frmMain w;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
    w.pNew();
    w.SetDirty(true);
    const QString target = folder.filePath(QStringLiteral("lipsa/Proiect.vmd"));
    prompts.saveFile(target);
    EXPECT_FALSE(w.fSave());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmMain: fSave"));
    EXPECT_TRUE(w.isDirty());
    EXPECT_TRUE(w.tlbButton(QStringLiteral("save"))->isEnabled());
    EXPECT_TRUE(w.Conn().isOpen());
    EXPECT_NO_THROW(w.Conn().execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description) VALUES (6, 'x')")));
    // The chosen name is kept: the next save goes there without asking.
    EXPECT_EQ(w.fileName(), target);
    EXPECT_FALSE(w.fSave());
    EXPECT_EQ(prompts.saveRequests().size(), 1);

    // A save that fails half way leaves the previous project file as it was.
    const QString existing = folder.filePath(QStringLiteral("Vechi.vmd"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("continutul anterior");
    }
    const QStringList before = folder.files();
    ASSERT_TRUE(QFile::remove(w.tempFile()));
    EXPECT_THROW(projectfile::saveWorkingCopy(w.tempFile(), existing), db::DbError);
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("continutul anterior"));
    QStringList after = before;
    after.removeAll(QStringLiteral("~00001.tmp"));
    EXPECT_EQ(folder.files(), after);
}

TEST_F(MainWindow, CancelOnTheSaveQuestionKeepsTheProjectAndOpensNothing)
{
    ProgramFolder folder;
    const QString first = folder.filePath(QStringLiteral("Primul.vmd"));
    const QString second = folder.filePath(QStringLiteral("Al doilea.vmd"));
    makeProject(first, fillSample);
    makeProject(second);

    frmMain w;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    modals.then(chooseExisting(first));
    w.pOpen(false);
    const QString copy = w.tempFile();
    w.SetDirty(true);

    modals.then(chooseExisting(second));
    prompts.answer(ui::Answer::Cancel);
    w.pOpen(false);
    EXPECT_EQ(prompts.messageTexts(), QStringList({kSaveQuestion}));
    EXPECT_EQ(prompts.messages().at(0).buttons, ui::Buttons::YesNoCancel);
    EXPECT_EQ(prompts.messages().at(0).icon, ui::Icon::Question);
    EXPECT_EQ(w.fileName(), first);
    EXPECT_EQ(w.tempFile(), copy);
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_TRUE(w.Conn().isOpen());
    EXPECT_EQ(w.trv->topLevelItemCount(), 2);
    EXPECT_TRUE(w.isDirty());
    EXPECT_EQ(workingCopies(folder), QStringList({"~00001.tmp"}));

    // No: the first project is dropped unsaved and the second one opens.
    modals.then(chooseExisting(second));
    prompts.clear();
    prompts.answer(ui::Answer::No);
    w.pOpen(false);
    EXPECT_EQ(prompts.messageTexts(), QStringList({kSaveQuestion}));
    EXPECT_EQ(w.fileName(), second);
    // The first working copy went away; its name is free for the second one.
    EXPECT_EQ(workingCopies(folder), QStringList({"~00001.tmp"}));
    EXPECT_EQ(w.trv->topLevelItemCount(), 0);
    EXPECT_FALSE(w.isDirty());

    // Yes saves first; a save that does not happen keeps the project.
    w.Conn().execute(QStringLiteral("INSERT INTO tConn (IdConnType, Description) VALUES (6, 'Noua')"));
    w.SetDirty(true);
    modals.then(chooseExisting(first));
    prompts.answer(ui::Answer::Yes);
    w.pOpen(false);
    EXPECT_EQ(w.fileName(), first);
    EXPECT_TRUE(prompts.saveRequests().isEmpty());
    {
        db::Connection saved;
        saved.open(projectfile::projectConnectionString(second));
        EXPECT_EQ(saved.openRecordset(QStringLiteral("SELECT Description FROM tConn")).value(0).toString(),
                  QStringLiteral("Noua"));
    }
    modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
    w.pNew();
    w.SetDirty(true);
    const QString unsaved = w.tempFile();
    modals.then(chooseExisting(first));
    prompts.answer(ui::Answer::Yes);
    prompts.saveFile(QString());
    w.pOpen(false);
    EXPECT_EQ(prompts.saveRequests().size(), 1);
    EXPECT_TRUE(w.fileName().isEmpty());
    EXPECT_EQ(w.tempFile(), unsaved);
    EXPECT_TRUE(QFile::exists(unsaved));
    EXPECT_TRUE(w.isDirty());

    // No, and the chosen file has gone in the meantime: the copy fails, no
    // project is open, and there is nothing left to save or to ask about.
    const QString vanished = folder.filePath(QStringLiteral("Disparut.vmd"));
    modals.then(chooseExisting(vanished));
    prompts.clear();
    prompts.answer(ui::Answer::No);
    w.pOpen(false);
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_EQ(prompts.messages().at(0).text, kSaveQuestion);
    EXPECT_EQ(prompts.messages().at(1).title, QStringLiteral("frmMain: fGetTempFile"));
    EXPECT_TRUE(w.tempFile().isEmpty());
    EXPECT_FALSE(w.Conn().isOpen());
    EXPECT_FALSE(w.isDirty());
    EXPECT_FALSE(w.tlbButton(QStringLiteral("save"))->isEnabled());
    EXPECT_FALSE(w.mnuSave->isEnabled());
    EXPECT_TRUE(workingCopies(folder).isEmpty());
    modals.then(chooseExisting(first));
    prompts.clear();
    w.pOpen(false);
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(w.fileName(), first);
}

TEST_F(MainWindow, ClosingFromTheTitleBarAsksOnceAndRemovesTheWorkingCopy)
{
    ProgramFolder folder;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    frmMain w;
    modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
    w.pNew();
    w.show();
    const QString copy = w.tempFile();
    ASSERT_TRUE(QFile::exists(copy));
    w.SetDirty(true);

    prompts.answer(ui::Answer::Cancel);
    closeFromTitleBar(w);
    EXPECT_EQ(prompts.messageTexts(), QStringList({kSaveQuestion}));
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_TRUE(w.Conn().isOpen());

    prompts.clear();
    prompts.answer(ui::Answer::No);
    closeFromTitleBar(w);
    EXPECT_EQ(prompts.messageTexts(), QStringList({kSaveQuestion}));
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_FALSE(w.Conn().isOpen());
    EXPECT_TRUE(workingCopies(folder).isEmpty());
}

TEST_F(MainWindow, InchideAsksOnceAndAClosedUnchangedProjectAsksNothing)
{
    ProgramFolder folder;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    {
        frmMain w;
        modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
        w.pNew();
        w.show();
        w.SetDirty(true);
        prompts.answer(ui::Answer::No);
        w.mnuExit->trigger();
        EXPECT_EQ(prompts.messageTexts(), QStringList({kSaveQuestion}));
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(workingCopies(folder).isEmpty());
    }
    prompts.clear();
    {
        frmMain w;
        modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
        w.pNew();
        w.show();
        closeFromTitleBar(w); // nothing changed: nothing to ask
        EXPECT_TRUE(prompts.messages().isEmpty());
        EXPECT_TRUE(workingCopies(folder).isEmpty());
    }
    {
        // A close requested by the program never asks; unsaved changes are lost.
        frmMain w;
        modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
        w.pNew();
        w.show();
        w.SetDirty(true);
        w.close();
        EXPECT_TRUE(prompts.messages().isEmpty());
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(workingCopies(folder).isEmpty());
    }
    {
        // Without a close at all, the window going away removes its working copy.
        frmMain w;
        modals.then(chooseTemplate(QStringLiteral("Vamor.vmt")));
        w.pNew();
        w.SetDirty(true);
        EXPECT_EQ(workingCopies(folder).size(), 1);
    }
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_TRUE(workingCopies(folder).isEmpty());
}

TEST_F(MainWindow, TreeShowsSourcesWithTheirTablesCountsAndOfflineMark)
{
    ProgramFolder folder;
    const QString file = folder.filePath(QStringLiteral("Arbore.vmd"));
    makeProject(file, fillSample);
    frmMain w;
    ScriptedModals modals;
    modals.then(chooseExisting(file));
    w.pOpen(false);

    ASSERT_EQ(w.trv->topLevelItemCount(), 2);
    QTreeWidgetItem *arhiva = w.trv->topLevelItem(0);
    QTreeWidgetItem *contab = w.trv->topLevelItem(1);
    EXPECT_EQ(arhiva->text(0), QStringLiteral("Arhiva (Deconectat)"));
    EXPECT_FALSE(arhiva->isExpanded());
    EXPECT_EQ(contab->text(0), QStringLiteral("Contabilitate"));
    EXPECT_TRUE(contab->isExpanded());
    EXPECT_TRUE(frmMain::nodeKey(contab).startsWith(QStringLiteral("C_")));
    ASSERT_EQ(contab->childCount(), 2);
    EXPECT_EQ(contab->child(0)->text(0), QStringLiteral("Angajati (0)"));
    EXPECT_EQ(contab->child(1)->text(0), QStringLiteral("Plati (3)"));
    EXPECT_EQ(arhiva->child(0)->text(0), QStringLiteral("Facturi (1)"));
    EXPECT_TRUE(frmMain::nodeKey(contab->child(1)).startsWith(QStringLiteral("T_")));
    EXPECT_FALSE(contab->icon(0).isNull());
    EXPECT_FALSE(contab->child(0)->icon(0).isNull());
    EXPECT_EQ(enabledButtons(w), QStringList({"new", "open", "conn_add", "-", "+"}));

    // The current node changing by itself (the tree taking the focus) opens
    // nothing; moving to a node with the keyboard selects it.
    w.show();
    w.trv->setFocus();
    w.trv->setCurrentItem(contab);
    QApplication::processEvents();
    EXPECT_EQ(w.mcolChildren.count(), 0);
    QTest::keyClick(w.trv, Qt::Key_Down);
    EXPECT_EQ(w.trv->currentItem(), contab->child(0));
    EXPECT_EQ(w.mcolChildren.keys(), QStringList({frmMain::nodeKey(contab->child(0))}));
    EXPECT_TRUE(w.tlbButton(QStringLiteral("field_add"))->isEnabled());
}

TEST_F(MainWindow, NodeClicksSetTheButtonsAndKeepOneChildWindowPerNode)
{
    ProgramFolder folder;
    const QString file = folder.filePath(QStringLiteral("Noduri.vmd"));
    int idContab = 0, idPlati = 0;
    // The online source is a database that opens, so that its window's
    // connection test changes nothing.
    const QString database = folder.filePath(QStringLiteral("contab.db"));
    QFile(database).open(QIODevice::WriteOnly);
    makeProject(file, [&](ProjectFixture &p) {
        fillSample(p);
        idContab = p.scalar(QStringLiteral("SELECT IdConn FROM tConn WHERE Description = 'Contabilitate'")).toInt();
        idPlati = p.scalar(QStringLiteral("SELECT IdTable FROM tTable WHERE TableName = 'Plati'")).toInt();
        p.Conn().execute(QStringLiteral("UPDATE tConn SET ConnString = ")
                         + ProjectFixture::literal(QStringLiteral("Provider=SQLite;Data Source=") + database)
                         + QStringLiteral(" WHERE IdConn = ") + QString::number(idContab));
    });
    frmMain w;
    w.show();
    ScriptedModals modals;
    modals.then(chooseExisting(file));
    w.pOpen(false);
    const QString connKey = QStringLiteral("C_") + QString::number(idContab);
    const QString tableKey = QStringLiteral("T_") + QString::number(idPlati);

    ASSERT_TRUE(w.selectNode(connKey));
    EXPECT_EQ(enabledButtons(w), QStringList({"new", "open", "conn_add", "conn_del", "table_add", "-", "+"}));
    EXPECT_EQ(w.idConn(), idContab);
    EXPECT_EQ(w.idTable(), 0);
    auto *source = qobject_cast<frmConn *>(w.mcolChildren.value(connKey).data());
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->description(), QStringLiteral("Contabilitate"));
    EXPECT_EQ(w.mdi->activeSubWindow(), source);

    // The table window selects its first field: the field commands apply.
    ASSERT_TRUE(w.selectNode(tableKey));
    EXPECT_EQ(enabledButtons(w), QStringList({"new", "open", "conn_add", "table_add", "table_del", "field_add",
                                              "field_del", "-", "+"}));
    EXPECT_EQ(w.idConn(), idContab);
    EXPECT_EQ(w.idTable(), idPlati);
    auto *table = qobject_cast<frmTable *>(w.mcolChildren.value(tableKey).data());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetTableName(), QStringLiteral("Plati"));
    EXPECT_EQ(table->activateCount(), 0);
    w.SetFieldButtons(true);
    EXPECT_TRUE(w.tlbButton(QStringLiteral("field_del"))->isEnabled());

    // The user closes both windows: they are hidden, and the next clicks
    // bring the same windows back (the table window is activated).
    source->close();
    table->close();
    EXPECT_FALSE(source->isVisible());
    EXPECT_FALSE(table->isVisible());
    w.selectNode(connKey);
    EXPECT_FALSE(w.tlbButton(QStringLiteral("field_del"))->isEnabled());
    EXPECT_EQ(w.mcolChildren.value(connKey).data(), source);
    EXPECT_TRUE(source->isVisible());
    EXPECT_EQ(w.mdi->activeSubWindow(), source);
    w.selectNode(tableKey);
    EXPECT_EQ(w.mcolChildren.value(tableKey).data(), table);
    EXPECT_EQ(table->activateCount(), 1);
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(w.mcolChildren.count(), 2);
    EXPECT_EQ(w.mdi->subWindowList().size(), 2);

    // No node: only the buttons change.
    w.trv_NodeClick(nullptr);
    EXPECT_EQ(enabledButtons(w), QStringList({"new", "open", "conn_add", "-", "+"}));
    EXPECT_EQ(w.idConn(), idContab);

    // Renaming a node; a key that is not in the tree gives the error box.
    w.NodeTextChanged(connKey, QStringLiteral("Contabilitate (Deconectat)"));
    EXPECT_EQ(w.findNode(connKey)->text(0), QStringLiteral("Contabilitate (Deconectat)"));
    ScriptedPrompts prompts;
    w.NodeTextChanged(QStringLiteral("C_999"), QStringLiteral("x"));
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmMain: NodeTextChanged"));

    // Closing the project destroys the windows, which leave the collection.
    QPointer<frmConn> gone = source;
    w.pClearProject(true);
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(w.mcolChildren.count(), 0);
    EXPECT_TRUE(w.mdi->subWindowList().isEmpty());
    EXPECT_EQ(enabledButtons(w), QStringList({"new", "open"}));
}

TEST_F(MainWindow, DamagedProjectFilesGiveTheErrorBoxAndLeaveTheProgramUsable)
{
    ProgramFolder folder;
    const QString notADatabase = folder.filePath(QStringLiteral("Text.vmd"));
    {
        QFile file(notADatabase);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Acesta nu este un proiect Vamor, doar un fisier text oarecare.\n");
    }
    const QString noConfig = folder.filePath(QStringLiteral("FaraConfig.vmd"));
    makeProject(noConfig, [](ProjectFixture &p) { p.Conn().execute(QStringLiteral("DELETE FROM tConfig")); });
    const QString orphan = folder.filePath(QStringLiteral("Orfan.vmd"));
    makeProject(orphan, [](ProjectFixture &p) {
        p.addConn(6, QStringLiteral("Sursa"));
        p.Conn().execute(QStringLiteral("PRAGMA foreign_keys = OFF"));
        p.Conn().execute(QStringLiteral("INSERT INTO tTable (IdConn, TableName) VALUES (777, 'Pierdut')"));
    });
    const QString future = folder.filePath(QStringLiteral("Viitor.vmd"));
    makeProject(future, [](ProjectFixture &p) { p.Conn().execute(QStringLiteral("UPDATE tConfig SET Version = '2.0'")); });
    const QString nullVersion = folder.filePath(QStringLiteral("FaraVersiune.vmd"));
    makeProject(nullVersion, [](ProjectFixture &p) {
        p.Conn().execute(QStringLiteral("UPDATE tConfig SET Version = NULL"));
        p.addConn(6, QStringLiteral("Sursa"));
    });

    frmMain w;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    for (const QString &file : {notADatabase, noConfig, orphan}) {
        prompts.clear();
        modals.then(chooseExisting(file));
        w.pOpen(false);
        ASSERT_EQ(prompts.messages().size(), 1) << file.toStdString();
        EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmMain: fLoadProject"));
        EXPECT_EQ(prompts.messages().at(0).icon, ui::Icon::Critical);
        EXPECT_FALSE(w.tlbButton(QStringLiteral("conn_add"))->isEnabled());
        EXPECT_FALSE(fgGetRecentFiles().contains(file));
    }

    prompts.clear();
    modals.then(chooseExisting(future));
    w.pOpen(false);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().at(0).text.contains(QStringLiteral("versiunii 2.0")));
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("Vamor"));
    EXPECT_FALSE(w.fLoadProject());
    EXPECT_FALSE(w.tlbButton(QStringLiteral("conn_add"))->isEnabled());
    EXPECT_EQ(w.trv->topLevelItemCount(), 0);

    // Still usable: a Null version opens as 1.0, and every working copy is
    // gone once the window closes.
    prompts.clear();
    modals.then(chooseExisting(nullVersion));
    w.pOpen(false);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(w.trv->topLevelItemCount(), 1);
    EXPECT_TRUE(w.tlbButton(QStringLiteral("conn_add"))->isEnabled());
    EXPECT_EQ(fgGetRecentFiles().value(0), nullVersion);
    EXPECT_EQ(workingCopies(folder).size(), 1);
    w.close();
    EXPECT_TRUE(workingCopies(folder).isEmpty());
}
