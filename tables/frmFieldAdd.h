#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace db {
class Recordset;
}

// Chooses the columns of one table whose amounts are converted: lists the
// table's columns as the user's database reports them (leaving out recovery
// columns), checks each chosen column's type and stores one field per
// accepted column. Offline, or when the columns cannot be read, one name is
// typed by hand. The main window keeps one dialog per table.
class frmFieldAdd : public QDialog {
    Q_OBJECT
public:
    explicit frmFieldAdd(QWidget *parent = nullptr);

    // Set by the caller: the table, once; Offline and Ok before each showing.
    qint32 IdConn = 0;
    qint32 IdTable = 0;
    bool Offline = false;
    // Out: true when at least one field was added in this showing, and
    // their keys, "12, 13", in the order they were added.
    bool Ok = false;
    QString IdFieldList;

    // Empties IdFieldList, lists the columns (unless listed already or
    // offline), then arranges the controls for list or manual entry.
    void Load();

    QTreeWidget *list() const { return lsv; }
    QLineEdit *nameBox() const { return txtFieldName; }
    QPushButton *okButton() const { return cmdOk; }
    QPushButton *refreshButton() const { return cmdRefresh; }
    // The rounding rule the fields added take.
    QComboBox *roundingBox() const { return cboRounding; }

public slots:
    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdRefresh_Click();

private:
    void pLoadFieldList();
    void pArrange();
    // Appends a field row to `rs` (the table's fields); returns its IdField.
    qint64 pStoreField(db::Recordset &rs, const QString &name);

    QTreeWidget *lsv;
    QLabel *lblList;
    QLineEdit *txtFieldName;
    QLabel *lblFieldName;
    QFrame *Frame1;
    QPushButton *cmdRefresh;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    QLabel *lblRounding;
    QComboBox *cboRounding;
    bool mbLoaded = false;
};
