#include "app/client.h"
#include "support/table_fixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::DiscardFrame;
using testing_support::DrawFrame;
using testing_support::TableClient;

namespace {

constexpr float kMiddleLeft(float w) { return (1024 - w) / 2; }
constexpr float kMiddleTop(float h) { return (768 - h) / 2; }

int Face(int view, int code) { return 201 + table::TilePicIndex(view, code); }

} // namespace

TEST(OwnDiscard, TheLowerOfTwoEqualTilesLeavesAndTheHandClosesUp)
{
    TableClient table;
    Client& c = table.c;
    c.table.WildTile = 0x29;
    c.table.PiZiImage = 70;
    table.GiveOwnHand({0x81, 0x83, 0x83, 0x85, 0x41}, 10);
    table.f.MJ_Image[13].Move(table.f.MJ_Image[13].Left, 554); // raised by the pointer
    table.Deliver(DiscardFrame(1, 0x83));

    EXPECT_EQ(c.table.LastDiscardImage, 11);
    EXPECT_EQ(c.table.LastDiscardTile, 0x83);
    EXPECT_EQ(c.table.LastDiscardView, 0);
    const platform::Image& middle = table.f.MJ_Image[11];
    EXPECT_FLOAT_EQ(middle.Left, kMiddleLeft(36));
    EXPECT_FLOAT_EQ(middle.Top, kMiddleTop(50));
    EXPECT_FLOAT_EQ(middle.Width, 36);
    EXPECT_EQ(middle.PictureId(), Face(0, 0x83));
    EXPECT_EQ(table.f.pic1->ZOrderList().front(), &middle);
    EXPECT_EQ(table.f.pic1->ZOrderList().back(), &table.f.MJ_Image[70]);

    const table::PlayerRecord& p = table.Player(0);
    EXPECT_EQ(p.HandCount, 4);
    EXPECT_EQ(table.OwnHandCodes(), (std::vector<int16_t>{0x81, 0x83, 0x85, 0x41}));
    const std::array<int, 4> images{10, 12, 13, 14};
    for (int i = 0; i < 4; ++i) {
        const platform::Image& img = table.f.MJ_Image[images[static_cast<std::size_t>(i)]];
        EXPECT_EQ(p.Slots[static_cast<std::size_t>(4 + i)].Image, images[static_cast<std::size_t>(i)]);
        EXPECT_FLOAT_EQ(img.Left, 19 + (4 + i) * 48.0f) << i;
        EXPECT_FLOAT_EQ(img.Top, 564) << i;
    }
    EXPECT_EQ(c.game.SeenTileCounts[3][3], 1);
    EXPECT_EQ(c.table.DiscardDue, 0);
}

// The tile input already showed a tile leaving; the server's discard took
// another, so the marked tile goes back into the row with its face.
TEST(OwnDiscard, AMarkedTileThatStaysInTheHandGetsItsFaceBack)
{
    TableClient table;
    table.GiveOwnHand({0x81, 0x83, 0x85}, 10);
    table::ShowTileImage(table.c.Table(), 12, table::TilePicIndex(0, 0x85));
    table.f.MJ_Image[12].Tag = QStringLiteral("6");
    table.Deliver(DiscardFrame(1, 0x81));
    EXPECT_EQ(table.f.MJ_Image[12].PictureId(), Face(4, 0x85));
    EXPECT_TRUE(table.f.MJ_Image[12].Tag.isEmpty());
    EXPECT_FLOAT_EQ(table.f.MJ_Image[12].Left, 19 + 5 * 48.0f);
}

TEST(OwnDiscard, ATileNotInTheHandLeavesNothingForTheNextDrawToLay)
{
    TableClient table;
    Client& c = table.c;
    // The previous discard, laid already, and another seat's draw after it.
    c.table.LastDiscardImage = 90;
    c.table.LastDiscardView = 2;
    c.table.LastDiscardTile = 0x23;
    table.f.MJ_Image[90].Move(7, 7, 30, 36);
    table.GiveOwnHand({0x81, 0x83}, 10);
    table.Deliver(DiscardFrame(1, 0x44));

    EXPECT_EQ(c.table.LastDiscardTile, 0x44);
    EXPECT_EQ(c.table.LastDiscardView, 0);
    EXPECT_EQ(c.table.LastDiscardImage, -1);
    EXPECT_EQ(table.Player(0).HandCount, 2);

    const int16_t nextX = table.Player(2).NextDiscardX;
    table.Deliver(DrawFrame(2));
    EXPECT_FLOAT_EQ(table.f.MJ_Image[90].Left, 7);
    EXPECT_EQ(table.Player(2).NextDiscardX, nextX);
    EXPECT_FALSE(table.t.process.ended);
}

