#include "conversion/frmHistory.h"

#include "conversion/ConversionResources.h"
#include "conversion/HistoryReport.h"
#include "conversion/ReportView.h"
#include "data/ErrorTrap.h"
#include "util/widgets/FormTools.h"
#include "util/widgets/ListViewTools.h"

#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmHistory");

QString when(const QDateTime &time)
{
    using conversion::ReportLog;
    return time.isValid() ? ReportLog::formatTime(time, ReportLog::Dates::Shown) : QStringLiteral("-");
}
} // namespace

frmHistory::frmHistory(QWidget *parentWindow) : QDialog(parentWindow)
{
    conversion::setUpDialog(this, QStringLiteral("frmHistory"), tr("Istoric conversii"), 23);
    resize(820, 560);

    lsvRuns = new QTreeWidget(this);
    lsvRuns->setObjectName(QStringLiteral("lsvRuns"));
    pgMakeReportList(lsvRuns);
    lsvRuns->setHeaderLabels({tr("Nr."), tr("Inceput"), tr("Sfarsit"), tr("Utilizator"), tr("Calculator"),
                              tr("Directie"),
                              //: Column: how many fields the run converted.
                              tr("Convertite"),
                              //: Column: how many fields failed to convert.
                              tr("Esuate"), tr("Stare"), tr("Optiuni")});
    lblEmpty = new QLabel(tr("Proiectul nu are nicio conversie inregistrata."), this);
    lblEmpty->setObjectName(QStringLiteral("lblEmpty"));
    lblEmpty->setVisible(false);
    mView = new ReportView(this);
    mView->setObjectName(QStringLiteral("report"));

    const ReportView::Buttons buttons = mView->addButtons(this);
    cmdSave = buttons.save;
    cmdSavePdf = buttons.savePdf;
    cmdPrint = buttons.print;
    cmdCancel = buttons.close;

    auto *top = new QWidget(this);
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(lsvRuns, 1);
    topLayout->addWidget(lblEmpty);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("split"));
    split->setChildrenCollapsible(false);
    split->addWidget(top);
    split->addWidget(mView);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split);

    const QList<QWidget *> order = QList<QWidget *>{lsvRuns} + mView->tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    connect(lsvRuns, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        fgTrap(kModule, QStringLiteral("lsvRuns_ItemClick"),
               [&] { showRun(item ? item->data(0, Qt::UserRole).toInt() : -1); });
    });
    connect(cmdSave, &QPushButton::clicked, this, &frmHistory::cmdSave_Click);
    connect(cmdSavePdf, &QPushButton::clicked, this, &frmHistory::cmdSavePdf_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmHistory::cmdPrint_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmHistory::cmdCancel_Click);
}

void frmHistory::Load(db::Connection &project, const QString &projectFile)
{
    fgTrap(kModule, QStringLiteral("Form_Load"), [&] {
        pgLoadFormSettings(this);
        mProjectFile = projectFile;
        mChangeover = Changeover::of(project);
        mRuns = history::readHistory(project);
        lsvRuns->clear();
        for (qsizetype i = 0; i < mRuns.size(); ++i) {
            const history::RunEntry &run = mRuns.at(i);
            auto *item = new QTreeWidgetItem(
                lsvRuns, {QString::number(i + 1), when(run.started), when(run.ended), run.user, run.computer,
                          history::directionText(run), QString::number(run.converted()),
                          QString::number(run.failed()), history::statusText(run), run.options});
            item->setData(0, Qt::UserRole, static_cast<int>(i));
            for (int column : {0, 6, 7})
                item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
            // A run that did not end by itself stands out.
            if (!run.status.isEmpty())
                item->setForeground(8, run.status == history::kInterrupted ? Qt::red : Qt::darkYellow);
        }
        pgWideListView(lsvRuns, 0, -1);
        lblEmpty->setVisible(mRuns.isEmpty());
        showRun(-1);
        if (!mRuns.isEmpty())
            lsvRuns->setCurrentItem(lsvRuns->topLevelItem(lsvRuns->topLevelItemCount() - 1));
    });
}

void frmHistory::showRun(int index)
{
    mShown = index >= 0 && index < mRuns.size() ? index : -1;
    mLog = conversion::ReportLog();
    for (QPushButton *b : {cmdSave, cmdSavePdf, cmdPrint})
        b->setEnabled(mShown >= 0);
    if (mShown < 0) {
        mView->clear();
        return;
    }
    const history::RunEntry &run = mRuns.at(mShown);
    history::reportOf(run, mChangeover, mLog);
    mView->showLog(mLog, run.toLeiNoi);
}

conversion::PrintedRun frmHistory::printedRun() const
{
    if (mShown < 0)
        return {};
    const history::RunEntry &run = mRuns.at(mShown);
    return {mProjectFile, run.toLeiNoi, run.user, run.computer, run.options};
}

void frmHistory::cmdSave_Click()
{
    fgTrap(kModule, QStringLiteral("cmdSave_Click"), [&] {
        if (mShown >= 0)
            reportfile::saveText(mLog, this);
    });
}

void frmHistory::cmdSavePdf_Click()
{
    fgTrap(kModule, QStringLiteral("cmdSavePdf_Click"), [&] {
        if (mShown >= 0)
            reportfile::savePdf(mLog, printedRun(), this);
    });
}

void frmHistory::cmdPrint_Click()
{
    fgTrap(kModule, QStringLiteral("cmdPrint_Click"), [&] {
        if (mShown >= 0)
            reportfile::print(mLog, printedRun(), this);
    });
}

void frmHistory::cmdCancel_Click()
{
    fgTrap(kModule, QStringLiteral("cmdCancel_Click"), [&] { accept(); });
}

void frmHistory::done(int result)
{
    if (!mSettingsSaved) {
        mSettingsSaved = true;
        fgTrap(kModule, QStringLiteral("Form_Unload"), [&] { pgSaveFormSettings(this); });
    }
    QDialog::done(result);
}
