#pragma once

#include "core/frame.h"

class Client;

namespace dispatch {

// Received kinds whose arms live in this folder (besides those of
// core::MsgKind).
enum ArmKind : int16_t {
    MsgAnimation = 13,
    MsgWildTile = 14,
    MsgWallReveal = 15,
    MsgTableStatus = 16,
    MsgLoginReply = 18,
    MsgUserInfo = 20,
    MsgServerNotice = 22,
    MsgPlayerReady = 23,
    MsgReconnectReply = 29,
    MsgImpeach = 66,
};

// The arms of the dispatcher: each takes the decoded header of the frame in
// RecvFrame. A frame that cannot be taken throws FrameFault.

// Seating and the hand's start.
void OnSeatName(Client& c, core::GameCmd& msg);   // kind 3
void OnHandStart(Client& c, core::GameCmd& msg);  // kind 4
void OnAnimation(Client& c, core::GameCmd& msg);  // kind 13
void OnWildTile(Client& c, core::GameCmd& msg);   // kind 14
void OnWallReveal(Client& c, core::GameCmd& msg); // kind 15

// The hand's end.
void OnSeatResult(Client& c, core::GameCmd& msg); // kind 9
void OnSettlement(Client& c, core::GameCmd& msg); // kind 17

// The table as a whole.
void OnTableStatus(Client& c, core::GameCmd& msg); // kind 16

// The client's standing with the server.
void OnLoginReply(Client& c, core::GameCmd& msg);     // kind 18
void OnReconnectReply(Client& c, core::GameCmd& msg); // kind 29
void OnServerNotice(Client& c, core::GameCmd& msg);   // kind 22
void OnPlayerReady(Client& c, core::GameCmd& msg);    // kind 23

// Users.
void OnUserInfo(Client& c, core::GameCmd& msg); // kind 20
void OnChat(Client& c, core::GameCmd& msg);     // kind 19
void OnImpeach(Client& c, core::GameCmd& msg);  // kind 66

} // namespace dispatch
