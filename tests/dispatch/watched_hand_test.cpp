// A spectator follows a running hand: the deal, draws, discards and every
// kind of claim of a watched table, through the real dispatcher.

#include "dispatch/table_fixture.h"

#include "core/scheduler.h"
#include "core/table_reset.h"
#include "protocol/operations.h"
#include "results/result_forms.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

using namespace dispatch_test;

namespace {

constexpr int kRed = 0x15;
constexpr int kGreen = 0x16;
constexpr int kWild = 0x25;

int Pic(int picture) { return 201 + picture; }
int Face(int view, int tile) { return Pic(table::TilePicIndex(view, tile)); }

// The dealt tiles of the watched seat, three passes of four.
const std::initializer_list<int> kDealt{0x11, 0x12, 0x13, 0x14, 0x21, 0x22, 0x23, 0x24, 0x81, 0x82, 0x83, 0x84};

// A spectator watching seat bit 1: seat bits 8, 4 and 2 are views 1, 2 and
// 3. The table is cleared for a hand, the wall head at image 0 and the
// tail at 134.
struct Watch : Table {
    GameState& g = client.game;
    table::TableState& t = client.table;
    window::MainForm& f = *client.MainForm;

    Watch()
    {
        g.WatchMode = true;
        for (int v = 0; v < 4; ++v)
            P(v).SeatBit = static_cast<uint8_t>(Bit(v));
        core::ClearTableTiles(client);
        core::ResetTableDisplay(client);
        core::ResetPlayerState(client);
        t.WallHead = 0;
        t.WallTail = 134;
    }
    static int Bit(int view) { return 1 << ((4 - view) & 3); }
    table::PlayerRecord& P(int view) { return g.Players[static_cast<std::size_t>(view)]; }
    platform::Image& Img(int i) { return f.MJ_Image[i]; }
    platform::Image& SlotImg(int view, int slot) { return Img(P(view).Slots[static_cast<std::size_t>(slot)].Image); }

