// Seat names (kind 3), hand start (kind 4), the betting-panel animation
// (kind 13), the wild tile (kind 14) and the hands turned up (kind 15).
#include "table_fixture.h"

#include "core/exit_windows.h"
#include "core/table_reset.h"
#include "table/reset.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

using namespace dispatch_test;

namespace {

constexpr int kTileGif = 201; // GIF id of tile picture 0

void SeatNames(Table& t, const std::array<QByteArray, 4>& names)
{
    for (int i = 0; i < 4; ++i)
        t.Deliver(SeatNameFrame(1 << i, names[static_cast<std::size_t>(i)]));
}

} // namespace

// ---- Kind 3: seat names ----

struct OwnSeatCase {
    int own;
    std::array<int, 4> bits; // seat bit of views 0-3
};

class SeatNamesFindTheOwnSeat : public testing::TestWithParam<OwnSeatCase> {};

TEST_P(SeatNamesFindTheOwnSeat, EveryViewGetsItsSeatAndName)
{
    Table t;
    std::array<QByteArray, 4> names = {"p0", "p1", "p2", "p3"};
    names[static_cast<std::size_t>(GetParam().own)] = "alice";
    SeatNames(t, names);
    for (int v = 0; v < 4; ++v) {
        const table::PlayerRecord& p = t.client.game.Players[static_cast<std::size_t>(v)];
        EXPECT_EQ(p.SeatBit, GetParam().bits[static_cast<std::size_t>(v)]) << "view " << v;
        EXPECT_EQ(p.Name, names[table::BitIndex(p.SeatBit)]);
    }
    EXPECT_EQ(t.client.game.GamePhase, 0);
    EXPECT_EQ(t.client.game.AnNiuPressed[2], -1);
    EXPECT_FALSE(t.Failed());
}

INSTANTIATE_TEST_SUITE_P(Kind3, SeatNamesFindTheOwnSeat,
                         testing::Values(OwnSeatCase{0, {1, 8, 4, 2}}, OwnSeatCase{1, {2, 1, 8, 4}},
                                         OwnSeatCase{2, {4, 2, 1, 8}}, OwnSeatCase{3, {8, 4, 2, 1}}));

TEST(Kind3, TheHighestSeatWithTheOwnNameIsTaken)
{
    Table t;
    SeatNames(t, {"p0", "alice", "p2", "alice"});
    EXPECT_EQ(t.client.game.Players[0].SeatBit, 8);
}

TEST(Kind3, FourStrangersLeaveTheSeatsAsTheyWere)
{
    Table t;
    for (int v = 0; v < 4; ++v)
        t.client.game.Players[static_cast<std::size_t>(v)].SeatBit = static_cast<uint8_t>(1 << v);
    SeatNames(t, {"p0", "p1", "p2", "p3"});
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(t.client.game.Players[static_cast<std::size_t>(v)].SeatBit, 1 << v);
    EXPECT_EQ(t.client.game.Players[0].Name, "alice");
    EXPECT_EQ(t.client.game.GamePhase, 0); // the count still closes
}

TEST(Kind3, ANameAfterTheFourthCountsButSeatsNobody)
{
    Table t;
    SeatNames(t, {"p0", "p1", "alice", "p3"});
    GameState& g = t.client.game;
    g.GamePhase = 4; // counted on by the user-info frames
    t.Deliver(SeatNameFrame(8, "alice"));
    EXPECT_EQ(g.GamePhase, 5);
    EXPECT_EQ(g.Players[0].SeatBit, 4); // still the seat of the four names
    EXPECT_EQ(g.Players[1].Name, QByteArray("p1"));
}

TEST(Kind3, EveryNameArmsTheSeatDrawAndClearsTheTotals)
{
    Table t;
    GameState& g = t.client.game;
    t.client.results.CumulativeAmounts = {5, 6, 7, 8};
    g.NextGameReady = -1;
    t.client.MainForm->OK[2].SetVisible(true);
    t.Deliver(SeatNameFrame(1, "p0"));
    EXPECT_EQ(g.GamePhase, 1);
    EXPECT_EQ(g.SeatDrawArmed, -1);
    EXPECT_EQ(g.StartBlocked, -1);
    EXPECT_EQ(t.client.rewards.BuyDeferred, -1);
    EXPECT_EQ(t.client.chat.BubblesAllowed, -1);
    EXPECT_EQ(g.NextGameReady, 0);
    EXPECT_EQ(t.client.results.CumulativeAmounts, (std::array<double, 4>{0, 0, 0, 0}));
    EXPECT_FALSE(t.client.MainForm->OK[2].Visible);
    EXPECT_EQ(g.Players[0].SeatBit, 0); // not yet seated
}

