// The add-table and add-field dialogs on real databases: what they list,
// what they store, and the questions on the way.
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "tables/frmFieldAdd.h"
#include "tables/frmTableAdd.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"
#include "util/widgets/WaitDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sqlite3.h>

using testsupport::Engine;
using testsupport::ProjectFixture;
using testsupport::ScriptedPrompts;
using testsupport::UserDatabase;

namespace {

QStringList texts(QTreeWidget *list, int column = 0)
{
    QStringList result;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        result.append(list->topLevelItem(i)->text(column));
    return result;
}

void selectOnly(QTreeWidget *list, const QStringList &names)
{
    list->clearSelection();
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setSelected(names.contains(list->topLevelItem(i)->text(0)));
}

QTreeWidgetItem *itemNamed(QTreeWidget *list, const QString &name)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == name)
            return list->topLevelItem(i);
    return nullptr;
}

// The tTable rows of a data source as "owner|name", owner "-" when Null.
QStringList storedTables(ProjectFixture &p, int idConn)
{
    db::Recordset rs = p.Conn().openRecordset(QStringLiteral("SELECT TableName, Owner FROM tTable WHERE IdConn = ")
                                              + QString::number(idConn) + QStringLiteral(" ORDER BY IdTable"));
    QStringList rows;
    for (; !rs.eof(); rs.moveNext())
        rows.append((rs.value(QStringLiteral("Owner")).isNull() ? QStringLiteral("-")
                                                                 : rs.value(QStringLiteral("Owner")).toString())
                    + QLatin1Char('|') + rs.value(QStringLiteral("TableName")).toString());
    return rows;
}

// An Access data source: the project's type 0 over the MDB Tools driver.
TEST(TableAddDialog, AccessListsExactlyTheUserTablesSortedByNameWithTheOwnerHidden)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    QTemporaryDir dir;
    const QString mdb = testsupport::copyTestData(QStringLiteral("access/nwind.mdb"), dir.path());
    ASSERT_FALSE(mdb.isEmpty());
    const int idConn = p.insertRow(QStringLiteral("tConn"), {{QStringLiteral("IdConnType"), 0},
                                                             {QStringLiteral("Description"), QStringLiteral("Nwind")},
                                                             {QStringLiteral("DataSource"), mdb}});
    ScriptedPrompts prompts;
    frmTableAdd dialog;
    dialog.IdConn = idConn;
    dialog.Load();
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
    ASSERT_FALSE(dialog.Offline);
    const QStringList listed = texts(dialog.list());
    EXPECT_EQ(listed, (QStringList{"Categories", "Customers", "Employees", "Order Details", "Orders", "Products",
                                   "Shippers", "Suppliers", QString::fromUtf8("Ums\u00e4tze")}));
    EXPECT_TRUE(dialog.list()->isColumnHidden(1));
    EXPECT_TRUE(dialog.extendBox()->isHidden());
    EXPECT_TRUE(dialog.nameBox()->isHidden());

    // The chosen table is stored without an owner; the same table again is refused.
    selectOnly(dialog.list(), {"Order Details"});
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.Ok);
    EXPECT_EQ(dialog.TableName, QStringLiteral("Order Details"));
    EXPECT_GT(dialog.IdTable, 0);
    dialog.Ok = false;
    dialog.Load();
    selectOnly(dialog.list(), {"Order Details"});
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.Ok);
    EXPECT_EQ(prompts.messageTexts(), QStringList{"Tabelul este deja adaugat la conexiunea curenta."});
    EXPECT_EQ(storedTables(p, idConn), QStringList{"-|Order Details"});
}

