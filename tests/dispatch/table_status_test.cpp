// The table status (kind 16): game over, players quitting, the game's start
// and players lacking gold.
#include "table_fixture.h"

#include "core/exit_windows.h"
#include "results/result_forms.h"
#include "window/main_form.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace dispatch_test;

namespace {

// Views 0-3 hold seat bits 1, 8, 4, 2 after SeatFour(0); nicknames by view.
struct Seated : Table {
    Seated() { SeatFour(0); }
    QString Nick(int view) const { return client.game.UserInfos[static_cast<std::size_t>(view)].Nickname; }
    // The leave frame went straight to the socket.
    bool LeaveSent() const
    {
        for (qsizetype at = 0; at + protocol::kFrameSize <= tcp.sent.size(); at += protocol::kFrameSize)
            if (tcp.sent[at + 3] == 16 && tcp.sent[at + 15] == 0)
                return true;
        return false;
    }
};

} // namespace

TEST(Kind16, EveryStatusStopsTheSpeechAnimationAndResetsTheExitWindow)
{
    Seated t;
    window::MainForm& f = *t.client.MainForm;
    f.Picture_ani[1]->show();
    f.Timer_ani->SetEnabled(true);
    f.Timer_ani->Tag = QStringLiteral("2");
    t.client.game.PicAniRunning = -1;
    t.client.frmExit->Label1.SetVisible(false);
    t.client.frmExit->Label3.SetCaption(QStringLiteral("x"));
    t.client.frmExit->Label3.SetVisible(true);
    t.Deliver(TableStatusFrame(1, 15));
    EXPECT_TRUE(f.Picture_ani[1]->isHidden());
    EXPECT_FALSE(f.Timer_ani->Enabled());
    EXPECT_EQ(f.Timer_ani->Tag, QStringLiteral("0"));
    EXPECT_EQ(t.client.game.PicAniRunning, 0);
    EXPECT_TRUE(t.client.frmExit->Label1.Visible);
    EXPECT_FALSE(t.client.frmExit->Label3.Visible);
    EXPECT_TRUE(t.client.frmExit->Label3.Caption.isEmpty());
}

// ---- Sub-code 2: the game starts ----

TEST(Kind16, TheGameStartsWithTheBankerAndTheReconnectId)
{
    Seated t;
    GameFrame f = TableStatusFrame(2, 4);
    PutLE(f, 268, 0x12345678, 4);
    t.client.rewards.BuyDeferred = 0;
    t.client.window.ShuffleStep = 3;
    t.Deliver(f);
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.MainForm->Zhuang.Caption, QStringLiteral("南"));
    EXPECT_EQ(t.client.game.Players[2].BankerMark, -1);
    EXPECT_EQ(t.client.game.Players[1].BankerMark, 0);
    EXPECT_EQ(t.client.core.ReconnectId, 0x12345678);
    EXPECT_EQ(t.client.game.GameRunning, -1);
    EXPECT_EQ(t.client.rewards.BuyDeferred, -1);
    EXPECT_EQ(t.client.window.ShuffleStep, 0);
    EXPECT_EQ(t.client.game.OtherSeatNames[1], QStringLiteral("dave"));
    EXPECT_EQ(t.client.game.OtherSeatNames[3], QStringLiteral("bob"));
}

TEST(Kind16, AReconnectIdWithTheTopBitSetIsKeptAsSent)
{
    Seated t;
    GameFrame f = TableStatusFrame(2, 4);
    PutLE(f, 268, 0x80000180u, 4);
    t.Deliver(f);
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(static_cast<uint32_t>(t.client.core.ReconnectId), 0x80000180u);
}

struct BankerCase {
    int seat;
    const char* wind;
};

class GameStartBanker : public testing::TestWithParam<BankerCase> {};

TEST_P(GameStartBanker, TheBankersWindIsShown)
{
    Seated t;
    t.Deliver(TableStatusFrame(2, GetParam().seat));
    EXPECT_EQ(t.client.MainForm->Zhuang.Caption, QString::fromUtf8(GetParam().wind));
}

INSTANTIATE_TEST_SUITE_P(Kind16, GameStartBanker,
                         testing::Values(BankerCase{1, "北"}, BankerCase{2, "西"}, BankerCase{4, "南"},
                                         BankerCase{8, "东"}));

class GameStartBadFields : public testing::TestWithParam<std::pair<int, uint32_t>> {};

TEST_P(GameStartBadFields, TakeTheFailurePath)
{
    Seated t;
    GameFrame f = TableStatusFrame(2, GetParam().first);
    PutLE(f, 268, GetParam().second, 4);
    t.Deliver(f);
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control16 ")});
    EXPECT_TRUE(t.process.ended);
}

