// What the prop plug-in hears, in order: a plug-in library of our own,
// loaded by the real loader from the program's folder, writes down every
// call; the client seats four players, plays a drawn hand with a treasure
// box picked by the mouse, starts the next hand, loses and regains the link
// and leaves through the exit window.

#include "support/mouse.h"
#include "core/exit_windows.h"
#include "core/startup.h"
#include "core/scheduler.h"
#include "dispatch/table_fixture.h"
#include "platform/prop_plugin_loader.h"
#include "results/result_forms.h"
#include "rewards/prop_pump.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;
using protocol::GameFrame;

namespace {

// A client like the tests' own, but with the program's plug-in loader.
struct LoadedTable {
    FakeClock clock;
    RecordingProcess process;
    RecordingDialogs dialogs;
    FakeTcpLink tcp;
    FakeLobbyLink lobby;
    platform::InstanceLock instance{TestClient::UniqueLockName()};
    RecordingSoundDevice sound;
    FakeWebPanels web;
    RecordingShell shell;
    FakeUdpLink udp;
    platform::LibraryPropPluginLoader plugins;
    FakeHttpGet http;
    Client client{{clock, process, dialogs, tcp, lobby, instance, sound, web, shell, udp, plugins}};
    Client& c = client;
    window::MainForm& f = *client.MainForm;
    QTemporaryDir logFolder;
    QString logPath = QDir(logFolder.path()).filePath(QStringLiteral("calls.log"));

    LoadedTable()
    {
        qputenv("MJ_PROP_PLUGIN_LOG", logPath.toLocal8Bit());
        qputenv("MJ_PROP_PLUGIN_STEPS", "50,2");
        c.core.LobbyTitle = lobby.title;
        c.plat.http = &http;
        window::InitPicIds(c);
        window::LayoutTableControls(c);
        c.core.AppPath = QStringLiteral(MJ_LOGGING_PLUGIN_FOLDER);
        c.core.CmdLineField14 = 1;
        c.core.UserName = "alice";
        c.game.Players[0].Name = "alice";
        c.game.InputEnabled = -1;
        c.window.Sound.SoundOn = 0;
        tcp.state = platform::TcpLink::Connected;
        f.move(40, 30);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    }
    ~LoadedTable()
    {
        f.hide();
        qunsetenv("MJ_PROP_PLUGIN_LOG");
        qunsetenv("MJ_PROP_PLUGIN_STEPS");
    }

