// The four seat results (kind 9) and the sixteen settlement frames (kind 17).
#include "table_fixture.h"

#include "results/result_forms.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace dispatch_test;

namespace {

// Views 0-3 hold seat bits 1, 8, 4, 2 after SeatFour(0).
constexpr std::array<int, 4> kBitOfView = {1, 8, 4, 2};

struct Seated : Table {
    Seated() { SeatFour(0); }

    void FourResults(std::array<int64_t, 4> amounts, const QString& lastText = {})
    {
        for (int v = 0; v < 4; ++v) {
            const int64_t a = amounts[static_cast<std::size_t>(v)];
            const uint64_t bytes = static_cast<uint64_t>(a < 0 ? -a : a);
            Deliver(SeatResultFrame(kBitOfView[static_cast<std::size_t>(v)], bytes, a < 0 ? 0 : 1, 0,
                                    v == 3 ? lastText : QStringLiteral("早先")));
        }
    }

    void SixteenSettlements(std::array<int64_t, 4> amounts)
    {
        for (int v = 0; v < 4; ++v)
            for (int k = 0; k < 4; ++k) {
                const int64_t a = amounts[static_cast<std::size_t>(v)];
                // Row 14 is the sign of the amount (byte 13 of the last frame).
                const int row14 = a >= 0 ? 1 : 0;
                Deliver(SettlementFrame(kBitOfView[static_cast<std::size_t>(v)], k,
                                        {100 * v + 4 * k, 100 * v + 4 * k + 1, k == 3 ? row14 : 100 * v + 4 * k + 2,
                                         100 * v + 4 * k + 3},
                                        static_cast<uint64_t>(a < 0 ? -a : a), a >= 0, 7));
            }
    }
};

} // namespace

// ---- Kind 9 ----

struct AmountCase {
    uint64_t bytes; // bytes 16-23, little-endian
    int notLoss;    // Data(1)
    int32_t amount;
};

class SeatResultAmount : public testing::TestWithParam<AmountCase> {};

TEST_P(SeatResultAmount, DecodesTheSignedAmount)
{
    Seated t;
    t.Deliver(SeatResultFrame(8, GetParam().bytes, GetParam().notLoss, 0));
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.game.Players[1].HandAmount, GetParam().amount);
}

INSTANTIATE_TEST_SUITE_P(
    Kind9, SeatResultAmount,
    testing::Values(AmountCase{0x100, 1, 256}, AmountCase{0x100, 0, -256}, AmountCase{~uint64_t{0}, 1, -1},
                    AmountCase{~uint64_t{0}, 0, 1}, AmountCase{0x7FFFFFFF, 1, 2147483647},
                    AmountCase{uint64_t(-int64_t{0x7FFFFFFF}), 1, -2147483647}, AmountCase{0, 0, 0}));

class SeatResultAmountOutOfRange : public testing::TestWithParam<uint64_t> {};

TEST_P(SeatResultAmountOutOfRange, TakesTheFailurePath)
{
    Seated t;
    GameFrame f = SeatResultFrame(8, GetParam(), 1, 0);
    f[260] = 0x33;
    t.Deliver(f);
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control9 ")});
    EXPECT_TRUE(t.process.ended);
    EXPECT_EQ(t.lobby.commands.back(), platform::LobbyLink::kScRestore);
    EXPECT_EQ(t.client.core.EchoToken[0], 0x33);
}

INSTANTIATE_TEST_SUITE_P(Kind9, SeatResultAmountOutOfRange,
                         testing::Values(uint64_t{0x80000000}, uint64_t(-int64_t{0x80000000}),
                                         uint64_t{0x7FFFFFFFFFFFFFFF}, uint64_t{0x8000000000000000},
                                         uint64_t{0x8100000000000000}));

struct FanCase {
    int byte;
    int fan;
};

class SeatResultFan : public testing::TestWithParam<FanCase> {};

TEST_P(SeatResultFan, AboveOneTwentyEightCountsBelowZero)
{
    Seated t;
    t.Deliver(SeatResultFrame(4, 0, 1, GetParam().byte));
    EXPECT_EQ(t.client.results.FanValues[2], GetParam().fan);
}

INSTANTIATE_TEST_SUITE_P(Kind9, SeatResultFan,
                         testing::Values(FanCase{200, -56}, FanCase{128, 128}, FanCase{129, -127}, FanCase{0, 0},
                                         FanCase{255, -1}));

