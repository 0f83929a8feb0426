#include "tables/frmTable.h"


#include "data/ErrorTrap.h"
#include "data/Lookups.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "data/db/SqlScan.h"
#include "tables/AddDialogParts.h"
#include "data/Changeover.h"
#include "tables/RecoveryField.h"
#include "tables/RoundingChoice.h"
#include "tables/frmField.h"
#include "util/core/Prompt.h"
#include "util/widgets/ListViewTools.h"
#include "util/widgets/ModalDialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kModule = QStringLiteral("frmTable");
// 5000 by 3000 twips.
constexpr int kMinWidth = 5000 / 15;
constexpr int kMinHeight = 3000 / 15;
constexpr int kColName = 0;
constexpr int kColState = 1;
constexpr int kColRecField = 2;
constexpr int kColError = 3;
constexpr int kColWhere = 4;
constexpr int kColRounding = 5;
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kTagRole = Qt::UserRole;

// The state pictures "green" (new currency) and "red" (old currency).
QIcon stateIcon(bool converted)
{
    static const QIcon green = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0, 100, 0));
        painter.setBrush(QColor(0, 170, 0));
        painter.drawEllipse(2, 2, 12, 12);
        return QIcon(pixmap);
    }();
    static const QIcon red = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(120, 0, 0));
        painter.setBrush(QColor(210, 0, 0));
        painter.drawEllipse(2, 2, 12, 12);
        return QIcon(pixmap);
    }();
    return converted ? green : red;
}

QString text(const db::Variant &value) { return fgNZ(value, QString()).toString(); }

} // namespace

frmTable::frmTable(QWidget *parent)
    : ChildWindow(QStringLiteral("frmTable"), QStringLiteral("lblTableName"), parent)
{
    setProperty("HelpContextID", 11);
    setMinimumSize(kMinWidth, kMinHeight);

    QWidget *content = widget();
    Label1 = new QLabel(tr("Nume Tabel:"), content);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtTableName = new QLineEdit(content);
    txtTableName->setObjectName(QStringLiteral("txtTableName"));
    txtTableName->setReadOnly(true);
    QPalette palette = txtTableName->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    txtTableName->setPalette(palette);
    Label2 = new QLabel(tr("Clauza WHERE:"), content);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtSQLWhere = new QPlainTextEdit(content);
    txtSQLWhere->setObjectName(QStringLiteral("txtSQLWhere"));
    txtSQLWhere->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtSQLWhere->setTabChangesFocus(true);
    txtSQLWhere->setFixedHeight(txtSQLWhere->fontMetrics().lineSpacing() * 3 + 12);
    txtSQLWhere->installEventFilter(this);
    lsv = new QTreeWidget(content);
    lsv->setObjectName(QStringLiteral("lsv"));
    pgMakeReportList(lsv);
    lsv->setIconSize(QSize(16, 16));
    lsv->setHeaderLabels({tr("Nume Camp"),
                          //: Whether the field's amounts are in old or new currency
                          tr("Stare"), tr("Camp de restaurare"), tr("Ultima Eroare"), tr("Clauza WHERE"),
                          tr("Rotunjire")});
    lsv->header()->setSectionsClickable(false);

    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(txtTableName, 0, 1);
    grid->addWidget(Label2, 1, 0, Qt::AlignTop);
    grid->addWidget(txtSQLWhere, 1, 1);
    grid->addWidget(lsv, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    // Below the heading, in place of the empty space the base leaves.
    contentLayout->insertLayout(1, grid, 1);
    for (int i = 2; i < contentLayout->count(); ++i)
        contentLayout->setStretch(i, 0);
    resize(560, 340);

    connect(txtSQLWhere, &QPlainTextEdit::textChanged, this, [this] {
        fgTrap(kModule, QStringLiteral("txtSQLWhere_Change"), [&] {
            if (!mbFilling)
                mbChanged = true;
        });
    });
    connect(lsv, &QTreeWidget::itemDoubleClicked, this, [this] { lsv_DblClick(); });
    connect(lsv, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (IProjectHost *host = projectHost())
            host->SetFieldButtons(!lsv->selectedItems().isEmpty());
    });
}

frmTable::~frmTable()
{
    if (IProjectHost *host = projectHost())
        host->UnloadChild(Key);
}

bool frmTable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSQLWhere && event->type() == QEvent::FocusOut)
        txtSQLWhere_Validate();
    return ChildWindow::eventFilter(watched, event);
}

