#include "core/table_reset.h"

#include "chat/talk_form.h"
#include "support/test_client.h"
#include "table/geometry.h"
#include "table/indicator.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace table;
using testing_support::TestClient;

namespace {

// A table in the middle of a hand: every field the resets touch is dirty.
void Dirty(TestClient& t)
{
    Client& c = t.client;
    window::MainForm& f = *c.MainForm;
    for (int i = 0; i < 136; ++i) {
        f.MJ_Image[i].SetPicture({300, {}});
        f.MJ_Image[i].Visible = true;
        f.MJ_Image[i].Tag = QStringLiteral("7");
        f.MJ_Image[i].Move(1, 1, 5, 5);
    }
    for (int v = 0; v < 4; ++v) {
        PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
        p.Name = "name";
        p.SeatBit = static_cast<uint8_t>(1 << v);
        p.HandAmount = 5;
        p.BankerMark = -1;
        for (TileSlot& s : p.Slots)
            s = {3, 0x21, 9};
        p.HandFirst = p.MeldEnd = p.HandCount = p.WildInHand = p.RedLaid = p.WildLaid = p.GreenInHand = p.GreenLaid = 7;
        p.RedInHand = 2;
        c.game.HandResult[static_cast<std::size_t>(v)].fill(3);
        c.game.HandAmounts[static_cast<std::size_t>(v)] = 9;
        c.core.SeatNames[static_cast<std::size_t>(v)] = "seat";
        c.game.LaidTileImages[static_cast<std::size_t>(v)].fill(5);
        c.game.RevealedTiles[static_cast<std::size_t>(v)].fill({1, 2, 3});
    }
    c.table.WildTile = 0x21;
    c.table.DrawFromHead = 0;
    c.table.DiscardDue = 1;
    c.table.LastDiscardTile = 0x33;
    c.table.LastDiscardImage = c.table.PrevDiscardImage = c.table.LastDrawnImage = 4;
    c.table.SideTiles.fill(1);
    c.table.SideTileCount = 3;
    c.table.WallHead = 12;
    c.table.WallTail = 44;
    c.game.GamePhase = 5;
    c.game.WinnerView = 2;
    c.game.ResultFrameCount = 4;
    c.game.InGame = -1;
    c.game.CapClass.fill(8);
    c.game.SeatFlags4.fill(-1);
    c.game.HandSubtotals.fill(4);
    c.game.PropResultDue = c.game.PropRoundState = c.game.DrawnHandPending = c.game.PropRoundReset = 1;
    c.game.ImpeachOffered = c.game.ImpeachDone = c.game.ImpeachAllowed = -1;
    c.game.ImpeachSeat = 2;
    c.game.F1Minimized = -1;
    c.game.TimeoutCount = 3;
    for (platform::GraphicControl* ctl :
         std::initializer_list<platform::GraphicControl*>{&f.Time_Img, &f.Number, &f.ZhiNan, &f.Host, &f.Zhuang,
                                                          &f.ZQ_Image, &f.imgBeishu, &f.lblDifen, &f.cmdImpeach})
        ctl->Visible = true;
    for (int i = 0; i < 5; ++i)
        f.Operation[i].Visible = f.Operation[i].Enabled = true;
    f.Zhuang.Caption = QStringLiteral("东");
    f.quoxaImg.SetPicture({777, {}});
    f.Bank.Visible = false;
    f.Pic_Jadetask->show();
    c.Talk->show();
}

} // namespace

TEST(Reset, ClearTableTilesKeepsSlotImagesAndKinds)
{
    TestClient t;
    Dirty(t);
    core::ClearTableTiles(t.client);
    Client& c = t.client;
    for (int i = 0; i < 136; ++i) {
        EXPECT_FALSE(c.MainForm->MJ_Image[i].Visible);
        EXPECT_EQ(c.MainForm->MJ_Image[i].PictureId(), 0);
    }
    for (const PlayerRecord& p : c.game.Players)
        for (const TileSlot& s : p.Slots) {
            EXPECT_EQ(s.TileCode, 0);
            EXPECT_EQ(s.Image, 9);
            EXPECT_EQ(s.Kind, 3);
        }
    EXPECT_EQ(c.table.LastDiscardImage, -1);
    EXPECT_EQ(c.table.PrevDiscardImage, -1);
    EXPECT_EQ(c.MainForm->Quoxa.PictureId(), 777);
    EXPECT_FALSE(c.MainForm->Operation[3].Visible);
    EXPECT_FALSE(c.MainForm->Operation[3].Enabled);
    EXPECT_EQ(c.game.CapClass[2], 0);
    EXPECT_TRUE(c.core.SeatNames[1].isEmpty());
    EXPECT_FALSE(c.MainForm->ZQ_Image.Visible);
    EXPECT_TRUE(c.MainForm->Zhuang.Caption.isEmpty());
}

