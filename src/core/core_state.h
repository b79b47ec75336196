#pragma once

#include "core/rings.h"
#include "core/upper_hooks.h"
#include "platform/wait.h"
#include "protocol/frame.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace core {

// A scheduler task: a switch and the ticks counted since it was started.
struct SchedTask {
    bool On = false;
    int Count = 0;
    void Start()
    {
        On = true;
        Count = 0;
    }
    void Stop()
    {
        On = false;
        Count = 0;
    }
};

// The client core's own state.
struct CoreState {
    // What the subsystems above core do for it; filled in by the client.
    UpperHooks Hooks;

    // Rings and the connection they serve.
    FrameRing RecvRing;
    FrameRing SendRing;
    ByteRing ProxyRing{kProxyRingSize};
    bool DirectConnection = true; // false while a SOCKS5 handshake runs

    // Codec.
    protocol::GameCmd CurMsg;
    protocol::GameFrame RecvFrame{};
    std::array<uint8_t, 2> EchoToken{};
    uint8_t TurnStamp = 0;
    QString ChatText;
    // Names received in kind 3, by seat index, as the raw bytes of the frame.
    std::array<QByteArray, 4> SeatNames;

    // Scheduler tasks.
    SchedTask SchedSend;
    SchedTask SchedReceive;
    SchedTask SchedLogin;
    SchedTask SchedBlink;
    SchedTask SchedWatch;
    SchedTask SchedDecision;
    SchedTask SchedReady;
    // Hold-back of outgoing plug-in frames across a hand's end.
    bool HoldBackArmed1 = false;
    bool HoldBackArmed2 = false;
    protocol::GameFrame HoldBackFrame1{};
    protocol::GameFrame HoldBackFrame2{};
    bool KeepAliveHold = false;
    // Above 0 while a table procedure pauses in the middle of a frame: the
    // scheduler ticks on, but no received frame is taken from the ring.
    int DispatchHolds = 0;

    // Command-line settings.
    QByteArray UserName; // GBK bytes
    QByteArray UserKey;
    QString ServerHost;
    int32_t ServerPort = 0;
    int16_t ConnectMode = 0;
    QString ProxyHost;
    int32_t ProxyPort = 0;
    QByteArray ProxyUser; // GBK bytes
    QByteArray ProxyPassword;
    bool HostedMode = false;
    QString WindowCaption;
    int16_t CmdLineField14 = 0;
    int16_t CmdLineField15 = 0;
    int32_t MatchId = 0;

    // Connection.
    protocol::GameFrame LoginFrame{};
    bool LoginPending = false;
    bool ReconnectArmed = false;
    uint8_t ProxyState = 0;
    // Set while a SOCKS5 handshake runs: by when it must have ended.
    std::optional<platform::Deadline> ProxyDeadline;
    int32_t ReconnectId = 0;
    int16_t ReconnectTries = 0;
    int16_t ReconnectCountdown = 0;
    bool QuickLeave = false;
    bool LeaveAfterHand = false;

    // Lobby link.
    QString LobbyTitle;

    // The program's folder, holding the files it only reads (rule.ini,
    // chat.ini, the sound pack, the plug-in).
    QString AppPath;
    // The data folder for the files it writes (the hand archive, logs,
    // downloaded documents, saved settings); empty when none could be made.
    QString DataPath;
};

} // namespace core
