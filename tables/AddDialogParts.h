#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QWidget;

// What the add-table and add-field dialogs have in common: the list of what
// the data source holds and its Refresh button, the frame in which a name is
// typed by hand when the list cannot be read, and Ok / Abandoneaza. The
// widgets are children of the dialog; each dialog lays them out itself.
struct AddDialogParts {
    QLabel *lblList = nullptr;
    QTreeWidget *lsv = nullptr;
    QPushButton *cmdRefresh = nullptr;
    QFrame *Frame1 = nullptr;
    QLabel *lblName = nullptr;
    QLineEdit *txtName = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
};

// `what` names the items ("Tabel", "Camp"): the list is captioned "Lista
// <plural>:" and the typed name "Nume <what>:", in widgets named
// lbl<object>Name / txt<object>Name.
AddDialogParts makeAddDialogParts(QDialog *dialog, const QString &listCaption, const QStringList &headers,
                                  const QString &nameCaption, const QString &objectWord);

// Shows the list, or the frame for a name typed by hand (`manual`); the
// typed name starts empty with the focus, in a dialog one line high, and
// the list gets room again.
void arrangeAddDialog(QDialog *dialog, const AddDialogParts &parts, bool manual);

namespace db {
class Connection;
}

// Reads a list from a user's database off the window's thread, while the
// window says what it waits for and offers to give up: opens `connString`,
// hands the connection to `read`, which returns the rows it needs (it runs
// on another thread: it captures nothing but copies), and closes it. Throws
// what opening or reading threw, and, when the user gives up,
// "Citirea listei a fost abandonata." (the read goes on unseen until the
// driver's own time-outs end it, and changes nothing).
// Runs `work` (a step on a user's database that reaches the project only
// through its own reads, before the user's database) off the window's
// thread while the window says what it waits for; "Abandoneaza" stops the
// statement in flight, and the work then ends with the user's-stop message.
// Returns what `work` returned, once it has ended.
QString stepWaiting(QWidget *parent, const QString &what, std::function<QString()> work);

std::vector<QStringList> readListWaiting(QWidget *parent, const QString &what, const QString &connString,
                                         std::function<std::vector<QStringList>(db::Connection &)> read);