TEST(Reset, ClearTableTilesKeepsTheBankerLabelForASpectator)
{
    TestClient t;
    Dirty(t);
    t.client.game.WatchMode = true;
    core::ClearTableTiles(t.client);
    EXPECT_EQ(t.client.MainForm->Zhuang.Caption, QStringLiteral("东"));
}

TEST(Reset, ResetTableDisplay)
{
    TestClient t;
    Dirty(t);
    core::ResetTableDisplay(t.client);
    Client& c = t.client;
    window::MainForm& f = *c.MainForm;
    for (int i = 0; i < 136; ++i) {
        EXPECT_FALSE(f.MJ_Image[i].Visible);
        EXPECT_TRUE(f.MJ_Image[i].Tag.isEmpty());
        EXPECT_EQ(f.MJ_Image[i].PictureId(), 300); // pictures stay
    }
    for (const platform::GraphicControl* ctl :
         {static_cast<platform::GraphicControl*>(&f.Time_Img), static_cast<platform::GraphicControl*>(&f.Number),
          static_cast<platform::GraphicControl*>(&f.ZhiNan), static_cast<platform::GraphicControl*>(&f.Host),
          static_cast<platform::GraphicControl*>(&f.Zhuang), static_cast<platform::GraphicControl*>(&f.imgBeishu),
          static_cast<platform::GraphicControl*>(&f.lblDifen), static_cast<platform::GraphicControl*>(&f.cmdImpeach)})
        EXPECT_FALSE(ctl->Visible) << ctl->Name.toStdString();
    EXPECT_FALSE(f.cmdImpeach.Enabled);
    EXPECT_TRUE(f.Bank.Visible);
    EXPECT_EQ(f.pic1->ZOrderList().back(), &f.Bank);
    EXPECT_FALSE(c.Talk->isVisible());
    EXPECT_EQ(f.lblDifen.Caption, QStringLiteral("1"));
    EXPECT_EQ(c.game.SeatFlags4[1], 0);
    EXPECT_EQ(c.game.HandSubtotals[1], 0);
    EXPECT_EQ(c.game.PropRoundReset, 0);
    EXPECT_EQ(c.game.ImpeachSeat, -1);
    EXPECT_EQ(c.game.ImpeachOffered, 0);
    EXPECT_EQ(c.table.LastDrawnImage, -1);
    EXPECT_EQ(c.game.F1Minimized, 0);
    EXPECT_EQ(c.game.TimeoutCount, 0);
    // Slots and counters are the player state's business.
    EXPECT_EQ(c.game.Players[0].Slots[5].Image, 9);
    EXPECT_EQ(c.game.Players[0].HandCount, 7);
}

TEST(Reset, WealthLabelStaysWhileAMultiplierIsSet)
{
    for (int multiplier : {0, 2}) {
        TestClient t;
        window::MainForm& f = *t.client.MainForm;
        t.client.game.WealthMultiplier = multiplier;
        f.lbwealth.Caption = QStringLiteral("0.5");
        f.lbwealth.Visible = f.Imgwealth.Visible = true;
        core::ResetTableDisplay(t.client);
        EXPECT_EQ(f.lbwealth.Caption, multiplier ? QStringLiteral("0.5") : QStringLiteral("1"));
        EXPECT_EQ(f.lbwealth.Visible, multiplier != 0);
        EXPECT_EQ(f.Imgwealth.Visible, multiplier != 0);
    }
}

