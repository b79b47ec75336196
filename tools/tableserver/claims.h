#pragma once

#include "tiles.h"

#include <array>
#include <optional>
#include <vector>

namespace tableserver {

// Operation codes of kind-7 frames; the same bits form the mask of the
// operations a turn prompt offers.
namespace op {
constexpr int Pass = 1;
constexpr int Chow = 4;
constexpr int Pong = 8;
constexpr int ExposedKong = 16;
constexpr int ConcealedKong = 32;
constexpr int SingleKong = 64;
constexpr int Win = 128;
constexpr int FalseWin = 129;
} // namespace op

// One seat's answer to a discard.
struct Claim {
    int seat = 0;    // 0-3
    int op = op::Pass;
    std::array<Tile, 3> tiles{}; // as the operation frame carries them
};

// Win beats kong and pong, which beat chow; a pass ranks lowest.
int ClaimRank(int operation);

// The claim that takes the discard of seat `discarder`, if any: the highest
// rank wins; between equal ranks the seat that comes first in turn order
// after the discarder.
std::optional<Claim> SettleClaims(int discarder, const std::vector<Claim>& claims);

} // namespace tableserver