void frmTable::resizeEvent(QResizeEvent *event)
{
    fgTrap(kModule, QStringLiteral("Form_Resize"), [&] { ChildWindow::resizeEvent(event); });
}

void frmTable::Load()
{
    fgTrap(kModule, QStringLiteral("Load"), [&] {
        db::Recordset rs = projectConn().openRecordset(QStringLiteral("SELECT * FROM tTable WHERE IdTable = ")
                                                       + QString::number(IdTable));
        if (!rs.eof()) {
            mbFilling = true;
            const QString owner = text(rs.value(QStringLiteral("Owner")));
            const QString name = text(rs.value(QStringLiteral("TableName")));
            txtTableName->setText(owner.isEmpty() ? name : owner + QLatin1Char('.') + name);
            txtSQLWhere->setPlainText(text(rs.value(QStringLiteral("SQLWhere"))));
            mbFilling = false;
            mbChanged = false;
        }
        rs.close();
        pLoadFields(QString());
    });
    mbFilling = false;
    setHeading(txtTableName->text());
}

void frmTable::Activate()
{
    ++mintActivations;
    fgTrap(kModule, QStringLiteral("Activate"), [&] { pSetButtons(); });
}

void frmTable::AddField(const QString &pstrIdFieldList)
{
    fgTrap(kModule, QStringLiteral("AddField"), [&] { pLoadFields(pstrIdFieldList); });
}

void frmTable::pLoadFields(const QString &pstrIdFieldList)
{
    fgTrap(kModule, QStringLiteral("pLoadFields"), [&] {
        QString sql = QStringLiteral("SELECT * FROM tField WHERE IdTable = ") + QString::number(IdTable);
        if (!pstrIdFieldList.isEmpty())
            sql += QStringLiteral(" AND IdField In (") + pstrIdFieldList + QStringLiteral(")");
        else
            lsv->clear();
        sql += QStringLiteral(" ORDER BY FieldName");
        db::Recordset rs = projectConn().openRecordset(sql);
        const Changeover changeover = Changeover::of(projectConn());
        for (; !rs.eof(); rs.moveNext()) {
            const qint64 idField = rs.value(QStringLiteral("IdField")).toInt();
            const QString key = QStringLiteral("_") + QString::number(idField);
            for (int i = 0; i < lsv->topLevelItemCount(); ++i)
                if (lsv->topLevelItem(i)->data(0, kKeyRole).toString() == key)
                    throw db::DbError(db::E_FAIL, tr("Campul cu cheia %1 este deja in lista.").arg(key));
            const bool converted = rs.value(QStringLiteral("Converted")).toBool();
            auto *item = new QTreeWidgetItem(lsv);
            item->setData(0, kKeyRole, key);
            item->setData(0, kTagRole, idField);
            item->setText(kColName, text(rs.value(QStringLiteral("FieldName"))));
            item->setText(kColState, changeover.name(converted));
            item->setIcon(kColState, stateIcon(converted));
            item->setData(kColState, Qt::UserRole, converted ? QStringLiteral("green") : QStringLiteral("red"));
            item->setForeground(kColState, converted ? QColor(0, 128, 0) : QColor(192, 0, 0));
            item->setText(kColRecField, text(rs.value(QStringLiteral("RecFieldName"))));
            item->setText(kColError, text(rs.value(QStringLiteral("Error"))));
            item->setText(kColWhere, text(rs.value(QStringLiteral("SQLWhere"))));
            item->setText(kColRounding, rounding::listText(rounding::ofRow(rs)));
        }
        rs.close();
        pgWideListView(lsv, 0, -1);
        pSetButtons();
    });
}

void frmTable::pSetButtons()
{
    fgTrap(kModule, QStringLiteral("pSetButtons"), [&] {
        IProjectHost *host = projectHost();
        if (lsv->topLevelItemCount() == 0) {
            if (host)
                host->SetFieldButtons(false);
            return;
        }
        if (lsv->selectedItems().isEmpty())
            lsv->setCurrentItem(lsv->topLevelItem(0));
        if (host)
            host->SetFieldButtons(true);
    });
}

void frmTable::RefreshFields()
{
    fgTrap(kModule, QStringLiteral("RefreshFields"), [&] {
        const QList<QTreeWidgetItem *> selected = lsv->selectedItems();
        const QString key = selected.isEmpty() ? QString() : selected.first()->data(0, kKeyRole).toString();
        pLoadFields(QString());
        for (int i = 0; i < lsv->topLevelItemCount(); ++i)
            if (!key.isEmpty() && lsv->topLevelItem(i)->data(0, kKeyRole).toString() == key)
                lsv->setCurrentItem(lsv->topLevelItem(i));
    });
}

