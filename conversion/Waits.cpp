#include "conversion/Waits.h"

#include <QStringList>

#include <atomic>

namespace conversion {

namespace {
std::atomic<int> gProbeTimeout{30};
}

int probeTimeout()
{
    return gProbeTimeout;
}

void setProbeTimeout(int seconds)
{
    gProbeTimeout = seconds;
}

QString waitText(qint64 ms)
{
    if (ms % 1000 == 0)
        return QString::number(ms / 1000) + QStringLiteral(" s");
    return QString::number(static_cast<double>(ms) / 1000.0, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','))
           + QStringLiteral(" s");
}

QString tableLockedText(const QString &table, qint64 lockTimeoutMs)
{
    return QStringLiteral("Tabelul \"") + table + QStringLiteral("\" este blocat de alt program; timpul de asteptare (")
           + waitText(lockTimeoutMs) + QStringLiteral(") a expirat");
}

QString LockTimeoutWatch::explained(const QString &text, const QString &table, qint64 lockTimeoutMs,
                                    const QString &tail) const
{
    const db::LockTimeoutNote now = db::lastLockTimeout();
    if (now.count == mSince.count || now.description.isEmpty() || !text.contains(now.description))
        return text;
    // The provider's first line says it in its words ("canceling statement
    // due to lock timeout"), for whoever looks for the cause.
    QString provider = now.description.section(QLatin1Char('\n'), 0, 0).trimmed();
    while (provider.endsWith(QLatin1Char(';')) || provider.endsWith(QLatin1Char('.')))
        provider.chop(1);
    const QString message =
        tableLockedText(table, lockTimeoutMs) + QStringLiteral(" (") + provider + QStringLiteral(").") + tail;
    // The errors of a field are lines; the one that holds the lock
    // timeout becomes the message, the others stay.
    QStringList lines = text.split(QStringLiteral("\r\n"));
    for (QString &line : lines)
        if (line.contains(now.description))
            line = message;
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace conversion
