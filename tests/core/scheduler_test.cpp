#include "core/scheduler.h"

#include "core/countdowns.h"
#include "core/exit_windows.h"
#include "core/messages.h"
#include "core/reconnect.h"
#include "core/rings.h"
#include "results/result_forms.h"
#include "chat/talk_form.h"
#include "support/fake_prop_plugin.h"
#include "support/frame_builder.h"
#include "support/test_client.h"
#include "window/main_form.h"
#include "window/notice_forms.h"

#include <gtest/gtest.h>

using namespace core;
using namespace protocol;
using testing_support::Bytes;
using testing_support::FrameBuilder;
using testing_support::ServerFrame;
using testing_support::TestClient;

namespace {

// A client that has logged in: connected, seat 2, the scheduler running.
struct Connected : TestClient {
    Connected()
    {
        tcp.state = platform::TcpLink::Connected;
        client.game.Players[0].SeatBit = 2;
        client.game.InputEnabled = -1;
    }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            TimerBong_Timer(client);
    }
    QByteArray TakeSent()
    {
        QByteArray b = tcp.sent;
        tcp.sent.clear();
        return b;
    }
    void Queue(int kind, int word = 0)
    {
        GameFrame f = ServerFrame(kind, {{8, word >> 8}, {9, word & 0xFF}});
        SendRawFrame(client, f);
    }
};

// Frames numbered in their first header word.
QByteArray NumberedFrame(int n) { return Bytes(FrameBuilder(MsgDraw).Word(0, n)); }

std::vector<int> Serials(int count)
{
    std::vector<int> v(static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n)
        v[static_cast<std::size_t>(n)] = n;
    return v;
}

// Records the number of every frame handed to the dispatcher.
void RecordDispatched(Connected& t, std::vector<int>& taken)
{
    t.client.core.Hooks.Dispatch = [&t, &taken](const GameCmd&) {
        const auto& f = t.client.core.RecvFrame;
        taken.push_back(f[frame_byte::Data] << 8 | f[frame_byte::Data + 1]);
    };
}

} // namespace

TEST(Scheduler, FramesGoOutOnePerTickInOrder)
{
    Connected t;
    for (int k : {24, 16, 7}) {
        GameCmd cmd;
        cmd.Kind = static_cast<int16_t>(k);
        SendMsg(t.client, cmd);
    }
    t.Tick();
    QByteArray first = t.TakeSent();
    ASSERT_EQ(first.size(), 272);
    EXPECT_EQ(first[3], 24);
    t.Tick();
    EXPECT_EQ(t.TakeSent()[3], 16);
    t.Tick();
    EXPECT_EQ(t.TakeSent()[3], 7);
    t.Tick();
    EXPECT_TRUE(t.TakeSent().isEmpty());
    EXPECT_FALSE(t.client.core.SchedSend.On); // switched itself off
    EXPECT_TRUE(t.client.MainForm->TimerBong->Enabled());
}

TEST(Scheduler, NothingIsSentWhileDisconnectedAndFramesStayQueued)
{
    Connected t;
    t.tcp.state = platform::TcpLink::Closed;
    t.client.core.SchedWatch.On = false;
    GameCmd cmd;
    cmd.Kind = CmdKeepAlive;
    SendMsg(t.client, cmd);
    t.Tick(3);
    EXPECT_TRUE(t.TakeSent().isEmpty());
    EXPECT_FALSE(t.client.core.SchedSend.On);
    EXPECT_EQ(t.client.core.SendRing.Waiting(), 272);
    t.tcp.state = platform::TcpLink::Connected;
    SendMsg(t.client, cmd); // the next frame switches the task on again
    t.Tick(2);
    EXPECT_EQ(t.TakeSent().size(), 544);
}