TEST(Reset, ResetPlayerStateTwiceIsLikeOnce)
{
    TestClient t;
    Dirty(t);
    core::ResetPlayerState(t.client);
    Client& c = t.client;
    auto check = [&] {
        for (int v = 0; v < 4; ++v) {
            const PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
            EXPECT_EQ(p.Name, QByteArray("name"));
            EXPECT_EQ(p.SeatBit, 1 << v);
            EXPECT_EQ(p.HandAmount, 0);
            EXPECT_EQ(p.BankerMark, 0);
            for (const TileSlot& s : p.Slots) {
                EXPECT_EQ(s.Kind, 0);
                EXPECT_EQ(s.Image, -1);
                EXPECT_EQ(s.TileCode, 0x21); // codes stay
            }
            EXPECT_EQ(p.HandFirst, 4);
            EXPECT_EQ(p.MeldEnd, v == 0 ? 3 : 4);
            EXPECT_EQ(p.HandCount + p.WildInHand + p.RedLaid + p.WildLaid + p.GreenInHand + p.GreenLaid, 0);
            EXPECT_EQ(p.RedInHand, 2);
            EXPECT_EQ(c.game.HandResult[static_cast<std::size_t>(v)][16], 0);
            EXPECT_EQ(c.game.HandResult[static_cast<std::size_t>(v)][15], 3);
            EXPECT_EQ(c.game.HandAmounts[static_cast<std::size_t>(v)], 0);
            EXPECT_TRUE(c.core.SeatNames[static_cast<std::size_t>(v)].isEmpty());
            EXPECT_EQ(c.game.LaidTileImages[static_cast<std::size_t>(v)][7], 0);
            EXPECT_EQ(c.game.LaidTileImages[static_cast<std::size_t>(v)][8], 5);
            EXPECT_EQ(c.game.RevealedTiles[static_cast<std::size_t>(v)][17].Kind, 0);
        }
        EXPECT_EQ(c.table.WildTile, -1);
        EXPECT_EQ(c.table.DrawFromHead, -1);
        EXPECT_EQ(c.table.DiscardDue, 0);
        EXPECT_EQ(c.table.LastDiscardTile, 0);
        EXPECT_EQ(c.table.SideTileCount, 0);
        EXPECT_EQ(c.table.SideTiles[23], 0);
        EXPECT_EQ(c.table.WallHead, 12); // the wall ring is kept
        EXPECT_EQ(c.game.GamePhase, 0);
        EXPECT_EQ(c.game.WinnerView, -1);
        EXPECT_EQ(c.game.ResultFrameCount, 0);
        EXPECT_EQ(c.game.InGame, 0);
        EXPECT_TRUE(c.MainForm->Pic_Jadetask->isHidden());
    };
    check();
    core::ResetPlayerState(t.client);
    check();
}

TEST(Reset, TileSizesAgreeInEitherOrder)
{
    TestClient a;
    core::ClearTableTiles(a.client);
    TestClient b;
    b.client.table.TileWidth.fill(99);
    core::ResetTableDisplay(b.client);
    EXPECT_EQ(a.client.table.TileWidth, b.client.table.TileWidth);
    EXPECT_EQ(a.client.table.TileHeight, b.client.table.TileHeight);
}

struct WallCase {
    const char* name;
    float scale;
    // image, left, top, width, height
    std::vector<std::array<float, 5>> images;
    // view, handX, handY, discardX, discardY
    std::vector<std::array<int, 5>> origins;
};
void PrintTo(const WallCase& c, std::ostream* os) { *os << c.name; }

class WallLayoutTest : public ::testing::TestWithParam<WallCase> {};

