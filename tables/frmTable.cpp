#include "tables/frmTable.h"

#include "data/ErrorTrap.h"
#include "data/ProjectHost.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"

frmTable::frmTable(QWidget *parent)
    : ChildWindow(QStringLiteral("frmTable"), QStringLiteral("lblTableName"), parent)
{
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
    setHeading(mstrTableName);
}

void frmTable::Activate()
{
    ++mintActivations;
    Load();
}