TEST(Kind9, EveryResultArmsTheHoldBackAndClearsTheSeatsLists)
{
    Seated t;
    core::CoreState& s = t.client.core;
    s.HoldBackFrame1[3] = 45;
    t.client.Score->State[1]->AddItem(QStringLiteral("old"));
    t.client.Score->State[5]->AddItem(QStringLiteral("old"));
    t.client.Score->State[2]->AddItem(QStringLiteral("kept"));
    t.client.game.ZhahuShown = -1;
    GameFrame f = SeatResultFrame(8, 5, 1, 0);
    f[24] = 1;
    t.Deliver(f);
    EXPECT_TRUE(s.HoldBackArmed1 && s.HoldBackArmed2);
    EXPECT_EQ(s.HoldBackFrame1[3], 0);
    EXPECT_TRUE(s.KeepAliveHold);
    EXPECT_EQ(t.client.game.ZhahuShown, 0);
    EXPECT_EQ(t.client.Score->State[1]->ListCount(), 0);
    EXPECT_EQ(t.client.Score->State[5]->ListCount(), 0);
    EXPECT_EQ(t.client.Score->State[2]->ListCount(), 1);
    EXPECT_EQ(t.client.game.SeatFlags4[1], -1);
    EXPECT_EQ(t.client.game.ResultFrameCount, 1);
}

TEST(Kind9, ADrawnHandStartsTheReadyCountdownAtOnce)
{
    Seated t;
    GameState& g = t.client.game;
    g.InGame = -1;
    g.RoundNo = 3;
    t.client.results.HandResultText = QStringLiteral("earlier");
    t.FourResults({0, 0, 0, 0});
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(g.InGame, 0);
    EXPECT_EQ(g.ResultFrameCount, 0);
    EXPECT_EQ(t.client.results.HandResultText, QStringLiteral("earlier"));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.client.Score->State[static_cast<std::size_t>(i)]->List(0), QStringLiteral("      黄  庄"));
        EXPECT_EQ(t.client.Score->State[static_cast<std::size_t>(i + 4)]->List(0), QStringLiteral("最终分：0金币"));
        EXPECT_EQ(t.client.Hero->Grade[static_cast<std::size_t>(i)]->List(0), QStringLiteral("        0金币"));
        EXPECT_EQ(t.client.Score->ID[i].Caption, g.UserInfos[static_cast<std::size_t>(i)].Nickname);
    }
    EXPECT_EQ(t.client.Hero->Num->List(0), QStringLiteral("           3"));
    window::MainForm& f = *t.client.MainForm;
    EXPECT_EQ(f.Sysmsg[0]->List(0), QStringLiteral("请点击【继续】按钮继续游戏！"));
    EXPECT_EQ(f.Sysmsg[1]->List(0), QStringLiteral("游戏将在15秒内开始"));
    EXPECT_TRUE(t.client.core.SchedReady.On);
    EXPECT_EQ(g.Countdown, 15);
    EXPECT_EQ(f.Number.Caption, QStringLiteral("15"));
    EXPECT_TRUE(f.Number.Visible && f.Time_Img.Visible);
    EXPECT_FALSE(t.client.core.KeepAliveHold);
    EXPECT_FALSE(t.client.Score->isHidden());
    EXPECT_TRUE(f.Img_chip_bt.Enabled);
    EXPECT_EQ(f.Img_chip_bt.Tag, QStringLiteral("0"));
}

TEST(Kind9, ASpectatorsDrawnHandStartsNoCountdown)
{
    Seated t;
    t.client.game.WatchMode = true;
    t.FourResults({0, 0, 0, 0});
    EXPECT_FALSE(t.client.core.SchedReady.On);
    EXPECT_FALSE(t.client.core.KeepAliveHold);
}

TEST(Kind9, TheResultTextComesFromTheFourthFrame)
{
    Seated t;
    t.FourResults({30, -10, -10, -10}, QStringLiteral("自摸"));
    EXPECT_EQ(t.client.results.HandResultText, QStringLiteral("自摸"));
    EXPECT_FALSE(t.client.core.SchedReady.On);
}

TEST(Kind9, AResultTextWithoutAZeroEndsAtItsField)
{
    Seated t;
    t.FourResults({30, -10, -10, 0});
    GameFrame f = SeatResultFrame(2, 0, 1, 0);
    for (int i = 36; i <= 55; ++i)
        f[static_cast<std::size_t>(i)] = 'x';
    f[56] = 'y';
    t.client.game.ResultFrameCount = 3;
    t.Deliver(f);
    EXPECT_EQ(t.client.results.HandResultText, QString(20, QLatin1Char('x')));
}

TEST(Kind9, ZeroBytesInsideTheTextAreBlanks)
{
    Seated t;
    GameFrame f = SeatResultFrame(2, 9, 1, 0);
    Put(f, 36, QByteArray("ab\0\0cd", 6));
    t.client.game.ResultFrameCount = 3;
    t.Deliver(f);
    EXPECT_EQ(t.client.results.HandResultText, QStringLiteral("ab  cd"));
}