// ---- Kind 4: hand start ----

struct WallCase {
    int bankerView;
    std::array<int, 4> dice;
    int head;
};

class HandStartWall : public testing::TestWithParam<WallCase> {};

TEST_P(HandStartWall, TheDiceFixBankerAndWallStart)
{
    Table t;
    t.SeatFour(0); // views 0-3 hold seat bits 1, 8, 4, 2
    const WallCase& w = GetParam();
    const int bankerBit = t.client.game.Players[static_cast<std::size_t>(w.bankerView)].SeatBit;
    t.Deliver(HandStartFrame(bankerBit, w.dice));
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.table.WallHead, w.head);
    EXPECT_EQ(t.client.table.WallTail, (w.head + 134) % 136);
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(t.client.game.Players[static_cast<std::size_t>(v)].BankerMark, v == w.bankerView ? -1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Kind4, HandStartWall,
                         testing::Values(WallCase{1, {3, 4, 2, 5}, 130}, // ((7 mod 4) * 17 + 14) * 2 mod 136
                                         WallCase{0, {1, 1, 1, 1}, 110}, WallCase{2, {6, 6, 6, 6}, 14},
                                         WallCase{3, {0, 0, 2, 2}, 80})); // a 0 counts as 1

TEST(Kind4, AHandStartsOnTheTable)
{
    Table t;
    t.SeatFour(0);
    GameState& g = t.client.game;
    window::MainForm& f = *t.client.MainForm;
    t.client.frmExit->Show();
    f.OK[1].SetVisible(true);
    t.client.core.KeepAliveHold = true;
    t.client.core.LeaveAfterHand = true;
    g.SeenTileCounts[2][5] = 3;
    const int roundBefore = g.RoundNo;
    t.Deliver(HandStartFrame(1, {2, 3, 4, 5}));

    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(g.InGame, -1);
    EXPECT_EQ(g.HandStartedFlag, 1);
    EXPECT_EQ(t.client.rewards.LeaveResetDue, -1);
    EXPECT_EQ(g.RoundNo, roundBefore + 1);
    EXPECT_FALSE(t.client.core.KeepAliveHold);
    EXPECT_FALSE(t.client.core.LeaveAfterHand);
    EXPECT_TRUE(t.client.core.SchedBlink.On);
    EXPECT_FALSE(t.client.frmExit->Visible());
    EXPECT_FALSE(f.OK[1].Visible);
    EXPECT_EQ(g.SeenTileCounts[2][5], 0);
    EXPECT_TRUE(f.ZhiNan.Visible && f.Host.Visible && f.Zhuang.Visible);
    for (int k = 0; k < 5; ++k) {
        EXPECT_FALSE(f.Operation[k].Visible);
        EXPECT_EQ(f.Operation[k].PictureId(), 141 + 3 * k);
    }
    // The wall stands face down and the lobby heard of the hand.
    for (int i = 0; i < 136; ++i)
        ASSERT_TRUE(f.MJ_Image[i].Visible) << i;
    EXPECT_EQ(t.lobby.posted.back(), 0x467u);
    EXPECT_FALSE(f.Sai_Image[0].Visible); // the dice rolled and went
    EXPECT_FALSE(f.lblDifen.Visible);
}

TEST(Kind4, EveryHandStartNamesTheBankersWind)
{
    Table t;
    t.SeatFour(0);
    window::MainForm& f = *t.client.MainForm;
    t.Deliver(TableStatusFrame(2, 1)); // the game starts, banker on seat bit 1
    EXPECT_EQ(f.Zhuang.Caption, QStringLiteral("北"));
    const struct {
        int banker;
        const char* wind;
    } hands[] = {{1, "北"}, {2, "西"}, {8, "东"}, {4, "南"}};
    for (const auto& hand : hands) {
        core::ClearTable(t.client); // the ready step between hands
        EXPECT_EQ(f.Zhuang.Caption, QString());
        t.Deliver(HandStartFrame(hand.banker, {1, 1, 1, 1}));
        EXPECT_EQ(f.Zhuang.Caption, QString::fromUtf8(hand.wind)) << hand.banker;
        EXPECT_TRUE(f.Zhuang.Visible);
    }
    EXPECT_FALSE(t.Failed());
}

