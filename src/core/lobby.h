#pragma once

#include <cstdint>

class Client;

namespace core {

// Private messages between the lobby window and the table window.
enum LobbyMsg : uint32_t {
    LobbyMsgConnect = 0x16,
    LobbyMsgLeave = 0x303,
    LobbyMsgIdle = 0x400,
    LobbyMsgInGame = 0x465,
    LobbyMsgBusy = 0x466,
    LobbyMsgDealStart = 0x467,
};

// Restores the lobby window found by LobbyTitle; ends the process at once
// when no window bears the title. Does nothing while the title is blank.
void RestoreLobbyWindow(Client& c);

// The same with the minimise command.
void MinimizeLobbyWindow(Client& c);

// Posts a private message to the lobby window, if it exists.
void PostLobbyMessage(Client& c, uint32_t message);

// The table window's handler of the lobby's messages. Returns true for the
// lobby's own messages (connect, leave, idle, in game); others are not its
// business.
bool MainWndProc(Client& c, uint32_t message, uint32_t wParam, uint32_t lParam);

} // namespace core