    // Twelve tiles to every seat: images 16p to 16p + 15 in pass p, the
    // watched seat first, then the seats after it (views 3, 2, 1).
    void Deal() { Deliver(DealFrame(12, kDealt)); }
    // A seat discards its last hand tile; returns the image it took.
    int Discard(int view, int tile)
    {
        const table::PlayerRecord& p = P(view);
        const int image = p.Slots[static_cast<std::size_t>(p.HandFirst + p.HandCount - 1)].Image;
        Deliver(DiscardFrame(Bit(view), tile));
        return image;
    }
    void Operate(int view, int op, int t1, int t2, int t3) { Deliver(OperationFrame(Bit(view), op, t1, t2, t3)); }
    bool Ended() const { return process.ended; }
};

// ---- the deal and draws ---------------------------------------------------------

TEST(WatchedDeal, EverySeatGetsTwelveStandingBacksFromTheWallHead)
{
    Watch w;
    w.Deal();
    ASSERT_FALSE(w.Failed());
    const std::vector<int> codes(kDealt);
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(w.P(v).HandCount, 12) << v;
    EXPECT_EQ(w.t.WallHead, 48);
    EXPECT_EQ(w.t.DrawFromHead, -1);
    // Images by pass: the watched seat, then views 3, 2 and 1.
    const int order[4] = {0, 3, 2, 1};
    for (int pass = 0; pass < 3; ++pass)
        for (int s = 0; s < 4; ++s)
            for (int i = 0; i < 4; ++i) {
                const int v = order[s];
                const int slot = 4 + 4 * pass + i;
                const int image = 16 * pass + 4 * s + i;
                EXPECT_EQ(w.P(v).Slots[static_cast<std::size_t>(slot)].Image, image) << v << " " << slot;
                EXPECT_EQ(w.P(v).Slots[static_cast<std::size_t>(slot)].Kind, 1);
                EXPECT_EQ(w.Img(image).PictureId(), Pic(36 * v + 7)) << v << " " << slot;
            }
    // The watched seat's codes are kept behind its backs.
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(w.P(0).Slots[static_cast<std::size_t>(4 + k)].TileCode, codes[static_cast<std::size_t>(k)]) << k;
    // Slot 5 of each hand row.
    EXPECT_FLOAT_EQ(w.SlotImg(0, 5).Left, 19 + 48 * 5);
    EXPECT_FLOAT_EQ(w.SlotImg(0, 5).Top, 564);
    EXPECT_FLOAT_EQ(w.SlotImg(0, 5).Width, 48);
    EXPECT_FLOAT_EQ(w.SlotImg(1, 5).Top, 192 + 35 * 5 / 2.0f);
    EXPECT_FLOAT_EQ(w.SlotImg(1, 5).Left, 163 - 25);
    EXPECT_FLOAT_EQ(w.SlotImg(2, 5).Left, 842 - 36 * 5);
    EXPECT_FLOAT_EQ(w.SlotImg(3, 5).Top, 560 - 35 * 6 / 2.0f);
    EXPECT_FLOAT_EQ(w.SlotImg(3, 5).Left, 942 - 30);
    EXPECT_FLOAT_EQ(w.SlotImg(3, 5).Height, 66);
}

struct DrawCase {
    const char* what;
    int view;
    bool fromTail;
    int wild;
    int wallHead, wallTail;
    int image;                 // the image the draw takes
    float left, top;           // where it stands in slot 16
    int wallHeadAfter, wallTailAfter;
};

class WatchedDraw : public ::testing::TestWithParam<DrawCase> {};

TEST_P(WatchedDraw, TakesTheNextWallImageIntoTheNextSlot)
{
    const DrawCase d = GetParam();
    Watch w;
    w.Deal();
    w.t.WildTile = static_cast<int16_t>(d.wild);
    w.t.WallHead = static_cast<int16_t>(d.wallHead);
    w.t.WallTail = static_cast<int16_t>(d.wallTail);
    w.t.PiZiImage = 100;
    if (d.fromTail)
        w.t.DrawFromHead = 0;
    // A hand tile out of line is pulled back only once the wild tile is known.
    w.SlotImg(0, 6).Move(5, 5);
    w.Deliver(DrawFrame(Watch::Bit(d.view), 0x29));
    ASSERT_FALSE(w.Failed()) << d.what;
    const table::TileSlot& slot = w.P(d.view).Slots[16];
    EXPECT_EQ(slot.Image, d.image) << d.what;
    EXPECT_EQ(slot.Kind, 1) << d.what;
    EXPECT_EQ(w.P(d.view).HandCount, 13) << d.what;
    EXPECT_FLOAT_EQ(w.Img(d.image).Left, d.left) << d.what;
    EXPECT_FLOAT_EQ(w.Img(d.image).Top, d.top) << d.what;
    EXPECT_EQ(w.Img(d.image).PictureId(), Pic(36 * d.view + 7)) << d.what;
    EXPECT_EQ(w.t.WallHead, d.wallHeadAfter) << d.what;
    EXPECT_EQ(w.t.WallTail, d.wallTailAfter) << d.what;
    EXPECT_EQ(w.t.DrawFromHead, -1) << d.what;
    if (d.view == 0) {
        EXPECT_EQ(slot.TileCode, 0x29) << d.what;
        EXPECT_FLOAT_EQ(w.SlotImg(0, 6).Left, d.wild > 0 ? 19 + 48 * 6 : 5) << d.what;
    }
    if (d.fromTail) { // the indicator follows the tail
        EXPECT_FLOAT_EQ(w.Img(100).Top,
                        w.Img(d.wallTailAfter).Top - table::kStackRaise[static_cast<std::size_t>(d.wallTailAfter / 34)])
            << d.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Draws, WatchedDraw,
    ::testing::Values(
        DrawCase{"watched seat, wild tile not yet known: flush", 0, false, -1, 48, 134, 48, 19 + 48 * 16, 564, 49, 134},
        DrawCase{"watched seat, wild tile known: half a tile apart", 0, false, kWild, 48, 134, 48, 19 + 48 * 16 + 24,
                 564, 49, 134},
        DrawCase{"watched seat from the tail: always apart", 0, true, -1, 48, 134, 134, 19 + 48 * 16 + 24, 564, 48,
                 135},
        DrawCase{"left seat", 1, false, kWild, 48, 134, 48, 163 - 80, 192 + 35 * 8, 49, 134},
        DrawCase{"top seat, the head wraps", 2, false, kWild, 135, 120, 135, 842 - 36 * 16, 122, 0, 120},
        DrawCase{"right seat from the head", 3, false, kWild, 48, 134, 48, 942 - 5 * 17, 560 - 35 * 17 / 2.0f, 49,
                 134},
        DrawCase{"right seat from the tail, odd tail", 3, true, kWild, 48, 101, 101, 942 - 5 * 16, 560 - 35 * 8, 48,
                 98}));

// ---- discards -------------------------------------------------------------------

struct RowCase {
    int view;
    float firstLeft, firstTop;   // the first discard
    float eighthLeft, eighthTop; // the eighth
    float ninthLeft, ninthTop;   // the ninth starts the next row
    int width, height;
    int leftWidth, leftHeight; // the size left behind
};

class WatchedDiscards : public ::testing::TestWithParam<RowCase> {};

TEST_P(WatchedDiscards, GoStraightIntoTheRowsWithTheBreakAfterEight)
{
    const RowCase r = GetParam();
    Watch w;
    w.Deal();
    std::vector<int> images;
    for (int k = 0; k < 9; ++k) {
        const int expected = w.P(r.view).Slots[static_cast<std::size_t>(15 - k)].Image;
        images.push_back(w.Discard(r.view, 0x21 + k));
        ASSERT_FALSE(w.Failed()) << r.view << " " << k;
        EXPECT_EQ(images.back(), expected); // the last hand slot's image, whatever the tile
        EXPECT_EQ(w.t.LastDiscardImage, expected);
        EXPECT_EQ(w.t.LastDiscardView, r.view);
        EXPECT_EQ(w.t.LastDiscardTile, 0x21 + k);
        EXPECT_EQ(w.Img(expected).PictureId(), Face(r.view, 0x21 + k));
    }
    EXPECT_EQ(w.P(r.view).HandCount, 3);
    EXPECT_FLOAT_EQ(w.Img(images[0]).Left, r.firstLeft);
    EXPECT_FLOAT_EQ(w.Img(images[0]).Top, r.firstTop);
    EXPECT_FLOAT_EQ(w.Img(images[7]).Left, r.eighthLeft);
    EXPECT_FLOAT_EQ(w.Img(images[7]).Top, r.eighthTop);
    EXPECT_FLOAT_EQ(w.Img(images[8]).Left, r.ninthLeft);
    EXPECT_FLOAT_EQ(w.Img(images[8]).Top, r.ninthTop);
    EXPECT_FLOAT_EQ(w.Img(images[8]).Width, r.width);
    EXPECT_FLOAT_EQ(w.Img(images[8]).Height, r.height);
    // The last place is kept for a claim.
    EXPECT_EQ(w.t.SideDrawTile, r.ninthLeft);
    EXPECT_EQ(w.t.SideDrawSlot, r.ninthTop);
    EXPECT_EQ(w.t.TileWidth[static_cast<std::size_t>(r.view)], r.leftWidth);
    EXPECT_EQ(w.t.TileHeight[static_cast<std::size_t>(r.view)], r.leftHeight);
    if (r.view == 3) {
        // The ninth starts a new column of the right seat's rows.
        EXPECT_EQ(w.t.SideTileCount, 9);
        EXPECT_EQ(w.t.SideTiles[8], images[8]);
        const auto& order = w.f.pic1->ZOrderList();
        auto place = [&](int image) { return std::find(order.begin(), order.end(), &w.Img(image)) - order.begin(); };
        for (int k = 0; k < 8; ++k)
            EXPECT_GT(place(images[8]), place(images[k])) << k;
        EXPECT_GT(place(images[0]), place(images[7])); // a column's first tile in front
    } else {
        EXPECT_EQ(w.t.SideTileCount, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Seats, WatchedDiscards,
                         ::testing::Values(RowCase{0, 358, 438, 358 + 36 * 7, 438, 358, 438 - 50 + 18, 36, 50, 48, 78},
                                           RowCase{1, 287, 238, 287 - 35, 238 + 18 * 7, 330, 238, 48, 35, 35, 66},
                                           RowCase{2, 635, 238, 635 - 30 * 7, 238, 635, 238 + 36 - 14, 30, 36, 37, 50},
                                           RowCase{3, 758, 438, 758 - 35, 438 - 18 * 7, 715, 438, 48, 35, 35, 66}));

TEST(WatchedDiscards, AfterTheSnapshotTheTableHoldsTheDiscardInLargeForOneSecond)
{
    Watch w;
    w.Deal();
    w.g.TableSnapshotDone = -1;
    w.client.core.SchedReceive.Start();
    const int image = w.P(2).Slots[15].Image;
    const uint32_t before = w.clock.ms;
    // While the table waits: the tile lies large in the middle, the
    // scheduler ticks, and a frame that arrives is not taken.
    float heldLeft = 0, heldWidth = 0;
    int ticksSeen = 0;
    bool frameTaken = false;
    w.clock.onEvents = [&] {
        heldLeft = w.Img(image).Left;
        heldWidth = w.Img(image).Width;
        w.client.core.RecvRing.Append(DrawFrame(Watch::Bit(3)).Frame().data(), protocol::kFrameSize);
        const int16_t ticks = w.g.SpeakTicks;
        for (int i = 0; i < 3; ++i)
            core::TimerBong_Timer(w.client);
        ticksSeen = w.g.SpeakTicks - ticks;
        frameTaken = !w.client.core.RecvRing.HasFrame();
        w.clock.onEvents = nullptr;
    };
    w.Discard(2, 0x25);
    ASSERT_FALSE(w.Failed());
    EXPECT_GE(w.clock.ms - before, 1000u);
    EXPECT_FLOAT_EQ(heldWidth, 30 * 1.2f);
    EXPECT_FLOAT_EQ(heldLeft, (w.f.TableSize().width() - 30 * 1.2f) / 2);
    EXPECT_EQ(ticksSeen, 3);
    EXPECT_FALSE(frameTaken);
    EXPECT_EQ(w.client.core.DispatchHolds, 0);
    // Laid in the row once the second is over; the waiting draw comes next.
    EXPECT_FLOAT_EQ(w.Img(image).Left, 635);
    EXPECT_FLOAT_EQ(w.Img(image).Width, 30);
    EXPECT_EQ(w.P(3).HandCount, 12);
    core::TimerBong_Timer(w.client);
    core::TimerBong_Timer(w.client);
    EXPECT_EQ(w.P(3).HandCount, 13);
}

TEST(WatchedDiscards, FromASeatWithNoTileInHandNothingMovesAndNothingCanBeClaimed)
{
    Watch w;
    w.Deal();
    w.Discard(0, 0x21);
    w.P(1).HandCount = 0;
    w.Deliver(DiscardFrame(Watch::Bit(1), 0x22));
    EXPECT_FALSE(w.Failed());
    EXPECT_EQ(w.P(1).HandCount, 0);
    EXPECT_EQ(w.P(1).NextDiscardY, 238);
    EXPECT_EQ(w.t.LastDiscardImage, -1);
    EXPECT_EQ(w.t.LastDiscardView, 1);
    // A claim of it has nothing to take.
    w.Operate(2, protocol::OpPong, 0x22, 0x22, 0x22);
    EXPECT_TRUE(w.Ended());
}

TEST(WatchedDiscards, BeforeTheSnapshotIsCompleteNothingWaits)
{
    Watch w;
    w.Deal();
    const uint32_t before = w.clock.ms;
    w.Discard(0, 0x21);
    EXPECT_EQ(w.clock.ms, before);
    EXPECT_EQ(w.clock.eventRounds, 0);
}

// ---- chow and pong --------------------------------------------------------------

TEST(WatchedClaims, AChowOfTheLeftSeatTakesTheWatchedSeatsDiscard)
{
    Watch w;
    w.Deal();
    const int discard = w.Discard(0, 0x23);
    const int first = w.P(1).Slots[4].Image, second = w.P(1).Slots[5].Image, third = w.P(1).Slots[6].Image;
    w.Operate(1, protocol::OpChow, 0x21, 0x22, 0x23);
    ASSERT_FALSE(w.Failed());
    const table::PlayerRecord& p = w.P(1);
    EXPECT_EQ(p.Slots[2].Image, first);
    EXPECT_EQ(p.Slots[3].Image, second);
    EXPECT_EQ(p.Slots[4].Image, discard);
    EXPECT_EQ(p.Slots[16].Image, third); // the third hand tile moves to the end
    // A chow keeps the kinds it copied.
    EXPECT_EQ(p.Slots[2].Kind, 1);
    EXPECT_EQ(p.Slots[4].Kind, 1);
    EXPECT_EQ(p.MeldEnd, 7);
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(p.HandCount, 10);
    // The meld face up in the left seat's column, 45 x 35.
    const int tiles[3] = {0x21, 0x22, 0x23};
    for (int s = 2; s <= 4; ++s) {
        const platform::Image& img = w.SlotImg(1, s);
        EXPECT_FLOAT_EQ(img.Left, 163 - 5 * s) << s;
        EXPECT_FLOAT_EQ(img.Top, 192 + 18 * s) << s;
        EXPECT_FLOAT_EQ(img.Width, 45) << s;
        EXPECT_FLOAT_EQ(img.Height, 35) << s;
        EXPECT_EQ(img.PictureId(), Face(1, tiles[s - 2])) << s;
    }
    // The moved tile stands where slot 16 of the hand row is.
    EXPECT_FLOAT_EQ(w.Img(third).Top, 192 + 35 * 8);
    EXPECT_FLOAT_EQ(w.Img(third).Left, 163 - 80);
    // The watched seat's next discard goes where the taken one lay.
    EXPECT_EQ(w.P(0).NextDiscardX, 358);
    EXPECT_EQ(w.P(0).NextDiscardY, 438);
}

TEST(WatchedClaims, APongOfTheTopSeatOnTheRightSeatsDiscardMarksThreeSlots)
{
    Watch w;
    w.Deal();
    const int discard = w.Discard(3, 0x27);
    ASSERT_EQ(w.t.SideTileCount, 1);
    w.Operate(2, protocol::OpPong, 0x27, 0x27, 0x27);
    ASSERT_FALSE(w.Failed());
    const table::PlayerRecord& p = w.P(2);
    EXPECT_EQ(w.t.SideTileCount, 0);
    EXPECT_EQ(w.P(3).NextDiscardX, 758);
    EXPECT_EQ(w.P(3).NextDiscardY, 438);
    EXPECT_EQ(p.Slots[4].Image, discard);
    for (int s = 2; s <= 4; ++s) {
        EXPECT_EQ(p.Slots[static_cast<std::size_t>(s)].Kind, 3) << s;
        EXPECT_EQ(p.Slots[static_cast<std::size_t>(s)].TileCode, 0x27) << s;
        EXPECT_FLOAT_EQ(w.SlotImg(2, s).Left, 842 - 34 * s) << s;
        EXPECT_FLOAT_EQ(w.SlotImg(2, s).Top, 122) << s;
        EXPECT_EQ(w.SlotImg(2, s).PictureId(), Face(2, 0x27)) << s;
    }
    EXPECT_FLOAT_EQ(w.SlotImg(2, 16).Left, 842 - 36 * 16);
}

// ---- kongs ----------------------------------------------------------------------

TEST(WatchedKongs, AnExposedKongOfTheTopSeatPutsTheDiscardOnTheMiddleTile)
{
    Watch w;
    w.Deal();
    const int discard = w.Discard(3, 0x21);
    w.Operate(2, protocol::OpExposedKong, 0x21, 0x21, 0x21);
    ASSERT_FALSE(w.Failed());
    const table::PlayerRecord& p = w.P(2);
    EXPECT_EQ(w.t.SideTileCount, 0);
    EXPECT_EQ(w.t.DrawFromHead, 0);
    EXPECT_EQ(p.MeldEnd, 7);
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(p.HandCount, 9);
    for (int s = 2; s <= 4; ++s) {
        EXPECT_FLOAT_EQ(w.SlotImg(2, s).Left, 842 - 34 * s) << s;
        EXPECT_EQ(w.SlotImg(2, s).PictureId(), Face(2, 0x21)) << s;
    }
    EXPECT_FLOAT_EQ(w.Img(discard).Left, 842 - 3 * 34);
    EXPECT_FLOAT_EQ(w.Img(discard).Top, 122 - 18);
    EXPECT_EQ(w.Img(discard).PictureId(), Face(2, 0x21));
    // The replacement comes from the tail.
    const int tail = w.t.WallTail;
    w.Deliver(DrawFrame(Watch::Bit(2)));
    EXPECT_EQ(w.P(2).Slots[16].Image, tail);
}

struct ConcealedCase {
    int view;
    int backPicture;
    int fourthPicture;
    float fourthLeft, fourthTop;
};

class WatchedConcealedKong : public ::testing::TestWithParam<ConcealedCase> {};

TEST_P(WatchedConcealedKong, ThreeBacksAndTheFourthOnTop)
{
    const ConcealedCase k = GetParam();
    Watch w;
    w.Deal();
    const table::PlayerRecord& p = w.P(k.view);
    const int fourth = p.Slots[15].Image;
    const int m = p.MeldEnd;
    w.Operate(k.view, protocol::OpConcealedKong, 0x83, 0x83, 0x83);
    ASSERT_FALSE(w.Failed());
    EXPECT_EQ(p.HandCount, 8);
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(p.MeldEnd, m + 3);
    EXPECT_EQ(w.t.LastDiscardImage, fourth);
    for (int s = m - 2; s <= m; ++s)
        EXPECT_EQ(w.SlotImg(k.view, s).PictureId(), k.backPicture) << s;
    EXPECT_EQ(w.Img(fourth).PictureId(), k.fourthPicture);
    EXPECT_FLOAT_EQ(w.Img(fourth).Left, k.fourthLeft);
    EXPECT_FLOAT_EQ(w.Img(fourth).Top, k.fourthTop);
}

INSTANTIATE_TEST_SUITE_P(
    Views, WatchedConcealedKong,
    ::testing::Values(
        // The watched seat shows one face on three backs; slots 1-3.
        ConcealedCase{0, Pic(8), Face(0, 0x83), 19 + 2 * 43, 564 - 18},
        // The left seat: backs 44 throughout; slots 2-4, the middle at slot 3.
        ConcealedCase{1, Pic(44), Pic(44), 163 - 15, 192 + 18 * 3 - 18},
        ConcealedCase{3, Pic(116), Pic(116), 942 - 15 - 10, 560 - 18 * 3 - 18}));

struct SpecialCase {
    const char* what;
    int view;
    int tile;
    int redBefore;
    float left, top;
    int laidIndex; // LaidTileImages column, -1 none
};

class WatchedSingleTileKong : public ::testing::TestWithParam<SpecialCase> {};

TEST_P(WatchedSingleTileKong, StacksTheTileInItsColumn)
{
    const SpecialCase k = GetParam();
    Watch w;
    w.Deal();
    w.t.WildTile = kWild;
    table::PlayerRecord& p = w.P(k.view);
    if (k.redBefore > 0) {
        p.RedLaid = static_cast<int16_t>(k.redBefore);
        p.Slots[0].Image = 120;
        w.g.LaidTileImages[static_cast<std::size_t>(k.view)][0] = 120;
    }
    const int image = p.Slots[15].Image;
    w.Operate(k.view, protocol::OpSpecialKong, 0, 0, k.tile);
    ASSERT_FALSE(w.Failed()) << k.what;
    EXPECT_EQ(p.HandCount, 11) << k.what;
    EXPECT_EQ(p.MeldEnd, k.view == 0 ? 3 : 4) << k.what;
    EXPECT_EQ(w.t.DrawFromHead, 0) << k.what;
    EXPECT_FLOAT_EQ(w.Img(image).Left, k.left) << k.what;
    EXPECT_FLOAT_EQ(w.Img(image).Top, k.top) << k.what;
    EXPECT_EQ(w.Img(image).PictureId(), Face(k.view, k.tile)) << k.what;
    EXPECT_TRUE(w.Img(image).Visible) << k.what;
    if (k.laidIndex >= 0) {
        EXPECT_EQ(w.g.LaidTileImages[static_cast<std::size_t>(k.view)][static_cast<std::size_t>(k.laidIndex)], image)
            << k.what;
    }
    if (k.tile == kRed) {
        EXPECT_EQ(p.Slots[0].Image, k.redBefore > 0 ? 120 : image) << k.what;
    }
    EXPECT_EQ(p.RedLaid, k.redBefore + (k.tile == kRed ? 1 : 0)) << k.what;
    EXPECT_EQ(p.WildLaid, k.tile == kWild ? 1 : 0) << k.what;
    EXPECT_EQ(p.GreenLaid, k.tile == kGreen ? 1 : 0) << k.what;
}

INSTANTIATE_TEST_SUITE_P(
    Tiles, WatchedSingleTileKong,
    ::testing::Values(SpecialCase{"first red dragon of the watched seat", 0, kRed, 0, 19, 564, 0},
                      SpecialCase{"second red dragon of the watched seat", 0, kRed, 1, 19, 564 - 18, 1},
                      SpecialCase{"first wild tile of the left seat", 1, kWild, 0, 163 - 5, 192 + 35 - 17, 4},
                      SpecialCase{"red dragon of the top seat: not recorded", 2, kRed, 0, 842, 122, -1},
                      SpecialCase{"wild tile of the right seat", 3, kWild, 0, 942 - 15, 560 - 18, 4},
                      // Green dragons have a column of their own beside the wild tiles.
                      SpecialCase{"green dragon of the watched seat", 0, kGreen, 0, 19 + 2 * 43, 564, 8},
                      SpecialCase{"green dragon of the left seat", 1, kGreen, 0, 163 - 10, 192 + 2 * 18, 8},
                      SpecialCase{"green dragon of the right seat", 3, kGreen, 0, 942 - 20, 560 - 2 * 18, 8}));

TEST(WatchedSingleTileKong, TheFourthTileOfAPongGoesOnTopOfIt)
{
    // The right seat's pong in slots 2-4, then the fourth tile.
    Watch w;
    w.Deal();
    w.Discard(2, 0x84);
    w.Operate(3, protocol::OpPong, 0x84, 0x84, 0x84);
    ASSERT_EQ(w.P(3).MeldEnd, 7);
    const int image = w.P(3).Slots[static_cast<std::size_t>(w.P(3).HandFirst + w.P(3).HandCount - 1)].Image;
    w.Operate(3, protocol::OpSpecialKong, 0, 0, 0x84);
    ASSERT_FALSE(w.Failed());
    EXPECT_FLOAT_EQ(w.Img(image).Left, w.SlotImg(3, 3).Left);
    EXPECT_FLOAT_EQ(w.Img(image).Top, 560 - 3 * 18 - 17);
    EXPECT_EQ(w.Img(image).PictureId(), Face(3, 0x84));
    EXPECT_EQ(w.P(3).HandCount, 9);
}

TEST(WatchedSingleTileKong, ATileWithoutItsPongIsNotLeftStandingInTheHandRow)
{
    Watch w;
    w.Deal();
    const int image = w.P(2).Slots[15].Image;
    w.Operate(2, protocol::OpSpecialKong, 0, 0, 0x84);
    ASSERT_FALSE(w.Failed());
    EXPECT_FALSE(w.Img(image).Visible);
    EXPECT_EQ(w.P(2).HandCount, 11);
    EXPECT_EQ(w.t.DrawFromHead, 0);
}

// ---- speech, wins and the end of the hand ----------------------------------------

struct SpeechCase {
    const char* what;
    int view;
    int op;
    int tile;
    int picture; // SpeakPicIds column shown, -1 none
    uint32_t held;
};

class WatchedSpeech : public ::testing::TestWithParam<SpeechCase> {};

TEST_P(WatchedSpeech, AfterTheSnapshotOnlyAPictureHoldsTheTable)
{
    const SpeechCase s = GetParam();
    Watch w;
    w.Deal();
    w.Discard(s.view == 2 ? 3 : 2, 0x27);
    w.g.TableSnapshotDone = -1;
    bool shown = false;
    int shownPicture = 0;
    w.clock.onEvents = [&] {
        if (s.view == 0)
            return;
        shown = w.f.Speak[s.view - 1].Visible;
        shownPicture = w.f.Speak[s.view - 1].PictureId();
    };
    const uint32_t before = w.clock.ms;
    w.Operate(s.view, s.op, s.tile, s.tile, s.tile);
    ASSERT_FALSE(w.Failed()) << s.what;
    EXPECT_EQ(w.clock.ms - before, s.held) << s.what;
    EXPECT_EQ(shown, s.picture >= 0) << s.what;
    if (s.picture >= 0) {
        EXPECT_EQ(shownPicture,
                  w.client.window.PicIds.SpeakPicIds[static_cast<std::size_t>(s.view)][static_cast<std::size_t>(s.picture)]
                      .toInt())
            << s.what;
    }
    if (s.view > 0) {
        EXPECT_FALSE(w.f.Speak[s.view - 1].Visible) << s.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, WatchedSpeech,
                         ::testing::Values(SpeechCase{"pong of the top seat", 2, protocol::OpPong, 0x27, 1, 2000},
                                           SpeechCase{"win of the left seat", 1, protocol::OpWin, 0x27, 7, 2000},
                                           SpeechCase{"red dragon kong", 3, protocol::OpSpecialKong, kRed, 4, 2000},
                                           SpeechCase{"false win: no stale picture", 2, protocol::OpFalseWin, 0, -1, 0},
                                           SpeechCase{"pass", 1, protocol::OpPass, 0, -1, 0},
                                           SpeechCase{"the watched seat never speaks", 0, protocol::OpPong, 0x27, -1,
                                                      0}));

TEST(WatchedWin, TheFirstWinnerIsMarkedAndAFalseWinMovesNothing)
{
    Watch w;
    w.Deal();
    w.Operate(2, protocol::OpFalseWin, 0, 0, 0);
    EXPECT_EQ(w.g.WinnerView, -1);
    EXPECT_EQ(w.P(2).HandCount, 12);
    w.Operate(2, protocol::OpWin, 0, 0, 0);
    w.Operate(1, protocol::OpWin, 0, 0, 0);
    ASSERT_FALSE(w.Failed());
    EXPECT_EQ(w.g.WinnerView, 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w.client.Score->ID[i].ForeColor, i == 2 ? 0xFF : 0xFF00) << i;
    EXPECT_EQ(w.P(2).HandCount, 12);
}

// ---- bad values -----------------------------------------------------------------

struct BadCase {
    const char* what;
    std::function<void(Watch&)> setUp;
    std::function<GameFrame()> frame;
};

class WatchedBadValue : public ::testing::TestWithParam<BadCase> {};

TEST_P(WatchedBadValue, TakesTheFailurePath)
{
    const BadCase b = GetParam();
    Watch w;
    w.Deal();
    b.setUp(w);
    w.Deliver(b.frame());
    EXPECT_TRUE(w.Ended()) << b.what;
    EXPECT_TRUE(w.dialogs.texts.isEmpty()) << b.what; // the table procedures end without a message
}

GameFrame Op(int view, int op, int t1, int t2, int t3) { return OperationFrame(Watch::Bit(view), op, t1, t2, t3); }
void Nothing(Watch&) {}

INSTANTIATE_TEST_SUITE_P(
    Frames, WatchedBadValue,
    ::testing::Values(
        BadCase{"a discard of no tile", Nothing, [] { return DiscardFrame(1, 0x3A).Frame(); }},
        BadCase{"a discard from a seat byte that names no seat", Nothing, [] { return DiscardFrame(3, 0x21).Frame(); }},
        BadCase{"a hand slot whose image is outside the 136", [](Watch& w) { w.P(1).Slots[15].Image = 200; },
                [] { return DiscardFrame(8, 0x21).Frame(); }},
        BadCase{"a 25th discard of the right seat", [](Watch& w) { w.t.SideTileCount = 24; },
                [] { return DiscardFrame(2, 0x21).Frame(); }},
        BadCase{"a draw past the last slot", [](Watch& w) { w.P(2).HandCount = 14; },
                [] { return DrawFrame(4).Frame(); }},
        BadCase{"a draw into a hand counted below 0", [](Watch& w) { w.P(2).HandCount = -1; },
                [] { return DrawFrame(4).Frame(); }},
        BadCase{"a pong with no discard to take", [](Watch& w) { w.t.LastDiscardImage = -1; },
                [] { return Op(2, protocol::OpPong, 0x27, 0x27, 0x27); }},
        BadCase{"a claim that would count the right seat's rows below 0",
                [](Watch& w) {
                    w.t.LastDiscardImage = 60;
                    w.t.LastDiscardView = 3;
                    w.t.SideTileCount = 0;
                },
                [] { return Op(2, protocol::OpPong, 0x27, 0x27, 0x27); }},
        BadCase{"a chow of tiles that are none", [](Watch& w) { w.t.LastDiscardImage = 60; },
                [] { return Op(1, protocol::OpChow, 0x2A, 0x2B, 0x2C); }},
        BadCase{"a meld past the last slot", [](Watch& w) { w.P(1).MeldEnd = 18; },
                [] { return Op(1, protocol::OpConcealedKong, 0x21, 0x21, 0x21); }},
        BadCase{"a fifth red dragon", [](Watch& w) { w.P(2).RedLaid = 4; },
                [] { return Op(2, protocol::OpSpecialKong, 0, 0, kRed); }},
        BadCase{"an operation from a seat byte that names no seat", Nothing,
                [] { return OperationFrame(0, protocol::OpPong, 0x27, 0x27, 0x27).Frame(); }}));

} // namespace