TEST(Scheduler, ReceiveEverySecondTickAndEveryTickWhileBacklogged)
{
    Connected t;
    QByteArray burst;
    for (int i = 0; i < 10; ++i)
        burst += Bytes(ServerFrame(5, {{260, i + 1}}));
    t.tcp.Arrive(burst);
    std::vector<int> tokens;
    for (int tick = 1; tick <= 12; ++tick) {
        const uint8_t before = t.client.core.EchoToken[0];
        t.Tick();
        if (t.client.core.EchoToken[0] != before)
            tokens.push_back(tick);
    }
    // First frame two ticks after the arrival, then one per tick.
    EXPECT_EQ(tokens, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(Scheduler, ArrivalsEvery20msDoNotPostponeTheReceive)
{
    Connected t;
    std::vector<int> taken;
    RecordDispatched(t, taken);
    // A frame every 20 ms for 10 s, the scheduler ticking every 50 ms.
    int arrived = 0;
    while (t.clock.ms < 10000) {
        if (t.clock.ms % 20 == 0)
            t.tcp.Arrive(NumberedFrame(arrived++));
        if (t.clock.ms % kTickMs == 0 && t.clock.ms > 0)
            t.Tick();
        t.clock.Advance(10);
    }
    ASSERT_EQ(arrived, 500);
    // Taken at the scheduler's pace all along: the first on the second tick
    // after the first arrival, then one per tick, 198 in the 199 ticks.
    EXPECT_EQ(taken.size(), 198u);
    while (t.client.core.RecvRing.HasFrame() && t.clock.ms < 60000) {
        t.Tick();
        t.clock.Advance(kTickMs);
    }
    EXPECT_EQ(taken, Serials(500));
    EXPECT_FALSE(t.process.ended);
}

TEST(Scheduler, BurstBeyondTheRingIsTakenWholeAndTheClientStays)
{
    Connected t;
    std::vector<int> taken;
    RecordDispatched(t, taken);
    QByteArray burst;
    for (int n = 0; n < 10000; ++n)
        burst += NumberedFrame(n);
    t.tcp.Arrive(burst);
    EXPECT_EQ(t.client.core.RecvRing.Waiting(), kRingSize - 1);
    for (int tick = 0; tick < 10100 && taken.size() < 10000; ++tick)
        t.Tick();
    EXPECT_EQ(taken, Serials(10000));
    EXPECT_TRUE(t.tcp.incoming.isEmpty());
    EXPECT_EQ(t.client.core.RecvRing.Waiting(), 0);
    EXPECT_FALSE(t.process.ended);
    EXPECT_TRUE(t.lobby.commands.empty());
}

TEST(Scheduler, LoginTaskPostsWhileConnectingAndSendsOnceConnected)
{
    TestClient t;
    Client& c = t.client;
    c.core.LoginFrame[3] = 18;
    c.core.EchoToken = {7, 9};
    c.core.SchedLogin.Start();
    t.tcp.state = platform::TcpLink::Connecting;
    for (int i = 0; i < 8; ++i)
        TimerBong_Timer(c);
    EXPECT_EQ(t.lobby.posted, (std::vector<uint32_t>{0x16, 0x16})); // every fourth tick
    EXPECT_TRUE(t.tcp.sent.isEmpty());

    // Received bytes hold the login back.
    t.tcp.state = platform::TcpLink::Connected;
    c.core.RecvRing.Append(reinterpret_cast<const uint8_t*>("x"), 1);
    for (int i = 0; i < 4; ++i)
        TimerBong_Timer(c);
    EXPECT_TRUE(t.tcp.sent.isEmpty());
    c.core.RecvRing.Read = c.core.RecvRing.Write;

    for (int i = 0; i < 4; ++i)
        TimerBong_Timer(c);
    ASSERT_EQ(t.tcp.sent.size(), 272);
    EXPECT_EQ(t.tcp.sent[3], 18);
    EXPECT_EQ(t.tcp.sent[260], 7);
    EXPECT_EQ(t.tcp.sent[261], 9);
    EXPECT_EQ(t.lobby.posted.back(), 0x303u);
    EXPECT_TRUE(c.core.LoginPending);
    EXPECT_FALSE(c.core.SchedLogin.On);
    EXPECT_TRUE(c.core.SchedWatch.On);
    for (int i = 0; i < 8; ++i)
        TimerBong_Timer(c);
    EXPECT_EQ(t.tcp.sent.size(), 272); // once per connection
}

TEST(Scheduler, KeepAliveEveryFiveSeconds)
{
    Connected t;
    EXPECT_EQ(t.client.MainForm->TimerKeepAlive->interval(), 5000);
    TimerKeepAlive_Timer(t.client);
    t.Tick();
    const QByteArray f = t.TakeSent();
    ASSERT_EQ(f.size(), 272);
    EXPECT_EQ(f[3], 24);
    EXPECT_EQ(f[6], 2);
    EXPECT_EQ(f.count('\0'), 270);
}

TEST(Scheduler, PluginFramesAreHeldBackAcrossAHandsEnd)
{
    Connected t;
    CoreState& s = t.client.core;
    s.HoldBackArmed1 = s.HoldBackArmed2 = true;
    t.Queue(45, 1032); // first range: held
    t.Queue(45, 1039); // a second one goes out
    t.Queue(7, 1032);  // other kinds never wait
    t.Tick(3);
    const QByteArray sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 544);
    EXPECT_EQ(static_cast<uint8_t>(sent[9]), 0x0F);
    EXPECT_EQ(sent[272 + 3], 7);
    EXPECT_EQ(s.HoldBackFrame1[3], 45);
    EXPECT_FALSE(s.HoldBackArmed1);

    // The second range is held only while no hand is played.
    t.client.game.InGame = -1;
    t.Queue(45, 3088);
    t.Tick();
    EXPECT_EQ(t.TakeSent().size(), 272);
    t.client.game.InGame = 0;
    t.Queue(45, 3095);
    t.Tick();
    EXPECT_TRUE(t.TakeSent().isEmpty());
    EXPECT_EQ(s.HoldBackFrame2[9], 3095 & 0xFF);
}

TEST(Scheduler, LeavingUserIsHeldWhileTheHandsEndIsShown)
{
    Connected t;
    t.client.core.KeepAliveHold = true;
    t.tcp.Arrive(Bytes(ServerFrame(21, {{6, 4}, {260, 0x55}})) + Bytes(ServerFrame(5, {{260, 0x66}})));
    t.Tick(6);
    EXPECT_EQ(t.client.core.EchoToken[0], 0); // nothing dispatched
    EXPECT_EQ(t.client.core.RecvRing.Waiting(), 544);
    EXPECT_TRUE(t.client.MainForm->TimerKeepAlive->Enabled());
    t.client.core.KeepAliveHold = false;
    t.Tick();
    EXPECT_EQ(t.client.core.EchoToken[0], 0x55);
    t.Tick();
    EXPECT_EQ(t.client.core.EchoToken[0], 0x66);
}

TEST(Scheduler, LeavingLocalPlayerDoesNotStartTheKeepAlive)
{
    Connected t;
    t.client.core.KeepAliveHold = true;
    t.tcp.Arrive(Bytes(ServerFrame(21, {{6, 2}})));
    t.Tick(2);
    EXPECT_FALSE(t.client.MainForm->TimerKeepAlive->Enabled());
}

TEST(Scheduler, WatchOpensTheReconnectWindowOrEnds)
{
    {
        Connected t;
        t.client.core.SchedWatch.Start();
        t.tcp.state = platform::TcpLink::Closed;
        t.Tick(3);
        EXPECT_FALSE(t.process.ended); // no reconnect armed: keeps watching
        EXPECT_TRUE(t.client.core.SchedWatch.On);
        t.client.core.ReconnectArmed = true;
        t.Tick();
        EXPECT_FALSE(t.client.core.SchedWatch.On);
        EXPECT_TRUE(t.client.frmReconnect->Loaded);
        EXPECT_FALSE(t.client.frmReconnect->isVisible());
        EXPECT_EQ(t.client.game.InputEnabled, 0);
    }
    {
        Connected t;
        t.client.core.SchedWatch.Start();
        t.tcp.state = platform::TcpLink::Closed;
        t.lobby.exists = false;
        t.Tick();
        EXPECT_TRUE(t.process.ended);
    }
}

TEST(Reconnect, AttemptsWithTheReconnectIdUntilConnected)
{
    Connected t;
    Client& c = t.client;
    c.core.ConnectMode = 0;
    c.core.ServerHost = QStringLiteral("127.0.0.1");
    c.core.ServerPort = 7000;
    c.core.LoginFrame[3] = 18;
    c.core.LoginFrame[16] = 'a';
    c.core.ReconnectId = 384;
    c.core.EchoToken = {3, 4};
    t.tcp.state = platform::TcpLink::Closed;
    // Half a frame was received when the link dropped.
    const GameFrame whole = ServerFrame(5);
    c.core.RecvRing.Append(whole.data(), kFrameSize);
    c.core.RecvRing.Append(reinterpret_cast<const uint8_t*>("partial"), 7);

    OpenReconnectWindow(c);
    EXPECT_EQ(c.frmReconnect->lbTime.Caption, QStringLiteral("1 秒后自动重连"));
    TimerReconnect_Timer(c);
    EXPECT_FALSE(c.frmReconnect->TimerReconnect->Enabled());
    EXPECT_TRUE(c.frmReconnect->TimerCount->Enabled());

    TimerCount_Timer(c);
    EXPECT_EQ(c.core.ReconnectTries, 1);
    EXPECT_EQ(t.tcp.connects, 1);
    EXPECT_EQ(t.tcp.port, 7000);
    EXPECT_TRUE(c.core.SchedLogin.On);
    EXPECT_EQ(c.core.RecvRing.Waiting(), 272); // back to the last whole frame
    const GameFrame& f = c.core.LoginFrame;
    EXPECT_EQ(f[3], 28);
    EXPECT_EQ(f[16], 'a');
    EXPECT_EQ(f[260], 3);
    EXPECT_EQ(f[261], 4);
    EXPECT_EQ(f[268], 0x80);
    EXPECT_EQ(f[269], 0x01);
    EXPECT_EQ(f[270], 0);
    EXPECT_EQ(c.MainForm->Sysmsg[0]->List(0), QStringLiteral("正在重新连接服务器..."));

    t.tcp.state = platform::TcpLink::Connected;
    TimerCount_Timer(c);
    EXPECT_EQ(t.tcp.connects, 1);
    EXPECT_FALSE(c.frmReconnect->Loaded);
    EXPECT_FALSE(c.frmReconnect->TimerCount->Enabled());
}

TEST(Reconnect, GivesUpAfter2001Attempts)
{
    Connected t;
    Client& c = t.client;
    t.tcp.state = platform::TcpLink::Closed;
    c.core.ConnectMode = 3; // attempts that make no connection
    OpenReconnectWindow(c);
    for (int i = 0; i < 2001; ++i)
        TimerCount_Timer(c);
    EXPECT_FALSE(t.process.ended);
    TimerCount_Timer(c);
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("重连失败，请检查您的网络！")});
    EXPECT_EQ(t.lobby.commands.back(), 0xF120u);
    EXPECT_TRUE(t.process.ended);
}