bool frmTable::HasSelectedField() const { return !lsv->selectedItems().isEmpty(); }

bool frmTable::DelField()
{
    bool removed = false;
    fgTrap(kModule, QStringLiteral("DelField"), [&] {
        const QList<QTreeWidgetItem *> selected = lsv->selectedItems();
        if (selected.isEmpty()) {
            pSetButtons();
            return;
        }
        QTreeWidgetItem *item = selected.first();
        const bool offline = fgLookup(projectConn(), QStringLiteral("tConn"), QStringLiteral("Offline"),
                                      QStringLiteral("IdConn = ") + QString::number(IdConn))
                                 .toBool();
        const QString recField = item->text(kColRecField);
        if (!recField.isEmpty() && !offline) {
            const ui::Answer answer =
                ui::msgBox(tr("Campul \"%1\" va fi sters.\r\nDoriti sa stergeti si campul suplimentar \"%2\"?")
                               .arg(item->text(kColName), recField),
                           ui::Buttons::YesNoCancel, ui::Icon::Question, QString(), 2);
            if (answer == ui::Answer::Cancel)
                return;
            if (answer == ui::Answer::Yes) {
                const qint32 idTable = IdTable;
                const QString message =
                    stepWaiting(this, tr("Se sterge campul de restaurare \"%1\"").arg(recField),
                                [idTable, recField] { return fgDropRecoveryField(idTable, recField); });
                if (!message.isEmpty()) {
                    const ui::Answer goOn = ui::msgBox(
                        tr("Campul de restaurare nu a putut fi sters din cauza urmatoarei erori:\r\n%1\r\n\r\n"
                           "Doriti sa continuati?")
                            .arg(message),
                        ui::Buttons::YesNo, ui::Icon::Question);
                    if (goOn != ui::Answer::Yes)
                        return;
                }
            }
        }
        const QString key = item->data(0, kKeyRole).toString();
        projectConn().execute(QStringLiteral("DELETE FROM tField WHERE IdField = ") + key.mid(1));
        delete item;
        pSetButtons();
        removed = true;
    });
    return removed;
}

int frmTable::GetFieldCount() const { return lsv->topLevelItemCount(); }

QString frmTable::GetTableName() const { return txtTableName->text(); }

void frmTable::txtSQLWhere_Validate()
{
    fgTrap(kModule, QStringLiteral("txtSQLWhere_Validate"), [&] {
        // A clause that could not be saved stays marked, and is tried again.
        if (mbChanged && pSave())
            mbChanged = false;
    });
}

bool frmTable::pSave()
{
    return fgTrap(kModule, QStringLiteral("pSave"), [&] {
        const QString clause = txtSQLWhere->toPlainText();
        if (!db::isWellFormedText(clause))
            throw db::DbError(db::E_FAIL, db::malformedTextMessage(db::TextSubject::WhereClause));
        db::Recordset rs = projectConn().openRecordset(QStringLiteral("SELECT * FROM tTable WHERE IdTable = ")
                                                           + QString::number(IdTable),
                                                       db::CursorType::Static, db::LockType::Optimistic);
        if (rs.eof()) {
            rs.addNew();
            rs.setValue(QStringLiteral("IdConn"), IdConn);
        }
        rs.setValue(QStringLiteral("SQLWhere"), fgZN(clause));
        rs.update();
        IdTable = static_cast<qint32>(rs.value(QStringLiteral("IdTable")).toInt());
        rs.close();
        if (IProjectHost *host = projectHost())
            host->SetDirty(true);
    });
}

void frmTable::lsv_DblClick()
{
    fgTrap(kModule, QStringLiteral("lsv_DblClick"), [&] {
        const QList<QTreeWidgetItem *> selected = lsv->selectedItems();
        if (selected.isEmpty())
            return;
        QTreeWidgetItem *item = selected.first();
        frmField dialog(this);
        dialog.IdField = static_cast<qint32>(item->data(0, kTagRole).toLongLong());
        ui::showModal(dialog);
        if (dialog.Ok) {
            item->setText(kColWhere, dialog.SQLWhere);
            item->setText(kColRounding, rounding::listText(dialog.Rounding));
            if (IProjectHost *host = projectHost())
                host->SetDirty(true);
        }
    });
}
