// The discovery window driven from the main window: the proposals ticked,
// one unticked, Ok adds the rest to the project and the tree; Abandoneaza
// adds nothing.
#include "app/frmMain.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "discovery/frmDiscover.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"
#include "tests/util/Sandbox.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using testsupport::ScriptedModals;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

QTreeWidgetItem *row(frmDiscover &d, const QString &table, const QString &field)
{
    for (int i = 0; i < d.list()->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = d.list()->topLevelItem(i);
        if (item->text(0) == table && item->text(1) == field)
            return item;
    }
    return nullptr;
}

int projectCount(frmMain &w, const QString &sql)
{
    db::Recordset rs = w.Conn().openRecordset(sql);
    return static_cast<int>(rs.value(0).toInt());
}

TEST(DiscoverWindow, TickedColumnsAreAddedWithTheirTablesAndAbandonAddsNothing)
{
    testsupport::clearSettings();
    testsupport::ProgramFolder folder;
    testsupport::UserDatabase user(testsupport::Engine::Sqlite);
    user.createTable(QStringLiteral("Facturi"),
                     QStringLiteral("Id INTEGER PRIMARY KEY, NrFactura INTEGER, Valoare DECIMAL(15,2), Tva DECIMAL(15,2)"));
    user.createTable(QStringLiteral("Plati"), QStringLiteral("Id INTEGER PRIMARY KEY, Suma BIGINT, CotaTva DECIMAL(5,2)"));
    user.execute(QStringLiteral("INSERT INTO Facturi VALUES (1, 1001, 1500000, 285000), (2, 1002, 250000, 47500), "
                                "(3, 1003, 37500000, 7125000)"));
    user.execute(QStringLiteral("INSERT INTO Plati VALUES (1, 1500000, 19), (2, 250000, 19), (3, 900000, 9)"));
    const QString file = folder.filePath(QStringLiteral("p.vmd"));
    int idConn = 0, idFacturi = 0;
    apptest::makeProject(file, [&](testsupport::ProjectFixture &p) {
        idConn = p.addConn(6, QStringLiteral("Firma"), user.connString());
        idFacturi = p.addTable(idConn, QStringLiteral("Facturi"));
        p.addField(idFacturi, QStringLiteral("Valoare"));
    });
    frmMain w;
    ScriptedModals modals;
    modals.then(apptest::chooseExisting(file));
    w.pOpen(false);
    const QString connKey = QStringLiteral("C_") + QString::number(idConn);
    ASSERT_TRUE(w.selectNode(connKey));
    QAction *command = w.findChild<QAction *>(QStringLiteral("mnu_discover"));
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE(command->isEnabled());

    // Abandoneaza: nothing added, whatever was ticked.
    QString status;
    modals.then([&](QDialog &dialog) {
        auto &d = dynamic_cast<frmDiscover &>(dialog);
        status = d.status();
        d.cancelButton()->click();
        return d.result();
    });
    command->trigger();
    EXPECT_TRUE(status.contains(QStringLiteral("Citire terminata: 2 tabele."))) << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("7 coloane numerice in 2 tabele; 2 propuse, 2 bifate."))) << status.toStdString();
    EXPECT_EQ(projectCount(w, QStringLiteral("SELECT Count(*) FROM tField")), 1);
    EXPECT_FALSE(w.isDirty());

    // Untick the invoices' VAT, filter, Ok: Plati.Suma is added with its table.
    modals.then([&](QDialog &dialog) {
        auto &d = dynamic_cast<frmDiscover &>(dialog);
        QTreeWidgetItem *valoare = row(d, QStringLiteral("Facturi"), QStringLiteral("Valoare"));
        QTreeWidgetItem *tva = row(d, QStringLiteral("Facturi"), QStringLiteral("Tva"));
        QTreeWidgetItem *suma = row(d, QStringLiteral("Plati"), QStringLiteral("Suma"));
        QTreeWidgetItem *nr = row(d, QStringLiteral("Facturi"), QStringLiteral("NrFactura"));
        EXPECT_TRUE(valoare && valoare->isDisabled() && valoare->text(8).startsWith(QStringLiteral("deja in proiect")));
        EXPECT_TRUE(nr && nr->checkState(0) == Qt::Unchecked);
        EXPECT_TRUE(tva && tva->checkState(0) == Qt::Checked);
        EXPECT_TRUE(suma && suma->checkState(0) == Qt::Checked);
        tva->setCheckState(0, Qt::Unchecked);
        d.filter()->setText(QStringLiteral("plati"));
        EXPECT_TRUE(tva->isHidden());
        EXPECT_FALSE(suma->isHidden());
        d.okButton()->click();
        return d.result();
    });
    command->trigger();
    EXPECT_EQ(projectCount(w, QStringLiteral("SELECT Count(*) FROM tField")), 2);
    EXPECT_EQ(projectCount(w, QStringLiteral("SELECT Count(*) FROM tField INNER JOIN tTable ON tField.IdTable = "
                                             "tTable.IdTable WHERE TableName = 'Plati' AND FieldName = 'Suma' AND "
                                             "RecFieldName = 'Suma_VM'")),
              1);
    QTreeWidgetItem *source = w.findNode(connKey);
    ASSERT_NE(source, nullptr);
    QStringList nodes;
    for (int i = 0; i < source->childCount(); ++i)
        nodes.append(source->child(i)->text(0));
    EXPECT_EQ(nodes, (QStringList{"Facturi (1)", "Plati (1)"}));
    EXPECT_TRUE(w.isDirty());
    w.SetDirty(false);
}

} // namespace