// The Oracle rules, tried on PostgreSQL schemas: the project's type 2 row
// points at the PostgreSQL driver; the stored user name names the schema
// "public" in another letter case.
TEST(TableAddDialog, OracleOwnerRulesOnPostgresSchemas)
{
    VAMOR_REQUIRE_SERVER(pg, "VAMOR_TEST_PG");
    UserDatabase user(Engine::Postgres);
    ASSERT_TRUE(user.conn().isOpen());
    const QString own = UserDatabase::tableName(QStringLiteral("ora_own")).toLower();
    const QString view = UserDatabase::tableName(QStringLiteral("ora_view")).toLower();
    const QString schema = UserDatabase::tableName(QStringLiteral("ora_schema")).toLower();
    user.createTable(own, QStringLiteral("id integer"));
    user.execute(QStringLiteral("DROP VIEW IF EXISTS ") + view);
    user.execute(QStringLiteral("CREATE VIEW ") + view + QStringLiteral(" AS SELECT id FROM ") + own);
    user.execute(QStringLiteral("DROP SCHEMA IF EXISTS ") + schema + QStringLiteral(" CASCADE"));
    user.execute(QStringLiteral("CREATE SCHEMA ") + schema);
    user.execute(QStringLiteral("CREATE TABLE ") + schema + QStringLiteral(".facturi (id integer)"));
    struct Cleanup {
        UserDatabase &u;
        QString view, schema;
        ~Cleanup()
        {
            try {
                u.execute(QStringLiteral("DROP VIEW IF EXISTS ") + view);
                u.execute(QStringLiteral("DROP SCHEMA IF EXISTS ") + schema + QStringLiteral(" CASCADE"));
            } catch (...) {
            }
        }
    } cleanup{user, view, schema};

    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    p.Conn().execute(QStringLiteral("UPDATE tConnType SET ConnString = ") + ProjectFixture::literal(pg)
                     + QStringLiteral(", DataSourceTag = '', UserNameTag = '', PasswordTag = '' WHERE IdConnType = 2"));
    const int withUser = p.insertRow(QStringLiteral("tConn"), {{QStringLiteral("IdConnType"), 2},
                                                               {QStringLiteral("Description"), QStringLiteral("Ora")},
                                                               {QStringLiteral("UserName"), QStringLiteral("PubLic")}});
    ScriptedPrompts prompts;
    frmTableAdd dialog;
    dialog.IdConn = withUser;
    dialog.Load();
    ASSERT_FALSE(dialog.Offline) << prompts.messageTexts().join(" | ").toStdString();
    EXPECT_TRUE(dialog.extendBox()->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.extendBox()->text(), QStringLiteral("Numai tabelele utilizatorului curent"));
    QStringList listed = texts(dialog.list());
    EXPECT_TRUE(listed.contains(own));
    EXPECT_FALSE(listed.contains(view)) << "views are not tables";
    EXPECT_FALSE(listed.contains(QStringLiteral("facturi")));
    EXPECT_FALSE(listed.contains(QStringLiteral("pg_class"))) << "system tables are not listed";
    EXPECT_TRUE(dialog.list()->isColumnHidden(1));
    QStringList sorted = listed;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return QString::localeAwareCompare(a, b) < 0;
    });
    EXPECT_EQ(listed, sorted);

    // Unchecked: every schema, the others stored with their owner, sorted by owner.
    dialog.extendBox()->click();
    listed = texts(dialog.list());
    EXPECT_TRUE(listed.contains(own));
    EXPECT_TRUE(listed.contains(QStringLiteral("facturi")));
    EXPECT_FALSE(dialog.list()->isColumnHidden(1));
    const QStringList owners = texts(dialog.list(), 1);
    QStringList ownersSorted = owners;
    std::sort(ownersSorted.begin(), ownersSorted.end(), [](const QString &a, const QString &b) {
        return QString::localeAwareCompare(a, b) < 0;
    });
    EXPECT_EQ(owners, ownersSorted);
    QTreeWidgetItem *other = nullptr;
    for (int i = 0; i < dialog.list()->topLevelItemCount(); ++i)
        if (dialog.list()->topLevelItem(i)->text(1) == schema)
            other = dialog.list()->topLevelItem(i);
    ASSERT_NE(other, nullptr);
    dialog.list()->clearSelection();
    other->setSelected(true);
    dialog.okButton()->click();
    ASSERT_TRUE(dialog.Ok);
    EXPECT_EQ(dialog.Owner, schema);
    // A table of the user's own schema is stored without owner.
    dialog.Ok = false;
    dialog.Load();
    selectOnly(dialog.list(), {own});
    dialog.okButton()->click();
    ASSERT_TRUE(dialog.Ok);
    EXPECT_EQ(storedTables(p, withUser), (QStringList{schema + QStringLiteral("|facturi"), QStringLiteral("-|") + own}));

    // Without a user name the check box is hidden and every schema is listed.
    const int noUser = p.insertRow(QStringLiteral("tConn"), {{QStringLiteral("IdConnType"), 2},
                                                             {QStringLiteral("Description"), QStringLiteral("Ora2")}});
    frmTableAdd all;
    all.IdConn = noUser;
    all.Load();
    EXPECT_TRUE(all.extendBox()->isHidden());
    EXPECT_TRUE(texts(all.list()).contains(QStringLiteral("facturi")));
    EXPECT_FALSE(all.list()->isColumnHidden(1));
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
}

