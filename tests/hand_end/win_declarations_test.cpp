// Wins and false wins of kind-7 frames: the winner's name on the score
// window, the winning discard laid by the local hand, the false-win notice
// and its flag; and the hand's result frame that takes the notice away.
#include "results/result_forms.h"

#include "support/table_fixture.h"
#include "window/pictures.h"

#include <gtest/gtest.h>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kTileGif = 201;          // GIF id of tile picture 0
constexpr int kWinSpeechColumn = 7;    // the win bubble of a view's SpeakPicIds
constexpr int32_t kRedName = 255;
constexpr int32_t kGreenName = 65280;

const std::vector<int> kThirteen = {0x81, 0x82, 0x83, 0x44, 0x45, 0x46, 0x27, 0x28, 0x29, 0x11, 0x11, 0x12, 0x13};

std::vector<int32_t> NameColours(Client& c)
{
    std::vector<int32_t> out;
    for (int i = 0; i < 4; ++i)
        out.push_back(c.Score->ID[i].ForeColor);
    return out;
}

struct Placed {
    float left, top, width, height;
    int picture;
    bool operator==(const Placed&) const = default;
};

Placed PlaceOf(const platform::Image& img) { return {img.Left, img.Top, img.Width, img.Height, img.PictureId()}; }

} // namespace

TEST(WinDeclaration, TheFirstWinnerStandsOutRedAndTheOthersGreen)
{
    TableClient t;
    t.GiveOwnHand(kThirteen);
    const Placed lastTile = PlaceOf(t.f.MJ_Image[12]);
    t.Deliver(OperationFrame(t.SeatBitOf(2), 128));
    EXPECT_EQ(t.c.game.WinnerView, 2);
    EXPECT_EQ(NameColours(t.c), (std::vector<int32_t>{kGreenName, kGreenName, kRedName, kGreenName}));
    EXPECT_TRUE(t.f.Speak[1].Visible);
    EXPECT_EQ(t.f.Speak[1].PictureId(), 430 + 9 + kWinSpeechColumn);
    EXPECT_EQ(t.Player(0).HandCount, 13);
    EXPECT_EQ(PlaceOf(t.f.MJ_Image[12]), lastTile); // the local hand is untouched
    EXPECT_FALSE(t.t.process.ended);
}

TEST(WinDeclaration, ALaterWinOfTheSameHandKeepsTheFirstWinner)
{
    TableClient t;
    t.GiveOwnHand(kThirteen);
    t.c.table.LastDiscardImage = 100;
    t.c.table.LastDiscardTile = 0x47;
    t.f.MJ_Image[100].Move(500, 300, 30, 40);
    t.Deliver(OperationFrame(t.SeatBitOf(3), 128));
    t.Deliver(OperationFrame(t.SeatBitOf(1), 128));
    t.Deliver(OperationFrame(t.SeatBitOf(0), 128));
    EXPECT_EQ(t.c.game.WinnerView, 3);
    EXPECT_EQ(NameColours(t.c), (std::vector<int32_t>{kGreenName, kGreenName, kGreenName, kRedName}));
    EXPECT_EQ(t.f.MJ_Image[100].Left, 500); // the local win came second: no discard laid
    EXPECT_TRUE(t.f.Speak[0].Visible);      // the second winner keeps its bubble
}

struct LocalWinCase {
    float scale;
    int handTiles;
    bool onDiscard; // the hand lacks the winning tile
    int16_t width, height;
};

class LocalWin : public testing::TestWithParam<LocalWinCase> {};

TEST_P(LocalWin, ADiscardWinLaysTheDiscardAtTheEndOfTheHand)
{
    const LocalWinCase& w = GetParam();
    TableClient t(0, w.scale);
    t.GiveOwnHand(std::vector<int>(kThirteen.begin(), kThirteen.begin() + std::min(13, w.handTiles)));
    if (w.handTiles == 14)
        t.GiveOwnHand({0x14}, 13);
    t.c.table.LastDiscardImage = 100;
    t.c.table.LastDiscardTile = 0x47;
    t.f.MJ_Image[100].Move(500, 300, 30, 40);
    const int last = t.Player(0).HandFirst + t.Player(0).HandCount - 1;
    const float lastLeft = t.f.MJ_Image[t.Player(0).Slots[static_cast<std::size_t>(last)].Image].Left;

    t.Deliver(OperationFrame(t.SeatBitOf(0), 128));

    EXPECT_EQ(t.c.game.WinnerView, 0);
    EXPECT_EQ(t.c.table.TileWidth[0], w.width);
    EXPECT_EQ(t.c.table.TileHeight[0], w.height);
    EXPECT_EQ(t.Player(0).HandCount, w.handTiles); // the discard is not added to the hand
    const platform::Image& discard = t.f.MJ_Image[100];
    if (w.onDiscard) {
        EXPECT_EQ(PlaceOf(discard), (Placed{lastLeft + w.width, static_cast<float>(t.Player(0).HandY), float(w.width),
                                            float(w.height), kTileGif + table::TilePicIndex(0, 0x47)}));
        EXPECT_TRUE(discard.Visible);
    } else {
        EXPECT_EQ(discard.Left, 500);
        EXPECT_EQ(discard.Width, 30);
    }
    EXPECT_FALSE(t.t.process.ended);
}

