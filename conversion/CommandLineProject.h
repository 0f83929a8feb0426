#pragma once

#include "data/ProjectHost.h"
#include "data/db/Connection.h"

#include <QString>

namespace cli {

// The project host of the run: the working copy's connection and nothing else.
class CommandLineHost : public IProjectHost {
public:
    explicit CommandLineHost(db::Connection &conn) : mConn(conn) {}
    db::Connection &Conn() override { return mConn; }
    void SetDirty(bool pbDirty) override { mDirty = pbDirty; }
    void NodeTextChanged(const QString &, const QString &) override {}
    void SetFieldButtons(bool) override {}
    void UnloadChild(const QString &) override {}

private:
    db::Connection &mConn;
    bool mDirty = false;
};

// The open project of the run: its working copy, the connection to it and the
// registered host. Saved over the project file and removed at the end.
class OpenProject {
public:
    ~OpenProject();

    // Opens a working copy of the project. Returns "" or the message.
    QString open(const QString &projectPath);

    db::Connection &conn() { return mConn; }

    // Copies the working copy over the project file. Returns "" or the message;
    // on failure the working copy is kept so that nothing is lost.
    QString save();

private:
    db::Connection mConn;
    CommandLineHost mHost{mConn};
    QString mProjectPath;
    QString mWorkingCopy;
    bool mKeepWorkingCopy = false;
};

} // namespace cli
