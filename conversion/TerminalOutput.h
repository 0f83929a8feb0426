#pragma once

#include "conversion/ConversionInterfaces.h"

#include <QString>
#include <csignal>
#include <exception>

// What the command-line run writes on the terminal: plain text on standard
// output and standard error, and the progress of a run.
namespace terminal {

void out(const QString &text);
void err(const QString &text);

// "number: description" for a database error, the text of any other.
QString describe(const std::exception &e);

// Progress on standard error: one line rewritten in place on a terminal, one
// line per field otherwise. The run is asked to stop once `*stop` is set (by
// the Ctrl+C handler).
class TerminalProgress : public IConversionProgress {
public:
    explicit TerminalProgress(const volatile std::sig_atomic_t *stop);
    ~TerminalProgress() override;

    bool Cancel() const override;
    void InitProgress1(qint32 max, const QString &caption) override { init(0, max, caption); }
    void InitProgress2(qint32 max, const QString &caption) override { init(1, max, caption); }
    void InitProgress3(qint32 max, const QString &caption) override { init(2, max, caption); }
    void Progress1(qint32 progress, const QString &caption) override { step(0, progress, caption); }
    void Progress2(qint32 progress, const QString &caption) override { step(1, progress, caption); }
    void Progress3(qint32 progress, const QString &caption) override;

private:
    struct Level {
        qint32 max = 0;
        qint32 value = 0;
        QString caption;
    };

    void init(int level, qint32 max, const QString &caption);
    void step(int level, qint32 progress, const QString &caption);
    QString captions() const;
    double fraction() const;
    void draw();

    const volatile std::sig_atomic_t *mStop;
    bool mTty;
    bool mDrawn = false;
    mutable bool mStopNoticed = false;
    Level mLevels[3];
};

} // namespace terminal
