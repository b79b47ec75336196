#pragma once

#include <cstdint>
#include <functional>

class Client;

namespace window {

// The local player's input during a hand: a click on a hand tile discards
// it when a discard is due; the operation buttons and the chow and kong
// choice pictures answer a turn prompt.

void MJ_Image_MouseDown(Client& c, int16_t index, int16_t button, int16_t shift, float x, float y);
void Operation_Click(Client& c, int16_t index);
// Discards the local hand tile shown by the image as a click on it does:
// the discard frame, the tile in the middle of the table, the hand closing
// the gap. Nothing when the image shows no hand tile.
void DiscardHandTile(Client& c, int16_t index);
void Chi_Click(Client& c, int16_t index);
void Gang_Click(Client& c, int16_t index);

// Runs an input handler; a failure inside it restores the lobby window and
// ends the process, since the table can no longer be trusted.
void RunInputHandler(Client& c, const std::function<void()>& handler);

// Connects the table window's tile images, operation buttons and choice
// pictures to the handlers above.
void WireClaimInput(Client& c);

} // namespace window
