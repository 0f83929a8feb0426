// The start dialog: templates, an existing file, the recent files.
#include "app/frmStart.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TestSupport.h"
#include "util/core/AppInfo.h"
#include "util/core/RecentFiles.h"
#include "util/widgets/ModalDialog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

using testsupport::ProgramFolder;
using testsupport::ScriptedPrompts;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

class StartDialog : public ::testing::Test {
protected:
    void SetUp() override { testsupport::clearSettings(); }
};

QStringList tabKeys(frmStart &dialog)
{
    QStringList keys;
    for (int i = 0; i < dialog.TabStripStart->count(); ++i)
        keys.append(dialog.TabStripStart->tabData(i).toString());
    return keys;
}

} // namespace

TEST_F(StartDialog, DefaultTemplateComesFirstSelectedWithItsOwnPicture)
{
    ProgramFolder folder;
    ASSERT_TRUE(QFile::exists(folder.filePath(QStringLiteral("Vamor.vmt"))));
    ASSERT_TRUE(QFile::exists(folder.filePath(QStringLiteral("Vamor 4 zecimale.vmt"))));
    // A template whose name sorts before the default one, and a file that is not a template.
    ASSERT_TRUE(QFile::copy(folder.filePath(QStringLiteral("Vamor.vmt")), folder.filePath(QStringLiteral("Alfa.VMT"))));
    ASSERT_TRUE(QFile::copy(folder.filePath(QStringLiteral("Vamor.vmt")), folder.filePath(QStringLiteral("Beta.vmd"))));

    frmStart dialog;
    dialog.ensurePolished();
    ASSERT_EQ(dialog.lvNew->count(), 5);
    QListWidgetItem *first = dialog.lvNew->item(0);
    EXPECT_EQ(first->text(), QStringLiteral("Proiect Vamor"));
    EXPECT_EQ(first->data(Qt::UserRole).toString(), QStringLiteral("Vamor.vmt"));
    EXPECT_EQ(first->data(Qt::UserRole + 1).toString(), QStringLiteral("new"));
    EXPECT_FALSE(first->icon().isNull());
    EXPECT_TRUE(first->isSelected());
    QStringList others;
    for (int i = 1; i < 5; ++i) {
        others.append(dialog.lvNew->item(i)->text());
        EXPECT_EQ(dialog.lvNew->item(i)->data(Qt::UserRole + 1).toString(), QStringLiteral("user"));
    }
    EXPECT_EQ(others, QStringList({"Proiect Alfa", "Proiect Vamor 4 zecimale", "Proiect Vamor BGN-EUR",
                                   "Proiect Vamor HRK-EUR"}));
    // Each template says in one line what it converts.
    auto *description = dialog.findChild<QLabel *>(QStringLiteral("lblTemplate"));
    ASSERT_NE(description, nullptr);
    EXPECT_TRUE(description->text().startsWith(QStringLiteral("Leu romanesc: 10 000 lei vechi (ROL) = 1 leu nou (RON)")))
        << description->text().toStdString();
    dialog.lvNew->setCurrentRow(3);
    EXPECT_EQ(description->text(),
              QStringLiteral("Lev bulgaresc in euro: 1 EUR = 1,95583 BGN, de la 1 ianuarie 2026"));

    EXPECT_EQ(tabKeys(dialog), QStringList({"new", "existing", "recent"}));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Proiect Nou"));
    EXPECT_TRUE(dialog.lblTitle->text().startsWith(QStringLiteral("Vamor 1.")));

    dialog.lvNew->setCurrentRow(2);
    dialog.cmdOpen->click();
    EXPECT_TRUE(dialog.Ok);
    EXPECT_EQ(dialog.NewFileName, QStringLiteral("Vamor 4 zecimale.vmt"));
    EXPECT_TRUE(dialog.FileName.isEmpty());
}

