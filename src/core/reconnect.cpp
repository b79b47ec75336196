#include "core/reconnect.h"

#include "app/client.h"
#include "core/lobby.h"
#include "core/proxy.h"
#include "core/rings.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "platform/tcp_link.h"
#include "protocol/kinds.h"
#include "window/main_form.h"

namespace core {

ReconnectForm::ReconnectForm(QWidget* owner)
    : platform::Form(QStringLiteral("frmReconnect"), owner),
      TimerReconnect(new platform::Timer(this, QStringLiteral("TimerReconnect"))),
      TimerCount(new platform::Timer(this, QStringLiteral("TimerCount")))
{
    for (platform::GraphicControl* ctl : std::initializer_list<platform::GraphicControl*>{
             &lbReconnect, &lbTime, &pbReconnect, &pbCancel})
        Add(ctl);
    lbReconnect.SetCaption(QStringLiteral("网络断开，需要重连吗？"));
    TimerReconnect->SetInterval(1000);
    TimerCount->SetInterval(3000);
}

namespace {

void ShowSeconds(ReconnectForm& f, int16_t n) { f.lbTime.SetCaption(QString::number(n) + QStringLiteral(" 秒后自动重连")); }

} // namespace

void OpenReconnectWindow(Client& c)
{
    ReconnectForm& f = *c.frmReconnect;
    f.Loaded = true;
    c.core.ReconnectTries = 0;
    c.core.ReconnectCountdown = 1;
    ShowSeconds(f, 1);
    f.TimerReconnect->SetEnabled(true);
    f.TimerCount->SetEnabled(false);
}

void UnloadReconnectWindow(Client& c)
{
    ReconnectForm& f = *c.frmReconnect;
    f.TimerReconnect->SetEnabled(false);
    f.TimerCount->SetEnabled(false);
    f.Loaded = false;
}

void TimerReconnect_Timer(Client& c)
{
    ReconnectForm& f = *c.frmReconnect;
    --c.core.ReconnectCountdown;
    ShowSeconds(f, c.core.ReconnectCountdown);
    if (c.core.ReconnectCountdown < 1) {
        f.TimerReconnect->SetEnabled(false);
        c.core.ReconnectCountdown = 1;
        f.TimerCount->SetEnabled(true);
    }
}

void TimerCount_Timer(Client& c)
{
    if (c.plat.tcp.State() == platform::TcpLink::Connected) {
        UnloadReconnectWindow(c);
        return;
    }
    if (c.core.ReconnectTries <= kReconnectAttempts) {
        ++c.core.ReconnectTries;
        ReconnectServer(c, c.core.LoginFrame);
        return;
    }
    UnloadReconnectWindow(c);
    c.plat.dialogs.MsgBox(QStringLiteral("重连失败，请检查您的网络！"));
    RestoreLobbyWindow(c);
    c.plat.process.endNow();
}

void ReconnectServer(Client& c, protocol::GameFrame& frame)
{
    CoreState& s = c.core;
    window::MainForm& f = *c.MainForm;
    f.Sysmsg[0]->Clear();
    f.Sysmsg[1]->Clear();
    f.Sysmsg[0]->AddItem(QStringLiteral("正在重新连接服务器..."));
    frame[protocol::frame_byte::Kind] = protocol::CmdReconnect;
    frame[protocol::frame_byte::EchoToken] = s.EchoToken[0];
    frame[protocol::frame_byte::EchoToken + 1] = s.EchoToken[1];
    const auto id = static_cast<uint32_t>(s.ReconnectId);
    for (int i = 0; i < 4; ++i)
        frame[static_cast<std::size_t>(protocol::frame_byte::ReconnectId + i)] = static_cast<uint8_t>(id >> (8 * i));
    s.DirectConnection = true;
    c.plat.tcp.Close();
    if (s.ConnectMode == 0) {
        // A frame cut off by the lost link would shift every later frame of
        // the new stream: received bytes go back to the last whole frame.
        DropPartialFrame(c);
        c.plat.tcp.Connect(s.ServerHost, s.ServerPort);
        s.SchedLogin.Start();
    } else if (s.ConnectMode == 5) {
        s.SchedLogin.Stop();
        ProxyConnect(c);
    }
}

} // namespace core
