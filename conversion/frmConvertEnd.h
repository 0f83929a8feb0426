#pragma once

#include "conversion/ConversionInterfaces.h"
#include "conversion/ReportLog.h"
#include "conversion/ReportPrint.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class ReportView;

// The report of one conversion run: start and end times, the end status,
// the totals and one row per field whose conversion was attempted. It can be
// saved as a text file or a PDF, or printed. Made hidden when the run starts and shown modally
// when it ends; never reused.
class frmConvertEnd : public QDialog, public IConversionReport {
    Q_OBJECT
public:
    explicit frmConvertEnd(QWidget *parentWindow = nullptr);

    // The direction of the run; read when the window loads.
    bool ToLeiNoi = true;
    // Chooses caption and icon by direction and places the window.
    void Load();

    void ConvertStart() override;
    void AddField(const QString &pstrDataSource, const QString &pstrTableName, const QString &pstrFieldName,
                  qint32 plngRecCount, const QString &pstrError, const QString &pstrNote = QString()) override;
    void ConvertEnd(const QString &pstrEndStatus) override;
    void StartField(const QString &condition) override { mLog.StartField(condition); }
    void SetLastFieldTime(qint64 ms) override { mLog.SetLastFieldTime(ms); }
    void AddSourceSkipped(const QString &pstrDataSource, const QString &pstrReason, qint32 plngFieldCount) override;
    bool WantsTotals() const override { return mLog.WantsTotals(); }
    void AddFieldTotals(const conversion::FieldTotals &totals) override;
    // Whether the run reads control totals (the confirmation's check box).
    void setWantsTotals(bool wanted) { mLog.setWantsTotals(wanted); }
    // The project's changeover: the currencies the caption and the totals name.
    void setChangeover(const Changeover &changeover) { mLog.setChangeover(changeover); }
    const Changeover &changeover() const { return mLog.changeover(); }

    // The project's file and the run's options, named by the printed report.
    void setPrintedRun(const QString &projectFile, const QString &options);

    const conversion::ReportLog &log() const { return mLog; }
    QPlainTextEdit *titleBox() const;
    QPlainTextEdit *totalBox() const;
    QTreeWidget *list() const;
    QTreeWidget *totalsList() const;
    QTabWidget *tabs() const;

public slots:
    void cmdSave_Click();
    void cmdSavePdf_Click();
    void cmdPrint_Click();
    void cmdCancel_Click();

protected:
    void done(int result) override;

private:
    conversion::PrintedRun printedRun() const;

    conversion::ReportLog mLog;
    QString mProjectFile, mOptions;
    ReportView *mView;
    QPushButton *cmdSave;
    QPushButton *cmdSavePdf;
    QPushButton *cmdPrint;
    QPushButton *cmdCancel;
    QLabel *imgToLeiNoi;
    QLabel *imgToLeiVechi;
    bool mSettingsSaved = false;
};
