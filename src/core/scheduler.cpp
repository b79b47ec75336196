#include "core/scheduler.h"

#include "app/client.h"
#include "core/countdowns.h"
#include "core/lobby.h"
#include "core/messages.h"
#include "core/proxy.h"
#include "core/reconnect.h"
#include "core/rings.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "platform/tcp_link.h"
#include "platform/wait.h"
#include "protocol/kinds.h"
#include "table/tiles.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace core {
namespace {

bool Connected(Client& c) { return c.plat.tcp.State() == platform::TcpLink::Connected; }

QByteArray Bytes(const uint8_t* f) { return QByteArray(reinterpret_cast<const char*>(f), protocol::kFrameSize); }

constexpr int kSpeakTicks = 40; // a speech picture stays two seconds
constexpr int kChatButton = 1;  // the chat-window button of AnNiu

bool IsTileImage(int image) { return image >= 0 && image < table::kTileImages; }

// Blinks the last discard three times (ending visible) and the chat button
// while a line from another seat is new.
void SchedBlink(Client& c)
{
    table::TableState& t = c.table;
    auto& tiles = c.MainForm->MJ_Image;
    if (t.DiscardBlinkCount > 0) {
        --t.DiscardBlinkCount;
        if (IsTileImage(t.LastDiscardImage))
            tiles[t.LastDiscardImage].SetVisible(!tiles[t.LastDiscardImage].Visible);
        if (IsTileImage(t.PrevDiscardImage) && t.PrevDiscardImage != t.LastDiscardImage)
            tiles[t.PrevDiscardImage].SetVisible(true);
        t.PrevDiscardImage = t.LastDiscardImage;
    } else if (IsTileImage(t.LastDiscardImage)) {
        tiles[t.LastDiscardImage].SetVisible(true);
    }

    int entry = 2;
    if (c.chat.ChatBlinkCount >= 1) {
        --c.chat.ChatBlinkCount;
        entry = c.chat.ChatBlinkCount % 2 == 0 ? 3 : 2;
    }
    const QString& id = c.window.PicIds.AnNiuPicIds[static_cast<std::size_t>(entry)];
    platform::Image& button = c.MainForm->AnNiu[kChatButton];
    if (QString::number(button.PictureId()) != id)
        window::LoadGifResource(id, QStringLiteral("GIF"), button);
    c.core.SchedBlink.Count = 0;
}

// Hides a claim's speech picture two seconds after it was shown; keeps a
// shown one in front meanwhile.
void SchedSpeech(Client& c)
{
    GameState& g = c.game;
    auto& speak = c.MainForm->Speak;
    const bool known = g.SpeakIndex >= 0 && g.SpeakIndex <= 2;
    if (g.SpeakShown && g.SpeakTicks >= kSpeakTicks) {
        if (known)
            speak[g.SpeakIndex].SetVisible(false);
        g.SpeakTicks = 0;
    } else if (known && speak[g.SpeakIndex].Visible) {
        speak[g.SpeakIndex].ZOrder(0);
    }
    if (g.SpeakTicks >= kSpeakTicks)
        g.SpeakTicks = 0;
}

} // namespace

void SchedSendTask(Client& c)
{
    CoreState& s = c.core;
    if (!s.SendRing.HasFrame() || !Connected(c)) {
        s.SchedSend.On = false;
        return;
    }
    protocol::GameFrame frame;
    std::memcpy(frame.data(), s.SendRing.FrontFrame(), protocol::kFrameSize);
    s.SendRing.PopFrame();

    // Plug-in frames of two kinds are held back across a hand's end.
    const int kind = frame[protocol::frame_byte::Kind];
    const int step = (frame[protocol::frame_byte::Data] << 8 | frame[protocol::frame_byte::Data + 1]) / 8;
    if (kind == protocol::CmdPropPluginStep && s.HoldBackArmed1 && step == 129) {
        s.HoldBackArmed1 = false;
        s.HoldBackFrame1 = frame;
    } else if (kind == protocol::CmdPropPluginStep && !c.game.InGame && s.HoldBackArmed2 && step == 386) {
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
    if (s.RecvRing.HasFrame() && s.DispatchHolds == 0) {
        const int32_t noted = s.RecvRing.Read;
        ReadMsg(c);
        if (s.KeepAliveHold && s.CurMsg.Kind == protocol::MsgUserLeft) {
            // A user left while a hand's end is shown: keep the frame, and
            // all behind it, until the hold is over.
            s.RecvRing.Read = noted;
            if (s.CurMsg.Seat != c.game.Players[0].SeatBit && !c.MainForm->TimerKeepAlive->Enabled())
                c.MainForm->TimerKeepAlive->SetEnabled(true);
        } else {
            s.Hooks.Dispatch(s.CurMsg);
        }
    }
    // Bytes left in the socket while the ring was full come in as room is made.
    TakeSocketBytes(c);
    s.SchedReceive.Count = s.RecvRing.HasFrame() ? 1 : 0;
}

namespace {

// The running prop plug-in hears when the login goes out and when the link
// is found lost.
void TellPluginLink(Client& c, bool up)
{
    if (c.rewards.PropPluginState > 0 && c.rewards.PropPlugin)
        c.rewards.PropPlugin->rec_state(3, up, 0);
}

} // namespace

void SchedLoginTask(Client& c)
{
    CoreState& s = c.core;
    PostLobbyMessage(c, LobbyMsgConnect);
    if (Connected(c)) {
        s.LoginPending = true;
        PostLobbyMessage(c, LobbyMsgLeave);
        s.LoginFrame[protocol::frame_byte::EchoToken] = s.EchoToken[0];
        s.LoginFrame[protocol::frame_byte::EchoToken + 1] = s.EchoToken[1];
        c.plat.tcp.SendData(Bytes(s.LoginFrame.data()));
        s.SchedWatch.Start();
        s.SchedLogin.On = false;
        TellPluginLink(c, true);
    }
    s.SchedLogin.Count = 0;
}

void SchedWatchTask(Client& c)
{
    CoreState& s = c.core;
    ProxyWatch(c); // a SOCKS5 handshake that runs
    if (Connected(c))
        return;
    TellPluginLink(c, false);
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

    for (const auto& step : s.Hooks.TickStart)
        step();

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

    if (s.SchedBlink.On && s.SchedBlink.Count >= kBlinkPeriod)
        SchedBlink(c);
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

    SchedSpeech(c);
    for (const auto& step : s.Hooks.TickEnd)
        step();

    timer.SetEnabled(true);
}

void HoldDispatch(Client& c, float seconds)
{
    const double ms = std::nearbyint(static_cast<double>(seconds) * 1000.0);
    if (!(ms > 0))
        return;
    CoreState& s = c.core;
    platform::Timer& timer = *c.MainForm->TimerBong;
    // The pause usually comes inside a tick, whose timer is off: it runs
    // again meanwhile, and is left as it was found.
    const bool ticking = timer.Enabled();
    ++s.DispatchHolds;
    timer.SetEnabled(true);
    platform::WaitUntil(c.plat.clock, platform::Deadline::InMs(c.plat.clock, static_cast<uint32_t>(std::min(ms, 60000.0))));
    --s.DispatchHolds;
    timer.SetEnabled(ticking);
}

void TimerKeepAlive_Timer(Client& c)
{
    protocol::GameCmd cmd;
    cmd.Kind = protocol::CmdKeepAlive;
    cmd.Seat = c.game.Players[0].SeatBit;
    SendMsg(c, cmd);
}

} // namespace core