TEST_F(StartDialog, WithoutTemplatesOpenDoesNothing)
{
    ProgramFolder folder(false);
    frmStart dialog;
    dialog.ShowExisting = false;
    dialog.ShowRecent = false;
    dialog.ensurePolished();
    EXPECT_EQ(dialog.lvNew->count(), 0);
    EXPECT_EQ(tabKeys(dialog), QStringList({"new"}));
    ScriptedPrompts prompts;
    dialog.cmdOpen->click();
    EXPECT_FALSE(dialog.Ok);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(StartDialog, ExistingTabAsksForAFileAndBrowsing)
{
    ProgramFolder folder;
    frmStart dialog;
    dialog.ShowNew = false;
    dialog.ensurePolished();
    EXPECT_EQ(tabKeys(dialog), QStringList({"existing", "recent"}));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Deschide Proiect"));
    EXPECT_TRUE(dialog.frExisting->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.frNew->isVisibleTo(&dialog));

    ScriptedPrompts prompts;
    dialog.cmdOpen->click();
    EXPECT_FALSE(dialog.Ok);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).text, QStringLiteral("Trebuie sa specificati un fisier existent."));
    EXPECT_EQ(prompts.messages().at(0).icon, ui::Icon::Information);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("Vamor"));

    // Browsing fills the text; a cancelled browse keeps what was typed.
    prompts.openFile(QStringLiteral("/date/Salarii.vmd"));
    dialog.cmdBrowse->click();
    EXPECT_EQ(dialog.txtExisting->text(), QStringLiteral("/date/Salarii.vmd"));
    ASSERT_EQ(prompts.openRequests().size(), 1);
    EXPECT_EQ(prompts.openRequests().at(0).title, QStringLiteral("Vamor File"));
    EXPECT_EQ(prompts.openRequests().at(0).filter, QStringLiteral("Vamor Files (*.vmd)|*.vmd|All Files (*.*)|*.*"));
    EXPECT_TRUE(prompts.openRequests().at(0).mustExist);
    dialog.cmdBrowse->click();
    EXPECT_EQ(dialog.txtExisting->text(), QStringLiteral("/date/Salarii.vmd"));

    // Whether the file exists is left to the caller.
    dialog.cmdOpen->click();
    EXPECT_TRUE(dialog.Ok);
    EXPECT_EQ(dialog.FileName, QStringLiteral("/date/Salarii.vmd"));
    EXPECT_TRUE(dialog.NewFileName.isEmpty());
}

TEST_F(StartDialog, RecentTabListsTheStoredFilesOnceEach)
{
    ProgramFolder folder;
    for (const char *path : {"/p/D.vmd", "/p/C.vmd", "/p/B.vmd", "/p/A.vmd", "/p/B.vmd", "Fara folder.vmd"})
        pgAddToRecent(QString::fromUtf8(path));
    frmStart dialog;
    dialog.ensurePolished();
    ASSERT_TRUE(dialog.selectTab(QStringLiteral("recent")));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Deschide Proiect Recent"));
    EXPECT_EQ(dialog.lwRecent->headerItem()->text(0), QStringLiteral("File"));
    EXPECT_EQ(dialog.lwRecent->headerItem()->text(1), QStringLiteral("Folder"));
    QStringList rows;
    for (int i = 0; i < dialog.lwRecent->topLevelItemCount(); ++i)
        rows.append(dialog.lwRecent->topLevelItem(i)->text(1) + QLatin1Char('|')
                    + dialog.lwRecent->topLevelItem(i)->text(0));
    EXPECT_EQ(rows, QStringList({"|Fara folder.vmd", "/p/|B.vmd", "/p/|A.vmd", "/p/|C.vmd"}));
    EXPECT_TRUE(dialog.lwRecent->topLevelItem(0)->isSelected());

    // The path without a folder comes back unchanged.
    dialog.cmdOpen->click();
    EXPECT_TRUE(dialog.Ok);
    EXPECT_EQ(dialog.FileName, QStringLiteral("Fara folder.vmd"));

    frmStart again;
    again.ensurePolished();
    again.selectTab(QStringLiteral("recent"));
    again.lwRecent->clearSelection();
    ScriptedPrompts prompts;
    again.cmdOpen->click();
    EXPECT_FALSE(again.Ok);
    EXPECT_EQ(prompts.messageTexts(),
              QStringList({"Trebuie sa selectati un fisier din lista de fisiere recente."}));
    again.lwRecent->topLevelItem(2)->setSelected(true);
    again.cmdOpen->click();
    EXPECT_EQ(again.FileName, QStringLiteral("/p/A.vmd"));
}
