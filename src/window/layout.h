#pragma once

class Client;

namespace window {

// Places the table window's controls for the layout scale and marks the
// game as running.
void LayoutTableControls(Client& c);

// Places the play controls and sets up the customer-service channel.
void LayoutPlayControls(Client& c);

// Draws the window's own frame when the screen is larger than the table.
void DrawWindowFrame(Client& c);

} // namespace window
