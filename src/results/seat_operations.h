#pragma once

#include <array>
#include <cstdint>

class Client;

namespace results {

// The operation of a kind-7 frame of any seat, applied to the table: the
// speech picture and voice of another seat (and the kong voices of the
// local player), and the tiles of the new meld moved out of the seat's hand.
// `seat` is the frame's seat bit; `tiles` its three tile values.
void ApplySeatOperation(Client& c, int16_t op, uint8_t seat, std::array<int16_t, 3>& tiles);

} // namespace results
