#include "help/HelpSystem.h"

#include "data/ErrorTrap.h"
#include "help/frmAbout.h"
#include "help/frmHelp.h"
#include "help/frmTerms.h"
#include "util/core/HelpTopics.h"
#include "util/widgets/ModalDialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>

HelpSystem::HelpSystem(QWidget *mainWindow) : QObject(mainWindow), mMainWindow(mainWindow)
{
    const QString file = fgHelpFile();
    if (QFileInfo(file).isFile())
        mstrHelpFile = file;
    qApp->installEventFilter(this);
}

HelpSystem::~HelpSystem()
{
    if (qApp)
        qApp->removeEventFilter(this);
    delete mHelpWindow.data();
}

void HelpSystem::menuCommand(const QString &item)
{
    const QString module = QStringLiteral("frmMain");
    if (item == QLatin1String("mnuHepContent")) {
        fgTrap(module, QStringLiteral("mnuHepContent_Click"), [&] { showHelp(mMainWindow, 0, Pane::Contents); });
    } else if (item == QLatin1String("mnuHelpIndex")) {
        fgTrap(module, QStringLiteral("mnuHelpIndex_Click"), [&] { showHelp(mMainWindow, 0, Pane::Index); });
    } else if (item == QLatin1String("mnuHelpTerms")) {
        frmTerms terms(mMainWindow);
        ui::showModal(terms);
    } else if (item == QLatin1String("mnuHelpAbout")) {
        frmAbout about(mMainWindow);
        ui::showModal(about);
    }
}

frmHelp *HelpSystem::helpWindow() const { return static_cast<frmHelp *>(mHelpWindow.data()); }

bool HelpSystem::showHelp(QWidget *owner, int context, Pane pane)
{
    if (mstrHelpFile.isEmpty())
        return false;
    if (!mHelpWindow) {
        mHelpWindow = new frmHelp(mstrHelpFile, owner);
    } else if (mHelpWindow->parentWidget() != owner) {
        // A window owned by a modal dialog stays usable while the dialog is
        // open: the help window follows the window it was asked from.
        const QRect place = mHelpWindow->geometry();
        mHelpWindow->setParent(owner, Qt::Window);
        mHelpWindow->setGeometry(place);
    }
    frmHelp *window = helpWindow();
    window->showTopic(context < 0 ? 0 : context);
    if (pane == Pane::Index)
        window->showIndex();
    else
        window->showContents();
    mHelpWindow->show();
    mHelpWindow->raise();
    mHelpWindow->activateWindow();
    return true;
}

int HelpSystem::contextOf(QWidget *widget, QWidget **holder)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant context = w->property("HelpContextID");
        if (context.isValid()) {
            if (holder)
                *holder = w;
            return context.toInt();
        }
    }
    return -1;
}

bool HelpSystem::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || mstrHelpFile.isEmpty())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (mHelpWindow && widget->window() == mHelpWindow)
        return false;
    QWidget *holder = nullptr;
    const int context = contextOf(widget, &holder);
    if (context < 0)
        return false;
    // The help window belongs to the window F1 was pressed in, so that it is
    // usable over a modal dialog or message box; a menu lends it to the
    // window whose topic it shows.
    QWidget *owner = widget->window();
    if (owner->windowType() == Qt::Popup || owner->windowType() == Qt::ToolTip)
        owner = holder->window();
    showHelp(owner, context, Pane::Contents);
    return true;
}
