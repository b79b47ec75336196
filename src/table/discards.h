#pragma once

#include <cstdint>

namespace table {

struct TableModel;

// Every seat's discard as the server reports it: speaks the tile in the
// discarder's voice, takes it out of the hand, shows it face up in the
// middle of the table and records it as the last discard. For another seat
// `flag` 1 means the tile came from inside the hand (a random hidden tile
// is shown leaving), otherwise it is the tile just drawn. The third argument
// is not read.
void OnTileDiscarded(TableModel& m, uint8_t seat, int16_t tile, int16_t third, const int16_t& flag);

} // namespace table
