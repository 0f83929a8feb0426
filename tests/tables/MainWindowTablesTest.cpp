// The main window's table and field commands on the real windows, and the
// whole road of a new user: a project from the template, data sources,
// tables and fields chosen from the lists, clauses, a conversion to new lei
// and back, every amount where it started.
#include "app/frmMain.h"
#include "app/frmStart.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "datasources/ctlConnDetails.h"
#include "datasources/frmConnAdd.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tables/frmFieldAdd.h"
#include "tables/frmTable.h"
#include "tables/frmTableAdd.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"
#include "tests/util/Sandbox.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using testsupport::Engine;
using testsupport::ProgramFolder;
using testsupport::ProjectFixture;
using testsupport::ScriptedModals;
using testsupport::ScriptedPrompts;
using testsupport::UserDatabase;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

void press(frmMain &w, const char *key) { w.tlbButton(QString::fromLatin1(key))->trigger(); }

// A modal step for the add-table dialog: the name typed by hand.
ScriptedModals::Step typeTable(const QString &name, QDialog **seen = nullptr)
{
    return [name, seen](QDialog &dialog) {
        auto &add = dynamic_cast<frmTableAdd &>(dialog);
        if (seen)
            *seen = &add;
        EXPECT_FALSE(add.nameBox()->isHidden()) << "typed by hand";
        add.nameBox()->setText(name);
        add.okButton()->click();
        return add.result();
    };
}

// A modal step for the add-field dialog: the columns chosen from the list.
ScriptedModals::Step chooseFields(const QStringList &names, QStringList *listed = nullptr)
{
    return [names, listed](QDialog &dialog) {
        auto &add = dynamic_cast<frmFieldAdd &>(dialog);
        EXPECT_FALSE(add.list()->isHidden()) << "listed from the database";
        if (listed)
            listed->clear();
        for (int i = 0; i < add.list()->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = add.list()->topLevelItem(i);
            if (listed)
                listed->append(item->text(0));
            item->setSelected(names.contains(item->text(0)));
        }
        add.okButton()->click();
        return add.result();
    };
}

QString nodeText(frmMain &w, const QString &key)
{
    QTreeWidgetItem *node = w.findNode(key);
    return node ? node->text(0) : QStringLiteral("<none>");
}

frmTable *tableWindow(frmMain &w, const QString &key)
{
    return qobject_cast<frmTable *>(w.mcolChildren.value(key).data());
}

