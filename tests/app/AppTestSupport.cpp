#include "tests/app/AppTestSupport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QtTest/qtestspontaneevent.h>

#include "app/frmStart.h"
#include "tests/support/ProjectFixture.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace apptest {

void fillOneSource(testsupport::ProjectFixture &p)
{
    const int conn = p.addConn(6, QStringLiteral("Contabilitate"), QStringLiteral("DSN=contab"));
    p.addField(p.addTable(conn, QStringLiteral("Plati")), QStringLiteral("Suma"));
}

void makeProject(const QString &path, const std::function<void(testsupport::ProjectFixture &)> &fill)
{
    testsupport::ProjectFixture project;
    ASSERT_TRUE(project.ok());
    if (fill)
        fill(project);
    project.Conn().close();
    QFile::remove(path);
    ASSERT_TRUE(QFile::copy(project.path(), path)) << path.toStdString();
}

testsupport::ScriptedModals::Step chooseTemplate(const QString &fileName)
{
    return [fileName](QDialog &dialog) {
        auto &start = dynamic_cast<frmStart &>(dialog);
        EXPECT_TRUE(start.selectTab(QStringLiteral("new")));
        for (int i = 0; i < start.lvNew->count(); ++i)
            if (start.lvNew->item(i)->data(Qt::UserRole).toString() == fileName)
                start.lvNew->setCurrentRow(i);
        start.cmdOpen->click();
        return start.result();
    };
}

testsupport::ScriptedModals::Step chooseExisting(const QString &path)
{
    return [path](QDialog &dialog) {
        auto &start = dynamic_cast<frmStart &>(dialog);
        EXPECT_TRUE(start.selectTab(QStringLiteral("existing")));
        start.txtExisting->setText(path);
        start.cmdOpen->click();
        return start.result();
    };
}

testsupport::ScriptedModals::Step recordTabs(QStringList &keys)
{
    return [&keys](QDialog &dialog) {
        auto &start = dynamic_cast<frmStart &>(dialog);
        keys.clear();
        for (int i = 0; i < start.TabStripStart->count(); ++i)
            keys.append(start.TabStripStart->tabData(i).toString());
        start.cmdCancel->click();
        return start.result();
    };
}

const QString kSaveQuestion = QStringLiteral("Proiectul curent a fost modificat.\nDoriti sa salvati?");

void closeFromTitleBar(QWidget &window)
{
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(&window, &event);
}

} // namespace apptest
