#pragma once

#include "conversion/ReportLog.h"
#include "conversion/ReportPrint.h"
#include "conversion/RunHistory.h"
#include "data/Changeover.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
class ReportView;

namespace db {
class Connection;
}

// The conversion runs recorded in the project, oldest first; the run chosen
// in the list is shown below as its report window showed it, and its report
// can be saved as text or PDF, or printed.
class frmHistory : public QDialog {
    Q_OBJECT
public:
    explicit frmHistory(QWidget *parentWindow = nullptr);

    // Reads the runs of the open project whose file is `projectFile` ("" for
    // a project never saved) and selects the last one.
    void Load(db::Connection &project, const QString &projectFile);

    QTreeWidget *runList() const { return lsvRuns; }
    ReportView *report() const { return mView; }
    // The report of the selected run.
    const conversion::ReportLog &log() const { return mLog; }

public slots:
    void cmdSave_Click();
    void cmdSavePdf_Click();
    void cmdPrint_Click();
    void cmdCancel_Click();

protected:
    void done(int result) override;

private:
    void showRun(int index);
    conversion::PrintedRun printedRun() const;

    QList<history::RunEntry> mRuns;
    int mShown = -1;
    Changeover mChangeover;
    QString mProjectFile;
    conversion::ReportLog mLog;
    QTreeWidget *lsvRuns;
    ReportView *mView;
    QLabel *lblEmpty;
    QPushButton *cmdSave;
    QPushButton *cmdSavePdf;
    QPushButton *cmdPrint;
    QPushButton *cmdCancel;
    bool mSettingsSaved = false;
};
