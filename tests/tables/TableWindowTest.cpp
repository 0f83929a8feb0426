// The table window and the field dialog: what they show, what they store,
// and the removal of a field with or without its recovery column.
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "data/db/SqlScan.h"
#include "tables/frmField.h"
#include "tables/frmTable.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"
#include "tests/util/Sandbox.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using testsupport::Engine;
using testsupport::ProjectFixture;
using testsupport::ScriptedModals;
using testsupport::ScriptedPrompts;
using testsupport::UserDatabase;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

QStringList row(QTreeWidgetItem *item)
{
    QStringList cells;
    for (int i = 0; i < 5; ++i)
        cells.append(item->text(i));
    return cells;
}

void leaveClauseBox(frmTable &w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w.clauseBox(), &out);
}

db::Variant tableClause(ProjectFixture &p, int idTable)
{
    return p.scalar(QStringLiteral("SELECT SQLWhere FROM tTable WHERE IdTable = ") + QString::number(idTable));
}

TEST(TableWindow, ShowsTheOwnerQualifiedNameAndEachFieldWithItsStateInGreenOrRed)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idConn = p.addConn(2, QStringLiteral("Ora"));
    const int idTable = p.addTable(idConn, QStringLiteral("FACTURI"), QStringLiteral("CONTA"), QStringLiteral("An = 2004"));
    const int tva = p.addField(idTable, QStringLiteral("Tva"), QString(), QStringLiteral("Tva > 0"));
    const int suma = p.addField(idTable, QStringLiteral("Suma"));
    p.Conn().execute(QStringLiteral("UPDATE tField SET Converted = True, Error = 'Eroare veche' WHERE IdField = ")
                     + QString::number(suma));
    frmTable w;
    w.IdConn = idConn;
    w.IdTable = idTable;
    w.Key = QStringLiteral("T_") + QString::number(idTable);
    w.Load();
    EXPECT_EQ(w.GetTableName(), QStringLiteral("CONTA.FACTURI"));
    EXPECT_EQ(w.nameBox()->text(), QStringLiteral("CONTA.FACTURI"));
    EXPECT_TRUE(w.nameBox()->isReadOnly());
    EXPECT_EQ(w.clauseBox()->toPlainText(), QStringLiteral("An = 2004"));
    ASSERT_EQ(w.GetFieldCount(), 2);
    QTreeWidget *list = w.list();
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Stare"));
    EXPECT_EQ(row(list->topLevelItem(0)), (QStringList{"Suma", "Lei NOI", "Suma_VM", "Eroare veche", ""}));
    EXPECT_EQ(row(list->topLevelItem(1)), (QStringList{"Tva", "Lei VECHI", "Tva_VM", "", "Tva > 0"}));
    EXPECT_EQ(list->topLevelItem(0)->data(1, Qt::UserRole).toString(), QStringLiteral("green"));
    EXPECT_EQ(list->topLevelItem(1)->data(1, Qt::UserRole).toString(), QStringLiteral("red"));
    EXPECT_FALSE(list->topLevelItem(0)->icon(1).isNull());
    EXPECT_EQ(list->topLevelItem(0)->data(0, Qt::UserRole).toInt(), suma);
    EXPECT_EQ(list->topLevelItem(1)->data(0, Qt::UserRole).toInt(), tva);
    // The first field is selected and the main window's field commands apply.
    EXPECT_TRUE(list->topLevelItem(0)->isSelected());
    ASSERT_FALSE(p.fieldButtonCalls.isEmpty());
    EXPECT_TRUE(p.fieldButtonCalls.last());
    EXPECT_GE(w.minimumWidth(), 5000 / 15);
    EXPECT_GE(w.minimumHeight(), 3000 / 15);

    // Fields added later are appended, in name order among themselves.
    const int b = p.addField(idTable, QStringLiteral("B"));
    const int a = p.addField(idTable, QStringLiteral("A"));
    w.AddField(QString::number(b) + QStringLiteral(", ") + QString::number(a));
    ASSERT_EQ(w.GetFieldCount(), 4);
    EXPECT_EQ(list->topLevelItem(2)->text(0), QStringLiteral("A"));
    EXPECT_EQ(list->topLevelItem(3)->text(0), QStringLiteral("B"));
    EXPECT_TRUE(p.dirtyCalls.isEmpty());
}

TEST(TableWindow, WithoutFieldsTheFieldCommandsAreOff)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idTable = p.addTable(p.addConn(6, QStringLiteral("S")), QStringLiteral("Plati"));
    frmTable w;
    w.IdConn = 1;
    w.IdTable = idTable;
    w.Load();
    EXPECT_EQ(w.GetFieldCount(), 0);
    EXPECT_EQ(p.fieldButtonCalls, QList<bool>{false});
    const int id = p.addField(idTable, QStringLiteral("Suma"));
    w.AddField(QString::number(id));
    EXPECT_TRUE(w.list()->topLevelItem(0)->isSelected());
    EXPECT_TRUE(p.fieldButtonCalls.last());
}

