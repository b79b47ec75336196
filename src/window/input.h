#pragma once

#include <cstdint>

class Client;

namespace window {

// The table's hot keys. F1 (112) hides the windows, minimises the table and
// the lobby and lets the client play on by itself.
void pic1_KeyDown(Client& c, int16_t keyCode, int16_t shift);

} // namespace window
