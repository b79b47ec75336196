#pragma once

#include "protocol/operations.h"
#include "tiles.h"

#include <array>
#include <optional>
#include <vector>

namespace tableserver {

// One seat's answer to a discard.
struct Claim {
    int seat = 0;    // 0-3
    int op = protocol::OpPass;
    std::array<Tile, 3> tiles{}; // as the operation frame carries them
};

// Win beats kong and pong, which beat chow; a pass ranks lowest.
int ClaimRank(int operation);

// The claim that takes the discard of seat `discarder`, if any: the highest
// rank wins; between equal ranks the seat that comes first in turn order
// after the discarder.
std::optional<Claim> SettleClaims(int discarder, const std::vector<Claim>& claims);

} // namespace tableserver