void waitFor(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

class MainWindowTables : public ::testing::Test {
protected:
    void SetUp() override { testsupport::clearSettings(); }
    ProgramFolder folder;
};

TEST_F(MainWindowTables, AddingAndRemovingTablesAndFieldsKeepsTheTreeAndItsCounts)
{
    UserDatabase user(Engine::Sqlite);
    ASSERT_TRUE(user.conn().isOpen());
    user.createTable(QStringLiteral("Plati"), QStringLiteral("Id INTEGER, Suma DECIMAL(18,2), Tva DECIMAL(18,2)"));
    const QString file = folder.filePath(QStringLiteral("p.vmd"));
    int idConn = 0, idA = 0, idB = 0;
    apptest::makeProject(file, [&](ProjectFixture &p) {
        idConn = p.addConn(6, QStringLiteral("Firma"), user.connString());
        idA = p.addTable(idConn, QStringLiteral("A"));
        idB = p.addTable(idConn, QStringLiteral("B"));
    });
    frmMain w;
    ScriptedModals modals;
    ScriptedPrompts prompts;
    modals.then(apptest::chooseExisting(file));
    w.pOpen(false);
    const QString connKey = QStringLiteral("C_") + QString::number(idConn);
    ASSERT_TRUE(w.selectNode(connKey));

    // Two tables typed by hand; the second showing reuses the same dialog.
    QDialog *first = nullptr, *second = nullptr;
    modals.then(typeTable(QStringLiteral("  Plati "), &first));
    press(w, "table_add");
    const QString plati = w.selectedNodeKey();
    ASSERT_TRUE(plati.startsWith(QLatin1String("T_")));
    EXPECT_EQ(nodeText(w, plati), QStringLiteral("Plati"));
    EXPECT_EQ(w.findNode(plati)->parent(), w.findNode(connKey));
    ASSERT_NE(tableWindow(w, plati), nullptr) << "the new table's window is open";
    EXPECT_TRUE(w.isDirty());
    modals.then(typeTable(QStringLiteral("C"), &second));
    press(w, "table_add");
    EXPECT_EQ(first, second);
    EXPECT_EQ(w.mcolDialogs.count(), 1);
    const QString c = w.selectedNodeKey();

    // Fields from the list: the node shows their count; removing one lowers it.
    ASSERT_TRUE(w.selectNode(plati));
    QStringList listed;
    modals.then(chooseFields({"Suma", "Tva"}, &listed));
    press(w, "field_add");
    EXPECT_EQ(listed, (QStringList{"Id", "Suma", "Tva"}));
    EXPECT_EQ(nodeText(w, plati), QStringLiteral("Plati (2)"));
    EXPECT_TRUE(w.tlbButton(QStringLiteral("field_del"))->isEnabled());
    prompts.answer(ui::Answer::No); // keep the recovery column
    press(w, "field_del");
    EXPECT_EQ(nodeText(w, plati), QStringLiteral("Plati (1)"));
    EXPECT_EQ(tableWindow(w, plati)->GetFieldCount(), 1);
    EXPECT_EQ(w.mcolDialogs.count(), 2) << "one add-field dialog kept for the table";
    prompts.answer(ui::Answer::No);
    press(w, "field_del");
    EXPECT_EQ(nodeText(w, plati), QStringLiteral("Plati (0)"));
    EXPECT_FALSE(w.tlbButton(QStringLiteral("field_del"))->isEnabled());

    // The tree holds A, B (loaded in name order), then Plati and C (added
    // at the end). Deleting the first selects the next; the last one left
    // selects its data source.
    const QString a = QStringLiteral("T_") + QString::number(idA);
    const QString b = QStringLiteral("T_") + QString::number(idB);
    ASSERT_TRUE(w.selectNode(a));
    press(w, "table_del");
    EXPECT_EQ(w.selectedNodeKey(), b);
    EXPECT_EQ(w.findNode(a), nullptr);
    press(w, "table_del");
    EXPECT_EQ(w.selectedNodeKey(), plati) << "no previous sibling: the next one";
    ASSERT_TRUE(w.selectNode(c));
    press(w, "table_del");
    EXPECT_EQ(w.selectedNodeKey(), plati) << "the previous sibling";
    press(w, "table_del");
    EXPECT_EQ(w.selectedNodeKey(), connKey);
    EXPECT_EQ(w.findNode(connKey)->childCount(), 0);
    EXPECT_FALSE(w.mcolChildren.contains(plati));
    EXPECT_FALSE(w.mcolDialogs.contains(plati)) << "the table's add-field dialog went with it";
    EXPECT_TRUE(w.mcolDialogs.contains(connKey));
    EXPECT_FALSE(w.tlbButton(QStringLiteral("table_del"))->isEnabled());
    db::Recordset rs = w.Conn().openRecordset(QStringLiteral("SELECT Count(*) FROM tTable"));
    EXPECT_EQ(rs.value(0).toInt(), 0);
    rs = w.Conn().openRecordset(QStringLiteral("SELECT Count(*) FROM tField"));
    EXPECT_EQ(rs.value(0).toInt(), 0);
    EXPECT_TRUE(prompts.messages().size() == 2) << prompts.messageTexts().join(" | ").toStdString();
    w.SetDirty(false);
}

// --- The whole road

// Every amount of a table as text, in the order of its key.
QStringList amounts(db::Connection &conn, const QString &sql)
{
    QStringList rows;
    db::Recordset rs = conn.openRecordset(sql);
    for (; !rs.eof(); rs.moveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.fieldCount(); ++i)
            cells.append(rs.value(i).isNull() ? QStringLiteral("NULL") : rs.value(i).toString());
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

TEST_F(MainWindowTables, TheWholeRoadAsANewUserWalksIt)
{
    VAMOR_REQUIRE_SERVER(pg, "VAMOR_TEST_PG");
    UserDatabase lite(Engine::Sqlite);
    UserDatabase server(Engine::Postgres);
    ASSERT_TRUE(lite.conn().isOpen());
    ASSERT_TRUE(server.conn().isOpen());
    lite.createTable(QStringLiteral("Facturi"),
                     QStringLiteral("Id INTEGER PRIMARY KEY, Suma DECIMAL(18,2), Data DATE, Total INTEGER"));
    lite.execute(QStringLiteral("INSERT INTO Facturi VALUES (1, 12500000, '2004-12-31', 14875000), "
                                "(2, 3333333.33, NULL, 15000), (3, 149495000, '2005-01-02', NULL), "
                                "(4, 500000, NULL, 20000)"));
    const QString plati = UserDatabase::tableName(QStringLiteral("plati")).toLower();
    server.createTable(plati, QStringLiteral("id integer primary key, suma numeric(18,2), tva numeric(18,2)"));
    server.execute(QStringLiteral("INSERT INTO ") + plati
                   + QStringLiteral(" VALUES (1, 12500000.00, 2375000.00), (2, 9999.99, 500.00), "
                                    "(3, -14950000.00, -2840500.00)"));
    const QString liteSql = QStringLiteral("SELECT Id, CAST(Suma AS TEXT), Data, CAST(Total AS TEXT) FROM Facturi ORDER BY Id");
    const QString pgSql = QStringLiteral("SELECT id, suma::text, tva::text FROM ") + plati + QStringLiteral(" ORDER BY id");
    const QStringList liteBefore = amounts(lite.conn(), liteSql);
    const QStringList pgBefore = amounts(server.conn(), pgSql);

    ScriptedModals modals;
    ScriptedPrompts prompts;
    frmMain w;
    // The first activation offers the start dialog: a new project from Vamor.vmt.
    modals.then(apptest::chooseTemplate(QStringLiteral("Vamor.vmt")));
    w.show();
    waitFor([&] { return modals.shown() >= 1 && w.tlbButton(QStringLiteral("conn_add"))->isEnabled(); });
    ASSERT_TRUE(w.tlbButton(QStringLiteral("conn_add"))->isEnabled());
    EXPECT_TRUE(w.fileName().isEmpty());

    // The two data sources (type 6, a typed connection string) through the wizard.
    const auto addSource = [&](const QString &description, const QString &connString) {
        modals.then([description, connString](QDialog &dialog) {
            auto &wizard = dynamic_cast<frmConnAdd &>(dialog);
            QTest::keyClicks(wizard.txtDescription, description);
            wizard.optConnType(6)->click();
            wizard.cmdNext->click();
            QTest::keyClicks(wizard.ctlDetails->txtUnknownConnString, connString);
            wizard.cmdOk->click();
            return wizard.result();
        });
        press(w, "conn_add");
        return w.selectedNodeKey();
    };
    const QString firma = addSource(QStringLiteral("Firma"), lite.connString());
    const QString serverKey = addSource(QStringLiteral("Server"), pg);
    ASSERT_EQ(w.trv->topLevelItemCount(), 2);
    ASSERT_TRUE(firma.startsWith(QLatin1String("C_")));
    ASSERT_NE(firma, serverKey);

    // A table of each; raw-string sources take their table names typed.
    ASSERT_TRUE(w.selectNode(firma));
    modals.then(typeTable(QStringLiteral("Facturi")));
    press(w, "table_add");
    const QString facturi = w.selectedNodeKey();
    ASSERT_TRUE(w.selectNode(serverKey));
    modals.then(typeTable(plati));
    press(w, "table_add");
    const QString platiKey = w.selectedNodeKey();
    ASSERT_NE(facturi, platiKey);

    // Fields from the lists; the date column is refused and the user goes on.
    ASSERT_TRUE(w.selectNode(facturi));
    QStringList listed;
    modals.then(chooseFields({"Suma", "Data", "Total"}, &listed));
    prompts.answer(ui::Answer::Yes);
    press(w, "field_add");
    EXPECT_EQ(listed, (QStringList{"Id", "Suma", "Data", "Total"}));
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().at(0).text.contains(QStringLiteral("Nu poate fi folosit tipul DBDate")));
    EXPECT_EQ(nodeText(w, facturi), QStringLiteral("Facturi (2)"));
    ASSERT_TRUE(w.selectNode(platiKey));
    modals.then(chooseFields({"suma", "tva"}));
    press(w, "field_add");
    EXPECT_EQ(nodeText(w, platiKey), plati + QStringLiteral(" (2)"));

    // A WHERE clause for the SQLite table and one for the field tva.
    frmTable *liteWindow = tableWindow(w, facturi);
    ASSERT_NE(liteWindow, nullptr);
    liteWindow->clauseBox()->setPlainText(QStringLiteral("Id <= 3"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(liteWindow->clauseBox(), &out);
    frmTable *pgWindow = tableWindow(w, platiKey);
    ASSERT_NE(pgWindow, nullptr);
    QTreeWidgetItem *tva = pgWindow->list()->topLevelItem(1);
    ASSERT_EQ(tva->text(0), QStringLiteral("tva"));
    pgWindow->list()->setCurrentItem(tva);
    modals.then([](QDialog &field) {
        field.findChild<QPlainTextEdit *>(QStringLiteral("txtSQLWhere"))->setPlainText(QStringLiteral("tva > 1000000"));
        field.findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
        return field.result();
    });
    pgWindow->lsv_DblClick();
    EXPECT_EQ(tva->text(4), QStringLiteral("tva > 1000000"));

    // Save, then convert to new lei: confirmation, progress, report saved.
    ASSERT_TRUE(w.isDirty());
    const QString projectFile = folder.filePath(QStringLiteral("firma.vmd"));
    prompts.saveFile(projectFile);
    press(w, "save");
    EXPECT_FALSE(w.isDirty());
    EXPECT_EQ(w.fileName(), projectFile);
    QStringList confirmed;
    QString reportTotal;
    const QString reportFile = folder.filePath(QStringLiteral("raport.txt"));
    const auto confirm = [&](QDialog &dialog) {
        auto &start = dynamic_cast<frmConvertStart &>(dialog);
        confirmed.clear();
        for (int i = 0; i < start.list()->topLevelItemCount(); ++i)
            confirmed.append(start.list()->topLevelItem(i)->text(2));
        start.okButton()->click();
        return start.result();
    };
    const auto progress = [](QDialog &dialog) {
        auto &p = dynamic_cast<frmProgress &>(dialog);
        QTimer::singleShot(30000, &p, [&p] { p.Unload(); }); // never hang
        return p.exec();
    };
    const auto report = [&](QDialog &dialog) {
        auto &end = dynamic_cast<frmConvertEnd &>(dialog);
        reportTotal = end.totalBox()->toPlainText();
        prompts.saveFile(reportFile);
        end.cmdSave_Click();
        return int(QDialog::Accepted);
    };
    modals.then(confirm);
    modals.then(progress);
    modals.then(report);
    const int messagesBefore = prompts.messages().size();
    press(w, "-");
    confirmed.sort();
    EXPECT_EQ(confirmed, (QStringList{"Suma", "Total", "suma", "tva"}));
    EXPECT_TRUE(reportTotal.startsWith(QStringLiteral("4 campuri din 4"))) << reportTotal.toStdString();
    EXPECT_EQ(prompts.messages().size(), messagesBefore) << prompts.messageTexts().join(" | ").toStdString();
    QFile saved(reportFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(saved.readAll()).contains(plati));

    // New lei: each amount / 10 000 rounded once; the rows the clauses leave
    // out are untouched. (Cents as whole numbers, from the engines.)
    db::Recordset rs = lite.conn().openRecordset(
        QStringLiteral("SELECT group_concat(CAST(ROUND(Suma * 100) AS INTEGER) || ':' || "
                       "IFNULL(CAST(Total AS INTEGER), 'NULL'), ' ') FROM (SELECT * FROM Facturi ORDER BY Id)"));
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("125000:1488 33333:2 1494950:NULL 50000000:20000"));
    EXPECT_EQ(amounts(server.conn(), pgSql),
              (QStringList{"1|1250.00|237.50", "2|1.00|500.00", "3|-1495.00|-2840500.00"}));

    // Closed and opened again from the recent list, then back to old lei.
    modals.then([&](QDialog &dialog) {
        auto &start = dynamic_cast<frmStart &>(dialog);
        EXPECT_TRUE(start.selectTab(QStringLiteral("recent")));
        start.lwRecent->setCurrentItem(start.lwRecent->topLevelItem(0));
        start.cmdOpen->click();
        return start.result();
    });
    w.pOpen(false);
    EXPECT_EQ(w.fileName(), projectFile);
    ASSERT_EQ(w.trv->topLevelItemCount(), 2);
    modals.then(confirm);
    modals.then(progress);
    modals.then([&](QDialog &dialog) {
        reportTotal = dynamic_cast<frmConvertEnd &>(dialog).totalBox()->toPlainText();
        return int(QDialog::Accepted);
    });
    press(w, "+");
    EXPECT_TRUE(reportTotal.startsWith(QStringLiteral("4 campuri din 4"))) << reportTotal.toStdString();
    EXPECT_EQ(amounts(lite.conn(), liteSql), liteBefore);
    EXPECT_EQ(amounts(server.conn(), pgSql), pgBefore);
    EXPECT_EQ(pgBefore, (QStringList{"1|12500000.00|2375000.00", "2|9999.99|500.00", "3|-14950000.00|-2840500.00"}));
    w.close();
}

} // namespace
