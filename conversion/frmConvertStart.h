#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QList>

#include <exception>
#include <memory>
#include <optional>
#include <thread>

namespace db {
class StopSignal;
}

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTimer;
class QTreeWidgetItem;

// The confirmation before a conversion: lists every field the run would
// convert in the chosen direction (refreshing each probed field's state in
// the project) and lets the user go on or give up. The list fills while the
// window is on screen (the probes run on a thread of their own, which uses
// the project meanwhile); Ok waits for the whole list, and Renunta, Escape
// or the close box stop the probe in flight. Its property "busy" is true
// while the list fills.
class frmConvertStart : public QDialog {
    Q_OBJECT
public:
    explicit frmConvertStart(QWidget *parentWindow = nullptr);
    ~frmConvertStart() override;

    // Set before the dialog loads: true for old lei to new lei.
    bool ToLeiNoi = true;
    // True once the user pressed "Ok".
    bool Ok = false;
    // Whether the run reads control totals (the check box, on by default).
    bool Totals = true;

    // Direction, placement, then pLoad. Runs once, when the dialog is polished
    // for its modal show (or when a caller runs it first).
    void Load();
    // Starts filling the list.
    void pLoad();
    // True while the list fills.
    bool listing() const;
    // Stops the probe in flight; the list ends with what was found.
    void stopListing();

    QLineEdit *titleBox() const { return txtTitle; }
    QTreeWidget *list() const { return lsv; }
    QLineEdit *totalBox() const { return txtTotal; }
    QPushButton *okButton() const { return cmdOk; }
    QPushButton *cancelButton() const { return cmdCancel; }
    QCheckBox *totalsBox() const { return chkTotals; }

signals:
    // The list is complete (or stopped, or ended by an error).
    void listFinished();

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
    QLabel *lblWait; // what the list waits for, once it waits more than a moment
    bool mLoaded = false;
    bool mSettingsSaved = false;

    void scheduleFlush();
    void showWait();
    void flushPending();
    void listingEnded(std::exception_ptr failure);
    std::thread mLister;
    std::shared_ptr<db::StopSignal> mStop;
    QList<QTreeWidgetItem *> mPending; // found, not yet in the list
    int mProbed = 0;
    bool mFlushPending = false;
    bool mStopping = false;
    QString mWaitingFor;
    QElapsedTimer mWaitingSince;
    QTimer *mWaitTicker = nullptr;
    std::optional<int> mClosing; // the result of a close asked while the list filled
};
