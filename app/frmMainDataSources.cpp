// The main window's data-source commands: adding a data source through the
// wizard and deleting the selected one with its tables.
#include "app/frmMain.h"

#include "data/ErrorTrap.h"
#include "datasources/ConnStrings.h"
#include "datasources/frmConnAdd.h"
#include "data/Lookups.h"
#include "discovery/frmDiscover.h"
#include "tables/frmTable.h"
#include "util/core/Prompt.h"
#include "util/widgets/ModalDialog.h"

#include <QIcon>
#include <QMenu>
#include <QTreeWidget>

namespace {

const QString kModule = QStringLiteral("frmMain");

QIcon sourcePicture(qint32 idConnType)
{
    return QIcon(QStringLiteral(":/pictures/DS_") + QString::number(idConnType) + QStringLiteral(".svg"));
}

} // namespace

void frmMain::pConnAdd()
{
    fgTrap(kModule, QStringLiteral("pConnAdd"), [&] {
        frmConnAdd wizard(this);
        wizard.Conn = &mcnnProject;
        ui::showModal(wizard);
        if (!wizard.Ok)
            return;
        const QString key = QStringLiteral("C_") + QString::number(wizard.IdConn);
        auto *node = new QTreeWidgetItem(trv);
        node->setText(0, fgGetConnText(wizard.Description, wizard.Offline));
        node->setData(0, Qt::UserRole, key);
        node->setIcon(0, sourcePicture(wizard.IdConnType));
        selectNode(key);
        SetDirty(true);
        pSetConvertButtons();
    });
}

void frmMain::pConnDel()
{
    fgTrap(kModule, QStringLiteral("pConnDel"), [&] {
        // Only a data source node is ever deleted here, whatever the
        // button's state says.
        QTreeWidgetItem *node = trv->currentItem();
        const QString key = nodeKey(node);
        if (!node || !key.startsWith(QLatin1String("C_")))
            return;
        const int tables = node->childCount();
        if (tables > 0) {
            const QString question =
                tr("Sursa de date selectata contine %n tabele.\nDaca sursa de date va fi stearsa, tabelele impreuna "
                   "cu campurile lor vor fi deasemenea sterse.\n\nSunteti sigur ca doriti sa stergeti sursa de date?",
                   nullptr, tables);
            if (ui::msgBox(question, ui::Buttons::YesNo, ui::Icon::Question, QString(), 1) != ui::Answer::Yes)
                return;
        }
        mcnnProject.execute(QStringLiteral("DELETE FROM tConn WHERE IdConn = ")
                            + QString::number(static_cast<qint32>(key.mid(2).toLong())));

        // The windows of the data source, then those of each of its tables.
        QStringList keys{key};
        for (int i = 0; i < node->childCount(); ++i)
            keys.append(nodeKey(node->child(i)));
        for (const QString &windowKey : keys) {
            if (fgIsObjInCol(mcolDialogs, windowKey)) {
                delete mcolDialogs.value(windowKey).data();
                mcolDialogs.remove(windowKey);
            }
            if (fgIsObjInCol(mcolChildren, windowKey)) {
                delete mcolChildren.value(windowKey).data();
                mcolChildren.remove(windowKey);
            }
        }

        // The next selection: the previous data source, else the next one.
        const int index = trv->indexOfTopLevelItem(node);
        QTreeWidgetItem *next = nullptr;
        if (index > 0)
            next = trv->topLevelItem(index - 1);
        else if (index + 1 < trv->topLevelItemCount())
            next = trv->topLevelItem(index + 1);

        delete node;
        trv->setCurrentItem(next);
        if (next)
            trv->scrollToItem(next);
        trv_NodeClick(next);
        pSetConvertButtons();
        SetDirty(true);
    });
}

void frmMain::pDiscover()
{
    fgTrap(kModule, QStringLiteral("pDiscover"), [&] {
        if (mlngIdConn == 0)
            return;
        const qint32 idConn = mlngIdConn;
        frmDiscover window(this);
        window.IdConn = idConn;
        ui::showModal(window);
        if (!window.Ok || window.added.fields == 0)
            return;
        const QString sourceKey = QStringLiteral("C_") + QString::number(idConn);
        QTreeWidgetItem *source = findNodeOrThrow(sourceKey);
        // The kept add dialogs of the source list what is not yet in the project.
        QStringList stale{sourceKey};
        for (qint32 id : window.added.tableIds)
            stale.append(QStringLiteral("T_") + QString::number(id));
        for (const QString &key : stale) {
            if (QWidget *dialog = mcolDialogs.value(key).data())
                delete dialog;
            mcolDialogs.remove(key);
        }
        for (qint32 idTable : window.added.tableIds) {
            const QString key = QStringLiteral("T_") + QString::number(idTable);
            const QString where = QStringLiteral("IdTable = ") + QString::number(idTable);
            const QString name = fgLookup(mcnnProject, QStringLiteral("tTable"), QStringLiteral("TableName"), where).toString();
            const qint64 count = fgLookup(mcnnProject, QStringLiteral("tField"), QStringLiteral("Count(*)"), where).toInt();
            QTreeWidgetItem *node = findNode(key);
            if (!node) {
                node = new QTreeWidgetItem(source);
                node->setData(0, Qt::UserRole, key);
                node->setIcon(0, QIcon(QStringLiteral(":/pictures/table.svg")));
            }
            node->setText(0, name + QStringLiteral(" (") + QString::number(count) + QLatin1Char(')'));
            if (auto *table = qobject_cast<frmTable *>(mcolChildren.value(key).data()))
                table->AddField(window.added.fieldIds.value(idTable).join(QStringLiteral(", ")));
        }
        source->sortChildren(0, Qt::AscendingOrder);
        source->setExpanded(true);
        SetDirty(true);
        pSetConvertButtons();
    });
}

void frmMain::pSetupSourceMenu()
{
    trv->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(trv, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QTreeWidgetItem *item = trv->itemAt(at);
        if (!item || !nodeKey(item).startsWith(QLatin1String("C_")))
            return;
        trv->setCurrentItem(item);
        trv_NodeClick(item);
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("mnuSource"));
        menu.addAction(mnuDiscover);
        menu.exec(trv->viewport()->mapToGlobal(at));
    });
}
