#include "conversion/Waits.h"

#include <QCoreApplication>
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
    //: A wait in seconds, as "30 s" or "0,5 s".
    const QString seconds = QCoreApplication::translate("Waits", "%1 s");
    if (ms % 1000 == 0)
        return seconds.arg(ms / 1000);
    //: The decimal separator of a wait in seconds, as in "0,5 s".
    const QString separator = QCoreApplication::translate("Waits", ",");
    return seconds.arg(QString::number(static_cast<double>(ms) / 1000.0, 'f', 1).replace(QLatin1Char('.'), separator));
}

QString tableLockedText(const QString &table, qint64 lockTimeoutMs)
{
    return QCoreApplication::translate("Waits",
                                       "Tabelul \"%1\" este blocat de alt program; timpul de asteptare (%2) a expirat")
        .arg(table, waitText(lockTimeoutMs));
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
