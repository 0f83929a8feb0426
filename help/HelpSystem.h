#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class frmHelp;

// The help of the program: the help collection found when the main window
// loads, the commands of its "Ajutor" menu, and F1 in any window, which opens
// the topic of that window's help context number (property "HelpContextID").
class HelpSystem : public QObject {
    Q_OBJECT
public:
    // mainWindow owns the help system; the help file is looked for now, and
    // when it is missing every help command does nothing.
    explicit HelpSystem(QWidget *mainWindow);
    ~HelpSystem() override;

    const QString &helpFile() const { return mstrHelpFile; }

    // The menu items "mnuHepContent", "mnuHelpIndex", "mnuHelpTerms",
    // "mnuHelpAbout".
    void menuCommand(const QString &item);

    enum class Pane { Contents, Index };
    // Opens the help window over `owner` at the topic of `context`, with the
    // pane in front; false (and nothing shown) without a help file.
    bool showHelp(QWidget *owner, int context, Pane pane);
    // The help window, once shown.
    frmHelp *helpWindow() const;

    // The help context number of a widget: that of the nearest widget, from
    // it up to its window and beyond, carrying "HelpContextID"; -1 when none.
    // `holder` receives that widget.
    static int contextOf(QWidget *widget, QWidget **holder = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *mMainWindow;
    QString mstrHelpFile;
    QPointer<QWidget> mHelpWindow;
};
