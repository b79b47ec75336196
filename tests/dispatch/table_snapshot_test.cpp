// Kinds 41 and 40: a running hand drawn from scratch for a spectator.

#include "dispatch/table_fixture.h"

#include "autoplay/snapshot.h"
#include "table/reset.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

#include <vector>

using namespace dispatch_test;

namespace {

// The hand header: the dealer's seat bit, the two dice figures, the wild
// tile and the indicator.
GameFrame HeaderFrame(int dealerBit, int dice1, int dice2, int wild, int indicator)
{
    return Frame(41, dealerBit, {dice1, dice2, wild, indicator});
}

// A seat frame: its discards, the head count and the tail figure, then the
// exposed (class 2) and concealed (class 1) entries.
GameFrame SeatFrame(int seatBit, int discards, int head, int tail, const std::vector<int>& exposed,
                    const std::vector<int>& concealed)
{
    GameFrame f = Frame(40, seatBit, {0, head, 0, tail});
    f[7] = static_cast<uint8_t>(discards);
    int k = 0;
    for (int code : exposed) {
        f[static_cast<std::size_t>(16 + 2 * k)] = 0x20;
        f[static_cast<std::size_t>(17 + 2 * k)] = static_cast<uint8_t>(code);
        ++k;
    }
    for (int code : concealed) {
        f[static_cast<std::size_t>(16 + 2 * k)] = 0x10;
        f[static_cast<std::size_t>(17 + 2 * k)] = static_cast<uint8_t>(code);
        ++k;
    }
    return f;
}

// The resource number of a tile picture.
int Pic(int picture) { return 201 + picture; }

// A client at seat bit 1 (so seat bits 8, 4 and 2 are views 1, 2 and 3),
// the wall starting at image 0, after a hand header with the wild tile
// 0x25 and the indicator 0x24.
struct Snapshot : Table {
    window::MainForm& f = *client.MainForm;
    GameState& g = client.game;
    table::TableState& t = client.table;

    Snapshot()
    {
        for (int v = 0; v < 4; ++v)
            g.Players[static_cast<std::size_t>(v)].SeatBit = static_cast<uint8_t>(1 << ((4 - v) & 3));
        Deliver(HeaderFrame(1, 3, 5, 0x25, 0x24));
        t.WallHead = 0;
        t.WallTail = 134;
    }
    static int BitOfView(int view) { return 1 << ((4 - view) & 3); }
    table::PlayerRecord& P(int view) { return g.Players[static_cast<std::size_t>(view)]; }
    platform::Image& Img(int i) { return f.MJ_Image[i]; }
};

// ---- the hand header -----------------------------------------------------------

struct WindCase {
    int seat;
    const char* wind;
};

class HeaderWind : public ::testing::TestWithParam<WindCase> {};

TEST_P(HeaderWind, ComesFromTheAbsoluteSeat)
{
    Table t;
    t.Deliver(HeaderFrame(GetParam().seat, 1, 2, 0x11, 0x12));
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.MainForm->Zhuang.Caption, QString::fromUtf8(GetParam().wind));
    EXPECT_EQ(t.client.game.DealerSeat, GetParam().seat);
}

INSTANTIATE_TEST_SUITE_P(Seats, HeaderWind,
                         ::testing::Values(WindCase{1, "北"}, WindCase{2, "西"}, WindCase{4, "南"}, WindCase{8, "东"},
                                           WindCase{0, "北"}));

