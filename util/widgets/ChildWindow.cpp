#include "util/widgets/ChildWindow.h"

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

void ChildWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}
