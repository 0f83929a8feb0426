#pragma once

#include "conversion/ConversionInterfaces.h"

#include <QElapsedTimer>
#include <QPointer>
#include <functional>
#include <memory>

class QObject;

namespace db {
class StopSignal;
}

namespace conversion {

// Runs `work` on a thread of its own, with `stop` in force for the
// statements it runs, while the calling thread's event loop goes on (the
// windows repaint, Stop can be pressed); returns once `work` has returned,
// and throws again what it threw. Meanwhile `work` must be the only one to
// use the project's connection.
void runOffThread(const std::function<void()> &work, const std::shared_ptr<db::StopSignal> &stop);

// A run's progress, told from the run's thread to `target`, which lives on
// the thread of `context` (the progress window itself), in the order the
// run told it. Cancel() is the stop signal.
class QueuedProgress : public IConversionProgress {
public:
    QueuedProgress(IConversionProgress &target, QObject *context, std::shared_ptr<db::StopSignal> stop);

    bool Cancel() const override;
    void InitProgress1(qint32 MaxProgress, const QString &Caption) override;
    void InitProgress2(qint32 MaxProgress, const QString &Caption) override;
    void InitProgress3(qint32 MaxProgress, const QString &Caption) override;
    void Progress1(qint32 Progress, const QString &Caption) override;
    void Progress2(qint32 Progress, const QString &Caption) override;
    void Progress3(qint32 Progress, const QString &Caption) override;

private:
    void post(std::function<void(IConversionProgress &)> call);

    IConversionProgress &mTarget;
    QPointer<QObject> mContext;
    std::shared_ptr<db::StopSignal> mStop;
};

// A run's report, told the same way to `target` on the thread of `context`.
// The time of each field is measured here, where the field runs.
class QueuedReport : public IConversionReport {
public:
    QueuedReport(IConversionReport &target, QObject *context);

    void ConvertStart() override;
    void AddField(const QString &pstrDataSource, const QString &pstrTableName, const QString &pstrFieldName,
                  qint32 plngRecCount, const QString &pstrError, const QString &pstrNote = QString()) override;
    void ConvertEnd(const QString &pstrEndStatus) override;
    void AddSourceSkipped(const QString &pstrDataSource, const QString &pstrReason, qint32 plngFieldCount) override;
    bool WantsTotals() const override { return mWantsTotals; }
    void AddFieldTotals(const FieldTotals &totals) override;
    void StartField(const QString &condition) override;

private:
    void post(std::function<void(IConversionReport &)> call);

    IConversionReport &mTarget;
    QPointer<QObject> mContext;
    const bool mWantsTotals;
    QElapsedTimer mFieldTimer;
};

} // namespace conversion
