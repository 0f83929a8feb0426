#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The terms of use: a read-only text above an "Ok" button at the bottom right.
class frmTerms : public QDialog {
    Q_OBJECT
public:
    explicit frmTerms(QWidget *parent = nullptr);
    ~frmTerms() override;

    static QString termsText();

    QPlainTextEdit *txtTerm = nullptr;
    QPushButton *cmdOk = nullptr;
};
