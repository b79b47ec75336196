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
    if (mask & protocol::OpWin) {
        c.op = protocol::OpWin;
        return c;
    }
    if (mask & protocol::OpSpecialKong) {
        for (Tile t : SingleKongTiles(h, wild)) {
            if (t == wild && t != tile::Red && t != tile::Green)
                continue; // a robot keeps its wild tiles
            c.op = protocol::OpSpecialKong;
            c.tiles = {0, 0, t};
            return c;
        }
    }
    if (mask & protocol::OpConcealedKong) {
        const auto kongs = ConcealedKongTiles(h, wild);
        if (!kongs.empty()) {
            c.op = protocol::OpConcealedKong;
            c.tiles = {kongs.front(), kongs.front(), kongs.front()};
            return c;
        }
    }
    c.op = protocol::OpPass;
    return c;
}

Claim OnDiscard(int seat, const SeatHand& /*h*/, Tile discard, Tile /*wild*/, int mask, Rng& rng)
{
    Claim c;
    c.seat = seat;
    if (mask & protocol::OpWin) {
        c.op = protocol::OpWin;
    } else if (mask & protocol::OpExposedKong) {
        c.op = protocol::OpExposedKong;
        c.tiles = {discard, discard, discard};
    } else if ((mask & protocol::OpPong) && rng.Below(2) == 0) {
        c.op = protocol::OpPong;
        c.tiles = {discard, discard, discard};
    } else {
        c.op = protocol::OpPass;
    }
    return c;
}

} // namespace tableserver::robot
