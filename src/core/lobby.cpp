#include "core/lobby.h"

#include "app/client.h"
#include "core/proxy.h"
#include "core/rings.h"
#include "core/session.h"
#include "core/table_reset.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "platform/tcp_link.h"
#include "protocol/kinds.h"
#include "window/main_form.h"
#include "window/pictures.h"

namespace core {
namespace {

void SendLobbyCommand(Client& c, uint32_t command)
{
    const QString& title = c.core.LobbyTitle;
    if (title.trimmed().isEmpty())
        return;
    if (!c.plat.lobby.SendSysCommand(title, command))
        c.plat.process.endNow();
}

bool Connected(Client& c) { return c.plat.tcp.State() == platform::TcpLink::Connected; }

void Leave(Client& c)
{
    if (Connected(c)) {
        c.core.SchedWatch.Stop();
        SendLeaveTable(c);
    }
    ResetSession(c);
}

void Connect(Client& c)
{
    CoreState& s = c.core;
    window::MainForm& f = *c.MainForm;
    s.DirectConnection = true;
    s.LoginPending = true;
    if (s.ConnectMode == 0) {
        ResetRings(c);
        if (c.plat.tcp.State() != platform::TcpLink::Closed)
            c.plat.tcp.Close();
        c.plat.tcp.Connect(s.ServerHost, s.ServerPort);
        s.LoginFrame[protocol::frame_byte::Kind] = protocol::CmdLogin;
        f.TimerBong->SetEnabled(true);
        s.SchedLogin.Start();
    } else if (s.ConnectMode == 5) {
        s.SchedLogin.Stop();
        ProxyConnect(c);
    }
    c.game.AnNiuPressed[2] = 0;
    window::LoadGifResource(c.window.PicIds.AnNiuPicIds[4], QStringLiteral("GIF"), f.AnNiu[2]);
    f.Time_Img.SetVisible(false);
    f.Number.SetVisible(false);
}

} // namespace

void RestoreLobbyWindow(Client& c) { SendLobbyCommand(c, platform::LobbyLink::kScRestore); }

void MinimizeLobbyWindow(Client& c) { SendLobbyCommand(c, platform::LobbyLink::kScMinimize); }

void PostLobbyMessage(Client& c, uint32_t message) { c.plat.lobby.PostMessage(c.core.LobbyTitle, message); }

bool MainWndProc(Client& c, uint32_t message, uint32_t, uint32_t)
{
    const QString& title = c.core.LobbyTitle;
    switch (message) {
    case LobbyMsgInGame:
        if (c.plat.lobby.FindWindow(title))
            PostLobbyMessage(c, c.game.InGame ? LobbyMsgInGame : LobbyMsgIdle);
        return true;
    case LobbyMsgLeave:
        if (!c.plat.lobby.FindWindow(title))
            return true;
        if (c.core.LoginPending) {
            PostLobbyMessage(c, LobbyMsgBusy);
        } else if (c.game.InGame) {
            PostLobbyMessage(c, LobbyMsgInGame);
        } else {
            Leave(c);
            core::ResetTableDisplay(c);
            PostLobbyMessage(c, LobbyMsgIdle);
        }
        return true;
    case LobbyMsgIdle:
        Leave(c);
        return true;
    case LobbyMsgConnect:
        Connect(c);
        return true;
    default:
        return false;
    }
}

} // namespace core
