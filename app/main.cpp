#include "app/AppVersion.h"
#include "app/SignalWatcher.h"
#include "app/frmMain.h"
#include "conversion/CommandLine.h"
#include "discovery/Discovery.h"
#include "util/core/AppInfo.h"
#include "util/core/Language.h"
#include "util/widgets/GuiPrompts.h"

#include <QApplication>
#include <QIcon>
#include <QUrl>

#include <cstdio>

namespace {

// The project file named on the command line, "" when none: the first
// argument that is not an option (after "--", any argument), as a local path
// also when the desktop passes a file:// address. Options the toolkit took
// are no longer among the arguments.
QString startFile(const QStringList &arguments)
{
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (!optionsEnded && arg == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg.isEmpty() || (!optionsEnded && arg.startsWith(QLatin1Char('-'))))
            continue;
        if (arg.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
            const QUrl url(arg);
            if (url.isLocalFile())
                return url.toLocalFile();
        }
        return arg;
    }
    return QString();
}

// The desktop program: the main window, which opens the project file named
// on the command line, or else the start dialog.
int runWindowed(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(kAppTitle);
    QApplication::setApplicationName(kAppTitle);
    QApplication::setApplicationVersion(fgAppVersion());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/vamor.svg")));
    // The program's texts, and the toolkit's own (file and print dialogs),
    // in the user's language.
    language::installChosen();
    ui::installGuiPrompts();

    frmMain window;
    window.setStartFile(startFile(QCoreApplication::arguments()));
    // A logout (SIGTERM) or Ctrl+C closes the window without questions and
    // removes the working copy.
    SignalWatcher signalWatcher([&window] { window.pEndSession(); });
    QObject::connect(&window, &frmMain::sessionEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    return app.exec();
}

// True when the windows have somewhere to go: a display, or a platform
// the toolkit was told to use (the offscreen one of the tests among them).
bool hasDisplay()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--version") == 0) {
            std::fprintf(stdout, "Vamor %s\n", qPrintable(fgAppVersion()));
            return 0;
        }
    // Runs without windows are chosen here, before any QApplication exists.
    if (isCommandLineRun(argc, argv)) {
        QStringList args;
        for (int i = 0; i < argc; ++i)
            args.append(QString::fromLocal8Bit(argv[i]));
        if (discovery::isDiscoverCommand(args)) {
            QCoreApplication app(argc, argv);
            language::installChosen();
            return discovery::runDiscoverCommand(args);
        }
        return runCommandLine(argc, argv);
    }
    if (!hasDisplay()) {
        QCoreApplication app(argc, argv);
        language::installChosen();
        std::fprintf(stderr, "%s\n",
                     qPrintable(QCoreApplication::translate(
                         "Vamor", "Programul cu ferestre are nevoie de un ecran (variabila DISPLAY nu este setata).\n"
                                  "Conversia fara ferestre: vamor --convert PROIECT.vmd --to noi|vechi (vamor --help "
                                  "spune mai mult).")));
        return 2;
    }
    return runWindowed(argc, argv);
}
