#pragma once

#include <array>
#include <cstdint>

namespace table {

struct TableModel;

// The server's confirmation of the local player's claim: each procedure
// draws the meld that the sender left in slots MeldEnd - 2 to MeldEnd and
// closes the gap it leaves in the hand, moving the remaining hand tiles on
// to higher slots with their images. The caller moves MeldEnd, HandFirst
// and HandCount afterwards. `tiles` are the confirmation's three tiles.

void ApplyChiMeld(TableModel& m, int slotA, int slotB, std::array<int16_t, 3>& tiles);
// Also cuts tiles[0] to its low byte in the caller's array.
void ApplyPongMeld(TableModel& m, std::array<int16_t, 3>& tiles);
void ApplyExposedKong(TableModel& m, int slot, std::array<int16_t, 3>& tiles);
void ApplyConcealedKong(TableModel& m, int slot, std::array<int16_t, 3>& tiles);
// Takes the declared tile out of the hand; it becomes the last discard.
void ApplySpecialKong(TableModel& m, int slot);

// The hand slot where the local hand's first pair of `code` starts, -1 when
// the hand holds none.
int FindHandPair(TableModel& m, int code);

} // namespace table
