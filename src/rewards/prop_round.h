#pragma once

class Client;

namespace rewards {

// Prepares the prop plug-in's show for a new hand; acts once per hand.
void ResetPropRound(Client& c);

} // namespace rewards
