#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

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
