#include "tables/frmTableAdd.h"

#include "data/ErrorTrap.h"
#include "data/Lookups.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "data/db/SqlScan.h"
#include "datasources/ConnStrings.h"
#include "tables/AddDialogParts.h"
#include "util/core/Prompt.h"
#include "util/widgets/GuiPrompts.h"
#include "util/widgets/ListViewTools.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kModule = QStringLiteral("frmTableAdd");
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kTagRole = Qt::UserRole;

// The captions of the check box, by the kind of list it narrows.
const char *const kOnlyUserTables = QT_TRANSLATE_NOOP("frmTableAdd", "Numai tabelele utilizatorului curent");
const char *const kOnlyDbfFiles = QT_TRANSLATE_NOOP("frmTableAdd", "Numai fisierele cu extensia .dbf");

} // namespace

frmTableAdd::frmTableAdd(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTableAdd"));
    setWindowTitle(tr("Adauga Tabel"));
    setProperty("HelpContextID", 4);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const AddDialogParts parts =
        makeAddDialogParts(this, tr("Lista Tabele:"),
                           {tr("Nume Tabel"),
                            //: The schema (owner) of the table
                            tr("Proprietar")},
                           tr("Nume Tabel:"), QStringLiteral("Table"));
    lblList = parts.lblList;
    lsv = parts.lsv;
    cmdRefresh = parts.cmdRefresh;
    Frame1 = parts.Frame1;
    lblTableName = parts.lblName;
    txtTableName = parts.txtName;
    cmdOk = parts.cmdOk;
    cmdCancel = parts.cmdCancel;
    chkExtend = new QCheckBox(tr(kOnlyUserTables), this);
    chkExtend->setObjectName(QStringLiteral("chkExtend"));
    chkExtend->setChecked(true);
    setTabOrder(lsv, chkExtend);
    setTabOrder(chkExtend, cmdRefresh);

    auto *listTools = new QHBoxLayout;
    listTools->addWidget(chkExtend, 1);
    listTools->addWidget(cmdRefresh);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblList);
    layout->addWidget(lsv, 1);
    layout->addLayout(listTools);
    layout->addWidget(Frame1);
    layout->addStretch(0);
    layout->addLayout(buttons);
    resize(420, 360);

    connect(cmdOk, &QPushButton::clicked, this, &frmTableAdd::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTableAdd::cmdCancel_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmTableAdd::cmdRefresh_Click);
    connect(chkExtend, &QCheckBox::clicked, this, &frmTableAdd::chkExtend_Click);
    connect(lsv, &QTreeWidget::itemDoubleClicked, this, [this] { cmdOk_Click(); });
}

void frmTableAdd::Load()
{
    fgTrap(kModule, QStringLiteral("Form_Load"), [&] {
        if (!Offline && !mbLoaded)
            pLoadTableList();
        pArrange();
    });
}

void frmTableAdd::pArrange()
{
    arrangeAddDialog(this, {lblList, lsv, cmdRefresh, Frame1, lblTableName, txtTableName, cmdOk, cmdCancel}, Offline);
    // The check box as the last listing left it, hidden for manual entry.
    chkExtend->setVisible(!Offline && mbExtendShown);
}

void frmTableAdd::pAddItem(const QString &key, const QString &text, const QString &owner, const QString &tag)
{
    auto *item = new QTreeWidgetItem(lsv, {text, owner});
    item->setData(0, kKeyRole, key);
    item->setData(0, kTagRole, tag);
}

