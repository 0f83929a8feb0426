#pragma once

#include <QMdiSubWindow>

class QLabel;
class QVBoxLayout;

// A child window of the main window: its close box only hides it, so the
// main window can bring the same window back; it is destroyed only when the
// main window lets it go. It opens with a bold heading line.
class ChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    ChildWindow(const QString &name, const QString &headingName, QWidget *parent = nullptr);

    // Writes the edit in progress in one of the window's boxes, the way
    // leaving the box does; nothing when no box of the window has the focus.
    void commitPendingEdit();

protected:
    // Shows `text` as the window's caption and heading.
    void setHeading(const QString &text);
    void closeEvent(QCloseEvent *event) override;

    QVBoxLayout *contentLayout = nullptr;

private:
    QLabel *mHeading = nullptr;
};
