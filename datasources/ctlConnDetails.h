#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The editor of one data source's connection values: one panel per
// data-source type (the type number is the panel), all panels sharing the
// values. Typing in a box stores its text in the value it edits; leaving a
// changed box (or the whole control) raises AfterChange once. The control
// never touches the project database: its hosts read and write the rows.
class ctlConnDetails : public QWidget {
    Q_OBJECT
public:
    explicit ctlConnDetails(QWidget *parent = nullptr);
    ~ctlConnDetails() override;

    // The smallest size the control takes, in pixels (3615 twips).
    static constexpr int kMinimumSize = 241;
    static constexpr int kPanelCount = 7;

    qint32 ConnType() const { return mlngConnType; }
    // Shows the panel of the type; its boxes are not refilled. A type without
    // a panel leaves none visible and is reported with the error box.
    void setConnType(qint32 value);

    QString DataSource() const { return mstrDataSource; }
    QString UserName() const { return mstrUserName; }
    QString Password() const { return mstrPassword; }
    QString ConnString() const { return mstrConnString; }
    QString SecurityFile() const { return mstrSecurityFile; }
    QString DBPassword() const { return mstrDBPassword; }
    QString Database() const { return mstrDatabase; }
    bool IntegratedSecurity() const { return mbIntegratedSecurity; }

    // Each stores the value and fills every box that edits it.
    void setDataSource(const QString &value);
    void setUserName(const QString &value);
    void setPassword(const QString &value);
    void setConnString(const QString &value);
    // Also ticks "Baza de date securizata" when the file is given, without
    // raising AfterChange.
    void setSecurityFile(const QString &value);
    void setDBPassword(const QString &value);
    void setDatabase(const QString &value);
    // Ticks both integrated-security boxes, without raising AfterChange.
    void setIntegratedSecurity(bool value);

    // The problems of the values for the current type, one a line (joined by
    // CR LF), or "" when there is none.
    QString GetErrors() const;

    // A change of a box is waiting for AfterChange.
    bool hasPendingChange() const { return mbChanged; }
    // The values just given by the host are no change of the user's.
    void clearPendingChange() { mbChanged = false; }

    // The panel of a type (fr(0) to fr(6)).
    QGroupBox *fr(int index) const { return mfr[index]; }

    // Access
    QLineEdit *txtAccessPath = nullptr;
    QPushButton *cmdAccessPath = nullptr;
    QLineEdit *txtAccessDBPassword = nullptr;
    QFrame *lnAccess = nullptr;
    QCheckBox *chkAccessSec = nullptr;
    QLineEdit *txtAccessSecurityPath = nullptr;
    QPushButton *cmdAccessSecurity = nullptr;
    QLineEdit *txtAccessUserName = nullptr;
    QLineEdit *txtAccessPassword = nullptr;
    // SQL Server
    QLineEdit *txtSQLServer = nullptr;
    QLineEdit *txtSQLDatabase = nullptr;
    QCheckBox *chkSQLIntegratedSecurity = nullptr;
    QLineEdit *txtSQLUserName = nullptr;
    QLineEdit *txtSQLPassword = nullptr;
    // Oracle
    QLineEdit *txtOracleHost = nullptr;
    QCheckBox *chkOracleIntegratedSecurity = nullptr;
    QLineEdit *txtOracleUserName = nullptr;
    QLineEdit *txtOraclePassword = nullptr;
    // FoxPro, Visual FoxPro, dBase
    QLineEdit *txtFoxProPath = nullptr;
    QPushButton *cmdFoxProBrowse = nullptr;
    QLineEdit *txtVFPPath = nullptr;
    QPushButton *cmdVFPPath = nullptr;
    QLineEdit *txtDBasePath = nullptr;
    QPushButton *cmdDBasePath = nullptr;
    // Any source
    QPlainTextEdit *txtUnknownConnString = nullptr;

signals:
    // The user has completed a change of the values.
    void AfterChange();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildPanels();
    QLineEdit *addTextBox(QWidget *panel, const char *name, void (ctlConnDetails::*store)(const QString &),
                          bool password = false);
    void pRaiseAfterChange();
    void pFillPanel(int index);
    void chkAccessSec_Click();
    void chkSQLIntegratedSecurity_Click();
    void chkOracleIntegratedSecurity_Click();
    void pBrowse(QLineEdit *box, const QString &filter, bool folder, const QString &procedure);
    QString fGetPathFromFileName(const QString &path);
    void onFocusChanged(QWidget *old, QWidget *now);
    // Whether the focus leaving a box for this reason ends the edit.
    static bool finishesEdit(Qt::FocusReason reason);

    void storeDataSource(const QString &value) { mstrDataSource = value; }
    void storeUserName(const QString &value) { mstrUserName = value; }
    void storePassword(const QString &value) { mstrPassword = value; }
    void storeSecurityFile(const QString &value) { mstrSecurityFile = value; }
    void storeDBPassword(const QString &value) { mstrDBPassword = value; }
    void storeDatabase(const QString &value) { mstrDatabase = value; }

    QGroupBox *mfr[kPanelCount] = {};
    qint32 mlngConnType = 0;
    QString mstrDataSource;
    QString mstrUserName;
    QString mstrPassword;
    QString mstrConnString;
    QString mstrSecurityFile;
    QString mstrDBPassword;
    QString mstrDatabase;
    bool mbIntegratedSecurity = false;
    bool mbChanged = false;
    bool mbInnerChange = false;
};
