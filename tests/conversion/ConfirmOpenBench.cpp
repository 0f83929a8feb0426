// Times the confirmation window of a conversion (to new lei unless "vechi"
// is given) on a project opened in the real main window, offscreen, shown
// the way the program shows it: from the start of the list to the window on
// screen (shown_after), and to the complete list (seconds).
//
//   confirm_open_bench PROJECT.vmd [noi|vechi]
//
// Prints one line: listed=N seconds=S shown_after=S shown_early=0|1 updates=N total="...".
// The program folder (VAMOR_HOME) should be a temporary folder.
#include "app/frmMain.h"
#include "conversion/frmConvertStart.h"
#include "tests/support/OpenThroughStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    const bool toLeiNoi = argc < 3 || std::strcmp(argv[2], "vechi") != 0;
    if (argc < 2 || argc > 3 || (argc == 3 && toLeiNoi && std::strcmp(argv[2], "noi") != 0)) {
        std::fprintf(stderr, "usage: %s PROJECT.vmd [noi|vechi]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    testsupport::openThroughStartDialog(QString::fromLocal8Bit(argv[1]));
    frmMain w;
    w.pOpen(false);

    // As the program does: the list starts, then the window's modal show.
    frmConvertStart dialog(&w);
    dialog.ToLeiNoi = toLeiNoi;
    bool shownEarly = false;
    int updates = 0;
    double shownAfter = -1, seconds = -1;
    QElapsedTimer clock;
    QObject::connect(dialog.totalBox(), &QLineEdit::textChanged, [&] {
        ++updates;
        shownEarly = shownEarly || (dialog.isVisible() && dialog.listing());
    });
    QObject::connect(&dialog, &frmConvertStart::listFinished, [&] {
        seconds = clock.nsecsElapsed() / 1e9;
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    });
    // The first event of the modal loop: the window is on screen.
    QTimer::singleShot(0, &dialog, [&] { shownAfter = dialog.isVisible() ? clock.nsecsElapsed() / 1e9 : -1; });
    clock.start();
    dialog.Load();
    dialog.exec();
    std::printf("listed=%d seconds=%.3f shown_after=%.3f shown_early=%d updates=%d total=\"%s\"\n",
                dialog.list()->topLevelItemCount(), seconds, shownAfter, shownEarly ? 1 : 0, updates,
                qPrintable(dialog.totalBox()->text()));
    dialog.close();
    w.SetDirty(false);
    return 0;
}
