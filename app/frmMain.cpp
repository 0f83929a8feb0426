#include "app/frmMain.h"

#include "app/frmStart.h"
#include "data/ErrorTrap.h"
#include "data/ProjectFile.h"
#include "data/WorkingCopy.h"
#include "data/db/DbError.h"
#include "data/db/Recordset.h"
#include "datasources/ConnStrings.h"
#include "datasources/frmConn.h"
#include "help/HelpSystem.h"
#include "tables/frmTable.h"
#include "util/core/AppInfo.h"
#include "util/core/Prompt.h"
#include "util/core/RecentFiles.h"
#include "util/widgets/FormTools.h"
#include "util/widgets/ModalDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QKeySequence>
#include <QMdiArea>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

static void initPictures() { Q_INIT_RESOURCE(resources); }

namespace {

const QString kModule = QStringLiteral("frmMain");
constexpr int kTreeWidth = 190;
// The tree's own error number for a key it does not hold.
constexpr qint32 kElementNotFound = 35601;

QIcon picture(const QString &name) { return QIcon(QStringLiteral(":/pictures/") + name + QStringLiteral(".svg")); }

// The number after the two-character prefix of a node key.
qint32 keyNumber(const QString &key) { return static_cast<qint32>(key.mid(2).toLong()); }

struct ToolbarButton {
    const char *key;
    const char *caption;
    const char *tooltip;
    const char *picture;
    bool separatorAfter;
};

// Captions and tooltips are translated when the buttons are made.
const ToolbarButton kButtons[] = {
    {"new", QT_TRANSLATE_NOOP("frmMain", "Nou"), QT_TRANSLATE_NOOP("frmMain", "Proiect Nou"), "new", false},
    {"open", QT_TRANSLATE_NOOP("frmMain", "Deschide"), QT_TRANSLATE_NOOP("frmMain", "Deschide Proiect"), "open",
     false},
    {"save", QT_TRANSLATE_NOOP("frmMain", "Salveaza"), QT_TRANSLATE_NOOP("frmMain", "Salveaza Proiectul"), "save",
     true},
    {"conn_add", QT_TRANSLATE_NOOP("frmMain", "Adauga"), QT_TRANSLATE_NOOP("frmMain", "Adauga Sursa de Date"),
     "db_add", false},
    {"conn_del", QT_TRANSLATE_NOOP("frmMain", "Sterge"), QT_TRANSLATE_NOOP("frmMain", "Sterge Sursa de Date"),
     "db_del", true},
    {"table_add", QT_TRANSLATE_NOOP("frmMain", "Adauga"), QT_TRANSLATE_NOOP("frmMain", "Adauga Tabel"),
     "table_add", false},
    {"table_del", QT_TRANSLATE_NOOP("frmMain", "Sterge"), QT_TRANSLATE_NOOP("frmMain", "Sterge Tabel"),
     "table_del", true},
    {"field_add", QT_TRANSLATE_NOOP("frmMain", "Adauga"), QT_TRANSLATE_NOOP("frmMain", "Adauga Camp"),
     "field_add", false},
    {"field_del", QT_TRANSLATE_NOOP("frmMain", "Sterge"), QT_TRANSLATE_NOOP("frmMain", "Sterge Camp"),
     "field_del", true},
    //: The currency after the changeover, on the button that converts to it.
    {"-", QT_TRANSLATE_NOOP("frmMain", "Lei NOI"), QT_TRANSLATE_NOOP("frmMain", "Converteste la lei NOI"),
     "lei_noi", false},
    //: The currency before the changeover, on the button that converts back to it.
    {"+", QT_TRANSLATE_NOOP("frmMain", "Lei VECHI"), QT_TRANSLATE_NOOP("frmMain", "Converteste la lei VECHI"),
     "lei_vechi", false},
};

} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    initPictures();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kAppTitle);
    setWindowIcon(picture(QStringLiteral("vamor")));

    mdi = new QMdiArea(this);
    mdi->setObjectName(QStringLiteral("mdi"));
    mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi);

    pic = new QDockWidget(this);
    pic->setObjectName(QStringLiteral("pic"));
    pic->setFeatures(QDockWidget::NoDockWidgetFeatures);
    pic->setTitleBarWidget(new QWidget(pic));
    trv = new QTreeWidget(pic);
    trv->setObjectName(QStringLiteral("trv"));
    trv->setHeaderHidden(true);
    trv->setColumnCount(1);
    trv->setIconSize(QSize(16, 16));
    trv->setSelectionMode(QAbstractItemView::SingleSelection);
    pic->setWidget(trv);
    addDockWidget(Qt::LeftDockWidgetArea, pic);

    createActions();

    // Long texts scroll sideways instead of being cut.
    trv->header()->setStretchLastSection(false);
    trv->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    // A click on a node selects it, and so does moving to it with the
    // keyboard. The tree taking the focus (which makes its first node
    // current) selects nothing.
    // The commands follow the current node however it changed: a press
    // released off the node, the focus coming to the tree, a node removed.
    connect(trv, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { trv_NodeClick(item); });
    connect(trv, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (mbSyncingTree)
            return;
        // The current node is the one the user sees selected.
        if (current && !current->isSelected())
            current->setSelected(true);
        if (mbKeyNavigation && current)
            trv_NodeClick(current);
        else
            pSetContext(current);
    });
    // A data source or table window activated (a click anywhere in it,
    // Ctrl+Tab) makes its node current.
    connect(mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) { pChildActivated(window); });
    trv->installEventFilter(this);
    pSetupSourceMenu();

    resize(1000, 700);
    Form_Load();
}