TEST(Countdowns, DecisionCountsDownAndTimesOutOnce)
{
    Connected t;
    Client& c = t.client;
    t.client.window.Sound.SoundOn = -1;
    c.game.Countdown = 8;
    c.game.CountdownStart = 8;
    c.game.CountdownKindFlag = -1;
    c.game.TurnPhase = 0;
    c.core.SchedDecision.Start();
    c.game.Players[0].HandFirst = 4;
    std::vector<QString> shown;
    std::vector<int32_t> colours;
    for (int second = 0; second < 10; ++second) {
        t.clock.Advance(1000);
        t.Tick();
        shown.push_back(c.MainForm->Number.Caption);
        colours.push_back(c.MainForm->Number.ForeColor);
    }
    EXPECT_EQ(shown[0], QStringLiteral("7"));
    EXPECT_EQ(shown[7], QStringLiteral("0"));
    EXPECT_EQ(colours[1], 0xFF00);
    EXPECT_EQ(colours[2], 0xFF);
    EXPECT_EQ(t.sound.createRequests, 6); // 5 down to 0
    // One second after 0 the time-out passes, once.
    EXPECT_FALSE(c.core.SchedDecision.On);
    EXPECT_EQ(c.game.TurnPhase, 3);
    EXPECT_EQ(c.game.Countdown, 8);
    EXPECT_FALSE(c.MainForm->Number.Visible);
    t.Tick(2);
    const QByteArray sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 272);
    EXPECT_EQ(sent[3], 7);
    EXPECT_EQ(sent[9], 1);
    EXPECT_EQ(c.game.TimeoutCount, 1);
}