    void Deliver(const GameFrame& frame)
    {
        c.core.RecvRing.Append(frame.data(), protocol::kFrameSize);
        core::ReadMsg(c);
        dispatch::DispatchServerMsg(c, c.core.CurMsg);
    }
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            core::TimerBong_Timer(c);
    }
    QStringList Calls() const
    {
        QFile file(logPath);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The calls since the last look.
    QStringList NewCalls()
    {
        const QStringList all = Calls();
        const QStringList fresh = all.mid(seen_);
        seen_ = static_cast<int>(all.size());
        return fresh;
    }

private:
    int seen_ = 0;
};

// Views 0-3 hold seat bits 1, 8, 4, 2 after seating with the own seat 0.
constexpr std::array<int, 4> kBitOfView = {1, 8, 4, 2};

TEST(PluginCalls, AWholeHandAReconnectAndTheExit)
{
    LoadedTable t;

    // Seating: the first user record starts the plug-in; every seat with
    // money is handed to it, the seat without money is not.
    std::array<User, 4> users = dispatch_test::FourUsers(0);
    users[3].coins = 0;
    for (int i = 0; i < 4; ++i)
        t.Deliver(SeatNameFrame(1 << i, users[static_cast<std::size_t>(i)].account));
    for (const User& u : users) {
        GameFrame frame = UserFrame(u);
        frame[protocol::user_info_byte::NoPlugin] = 0;
        t.Deliver(frame);
    }
    ASSERT_EQ(t.c.rewards.PropPluginState, 2);
    EXPECT_EQ(t.NewCalls(), (QStringList{
                                QStringLiteral("Initdll(alice, DLL, dorvak, 1, 0)"),
                                QStringLiteral("GetBaoInfo()"),
                                QStringLiteral("SetUserinfo(爱丽丝, 1, 0)"),
                                QStringLiteral("rec_state(2, true, 0)"),
                                QStringLiteral("SetUserinfo(鲍勃, 2, 3)"),
                                QStringLiteral("rec_state(2, true, 3)"),
                                QStringLiteral("SetUserinfo(卡罗尔, 4, 2)"),
                                QStringLiteral("rec_state(2, true, 2)"),
                            }));

    // A frame of the plug-in's, and the line it hands back on the next tick.
    t.Deliver(ServerFrame(protocol::MsgPropPlugin));
    t.Tick();
    EXPECT_EQ(t.f.Sysmsg[0]->List(0), QStringLiteral("有玩家使用了道具"));
    // Its score frame, then a drawn hand.
    t.Deliver(ServerFrame(protocol::MsgPropPluginScore));
    for (int v = 0; v < 4; ++v)
        t.Deliver(SeatResultFrame(kBitOfView[static_cast<std::size_t>(v)], 0, 1, 0));
    t.Tick();
    EXPECT_EQ(t.NewCalls(), (QStringList{QStringLiteral("Rec_MSG(44)"), QStringLiteral("GetSendBuff()"),
                                         QStringLiteral("Rec_MSG(46)"), QStringLiteral("InitShowEnd()"),
                                         QStringLiteral("GetScoreInfo()")}));

    // The local player's five boxes: one is picked with the mouse.
    platform::Image& box = t.f.ImgProp[1];
    ASSERT_TRUE(box.Visible && box.Enabled);
    const QPoint at = testing_support::CentreOf(box);
    QTest::mouseClick(t.f.pic1, Qt::LeftButton, {}, at, 20);
    QCoreApplication::processEvents();
    EXPECT_EQ(t.c.rewards.TreasurePicks[0], 1);
    ASSERT_EQ(t.c.rewards.PropTimerOn, -1);
    for (int step = 0; step < 2; ++step)
        rewards::TimerProp_Timer(t.c);
    EXPECT_EQ(t.NewCalls(), (QStringList{QStringLiteral("ShowGif(1, true)"), QStringLiteral("ShowGif(1, false)"),
                                         QStringLiteral("InitShowNext(false)")}));
    // The drawn hand's sheet with the prop result.
    const platform::ListBox& sheet = *t.c.Score->State[0];
    ASSERT_EQ(sheet.ListCount(), 5);
    EXPECT_EQ(sheet.List(2), QStringLiteral("使用道具"));
    EXPECT_EQ(sheet.List(3), QStringLiteral("+30金币"));
    EXPECT_EQ(t.f.Cash[0].Caption, QStringLiteral("10030金币"));
    EXPECT_TRUE(t.c.core.SchedReady.On);

    // The next hand's first deal frame.
    t.Deliver(Frame(protocol::MsgDeal, 1, {0, 0, 0, 0}));
    EXPECT_EQ(t.NewCalls(), QStringList{QStringLiteral("InitShowNext(true)")});

    // The link is lost; the login goes out again; the server takes the
    // reconnect.
    t.tcp.state = platform::TcpLink::Closed;
    t.c.core.SchedWatch.Start();
    t.Tick();
    t.tcp.state = platform::TcpLink::Connected;
    t.c.core.SchedLogin.Start();
    t.Tick(4);
    t.Deliver(Frame(protocol::MsgReconnectReply, 0, {0, 0, 0, 1}));
    EXPECT_EQ(t.NewCalls(), (QStringList{QStringLiteral("rec_state(3, false, 0)"),
                                         QStringLiteral("rec_state(3, true, 0)"),
                                         QStringLiteral("rec_state(3, true, 0)")}));

    // Leaving through the exit window.
    core::frmExit_pbCloseMe_Click(t.c);
    EXPECT_EQ(t.NewCalls(), (QStringList{QStringLiteral("UpdataMyProp(false)"), QStringLiteral("InitExit(0)")}));
    EXPECT_EQ(t.c.rewards.PropPluginState, 0);
    EXPECT_FALSE(t.process.ended);
}

// ---- the seat record's calls with a scripted plug-in -----------------------------

TEST(PluginCalls, ASeatIsToldToThePluginThatTurnedItDown)
{
    dispatch_test::Table t;
    auto plugin = std::make_shared<FakePropPlugin>();
    plugin->setUserinfoResults = {false};
    t.client.rewards.PropPlugin = plugin;
    t.client.rewards.PropPluginState = 1;
    t.client.rewards.PropPluginReady = -1;
    std::array<User, 4> users = dispatch_test::FourUsers(0);
    for (int i = 0; i < 4; ++i)
        t.Deliver(SeatNameFrame(1 << i, users[static_cast<std::size_t>(i)].account));
    t.client.core.CmdLineField14 = 1;
    GameFrame own = UserFrame(users[0]);
    own[protocol::user_info_byte::NoPlugin] = 0;
    t.Deliver(own);
    EXPECT_EQ(t.client.rewards.PropPluginState, -1);
    // The object stays, and still hears that the seat is taken.
    EXPECT_EQ(plugin->calls.filter(QStringLiteral("rec_state")), QStringList{QStringLiteral("rec_state(2, true, 0)")});
    EXPECT_EQ(plugin->Count(QStringLiteral("InitExit")), 1);
}

} // namespace

namespace {

TEST(PluginCalls, TheTableWindowsUnloadStopsAndReleasesThePlugin)
{
    for (int16_t state : {int16_t{2}, int16_t{-1}}) {
        dispatch_test::Table t;
        auto plugin = std::make_shared<FakePropPlugin>();
        t.client.rewards.PropPlugin = plugin;
        t.client.rewards.PropPluginState = state;
        core::Form_Unload(t.client);
        EXPECT_EQ(plugin->Count(QStringLiteral("InitExit")), state > 0 ? 1 : 0) << state;
        if (state > 0) {
            EXPECT_TRUE(plugin->calls.contains(QStringLiteral("InitExit(1)")));
        }
        EXPECT_EQ(t.client.rewards.PropPlugin, nullptr) << state;
        EXPECT_EQ(plugin.use_count(), 1) << state;
    }
}

} // namespace
