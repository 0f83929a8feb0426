// The main window acts on what the user has in front of him: the table of
// the window he works in, the node he sees selected; no typed text is lost
// however the program is closed; a connection is tested only when the user
// has finished with a box; Enter never starts a conversion.
#include "app/frmMain.h"
#include "conversion/frmConvertStart.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "datasources/ctlConnDetails.h"
#include "datasources/frmConn.h"
#include "tables/frmTable.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/util/Sandbox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>
#include <gtest/gtest.h>

using apptest::chooseExisting;
using apptest::closeFromTitleBar;
using apptest::kSaveQuestion;
using apptest::makeProject;
using testsupport::ProgramFolder;
using testsupport::ProjectFixture;
using testsupport::ScriptedModals;
using testsupport::ScriptedPrompts;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);


QString fieldNames(db::Connection &project, int idTable)
{
    QStringList names;
    db::Recordset rs = project.openRecordset(
        QStringLiteral("SELECT FieldName FROM tField WHERE IdTable = %1 ORDER BY FieldName").arg(idTable));
    for (; !rs.eof(); rs.moveNext())
        names << rs.value(0).toString();
    return names.join(QLatin1Char(','));
}

// A project of one SQLite source (a file that opens) with the tables
// Facturi (Suma, Tva) and Plati (Comision, Suma).
class WindowContext : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::clearSettings();
        const QString database = folder.filePath(QStringLiteral("firma.db"));
        QFile(database).open(QIODevice::WriteOnly);
        file = folder.filePath(QStringLiteral("Firma.vmd"));
        makeProject(file, [&](ProjectFixture &p) {
            idConn = p.addConn(6, QStringLiteral("Firma"), QStringLiteral("Provider=SQLite;Data Source=") + database);
            idFacturi = p.addTable(idConn, QStringLiteral("Facturi"));
            p.addField(idFacturi, QStringLiteral("Suma"));
            p.addField(idFacturi, QStringLiteral("Tva"));
            idPlati = p.addTable(idConn, QStringLiteral("Plati"));
            p.addField(idPlati, QStringLiteral("Comision"));
            p.addField(idPlati, QStringLiteral("Suma"));
        });
        w.show();
        // The window the user works in has the focus, as on a desktop.
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        modals.then(chooseExisting(file));
        w.pOpen(false);
    }
    void TearDown() override { w.SetDirty(false); }

    QString facturi() const { return QStringLiteral("T_") + QString::number(idFacturi); }
    QString plati() const { return QStringLiteral("T_") + QString::number(idPlati); }
    frmTable *table(const QString &key) { return qobject_cast<frmTable *>(w.mcolChildren.value(key).data()); }
    // Selects a field in a table window with a mouse click, as a user does.
    void clickField(frmTable *window, const QString &name)
    {
        QTreeWidget *list = window->findChild<QTreeWidget *>(QStringLiteral("lsv"));
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(0) == name) {
                const QRect rect = list->visualItemRect(list->topLevelItem(i));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
                return;
            }
        FAIL() << "no field " << name.toStdString();
    }

    ProgramFolder folder;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    frmMain w;
    QString file;
    int idConn = 0, idFacturi = 0, idPlati = 0;
};

// Two table windows open; a click on a field of the first one makes its
// table the one the field buttons act on: "Sterge" asks about that field
// and removes it, never a field of the other table.
TEST_F(WindowContext, FieldButtonsActOnTheTableOfTheWindowClickedIn)
{
    ASSERT_TRUE(w.selectNode(facturi()));
    ASSERT_TRUE(w.selectNode(plati()));
    ASSERT_EQ(w.selectedNodeKey(), plati());
    frmTable *facturiWindow = table(facturi());
    ASSERT_NE(facturiWindow, nullptr);

    clickField(facturiWindow, QStringLiteral("Tva"));
    EXPECT_EQ(w.mdi->activeSubWindow(), facturiWindow);
    EXPECT_EQ(w.selectedNodeKey(), facturi()) << "the tree follows the window";
    EXPECT_EQ(w.idTable(), idFacturi);
    ASSERT_TRUE(w.tlbButton(QStringLiteral("field_del"))->isEnabled());

    prompts.answer(ui::Answer::No); // the field goes, its recovery column stays
    w.tlbButton(QStringLiteral("field_del"))->trigger();
    ASSERT_FALSE(prompts.messageTexts().isEmpty());
    EXPECT_TRUE(prompts.messageTexts().first().contains(QStringLiteral("\"Tva\""))) << prompts.messageTexts().first().toStdString();
    EXPECT_EQ(fieldNames(w.Conn(), idFacturi), QStringLiteral("Suma"));
    EXPECT_EQ(fieldNames(w.Conn(), idPlati), QStringLiteral("Comision,Suma"));

    // Ctrl+Tab style activation of the other window moves the context back.
    w.mdi->setActiveSubWindow(table(plati()));
    EXPECT_EQ(w.selectedNodeKey(), plati());
    EXPECT_EQ(w.idTable(), idPlati);
}

