#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Edits the WHERE clause of one field, the condition that limits which rows
// of its table have this field converted, and its rounding rule. Created
// for one showing.
class frmField : public QDialog {
    Q_OBJECT
public:
    explicit frmField(QWidget *parent = nullptr);

    // In: the field edited.
    qint32 IdField = 0;
    // Out: true when the clause was saved, with the clause as typed.
    bool Ok = false;
    QString SQLWhere;
    QString Rounding; // the field's own rule: "" or "SUS"

    QLineEdit *nameBox() const { return txtFieldName; }
    QPlainTextEdit *clauseBox() const { return txtSQLWhere; }
    QComboBox *roundingBox() const { return cboRounding; }
    QPushButton *okButton() const { return cmdOk; }
    QPushButton *cancelButton() const { return cmdCancel; }

    // Placement and the field's row; runs once, when the dialog is polished
    // for its modal show (or when a caller runs it first).
    void Form_Load();

public slots:
    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    bool event(QEvent *event) override;
    void done(int result) override;

private:
    void Load();

    QLabel *lblFieldName;
    QLineEdit *txtFieldName;
    QLabel *Label2;
    QPlainTextEdit *txtSQLWhere;
    QLabel *lblRounding;
    QComboBox *cboRounding;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    bool mbLoaded = false;
    bool mbSettingsSaved = false;
};
