#pragma once

#include <cstdint>

class Client;

namespace window {

// The pointer kind of a tile image over a hand tile, and the picture it
// shows.
constexpr int16_t kTilePointer = 99;
constexpr int kTilePointerPicture = 1009; // 32 x 32, hot spot at (2, 2)

// The pointer over tile image `index`: over a hand tile, while a hand is
// in play and the client is not spectating, the tile is raised by 10
// pixels (the one raised before goes back down) and the pointer becomes
// the table's own.
void MJ_Image_MouseMove(Client& c, int16_t index, int16_t button, int16_t shift, float x, float y);

// A button pressed over tile image `index`: discards a hand tile when a
// discard is due (either button), passes on a right click elsewhere while
// the pass button is shown, and after a win turns up a hidden concealed-kong
// tile of another seat or a wall tile shown at the end of the hand.
void MJ_Image_MouseDown(Client& c, int16_t index, int16_t button, int16_t shift, float x, float y);

// Shows the pointer of tile image `index` on the table picture.
void ShowTilePointer(Client& c, int16_t index);

// Connects the tile images to the handlers above, and the table picture's
// pointer and bare-table button releases.
void WireTileInput(Client& c);

} // namespace window