TEST(OtherDiscard, TheJustDrawnTileLeavesTheLastSlot)
{
    TableClient table;
    table.GiveOtherHand(2, 5, 20);
    for (int i = 0; i < 5; ++i)
        table.f.MJ_Image[20 + i].Move(842 - (4 + i) * 36.0f, 122, 36, 50);
    table.Deliver(DiscardFrame(4, 0x27, 0));

    EXPECT_EQ(table.c.table.LastDiscardImage, 24);
    const platform::Image& middle = table.f.MJ_Image[24];
    // Centred by the size it had in the hand, then given the discard size.
    EXPECT_FLOAT_EQ(middle.Left, kMiddleLeft(36));
    EXPECT_FLOAT_EQ(middle.Top, kMiddleTop(50));
    EXPECT_FLOAT_EQ(middle.Width, 30);
    EXPECT_FLOAT_EQ(middle.Height, 36);
    EXPECT_EQ(middle.PictureId(), Face(2, 0x27));
    EXPECT_EQ(table.Player(2).HandCount, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(table.f.MJ_Image[20 + i].Left, 842 - (4 + i) * 36.0f) << i;
}

TEST(OtherDiscard, FromInsideAHandOfTwoTheDrawnTileTakesTheFirstPlace)
{
    TableClient table;
    table.GiveOtherHand(1, 2, 20);
    table.f.MJ_Image[20].Move(143, 262, 35, 66);
    table.f.MJ_Image[21].Move(138, 280, 35, 66);
    table.Deliver(DiscardFrame(8, 0x27, 1));

    EXPECT_EQ(table.c.table.LastDiscardImage, 20);
    EXPECT_EQ(table.Player(1).Slots[4].Image, 21);
    EXPECT_EQ(table.Player(1).HandCount, 1);
    const platform::Image& drawn = table.f.MJ_Image[21];
    EXPECT_FLOAT_EQ(drawn.Left, 143);
    EXPECT_FLOAT_EQ(drawn.Top, 262);
    EXPECT_EQ(table.f.MJ_Image[20].PictureId(), Face(1, 0x27));
}

struct OrderCase {
    int view;
    bool front;
};

class DiscardDrawingOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(DiscardDrawingOrder, RightSeatBehindOthersInFront)
{
    TableClient table;
    const int v = GetParam().view;
    table.c.table.PiZiImage = 70;
    table.GiveOtherHand(v, 3, 20);
    table.Deliver(DiscardFrame(table.SeatBitOf(v), 0x11));
    const auto& order = table.f.pic1->ZOrderList();
    // The indicator always ends on top; the discard just below it, or at the back.
    EXPECT_EQ(order.back(), &table.f.MJ_Image[70]);
    if (GetParam().front)
        EXPECT_EQ(order[order.size() - 2], &table.f.MJ_Image[22]);
    else
        EXPECT_EQ(order.front(), &table.f.MJ_Image[22]);
}

INSTANTIATE_TEST_SUITE_P(Views, DiscardDrawingOrder,
                         testing::Values(OrderCase{1, true}, OrderCase{2, true}, OrderCase{3, false}),
                         [](const auto& info) { return "View" + std::to_string(info.param.view); });

TEST(OtherDiscard, EventsRunDuringTheShortWaitWithTheTileAlreadyInTheMiddle)
{
    TableClient table;
    table.GiveOtherHand(3, 3, 20);
    int seenCount = -1;
    float seenLeft = 0;
    table.t.clock.onEvents = [&] {
        seenCount = table.Player(3).HandCount;
        seenLeft = table.f.MJ_Image[22].Left;
    };
    const uint32_t before = table.t.clock.ms;
    table.Deliver(DiscardFrame(2, 0x11));
    EXPECT_GE(table.t.clock.ms - before, 300u);
    EXPECT_EQ(seenCount, 2);
    EXPECT_FLOAT_EQ(seenLeft, kMiddleLeft(36)); // centred by its wall size
}

TEST(OtherDiscard, SpokenInTheDiscardersVoice)
{
    TableClient table;
    QTemporaryDir dir;
    Client& c = table.c;
    c.window.Sound.SoundOn = -1;
    c.window.Sound.VoicePath = dir.path() + QLatin1Char('/');
    const QString file = dir.filePath(QStringLiteral("v27100245.wav"));
    testing_support::WriteWave(file);
    core::UserInfo& u = c.game.UserInfos[1];
    u.Voice1 = QStringLiteral("27");
    u.Voice2 = QStringLiteral("10");
    u.Sex = 0;
    u.VoiceKind = 2;
    table.GiveOtherHand(1, 3, 20);
    table.Deliver(DiscardFrame(8, 0x85));
    ASSERT_FALSE(table.t.sound.buffers.empty());
    EXPECT_EQ(table.t.sound.buffers.back()->path, file);

    // Without sound nothing is asked of the device and the discard goes on.
    c.window.Sound.SoundOn = 0;
    const int requests = table.t.sound.createRequests;
    table.Deliver(DiscardFrame(8, 0x85));
    EXPECT_EQ(table.t.sound.createRequests, requests);
    EXPECT_EQ(table.Player(1).HandCount, 1);
}

TEST(Discard, InWatchModeTheTableCountsNothing)
{
    TableClient table;
    table.c.game.WatchMode = true;
    table.GiveOtherHand(1, 3, 20);
    table.Deliver(DiscardFrame(8, 0x85));
    EXPECT_EQ(table.c.game.SeenTileCounts[3][5], 0);
    // The spectator's own handler took the tile, once.
    EXPECT_EQ(table.Player(1).HandCount, 2);
}

TEST(Discard, OfferedReportButtonAppears)
{
    TableClient table;
    table.c.game.ImpeachOffered = -1;
    table.GiveOtherHand(1, 3, 20);
    table.Deliver(DiscardFrame(8, 0x85));
    EXPECT_TRUE(table.f.cmdImpeach.Visible);
    EXPECT_TRUE(table.f.cmdImpeach.Enabled);
}

// The local player's discards go into the own row when the next seat (view
// 3) draws; the ninth starts a new row.
TEST(DiscardRow, OwnDiscardsFillARowOfEightThenTheNextRow)
{
    TableClient table;
    Client& c = table.c;
    table.GiveOwnHand({0x11, 0x12, 0x13, 0x14, 0x21, 0x22, 0x23, 0x24, 0x25}, 100);
    std::vector<std::pair<float, float>> laid;
    for (int code : {0x11, 0x12, 0x13, 0x14, 0x21, 0x22, 0x23, 0x24, 0x25}) {
        table.Deliver(DiscardFrame(1, code));
        const int16_t image = c.table.LastDiscardImage;
        table.Deliver(DrawFrame(2));
        laid.emplace_back(table.f.MJ_Image[image].Left, table.f.MJ_Image[image].Top);
        EXPECT_EQ(c.table.DiscardBlinkCount, 3);
    }
    for (int i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(laid[static_cast<std::size_t>(i)].first, 358 + 36.0f * i) << i;
        EXPECT_FLOAT_EQ(laid[static_cast<std::size_t>(i)].second, 438) << i;
    }
    EXPECT_FLOAT_EQ(laid[8].first, 358);
    EXPECT_FLOAT_EQ(laid[8].second, 438 - 32);
    EXPECT_EQ(c.table.SideDrawTile, 358);
    EXPECT_EQ(c.table.SideDrawSlot, 406);
}

TEST(DiscardRow, OwnDiscardStaysInTheMiddleWhenAnotherSeatThanTheNextDraws)
{
    TableClient table;
    Client& c = table.c;
    c.table.PiZiImage = 70;
    table.GiveOwnHand({0x11, 0x12}, 100);
    table.Deliver(DiscardFrame(1, 0x11));
    table.Deliver(DrawFrame(4));
    EXPECT_FLOAT_EQ(table.f.MJ_Image[100].Left, kMiddleLeft(36));
    EXPECT_EQ(table.Player(0).NextDiscardX, 358);
    EXPECT_EQ(table.f.pic1->ZOrderList().back(), &table.f.MJ_Image[70]);
}
