// The local player's mouse on the table window, driven through real Qt mouse
// events on the shown window: hover raise and pointer, discard clicks, the
// right-button pass and the turn-up of hidden tiles after a win.
#include "support/mouse.h"
#include "support/table_fixture.h"
#include "window/claim_input.h"
#include "window/input.h"
#include "window/main_form.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using testing_support::DiscardFrame;
using testing_support::DrawFrame;
using testing_support::PromptFrame;
using testing_support::TableClient;
using testing_support::WordOf;

namespace {

constexpr int kOwnSeat = 1;

// A shown table with the local player holding `hand` (images 0 on) and a
// hand in play; frames the client sends come out of TakeSent.
struct MouseTable : TableClient {
    explicit MouseTable(std::initializer_list<int> hand)
    {
        c.table.WildTile = 0x29;
        c.game.AnNiuPressed[2] = -1;
        GiveOwnHand(hand, 0);
        GiveOtherHand(1, 14, 20);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        // Start every test with the pointer off the table.
        QTest::mouseMove(f.pic1, QPoint(1000, 20));
    }
    ~MouseTable() { f.hide(); }

    QPoint CentreOf(int image) const
    {
        return testing_support::CentreOf(f.MJ_Image[image]);
    }
    void Move(QPoint at) { QTest::mouseMove(f.pic1, at); }
    // A press and release without moving the pointer first.
    void ClickHere(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(f.pic1, button, {}, at, 20);
        QTest::mouseRelease(f.pic1, button, {}, at, 20);
    }
    void Prompt(int stamp, int mask) { Deliver(PromptFrame(kOwnSeat, stamp, mask)); }
    float TopOf(int image) const { return f.MJ_Image[image].Top; }
};

const std::initializer_list<int> kThirteen{0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0x41, 0x42,
                                           0x43, 0x81, 0x82, 0x83, 0x84};
const std::initializer_list<int> kFourteen{0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0x41,
                                           0x42, 0x43, 0x81, 0x82, 0x83, 0x84, 0x85};

bool IsKind(const protocol::GameFrame& f, int kind) { return f[3] == kind; }

} // namespace

// ---- hover ----

