// The login reply (kind 18), the reconnect reply (kind 29), a server notice
// (kind 22) and the ready marks (kind 23).
#include "table_fixture.h"

#include "core/exit_windows.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace dispatch_test;

// ---- Kind 18: login reply ----

TEST(Kind18, AnAcceptedLoginOpensTheTable)
{
    Table t;
    GameState& g = t.client.game;
    core::CoreState& s = t.client.core;
    s.HoldBackArmed1 = s.HoldBackArmed2 = true;
    s.HoldBackFrame1[3] = 45;
    s.LoginPending = true;
    s.KeepAliveHold = true;
    g.HandStartedFlag = 1;
    g.RoundNo = 4;
    t.client.results.CumulativeAmounts = {1, 2, 3, 4};
    t.client.chat.WhisperSeat = 2;
    t.client.MainForm->Chat->SetText(QStringLiteral("half a line"));
    t.client.MainForm->ImgShowMatch.SetVisible(true);
    t.Deliver(LoginReplyFrame(1, 3, 0x15));

    EXPECT_FALSE(t.Failed());
    EXPECT_FALSE(s.HoldBackArmed1 || s.HoldBackArmed2);
    EXPECT_EQ(s.HoldBackFrame1[3], 0);
    EXPECT_FALSE(s.LoginPending);
    EXPECT_FALSE(s.KeepAliveHold);
    EXPECT_TRUE(s.ReconnectArmed);
    EXPECT_EQ(g.HandStartedFlag, 0);
    EXPECT_EQ(g.RoundNo, 0);
    EXPECT_EQ(t.client.results.CumulativeAmounts, (std::array<double, 4>{0, 0, 0, 0}));
    EXPECT_EQ(g.InputEnabled, -1);
    EXPECT_EQ(g.HoverEnabled, -1);
    EXPECT_EQ(g.TimeoutLimit, 3);
    EXPECT_EQ(g.CountdownStart, 5); // the low four bits
    EXPECT_EQ(t.client.chat.WhisperSeat, 0);
    window::MainForm& f = *t.client.MainForm;
    EXPECT_TRUE(f.Chat->Text().isEmpty());
    EXPECT_FALSE(f.ImgShowMatch.Visible);
    EXPECT_TRUE(f.TimerKeepAlive->Enabled());
    EXPECT_EQ(f.Sysmsg[0]->List(0), QStringLiteral("连接服务器成功！"));
    EXPECT_TRUE(f.Sysmsg[1]->List(0).startsWith(QStringLiteral("欢迎进入Brannoch ")));
    EXPECT_EQ(t.lobby.posted, (std::vector<uint32_t>{0x303}));
    EXPECT_TRUE(t.client.window.GameAdName.isEmpty());
}

TEST(Kind18, HostedPlayCountsDownFromTwo)
{
    Table t;
    t.client.game.AutoPlay = -1;
    t.Deliver(LoginReplyFrame(1, 0, 0x15));
    EXPECT_EQ(t.client.game.CountdownStart, 2);
}

struct RefusalCase {
    int result;
    const char* text;
};

class LoginRefused : public testing::TestWithParam<RefusalCase> {};

