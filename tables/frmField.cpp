#include "tables/frmField.h"

#include "data/ErrorTrap.h"
#include "data/Lookups.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "data/db/SqlScan.h"
#include "tables/RoundingChoice.h"
#include "util/widgets/FormTools.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const QString kModule = QStringLiteral("frmField");
// 5000 by 2500 twips.
constexpr int kMinWidth = 5000 / 15;
constexpr int kMinHeight = 2500 / 15;
} // namespace

frmField::frmField(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmField"));
    setWindowTitle(tr("Camp"));
    setProperty("HelpContextID", 7);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);
    setMinimumSize(kMinWidth, kMinHeight);

    lblFieldName = new QLabel(tr("Nume Camp:"), this);
    lblFieldName->setObjectName(QStringLiteral("lblFieldName"));
    txtFieldName = new QLineEdit(this);
    txtFieldName->setObjectName(QStringLiteral("txtFieldName"));
    txtFieldName->setReadOnly(true);
    txtFieldName->setBackgroundRole(QPalette::Button);
    QPalette palette = txtFieldName->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    txtFieldName->setPalette(palette);
    Label2 = new QLabel(tr("Clauza WHERE:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtSQLWhere = new QPlainTextEdit(this);
    txtSQLWhere->setObjectName(QStringLiteral("txtSQLWhere"));
    txtSQLWhere->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtSQLWhere->setTabChangesFocus(true);
    lblRounding = new QLabel(tr("Rotunjire:"), this);
    lblRounding->setObjectName(QStringLiteral("lblRounding"));
    cboRounding = rounding::makeChoice(this);
    lblRounding->setBuddy(cboRounding);
    cmdOk = new QPushButton(tr("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setAutoDefault(false);
    cmdCancel = new QPushButton(tr("Abandoneaza"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblFieldName, 0, 0);
    grid->addWidget(txtFieldName, 0, 1);
    grid->addWidget(Label2, 1, 0, Qt::AlignTop);
    grid->addWidget(txtSQLWhere, 1, 1);
    grid->addWidget(lblRounding, 2, 0);
    grid->addWidget(cboRounding, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 3, 0, 1, 2);
    resize(460, 240);

    connect(cmdOk, &QPushButton::clicked, this, &frmField::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmField::cmdCancel_Click);
}

bool frmField::event(QEvent *event)
{
    if (event->type() == QEvent::Polish && !mbLoaded)
        Form_Load();
    return QDialog::event(event);
}

void frmField::Form_Load()
{
    if (mbLoaded)
        return;
    mbLoaded = true;
    fgTrap(kModule, QStringLiteral("Form_Load"), [&] {
        pgLoadFormSettings(this);
        Load();
    });
}

void frmField::Load()
{
    fgTrap(kModule, QStringLiteral("Load"), [&] {
        db::Recordset rs = projectConn().openRecordset(QStringLiteral("SELECT * FROM tField WHERE IdField = ")
                                                       + QString::number(IdField));
        if (!rs.eof()) {
            txtFieldName->setText(fgNZ(rs.value(QStringLiteral("FieldName")), QString()).toString());
            txtSQLWhere->setPlainText(fgNZ(rs.value(QStringLiteral("SQLWhere")), QString()).toString());
            rounding::setChoice(cboRounding, rounding::ofRow(rs));
        }
        rs.close();
    });
}

void frmField::cmdOk_Click()
{
    fgTrap(kModule, QStringLiteral("cmdOk_Click"), [&] {
        const QString text = txtSQLWhere->toPlainText();
        if (!db::isWellFormedText(text))
            throw db::DbError(db::E_FAIL, db::malformedTextMessage(db::TextSubject::WhereClause));
        db::Recordset rs = projectConn().openRecordset(QStringLiteral("SELECT * FROM tField WHERE IdField = ")
                                                           + QString::number(IdField),
                                                       db::CursorType::Static, db::LockType::Optimistic);
        // A field removed meanwhile cannot take its clause.
        if (rs.eof())
            throw db::DbError(db::E_FAIL, tr("Campul nu mai exista in proiect."));
        rs.setValue(QStringLiteral("SQLWhere"), fgZN(text));
        if (rounding::canStore(rs))
            rs.setValue(QStringLiteral("Rounding"), fgZN(rounding::choice(cboRounding)));
        rs.update();
        Rounding = rounding::choice(cboRounding);
        rs.close();
        SQLWhere = text;
        Ok = true;
        accept();
    });
}

void frmField::cmdCancel_Click()
{
    fgTrap(kModule, QStringLiteral("cmdCancel_Click"), [&] { reject(); });
}

void frmField::done(int result)
{
    if (!mbSettingsSaved) {
        mbSettingsSaved = true;
        fgTrap(kModule, QStringLiteral("Form_Unload"), [&] { pgSaveFormSettings(this); });
    }
    QDialog::done(result);
}
