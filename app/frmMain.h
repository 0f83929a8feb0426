#pragma once

#include "data/Changeover.h"

#include "conversion/ConversionCommand.h"
#include "data/KeyedCollection.h"
#include "data/ProjectHost.h"
#include "data/ProjectLock.h"
#include "data/db/Connection.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

namespace projectfile {
class WorkingCopy;
}

class QAction;
class QDockWidget;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

// The main window: the tree of the open project (data sources and their
// tables) on the left, the child window of the selected node on the right,
// the toolbar and the menus "Fisier" and "Ajutor" above. It owns the open
// project: its file, its working copy and the one connection to it.
class frmMain : public QMainWindow, public IProjectHost, public IConversionHost {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // What the windows of the project call back.
    db::Connection &Conn() override;
    void SetDirty(bool pbDirty) override;
    void NodeTextChanged(const QString &pstrKey, const QString &pstrText) override;
    void SetFieldButtons(bool pbEnabled) override;
    void UnloadChild(const QString &pstrKey) override;

    // The project lifecycle.
    QString fGetTempFile(const QString &pstrSource);
    bool fLoadProject();
    void pClearProject(bool pbDeleteTempFile);
    bool fCloseProject();
    bool fSave();
    void pNew();
    void pOpen(bool pbShowNew);
    // Opens the project file without the start dialog; false, after the
    // usual message, when it cannot be opened (nothing is left open then).
    bool fOpenFile(const QString &pstrFileName);
    // A project file named on the command line (what the desktop passes for
    // a double-clicked project): the first activation opens it instead of
    // showing the start dialog, which comes only when it cannot be opened.
    void setStartFile(const QString &pstrFileName) { mstrStartFile = pstrFileName; }

    // Working copies left by runs that have ended: one question each,
    // "Da" opens it as a new, unsaved project (and ends the questions), "Nu"
    // deletes it, "Anulare" leaves it. Journals left without their copy are
    // deleted. True when a copy was opened.
    bool fOfferOrphans();
    // The session ends (SIGTERM, SIGINT): a running conversion stops after
    // its current field, open dialogs are closed, then the window closes
    // without questions (unsaved changes are lost, the working copy goes)
    // and the program quits.
    void pEndSession();
    // True while the project file is locked by this window.
    bool holdsProjectLock() const { return mProjectLock.isLocked(); }

    // Node selection: opens or brings back the node's child window and sets
    // the button states; with no node only the buttons change.
    void trv_NodeClick(QTreeWidgetItem *node);
    // Selects the node with the key and runs the node selection on it;
    // false when the tree has no such node.
    bool selectNode(const QString &pstrKey);
    // The node with the key ("C_" + IdConn, "T_" + IdTable), or nullptr.
    QTreeWidgetItem *findNode(const QString &pstrKey) const;
    static QString nodeKey(const QTreeWidgetItem *node);
    // The key of the selected node, "" when none.
    QString selectedNodeKey() const;

    // Enables both conversion buttons when the tree holds a node.
    void pSetConvertButtons();
    // The conversion buttons and menu commands named after the project's
    // currencies ("Lei NOI", "EUR").
    void pShowChangeover();

    // Data sources (frmMainDataSources.cpp): the add-data-source wizard and
    // the deletion of the selected data source with its tables.
    void pConnAdd();
    void pConnDel();
    // "Cauta sume..." on the current data source: the discovery window, then
    // the tables and fields it added in the tree and in open windows.
    void pDiscover();
    // The window of the project's conversion runs.
    void pShowHistory();
    // The context menu of a data source node ("Cauta sume...").
    void pSetupSourceMenu();

    // The Limba menu (frmMainLanguage.cpp): the language of the next start.
    void pSetupLanguageMenu();
    void pChooseLanguage(const QString &code);

    // Tables and fields (frmMainTables.cpp): the add-table and add-field
    // dialogs (one kept per data source and per table), the deletion of the
    // selected table and of the table window's selected field.
    void pTableAdd();
    void pTableDel();
    void pFieldAdd();
    void pFieldDel();

    // The first activation opens the start dialog.
    void Form_Activate();
    // Menu "Inchide": closes the project, then the window.
    void mnuExit_Click();

    bool isDirty() const { return mbDirty; }
    const QString &fileName() const { return mstrFileName; }
    // The same, under the names the conversion command asks its host for.
    QWidget *conversionWindow() { return this; }
    QString projectFileName() const { return mstrFileName; }
    bool projectDirty() const { return mbDirty; }
    void reselectNode(const QString &pstrKey) { selectNode(pstrKey); }
    // Every open table window reads its fields' states again.
    void refreshFieldStates();
    const QString &tempFile() const { return mstrTempFile; }
    qint32 idConn() const { return mlngIdConn; }
    qint32 idTable() const { return mlngIdTable; }
    // The toolbar button with the key ("new", "open", "save", "conn_add",
    // "conn_del", "table_add", "table_del", "field_add", "field_del", "-", "+").
    QAction *tlbButton(const QString &pstrKey) const;
    QStringList tlbKeys() const { return mTlbKeys; }

