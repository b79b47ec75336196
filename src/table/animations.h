#pragma once

#include <array>
#include <cstdint>

namespace table {

struct TableModel;

// The seat draw once the four players are known: four standing backs in the
// middle of the table, one of which turns into the local seat's wind.
void AnimateSeatDraw(TableModel& m, int16_t seatIndex);

// Shows the compass turned for the local player's seat.
void ShowSeatCompass(TableModel& m);

// Builds the face-down wall stack by stack, tells the lobby that a hand
// starts and clears the last hand's claim choices and shown wall tiles.
// Returns false when a failure ended the client.
bool AnimateDeal(TableModel& m);

// How many tumbling pictures the dice showed in each of the two rolls.
struct DiceRollSteps {
    int first = 0;
    int second = 0;
};

// Rolls the two dice twice, ending on the four dice values; a value of 0 is
// shown, and left in `dice`, as 1. Every value must be 1 to 6 by then.
DiceRollSteps AnimateDiceRoll(TableModel& m, int16_t bankerView, std::array<int16_t, 4>& dice);

} // namespace table
