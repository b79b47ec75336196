#pragma once

#include "core/frame.h"
#include "core/rings.h"

#include <QByteArray>
#include <QString>
#include <array>

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
    // Rings and the connection they serve.
    FrameRing RecvRing;
    FrameRing SendRing;
    ByteRing ProxyRing{kProxyRingSize};
    bool DirectConnection = true; // false while a SOCKS5 handshake runs

    // Codec.
    GameCmd CurMsg;
    GameFrame RecvFrame{};
    std::array<uint8_t, 2> EchoToken{};
    uint8_t TurnStamp = 0;
    QString ChatText;
    // Names received in kind 3, by seat index, as the raw bytes of the frame.
    std::array<QByteArray, 4> SeatNames;

    // Scheduler tasks.
    SchedTask SchedSend;
    SchedTask SchedReceive;

    // Lobby link.
    QString LobbyTitle;
};

} // namespace core
