#include "datasources/frmConn.h"

#include "data/ErrorTrap.h"
#include "data/Lookups.h"
#include "data/ProjectHost.h"
#include "data/TemplateTexts.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "datasources/ConnStrings.h"
#include "datasources/ctlConnDetails.h"
#include "util/widgets/WaitDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString kModule = QStringLiteral("frmConn");

QString text(const db::Recordset &rs, const char *column)
{
    return fgNZ(rs.value(QLatin1String(column)), QString()).toString();
}

} // namespace

frmConn::frmConn(QWidget *parent)
    : ChildWindow(QStringLiteral("frmConn"), QStringLiteral("lblHeading"), parent)
{
    setHeading(tr("Sursa de date"));
    setProperty("HelpContextID", 10);

    QWidget *content = widget();
    auto *grid = new QGridLayout;
    lblType = new QLabel(tr("Tip:"), content);
    lblType->setObjectName(QStringLiteral("lblType"));
    txtType = new QLineEdit(content);
    txtType->setObjectName(QStringLiteral("txtType"));
    txtType->setReadOnly(true);
    txtType->setBackgroundRole(QPalette::Button);
    {
        QPalette palette = txtType->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        txtType->setPalette(palette);
    }
    lblType->setBuddy(txtType);
    auto *lblDescription = new QLabel(tr("Descriere:"), content);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    txtDescription = new QLineEdit(content);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    lblDescription->setBuddy(txtDescription);
    //: The data source is not connected to (tick box and state).
    chkOffline = new QCheckBox(tr("Deconectat"), content);
    chkOffline->setObjectName(QStringLiteral("chkOffline"));
    txtError = new QPlainTextEdit(content);
    txtError->setObjectName(QStringLiteral("txtError"));
    txtError->setReadOnly(true);
    txtError->setTabChangesFocus(true);
    txtError->setFixedHeight(txtError->fontMetrics().lineSpacing() * 3 + 12);
    {
        QPalette palette = txtError->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
        palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
        txtError->setPalette(palette);
    }
    ctlDetails = new ctlConnDetails(content);

    grid->addWidget(lblType, 0, 0);
    grid->addWidget(txtType, 0, 1);
    grid->addWidget(lblDescription, 1, 0);
    grid->addWidget(txtDescription, 1, 1);
    cmdDiscover = new QPushButton(tr("Cauta sume..."), content);
    cmdDiscover->setObjectName(QStringLiteral("cmdDiscover"));
    cmdDiscover->setToolTip(tr("Cauta in tabelele sursei de date coloanele care tin sume de bani"));
    auto *offlineRow = new QHBoxLayout;
    offlineRow->addWidget(chkOffline);
    offlineRow->addStretch(1);
    offlineRow->addWidget(cmdDiscover);
    grid->addLayout(offlineRow, 2, 0, 1, 2);
    grid->addWidget(txtError, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    // Below the heading line, in place of the stretch that ends the layout.
    delete contentLayout->takeAt(contentLayout->count() - 1);
    contentLayout->addLayout(grid);
    contentLayout->addWidget(ctlDetails, 1);

    connect(chkOffline, &QCheckBox::clicked, this, [this] { chkOffline_Click(); });
    connect(cmdDiscover, &QPushButton::clicked, this, &frmConn::discoverRequested);
    connect(ctlDetails, &ctlConnDetails::AfterChange, this, [this] { ctlDetails_AfterChange(); });
    connect(txtDescription, &QLineEdit::textChanged, this, [this] { txtDescription_Change(); });
    txtDescription->installEventFilter(this);

    resize(440, 470);
    setMinimumSize(minimumSizeHint());
}

frmConn::~frmConn()
{
    // The boxes lose the focus as they are destroyed: nothing is saved or
    // tested from here (closing commits the edit in progress before).
    mbBusy = true;
    ctlDetails->disconnect(this);
    txtDescription->disconnect(this);
    txtDescription->removeEventFilter(this);
    if (IProjectHost *host = projectHost())
        host->UnloadChild(Key);
}

QString frmConn::description() const { return txtDescription->text(); }

QString frmConn::status() const { return txtError->toPlainText(); }

void frmConn::pSetStatus(const QString &value) { txtError->setPlainText(value); }

void frmConn::Load()
{
    mbBusy = true;
    fgTrap(kModule, QStringLiteral("Load"), [&] {
        db::Recordset rs = projectConn().openRecordset(
            QStringLiteral("SELECT tConn.*, tConnType.Description AS ConnType FROM tConn LEFT JOIN tConnType ON "
                           "tConn.IdConnType = tConnType.IdConnType WHERE IdConn = ")
                + QString::number(IdConn),
            db::CursorType::Static, db::LockType::ReadOnly);
        if (!rs.eof()) {
            mlngIdConnType = static_cast<qint32>(rs.value(QStringLiteral("IdConnType")).toInt());
            txtType->setText(templatetext::shown(text(rs, "ConnType")));
            txtDescription->setText(text(rs, "Description"));
            ctlDetails->setConnType(mlngIdConnType);
            ctlDetails->setDataSource(text(rs, "DataSource"));
            ctlDetails->setUserName(text(rs, "UserName"));
            ctlDetails->setPassword(text(rs, "Password"));
            ctlDetails->setConnString(text(rs, "ConnString"));
            ctlDetails->setSecurityFile(text(rs, "SecurityFile"));
            ctlDetails->setDBPassword(text(rs, "DBPassword"));
            ctlDetails->setDatabase(text(rs, "Database"));
            ctlDetails->setIntegratedSecurity(rs.value(QStringLiteral("IntegratedSecurity")).toBool());
            chkOffline->setChecked(rs.value(QStringLiteral("Offline")).toBool());
        }
        // The values read are what the row holds: merely passing through
        // the boxes afterwards changes nothing.
        ctlDetails->clearPendingChange();
        rs.close();
    });
    mbBusy = false;
    pCheckConn();
}

void frmConn::pCheckConn()
{
    if (chkOffline->isChecked()) {
        pSetStatus(tr("Deconectat"));
        return;
    }
    mbBusy = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setEnabled(false);
    fgTrap(kModule, QStringLiteral("pCheckConn"), [&] {
        const QString problems = ctlDetails->GetErrors();
        if (!problems.isEmpty()) {
            pSetOffline();
            pSetStatus(problems);
        }
        if (!chkOffline->isChecked()) {
            const QString connectionString = fgGetConnString(projectConn(), IdConn);
            if (!connectionString.isEmpty()) {
                // The test runs off the window's thread: the window repaints
                // and says what it waits for, and the user may give up on a
                // server that does not answer (the test then goes on unseen
                // until its login time-out, and changes nothing).
                struct Test {
                    QString connString, error;
                    bool readOnly = false;
                };
                auto test = std::make_shared<Test>();
                test->connString = connectionString;
                ui::WaitRequest request;
                request.what = tr("Se asteapta serverul sursei de date \"%1\"").arg(txtDescription->text());
                request.abandonable = true;
                request.work = [test] {
                    db::Connection conn;
                    try {
                        conn.open(test->connString);
                        test->readOnly = conn.isReadOnly();
                    } catch (const db::DbError &e) {
                        test->error = e.description();
                    }
                };
                if (ui::waitFor(this, request) == ui::WaitOutcome::Abandoned) {
                    pSetStatus(tr("Testul conexiunii a fost abandonat; sursa de date nu a fost verificata."));
                    return;
                }
                if (!test->error.isEmpty()) {
                    pSetStatus(test->error);
                    pSetOffline();
                    return;
                }
                // A source that can be read but not changed is said to be so
                // at once, not after its first conversion.
                pSetStatus(test->readOnly
                               ? tr("Conectat\nVamor poate citi aceasta baza de date, dar nu poate scrie in ea "
                                    "(driverul ei este doar pentru citire): campurile ei nu pot fi "
                                    "convertite.")
                               : tr("Conectat"));
            }
        }
    });
    mbBusy = false;
    QApplication::restoreOverrideCursor();
    setEnabled(true);
}

void frmConn::pSetOffline()
{
    // Stored at once, and the tree says it at once.
    chkOffline->setChecked(true);
    pSave();
    if (IProjectHost *host = projectHost())
        host->NodeTextChanged(Key, fgGetConnText(txtDescription->text(), true));
}

void frmConn::pSave()
{
    fgTrap(kModule, QStringLiteral("pSave"), [&] {
        db::Recordset rs = projectConn().openRecordset(
            QStringLiteral("SELECT * FROM tConn WHERE IdConn = ") + QString::number(IdConn), db::CursorType::Static,
            db::LockType::Optimistic);
        if (rs.eof()) {
            rs.addNew();
            rs.setValue(QStringLiteral("IdConnType"), db::Variant(mlngIdConnType));
        }
        rs.setValue(QStringLiteral("Description"), fgZN(txtDescription->text()));
        rs.setValue(QStringLiteral("DataSource"), fgZN(ctlDetails->DataSource()));
        rs.setValue(QStringLiteral("UserName"), fgZN(ctlDetails->UserName()));
        rs.setValue(QStringLiteral("Password"), fgZN(ctlDetails->Password()));
        rs.setValue(QStringLiteral("ConnString"), fgZN(ctlDetails->ConnString()));
        rs.setValue(QStringLiteral("SecurityFile"), fgZN(ctlDetails->SecurityFile()));
        rs.setValue(QStringLiteral("DBPassword"), fgZN(ctlDetails->DBPassword()));
        rs.setValue(QStringLiteral("Database"), fgZN(ctlDetails->Database()));
        rs.setValue(QStringLiteral("IntegratedSecurity"), db::Variant(ctlDetails->IntegratedSecurity()));
        rs.setValue(QStringLiteral("Offline"), db::Variant(chkOffline->isChecked()));
        rs.update();
        IdConn = static_cast<qint32>(rs.value(QStringLiteral("IdConn")).toInt());
        rs.close();
        if (IProjectHost *host = projectHost())
            host->SetDirty(true);
    });
}

void frmConn::chkOffline_Click()
{
    if (mbBusy)
        return;
    fgTrap(kModule, QStringLiteral("chkOffline_Click"), [&] {
        pSave();
        pCheckConn();
        if (IProjectHost *host = projectHost())
            host->NodeTextChanged(Key, fgGetConnText(txtDescription->text(), chkOffline->isChecked()));
    });
}

void frmConn::ctlDetails_AfterChange()
{
    // Disabling the window during a test moves the focus out of the control,
    // which may report a change again: the test under way covers it.
    if (mbBusy)
        return;
    fgTrap(kModule, QStringLiteral("ctlDetails_AfterChange"), [&] {
        pSave();
        pCheckConn();
    });
}

void frmConn::txtDescription_Change()
{
    if (mbBusy)
        return;
    fgTrap(kModule, QStringLiteral("txtDescription_Change"), [&] {
        mbDescriptionChanged = true;
        if (IProjectHost *host = projectHost())
            host->NodeTextChanged(Key, fgGetConnText(txtDescription->text(), chkOffline->isChecked()));
    });
}

void frmConn::txtDescription_Validate()
{
    if (!mbDescriptionChanged)
        return;
    pSave();
    mbDescriptionChanged = false;
}

bool frmConn::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtDescription && event->type() == QEvent::FocusOut)
        txtDescription_Validate();
    return ChildWindow::eventFilter(watched, event);
}
