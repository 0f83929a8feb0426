#pragma once

#include "conversion/ReportLog.h"

class QPagedPaintDevice;

// The report of a run laid out on pages, for a PDF file or a printer: a
// title naming the project, the direction, the changeover, the times, the
// user and the computer; the fields; the control totals per field, per data
// source and for the run; a line for the signature of the person
// responsible; page numbers. Amounts are the report's exact texts, aligned
// by their decimal point.
namespace conversion {

// What the printed report says of its run beyond the report itself.
struct PrintedRun {
    QString projectFile;
    bool toLeiNoi = true;
    QString user, computer;
    QString options; // the run's options ("--no-totals"); "" for none
};

// A4 landscape with margins of 12 mm: the layout the report is made for.
// A printer gets it before its dialog is shown, so that the user may still
// change it.
void setReportPageLayout(QPagedPaintDevice &device);
// Draws the report on the pages of `device`, in the device's own page
// layout. Returns the number of pages.
int paintReport(const ReportLog &log, const PrintedRun &run, QPagedPaintDevice &device);
// Writes the report as a PDF file, replacing `path` whole once the file is
// complete. Throws DbError with the reason when it cannot be written.
void saveReportPdf(const ReportLog &log, const PrintedRun &run, const QString &path);
// Whether a report file is to be written as PDF (by its extension).
bool isPdfPath(const QString &path);

// The state a field's row is left in: "convertit in RON" / "ramas in ROL".
QString fieldStateText(bool toLeiNoi, const Changeover &changeover, bool failed);

} // namespace conversion
