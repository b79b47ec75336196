#pragma once

#include <array>
#include <cstdint>

class Client;

namespace results {

// One kind-15 frame at the end of a hand: up to four tiles of another
// seat's hand (Data(3) first, Data(0) last) go into that seat's revealed
// tiles and hand slots while the seat still has hidden tiles. Once the last
// hidden tile of the three other seats has arrived, all four hands are laid
// out face up, once per hand: the local hand with small faces, the other
// hands sorted, and beside the winning seat's hand of 3m + 1 tiles the last
// discard. A frame for the local seat only sets the tile sizes. A word that
// is no tile, or a slot or image outside its table, throws: the dispatcher's
// failure handling takes it.
void RevealSeatHand(Client& c, int16_t seatBits, std::array<int16_t, 4>& data);

} // namespace results
