#include "claims.h"

namespace tableserver {

int ClaimRank(int operation)
{
    switch (operation) {
    case protocol::OpWin:
        return 3;
    case protocol::OpPong:
    case protocol::OpExposedKong:
        return 2;
    case protocol::OpChow:
        return 1;
    default:
        return 0;
    }
}

std::optional<Claim> SettleClaims(int discarder, const std::vector<Claim>& claims)
{
    std::optional<Claim> best;
    int bestRank = 0;
    int bestDistance = 4;
    for (const Claim& c : claims) {
        const int rank = ClaimRank(c.op);
        if (rank == 0)
            continue;
        const int distance = (c.seat - discarder + 4) % 4;
        if (rank > bestRank || (rank == bestRank && distance < bestDistance)) {
            best = c;
            bestRank = rank;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace tableserver
