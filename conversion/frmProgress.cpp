#include "conversion/frmProgress.h"

#include "conversion/ConversionResources.h"
#include "data/ErrorTrap.h"
#include "util/core/Prompt.h"
#include "util/widgets/WaitDialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <stdexcept>

namespace {
const QString kModule = QStringLiteral("frmProgress");
constexpr int kTwips = 15; // twips per pixel
} // namespace

frmProgress::frmProgress(QWidget *parentWindow) : QDialog(parentWindow)
{
    conversion::initResources();
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(tr("Progres"));
    setProperty("HelpContextID", 20);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    static const char *const captions[3] = {QT_TRANSLATE_NOOP("frmProgress", "Sursa de Date:"),
                                            QT_TRANSLATE_NOOP("frmProgress", "Tabel:"),
                                            QT_TRANSLATE_NOOP("frmProgress", "Camp:")};
    const char *icons[3] = {":/conversion/datasource.svg", ":/conversion/table.svg", ":/conversion/field.svg"};
    auto *grid = new QGridLayout(this);
    for (int i = 0; i < 3; ++i) {
        mImages[i] = new QLabel(this);
        mImages[i]->setPixmap(QIcon(QString::fromLatin1(icons[i])).pixmap(32, 32));
        mImages[i]->setFixedSize(40, 34);
        mLabels[i] = new QLabel(tr(captions[i]), this);
        mLabels[i]->setObjectName(QStringLiteral("lbl%1").arg(i + 1));
        mLabels[i]->setMinimumWidth(3015 / kTwips);
        mBars[i] = new QProgressBar(this);
        mBars[i]->setObjectName(QStringLiteral("prg%1").arg(i + 1));
        mBars[i]->setMinimumWidth(5535 / kTwips);
        mBars[i]->setRange(0, 100);
        mBars[i]->setValue(0);
        mBars[i]->setTextVisible(false);
        grid->addWidget(mImages[i], i * 2, 0, 2, 1, Qt::AlignTop);
        grid->addWidget(mLabels[i], i * 2, 1);
        grid->addWidget(mBars[i], i * 2 + 1, 1);
    }
    //: Button that stops the running conversion.
    cmdCancel = new QPushButton(tr("Stop"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setMinimumSize(1095 / kTwips, 375 / kTwips);
    cmdCancel->setAutoDefault(false);
    grid->addWidget(cmdCancel, 6, 1, Qt::AlignRight);
    // A database that keeps the run waiting (a lock, a slow server, a big
    // table) is said so after a moment, with the time it has taken.
    lblWait = new QLabel(this);
    lblWait->setObjectName(QStringLiteral("lblWait"));
    lblWait->hide();
    grid->addWidget(lblWait, 6, 1, Qt::AlignLeft | Qt::AlignVCenter);
    mSinceNews.start();
    auto *ticker = new QTimer(this);
    connect(ticker, &QTimer::timeout, this, [this] {
        const qint64 ms = mSinceNews.elapsed();
        const bool waiting = !mUnloaded && ms >= 2000;
        if (waiting)
            lblWait->setText(
                ui::waitCaption(tr("Se asteapta baza de date"), static_cast<int>(ms / 1000)));
        lblWait->setVisible(waiting);
    });
    ticker->start(500);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    connect(cmdCancel, &QPushButton::clicked, this, &frmProgress::cmdCancel_Click);
}

void frmProgress::initProgress(int level, const char *procedure, qint32 max, const QString &caption)
{
    news();
    fgTrap(kModule, QString::fromLatin1(procedure), [&] {
        QProgressBar *bar = mBars[level];
        bar->setRange(0, max);
        bar->setValue(0);
        mLabels[level]->setText(caption);
        mLabels[level]->setVisible(true);
        bar->setVisible(true);
    });
}

void frmProgress::progress(int level, const char *procedure, qint32 value, const QString &caption)
{
    news();
    fgTrap(kModule, QString::fromLatin1(procedure), [&] {
        QProgressBar *bar = mBars[level];
        const qint32 next = value == 0 ? bar->value() + 1 : value;
        if (next < bar->minimum() || next > bar->maximum())
            throw std::invalid_argument(tr("Valoare in afara domeniului barei de progres").toStdString());
        bar->setValue(next);
        if (!caption.isEmpty())
            mLabels[level]->setText(caption);
    });
}

void frmProgress::endProgress(int level, const char *procedure)
{
    fgTrap(kModule, QString::fromLatin1(procedure), [&] {
        mLabels[level]->setVisible(false);
        mBars[level]->setVisible(false);
    });
}

void frmProgress::InitProgress1(qint32 MaxProgress, const QString &Caption) { initProgress(0, "InitProgress1", MaxProgress, Caption); }
void frmProgress::InitProgress2(qint32 MaxProgress, const QString &Caption) { initProgress(1, "InitProgress2", MaxProgress, Caption); }
void frmProgress::InitProgress3(qint32 MaxProgress, const QString &Caption) { initProgress(2, "InitProgress3", MaxProgress, Caption); }
void frmProgress::Progress1(qint32 Progress, const QString &Caption) { progress(0, "Progress1", Progress, Caption); }
void frmProgress::Progress2(qint32 Progress, const QString &Caption) { progress(1, "Progress2", Progress, Caption); }
void frmProgress::Progress3(qint32 Progress, const QString &Caption) { progress(2, "Progress3", Progress, Caption); }
void frmProgress::EndProgess1() { endProgress(0, "EndProgess1"); }
void frmProgress::EndProgess2() { endProgress(1, "EndProgess2"); }
void frmProgress::EndProgess3() { endProgress(2, "EndProgess3"); }

void frmProgress::news()
{
    mSinceNews.restart();
    lblWait->hide();
}

void frmProgress::Unload()
{
    mUnloaded = true;
    done(QDialog::Accepted);
    hide();
}

void frmProgress::cmdCancel_Click()
{
    if (mCancel)
        return;
    const ui::Answer answer =
        ui::msgBox(tr("Sunteti sigur ca doriti sa opriti procesul de conversie?"), ui::Buttons::YesNo,
                   ui::Icon::Question, QString(), 1);
    if (answer == ui::Answer::Yes) {
        mCancel = true;
        //: The Stop button's caption once the user asked to stop.
        cmdCancel->setText(tr("Stopping"));
        if (StopRequested)
            StopRequested();
    }
}

void frmProgress::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (mActivated)
        return;
    mActivated = true;
    // The run starts once the window is on screen and its modal loop runs.
    QTimer::singleShot(0, this, &frmProgress::Form_Activate);
}

void frmProgress::Form_Activate()
{
    fgTrap(kModule, QStringLiteral("Form_Activate"), [&] {
        if (!Parent)
            throw std::runtime_error(tr("Fereastra parinte lipseste").toStdString());
        if (!QMetaObject::invokeMethod(Parent, RunMethod.toLatin1().constData(), Qt::DirectConnection))
            throw std::runtime_error(tr("Metoda %1 nu exista").arg(RunMethod).toStdString());
    });
    // A run that ended without unloading the window still ends its show.
    if (!mUnloaded)
        Unload();
}

// The close box and Escape ask to stop, like the Stop button: the window
// itself goes only when the run is over.
void frmProgress::reject()
{
    if (mUnloaded) {
        QDialog::reject();
        return;
    }
    cmdCancel_Click();
}

void frmProgress::closeEvent(QCloseEvent *event)
{
    if (mUnloaded) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    cmdCancel_Click();
}