// The ready countdown starts on the clock in front; green digits, or the
// colour they had; a spectator gets none.
TEST(Countdowns, ReadyCountdownStartsOnTheClock)
{
    constexpr int32_t kRed = 0xFF, kGreen = 0xFF00;
    struct Case {
        const char* what;
        bool watch;
        table::ClockColour colour;
        bool started;
        int32_t foreColour;
    };
    for (const Case& k : {Case{"green", false, table::ClockColour::Green, true, kGreen},
                          Case{"colour kept", false, table::ClockColour::Unchanged, true, kRed},
                          Case{"spectator", true, table::ClockColour::Green, false, kRed}}) {
        Connected t;
        Client& c = t.client;
        window::MainForm& f = *c.MainForm;
        c.game.WatchMode = k.watch;
        f.Number.ForeColor = kRed;
        f.Number.Visible = f.Time_Img.Visible = false;
        const QString before = f.Number.Caption;
        StartReadyCountdown(c, 10, k.colour);
        EXPECT_EQ(c.core.SchedReady.On, k.started) << k.what;
        EXPECT_EQ(c.game.Countdown, k.started ? 10 : 0) << k.what;
        EXPECT_EQ(f.Number.Caption, k.started ? QStringLiteral("10") : before) << k.what;
        EXPECT_EQ(f.Number.ForeColor, k.foreColour) << k.what;
        EXPECT_EQ(f.Number.Visible, k.started) << k.what;
        EXPECT_EQ(f.Time_Img.Visible, k.started) << k.what;
    }
}

