#include "conversion/TerminalOutput.h"

#include "data/db/DbError.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <cstdio>
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

TerminalProgress::TerminalProgress(const volatile std::sig_atomic_t *stop)
    : mStop(stop), mTty(::isatty(STDERR_FILENO) == 1)
{
}

TerminalProgress::~TerminalProgress()
{
    if (mTty && mDrawn)
        err(QStringLiteral("\n"));
}

bool TerminalProgress::Cancel() const
{
    if (*mStop && !mStopNoticed) {
        mStopNoticed = true;
        err(QStringLiteral("%1Oprire ceruta: conversia se opreste dupa campul curent.\n")
                .arg(mTty && mDrawn ? QStringLiteral("\n") : QString()));
    }
    return *mStop != 0;
}

void TerminalProgress::Progress3(qint32 progress, const QString &caption)
{
    step(2, progress, caption);
    if (!mTty)
        err(captions() + QLatin1Char('\n'));
}

void TerminalProgress::init(int level, qint32 max, const QString &caption)
{
    mLevels[level] = {max, 0, caption};
    for (int deeper = level + 1; deeper < 3; ++deeper)
        mLevels[deeper].caption.clear();
    draw();
}

void TerminalProgress::step(int level, qint32 progress, const QString &caption)
{
    Level &l = mLevels[level];
    l.value = progress == 0 ? l.value + 1 : progress;
    if (!caption.isEmpty())
        l.caption = caption;
    if (level < 2)
        for (int deeper = level + 1; deeper < 3; ++deeper)
            mLevels[deeper].caption.clear();
    draw();
}

QString TerminalProgress::captions() const
{
    QStringList parts;
    for (const Level &l : mLevels)
        if (!l.caption.isEmpty())
            parts.append(l.caption);
    return parts.join(QStringLiteral(" | "));
}

// Share of the work done, from the three levels (for the bar only).
double TerminalProgress::fraction() const
{
    double done = 0.0;
    double scale = 1.0;
    for (const Level &l : mLevels) {
        if (l.max <= 0)
            break;
        scale /= l.max;
        done += std::max(0, l.value - 1) * scale;
    }
    return std::clamp(done, 0.0, 1.0);
}

void TerminalProgress::draw()
{
    if (!mTty)
        return;
    constexpr int width = 30;
    const int filled = static_cast<int>(fraction() * width);
    QString line = QStringLiteral("\r[") + QString(filled, QLatin1Char('#'))
                   + QString(width - filled, QLatin1Char('.')) + QStringLiteral("] ") + captions();
    err(line.left(160) + QStringLiteral("\x1b[K"));
    mDrawn = true;
}

} // namespace terminal
