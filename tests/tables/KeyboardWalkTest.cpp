// The whole road of a new user with the keyboard alone: a project from the
// template, a data source through the wizard, a table, its fields, the
// project saved, a conversion to new lei with its report saved, the program
// closed. Every step is a key event sent where the focus is; the windows are
// only looked at, to know when the focus has come where it should.
#include "app/frmMain.h"
#include "app/frmStart.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmHistory.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "data/db/Connection.h"
#include "data/db/Recordset.h"
#include "datasources/ctlConnDetails.h"
#include "datasources/frmConnAdd.h"
#include "tables/frmFieldAdd.h"
#include "tables/frmTableAdd.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tables/UserDatabase.h"
#include "tests/util/Sandbox.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using testsupport::Engine;
using testsupport::ScriptedModals;
using testsupport::ScriptedPrompts;
using testsupport::UserDatabase;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

QWidget *focus() { return QApplication::focusWidget(); }

void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    ASSERT_NE(focus(), nullptr);
    QTest::keyClick(focus(), k, modifiers);
}

void type(const QString &text)
{
    ASSERT_NE(focus(), nullptr);
    QTest::keyClicks(focus(), text);
}

// Tab, as a person does, until `target` has the focus; false when it never
// comes round.
bool tabTo(QWidget *target)
{
    for (int i = 0; i < 40 && focus() != target; ++i)
        QTest::keyClick(focus(), Qt::Key_Tab);
    return focus() == target;
}

