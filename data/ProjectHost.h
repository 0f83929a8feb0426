#pragma once

#include <QString>

namespace db {
class Connection;
}

// What the windows of a project call back on the main window that owns the
// project. The main window implements it; tests hand windows a host of
// their own.
class IProjectHost {
public:
    virtual ~IProjectHost() = default;
    // The one open connection to the working copy of the project.
    virtual db::Connection &Conn() = 0;
    virtual void SetDirty(bool pbDirty) = 0;
    virtual void NodeTextChanged(const QString &pstrKey, const QString &pstrText) = 0;
    virtual void SetFieldButtons(bool pbEnabled) = 0;
    virtual void UnloadChild(const QString &pstrKey) = 0;
};

// The host of the open project (the main window), or nullptr.
IProjectHost *projectHost();
void setProjectHost(IProjectHost *host);

// The project connection of the registered host. Throws DbError when no
// project is open.
db::Connection &projectConn();
