#pragma once

#include "conversion/ConversionInterfaces.h"
#include <QElapsedTimer>
#include "conversion/ReportLog.h"
#include "conversion/RunHistory.h"
#include "data/Changeover.h"

// A run's report that also writes each attempted field, with its totals and
// its time, to the history journal as soon as the field is done; every call
// goes on to the report it wraps.
namespace history {

class HistoryReport : public IConversionReport {
public:
    HistoryReport(IConversionReport &report, Journal &journal, QString runKey, bool toLeiNoi);

    void ConvertStart() override { mReport.ConvertStart(); }
    void AddField(const QString &pstrDataSource, const QString &pstrTableName, const QString &pstrFieldName,
                  qint32 plngRecCount, const QString &pstrError, const QString &pstrNote = QString()) override;
    void ConvertEnd(const QString &pstrEndStatus) override;
    void AddSourceSkipped(const QString &pstrDataSource, const QString &pstrReason, qint32 plngFieldCount) override;
    bool WantsTotals() const override { return mReport.WantsTotals(); }
    void AddFieldTotals(const conversion::FieldTotals &totals) override;
    void StartField(const QString &condition) override;
    void SetLastFieldTime(qint64 ms) override;
    // Writes the last field, when it is still waiting for its totals.
    void flush();

private:

    IConversionReport &mReport;
    Journal &mJournal;
    QString mRunKey;
    bool mToLeiNoi;
    bool mPending = false;
    FieldEntry mField;
    QString mCondition;
    QElapsedTimer mTimer;
};

// Fills `log` with a recorded run as its report showed it: the times, the end
// status, the fields with their notes, errors, times and totals. The currency
// names are the project's changeover's while its codes are the run's.
void reportOf(const RunEntry &run, const Changeover &projectChangeover, conversion::ReportLog &log);
// The changeover a recorded run went by.
Changeover changeoverOf(const RunEntry &run, const Changeover &projectChangeover);

// The record of a run that begins now on this computer, by this user.
RunEntry newRun(bool toLeiNoi, const Changeover &changeover, const QString &options);

// The options of a command-line run as the history records them.
QString optionsText(bool noTotals, int jobs, bool reconnect, qint64 lockTimeoutMs);
// This program's version.
QString programVersion();

} // namespace history