TEST(TableAddDialog, DbaseFolderListsDbfFilesWhateverTheirCaseOrEveryFileUnchecked)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    QTemporaryDir folder;
    for (const char *name : {"a.dbf", "b.DBF", "c.txt"}) {
        QFile f(QDir(folder.path()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    for (int type : {3, 5}) {
        const int idConn = p.insertRow(QStringLiteral("tConn"), {{QStringLiteral("IdConnType"), type},
                                                                 {QStringLiteral("Description"), QStringLiteral("Dbf")},
                                                                 {QStringLiteral("DataSource"), folder.path()}});
        frmTableAdd dialog;
        dialog.IdConn = idConn;
        dialog.Load();
        ASSERT_FALSE(dialog.Offline);
        EXPECT_EQ(dialog.extendBox()->text(), QStringLiteral("Numai fisierele cu extensia .dbf"));
        EXPECT_EQ(texts(dialog.list()), (QStringList{"a.dbf", "b.DBF"})) << type;
        dialog.extendBox()->click();
        EXPECT_EQ(texts(dialog.list()), (QStringList{"a.dbf", "b.DBF", "c.txt"})) << type;
        selectOnly(dialog.list(), {"b.DBF"});
        dialog.okButton()->click();
        EXPECT_TRUE(dialog.Ok);
        EXPECT_EQ(storedTables(p, idConn), QStringList{"-|b.DBF"});
        // Offline for one showing, then online again: the kept list and its check box come back.
        dialog.Offline = true;
        dialog.Load();
        EXPECT_FALSE(dialog.extendBox()->isVisibleTo(&dialog));
        EXPECT_TRUE(dialog.nameBox()->isVisibleTo(&dialog));
        dialog.Offline = false;
        dialog.Load();
        EXPECT_TRUE(dialog.extendBox()->isVisibleTo(&dialog));
        EXPECT_EQ(dialog.list()->topLevelItemCount(), 3);
    }
}

// Types typed by hand, an offline source, and a source that cannot be reached.
TEST(TableAddDialog, ManualEntryTrimsTheNameAndRefusesEmptyAndRepeatedNames)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    struct Case {
        int type;
        bool offline;
        QString connString;
        bool missingFile; // an Access source whose file does not exist
        bool errorBox;
    };
    const Case cases[] = {
        {6, false, QStringLiteral("Provider=SQLite;Data Source=/tmp/x.db"), false, false},
        {4, false, QString(), false, false},
        {0, true, QString(), false, false},
        {1, false, QString(), false, true}, // no server named
        {0, false, QString(), true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        ScriptedPrompts prompts;
        int idConn = 0;
        if (c.missingFile)
            idConn = p.insertRow(QStringLiteral("tConn"), {{QStringLiteral("IdConnType"), 0},
                                                           {QStringLiteral("Description"), QStringLiteral("X")},
                                                           {QStringLiteral("DataSource"), QStringLiteral("/nu/exista.mdb")}});
        else
            idConn = p.addConn(c.type, QStringLiteral("Sursa"), c.connString, c.offline);
        frmTableAdd dialog;
        dialog.IdConn = idConn;
        dialog.Offline = c.offline;
        dialog.Load();
        EXPECT_TRUE(dialog.Offline);
        EXPECT_TRUE(dialog.list()->isHidden());
        EXPECT_FALSE(dialog.nameBox()->isHidden());
        EXPECT_EQ(prompts.messages().size(), c.errorBox ? 1 : 0);
        if (c.errorBox && !prompts.messages().isEmpty()) {
            EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmTableAdd: pLoadTableList"));
        }
        prompts.clear();

        dialog.okButton()->click();
        dialog.nameBox()->setText(QStringLiteral("   "));
        dialog.okButton()->click();
        dialog.nameBox()->setText(QStringLiteral("  Facturi Vechi "));
        dialog.okButton()->click();
        EXPECT_TRUE(dialog.Ok);
        EXPECT_EQ(dialog.TableName, QStringLiteral("Facturi Vechi"));
        EXPECT_TRUE(dialog.Owner.isEmpty());
        dialog.Ok = false;
        dialog.Load();
        EXPECT_TRUE(dialog.nameBox()->text().isEmpty());
        dialog.nameBox()->setText(QStringLiteral("facturi vechi"));
        dialog.okButton()->click();
        EXPECT_FALSE(dialog.Ok);
        EXPECT_EQ(prompts.messageTexts(), (QStringList{"Trebuie sa specificati numele tabelului",
                                                       "Trebuie sa specificati numele tabelului",
                                                       "Tabelul este deja adaugat la conexiunea curenta."}));
        EXPECT_EQ(storedTables(p, idConn), QStringList{"-|Facturi Vechi"});
    }
}

TEST(TableAddDialog, ANameWithAnApostropheIsStored)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idConn = p.addConn(6, QStringLiteral("Sursa"), QStringLiteral("DSN=x"));
    ScriptedPrompts prompts;
    frmTableAdd dialog;
    dialog.IdConn = idConn;
    dialog.Load();
    dialog.nameBox()->setText(QStringLiteral("Plati'2005"));
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.Ok);
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(storedTables(p, idConn), QStringList{"-|Plati'2005"});
}

