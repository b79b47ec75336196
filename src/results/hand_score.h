#pragma once

#include <array>
#include <cstdint>

class Client;

namespace results {

// Turns up to four tiles of another seat's hand face up (Data(3) first,
// Data(0) last) into that seat's revealed tiles and hand slots, while the
// seat still has hidden tiles, and shows each on its tile image. A frame
// for the local seat only sets the tile sizes.
void RevealSeatHand(Client& c, int16_t seatBits, std::array<int16_t, 4>& data);

// The score sheet of the hand just ended: the seats' opening money, base
// stake and totals in Score.State, the final scores, the money labels and
// the hand-history row; then the prompt for the next hand and, unless
// spectating, the ready countdown (3 seconds under automatic play, else 15).
void ShowHandScore(Client& c);

} // namespace results