TEST(Kind41, ClearsTheTableAndKeepsTheHandsFigures)
{
    Table t;
    window::MainForm& f = *t.client.MainForm;
    f.MJ_Image[10].SetVisible(true);
    t.client.game.GamePhase = 3;
    t.client.game.SideCountC = 17;
    t.Deliver(HeaderFrame(8, 7, 9, 0x25, 0x24));
    EXPECT_FALSE(f.MJ_Image[10].Visible);
    EXPECT_EQ(t.client.game.GamePhase, 0);
    EXPECT_EQ(t.client.game.SideCountC, 17); // the image cursor is kept until the first seat frame
    EXPECT_EQ(t.client.table.WildTile, 0x25);
    EXPECT_EQ(t.client.table.PiZiTile, 0x24);
    EXPECT_EQ(t.client.game.RoundHeaderArgs, (std::array<int16_t, 2>{7, 9}));
    EXPECT_EQ(t.client.game.TableCleared, -1);
    EXPECT_TRUE(f.Host.Visible);
    EXPECT_TRUE(f.Zhuang.Visible);
    for (int i = 0; i <= 2; ++i) {
        EXPECT_FALSE(f.AnNiu[i].Enabled) << i;
        EXPECT_EQ(f.AnNiu[i].PictureId(), t.client.window.PicIds.AnNiuPicIds[static_cast<std::size_t>(2 * i + 1)].toInt());
        EXPECT_EQ(t.client.game.AnNiuPressed[static_cast<std::size_t>(i)], -1);
    }
}

// ---- one seat ------------------------------------------------------------------

TEST(Kind40, RedDragonsGoToTheRowAndAPongIsMarked)
{
    Snapshot s;
    s.t.WallHead = 10;
    s.Deliver(SeatFrame(Snapshot::BitOfView(2), 0, 30, 5, {0x15, 0x23, 0x15, 0x23, 0x23}, {}));
    ASSERT_FALSE(s.Failed());
    // The arm works out the view on its own: the decoded header keeps the seat bit.
    EXPECT_EQ(s.client.core.CurMsg.Seat, Snapshot::BitOfView(2));
    const table::PlayerRecord& p = s.P(2);
    // Two red dragons at (X, Y) and (X, Y - 18), 34 x 40.
    EXPECT_EQ(s.g.LaidTileImages[2][0], 10);
    EXPECT_EQ(s.g.LaidTileImages[2][1], 11);
    EXPECT_EQ(p.RedLaid, 2);
    EXPECT_EQ(s.Img(10).Left, 842);
    EXPECT_EQ(s.Img(10).Top, 122);
    EXPECT_EQ(s.Img(11).Top, 104);
    EXPECT_EQ(s.Img(11).Width, 34);
    EXPECT_EQ(s.Img(11).Height, 40);
    EXPECT_EQ(s.Img(10).PictureId(), Pic(table::TilePicIndex(2, 0x15)));
    // Three 0x23 face up as a pong.
    for (int k = 0; k < 3; ++k) {
        const table::TileSlot& slot = p.Slots[static_cast<std::size_t>(4 + k)];
        EXPECT_EQ(slot.Kind, 3) << k;
        EXPECT_EQ(slot.TileCode, 0x23) << k;
        EXPECT_EQ(slot.Image, 12 + k) << k;
        EXPECT_EQ(s.Img(12 + k).Left, 842 - (2 + k) * 34) << k;
        EXPECT_TRUE(s.Img(12 + k).Visible) << k;
        EXPECT_EQ(s.Img(12 + k).PictureId(), Pic(table::TilePicIndex(2, 0x23))) << k;
    }
    EXPECT_EQ(p.MeldEnd, 7);
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(s.g.SideCountC, 5); // five images used
}

TEST(Kind40, WildTilesAndGreenDragonsHaveTheirOwnPlaces)
{
    Snapshot s;
    s.Deliver(SeatFrame(1, 0, 30, 5, {0x25, 0x16}, {}));
    ASSERT_FALSE(s.Failed());
    EXPECT_EQ(s.g.LaidTileImages[0][4], 0);
    EXPECT_EQ(s.g.LaidTileImages[0][8], 1);
    EXPECT_EQ(s.P(0).WildLaid, 1);
    EXPECT_EQ(s.P(0).GreenLaid, 1);
    EXPECT_EQ(s.Img(0).Left, 19 + 45 - 2); // the wild tile beside the row
    EXPECT_EQ(s.Img(0).Top, 564);
    EXPECT_EQ(s.Img(1).Left, 19);
    EXPECT_EQ(s.Img(0).PictureId(), Pic(table::TilePicIndex(0, 0x25)));
    EXPECT_EQ(s.Img(1).PictureId(), Pic(table::TilePicIndex(0, 0x16)));
}

