#include "data/ProjectHost.h"

#include "data/db/Connection.h"
#include "data/db/DbError.h"

#include <QCoreApplication>

namespace {
IProjectHost *gHost = nullptr;
}

IProjectHost *projectHost() { return gHost; }

void setProjectHost(IProjectHost *host) { gHost = host; }

db::Connection &projectConn()
{
    if (!gHost)
        throw db::DbError(db::ADO_E_ILLEGALOPERATION,
                          QCoreApplication::translate("ProjectHost", "Nu este deschis niciun proiect."));
    db::Connection &conn = gHost->Conn();
    if (!conn.isOpen())
        throw db::DbError(db::ADO_E_ILLEGALOPERATION,
                          QCoreApplication::translate("ProjectHost", "Conexiunea la proiect nu este deschisa."));
    return conn;
}
