#pragma once

#include <cstdint>

class Client;

namespace rewards {

// Prepares the prop plug-in's show for a new hand, once per hand: the last
// hand's boxes and notice go, the plug-in is told of the next show, and the
// last hand's prop results are cleared.
void ResetPropRound(Client& c);

// The pointer over the label of the own seat: asks the plug-in once to show
// the video there (x, y in pixels of the label).
void Proponeself_MouseMove(Client& c, float x, float y);

// The pointer back over the table: closes the video over the own seat when
// it was shown, and lets the label ask again.
void CloseOwnSeatVideo(Client& c);

} // namespace rewards