TEST(Kind9, ADeferredPurchaseGoesOutAtTheFourthFrame)
{
    Seated t;
    t.client.rewards.DeferredBuyOn = -1;
    t.client.rewards.DeferredBuy = 0x01020304;
    while (t.client.core.SendRing.HasFrame())
        t.client.core.SendRing.PopFrame();
    t.FourResults({10, -10, 0, 0});
    const std::vector<GameFrame> sent = t.Queued();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][3], 93);
    EXPECT_EQ(sent[0][16], 2);
    EXPECT_EQ(sent[0][17], 3);
    EXPECT_EQ(sent[0][21], 0x04);
    EXPECT_EQ(sent[0][24], 0x01);
    EXPECT_EQ(t.client.rewards.DeferredBuyOn, 0);
    EXPECT_EQ(t.client.rewards.DeferredBuy, 0);
}

TEST(Kind9, ADrawnHandWithoutAvatarNumbersTakesTheFailurePath)
{
    Seated t;
    t.client.results.SeatNamePics[2].PicIndex = QStringLiteral("x");
    t.FourResults({0, 0, 0, 0});
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control9 ")});
}

class SeatResultBadSeat : public testing::TestWithParam<int> {};

TEST_P(SeatResultBadSeat, TakesTheFailurePath)
{
    Seated t;
    t.Deliver(SeatResultFrame(GetParam(), 1, 1, 0));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control9 ")});
    EXPECT_EQ(t.client.game.ResultFrameCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Kind9, SeatResultBadSeat, testing::Values(0, 3, 12, 15));

// ---- Kind 17 ----

TEST(Kind17, SixteenFramesFillEveryColumnAndHandOverToTheScoreSheet)
{
    Seated t;
    GameState& g = t.client.game;
    t.FourResults({30, -10, -10, -10}, QStringLiteral("自摸"));
    t.client.core.KeepAliveHold = true;
    t.SixteenSettlements({30, -10, -10, -10});
    EXPECT_FALSE(t.Failed());
    for (int v = 0; v < 4; ++v) {
        const auto& column = g.HandResult[static_cast<std::size_t>(v)];
        for (int r = 0; r < 16; ++r) {
            if (r == 14)
                continue;
            ASSERT_EQ(column[static_cast<std::size_t>(r)], 100 * v + r) << "view " << v << " row " << r;
        }
        EXPECT_EQ(column[14], v == 0 ? 1 : 0);
        EXPECT_EQ(column[16], 4);
        EXPECT_EQ(g.HandSubtotals[static_cast<std::size_t>(v)], 7);
    }
    EXPECT_EQ(g.HandAmounts, (std::array<double, 4>{30, -10, -10, -10}));
    EXPECT_EQ(g.ResultFrameCount, 16);
    EXPECT_EQ(t.client.rewards.PropHandEndDue, -1);
    // The score sheet took over: its lists and the ready countdown.
    EXPECT_TRUE(t.client.core.SchedReady.On);
    EXPECT_FALSE(t.client.core.KeepAliveHold);
    EXPECT_EQ(g.Countdown, 15);
    EXPECT_EQ(t.client.Score->State[4]->ListCount(), 1);
    EXPECT_EQ(t.client.Hero->Grade[0]->ListCount(), 1);
    EXPECT_EQ(t.client.MainForm->Level[1].Caption, QStringLiteral("新手"));
}

// At a table whose game cannot go on (a player left, a notice came) the
// hand's end arms no ready countdown, so no ready command goes out by
// itself; the start button leads back to the lobby instead.
TEST(HandEnd, AtATableWhoseGameCannotGoOnNoReadyCountdownStarts)
{
    struct Case {
        const char* name;
        bool drawn;
        bool leaveAfterHand;
    };
    for (const Case& k : {Case{"drawn", true, false}, Case{"drawn, leaving", true, true},
                          Case{"won", false, false}, Case{"won, leaving", false, true}}) {
        Seated t;
        t.client.core.LeaveAfterHand = k.leaveAfterHand;
        if (k.drawn) {
            t.FourResults({0, 0, 0, 0});
        } else {
            t.FourResults({30, -10, -10, -10}, QStringLiteral("自摸"));
            t.SixteenSettlements({30, -10, -10, -10});
        }
        EXPECT_FALSE(t.Failed()) << k.name;
        EXPECT_EQ(t.client.core.SchedReady.On, !k.leaveAfterHand) << k.name;
        EXPECT_EQ(t.client.game.AnNiuPressed[2], 0) << k.name << ": the start button works";
        EXPECT_TRUE(t.client.core.LeaveAfterHand == k.leaveAfterHand) << k.name;
    }
}

TEST(Kind17, AFifthFrameOfASeatStoresNoRows)
{
    Seated t;
    for (int k = 0; k < 5; ++k)
        t.Deliver(SettlementFrame(8, k, {k, k, k, k}));
    EXPECT_EQ(t.client.game.HandResult[1][12], 3);
    EXPECT_EQ(t.client.game.HandResult[1][16], 5);
}

TEST(Kind17, TheRowsAreSignedWords)
{
    Seated t;
    t.Deliver(SettlementFrame(4, 0, {-1, -300, 32767, -32768}));
    const auto& column = t.client.game.HandResult[2];
    EXPECT_EQ(column[0], -1);
    EXPECT_EQ(column[1], -300);
    EXPECT_EQ(column[2], 32767);
    EXPECT_EQ(column[3], -32768);
}

TEST(Kind17, ByteThirteenGivesTheAmountItsSign)
{
    for (bool gain : {true, false}) {
        Seated t;
        t.client.game.ResultFrameCount = 3;
        t.Deliver(SettlementFrame(4, 3, {0, 0, 0, 0}, 0x0123456789AB, gain));
        EXPECT_EQ(t.client.game.HandAmounts[2], (gain ? 1 : -1) * double(0x0123456789AB));
    }
}

TEST(Kind17, AmountsOfSixtyFourBitsNeedNoLimit)
{
    Seated t;
    t.client.game.ResultFrameCount = 3;
    GameFrame f = SettlementFrame(4, 3, {0, 0, 0, 0}, 0, true, ~uint64_t{0});
    PutLE(f, 16, 0xFEFFFFFFFFFFFFFF, 8); // -(0x0100000000000000)
    t.Deliver(f);
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.game.HandAmounts[2], -72057594037927936.0);
    EXPECT_EQ(t.client.game.HandSubtotals[2], 18446744073709551615.0);
}

