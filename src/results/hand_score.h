#pragma once

#include <array>
#include <cstdint>

class Client;

namespace results {

// The score sheet of the hand just ended, built once per hand: each seat's
// column in Score.State (opening money, base stake, wild streak, the
// counterpart's and its own win-type block, kong marks, subtotal, cap,
// multipliers, total, hand text, final score and prop results, the
// separator aligned across the four lists), the final scores, the seats'
// money, records and points, the money labels and the hand-history row.
// Then the prompt for the next hand and, unless spectating, the ready
// countdown (3 seconds under automatic play, else 15); the score window is
// scheduled for the reward sequence unless the table is minimised, and the
// sheet is archived under the hand number. A hand nobody won (no winner
// declared and no gain) gets no counterpart blocks.
void ShowHandScore(Client& c);

} // namespace results
