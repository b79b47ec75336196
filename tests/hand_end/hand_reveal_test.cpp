// The hands turned up at the end of a hand (kind 15): stored as they come,
// laid out face up once when the last hidden tile has arrived, the winning
// discard beside a winner's hand of 3m + 1 tiles, and bad words refused.
#include "core/table_reset.h"
#include "protocol/kinds.h"
#include "support/table_fixture.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kTileGif = 201; // GIF id of tile picture 0

// Tiles of a hand in the order the server turns them up (no dragons, so
// that sorting is by suit and rank alone).
const std::vector<int> kTurnedUp = {0x29, 0x13, 0x81, 0x45, 0x22, 0x17, 0x88, 0x41, 0x26, 0x12, 0x83, 0x49, 0x24, 0x14};
const std::vector<int> kOwnHand = {0x81, 0x82, 0x83, 0x44, 0x45, 0x46, 0x27, 0x28, 0x29, 0x11, 0x11, 0x12, 0x13};

int FirstImage(int view) { return 20 * view; }

struct Placed {
    float left, top, width, height;
    int picture;
    bool operator==(const Placed&) const = default;
};

Placed PlaceOf(const platform::Image& img) { return {img.Left, img.Top, img.Width, img.Height, img.PictureId()}; }

// A table at the end of a hand: the local hand of 13, and `hidden` face-down
// tiles in each other hand, each tile image at a place of its own.
struct Reveal : TableClient {
    int hidden;

    explicit Reveal(int hiddenTiles = 13, float scale = 1.0f) : TableClient(0, scale), hidden(hiddenTiles)
    {
        SetUpHands();
    }

    void SetUpHands()
    {
        GiveOwnHand(kOwnHand, 0);
        for (int v = 1; v <= 3; ++v) {
            GiveOtherHand(v, hidden, FirstImage(v));
            for (int i = 0; i < hidden; ++i)
                f.MJ_Image[FirstImage(v) + i].Move(200.0f * v + 3.0f * i, 100.0f + 30.0f * i, 40, 40);
        }
    }

    // Turns up the first `count` tiles of a seat's hand, four to a frame,
    // the first of each four in Data(3).
    void TurnUp(int view, int count, int from = 0)
    {
        for (int i = from; i < from + count; i += 4) {
            std::array<int, 4> words{0, 0, 0, 0};
            for (int k = 0; k < 4 && i + k < from + count; ++k)
                words[static_cast<std::size_t>(3 - k)] = kTurnedUp[static_cast<std::size_t>(i + k)];
            Deliver(Frame(protocol::MsgWallReveal, SeatBitOf(view), words));
        }
    }
    void TurnUpAll()
    {
        for (int v = 1; v <= 3; ++v)
            TurnUp(v, hidden);
    }

    Placed ImageOfSlot(int view, int slot)
    {
        return PlaceOf(f.MJ_Image[Player(view).Slots[static_cast<std::size_t>(slot)].Image]);
    }
    std::vector<Placed> AllImages()
    {
        std::vector<Placed> out;
        for (int i = 0; i < 136; ++i)
            out.push_back(PlaceOf(f.MJ_Image[i]));
        return out;
    }
    bool Failed() const { return t.process.ended; }
};

} // namespace

TEST(HandReveal, NothingIsLaidOutWhileAnotherSeatStillHasHiddenTiles)
{
    Reveal r;
    r.TurnUp(1, 13);
    r.TurnUp(2, 13);
    r.TurnUp(3, 12);
    EXPECT_EQ(r.Player(3).HandCount, 1);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(r.f.MJ_Image[FirstImage(1) + i].Top, 100.0f + 30.0f * i) << i;
    EXPECT_EQ(r.f.MJ_Image[0].PictureId(), kTileGif + table::TilePicIndex(table::kLargeFaceGroup, 0x81));
    EXPECT_FALSE(r.c.results.RevealLaidOut);
}

