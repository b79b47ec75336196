// Kind 21: a user leaves the table, during a hand or between hands.

#include "dispatch/table_fixture.h"

#include "core/scheduler.h"
#include "support/fake_prop_plugin.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace dispatch_test;

namespace {

// The frame: the name at 16-31 (byte 16 always counts), the first-character
// flag at byte 8, the countdown length at byte 11.
GameFrame UserLeftFrame(const QByteArray& name, int flag = 0, int countdown = 0, int seat = 0)
{
    GameFrame f = Frame(21, seat);
    Put(f, 16, name.left(16));
    f[8] = static_cast<uint8_t>(flag);
    f[11] = static_cast<uint8_t>(countdown);
    return f;
}

// Four seated players, alice at seat 0; the others' names are GBK.
struct Seated : Table {
    window::MainForm& f = *client.MainForm;
    GameState& g = client.game;

    Seated()
    {
        SeatFour(0);
        const char* const names[4] = {nullptr, "李四", "王五", "赵六"};
        for (int v = 1; v < 4; ++v)
            g.Players[static_cast<std::size_t>(v)].Name = platform::gbk::Encode(QString::fromUtf8(names[v]));
        clock.seconds = 9 * 3600 + 5 * 60 + 30; // 9:05:30
    }
    QByteArray NameOf(int v) const { return client.game.Players[static_cast<std::size_t>(v)].Name; }
};

TEST(Kind21, TheLeavingSeatIsEmptied)
{
    Seated t;
    const QString nick = t.g.UserInfos[2].Nickname;
    const QByteArray account = t.g.UserInfos[2].Account;
    t.g.OtherSeatNames[2] = QStringLiteral("王五");
    t.f.OK[2].SetVisible(true);
    t.f.img_vip[2].SetVisible(true);
    t.client.rewards.PropAniState[2] = 3;
    const int16_t seated = t.g.SeatedCount;
    t.Deliver(UserLeftFrame(t.NameOf(2)));
    EXPECT_FALSE(t.Failed());
    EXPECT_TRUE(t.g.Players[2].Name.isEmpty());
    EXPECT_EQ(t.g.OtherSeatNames[2], QString());
    EXPECT_FALSE(t.f.OK[2].Visible);
    EXPECT_EQ(t.f.Tou[2].PictureId(), 0);
    EXPECT_EQ(t.f.Nid[2].Caption, QString());
    EXPECT_EQ(t.f.Cash[2].Caption, QString());
    EXPECT_EQ(t.f.Level[2].Caption, QString());
    EXPECT_FALSE(t.f.img_vip[2].Visible);
    EXPECT_EQ(t.client.rewards.PropAniState[2], 0);
    EXPECT_EQ(t.g.SeatedCount, seated - 1);
    // The record's own fields go, the account stays.
    EXPECT_EQ(t.g.UserInfos[2].Nickname, QString());
    EXPECT_EQ(t.g.UserInfos[2].Coins, 0);
    EXPECT_EQ(t.g.UserInfos[2].Account, account);
    ASSERT_EQ(t.f.Sysmsg[0]->ListCount(), 1);
    EXPECT_EQ(t.f.Sysmsg[0]->List(0), nick + QStringLiteral("退出了游戏 9:5:30"));
    EXPECT_EQ(t.f.Sysmsg[1]->ListCount(), 0);
    // The other seats keep their players; every seat bit is cleared.
    EXPECT_FALSE(t.g.Players[1].Name.isEmpty());
    EXPECT_FALSE(t.f.Nid[1].Caption.isEmpty());
    for (const table::PlayerRecord& p : t.g.Players)
        EXPECT_EQ(p.SeatBit, 0);
}

struct CountdownCase {
    const char* what;
    int16_t gameRunning;
    int countdownByte;
    int16_t f1Minimized;
    bool countdown;
    int16_t seconds;
};

class LeavingCountdown : public ::testing::TestWithParam<CountdownCase> {};

TEST_P(LeavingCountdown, RestartsTheReadyCountdownOnlyAfterARunningGame)
{
    Seated t;
    const CountdownCase k = GetParam();
    t.g.GameRunning = k.gameRunning;
    t.g.F1Minimized = k.f1Minimized;
    t.g.InGame = -1;
    t.g.Countdown = 0;
    t.client.core.SchedReady.Stop();
    t.Deliver(UserLeftFrame(t.NameOf(1), 0, k.countdownByte));
    EXPECT_EQ(t.client.core.SchedReady.On, k.countdown) << k.what;
    EXPECT_EQ(t.g.Countdown, k.seconds) << k.what;
    if (k.countdown) {
        EXPECT_EQ(t.f.Number.Caption, QString::number(k.seconds)) << k.what;
        EXPECT_TRUE(t.f.Number.Visible && t.f.Time_Img.Visible) << k.what;
        EXPECT_EQ(t.g.InGame, 0) << k.what;
    }
    // Afterwards the game counts as running in every case.
    EXPECT_EQ(t.g.GameRunning, -1) << k.what;
    EXPECT_TRUE(t.f.TimerKeepAlive->Enabled()) << k.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeavingCountdown,
    ::testing::Values(CountdownCase{"during a hand, byte 11 = 1", -1, 1, 0, true, 10},
                      CountdownCase{"during a hand, byte 11 = 0", -1, 0, 0, true, 15},
                      CountdownCase{"during a hand, byte 11 = 2", -1, 2, 0, true, 15},
                      CountdownCase{"during a hand, F1 pressed", -1, 1, -1, true, 1},
                      CountdownCase{"between hands", 0, 1, 0, false, 0}));

TEST(Kind21, TheLocalPlayersNameEndsTheClientAtOnce)
{
    Seated t;
    t.Deliver(UserLeftFrame("alice"));
    EXPECT_TRUE(t.process.ended);
    EXPECT_TRUE(t.dialogs.texts.isEmpty());
    EXPECT_TRUE(t.lobby.commands.empty());
    EXPECT_EQ(t.g.Players[1].SeatBit, 8); // nothing else was done
}

TEST(Kind21, TheFirstCharacterFlagTakesOneOff)
{
    Seated t;
    t.g.Players[3].Name = "A";
    GameFrame frame = UserLeftFrame("B", 1);
    t.Deliver(frame);
    EXPECT_TRUE(t.g.Players[3].Name.isEmpty());
}

TEST(Kind21, AFlaggedZeroTakesTheFailurePath)
{
    Seated t;
    t.Deliver(UserLeftFrame(QByteArray(), 1));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control21 ")});
    EXPECT_TRUE(t.process.ended);
}

TEST(Kind21, ANameOfNoSeatEmptiesNothingButTheRestRuns)
{
    Seated t;
    t.g.GameRunning = -1;
    t.f.cmdImpeach.SetVisible(true);
    t.g.ImpeachOffered = -1;
    t.Deliver(UserLeftFrame(platform::gbk::Encode(QStringLiteral("路人"))));
    EXPECT_FALSE(t.Failed());
    for (int v = 1; v < 4; ++v)
        EXPECT_FALSE(t.g.Players[static_cast<std::size_t>(v)].Name.isEmpty());
    EXPECT_FALSE(t.f.cmdImpeach.Visible);
    EXPECT_EQ(t.g.ImpeachOffered, 0);
    EXPECT_TRUE(t.client.core.SchedReady.On);
}

struct WealthCase {
    int32_t left; // the smallest wealth of the seats that stay
    const char* caption;
    float font;
};

class LeavingWealth : public ::testing::TestWithParam<WealthCase> {};

TEST_P(LeavingWealth, TheWealthLabelShowsTheSmallestLeft)
{
    Seated t;
    t.g.WealthMultiplier = 5;
    t.g.SeatWealth = {GetParam().left, 3, GetParam().left + 100, 0};
    t.Deliver(UserLeftFrame(t.NameOf(1)));
    EXPECT_EQ(t.g.SeatWealth[1], 0);
    EXPECT_EQ(t.f.lbwealth.Caption, QString::fromUtf8(GetParam().caption));
    EXPECT_EQ(t.f.lbwealth.FontSize, GetParam().font);
    EXPECT_TRUE(t.f.lbwealth.Visible && t.f.Imgwealth.Visible);
}

INSTANTIATE_TEST_SUITE_P(Values, LeavingWealth,
                         ::testing::Values(WealthCase{8, "0.5", 16}, WealthCase{15, "1.5", 16},
                                           WealthCase{20, "2", 16}, WealthCase{1234, "123.4", 13}));

TEST(Kind21, WithoutAWealthMultiplierTheBadgeIsHidden)
{
    Seated t;
    t.g.WealthMultiplier = 0;
    t.g.SeatWealth = {50, 60, 70, 80};
    t.f.lbwealth.SetVisible(true);
    t.f.Imgwealth.SetVisible(true);
    t.Deliver(UserLeftFrame(t.NameOf(3)));
    EXPECT_FALSE(t.f.lbwealth.Visible);
    EXPECT_FALSE(t.f.Imgwealth.Visible);
}

TEST(Kind21, ASpectatorsWatchEndsAfterTheSeatIsEmptied)
{
    Seated t;
    t.g.WatchMode = true;
    t.g.GameRunning = -1;
    t.Deliver(UserLeftFrame(t.NameOf(2)));
    EXPECT_TRUE(t.g.Players[2].Name.isEmpty());
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("有用户退出，旁观结束！")});
    EXPECT_TRUE(t.process.ended);
    EXPECT_FALSE(t.client.core.SchedReady.On); // no countdown while watching
}

