// The confirmation window while it builds its list: rows go in in bulk, and
// when the listing stops on an error the rows found so far stay, the count
// line is not written and the busy cursor is gone.
#include "conversion/frmConvertStart.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/support/ProjectFixture.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QStringList rowsOf(const QTreeWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows.append(list->topLevelItem(i)->text(0) + QLatin1Char('/') + list->topLevelItem(i)->text(1)
                    + QLatin1Char('/') + list->topLevelItem(i)->text(2));
    return rows;
}

void waitForList(const frmConvertStart &dialog)
{
    while (dialog.listing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

TEST(ConfirmWindow, AnErrorMidwayKeepsTheRowsFoundSoFarAndWritesNoCountLine)
{
    testsupport::ProjectFixture project;
    convtest::SqliteUserDb user;
    user.exec({QStringLiteral("CREATE TABLE Facturi (Id INTEGER PRIMARY KEY, Suma INTEGER, Tva INTEGER)"),
               QStringLiteral("INSERT INTO Facturi VALUES (1, 10000, 1900)"),
               QStringLiteral("CREATE TABLE Salarii (Id INTEGER PRIMARY KEY, Brut INTEGER)"),
               QStringLiteral("INSERT INTO Salarii VALUES (1, 50000)")});
    const int facturi = project.addTable(project.addConn(6, QStringLiteral("Alfa"), user.connString()),
                                         QStringLiteral("Facturi"));
    project.addField(facturi, QStringLiteral("Suma"));
    project.addField(facturi, QStringLiteral("Tva"));
    // Stored as converted, probed as not: its new state must be written, and
    // the project refuses the write.
    const int brut = project.addField(
        project.addTable(project.addConn(6, QStringLiteral("Beta"), user.connString()), QStringLiteral("Salarii")),
        QStringLiteral("Brut"));
    project.Conn().execute(QStringLiteral("UPDATE tField SET Converted = True WHERE IdField = %1").arg(brut));
    project.Conn().execute(QStringLiteral("CREATE TRIGGER vm_refuz BEFORE UPDATE ON tField WHEN NEW.IdField = %1 "
                                          "BEGIN SELECT RAISE(ABORT, 'scriere refuzata'); END")
                               .arg(brut));

    testsupport::ScriptedPrompts prompts;
    frmConvertStart dialog;
    dialog.ToLeiNoi = true;
    dialog.Load();
    waitForList(dialog);

    EXPECT_EQ(rowsOf(dialog.list()).join(QLatin1Char(',')).toStdString(), "Alfa/Facturi/Suma,Alfa/Facturi/Tva");
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().at(0).title.toStdString(), "frmConvertStart: pLoad");
    EXPECT_TRUE(prompts.messages().at(0).text.contains(QStringLiteral("scriere refuzata")))
        << prompts.messages().at(0).text.toStdString();
    EXPECT_FALSE(dialog.totalBox()->text().endsWith(QStringLiteral("campuri vor fi convertite")))
        << dialog.totalBox()->text().toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Without the refusal the same window lists all three and counts them.
    project.Conn().execute(QStringLiteral("DROP TRIGGER vm_refuz"));
    frmConvertStart again;
    again.ToLeiNoi = true;
    again.Load();
    waitForList(again);
    EXPECT_EQ(rowsOf(again.list()).join(QLatin1Char(',')).toStdString(),
              "Alfa/Facturi/Suma,Alfa/Facturi/Tva,Beta/Salarii/Brut");
    EXPECT_EQ(again.totalBox()->text().toStdString(), "3 campuri vor fi convertite");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
