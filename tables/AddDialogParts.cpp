#include "tables/AddDialogParts.h"

#include "data/db/StopSignal.h"

#include "data/db/Connection.h"
#include "data/db/DbError.h"
#include "util/widgets/ListViewTools.h"
#include "util/widgets/WaitDialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

namespace {

template <class Widget, class... Args>
Widget *named(const QString &objectName, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(objectName);
    return widget;
}

// The height the list is given back when it shows again.
constexpr int kListHeight = 360;

} // namespace

AddDialogParts makeAddDialogParts(QDialog *dialog, const QString &listCaption, const QStringList &headers,
                                  const QString &nameCaption, const QString &objectWord)
{
    AddDialogParts parts;
    parts.lblList = named<QLabel>(QStringLiteral("lblList"), listCaption, dialog);
    parts.lsv = named<QTreeWidget>(QStringLiteral("lsv"), dialog);
    pgMakeReportList(parts.lsv);
    parts.lsv->setHeaderLabels(headers);
    pgConnectColumnHeaderClick(parts.lsv);
    parts.cmdRefresh =
        named<QPushButton>(QStringLiteral("cmdRefresh"), QCoreApplication::translate("AddDialog", "Refresh"), dialog);

    parts.Frame1 = named<QFrame>(QStringLiteral("Frame1"), dialog);
    parts.Frame1->setFrameShape(QFrame::StyledPanel);
    parts.lblName = named<QLabel>(QStringLiteral("lbl") + objectWord + QStringLiteral("Name"), nameCaption, parts.Frame1);
    parts.txtName = named<QLineEdit>(QStringLiteral("txt") + objectWord + QStringLiteral("Name"), parts.Frame1);
    auto *frameLayout = new QHBoxLayout(parts.Frame1);
    frameLayout->addWidget(parts.lblName);
    frameLayout->addWidget(parts.txtName, 1);

    parts.cmdOk = named<QPushButton>(QStringLiteral("cmdOk"), QCoreApplication::translate("AddDialog", "Ok"), dialog);
    parts.cmdOk->setDefault(true);
    parts.cmdCancel = named<QPushButton>(QStringLiteral("cmdCancel"),
                                         QCoreApplication::translate("AddDialog", "Abandoneaza"), dialog);
    return parts;
}

void arrangeAddDialog(QDialog *dialog, const AddDialogParts &parts, bool manual)
{
    parts.lsv->setVisible(!manual);
    parts.lblList->setVisible(!manual);
    parts.cmdRefresh->setVisible(!manual);
    parts.Frame1->setVisible(manual);
    parts.txtName->setVisible(manual);
    parts.lblName->setVisible(manual);
    // Manual entry needs one line; the list, room.
    if (manual) {
        parts.txtName->clear();
        parts.txtName->setFocus();
        dialog->resize(dialog->width(), 0);
    } else {
        parts.lsv->setFocus();
        if (dialog->height() < kListHeight)
            dialog->resize(dialog->width(), kListHeight);
    }
}

QString stepWaiting(QWidget *parent, const QString &what, std::function<QString()> work)
{
    const auto stop = std::make_shared<db::StopSignal>();
    QString result;
    ui::WaitRequest request;
    request.what = what;
    request.work = [&] {
        const db::StopScope scope(stop);
        result = work();
    };
    request.cancel = [stop] { stop->stop(); };
    ui::waitFor(parent, request);
    return result;
}

std::vector<QStringList> readListWaiting(QWidget *parent, const QString &what, const QString &connString,
                                         std::function<std::vector<QStringList>(db::Connection &)> read)
{
    // Everything the reading thread touches is its own: a user who gives up
    // leaves it to end on its own.
    struct Shared {
        QString connString;
        std::function<std::vector<QStringList>(db::Connection &)> read;
        std::vector<QStringList> rows;
        db::Connection user;
    };
    auto shared = std::make_shared<Shared>();
    shared->connString = connString;
    shared->read = std::move(read);
    ui::WaitRequest request;
    request.what = what;
    request.abandonable = true;
    request.work = [shared] {
        shared->user.open(shared->connString);
        shared->rows = shared->read(shared->user);
        shared->user.close();
    };
    // The statement under way stops; a login goes on to its own time-out.
    request.cancel = [shared] { shared->user.cancel(); };
    if (ui::waitFor(parent, request) == ui::WaitOutcome::Abandoned)
        throw db::DbError(db::E_FAIL, QCoreApplication::translate("AddDialog", "Citirea listei a fost abandonata."));
    return std::move(shared->rows);
}
