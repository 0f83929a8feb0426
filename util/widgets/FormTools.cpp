#include "util/widgets/FormTools.h"

#include "util/core/AppInfo.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QWidget>

namespace {

constexpr int kTwipsPerPixel = 15;

QString settingsKey(const QWidget *window)
{
    const QString name = window->objectName();
    return name.isEmpty() ? QString::fromLatin1(window->metaObject()->className()) : name;
}

QScreen *screenOf(const QWidget *window)
{
    if (QScreen *screen = window->screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

// A stored number in twips back to pixels; false when it is not a number.
bool twipsToPixels(const QString &text, int &pixels)
{
    bool ok = false;
    const float twips = text.trimmed().toFloat(&ok);
    if (ok)
        pixels = qRound(twips / kTwipsPerPixel);
    return ok;
}

QString pixelsToTwips(int pixels)
{
    // Whole pixels give whole twips: written as a plain integer.
    return QString::number(static_cast<float>(pixels * kTwipsPerPixel));
}

} // namespace

bool fgHasFixedBorder(const QWidget *window)
{
    return window->minimumSize() == window->maximumSize()
           || window->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

void pgLoadFormSettings(QWidget *window)
{
    if (!window)
        return;
    QSettings settings(kAppTitle, kAppTitle);
    settings.beginGroup(QStringLiteral("FormSettings"));
    const QString line = settings.value(settingsKey(window)).toString();

    if (line.isEmpty()) {
        QScreen *screen = screenOf(window);
        if (!screen)
            return;
        const QRect area = screen->availableGeometry();
        window->move(area.x() + (area.width() - window->width()) / 2,
                     area.y() + (area.height() - window->height()) / 2);
        return;
    }

    const QStringList fields = line.split(QLatin1Char('|'));
    int left = 0, top = 0;
    if (fields.at(0) == QLatin1String("1")) {
        if (fields.size() >= 3 && twipsToPixels(fields.at(1), left) && twipsToPixels(fields.at(2), top))
            window->move(left, top);
        return;
    }
    if (fields.at(0) != QLatin1String("2") || fields.size() < 6)
        return;

    int state = 0, width = 0, height = 0;
    bool ok = false;
    state = fields.at(3).trimmed().toInt(&ok);
    if (!ok)
        return;
    if (!twipsToPixels(fields.at(1), left) || !twipsToPixels(fields.at(2), top)
        || !twipsToPixels(fields.at(4), width) || !twipsToPixels(fields.at(5), height))
        return;

    if (state == 2) {
        // The normal placement stays behind the maximised window, so that
        // restoring it gives the size it had before.
        window->move(left, top);
        if (!fgHasFixedBorder(window) && width > 0 && height > 0)
            window->resize(width, height);
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        return;
    }
    if (fgHasFixedBorder(window) || width <= 0 || height <= 0) {
        window->move(left, top);
    } else {
        window->move(left, top);
        window->resize(width, height);
    }
}

QString fgFormSettingsLine(QWidget *window)
{
    const Qt::WindowStates states = window->windowState();
    const bool maximised = states.testFlag(Qt::WindowMaximized) && !states.testFlag(Qt::WindowMinimized);
    // A maximised or minimised window is stored with its normal placement,
    // so that it comes back at a usable position and size.
    QRect rect(window->pos(), window->size());
    if (states & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) {
        const QRect normal = window->normalGeometry();
        if (normal.isValid())
            rect = QRect(window->pos() - window->geometry().topLeft() + normal.topLeft(), normal.size());
    }
    const int state = maximised ? 2 : 0;
    QString line = QStringLiteral("2");
    line += QLatin1Char('|') + pixelsToTwips(rect.x());
    line += QLatin1Char('|') + pixelsToTwips(rect.y());
    line += QLatin1Char('|') + QString::number(state);
    line += QLatin1Char('|') + pixelsToTwips(rect.width());
    line += QLatin1Char('|') + pixelsToTwips(rect.height());
    return line;
}

void pgSaveFormSettings(QWidget *window)
{
    if (!window)
        return;
    QSettings settings(kAppTitle, kAppTitle);
    settings.beginGroup(QStringLiteral("FormSettings"));
    settings.setValue(settingsKey(window), fgFormSettingsLine(window));
}
