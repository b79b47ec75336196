#include "core/scheduler.h"

#include "app/client.h"
#include "core/codec.h"
#include "core/countdowns.h"
#include "core/lobby.h"
#include "core/reconnect.h"
#include "dispatch/dispatcher.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "platform/tcp_link.h"
#include "window/main_form.h"

#include <cstring>

namespace core {
namespace {

bool Connected(Client& c) { return c.plat.tcp.State() == platform::TcpLink::Connected; }

QByteArray Bytes(const uint8_t* f) { return QByteArray(reinterpret_cast<const char*>(f), kFrameSize); }

} // namespace

void SchedSendTask(Client& c)
{
    CoreState& s = c.core;
    if (!s.SendRing.HasFrame() || !Connected(c)) {
        s.SchedSend.On = false;
        return;
    }
    GameFrame frame;
    std::memcpy(frame.data(), s.SendRing.FrontFrame(), kFrameSize);
    s.SendRing.PopFrame();

    // Plug-in frames of two kinds are held back across a hand's end.
    const int kind = frame[frame_byte::Kind];
    const int step = (frame[8] << 8 | frame[9]) / 8;
    if (kind == 45 && s.HoldBackArmed1 && step == 129) {
        s.HoldBackArmed1 = false;
        s.HoldBackFrame1 = frame;
    } else if (kind == 45 && !c.game.InGame && s.HoldBackArmed2 && step == 386) {
        s.HoldBackArmed2 = false;
        s.HoldBackFrame2 = frame;
    } else {
        c.plat.tcp.SendData(Bytes(frame.data()));
    }
    s.SchedSend.Count = 0;
}

void SchedReceiveTask(Client& c)
{
    CoreState& s = c.core;
    if (s.RecvRing.HasFrame()) {
        const int32_t noted = s.RecvRing.Read;
        ReadMsg(c);
        if (s.KeepAliveHold && s.CurMsg.Kind == 21) {
            // A user left while a hand's end is shown: keep the frame, and
            // all behind it, until the hold is over.
            s.RecvRing.Read = noted;
            if (s.CurMsg.Seat != c.game.Players[0].SeatBit && !c.MainForm->TimerKeepAlive->Enabled())
                c.MainForm->TimerKeepAlive->SetEnabled(true);
        } else {
            dispatch::DispatchServerMsg(c, s.CurMsg);
        }
    }
    s.SchedReceive.Count = s.RecvRing.HasFrame() ? 1 : 0;
}

void SchedLoginTask(Client& c)
{
    CoreState& s = c.core;
    PostLobbyMessage(c, LobbyMsgConnect);
    if (Connected(c)) {
        s.LoginPending = true;
        PostLobbyMessage(c, LobbyMsgLeave);
        s.LoginFrame[frame_byte::EchoToken] = s.EchoToken[0];
        s.LoginFrame[frame_byte::EchoToken + 1] = s.EchoToken[1];
        c.plat.tcp.SendData(Bytes(s.LoginFrame.data()));
        s.SchedWatch.Start();
        s.SchedLogin.On = false;
    }
    s.SchedLogin.Count = 0;
}

void SchedWatchTask(Client& c)
{
    CoreState& s = c.core;
    if (Connected(c))
        return;
    if (!c.plat.lobby.FindWindow(s.LobbyTitle)) {
        c.plat.process.endNow();
        return;
    }
    if (s.ReconnectArmed) {
        c.game.InputEnabled = 0;
        s.SchedWatch.Stop();
        OpenReconnectWindow(c);
    }
    s.SchedWatch.Count = 0;
}

void TimerBong_Timer(Client& c)
{
    CoreState& s = c.core;
    platform::Timer& timer = *c.MainForm->TimerBong;
    timer.SetEnabled(false);

    for (SchedTask* t : {&s.SchedSend, &s.SchedReceive, &s.SchedLogin, &s.SchedBlink, &s.SchedWatch,
                         &s.SchedDecision, &s.SchedReady})
        ++t->Count;
    ++c.game.SpeakTicks;

    if (s.SchedSend.On && s.SchedSend.Count >= kSendPeriod)
        SchedSendTask(c);
    if (s.SchedSend.Count >= kSendPeriod)
        s.SchedSend.Count = 0;

    if (s.SchedReceive.On && s.SchedReceive.Count >= kReceivePeriod)
        SchedReceiveTask(c);
    if (s.SchedReceive.Count >= kReceivePeriod)
        s.SchedReceive.Count = 0;

    if (s.SchedLogin.On && s.SchedLogin.Count >= kLoginPeriod && s.RecvRing.Waiting() == 0)
        SchedLoginTask(c);
    if (s.SchedLogin.Count >= kLoginPeriod)
        s.SchedLogin.Count = 0;

    if (s.SchedBlink.Count >= kBlinkPeriod)
        s.SchedBlink.Count = 0;
    SchedDecisionTask(c);
    if (s.SchedDecision.Count >= 20)
        s.SchedDecision.Count = 0;
    SchedReadyTask(c);
    if (s.SchedReady.Count >= 20)
        s.SchedReady.Count = 0;

    if (s.SchedWatch.On && s.SchedWatch.Count >= kWatchPeriod)
        SchedWatchTask(c);
    if (s.SchedWatch.Count >= kWatchPeriod)
        s.SchedWatch.Count = 0;

    timer.SetEnabled(true);
}

void TimerKeepAlive_Timer(Client& c)
{
    GameCmd cmd;
    cmd.Kind = CmdKeepAlive;
    cmd.Seat = c.game.Players[0].SeatBit;
    SendMsg(c, cmd);
}

} // namespace core
