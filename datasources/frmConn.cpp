#include "datasources/frmConn.h"

#include "data/ErrorTrap.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"

frmConn::frmConn(QWidget *parent)
    : ChildWindow(QStringLiteral("frmConn"), QStringLiteral("lblDescription"), parent)
{
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
    setHeading(mstrDescription);
}

void frmConn::Activate() { Load(); }
