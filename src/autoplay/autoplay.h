#pragma once

class Client;

namespace autoplay {

// The local player's countdown ran out without hosting: pass unless the
// decision was answered, and when a discard is due throw away the tile in
// the last hand slot, the hand left unsorted.
void TimeoutAction(Client& c);

// The countdown ran out for a hosted player: declare a win, or claim a
// kong, pong or chow judged worthwhile; otherwise pass and, when a discard
// is due, discard the tile the hand evaluation values least.
void AutoPlayStep(Client& c);

} // namespace autoplay