TEST(Kind40, TheFourthTileOfAKongLiesOnTheSecond)
{
    Snapshot s;
    s.Deliver(SeatFrame(1, 0, 30, 5, {0x42, 0x42, 0x42, 0x42}, {0x11}));
    ASSERT_FALSE(s.Failed());
    const table::PlayerRecord& p = s.P(0);
    EXPECT_EQ(s.Img(1).Left, 19 + 2 * 43);
    EXPECT_EQ(s.Img(3).Left, s.Img(1).Left);
    EXPECT_EQ(s.Img(3).Top, s.Img(1).Top - 17);
    EXPECT_EQ(p.MeldEnd, 6); // three slots for four tiles
    for (int k = 3; k <= 5; ++k)
        EXPECT_EQ(p.Slots[static_cast<std::size_t>(k)].Kind, 3) << k;
    // The hand starts after the kong's three slots.
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(p.Slots[7].Image, 4);
}

TEST(Kind40, TwoKongsAndTheirHandFitTheSlots)
{
    // Two exposed kongs leave seven tiles in hand and eight after a draw.
    Snapshot s;
    s.Deliver(SeatFrame(Snapshot::BitOfView(1), 0, 40, 5, {0x42, 0x42, 0x42, 0x42, 0x83, 0x83, 0x83, 0x83},
                        {0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0x24, 0x25}));
    ASSERT_FALSE(s.Failed());
    const table::PlayerRecord& p = s.P(1);
    EXPECT_EQ(p.MeldEnd, 10);
    EXPECT_EQ(p.HandFirst, 10);
    EXPECT_EQ(p.HandCount, 8);
    EXPECT_EQ(p.Slots[17].Image, 15);
    // The pong marks stay on the kongs' slots.
    for (int k = 4; k <= 9; ++k)
        EXPECT_EQ(p.Slots[static_cast<std::size_t>(k)].Kind, 3) << k;
    for (int k = 10; k <= 17; ++k)
        EXPECT_EQ(p.Slots[static_cast<std::size_t>(k)].Kind, 0) << k;
}

TEST(Kind40, ConcealedTilesAreStandingBacks)
{
    Snapshot s;
    s.Deliver(SeatFrame(1, 0, 30, 5, {}, {0x11, 0x29}));
    ASSERT_FALSE(s.Failed());
    const table::PlayerRecord& p = s.P(0);
    EXPECT_EQ(p.HandCount, 2);
    EXPECT_EQ(p.Slots[4].TileCode, 0x11);
    EXPECT_EQ(p.Slots[5].TileCode, 0x29);
    EXPECT_EQ(s.Img(0).PictureId(), Pic(7));
    EXPECT_EQ(s.Img(1).PictureId(), Pic(7));
    EXPECT_EQ(s.Img(0).Left, 19 + 4 * 48);
    EXPECT_EQ(s.Img(1).Left, 19 + 5 * 48);
    EXPECT_EQ(s.Img(1).Width, 48);
    EXPECT_EQ(s.Img(1).Height, 78);
}

TEST(Kind40, SideSeatsStackTheirHands)
{
    Snapshot s;
    s.Deliver(SeatFrame(Snapshot::BitOfView(3), 0, 30, 5, {}, {0x11, 0x12, 0x13}));
    s.Deliver(SeatFrame(Snapshot::BitOfView(1), 0, 30, 5, {}, {0x11, 0x12, 0x13}));
    const auto& order = s.f.pic1->ZOrderList();
    auto at = [&](int image) { return std::find(order.begin(), order.end(), &s.Img(image)) - order.begin(); };
    // View 3's hand is sent to the back in slot order: its last tile lowest.
    EXPECT_LT(at(2), at(1));
    EXPECT_LT(at(1), at(0));
    // View 1's hand is brought to the front in slot order.
    EXPECT_LT(at(3), at(4));
    EXPECT_LT(at(4), at(5));
    EXPECT_EQ(s.Img(3).PictureId(), Pic(36 + 7));
    EXPECT_EQ(s.Img(0).PictureId(), Pic(108 + 7));
    EXPECT_EQ(s.Img(3).Top, 192 + 4 * 35 / 2.0f);
    EXPECT_EQ(s.Img(0).Left, 942 - 5 * 5);
}

