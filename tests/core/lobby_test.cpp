#include "core/lobby.h"

#include "core/session.h"
#include "results/result_forms.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace core;
using testing_support::TestClient;

struct WndProcCase {
    const char* name;
    uint32_t message;
    bool loginPending;
    bool inGame;
    bool connected;
    bool lobbyExists;
    std::vector<uint32_t> posted;
    bool leaveFrameSent;
    bool sessionReset;
};
void PrintTo(const WndProcCase& c, std::ostream* os) { *os << c.name; }

class WndProcTest : public ::testing::TestWithParam<WndProcCase> {};

TEST_P(WndProcTest, Answers)
{
    const WndProcCase& w = GetParam();
    TestClient t;
    Client& c = t.client;
    c.core.LoginPending = w.loginPending;
    c.game.InGame = w.inGame ? -1 : 0;
    c.game.Players[0].SeatBit = 4;
    c.game.RoundNo = 3;
    c.MainForm->Nid[1].Caption = QStringLiteral("seated");
    c.MainForm->MJ_Image[7].Visible = true;
    t.tcp.state = w.connected ? platform::TcpLink::Connected : platform::TcpLink::Closed;
    t.lobby.exists = w.lobbyExists;

    EXPECT_TRUE(MainWndProc(c, w.message, 0, 0));
    EXPECT_EQ(t.lobby.posted, w.posted);
    if (w.leaveFrameSent) {
        ASSERT_EQ(t.tcp.sent.size(), 272);
        EXPECT_EQ(t.tcp.sent[3], 16);
        EXPECT_EQ(t.tcp.sent[6], 4);
        EXPECT_EQ(t.tcp.sent.count('\0'), 270);
    } else {
        EXPECT_TRUE(t.tcp.sent.isEmpty());
    }
    EXPECT_EQ(c.game.RoundNo, w.sessionReset ? 0 : 3);
    EXPECT_EQ(c.MainForm->Nid[1].Caption.isEmpty(), w.sessionReset);
    // Only the lobby's leave request lays the table out again.
    EXPECT_EQ(c.MainForm->MJ_Image[7].Visible, !(w.sessionReset && w.message == LobbyMsgLeave));
}

