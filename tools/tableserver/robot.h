#pragma once

#include "claims.h"
#include "rng.h"
#include "seat_hand.h"

namespace tableserver::robot {

// The tile a robot lets go: the one with the fewest neighbours in its hand
// (equal tiles count most, then tiles one and two ranks away). The wild
// tile is kept while anything else is left.
Tile ChooseDiscard(const SeatHand& h, Tile wild);

// A robot's answer to its own turn prompt: win when it can, declare red and
// green dragons and concealed or added kongs, keep its wild tiles; otherwise
// a pass (and then a discard).
Claim OwnTurn(int seat, const SeatHand& h, Tile wild, int mask);

// A robot's answer to a discard: win when it can, kong when it can, pong now
// and then, never chow.
Claim OnDiscard(int seat, const SeatHand& h, Tile discard, Tile wild, int mask, Rng& rng);

} // namespace tableserver::robot