void showForKeys(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

TEST(KeyboardWalk, TheWholeRoadWithTheKeyboardAlone)
{
    testsupport::clearSettings();
    testsupport::ProgramFolder folder;
    UserDatabase user(Engine::Sqlite);
    ASSERT_TRUE(user.conn().isOpen());
    user.createTable(QStringLiteral("Facturi"), QStringLiteral("Suma DECIMAL(18,2), Total INTEGER"));
    user.execute(QStringLiteral("INSERT INTO Facturi VALUES (12500000, 14875000), (3333333.33, 15000)"));
    const QString projectFile = folder.filePath(QStringLiteral("firma.vmd"));
    const QString reportFile = folder.filePath(QStringLiteral("raport.txt"));

    ScriptedModals modals;
    ScriptedPrompts prompts;
    frmMain w;
    // The start window: the default template is first in the list of new projects.
    modals.then([](QDialog &dialog) {
        auto &start = dynamic_cast<frmStart &>(dialog);
        showForKeys(start);
        EXPECT_TRUE(tabTo(start.lvNew));
        key(Qt::Key_Home);
        EXPECT_EQ(start.lvNew->currentItem()->data(Qt::UserRole).toString(), QStringLiteral("Vamor.vmt"));
        EXPECT_TRUE(tabTo(start.cmdOpen));
        key(Qt::Key_Space);
        return start.result();
    });
    w.show();
    QApplication::setActiveWindow(&w);
    for (int i = 0; i < 250 && !(modals.shown() == 1 && w.tlbButton(QStringLiteral("conn_add"))->isEnabled()); ++i)
        QTest::qWait(20);
    ASSERT_EQ(modals.shown(), 1);
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const auto mainKey = [&w](Qt::Key k, Qt::KeyboardModifiers modifiers) {
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, k, modifiers);
    };

    // The data source: its description, the type of a typed connection
    // string chosen with the arrows, then the string on the next page.
    modals.then([&](QDialog &dialog) {
        auto &wizard = dynamic_cast<frmConnAdd &>(dialog);
        showForKeys(wizard);
        EXPECT_TRUE(tabTo(wizard.txtDescription));
        type(QStringLiteral("Firma"));
        key(Qt::Key_Tab);
        for (int i = 0; i < 20 && !wizard.optConnType(6)->isChecked(); ++i) {
            if (focus() == wizard.optConnType(6))
                key(Qt::Key_Space);
            else if (qobject_cast<QRadioButton *>(focus()))
                key(Qt::Key_Down);
            else
                key(Qt::Key_Tab);
        }
        EXPECT_TRUE(wizard.optConnType(6)->isChecked());
        EXPECT_TRUE(tabTo(wizard.cmdNext));
        key(Qt::Key_Space);
        EXPECT_TRUE(tabTo(wizard.ctlDetails->txtUnknownConnString));
        type(user.connString());
        EXPECT_TRUE(tabTo(wizard.cmdOk));
        key(Qt::Key_Space);
        return wizard.result();
    });
    mainKey(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(w.trv->topLevelItemCount(), 1);

    // The table, typed by name; then its two amount columns from the list.
    modals.then([](QDialog &dialog) {
        auto &add = dynamic_cast<frmTableAdd &>(dialog);
        showForKeys(add);
        EXPECT_TRUE(tabTo(add.nameBox()));
        type(QStringLiteral("Facturi"));
        EXPECT_TRUE(tabTo(add.okButton()));
        key(Qt::Key_Space);
        return add.result();
    });
    mainKey(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(w.selectedNodeKey().startsWith(QLatin1String("T_")));
    modals.then([](QDialog &dialog) {
        auto &add = dynamic_cast<frmFieldAdd &>(dialog);
        showForKeys(add);
        EXPECT_TRUE(tabTo(add.list()));
        key(Qt::Key_Home);
        key(Qt::Key_End, Qt::ShiftModifier);
        EXPECT_EQ(add.list()->selectedItems().size(), 2);
        EXPECT_TRUE(tabTo(add.okButton()));
        key(Qt::Key_Space);
        return add.result();
    });
    mainKey(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(w.trv->topLevelItem(0)->child(0)->text(0).endsWith(QStringLiteral("(2)")));

    // Saved, then converted to new lei; the report is saved and closed.
    prompts.saveFile(projectFile);
    mainKey(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(w.fileName(), projectFile);
    EXPECT_FALSE(w.isDirty());
    QStringList confirmed;
    modals.then([&](QDialog &dialog) {
        auto &confirm = dynamic_cast<frmConvertStart &>(dialog);
        showForKeys(confirm);
        for (int i = 0; i < confirm.list()->topLevelItemCount(); ++i)
            confirmed.append(confirm.list()->topLevelItem(i)->text(2));
        key(Qt::Key_Return);
        EXPECT_FALSE(confirm.Ok) << "Enter starts nothing";
        key(Qt::Key_O, Qt::AltModifier);
        return confirm.result();
    });
    modals.then([](QDialog &dialog) { return dialog.exec(); });
    QString reportTotal;
    modals.then([&](QDialog &dialog) {
        auto &report = dynamic_cast<frmConvertEnd &>(dialog);
        showForKeys(report);
        reportTotal = report.totalBox()->toPlainText();
        prompts.saveFile(reportFile);
        EXPECT_TRUE(tabTo(report.findChild<QPushButton *>(QStringLiteral("cmdSave"))));
        key(Qt::Key_Space);
        EXPECT_TRUE(tabTo(report.findChild<QPushButton *>(QStringLiteral("cmdCancel"))));
        key(Qt::Key_Space);
        return report.result();
    });
    mainKey(Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    confirmed.sort();
    EXPECT_EQ(confirmed, (QStringList{"Suma", "Total"}));
    EXPECT_TRUE(reportTotal.startsWith(QStringLiteral("2 campuri din 2"))) << reportTotal.toStdString();
    EXPECT_TRUE(QFile::exists(reportFile));
    EXPECT_EQ(modals.shown(), 7);

    // Every amount divided by 10 000 and rounded once, to what its column keeps.
    db::Recordset rs = user.conn().openRecordset(
        QStringLiteral("SELECT group_concat(CAST(ROUND(Suma * 100) AS INTEGER) || ':' || Total, ' ') FROM Facturi"));
    EXPECT_EQ(rs.value(0).toString(), QStringLiteral("125000:1488 33333:2"));

    // The program closes with Ctrl+Q, asking nothing: the run saved the project.
    const int messages = prompts.messages().size();
    mainKey(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(prompts.messages().size(), messages) << prompts.messageTexts().join(" | ").toStdString();
}

// The widgets Tab visits once round, from the one with the focus.
QList<QWidget *> tabChain()
{
    QList<QWidget *> chain;
    QWidget *first = focus();
    if (!first)
        return chain;
    do {
        chain.append(focus());
        QTest::keyClick(focus(), Qt::Key_Tab);
    } while (focus() && focus() != first && chain.size() < 60);
    return chain;
}

// Where the chain leaves reading order (left to right on one row, rows top
// to bottom); "" when it never does. The one step back to the start is the
// wrap round.
QString outOfReadingOrder(QWidget &window, const QList<QWidget *> &chain)
{
    const auto at = [&window](QWidget *w) { return w->mapTo(&window, QPoint(0, 0)); };
    qsizetype start = 0; // the chain may begin anywhere: start at its top-left widget
    for (qsizetype i = 1; i < chain.size(); ++i) {
        const QPoint p = at(chain.at(i)), best = at(chain.at(start));
        if (p.y() < best.y() - 8 || (qAbs(p.y() - best.y()) <= 8 && p.x() < best.x()))
            start = i;
    }
    for (qsizetype n = 1; n < chain.size(); ++n) {
        QWidget *a = chain.at((start + n - 1) % chain.size());
        QWidget *b = chain.at((start + n) % chain.size());
        const QPoint pa = at(a), pb = at(b);
        const bool sameRow = qAbs(pa.y() - pb.y()) <= 8 || (pb.y() < pa.y() + a->height() && pb.x() > pa.x());
        if (sameRow ? pb.x() <= pa.x() : pb.y() < pa.y())
            return a->objectName() + QStringLiteral(" -> ") + b->objectName();
    }
    return QString();
}

struct TabCase {
    const char *window;
    std::function<QDialog *(testsupport::ProjectFixture &)> make;
};

class TabOrder : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabOrder, FollowsReadingOrder)
{
    testsupport::clearSettings();
    testsupport::ProgramFolder folder;
    testsupport::ProjectFixture project;
    ASSERT_TRUE(project.ok());
    ScriptedPrompts prompts;
    std::unique_ptr<QDialog> dialog(GetParam().make(project));
    dialog->ensurePolished();
    showForKeys(*dialog);
    if (auto *confirm = qobject_cast<frmConvertStart *>(dialog.get()))
        while (confirm->listing())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    const QList<QWidget *> chain = tabChain();
    EXPECT_GE(chain.size(), 2);
    QStringList names;
    for (QWidget *w : chain)
        names << w->objectName() + QLatin1Char('@') + QString::number(w->mapTo(dialog.get(), QPoint(0, 0)).x()) + QLatin1Char(',')
                     + QString::number(w->mapTo(dialog.get(), QPoint(0, 0)).y());
    EXPECT_EQ(outOfReadingOrder(*dialog, chain).toStdString(), "") << names.join(QLatin1Char(' ')).toStdString();
    dialog->hide();
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TabOrder,
    ::testing::Values(
        TabCase{"frmStart", [](testsupport::ProjectFixture &) { return new frmStart; }},
        TabCase{"frmConnAdd",
                [](testsupport::ProjectFixture &p) {
                    auto *d = new frmConnAdd;
                    d->Conn = &p.Conn();
                    return d;
                }},
        TabCase{"frmTableAdd",
                [](testsupport::ProjectFixture &p) {
                    auto *d = new frmTableAdd;
                    d->IdConn = p.addConn(6, QStringLiteral("Firma"), QString());
                    d->Offline = true;
                    d->Load();
                    return d;
                }},
        TabCase{"frmFieldAdd",
                [](testsupport::ProjectFixture &p) {
                    auto *d = new frmFieldAdd;
                    d->IdConn = p.addConn(6, QStringLiteral("Firma"), QString());
                    d->IdTable = p.addTable(d->IdConn, QStringLiteral("Facturi"));
                    d->Offline = true;
                    d->Load();
                    return d;
                }},
        TabCase{"frmConvertStart",
                [](testsupport::ProjectFixture &) {
                    auto *d = new frmConvertStart;
                    d->Load();
                    return d;
                }},
        TabCase{"frmHistory",
                [](testsupport::ProjectFixture &project) {
                    auto *d = new frmHistory;
                    d->Load(project.Conn(), QString());
                    return d;
                }},
        TabCase{"frmConvertEnd",
                [](testsupport::ProjectFixture &) {
                    auto *d = new frmConvertEnd;
                    d->ConvertStart();
                    d->Load();
                    return d;
                }}),
    [](const ::testing::TestParamInfo<TabCase> &info) { return std::string(info.param.window); });

} // namespace
