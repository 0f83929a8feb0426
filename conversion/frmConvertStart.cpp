#include "conversion/frmConvertStart.h"

#include "conversion/ConversionListing.h"
#include "conversion/ConversionResources.h"
#include "conversion/ReportLog.h"
#include "data/ErrorTrap.h"
#include "data/ProjectHost.h"
#include "data/db/StopSignal.h"
#include "util/widgets/FormTools.h"
#include "util/widgets/ListViewTools.h"
#include "util/widgets/WaitDialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <QMetaObject>
#include <QTimer>

namespace {
const QString kModule = QStringLiteral("frmConvertStart");
} // namespace

frmConvertStart::frmConvertStart(QWidget *parentWindow) : QDialog(parentWindow)
{
    conversion::setUpDialog(this, QStringLiteral("frmConvertStart"), tr("Confirmare Conversie"), 8);
    resize(520, 380);

    imgToLeiNoi = conversion::makeDirectionImage(this, true);
    imgToLeiVechi = conversion::makeDirectionImage(this, false);

    txtTitle = new QLineEdit(this);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    txtTitle->setReadOnly(true);
    lsv = new QTreeWidget(this);
    lsv->setObjectName(QStringLiteral("lsv"));
    pgMakeReportList(lsv);
    lsv->setHeaderLabels({tr("Sursa Date"), tr("Tabel"), tr("Camp"), tr("Observatii")});
    pgWideListView(lsv, 0, -1); // every heading readable while the list fills
    lblWait = new QLabel(this);
    lblWait->setObjectName(QStringLiteral("lblWait"));
    lblWait->hide();
    txtTotal = new QLineEdit(this);
    txtTotal->setObjectName(QStringLiteral("txtTotal"));
    txtTotal->setReadOnly(true);
    // The whole line stays readable, in every language: the box widens
    // (and the window with it) to what it says.
    connect(txtTotal, &QLineEdit::textChanged, this, [this](const QString &text) {
        txtTotal->setMinimumWidth(txtTotal->fontMetrics().horizontalAdvance(text) + 16);
        txtTotal->setCursorPosition(0);
    });
    chkTotals = new QCheckBox(tr("Totaluri de control"), this);
    chkTotals->setObjectName(QStringLiteral("chkTotals"));
    chkTotals->setChecked(true);
    chkTotals->setToolTip(tr("Baza de date aduna sumele inainte si dupa conversie, pentru fiecare camp "
                             "(o citire in plus a randurilor)"));
    cmdOk = new QPushButton(tr("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = new QPushButton(tr("Renunta"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter never starts a conversion: no button is the default, whatever
    // has the focus. Ok takes a click, Space on it, or Alt+O.
    for (QPushButton *button : {cmdOk, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto *okShortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_O), this);
    connect(okShortcut, &QShortcut::activated, cmdOk, &QPushButton::click);

    auto *top = new QHBoxLayout;
    top->addWidget(imgToLeiNoi);
    top->addWidget(imgToLeiVechi);
    top->addWidget(txtTitle, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(txtTotal, 1);
    bottom->addWidget(chkTotals);
    bottom->addWidget(cmdOk);
    bottom->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lsv, 1);
    layout->addWidget(lblWait);
    layout->addLayout(bottom);

    connect(cmdOk, &QPushButton::clicked, this, &frmConvertStart::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmConvertStart::cmdCancel_Click);
}

bool frmConvertStart::event(QEvent *event)
{
    // Polishing comes before the modal show: the list is filled then, the way
    // loading fills it before the dialog appears.
    if (event->type() == QEvent::Polish && !mLoaded)
        Load();
    return QDialog::event(event);
}

void frmConvertStart::keyPressEvent(QKeyEvent *event)
{
    // A dialog takes Enter for its default button: this one has none, and
    // Enter is kept from reaching it at all.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmConvertStart::Load()
{
    if (mLoaded)
        return;
    mLoaded = true;
    fgTrap(kModule, QStringLiteral("Form_Load"), [&] {
        pgLoadFormSettings(this);
        conversion::showDirection(this, imgToLeiNoi, imgToLeiVechi, ToLeiNoi);
        txtTitle->setText(conversion::directionTitle(ToLeiNoi, Changeover::of(projectConn())));
        pLoad();
    });
}

void frmConvertStart::pLoad()
{
    fgTrap(kModule, QStringLiteral("pLoad"), [&] {
        if (mLister.joinable())
            return;
        // The list fills while the window is on screen: the fields are
        // probed on a thread of their own, and Renunta stops the probe in
        // flight. Ok waits for the complete list.
        db::Connection &project = projectConn();
        setProperty("busy", true);
        cmdOk->setEnabled(false);
        lsv->setCursor(Qt::BusyCursor);
        txtTotal->setText(conversion::probedCountText(0));
        mStop = std::make_shared<db::StopSignal>();
        // Once a step takes more than a moment, the window says what it waits for.
        mWaitTicker = new QTimer(this);
        connect(mWaitTicker, &QTimer::timeout, this, &frmConvertStart::showWait);
        mWaitTicker->start(500);
        mLister = std::thread([this, &project, stop = mStop, toLeiNoi = ToLeiNoi] {
            std::exception_ptr failure;
            {
                const db::StopScope scope(stop);
                try {
                    conversion::listFieldsToConvert(
                        project, toLeiNoi,
                        [this](const conversion::ListedField &f) {
                            QMetaObject::invokeMethod(
                                this,
                                [this, f] {
                                    mPending.append(
                                        new QTreeWidgetItem({f.dataSource, f.tableName, f.fieldName, f.note}));
                                    scheduleFlush();
                                },
                                Qt::QueuedConnection);
                        },
                        [this](int count) {
                            QMetaObject::invokeMethod(
                                this,
                                [this, count] {
                                    mProbed = count;
                                    scheduleFlush();
                                },
                                Qt::QueuedConnection);
                        },
                        [this](const QString &what) {
                            QMetaObject::invokeMethod(
                                this,
                                [this, what] {
                                    mWaitingFor = what;
                                    mWaitingSince.start();
                                    showWait();
                                },
                                Qt::QueuedConnection);
                        });
                } catch (...) {
                    failure = std::current_exception();
                }
            }
            QMetaObject::invokeMethod(this, [this, failure] { listingEnded(failure); }, Qt::QueuedConnection);
        });
    });
}

void frmConvertStart::scheduleFlush()
{
    // Rows go into the list in bulk, a few times a second.
    if (!mFlushPending) {
        mFlushPending = true;
        QTimer::singleShot(150, this, [this] {
            mFlushPending = false;
            flushPending();
        });
    }
}

void frmConvertStart::flushPending()
{
    if (!mPending.isEmpty()) {
        lsv->setUpdatesEnabled(false);
        lsv->addTopLevelItems(mPending);
        lsv->setUpdatesEnabled(true);
        mPending.clear();
    }
    if (mLister.joinable())
        txtTotal->setText(mStopping ? tr("Se opreste verificarea campurilor...")
                                    : conversion::probedCountText(mProbed));
}

void frmConvertStart::showWait()
{
    const qint64 ms = mWaitingSince.isValid() ? mWaitingSince.elapsed() : 0;
    const bool shown = listing() && !mStopping && !mWaitingFor.isEmpty() && ms >= 1000;
    if (shown)
        lblWait->setText(ui::waitCaption(tr("Se asteapta %1").arg(mWaitingFor), static_cast<int>(ms / 1000)));
    lblWait->setVisible(shown);
}

void frmConvertStart::listingEnded(std::exception_ptr failure)
{
    if (mLister.joinable())
        mLister.join();
    if (mWaitTicker)
        mWaitTicker->stop();
    lblWait->hide();
    flushPending();
    lsv->unsetCursor();
    pgWideListView(lsv, 0, -1);
    const bool stopped = mStopping;
    // A list cut short is not counted as the run's list.
    txtTotal->setText(failure ? (stopped ? tr("Verificarea campurilor a fost oprita.")
                                         : conversion::probedCountText(mProbed))
                              : conversion::listedCountText(lsv->topLevelItemCount()));
    setProperty("busy", false);
    // The rows found before an error stay listed; the error is told, and a
    // list that is not whole cannot be confirmed.
    if (failure && !stopped)
        fgTrap(kModule, QStringLiteral("pLoad"), [&] { std::rethrow_exception(failure); });
    cmdOk->setEnabled(!failure);
    emit listFinished();
    if (mClosing)
        QDialog::done(*mClosing);
}

bool frmConvertStart::listing() const { return mLister.joinable(); }

void frmConvertStart::stopListing()
{
    if (!mLister.joinable() || mStopping)
        return;
    mStopping = true;
    mStop->stop();
    flushPending();
}

frmConvertStart::~frmConvertStart()
{
    // Last resort (a window never shown through its loop): the listing is
    // stopped and waited for, since it uses this window and the project.
    if (mLister.joinable()) {
        mStop->stop();
        mLister.join();
    }
    qDeleteAll(mPending);
}

void frmConvertStart::cmdOk_Click()
{
    if (listing() || !cmdOk->isEnabled())
        return; // the list is not complete
    fgTrap(kModule, QStringLiteral("cmdOk_Click"), [&] {
        Ok = true;
        Totals = chkTotals->isChecked();
        accept();
    });
}

void frmConvertStart::cmdCancel_Click()
{
    fgTrap(kModule, QStringLiteral("cmdCancel_Click"), [&] { reject(); });
}

void frmConvertStart::done(int result)
{
    // Closed while the list fills: the probe in flight is stopped, and the
    // window goes once the listing has let go of the project.
    if (listing()) {
        mClosing = result;
        stopListing();
        return;
    }
    if (!mSettingsSaved) {
        mSettingsSaved = true;
        fgTrap(kModule, QStringLiteral("Form_Unload"), [&] { pgSaveFormSettings(this); });
    }
    QDialog::done(result);
}
