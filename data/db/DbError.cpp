#include "data/db/DbError.h"

#include <QCoreApplication>

namespace db {

qint32 DbError::numberForSqlState(const QString &sqlState)
{
    const QString cls = sqlState.left(2);
    if (cls == QLatin1String("42") || sqlState == QLatin1String("37000") || sqlState == QLatin1String("S0001")
        || sqlState == QLatin1String("S0002") || sqlState == QLatin1String("S0021")
        || sqlState == QLatin1String("S0022"))
        return DB_E_ERRORSINCOMMAND;
    if (cls == QLatin1String("07") || cls == QLatin1String("22") || sqlState == QLatin1String("HY000")
        || sqlState == QLatin1String("S1000"))
        return DB_E_ERRORSOCCURRED;
    return E_FAIL;
}

DbError DbError::cancelled()
{
    return DbError(DB_E_CANCELED, QCoreApplication::translate("DbError", "Asteptarea a fost oprita de utilizator."),
                   QStringLiteral("HY008"), Kind::Cancelled);
}

namespace {
thread_local LockTimeoutNote tLockTimeouts;
}

DbError DbError::lockTimeout(const QString &providerText, const QString &sqlState)
{
    // The text tells the failure apart (lastLockTimeout): never empty.
    const QString text = providerText.trimmed().isEmpty() ? QStringLiteral("SQLSTATE %1").arg(sqlState) : providerText;
    DbError e(E_FAIL, text, sqlState, Kind::LockTimeout);
    ++tLockTimeouts.count;
    tLockTimeouts.description = e.description();
    return e;
}

DbError DbError::statementTimeout(int seconds)
{
    return DbError(DB_E_ABORTLIMITREACHED,
                   QCoreApplication::translate("DbError", "Interogarea nu s-a terminat in %1 s si a fost oprita.")
                       .arg(seconds),
                   QStringLiteral("HYT00"), Kind::StatementTimeout);
}

DbError DbError::commitLinkLost(const QString &providerText, const QString &sqlState)
{
    QString text = QCoreApplication::translate("DbError", "Legatura cu serverul s-a pierdut in timpul salvarii "
                                                          "tranzactiei.");
    if (!providerText.trimmed().isEmpty())
        text += QLatin1Char('\n') + providerText.trimmed();
    return DbError(E_FAIL, text, sqlState, Kind::LinkLost);
}

DbError DbError::commitNotAnswered(qint64 waitedMs)
{
    const QString wait = waitedMs % 1000 == 0
                             ? QString::number(waitedMs / 1000)
                             : QString::number(static_cast<double>(waitedMs) / 1000.0, 'f', 1).replace(QLatin1Char('.'),
                                                                                                       QLatin1Char(','));
    return DbError(E_FAIL,
                   QCoreApplication::translate("DbError", "Baza de date nu a raspuns la salvarea tranzactiei in %1 s; "
                                                          "conexiunea a fost abandonata.")
                       .arg(wait),
                   QStringLiteral("HYT01"), Kind::NoAnswer);
}

LockTimeoutNote lastLockTimeout()
{
    return tLockTimeouts;
}

} // namespace db
