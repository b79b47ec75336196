#pragma once

#include "table/claims.h"

#include <cstdint>

class Client;

namespace core {

// The decision countdown: one step per second while input is enabled; at
// 0 the local player's open decision is taken by automatic play.
void SchedDecisionTask(Client& c);

// The ready countdown between hands: at 0 the table is cleared and the
// ready command sent.
void SchedReadyTask(Client& c);

// The ready command: kind 16, the local seat bit, Data 0, 0, 0, 1.
void SendReady(Client& c);

// After a hand: the messages ask for Continue and announce the next game
// within 15 seconds; the Continue button is up and the table not cleared.
void ShowReadyPrompt(Client& c);

// Starts the ready countdown at `seconds` and shows it on the clock; a
// spectator has none.
void StartReadyCountdown(Client& c, int16_t seconds, table::ClockColour colour);

} // namespace core
