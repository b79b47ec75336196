#pragma once

#include "platform/controls.h"
#include "protocol/frame.h"

class Client;

namespace core {

// The reconnect window: loaded hidden when the link is lost after a login,
// it stays hidden while its two timers drive the attempts.
class ReconnectForm : public platform::Form {
    Q_OBJECT
public:
    explicit ReconnectForm(QWidget* owner);
    platform::Label lbReconnect{QStringLiteral("lbReconnect")};
    platform::Label lbTime{QStringLiteral("lbTime")};
    platform::Image pbReconnect{QStringLiteral("pbReconnect")};
    platform::Image pbCancel{QStringLiteral("pbCancel")};
    platform::Timer* TimerReconnect;
    platform::Timer* TimerCount;
    bool Loaded = false;
};

constexpr int kReconnectAttempts = 2000;

// Loads the reconnect window (hidden): one second, then an attempt every
// three seconds.
void OpenReconnectWindow(Client& c);
void UnloadReconnectWindow(Client& c);
void TimerReconnect_Timer(Client& c);
void TimerCount_Timer(Client& c);

// One attempt: the login frame becomes the reconnect frame (kind 28, the
// echo token, the reconnect id) and the connection is made again.
void ReconnectServer(Client& c, protocol::GameFrame& frame);

} // namespace core
