#include "tables/frmTable.h"

#include "data/ErrorTrap.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

frmTable::frmTable(QWidget *parent) : QMdiSubWindow(parent)
{
    setObjectName(QStringLiteral("frmTable"));
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    lblTableName = new QLabel(content);
    lblTableName->setObjectName(QStringLiteral("lblTableName"));
    QFont font = lblTableName->font();
    font.setBold(true);
    lblTableName->setFont(font);
    layout->addWidget(lblTableName);
    layout->addStretch(1);
    setWidget(content);
    resize(420, 260);
}

frmTable::~frmTable()
{
    if (IProjectHost *host = projectHost())
        host->UnloadChild(Key);
}

void frmTable::Load()
{
    fgTrap(QStringLiteral("frmTable"), QStringLiteral("Load"), [&] {
        db::Recordset rs = projectConn().openRecordset(QStringLiteral("SELECT * FROM tTable WHERE IdTable = ")
                                                       + QString::number(IdTable));
        mstrTableName = rs.eof() ? QString() : rs.value(QStringLiteral("TableName")).toString();
        rs.close();
    });
    setWindowTitle(mstrTableName);
    lblTableName->setText(mstrTableName);
}

void frmTable::Activate()
{
    ++mintActivations;
    Load();
}

void frmTable::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}