struct FaultCase {
    const char* what;
    std::vector<int> exposed;
    std::vector<int> concealed;
};

class SeatFrameFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SeatFrameFault, TakesTheFailurePathBeforeLayingAnything)
{
    Snapshot s;
    s.Deliver(SeatFrame(Snapshot::BitOfView(2), 0, 30, 5, GetParam().exposed, GetParam().concealed));
    EXPECT_EQ(s.dialogs.texts, QStringList{QStringLiteral("fail control40 ")}) << GetParam().what;
    EXPECT_TRUE(s.process.ended);
    EXPECT_EQ(s.g.SideCountC, 0) << GetParam().what;
    EXPECT_EQ(s.g.GamePhase, 0) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SeatFrameFault,
    ::testing::Values(FaultCase{"a 15th concealed tile", {}, std::vector<int>(15, 0x11)},
                      FaultCase{"a pong and 12 concealed tiles", {0x11, 0x11, 0x11}, std::vector<int>(12, 0x21)},
                      FaultCase{"five red dragons", {0x15, 0x15, 0x15, 0x15, 0x15}, {}},
                      FaultCase{"an exposed code that is no tile", {0x23, 0x30}, {}},
                      FaultCase{"five pongs", {0x11, 0x11, 0x11, 0x12, 0x12, 0x12, 0x13, 0x13, 0x13, 0x14, 0x14, 0x14,
                                               0x17, 0x17, 0x17},
                                {0x21}}));

TEST(Kind40, ASeatByteThatNamesNoSeatFails)
{
    Snapshot s;
    s.Deliver(SeatFrame(3, 0, 30, 5, {}, {0x11}));
    EXPECT_EQ(s.dialogs.texts, QStringList{QStringLiteral("fail control40 ")});
}

TEST(Kind40, AWildTileOutsideTheSetFailsTheFourthFrame)
{
    Snapshot s;
    s.t.WildTile = 0x30;
    for (int v = 0; v < 3; ++v)
        s.Deliver(SeatFrame(Snapshot::BitOfView(v), 0, 30, 5, {}, {0x11}));
    ASSERT_FALSE(s.Failed());
    s.Deliver(SeatFrame(Snapshot::BitOfView(3), 0, 30, 5, {}, {0x11}));
    EXPECT_EQ(s.dialogs.texts, QStringList{QStringLiteral("fail control40 ")});
    EXPECT_EQ(s.g.TableSnapshotDone, 0);
}

TEST(Kind40, ASecondSnapshotTakesItsImagesFromTheWallHeadAgain)
{
    Snapshot s;
    for (int v = 0; v < 4; ++v)
        s.Deliver(SeatFrame(Snapshot::BitOfView(v), 1, 30, 5, {}, {0x11, 0x12}));
    ASSERT_GT(s.g.SideCountC, 0);
    // The watched table is joined again: a new header, new seat frames.
    s.Deliver(HeaderFrame(1, 3, 5, 0x25, 0x24));
    s.t.WallHead = 20;
    s.Deliver(SeatFrame(Snapshot::BitOfView(0), 0, 30, 5, {}, {0x11}));
    ASSERT_FALSE(s.Failed());
    EXPECT_EQ(s.g.SideCountC, 1);
    EXPECT_EQ(s.P(0).Slots[static_cast<std::size_t>(s.P(0).HandFirst)].Image, 20);
}

// ---- the completion ------------------------------------------------------------

TEST(Kind40, ThreeFramesLeaveTheTableIncomplete)
{
    Snapshot s;
    for (int v = 0; v < 3; ++v)
        s.Deliver(SeatFrame(Snapshot::BitOfView(v), 2, 30, 5, {}, {0x11}));
    EXPECT_EQ(s.g.GamePhase, 3);
    EXPECT_EQ(s.g.TableSnapshotDone, 0);
    EXPECT_FALSE(s.f.ZQ_Image.Visible);
    EXPECT_EQ(s.t.WallHead, 0);
}