TEST_P(LoginRefused, TheLobbyIsToldAndTheClientEnds)
{
    Table t;
    t.Deliver(LoginReplyFrame(GetParam().result));
    EXPECT_EQ(t.lobby.posted, (std::vector<uint32_t>{0x16}));
    EXPECT_EQ(t.lobby.commands, (std::vector<uint32_t>{platform::LobbyLink::kScRestore}));
    EXPECT_TRUE(t.process.ended);
    EXPECT_EQ(t.client.MainForm->Sysmsg[0]->List(0), QString::fromUtf8(GetParam().text));
    EXPECT_TRUE(t.dialogs.texts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Kind18, LoginRefused,
                         testing::Values(RefusalCase{2, "启动游戏失败，请重新在大厅就座后进入游戏！"},
                                         RefusalCase{0, "验证错误，请重新登陆游戏！"},
                                         RefusalCase{3, "验证错误，请重新登陆游戏！"}));

struct AdCase {
    const char* name;
    QByteArray ad;
    bool taken; // a web panel shows it and the ad file follows
};

class LoginAdvertisement : public testing::TestWithParam<AdCase> {};

TEST_P(LoginAdvertisement, OnlyWebAddressesReachAWebPanel)
{
    Table t;
    window::WindowState& w = t.client.window;
    w.GameAdFile = QStringLiteral("earlier.gamead");
    t.Deliver(LoginReplyFrame(1, 0, 8, GetParam().ad));
    EXPECT_EQ(w.GameAdName, QString::fromLatin1(GetParam().ad));
    if (GetParam().taken) {
        EXPECT_EQ(w.WebBrowser1Panel.Address, QString::fromLatin1(GetParam().ad));
        EXPECT_EQ(w.WebBrowser1Panel.Shown, -1);
        EXPECT_EQ(w.GameAdFile, QString::fromLatin1(GetParam().ad) + QStringLiteral(".gamead"));
    } else {
        EXPECT_TRUE(w.WebBrowser1Panel.Address.isEmpty());
        EXPECT_EQ(w.WebBrowser1Panel.Shown, 0);
        EXPECT_EQ(w.GameAdFile, QStringLiteral("earlier.gamead"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kind18, LoginAdvertisement,
    testing::Values(AdCase{"Http", "http://ads.example/spring", true},
                    AdCase{"Https", "HTTPS://ads.example/a?b=1", true}, AdCase{"None", "", false},
                    AdCase{"PlainName", "spring", false}, AdCase{"Script", "javascript:alert(1)", false},
                    AdCase{"File", "file:///etc/passwd", false}, AdCase{"NoHost", "http:///x", false}),
    [](const testing::TestParamInfo<AdCase>& info) { return std::string(info.param.name); });

TEST(Kind18, AnAdvertisementNameFillingItsFieldIsReadWhole)
{
    Table t;
    QByteArray ad = "http://ads.example/";
    ad += QByteArray(100 - ad.size(), 'a');
    GameFrame f = LoginReplyFrame(1, 0, 8, ad);
    f[116] = 'Z';
    t.Deliver(f);
    EXPECT_EQ(t.client.window.GameAdName.size(), 100);
    EXPECT_EQ(t.client.window.GameAdName, QString::fromLatin1(ad));
}

// ---- Kind 29: reconnect reply ----

TEST(Kind29, AReconnectResumesPlay)
{
    Table t;
    t.client.game.InputEnabled = 0;
    t.client.game.PicAniRunning = -1;
    t.client.MainForm->Picture_ani[0]->show();
    t.client.core.EchoToken = {1, 2};
    GameFrame f = Frame(29, 0, {0, 0, 0, 1});
    f[260] = 9;
    t.Deliver(f);
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.game.InputEnabled, -1);
    EXPECT_TRUE(t.client.core.QuickLeave);
    EXPECT_EQ(t.client.game.PicAniRunning, 0);
    EXPECT_TRUE(t.client.MainForm->Picture_ani[0]->isHidden());
    EXPECT_EQ(t.client.MainForm->Sysmsg[0]->List(0), QStringLiteral("正在重连服务器，请等待...！"));
    EXPECT_EQ(t.client.core.EchoToken[0], 1); // the reply carries no token
}

TEST(Kind29, AFailedReconnectEndsTheClient)
{
    Table t;
    t.Deliver(Frame(29, 0, {0, 0, 0, 0}));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("重连服务器失败，退出后请重新入座！")});
    EXPECT_EQ(t.lobby.commands, (std::vector<uint32_t>{platform::LobbyLink::kScRestore}));
    EXPECT_TRUE(t.process.ended);
}

// ---- Kind 22: server notice ----

namespace {

GameFrame Notice(const QByteArray& bytes)
{
    GameFrame f = Frame(22);
    Put(f, 16, bytes);
    return f;
}

} // namespace

TEST(Kind22, TheNoticeSendsThePlayerAway)
{
    Table t;
    t.SeatFour(0);
    t.client.core.SchedReady.Start();
    t.client.core.SchedWatch.Start();
    t.client.game.InGame = -1;
    const double before = t.clock.seconds;
    t.tcp.sent.clear();
    t.Deliver(Notice(QByteArray("ab\xBA\xFA", 4)));
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.frmOtherExit->Label1.Caption, QStringLiteral("ab胡"));
    EXPECT_FALSE(t.client.frmOtherExit->isHidden());
    EXPECT_GE(t.clock.seconds - before, 2.0);
    EXPECT_EQ(t.tcp.sent.size(), protocol::kFrameSize); // the leave frame
    EXPECT_EQ(t.tcp.sent[3], 16);
    EXPECT_FALSE(t.client.core.SchedReady.On || t.client.core.SchedWatch.On);
    EXPECT_TRUE(t.client.core.LeaveAfterHand);
    EXPECT_EQ(t.client.game.InGame, 0);
    for (int v = 0; v < 4; ++v)
        EXPECT_TRUE(t.client.MainForm->Tou[v].GetPicture().isNull());
}

