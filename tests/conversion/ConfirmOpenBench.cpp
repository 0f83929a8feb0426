// Times the confirmation window of a conversion (to new lei unless "vechi"
// is given) on a project opened in the real main window, offscreen: from the
// window's show (the way a modal show starts it) to the complete list.
//
//   confirm_open_bench PROJECT.vmd [noi|vechi]
//
// Prints one line: listed=N seconds=S shown_early=0|1 updates=N total="...".
// The program folder (VAMOR_HOME) should be a temporary folder.
#include "app/frmMain.h"
#include "conversion/frmConvertStart.h"
#include "tests/support/OpenThroughStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
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

    frmConvertStart dialog(&w);
    dialog.ToLeiNoi = toLeiNoi;
    bool shownEarly = false;
    int updates = 0;
    QObject::connect(dialog.totalBox(), &QLineEdit::textChanged, [&] {
        ++updates;
        shownEarly = shownEarly || dialog.isVisible();
    });
    QElapsedTimer clock;
    clock.start();
    // What a modal show does before it polishes the window.
    dialog.setAttribute(Qt::WA_ShowModal, true);
    dialog.show();
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("listed=%d seconds=%.3f shown_early=%d updates=%d total=\"%s\"\n", dialog.list()->topLevelItemCount(),
                seconds, shownEarly ? 1 : 0, updates, qPrintable(dialog.totalBox()->text()));
    dialog.close();
    w.SetDirty(false);
    return 0;
}