TEST(Countdowns, AnotherSeatsCountdownJustCloses)
{
    Connected t;
    Client& c = t.client;
    c.game.Countdown = 1;
    c.game.CountdownStart = 8;
    c.core.SchedDecision.Start();
    for (int s = 0; s < 3; ++s) {
        t.clock.Advance(1000);
        t.Tick();
    }
    EXPECT_FALSE(c.core.SchedDecision.On);
    t.Tick(2);
    EXPECT_TRUE(t.TakeSent().isEmpty());
}

TEST(Countdowns, TimeoutLimitPressesF1)
{
    struct Case {
        int limit;
        bool minimized;
        int16_t pluginState;
        bool pressed;
        int pluginF1; // SetKeyDown(112): the countdown's own, then the table's boss key
    };
    for (const Case& k : {Case{3, false, 0, true, 0}, Case{0, false, 0, false, 0}, Case{3, true, 0, false, 0},
                          Case{3, false, 1, true, 2}, Case{3, false, -1, true, 0}, Case{0, false, 1, false, 0},
                          Case{3, true, 2, false, 0}}) {
        Connected t;
        Client& c = t.client;
        auto plugin = std::make_shared<testing_support::FakePropPlugin>();
        c.rewards.PropPlugin = plugin;
        c.rewards.PropPluginState = k.pluginState;
        c.game.TimeoutLimit = static_cast<int16_t>(k.limit);
        c.game.F1Minimized = k.minimized ? -1 : 0;
        c.game.TimeoutCount = 2;
        c.game.CountdownKindFlag = -1;
        c.Talk->Show();
        c.core.SchedDecision.Start();
        t.clock.Advance(1000);
        t.Tick();
        const std::string what = std::to_string(k.limit) + (k.minimized ? " minimised " : " ") +
                                 std::to_string(k.pluginState);
        EXPECT_EQ(c.game.TimeoutCount, k.minimized ? 2 : 3) << what;
        EXPECT_EQ(!t.lobby.commands.empty() && t.lobby.commands.back() == 0xF020u, k.pressed) << what;
        EXPECT_EQ(plugin->calls.count(QStringLiteral("SetKeyDown(112)")), k.pluginF1) << what;
        EXPECT_EQ(plugin->Count(QStringLiteral("SetKeyDown")), k.pluginF1) << what;
        if (k.pressed) {
            // The table's boss key: side windows gone, the countdown cut short.
            EXPECT_EQ(c.game.F1Minimized, -1) << what;
            EXPECT_FALSE(c.Talk->Visible()) << what;
            EXPECT_EQ(c.game.CountdownStart, 0) << what;
            EXPECT_EQ(c.game.Countdown, 0) << what;
        } else {
            EXPECT_TRUE(c.Talk->Visible()) << what;
            EXPECT_EQ(c.game.CountdownStart, 8) << what;
        }
    }
}