TEST(Kind21, OnlyTheFirstLeaveOfAHandResetsThePlugin)
{
    Seated t;
    auto plugin = std::make_shared<testing_support::FakePropPlugin>();
    t.client.rewards.PropPlugin = plugin;
    t.client.rewards.PropPluginState = 1;
    t.g.HandStartedFlag = -1;
    t.client.rewards.LeaveResetDue = -1;
    t.f.Tou[3].SetVisible(false);
    t.Deliver(UserLeftFrame(t.NameOf(1)));
    t.Deliver(UserLeftFrame(t.NameOf(2)));
    EXPECT_EQ(plugin->Count(QStringLiteral("ClearUser")), 2);
    EXPECT_TRUE(plugin->calls.contains(QStringLiteral("ClearUser(1)")));
    EXPECT_TRUE(plugin->calls.contains(QStringLiteral("ClearUser(2)")));
    EXPECT_EQ(plugin->Count(QStringLiteral("rec_state")), 3);
    for (int v = 1; v <= 3; ++v)
        EXPECT_TRUE(plugin->calls.contains(QStringLiteral("rec_state(2, false, %1)").arg(v)));
    EXPECT_EQ(plugin->calls.filter(QStringLiteral("Ainit")), QStringList{QStringLiteral("Ainit(newzqp.xml)")});
    EXPECT_TRUE(t.f.Tou[3].Visible);
}

