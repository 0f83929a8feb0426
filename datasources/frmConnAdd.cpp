#include "datasources/frmConnAdd.h"

#include "data/ErrorTrap.h"
#include "data/Lookups.h"
#include "data/TemplateTexts.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "datasources/ctlConnDetails.h"
#include "util/core/Prompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString kModule = QStringLiteral("frmConnAdd");
// The top of the first type option inside its box.
constexpr int kFirstOptionTop = 4;
constexpr int kOptionLeft = 8;

void inform(const QString &text) { ui::msgBox(text, ui::Buttons::Ok, ui::Icon::Information); }

} // namespace

frmConnAdd::frmConnAdd(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConnAdd"));
    setWindowTitle(tr("Adauga Sursa de Date"));
    setProperty("HelpContextID", 3);

    auto *layout = new QVBoxLayout(this);

    fr0 = new QWidget(this);
    fr0->setObjectName(QStringLiteral("fr0"));
    auto *page0 = new QVBoxLayout(fr0);
    page0->setContentsMargins(0, 0, 0, 0);
    auto *lblDescription = new QLabel(tr("Descriere:"), fr0);
    txtDescription = new QLineEdit(fr0);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    lblDescription->setBuddy(txtDescription);
    chkOffline = new QCheckBox(tr("Lucreaza deconectat"), fr0);
    chkOffline->setObjectName(QStringLiteral("chkOffline"));
    mTypes = new QWidget(fr0);
    mTypes->setObjectName(QStringLiteral("types"));
    page0->addWidget(lblDescription);
    page0->addWidget(txtDescription);
    page0->addWidget(chkOffline);
    page0->addWidget(mTypes, 1);
    mGroup = new QButtonGroup(this);
    mGroup->setExclusive(true);
    connect(mGroup, &QButtonGroup::idClicked, this, [this](int id) { IdConnType = id; });
    // The model of the options, shown once a type row claims it.
    createOption(0)->setText(QStringLiteral("Conn Type"));
    mopt.value(0)->hide();

    fr1 = new QWidget(this);
    fr1->setObjectName(QStringLiteral("fr1"));
    auto *page1 = new QVBoxLayout(fr1);
    page1->setContentsMargins(0, 0, 0, 0);
    ctlDetails = new ctlConnDetails(fr1);
    page1->addWidget(ctlDetails);

    layout->addWidget(fr0, 1);
    layout->addWidget(fr1, 1);

    auto *buttons = new QHBoxLayout;
    auto button = [this, buttons](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    buttons->addStretch(1);
    cmdBack = button("cmdBack", tr("Inapoi"));
    cmdNext = button("cmdNext", tr("Inainte"));
    cmdOk = button("cmdOk", tr("Ok"));
    cmdCancel = button("cmdCancel", tr("Abandoneaza"));
    layout->addLayout(buttons);
    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBack_Click(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });

    fr1->hide();
    pSetButtons();
    resize(400, 380);
}

frmConnAdd::~frmConnAdd() = default;

bool frmConnAdd::event(QEvent *event)
{
    if (event->type() == QEvent::Polish && !mbLoaded) {
        mbLoaded = true;
        Form_Load();
    }
    return QDialog::event(event);
}

QRadioButton *frmConnAdd::createOption(int index)
{
    auto *option = new QRadioButton(mTypes);
    option->setObjectName(QStringLiteral("optConnType%1").arg(index));
    option->move(kOptionLeft, kFirstOptionTop);
    option->resize(option->sizeHint().width(), option->sizeHint().height());
    mGroup->addButton(option, index);
    mopt.insert(index, option);
    return option;
}

void frmConnAdd::Form_Load()
{
    fgTrap(kModule, QStringLiteral("Form_Load"), [&] {
        if (!Conn)
            throw db::DbError(db::E_FAIL, tr("Proiectul nu este deschis."));
        db::Recordset rs = Conn->openRecordset(QStringLiteral("SELECT * FROM tConnType ORDER BY IdConnType"),
                                               db::CursorType::ForwardOnly, db::LockType::ReadOnly);
        int next = mopt.value(0)->y();
        int widest = 0;
        while (!rs.eof()) {
            const int index = static_cast<int>(rs.value(QStringLiteral("IdConnType")).toInt());
            QRadioButton *option = mopt.value(index);
            if (!option && index > mopt.lastKey())
                option = createOption(index);
            if (option) {
                option->setText(templatetext::shown(rs.value(QStringLiteral("Description")).toString()));
                option->resize(option->sizeHint());
                if (rs.value(QStringLiteral("Enabled")).toBool()) {
                    option->move(option->x(), next);
                    option->show();
                    next += static_cast<int>(std::lround(option->height() * 1.5));
                    widest = std::max(widest, option->x() + option->width());
                } else {
                    option->hide();
                }
            }
            rs.moveNext();
        }
        rs.close();
        mTypes->setMinimumSize(widest, next);
    });
    pShowPage(0);
}