TEST(HandReveal, TheLastHiddenTileLaysEveryHandOutFaceUp)
{
    Reveal r;
    r.TurnUpAll();
    ASSERT_FALSE(r.Failed());
    EXPECT_TRUE(r.c.results.RevealLaidOut);
    // The local hand shows the small faces its discards use, at its size.
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(r.f.MJ_Image[i].PictureId(), kTileGif + table::TilePicIndex(0, kOwnHand[static_cast<std::size_t>(i)]));
        EXPECT_EQ(r.f.MJ_Image[i].Width, 48);
        EXPECT_EQ(r.f.MJ_Image[i].Height, 78);
    }
    for (int i = 0; i < 13; ++i) {
        SCOPED_TRACE(i);
        const float left = 3.0f * i, top = 100.0f + 30.0f * i;
        EXPECT_EQ(PlaceOf(r.f.MJ_Image[FirstImage(1) + i]).top, top + 20);
        EXPECT_EQ(PlaceOf(r.f.MJ_Image[FirstImage(1) + i]).left, 200 + left);
        EXPECT_EQ(r.f.MJ_Image[FirstImage(1) + i].Width, 45);
        EXPECT_EQ(r.f.MJ_Image[FirstImage(1) + i].Height, 35);
        EXPECT_EQ(PlaceOf(r.f.MJ_Image[FirstImage(2) + i]).top, top);
        EXPECT_EQ(r.f.MJ_Image[FirstImage(2) + i].Width, 36);
        EXPECT_EQ(r.f.MJ_Image[FirstImage(2) + i].Height, 39);
        EXPECT_EQ(PlaceOf(r.f.MJ_Image[FirstImage(3) + i]).left, 600 + left - 5);
        EXPECT_EQ(PlaceOf(r.f.MJ_Image[FirstImage(3) + i]).top, top - 10);
    }
}

