#include "datasources/ctlConnDetails.h"

#include "data/ErrorTrap.h"
#include "data/db/DbError.h"
#include "util/core/AppInfo.h"
#include "util/core/Prompt.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace {

const QString kModule = QStringLiteral("ctlConnDetails");
// The runtime's error for a control-array element that does not exist.
constexpr qint32 kNoSuchElement = 340;
// The runtime's error for an invalid procedure call or argument.
constexpr qint32 kInvalidCall = 5;

// The panels' captions, translated where they are shown.
const char *const kCaptions[ctlConnDetails::kPanelCount] = {
    QT_TRANSLATE_NOOP("ctlConnDetails", "Microsoft Access"),
    QT_TRANSLATE_NOOP("ctlConnDetails", "Microsoft SQL Server"),
    QT_TRANSLATE_NOOP("ctlConnDetails", "Oracle Data Server"),
    QT_TRANSLATE_NOOP("ctlConnDetails", "FoxPro Free Table Directory"),
    QT_TRANSLATE_NOOP("ctlConnDetails", "Visual FoxPro Project"),
    QT_TRANSLATE_NOOP("ctlConnDetails", "DBase"),
    QT_TRANSLATE_NOOP("ctlConnDetails", "Unknown Data Source"),
};

// The filters of the browse dialogs, translated where they are used.
//: A file filter: description|patterns pairs joined by "|". Only the descriptions are translated.
const char *const kAccessFilter = QT_TRANSLATE_NOOP(
    "ctlConnDetails", "Cale spre fisier Microsoft Access (*.mdb)|*.mdb|Toate Fisierele (*.*)|*.*");
//: A file filter: description|patterns pairs joined by "|". Only the descriptions are translated.
const char *const kSecurityFilter =
    QT_TRANSLATE_NOOP("ctlConnDetails", "Cale spre fisier de securitate Microsoft Access (*.mdw;*.mda)|*.mdw;*.mda|"
                                        "Toate Fisierele (*.*)|*.*");
//: A file filter: description|patterns pairs joined by "|". Only the descriptions are translated.
const char *const kDBaseFilter =
    QT_TRANSLATE_NOOP("ctlConnDetails", "Cale spre fisier DBase (*.dbf)|*.dbf|Toate Fisierele (*.*)|*.*");
//: A file filter: description|patterns pairs joined by "|". Only the descriptions are translated.
const char *const kFoxProFilter =
    QT_TRANSLATE_NOOP("ctlConnDetails", "Cale spre fisierele FoxPro (*.dbf)|*.dbf|Toate Fisierele (*.*)|*.*");

// Sets the text of a box only when it differs, so that refilling a box with
// its own text is not a change.
void fill(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

} // namespace

ctlConnDetails::ctlConnDetails(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ctlConnDetails"));
    setMinimumSize(kMinimumSize, kMinimumSize);
    buildPanels();
    connect(qApp, &QApplication::focusChanged, this, &ctlConnDetails::onFocusChanged);

    // All panels hidden, then the one of the current type shown and filled;
    // the security boxes of Access start disabled.
    for (QGroupBox *panel : mfr)
        panel->hide();
    mfr[mlngConnType]->show();
    pFillPanel(mlngConnType);
    chkAccessSec->setChecked(false);
    mbInnerChange = true;
    chkAccessSec_Click();
    mbInnerChange = false;
    resize(kMinimumSize, kMinimumSize);
}

ctlConnDetails::~ctlConnDetails()
{
    // Nothing is reported while the control goes: its boxes lose the focus
    // as they are destroyed, and the window that listens is going too.
    disconnect(qApp, &QApplication::focusChanged, this, &ctlConnDetails::onFocusChanged);
    mbChanged = false;
    mbInnerChange = true;
}