TEST(Kind4, AHandStartWithoutASeatKeepsTheLabel)
{
    Table t;
    t.SeatFour(0);
    t.Deliver(TableStatusFrame(2, 2));
    t.Deliver(HandStartFrame(3, {1, 1, 1, 1})); // 3 is no seat bit
    EXPECT_EQ(t.client.MainForm->Zhuang.Caption, QStringLiteral("西"));
}

TEST(Kind4, TheTurnedUpHandsAreLaidOutAgainInTheNewHand)
{
    Table t;
    t.SeatFour(0);
    t.client.results.RevealLaidOut = true;
    t.Deliver(HandStartFrame(1, {1, 1, 1, 1}));
    EXPECT_FALSE(t.client.results.RevealLaidOut);
}

TEST(Kind4, TheDiceMultiplierShowsTheSecondPair)
{
    Table t;
    t.SeatFour(0);
    GameFrame frame = HandStartFrame(1, {1, 2, 3, 4});
    frame[18] = 1;
    t.Deliver(frame);
    window::MainForm& f = *t.client.MainForm;
    EXPECT_EQ(t.client.game.DiceMultiplier, 1);
    EXPECT_EQ(f.lblDifen.Caption, QStringLiteral("7"));
    EXPECT_TRUE(f.lblDifen.Visible && f.imgBeishu.Visible && f.imgsezi[0].Visible && f.imgsezi[1].Visible);
    EXPECT_EQ(f.imgsezi[0].PictureId(), 600 + 2); // die face 3
    EXPECT_EQ(f.imgsezi[1].PictureId(), 600 + 3);
}

struct BadDiceCase {
    int bankerBit;
    std::array<int, 4> dice;
    int multiplier;
};

class HandStartBadDice : public testing::TestWithParam<BadDiceCase> {};

TEST_P(HandStartBadDice, TakesTheFailurePath)
{
    Table t;
    t.SeatFour(0);
    GameFrame frame = HandStartFrame(GetParam().bankerBit, GetParam().dice);
    frame[18] = static_cast<uint8_t>(GetParam().multiplier);
    frame[260] = 0x5A;
    t.Deliver(frame);
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control4 ")});
    EXPECT_TRUE(t.process.ended);
    EXPECT_EQ(t.lobby.commands.back(), platform::LobbyLink::kScRestore);
    EXPECT_EQ(t.client.core.EchoToken[0], 0x5A); // taken before the arm ran
}

INSTANTIATE_TEST_SUITE_P(Kind4, HandStartBadDice,
                         testing::Values(BadDiceCase{1, {7, 1, 1, 1}, 0}, BadDiceCase{1, {1, 1, 1, 255}, 0},
                                         // No seat has bit 3, so the 0 is never rolled into a 1 and
                                         // the multiplier has no die to show.
                                         BadDiceCase{3, {1, 1, 0, 3}, 1}));

TEST(Kind4, ADieOutOfRangeChangesNothingOnTheTable)
{
    Table t;
    t.SeatFour(0);
    const int roundBefore = t.client.game.RoundNo;
    t.Deliver(HandStartFrame(1, {1, 2, 3, 8}));
    EXPECT_TRUE(t.process.ended);
    EXPECT_EQ(t.client.game.RoundNo, roundBefore);
    EXPECT_EQ(t.client.game.InGame, 0);
    EXPECT_FALSE(t.client.MainForm->MJ_Image[0].Visible);
}

TEST(Kind4, WithoutTheBankersSeatTheWallStays)
{
    Table t;
    t.SeatFour(0);
    t.client.table.WallHead = 40;
    t.client.table.WallTail = 38;
    t.Deliver(HandStartFrame(3, {1, 2, 3, 4})); // 3 is no seat bit
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.table.WallHead, 40);
    EXPECT_EQ(t.client.table.WallTail, 38);
}

TEST(Kind4, HeldBackPlugInFramesGoOutWithTheOwnSeat)
{
    Table t;
    t.SeatFour(2); // own seat bit 4
    core::CoreState& s = t.client.core;
    s.HoldBackFrame1[3] = 45;
    s.HoldBackFrame1[20] = 0x11;
    s.HoldBackArmed1 = false;
    s.HoldBackFrame2[3] = 45;
    s.HoldBackFrame2[20] = 0x22;
    s.HoldBackArmed2 = true; // still armed: stays held
    while (s.SendRing.HasFrame())
        s.SendRing.PopFrame();
    t.Deliver(HandStartFrame(4, {1, 1, 1, 1}));

    const std::vector<GameFrame> sent = t.Queued();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][3], 45);
    EXPECT_EQ(sent[0][6], 4);
    EXPECT_EQ(sent[0][20], 0x11);
    EXPECT_EQ(s.HoldBackFrame1[3], 0);
    EXPECT_EQ(s.HoldBackFrame2[3], 45);
    EXPECT_FALSE(s.HoldBackArmed1);
    EXPECT_TRUE(s.HoldBackArmed2);
}

