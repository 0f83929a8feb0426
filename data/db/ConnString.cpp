#include "data/db/ConnString.h"

#include "data/db/DbError.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <atomic>

namespace db {

namespace {

// `message` says what is wrong, the whole sentence.
DbError parseError(const QString &message) { return DbError(E_FAIL, message); }

} // namespace

ConnString ConnString::parse(const QString &text)
{
    ConnString result;
    const int n = static_cast<int>(text.size());
    int i = 0;
    while (i < n) {
        // Key: up to '='; blanks around it do not count.
        const int keyStart = i;
        while (i < n && text.at(i) != QLatin1Char('=') && text.at(i) != QLatin1Char(';'))
            ++i;
        const QString key = text.mid(keyStart, i - keyStart).trimmed();
        if (i >= n || text.at(i) == QLatin1Char(';')) {
            // A segment without '=': stray semicolons and blanks are skipped.
            if (!key.isEmpty())
                throw parseError(QCoreApplication::translate("ConnString", "Sirul de conectare nu este valid: lipseste "
                                                                           "semnul \"=\" dupa \"%1\"")
                                     .arg(key));
            ++i;
            continue;
        }
        if (key.isEmpty())
            throw parseError(
                QCoreApplication::translate("ConnString", "Sirul de conectare nu este valid: un atribut nu are nume"));
        ++i; // '='
        while (i < n && text.at(i) == QLatin1Char(' '))
            ++i;
        QString value;
        if (i < n && text.at(i) == QLatin1Char('{')) {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = text.at(i);
                if (c == QLatin1Char('}')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('}')) {
                        value += QLatin1Char('}');
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                value += c;
                ++i;
            }
            if (!closed)
                throw parseError(QCoreApplication::translate("ConnString", "Sirul de conectare nu este valid: acolada "
                                                                           "deschisa la \"%1\" nu este inchisa")
                                     .arg(key));
            while (i < n && text.at(i) == QLatin1Char(' '))
                ++i;
            if (i < n && text.at(i) != QLatin1Char(';'))
                throw parseError(QCoreApplication::translate("ConnString",
                                                             "Sirul de conectare nu este valid: text dupa "
                                                             "acolada inchisa la \"%1\"")
                                     .arg(key));
        } else {
            const int valueStart = i;
            while (i < n && text.at(i) != QLatin1Char(';'))
                ++i;
            value = text.mid(valueStart, i - valueStart).trimmed();
        }
        if (i < n)
            ++i; // ';'
        result.mItems.append({key, value});
    }
    return result;
}

bool ConnString::contains(const QString &key) const
{
    for (const auto &item : mItems)
        if (item.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString ConnString::value(const QString &key) const
{
    QString result;
    for (const auto &item : mItems)
        if (item.first.compare(key, Qt::CaseInsensitive) == 0)
            result = item.second;
    return result;
}

bool ConnString::isBuiltInSqlite() const
{
    return value(QStringLiteral("Provider")).compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0;
}

std::optional<qint64> lockTimeoutMsOf(const ConnString &parsed)
{
    if (!parsed.contains(kLockTimeoutKey))
        return std::nullopt;
    const QString text = parsed.value(kLockTimeoutKey).trimmed();
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !(seconds >= 0) || seconds > 1e9)
        throw DbError(E_FAIL, QCoreApplication::translate("ConnString",
                                                          "Valoare necunoscuta pentru LockTimeout: %1 (se accepta un "
                                                          "numar de secunde, de exemplu 30 sau 0.5).")
                                  .arg(text));
    return static_cast<qint64>(seconds * 1000 + 0.5);
}

QString connectionAttribute(const QString &key, const QString &value)
{
    const bool braces = value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('{'))
                        || value.contains(QLatin1Char('}')) || value != value.trimmed();
    if (!braces)
        return key + QLatin1Char('=') + value;
    QString escaped = value;
    escaped.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return key + QStringLiteral("={") + escaped + QLatin1Char('}');
}

namespace {

std::atomic<qint64> gRunLockTimeoutMs{-1};

} // namespace

namespace {

bool isOwnKey(const QString &key)
{
    return key.compare(kLockTimeoutKey, Qt::CaseInsensitive) == 0
           || key.compare(kClusterNodesKey, Qt::CaseInsensitive) == 0;
}

QString joined(const QStringList &attributes)
{
    return attributes.isEmpty() ? QString() : attributes.join(QLatin1Char(';')) + QLatin1Char(';');
}

} // namespace

QString forDriver(const QString &connectionString)
{
    ConnString parsed;
    try {
        parsed = ConnString::parse(connectionString);
    } catch (const DbError &) {
        return connectionString; // the driver says what is wrong with it
    }
    if (!parsed.contains(kLockTimeoutKey) && !parsed.contains(kClusterNodesKey))
        return connectionString;
    QStringList kept;
    for (const auto &[key, value] : parsed.items())
        if (!isOwnKey(key))
            kept << connectionAttribute(key, value);
    return joined(kept);
}

QList<ClusterNode> clusterNodesOf(const QString &connectionString)
{
    QList<ClusterNode> nodes;
    ConnString parsed;
    try {
        parsed = ConnString::parse(connectionString);
    } catch (const DbError &) {
        return nodes;
    }
    const QStringList given = parsed.value(kClusterNodesKey).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &entry : given) {
        const QString address = entry.trimmed();
        if (address.isEmpty())
            continue;
        // "host", "host:port", "[v6]" or "[v6]:port"
        QString host = address, port;
        const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
        const bool bracketed = address.startsWith(QLatin1Char('['));
        const qsizetype close = address.indexOf(QLatin1Char(']'));
        if (bracketed && close > 0) {
            host = address.mid(1, close - 1);
            if (colon > close)
                port = address.mid(colon + 1);
        } else if (colon > 0 && address.indexOf(QLatin1Char(':')) == colon) {
            host = address.left(colon);
            port = address.mid(colon + 1);
        }
        QStringList attributes;
        bool hostSet = false, portSet = false;
        for (const auto &[key, value] : parsed.items()) {
            if (key.compare(kClusterNodesKey, Qt::CaseInsensitive) == 0)
                continue;
            if (key.compare(QLatin1String("Server"), Qt::CaseInsensitive) == 0) {
                if (!hostSet)
                    attributes << connectionAttribute(key, host);
                hostSet = true;
            } else if (key.compare(QLatin1String("Port"), Qt::CaseInsensitive) == 0 && !port.isEmpty()) {
                if (!portSet)
                    attributes << connectionAttribute(key, port);
                portSet = true;
            } else {
                attributes << connectionAttribute(key, value);
            }
        }
        if (!hostSet)
            attributes << connectionAttribute(QStringLiteral("Server"), host);
        if (!portSet && !port.isEmpty())
            attributes << connectionAttribute(QStringLiteral("Port"), port);
        nodes.append({address, joined(attributes)});
    }
    return nodes;
}

void setRunLockTimeout(std::optional<qint64> ms)
{
    gRunLockTimeoutMs = ms ? std::max<qint64>(*ms, 0) : -1;
}

QString withRunLockTimeout(const QString &connectionString)
{
    const qint64 ms = gRunLockTimeoutMs;
    if (ms < 0 || connectionString.isEmpty())
        return connectionString;
    QString result = connectionString.trimmed();
    if (!result.isEmpty() && !result.endsWith(QLatin1Char(';')))
        result += QLatin1Char(';');
    // The last value of a key is the one read.
    return result + kLockTimeoutKey + QLatin1Char('=') + QString::number(static_cast<double>(ms) / 1000.0, 'g', 12)
           + QLatin1Char(';');
}

} // namespace db
