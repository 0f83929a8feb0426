#include "conversion/OffThread.h"

#include "data/db/StopSignal.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QObject>

#include <atomic>
#include <exception>
#include <thread>

namespace conversion {

namespace {

// Queues `call` on `target` for the thread of `context`; nothing once the
// context has gone.
template <class Target>
void postTo(QObject *context, Target &target, std::function<void(Target &)> call)
{
    if (context)
        QMetaObject::invokeMethod(context, [&target, call = std::move(call)] { call(target); }, Qt::QueuedConnection);
}

} // namespace

void runOffThread(const std::function<void()> &work, const std::shared_ptr<db::StopSignal> &stop)
{
    QEventLoop loop;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        {
            const db::StopScope scope(stop);
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        }
        finished = true;
        // Posted after everything the work posted: the calls it queued for
        // the windows are delivered before the loop ends.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    if (!finished)
        loop.exec();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

QueuedProgress::QueuedProgress(IConversionProgress &target, QObject *context, std::shared_ptr<db::StopSignal> stop)
    : mTarget(target), mContext(context), mStop(std::move(stop))
{
}

bool QueuedProgress::Cancel() const { return mStop && mStop->stopped(); }

void QueuedProgress::post(std::function<void(IConversionProgress &)> call)
{
    postTo(mContext.data(), mTarget, std::move(call));
}

void QueuedProgress::InitProgress1(qint32 max, const QString &caption)
{
    post([=](IConversionProgress &p) { p.InitProgress1(max, caption); });
}
void QueuedProgress::InitProgress2(qint32 max, const QString &caption)
{
    post([=](IConversionProgress &p) { p.InitProgress2(max, caption); });
}
void QueuedProgress::InitProgress3(qint32 max, const QString &caption)
{
    post([=](IConversionProgress &p) { p.InitProgress3(max, caption); });
}
void QueuedProgress::Progress1(qint32 value, const QString &caption)
{
    post([=](IConversionProgress &p) { p.Progress1(value, caption); });
}
void QueuedProgress::Progress2(qint32 value, const QString &caption)
{
    post([=](IConversionProgress &p) { p.Progress2(value, caption); });
}
void QueuedProgress::Progress3(qint32 value, const QString &caption)
{
    post([=](IConversionProgress &p) { p.Progress3(value, caption); });
}

QueuedReport::QueuedReport(IConversionReport &target, QObject *context)
    : mTarget(target), mContext(context), mWantsTotals(target.WantsTotals())
{
}

void QueuedReport::post(std::function<void(IConversionReport &)> call)
{
    postTo(mContext.data(), mTarget, std::move(call));
}

void QueuedReport::ConvertStart()
{
    post([](IConversionReport &r) { r.ConvertStart(); });
}

void QueuedReport::AddField(const QString &dataSource, const QString &tableName, const QString &fieldName,
                            qint32 recCount, const QString &error, const QString &note)
{
    const qint64 ms = mFieldTimer.isValid() ? mFieldTimer.elapsed() : -1;
    mFieldTimer.invalidate();
    post([=](IConversionReport &r) {
        r.AddField(dataSource, tableName, fieldName, recCount, error, note);
        r.SetLastFieldTime(ms);
    });
}

void QueuedReport::ConvertEnd(const QString &endStatus)
{
    post([=](IConversionReport &r) { r.ConvertEnd(endStatus); });
}

void QueuedReport::AddSourceSkipped(const QString &dataSource, const QString &reason, qint32 fieldCount)
{
    post([=](IConversionReport &r) { r.AddSourceSkipped(dataSource, reason, fieldCount); });
}

void QueuedReport::AddFieldTotals(const FieldTotals &totals)
{
    post([=](IConversionReport &r) { r.AddFieldTotals(totals); });
}

void QueuedReport::StartField(const QString &condition)
{
    mFieldTimer.start();
    post([condition](IConversionReport &r) { r.StartField(condition); });
}

} // namespace conversion