TEST(Kind4, TheLastMatchOfTheReportOfferDecides)
{
    Table t;
    t.SeatFour(1); // own seat bit 2
    GameFrame frame = HandStartFrame(2, {1, 1, 1, 1});
    frame[255] = 1;
    frame[239] = 2, frame[240] = 1;
    frame[241] = 1, frame[242] = 1;
    frame[243] = 2, frame[244] = 0;
    PutLE(frame, 247, (uint64_t{1} << 40) + 5, 8);
    t.Deliver(frame);
    GameState& g = t.client.game;
    EXPECT_EQ(g.ImpeachAllowed, 0);
    EXPECT_EQ(g.ImpeachOffered, -1);
    EXPECT_EQ(g.ImpeachDone, 0);
    EXPECT_EQ(g.ImpeachSeat, -1);
    EXPECT_EQ(g.ImpeachFee, 1099511627781.0);
}

TEST(Kind4, WithoutAReportOfferTheResetStateStays)
{
    Table t;
    t.SeatFour(0);
    t.client.game.ImpeachOffered = -1;
    t.client.game.ImpeachAllowed = -1;
    t.Deliver(HandStartFrame(1, {1, 1, 1, 1}));
    EXPECT_EQ(t.client.game.ImpeachOffered, 0);
    EXPECT_EQ(t.client.game.ImpeachAllowed, 0);
}

TEST(Kind4, ASpectatorsTableIsClearedFirst)
{
    Table t;
    t.SeatFour(0);
    t.client.game.WatchMode = true;
    t.client.game.Players[1].HandCount = 9;
    t.Deliver(HandStartFrame(1, {1, 1, 1, 1}));
    EXPECT_EQ(t.client.game.TableCleared, -1);
    EXPECT_EQ(t.client.game.Players[1].HandCount, 0);
}

TEST(Kind4, APlayersTableIsLeftToTheReadyStep)
{
    Table t;
    t.SeatFour(0);
    t.client.game.TableCleared = 0;
    t.Deliver(HandStartFrame(1, {1, 1, 1, 1}));
    EXPECT_EQ(t.client.game.TableCleared, 0);
}

TEST(Kind4, AFirstHandSeatedWithoutAResetFindsFreshRecords)
{
    Table t;
    t.SeatFour(0);
    t.Deliver(HandStartFrame(1, {1, 1, 1, 1}));
    for (int v = 0; v < 4; ++v) {
        const table::PlayerRecord& p = t.client.game.Players[static_cast<std::size_t>(v)];
        EXPECT_EQ(p.HandFirst, 4);
        EXPECT_EQ(p.MeldEnd, v == 0 ? 3 : 4);
        for (const table::TileSlot& s : p.Slots)
            EXPECT_EQ(s.Image, -1);
    }
}

// ---- Kind 13: betting-panel animation ----

TEST(Kind13, TwoStartsTheAnimation)
{
    Table t;
    window::MainForm& f = *t.client.MainForm;
    t.Deliver(Frame(13, 0, {2, 0, 0, 0}));
    EXPECT_FALSE(f.Picture_ani[0]->isHidden());
    EXPECT_EQ(t.client.game.PicAniRunning, -1);
    EXPECT_TRUE(f.Timer_ani->Enabled());
    EXPECT_EQ(f.Timer_ani->interval(), 1500);
    EXPECT_EQ(f.Timer_ani->Tag, QStringLiteral("0"));
}

TEST(Kind13, AnyOtherValueDoesNothing)
{
    Table t;
    t.Deliver(Frame(13, 0, {1, 0, 0, 0}));
    EXPECT_TRUE(t.client.MainForm->Picture_ani[0]->isHidden());
    EXPECT_EQ(t.client.game.PicAniRunning, 0);
}

// ---- Kind 14: wild tile ----

namespace {

struct WildTable : Table {
    WildTable()
    {
        SeatFour(0);
        Deliver(HandStartFrame(1, {1, 1, 1, 1})); // wall head 110
        window::MainForm& f = *client.MainForm;
        f.quoxaImg.SetPicture({1001, QImage(4, 4, QImage::Format_RGB32)});
        f.lianlaiImg.SetPicture({1002, QImage(4, 4, QImage::Format_RGB32)});
    }
};

} // namespace

