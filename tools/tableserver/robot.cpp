#include "robot.h"

#include "hand_eval.h"

namespace tableserver::robot {

namespace {

int Neighbours(const TileCounts& c, Tile t)
{
    const int i = tile::Index(t);
    int score = (c[static_cast<std::size_t>(i)] - 1) * 4;
    if (!tile::IsHonour(t)) {
        const int r = tile::Rank(t);
        for (int d : {-2, -1, 1, 2}) {
            if (r + d < 1 || r + d > 9)
                continue;
            const int n = c[static_cast<std::size_t>(i + d)];
            score += n * (d == -1 || d == 1 ? 2 : 1);
        }
    }
    return score;
}

} // namespace

Tile ChooseDiscard(const SeatHand& h, Tile wild)
{
    const TileCounts c = CountTiles(h.concealed);
    Tile best = 0;
    int bestScore = 1 << 30;
    for (Tile t : h.concealed) {
        if (t == wild)
            continue;
        const int score = Neighbours(c, t);
        // Ties: the lower tile index, so the choice does not depend on the
        // order the tiles came in.
        if (score < bestScore || (score == bestScore && tile::Index(t) < tile::Index(best))) {
            best = t;
            bestScore = score;
        }
    }
    if (best == 0 && !h.concealed.empty())
        best = h.concealed.front();
    return best;
}

Claim OwnTurn(int seat, const SeatHand& h, Tile wild, int mask)
{
    Claim c;
    c.seat = seat;
    if (mask & op::Win) {
        c.op = op::Win;
        return c;
    }
    if (mask & op::SingleKong) {
        for (Tile t : SingleKongTiles(h, wild)) {
            if (t == wild && t != tile::Red && t != tile::Green)
                continue; // a robot keeps its wild tiles
            c.op = op::SingleKong;
            c.tiles = {0, 0, t};
            return c;
        }
    }
    if (mask & op::ConcealedKong) {
        const auto kongs = ConcealedKongTiles(h, wild);
        if (!kongs.empty()) {
            c.op = op::ConcealedKong;
            c.tiles = {kongs.front(), kongs.front(), kongs.front()};
            return c;
        }
    }
    c.op = op::Pass;
    return c;
}

Claim OnDiscard(int seat, const SeatHand& /*h*/, Tile discard, Tile /*wild*/, int mask, Rng& rng)
{
    Claim c;
    c.seat = seat;
    if (mask & op::Win) {
        c.op = op::Win;
    } else if (mask & op::ExposedKong) {
        c.op = op::ExposedKong;
        c.tiles = {discard, discard, discard};
    } else if ((mask & op::Pong) && rng.Below(2) == 0) {
        c.op = op::Pong;
        c.tiles = {discard, discard, discard};
    } else {
        c.op = op::Pass;
    }
    return c;
}

} // namespace tableserver::robot
