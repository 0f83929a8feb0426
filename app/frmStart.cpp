#include "app/frmStart.h"

#include "app/AppVersion.h"
#include "data/Changeover.h"
#include "data/db/Connection.h"
#include "util/core/AppInfo.h"
#include "util/core/Prompt.h"
#include "util/core/RecentFiles.h"
#include "util/widgets/ListViewTools.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHash>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kTemplateExtension = QStringLiteral("vmt");

// The one line that says which changeover a template converts; "" when the
// template cannot be read or names none.
QString templateDescription(const QString &path)
{
    try {
        db::Connection conn;
        conn.open(QStringLiteral("Provider=SQLite;Mode=Read;Data Source=") + path);
        return Changeover::of(conn).description;
    } catch (const std::exception &) {
        return QString();
    }
}

QFrame *makeFrame(QWidget *parent, const QString &name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

} // namespace

frmStart::frmStart(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStart"));
    setProperty("HelpContextID", 9);
    setModal(true);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    lblTitle->setFont(titleFont);
    lblDescription = new QLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);

    TabStripStart = new QTabBar(this);
    TabStripStart->setObjectName(QStringLiteral("TabStripStart"));
    TabStripStart->setExpanding(false);

    frNew = makeFrame(this, QStringLiteral("frNew"));
    lvNew = new QListWidget(frNew);
    lvNew->setObjectName(QStringLiteral("lvNew"));
    lvNew->setViewMode(QListView::IconMode);
    lvNew->setIconSize(QSize(32, 32));
    lvNew->setGridSize(QSize(120, 72));
    lvNew->setMovement(QListView::Static);
    lvNew->setResizeMode(QListView::Adjust);
    lvNew->setWordWrap(true);
    lvNew->setSelectionMode(QAbstractItemView::SingleSelection);
    // What the selected template converts: currencies, rate, date.
    lblTemplate = new QLabel(frNew);
    lblTemplate->setObjectName(QStringLiteral("lblTemplate"));
    lblTemplate->setWordWrap(true);
    auto *newLayout = new QVBoxLayout(frNew);
    newLayout->addWidget(lvNew, 1);
    newLayout->addWidget(lblTemplate);
    connect(lvNew, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        lblTemplate->setText(item ? item->data(Qt::UserRole + 2).toString() : QString());
    });

    frExisting = makeFrame(this, QStringLiteral("frExisting"));
    Label1 = new QLabel(tr("File name"), frExisting);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtExisting = new QLineEdit(frExisting);
    txtExisting->setObjectName(QStringLiteral("txtExisting"));
    cmdBrowse = new QPushButton(QStringLiteral("..."), frExisting);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setAutoDefault(false);
    cmdBrowse->setFixedWidth(32);
    auto *existingLayout = new QVBoxLayout(frExisting);
    existingLayout->addWidget(Label1);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(txtExisting, 1);
    pathRow->addWidget(cmdBrowse);
    existingLayout->addLayout(pathRow);
    existingLayout->addStretch(1);

    frRecent = makeFrame(this, QStringLiteral("frRecent"));
    lwRecent = new QTreeWidget(frRecent);
    lwRecent->setObjectName(QStringLiteral("lwRecent"));
    lwRecent->setColumnCount(2);
    lwRecent->setHeaderLabels({tr("File"), tr("Folder")});
    pgMakeReportList(lwRecent);
    (new QVBoxLayout(frRecent))->addWidget(lwRecent);

    cmdOpen = new QPushButton(tr("Deschide"), this);
    cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    cmdOpen->setDefault(true);
    cmdCancel = new QPushButton(tr("Abandoneaza"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(lblDescription);
    layout->addSpacing(6);
    layout->addWidget(TabStripStart);
    layout->addWidget(frNew, 1);
    layout->addWidget(frExisting, 1);
    layout->addWidget(frRecent, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOpen);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    resize(460, 360);

    connect(TabStripStart, &QTabBar::currentChanged, this, [this] { TabStripStart_Click(); });
    connect(cmdOpen, &QPushButton::clicked, this, [this] { cmdOpen_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(lvNew, &QListWidget::itemDoubleClicked, this, [this] { cmdOpen_Click(); });
    connect(lwRecent, &QTreeWidget::itemDoubleClicked, this, [this] { cmdOpen_Click(); });
}

bool frmStart::event(QEvent *event)
{
    if (event->type() == QEvent::Polish && !mbLoaded)
        Form_Load();
    return QDialog::event(event);
}

void frmStart::Form_Load()
{
    if (mbLoaded)
        return;
    mbLoaded = true;

    lblTitle->setText(kAppTitle + QLatin1Char(' ') + fgAppVersion());
    lblDescription->setText(fgAppDescription());

    // The default template comes first.
    lvNew->clear();
    const QIcon iconNew(QStringLiteral(":/pictures/template_default.svg"));
    const QIcon iconUser(QStringLiteral(":/pictures/template_user.svg"));
    const QString defaultTemplate = kAppTitle + QLatin1Char('.') + kTemplateExtension;
    // The templates of the data folders (the program folder, or those of an
    // installed program and the user's own).
    QStringList templates;
    QHash<QString, QString> descriptions;
    for (const QString &path : fgTemplateFiles()) {
        templates.append(QFileInfo(path).fileName());
        descriptions.insert(templates.last(), templateDescription(path));
    }
    for (const QString &name : templates) {
        auto *item = new QListWidgetItem;
        item->setData(Qt::UserRole, name);
        item->setData(Qt::UserRole + 2, descriptions.value(name));
        item->setToolTip(descriptions.value(name));
        if (name == defaultTemplate) {
            item->setText(tr("Proiect %1").arg(kAppTitle));
            item->setIcon(iconNew);
            item->setData(Qt::UserRole + 1, QStringLiteral("new"));
            lvNew->insertItem(0, item);
            lvNew->setCurrentItem(item);
        } else {
            item->setText(tr("Proiect %1").arg(name.left(name.size() - 4)));
            item->setIcon(iconUser);
            item->setData(Qt::UserRole + 1, QStringLiteral("user"));
            lvNew->addItem(item);
        }
    }

    LoadRecentFiles();

    const QSignalBlocker block(TabStripStart);
    while (TabStripStart->count() > 0)
        TabStripStart->removeTab(0);
    auto addTab = [this](const QString &caption, const QString &key) {
        const int index = TabStripStart->addTab(caption);
        TabStripStart->setTabData(index, key);
    };
    if (ShowNew)
        addTab(tr("Nou"), QStringLiteral("new"));
    if (ShowExisting)
        addTab(tr("Existent"), QStringLiteral("existing"));
    if (ShowRecent)
        addTab(tr("Recent"), QStringLiteral("recent"));
    if (TabStripStart->count() > 0)
        TabStripStart->setCurrentIndex(0);
    TabStripStart_Click();
}

void frmStart::LoadRecentFiles()
{
    lwRecent->clear();
    for (const QString &path : fgGetRecentFiles()) {
        auto *item = new QTreeWidgetItem(lwRecent);
        item->setText(0, fgExtractFileName(path));
        item->setText(1, fgFilePath(path));
        item->setToolTip(1, path);
    }
    if (lwRecent->topLevelItemCount() > 0)
        lwRecent->setCurrentItem(lwRecent->topLevelItem(0));
    pgWideListView(lwRecent, 0, -1);
}

QString frmStart::selectedTabKey() const
{
    const int index = TabStripStart->currentIndex();
    return index < 0 ? QString() : TabStripStart->tabData(index).toString();
}

bool frmStart::selectTab(const QString &key)
{
    for (int i = 0; i < TabStripStart->count(); ++i) {
        if (TabStripStart->tabData(i).toString() == key) {
            TabStripStart->setCurrentIndex(i);
            TabStripStart_Click();
            return true;
        }
    }
    return false;
}

void frmStart::TabStripStart_Click()
{
    const QString key = selectedTabKey();
    frNew->setVisible(key == QLatin1String("new"));
    frExisting->setVisible(key == QLatin1String("existing"));
    frRecent->setVisible(key == QLatin1String("recent"));
    if (key == QLatin1String("new"))
        setWindowTitle(tr("Proiect Nou"));
    else if (key == QLatin1String("existing"))
        setWindowTitle(tr("Deschide Proiect"));
    else if (key == QLatin1String("recent"))
        setWindowTitle(tr("Deschide Proiect Recent"));
}

void frmStart::cmdOpen_Click()
{
    const QString key = selectedTabKey();
    if (key == QLatin1String("new")) {
        const QList<QListWidgetItem *> selected = lvNew->selectedItems();
        if (selected.isEmpty())
            return;
        FileName.clear();
        NewFileName = selected.first()->data(Qt::UserRole).toString();
    } else if (key == QLatin1String("existing")) {
        NewFileName.clear();
        if (txtExisting->text().isEmpty()) {
            ui::msgBox(tr("Trebuie sa specificati un fisier existent."), ui::Buttons::Ok,
                       ui::Icon::Information);
            txtExisting->setFocus();
            return;
        }
        FileName = txtExisting->text();
    } else if (key == QLatin1String("recent")) {
        NewFileName.clear();
        const QList<QTreeWidgetItem *> selected = lwRecent->selectedItems();
        if (selected.isEmpty()) {
            ui::msgBox(tr("Trebuie sa selectati un fisier din lista de fisiere recente."),
                       ui::Buttons::Ok, ui::Icon::Information);
            lwRecent->setFocus();
            return;
        }
        FileName = selected.first()->text(1) + selected.first()->text(0);
    } else {
        return;
    }
    Ok = true;
    accept();
}

void frmStart::cmdCancel_Click() { reject(); }

void frmStart::cmdBrowse_Click()
{
    ui::FileRequest request;
    //: The file dialog's title; %1 is the program's name.
    request.title = tr("%1 File").arg(kAppTitle);
    // The descriptions are translated, the patterns stay.
    request.filter =
        tr("Vamor Files (*.vmd)") + QStringLiteral("|*.vmd|") + tr("All Files (*.*)") + QStringLiteral("|*.*");
    request.mustExist = true;
    const QString path = ui::getOpenFileName(request);
    // A cancelled dialog leaves the text as it was.
    if (!path.isEmpty())
        txtExisting->setText(path);
}