TEST(Kind14, WithoutAStreakTheBadgeShowsAndNothingWaits)
{
    WildTable t;
    window::MainForm& f = *t.client.MainForm;
    const uint32_t before = t.clock.ms;
    t.Deliver(WildTileFrame(0, 0x23, 0x22)); // indicator 2 bamboo, wild 3 bamboo
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.clock.ms, before);
    EXPECT_EQ(f.Quoxa.PictureId(), 1001);
    EXPECT_TRUE(f.Quoxa.Visible && f.ZQ_Image.Visible && f.imgPiZi[0].Visible && f.imgPiZi[1].Visible);
    EXPECT_EQ(f.ZQ_Image.PictureId(), kTileGif + table::TilePicIndex(4, 0x23));
    EXPECT_EQ(t.client.table.WildTile, 0x23);
    EXPECT_EQ(t.client.table.PiZiTile, 0x22);
    EXPECT_EQ(t.client.results.WildStreakCount, 0);
    EXPECT_EQ(t.client.table.PiZiImage, 110);
    EXPECT_EQ(t.client.table.WallHead, 111);
    EXPECT_EQ(t.client.game.SeenTileCounts[1][2], 1);
    EXPECT_TRUE(f.MJ_Image[110].Visible);
    EXPECT_EQ(f.MJ_Image[110].PictureId(), kTileGif + table::TilePicIndex(108 / 34, 0x22));
}

TEST(Kind14, AStreakPlaysItsAnimationOnceAndWaitsForIt)
{
    WildTable t;
    window::MainForm& f = *t.client.MainForm;
    // Let real time pass in every wait, so that the animation plays.
    t.clock.onEvents = [] {
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    };
    const uint32_t before = t.clock.ms;
    t.Deliver(WildTileFrame(2, 0x15, 0x17));
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.results.WildStreakCount, 2);
    EXPECT_EQ(f.Quoxa.PictureId(), 1002);
    EXPECT_EQ(f.uc_lianLai->Action(), 0);
    EXPECT_EQ(f.uc_lianLai->LoopsPlayed(), 1);
    EXPECT_TRUE(f.uc_lianLai->Visible()); // left as it ended
    EXPECT_FALSE(f.img_lianLaiBack.Visible);
    EXPECT_LT(t.clock.ms - before, 4000u); // it ended before the bound
    EXPECT_EQ(t.client.table.WallHead, 111);
}

TEST(Kind14, TheWaitForTheAnimationIsBounded)
{
    WildTable t;
    // Events never run: the animation never gets to its end.
    const uint32_t before = t.clock.ms;
    t.Deliver(WildTileFrame(1, 0x15, 0x17));
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.MainForm->uc_lianLai->Action(), 1);
    EXPECT_GE(t.clock.ms - before, 5000u);
    EXPECT_LT(t.clock.ms - before, 5100u);
    EXPECT_FALSE(t.client.MainForm->img_lianLaiBack.Visible);
    EXPECT_EQ(t.client.table.WallHead, 111);
}

TEST(Kind14, ASpectatorCountsTheIndicatorToo)
{
    WildTable t;
    t.client.game.WatchMode = true;
    t.Deliver(WildTileFrame(0, 0x82, 0x81));
    EXPECT_EQ(t.client.game.SeenTileCounts[3][1], 1);
    EXPECT_EQ(t.client.table.WallHead, 111);
}

class WildTileBadTiles : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(WildTileBadTiles, TakeTheFailurePath)
{
    WildTable t;
    t.Deliver(WildTileFrame(0, GetParam().first, GetParam().second));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control14 ")});
    EXPECT_TRUE(t.process.ended);
}

INSTANTIATE_TEST_SUITE_P(Kind14, WildTileBadTiles,
                         testing::Values(std::pair{0x23, 0x20},   // indicator of rank 0
                                         std::pair{0x23, 0x2A},   // indicator of rank 10
                                         std::pair{0x8F, 0x22},   // wild tile of rank 15
                                         std::pair{0x03, 0x22})); // wild tile without suit

// ---- Kind 15: hands turned up ----