TEST_P(WallLayoutTest, PlacesAndOrigins)
{
    const WallCase& w = GetParam();
    TestClient t;
    t.client.game.ScaleX = t.client.game.ScaleY = w.scale;
    core::ResetTableDisplay(t.client);
    auto& img = t.client.MainForm->MJ_Image;
    for (const auto& e : w.images) {
        const platform::Image& m = img[static_cast<int>(e[0])];
        EXPECT_NEAR(m.Left, e[1], 1e-3) << "image " << e[0];
        EXPECT_NEAR(m.Top, e[2], 1e-3) << "image " << e[0];
        EXPECT_EQ(m.Width, e[3]) << "image " << e[0];
        EXPECT_EQ(m.Height, e[4]) << "image " << e[0];
    }
    for (const auto& o : w.origins) {
        const PlayerRecord& p = t.client.game.Players[static_cast<std::size_t>(o[0])];
        EXPECT_EQ(p.HandX, o[1]);
        EXPECT_EQ(p.HandY, o[2]);
        EXPECT_EQ(p.DiscardRowX, o[3]);
        EXPECT_EQ(p.DiscardRowY, o[4]);
        EXPECT_EQ(p.NextDiscardX, o[3]);
        EXPECT_EQ(p.NextDiscardY, o[4]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reset, WallLayoutTest,
    ::testing::Values(
        WallCase{"full_scale",
                 1.0f,
                 {{0, 809, 476, 36, 50},
                  {1, 809, 498, 36, 50},
                  {2, 773, 476, 36, 50},
                  {33, 809 - 16 * 36, 498, 36, 50},
                  {34, 164, 476, 48, 35},
                  {36, 168, 461, 48, 35},
                  {67, 164 + 64, 496 - 240, 48, 35},
                  {68, 236, 192, 30, 36},
                  {70, 266, 192, 30, 36},
                  {69, 236, 208, 30, 36},
                  {102, 748, 192, 48, 35},
                  {104, 752, 207, 48, 35},
                  {135, 748 + 64, 212 + 240, 48, 35}},
                 {{0, 19, 564, 358, 438}, {1, 163, 192, 287, 238}, {2, 842, 122, 635, 238}, {3, 942, 560, 758, 438}}},
        // Sizes are rounded (halves to even); positions are not, and rows of
        // sides 0 and 2 step by the rounded widths.
        WallCase{"small_scale",
                 0.78125f,
                 {{0, 809 * 0.78125f, 476 * 0.78125f, 28, 39},
                  {1, 809 * 0.78125f, (476 + 22) * 0.78125f, 28, 39},
                  {2, 809 * 0.78125f - 28, 476 * 0.78125f, 28, 39},
                  {34, 164 * 0.78125f, 476 * 0.78125f, 38, 27},
                  {36, 168 * 0.78125f, 461 * 0.78125f, 38, 27},
                  {68, 236 * 0.78125f, 192 * 0.78125f, 23, 28},
                  {70, 236 * 0.78125f + 23, 192 * 0.78125f, 23, 28}},
                 {{0, 15, 441, 280, 342}, {1, 127, 150, 224, 186}, {2, 658, 95, 496, 186}, {3, 736, 438, 592, 342}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Reset, WallOverlapOrder)
{
    TestClient t;
    core::ResetTableDisplay(t.client);
    const auto& order = t.client.MainForm->pic1->ZOrderList();
    auto pos = [&](int image) {
        return std::find(order.begin(), order.end(), &t.client.MainForm->MJ_Image[image]) - order.begin();
    };
    EXPECT_LT(pos(1), pos(0));   // lower tiles below upper ones
    EXPECT_LT(pos(69), pos(68));
    EXPECT_LT(pos(71), pos(34)); // sent to the back last
    EXPECT_GT(pos(34), pos(35)); // the left side ends in order 66-2k last
    EXPECT_LT(pos(0), pos(2));
}

TEST(Indicator, LiesOnTheTailStackOfItsSide)
{
    TestClient t;
    core::ResetTableDisplay(t.client);
    Client& c = t.client;
    c.table.PiZiImage = 12;
    c.table.PiZiTile = 0x47;
    c.table.WallTail = 40;
    ShowPiZiTile(c.Table());
    const platform::Image& pizi = c.MainForm->MJ_Image[12];
    const platform::Image& tail = c.MainForm->MJ_Image[40];
    EXPECT_EQ(pizi.Width, 48);
    EXPECT_EQ(pizi.Height, 35);
    EXPECT_FLOAT_EQ(pizi.Left, tail.Left);
    EXPECT_FLOAT_EQ(pizi.Top, tail.Top - 20);
    EXPECT_EQ(pizi.PictureId(), 201 + 36 + 9 * 2 + 6);
    EXPECT_TRUE(pizi.Visible);
    EXPECT_EQ(c.MainForm->pic1->ZOrderList().back(), &pizi);

    // The tail moves to another side: size and turn follow it.
    c.table.WallTail = 100;
    ShowPiZiTile(c.Table());
    EXPECT_EQ(pizi.Width, 30);
    EXPECT_EQ(pizi.Height, 36);
    EXPECT_FLOAT_EQ(pizi.Top, c.MainForm->MJ_Image[100].Top - 16);
    EXPECT_EQ(pizi.PictureId(), 201 + 72 + 9 * 2 + 6);
}