INSTANTIATE_TEST_SUITE_P(Kind16, GameStartBadFields,
                         testing::Values(std::pair{0, 5u}, std::pair{6, 5u}, std::pair{3, 5u}));

// ---- Sub-code 0: game over ----

struct WealthCase {
    uint32_t multiplier;
    const char* caption; // nullptr: the labels are hidden
    float font;
};

class GameOverWealth : public testing::TestWithParam<WealthCase> {};

TEST_P(GameOverWealth, TheWealthLabelFollowsTheMultiplier)
{
    Seated t;
    GameFrame f = TableStatusFrame(0, 0, 1);
    PutLE(f, 16, GetParam().multiplier, 4);
    t.Deliver(f);
    window::MainForm& m = *t.client.MainForm;
    EXPECT_EQ(t.client.game.WealthMultiplier, static_cast<int32_t>(GetParam().multiplier));
    if (!GetParam().caption) {
        EXPECT_FALSE(m.lbwealth.Visible);
        EXPECT_FALSE(m.Imgwealth.Visible);
        return;
    }
    EXPECT_TRUE(m.lbwealth.Visible && m.Imgwealth.Visible);
    EXPECT_EQ(m.lbwealth.Caption, QString::fromUtf8(GetParam().caption));
    EXPECT_EQ(m.lbwealth.FontSize, GetParam().font);
}

INSTANTIATE_TEST_SUITE_P(Kind16, GameOverWealth,
                         testing::Values(WealthCase{5, "0.5", 16}, WealthCase{15, "1.5", 16}, WealthCase{20, "2", 16},
                                         WealthCase{25, "2.5", 16}, WealthCase{12345, "1234.5", 13},
                                         WealthCase{0, nullptr, 0}, WealthCase{0x7FFFFFFF, "214748364.7", 13}));

TEST(Kind16, AWealthOfTwoToTheThirtyFirstTakesTheFailurePath)
{
    Seated t;
    GameFrame f = TableStatusFrame(0);
    PutLE(f, 16, 0x80000000u, 4);
    t.Deliver(f);
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control16 ")});
}

TEST(Kind16, GameOverOfAGameNotRunningChangesOnlyTheStartAndTheWealth)
{
    Seated t;
    GameState& g = t.client.game;
    g.GameRunning = 0;
    g.InGame = -1;
    g.StartBlocked = 0;
    t.Deliver(TableStatusFrame(0, 0, 0, 1));
    EXPECT_EQ(g.StartBlocked, -1);
    EXPECT_EQ(g.InGame, -1);
    EXPECT_EQ(t.client.window.ShuffleShowOn, 0);
    EXPECT_EQ(g.NextGameReady, 0);
}

TEST(Kind16, GameOverWithTheSeatChangeShow)
{
    Seated t;
    GameState& g = t.client.game;
    window::MainForm& f = *t.client.MainForm;
    g.GameRunning = -1;
    g.InGame = -1;
    t.client.window.GameAdFile = QStringLiteral("http://ads.example/spring.gamead");
    g.StartBlocked = 0;
    f.ImgShuffle.Move(10, 10, 100, 40);
    t.Deliver(TableStatusFrame(0, 0, 1, 1));
    EXPECT_EQ(g.GameRunning, 0);
    EXPECT_EQ(g.InGame, 0);
    EXPECT_EQ(g.NextGameReady, -1);
    EXPECT_EQ(g.StartBlocked, 0);
    EXPECT_EQ(t.client.window.ShuffleShowOn, -1);
    EXPECT_EQ(t.client.window.ShuffleLabelOn, -1);
    EXPECT_TRUE(f.ImgShuffle.Visible && f.LblShuffle.Visible);
    EXPECT_EQ(f.ImgShuffle.Left, 136);
    EXPECT_EQ(f.ImgShuffle.Top, 520);
    EXPECT_EQ(f.LblShuffle.Caption, t.client.window.ShuffleCaptions[0]);
    EXPECT_TRUE(f.TimerShuffle->Enabled());
    EXPECT_EQ(t.client.window.WebBrowser2Panel.Address, t.client.window.GameAdFile);
    EXPECT_EQ(t.client.window.WebBrowser2Panel.Shown, -1);
    EXPECT_EQ(t.client.window.WebBrowser2Panel.Top, 560);
    EXPECT_EQ(t.client.window.WebBrowser2Panel.Height, 80);
}

TEST(Kind16, ASpectatorGetsNoSeatChangeShow)
{
    Seated t;
    t.client.game.WatchMode = true;
    t.client.game.GameRunning = -1;
    t.Deliver(TableStatusFrame(0, 0, 1, 1));
    EXPECT_EQ(t.client.game.GameRunning, 0);
    EXPECT_EQ(t.client.window.ShuffleShowOn, 0);
    EXPECT_EQ(t.client.game.NextGameReady, 0);
}

