// Times the opening of a project in the real main window, offscreen: from
// the choice of the file in the start dialog to the filled tree.
//
//   tree_load_bench PROJECT.vmd
//
// Prints one line: sources=N tables=N seconds=S. The program folder
// (VAMOR_HOME) should be a temporary folder: the working copy goes there.
#include "app/frmMain.h"
#include "tests/support/OpenThroughStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROJECT.vmd\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    testsupport::openThroughStartDialog(QString::fromLocal8Bit(argv[1]));
    frmMain w;
    QElapsedTimer clock;
    clock.start();
    w.pOpen(false);
    int tables = 0;
    for (int i = 0; i < w.trv->topLevelItemCount(); ++i)
        tables += w.trv->topLevelItem(i)->childCount();
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("sources=%d tables=%d seconds=%.3f\n", w.trv->topLevelItemCount(), tables, seconds);
    w.SetDirty(false);
    return w.trv->topLevelItemCount() > 0 ? 0 : 1;
}
