#include "autoplay/spectator.h"

namespace autoplay {

// Spectating draws nothing yet: the watched table stands still.

void WatchOnTilesDrawn(Client&, uint8_t, uint8_t, std::array<int16_t, 4>&) {}

void WatchOnTileDiscarded(Client&, uint8_t, int16_t, int16_t) {}

void WatchOnOperation(Client&, int16_t, uint8_t, std::array<int16_t, 3>&) {}

} // namespace autoplay