struct CapCase {
    int byte14;
    int byte87;
    int16_t before;
    int16_t cap;
};

class SettlementCapClass : public testing::TestWithParam<CapCase> {};

TEST_P(SettlementCapClass, TheFourthFrameOfASeatFixesIt)
{
    Seated t;
    t.client.game.CapClass[1] = GetParam().before;
    t.client.game.ResultFrameCount = 3;
    GameFrame f = SettlementFrame(8, 3, {0, 0, 0, 0});
    f[14] = static_cast<uint8_t>(GetParam().byte14);
    f[87] = static_cast<uint8_t>(GetParam().byte87);
    t.Deliver(f);
    EXPECT_EQ(t.client.game.CapClass[1], GetParam().cap);
}

INSTANTIATE_TEST_SUITE_P(Kind17, SettlementCapClass,
                         testing::Values(CapCase{0x06, 0, 0, 4}, CapCase{0x06, 1, 0, 16}, CapCase{0x10, 0, 2, 2},
                                         CapCase{0x01, 0, 0, 1}, CapCase{0x03, 0, 0, 2}, CapCase{0x0F, 0, 0, 8},
                                         CapCase{0x00, 0, 4, 4}));

TEST(Kind17, TheTextOfASpecialWin)
{
    Seated t;
    GameFrame f = SettlementFrame(8, 0, {0x0108, 0, 0, 0});
    Put(f, 16, QByteArray("ab\xBA\xFA", 4)); // "ab" and 胡
    t.Deliver(f);
    EXPECT_EQ(t.client.results.WinText, QStringLiteral("ab胡"));
}

TEST(Kind17, ASpecialWinTextWithoutAZeroStopsBeforeTheSubtotal)
{
    Seated t;
    GameFrame f = SettlementFrame(8, 0, {0x0108, 0, 0, 0}, 0, true, 0x4141414141414141);
    for (int i = 16; i < 78; ++i)
        f[static_cast<std::size_t>(i)] = 'w';
    t.Deliver(f);
    EXPECT_EQ(t.client.results.WinText, QString(62, QLatin1Char('w')));
}

TEST(Kind17, ALevelTitleOfEightCharactersNeedsNoZero)
{
    Seated t;
    t.client.game.ResultFrameCount = 3;
    GameFrame f = SettlementFrame(8, 3, {0, 0, 0, 0});
    PutGbk(f, 24, QStringLiteral("一二三四五六七八"));
    f[40] = 0xB0, f[41] = 0xA1; // past the field
    t.Deliver(f);
    EXPECT_EQ(t.client.game.UserInfos[1].LevelText, QStringLiteral("一二三四五六七八"));
}

TEST(Kind17, ABadSeatBitTakesTheFailurePath)
{
    Seated t;
    t.Deliver(SettlementFrame(6, 0, {1, 2, 3, 4}));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control17 ")});
    for (const auto& column : t.client.game.HandResult)
        EXPECT_EQ(column[16], 0);
}
