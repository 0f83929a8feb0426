// The main window's data-source commands: a data source added through the
// wizard in a new project that is saved and opened again, and the deletion
// of data sources with and without tables.
#include "app/frmMain.h"
#include "datasources/ctlConnDetails.h"
#include "datasources/frmConn.h"
#include "datasources/frmConnAdd.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using testsupport::ProgramFolder;
using testsupport::ProjectFixture;
using testsupport::ScriptedModals;
using testsupport::ScriptedPrompts;

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

QStringList enabledButtons(frmMain &w)
{
    QStringList keys;
    for (const QString &key : w.tlbKeys())
        if (w.tlbButton(key)->isEnabled())
            keys.append(key);
    return keys;
}

QImage pictureOf(const QIcon &icon) { return icon.pixmap(16, 16).toImage(); }

TEST(DataSourceCommands, ASourceAddedThroughTheWizardIsSavedAndComesBack)
{
    ProgramFolder folder;
    const QString database = folder.filePath(QStringLiteral("firma.db"));
    QFile(database).open(QIODevice::WriteOnly);
    const QString file = folder.filePath(QStringLiteral("Firma.vmd"));
    {
        frmMain w;
        w.show();
        ScriptedModals modals;
        modals.then(apptest::chooseTemplate(QStringLiteral("Vamor.vmt")));
        w.pNew();
        ASSERT_TRUE(w.tlbButton(QStringLiteral("conn_add"))->isEnabled());
        EXPECT_FALSE(w.tlbButton(QStringLiteral("-"))->isEnabled());

        modals.then([&](QDialog &dialog) {
            auto &wizard = dynamic_cast<frmConnAdd &>(dialog);
            QTest::keyClicks(wizard.txtDescription, QStringLiteral("Firma"));
            wizard.optConnType(6)->click();
            wizard.cmdNext->click();
            QTest::keyClicks(wizard.ctlDetails->txtUnknownConnString,
                             QStringLiteral("Provider=SQLite;Data Source=") + database);
            wizard.cmdOk->click();
            return wizard.result();
        });
        w.tlbButton(QStringLiteral("conn_add"))->trigger();
        ASSERT_EQ(w.trv->topLevelItemCount(), 1);
        QTreeWidgetItem *node = w.trv->topLevelItem(0);
        EXPECT_EQ(node->text(0), QStringLiteral("Firma"));
        EXPECT_EQ(w.trv->currentItem(), node);
        auto *window = qobject_cast<frmConn *>(w.mcolChildren.value(frmMain::nodeKey(node)).data());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->status(), QStringLiteral("Conectat"));
        EXPECT_TRUE(w.isDirty());
        EXPECT_EQ(enabledButtons(w), QStringList({"new", "open", "save", "conn_add", "conn_del", "table_add", "-", "+"}));

        // A new description still in its box when "Salveaza" is clicked on
        // the toolbar (which takes no focus) is saved with the project.
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        window->txtDescription->setFocus();
        window->txtDescription->selectAll();
        QTest::keyClicks(window->txtDescription, QStringLiteral("Firma Noua"));
        ASSERT_EQ(QApplication::focusWidget(), window->txtDescription);
        ScriptedPrompts prompts;
        prompts.saveFile(file);
        w.tlbButton(QStringLiteral("save"))->trigger();
        EXPECT_FALSE(w.isDirty());
        ASSERT_TRUE(w.fCloseProject());

        modals.then(apptest::chooseExisting(file));
        w.pOpen(false);
        ASSERT_EQ(w.trv->topLevelItemCount(), 1);
        node = w.trv->topLevelItem(0);
        EXPECT_EQ(node->text(0), QStringLiteral("Firma Noua"));
        EXPECT_EQ(pictureOf(node->icon(0)), pictureOf(QIcon(QStringLiteral(":/pictures/DS_6.svg"))));
        EXPECT_FALSE(node->icon(0).isNull());
        ASSERT_TRUE(w.fCloseProject());
    }

    // The command line finds nothing to convert in it yet.
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VAMOR_HOME"), folder.path());
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(VAMOR_CLI), {"--convert", file, "--to", "noi", "--list"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(cli.readAllStandardOutput() + cli.readAllStandardError());
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QLatin1String("0 campuri vor fi convertite"))) << out.toStdString();
    EXPECT_FALSE(out.contains(QLatin1String("Firma."))) << out.toStdString();
}

