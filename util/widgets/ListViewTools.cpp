#include "util/widgets/ListViewTools.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVariant>

namespace {

const char *const kTagProperty = "Tag";
const char *const kOrderProperty = "SortOrder";

QString columnKey(QTreeWidget *list, int column)
{
    const QString key = list->headerItem()->data(column, Qt::UserRole).toString();
    return key.isEmpty() ? QStringLiteral("KEY_") + QString::number(column) : key;
}

} // namespace

void pgMakeReportList(QTreeWidget *list)
{
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsClickable(true);
}

void pgLsvColumnHeaderClick(QTreeWidget *list, int column)
{
    if (!list || column < 0 || column >= list->columnCount())
        return;
    const QString previousKey = list->property(kTagProperty).toString();
    const QString key = columnKey(list, column);
    const bool newColumn = previousKey.isEmpty() || previousKey != key;
    const bool ascendingNow = list->property(kOrderProperty).toInt() == Qt::AscendingOrder;

    list->setProperty(kTagProperty, key);
    list->headerItem()->setTextAlignment(column, Qt::AlignLeft | Qt::AlignVCenter);

    const Qt::SortOrder order = (!newColumn && ascendingNow) ? Qt::DescendingOrder : Qt::AscendingOrder;
    list->setProperty(kOrderProperty, static_cast<int>(order));
    // The header's arrow shows the column and the direction.
    list->header()->setSortIndicatorShown(true);
    list->header()->setSortIndicator(column, order);
    list->sortItems(column, order);
}

void pgWideListView(QTreeWidget *list, int firstColumn, int skipColumn)
{
    if (!list)
        return;
    for (int i = qMax(0, firstColumn); i < list->columnCount(); ++i) {
        if (i == skipColumn)
            continue;
        list->resizeColumnToContents(i);
    }
}

void pgConnectColumnHeaderClick(QTreeWidget *list)
{
    list->header()->setSectionsClickable(true);
    QObject::connect(list->header(), &QHeaderView::sectionClicked, list,
                     [list](int column) { pgLsvColumnHeaderClick(list, column); });
}