frmMain::~frmMain()
{
    Form_Unload();
    if (projectHost() == this)
        setProjectHost(nullptr);
}

void frmMain::createActions()
{
    tlb = addToolBar(QStringLiteral("tlb"));
    tlb->setObjectName(QStringLiteral("tlb"));
    tlb->setMovable(false);
    tlb->setFloatable(false);
    tlb->setIconSize(QSize(32, 32));
    tlb->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tlb->toggleViewAction()->setEnabled(false);
    for (const ToolbarButton &button : kButtons) {
        const QString key = QString::fromLatin1(button.key);
        QAction *action = tlb->addAction(picture(QString::fromLatin1(button.picture)),
                                         QCoreApplication::translate("frmMain", button.caption));
        action->setObjectName(QStringLiteral("tlb_") + key);
        action->setToolTip(QCoreApplication::translate("frmMain", button.tooltip));
        action->setData(key);
        connect(action, &QAction::triggered, this, [this, key] { tlb_ButtonClick(key); });
        mTlbButtons.insert(key, action);
        mTlbKeys.append(key);
        if (button.separatorAfter)
            tlb->addSeparator();
    }

    mnuFile = menuBar()->addMenu(tr("Fisier"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuNew = mnuFile->addAction(tr("Proiect Nou"), this, [this] { pNew(); });
    mnuNew->setObjectName(QStringLiteral("mnuNew"));
    mnuOpen = mnuFile->addAction(tr("Deschide Proiect"), this, [this] { pOpen(false); });
    mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileEmpty1"));
    mnuSave = mnuFile->addAction(tr("Salveaza"), this, [this] {
        pFinishPendingEdit();
        fSave();
    });
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    mnuHistory = mnuFile->addAction(tr("Istoric conversii..."), this, [this] {
        pFinishPendingEdit();
        pShowHistory();
    });
    mnuHistory->setObjectName(QStringLiteral("mnuHistory"));
    mnuHistory->setEnabled(false);
    // There is a history to show whenever there is a project.
    if (QAction *projectOpen = mTlbButtons.value(QStringLiteral("conn_add")))
        connect(projectOpen, &QAction::changed, mnuHistory,
                [this, projectOpen] { mnuHistory->setEnabled(projectOpen->isEnabled()); });
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileEmpty2"));
    mnuExit = mnuFile->addAction(tr("Inchide"), this, [this] { mnuExit_Click(); });
    mnuExit->setObjectName(QStringLiteral("mnuExit"));

    // The toolbar's commands on the project, from the keyboard: the same
    // actions' states, each with its shortcut.
    mnuProject = menuBar()->addMenu(tr("Proiect"));
    mnuProject->setObjectName(QStringLiteral("mnuProject"));
    const struct {
        const char *key;
        QKeySequence shortcut;
    } projectItems[] = {
        {"conn_add", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
        {"conn_del", QKeySequence()},
        {"table_add", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T)},
        {"table_del", QKeySequence()},
        {"field_add", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
        {"field_del", QKeySequence()},
        {"-", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)},
        {"+", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
    };
    for (const auto &item : projectItems) {
        const QString key = QString::fromLatin1(item.key);
        QAction *button = mTlbButtons.value(key);
        if (key == QLatin1String("-"))
            mnuProject->addSeparator();
        QAction *action = mnuProject->addAction(button->toolTip(), this, [this, key] { tlb_ButtonClick(key); });
        action->setObjectName(QStringLiteral("mnu_") + key);
        action->setShortcut(item.shortcut);
        action->setEnabled(button->isEnabled());
        connect(button, &QAction::changed, action, [button, action] { action->setEnabled(button->isEnabled()); });
        if (key == QLatin1String("conn_del")) {
            // The money columns of the current data source.
            mnuDiscover = mnuProject->addAction(tr("Cauta sume..."), this, [this] {
                pFinishPendingEdit();
                pDiscover();
            });
            mnuDiscover->setObjectName(QStringLiteral("mnu_discover"));
            mnuDiscover->setEnabled(false);
        }
    }
    mnuNew->setShortcut(QKeySequence::New);
    mnuOpen->setShortcut(QKeySequence::Open);
    mnuSave->setShortcut(QKeySequence::Save);
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuHelp = menuBar()->addMenu(tr("Ajutor"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    auto helpItem = [this](const QString &caption, const QString &name) {
        QAction *action = mnuHelp->addAction(caption, this, [this, name] { emit helpRequested(name); });
        action->setObjectName(name);
        return action;
    };
    mnuHepContent = helpItem(tr("Continut"), QStringLiteral("mnuHepContent"));
    mnuHelpIndex = helpItem(tr("Index"), QStringLiteral("mnuHelpIndex"));
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("mnuHelpEmpty1"));
    mnuHelpTerms = helpItem(tr("Termene si Conditii"), QStringLiteral("mnuHelpTerms"));
    mnuHelpAbout = helpItem(tr("Despre"), QStringLiteral("mnuHelpAbout"));
    pSetupLanguageMenu();
}

QAction *frmMain::tlbButton(const QString &pstrKey) const { return mTlbButtons.value(pstrKey); }

void frmMain::setButtonEnabled(const QString &pstrKey, bool pbEnabled)
{
    if (QAction *action = tlbButton(pstrKey))
        action->setEnabled(pbEnabled);
}

void frmMain::pFinishPendingEdit()
{
    // A click on the toolbar or a menu does not take the focus: a description
    // or a condition being typed would not reach the project before the
    // command saves or converts it.
    QWidget *focused = QApplication::focusWidget();
    if (!focused)
        return;
    focused->clearFocus();
    focused->setFocus(Qt::OtherFocusReason);
}

void frmMain::tlb_ButtonClick(const QString &pstrKey)
{
    pFinishPendingEdit();
    fgTrap(kModule, QStringLiteral("tlb_ButtonClick"), [&] {
        if (pstrKey == QLatin1String("new"))
            pNew();
        else if (pstrKey == QLatin1String("open"))
            pOpen(false);
        else if (pstrKey == QLatin1String("save"))
            fSave();
        else if (pstrKey == QLatin1String("-"))
            emit convertRequested(true);
        else if (pstrKey == QLatin1String("+"))
            emit convertRequested(false);
        else if (pstrKey == QLatin1String("conn_add"))
            pConnAdd();
        else if (pstrKey == QLatin1String("conn_del"))
            pConnDel();
        else if (pstrKey == QLatin1String("table_add"))
            pTableAdd();
        else if (pstrKey == QLatin1String("table_del"))
            pTableDel();
        else if (pstrKey == QLatin1String("field_add"))
            pFieldAdd();
        else if (pstrKey == QLatin1String("field_del"))
            pFieldDel();
        else
            emit commandRequested(pstrKey);
    });
}

// ---------------------------------------------------------------------------
// Window handlers

void frmMain::Form_Load()
{
    setProjectHost(this);
    pgLoadFormSettings(this);
    // The help collection when it is there: the "Ajutor" menu, and F1 in
    // every window opens the topic of its HelpContextID.
    setProperty("HelpContextID", 0);
    connect(this, &frmMain::helpRequested, new HelpSystem(this), &HelpSystem::menuCommand);
    pClearProject(true);
    SetDirty(false);
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!mbTreeSized) {
        mbTreeSized = true;
        resizeDocks({pic}, {kTreeWidth}, Qt::Horizontal);
        // Some desktops never activate a new window by themselves: the first
        // showing counts as the first activation.
        QTimer::singleShot(0, this, [this] { Form_Activate(); });
    }
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // A key press reaches the tree through here once more, marked as
    // keyboard navigation.
    if (watched == trv && event->type() == QEvent::KeyPress && !mbKeyNavigation) {
        mbKeyNavigation = true;
        QCoreApplication::sendEvent(trv, event);
        mbKeyNavigation = false;
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::event(QEvent *event)
{
    // The start dialog comes up once the window is on screen.
    if (event->type() == QEvent::WindowActivate && !mbActivated)
        QTimer::singleShot(0, this, [this] { Form_Activate(); });
    return QMainWindow::event(event);
}

void frmMain::Form_Activate()
{
    if (mbActivated || mbUnloaded || mbEnding)
        return;
    mbActivated = true;
    // A working copy recovered from an ended run is the project: the start
    // dialog is not needed.
    if (fOfferOrphans() || mbEnding)
        return;
    if (!mstrStartFile.isEmpty() && (fOpenFile(mstrStartFile) || mbEnding))
        return;
    pOpen(true);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Only the user closing the window asks about unsaved changes; a close
    // requested by the program (the menu "Inchide" has already asked, or
    // the session ends) does not.
    if (event->spontaneous() && !mbCloseByCode && !mbUnloaded) {
        pFinishPendingEdit();
        if (!fCloseProject()) {
            event->ignore();
            return;
        }
    }
    mbCloseByCode = false;
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    if (mbUnloaded)
        return;
    mbUnloaded = true;
    pClearProject(true);
    pgSaveFormSettings(this);
}

void frmMain::mnuExit_Click()
{
    pFinishPendingEdit();
    if (!fCloseProject())
        return;
    mbCloseByCode = true;
    close();
}

// ---------------------------------------------------------------------------
// Project lifecycle

db::Connection &frmMain::Conn() { return mcnnProject; }

void frmMain::SetDirty(bool pbDirty)
{
    setButtonEnabled(QStringLiteral("save"), pbDirty);
    mnuSave->setEnabled(pbDirty);
    mbDirty = pbDirty;
}

QString frmMain::fGetTempFile(const QString &pstrSource)
{
    QString result;
    fgTrap(kModule, QStringLiteral("fGetTempFile"), [&] {
        std::unique_ptr<projectfile::WorkingCopy> copy = projectfile::WorkingCopy::create(pstrSource, fgAppPath());
        result = copy->path();
        mWorkingCopy = std::move(copy);
    });
    return result;
}

bool frmMain::fLoadProject()
{
    bool loaded = false;
    fgTrap(kModule, QStringLiteral("fLoadProject"), [&] {
        mcnnProject.close();
        mcnnProject.open(projectfile::projectConnectionString(mstrTempFile));
        const QString version = projectfile::readProjectVersion(mcnnProject);
        if (version != QLatin1String("1.0")) {
            ui::msgBox(tr("Proiectul a fost salvat in formatul versiunii %1, pe care acest program "
                          "nu il cunoaste (cunoaste doar versiunea 1.0).\nProiectul nu poate fi deschis.")
                           .arg(version),
                       ui::Buttons::Ok, ui::Icon::Exclamation);
            return;
        }
        projectfile::upgradeSchema(mcnnProject);
        pFoldRunJournal();
        mChangeover = Changeover::of(mcnnProject);
        pShowChangeover();
        pLoadTree();
        SetDirty(false);
        setButtonEnabled(QStringLiteral("conn_add"), true);
        pSetConvertButtons();
        loaded = true;
    });
    return loaded;
}

void frmMain::pLoadTree()
{
    db::Recordset rs = mcnnProject.openRecordset(QStringLiteral("SELECT * FROM tConn ORDER BY Description"));
    QList<QPair<QTreeWidgetItem *, bool>> sources;
    // The source nodes by key: each table finds its parent at once.
    QHash<QString, QTreeWidgetItem *> sourceNodes;
    while (!rs.eof()) {
        const bool offline = rs.value(QStringLiteral("Offline")).toBool();
        auto *node = new QTreeWidgetItem(trv);
        node->setText(0, fgGetConnText(rs.value(QStringLiteral("Description")).toString(), offline));
        node->setData(0, Qt::UserRole,
                      QStringLiteral("C_") + QString::number(rs.value(QStringLiteral("IdConn")).toInt()));
        node->setIcon(0, picture(QStringLiteral("DS_")
                                 + QString::number(rs.value(QStringLiteral("IdConnType")).toInt())));
        sources.append({node, offline});
        sourceNodes.insert(nodeKey(node), node);
        rs.moveNext();
    }
    rs.close();

    rs = mcnnProject.openRecordset(QStringLiteral(
        "SELECT tTable.IdTable, tTable.IdConn, tTable.TableName, tTable.Owner, Count(tField.IdField) AS "
        "FieldsCount FROM tTable LEFT JOIN tField ON tTable.IdTable = tField.IdTable GROUP BY tTable.IdTable, "
        "tTable.IdConn, tTable.TableName, tTable.Owner ORDER BY TableName"));
    const QIcon tablePicture = picture(QStringLiteral("table"));
    while (!rs.eof()) {
        const QString parentKey = QStringLiteral("C_") + QString::number(rs.value(QStringLiteral("IdConn")).toInt());
        QTreeWidgetItem *parent = sourceNodes.value(parentKey);
        if (!parent)
            parent = findNodeOrThrow(parentKey);
        auto *node = new QTreeWidgetItem(parent);
        node->setText(0, rs.value(QStringLiteral("TableName")).toString() + QStringLiteral(" (")
                             + QString::number(rs.value(QStringLiteral("FieldsCount")).toInt())
                             + QStringLiteral(")"));
        node->setData(0, Qt::UserRole,
                      QStringLiteral("T_") + QString::number(rs.value(QStringLiteral("IdTable")).toInt()));
        node->setIcon(0, tablePicture);
        rs.moveNext();
    }
    rs.close();

    for (const auto &source : sources)
        source.first->setExpanded(!source.second);
}

void frmMain::pClearProject(bool pbDeleteTempFile)
{
    // Every step goes on whatever the previous one met.
    trv->clear();
    for (const QPointer<QWidget> &dialog : mcolDialogs.items())
        delete dialog.data();
    mcolDialogs.clear();
    for (const QPointer<QWidget> &child : mcolChildren.items())
        delete child.data();
    mcolChildren.clear();
    try {
        mcnnProject.close();
    } catch (...) {
    }
    if (pbDeleteTempFile) {
        pRemoveTempFile();
        // The project is closed: another program may open it now.
        mProjectLock.release();
    }
    for (const char *key : {"conn_add", "conn_del", "table_add", "table_del", "field_add", "field_del"})
        setButtonEnabled(QString::fromLatin1(key), false);
    pSetConvertButtons();
}

bool frmMain::fCloseProject()
{
    bool closed = false;
    fgTrap(kModule, QStringLiteral("fCloseProject"), [&] {
        if (mbDirty) {
            const ui::Answer answer = ui::msgBox(
                tr("Proiectul curent a fost modificat.\nDoriti sa salvati?"), ui::Buttons::YesNoCancel,
                ui::Icon::Question);
            if (answer == ui::Answer::Cancel)
                return;
            if (answer == ui::Answer::Yes && !fSave())
                return;
        }
        pClearProject(true);
        // The changes went with the working copy: nothing is left to save,
        // even when no other project loads after this one.
        SetDirty(false);
        closed = true;
    });
    return closed;
}

void frmMain::pNew()
{
    fgTrap(kModule, QStringLiteral("pNew"), [&] {
        frmStart dialog(this);
        dialog.ShowExisting = false;
        dialog.ShowRecent = false;
        ui::showModal(dialog);
        if (!dialog.Ok)
            return;
        if (!fCloseProject())
            return;
        mstrFileName.clear();
        mstrTempFile = fGetTempFile(fgDataFile(dialog.NewFileName));
        if (!mstrTempFile.isEmpty())
            fLoadProject();
    });
}

void frmMain::pOpen(bool pbShowNew)
{
    fgTrap(kModule, QStringLiteral("pOpen"), [&] {
        frmStart dialog(this);
        dialog.ShowNew = pbShowNew;
        ui::showModal(dialog);
        if (!dialog.Ok)
            return;
        if (!fCloseProject())
            return;
        if (!dialog.FileName.isEmpty()) {
            // A project another program has open stays closed here.
            if (!fLockProject(dialog.FileName)) {
                mstrFileName.clear();
                mstrTempFile.clear();
                return;
            }
            mstrFileName = dialog.FileName;
            mstrTempFile = fGetTempFile(mstrFileName);
            if (mstrTempFile.isEmpty())
                mProjectLock.release();
        } else {
            mstrFileName.clear();
            mstrTempFile = fGetTempFile(fgDataFile(dialog.NewFileName));
        }
        if (!mstrTempFile.isEmpty()) {
            if (fLoadProject() && !mstrFileName.isEmpty())
                pgAddToRecent(mstrFileName);
        }
    });
}

// ---------------------------------------------------------------------------
// Tree and child windows

QString frmMain::nodeKey(const QTreeWidgetItem *node)
{
    return node ? node->data(0, Qt::UserRole).toString() : QString();
}

QString frmMain::selectedNodeKey() const { return nodeKey(trv->currentItem()); }

QTreeWidgetItem *frmMain::findNode(const QString &pstrKey) const
{
    for (int i = 0; i < trv->topLevelItemCount(); ++i) {
        QTreeWidgetItem *source = trv->topLevelItem(i);
        if (nodeKey(source) == pstrKey)
            return source;
        for (int j = 0; j < source->childCount(); ++j)
            if (nodeKey(source->child(j)) == pstrKey)
                return source->child(j);
    }
    return nullptr;
}

QTreeWidgetItem *frmMain::findNodeOrThrow(const QString &pstrKey) const
{
    QTreeWidgetItem *node = findNode(pstrKey);
    if (!node)
        throw db::DbError(kElementNotFound, tr("Nodul \"%1\" nu exista in arbore.").arg(pstrKey));
    return node;
}

bool frmMain::selectNode(const QString &pstrKey)
{
    QTreeWidgetItem *node = findNode(pstrKey);
    if (!node)
        return false;
    trv->setCurrentItem(node);
    trv->scrollToItem(node);
    trv_NodeClick(node);
    return true;
}

template <class Window>
Window *frmMain::childWindow(const QString &pstrKey) const
{
    return qobject_cast<Window *>(mcolChildren.value(pstrKey).data());
}

void frmMain::pSetContext(QTreeWidgetItem *node)
{
    fgTrap(kModule, QStringLiteral("pSetContext"), [&] {
        const QString key = nodeKey(node);
        const bool source = key.startsWith(QLatin1String("C_"));
        const bool table = key.startsWith(QLatin1String("T_"));
        if (source) {
            mlngIdConn = keyNumber(key);
            mlngIdTable = 0;
        } else if (table) {
            mlngIdTable = keyNumber(key);
            mlngIdConn = keyNumber(nodeKey(node->parent()));
        }
        setButtonEnabled(QStringLiteral("conn_del"), source);
        if (mnuDiscover)
            mnuDiscover->setEnabled(source || table);
        setButtonEnabled(QStringLiteral("table_add"), source || table);
        setButtonEnabled(QStringLiteral("table_del"), table);
        setButtonEnabled(QStringLiteral("field_add"), table);
        if (table)
            pUpdateFieldButtons();
        else
            setButtonEnabled(QStringLiteral("field_del"), false);
    });
}

void frmMain::pUpdateFieldButtons()
{
    // The field of the current table's window, selected in it.
    const frmTable *window =
        mlngIdTable != 0 && selectedNodeKey().startsWith(QLatin1String("T_"))
            ? childWindow<frmTable>(QStringLiteral("T_") + QString::number(mlngIdTable))
            : nullptr;
    setButtonEnabled(QStringLiteral("field_del"), window && window->HasSelectedField());
}

void frmMain::pChildActivated(QMdiSubWindow *window)
{
    if (!window)
        return;
    fgTrap(kModule, QStringLiteral("pChildActivated"), [&] {
        QString key;
        for (const QString &childKey : mcolChildren.keys())
            if (mcolChildren.value(childKey).data() == window)
                key = childKey;
        QTreeWidgetItem *node = key.isEmpty() ? nullptr : findNode(key);
        if (!node)
            return;
        if (trv->currentItem() != node) {
            mbSyncingTree = true;
            trv->setCurrentItem(node);
            trv->scrollToItem(node);
            mbSyncingTree = false;
        }
        pSetContext(node);
    });
}

void frmMain::trv_NodeClick(QTreeWidgetItem *node)
{
    pSetContext(node);
    if (!node)
        return;
    fgTrap(kModule, QStringLiteral("trv_NodeClick"), [&] {
        const QString key = nodeKey(node);
        if (key.startsWith(QLatin1String("C_"))) {
            frmConn *window = childWindow<frmConn>(key);
            if (!window) {
                window = new frmConn;
                connect(window, &frmConn::discoverRequested, this, [this] { pDiscover(); });
                window->IdConn = mlngIdConn;
                window->Key = key;
                window->Load();
                pAddChild(window, window->Key);
            }
            pShowChild(window);
        } else if (key.startsWith(QLatin1String("T_"))) {
            frmTable *window = childWindow<frmTable>(key);
            if (window) {
                window->Activate();
            } else {
                window = new frmTable;
                window->IdConn = mlngIdConn;
                window->IdTable = mlngIdTable;
                window->Key = key;
                window->Load();
                pAddChild(window, window->Key);
            }
            pShowChild(window);
        }
    });
}

void frmMain::pAddChild(QMdiSubWindow *window, const QString &key)
{
    mdi->addSubWindow(window);
    mcolChildren.add(key, window);
}

void frmMain::pShowChild(QMdiSubWindow *window)
{
    window->show();
    mdi->setActiveSubWindow(window);
    window->raise();
}

void frmMain::pSetConvertButtons()
{
    const bool any = trv->topLevelItemCount() > 0;
    setButtonEnabled(QStringLiteral("-"), any);
    setButtonEnabled(QStringLiteral("+"), any);
}

void frmMain::NodeTextChanged(const QString &pstrKey, const QString &pstrText)
{
    fgTrap(kModule, QStringLiteral("NodeTextChanged"), [&] { findNodeOrThrow(pstrKey)->setText(0, pstrText); });
}

void frmMain::SetFieldButtons(bool pbEnabled)
{
    // Any table window may report its selection: the button follows the
    // selection in the window of the current table, whichever reported.
    Q_UNUSED(pbEnabled);
    pUpdateFieldButtons();
}

void frmMain::UnloadChild(const QString &pstrKey) { mcolChildren.remove(pstrKey); }
