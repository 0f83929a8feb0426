#pragma once

#include "conversion/ConversionInterfaces.h"

#include <QElapsedTimer>
#include <QString>
#include <condition_variable>
#include <csignal>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

// What the command-line run writes on the terminal: plain text on standard
// output and standard error, and the progress of a run.
namespace terminal {

void out(const QString &text);
void err(const QString &text);

// "number: description" for a database error, the text of any other.
QString describe(const std::exception &e);

// A duration as hours, minutes and seconds: "00:02:13".
QString formatElapsed(qint64 milliseconds);

// Progress on standard error. On a terminal: one line redrawn in place with
// the fields done of all, the time since the start, an estimate of the time
// left once a field has finished, and the data source, table and field with
// the time the field has been running; a timer thread redraws it every
// second, so a field that runs for minutes shows its time going on. Not on a
// terminal (a log file): one plain line per field, and a line now and then
// while one field runs long, with no control characters.
// The run is asked to stop once `*stop` is set (by the Ctrl+C handler).
class TerminalProgress : public IConversionProgress {
public:
    struct Options {
        int tty = -1;                      // -1: standard error is asked; 0 or 1 forces it
        int redrawMs = 1000;               // redraw of the terminal line while nothing moves
        int plainNoticeMs = 60000;         // a line for a long field when not on a terminal
        std::function<void(const QString &)> write; // standard error when empty
    };

    explicit TerminalProgress(const volatile std::sig_atomic_t *stop);
    TerminalProgress(const volatile std::sig_atomic_t *stop, Options options);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;

    // The number of fields the run will visit, for "done of all" and the
    // estimate; 0 (unknown) shows only the fields done.
    void setTotalFields(qint32 total);

    bool Cancel() const override;
    void InitProgress1(qint32 max, const QString &caption) override { init(0, max, caption); }
    void InitProgress2(qint32 max, const QString &caption) override { init(1, max, caption); }
    void InitProgress3(qint32 max, const QString &caption) override { init(2, max, caption); }
    void Progress1(qint32 progress, const QString &caption) override { step(0, progress, caption); }
    void Progress2(qint32 progress, const QString &caption) override { step(1, progress, caption); }
    void Progress3(qint32 progress, const QString &caption) override;

    // What the line reads now (without the control characters of a redraw).
    QString statusLine() const;

private:
    struct Level {
        qint32 max = 0;
        qint32 value = 0;
        QString caption;
    };

    void init(int level, qint32 max, const QString &caption);
    void step(int level, qint32 progress, const QString &caption);
    // `fieldTime`: the current field's running time after its caption;
    // `width` > 0: shortened to fit so many characters.
    QString statusLineLocked(bool fieldTime, int width) const;
    void drawLocked();
    void writeLocked(const QString &text) const;
    void tickLoop();
    int terminalWidth() const;

    const volatile std::sig_atomic_t *mStop;
    Options mOptions;
    bool mTty;
    bool mDrawn = false;
    mutable bool mStopNoticed = false;
    Level mLevels[3];
    qint32 mTotal = 0;
    qint32 mStarted = 0;           // fields begun; all but the current one are done
    qint64 mLastFieldStartMs = -1; // run time at which the current field began
    qint64 mNextNoticeMs = 0;      // field time of the next plain notice
    QElapsedTimer mRun;

    mutable std::mutex mMutex;
    std::condition_variable mWake;
    bool mQuit = false;
    std::thread mTicker;
};

} // namespace terminal