QLineEdit *ctlConnDetails::addTextBox(QWidget *panel, const char *name,
                                      void (ctlConnDetails::*store)(const QString &), bool password)
{
    auto *box = new QLineEdit(panel);
    box->setObjectName(QString::fromLatin1(name));
    if (password)
        box->setEchoMode(QLineEdit::Password);
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, this, [this, store](const QString &text) {
        (this->*store)(text);
        mbChanged = true;
    });
    connect(box, &QLineEdit::returnPressed, this, [this] { pRaiseAfterChange(); });
    return box;
}

void ctlConnDetails::buildPanels()
{
    for (int i = 0; i < kPanelCount; ++i) {
        mfr[i] = new QGroupBox(tr(kCaptions[i]), this);
        mfr[i]->setObjectName(QStringLiteral("fr%1").arg(i));
    }
    auto grid = [](QGroupBox *panel) {
        auto *layout = new QGridLayout(panel);
        layout->setContentsMargins(8, 6, 8, 6);
        layout->setVerticalSpacing(4);
        layout->setColumnStretch(1, 1);
        return layout;
    };
    auto label = [](QWidget *panel, const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, panel);
        l->setBuddy(buddy);
        return l;
    };
    auto browse = [](QWidget *panel, const char *name) {
        auto *button = new QPushButton(QStringLiteral("..."), panel);
        button->setObjectName(QString::fromLatin1(name));
        button->setFixedWidth(28);
        return button;
    };
    // A row: label, box, and the browse button when there is one; a box
    // without a button takes the button's column too.
    auto row = [](QGridLayout *layout, int r, QLabel *l, QWidget *box, QPushButton *button) {
        layout->addWidget(l, r, 0);
        if (button) {
            layout->addWidget(box, r, 1);
            layout->addWidget(button, r, 2);
        } else {
            layout->addWidget(box, r, 1, 1, 2);
        }
    };

    // 0: Microsoft Access
    {
        QGroupBox *p = mfr[0];
        QGridLayout *g = grid(p);
        txtAccessPath = addTextBox(p, "txtAccessPath", &ctlConnDetails::storeDataSource);
        cmdAccessPath = browse(p, "cmdAccessPath");
        txtAccessDBPassword = addTextBox(p, "txtAccessDBPassword", &ctlConnDetails::storeDBPassword, true);
        lnAccess = new QFrame(p);
        lnAccess->setObjectName(QStringLiteral("lnAccess"));
        lnAccess->setFrameShape(QFrame::HLine);
        lnAccess->setFrameShadow(QFrame::Sunken);
        chkAccessSec = new QCheckBox(tr("Baza de date securizata"), p);
        chkAccessSec->setObjectName(QStringLiteral("chkAccessSec"));
        txtAccessSecurityPath = addTextBox(p, "txtAccessSecurityPath", &ctlConnDetails::storeSecurityFile);
        cmdAccessSecurity = browse(p, "cmdAccessSecurity");
        txtAccessUserName = addTextBox(p, "txtAccessUserName", &ctlConnDetails::storeUserName);
        txtAccessPassword = addTextBox(p, "txtAccessPassword", &ctlConnDetails::storePassword, true);
        row(g, 0, label(p, tr("Baza de date:"), txtAccessPath), txtAccessPath, cmdAccessPath);
        // The longest label breaks in two rather than narrow the path box.
        QLabel *dbPassword = label(p, tr("Parola pe baza de date:"), txtAccessDBPassword);
        dbPassword->setWordWrap(true);
        dbPassword->setMaximumWidth(dbPassword->fontMetrics().horizontalAdvance(tr("Fisier Securitate:")) + 4);
        row(g, 1, dbPassword, txtAccessDBPassword, nullptr);
        g->addWidget(lnAccess, 2, 0, 1, 3);
        g->addWidget(chkAccessSec, 3, 0, 1, 3);
        row(g, 4, label(p, tr("Fisier Securitate:"), txtAccessSecurityPath), txtAccessSecurityPath, cmdAccessSecurity);
        row(g, 5, label(p, tr("Utilizator:"), txtAccessUserName), txtAccessUserName, nullptr);
        row(g, 6, label(p, tr("Parola:"), txtAccessPassword), txtAccessPassword, nullptr);
        g->setRowStretch(7, 1);
        connect(chkAccessSec, &QCheckBox::clicked, this, [this] {
            fgTrap(kModule, QStringLiteral("chkAccessSec_Click"), [&] { chkAccessSec_Click(); });
        });
        connect(cmdAccessPath, &QPushButton::clicked, this, [this] {
            pBrowse(txtAccessPath, tr(kAccessFilter), false, QStringLiteral("cmdAccessPath_Click"));
        });
        connect(cmdAccessSecurity, &QPushButton::clicked, this, [this] {
            pBrowse(txtAccessSecurityPath, tr(kSecurityFilter), false, QStringLiteral("cmdAccessSecurity_Click"));
        });
    }
    // 1: Microsoft SQL Server
    {
        QGroupBox *p = mfr[1];
        QGridLayout *g = grid(p);
        txtSQLServer = addTextBox(p, "txtSQLServer", &ctlConnDetails::storeDataSource);
        txtSQLDatabase = addTextBox(p, "txtSQLDatabase", &ctlConnDetails::storeDatabase);
        chkSQLIntegratedSecurity = new QCheckBox(tr("Securitate Integrata"), p);
        chkSQLIntegratedSecurity->setObjectName(QStringLiteral("chkSQLIntegratedSecurity"));
        txtSQLUserName = addTextBox(p, "txtSQLUserName", &ctlConnDetails::storeUserName);
        txtSQLPassword = addTextBox(p, "txtSQLPassword", &ctlConnDetails::storePassword, true);
        row(g, 0, label(p, tr("Server:"), txtSQLServer), txtSQLServer, nullptr);
        row(g, 1, label(p, tr("Baza de date:"), txtSQLDatabase), txtSQLDatabase, nullptr);
        g->addWidget(chkSQLIntegratedSecurity, 2, 0, 1, 3);
        row(g, 3, label(p, tr("Utilizator:"), txtSQLUserName), txtSQLUserName, nullptr);
        row(g, 4, label(p, tr("Parola:"), txtSQLPassword), txtSQLPassword, nullptr);
        g->setRowStretch(5, 1);
        connect(chkSQLIntegratedSecurity, &QCheckBox::clicked, this, [this] {
            fgTrap(kModule, QStringLiteral("chkSQLIntegratedSecurity_Click"), [&] { chkSQLIntegratedSecurity_Click(); });
        });
    }
    // 2: Oracle
    {
        QGroupBox *p = mfr[2];
        QGridLayout *g = grid(p);
        txtOracleHost = addTextBox(p, "txtOracleHost", &ctlConnDetails::storeDataSource);
        chkOracleIntegratedSecurity = new QCheckBox(tr("Securitate Integrata"), p);
        chkOracleIntegratedSecurity->setObjectName(QStringLiteral("chkOracleIntegratedSecurity"));
        txtOracleUserName = addTextBox(p, "txtOracleUserName", &ctlConnDetails::storeUserName);
        txtOraclePassword = addTextBox(p, "txtOraclePassword", &ctlConnDetails::storePassword, true);
        row(g, 0, label(p, tr("Host:"), txtOracleHost), txtOracleHost, nullptr);
        g->addWidget(chkOracleIntegratedSecurity, 1, 0, 1, 3);
        row(g, 2, label(p, tr("Utilizator:"), txtOracleUserName), txtOracleUserName, nullptr);
        row(g, 3, label(p, tr("Parola:"), txtOraclePassword), txtOraclePassword, nullptr);
        g->setRowStretch(4, 1);
        connect(chkOracleIntegratedSecurity, &QCheckBox::clicked, this, [this] {
            fgTrap(kModule, QStringLiteral("chkOracleIntegratedSecurity_Click"),
                   [&] { chkOracleIntegratedSecurity_Click(); });
        });
    }
    // 3, 4, 5: FoxPro free tables, Visual FoxPro, dBase: a folder. The dBase
    // button keeps the folder of the chosen file too, where the tables of the
    // data source are listed.
    struct PathPanel {
        int index;
        const char *label;
        const char *box;
        const char *button;
        QLineEdit **txt;
        QPushButton **cmd;
        const char *filter;
        bool folder;
    };
    const PathPanel paths[] = {
        {3, QT_TR_NOOP("Cale:"), "txtFoxProPath", "cmdFoxProBrowse", &txtFoxProPath, &cmdFoxProBrowse, kFoxProFilter,
         true},
        {4, QT_TR_NOOP("Cale:"), "txtVFPPath", "cmdVFPPath", &txtVFPPath, &cmdVFPPath, kFoxProFilter, true},
        {5, QT_TR_NOOP("Calea:"), "txtDBasePath", "cmdDBasePath", &txtDBasePath, &cmdDBasePath, kDBaseFilter, true},
    };
    for (const PathPanel &path : paths) {
        QGroupBox *p = mfr[path.index];
        QGridLayout *g = grid(p);
        QLineEdit *box = addTextBox(p, path.box, &ctlConnDetails::storeDataSource);
        QPushButton *button = browse(p, path.button);
        *path.txt = box;
        *path.cmd = button;
        row(g, 0, label(p, tr(path.label), box), box, button);
        g->setRowStretch(1, 1);
        const QString filter = tr(path.filter);
        const bool folder = path.folder;
        const QString procedure = QString::fromLatin1(path.button) + QStringLiteral("_Click");
        connect(button, &QPushButton::clicked, this,
                [this, box, filter, folder, procedure] { pBrowse(box, filter, folder, procedure); });
    }
    // 6: any source, the connection string typed whole.
    {
        QGroupBox *p = mfr[6];
        QGridLayout *g = grid(p);
        txtUnknownConnString = new QPlainTextEdit(p);
        txtUnknownConnString->setObjectName(QStringLiteral("txtUnknownConnString"));
        txtUnknownConnString->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        txtUnknownConnString->setTabChangesFocus(true);
        txtUnknownConnString->installEventFilter(this);
        g->addWidget(label(p, tr("String de conectare:"), txtUnknownConnString), 0, 0, 1, 3);
        g->addWidget(txtUnknownConnString, 1, 0, 1, 3);
        g->setRowStretch(1, 1);
        connect(txtUnknownConnString, &QPlainTextEdit::textChanged, this, [this] {
            mstrConnString = txtUnknownConnString->toPlainText();
            mbChanged = true;
        });
    }
}

