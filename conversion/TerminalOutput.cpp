#include "conversion/TerminalOutput.h"

#include "data/db/DbError.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <pthread.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace terminal {

void out(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void err(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

QString describe(const std::exception &e)
{
    if (const auto *dbError = dynamic_cast<const db::DbError *>(&e))
        return QString::number(dbError->number()) + QStringLiteral(": ") + dbError->description();
    return QString::fromUtf8(e.what());
}

QString formatElapsed(qint64 milliseconds)
{
    const qint64 seconds = std::max<qint64>(0, milliseconds) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

TerminalProgress::TerminalProgress(const volatile std::sig_atomic_t *stop)
    : TerminalProgress(stop, Options())
{
}

TerminalProgress::TerminalProgress(const volatile std::sig_atomic_t *stop, Options options)
    : mStop(stop), mOptions(std::move(options)),
      mTty(mOptions.tty < 0 ? ::isatty(STDERR_FILENO) == 1 : mOptions.tty == 1)
{
    mRun.start();
    // The timer thread never takes a signal: Ctrl+C is handled where the
    // run is, as before.
    sigset_t blocked;
    sigset_t previous;
    sigfillset(&blocked);
    pthread_sigmask(SIG_SETMASK, &blocked, &previous);
    mTicker = std::thread([this] { tickLoop(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

TerminalProgress::~TerminalProgress()
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mQuit = true;
    }
    mWake.notify_all();
    mTicker.join();
    std::lock_guard<std::mutex> lock(mMutex);
    if (mTty && mDrawn) {
        // The last state, with every field begun counted as done.
        mLastFieldStartMs = -1;
        drawLocked();
        writeLocked(QStringLiteral("\n"));
    }
}

void TerminalProgress::setTotalFields(qint32 total)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mTotal = std::max(0, total);
}

bool TerminalProgress::Cancel() const
{
    if (!*mStop)
        return false;
    std::lock_guard<std::mutex> lock(mMutex);
    if (!mStopNoticed) {
        mStopNoticed = true;
        writeLocked((mTty && mDrawn ? QStringLiteral("\n") : QString())
                    + QCoreApplication::translate("TerminalOutput",
                                                  "Oprire ceruta: conversia se opreste dupa campul curent.")
                    + QLatin1Char('\n'));
    }
    return true;
}

void TerminalProgress::Progress3(qint32 progress, const QString &caption)
{
    step(2, progress, caption);
    std::lock_guard<std::mutex> lock(mMutex);
    ++mStarted;
    mLastFieldStartMs = mRun.elapsed();
    mNextNoticeMs = mOptions.plainNoticeMs;
    if (mTty)
        drawLocked();
    else
        writeLocked(statusLineLocked(false, 0) + QLatin1Char('\n'));
}

QString TerminalProgress::statusLine() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return statusLineLocked(true, 0);
}

void TerminalProgress::init(int level, qint32 max, const QString &caption)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mLevels[level] = {max, 0, caption};
    for (int deeper = level + 1; deeper < 3; ++deeper)
        mLevels[deeper].caption.clear();
    drawLocked();
}

void TerminalProgress::step(int level, qint32 progress, const QString &caption)
{
    std::lock_guard<std::mutex> lock(mMutex);
    Level &l = mLevels[level];
    l.value = progress == 0 ? l.value + 1 : progress;
    if (!caption.isEmpty())
        l.caption = caption;
    if (level < 2) {
        for (int deeper = level + 1; deeper < 3; ++deeper)
            mLevels[deeper].caption.clear();
        // Between fields: the last one begun is done.
        mLastFieldStartMs = -1;
        drawLocked();
    }
}

// "campuri 3/12 | scurs 00:01:05 | ramas ~00:03:10 | Sursa de Date 1/2 (Firma)
// | Tabel 1/4 (Facturi) | Camp 2/3 (Suma) 00:00:41"
QString TerminalProgress::statusLineLocked(bool fieldTime, int width) const
{
    const qint64 now = mRun.elapsed();
    const bool inField = mLastFieldStartMs >= 0;
    const qint32 done = inField ? mStarted - 1 : mStarted;
    QStringList parts;
    parts.append(mTotal > 0
                     //: Fields done of all in the progress line.
                     ? QCoreApplication::translate("TerminalOutput", "campuri %1/%2")
                           .arg(QString::number(done), QString::number(mTotal))
                     //: Fields done in the progress line, when their total is not known.
                     : QCoreApplication::translate("TerminalOutput", "campuri %1").arg(done));
    //: The time the run has taken so far.
    parts.append(QCoreApplication::translate("TerminalOutput", "scurs %1").arg(formatElapsed(now)));
    // An estimate needs a field finished: the average of the fields done for
    // each field still to do. A field running longer than the average makes
    // it a lower bound of the others, or no estimate when it is the last.
    if (done > 0 && mTotal > done) {
        const qint64 average = (inField ? mLastFieldStartMs : now) / done;
        const qint64 current = inField ? now - mLastFieldStartMs : 0;
        const qint32 others = mTotal - done - (inField ? 1 : 0);
        if (current <= average)
            //: An estimate of the time the run still needs.
            parts.append(QCoreApplication::translate("TerminalOutput", "ramas ~%1")
                             .arg(formatElapsed(average * (others + (inField ? 1 : 0)) - current)));
        else if (others > 0)
            //: The least time the run still needs (the current field runs longer than the others took).
            parts.append(QCoreApplication::translate("TerminalOutput", "ramas >%1").arg(formatElapsed(average * others)));
    }
    const qsizetype head = parts.size();
    for (int level = 0; level < 3; ++level) {
        const Level &l = mLevels[level];
        if (l.caption.isEmpty())
            continue;
        parts.append(l.caption);
    }
    const auto line = [&] {
        QString text = parts.join(QStringLiteral(" | "));
        if (fieldTime && inField && !mLevels[2].caption.isEmpty())
            text += QLatin1Char(' ') + formatElapsed(now - mLastFieldStartMs);
        return text;
    };
    QString text = line();
    if (width <= 0 || text.size() <= width)
        return text;
    // Too wide: each level by its name alone ("Tabel 2/4 (Facturi)" is
    // "Facturi"), then the data source and the table cut short, so that the
    // field and its time stay in sight.
    for (qsizetype i = head; i < parts.size(); ++i) {
        const qsizetype open = parts[i].indexOf(QStringLiteral(" ("));
        if (open > 0 && parts[i].endsWith(QLatin1Char(')')))
            parts[i] = parts[i].mid(open + 2, parts[i].size() - open - 3);
    }
    text = line();
    qsizetype excess = text.size() - width;
    const qsizetype last = mLevels[2].caption.isEmpty() ? parts.size() : parts.size() - 1;
    for (qsizetype i = last - 1; i >= head && excess > 0; --i) {
        const qsizetype cut = std::min(excess, parts[i].size() - 4);
        if (cut <= 0)
            continue;
        parts[i] = parts[i].left(parts[i].size() - cut - 2) + QStringLiteral("..");
        excess -= cut;
    }
    return line().left(width);
}

int TerminalProgress::terminalWidth() const
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

void TerminalProgress::drawLocked()
{
    if (!mTty)
        return;
    // One line less wide than the terminal, or it would wrap and the
    // carriage return would redraw only its last part.
    const int width = std::max(20, terminalWidth() - 1);
    writeLocked(QStringLiteral("\r") + statusLineLocked(true, width) + QStringLiteral("\x1b[K"));
    mDrawn = true;
}

void TerminalProgress::writeLocked(const QString &text) const
{
    if (mOptions.write)
        mOptions.write(text);
    else
        err(text);
}

// The timer thread: redraws the line on a terminal, writes a line now and
// then for a field that runs long elsewhere. It reads only the state above,
// under the lock, and never touches a database.
void TerminalProgress::tickLoop()
{
    std::unique_lock<std::mutex> lock(mMutex);
    const int interval = mTty ? std::max(10, mOptions.redrawMs) : std::max(10, std::min(mOptions.plainNoticeMs, 1000));
    while (!mQuit) {
        mWake.wait_for(lock, std::chrono::milliseconds(interval));
        if (mQuit)
            break;
        if (mTty) {
            if (mDrawn)
                drawLocked();
        } else if (mLastFieldStartMs >= 0 && mOptions.plainNoticeMs > 0
                   && mRun.elapsed() - mLastFieldStartMs >= mNextNoticeMs) {
            //: A line written now and then while one field runs long: the progress line, then "still working".
            writeLocked(QCoreApplication::translate("TerminalOutput", "%1 (in lucru)").arg(statusLineLocked(true, 0))
                        + QLatin1Char('\n'));
            mNextNoticeMs += mOptions.plainNoticeMs;
        }
    }
}

} // namespace terminal
