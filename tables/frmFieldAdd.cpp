#include "tables/frmFieldAdd.h"

#include "data/ErrorTrap.h"
#include "data/Lookups.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "data/db/SqlScan.h"
#include "datasources/ConnStrings.h"
#include "tables/AddDialogParts.h"
#include "tables/RecoveryField.h"
#include "tables/RoundingChoice.h"
#include "util/core/Prompt.h"
#include "util/widgets/ListViewTools.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmFieldAdd");
// Names ending so are taken for recovery columns (compared with regard to case).
const QString kRecoverySuffix = QStringLiteral("_VM");
} // namespace

frmFieldAdd::frmFieldAdd(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFieldAdd"));
    setWindowTitle(tr("Adauga Camp"));
    setProperty("HelpContextID", 2);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const AddDialogParts parts =
        makeAddDialogParts(this, tr("Lista Campuri:"), {tr("Nume Camp")}, tr("Nume Camp:"), QStringLiteral("Field"));
    lblList = parts.lblList;
    lsv = parts.lsv;
    lsv->setSelectionMode(QAbstractItemView::ExtendedSelection);
    cmdRefresh = parts.cmdRefresh;
    Frame1 = parts.Frame1;
    lblFieldName = parts.lblName;
    txtFieldName = parts.txtName;
    cmdOk = parts.cmdOk;
    cmdCancel = parts.cmdCancel;

    lblRounding = new QLabel(tr("Rotunjire:"), this);
    lblRounding->setObjectName(QStringLiteral("lblRounding"));
    cboRounding = rounding::makeChoice(this);
    lblRounding->setBuddy(cboRounding);
    auto *roundingRow = new QHBoxLayout;
    roundingRow->addWidget(lblRounding);
    roundingRow->addWidget(cboRounding, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdRefresh);
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblList);
    layout->addWidget(lsv, 1);
    layout->addWidget(Frame1);
    layout->addStretch(0);
    layout->addLayout(roundingRow);
    layout->addLayout(buttons);
    resize(420, 380);

    // Reading order: the list or the typed name, the rule, then the buttons.
    const QList<QWidget *> chain{lsv, txtFieldName, cboRounding, cmdRefresh, cmdOk, cmdCancel};
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
    connect(cmdOk, &QPushButton::clicked, this, &frmFieldAdd::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFieldAdd::cmdCancel_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmFieldAdd::cmdRefresh_Click);
}

void frmFieldAdd::Load()
{
    fgTrap(kModule, QStringLiteral("Form_Load"), [&] {
        IdFieldList.clear();
        if (!Offline && !mbLoaded)
            pLoadFieldList();
        pArrange();
    });
}

void frmFieldAdd::pArrange()
{
    arrangeAddDialog(this, {lblList, lsv, cmdRefresh, Frame1, lblFieldName, txtFieldName, cmdOk, cmdCancel}, Offline);
}

void frmFieldAdd::pLoadFieldList()
{
    const bool listed = fgTrap(kModule, QStringLiteral("pLoadFieldList"), [&] {
        lsv->clear();
        db::Connection &project = projectConn();
        db::Recordset source = project.openRecordset(
            QStringLiteral("SELECT tConn.*, tConnType.ConnString AS ConnTypeConnString, tConnType.DataSourceTag, "
                           "tConnType.UserNameTag, tConnType.PasswordTag,  tConnType.SecurityFileTag, "
                           "tConnType.DBPasswordTag, tConnType.DatabaseTag, tConnType.IntegratedSecurityTag")
                + QStringLiteral(" FROM tConn INNER JOIN tConnType ON tConn.IdConnType = tConnType.IdConnType")
                + QStringLiteral(" WHERE IdConn = ") + QString::number(IdConn),
            db::CursorType::ForwardOnly);
        const QString tableName = fgNZ(fgLookup(project, QStringLiteral("tTable"), QStringLiteral("TableName"),
                                                QStringLiteral("IdTable = ") + QString::number(IdTable)),
                                       QString())
                                      .toString();
        if (!source.eof()) {
            db::Recordset recovery = project.openRecordset(
                QStringLiteral("SELECT RecFieldName FROM tField WHERE IdTable = ") + QString::number(IdTable));
            const QString connString = fgGetConnString(project, IdConn);
            if (connString.isEmpty()) {
                Offline = true;
            } else {
                const std::vector<QStringList> columns = readListWaiting(
                    this, tr("Se citesc coloanele tabelului \"%1\"").arg(tableName), connString,
                    [tableName](db::Connection &user) {
                        std::vector<QStringList> rows;
                        for (db::Recordset rs = user.columns(tableName); !rs.eof(); rs.moveNext())
                            rows.push_back({rs.value(QStringLiteral("COLUMN_NAME")).toString()});
                        return rows;
                    });
                for (const QStringList &column : columns) {
                    const QString name = column.value(0);
                    recovery.setFilter(QStringLiteral("RecFieldName = ") + fgSqlText(name));
                    if (recovery.eof() && !name.endsWith(kRecoverySuffix, Qt::CaseSensitive)) {
                        auto *item = new QTreeWidgetItem(lsv, {name});
                        item->setData(0, Qt::UserRole, name);
                    }
                }
                if (lsv->topLevelItemCount() > 0 && lsv->selectedItems().isEmpty())
                    lsv->setCurrentItem(lsv->topLevelItem(0));
            }
            recovery.close();
        }
        source.close();
        pgWideListView(lsv, 0, -1);
    });
    if (listed && !Offline)
        mbLoaded = true;
    if (!listed)
        Offline = true;
}

