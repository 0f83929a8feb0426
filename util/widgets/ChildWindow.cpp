#include "util/widgets/ChildWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

ChildWindow::ChildWindow(const QString &name, const QString &headingName, QWidget *parent) : QMdiSubWindow(parent)
{
    setObjectName(name);
    auto *content = new QWidget(this);
    contentLayout = new QVBoxLayout(content);
    mHeading = new QLabel(content);
    mHeading->setObjectName(headingName);
    QFont font = mHeading->font();
    font.setBold(true);
    mHeading->setFont(font);
    contentLayout->addWidget(mHeading);
    contentLayout->addStretch(1);
    setWidget(content);
    resize(420, 260);
}

void ChildWindow::setHeading(const QString &text)
{
    setWindowTitle(text);
    mHeading->setText(text);
}

void ChildWindow::commitPendingEdit()
{
    // The box being typed in is left as the Tab key would leave it: its
    // window writes what it holds to the project.
    QWidget *focused = QApplication::focusWidget();
    if (focused && isAncestorOf(focused))
        focused->clearFocus();
}

void ChildWindow::closeEvent(QCloseEvent *event)
{
    commitPendingEdit();
    event->ignore();
    hide();
}
