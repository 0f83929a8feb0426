// Pictures of the help window (showing a topic), the About window (with its
// shape) and the terms window, for looking at them under a real X server:
//   xvfb-run -s "-screen 0 1280x900x24" build/bin/help_shots FOLDER
#include "help/frmAbout.h"
#include "help/frmHelp.h"
#include "help/frmTerms.h"
#include "tests/support/Shots.h"
#include "tests/support/TestSupport.h"
#include "util/core/HelpTopics.h"
#include "util/core/Language.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    language::installChosen(); // VAMOR_LANG=en or bg for the translated windows
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QTextStream log(stdout);

    frmHelp help(fgHelpFile());
    help.resize(900, 620);
    help.move(20, 20);
    help.showTopic(8);
    shots::shoot(help, out + QStringLiteral("/help_topic.png"));
    help.showIndex();
    shots::shoot(help, out + QStringLiteral("/help_index.png"));
    help.hide();

    // The About window over a plain desktop: what is cut away shows the
    // desktop behind it.
    QWidget desktop;
    desktop.setStyleSheet(QStringLiteral("background-color:#5f7f9f;"));
    desktop.setGeometry(0, 0, 640, 460);
    desktop.show();
    frmAbout about;
    about.move(50, 50);
    about.show();
    about.raise();
    shots::settle();
    QScreen *screen = QGuiApplication::primaryScreen();
    screen->grabWindow(0, 0, 0, 640, 460).save(out + QStringLiteral("/about_on_desktop.png"));
    about.grab().save(out + QStringLiteral("/about.png"));
    about.hide();
    desktop.hide();

    frmTerms terms;
    shots::shoot(terms, out + QStringLiteral("/terms.png"));
    log << "pictures in " << out << "\n";
    return 0;
}
