#include "app/AppVersion.h"
#include "app/SignalWatcher.h"
#include "app/frmMain.h"
#include "conversion/CommandLine.h"
#include "util/core/AppInfo.h"
#include "util/widgets/GuiPrompts.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// The desktop program: the main window, which opens the start dialog.
int runWindowed(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(kAppTitle);
    QApplication::setApplicationName(kAppTitle);
    QApplication::setApplicationVersion(fgAppVersion());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/vamor.svg")));
    // The toolkit's own texts (file dialogs) in Romanian, when its
    // translations are installed.
    QTranslator toolkit;
    if (toolkit.load(QStringLiteral("qtbase_ro"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkit);
    ui::installGuiPrompts();

    frmMain window;
    // A logout (SIGTERM) or Ctrl+C closes the window without questions and
    // removes the working copy.
    SignalWatcher signalWatcher([&window] { window.pEndSession(); });
    QObject::connect(&window, &frmMain::sessionEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // Runs without windows are chosen here, before any QApplication exists.
    if (isCommandLineRun(argc, argv))
        return runCommandLine(argc, argv);
    return runWindowed(argc, argv);
}
