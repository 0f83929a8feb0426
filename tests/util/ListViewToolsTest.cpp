// Column-click sorting and column widths of report-style lists.
#include "util/widgets/ListViewTools.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QStringList column(QTreeWidget &list, int col)
{
    QStringList values;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        values.append(list.topLevelItem(i)->text(col));
    return values;
}

void fill(QTreeWidget &list)
{
    list.setColumnCount(2);
    list.setHeaderLabels({QStringLiteral("Tabel"), QStringLiteral("Proprietar")});
    pgMakeReportList(&list);
    const QList<QStringList> rows = {{"Plati", "dbo"}, {"Angajati", "rh"}, {"Facturi", "contab"}};
    for (const QStringList &row : rows)
        new QTreeWidgetItem(&list, row);
}

} // namespace

TEST(ListViewTools, SameColumnTwiceSortsAscendingThenDescendingAndAnotherStartsAscending)
{
    QTreeWidget list;
    fill(list);
    pgLsvColumnHeaderClick(&list, 0);
    EXPECT_EQ(column(list, 0), QStringList({"Angajati", "Facturi", "Plati"}));
    EXPECT_EQ(list.property("Tag").toString(), QStringLiteral("KEY_0"));
    pgLsvColumnHeaderClick(&list, 0);
    EXPECT_EQ(column(list, 0), QStringList({"Plati", "Facturi", "Angajati"}));
    EXPECT_EQ(list.header()->sortIndicatorOrder(), Qt::DescendingOrder);
    pgLsvColumnHeaderClick(&list, 0);
    EXPECT_EQ(column(list, 0), QStringList({"Angajati", "Facturi", "Plati"}));

    pgLsvColumnHeaderClick(&list, 0);            // descending by name
    pgLsvColumnHeaderClick(&list, 1);            // another column: ascending
    EXPECT_EQ(column(list, 1), QStringList({"contab", "dbo", "rh"}));
    EXPECT_EQ(list.property("Tag").toString(), QStringLiteral("KEY_1"));

    // A column with a key of its own is remembered by that key.
    list.headerItem()->setData(0, Qt::UserRole, QStringLiteral("TableName"));
    pgLsvColumnHeaderClick(&list, 0);
    EXPECT_EQ(list.property("Tag").toString(), QStringLiteral("TableName"));
    EXPECT_EQ(column(list, 0), QStringList({"Angajati", "Facturi", "Plati"}));
}

TEST(ListViewTools, ClicksOnTheHeaderSortOnceEach)
{
    QTreeWidget list;
    fill(list);
    pgConnectColumnHeaderClick(&list);
    list.resize(400, 200);
    list.show();
    QApplication::processEvents();
    QHeaderView *header = list.header();
    const QPoint first(header->sectionViewportPosition(0) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(column(list, 0), QStringList({"Angajati", "Facturi", "Plati"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(column(list, 0), QStringList({"Plati", "Facturi", "Angajati"}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST(ListViewTools, WideListViewFitsContentsAndHeaderExceptTheSkippedColumn)
{
    QTreeWidget list;
    list.setColumnCount(3);
    list.setHeaderLabels({QStringLiteral("A"), QStringLiteral("Un titlu de coloana foarte lung"), QStringLiteral("C")});
    new QTreeWidgetItem(&list, QStringList({"x", "y", "un text foarte foarte lung in a treia coloana"}));
    pgMakeReportList(&list);
    for (int i = 0; i < 3; ++i)
        list.setColumnWidth(i, 40);
    pgWideListView(&list, 1, 2);
    EXPECT_EQ(list.columnWidth(0), 40);                                 // before the first index
    EXPECT_EQ(list.columnWidth(2), 40);                                 // skipped
    EXPECT_GE(list.columnWidth(1), list.header()->sectionSizeHint(1));  // fits its header
    pgWideListView(&list, 0);
    EXPECT_GT(list.columnWidth(2), list.fontMetrics().horizontalAdvance(QStringLiteral("un text foarte foarte")));
}
