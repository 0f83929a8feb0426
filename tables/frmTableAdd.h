#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// Adds one table of a data source to the project. The tables are listed by
// the data source's type: the database's own list of user tables (Access,
// SQL Server, Oracle), the files of a folder (FoxPro free tables, dBase), or
// typed by hand (Visual FoxPro projects, sources reached by a typed string,
// and whenever the list cannot be read). The main window keeps one dialog
// per data source; the list survives between showings.
class frmTableAdd : public QDialog {
    Q_OBJECT
public:
    explicit frmTableAdd(QWidget *parent = nullptr);

    // Set by the caller: the data source, once; Offline and Ok before each showing.
    qint32 IdConn = 0;
    bool Offline = false;
    // Out: true when a table was added, with its row.
    bool Ok = false;
    QString TableName;
    QString Owner;
    qint32 IdTable = 0;

    // Lists the tables (unless listed already or offline), then arranges the
    // controls for list or manual entry.
    void Load();

    // The separator of owner and table name in an item's tag.
    static QString tagSeparator() { return QStringLiteral("|~|"); }

    QTreeWidget *list() const { return lsv; }
    QCheckBox *extendBox() const { return chkExtend; }
    QLineEdit *nameBox() const { return txtTableName; }
    QPushButton *okButton() const { return cmdOk; }
    QPushButton *refreshButton() const { return cmdRefresh; }

public slots:
    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdRefresh_Click();
    void chkExtend_Click();

private:
    void pLoadTableList();
    void pArrange();
    // Adds a list item: name column, owner column, tag; `key` "" for none.
    void pAddItem(const QString &key, const QString &text, const QString &owner, const QString &tag);

    QTreeWidget *lsv;
    QLabel *lblList;
    QCheckBox *chkExtend;
    QPushButton *cmdRefresh;
    QLineEdit *txtTableName;
    QLabel *lblTableName;
    QFrame *Frame1;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    bool mbLoaded = false;
    bool mbExtendShown = false;
};
