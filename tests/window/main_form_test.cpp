// The table window built under the offscreen platform: a hand dealt into it
// shows in the members of its controls.
#include "window/main_form.h"

#include "core/table_reset.h"
#include "support/test_client.h"
#include "table/tiles.h"

#include <gtest/gtest.h>

using namespace table;
using testing_support::TestClient;

TEST(MainForm, ControlsCarryTheirNames)
{
    TestClient t;
    window::MainForm& f = *t.client.MainForm;
    EXPECT_EQ(f.objectName(), QStringLiteral("MainForm"));
    EXPECT_EQ(f.pic1->objectName(), QStringLiteral("pic1"));
    EXPECT_EQ(f.MJ_Image.Count(), 136);
    EXPECT_EQ(f.MJ_Image[135].Name, QStringLiteral("MJ_Image"));
    EXPECT_EQ(f.MJ_Image[135].Index, 135);
    EXPECT_EQ(f.Operation.Count(), 5);
    EXPECT_EQ(f.Chi.Count(), 6);
    EXPECT_EQ(f.Gang.Count(), 5);
    EXPECT_EQ(f.Speak.Count(), 3);
    EXPECT_EQ(f.AnNiu.Count(), 9);
    EXPECT_EQ(f.Sysmsg[1]->objectName(), QStringLiteral("Sysmsg"));
    EXPECT_EQ(f.ZhiNan.Name, QStringLiteral("ZhiNan"));
    EXPECT_EQ(f.TimerBong->interval(), 50);
    EXPECT_EQ(f.findChild<platform::TextBox*>(QStringLiteral("Chat")), f.Chat);
}

TEST(MainForm, DealtHandShowsOnTheTileImages)
{
    TestClient t;
    Client& c = t.client;
    core::ClearTableTiles(c);
    core::ResetTableDisplay(c);
    core::ResetPlayerState(c);
    PlayerRecord& p = c.game.Players[0];
    const int16_t hand[] = {0x81, 0x15, 0x47, 0x22, 0x11};
    for (int i = 0; i < 5; ++i) {
        TileSlot& s = p.Slots[static_cast<std::size_t>(p.HandFirst + i)];
        s = {1, hand[i], static_cast<int16_t>(i)};
        c.MainForm->MJ_Image[i].Move(static_cast<float>(p.HandX + 48 * i), p.HandY, 48, 78);
    }
    p.HandCount = 5;
    ArrangeHand(c.Table(), 0, 5);

    auto& img = c.MainForm->MJ_Image;
    const int16_t want[] = {0x15, 0x81, 0x47, 0x22, 0x11};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(p.Slots[static_cast<std::size_t>(4 + i)].TileCode, want[i]);
        EXPECT_TRUE(img[i].Visible);
        EXPECT_EQ(img[i].PictureId(), 201 + TilePicIndex(4, want[i]));
        EXPECT_FLOAT_EQ(img[i].Left, 19.0f + 48 * i);
        EXPECT_FLOAT_EQ(img[i].Top, 564.0f);
    }
    // The wall images the hand did not take stay hidden, laid out as wall.
    EXPECT_FALSE(img[10].Visible);
    EXPECT_EQ(img[10].Width, 36);
}