TEST(Kind40, TheFourthFrameCompletesTheTable)
{
    Snapshot s;
    const int heads[4] = {40, 42, 41, 42};
    const int tails[4] = {5, 3, 4, 3};
    const int discards[4] = {2, 1, 0, 1};
    for (int v = 0; v < 4; ++v)
        s.Deliver(SeatFrame(Snapshot::BitOfView(v), discards[v], heads[v], tails[v], {}, {0x11, 0x12}));
    ASSERT_FALSE(s.Failed());
    EXPECT_EQ(s.g.SideCountA, 42);
    EXPECT_EQ(s.g.SideCountB, 3);
    EXPECT_EQ(s.g.GamePhase, 0);
    EXPECT_EQ(s.g.TableSnapshotDone, -1);
    // The wild tile in large.
    EXPECT_TRUE(s.f.ZQ_Image.Visible);
    EXPECT_EQ(s.f.ZQ_Image.PictureId(), Pic(table::TilePicIndex(4, 0x25)));
    // Odd tail figure: the tail moves by 4 (134 -> 2) and the image after it
    // is shown; the wall from image 42 on lies face down, 42-135 and 0-2.
    EXPECT_EQ(s.t.WallTail, 2);
    EXPECT_EQ(s.Img(3).PictureId(), Pic(8));
    EXPECT_TRUE(s.Img(3).Visible);
    EXPECT_EQ(s.Img(50).PictureId(), Pic(36 + 8));
    EXPECT_EQ(s.Img(135).PictureId(), Pic(108 + 8));
    // The indicator on image 8 (eight hand tiles took 0-7), over the tail.
    EXPECT_EQ(s.t.PiZiImage, 8);
    EXPECT_EQ(s.Img(8).PictureId(), Pic(table::TilePicIndex(0, 0x24)));
    EXPECT_EQ(s.Img(8).Top, s.Img(2).Top - 22);
    // Four discards after it, face down in their rows; the head moves on.
    EXPECT_EQ(s.t.LastDiscardImage, 12);
    EXPECT_EQ(s.t.LastDiscardView, 3);
    EXPECT_EQ(s.Img(9).PictureId(), Pic(8));
    EXPECT_EQ(s.Img(9).Left, 358);
    EXPECT_EQ(s.Img(11).PictureId(), Pic(36 + 8));
    EXPECT_EQ(s.g.SideCountC, 13);
    EXPECT_EQ(s.t.WallHead, 42);
}

struct WallCase {
    const char* what;
    int wallHead;
    int head;
    int tail;
    int wallTail; // after the completion
    std::vector<int> faceDown;
    std::vector<int> notShown;
};

class CompletionWall : public ::testing::TestWithParam<WallCase> {};

TEST_P(CompletionWall, TheRestOfTheWallLiesFaceDown)
{
    const WallCase w = GetParam();
    Snapshot s;
    s.t.WallHead = static_cast<int16_t>(w.wallHead);
    s.t.WallTail = static_cast<int16_t>((w.wallHead + 134) % 136);
    for (int v = 0; v < 4; ++v)
        s.Deliver(SeatFrame(Snapshot::BitOfView(v), 0, w.head, w.tail, {}, {}));
    ASSERT_FALSE(s.Failed()) << w.what;
    EXPECT_EQ(s.t.WallTail, w.wallTail) << w.what;
    for (int i : w.faceDown)
        EXPECT_TRUE(s.Img(i).Visible && s.Img(i).PictureId() == Pic(36 * (i / 34) + 8)) << w.what << " " << i;
    for (int i : w.notShown)
        EXPECT_FALSE(s.Img(i).Visible) << w.what << " " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Walls, CompletionWall,
    ::testing::Values(
        // Even tail figure: the tail moves by figure + 3 and the image before it is hidden.
        WallCase{"in one run", 10, 2, 10, 21, {12, 19, 21}, {11, 20, 22}},
        WallCase{"wrapping past 135", 120, 10, 2, 123, {130, 135, 0, 121, 123}, {122, 124, 129}},
        // The start of the rest at the tail: the whole ring from there.
        WallCase{"the start at the tail", 0, 1, 0, 1, {1, 70, 135}, {}}));

