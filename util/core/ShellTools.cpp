#include "util/core/ShellTools.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace shell {

namespace {

const QString kOpener = QStringLiteral("xdg-open");

bool startDetached(const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments);
}

Launcher &launcher()
{
    static Launcher current = startDetached;
    return current;
}

BrowserCommandReader &reader()
{
    static BrowserCommandReader current = fgReadDefaultBrowserCommand;
    return current;
}

// The browser found in this run; empty until the first successful look-up.
QString &cachedBrowser()
{
    static QString browser;
    return browser;
}

// The value of `key` in the group `group` of a desktop or mimeapps file.
QString iniValue(const QString &path, const QString &group, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    bool inside = false;
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inside = line == header;
            continue;
        }
        if (!inside)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed();
    }
    return {};
}

QString browserFromXdgSettings()
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-settings"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString browserFromMimeApps()
{
    QStringList files = QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation, QStringLiteral("mimeapps.list"));
    files += QStandardPaths::locateAll(QStandardPaths::ApplicationsLocation, QStringLiteral("mimeapps.list"));
    for (const QString &path : files) {
        const QString handlers = iniValue(path, QStringLiteral("Default Applications"),
                                          QStringLiteral("x-scheme-handler/http"));
        const QString first = handlers.section(QLatin1Char(';'), 0, 0).trimmed();
        if (!first.isEmpty())
            return first;
    }
    return {};
}

} // namespace

Launcher setLauncher(Launcher next)
{
    Launcher previous = launcher();
    launcher() = next ? std::move(next) : Launcher(startDetached);
    return previous;
}

BrowserCommandReader setBrowserCommandReader(BrowserCommandReader next)
{
    BrowserCommandReader previous = reader();
    reader() = next ? std::move(next) : BrowserCommandReader(fgReadDefaultBrowserCommand);
    cachedBrowser().clear();
    return previous;
}

QString fgBrowserProgram(const QString &command)
{
    const qsizetype firstQuote = command.indexOf(QLatin1Char('"'));
    if (firstQuote == 0) {
        const qsizetype secondQuote = command.indexOf(QLatin1Char('"'), 1);
        if (secondQuote > 0)
            return command.mid(1, secondQuote - 1);
    }
    // Desktop entries usually name the program without its folder
    // ("firefox-esr %u"): the program is then the first word.
    const qsizetype lastSlash = command.lastIndexOf(QLatin1Char('/'));
    const qsizetype space = command.indexOf(QLatin1Char(' '), lastSlash < 0 ? 0 : lastSlash);
    if (space > 0)
        return command.left(space);
    return command;
}

QString fgReadDefaultBrowserCommand()
{
    QString entry = browserFromXdgSettings();
    if (entry.isEmpty())
        entry = browserFromMimeApps();
    if (entry.isEmpty())
        return {};
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    if (path.isEmpty())
        return {};
    return iniValue(path, QStringLiteral("Desktop Entry"), QStringLiteral("Exec"));
}

bool OpenEmailProgram(const QString &pstrAddress)
{
    return launcher()(kOpener, {QStringLiteral("mailto:") + pstrAddress});
}

QString GetBrowser()
{
    if (!cachedBrowser().isEmpty())
        return cachedBrowser();
    cachedBrowser() = fgBrowserProgram(reader()());
    return cachedBrowser();
}

bool OpenUrl(const QString &pstrAddress, bool pbUseBrowser)
{
    if (pbUseBrowser)
        return launcher()(GetBrowser(), {pstrAddress});
    return launcher()(kOpener, {pstrAddress});
}

} // namespace shell
