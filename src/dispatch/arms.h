#pragma once

#include "protocol/frame.h"

class Client;

namespace dispatch {

// The arms of the dispatcher: each takes the decoded header of the frame in
// RecvFrame. A frame that cannot be taken throws FrameFault.

// Seating and the hand's start.
void OnSeatName(Client& c, const protocol::GameCmd& msg);   // kind 3
void OnHandStart(Client& c, const protocol::GameCmd& msg);  // kind 4
void OnAnimation(Client& c, const protocol::GameCmd& msg);  // kind 13
void OnWildTile(Client& c, const protocol::GameCmd& msg);   // kind 14
void OnWallReveal(Client& c, const protocol::GameCmd& msg); // kind 15

// The hand's end.
void OnSeatResult(Client& c, const protocol::GameCmd& msg); // kind 9
void OnSettlement(Client& c, const protocol::GameCmd& msg); // kind 17

// The table as a whole.
void OnTableStatus(Client& c, const protocol::GameCmd& msg); // kind 16

// The client's standing with the server.
void OnLoginReply(Client& c, const protocol::GameCmd& msg);     // kind 18
void OnReconnectReply(Client& c, const protocol::GameCmd& msg); // kind 29
void OnServerNotice(Client& c, const protocol::GameCmd& msg);   // kind 22
void OnPlayerReady(Client& c, const protocol::GameCmd& msg);    // kind 23

// Users.
void OnUserInfo(Client& c, const protocol::GameCmd& msg); // kind 20
void OnChat(Client& c, const protocol::GameCmd& msg);     // kind 19
void OnImpeach(Client& c, const protocol::GameCmd& msg);  // kind 66

} // namespace dispatch