TEST(Kind22, ANoticeWithoutAZeroStopsAtItsField)
{
    Table t;
    t.Deliver(Notice(QByteArray(200, 'n') + 'X'));
    EXPECT_EQ(t.client.frmOtherExit->Label1.Caption, QString(200, QLatin1Char('n')));
}

TEST(Kind22, ALeadByteAtTheLastPlaceTakesItsTrailBeyond)
{
    Table t;
    t.Deliver(Notice(QByteArray(199, 'n') + QByteArray("\xBA\xFA", 2)));
    EXPECT_EQ(t.client.frmOtherExit->Label1.Caption, QString(199, QLatin1Char('n')) + QStringLiteral("胡"));
}

// ---- Kind 23: ready marks ----

namespace {

struct AfterAHand : Table {
    AfterAHand()
    {
        SeatFour(0); // views 1, 2, 3: dave, carol, bob
        client.game.HandStartedFlag = 1;
        client.game.TableCleared = 0;
    }
};

} // namespace

TEST(Kind23, ANamedPlayerGetsItsReadyMark)
{
    AfterAHand t;
    t.Deliver(ReadyFrame("carol"));
    EXPECT_TRUE(t.client.MainForm->OK[2].Visible);
    EXPECT_FALSE(t.client.MainForm->OK[1].Visible);
    EXPECT_EQ(t.client.game.TableCleared, 0);
}

TEST(Kind23, TheThreeOtherMarksClearTheTableForTheNextHand)
{
    AfterAHand t;
    t.client.game.Players[2].HandCount = 5;
    for (const char* name : {"dave", "carol", "bob"})
        t.Deliver(ReadyFrame(name));
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.game.TableCleared, -1);
    EXPECT_EQ(t.client.game.AnNiuPressed[2], -1);
    EXPECT_EQ(t.client.game.Players[2].HandCount, 0);
    EXPECT_EQ(t.client.MainForm->AnNiu[2].PictureId(), 107);
}

TEST(Kind23, BeforeTheFirstHandTheTableIsNotCleared)
{
    AfterAHand t;
    t.client.game.HandStartedFlag = 0;
    for (const char* name : {"dave", "carol", "bob"})
        t.Deliver(ReadyFrame(name));
    EXPECT_EQ(t.client.game.TableCleared, 0);
}

TEST(Kind23, TheLocalMarkDoesNotCount)
{
    AfterAHand t;
    for (const char* name : {"alice", "carol", "bob"})
        t.Deliver(ReadyFrame(name));
    EXPECT_TRUE(t.client.MainForm->OK[0].Visible);
    EXPECT_EQ(t.client.game.TableCleared, 0);
}

TEST(Kind23, ANotReadyFrameStillRunsTheCheck)
{
    AfterAHand t;
    for (int v = 1; v < 4; ++v)
        t.client.MainForm->OK[v].SetVisible(true);
    t.Deliver(ReadyFrame("nobody", 0));
    EXPECT_EQ(t.client.game.TableCleared, -1);
}

TEST(Kind23, ASeatWithoutANameLabelGetsNoMark)
{
    AfterAHand t;
    t.client.MainForm->Nid[3].SetCaption(QString());
    t.Deliver(ReadyFrame("bob"));
    EXPECT_FALSE(t.client.MainForm->OK[3].Visible);
}