    QTreeWidget *trv = nullptr;
    QMdiArea *mdi = nullptr;
    QToolBar *tlb = nullptr;
    QDockWidget *pic = nullptr;
    QMenu *mnuFile = nullptr;
    QAction *mnuNew = nullptr;
    QAction *mnuOpen = nullptr;
    QAction *mnuSave = nullptr;
    QAction *mnuHistory = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuProject = nullptr;
    QAction *mnuDiscover = nullptr;
    QMenu *mnuLanguage = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHepContent = nullptr;
    QAction *mnuHelpIndex = nullptr;
    QAction *mnuHelpTerms = nullptr;
    QAction *mnuHelpAbout = nullptr;

    // Open child windows and kept add dialogs, keyed by node key.
    KeyedCollection<QPointer<QWidget>> mcolChildren;
    KeyedCollection<QPointer<QWidget>> mcolDialogs;

    // --- Conversion: the command behind "-" and "+" (ConversionCommand) and
    // the run that its progress window starts by name on this window.
public slots:
    void pConvertToLeiNoi() { mConversion->pConvertToLeiNoi(); }
    void pConvertToLeiVechi() { mConversion->pConvertToLeiVechi(); }
public:
    void pConvertField(bool pbLeiNoi) { mConversion->pConvertField(pbLeiNoi); }
    ConversionCommand *conversionCommand() const { return mConversion; }
private:
    ConversionCommand *mConversion = ConversionCommand::attach(*this, this);
    // --- end of conversion

signals:
    // Toolbar "-" (toLeiNoi true) and "+" (false): the conversion command.
    void convertRequested(bool toLeiNoi);
    // Toolbar "conn_add", "conn_del", "table_add", "table_del", "field_add",
    // "field_del": the project-definition commands.
    void commandRequested(const QString &key);
    // Menu "Ajutor": "mnuHepContent", "mnuHelpIndex", "mnuHelpTerms", "mnuHelpAbout".
    void helpRequested(const QString &item);
    // pEndSession has closed the window: the program may quit.
    void sessionEnded();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void Form_Load();
    void Form_Unload();
    void pLoadTree();
    void tlb_ButtonClick(const QString &pstrKey);
    // Finishes an edit still in its box (the focus leaves it and comes back),
    // so that it is written before a toolbar or menu command runs.
    void pFinishPendingEdit();
    void setButtonEnabled(const QString &pstrKey, bool pbEnabled);
    QTreeWidgetItem *findNodeOrThrow(const QString &pstrKey) const;
    template <class Window>
    Window *childWindow(const QString &pstrKey) const;
    void pAddChild(QMdiSubWindow *window, const QString &pstrKey);
    void pShowChild(QMdiSubWindow *window);
    // The current node's context: the data source and table the commands
    // act on and every button's state, whatever made the node current.
    void pSetContext(QTreeWidgetItem *node);
    // "Sterge Camp": a field selected in the window of the current table.
    void pUpdateFieldButtons();
    // A child window activated: its node becomes current.
    void pChildActivated(QMdiSubWindow *window);
    // Locks the project file about to be opened; on failure says why.
    bool fLockProject(const QString &pstrFileName);
    // Folds the runs recorded in the journal beside the project file into
    // the open project; a failure is told and leaves the journal for later.
    void pFoldRunJournal();
    // The same for the journal of `projectFile`, silently; true when the
    // open project now holds every run of it.
    bool fFoldRunJournal(const QString &projectFile);
    // Deletes the working copy mstrTempFile with its journals and lock.
    void pRemoveTempFile();
    bool fRecoverCopy(std::unique_ptr<projectfile::WorkingCopy> copy);
    // Tables and fields: the Offline flag of the data source mlngIdConn; the
    // kept dialog and the child window under a node key destroyed; a table
    // node's text with its field count.
    bool fConnOffline() const;
    void pUnloadNodeWindows(const QString &pstrKey);
    void pTableNodeText(const QString &pstrKey, const class frmTable &window);

    QString mstrFileName;
    QString mstrTempFile;
    QString mstrStartFile;
    // The working copy's owner record and the project file's lock: held
    // from opening a project to closing it.
    std::unique_ptr<projectfile::WorkingCopy> mWorkingCopy;
    projectfile::ProjectLock mProjectLock;
    db::Connection mcnnProject;
    Changeover mChangeover; // of the open project; the 2005 leu when none is open
    bool mbDirty = false;
    qint32 mlngIdConn = 0;
    qint32 mlngIdTable = 0;

    bool mbActivated = false;
    bool mbCloseByCode = false;
    bool mbUnloaded = false;
    bool mbKeyNavigation = false;
    bool mbSyncingTree = false;
    bool mbTreeSized = false;
    bool mbEnding = false;
    qint64 mEndingSince = 0;
    QHash<QString, QAction *> mTlbButtons;
    QStringList mTlbKeys;
};