// ---- Sub-code 1: players quit ----

TEST(Kind16, NobodyQuittingChangesNothing)
{
    Seated t;
    t.client.game.InGame = -1;
    t.Deliver(TableStatusFrame(1, 15));
    EXPECT_EQ(t.client.game.InGame, -1);
    EXPECT_FALSE(t.process.ended);
}

struct QuitCase {
    const char* name;
    int stays;                  // Seat: the mask of the seats that stay
    std::vector<int> emptied;   // views cleared
    bool ends;                  // the local player quit
};

class PlayersQuit : public testing::TestWithParam<QuitCase> {};

TEST_P(PlayersQuit, EverySeatOfTheMaskIsHandled)
{
    Seated t;
    GameState& g = t.client.game;
    g.SeatedCount = 3;
    t.client.core.SchedReady.Start();
    std::array<QString, 4> nicks;
    for (int v = 0; v < 4; ++v)
        nicks[static_cast<std::size_t>(v)] = t.Nick(v);
    t.Deliver(TableStatusFrame(1, GetParam().stays));

    EXPECT_FALSE(t.client.core.SchedReady.On);
    EXPECT_EQ(g.InGame, 0);
    EXPECT_TRUE(t.client.core.LeaveAfterHand);
    if (GetParam().ends) {
        EXPECT_TRUE(t.process.ended);
        EXPECT_EQ(t.tcp.state, platform::TcpLink::Closed);
        EXPECT_FALSE(t.LeaveSent());
        EXPECT_TRUE(t.dialogs.texts.isEmpty());
        return;
    }
    EXPECT_FALSE(t.process.ended);
    QString names;
    for (int v = 1; v < 4; ++v) {
        const bool gone = std::count(GetParam().emptied.begin(), GetParam().emptied.end(), v) > 0;
        EXPECT_EQ(t.client.MainForm->Nid[v].Caption.isEmpty(), gone) << "view " << v;
        EXPECT_EQ(g.Players[static_cast<std::size_t>(v)].Name.isEmpty(), gone) << "view " << v;
        EXPECT_EQ(t.Nick(v).isEmpty(), gone) << "view " << v;
    }
    // Names in the order of the seat bits 1, 2, 4, 8 (views 0, 3, 2, 1).
    for (int v : {3, 2, 1})
        if (std::count(GetParam().emptied.begin(), GetParam().emptied.end(), v))
            names += nicks[static_cast<std::size_t>(v)] + QStringLiteral(",");
    EXPECT_EQ(g.SeatedCount, 3 - static_cast<int>(GetParam().emptied.size()));
    window::MainForm& f = *t.client.MainForm;
    EXPECT_TRUE(f.Sysmsg[0]->List(0).startsWith(names + QStringLiteral("退出了游戏！ ")));
    EXPECT_EQ(f.Sysmsg[1]->List(0), QStringLiteral("请您退出重新开始游戏."));
    EXPECT_FALSE(t.client.Hero->isHidden());
    EXPECT_EQ(t.client.frmOtherExit->Label1.Caption,
              QStringLiteral("玩家") + names + QStringLiteral("退出了游戏！游戏结束！"));
    EXPECT_FALSE(t.client.frmOtherExit->isHidden());
    EXPECT_TRUE(t.LeaveSent());
}

INSTANTIATE_TEST_SUITE_P(
    Kind16, PlayersQuit,
    testing::Values(QuitCase{"OneOtherSeat", 15 - 8, {1}, false},
                    QuitCase{"TwoOtherSeatsBothCleared", 15 - 8 - 2, {1, 3}, false},
                    QuitCase{"ThreeOtherSeats", 1, {1, 2, 3}, false}, QuitCase{"TheLocalPlayerAlone", 14, {}, true},
                    QuitCase{"TheLocalPlayerWithAHigherSeat", 15 - 1 - 8, {}, true},
                    QuitCase{"TheLocalPlayerWithALowerSeatWhenSeatedHigh", 15 - 1 - 2, {}, true}),
    [](const testing::TestParamInfo<QuitCase>& info) { return std::string(info.param.name); });

TEST(Kind16, TheQuitWaitsTwoSecondsBeforeTheNotice)
{
    Seated t;
    const double before = t.clock.seconds;
    double noticeAt = -1;
    t.clock.onEvents = [&] {
        if (noticeAt < 0 && !t.client.frmOtherExit->isHidden())
            noticeAt = t.clock.seconds;
    };
    t.Deliver(TableStatusFrame(1, 15 - 8));
    ASSERT_GE(noticeAt, 0); // the leave frame's own wait saw it
    EXPECT_GE(noticeAt - before, 2.0);
}

