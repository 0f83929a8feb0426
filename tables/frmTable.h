#pragma once

#include "util/widgets/ChildWindow.h"

#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The window of one table of the project, a child of the main window: the
// table's name, its WHERE clause (saved when the box loses the focus after an
// edit) and its fields with their state, recovery column, last error and own
// clause. A double click on a field opens its clause; the main window adds
// and removes fields through it. Closing it with its close box only hides
// it; it is destroyed when its table or data source is removed or the
// project closes, and then tells the main window (UnloadChild).
class frmTable : public ChildWindow {
    Q_OBJECT
public:
    explicit frmTable(QWidget *parent = nullptr);
    ~frmTable() override;

    // Set by the main window before Load.
    qint32 IdConn = 0;
    qint32 IdTable = 0;
    QString Key;

    // Fills the window from the project.
    void Load();
    // Called by the main window each time an open table window is selected
    // again: the main window's field buttons follow the list.
    void Activate();
    // Appends the fields of `pstrIdFieldList` ("12, 13") to the list.
    void AddField(const QString &pstrIdFieldList);
    // Removes the selected field, asking about its recovery column; true when
    // a field was removed.
    bool DelField();
    // Reads the fields again (their states, their errors), keeping the
    // selected field selected.
    void RefreshFields();
    // True when a field is selected in the list.
    bool HasSelectedField() const;
    int GetFieldCount() const;
    // The table name, owner.table when the table has an owner.
    QString GetTableName() const;

    int activateCount() const { return mintActivations; }
    QTreeWidget *list() const { return lsv; }
    QLineEdit *nameBox() const { return txtTableName; }
    QPlainTextEdit *clauseBox() const { return txtSQLWhere; }
    // Opens the field dialog of the selected field (a double click).
    void lsv_DblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void pLoadFields(const QString &pstrIdFieldList);
    void pSetButtons();
    bool pSave();
    void txtSQLWhere_Validate();

    QLabel *Label1;
    QLineEdit *txtTableName;
    QLabel *Label2;
    QPlainTextEdit *txtSQLWhere;
    QTreeWidget *lsv;
    bool mbChanged = false;
    bool mbFilling = false;
    int mintActivations = 0;
};
