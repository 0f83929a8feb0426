// The main window's commands on tables and fields: adding and removing
// tables of a data source, adding and removing fields of a table.
#include "app/frmMain.h"

#include "data/ErrorTrap.h"
#include "data/Lookups.h"
#include "data/db/Connection.h"
#include "tables/frmFieldAdd.h"
#include "tables/frmTable.h"
#include "tables/frmTableAdd.h"
#include "util/widgets/ModalDialog.h"

#include <QIcon>
#include <QTreeWidget>

namespace {

const QString kModule = QStringLiteral("frmMain");

qint32 keyNumber(const QString &key) { return static_cast<qint32>(key.mid(2).toLong()); }

// The add dialog kept for one node (`key`): made on first use with `init`,
// then shown again with the user's last choices. Reset for this showing.
template <class Dialog, class Init>
Dialog *keptAddDialog(KeyedCollection<QPointer<QWidget>> &dialogs, const QString &key, QWidget *parent,
                      bool offline, Init init)
{
    auto *dialog = qobject_cast<Dialog *>(dialogs.value(key).data());
    if (!dialog) {
        dialog = new Dialog(parent);
        init(*dialog);
        dialogs.add(key, dialog);
    }
    dialog->Ok = false;
    dialog->Offline = offline;
    dialog->Load();
    return dialog;
}

} // namespace

bool frmMain::fConnOffline() const
{
    return fgLookup(const_cast<db::Connection &>(mcnnProject), QStringLiteral("tConn"), QStringLiteral("Offline"),
                    QStringLiteral("IdConn = ") + QString::number(mlngIdConn))
        .toBool();
}

void frmMain::pTableAdd()
{
    fgTrap(kModule, QStringLiteral("pTableAdd"), [&] {
        if (mlngIdConn == 0)
            return;
        auto *dialog = keptAddDialog<frmTableAdd>(mcolDialogs, QStringLiteral("C_") + QString::number(mlngIdConn),
                                                  this, fConnOffline(),
                                                  [&](frmTableAdd &d) { d.IdConn = mlngIdConn; });
        ui::showModal(*dialog);
        if (!dialog->Ok)
            return;
        QTreeWidgetItem *parent = findNodeOrThrow(QStringLiteral("C_") + QString::number(dialog->IdConn));
        auto *node = new QTreeWidgetItem(parent);
        node->setText(0, dialog->TableName);
        node->setData(0, Qt::UserRole, QStringLiteral("T_") + QString::number(dialog->IdTable));
        node->setIcon(0, QIcon(QStringLiteral(":/pictures/table.svg")));
        parent->setExpanded(true);
        trv->setCurrentItem(node);
        trv->scrollToItem(node);
        trv_NodeClick(node);
        SetDirty(true);
    });
}

void frmMain::pTableDel()
{
    fgTrap(kModule, QStringLiteral("pTableDel"), [&] {
        QTreeWidgetItem *node = trv->currentItem();
        const QString key = nodeKey(node);
        if (!node || !key.startsWith(QLatin1String("T_")))
            return;
        mcnnProject.execute(QStringLiteral("DELETE FROM tTable WHERE IdTable = ") + QString::number(keyNumber(key)));
        pUnloadNodeWindows(key);

        QTreeWidgetItem *parent = node->parent();
        const int index = parent->indexOfChild(node);
        QTreeWidgetItem *next = nullptr;
        if (index > 0)
            next = parent->child(index - 1);
        else if (index + 1 < parent->childCount())
            next = parent->child(index + 1);
        else
            next = parent;
        delete node;
        trv->setCurrentItem(next);
        trv_NodeClick(next);
        pSetConvertButtons();
        SetDirty(true);
    });
}

void frmMain::pUnloadNodeWindows(const QString &pstrKey)
{
    if (QWidget *dialog = mcolDialogs.value(pstrKey).data())
        delete dialog;
    mcolDialogs.remove(pstrKey);
    if (QWidget *child = mcolChildren.value(pstrKey).data())
        delete child;
    mcolChildren.remove(pstrKey);
}

void frmMain::pFieldAdd()
{
    fgTrap(kModule, QStringLiteral("pFieldAdd"), [&] {
        if (mlngIdConn == 0 || mlngIdTable == 0)
            return;
        const QString key = QStringLiteral("T_") + QString::number(mlngIdTable);
        auto *dialog = keptAddDialog<frmFieldAdd>(mcolDialogs, key, this, fConnOffline(), [&](frmFieldAdd &d) {
            d.IdConn = mlngIdConn;
            d.IdTable = mlngIdTable;
        });
        ui::showModal(*dialog);
        if (!dialog->Ok)
            return;
        if (auto *window = qobject_cast<frmTable *>(mcolChildren.value(key).data())) {
            window->AddField(dialog->IdFieldList);
            pTableNodeText(key, *window);
        }
        SetDirty(true);
    });
}

void frmMain::pFieldDel()
{
    fgTrap(kModule, QStringLiteral("pFieldDel"), [&] {
        if (mlngIdConn == 0)
            return;
        const QString key = QStringLiteral("T_") + QString::number(mlngIdTable);
        auto *window = qobject_cast<frmTable *>(mcolChildren.value(key).data());
        if (!window)
            return;
        if (window->DelField()) {
            pTableNodeText(key, *window);
            SetDirty(true);
        }
    });
}

void frmMain::pTableNodeText(const QString &pstrKey, const frmTable &window)
{
    findNodeOrThrow(pstrKey)->setText(0, window.GetTableName() + QStringLiteral(" (")
                                             + QString::number(window.GetFieldCount()) + QStringLiteral(")"));
}

void frmMain::refreshFieldStates()
{
    for (const QPointer<QWidget> &child : mcolChildren.items())
        if (auto *window = qobject_cast<frmTable *>(child.data()))
            window->RefreshFields();
    pUpdateFieldButtons();
}