TEST(DataSourceCommands, DeletingSourcesAsksForTablesClosesTheirWindowsAndSetsTheButtons)
{
    ProgramFolder folder;
    const QString file = folder.filePath(QStringLiteral("Stergere.vmd"));
    int idArhiva = 0, idBanca = 0;
    QStringList tableKeys;
    apptest::makeProject(file, [&](ProjectFixture &p) {
        idArhiva = p.addConn(6, QStringLiteral("Arhiva"), QStringLiteral("Driver=NuExista;"), true);
        idBanca = p.addConn(6, QStringLiteral("Banca"), QStringLiteral("Driver=NuExista;"), true);
        for (const char *table : {"Facturi", "Plati"})
            tableKeys << QStringLiteral("T_%1").arg(p.addTable(idArhiva, QString::fromLatin1(table)));
    });
    frmMain w;
    w.show();
    ScriptedModals modals;
    modals.then(apptest::chooseExisting(file));
    w.pOpen(false);
    const QString arhiva = QStringLiteral("C_%1").arg(idArhiva);
    const QString banca = QStringLiteral("C_%1").arg(idBanca);
    for (const QString &key : tableKeys)
        ASSERT_TRUE(w.selectNode(key));
    ASSERT_TRUE(w.selectNode(arhiva));
    QList<QPointer<QWidget>> windows;
    for (const QString &key : QStringList{arhiva} + tableKeys)
        windows.append(w.mcolChildren.value(key));
    for (const auto &window : windows)
        ASSERT_FALSE(window.isNull());

    ScriptedPrompts prompts;
    prompts.answer(ui::Answer::No);
    w.tlbButton(QStringLiteral("conn_del"))->trigger();
    ASSERT_EQ(prompts.messages().size(), 1);
    const ui::MessageRequest &question = prompts.messages().at(0);
    EXPECT_EQ(question.text, QStringLiteral("Sursa de date selectata contine 2 tabele.\nDaca sursa de date va fi "
                                            "stearsa, tabelele impreuna cu campurile lor vor fi deasemenea sterse."
                                            "\n\nSunteti sigur ca doriti sa stergeti sursa de date?"));
    EXPECT_EQ(question.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(question.icon, ui::Icon::Question);
    EXPECT_EQ(question.defaultButton, 1);
    EXPECT_EQ(w.trv->topLevelItemCount(), 2);
    EXPECT_FALSE(w.isDirty());

    prompts.answer(ui::Answer::Yes);
    w.tlbButton(QStringLiteral("conn_del"))->trigger();
    EXPECT_EQ(prompts.messages().size(), 2);
    EXPECT_EQ(w.findNode(arhiva), nullptr);
    for (const auto &window : windows)
        EXPECT_TRUE(window.isNull());
    EXPECT_EQ(w.mcolChildren.keys(), QStringList({banca}));
    EXPECT_EQ(w.selectedNodeKey(), banca);
    EXPECT_TRUE(w.isDirty());
    EXPECT_EQ(w.Conn().openRecordset(QStringLiteral("SELECT * FROM tTable")).recordCount(), 0);

    // The last one has no tables: no question; nothing is left selected.
    w.tlbButton(QStringLiteral("conn_del"))->trigger();
    EXPECT_EQ(prompts.messages().size(), 2);
    EXPECT_EQ(w.trv->topLevelItemCount(), 0);
    EXPECT_EQ(w.Conn().openRecordset(QStringLiteral("SELECT * FROM tConn")).recordCount(), 0);
    EXPECT_EQ(w.mcolChildren.count(), 0);
    EXPECT_EQ(enabledButtons(w), QStringList({"new", "open", "save", "conn_add"}));
}

} // namespace
