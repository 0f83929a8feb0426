#pragma once

#include "util/widgets/ChildWindow.h"

#include <QString>

// The window of one data source, a child of the main window. It shows the
// data source's description. Closing it with its close box only hides it;
// it is destroyed when its data source is removed or the project closes,
// and then tells the main window (UnloadChild).
class frmConn : public ChildWindow {
    Q_OBJECT
public:
    explicit frmConn(QWidget *parent = nullptr);
    ~frmConn() override;

    // Set by the main window before Load.
    qint32 IdConn = 0;
    QString Key;

    // Reads the data source's row from the project.
    void Load();
    // Called when the window is brought back to the front.
    void Activate();

    QString description() const { return mstrDescription; }

private:
    QString mstrDescription;
};
