#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabBar;
class QTreeWidget;

// The start dialog: a new project from one of the templates in the program
// folder, an existing project file, or a recently used one. It only returns
// the choice; the caller creates the working copy and loads the project.
class frmStart : public QDialog {
    Q_OBJECT
public:
    explicit frmStart(QWidget *parent = nullptr);

    // Set by the caller before the dialog is shown.
    bool ShowNew = true;
    bool ShowExisting = true;
    bool ShowRecent = true;
    // Read by the caller after the dialog closes.
    bool Ok = false;
    QString FileName;    // full path of the project to open
    QString NewFileName; // file name of the chosen template

    // Fills the lists and the tabs; runs once, when the dialog is first
    // polished (shown, or handed to the modal seam).
    void Form_Load();
    void LoadRecentFiles();

    // The key of the selected tab: "new", "existing" or "recent".
    QString selectedTabKey() const;
    // Selects the tab with the key; false when it is not shown.
    bool selectTab(const QString &key);

    void cmdOpen_Click();
    void cmdCancel_Click();
    void cmdBrowse_Click();

    QTabBar *TabStripStart = nullptr;
    QFrame *frNew = nullptr;
    QListWidget *lvNew = nullptr;
    QFrame *frExisting = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtExisting = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QFrame *frRecent = nullptr;
    QTreeWidget *lwRecent = nullptr;
    QPushButton *cmdOpen = nullptr;
    QPushButton *cmdCancel = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblTemplate = nullptr;

protected:
    bool event(QEvent *event) override;

private:
    void TabStripStart_Click();

    bool mbLoaded = false;
};