TEST(HandReveal, EachTurnedUpHandIsSortedWithTheLastTileReceivedAtItsEnd)
{
    Reveal r;
    r.TurnUpAll();
    const table::PlayerRecord& p = r.Player(2);
    std::vector<int> sorted(kTurnedUp.begin(), kTurnedUp.begin() + 12);
    // Dots, characters, bamboo, honours; rising rank in each suit.
    std::sort(sorted.begin(), sorted.end(), [](int a, int b) { return (a >> 4) != (b >> 4) ? a > b : a < b; });
    sorted.push_back(kTurnedUp[12]);
    for (int i = 0; i < 13; ++i) {
        const table::TileSlot& s = p.Slots[static_cast<std::size_t>(p.HandFirst + i)];
        EXPECT_EQ(s.TileCode, sorted[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(r.f.MJ_Image[s.Image].PictureId(), kTileGif + table::TilePicIndex(2, s.TileCode)) << i;
    }
}

TEST(HandReveal, FramesAfterTheLayoutLeaveTheTableAsItIs)
{
    Reveal r;
    r.TurnUpAll();
    const std::vector<Placed> laidOut = r.AllImages();
    r.TurnUp(1, 4);
    r.TurnUp(3, 1);
    r.Deliver(Frame(protocol::MsgWallReveal, r.SeatBitOf(0), {0x11, 0x12, 0x13, 0x14}));
    EXPECT_EQ(r.AllImages(), laidOut);
    EXPECT_FALSE(r.Failed());
}

TEST(HandReveal, TheNextHandIsLaidOutAgain)
{
    Reveal r;
    r.TurnUpAll();
    // The ready step clears the table for the next hand.
    core::ClearTableTiles(r.c);
    core::ResetTableDisplay(r.c);
    core::ResetPlayerState(r.c);
    r.SetUpHands();
    r.TurnUpAll();
    EXPECT_TRUE(r.c.results.RevealLaidOut);
    EXPECT_EQ(r.f.MJ_Image[FirstImage(1)].Top, 100.0f + 20);
}

struct WinnerCase {
    int winner;
    int hidden;
    bool beside;
};

class RevealWinner : public testing::TestWithParam<WinnerCase> {};

TEST_P(RevealWinner, TheLastDiscardLiesBesideAWinningHandOf3mPlus1)
{
    const WinnerCase& w = GetParam();
    Reveal r(w.hidden);
    r.c.game.WinnerView = static_cast<int16_t>(w.winner);
    r.c.table.LastDiscardImage = 130;
    r.c.table.LastDiscardTile = 0x47;
    r.f.MJ_Image[130].Move(500, 500, 10, 10);
    r.TurnUpAll();
    ASSERT_FALSE(r.Failed());
    const Placed discard = PlaceOf(r.f.MJ_Image[130]);
    if (!w.beside) {
        EXPECT_EQ(discard.left, 500);
        EXPECT_EQ(discard.width, 10);
        return;
    }
    const table::PlayerRecord& p = r.Player(w.winner);
    const Placed last = r.ImageOfSlot(w.winner, p.HandFirst + w.hidden - 1);
    const float tw = r.c.table.TileWidth[static_cast<std::size_t>(w.winner)];
    const float th = r.c.table.TileHeight[static_cast<std::size_t>(w.winner)];
    Placed expected{0, 0, tw, th, kTileGif + table::TilePicIndex(w.winner, 0x47)};
    switch (w.winner) {
    case 1:
        expected.left = last.left - 5;
        expected.top = last.top + th - 13;
        break;
    case 2:
        expected.left = p.HandX - (p.HandFirst + w.hidden) * tw - 5;
        expected.top = p.HandY;
        break;
    default:
        expected.left = last.left - 5;
        expected.top = last.top - th + 13;
        break;
    }
    EXPECT_EQ(discard, expected);
}

INSTANTIATE_TEST_SUITE_P(HandReveal, RevealWinner,
                         testing::Values(WinnerCase{1, 13, true}, WinnerCase{2, 13, true}, WinnerCase{3, 13, true},
                                         WinnerCase{3, 10, true}, WinnerCase{2, 1, true}, WinnerCase{1, 14, false},
                                         WinnerCase{2, 11, false}, WinnerCase{3, 2, false},
                                         WinnerCase{-1, 13, false}, WinnerCase{0, 13, false}));

TEST(HandReveal, AWinningHandWithoutALastDiscardTakesTheFailurePath)
{
    Reveal r;
    r.c.game.WinnerView = 1;
    r.c.table.LastDiscardImage = -1;
    r.TurnUpAll();
    EXPECT_EQ(r.t.dialogs.texts, QStringList{QStringLiteral("fail control15 ")});
    EXPECT_TRUE(r.Failed());
}

class RevealBadTile : public testing::TestWithParam<int> {};

TEST_P(RevealBadTile, AWordThatIsNoTileTakesTheFailurePath)
{
    Reveal r;
    r.Deliver(Frame(protocol::MsgWallReveal, r.SeatBitOf(1), {0x11, 0x12, 0x13, GetParam()}));
    EXPECT_EQ(r.t.dialogs.texts, QStringList{QStringLiteral("fail control15 ")});
    EXPECT_TRUE(r.Failed());
    EXPECT_EQ(r.Player(1).HandCount, 13); // nothing of the frame was stored
}

// Rank 0, an honour above 7, a suit rank above 9, two suit bits, no suit.
INSTANTIATE_TEST_SUITE_P(HandReveal, RevealBadTile, testing::Values(0x10, 0x18, 0x2A, 0x30, 0x05, 0x80));

TEST(HandReveal, SurplusWordsOfASeatsLastFrameAreNotLookedAt)
{
    Reveal r(1);
    r.Deliver(Frame(protocol::MsgWallReveal, r.SeatBitOf(1), {0xFF, 0x10, 0, 0x21}));
    EXPECT_FALSE(r.Failed());
    EXPECT_EQ(r.Player(1).HandCount, 0);
    EXPECT_EQ(r.c.game.RevealedTiles[1][0].Code, 0x21);
}

TEST(HandReveal, AHandTileWithoutAnImageTakesTheFailurePathAtTheLayout)
{
    Reveal r;
    r.Player(3).Slots[static_cast<std::size_t>(r.Player(3).HandFirst + 5)].Image = -1;
    r.TurnUpAll();
    EXPECT_EQ(r.t.dialogs.texts, QStringList{QStringLiteral("fail control15 ")});
}
