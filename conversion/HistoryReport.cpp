#include "conversion/HistoryReport.h"

#include <QCoreApplication>
#include <QUuid>

#include <algorithm>

namespace history {

HistoryReport::HistoryReport(IConversionReport &report, Journal &journal, QString runKey, bool toLeiNoi)
    : mReport(report), mJournal(journal), mRunKey(std::move(runKey)), mToLeiNoi(toLeiNoi)
{
}

void HistoryReport::flush()
{
    if (!mPending)
        return;
    mPending = false;
    mJournal.field(mRunKey, mField);
}

void HistoryReport::StartField(const QString &condition)
{
    flush();
    mTimer.start();
    mCondition = condition;
    mReport.StartField(condition);
}

void HistoryReport::AddField(const QString &dataSource, const QString &tableName, const QString &fieldName,
                             qint32 recCount, const QString &error, const QString &note)
{
    flush();
    mField = FieldEntry();
    mField.dataSource = dataSource;
    mField.table = tableName;
    mField.field = fieldName;
    mField.condition = mCondition;
    mField.records = recCount;
    mField.error = error;
    mField.note = note;
    // A field is attempted only when it is not in the wanted currency; it
    // is in it afterwards unless it failed.
    const QString before = mToLeiNoi ? QStringLiteral("vechi") : QStringLiteral("noi");
    mField.stateBefore = before;
    mField.stateAfter = error.isEmpty() ? (mToLeiNoi ? QStringLiteral("noi") : QStringLiteral("vechi")) : before;
    mField.durationMs = mTimer.isValid() ? mTimer.elapsed() : -1;
    mTimer.invalidate();
    mPending = true;
    mReport.AddField(dataSource, tableName, fieldName, recCount, error, note);
}

void HistoryReport::AddFieldTotals(const conversion::FieldTotals &totals)
{
    if (mPending) {
        mField.hasTotals = true;
        mField.totals = totals;
        flush();
    }
    mReport.AddFieldTotals(totals);
}

void HistoryReport::SetLastFieldTime(qint64 ms)
{
    if (mPending)
        mField.durationMs = ms;
    mReport.SetLastFieldTime(ms);
}

void HistoryReport::AddSourceSkipped(const QString &dataSource, const QString &reason, qint32 fieldCount)
{
    flush();
    mReport.AddSourceSkipped(dataSource, reason, fieldCount);
}

void HistoryReport::ConvertEnd(const QString &endStatus)
{
    flush();
    mReport.ConvertEnd(endStatus);
}

Changeover changeoverOf(const RunEntry &run, const Changeover &projectChangeover)
{
    Changeover changeover = projectChangeover;
    if (run.oldCode.isEmpty())
        return changeover;
    // A project whose changeover changed since: the run's own codes, named
    // by them.
    if (run.oldCode != changeover.oldCode || run.newCode != changeover.newCode) {
        changeover.oldName = run.oldCode;
        changeover.newName = run.newCode;
        changeover.description.clear();
    }
    changeover.oldCode = run.oldCode;
    changeover.newCode = run.newCode;
    if (!run.rate.isEmpty())
        changeover.rate = run.rate;
    return changeover;
}

void reportOf(const RunEntry &run, const Changeover &projectChangeover, conversion::ReportLog &log)
{
    log.setChangeover(changeoverOf(run, projectChangeover));
    log.setWantsTotals(std::any_of(run.fields.cbegin(), run.fields.cend(), [](const FieldEntry &f) { return f.hasTotals; }));
    log.ConvertStart();
    for (const FieldEntry &f : run.fields) {
        log.StartField(f.condition);
        log.AddField(f.dataSource, f.table, f.field, f.records, f.error, f.note);
        log.SetLastFieldTime(f.durationMs);
        if (f.hasTotals)
            log.AddFieldTotals(f.totals);
    }
    QString status;
    if (run.status == kStopped)
        status = convertStoppedStatus();
    else if (run.status == kInterrupted)
        status = QCoreApplication::translate("HistoryReport",
                                             "Conversie intrerupta: programul s-a oprit inainte de sfarsitul ei");
    log.ConvertEnd(status);
    log.setTimes(run.started, run.ended);
}

QString optionsText(bool noTotals, int jobs, bool reconnect, qint64 lockTimeoutMs)
{
    QStringList options;
    if (noTotals)
        options.append(QStringLiteral("--no-totals"));
    if (jobs != 1)
        options.append(QStringLiteral("--jobs %1").arg(jobs));
    if (reconnect)
        options.append(QStringLiteral("--reconnect"));
    if (lockTimeoutMs >= 0)
        options.append(QStringLiteral("--lock-timeout %1").arg(QString::number(lockTimeoutMs / 1000.0)));
    return options.join(QLatin1Char(' '));
}

RunEntry newRun(bool toLeiNoi, const Changeover &changeover, const QString &options)
{
    RunEntry entry;
    entry.key = QUuid::createUuid().toString(QUuid::WithoutBraces);
    entry.started = QDateTime::currentDateTime();
    entry.user = currentUser();
    entry.computer = currentComputer();
    entry.version = programVersion();
    entry.toLeiNoi = toLeiNoi;
    entry.oldCode = changeover.oldCode;
    entry.newCode = changeover.newCode;
    entry.rate = changeover.rate;
    entry.options = options;
    return entry;
}

QString programVersion() { return QStringLiteral(VAMOR_VERSION); }

} // namespace history