// The clause is stored when the box loses the focus after an edit, and only then.
TEST(TableWindow, ClauseEditsAreStoredOnlyWhenChanged)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idConn = p.addConn(6, QStringLiteral("S"));
    const int idTable = p.addTable(idConn, QStringLiteral("Plati"), QString(), QStringLiteral("An = 2004"));
    frmTable w;
    w.IdConn = idConn;
    w.IdTable = idTable;
    w.Load();
    leaveClauseBox(w);
    EXPECT_TRUE(p.dirtyCalls.isEmpty()) << "in and out without typing";

    struct Step {
        QString typed;
        db::Variant stored;
    };
    const Step steps[] = {
        {QStringLiteral("An = 2005"), db::Variant(QStringLiteral("An = 2005"))},
        {QString(), db::Variant::null()},
        {QStringLiteral("0"), db::Variant(QStringLiteral("0"))},
        {QStringLiteral("  Suma > 0  "), db::Variant(QStringLiteral("  Suma > 0  "))},
    };
    int dirty = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.typed.toStdString());
        w.clauseBox()->setPlainText(step.typed);
        leaveClauseBox(w);
        EXPECT_EQ(tableClause(p, idTable), step.stored);
        EXPECT_EQ(p.dirtyCalls.size(), ++dirty);
        leaveClauseBox(w);
        EXPECT_EQ(p.dirtyCalls.size(), dirty) << "saved once";
    }
    // Reloading fills the box without counting as an edit.
    w.Load();
    leaveClauseBox(w);
    EXPECT_EQ(p.dirtyCalls.size(), dirty);
}

// A clause with characters that are not UTF-8 text (pasted, or read from an
// edited project) gets the error box in the table window and in the field
// dialog, and is not stored.
TEST(TableWindow, AClauseThatIsNotUtf8IsNotStored)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idConn = p.addConn(6, QStringLiteral("S"));
    const int idTable = p.addTable(idConn, QStringLiteral("Plati"), QString(), QStringLiteral("An = 2004"));
    const int idField = p.addField(idTable, QStringLiteral("Suma"));
    ScriptedPrompts prompts;
    frmTable w;
    w.IdConn = idConn;
    w.IdTable = idTable;
    w.Load();
    w.clauseBox()->setPlainText(QString::fromUtf8("Nume = 'tri\xc2\xc2gger'"));
    leaveClauseBox(w);
    frmField dialog;
    dialog.IdField = idField;
    dialog.Form_Load();
    dialog.clauseBox()->setPlainText(QStringLiteral("Nume = '") + QChar(0xDC00) + QStringLiteral("'"));
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.Ok);
    EXPECT_EQ(tableClause(p, idTable), db::Variant(QStringLiteral("An = 2004")));
    EXPECT_TRUE(p.scalar(QStringLiteral("SELECT SQLWhere FROM tField")).isNull());
    EXPECT_TRUE(p.dirtyCalls.isEmpty());
    ASSERT_EQ(prompts.messages().size(), 2);
    for (const ui::MessageRequest &m : prompts.messages())
        EXPECT_TRUE(m.text.contains(db::malformedTextMessage(db::TextSubject::WhereClause))) << m.text.toStdString();
}

// --- Removing fields

enum class Drop { None, Ok, Fails };

struct DelCase {
    const char *name;
    bool offline;
    bool noRecField;  // the field names no recovery column
    Drop drop;        // whether the recovery column exists and can be dropped
    QList<ui::Answer> answers;
    int questions;
    bool removed;
    bool recColumnLeft;
};

class FieldRemoval : public ::testing::TestWithParam<DelCase> {};