// --- The add-field dialog

struct FieldListCase {
    Engine engine;
    QString columns;
    QStringList listed;
};

class FieldAddListing : public ::testing::TestWithParam<FieldListCase> {};

TEST_P(FieldAddListing, ListsTheColumnsButRecoveryColumns)
{
    const FieldListCase &c = GetParam();
    VAMOR_OPEN_USER_DB(user, c.engine);
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const QString table = UserDatabase::tableName(QStringLiteral("Plati")).toLower();
    user.createTable(table, c.columns);
    const int idTable = testsupport::addUserTable(p, user, table);
    // A column named as another field's recovery column is left out too.
    p.addField(idTable, QStringLiteral("Vechi"), QStringLiteral("Pastrat"));
    ScriptedPrompts prompts;
    frmFieldAdd dialog;
    dialog.IdConn = static_cast<qint32>(p.scalar(QStringLiteral("SELECT IdConn FROM tTable")).toInt());
    dialog.IdTable = idTable;
    dialog.Load();
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messageTexts().join(" | ").toStdString();
    EXPECT_FALSE(dialog.Offline);
    EXPECT_EQ(texts(dialog.list()), c.listed);
    EXPECT_TRUE(dialog.list()->topLevelItem(0)->isSelected());
}

INSTANTIATE_TEST_SUITE_P(
    Engines, FieldAddListing,
    ::testing::Values(FieldListCase{Engine::Sqlite, QStringLiteral("Suma DECIMAL(18,2), Suma_VM DECIMAL(18,2), Data DATE, Pastrat INTEGER"),
                                    {"Suma", "Data"}},
                      FieldListCase{Engine::Sqlite, QStringLiteral("Valoare DECIMAL(18,2), suma_vm DECIMAL(18,2)"),
                                    {"Valoare", "suma_vm"}},
                      FieldListCase{Engine::Postgres, QStringLiteral("suma numeric(18,2), suma_vm numeric(18,2), data date, pastrat integer"),
                                    {"suma", "suma_vm", "data"}}),
    [](const auto &info) { return testsupport::engineName(info.param.engine).toStdString() + std::to_string(info.index); });

