#include "util/core/RecentFiles.h"

#include "util/core/AppInfo.h"

#include <QSettings>

namespace {

const QString kSeparator = QStringLiteral("|||");

QString slotName(int slot) { return QStringLiteral("RecentFile") + QString::number(slot); }

} // namespace

QStringList fgGetRecentFiles()
{
    QStringList result;
    QString seen;
    QSettings settings(kAppTitle, kAppTitle);
    settings.beginGroup(QStringLiteral("RecentFiles"));
    for (int slot = 1; slot <= 4; ++slot) {
        const QString value = settings.value(slotName(slot)).toString();
        if (value.isEmpty())
            continue;
        if ((kSeparator + seen + kSeparator).contains(kSeparator + value + kSeparator, Qt::CaseInsensitive))
            continue;
        if (!seen.isEmpty())
            seen += kSeparator;
        seen += value;
        result.append(value);
    }
    return result;
}

void pgAddToRecent(const QString &path)
{
    QSettings settings(kAppTitle, kAppTitle);
    settings.beginGroup(QStringLiteral("RecentFiles"));
    QString current = path;
    QString seen;
    for (int slot = 1; slot <= 5; ++slot) {
        const QString old = settings.value(slotName(slot)).toString();
        if (!current.isEmpty()
            && !(seen + kSeparator).contains(kSeparator + current + kSeparator, Qt::CaseInsensitive)) {
            seen += kSeparator + current;
            settings.setValue(slotName(slot), current);
        }
        current = old;
    }
}

QString fgExtractFileName(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString fgFilePath(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}