void frmConnAdd::pShowPage(int page)
{
    (mintPage == 0 ? fr0 : fr1)->hide();
    mintPage = page;
    (mintPage == 0 ? fr0 : fr1)->show();
    pSetButtons();
}

void frmConnAdd::pSetButtons()
{
    cmdBack->setEnabled(mintPage == 1);
    cmdNext->setEnabled(mintPage == 0);
    cmdOk->setEnabled(mintPage == 1);
}

void frmConnAdd::pSelectType(int index)
{
    if (QRadioButton *option = mopt.value(index)) {
        option->setChecked(true);
        IdConnType = index;
    }
}

void frmConnAdd::cmdBack_Click()
{
    if (mintPage == 1)
        pShowPage(0);
}

void frmConnAdd::cmdNext_Click()
{
    if (mintPage != 0 || !fCheckPage0())
        return;
    ctlDetails->setConnType(IdConnType);
    pShowPage(1);
}

bool frmConnAdd::fCheckPage0()
{
    if (txtDescription->text().isEmpty()) {
        inform(tr("Trebuie sa specificati descrierea conexiunii"));
        pShowPage(0);
        txtDescription->setFocus();
        return false;
    }
    if (IdConnType == -1) {
        inform(tr("Trebuie sa alegeti tipul conexiunii"));
        pShowPage(0);
        pSelectType(0);
        return false;
    }
    return true;
}

bool frmConnAdd::fCheckDetails()
{
    QString problem;
    const ctlConnDetails &d = *ctlDetails;
    switch (IdConnType) {
    case 0:
        if (d.DataSource().isEmpty())
            problem = tr("Trebuie sa specificati calea spre un fisier Microsoft Access.");
        break;
    case 1:
        if (d.DataSource().isEmpty())
            problem = tr("Trebuie sa specificati serverul Microsoft SQL Server.");
        else if (d.Database().isEmpty())
            problem = tr("Trebuie sa specificati baza de date Microsoft SQL Server.");
        else if (!d.IntegratedSecurity() && d.UserName().isEmpty())
            problem = tr("Trebuie sa specificati utilizatorul de conectare.");
        break;
    case 2:
        if (d.DataSource().isEmpty())
            problem = tr("Trebuie sa specificati hostul Oracle.");
        else if (d.UserName().isEmpty())
            problem = tr("Trebuie sa specificati utilizatorul de conectare.");
        else if (d.Password().isEmpty())
            problem = tr("Trebuie sa specificati parola de conectare.");
        break;
    default:
        break;
    }
    if (problem.isEmpty())
        return true;
    inform(problem);
    pShowPage(1);
    return false;
}

void frmConnAdd::cmdOk_Click()
{
    if (!fCheckPage0() || !fCheckDetails())
        return;
    fgTrap(kModule, QStringLiteral("cmdOk_Click"), [&] {
        if (!Conn)
            throw db::DbError(db::E_FAIL, tr("Proiectul nu este deschis."));
        const ctlConnDetails &d = *ctlDetails;
        db::Recordset rs = Conn->openRecordset(QStringLiteral("SELECT * FROM tConn WHERE 1<>1"),
                                               db::CursorType::Static, db::LockType::Optimistic);
        rs.addNew();
        rs.setValue(QStringLiteral("IdConnType"), db::Variant(IdConnType));
        rs.setValue(QStringLiteral("Description"), fgZN(txtDescription->text()));
        rs.setValue(QStringLiteral("DataSource"), fgZN(d.DataSource()));
        rs.setValue(QStringLiteral("UserName"), fgZN(d.UserName()));
        rs.setValue(QStringLiteral("Password"), fgZN(d.Password()));
        rs.setValue(QStringLiteral("ConnString"), fgZN(d.ConnString()));
        rs.setValue(QStringLiteral("SecurityFile"), fgZN(d.SecurityFile()));
        rs.setValue(QStringLiteral("DBPassword"), fgZN(d.DBPassword()));
        rs.setValue(QStringLiteral("Database"), fgZN(d.Database()));
        rs.setValue(QStringLiteral("IntegratedSecurity"), db::Variant(d.IntegratedSecurity()));
        rs.setValue(QStringLiteral("Offline"), db::Variant(chkOffline->isChecked()));
        rs.update();
        IdConn = static_cast<qint32>(rs.value(QStringLiteral("IdConn")).toInt());
        rs.close();

        Description = txtDescription->text();
        Offline = chkOffline->isChecked();
        Ok = true;
        accept();
    });
}