// ---------------------------------------------------------------------------
// Properties

void ctlConnDetails::setConnType(qint32 value)
{
    fgTrap(kModule, QStringLiteral("ConnType"), [&] {
        if (mlngConnType >= 0 && mlngConnType < kPanelCount)
            mfr[mlngConnType]->hide();
        mlngConnType = value;
        if (value < 0 || value >= kPanelCount)
            throw db::DbError(kNoSuchElement,
                              tr("Elementul %1 al panourilor nu exista.").arg(value));
        mfr[value]->show();
    });
}

void ctlConnDetails::setDataSource(const QString &value)
{
    mstrDataSource = value;
    for (QLineEdit *box : {txtAccessPath, txtDBasePath, txtFoxProPath, txtOracleHost, txtSQLServer, txtVFPPath})
        fill(box, value);
}

void ctlConnDetails::setUserName(const QString &value)
{
    mstrUserName = value;
    for (QLineEdit *box : {txtAccessUserName, txtOracleUserName, txtSQLUserName})
        fill(box, value);
}

void ctlConnDetails::setPassword(const QString &value)
{
    mstrPassword = value;
    for (QLineEdit *box : {txtAccessPassword, txtOraclePassword, txtSQLPassword})
        fill(box, value);
}

void ctlConnDetails::setConnString(const QString &value)
{
    mstrConnString = value;
    if (txtUnknownConnString->toPlainText() != value)
        txtUnknownConnString->setPlainText(value);
}