qint64 frmFieldAdd::pStoreField(db::Recordset &rs, const QString &name)
{
    rs.addNew();
    rs.setValue(QStringLiteral("IdTable"), IdTable);
    rs.setValue(QStringLiteral("FieldName"), name);
    rs.setValue(QStringLiteral("RecFieldName"), fgGetRecoveryFieldName(name));
    if (rounding::canStore(rs))
        rs.setValue(QStringLiteral("Rounding"), fgZN(rounding::choice(cboRounding)));
    rs.update();
    return rs.value(QStringLiteral("IdField")).toInt();
}

void frmFieldAdd::cmdOk_Click()
{
    fgTrap(kModule, QStringLiteral("cmdOk_Click"), [&] {
        db::Recordset rs = projectConn().openRecordset(
            QStringLiteral("SELECT * FROM tField WHERE IdTable = ") + QString::number(IdTable),
            db::CursorType::Static, db::LockType::Optimistic);
        if (Offline) {
            const QString name = txtFieldName->text();
            if (name.isEmpty()) {
                ui::msgBox(tr("Trebuie sa specificati numele campului"), ui::Buttons::Ok,
                           ui::Icon::Information);
                txtFieldName->setFocus();
                return;
            }
            if (!db::isWellFormedText(name)) {
                ui::msgBox(db::malformedTextMessage(db::TextSubject::FieldName), ui::Buttons::Ok,
                           ui::Icon::Information);
                txtFieldName->setFocus();
                return;
            }
            rs.setFilter(QStringLiteral("FieldName = ") + fgSqlText(name));
            if (!rs.eof()) {
                ui::msgBox(tr("Campul este deja adaugat la tabelul curent."), ui::Buttons::Ok,
                           ui::Icon::Information);
                txtFieldName->setFocus();
                return;
            }
            rs.setFilter(QString());
            IdFieldList = QString::number(pStoreField(rs, name));
            Ok = true;
            rs.close();
            accept();
            return;
        }

        if (lsv->selectedItems().isEmpty()) {
            ui::msgBox(tr("Trebuie sa selectati un camp din lista"), ui::Buttons::Ok,
                       ui::Icon::Information);
            lsv->setFocus();
            return;
        }
        for (int i = 0; i < lsv->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = lsv->topLevelItem(i);
            if (!item->isSelected())
                continue;
            item->setSelected(false);
            const QString name = item->data(0, Qt::UserRole).toString();
            // A column name read from bytes that were not UTF-8 is not the column's name.
            const qint32 idTable = IdTable;
            const QString message =
                db::isWellFormedText(name)
                    ? stepWaiting(this, tr("Se verifica tipul campului \"%1\"").arg(name),
                                  [idTable, name] { return fgCheckFieldType(idTable, name); })
                    : db::malformedTextMessage(db::TextSubject::FieldName);
            if (!message.isEmpty()) {
                const ui::Answer answer = ui::msgBox(
                    tr("Campul %1 nu se poate adauga din cauza urmatoarei erori:\r\n%2\r\n\r\nDoriti sa continuati?")
                        .arg(name, message),
                    ui::Buttons::YesNo, ui::Icon::Question);
                if (answer != ui::Answer::Yes)
                    return;
                continue;
            }
            rs.setFilter(QStringLiteral("FieldName = ") + fgSqlText(name));
            if (rs.eof()) {
                rs.setFilter(QString());
                const qint64 idField = pStoreField(rs, name);
                if (!IdFieldList.isEmpty())
                    IdFieldList += QStringLiteral(", ");
                IdFieldList += QString::number(idField);
                Ok = true;
            } else {
                const ui::Answer answer = ui::msgBox(
                    tr("Campul %1 este deja adaugat la tabelul curent.\r\n\r\nDoriti sa continuati?").arg(name),
                    ui::Buttons::YesNo, ui::Icon::Question);
                if (answer != ui::Answer::Yes)
                    return;
            }
        }
        rs.close();
        accept();
    });
}

void frmFieldAdd::cmdCancel_Click()
{
    fgTrap(kModule, QStringLiteral("cmdCancel_Click"), [&] { reject(); });
}

void frmFieldAdd::cmdRefresh_Click()
{
    fgTrap(kModule, QStringLiteral("cmdRefresh_Click"), [&] {
        pLoadFieldList();
        pArrange();
    });
}