TEST(TileHover, RaisesTheHandTileUnderThePointerAndLowersTheOneBefore)
{
    MouseTable t(kThirteen);
    const float y = t.Player(0).HandY;
    t.Move(t.CentreOf(3));
    EXPECT_FLOAT_EQ(t.TopOf(3), y - 10);
    EXPECT_EQ(t.c.window.TileMousePointer[3], window::kTilePointer);
    EXPECT_EQ(t.f.pic1->cursor().shape(), Qt::BitmapCursor) << "the table's own pointer over a hand tile";

    // Moving on over the raised tile changes nothing.
    t.Move(t.CentreOf(3) + QPoint(5, -5));
    EXPECT_FLOAT_EQ(t.TopOf(3), y - 10);

    t.Move(t.CentreOf(4));
    EXPECT_FLOAT_EQ(t.TopOf(4), y - 10);
    EXPECT_FLOAT_EQ(t.TopOf(3), y);
    for (int i = 0; i < 13; ++i) {
        if (i != 4) {
            EXPECT_FLOAT_EQ(t.TopOf(i), y) << i;
        }
    }
    EXPECT_FLOAT_EQ(t.f.MJ_Image[4].Left, t.Player(0).HandX + 8 * 48.0f) << "raised, not moved sideways";

    // Off the hand the pointer is the default again; the hand is untouched.
    t.Move(QPoint(500, 300));
    EXPECT_FALSE(t.f.pic1->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(t.Player(0).HandCount, 13) << "the hover never writes the hand's count";
    EXPECT_EQ(t.Player(0).HandFirst, 4);
}

struct HoverCase {
    const char* name;
    bool watch;
    int16_t started; // AnNiuPressed(2)
    int image;       // hovered image
};

class TileHoverRefused : public testing::TestWithParam<HoverCase> {};

TEST_P(TileHoverRefused, RaisesNothing)
{
    MouseTable t(kThirteen);
    t.c.game.WatchMode = GetParam().watch;
    t.c.game.AnNiuPressed[2] = GetParam().started;
    // A wall tile in the hand row that belongs to no hand.
    t.f.MJ_Image[40].Move(880, t.Player(0).HandY, 48, 78);
    t.f.MJ_Image[40].SetVisible(true);
    const int k = GetParam().image;
    const float before = t.TopOf(k);
    t.Move(t.CentreOf(k));
    EXPECT_FLOAT_EQ(t.TopOf(k), before);
    EXPECT_EQ(t.c.window.TileMousePointer[static_cast<std::size_t>(k)], 0);
    EXPECT_FALSE(t.f.pic1->testAttribute(Qt::WA_SetCursor));
}

INSTANTIATE_TEST_SUITE_P(Cases, TileHoverRefused,
                         testing::Values(HoverCase{"Spectating", true, -1, 2}, HoverCase{"BetweenHands", false, 0, 2},
                                         HoverCase{"NotAHandTile", false, -1, 40}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- discard clicks ----

TEST(TileClick, LeftOrRightClickOnAHandTileDiscardsWhenADiscardIsDue)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        MouseTable t(kFourteen);
        t.Prompt(21, 0);
        ASSERT_EQ(t.c.table.DiscardDue, -1);
        t.ClickHere(t.CentreOf(9), button); // the 1 of dots
        auto sent = t.TakeSent();
        ASSERT_EQ(sent.size(), 2u) << button;
        EXPECT_TRUE(IsKind(sent[0], 7));
        EXPECT_EQ(WordOf(sent[0], 0), 1) << "the pass goes first";
        EXPECT_TRUE(IsKind(sent[1], 2));
        EXPECT_EQ(WordOf(sent[1], 3), 0x4081);
        EXPECT_EQ(t.c.game.TurnPhase, 2);
        EXPECT_FALSE(t.c.core.SchedDecision.On);
        EXPECT_EQ(t.c.game.TimeoutCount, 0);
    }
}

TEST(TileClick, RightClickOnAHandTileWithoutADiscardDueDoesNothing)
{
    MouseTable t(kThirteen);
    t.Deliver(DiscardFrame(8, 0x14));
    t.Prompt(22, 0x09); // pong or pass
    ASSERT_TRUE(t.f.Operation[4].Visible);
    t.ClickHere(t.CentreOf(2), Qt::RightButton);
    EXPECT_TRUE(t.TakeSent().empty());
    EXPECT_TRUE(t.f.Operation[4].Visible);
    EXPECT_EQ(t.c.game.TurnPhase, 0);
}

TEST(TileClick, OnlyTheJustDrawnTileCarriesFlagZero)
{
    for (bool drawn : {true, false}) {
        MouseTable t(kThirteen);
        t.c.table.WallHead = 60;
        t.Deliver(DrawFrame(kOwnSeat, 0x86));
        t.Prompt(23, 0);
        t.ClickHere(t.CentreOf(drawn ? 60 : 0));
        auto sent = t.TakeSent();
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(WordOf(sent[1], 1), drawn ? 0 : 1);
        EXPECT_EQ(WordOf(sent[1], 3), drawn ? 0x4086 : 0x4011);
    }
}

TEST(TileClick, OfTwoEqualTilesTheFirstLeavesWhicheverWasClicked)
{
    MouseTable t({0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0x41, 0x42, 0x43, 0x81, 0x82, 0x83, 0x84});
    t.c.table.WallHead = 60;
    t.Deliver(DrawFrame(kOwnSeat, 0x82)); // a second 2 of dots, image 60
    t.Prompt(24, 0);
    t.ClickHere(t.CentreOf(60));
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(WordOf(sent[1], 3), 0x4082);
    EXPECT_EQ(WordOf(sent[1], 1), 0) << "the flag follows the image clicked";
    // Sorted, the hand starts 1 2 2 of dots: slot 5 holds the first 2 and
    // leaves, whatever its image.
    const table::PlayerRecord& p = t.Player(0);
    EXPECT_EQ(p.Slots[5].TileCode, 0x82);
    EXPECT_EQ(t.c.table.LastDiscardImage, p.Slots[5].Image);
    EXPECT_NE(t.c.table.LastDiscardImage, 60);
    EXPECT_EQ(t.f.MJ_Image[p.Slots[5].Image].Tag, QStringLiteral("5"));
}

// A tile that arrives under a pointer that does not move takes the next
// click, raised by an earlier hover or not.
TEST(TileClick, ATileArrivingUnderAStillPointerTakesTheNextClick)
{
    MouseTable t(kThirteen);
    t.c.table.WallHead = 60;
    const table::PlayerRecord& p = t.Player(0);
    // Where the drawn tile will stand: slot 17, half a tile apart.
    const QPoint spot(static_cast<int>(p.HandX + 17 * 48 + 24 + 24), static_cast<int>(p.HandY + 39));
    t.Move(t.CentreOf(12)); // the pointer raised the last hand tile on the way
    t.Move(spot);
    ASSERT_EQ(t.f.pic1->ControlAt(spot.x(), spot.y()), nullptr) << "the spot is bare before the draw";
    t.Deliver(DrawFrame(kOwnSeat, 0x86));
    t.Prompt(25, 0);
    t.ClickHere(spot);
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(WordOf(sent[1], 3), 0x4086);
    EXPECT_EQ(WordOf(sent[1], 1), 0);
}

// A quick second click reaches the window as a double click, not as a
// press: it discards like any other click. Here the first click comes just
// before the prompt and is too early.
TEST(TileClick, TheSecondClickOfAQuickDoubleClickDiscards)
{
    MouseTable t(kThirteen);
    t.c.table.WallHead = 60;
    t.Deliver(DrawFrame(kOwnSeat, 0x86));
    const QPoint on = t.CentreOf(60);
    t.Move(on);
    t.ClickHere(on);
    EXPECT_TRUE(t.TakeSent().empty()) << "no discard is due yet";
    t.Prompt(29, 0);
    QTest::mouseDClick(t.f.pic1, Qt::LeftButton, {}, on, 20);
    QTest::mouseRelease(t.f.pic1, Qt::LeftButton, {}, on, 20);
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(IsKind(sent[1], 2));
    EXPECT_EQ(WordOf(sent[1], 3), 0x4086);
    EXPECT_EQ(t.c.table.DiscardDue, 0);
}

// A release the table never saw (another window took it) does not leave the
// pressed tile holding the mouse: the next move without a button raises the
// tile under the pointer.
TEST(TileHover, AMoveWithoutAButtonAfterALostReleaseReachesTheTileUnderThePointer)
{
    MouseTable t(kThirteen);
    const float y = t.Player(0).HandY;
    t.Move(t.CentreOf(2));
    QTest::mousePress(t.f.pic1, Qt::LeftButton, {}, t.CentreOf(2), 20);
    const QPoint next = t.CentreOf(6);
    QMouseEvent move(QEvent::MouseMove, next, t.f.pic1->mapToGlobal(next), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(t.f.pic1, &move);
    EXPECT_FLOAT_EQ(t.TopOf(6), y - 10);
    EXPECT_FLOAT_EQ(t.TopOf(2), y);
    // QTest's own idea of the held button ends with a release.
    QTest::mouseRelease(t.f.pic1, Qt::LeftButton, {}, next, 20);
}

// ---- right-button pass over other tiles ----

TEST(TileClick, RightClickOnAnotherTilePassesWhileThePassButtonShows)
{
    MouseTable t(kThirteen);
    t.f.MJ_Image[40].Move(500, 300, 36, 50);
    t.f.MJ_Image[40].SetVisible(true);
    t.Deliver(DiscardFrame(8, 0x14));
    t.Prompt(26, 0x09);
    t.ClickHere(t.CentreOf(40), Qt::LeftButton);
    EXPECT_TRUE(t.TakeSent().empty()) << "a left click is no pass";
    t.ClickHere(t.CentreOf(40), Qt::RightButton);
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(WordOf(sent[0], 0), 1);
    for (int k = 0; k < 5; ++k) {
        EXPECT_FALSE(t.f.Operation[k].Visible) << k;
        EXPECT_FALSE(t.f.Operation[k].Enabled) << k;
    }
    EXPECT_FALSE(t.c.core.SchedDecision.On) << "no discard follows";
    // The pass button is gone: a second right click does nothing.
    t.ClickHere(t.CentreOf(40), Qt::RightButton);
    EXPECT_TRUE(t.TakeSent().empty());
}

TEST(TileClick, APassWhileADiscardIsDueLeavesTheCountdownRunning)
{
    MouseTable t(kFourteen);
    t.f.MJ_Image[40].Move(500, 300, 36, 50);
    t.f.MJ_Image[40].SetVisible(true);
    t.Prompt(27, 0x11); // exposed kong or pass, with a discard due
    t.ClickHere(t.CentreOf(40), Qt::RightButton);
    auto sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(WordOf(sent[0], 0), 1);
    EXPECT_TRUE(t.c.core.SchedDecision.On);
    // The discard still goes out, without a second pass.
    t.ClickHere(t.CentreOf(0));
    sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(IsKind(sent[0], 2));
}

TEST(TileClick, NothingWhileTheAutomaticDecisionOwnsTheTurnOrInputIsOff)
{
    MouseTable t(kFourteen);
    t.Prompt(28, 0);
    t.c.game.TurnPhase = 3;
    t.c.game.ZhahuShown = -1;
    t.ClickHere(t.CentreOf(0));
    EXPECT_TRUE(t.TakeSent().empty());
    EXPECT_EQ(t.c.game.ZhahuShown, -1);
    t.c.game.TurnPhase = 0;
    t.c.game.InputEnabled = 0;
    t.ClickHere(t.CentreOf(0));
    EXPECT_TRUE(t.TakeSent().empty());
    EXPECT_EQ(t.c.game.ZhahuShown, 0) << "the false-win notice goes before the input check";
}

// ---- turn-up after a win ----

TEST(TurnUp, AConcealedKongTileOfAnotherSeatTurnsUpOnce)
{
    MouseTable t(kThirteen);
    GameState& g = t.c.game;
    platform::Image& img = t.f.MJ_Image[50];
    img.Move(600, 150, 34, 40);
    table::ShowTileImage(t.c.Table(), 50, 36 * 2 + table::kFaceDownBack);
    g.ConcealedKongCount = 2;
    g.ConcealedKongImages = {70, 50};
    g.ConcealedKongTiles = {0x11, 0x23};
    g.ConcealedKongViews = {1, 2};

    t.ClickHere(t.CentreOf(50));
    EXPECT_EQ(img.PictureId(), 201 + 36 * 2 + table::kFaceDownBack) << "no win yet";
    g.WinnerView = 3;
    t.ClickHere(t.CentreOf(50));
    EXPECT_EQ(img.PictureId(), 201 + table::TilePicIndex(2, 0x23));
    EXPECT_EQ(g.ConcealedKongImages[1], -1);
    EXPECT_EQ(g.ConcealedKongImages[0], 70);
    table::ShowTileImage(t.c.Table(), 50, 36 * 2 + table::kFaceDownBack);
    t.ClickHere(t.CentreOf(50));
    EXPECT_EQ(img.PictureId(), 201 + 36 * 2 + table::kFaceDownBack) << "turned up once only";
    EXPECT_TRUE(t.TakeSent().empty());
}

TEST(TurnUp, AKongEntryWithABadTileOrViewShowsNothingButIsUsedUp)
{
    MouseTable t(kThirteen);
    GameState& g = t.c.game;
    t.f.MJ_Image[50].Move(600, 150, 34, 40);
    table::ShowTileImage(t.c.Table(), 50, 36 * 2 + table::kFaceDownBack);
    g.WinnerView = 0;
    g.ConcealedKongCount = 40; // more than the record holds
    g.ConcealedKongImages = {50};
    g.ConcealedKongTiles = {0x2A}; // rank 10
    g.ConcealedKongViews = {9};
    t.ClickHere(t.CentreOf(50));
    EXPECT_EQ(t.f.MJ_Image[50].PictureId(), 201 + 36 * 2 + table::kFaceDownBack);
    EXPECT_EQ(g.ConcealedKongImages[0], -1);
    EXPECT_FALSE(t.t.process.ended);
}

// One shown wall tile clicked: where the indicator picture, the tail and
// the tile before a head tile end up, and the tile itself in the middle row.
struct RestackCase {
    const char* name;
    int tail, clicked, position, firstPos;
    int moved, onto; // image `moved` takes the place of `onto`; -1 none
    bool movedToBack;
};

class TurnUpWall : public testing::TestWithParam<RestackCase> {};

TEST_P(TurnUpWall, RestacksTheWallAndLinesTheTileUp)
{
    const RestackCase& rc = GetParam();
    MouseTable t(kThirteen);
    GameState& g = t.c.game;
    auto& img = t.f.MJ_Image;
    // Every image involved in a place of its own, the clicked one on top.
    const int pizi = 130;
    t.c.table.PiZiImage = pizi;
    t.c.table.WallTail = static_cast<int16_t>(rc.tail);
    t.c.table.WallHead = 10;
    int x = 100;
    for (int image : {pizi, rc.tail, (rc.tail + 1) % 136, (rc.clicked + 135) % 136, rc.clicked}) {
        img[image].Move(static_cast<float>(x), 120, 36, 50);
        img[image].SetVisible(true);
        img[image].ZOrder(0);
        x += 60;
    }
    g.WinnerView = 2;
    g.ShownWallCount = 5;
    g.ShownWallTiles = {0x81, 0x15, 0x47, 0x29, 0x33};
    g.ShownWallPos = {static_cast<int16_t>(rc.firstPos), 1, 2, 3, 4};
    g.ShownWallPos[static_cast<std::size_t>(rc.position)] = static_cast<int16_t>(rc.clicked);
    const QPointF target = rc.onto >= 0 ? QPointF(img[rc.onto].Left, img[rc.onto].Top) : QPointF();
    const QPointF pizAt(img[pizi].Left, img[pizi].Top);

    t.ClickHere(t.CentreOf(rc.clicked));
    const int i = rc.position;
    const platform::Image& k = img[rc.clicked];
    EXPECT_FLOAT_EQ(k.Left, 400.0f + 45 * i);
    EXPECT_FLOAT_EQ(k.Top, 340);
    EXPECT_FLOAT_EQ(k.Width, 45);
    EXPECT_FLOAT_EQ(k.Height, 60);
    EXPECT_EQ(k.PictureId(), 201 + table::TilePicIndex(0, g.ShownWallTiles[static_cast<std::size_t>(i)]));
    EXPECT_EQ(g.ShownWallPos[static_cast<std::size_t>(i)], -1);
    if (rc.moved >= 0) {
        EXPECT_FLOAT_EQ(img[rc.moved].Left, target.x());
        EXPECT_FLOAT_EQ(img[rc.moved].Top, target.y());
        EXPECT_EQ(t.f.pic1->ZOrderList().front() == &img[rc.moved], rc.movedToBack);
    } else {
        EXPECT_FLOAT_EQ(img[pizi].Left, pizAt.x()) << "the indicator stays";
    }
    // Turned up once: a second click leaves it in the row.
    img[rc.clicked].Move(700, 120);
    t.ClickHere(QPoint(718, 145));
    EXPECT_FLOAT_EQ(img[rc.clicked].Left, 700);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TurnUpWall,
    testing::Values(
        // Tail even, tile even, position 0: the indicator onto the tail.
        RestackCase{"EvenTailEvenTile", 100, 100, 0, 100, 130, 100, false},
        // Tail odd on side 2, tile odd: the indicator onto the tail, behind.
        RestackCase{"OddTailOnSideTwo", 71, 71, 0, 71, 130, 71, true},
        // A head tile (position 2 on): the tile before it takes its place.
        RestackCase{"HeadTile", 101, 21, 2, 101, 20, 21, false},
        // Tail even, tile odd (side 2), the first position no longer held:
        // the indicator onto the tile, behind.
        RestackCase{"EvenTailOddTileFirstGone", 100, 99, 1, -1, 130, 99, true},
        // Tail odd, tile even: nothing moves in the wall.
        RestackCase{"OddTailEvenTile", 101, 102, 1, 101, -1, -1, false},
        // Tail even, tile even, a head tile: nothing moves in the wall.
        RestackCase{"EvenTailEvenHeadTile", 100, 22, 3, 100, -1, -1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TurnUp, EvenTailOddTileWithTheFirstStillHeldMovesTheTailOnItsNeighbour)
{
    MouseTable t(kThirteen);
    GameState& g = t.c.game;
    auto& img = t.f.MJ_Image;
    t.c.table.PiZiImage = 130;
    t.c.table.WallTail = 68; // side 2
    int x = 100;
    for (int image : {130, 68, 69, 77}) {
        img[image].Move(static_cast<float>(x), 120, 36, 50);
        img[image].SetVisible(true);
        img[image].ZOrder(0);
        x += 60;
    }
    const QPointF tailAt(img[68].Left, img[68].Top);
    const QPointF nextAt(img[69].Left, img[69].Top);
    g.WinnerView = 1;
    g.ShownWallCount = 2;
    g.ShownWallTiles = {0x81, 0x15};
    g.ShownWallPos = {68, 77};
    t.ClickHere(t.CentreOf(77));
    EXPECT_FLOAT_EQ(img[130].Left, tailAt.x());
    EXPECT_FLOAT_EQ(img[68].Left, nextAt.x());
    EXPECT_FLOAT_EQ(img[68].Top, nextAt.y());
    EXPECT_EQ(t.f.pic1->ZOrderList().front(), &img[68]);
    EXPECT_FLOAT_EQ(img[77].Left, 445);
}
