// The recently used project files in the settings store.
#include "tests/util/Sandbox.h"
#include "util/core/AppInfo.h"
#include "util/core/RecentFiles.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

const bool kIsolated = (testsupport::isolateSettings(), true);

void storeSlots(const QStringList &values)
{
    testsupport::clearSettings();
    QSettings settings(kAppTitle, kAppTitle);
    settings.beginGroup(QStringLiteral("RecentFiles"));
    for (int i = 0; i < values.size(); ++i)
        if (!values.at(i).isEmpty())
            settings.setValue(QStringLiteral("RecentFile") + QString::number(i + 1), values.at(i));
}

QStringList storedSlots()
{
    QSettings settings(kAppTitle, kAppTitle);
    settings.beginGroup(QStringLiteral("RecentFiles"));
    QStringList values;
    for (int i = 1; i <= 5; ++i)
        values.append(settings.value(QStringLiteral("RecentFile") + QString::number(i)).toString());
    return values;
}

} // namespace

TEST(RecentFiles, NewPathShiftsTheSlotsDown)
{
    storeSlots({"/p/A.vmd", "/p/B.vmd", "/p/C.vmd", "/p/D.vmd"});
    pgAddToRecent(QStringLiteral("/p/N.vmd"));
    EXPECT_EQ(storedSlots(), QStringList({"/p/N.vmd", "/p/A.vmd", "/p/B.vmd", "/p/C.vmd", "/p/D.vmd"}));
    // The fifth slot is written but never shown.
    EXPECT_EQ(fgGetRecentFiles(), QStringList({"/p/N.vmd", "/p/A.vmd", "/p/B.vmd", "/p/C.vmd"}));
}

TEST(RecentFiles, ListedPathMovesToTheHeadAndItsOldSlotKeepsItsValue)
{
    storeSlots({"/p/A.vmd", "/p/B.vmd", "/p/C.vmd", "/p/D.vmd"});
    pgAddToRecent(QStringLiteral("/p/B.vmd"));
    EXPECT_EQ(storedSlots(), QStringList({"/p/B.vmd", "/p/A.vmd", "/p/C.vmd", "/p/C.vmd", "/p/D.vmd"}));
    EXPECT_EQ(fgGetRecentFiles(), QStringList({"/p/B.vmd", "/p/A.vmd", "/p/C.vmd"}));
}

TEST(RecentFiles, ReadingDropsRepeatsWithoutRegardToCaseAndEmptySlots)
{
    storeSlots({"/p/Proiect.vmd", "", "/P/PROIECT.VMD", "/p/Alt.vmd", "/p/Cinci.vmd"});
    EXPECT_EQ(fgGetRecentFiles(), QStringList({"/p/Proiect.vmd", "/p/Alt.vmd"}));

    // Adding a path already listed in another case does not list it twice.
    pgAddToRecent(QStringLiteral("/P/proiect.VMD"));
    EXPECT_EQ(fgGetRecentFiles(), QStringList({"/P/proiect.VMD", "/p/Alt.vmd"}));

    testsupport::clearSettings();
    EXPECT_TRUE(fgGetRecentFiles().isEmpty());
    pgAddToRecent(QString());
    EXPECT_EQ(storedSlots(), QStringList({"", "", "", "", ""}));
}

TEST(RecentFiles, PathSplitsIntoFolderAndNameAndReassembles)
{
    EXPECT_EQ(fgExtractFileName(QStringLiteral("/home/ana/Proiecte/Salarii.vmd")), QStringLiteral("Salarii.vmd"));
    EXPECT_EQ(fgFilePath(QStringLiteral("/home/ana/Proiecte/Salarii.vmd")), QStringLiteral("/home/ana/Proiecte/"));
    EXPECT_EQ(fgExtractFileName(QStringLiteral("Salarii.vmd")), QStringLiteral("Salarii.vmd"));
    EXPECT_EQ(fgFilePath(QStringLiteral("Salarii.vmd")), QString());
    for (const QString &path : {QStringLiteral("Salarii.vmd"), QStringLiteral("/Salarii.vmd"),
                               QStringLiteral("/a/b/"), QStringLiteral("/home/ana/x y.vmd")})
        EXPECT_EQ(fgFilePath(path) + fgExtractFileName(path), path);
}
