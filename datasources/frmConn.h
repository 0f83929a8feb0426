#pragma once

#include "util/widgets/ChildWindow.h"

#include <QString>

class ctlConnDetails;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The window of one data source, a child of the main window: its type, its
// description, the offline flag, the status of the last connection test and
// the connection values. Every completed edit is written to the project at
// once and the connection is tested again; a data source that fails the test
// is switched to offline. Closing it with its close box only hides it; it is
// destroyed when its data source is removed or the project closes, and then
// tells the main window (UnloadChild).
class frmConn : public ChildWindow {
    Q_OBJECT
public:
    explicit frmConn(QWidget *parent = nullptr);
    ~frmConn() override;

    // Set by the main window before Load.
    qint32 IdConn = 0;
    QString Key;

    // Fills the window from the data source's row, then tests it.
    void Load();

    QString description() const;
    // The text of the status box.
    QString status() const;

    QLabel *lblType = nullptr;
    QLineEdit *txtType = nullptr;
    QLineEdit *txtDescription = nullptr;
    QCheckBox *chkOffline = nullptr;
    QPlainTextEdit *txtError = nullptr;
    ctlConnDetails *ctlDetails = nullptr;
    QPushButton *cmdDiscover = nullptr;

signals:
    // "Cauta sume...": the main window opens the discovery of this source.
    void discoverRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pCheckConn();
    // A failed test: ticks "Deconectat", stores it and shows it in the tree.
    void pSetOffline();
    void pSave();
    void chkOffline_Click();
    void ctlDetails_AfterChange();
    void txtDescription_Change();
    void txtDescription_Validate();
    void pSetStatus(const QString &text);

    qint32 mlngIdConnType = 0;
    bool mbBusy = false;
    bool mbDescriptionChanged = false;
};