TEST(Countdowns, OwnRunOutHidesTheFalseWinNotice)
{
    struct Case {
        const char* what;
        int16_t shown;     // ZhahuShown before the run-out
        int16_t kindFlag;  // the local player's own countdown
        int16_t turnPhase;
        bool hidden;       // the notice is gone afterwards
    };
    for (const Case& k : {Case{"own decision open", -1, -1, 0, true}, Case{"flag off, window up", 0, -1, 0, false},
                          Case{"another seat's time", -1, 0, 0, false},
                          Case{"decision already taken", -1, -1, 2, false}}) {
        Connected t;
        Client& c = t.client;
        c.game.ZhahuShown = k.shown;
        c.game.CountdownKindFlag = k.kindFlag;
        c.game.TurnPhase = k.turnPhase;
        c.frmZhahu->Show();
        c.core.SchedDecision.Start();
        t.clock.Advance(1000);
        t.Tick();
        EXPECT_EQ(c.frmZhahu->isVisible(), !k.hidden) << k.what;
        EXPECT_EQ(c.game.ZhahuShown, k.hidden ? 0 : k.shown) << k.what;
    }
}

TEST(Countdowns, StandStillWhileInputIsDisabledAndCountAcrossMidnight)
{
    Connected t;
    Client& c = t.client;
    c.game.InputEnabled = 0;
    c.game.Countdown = 5;
    c.core.SchedDecision.Start();
    t.clock.Advance(3000);
    t.Tick();
    EXPECT_EQ(c.game.Countdown, 5);

    c.game.InputEnabled = -1;
    t.clock.seconds = 86399.9;
    c.game.DecisionSecondMark = 86399.5;
    t.Tick();
    EXPECT_EQ(c.game.Countdown, 5); // not yet a second
    t.clock.seconds = 0.2;          // past midnight
    t.Tick();
    EXPECT_EQ(c.game.Countdown, 4);
}

TEST(Countdowns, ReadyCountdownSendsOneReadyCommand)
{
    Connected t;
    Client& c = t.client;
    c.window.Sound.SoundOn = -1;
    c.game.Countdown = 2;
    c.core.SchedReady.Start();
    c.game.Players[0].Slots[6].TileCode = 0x21;
    for (int s = 0; s < 5; ++s) {
        t.clock.Advance(1000);
        t.Tick();
    }
    const QByteArray sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 272);
    EXPECT_EQ(sent[3], 16);
    EXPECT_EQ(sent[6], 2);
    EXPECT_EQ(sent[14], 0);
    EXPECT_EQ(sent[15], 1);
    EXPECT_FALSE(c.core.SchedReady.On);
    EXPECT_EQ(c.game.TableCleared, -1);
    EXPECT_EQ(c.game.Players[0].Slots[6].TileCode, 0);
    EXPECT_EQ(c.game.AnNiuPressed[2], -1);
    EXPECT_EQ(t.sound.createRequests, 0); // no sound
}

