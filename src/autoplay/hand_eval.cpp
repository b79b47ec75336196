#include "autoplay/hand_eval.h"

#include "core/numeric.h"
#include "table/failure.h"
#include "table/tiles.h"

#include <array>
#include <cstdlib>
#include <string>

namespace autoplay {

namespace {

constexpr int kBestStart = 20000;  // above every weight and meld sum
constexpr int kWorstScore = -20000; // below every score
constexpr int kMeldBonus = 1000;
constexpr int kMaxMeldPasses = 5;
constexpr int kClaimMargin = 150;

// Meld bits of a rank: the runs it ends, centres or starts, and a pong.
constexpr int kRunEnding = 1;
constexpr int kRunCentred = 2;
constexpr int kRunStarting = 4;
constexpr int kPong = 8;

// The code of rank `rank` in suit index `suit`.
int CodeOf(int suit, int rank) { return table::BitOf(static_cast<int16_t>(suit)) * 16 + rank; }

void RequireTile(int tile, const char* where)
{
    if (!IsTileRank(tile))
        throw EvalFault(std::string(where) + ": tile code " + std::to_string(tile & 0xFF) + " names no tile");
}

} // namespace

void HandEvaluator::CountHandTiles()
{
    for (auto& suit : AiTileCounts)
        suit.fill(0);
    for (auto& suit : AiMeldTiles)
        suit.fill(0);
    const int first = hand_.HandFirst;
    const int end = first + hand_.HandCount;
    if (end > first) {
        table::RequireIndex(first, static_cast<int>(hand_.Slots.size()), "hand slot");
        table::RequireIndex(end - 1, static_cast<int>(hand_.Slots.size()), "hand slot");
    }
    for (int i = first; i < end; ++i) {
        table::TileSlot& slot = hand_.Slots[static_cast<std::size_t>(i)];
        slot.TileCode = static_cast<int16_t>(slot.TileCode & 0xFF);
        const int code = slot.TileCode;
        if (code == wildTile_ || code == table::kRedDragon || !IsTileRank(code))
            continue;
        ++AiTileCounts[static_cast<std::size_t>(SuitOf(code))][static_cast<std::size_t>(RankOf(code))];
    }
}

int16_t HandEvaluator::EvalSuit(int mode, int tile)
{
    const int s = SuitOf(tile);
    const int r = RankOf(tile);
    auto& c = AiTileCounts[static_cast<std::size_t>(s)];
    auto& m = AiMeldTiles[static_cast<std::size_t>(s)];
    auto& w = AiWeights[static_cast<std::size_t>(s)];
    const auto& v = seen_[static_cast<std::size_t>(s)];
    const bool numberSuit = s > 0;
    // A count of a neighbour rank; ranks outside 1-9 hold nothing.
    auto cnt = [&](int k) -> int { return k >= 1 && k <= 9 ? c[static_cast<std::size_t>(k)] : 0; };
    auto C = [&](int k) -> int16_t& { return c[static_cast<std::size_t>(k)]; };
    auto M = [&](int k) -> int16_t& { return m[static_cast<std::size_t>(k)]; };
    auto W = [&](int k) -> int { return k >= 1 && k <= 9 ? w[static_cast<std::size_t>(k)] : 0; };

    if (mode == 1) {
        RequireTile(tile, "EvalSuit");
        --C(r);
    }

    int32_t n = 0;
    for (int pass = 0; pass < kMaxMeldPasses; ++pass) {
        w.fill(0);
        int best = kBestStart;
        int k0 = 0;
        int bits = 0;
        for (int k = 1; k <= 9; ++k) {
            if (C(k) < 1)
                continue;
            int weight = 3 * C(k);
            int b = 0;
            if (numberSuit) {
                weight += cnt(k - 2) + 2 * cnt(k - 1) + 2 * cnt(k + 1) + cnt(k + 2);
                if (k > 2 && cnt(k - 1) > 0 && cnt(k - 2) > 0)
                    b |= kRunEnding;
                if (k > 1 && k < 9 && cnt(k - 1) > 0 && cnt(k + 1) > 0)
                    b |= kRunCentred;
                if (k < 8 && cnt(k + 1) > 0 && cnt(k + 2) > 0)
                    b |= kRunStarting;
            }
            if (C(k) > 2)
                b |= kPong;
            if (b == 0)
                weight = 0;
            w[static_cast<std::size_t>(k)] = static_cast<int16_t>(weight);
            if (weight > 0 && weight < best) {
                best = weight;
                k0 = k;
                bits = b;
            }
        }
        if (k0 == 0)
            break;

        // The meld of the candidate whose partners weigh least; the earlier
        // test wins on equal sums.
        int bestSum = kBestStart;
        int low = 0;      // lowest rank of the chosen run, 0 for none
        bool pong = false;
        auto consider = [&](int bit, int sum, int runLow) {
            if (!(bits & bit) || sum >= bestSum)
                return;
            bestSum = sum;
            pong = bit == kPong;
            low = runLow;
        };
        consider(kPong, 2 * W(k0), 0);
        consider(kRunStarting, W(k0 + 1) + W(k0 + 2), k0);
        consider(kRunCentred, W(k0 - 1) + W(k0 + 1), k0 - 1);
        consider(kRunEnding, W(k0 - 2) + W(k0 - 1), k0 - 2);
        if (pong) {
            C(k0) = static_cast<int16_t>(C(k0) - 3);
            M(k0) = static_cast<int16_t>(M(k0) + 3);
        } else if (low >= 1) {
            for (int k = low; k < low + 3; ++k) {
                --C(k);
                ++M(k);
            }
        } else {
            break;
        }
        if (mode >= 0 && mode <= 3)
            n += kMeldBonus;
    }

    if (!numberSuit) {
        for (int k = 1; k <= 7; ++k) {
            if (C(k) <= 0)
                continue;
            n -= C(k) == 1 ? 100 : 30;
            n -= 2 * v[static_cast<std::size_t>(k)];
            n += 50 * M(k);
        }
    } else {
        const int c2 = C(2), c5 = C(5), c8 = C(8);
        for (int k = 1; k <= 9; ++k) {
            if (C(k) <= 0)
                continue;
            n -= 60;
            n -= 2 * v[static_cast<std::size_t>(k)];
            if (k == 2 || k == 5 || k == 8) {
                n += (c2 >= 2 || c5 >= 2 || c8 >= 2) ? 54 : 10;
                if (c2 + c5 + c8 < 2)
                    n += 8;
            }
            n += 4 - std::abs(k - 5);
            for (int j = 1; j <= 9; ++j) {
                const int d = std::abs(k - j);
                const int cj = C(j);
                if (cj > 0) {
                    if (d <= 1)
                        n += (3 * cj * (10 - d)) / 2;
                    else if (d == 2)
                        n += (cj * (10 - d)) / 2;
                    else if (d <= 4)
                        n += (cj * (10 - d)) / 3;
                }
                const int mj = M(j);
                if (mj > 0 && d < 3)
                    n += (mj * (10 - d)) / 2;
            }
        }
    }

    if (mode == 1)
        ++C(r);
    return core::Checked16(n);
}

int HandEvaluator::FirstHandSlotOf(int code) const
{
    for (int i = hand_.HandFirst; i < hand_.HandFirst + hand_.HandCount; ++i)
        if (table::SlotAt(hand_, i).TileCode == code)
            return i;
    return -1;
}

int16_t HandEvaluator::DiscardTotal(int slot)
{
    const int tile = table::SlotAt(hand_, slot).TileCode & 0xFF;
    const int s = SuitOf(tile);
    int32_t total = 0;
    for (int x = 0; x < 4; ++x) {
        if (x == s)
            continue;
        CountHandTiles();
        total += EvalSuit(0, CodeOf(x, 1));
    }
    CountHandTiles();
    total += EvalSuit(1, tile);
    return core::Checked16(total);
}

int16_t HandEvaluator::ChooseDiscard()
{
    const int first = hand_.HandFirst;
    const int last = first + hand_.HandCount - 1;
    if (last < first)
        throw EvalFault("ChooseDiscard: the hand is empty");
    // Each suit scores the same whenever the hand is counted afresh, and a
    // tile's total depends on its code only: the other suits are scored
    // once, and each code of the hand once.
    bool counted = false;
    SuitCounts hand{};
    std::array<int32_t, 4> suitScore{};
    std::array<int16_t, 256> totals{};
    std::array<bool, 256> known{};
    int best = kWorstScore;
    int chosen = last;
    for (int i = first; i <= last; ++i) {
        const int tile = table::SlotAt(hand_, i).TileCode & 0xFF;
        if (tile == wildTile_ || tile == table::kRedDragon)
            continue;
        if (!counted) {
            CountHandTiles();
            hand = AiTileCounts;
            for (int x = 0; x < 4; ++x)
                suitScore[static_cast<std::size_t>(x)] = EvalSuit(0, CodeOf(x, 1));
            counted = true;
        }
        const auto t = static_cast<std::size_t>(tile);
        if (!known[t]) {
            const auto s = static_cast<std::size_t>(SuitOf(tile));
            int32_t total = 0;
            for (std::size_t x = 0; x < 4; ++x)
                if (x != s)
                    total += suitScore[x];
            AiTileCounts[s] = hand[s];
            AiMeldTiles[s].fill(0);
            total += EvalSuit(1, tile);
            totals[t] = core::Checked16(total);
            known[t] = true;
        }
        if (totals[t] > best) {
            best = totals[t];
            chosen = i;
        }
    }
    return table::SlotAt(hand_, chosen).TileCode;
}

ClaimScores HandEvaluator::JudgeClaim(int kind, int tile)
{
    AiClaimTileA = 0;
    AiClaimTileB = 0;
    RequireTile(tile, "ShouldClaim");
    const int s = SuitOf(tile);
    const int r = RankOf(tile);
    auto& c = AiTileCounts[static_cast<std::size_t>(s)];
    auto C = [&](int k) -> int16_t& { return c[static_cast<std::size_t>(k)]; };

    ClaimScores scores;
    scores.withClaim = kWorstScore;
    if (kind == 1) {
        auto tryRun = [&](int a, int b) {
            CountHandTiles();
            if (C(a) < 1 || C(b) < 1)
                return;
            --C(a);
            --C(b);
            const int32_t v = core::Checked16(EvalSuit(2, tile) + kMeldBonus);
            scores.possible = true;
            if (v > scores.withClaim) {
                scores.withClaim = v;
                AiClaimTileA = CodeOf(s, a);
                AiClaimTileB = static_cast<int16_t>(CodeOf(s, b));
            }
        };
        if (r > 2)
            tryRun(r - 2, r - 1);
        if (r > 1 && r < 9)
            tryRun(r - 1, r + 1);
        if (r < 8)
            tryRun(r + 1, r + 2);
        if (const int slot = FirstHandSlotOf(AiClaimTileA); slot >= 0)
            AiClaimTileA = slot;
        if (const int slot = FirstHandSlotOf(AiClaimTileB); slot >= 0)
            AiClaimTileB = static_cast<int16_t>(slot);
    } else {
        CountHandTiles();
        C(r) = static_cast<int16_t>(C(r) - 2);
        AiClaimTileA = CodeOf(s, r);
        // A pong needs two of the tile in the hand (red dragons and the wild
        // tile are never counted): without them there is nothing to claim.
        if (C(r) < 0)
            return scores;
        scores.possible = true;
        scores.withClaim = core::Checked16(EvalSuit(3, tile) + kMeldBonus);
    }

    CountHandTiles();
    scores.without = EvalSuit(0, tile);
    return scores;
}

bool HandEvaluator::ShouldClaim(int kind, int tile)
{
    const ClaimScores scores = JudgeClaim(kind, tile);
    return scores.possible && scores.withClaim - scores.without > kClaimMargin;
}

int16_t HandEvaluator::KongScore()
{
    // Scoring a suit touches that suit's tables only, so one count serves
    // all four.
    CountHandTiles();
    int32_t sum = 0;
    for (int x = 0; x < 4; ++x)
        sum = core::Checked16(sum + EvalSuit(4, CodeOf(x, 1)));
    return static_cast<int16_t>(sum);
}

bool HandEvaluator::ShouldKong() { return KongScore() > -100; }

} // namespace autoplay
