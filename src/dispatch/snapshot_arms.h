#pragma once

#include "protocol/frame.h"

class Client;

namespace dispatch {

// A user left the table: the seat of that name empties, the ready
// countdown starts again after a running game, and a spectator's watch
// ends. The local player's own name ends the client.
void OnUserLeft(Client& c, const protocol::GameCmd& msg); // kind 21

// A running hand drawn from scratch: the hand header clears the table and
// names the dealer, the wild tile and the indicator; each of the four seat
// frames lays one seat (special kongs, melds, the hidden hand), and the
// fourth completes the wall, the indicator and the discards.
void OnRoundSnapshot(Client& c, const protocol::GameCmd& msg); // kind 41
void OnSeatSnapshot(Client& c, const protocol::GameCmd& msg);  // kind 40

} // namespace dispatch