TEST(ExitWindows, WarningsByMoment)
{
    struct Case {
        bool animating, inGame;
        int16_t round;
        bool blocked;
        bool q, warn2, warn3;
        QString line2;
    };
    const Case cases[] = {
        {true, true, 1, false, false, false, true, QString()},
        {false, false, 0, false, true, false, false, QString()},
        {false, false, 2, false, true, true, false, QStringLiteral("您未打完一圈，逃跑会扣分！")},
        {false, false, 2, true, true, false, false, QString()},
        {false, true, 1, false, true, true, false, QStringLiteral("游戏正在进行，逃跑会扣分！")},
    };
    for (const Case& k : cases) {
        TestClient t;
        Client& c = t.client;
        c.game.PicAniRunning = k.animating ? -1 : 0;
        c.game.InGame = k.inGame ? -1 : 0;
        c.game.RoundNo = k.round;
        c.game.StartBlocked = k.blocked ? -1 : 0;
        c.Score->Show();
        OpenExitWindow(c);
        EXPECT_TRUE(c.frmExit->Visible());
        EXPECT_FALSE(c.Score->Visible());
        EXPECT_EQ(c.frmExit->Label1.Visible, k.q);
        EXPECT_EQ(c.frmExit->Label2.Visible, k.warn2);
        EXPECT_EQ(c.frmExit->Label3.Visible, k.warn3);
        if (k.warn2) {
            EXPECT_EQ(c.frmExit->Label2.Caption, k.line2);
        }
        EXPECT_EQ(c.frmExit->pbCloseMe.PictureId(), 130);
        OpenExitWindow(c); // pressed again: hidden
        EXPECT_FALSE(c.frmExit->Visible());
    }
}

TEST(ExitWindows, LeaveSendsTheLeaveFrameAndHandsBackToTheLobby)
{
    Connected t;
    Client& c = t.client;
    OpenExitWindow(c);
    c.frmReconnect->Loaded = true;
    frmExit_pbCloseMe_Click(c);
    const QByteArray sent = t.TakeSent();
    ASSERT_EQ(sent.size(), 272);
    EXPECT_EQ(sent[3], 16);
    EXPECT_FALSE(c.frmExit->Visible());
    EXPECT_FALSE(c.frmReconnect->Loaded);
    EXPECT_EQ(c.match.AppClosing, -1);
    EXPECT_EQ(t.lobby.commands.back(), 0xF120u);
    EXPECT_FALSE(t.process.ended);
    EXPECT_TRUE(c.MainForm->isMinimized());

    Connected gone;
    gone.lobby.exists = false;
    frmExit_pbCloseMe_Click(gone.client);
    EXPECT_TRUE(gone.process.ended);
}

TEST(ExitWindows, NoticeLeavesNowOrAfterTheHand)
{
    Connected t;
    Client& c = t.client;
    c.game.RoundNo = 3;
    ShowOtherExit(c, QStringLiteral("您的金币不够，请更换房间或充值后继续游戏！"));
    EXPECT_TRUE(c.frmOtherExit->Visible());
    EXPECT_EQ(c.frmOtherExit->Label1.Caption, QStringLiteral("您的金币不够，请更换房间或充值后继续游戏！"));
    EXPECT_EQ(t.TakeSent()[3], 16);
    frmOtherExit_imgCancel_Click(c);
    EXPECT_TRUE(c.core.LeaveAfterHand);
    EXPECT_EQ(c.game.RoundNo, 0);
    EXPECT_FALSE(c.frmOtherExit->Visible());

    Connected now;
    ShowOtherExit(now.client, QStringLiteral("x"));
    frmOtherExit_imgOK_Click(now.client);
    EXPECT_FALSE(now.client.frmOtherExit->Visible());
    EXPECT_EQ(now.lobby.commands.back(), 0xF120u);
    EXPECT_EQ(now.tcp.state, platform::TcpLink::Closed);
}
