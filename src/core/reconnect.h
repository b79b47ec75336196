#pragma once

class Client;

namespace core {

// The link to the game server was lost after a login: opens the reconnect
// window, which tries to connect again.
void OpenReconnectWindow(Client& c);

} // namespace core
