#pragma once

#include <cstdint>

namespace table {

struct TableModel;

// The table's part of the three resets that clear the table for a new hand.

// Tile pictures, slot codes and the claim buttons; the banker label keeps
// its caption for a spectator.
void ClearTableTiles(TableModel& m, bool watchMode);
// The board's pictures and labels, tile sizes, the wall layout and the seat
// origins; the wealth label and picture are left alone while a wealth
// multiplier is set.
void ResetTableDisplay(TableModel& m, int32_t wealthMultiplier);
// The records' counters, the table state of the hand and the special-kong
// rows.
void ResetPlayerState(TableModel& m);

} // namespace table
