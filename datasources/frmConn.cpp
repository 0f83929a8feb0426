#include "datasources/frmConn.h"

#include "data/ErrorTrap.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

frmConn::frmConn(QWidget *parent) : QMdiSubWindow(parent)
{
    setObjectName(QStringLiteral("frmConn"));
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    lblDescription = new QLabel(content);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    QFont font = lblDescription->font();
    font.setBold(true);
    lblDescription->setFont(font);
    layout->addWidget(lblDescription);
    layout->addStretch(1);
    setWidget(content);
    resize(420, 260);
}

frmConn::~frmConn()
{
    if (IProjectHost *host = projectHost())
        host->UnloadChild(Key);
}

void frmConn::Load()
{
    fgTrap(QStringLiteral("frmConn"), QStringLiteral("Load"), [&] {
        db::Recordset rs = projectConn().openRecordset(QStringLiteral("SELECT * FROM tConn WHERE IdConn = ")
                                                       + QString::number(IdConn));
        mstrDescription = rs.eof() ? QString() : rs.value(QStringLiteral("Description")).toString();
        rs.close();
    });
    setWindowTitle(mstrDescription);
    lblDescription->setText(mstrDescription);
}

void frmConn::Activate() { Load(); }

void frmConn::closeEvent(QCloseEvent *event)
{
    // The close box hides the window; the main window keeps it for the next
    // click on its node.
    event->ignore();
    hide();
}
