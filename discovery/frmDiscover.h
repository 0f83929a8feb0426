#pragma once

#include "discovery/Discovery.h"

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace db {
class StopSignal;
}

// "Cauta sume": reads every table of one data source on a thread of its own
// (the window stays responsive, the reading shows its table and can be
// stopped), lists every numeric column with its figures and the evidence
// for and against money, ticks the likely money columns, and on Ok adds the
// ticked ones (and their tables) to the project in one transaction.
class frmDiscover : public QDialog {
    Q_OBJECT
public:
    explicit frmDiscover(QWidget *parent = nullptr);
    ~frmDiscover() override;

    // The data source to read, set before the window is shown.
    qint32 IdConn = 0;
    // After Ok: what was added.
    bool Ok = false;
    discovery::Added added;

    // For tests: the list, the filter, the buttons, the status line.
    QTreeWidget *list() const { return lsv; }
    QLineEdit *filter() const { return txtFilter; }
    QPushButton *okButton() const { return cmdOk; }
    QPushButton *cancelButton() const { return cmdCancel; }
    QPushButton *stopButton() const { return cmdStop; }
    QString status() const;
    bool reading() const { return mReading; }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void pRead();
    void pFill();
    void pApplyFilter();
    void pCountTicked();
    void cmdOk_Click();

    QLabel *lblProgress;
    QProgressBar *prg;
    QPushButton *cmdStop;
    QLineEdit *txtFilter;
    QTreeWidget *lsv;
    QLabel *lblStatus;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;

    discovery::ProjectSource mSource;
    discovery::SourceFindings mFound;
    std::shared_ptr<db::StopSignal> mStop;
    bool mStarted = false;
    bool mReading = false;
    bool mClosing = false;
};
