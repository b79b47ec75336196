#include "hand_eval.h"

#include <algorithm>

namespace tableserver {

namespace {

// The first kind with tiles left, or -1.
int FirstKind(const TileCounts& c)
{
    for (int i = 0; i < tile::Kinds; ++i)
        if (c[static_cast<std::size_t>(i)] > 0)
            return i;
    return -1;
}

bool Solve(TileCounts& c, int jokers, bool needPair)
{
    const int i = FirstKind(c);
    if (i < 0) {
        // Only wild tiles are left: they form the pair and whole melds alone.
        if (needPair)
            return jokers >= 2 && (jokers - 2) % 3 == 0;
        return jokers % 3 == 0;
    }
    auto& ci = c[static_cast<std::size_t>(i)];

    // Three of a kind from k natural tiles and 3 - k wild tiles.
    for (int k = std::min(3, ci); k >= 1; --k) {
        if (3 - k > jokers)
            continue;
        ci -= k;
        const bool ok = Solve(c, jokers - (3 - k), needPair);
        ci += k;
        if (ok)
            return true;
    }
    // The pair.
    if (needPair) {
        for (int k = std::min(2, ci); k >= 1; --k) {
            if (2 - k > jokers)
                continue;
            ci -= k;
            const bool ok = Solve(c, jokers - (2 - k), false);
            ci += k;
            if (ok)
                return true;
        }
    }
    // A run that holds this tile. Kinds below it are all used up, so the
    // places of the run below it are wild tiles; above it a natural tile is
    // used where there is one (a wild tile can only do worse there).
    const Tile t = tile::FromIndex(i);
    if (!tile::IsHonour(t)) {
        const int r = tile::Rank(t);
        for (int start = std::max(1, r - 2); start <= std::min(r, 7); ++start) {
            int used = 0;
            int taken[3] = {-1, -1, -1};
            bool ok = true;
            for (int p = 0; p < 3 && ok; ++p) {
                const int rank = start + p;
                if (rank == r) {
                    taken[p] = i;
                    --c[static_cast<std::size_t>(i)];
                } else if (rank > r && c[static_cast<std::size_t>(i + rank - r)] > 0) {
                    taken[p] = i + rank - r;
                    --c[static_cast<std::size_t>(taken[p])];
                } else if (used < jokers) {
                    ++used;
                } else {
                    ok = false;
                }
            }
            if (ok)
                ok = Solve(c, jokers - used, needPair);
            for (int p : taken)
                if (p >= 0)
                    ++c[static_cast<std::size_t>(p)];
            if (ok)
                return true;
        }
    }
    return false;
}

} // namespace

bool Decomposes(TileCounts counts, int jokers)
{
    int total = jokers;
    for (int n : counts)
        total += n;
    if (total % 3 != 2)
        return false;
    return Solve(counts, jokers, true);
}

bool IsWinningHand(const std::vector<Tile>& concealed, Tile wild)
{
    TileCounts c = CountTiles(concealed);
    int jokers = 0;
    if (tile::Valid(wild)) {
        jokers = c[static_cast<std::size_t>(tile::Index(wild))];
        c[static_cast<std::size_t>(tile::Index(wild))] = 0;
    }
    return Decomposes(c, jokers);
}

bool IsWinningWith(const std::vector<Tile>& concealed, Tile extra, Tile wild)
{
    std::vector<Tile> all = concealed;
    all.push_back(extra);
    return IsWinningHand(all, wild);
}

bool IsHardWin(const std::vector<Tile>& concealed, Tile /*wild*/)
{
    return Decomposes(CountTiles(concealed), 0);
}

int CountOf(const std::vector<Tile>& tiles, Tile t)
{
    return static_cast<int>(std::count(tiles.begin(), tiles.end(), t));
}

bool IsRun(Tile a, Tile b, Tile c)
{
    if (!tile::Valid(a) || !tile::Valid(b) || !tile::Valid(c))
        return false;
    if (tile::IsHonour(a) || tile::SuitBits(a) != tile::SuitBits(b) || tile::SuitBits(a) != tile::SuitBits(c))
        return false;
    int r[3] = {tile::Rank(a), tile::Rank(b), tile::Rank(c)};
    std::sort(r, r + 3);
    return r[1] == r[0] + 1 && r[2] == r[1] + 1;
}

std::vector<std::pair<Tile, Tile>> ChowPairs(const std::vector<Tile>& concealed, Tile discard, Tile wild)
{
    std::vector<std::pair<Tile, Tile>> out;
    if (!tile::Valid(discard) || tile::IsHonour(discard))
        return out;
    const int r = tile::Rank(discard);
    const int suit = tile::SuitBits(discard);
    auto has = [&](int rank) {
        if (rank < 1 || rank > 9)
            return false;
        const Tile t = static_cast<Tile>(suit | rank);
        return t != wild && CountOf(concealed, t) > 0;
    };
    for (int lo : {r - 2, r - 1, r + 1}) {
        const int hi = lo == r - 2 ? r - 1 : (lo == r - 1 ? r + 1 : r + 2);
        if (has(lo) && has(hi))
            out.emplace_back(static_cast<Tile>(suit | lo), static_cast<Tile>(suit | hi));
    }
    return out;
}

} // namespace tableserver