class FieldAddChoosing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(p.ok());
        ASSERT_TRUE(user.conn().isOpen());
        user.createTable(QStringLiteral("Plati"),
                         QStringLiteral("Id INTEGER, Suma MONEY, Data DATE, Total DECIMAL(18,2), Nota TEXT"));
        idTable = testsupport::addUserTable(p, user, QStringLiteral("Plati"));
        dialog.IdConn = static_cast<qint32>(p.scalar(QStringLiteral("SELECT IdConn FROM tTable")).toInt());
        dialog.IdTable = idTable;
    }
    // Shows the dialog again as the main window does.
    void show()
    {
        dialog.Ok = false;
        dialog.setResult(0);
        dialog.Load();
    }
    QStringList fields()
    {
        db::Recordset rs = p.Conn().openRecordset(
            QStringLiteral("SELECT FieldName, RecFieldName FROM tField WHERE IdTable = ") + QString::number(idTable)
            + QStringLiteral(" ORDER BY IdField"));
        QStringList rows;
        for (; !rs.eof(); rs.moveNext())
            rows.append(rs.value(0).toString() + QLatin1Char('/') + rs.value(1).toString());
        return rows;
    }
    QString idOf(const QString &name)
    {
        return p.scalar(QStringLiteral("SELECT IdField FROM tField WHERE FieldName = '") + name + QStringLiteral("'"))
            .toString();
    }

    ProjectFixture p;
    UserDatabase user{Engine::Sqlite};
    int idTable = 0;
    frmFieldAdd dialog;
};

TEST_F(FieldAddChoosing, ARefusedTypeAsksAndYesGoesOn)
{
    ScriptedPrompts prompts;
    show();
    selectOnly(dialog.list(), {"Suma", "Data"});
    prompts.answer(ui::Answer::Yes);
    dialog.okButton()->click();
    ASSERT_EQ(prompts.messages().size(), 1);
    // A date column (DATE: the database layer's DBDate) is refused by the type check.
    EXPECT_EQ(prompts.messages().at(0).text.toStdString(),
              QStringLiteral("Campul Data nu se poate adauga din cauza urmatoarei erori:\r\nNu poate fi folosit "
                             "tipul DBDate\r\n\r\nDoriti sa continuati?").toStdString());
    EXPECT_EQ(prompts.messages().at(0).buttons, ui::Buttons::YesNo);
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_TRUE(dialog.Ok);
    EXPECT_EQ(dialog.IdFieldList, idOf(QStringLiteral("Suma")));
    EXPECT_EQ(fields(), QStringList{"Suma/Suma_VM"});
}

TEST_F(FieldAddChoosing, NoLeavesTheDialogOpenWithTheEarlierFieldsKept)
{
    ScriptedPrompts prompts;
    show();
    selectOnly(dialog.list(), {"Suma", "Data", "Total"});
    prompts.answer(ui::Answer::No);
    dialog.okButton()->click();
    EXPECT_NE(dialog.result(), int(QDialog::Accepted));
    EXPECT_TRUE(dialog.Ok);
    EXPECT_EQ(dialog.IdFieldList, idOf(QStringLiteral("Suma")));
    EXPECT_TRUE(itemNamed(dialog.list(), QStringLiteral("Total"))->isSelected()) << "the rest stays selected";
    EXPECT_FALSE(itemNamed(dialog.list(), QStringLiteral("Suma"))->isSelected());

    // Going on with the rest adds Total after Suma.
    dialog.okButton()->click();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.IdFieldList, idOf(QStringLiteral("Suma")) + QStringLiteral(", ") + idOf(QStringLiteral("Total")));
    EXPECT_EQ(fields(), (QStringList{"Suma/Suma_VM", "Total/Total_VM"}));
}

