#pragma once

#include <cstdint>

class Client;

namespace window {

// Key codes as the key handlers take them.
constexpr int16_t kKeyEsc = 27;
constexpr int16_t kKeyAlt = 18;
constexpr int16_t kKeyC = 67;
constexpr int16_t kKeyF1 = 112;
constexpr int16_t kKeyF6 = 117;

// The key code of a Qt key; 0 for a key without one.
int16_t VbKeyCode(int qtKey);

// The key handlers of the table window. F1 is the boss key: the side
// windows go, and the table and lobby windows are minimised. F1-F6 reach
// the prop plug-in. Esc on the table closes open panels, or opens and
// closes the exit dialog; Alt then C on the table opens the chat window.
// Every other key on the table puts the focus into the chat box.
//
// Form_KeyDown is the window's own handler, which sees every key first
// while key preview is on; the others belong to the control with the focus:
// the chat box, the system-message lists, the table itself (any other
// control of the window counts as the table).
namespace keys {
void Form_KeyDown(Client& c, int16_t keyCode, int16_t shift);
void Chat_KeyDown(Client& c, int16_t keyCode, int16_t shift);
void pic1_KeyDown(Client& c, int16_t keyCode, int16_t shift);
void Sysmsg_KeyDown(Client& c, int16_t index, int16_t keyCode, int16_t shift);
// A click on the bare table hides the side windows.
void pic1_Click(Client& c);

// Routes the real key presses of the table window and its controls to the
// handlers above, and the table's clicks to pic1_Click.
void WireHotKeys(Client& c);
} // namespace keys

} // namespace window
