// The client's standing with the server: the login reply (kind 18), the
// reconnect reply (kind 29), a server notice (kind 22) and the ready marks
// (kind 23).
#include "dispatch/arms.h"

#include "app/client.h"
#include "dispatch/hold_back.h"
#include "core/exit_windows.h"
#include "core/lobby.h"
#include "core/scheduler.h"
#include "core/session.h"
#include "dispatch/arm_helpers.h"
#include "dispatch/frame_fields.h"
#include "window/web_panels.h"
#include "match/match.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "rewards/jade.h"
#include "rewards/prop_calls.h"
#include "table/utilities.h"
#include "window/main_form.h"

namespace dispatch {
namespace {

// The game's web site, named in the welcome line of an accepted login.
const QString kGameWebSite = QStringLiteral("http://www.brannoch.example");

void ClearSystemBoxes(window::MainForm& f)
{
    f.Sysmsg[0]->Clear();
    f.Sysmsg[1]->Clear();
}

// A refused login: the lobby is told to connect again, and the client ends.
void RefuseLogin(Client& c, const QString& text)
{
    window::MainForm& f = *c.MainForm;
    core::PostLobbyMessage(c, core::LobbyMsgConnect);
    ClearSystemBoxes(f);
    f.Sysmsg[0]->AddItem(text);
    core::RestoreLobbyWindow(c);
    c.plat.process.endNow();
}

} // namespace

void OnLoginReply(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    core::CoreState& s = c.core;
    window::MainForm& f = *c.MainForm;
    const protocol::GameFrame& frame = s.RecvFrame;

    DisarmHoldBack(c);
    c.rewards.LeaveResetDue = 0;
    c.match.AppClosing = 0;
    s.KeepAliveHold = false;
    g.HandStartedFlag = 0;
    c.results.CumulativeAmounts.fill(0);
    f.TimerKeepAlive->SetEnabled(true);
    g.RoundNo = 0;
    g.HoverEnabled = -1;
    s.LoginPending = false;

    switch (msg.Data[3]) {
    case protocol::LoginAccepted: break;
    case protocol::LoginTableNotStarted: RefuseLogin(c, QStringLiteral("启动游戏失败，请重新在大厅就座后进入游戏！")); return;
    default: RefuseLogin(c, QStringLiteral("验证错误，请重新登陆游戏！")); return;
    }

    g.InputEnabled = -1;
    ClearSystemBoxes(f);
    f.Sysmsg[0]->AddItem(QStringLiteral("连接服务器成功！"));
    f.Sysmsg[1]->AddItem(QStringLiteral("欢迎进入Brannoch ") + kGameWebSite);
    c.chat.WhisperSeat = 0;
    c.chat.WhisperPrefix.clear();
    f.Chat->SetText(QString());
    match::InitMatch(c);
    f.Pic_matchDetail->hide();
    f.Pic_sortDetail->hide();
    f.ImgShowMatch.SetVisible(false);
    f.ImgShowSort.SetVisible(false);
    core::PostLobbyMessage(c, core::LobbyMsgLeave);
    g.TimeoutLimit = msg.Data[0];
    s.ReconnectArmed = true;
    g.CountdownStart = static_cast<int16_t>(msg.Data[1] & 0x0F);
    if (g.AutoPlay == -1)
        g.CountdownStart = 2;

    // The advertisement's address opens in a web panel, so only a web
    // address is taken as one.
    c.window.GameAdName = QString::fromLatin1(
        ByteChars(frame, protocol::login_reply_byte::AdName, protocol::login_reply_byte::AdName + 99));
    if (!c.window.GameAdName.isEmpty() && window::NavigateWebPanel(c, 1, c.window.GameAdName))
        c.window.GameAdFile = c.window.GameAdName + QStringLiteral(".gamead");
}

void OnReconnectReply(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    if (msg.Data[3] == 1) {
        ClearSystemBoxes(f);
        f.Sysmsg[0]->AddItem(QStringLiteral("正在重连服务器，请等待...！"));
        g.InputEnabled = -1;
        c.core.QuickLeave = true;
        if (g.PicAniRunning)
            StopPictureAnimation(c);
        if (c.rewards.PropPluginState > 0)
            rewards::rec_state(c, 3, true, 0);
        return;
    }
    if (c.rewards.PropPluginState > 0)
        rewards::ExitPropPlugin(c, 0);
    c.plat.dialogs.MsgBox(QStringLiteral("重连服务器失败，退出后请重新入座！"));
    core::RestoreLobbyWindow(c);
    c.plat.process.endNow();
}

void OnServerNotice(Client& c, const protocol::GameCmd&)
{
    GameState& g = c.game;
    core::CoreState& s = c.core;
    window::MainForm& f = *c.MainForm;
    s.SchedWatch.Stop();
    s.SchedReady.Stop();
    g.InGame = 0;
    table::SleepSeconds(c.plat.clock, 2.0f);
    const QString notice =
        GbkText(s.RecvFrame, protocol::server_notice_byte::Text, protocol::server_notice_byte::Text + 200);
    for (int v = 0; v < 4; ++v)
        f.Tou[v].ClearPicture();
    core::ShowOtherExit(c, notice);
    s.SchedReady.Stop();
    s.SchedWatch.Stop();
    g.InGame = 0;
    c.rewards.BuyDeferred = 0;
    s.LeaveAfterHand = true;
    g.TableCleared = 0;
}

void OnPlayerReady(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const QByteArray name = ByteChars(c.core.RecvFrame, protocol::frame_byte::Payload,
                                      protocol::frame_byte::Payload + protocol::kNameBytes - 1);
    if (msg.Data[3] == 1)
        for (int v = 0; v < 4; ++v)
            if (g.Players[static_cast<std::size_t>(v)].Name == name && !f.Nid[v].Caption.isEmpty()) {
                f.OK[v].SetVisible(true);
                f.OK[v].ZOrder(0);
            }
    ClearTableWhenAllReady(c);
}

} // namespace dispatch
