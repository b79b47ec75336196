#pragma once

#include <cstdint>
#include <functional>

class Client;

namespace window {

// The local player's answers to a turn prompt: the operation buttons, the
// chow and kong choice pictures, and a right-button release on the table
// picture as a pass. The tile images' own input is in window/input.h.

void Operation_Click(Client& c, int16_t index);
// Discards the local hand tile shown by the image as a click on it does:
// the discard frame, the tile in the middle of the table, the hand closing
// the gap. Nothing when the image shows no hand tile.
void DiscardHandTile(Client& c, int16_t index);
void Chi_Click(Client& c, int16_t index);
void Gang_Click(Client& c, int16_t index);

// A button released over the bare table picture: the right button passes
// while the pass button is shown and the prompt is still open. The second
// table picture answers the same way.
void pic1_MouseUp(Client& c, int16_t button, int16_t shift, float x, float y);
void Pic2_MouseUp(Client& c, int16_t button, int16_t shift, float x, float y);
// A click on the second table picture hides the side windows.
void Pic2_Click(Client& c);

// Claim button `button` (0-4) shows its idle picture and is disabled.
void SetClaimButtonIdle(Client& c, int button);

// Runs an input handler; a failure inside it restores the lobby window and
// ends the process, since the table can no longer be trusted.
void RunInputHandler(Client& c, const std::function<void()>& handler);

// Connects the table window's tile images, operation buttons, choice
// pictures and table picture to their handlers.
void WireClaimInput(Client& c);

} // namespace window
