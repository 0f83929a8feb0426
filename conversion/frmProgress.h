#pragma once

#include "conversion/ConversionInterfaces.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The modal window on screen while a conversion runs. Once shown it calls the
// public method RunMethod of Parent by name, inside this window's modal
// loop (the method runs the conversion on a thread of its own and keeps the
// loop going); it shows the run's progress on three levels (data source,
// table, field) and offers Stop, which sets Cancel and calls StopRequested.
class frmProgress : public QDialog, public IConversionProgress {
    Q_OBJECT
public:
    explicit frmProgress(QWidget *parentWindow = nullptr);

    // The object whose method is run, and the method's name.
    QPointer<QObject> Parent;
    QString RunMethod;

    bool Cancel() const override { return mCancel; }
    // Called once the user confirms Stop (the run's own stop signal).
    std::function<void()> StopRequested;

    void InitProgress1(qint32 MaxProgress, const QString &Caption) override;
    void InitProgress2(qint32 MaxProgress, const QString &Caption) override;
    void InitProgress3(qint32 MaxProgress, const QString &Caption) override;
    void Progress1(qint32 Progress, const QString &Caption) override;
    void Progress2(qint32 Progress, const QString &Caption) override;
    void Progress3(qint32 Progress, const QString &Caption) override;
    void EndProgess1();
    void EndProgess2();
    void EndProgess3();

    // Ends the modal show; the run calls it when the walk is over.
    void Unload();

    QLabel *label(int level) const { return mLabels[level - 1]; }
    QProgressBar *bar(int level) const { return mBars[level - 1]; }
    QPushButton *stopButton() const { return cmdCancel; }

public slots:
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void initProgress(int level, const char *procedure, qint32 max, const QString &caption);
    void progress(int level, const char *procedure, qint32 value, const QString &caption);
    void endProgress(int level, const char *procedure);
    void Form_Activate();
    // The run told something: the wait line goes.
    void news();

    QLabel *mLabels[3];
    QProgressBar *mBars[3];
    QLabel *mImages[3];
    QPushButton *cmdCancel;
    QLabel *lblWait;
    QElapsedTimer mSinceNews;
    bool mCancel = false;
    bool mActivated = false;
    bool mUnloaded = false;
};
