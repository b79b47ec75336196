#pragma once

class Client;

namespace table {

// The three table resets, called together in this order whenever the table
// is cleared for a new hand.

// Tile pictures and slot codes.
void ClearTableTiles(Client& c);
// The table window's pictures and labels, tile sizes, the wall layout and
// the seat origins.
void ResetTableDisplay(Client& c);
// The records' counters and the per-hand game state.
void ResetPlayerState(Client& c);

} // namespace table