void ctlConnDetails::setSecurityFile(const QString &value)
{
    fgTrap(kModule, QStringLiteral("SecurityFile"), [&] {
        mstrSecurityFile = value;
        fill(txtAccessSecurityPath, value);
        mbInnerChange = true;
        chkAccessSec->setChecked(!value.isEmpty());
        chkAccessSec_Click();
    });
    mbInnerChange = false;
}

void ctlConnDetails::setDBPassword(const QString &value)
{
    mstrDBPassword = value;
    fill(txtAccessDBPassword, value);
}

void ctlConnDetails::setDatabase(const QString &value)
{
    mstrDatabase = value;
    fill(txtSQLDatabase, value);
}

void ctlConnDetails::setIntegratedSecurity(bool value)
{
    fgTrap(kModule, QStringLiteral("IntegratedSecurity"), [&] {
        mbIntegratedSecurity = value;
        mbInnerChange = true;
        chkOracleIntegratedSecurity->setChecked(mbIntegratedSecurity);
        chkOracleIntegratedSecurity_Click();
        chkSQLIntegratedSecurity->setChecked(mbIntegratedSecurity);
        chkSQLIntegratedSecurity_Click();
    });
    mbInnerChange = false;
}

QString ctlConnDetails::GetErrors() const
{
    QStringList lines;
    switch (mlngConnType) {
    case 0:
        if (mstrDataSource.isEmpty())
            lines << tr("Calea spre fisierul Microsoft Access nu este specificata");
        break;
    case 1:
        if (mstrDataSource.isEmpty())
            lines << tr("Serverul Microsoft SQL Server nu este specificat");
        if (mstrDatabase.isEmpty())
            lines << tr("Baza de date Microsoft SQL Server nu este specificata");
        if (!mbIntegratedSecurity && mstrUserName.isEmpty())
            lines << tr("Utilizatorul de conectare nu este specificat");
        break;
    case 2:
        // Oracle needs the user and the password whatever the integrated
        // security says.
        if (mstrDataSource.isEmpty())
            lines << tr("Hostul Oracle nu este specificat");
        if (mstrUserName.isEmpty())
            lines << tr("Utilizatorul de conectare nu este specificat");
        if (mstrPassword.isEmpty())
            lines << tr("Parola de conectare nu este specificata");
        break;
    default:
        break;
    }
    return lines.join(QStringLiteral("\r\n"));
}