INSTANTIATE_TEST_SUITE_P(WinDeclaration, LocalWin,
                         testing::Values(LocalWinCase{1.0f, 13, true, 48, 78}, LocalWinCase{1.0f, 10, true, 48, 78},
                                         LocalWinCase{1.0f, 14, false, 48, 78}, LocalWinCase{1.0f, 11, false, 48, 78},
                                         // 37.5 rounds to the even 38, 60.94 to 61
                                         LocalWinCase{0.78125f, 13, true, 38, 61},
                                         LocalWinCase{0.78125f, 8, false, 38, 61}));

TEST(WinDeclaration, ALocalDiscardWinWhoseDiscardIsNoTileEndsTheClient)
{
    TableClient t;
    t.GiveOwnHand(kThirteen);
    t.c.table.LastDiscardImage = 100;
    t.c.table.LastDiscardTile = 0x1A; // honours have no rank 10
    t.Deliver(OperationFrame(t.SeatBitOf(0), 128));
    EXPECT_TRUE(t.t.process.ended);
    EXPECT_TRUE(t.t.dialogs.texts.isEmpty()); // the table work's own failure: no message
}

TEST(WinDeclaration, ALocalDiscardWinWithoutALastDiscardEndsTheClient)
{
    TableClient t;
    t.GiveOwnHand(kThirteen);
    t.c.table.LastDiscardImage = -1;
    t.c.table.LastDiscardTile = 0x47;
    t.Deliver(OperationFrame(t.SeatBitOf(0), 128));
    EXPECT_TRUE(t.t.process.ended);
}

// ---- false wins ----

TEST(FalseWin, TheLocalPlayersFalseWinShowsTheNoticeAndSetsItsFlag)
{
    TableClient t;
    t.Deliver(OperationFrame(t.SeatBitOf(0), 129));
    EXPECT_TRUE(t.c.frmZhahu->isVisible());
    EXPECT_EQ(t.c.game.ZhahuShown, -1);
    EXPECT_EQ(t.c.game.WinnerView, -1);

    // The hand's first result frame takes the notice away.
    t.Deliver(SeatResultFrame(t.SeatBitOf(1), 0, 1, 0));
    EXPECT_FALSE(t.c.frmZhahu->isVisible());
    EXPECT_EQ(t.c.game.ZhahuShown, 0);
    EXPECT_FALSE(t.t.process.ended);
}

class FalseWinWindowState : public testing::TestWithParam<Qt::WindowState> {};

TEST_P(FalseWinWindowState, ATableWindowThatIsNotNormalGetsNoNotice)
{
    TableClient t;
    t.f.setWindowState(GetParam());
    t.Deliver(OperationFrame(t.SeatBitOf(0), 129));
    EXPECT_FALSE(t.c.frmZhahu->isVisible());
    EXPECT_EQ(t.c.game.ZhahuShown, 0);
}

INSTANTIATE_TEST_SUITE_P(FalseWin, FalseWinWindowState,
                         testing::Values(Qt::WindowMinimized, Qt::WindowMaximized));

TEST(FalseWin, AnotherSeatsFalseWinShowsNoNoticeAndNoOldBubble)
{
    TableClient t;
    // The seat's bubble still holds the picture of its last claim.
    window::LoadGifResource(430 + 1, QStringLiteral("GIF"), t.f.Speak[0]);
    t.f.Speak[0].SetVisible(false);
    t.f.Speak[2].SetVisible(true);
    t.Deliver(OperationFrame(t.SeatBitOf(1), 129));
    EXPECT_FALSE(t.f.Speak[0].Visible);
    EXPECT_FALSE(t.f.Speak[2].Visible); // the other bubbles go as for every operation
    EXPECT_EQ(t.c.game.SpeakShown, -1);
    EXPECT_EQ(t.c.game.SpeakIndex, 0);
    EXPECT_FALSE(t.c.frmZhahu->isVisible());
    EXPECT_EQ(t.c.game.ZhahuShown, 0);
    EXPECT_EQ(t.c.game.WinnerView, -1);
}
