#pragma once

#include <array>
#include <cstdint>

class Client;

namespace autoplay {

// The spectator's twins of the table procedures, called by the dispatcher
// instead of them while WatchMode is set.

// Tiles drawn or dealt to a watched seat (kinds 1 and 5).
void WatchOnTilesDrawn(Client& c, uint8_t seat, uint8_t count, std::array<int16_t, 4>& data);
// A watched seat's discard (kind 2).
void WatchOnTileDiscarded(Client& c, uint8_t seat, int16_t tile, int16_t lastDiscardImage);
// A watched seat's operation (kind 7).
void WatchOnOperation(Client& c, int16_t op, uint8_t seat, std::array<int16_t, 3>& tiles);

} // namespace autoplay
