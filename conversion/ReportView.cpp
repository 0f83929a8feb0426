#include "conversion/ReportView.h"

#include "conversion/ControlTotals.h"
#include "data/db/DbError.h"
#include "util/core/AppInfo.h"
#include "util/core/Prompt.h"
#include "util/widgets/ListViewTools.h"
#include "util/widgets/ModalDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPlainTextEdit *makeTextBox(QWidget *parent, const char *name, int lines)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setTabChangesFocus(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    const int lineHeight = box->fontMetrics().lineSpacing();
    box->setFixedHeight(lineHeight * lines + 2 * box->frameWidth() + 8);
    return box;
}

} // namespace

ReportView::ReportView(QWidget *parent) : QWidget(parent)
{
    txtTitle = makeTextBox(this, "txtTitle", 3);
    lsv = new QTreeWidget(this);
    lsv->setObjectName(QStringLiteral("lsv"));
    pgMakeReportList(lsv);
    lsv->setHeaderLabels(
        {tr("Sursa Date"), tr("Tabel"), tr("Camp"), tr("Numar Inregistrari"), tr("Eroare"), tr("Observatii")});
    lsv->setIconSize(QSize(16, 16));
    // The control totals beside the rows: a second page of the same place.
    lsvTotals = new QTreeWidget(this);
    lsvTotals->setObjectName(QStringLiteral("lsvTotals"));
    pgMakeReportList(lsvTotals);
    tabLists = new QTabWidget(this);
    tabLists->setObjectName(QStringLiteral("tabLists"));
    tabLists->addTab(lsv, tr("Campuri"));
    tabLists->addTab(lsvTotals, tr("Totaluri de control"));
    tabLists->setTabVisible(1, false);
    tabLists->tabBar()->setVisible(false); // one page: the list as it always was
    // The pages are reached through the lists themselves and, when there are
    // two, the tab bar; the tab widget, whose focus would go to a hidden bar,
    // takes none.
    tabLists->setFocusPolicy(Qt::NoFocus);
    txtTotal = makeTextBox(this, "txtTotal", 3);

    mTop = new QHBoxLayout;
    mTop->addWidget(txtTitle, 1);
    mBottom = new QHBoxLayout;
    mBottom->addWidget(txtTotal, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(mTop);
    layout->addWidget(tabLists, 1);
    layout->addLayout(mBottom);
}

ReportView::Buttons ReportView::addButtons(QWidget *window)
{
    const auto button = [window](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, window);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    const Buttons buttons{button(tr("Salveaza..."), "cmdSave"), button(tr("Salveaza PDF..."), "cmdSavePdf"),
                          button(tr("Tipareste..."), "cmdPrint"), button(tr("Inchide"), "cmdCancel")};
    auto *column = new QVBoxLayout;
    for (QPushButton *b : {buttons.save, buttons.savePdf, buttons.print, buttons.close}) {
        column->addWidget(b);
        mButtons.append(b);
    }
    mBottom->addLayout(column);
    return buttons;
}

QList<QWidget *> ReportView::tabOrder() const
{
    return QList<QWidget *>{txtTitle, tabLists->tabBar(), lsv, lsvTotals, txtTotal} + mButtons;
}

void ReportView::clear()
{
    txtTitle->clear();
    txtTotal->clear();
    lsv->clear();
    lsvTotals->clear();
    tabLists->setTabVisible(1, false);
    tabLists->tabBar()->setVisible(false);
}

void ReportView::showLog(const conversion::ReportLog &log, bool toLeiNoi)
{
    lsv->clear();
    for (const conversion::ReportLog::Row &row : log.rows()) {
        const bool ok = row.error.isEmpty();
        auto *item = new QTreeWidgetItem(lsv, {row.dataSource, row.tableName, row.fieldName,
                                               QString::number(row.recCount), row.error, row.note});
        item->setIcon(0, QIcon(ok ? QStringLiteral(":/conversion/ok.svg") : QStringLiteral(":/conversion/err.svg")));
        item->setData(0, Qt::UserRole, ok ? QStringLiteral("ok") : QStringLiteral("err"));
    }
    txtTitle->setPlainText(log.titleLines(conversion::ReportLog::Dates::Shown).join(QLatin1Char('\n')));
    txtTotal->setPlainText(log.totalLines().join(QLatin1Char('\n')));
    pgWideListView(lsv, 0, -1);
    fillTotals(log, toLeiNoi);
}

void ReportView::fillTotals(const conversion::ReportLog &log, bool toLeiNoi)
{
    using Row = conversion::ReportLog::TotalsRow;
    lsvTotals->clear();
    const QList<Row> rows = log.totalsRows();
    tabLists->setTabVisible(1, !rows.isEmpty());
    tabLists->tabBar()->setVisible(!rows.isEmpty());
    if (rows.isEmpty())
        return;
    const QStringList amounts = conversion::totalsHeader(toLeiNoi, log.changeover());
    lsvTotals->setHeaderLabels(QStringList{tr("Sursa Date"), tr("Tabel"), tr("Camp")} + amounts);
    const int remarkColumn = static_cast<int>(amounts.size()) + 2;
    const QString differs = conversion::restoreCheckText(false, false);
    for (const Row &row : rows) {
        auto *item = new QTreeWidgetItem(lsvTotals, QStringList{row.dataSource, row.tableName, row.fieldName}
                                                        + row.values);
        for (int column = 3; column < remarkColumn; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        if (row.kind != Row::Kind::Field) {
            QFont bold = item->font(0);
            bold.setBold(true);
            for (int column = 0; column <= remarkColumn; ++column)
                item->setFont(column, bold);
            if (row.kind == Row::Kind::Run)
                //: The row that sums the whole run.
                item->setText(0, tr("Total"));
        }
        // A restore whose sum differs from the old one stands out; the check
        // column holds the text the totals wrote for it, in the user's language.
        if (!toLeiNoi && row.values.value(3) == differs)
            item->setForeground(3, Qt::red);
    }
    pgWideListView(lsvTotals, 0, -1);
}

namespace reportfile {

namespace {
QString askFile(const QString &title, const QString &filter)
{
    ui::FileRequest request;
    request.title = title;
    request.filter = filter;
    request.initialDir = fgAppPath();
    request.confirmOverwrite = true;
    return ui::getSaveFileName(request);
}

// The save dialog's filter: files of one kind, then all files.
QString fileFilter(const QString &kind, const QString &pattern)
{
    return QStringLiteral("%1 (%2)|%2|%3 (*.*)|*.*")
        .arg(kind, pattern, QCoreApplication::translate("ReportView", "Toate Fisierele"));
}
} // namespace

void saveText(const conversion::ReportLog &log, QWidget *)
{
    const QString fileName = askFile(QCoreApplication::translate("ReportView", "Salveaza raport conversie"),
                                     fileFilter(QCoreApplication::translate("ReportView", "Fisiere Text"),
                                                QStringLiteral("*.txt")));
    if (!fileName.isEmpty())
        log.saveToFile(fileName);
}

void savePdf(const conversion::ReportLog &log, const conversion::PrintedRun &run, QWidget *)
{
    QString fileName = askFile(QCoreApplication::translate("ReportView", "Salveaza raport conversie ca PDF"),
                               fileFilter(QCoreApplication::translate("ReportView", "Fisiere PDF"),
                                          QStringLiteral("*.pdf")));
    if (fileName.isEmpty())
        return;
    conversion::saveReportPdf(log, run, fileName);
}

void print(const conversion::ReportLog &log, const conversion::PrintedRun &run, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    conversion::setReportPageLayout(printer);
    printer.setDocName(QCoreApplication::translate("ReportView", "Raport conversie"));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QCoreApplication::translate("ReportView", "Tipareste raportul conversiei"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (ui::showModal(dialog) != QDialog::Accepted)
        return;
    conversion::paintReport(log, run, printer);
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        throw db::DbError(db::E_FAIL, QCoreApplication::translate("ReportView", "Raportul nu a putut fi tiparit la \"%1\".")
                                          .arg(printer.printerName()));
}

} // namespace reportfile
