#include "help/frmHelp.h"

#include "util/core/HelpTopics.h"
#include "util/core/Language.h"
#include "util/core/ShellTools.h"
#include "util/widgets/FormTools.h"

#include <QAction>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

HelpBrowser::HelpBrowser(QHelpEngine *engine, QWidget *parent) : QTextBrowser(parent), mEngine(engine)
{
    setOpenLinks(false);
    // Pages inside the collection open here; addresses outside it (web,
    // mail) go to the desktop.
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        const QUrl target = source().resolved(url);
        if (target.scheme() == QLatin1String("qthelp"))
            setSource(target);
        else
            shell::OpenUrl(target.toString(), false);
    });
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    // Names inside a page (its style sheet, pictures) are relative to it.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() == QLatin1String("qthelp"))
        return mEngine->fileData(url);
    return QTextBrowser::loadResource(type, name);
}

// The window's caption, saying so when the pages are in another language
// than the program's (Bulgarian reads the English pages).
QString frmHelp::pTitle(const QString &pageTitle) const
{
    QString title = pageTitle.isEmpty() ? tr("Vamor - Ajutor") : tr("Vamor - Ajutor - %1").arg(pageTitle);
    if (fgHelpLanguage() == QLatin1String("en") && language::current() != QLatin1String("en"))
        title += tr(" (paginile in limba engleza)");
    return title;
}

frmHelp::frmHelp(const QString &collectionFile, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(pTitle(QString()));
    setAttribute(Qt::WA_DeleteOnClose, false);

    mEngine = new QHelpEngine(collectionFile, this);
    mEngine->setReadOnly(true);
    mEngine->setupData();

    auto *toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("tlb"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *back = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("Inapoi"));
    back->setObjectName(QStringLiteral("cmdBack"));
    QAction *forward = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("Inainte"));
    forward->setObjectName(QStringLiteral("cmdForward"));
    QAction *home = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("Cuprins"));
    home->setObjectName(QStringLiteral("cmdHome"));

    mPanes = new QTabWidget(this);
    mPanes->setObjectName(QStringLiteral("tabPanes"));
    QHelpContentWidget *contents = mEngine->contentWidget();
    contents->setObjectName(QStringLiteral("trvContents"));
    contents->setHeaderHidden(true);
    mPanes->addTab(contents, tr("Cuprins"));

    auto *indexPage = new QWidget(mPanes);
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 6, 4, 4);
    indexLayout->addWidget(new QLabel(tr("Cauta cuvantul:"), indexPage));
    mIndexFilter = new QLineEdit(indexPage);
    mIndexFilter->setObjectName(QStringLiteral("txtIndex"));
    mIndexFilter->setClearButtonEnabled(true);
    indexLayout->addWidget(mIndexFilter);
    QHelpIndexWidget *index = mEngine->indexWidget();
    index->setObjectName(QStringLiteral("lsvIndex"));
    indexLayout->addWidget(index, 1);
    mPanes->addTab(indexPage, tr("Index"));

    mBrowser = new HelpBrowser(mEngine, this);
    mBrowser->setObjectName(QStringLiteral("txtPage"));
    // The pages' common style sheet, which the page viewer does not fetch
    // through their <link> itself.
    mBrowser->document()->setDefaultStyleSheet(
        QString::fromUtf8(mEngine->fileData(help::pageUrl(QStringLiteral("style.css")))));

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(mPanes);
    splitter->addWidget(mBrowser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 600});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(splitter, 1);

    connect(back, &QAction::triggered, mBrowser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, mBrowser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { showTopic(0); });
    connect(mBrowser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(mBrowser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);

    connect(contents, &QHelpContentWidget::linkActivated, this, &frmHelp::showPage);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document, const QString &) { showPage(document.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink> &documents, const QString &) {
                if (!documents.isEmpty())
                    showPage(documents.first().url);
            });
    connect(mIndexFilter, &QLineEdit::textChanged, index, [index](const QString &text) { index->filterIndices(text); });
    connect(mIndexFilter, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(mBrowser, &QTextBrowser::sourceChanged, this, [this] {
        pSyncContents();
        const QString title = mBrowser->documentTitle();
        setWindowTitle(pTitle(title));
    });
    // Escape closes the window, as it closes the program's dialogs.
    auto *close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    close->setShortcutContext(Qt::WindowShortcut);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    connect(mEngine->contentModel(), &QHelpContentModel::contentsCreated, this, [this, contents] {
        contents->expandAll();
        pSyncContents();
    });

    resize(860, 600);
    pgLoadFormSettings(this);
}

frmHelp::~frmHelp() { pgSaveFormSettings(this); }

void frmHelp::showTopic(int context) { showPage(help::topicUrl(context)); }

void frmHelp::showPage(const QUrl &url)
{
    if (mBrowser->source() != url)
        mBrowser->setSource(url);
}

void frmHelp::showContents() { mPanes->setCurrentIndex(0); }

void frmHelp::showIndex()
{
    mPanes->setCurrentIndex(1);
    mIndexFilter->setFocus();
}

void frmHelp::pSyncContents()
{
    QHelpContentWidget *contents = mEngine->contentWidget();
    const QModelIndex at = contents->indexOf(mBrowser->source());
    if (at.isValid())
        contents->setCurrentIndex(at);
}