TEST_P(FieldRemoval, AsksAboutTheRecoveryColumnAsTheCaseNeeds)
{
    const DelCase &c = GetParam();
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    UserDatabase user(Engine::Sqlite);
    ASSERT_TRUE(user.conn().isOpen());
    user.createTable(QStringLiteral("Plati"), c.drop == Drop::Fails ? QStringLiteral("Id INTEGER, Suma DECIMAL(18,2)")
                                                                     : QStringLiteral("Id INTEGER, Suma DECIMAL(18,2), Suma_VM DECIMAL(18,2)"));
    const int idConn = p.addConn(6, QStringLiteral("S"), user.connString(), c.offline);
    const int idTable = p.addTable(idConn, QStringLiteral("Plati"));
    const int idField = p.addField(idTable, QStringLiteral("Suma"));
    if (c.noRecField)
        p.Conn().execute(QStringLiteral("UPDATE tField SET RecFieldName = Null"));
    frmTable w;
    w.IdConn = idConn;
    w.IdTable = idTable;
    w.Load();
    ScriptedPrompts prompts;
    for (ui::Answer a : c.answers)
        prompts.answer(a);
    EXPECT_EQ(w.DelField(), c.removed);
    ASSERT_EQ(prompts.messages().size(), c.questions) << prompts.messageTexts().join(" | ").toStdString();
    if (c.questions > 0) {
        const ui::MessageRequest &q = prompts.messages().at(0);
        EXPECT_EQ(q.text, QStringLiteral("Campul \"Suma\" va fi sters.\r\nDoriti sa stergeti si campul suplimentar "
                                         "\"Suma_VM\"?"));
        EXPECT_EQ(q.buttons, ui::Buttons::YesNoCancel);
        EXPECT_EQ(q.defaultButton, 2);
    }
    if (c.questions > 1) {
        EXPECT_TRUE(prompts.messages().at(1).text.startsWith(
            QStringLiteral("Campul de restaurare nu a putut fi sters din cauza urmatoarei erori:\r\n")));
    }
    const bool rowLeft = !p.scalar(QStringLiteral("SELECT IdField FROM tField WHERE IdField = ") + QString::number(idField)).isEmpty();
    EXPECT_EQ(rowLeft, !c.removed);
    EXPECT_EQ(w.GetFieldCount(), c.removed ? 0 : 1);
    EXPECT_EQ(user.columnNames(QStringLiteral("Plati")).contains(QStringLiteral("suma_vm")), c.recColumnLeft);
    if (c.removed) {
        EXPECT_FALSE(p.fieldButtonCalls.last());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldRemoval,
    ::testing::Values(
        DelCase{"YesDropsTheRecoveryColumn", false, false, Drop::Ok, {ui::Answer::Yes}, 1, true, false},
        DelCase{"NoKeepsIt", false, false, Drop::Ok, {ui::Answer::No}, 1, true, true},
        DelCase{"CancelChangesNothing", false, false, Drop::Ok, {ui::Answer::Cancel}, 1, false, true},
        DelCase{"OfflineAsksNothing", true, false, Drop::Ok, {}, 0, true, true},
        DelCase{"NoRecoveryColumnAsksNothing", false, true, Drop::Ok, {}, 0, true, true},
        DelCase{"FailedDropThenNoKeepsTheField", false, false, Drop::Fails, {ui::Answer::Yes, ui::Answer::No}, 2,
                false, false},
        DelCase{"FailedDropThenYesRemovesIt", false, false, Drop::Fails, {ui::Answer::Yes, ui::Answer::Yes}, 2,
                true, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TableWindow, NoSelectedFieldRemovesNothing)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idTable = p.addTable(p.addConn(6, QStringLiteral("S")), QStringLiteral("Plati"));
    frmTable w;
    w.IdTable = idTable;
    w.Load();
    EXPECT_FALSE(w.DelField());
}

// --- The field dialog, opened by a double click in the table window

TEST(FieldDialog, StoresTheClauseAsTypedAndTheWindowShowsIt)
{
    testsupport::clearSettings();
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idConn = p.addConn(6, QStringLiteral("S"));
    const int idTable = p.addTable(idConn, QStringLiteral("Plati"));
    const int idField = p.addField(idTable, QStringLiteral("Suma"));
    frmTable w;
    w.IdConn = idConn;
    w.IdTable = idTable;
    w.Load();
    auto fieldClause = [&] {
        return p.scalar(QStringLiteral("SELECT SQLWhere FROM tField WHERE IdField = ") + QString::number(idField));
    };

    struct Step {
        QString typed;
        bool ok; // Ok pressed, otherwise Abandoneaza
        db::Variant stored;
        QString shown;
    };
    const Step steps[] = {
        {QStringLiteral("Suma > 100"), true, db::Variant(QStringLiteral("Suma > 100")), QStringLiteral("Suma > 100")},
        {QStringLiteral("Suma < 5"), false, db::Variant(QStringLiteral("Suma > 100")), QStringLiteral("Suma > 100")},
        {QStringLiteral("0"), true, db::Variant(QStringLiteral("0")), QStringLiteral("0")},
        {QString(), true, db::Variant::null(), QString()},
    };
    int dirty = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.typed.toStdString());
        ScriptedModals modals;
        QString nameShown, clauseShown;
        modals.then([&](QDialog &dialog) {
            auto &field = dynamic_cast<frmField &>(dialog);
            nameShown = field.nameBox()->text();
            clauseShown = field.clauseBox()->toPlainText();
            field.clauseBox()->setPlainText(step.typed);
            (step.ok ? field.okButton() : field.cancelButton())->click();
            return field.result();
        });
        w.lsv_DblClick();
        EXPECT_EQ(modals.shown(), 1);
        EXPECT_EQ(nameShown, QStringLiteral("Suma"));
        EXPECT_EQ(fieldClause(), step.stored);
        EXPECT_EQ(w.list()->topLevelItem(0)->text(4), step.shown);
        if (step.ok)
            ++dirty;
        EXPECT_EQ(p.dirtyCalls.size(), dirty);
    }
}

TEST(FieldDialog, AFieldRemovedMeanwhileKeepsTheDialogOpen)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idField = p.addField(p.addTable(p.addConn(6, QStringLiteral("S")), QStringLiteral("T")),
                                   QStringLiteral("Suma"));
    ScriptedPrompts prompts;
    frmField dialog;
    dialog.IdField = idField;
    dialog.Form_Load();
    p.Conn().execute(QStringLiteral("DELETE FROM tField"));
    dialog.clauseBox()->setPlainText(QStringLiteral("x = 1"));
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.Ok);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmField: cmdOk_Click"));
    EXPECT_GE(dialog.minimumWidth(), 5000 / 15);
}

} // namespace
