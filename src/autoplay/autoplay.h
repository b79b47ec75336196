#pragma once

class Client;

namespace autoplay {

// The local player's countdown ran out without hosting: pass, and discard
// the last hand tile when a discard is due.
void TimeoutAction(Client& c);

// Hosted or automatic play of the local player's turn.
void AutoPlayStep(Client& c);

} // namespace autoplay
