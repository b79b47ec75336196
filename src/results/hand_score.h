#pragma once

#include <array>
#include <cstdint>

class Client;

namespace results {

// The score sheet of the hand just ended: the seats' opening money, base
// stake and totals in Score.State, the final scores, the money labels and
// the hand-history row; then the prompt for the next hand and, unless
// spectating, the ready countdown (3 seconds under automatic play, else 15).
void ShowHandScore(Client& c);

} // namespace results
