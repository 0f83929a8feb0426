#include "discovery/frmDiscover.h"

#include "conversion/OffThread.h"
#include "data/ErrorTrap.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "conversion/EngineSupport.h"
#include "data/db/DbError.h"
#include "data/db/StopSignal.h"
#include "datasources/ConnStrings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kModule = QStringLiteral("frmDiscover");

enum Column { ColTable, ColField, ColType, ColRows, ColFilled, ColMin, ColMax, ColExamples, ColEvidence };

} // namespace

frmDiscover::frmDiscover(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDiscover"));
    setWindowTitle(tr("Cauta sume"));
    setProperty("HelpContextID", 22);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblProgress = new QLabel(this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    prg = new QProgressBar(this);
    prg->setObjectName(QStringLiteral("prg"));
    prg->setTextVisible(false);
    prg->setMaximumWidth(200);
    cmdStop = new QPushButton(tr("Opreste"), this);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    auto *lblFilter = new QLabel(tr("Filtru (tabel sau camp):"), this);
    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setClearButtonEnabled(true);
    lblFilter->setBuddy(txtFilter);
    lsv = new QTreeWidget(this);
    lsv->setObjectName(QStringLiteral("lsv"));
    lsv->setRootIsDecorated(false);
    lsv->setUniformRowHeights(true);
    lsv->setAlternatingRowColors(true);
    lsv->setHeaderLabels({tr("Tabel"), tr("Camp"),
                          //: The column's data type
                          tr("Tip"),
                          //: Number of rows of the table
                          tr("Inregistrari"),
                          //: Number of rows with a value in the column
                          tr("Completate"), tr("Minim"), tr("Maxim"), tr("Exemple"),
                          //: Evidence for and against the column holding money
                          tr("Dovezi")});
    lsv->header()->setStretchLastSection(true);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    cmdOk = new QPushButton(tr("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(tr("Abandoneaza"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(lblProgress, 1);
    progressRow->addWidget(prg);
    progressRow->addWidget(cmdStop);
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(lblFilter);
    filterRow->addWidget(txtFilter, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(progressRow);
    layout->addLayout(filterRow);
    layout->addWidget(lsv, 1);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);
    resize(1120, 560);

    connect(cmdStop, &QPushButton::clicked, this, [this] {
        if (mStop && mReading) {
            lblProgress->setText(tr("Se opreste citirea..."));
            mStop->stop();
        }
    });
    connect(txtFilter, &QLineEdit::textChanged, this, [this] { pApplyFilter(); });
    connect(lsv, &QTreeWidget::itemChanged, this, [this] { pCountTicked(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
}

frmDiscover::~frmDiscover() = default;

QString frmDiscover::status() const { return lblProgress->text() + QLatin1Char('\n') + lblStatus->text(); }

bool frmDiscover::event(QEvent *event)
{
    if (event->type() == QEvent::Polish && !mStarted) {
        mStarted = true;
        // Busy until the list is read; the reading begins once the window
        // is on its way to the screen, and shows itself as it goes.
        setProperty("busy", true);
        QTimer::singleShot(0, this, [this] { pRead(); });
    }
    return QDialog::event(event);
}

void frmDiscover::closeEvent(QCloseEvent *event)
{
    if (mReading) {
        // The reading stops at its next statement; the window closes then.
        mClosing = true;
        if (mStop)
            mStop->stop();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmDiscover::reject()
{
    if (mReading) {
        mClosing = true;
        if (mStop)
            mStop->stop();
        return;
    }
    QDialog::reject();
}

void frmDiscover::pRead()
{
    mReading = true;
    cmdOk->setEnabled(false);
    cmdStop->setEnabled(true);
    lsv->setEnabled(false);
    lblProgress->setText(tr("Se citeste lista tabelelor..."));
    QString failure;
    try {
        db::Connection &project = projectConn();
        for (const discovery::ProjectSource &source : discovery::projectSources(project))
            if (source.idConn == IdConn)
                mSource = source;
        setWindowTitle(tr("Cauta sume - %1").arg(mSource.description));
        const QString connString = buildConnString(project, IdConn);
        if (connString.isEmpty())
            throw db::DbError(db::E_FAIL, tr("sursa de date nu are sir de conectare"));
        const discovery::KnownTables known = discovery::knownTables(project, IdConn);
        mStop = std::make_shared<db::StopSignal>();
        discovery::ReadProgress progress;
        progress.step = [this](int done, int total, const QString &table) {
            QMetaObject::invokeMethod(
                this,
                [this, done, total, table] {
                    prg->setMaximum(std::max(1, total));
                    prg->setValue(done);
                    if (!table.isEmpty() && !mStop->stopped())
                        lblProgress->setText(tr("Se citeste tabelul %1 din %2: %3")
                                                 .arg(QString::number(done + 1), QString::number(total), table));
                },
                Qt::QueuedConnection);
        };
        progress.stopped = [stop = mStop] { return stop->stopped(); };
        const qint32 type = mSource.idConnType;
        discovery::SourceFindings found;
        conversion::runOffThread(
            [&] {
                db::Connection user;
                user.open(connString);
                found = discovery::readSource(user, type, known, progress);
            },
            mStop);
        mFound = std::move(found);
    } catch (const std::exception &e) {
        failure = conversion::detail::errorText(e);
    }
    // The progress the reading posted and that is not shown yet comes
    // first: it must not cover what follows.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    mReading = false;
    setProperty("busy", false);
    cmdStop->setEnabled(false);
    if (mClosing) {
        QDialog::reject();
        return;
    }
    lsv->setEnabled(true);
    cmdOk->setEnabled(failure.isEmpty());
    if (!failure.isEmpty()) {
        lblProgress->setText(tr("Sursa de date nu a putut fi citita: %1").arg(failure));
        return;
    }
    lblProgress->setText(mFound.stopped ? tr("Citirea a fost oprita: lista are doar tabelele citite pana atunci.")
                                        : tr("Citire terminata: %n tabele.", nullptr, mFound.tablesRead));
    prg->setValue(prg->maximum());
    pFill();
}

void frmDiscover::pFill()
{
    const QSignalBlocker quiet(lsv);
    lsv->clear();
    QList<QTreeWidgetItem *> items;
    for (qsizetype i = 0; i < mFound.columns.size(); ++i) {
        const discovery::Finding &f = mFound.columns.at(i);
        QString evidence = f.verdict.evidenceText(true);
        if (f.recovery)
            evidence = tr("coloana de restaurare");
        else if (f.inProject)
            evidence = tr("deja in proiect; %1").arg(evidence);
        auto *item = new QTreeWidgetItem(
            QStringList{f.facts.table, f.facts.column, f.facts.typeName,
                        f.rows < 0 ? QStringLiteral("?") : QString::number(f.rows), QString::number(f.facts.filled),
                        f.facts.minValue, f.facts.maxValue, f.facts.examples.join(QStringLiteral("; ")), evidence});
        item->setData(ColTable, Qt::UserRole, static_cast<qlonglong>(i));
        item->setToolTip(ColEvidence, evidence);
        item->setToolTip(ColExamples, item->text(ColExamples));
        for (int c : {ColRows, ColFilled, ColMin, ColMax})
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        if (f.inProject || f.recovery)
            item->setDisabled(true);
        else
            item->setCheckState(ColTable, f.proposed() ? Qt::Checked : Qt::Unchecked);
        items.append(item);
    }
    lsv->addTopLevelItems(items);
    for (int c = ColTable; c < ColEvidence; ++c)
        lsv->resizeColumnToContents(c);
    // The evidence stays in sight: long examples are cut (their tooltip
    // shows them whole).
    lsv->setColumnWidth(ColExamples, std::min(lsv->columnWidth(ColExamples), 170));
    for (int c : {ColMin, ColMax})
        lsv->setColumnWidth(c, std::min(lsv->columnWidth(c), 120));
    pApplyFilter();
    pCountTicked();
}

void frmDiscover::pApplyFilter()
{
    const QString text = txtFilter->text().trimmed();
    for (int i = 0; i < lsv->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lsv->topLevelItem(i);
        item->setHidden(!text.isEmpty() && !item->text(ColTable).contains(text, Qt::CaseInsensitive)
                        && !item->text(ColField).contains(text, Qt::CaseInsensitive));
    }
}

void frmDiscover::pCountTicked()
{
    int proposed = 0, ticked = 0;
    QSet<QString> tables;
    for (const discovery::Finding &f : mFound.columns) {
        tables.insert(f.facts.table);
        proposed += f.proposed() ? 1 : 0;
    }
    for (int i = 0; i < lsv->topLevelItemCount(); ++i)
        ticked += lsv->topLevelItem(i)->checkState(ColTable) == Qt::Checked ? 1 : 0;
    //: %n numeric columns in %1 tables; %2 of them proposed, %3 ticked
    QString text = tr("%n coloane numerice in %1 tabele; %2 propuse, %3 bifate.", nullptr,
                      static_cast<int>(mFound.columns.size()))
                       .arg(QString::number(tables.size()), QString::number(proposed), QString::number(ticked));
    if (!mFound.failures.isEmpty()) {
        QStringList names;
        for (const discovery::TableFailure &failure : mFound.failures)
            names.append(failure.table + QStringLiteral(" (") + failure.message + QLatin1Char(')'));
        text += QLatin1Char(' ') + tr("Tabele care nu au putut fi citite: %1.").arg(names.join(QStringLiteral(", ")));
    }
    lblStatus->setText(text);
}

void frmDiscover::cmdOk_Click()
{
    fgTrap(kModule, QStringLiteral("cmdOk_Click"), [&] {
        QList<discovery::Finding> chosen;
        for (int i = 0; i < lsv->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = lsv->topLevelItem(i);
            if (item->checkState(ColTable) == Qt::Checked)
                chosen.append(mFound.columns.at(item->data(ColTable, Qt::UserRole).toLongLong()));
        }
        added = discovery::addToProject(projectConn(), IdConn, chosen);
        Ok = true;
        accept();
    });
}