TEST_F(FieldAddChoosing, AColumnAlreadyAFieldAsksAndStoresNothingAndEachShowingReturnsItsOwnKeys)
{
    ScriptedPrompts prompts;
    show();
    selectOnly(dialog.list(), {"Suma"});
    dialog.okButton()->click();
    const QString suma = idOf(QStringLiteral("Suma"));
    EXPECT_EQ(dialog.IdFieldList, suma);

    show();
    EXPECT_TRUE(dialog.IdFieldList.isEmpty());
    EXPECT_EQ(texts(dialog.list()), (QStringList{"Id", "Suma", "Data", "Total", "Nota"})) << "kept between showings";
    selectOnly(dialog.list(), {"Suma", "Total"});
    prompts.answer(ui::Answer::Yes);
    dialog.okButton()->click();
    EXPECT_EQ(prompts.messageTexts(),
              QStringList{"Campul Suma este deja adaugat la tabelul curent.\r\n\r\nDoriti sa continuati?"});
    EXPECT_EQ(dialog.IdFieldList, idOf(QStringLiteral("Total")));
    EXPECT_EQ(fields(), (QStringList{"Suma/Suma_VM", "Total/Total_VM"}));

    // Nothing selected.
    show();
    dialog.list()->clearSelection();
    prompts.clear();
    dialog.okButton()->click();
    EXPECT_EQ(prompts.messageTexts(), QStringList{"Trebuie sa selectati un camp din lista"});
    EXPECT_FALSE(dialog.Ok);
}

TEST_F(FieldAddChoosing, OfflineTakesAnyTypedNameWithoutTouchingTheDatabase)
{
    ScriptedPrompts prompts;
    dialog.Offline = true;
    show();
    EXPECT_TRUE(dialog.list()->isHidden());
    EXPECT_FALSE(dialog.nameBox()->isHidden());
    dialog.okButton()->click();
    dialog.nameBox()->setText(QStringLiteral("Nu Exista"));
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.Ok);
    EXPECT_EQ(dialog.IdFieldList, idOf(QStringLiteral("Nu Exista")));
    dialog.Offline = true;
    show();
    dialog.nameBox()->setText(QStringLiteral("nu exista"));
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.Ok);
    EXPECT_EQ(prompts.messageTexts(), (QStringList{"Trebuie sa specificati numele campului",
                                                   "Campul este deja adaugat la tabelul curent."}));
    EXPECT_EQ(fields(), QStringList{"Nu Exista/Nu Exista_VM"});
    EXPECT_FALSE(user.columnNames(QStringLiteral("Plati")).contains(QStringLiteral("nu exista")));
}

// SQLite takes any bytes in a name: a column named with bytes that are not
// UTF-8 is listed as it decodes, and picking it asks as a refused type does.
TEST(FieldAddDialog, AListedColumnNameThatIsNotUtf8AsksAndIsNotStored)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    UserDatabase user{Engine::Sqlite};
    user.createTable(QStringLiteral("Plati"), QStringLiteral("Id INTEGER, Suma DECIMAL(18,2)"));
    sqlite3 *raw = nullptr;
    ASSERT_EQ(sqlite3_open(user.connString().section(QStringLiteral("Data Source="), 1).toUtf8().constData(), &raw),
              SQLITE_OK);
    const int rc = sqlite3_exec(raw, "ALTER TABLE Plati ADD COLUMN \"Tv\xc2\xc2" "a\" DECIMAL(18,2)", nullptr, nullptr,
                                nullptr);
    sqlite3_close(raw);
    ASSERT_EQ(rc, SQLITE_OK);
    const QString broken = QString::fromUtf8("Tv\xc2\xc2" "a");

    ScriptedPrompts prompts;
    frmFieldAdd dialog;
    dialog.IdTable = testsupport::addUserTable(p, user, QStringLiteral("Plati"));
    dialog.IdConn = static_cast<qint32>(p.scalar(QStringLiteral("SELECT IdConn FROM tTable")).toInt());
    dialog.Load();
    selectOnly(dialog.list(), {"Suma", broken});
    prompts.answer(ui::Answer::Yes);
    dialog.okButton()->click();
    EXPECT_EQ(prompts.messageTexts(),
              QStringList{QStringLiteral("Campul ") + broken
                          + QString::fromUtf8(" nu se poate adauga din cauza urmatoarei erori:\r\nNumele campului contine "
                                              "caractere care nu sunt text UTF-8 valid (afisate ca \"\xef\xbf\xbd\"); "
                                              "corectati textul.\r\n\r\nDoriti sa continuati?")});
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT group_concat(FieldName) FROM tField")).toString(), QStringLiteral("Suma"));
}