// A press on a table node released off it makes the node current: the
// buttons follow it at once, and "Sterge Sursa de Date" cannot remove a
// table's node.
TEST_F(WindowContext, PressReleasedOffANodeSetsTheButtonsOfThatNode)
{
    const QString connKey = QStringLiteral("C_") + QString::number(idConn);
    ASSERT_TRUE(w.selectNode(connKey));
    ASSERT_TRUE(w.tlbButton(QStringLiteral("conn_del"))->isEnabled());
    QTreeWidgetItem *node = w.findNode(plati());
    const QRect rect = w.trv->visualItemRect(node);
    QTest::mousePress(w.trv->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseRelease(w.trv->viewport(), Qt::LeftButton, {}, QPoint(rect.center().x(), w.trv->viewport()->height() - 2));
    EXPECT_EQ(w.selectedNodeKey(), plati());
    EXPECT_FALSE(w.tlbButton(QStringLiteral("conn_del"))->isEnabled());
    EXPECT_TRUE(w.tlbButton(QStringLiteral("table_del"))->isEnabled());
    EXPECT_EQ(w.idTable(), idPlati);

    // Even asked directly, the data-source command leaves a table node alone.
    w.pConnDel();
    EXPECT_NE(w.findNode(plati()), nullptr);
    EXPECT_FALSE(w.isDirty());
}

// A WHERE clause typed in a table window and never left is written when the
// main window is closed from its title bar: the save question comes, and
// "Da" keeps the clause in the project file.
TEST_F(WindowContext, ClosingFromTheTitleBarKeepsAClauseStillBeingTyped)
{
    ASSERT_TRUE(w.selectNode(facturi()));
    auto *where = table(facturi())->findChild<QPlainTextEdit *>(QStringLiteral("txtSQLWhere"));
    ASSERT_NE(where, nullptr);
    where->setFocus();
    QTest::keyClicks(where, QStringLiteral("Suma > 0"));
    ASSERT_FALSE(w.isDirty()) << "nothing written while the box has the focus";

    prompts.answer(ui::Answer::Yes);
    closeFromTitleBar(w);
    EXPECT_EQ(prompts.messageTexts(), QStringList({kSaveQuestion}));
    db::Connection saved;
    saved.open(QStringLiteral("Provider=SQLite;Data Source=") + file);
    db::Recordset rs = saved.openRecordset(QStringLiteral("SELECT SQLWhere FROM tTable WHERE IdTable = %1").arg(idFacturi));
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("Suma > 0"));
}

// A connection value typed and not left: closing the data-source window
// (its close box) writes it; the main window's close then asks to save.
// Nothing is saved or tested while the windows are destroyed.
TEST_F(WindowContext, ClosingKeepsAConnectionValueStillBeingTyped)
{
    const QString connKey = QStringLiteral("C_") + QString::number(idConn);
    ASSERT_TRUE(w.selectNode(connKey));
    auto *window = qobject_cast<frmConn *>(w.mcolChildren.value(connKey).data());
    ASSERT_NE(window, nullptr);
    auto *box = window->findChild<QPlainTextEdit *>(QStringLiteral("txtUnknownConnString"));
    ASSERT_NE(box, nullptr);
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, QStringLiteral(";Cache=Private"));
    closeFromTitleBar(*window);
    EXPECT_TRUE(w.isDirty()) << "the value went to the project as the window closed";
    prompts.answer(ui::Answer::No);
    closeFromTitleBar(w);
    EXPECT_EQ(prompts.messageTexts(), QStringList({kSaveQuestion}));
}

// A right-click (context menu) or another window taking the focus does not
// end an edit: the half-typed value is neither saved nor tested, and
// "Deconectat" stays unticked. Moving to another box of the window does.
TEST_F(WindowContext, FocusLostToAPopupOrAnotherWindowTestsNothing)
{
    const QString connKey = QStringLiteral("C_") + QString::number(idConn);
    ASSERT_TRUE(w.selectNode(connKey));
    auto *window = qobject_cast<frmConn *>(w.mcolChildren.value(connKey).data());
    auto *details = window->findChild<ctlConnDetails *>();
    ASSERT_NE(details, nullptr);
    auto *box = details->findChild<QPlainTextEdit *>(QStringLiteral("txtUnknownConnString"));
    ASSERT_NE(box, nullptr);
    const QString before = box->toPlainText();
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    // Half typed: the file name is cut short.
    QTest::keyClick(box, Qt::Key_Backspace);
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason, Qt::MenuBarFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(box, &out);
    }
    EXPECT_TRUE(details->hasPendingChange()) << "the edit goes on";
    EXPECT_FALSE(w.isDirty());
    EXPECT_EQ(window->status(), QStringLiteral("Conectat"));
    db::Recordset rs = w.Conn().openRecordset(QStringLiteral("SELECT ConnString, Offline FROM tConn"));
    EXPECT_EQ(rs.value(0).toString(), before);
    EXPECT_FALSE(rs.value(1).toBool());

    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &tab);
    EXPECT_FALSE(details->hasPendingChange());
    EXPECT_TRUE(w.isDirty());
    rs = w.Conn().openRecordset(QStringLiteral("SELECT ConnString FROM tConn"));
    EXPECT_EQ(rs.value(0).toString(), before.chopped(1));
}

// Enter in the confirmation window, wherever the focus is, starts nothing;
// Alt+O is the deliberate way to "Ok".
TEST_F(WindowContext, EnterInTheConfirmationWindowStartsNoConversion)
{
    frmConvertStart confirm(&w);
    confirm.ToLeiNoi = true;
    confirm.Load();
    while (confirm.listing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    confirm.show();
    QApplication::setActiveWindow(&confirm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&confirm));
    for (QWidget *target : {static_cast<QWidget *>(confirm.list()), static_cast<QWidget *>(confirm.okButton()),
                            static_cast<QWidget *>(confirm.totalsBox())}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        EXPECT_FALSE(confirm.Ok) << target->objectName().toStdString();
        EXPECT_TRUE(confirm.isVisible());
    }
    QTest::keyClick(&confirm, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(confirm.Ok);
}

} // namespace