// ---------------------------------------------------------------------------
// Events

void ctlConnDetails::pRaiseAfterChange()
{
    if (!mbInnerChange && mbChanged) {
        mbChanged = false;
        emit AfterChange();
    }
}

void ctlConnDetails::pFillPanel(int index)
{
    switch (index) {
    case 0:
        fill(txtAccessPath, mstrDataSource);
        fill(txtAccessDBPassword, mstrDBPassword);
        chkAccessSec->setChecked(!mstrSecurityFile.isEmpty());
        fill(txtAccessSecurityPath, mstrSecurityFile);
        fill(txtAccessUserName, mstrUserName);
        fill(txtAccessPassword, mstrPassword);
        chkAccessSec_Click();
        break;
    case 1:
        fill(txtSQLServer, mstrDataSource);
        fill(txtSQLDatabase, mstrDatabase);
        fill(txtSQLUserName, mstrUserName);
        fill(txtSQLPassword, mstrPassword);
        chkSQLIntegratedSecurity->setChecked(mbIntegratedSecurity);
        chkSQLIntegratedSecurity_Click();
        break;
    case 2:
        fill(txtOracleHost, mstrDataSource);
        fill(txtOracleUserName, mstrUserName);
        fill(txtOraclePassword, mstrPassword);
        chkOracleIntegratedSecurity->setChecked(mbIntegratedSecurity);
        chkOracleIntegratedSecurity_Click();
        break;
    case 3:
        fill(txtFoxProPath, mstrDataSource);
        break;
    case 4:
        fill(txtVFPPath, mstrDataSource);
        break;
    case 5:
        fill(txtDBasePath, mstrDataSource);
        break;
    case 6:
        setConnString(mstrConnString);
        break;
    default:
        break;
    }
}

