#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class frmProgress;
namespace db {
class Connection;
}

// What the conversion command needs of the main window that owns the project.
class IConversionHost {
public:
    virtual ~IConversionHost() = default;
    // The window that owns the dialogs.
    virtual QWidget *conversionWindow() = 0;
    virtual db::Connection &Conn() = 0;
    // mstrFileName and mbDirty of the open project.
    virtual QString projectFileName() const = 0;
    virtual bool projectDirty() const = 0;
    virtual void SetDirty(bool pbDirty) = 0;
    virtual bool fSave() = 0;
    virtual void pClearProject(bool pbDeleteTempFile) = 0;
    virtual bool fLoadProject() = 0;
    // Key of the selected tree node, "" when none.
    virtual QString selectedNodeKey() const = 0;
    // Selects the node with that key again and runs the node-click handling.
    virtual void reselectNode(const QString &pstrKey) = 0;
    // Fields' states may have changed in the project (a listing probed them,
    // a run stopped by an error wrote some): the open windows show them again.
    virtual void refreshFieldStates() = 0;
};

// The conversion command of the main window: the "-" and "+" toolbar buttons
// (confirmation, save first, progress window) and the run the progress window
// starts by name, which walks the project, saves and reloads it and shows the
// report.
class ConversionCommand : public QObject {
    Q_OBJECT
public:
    explicit ConversionCommand(IConversionHost &host, QObject *parent = nullptr);

    // Makes the command of a main window: owned by it, running the conversion
    // through the window's own pConvertToLeiNoi and pConvertToLeiVechi, and
    // answering its signal convertRequested(bool) (the "-" and "+" buttons).
    static ConversionCommand *attach(IConversionHost &host, QObject *window);

    // The object on which the progress window calls pConvertToLeiNoi or
    // pConvertToLeiVechi by name: the main window, which forwards them here.
    // Without one, this object's own methods are called.
    void setRunTarget(QObject *target) { mRunTarget = target; }

    // The progress window of a running conversion, set only while it is shown.
    frmProgress *mfrmProgress = nullptr;

public slots:
    // The toolbar buttons "-" (to new lei, true) and "+" (to old lei, false).
    void tlbConvert(bool toLeiNoi);
    void pConvertToLeiNoi();
    void pConvertToLeiVechi();
    void pConvertField(bool pbLeiNoi);

private:
    IConversionHost &mHost;
    QPointer<QObject> mRunTarget;
    // Control totals for the run, as the confirmation's check box says.
    bool mTotals = true;
};
