#pragma once

#include "util/widgets/ChildWindow.h"

#include <QString>

// The window of one table of a data source, a child of the main window. It
// shows the table's name. Closing it with its close box only hides it; it is
// destroyed when its table or data source is removed or the project closes,
// and then tells the main window (UnloadChild).
class frmTable : public ChildWindow {
    Q_OBJECT
public:
    explicit frmTable(QWidget *parent = nullptr);
    ~frmTable() override;

    // Set by the main window before Load.
    qint32 IdConn = 0;
    qint32 IdTable = 0;
    QString Key;

    // Reads the table's row from the project.
    void Load();
    // Called by the main window each time an open table window is selected
    // again: the row is read anew.
    void Activate();

    QString GetTableName() const { return mstrTableName; }
    int activateCount() const { return mintActivations; }

private:
    QString mstrTableName;
    int mintActivations = 0;
};
