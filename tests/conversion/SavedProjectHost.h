#pragma once

// The conversion command's view of a main window whose project is saved and
// unchanged, for tests and pictures programs that run a conversion without
// the main window: saving and reloading succeed and do nothing.
#include "conversion/ConversionCommand.h"
#include "data/db/Connection.h"

namespace convtest {

class SavedProjectHost : public IConversionHost {
public:
    explicit SavedProjectHost(db::Connection &conn) : mConn(conn) {}
    QWidget *conversionWindow() override { return nullptr; }
    db::Connection &Conn() override { return mConn; }
    QString projectFileName() const override { return QStringLiteral("p.vmd"); }
    bool projectDirty() const override { return false; }
    void SetDirty(bool) override {}
    bool fSave() override { return true; }
    void pClearProject(bool) override {}
    bool fLoadProject() override { return true; }
    QString selectedNodeKey() const override { return QString(); }
    void reselectNode(const QString &) override {}
    void refreshFieldStates() override {}

private:
    db::Connection &mConn;
};

} // namespace convtest
