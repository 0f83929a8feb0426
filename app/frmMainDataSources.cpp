// The main window's data-source commands: adding a data source through the
// wizard and deleting the selected one with its tables.
#include "app/frmMain.h"

#include "data/ErrorTrap.h"
#include "datasources/ConnStrings.h"
#include "datasources/frmConnAdd.h"
#include "util/core/Prompt.h"
#include "util/widgets/ModalDialog.h"

#include <QIcon>
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
                QStringLiteral("Sursa de date selectata contine ") + QString::number(tables)
                + QStringLiteral(" tabele.\nDaca sursa de date va fi stearsa, tabelele impreuna cu campurile lor "
                                 "vor fi deasemenea sterse.\n\nSunteti sigur ca doriti sa stergeti sursa de date?");
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
