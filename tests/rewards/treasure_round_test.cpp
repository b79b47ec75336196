// The treasure-box round of a hand's end: the pick with the mouse, the
// boxes' flights, the count-up of the gains, the stop of the plug-in or a
// new hand during a flight, and the hover over the own seat.

#include "chat/talk_form.h"
#include "results/result_forms.h"
#include "rewards/jade.h"
#include "rewards/prop_pump.h"
#include "rewards/prop_round.h"
#include "rewards/treasure.h"
#include "window/button_fixture.h"
#include "window/main_buttons.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using testing_support::ButtonTable;

namespace {

constexpr int kOpenX = 512;
constexpr int kOpenY = 384;

// A shown table whose plug-in runs with treasure boxes and has just handed
// over the local seat's prop result: a gain of 30 coins and one item.
struct BoxTable : ButtonTable {
    explicit BoxTable(int16_t interval = 100, int16_t steps = 3)
    {
        c.rewards.PropPluginState = 2;
        c.rewards.PropPluginReady = -1;
        for (int k = 0; k < 15; ++k)
            rewards::LoadBox(c, k);
        platform::PropPlugin::BaoInfo& bao = c.rewards.PropBaoInfo;
        for (int k = 0; k < 15; ++k)
            bao.BoxPositions[static_cast<std::size_t>(k)] = {200 + 80 * (k % 5), 420 + 60 * (k / 5)};
        bao.BoxOpenPoint = {kOpenX, kOpenY};
        bao.SeatPrizePoints = {{{480, 600}, {850, 350}, {480, 100}, {100, 350}}};
        bao.PropNoticePoint = {512, 160};
        bao.PropTimerSettings = {interval, steps};
        bao.ClosedBoxSize = {60, 50};
        bao.OpenBoxSize = {70, 60};
        c.rewards.PropSeatEntries[0][0] = QStringLiteral("我：");
        c.rewards.PropSeatEntries[1][0] = QStringLiteral("钻石×1");
        c.rewards.PropCoinDelta[0] = 30;
        c.rewards.PropSeatNames[0] = QStringLiteral("使用道具");
    }
    platform::Image& Box(int k) { return f.ImgProp[k]; }
    bool ScoreShown() const { return c.core.SchedReady.On; }
    // TimerProp's ticks until the result steps end, at most `most`.
    int RunResultSteps(int most = 50)
    {
        int ticks = 0;
        while (c.rewards.PropTimerOn && ticks < most) {
            rewards::TimerProp_Timer(c);
            ++ticks;
        }
        return ticks;
    }
};

// The chat history's lines.
QStringList History(BoxTable& t)
{
    QStringList lines;
    const platform::ListBox& list = *t.c.Talk->Text1;
    for (int i = 0; i < list.ListCount(); ++i)
        lines << list.List(i);
    return lines;
}

TEST(TreasureRound, TheLocalPlayerPicksABoxWithTheMouse)
{
    BoxTable t;
    rewards::PlayBaoXiang(t.c);
    ASSERT_EQ(t.c.rewards.TreasureCountdownOn, -1);
    ASSERT_TRUE(t.Box(2).Visible && t.Box(2).Enabled);
    const QPoint at = testing_support::CentreOf(t.Box(2));
    const uint32_t before = t.t.clock.ms;
    t.Click(at);
    t.Click(at); // a second click before the first is carried out
    EXPECT_EQ(t.c.rewards.PropMenuOpen, -1);
    QCoreApplication::processEvents();

    EXPECT_EQ(t.c.rewards.TreasurePicks[0], 2);
    // One flight of five steps of 37 ms, not two.
    EXPECT_EQ(t.t.clock.ms - before, 5u * 37u);
    EXPECT_EQ(t.Box(2).Left, kOpenX - 30);
    EXPECT_EQ(t.Box(2).Top, kOpenY - 25);
    for (int k = 0; k < 5; ++k)
        EXPECT_FALSE(t.Box(k).Visible) << k;
    EXPECT_EQ(t.plugin->calls.filter(QStringLiteral("ShowGif")), QStringList{QStringLiteral("ShowGif(1, true)")});
    EXPECT_TRUE(t.f.TimerProp->Enabled());
    EXPECT_EQ(t.f.TimerProp->interval(), 100);
    EXPECT_EQ(t.f.LbProp.ForeColor, 0x00FFFF);
    EXPECT_TRUE(t.f.LbProp.Visible);

    // The count-up: 0, then 10, then the exact lines.
    rewards::TimerProp_Timer(t.c);
    EXPECT_EQ(t.f.LbProp.Caption, QStringLiteral("我： 0金币"));
    rewards::TimerProp_Timer(t.c);
    EXPECT_EQ(t.f.LbProp.Caption, QStringLiteral("我：10金币"));
    EXPECT_FALSE(t.ScoreShown());
    rewards::TimerProp_Timer(t.c);
    EXPECT_EQ(t.c.rewards.PropTimerOn, 0);
    EXPECT_EQ(t.f.LbProp.Caption, QStringLiteral("我：30金币\n钻石×1"));
    EXPECT_EQ(History(t), (QStringList{QStringLiteral(" 我：30金币"), QStringLiteral(" 钻石×1")}));
    // The open box flew to the own seat, and the result followed.
    EXPECT_TRUE(t.Box(2).Visible);
    EXPECT_EQ(t.Box(2).Left, 480);
    EXPECT_EQ(t.Box(2).Top, 600);
    EXPECT_EQ(t.Box(2).Width, 70);
    EXPECT_TRUE(t.ScoreShown());
    EXPECT_TRUE(t.plugin->calls.contains(QStringLiteral("ShowGif(1, false)")));
    EXPECT_EQ(t.plugin->calls.filter(QStringLiteral("InitShowNext")), QStringList{QStringLiteral("InitShowNext(false)")});
    EXPECT_FALSE(t.f.LbProp.Visible);
    EXPECT_FALSE(t.f.TimerProp->Enabled());
}

TEST(TreasureRound, AClickWithoutTheBoxGameUnloadsTheBoxesMadeAtRunTime)
{
    BoxTable t;
    t.c.rewards.PropPluginState = 1;
    rewards::ImgProp_Click(t.c, 3);
    // Box 3's own click handler is still running: the unload comes after it.
    EXPECT_TRUE(t.f.ImgProp.Exists(3));
    QCoreApplication::processEvents();
    EXPECT_TRUE(t.f.ImgProp.Exists(0));
    for (int k = 1; k < 15; ++k)
        EXPECT_FALSE(t.f.ImgProp.Exists(k)) << k;
}

struct StepCase {
    const char* what;
    int16_t interval;
    int16_t steps;
    int ticks;        // TimerProp ticks until the final lines
    int timerInterval; // TimerProp's interval during the steps
};

class ResultSteps : public testing::TestWithParam<StepCase> {};

TEST_P(ResultSteps, EndInTheExactGainWithoutDividingByZero)
{
    const StepCase& s = GetParam();
    BoxTable t(s.interval, s.steps);
    rewards::OpenTreasureBoxes(t.c, 0);
    EXPECT_EQ(t.f.TimerProp->interval(), s.timerInterval) << s.what;
    for (float step : t.c.rewards.TreasureCoinStep)
        EXPECT_TRUE(std::isfinite(step)) << s.what;
    EXPECT_EQ(t.RunResultSteps(), s.ticks) << s.what;
    EXPECT_EQ(History(t), (QStringList{QStringLiteral(" 我：30金币"), QStringLiteral(" 钻石×1")})) << s.what;
    EXPECT_TRUE(t.ScoreShown()) << s.what;
}

INSTANTIATE_TEST_SUITE_P(Settings, ResultSteps,
                         testing::Values(StepCase{"three steps", 100, 3, 3, 100},
                                         StepCase{"no steps", 100, 0, 1, 100},
                                         StepCase{"a negative count", 100, -2, 1, 100},
                                         StepCase{"one step", 100, 1, 1, 100},
                                         StepCase{"no interval", 0, 2, 2, 1},
                                         StepCase{"a negative interval", -40, 2, 2, 1}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

class FlightAcrossTheWrap : public testing::TestWithParam<uint32_t> {};

TEST_P(FlightAcrossTheWrap, TakesItsFiveStepsOfThirtySevenMilliseconds)
{
    BoxTable t;
    t.t.clock.ms = GetParam();
    rewards::OpenTreasureBoxes(t.c, 4);
    EXPECT_EQ(static_cast<uint32_t>(t.t.clock.ms - GetParam()), 5u * 37u);
    EXPECT_EQ(t.Box(4).Left, kOpenX - 30);
    EXPECT_EQ(t.Box(4).Top, kOpenY - 25);
    EXPECT_EQ(t.c.rewards.PropTimerOn, -1);
}

INSTANTIATE_TEST_SUITE_P(Clocks, FlightAcrossTheWrap,
                         testing::Values(0u, 0x7FFFFFF0u, 0xFFFFFFFFu - 100u, 0xFFFFFFFFu - 36u, 0xFFFFFFFFu));

// Something that happens while a box is in flight.
enum class During { PluginStops, NewHand };

struct StopCase {
    During what;
    bool resultFlight; // the flight to the seat after the count-up, else the opening one
};

class StopDuringFlight : public testing::TestWithParam<StopCase> {};

TEST_P(StopDuringFlight, LeavesTheBoxesAloneAndEndsTheRound)
{
    const StopCase& s = GetParam();
    BoxTable t(100, 1);
    if (s.resultFlight)
        rewards::OpenTreasureBoxes(t.c, 1);
    // The stop comes while the flight waits for the second time.
    int rounds = 0;
    t.t.clock.onEvents = [&] {
        if (++rounds != 2)
            return;
        if (s.what == During::PluginStops) {
            rewards::ExitPropPlugin(t.c, 0);
        } else {
            t.c.game.PropRoundReset = 0;
            rewards::ResetPropRound(t.c);
        }
    };
    if (s.resultFlight)
        rewards::TimerProp_Timer(t.c);
    else
        rewards::OpenTreasureBoxes(t.c, 1);
    EXPECT_EQ(rounds, 2);
    EXPECT_EQ(t.c.rewards.PropTimerOn, 0);
    EXPECT_FALSE(t.ScoreShown());
    EXPECT_EQ(t.plugin->Count(QStringLiteral("InitShowNext")), s.what == During::NewHand ? 1 : 0);
    if (s.what == During::PluginStops) {
        EXPECT_FALSE(t.f.ImgProp.Exists(1));
        EXPECT_FALSE(t.f.TimerProp->Enabled());
    } else {
        EXPECT_FALSE(t.Box(1).Visible);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StopDuringFlight,
                         testing::Values(StopCase{During::PluginStops, false}, StopCase{During::PluginStops, true},
                                         StopCase{During::NewHand, false}, StopCase{During::NewHand, true}));

TEST(TreasureRound, TheOtherSeatsBoxesFlyToTheirSeats)
{
    BoxTable t(100, 2);
    t.c.rewards.PropSeatEntries = {};
    t.c.rewards.PropCoinDelta = {0, 0, 12, -5};
    t.c.rewards.PropSeatEntries[0][2] = QStringLiteral("对家");
    t.c.rewards.PropSeatEntries[0][3] = QStringLiteral("上家");
    t.c.rewards.PropSeatEntries[1][3] = QStringLiteral("金币卡|");
    rewards::PlayBaoXiang(t.c);
    const int16_t two = t.c.rewards.TreasurePicks[2];
    const int16_t three = t.c.rewards.TreasurePicks[3];
    ASSERT_GE(two, 0);
    ASSERT_LE(two, 4);
    ASSERT_GE(three, 5);
    ASSERT_LE(three, 9);
    rewards::OpenTreasureBoxes(t.c, -1);
    // Two flights to the centre.
    rewards::TimerProp_Timer(t.c);
    // A loss shows 0 while counting; the label width counts gains only.
    EXPECT_EQ(t.f.LbProp.Caption, QStringLiteral("对家 0金币\n上家 0金币"));
    rewards::TimerProp_Timer(t.c);
    EXPECT_EQ(t.f.LbProp.Caption, QStringLiteral("对家12金币\n上家-5金币\n金币卡\n"));
    EXPECT_EQ(t.Box(two).Left, 480);
    EXPECT_EQ(t.Box(two).Top, 100);
    EXPECT_EQ(t.Box(three).Left, 100);
    EXPECT_EQ(t.Box(three).Top, 350);
    EXPECT_TRUE(t.ScoreShown());
}

// ---- the next hand's reset and the plug-in's stop ---------------------------------

TEST(PropRoundReset, HidesTheLastHandsBoxesOncePerHand)
{
    BoxTable t;
    rewards::PlayBaoXiang(t.c);
    t.f.LbProp.SetVisible(true);
    rewards::ResetPropRound(t.c);
    for (int k = 0; k < 15; ++k)
        EXPECT_FALSE(t.Box(k).Visible || t.Box(k).Enabled) << k;
    EXPECT_FALSE(t.f.LbProp.Visible);
    EXPECT_EQ(t.f.LbProp.Caption, QString());
    EXPECT_EQ(t.c.rewards.PropSeatNames[0], QString());
    EXPECT_EQ(t.c.rewards.PropCoinDelta[0], 0);
    rewards::ResetPropRound(t.c);
    EXPECT_EQ(t.plugin->calls.filter(QStringLiteral("InitShowNext")), QStringList{QStringLiteral("InitShowNext(true)")});
}

TEST(PropExit, UnloadsTheRunTimeBoxesAndStopsTheResultSteps)
{
    BoxTable t;
    rewards::OpenTreasureBoxes(t.c, 0);
    ASSERT_EQ(t.c.rewards.PropTimerOn, -1);
    rewards::ExitPropPlugin(t.c, 0);
    EXPECT_EQ(t.c.rewards.PropTimerOn, 0);
    EXPECT_FALSE(t.f.TimerProp->Enabled());
    EXPECT_TRUE(t.f.ImgProp.Exists(0));
    EXPECT_FALSE(t.Box(0).Visible || t.Box(0).Enabled);
    for (int k = 1; k < 15; ++k)
        EXPECT_FALSE(t.f.ImgProp.Exists(k)) << k;
}

// ---- the video over the own seat ------------------------------------------------

TEST(OwnSeatVideo, AskedOnceOverTheLabelAndClosedBackOnTheTable)
{
    ButtonTable t;
    t.c.rewards.PropPluginState = 1;
    t.plugin->showZqVideoResult = true;
    platform::Label& label = t.f.Proponeself;
    // Over the own seat, as the seat's layout places it.
    label.Move(300, 560, 110, 120);
    label.SetVisible(true);
    label.Enabled = true;
    label.ZOrder(0);
    t.MoveTo(label);
    t.MoveTo(testing_support::CentreOf(label) + QPoint(2, 2));
    EXPECT_EQ(t.plugin->calls.filter(QStringLiteral("ShowZqVideo")),
              QStringList{QStringLiteral("ShowZqVideo(0, true, 0)")});
    EXPECT_EQ(t.c.rewards.PropOneSelfHover, 1);
    window::pic1_MouseMove(t.c, 5, 5);
    EXPECT_EQ(t.plugin->calls.filter(QStringLiteral("ShowZqVideo")).last(), QStringLiteral("ShowZqVideo(0, false, 0)"));
    EXPECT_EQ(t.c.rewards.PropOneSelfHover, 0);
    EXPECT_EQ(t.c.rewards.PropOneSelfShown, 0);
    // Outside the label, or with a stopped plug-in, nothing is asked.
    rewards::Proponeself_MouseMove(t.c, -1, 5);
    t.c.rewards.PropPluginState = 0;
    rewards::Proponeself_MouseMove(t.c, 5, 5);
    EXPECT_EQ(t.plugin->Count(QStringLiteral("ShowZqVideo")), 2);
}

} // namespace
