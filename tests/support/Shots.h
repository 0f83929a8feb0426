#pragma once

// Shared by the programs that take pictures of the windows, for looking at
// them under a real X server (xvfb-run).

#include "data/ProjectHost.h"
#include "data/db/Connection.h"

#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QThread>
#include <QWidget>

namespace shots {

// The project host of a pictures program: a connection and nothing else.
class Host : public IProjectHost {
public:
    db::Connection conn;
    db::Connection &Conn() override { return conn; }
    void SetDirty(bool) override {}
    void NodeTextChanged(const QString &, const QString &) override {}
    void SetFieldButtons(bool) override {}
    void UnloadChild(const QString &) override {}
};

// Lets the window lay itself out and paint.
inline void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

// Shows the window and saves its picture to `path`.
inline void shoot(QWidget &w, const QString &path)
{
    w.show();
    settle();
    w.grab().save(path);
}

} // namespace shots