void ctlConnDetails::chkAccessSec_Click()
{
    const bool on = chkAccessSec->isChecked();
    for (QWidget *box : {static_cast<QWidget *>(txtAccessSecurityPath), static_cast<QWidget *>(txtAccessUserName),
                         static_cast<QWidget *>(txtAccessPassword)})
        box->setEnabled(on);
    pRaiseAfterChange();
}

void ctlConnDetails::chkSQLIntegratedSecurity_Click()
{
    mbIntegratedSecurity = chkSQLIntegratedSecurity->isChecked();
    txtSQLUserName->setEnabled(!mbIntegratedSecurity);
    txtSQLPassword->setEnabled(!mbIntegratedSecurity);
    pRaiseAfterChange();
}

void ctlConnDetails::chkOracleIntegratedSecurity_Click()
{
    mbIntegratedSecurity = chkOracleIntegratedSecurity->isChecked();
    txtOracleUserName->setEnabled(!mbIntegratedSecurity);
    txtOraclePassword->setEnabled(!mbIntegratedSecurity);
    pRaiseAfterChange();
}

void ctlConnDetails::pBrowse(QLineEdit *box, const QString &filter, bool folder, const QString &procedure)
{
    fgTrap(kModule, procedure, [&] {
        ui::FileRequest request;
        request.filter = filter;
        request.initialDir = box->text().isEmpty() ? fgAppPath() : box->text();
        request.fileName.clear();
        request.mustExist = true;
        const QString chosen = ui::getOpenFileName(request);
        if (chosen.isEmpty())
            return;
        box->setText(folder ? fGetPathFromFileName(chosen) : chosen);
        pRaiseAfterChange();
    });
}

QString ctlConnDetails::fGetPathFromFileName(const QString &path)
{
    QString folder;
    fgTrap(kModule, QStringLiteral("fGetPathFromFileName"), [&] {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        if (slash < 0)
            throw db::DbError(kInvalidCall, tr("Calea \"%1\" nu contine un dosar.").arg(path));
        folder = path.left(slash);
    });
    return folder;
}

bool ctlConnDetails::finishesEdit(Qt::FocusReason reason)
{
    // A context menu, another program or another window taking the focus
    // leave the box as it is: the user comes back to it.
    switch (reason) {
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::MenuBarFocusReason: return false;
    default: return true;
    }
}

bool ctlConnDetails::eventFilter(QObject *watched, QEvent *event)
{
    // A text box left for another control of the window: its change, if
    // any, is complete. Enter finishes it too.
    if (event->type() == QEvent::FocusOut
        && (qobject_cast<QLineEdit *>(watched) || watched == txtUnknownConnString)
        && finishesEdit(static_cast<QFocusEvent *>(event)->reason()))
        pRaiseAfterChange();
    return QWidget::eventFilter(watched, event);
}

void ctlConnDetails::onFocusChanged(QWidget *old, QWidget *now)
{
    // Only the focus moving to another control of the same window ends an
    // edit; a window losing the focus (another program, a popup) does not.
    const bool wasInside = old && isAncestorOf(old);
    const bool isInside = now && isAncestorOf(now);
    if (wasInside && !isInside && now && now->window() == window() && mbChanged)
        pRaiseAfterChange();
}

void ctlConnDetails::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QSize size = event->size();
    if (size.height() < kMinimumSize || size.width() < kMinimumSize) {
        size = size.expandedTo(QSize(kMinimumSize, kMinimumSize));
        resize(size);
        return;
    }
    for (QGroupBox *panel : mfr)
        panel->setGeometry(0, 0, size.width(), size.height());
}