void frmTableAdd::pLoadTableList()
{
    const bool listed = fgTrap(kModule, QStringLiteral("pLoadTableList"), [&] {
        lsv->clear();
        lsv->setSortingEnabled(false);
        db::Connection &project = projectConn();
        db::Recordset rs = project.openRecordset(
            QStringLiteral("SELECT tConn.*, tConnType.ConnString AS ConnTypeConnString, tConnType.DataSourceTag, "
                           "tConnType.UserNameTag, tConnType.PasswordTag,  tConnType.SecurityFileTag, "
                           "tConnType.DBPasswordTag, tConnType.DatabaseTag, tConnType.IntegratedSecurityTag")
            + QStringLiteral(" FROM tConn INNER JOIN tConnType ON tConn.IdConnType = tConnType.IdConnType")
            + QStringLiteral(" WHERE IdConn = ") + QString::number(IdConn));
        if (rs.eof()) {
            rs.close();
            return;
        }
        const int type = static_cast<int>(rs.value(QStringLiteral("IdConnType")).toInt());
        const QString userName = fgNZ(rs.value(QStringLiteral("UserName")), QString()).toString();
        const QString folder = fgNZ(rs.value(QStringLiteral("DataSource")), QString()).toString();
        rs.close();

        switch (type) {
        case 2:
            chkExtend->setText(tr(kOnlyUserTables));
            mbExtendShown = !userName.isEmpty();
            break;
        case 3:
        case 5:
            chkExtend->setText(tr(kOnlyDbfFiles));
            mbExtendShown = true;
            break;
        default:
            mbExtendShown = false;
            chkExtend->setChecked(true);
            break;
        }
        chkExtend->setVisible(mbExtendShown);

        if (type == 0 || type == 1 || type == 2) {
            const QString connString = fgGetConnString(project, IdConn);
            if (connString.isEmpty()) {
                Offline = true;
            } else {
                // Type, name and schema of every table, read off the window's thread.
                const std::vector<QStringList> tables = readListWaiting(
                    this, tr("Se citesc tabelele sursei de date"), connString, [](db::Connection &user) {
                        std::vector<QStringList> rows;
                        for (db::Recordset rs = user.tables(); !rs.eof(); rs.moveNext())
                            rows.push_back({rs.value(QStringLiteral("TABLE_TYPE")).toString(),
                                            rs.value(QStringLiteral("TABLE_NAME")).toString(),
                                            fgNZ(rs.value(QStringLiteral("TABLE_SCHEMA")), QString()).toString()});
                        return rows;
                    });
                QSet<QString> keys;
                const QString upperUser = userName.toUpper();
                for (const QStringList &table : tables) {
                    if (table.value(0) != QLatin1String("TABLE"))
                        continue;
                    const QString name = table.value(1);
                    const QString schema = table.value(2);
                    QString key = name;
                    QString tag = tagSeparator() + name;
                    if (type == 2 && schema.toUpper() != upperUser) {
                        if (chkExtend->isChecked() && !userName.isEmpty())
                            continue;
                        key = schema + QLatin1Char('.') + name;
                        tag = schema + tagSeparator() + name;
                    }
                    // Items are known by their key: a second table of the
                    // same key cannot be listed.
                    if (keys.contains(key))
                        throw db::DbError(db::E_FAIL,
                                          tr("Tabelul \"%1\" apare de doua ori in lista tabelelor sursei de date.")
                                              .arg(key));
                    keys.insert(key);
                    pAddItem(key, name, schema, tag);
                }
            }
        } else if (type == 3 || type == 5) {
            // The folder's files, matched as the original file system
            // matches its patterns: without regard to case.
            const QStringList patterns = {chkExtend->isChecked() ? QStringLiteral("*.dbf") : QStringLiteral("*.*")};
            QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
            for (const QString &file : files)
                if (ui::fgMatchesPatterns(file, patterns))
                    pAddItem(QString(), file, QString(), tagSeparator() + file);
        } else {
            Offline = true;
        }

        if (type != 2 || (!userName.isEmpty() && chkExtend->isChecked())) {
            lsv->setColumnHidden(1, true);
            lsv->setProperty("Tag", QString());
            pgLsvColumnHeaderClick(lsv, 0);
            pgWideListView(lsv, 0, 1);
        } else {
            lsv->setColumnHidden(1, false);
            pgWideListView(lsv, 0, -1);
            pgLsvColumnHeaderClick(lsv, 1);
        }
        if (lsv->topLevelItemCount() > 0 && lsv->selectedItems().isEmpty())
            lsv->setCurrentItem(lsv->topLevelItem(0));
    });
    // Sources whose tables are typed by hand are asked again at each showing,
    // so they always open for manual entry.
    if (listed && !Offline)
        mbLoaded = true;
    if (!listed)
        Offline = true;
}

void frmTableAdd::cmdOk_Click()
{
    fgTrap(kModule, QStringLiteral("cmdOk_Click"), [&] {
        if (Offline) {
            if (txtTableName->text().isEmpty()) {
                ui::msgBox(tr("Trebuie sa specificati numele tabelului"), ui::Buttons::Ok,
                           ui::Icon::Information);
                txtTableName->setFocus();
                return;
            }
            TableName = txtTableName->text().trimmed();
            Owner.clear();
            if (TableName.isEmpty()) {
                ui::msgBox(tr("Trebuie sa specificati numele tabelului"), ui::Buttons::Ok,
                           ui::Icon::Information);
                txtTableName->setFocus();
                return;
            }
        } else {
            const QList<QTreeWidgetItem *> selected = lsv->selectedItems();
            if (selected.isEmpty()) {
                ui::msgBox(tr("Trebuie sa selectati un tabel din lista"), ui::Buttons::Ok,
                           ui::Icon::Information);
                lsv->setFocus();
                return;
            }
            const QString tag = selected.first()->data(0, kTagRole).toString();
            const int at = tag.indexOf(tagSeparator());
            Owner = tag.left(at);
            TableName = tag.mid(at + tagSeparator().size());
        }
        // A name read from bytes that were not UTF-8 is not the table's name.
        if (!db::isWellFormedText(TableName) || !db::isWellFormedText(Owner)) {
            ui::msgBox(db::malformedTextMessage(db::TextSubject::TableName), ui::Buttons::Ok,
                       ui::Icon::Information);
            return;
        }

        QString sql = QStringLiteral("SELECT * FROM tTable WHERE IdConn = ") + QString::number(IdConn)
                      + QStringLiteral(" AND TableName = ") + fgSqlText(TableName);
        sql += Owner.isEmpty() ? QStringLiteral(" AND Owner Is Null")
                               : QStringLiteral(" AND Owner = ") + fgSqlText(Owner);
        db::Recordset rs = projectConn().openRecordset(sql, db::CursorType::Static, db::LockType::Optimistic);
        if (!rs.eof()) {
            ui::msgBox(tr("Tabelul este deja adaugat la conexiunea curenta."), ui::Buttons::Ok,
                       ui::Icon::Information);
            rs.close();
            return;
        }
        rs.addNew();
        rs.setValue(QStringLiteral("IdConn"), IdConn);
        rs.setValue(QStringLiteral("TableName"), TableName);
        rs.setValue(QStringLiteral("Owner"), fgZN(Owner));
        rs.update();
        IdTable = static_cast<qint32>(rs.value(QStringLiteral("IdTable")).toInt());
        rs.close();
        Ok = true;
        accept();
    });
}

void frmTableAdd::cmdCancel_Click()
{
    fgTrap(kModule, QStringLiteral("cmdCancel_Click"), [&] { reject(); });
}

void frmTableAdd::cmdRefresh_Click()
{
    fgTrap(kModule, QStringLiteral("cmdRefresh_Click"), [&] {
        pLoadTableList();
        pArrange();
    });
}

void frmTableAdd::chkExtend_Click()
{
    fgTrap(kModule, QStringLiteral("chkExtend_Click"), [&] {
        pLoadTableList();
        pArrange();
    });
}