TEST(Kind21, ThePictureAnimationStops)
{
    Seated t;
    t.g.PicAniRunning = -1;
    t.f.Timer_ani->SetEnabled(true);
    t.Deliver(UserLeftFrame(t.NameOf(1)));
    EXPECT_EQ(t.g.PicAniRunning, 0);
    EXPECT_FALSE(t.f.Timer_ani->Enabled());
}

TEST(Kind21, HeldWhileAHandsResultIsShownThenTaken)
{
    Seated t;
    t.client.core.KeepAliveHold = true;
    t.f.TimerKeepAlive->SetEnabled(false);
    const GameFrame leave = UserLeftFrame(t.NameOf(2), 0, 0, 4);
    t.client.core.RecvRing.Append(leave.data(), protocol::kFrameSize);
    const GameFrame behind = Frame(22);
    t.client.core.RecvRing.Append(behind.data(), protocol::kFrameSize);
    t.client.core.SchedReceive.Start();
    for (int i = 0; i < 6; ++i)
        core::TimerBong_Timer(t.client);
    EXPECT_FALSE(t.g.Players[2].Name.isEmpty());
    EXPECT_EQ(t.client.core.RecvRing.Waiting(), 2 * protocol::kFrameSize);
    EXPECT_TRUE(t.f.TimerKeepAlive->Enabled());
    t.client.core.KeepAliveHold = false;
    for (int i = 0; i < 2; ++i)
        core::TimerBong_Timer(t.client);
    EXPECT_TRUE(t.g.Players[2].Name.isEmpty());
}

} // namespace
