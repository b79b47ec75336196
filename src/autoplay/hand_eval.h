#pragma once

#include "table/players.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace autoplay {

// Per-suit tile counts: suit index 0-3 (honours, bamboo, characters, dots),
// rank 1-9 (entry 0 unused; honours use 1-7).
using SuitCounts = std::array<std::array<int16_t, 10>, 4>;

// A tile code that names no tile (rank 0, above 9, or above 7 for an
// honour), or a score that leaves 16 bits: the automatic player's failure
// handling takes it.
class EvalFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The scores a claim is judged by: the hand with the claimed meld (the best
// one for a chow) against the hand as it is. `possible` is false when the
// hand lacks the partners.
struct ClaimScores {
    bool possible = false;
    int32_t withClaim = 0;
    int32_t without = 0;
};

// Suit index (0 honours, 1 bamboo, 2 characters, 3 dots: the highest suit
// bit) and rank of the low byte of a tile code.
constexpr int SuitOf(int tile)
{
    const int bits = (tile >> 4) & 0x0F;
    return bits >= 8 ? 3 : bits >= 4 ? 2 : bits >= 2 ? 1 : 0;
}
constexpr int RankOf(int tile) { return tile & 0x0F; }

// True when the low byte of `tile` names a tile rank of its suit.
constexpr bool IsTileRank(int tile)
{
    const int r = RankOf(tile);
    return r >= 1 && r <= (SuitOf(tile) == 0 ? 7 : 9);
}

// The automatic player's judgement of the local hand, one suit at a time.
//
// CountHandTiles copies the concealed hand into AiTileCounts; EvalSuit then
// scores one suit of it, moving the melds it finds into AiMeldTiles, so
// every evaluation starts with a fresh CountHandTiles. The wild tile and
// red dragons never take part.
class HandEvaluator {
public:
    // The local player's record, the hand's wild tile and the tiles the
    // table has shown; all are read when a judgement runs.
    HandEvaluator(table::PlayerRecord& hand, const int16_t& wildTile, const SuitCounts& seen)
        : hand_(hand), wildTile_(wildTile), seen_(seen)
    {
    }

    // Rebuilds AiTileCounts from the hand and clears AiMeldTiles. Each hand
    // slot's code is cut to its low byte on the way.
    void CountHandTiles();

    // The score of the suit of `tile` (low byte: suit bits 4-7, rank 0-3).
    // Mode 0, 2, 3: as the counts stand; 1: without one of `tile` (put back
    // afterwards); 4: as 0, but melds earn no bonus.
    int16_t EvalSuit(int mode, int tile);

    // The whole hand's score without the tile in hand slot `slot`.
    int16_t DiscardTotal(int slot);
    // The tile code to discard: the one whose removal leaves the best hand;
    // the earlier slot on equal totals, the last slot when every tile is a
    // wild tile or a red dragon.
    int16_t ChooseDiscard();

    // Kind 1 judges a chow of `tile`, any other kind a pong. A chow leaves
    // its partners' hand slots in AiClaimTileA (lower rank) and
    // AiClaimTileB; a pong leaves the tile's code in AiClaimTileA.
    ClaimScores JudgeClaim(int kind, int tile);
    // True when the claim raises the score by more than 150. A pong on a
    // tile held fewer than two times is refused.
    bool ShouldClaim(int kind, int tile);

    // The hand's loose tiles scored suit by suit, melds unrewarded.
    int16_t KongScore();
    // True when KongScore is above -100.
    bool ShouldKong();

    SuitCounts AiTileCounts{};
    SuitCounts AiMeldTiles{};
    SuitCounts AiWeights{};
    int32_t AiClaimTileA = 0;
    int16_t AiClaimTileB = 0;

private:
    int FirstHandSlotOf(int code) const;

    table::PlayerRecord& hand_;
    const int16_t& wildTile_;
    const SuitCounts& seen_;
};

} // namespace autoplay
