#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QLineEdit;
class QTabWidget;

// Shows the pages of the help collection, reading them from the engine.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(QHelpEngine *engine, QWidget *parent);
    QVariant loadResource(int type, const QUrl &name) override;

private:
    QHelpEngine *mEngine;
};

// The help window: the contents and the index of the collection on the left,
// the page on the right, with back, forward and home buttons above.
class frmHelp : public QWidget {
    Q_OBJECT
public:
    // collectionFile: the Vamor.qhc to read (never written).
    explicit frmHelp(const QString &collectionFile, QWidget *parent = nullptr);
    ~frmHelp() override;

    // Shows the topic of the context number (the contents page for 0).
    void showTopic(int context);
    void showPage(const QUrl &url);
    // Brings the contents or the index pane to the front.
    void showContents();
    void showIndex();

    QHelpEngine *engine() const { return mEngine; }
    HelpBrowser *browser() const { return mBrowser; }
    QTabWidget *panes() const { return mPanes; }
    QLineEdit *indexFilter() const { return mIndexFilter; }

private:
    QString pTitle(const QString &pageTitle) const;
    void pSyncContents();

    QHelpEngine *mEngine = nullptr;
    HelpBrowser *mBrowser = nullptr;
    QTabWidget *mPanes = nullptr;
    QLineEdit *mIndexFilter = nullptr;
};
