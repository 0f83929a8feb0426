#include "conversion/frmConvertStart.h"

#include "conversion/ConversionListing.h"
#include "conversion/ConversionResources.h"
#include "conversion/ReportLog.h"
#include "data/ErrorTrap.h"
#include "data/ProjectHost.h"
#include "util/widgets/FormTools.h"
#include "util/widgets/ListViewTools.h"

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

#include <QApplication>
#include <QElapsedTimer>
#include <QScopeGuard>

namespace {
const QString kModule = QStringLiteral("frmConvertStart");
} // namespace

frmConvertStart::frmConvertStart(QWidget *parentWindow) : QDialog(parentWindow)
{
    conversion::setUpDialog(this, QStringLiteral("frmConvertStart"), QStringLiteral("Confirmare Conversie"), 8);
    resize(520, 380);

    imgToLeiNoi = conversion::makeDirectionImage(this, true);
    imgToLeiVechi = conversion::makeDirectionImage(this, false);

    txtTitle = new QLineEdit(this);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    txtTitle->setReadOnly(true);
    lsv = new QTreeWidget(this);
    lsv->setObjectName(QStringLiteral("lsv"));
    pgMakeReportList(lsv);
    lsv->setHeaderLabels({QStringLiteral("Sursa Date"), QStringLiteral("Tabel"), QStringLiteral("Camp"),
                          QStringLiteral("Observatii")});
    txtTotal = new QLineEdit(this);
    txtTotal->setObjectName(QStringLiteral("txtTotal"));
    txtTotal->setReadOnly(true);
    chkTotals = new QCheckBox(QStringLiteral("Totaluri de control"), this);
    chkTotals->setObjectName(QStringLiteral("chkTotals"));
    chkTotals->setChecked(true);
    chkTotals->setToolTip(QStringLiteral("Baza de date aduna sumele inainte si dupa conversie, pentru fiecare camp "
                                         "(o citire in plus a randurilor)"));
    cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdCancel = new QPushButton(QStringLiteral("Renunta"), this);
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
        txtTitle->setText(conversion::directionTitle(ToLeiNoi));
        pLoad();
    });
}

void frmConvertStart::pLoad()
{
    fgTrap(kModule, QStringLiteral("pLoad"), [&] {
        // A long listing (many fields, slow servers) shows that it works: a
        // busy cursor, the window itself once it takes more than a moment,
        // and the count of fields probed, repainted a few times a second.
        // Clicks wait until the list is complete.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        // Rows go into the list in bulk, not one repaint per row; the rows
        // found so far are in it even when the listing stops on an error.
        QList<QTreeWidgetItem *> pending;
        const auto addPending = [&] {
            if (pending.isEmpty())
                return;
            lsv->setUpdatesEnabled(false);
            lsv->addTopLevelItems(pending);
            lsv->setUpdatesEnabled(true);
            pending.clear();
        };
        const auto addRest = qScopeGuard(addPending);
        QElapsedTimer sinceShown;
        sinceShown.start();
        const auto probed = [&](int count) {
            if (sinceShown.elapsed() < 200)
                return;
            // Only a dialog on its way to the screen is shown early.
            if (!isVisible() && testAttribute(Qt::WA_ShowModal))
                show();
            addPending();
            txtTotal->setText(conversion::probedCountText(count));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceShown.restart();
        };
        conversion::listFieldsToConvert(
            projectConn(), ToLeiNoi,
            [&pending](const conversion::ListedField &f) {
                pending.append(new QTreeWidgetItem({f.dataSource, f.tableName, f.fieldName, f.note}));
            },
            probed);
        addPending();
        pgWideListView(lsv, 0, -1);
        txtTotal->setText(conversion::listedCountText(lsv->topLevelItemCount()));
    });
}

void frmConvertStart::cmdOk_Click()
{
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
    if (!mSettingsSaved) {
        mSettingsSaved = true;
        fgTrap(kModule, QStringLiteral("Form_Unload"), [&] { pgSaveFormSettings(this); });
    }
    QDialog::done(result);
}
