#pragma once

#include <QDialog>
#include <QMap>
#include <QString>

namespace db {
class Connection;
}

class ctlConnDetails;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// The two-page dialog that adds a data source to the project: a description,
// the type and the offline choice first, then the connection values of that
// type. "Ok" checks them, inserts the tConn row and hands its key back; the
// data source is not connected to here.
class frmConnAdd : public QDialog {
    Q_OBJECT
public:
    explicit frmConnAdd(QWidget *parent = nullptr);
    ~frmConnAdd() override;

    // Set by the caller before showing.
    db::Connection *Conn = nullptr;
    // Read by the caller after the dialog closes.
    bool Ok = false;
    qint32 IdConn = 0;
    QString Description;
    bool Offline = false;
    qint32 IdConnType = -1;

    int page() const { return mintPage; }
    // The option of a type, nullptr when the type has none.
    QRadioButton *optConnType(int index) const { return mopt.value(index); }
    QList<int> optionIndexes() const { return mopt.keys(); }

    QWidget *fr0 = nullptr;
    QWidget *fr1 = nullptr;
    QLineEdit *txtDescription = nullptr;
    QCheckBox *chkOffline = nullptr;
    ctlConnDetails *ctlDetails = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;

    void cmdBack_Click();
    void cmdNext_Click();
    void cmdOk_Click();

protected:
    bool event(QEvent *event) override;

private:
    void Form_Load();
    void pShowPage(int page);
    void pSetButtons();
    QRadioButton *createOption(int index);
    // Steps 1 and 2 of the checks: a description and a type.
    bool fCheckPage0();
    // The checks of the chosen type's values; shows the first problem.
    bool fCheckDetails();
    void pSelectType(int index);

    int mintPage = 0;
    bool mbLoaded = false;
    QWidget *mTypes = nullptr;
    QButtonGroup *mGroup = nullptr;
    QMap<int, QRadioButton *> mopt;
};
