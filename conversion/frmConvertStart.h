#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The confirmation before a conversion: lists every field the run would
// convert in the chosen direction (refreshing each probed field's state in
// the project) and lets the user go on or give up.
class frmConvertStart : public QDialog {
    Q_OBJECT
public:
    explicit frmConvertStart(QWidget *parentWindow = nullptr);

    // Set before the dialog loads: true for old lei to new lei.
    bool ToLeiNoi = true;
    // True once the user pressed "Ok".
    bool Ok = false;
    // Whether the run reads control totals (the check box, on by default).
    bool Totals = true;

    // Direction, placement, then pLoad. Runs once, when the dialog is polished
    // for its modal show (or when a caller runs it first).
    void Load();
    // Fills the list.
    void pLoad();

    QLineEdit *titleBox() const { return txtTitle; }
    QTreeWidget *list() const { return lsv; }
    QLineEdit *totalBox() const { return txtTotal; }
    QPushButton *okButton() const { return cmdOk; }
    QPushButton *cancelButton() const { return cmdCancel; }
    QCheckBox *totalsBox() const { return chkTotals; }

public slots:
    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    bool event(QEvent *event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *txtTitle;
    QTreeWidget *lsv;
    QLineEdit *txtTotal;
    QCheckBox *chkTotals;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    QLabel *imgToLeiNoi;
    QLabel *imgToLeiVechi;
    bool mLoaded = false;
    bool mSettingsSaved = false;
};
