#pragma once

#include "conversion/ReportLog.h"
#include "conversion/ReportPrint.h"

#include <QWidget>

class QHBoxLayout;
class QPushButton;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;

// What the report of one run shows: its title (times, end status), a page of
// its fields and, when the run read them, a page of its control totals, and
// its totals line. Used by the report window at the end of a run and by the
// history window for a recorded run.
class ReportView : public QWidget {
    Q_OBJECT
public:
    explicit ReportView(QWidget *parent = nullptr);

    // Shows `log`, the report of a run in the direction `toLeiNoi`.
    void showLog(const conversion::ReportLog &log, bool toLeiNoi);
    // Shows nothing.
    void clear();

    // Where a window puts what stands beside the title (the direction's
    // picture) and beside the totals line (its buttons).
    QHBoxLayout *topRow() const { return mTop; }
    QHBoxLayout *bottomRow() const { return mBottom; }
    // The buttons of a window that shows a report, beside its totals line:
    // Salveaza..., Salveaza PDF..., Tipareste..., Inchide.
    struct Buttons {
        QPushButton *save, *savePdf, *print, *close;
    };
    Buttons addButtons(QWidget *window);
    // The view's widgets in reading order, its buttons last, for the
    // window's Tab order.
    QList<QWidget *> tabOrder() const;

    QPlainTextEdit *titleBox() const { return txtTitle; }
    QPlainTextEdit *totalBox() const { return txtTotal; }
    QTreeWidget *list() const { return lsv; }
    QTreeWidget *totalsList() const { return lsvTotals; }
    QTabWidget *tabs() const { return tabLists; }

private:
    void fillTotals(const conversion::ReportLog &log, bool toLeiNoi);

    QPlainTextEdit *txtTitle;
    QTreeWidget *lsv;
    QTabWidget *tabLists;
    QTreeWidget *lsvTotals;
    QPlainTextEdit *txtTotal;
    QHBoxLayout *mTop;
    QHBoxLayout *mBottom;
    QList<QWidget *> mButtons;
};

// The commands on a report that the report and history windows share; each
// asks what it needs (a file name, a printer) and throws with the reason
// when the report cannot be written.
namespace reportfile {
// Asks a file name and writes the report as text.
void saveText(const conversion::ReportLog &log, QWidget *parent);
// Asks a file name and writes the report as PDF.
void savePdf(const conversion::ReportLog &log, const conversion::PrintedRun &run, QWidget *parent);
// Asks for a printer and prints the report on it.
void print(const conversion::ReportLog &log, const conversion::PrintedRun &run, QWidget *parent);
} // namespace reportfile
