// The control totals through the toolbar command: the confirmation's check
// box decides whether the report window gets its page of totals.
#include "conversion/ConversionCommand.h"
#include "conversion/frmConvertEnd.h"
#include "conversion/frmConvertStart.h"
#include "conversion/frmProgress.h"
#include "tests/conversion/ConversionTestSupport.h"
#include "tests/conversion/SavedProjectHost.h"
#include "tests/support/ProjectFixture.h"
#include "util/widgets/ModalDialog.h"

#include <QCheckBox>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// What the report window showed on its page of totals.
struct Seen {
    bool pageShown = false;
    QStringList lines; // the cells of each row, joined by "|"
    QStringList headers;
};

Seen runThroughTheWindows(testsupport::ProjectFixture &project, bool toLeiNoi, bool totals)
{
    Seen seen;
    const ui::ModalHandler previous = ui::setModalHandler([&](QDialog &dialog) {
        if (auto *confirm = qobject_cast<frmConvertStart *>(&dialog)) {
            EXPECT_TRUE(confirm->totalsBox()->isChecked()) << "on unless the user says otherwise";
            confirm->totalsBox()->setChecked(totals);
            confirm->cmdOk_Click();
            return dialog.result();
        }
        if (auto *progress = qobject_cast<frmProgress *>(&dialog)) {
            QTimer::singleShot(20000, progress, [progress] { progress->Unload(); }); // never hang
            return dialog.exec();
        }
        if (auto *report = qobject_cast<frmConvertEnd *>(&dialog)) {
            seen.pageShown = report->tabs()->isTabVisible(1);
            QTreeWidget *list = report->totalsList();
            for (int c = 0; c < list->columnCount(); ++c)
                seen.headers.append(list->headerItem()->text(c));
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                QStringList cells;
                for (int c = 0; c < list->columnCount(); ++c)
                    cells.append(list->topLevelItem(i)->text(c));
                seen.lines.append(cells.join(QLatin1Char('|')));
            }
            return int(QDialog::Accepted);
        }
        return dialog.exec();
    });
    convtest::SavedProjectHost host(project.Conn());
    ConversionCommand command(host);
    command.tlbConvert(toLeiNoi);
    ui::setModalHandler(previous);
    return seen;
}

} // namespace

TEST(ControlTotalsWindow, CheckBoxGivesTheReportItsPageOfTotalsOrNone)
{
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    testsupport::ProjectFixture project;
    ASSERT_TRUE(project.ok());
    convtest::SqliteUserDb user;
    user.exec({QStringLiteral("CREATE TABLE Plati (Id INTEGER PRIMARY KEY, Suma DECIMAL(18,2), Cant INTEGER)"),
               QStringLiteral("INSERT INTO Plati VALUES (1, 14949.50, 15000), (2, 5000, NULL), (3, 5000, -7)")});
    const int table = project.addTable(project.addConn(6, QStringLiteral("Firma"), user.connString()),
                                       QStringLiteral("Plati"));
    project.addField(table, QStringLiteral("Suma"));
    project.addField(table, QStringLiteral("Cant"));

    Seen seen = runThroughTheWindows(project, true, true);
    EXPECT_TRUE(seen.pageShown);
    EXPECT_EQ(seen.headers.mid(3, 5), (QStringList{"Inregistrari", "Suma lei vechi", "Suma lei noi", "Suma asteptata",
                                                   "Diferenta rotunjire"}));
    EXPECT_EQ(seen.lines, (QStringList{"Firma|Plati|Suma|3|24949.50|2.49|2.494950|-0.004950|",
                                       "Firma|Plati|Cant|2|14993|2|1.4993|0.5007|",
                                       "Firma|||5|39942.50|4.49|3.994250|0.495750|Total sursa de date",
                                       "Total|||5|39942.50|4.49|3.994250|0.495750|Total conversie"}));

    // Back, without totals: the page is not there.
    seen = runThroughTheWindows(project, false, false);
    EXPECT_FALSE(seen.pageShown);
    EXPECT_TRUE(seen.lines.isEmpty());
    EXPECT_EQ(user.scalar(QStringLiteral("SELECT Suma FROM Plati WHERE Id = 1")).toString(), QStringLiteral("14949.5"));
}
