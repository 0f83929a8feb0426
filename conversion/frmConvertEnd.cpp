#include "conversion/frmConvertEnd.h"

#include "conversion/ConversionResources.h"
#include "conversion/ReportLog.h"
#include "conversion/ReportView.h"
#include "conversion/RunHistory.h"
#include "data/ErrorTrap.h"
#include "util/core/AppInfo.h"
#include "util/core/Prompt.h"
#include "util/widgets/FormTools.h"
#include "util/widgets/ListViewTools.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmConvertEnd");
} // namespace

frmConvertEnd::frmConvertEnd(QWidget *parentWindow) : QDialog(parentWindow)
{
    conversion::setUpDialog(this, QStringLiteral("frmConvertEnd"), tr("Raport Conversie"), 21);
    resize(720, 440);

    imgToLeiNoi = conversion::makeDirectionImage(this, true);
    imgToLeiVechi = conversion::makeDirectionImage(this, false);
    mView = new ReportView(this);
    mView->setObjectName(QStringLiteral("report"));
    const ReportView::Buttons buttons = mView->addButtons(this);
    cmdSave = buttons.save;
    cmdSavePdf = buttons.savePdf;
    cmdPrint = buttons.print;
    cmdCancel = buttons.close;

    mView->topRow()->insertWidget(0, imgToLeiVechi, 0, Qt::AlignTop);
    mView->topRow()->insertWidget(0, imgToLeiNoi, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mView);

    // Tab in reading order; the lists, moved into the pages, would otherwise
    // keep the focus from the buttons.
    const QList<QWidget *> order = mView->tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    connect(cmdSave, &QPushButton::clicked, this, &frmConvertEnd::cmdSave_Click);
    connect(cmdSavePdf, &QPushButton::clicked, this, &frmConvertEnd::cmdSavePdf_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmConvertEnd::cmdPrint_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmConvertEnd::cmdCancel_Click);
}

QPlainTextEdit *frmConvertEnd::titleBox() const { return mView->titleBox(); }
QPlainTextEdit *frmConvertEnd::totalBox() const { return mView->totalBox(); }
QTreeWidget *frmConvertEnd::list() const { return mView->list(); }
QTreeWidget *frmConvertEnd::totalsList() const { return mView->totalsList(); }
QTabWidget *frmConvertEnd::tabs() const { return mView->tabs(); }

void frmConvertEnd::setPrintedRun(const QString &projectFile, const QString &options)
{
    mProjectFile = projectFile;
    mOptions = options;
}

conversion::PrintedRun frmConvertEnd::printedRun() const
{
    return {mProjectFile, ToLeiNoi, history::currentUser(), history::currentComputer(), mOptions};
}

void frmConvertEnd::Load()
{
    fgTrap(kModule, QStringLiteral("Form_Load"), [&] {
        pgLoadFormSettings(this);
        conversion::showDirection(this, imgToLeiNoi, imgToLeiVechi, ToLeiNoi);
        setWindowTitle(conversion::directionTitle(ToLeiNoi, mLog.changeover()));
    });
}

void frmConvertEnd::ConvertStart()
{
    fgTrap(kModule, QStringLiteral("ConvertStart"), [&] { mLog.ConvertStart(); });
}

void frmConvertEnd::AddField(const QString &pstrDataSource, const QString &pstrTableName,
                             const QString &pstrFieldName, qint32 plngRecCount, const QString &pstrError,
                             const QString &pstrNote)
{
    fgTrap(kModule, QStringLiteral("AddField"), [&] {
        mLog.AddField(pstrDataSource, pstrTableName, pstrFieldName, plngRecCount, pstrError, pstrNote);
    });
}

void frmConvertEnd::AddSourceSkipped(const QString &pstrDataSource, const QString &pstrReason,
                                     qint32 plngFieldCount)
{
    fgTrap(kModule, QStringLiteral("AddSourceSkipped"),
           [&] { mLog.AddSourceSkipped(pstrDataSource, pstrReason, plngFieldCount); });
}

void frmConvertEnd::ConvertEnd(const QString &pstrEndStatus)
{
    fgTrap(kModule, QStringLiteral("ConvertEnd"), [&] {
        mLog.ConvertEnd(pstrEndStatus);
        mView->showLog(mLog, ToLeiNoi);
    });
}

void frmConvertEnd::AddFieldTotals(const conversion::FieldTotals &totals)
{
    fgTrap(kModule, QStringLiteral("AddFieldTotals"), [&] { mLog.AddFieldTotals(totals); });
}

void frmConvertEnd::cmdSave_Click()
{
    fgTrap(kModule, QStringLiteral("cmdSave_Click"), [&] { reportfile::saveText(mLog, this); });
}

void frmConvertEnd::cmdSavePdf_Click()
{
    fgTrap(kModule, QStringLiteral("cmdSavePdf_Click"), [&] { reportfile::savePdf(mLog, printedRun(), this); });
}

void frmConvertEnd::cmdPrint_Click()
{
    fgTrap(kModule, QStringLiteral("cmdPrint_Click"), [&] { reportfile::print(mLog, printedRun(), this); });
}

void frmConvertEnd::cmdCancel_Click()
{
    fgTrap(kModule, QStringLiteral("cmdCancel_Click"), [&] { accept(); });
}

void frmConvertEnd::done(int result)
{
    if (!mSettingsSaved) {
        mSettingsSaved = true;
        fgTrap(kModule, QStringLiteral("Form_Unload"), [&] { pgSaveFormSettings(this); });
    }
    QDialog::done(result);
}
