#pragma once

class Client;

namespace core {

// The three table resets, called together in this order whenever the table
// is cleared for a new hand: the table model's part and the hand's flags
// and records elsewhere in the client.

// Tile pictures, slot codes, the seats' caps and names.
void ClearTableTiles(Client& c);
// The table window's pictures and labels, tile sizes, the wall layout, the
// seat origins, the chat window, and the hand's prop, report and timeout
// flags.
void ResetTableDisplay(Client& c);
// The records' counters, the per-hand game state and the jade task.
void ResetPlayerState(Client& c);

// The table cleared for a new hand: the three resets in order, then the
// table marked as cleared.
void ClearTable(Client& c);

// The table's deal is laid out: tells the lobby that a hand starts and
// forgets the last hand's claim choices, shown wall tiles and other seats'
// concealed kongs.
void OnDealStarted(Client& c);

} // namespace core