TEST(Kind15, TheFirstFrameWithWallTilesFillsThePreview)
{
    Table t;
    t.SeatFour(0);
    t.client.table.WallTail = 100;
    t.client.table.WallHead = 30;
    GameFrame f = Frame(15, 8);
    f[16] = 11, f[17] = 0, f[18] = 22, f[19] = 33, f[20] = 0;
    t.Deliver(f);
    GameState& g = t.client.game;
    EXPECT_EQ(g.ShownWallCount, 3);
    EXPECT_EQ(g.ShownWallTiles, (std::array<int16_t, 5>{11, 0, 22, 33, 0}));
    EXPECT_EQ(g.ShownWallPos[0], 100);
    EXPECT_EQ(g.ShownWallPos[1], 101); // even tail: the lower tile
    EXPECT_EQ(g.ShownWallPos[2], 30);
    EXPECT_EQ(g.ShownWallPos[3], 0); // only as many as the count

    GameFrame second = Frame(15, 4);
    second[16] = 44;
    t.Deliver(second);
    EXPECT_EQ(g.ShownWallCount, 3);
    EXPECT_EQ(g.ShownWallTiles[0], 11);
}

TEST(Kind15, AnOddTailStepsBackAStack)
{
    Table t;
    t.SeatFour(0);
    t.client.table.WallTail = 1;
    GameFrame f = Frame(15, 8);
    f[16] = 11, f[17] = 12;
    t.Deliver(f);
    EXPECT_EQ(t.client.game.ShownWallPos[0], 1);
    EXPECT_EQ(t.client.game.ShownWallPos[1], 134);
}

TEST(Kind15, AFrameWithoutWallTilesLeavesThePreviewToTheNext)
{
    Table t;
    t.SeatFour(0);
    t.Deliver(Frame(15, 8));
    EXPECT_EQ(t.client.game.ShownWallCount, 0);
    GameFrame f = Frame(15, 2);
    f[20] = 9;
    t.Deliver(f);
    EXPECT_EQ(t.client.game.ShownWallCount, 1);
}

TEST(Kind15, AnotherSeatsTilesAreTurnedUpInTheirOrder)
{
    Table t;
    t.SeatFour(0); // seat bit 8 is view 1
    // The other two seats still hide a tile: the hands are not laid out yet.
    t.client.game.Players[2].HandCount = 1;
    t.client.game.Players[3].HandCount = 1;
    table::PlayerRecord& p = t.client.game.Players[1];
    p.HandCount = 5;
    for (int i = 0; i < 5; ++i)
        p.Slots[static_cast<std::size_t>(p.HandFirst + i)].Image = static_cast<int16_t>(40 + i);
    t.Deliver(Frame(15, 8, {0x11, 0x12, 0x13, 0x14}));
    t.Deliver(Frame(15, 8, {0x21, 0x22, 0x23, 0x24}));
    const auto& r = t.client.game.RevealedTiles[1];
    EXPECT_EQ(r[0].Code, 0x14);
    EXPECT_EQ(r[3].Code, 0x11);
    EXPECT_EQ(r[4].Code, 0x24);
    EXPECT_EQ(r[5].Code, 0); // the hand held five
    EXPECT_EQ(p.HandCount, 0);
    EXPECT_EQ(p.Slots[4].TileCode, 0x14);
    EXPECT_EQ(t.client.MainForm->MJ_Image[40].PictureId(), kTileGif + table::TilePicIndex(1, 0x14));
    EXPECT_EQ(t.client.table.TileWidth[1], 45);
}

TEST(Kind15, TheLocalSeatsFrameStoresNothing)
{
    Table t;
    t.SeatFour(0);
    t.client.game.Players[0].HandCount = 4;
    t.Deliver(Frame(15, 1, {0x11, 0x12, 0x13, 0x14}));
    EXPECT_EQ(t.client.game.Players[0].HandCount, 4);
    EXPECT_EQ(t.client.table.TileWidth[0], 48);
    EXPECT_EQ(t.client.table.TileHeight[0], 60);
}

TEST(Kind15, MoreTilesThanTheRowHoldsTakeTheFailurePath)
{
    Table t;
    t.SeatFour(0);
    t.client.game.Players[1].HandCount = 30;
    for (int i = 0; i < 4; ++i) // the fourth frame would write past slot 17
        t.Deliver(Frame(15, 8, {0x11, 0x12, 0x13, 0x14}));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control15 ")});
    EXPECT_TRUE(t.process.ended);
}

TEST(Kind15, ASeatBitThatNamesNoSeatTakesTheFailurePath)
{
    Table t;
    t.SeatFour(0);
    t.Deliver(Frame(15, 3, {0x11, 0, 0, 0}));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control15 ")});
}
