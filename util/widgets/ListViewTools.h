#pragma once

class QTreeWidget;

// List views are QTreeWidgets in report style: one row per item, no tree
// decoration, the columns in the header.

// Sets a QTreeWidget up as a report-style list.
void pgMakeReportList(QTreeWidget *list);
// Sorts the list by the clicked column: ascending on the first click of a
// column, toggling on repeated clicks of the same column. The current sort
// column's key is kept in the list's "Tag" property: the column's key
// (header data Qt::UserRole) or "KEY_" + its index.
void pgLsvColumnHeaderClick(QTreeWidget *list, int column);
// Sizes every column from `firstColumn` to the last to fit its contents and
// its header, except the column `skipColumn` (-1 skips none).
void pgWideListView(QTreeWidget *list, int firstColumn, int skipColumn = -1);
// Makes header clicks sort the list through pgLsvColumnHeaderClick.
void pgConnectColumnHeaderClick(QTreeWidget *list);