TEST(Kind16, ASpectatorsTableEndsWhenAPlayerQuits)
{
    Seated t;
    t.client.game.WatchMode = true;
    t.Deliver(TableStatusFrame(1, 15 - 4));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("有用户退出，旁观结束！")});
    EXPECT_TRUE(t.process.ended);
}

// ---- Sub-code 3 and more: not enough gold ----

TEST(Kind16, OtherSeatsLackingGoldLeaveTheClientAtTheTable)
{
    Seated t;
    t.tcp.sent.clear();
    t.Deliver(TableStatusFrame(3, 15 - 8 - 4));
    EXPECT_EQ(t.client.MainForm->Sysmsg[0]->List(0),
              QStringLiteral("玩家") + t.Nick(2) + QStringLiteral("，") + t.Nick(1) + QStringLiteral("金币不够，退出游戏！"));
    EXPECT_EQ(t.tcp.state, platform::TcpLink::Connected);
    EXPECT_TRUE(t.tcp.sent.isEmpty());
    EXPECT_FALSE(t.process.ended);
    EXPECT_FALSE(t.client.Score->isHidden());
    EXPECT_EQ(t.client.results.ScorePending, -1);
    EXPECT_EQ(t.client.game.InGame, 0);
}

TEST(Kind16, TheLocalPlayerLackingGoldLeavesTheTable)
{
    Seated t;
    GameState& g = t.client.game;
    const QString own = t.Nick(0);
    g.SeatedCount = 3;
    t.client.core.ReconnectArmed = true;
    t.Deliver(TableStatusFrame(4, 15 - 1));
    EXPECT_EQ(t.client.MainForm->Sysmsg[0]->ListCount(), 0); // emptied with the seats
    EXPECT_TRUE(t.client.core.LeaveAfterHand);
    EXPECT_EQ(t.client.frmOtherExit->Label1.Caption, QStringLiteral("您的金币不够，请领取低保或充值后继续游戏！"));
    EXPECT_FALSE(t.client.core.ReconnectArmed);
    EXPECT_EQ(t.tcp.state, platform::TcpLink::Closed);
    EXPECT_FALSE(t.client.core.SchedWatch.On);
    EXPECT_EQ(g.SeatedCount, 0);
    for (int v = 1; v < 4; ++v) {
        EXPECT_TRUE(g.Players[static_cast<std::size_t>(v)].Name.isEmpty());
        EXPECT_TRUE(g.OtherSeatNames[static_cast<std::size_t>(v)].isEmpty());
    }
    EXPECT_EQ(g.UserInfos[0].Nickname, own);
    EXPECT_FALSE(t.process.ended);
}

TEST(Kind16, TheSystemLineNamesTheLocalPlayerWithoutPlayerWord)
{
    Seated t;
    // The seats are emptied right after the line is written, and the box
    // with them: catch the line as it goes in.
    QStringList lines;
    platform::ListBox* box = t.client.MainForm->Sysmsg[0];
    QObject::connect(box->model(), &QAbstractItemModel::rowsInserted, box,
                     [&](const QModelIndex&, int first, int) { lines << box->List(first); });
    t.Deliver(TableStatusFrame(3, 15 - 1));
    EXPECT_EQ(lines, QStringList{t.Nick(0) + QStringLiteral("金币不够，退出游戏！")});
}

TEST(Kind16, TheRoomChangeTextWhenTheOwnSeatIsToldToMove)
{
    Seated t;
    t.Deliver(TableStatusFrame(3, 15 - 1, 1));
    EXPECT_EQ(t.client.frmOtherExit->Label1.Caption, QStringLiteral("您的金币不够，请更换房间或充值后继续游戏！"));
}

TEST(Kind16, TheWealthLabelShowsWhatTheEmptiedTableLeaves)
{
    Seated t;
    GameState& g = t.client.game;
    g.WealthMultiplier = 50;
    g.SeatWealth = {1500, 20, 30, 40};
    t.Deliver(TableStatusFrame(3, 15 - 1));
    EXPECT_EQ(t.client.MainForm->lbwealth.Caption, QStringLiteral("150"));
    EXPECT_EQ(t.client.MainForm->lbwealth.FontSize, 12);
    EXPECT_EQ(g.SeatWealth, (std::array<int32_t, 4>{1500, 0, 0, 0}));
}

TEST(Kind16, ASpectatorsTableEndsForLackOfGold)
{
    Seated t;
    t.client.game.WatchMode = true;
    t.Deliver(TableStatusFrame(3, 15 - 2));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("有用户退出，旁观结束！")});
    EXPECT_TRUE(t.process.ended);
}