INSTANTIATE_TEST_SUITE_P(
    Lobby, WndProcTest,
    ::testing::Values(
        WndProcCase{"ingame_query_in_hand", 0x465, false, true, true, true, {0x465}, false, false},
        WndProcCase{"ingame_query_idle", 0x465, false, false, true, true, {0x400}, false, false},
        WndProcCase{"ingame_query_no_lobby", 0x465, false, true, true, false, {}, false, false},
        WndProcCase{"leave_while_logging_in", 0x303, true, false, true, true, {0x466}, false, false},
        WndProcCase{"leave_in_hand", 0x303, false, true, true, true, {0x465}, false, false},
        WndProcCase{"leave_connected", 0x303, false, false, true, true, {0x400}, true, true},
        WndProcCase{"leave_closed", 0x303, false, false, false, true, {0x400}, false, true},
        WndProcCase{"leave_no_lobby", 0x303, false, false, true, false, {}, false, false},
        WndProcCase{"idle_connected", 0x400, false, true, true, true, {}, true, true},
        WndProcCase{"idle_closed", 0x400, true, false, false, true, {}, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Lobby, ConnectMessageReconnectsDirectlyWithALoginFrame)
{
    TestClient t;
    Client& c = t.client;
    c.core.ConnectMode = 0;
    c.core.ServerHost = QStringLiteral("127.0.0.1");
    c.core.ServerPort = 9000;
    c.core.LoginFrame[3] = 28; // a reconnect had turned it into a reconnect frame
    c.core.RecvRing.Write = 544;
    c.game.AnNiuPressed[2] = -1;
    c.MainForm->Number.Visible = true;
    t.tcp.state = platform::TcpLink::Connected;

    MainWndProc(c, LobbyMsgConnect, 0, 0);
    EXPECT_EQ(t.tcp.connects, 1);
    EXPECT_EQ(t.tcp.port, 9000);
    EXPECT_EQ(c.core.LoginFrame[3], 18);
    EXPECT_EQ(c.core.RecvRing.Write, 0);
    EXPECT_TRUE(c.core.DirectConnection);
    EXPECT_TRUE(c.core.LoginPending);
    EXPECT_TRUE(c.core.SchedLogin.On);
    EXPECT_TRUE(c.MainForm->TimerBong->Enabled());
    EXPECT_EQ(c.game.AnNiuPressed[2], 0);
    EXPECT_EQ(c.MainForm->AnNiu[2].PictureId(), 105);
    EXPECT_FALSE(c.MainForm->Number.Visible);
}

TEST(Lobby, ConnectMessageThroughTheProxyKeepsTheReconnectFrame)
{
    TestClient t;
    Client& c = t.client;
    c.core.ConnectMode = 5;
    c.core.ProxyHost = QStringLiteral("127.0.0.1");
    c.core.ProxyPort = 1080;
    c.core.LoginFrame[3] = 28;
    t.clock.onEvents = [&] { t.tcp.state = platform::TcpLink::Connected; };
    MainWndProc(c, LobbyMsgConnect, 0, 0);
    EXPECT_EQ(c.core.LoginFrame[3], 28);
    EXPECT_FALSE(c.core.DirectConnection);
    EXPECT_EQ(t.tcp.sent, QByteArray("\x05\x02\x00\x02", 4));
}

TEST(Lobby, OtherMessagesAreNotTheLobbys)
{
    TestClient t;
    EXPECT_FALSE(MainWndProc(t.client, 0x10, 0, 0));
}

TEST(Lobby, RestoreAndMinimiseFindTheWindowByTitle)
{
    TestClient t;
    RestoreLobbyWindow(t.client);
    MinimizeLobbyWindow(t.client);
    EXPECT_EQ(t.lobby.commands, (std::vector<uint32_t>{0xF120, 0xF020}));
    EXPECT_FALSE(t.process.ended);

    t.client.core.LobbyTitle = QStringLiteral("  ");
    RestoreLobbyWindow(t.client);
    EXPECT_FALSE(t.process.ended);

    t.client.core.LobbyTitle = QStringLiteral("Gone");
    PostLobbyMessage(t.client, LobbyMsgIdle);
    EXPECT_TRUE(t.lobby.posted.empty());
    EXPECT_FALSE(t.process.ended);
    RestoreLobbyWindow(t.client);
    EXPECT_TRUE(t.process.ended);
}

TEST(Session, LeaveWaitsAndSkipsTheFrameWhenClosed)
{
    for (bool quick : {false, true}) {
        TestClient t;
        Client& c = t.client;
        c.core.QuickLeave = quick;
        c.window.ShuffleShowOn = -1;
        c.MainForm->LblShuffle.Visible = true;
        c.core.ReconnectArmed = true;
        c.core.SchedSend.Start();
        SendLeaveTable(c);
        EXPECT_TRUE(t.tcp.sent.isEmpty());
        EXPECT_GE(t.clock.seconds, quick ? 0.8 : 0.4);
        EXPECT_LT(t.clock.seconds, quick ? 1.0 : 0.6);
        EXPECT_EQ(c.window.ShuffleShowOn, 0);
        EXPECT_FALSE(c.MainForm->LblShuffle.Visible);
        EXPECT_FALSE(c.core.ReconnectArmed);
        EXPECT_FALSE(c.core.SchedSend.On);
    }
}

TEST(Session, KeepAliveGoesOnInMatchRoomsUntilTheReset)
{
    TestClient t;
    Client& c = t.client;
    c.match.RoomMatchMode = 2;
    c.MainForm->TimerKeepAlive->SetEnabled(true);
    SendLeaveTable(c);
    EXPECT_TRUE(c.MainForm->TimerKeepAlive->Enabled());
    ResetSession(c);
    EXPECT_FALSE(c.MainForm->TimerKeepAlive->Enabled());
}

TEST(Session, ResetClearsTheSeatsAndKeepsWhatTheNextTableNeeds)
{
    TestClient t;
    Client& c = t.client;
    QTemporaryDir dir;
    c.core.DataPath = dir.path();
    QFile archive(dir.path() + QStringLiteral("/info.zq"));
    ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
    archive.close();
    for (int v = 0; v < 4; ++v) {
        core::UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(v)];
        u.Nickname = QStringLiteral("n");
        u.Coins = 5;
        u.Account = "acct";
        u.Voice1 = QStringLiteral("v");
        u.UserId = 9;
        c.game.Players[static_cast<std::size_t>(v)].Name = "p";
        c.game.Players[static_cast<std::size_t>(v)].SeatBit = 2;
        c.game.Players[static_cast<std::size_t>(v)].Slots[5].TileCode = 0x21;
        c.MainForm->Nid[v].Caption = QStringLiteral("nick");
        c.MainForm->OK[v].Visible = true;
        c.Score->ID[v].Caption = QStringLiteral("x");
        c.Score->State[static_cast<std::size_t>(v + 4)]->AddItem(QStringLiteral("line"));
    }
    c.Hero->Num->AddItem(QStringLiteral("1"));
    c.MainForm->Sysmsg[1]->AddItem(QStringLiteral("hi"));
    c.core.LoginPending = true;
    c.core.KeepAliveHold = true;
    c.game.InGame = -1;
    c.core.LoginFrame[3] = 28;
    c.core.RecvRing.Write = 272;
    t.tcp.state = platform::TcpLink::Connected;

    ResetSession(c);
    EXPECT_EQ(t.tcp.state, platform::TcpLink::Closed);
    EXPECT_FALSE(c.core.LoginPending);
    EXPECT_FALSE(c.core.KeepAliveHold);
    EXPECT_EQ(c.game.InGame, 0);
    EXPECT_EQ(c.game.RoundNo, 0);
    EXPECT_EQ(c.game.AnNiuPressed[2], -1);
    EXPECT_EQ(c.game.HoverEnabled, -1);
    EXPECT_FALSE(QFile::exists(archive.fileName()));
    EXPECT_EQ(c.MainForm->Sysmsg[1]->ListCount(), 0);
    EXPECT_EQ(c.Hero->Num->ListCount(), 0);
    for (int v = 0; v < 4; ++v) {
        const core::UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(v)];
        EXPECT_TRUE(u.Nickname.isEmpty());
        EXPECT_EQ(u.Coins, 0);
        EXPECT_EQ(u.Account, QByteArray("acct"));
        EXPECT_EQ(u.Voice1, QStringLiteral("v"));
        EXPECT_EQ(u.UserId, 9);
        EXPECT_TRUE(c.game.Players[static_cast<std::size_t>(v)].Name.isEmpty());
        EXPECT_EQ(c.game.Players[static_cast<std::size_t>(v)].SeatBit, 0);
        EXPECT_EQ(c.game.Players[static_cast<std::size_t>(v)].Slots[5].TileCode, 0x21); // tiles are not its business
        EXPECT_TRUE(c.MainForm->Nid[v].Caption.isEmpty());
        EXPECT_FALSE(c.MainForm->OK[v].Visible);
        EXPECT_TRUE(c.Score->ID[v].Caption.isEmpty());
        EXPECT_EQ(c.Score->State[static_cast<std::size_t>(v + 4)]->ListCount(), 0);
    }
    // Left for the next connection.
    EXPECT_EQ(c.core.LoginFrame[3], 28);
    EXPECT_EQ(c.core.RecvRing.Write, 272);
}