TEST(FieldAddDialog, ATableThatCannotBeReadSwitchesToManualEntryAfterTheErrorBox)
{
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const int idConn = p.addConn(6, QStringLiteral("Sursa"), QStringLiteral("Driver=Vamor Nu Exista;Database=x"));
    const int idTable = p.addTable(idConn, QStringLiteral("Lipsa"));
    ScriptedPrompts prompts;
    frmFieldAdd dialog;
    dialog.IdConn = idConn;
    dialog.IdTable = idTable;
    dialog.Load();
    EXPECT_TRUE(dialog.Offline);
    EXPECT_FALSE(dialog.nameBox()->isHidden());
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title, QStringLiteral("frmFieldAdd: pLoadFieldList"));
}

// The type check of a chosen column waits on the user's database off the
// window's thread: while another session keeps the table locked the wait
// window says what it waits for, and Abandoneaza ends the wait; the field
// is then refused with the reason and nothing is stored.
TEST(FieldAddDialog, TypeCheckOfALockedTableShowsTheWaitAndAbandoneazaStopsIt)
{
    VAMOR_REQUIRE_SERVER(pg, "VAMOR_TEST_PG");
    UserDatabase user(Engine::Postgres);
    ASSERT_TRUE(user.conn().isOpen());
    ProjectFixture p;
    ASSERT_TRUE(p.ok());
    const QString table = UserDatabase::tableName(QStringLiteral("plati")).toLower();
    user.createTable(table, QStringLiteral("suma numeric(18,2)"));
    const int idTable = testsupport::addUserTable(p, user, table);
    ScriptedPrompts prompts;
    frmFieldAdd dialog;
    dialog.IdConn = static_cast<qint32>(p.scalar(QStringLiteral("SELECT IdConn FROM tTable")).toInt());
    dialog.IdTable = idTable;
    dialog.Load();
    selectOnly(dialog.list(), {"suma"});

    db::Connection other;
    other.open(user.connString());
    other.beginTrans();
    other.execute(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(table));
    ui::setWaitWindowDelay(0);
    QString caption;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QLatin1String("frmWait") || !w->isVisible() || !caption.isEmpty())
                continue;
            caption = w->findChild<QLabel *>(QStringLiteral("lblWait"))->text();
            w->findChild<QPushButton *>(QStringLiteral("cmdStop"))->click();
        }
    });
    poll.start(50);
    prompts.answer(ui::Answer::No);
    dialog.okButton()->click();
    poll.stop();
    ui::setWaitWindowDelay(400);
    other.rollbackTrans();

    EXPECT_TRUE(caption.startsWith(QStringLiteral("Se verifica tipul campului \"suma\"")))
        << caption.toStdString();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().at(0).text.startsWith(
        QStringLiteral("Campul suma nu se poate adauga din cauza urmatoarei erori:\r\nAsteptarea a fost oprita de "
                       "utilizator.")))
        << prompts.messages().at(0).text.toStdString();
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT Count(*) FROM tField")).toInt(), 0);
}

} // namespace
