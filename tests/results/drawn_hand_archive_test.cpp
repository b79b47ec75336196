// The prop plug-in's drawn-hand result archives its sheet like any other
// hand, so the history row it adds can show it again.
#include "sheet_fixture.h"

#include "core/ini_file.h"
#include "results/hand_archive.h"
#include "rewards/treasure.h"

#include <gtest/gtest.h>

using namespace results_test;

TEST(DrawnHandArchive, ThePluginsDrawnHandIsArchivedUnderItsHandNumber)
{
    Sheet t;
    t.g.RoundNo = 4;
    t.r.SeatNamePics[2] = {QStringLiteral("carol"), QStringLiteral("7")};
    rewards::ShowDrawnHandResult(t.client);

    core::classIniFile ini;
    ini.setINIFileName(results::HandArchivePath(t.client));
    const QString section = QStringLiteral("juNum:4");
    EXPECT_EQ(ini.GetIniKey(section, QStringLiteral("name( 2 )")), QStringLiteral("carol"));
    const int rows = t.score.State[0]->ListCount();
    ASSERT_GT(rows, 0);
    EXPECT_EQ(ini.GetIniKey(section, QStringLiteral("count( 0 )")), QString::number(rows));
    EXPECT_EQ(ini.GetIniKey(section, QStringLiteral("count( 0 )( %1 )").arg(rows - 1)), QStringLiteral("黄  庄"));
    EXPECT_EQ(ini.GetIniKey(section, QStringLiteral("count( 4 )")), QStringLiteral("1"));

    // The history row of that hand reads the sheet back.
    t.score.State[0]->Clear();
    results::LoadHandSheet(t.client, 4);
    EXPECT_EQ(t.score.State[0]->ListCount(), rows);
}