// ---- the helpers ---------------------------------------------------------------

TEST(SortTiles, DotsCharactersBambooHonoursByRank)
{
    std::vector<int16_t> tiles{0x23, 0x81, 0x15, 0x42, 0x21};
    autoplay::SortTiles(tiles.data(), 5);
    EXPECT_EQ(tiles, (std::vector<int16_t>{0x81, 0x42, 0x21, 0x23, 0x15}));
    std::vector<int16_t> one{0x23, 0x11};
    autoplay::SortTiles(one.data(), 1);
    autoplay::SortTiles(one.data(), 0);
    EXPECT_EQ(one, (std::vector<int16_t>{0x23, 0x11}));
}

TEST(SnapshotLayWall, NineDiscardsStartASecondRow)
{
    Snapshot s;
    s.g.SideSeatCounts = {9, 0, 0, 0};
    s.g.SideCountA = 20;
    autoplay::SnapshotLayWall(s.client);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(s.Img(k).Left, 358 + 36 * k) << k;
        EXPECT_EQ(s.Img(k).Top, 438) << k;
    }
    EXPECT_EQ(s.Img(8).Left, 358);
    EXPECT_EQ(s.Img(8).Top, 438 - 50 + 18);
    EXPECT_EQ(s.t.LastDiscardImage, 8);
    EXPECT_EQ(s.t.LastDiscardView, 0);
    EXPECT_EQ(s.t.SideDrawTile, 358);
    EXPECT_EQ(s.t.SideDrawSlot, 406);
}

TEST(SnapshotLayWall, StopsWhenTheImagesRunOut)
{
    Snapshot s;
    s.g.SideSeatCounts = {2, 5, 3, 0};
    s.g.SideCountA = 3;
    autoplay::SnapshotLayWall(s.client);
    EXPECT_EQ(s.g.SideCountC, 4);
    EXPECT_EQ(s.t.LastDiscardImage, 3);
    EXPECT_EQ(s.t.LastDiscardView, 1);
    EXPECT_FALSE(s.Img(4).Visible);
}

TEST(SnapshotLayWall, TheRightSeatsRowIsRestackedFirstTileInFront)
{
    Snapshot s;
    s.g.SideSeatCounts = {0, 0, 0, 3};
    s.g.SideCountA = 20;
    autoplay::SnapshotLayWall(s.client);
    const auto& order = s.f.pic1->ZOrderList();
    EXPECT_EQ(order.back(), &s.Img(0));
    EXPECT_EQ(s.t.SideTileCount, 3);
}

TEST(SnapshotPiZi, SizedForTheSideOfTheTail)
{
    Snapshot s;
    s.t.WallTail = 120;
    int16_t image = 5;
    autoplay::ShowSnapshotPiZiTile(s.client, image);
    EXPECT_EQ(s.Img(5).Width, 48);
    EXPECT_EQ(s.Img(5).Height, 35);
    EXPECT_EQ(s.Img(5).Top, s.Img(120).Top - 20);
    EXPECT_EQ(s.Img(5).PictureId(), Pic(table::TilePicIndex(3, 0x24)));
    s.t.WallTail = 10;
    autoplay::ShowSnapshotPiZiTile(s.client, image);
    EXPECT_EQ(s.Img(5).Width, 36);
    EXPECT_EQ(s.Img(5).Height, 50);
    EXPECT_EQ(s.Img(5).Top, s.Img(10).Top - 22);
}

// ---- a spectator joins a running hand ------------------------------------------

GameFrame WatchRecord(int seatIndex)
{
    User u;
    u.seat = 1 << seatIndex;
    u.account = "p" + QByteArray::number(seatIndex);
    u.nickname = QStringLiteral("玩家%1").arg(seatIndex);
    GameFrame f = UserFrame(u);
    PutLE(f, 226, 1000 + seatIndex, 8);
    return f;
}

TEST(SpectatorJoin, TheRunningHandIsDrawnFromScratch)
{
    Table t;
    GameState& g = t.client.game;
    table::TableState& tab = t.client.table;
    window::MainForm& f = *t.client.MainForm;
    g.WatchMode = true;
    g.UserInfos[0].UserId = 1002; // watches seat bit 4
    g.UserInfos[0].SnapshotMark = 1;

    // The header: seat bit 4 deals; dice figures 3 and 5.
    t.Deliver(HeaderFrame(4, 3, 5, 0x25, 0x24));
    for (int i = 0; i < 4; ++i)
        t.Deliver(WatchRecord(i));
    ASSERT_FALSE(t.Failed());
    // The seating placed the wall from the dealer (view 0) and the dice.
    const int head = ((((0 + 13 - 3) % 4 + 4) % 4) * 17 + 3 + 5) * 2 % 136;
    ASSERT_EQ(tab.WallHead, head);
    ASSERT_EQ(tab.WallTail, (head + 134) % 136);
    EXPECT_EQ(g.Players[0].BankerMark, -1);

    // The seat frames, in any order: the watched player has a pong and ten
    // tiles, the others show melds and hold hidden tiles. The tail figure
    // puts the tail 131 images after the head.
    t.Deliver(SeatFrame(8, 3, 70, 130, {0x15}, std::vector<int>(13, 0x11))); // view 3
    t.Deliver(SeatFrame(4, 4, 71, 131, {0x88, 0x88, 0x88},
                        {0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27})); // view 0
    t.Deliver(SeatFrame(2, 2, 69, 132, {}, std::vector<int>(13, 0x11)));      // view 1
    EXPECT_EQ(g.TableSnapshotDone, 0);
    t.Deliver(SeatFrame(1, 3, 71, 130, {0x42, 0x43, 0x44}, std::vector<int>(10, 0x11))); // view 2
    ASSERT_FALSE(t.Failed());

    EXPECT_EQ(g.TableSnapshotDone, -1);
    EXPECT_EQ(g.UserInfos[0].SnapshotMark, 0);
    EXPECT_EQ(g.Players[0].HandCount, 10);
    EXPECT_EQ(g.Players[0].Slots[3].Kind, 3);
    EXPECT_EQ(f.MJ_Image[g.Players[0].Slots[7].Image].PictureId(), Pic(7));
    EXPECT_EQ(g.Players[3].RedLaid, 1);
    EXPECT_EQ(g.Players[1].HandCount, 13);
    EXPECT_EQ(g.Players[2].MeldEnd, 7);
    // 14 + 13 + 13 + 13 tiles, the indicator and 12 discards.
    EXPECT_EQ(g.SideCountC, 53 + 1 + 12);
    EXPECT_EQ(tab.PiZiImage, (head + 53) % 136);
    EXPECT_EQ(f.MJ_Image[tab.PiZiImage].PictureId(), Pic(table::TilePicIndex(tab.WallTail / 34, 0x24)));
    EXPECT_EQ(tab.LastDiscardImage, (head + 65) % 136);
    EXPECT_EQ(tab.LastDiscardView, 3);
    EXPECT_TRUE(f.ZQ_Image.Visible);
    EXPECT_EQ(f.Zhuang.Caption, QStringLiteral("南"));
    // Every tile of the snapshot is on the table, the rest of the wall lies
    // face down from the new head to the tail.
    for (int k = 0; k < 66; ++k)
        EXPECT_TRUE(f.MJ_Image[(head + k) % 136].Visible) << k;
    EXPECT_EQ(tab.WallHead, (head + 71) % 136);
    EXPECT_EQ(tab.WallTail, (head + 131) % 136);
    for (int k = 71; k < 130; ++k) {
        const int image = (head + k) % 136;
        EXPECT_EQ(f.MJ_Image[image].PictureId(), Pic(36 * (image / 34) + 8)) << k;
    }
    EXPECT_FALSE(f.MJ_Image[(head + 130) % 136].Visible);
}

} // namespace
