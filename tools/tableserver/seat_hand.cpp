#include "seat_hand.h"

#include "hand_eval.h"

#include <algorithm>

namespace tableserver {

bool SeatHand::Holds(Tile t) const { return std::find(concealed.begin(), concealed.end(), t) != concealed.end(); }

bool SeatHand::Remove(Tile t)
{
    auto it = std::find(concealed.begin(), concealed.end(), t);
    if (it == concealed.end())
        return false;
    concealed.erase(it);
    return true;
}

bool SeatHand::HasPong(Tile t) const
{
    return std::any_of(melds.begin(), melds.end(),
                       [t](const Meld& m) { return m.kind == MeldKind::Pong && m.tiles[0] == t; });
}

std::vector<Tile> ConcealedKongTiles(const SeatHand& h, Tile wild)
{
    std::vector<Tile> out;
    const TileCounts c = CountTiles(h.concealed);
    for (int i = 0; i < tile::Kinds; ++i) {
        const Tile t = tile::FromIndex(i);
        if (c[static_cast<std::size_t>(i)] >= 4 && !tile::IsSpecial(t, wild))
            out.push_back(t);
    }
    return out;
}

std::vector<Tile> SingleKongTiles(const SeatHand& h, Tile wild)
{
    std::vector<Tile> out;
    for (Tile t : {tile::Red, tile::Green, wild})
        if (h.Holds(t) && std::find(out.begin(), out.end(), t) == out.end())
            out.push_back(t);
    for (const Meld& m : h.melds)
        if (m.kind == MeldKind::Pong && h.Holds(m.tiles[0]) && std::find(out.begin(), out.end(), m.tiles[0]) == out.end())
            out.push_back(m.tiles[0]);
    return out;
}

int OwnTurnMask(const SeatHand& h, Tile wild, bool wallEmpty)
{
    if (h.drawn == 0)
        return 0;
    int mask = 0;
    if (IsWinningHand(h.concealed, wild))
        mask |= protocol::OpWin;
    if (!wallEmpty) {
        if (!ConcealedKongTiles(h, wild).empty())
            mask |= protocol::OpConcealedKong;
        if (!SingleKongTiles(h, wild).empty())
            mask |= protocol::OpSpecialKong;
    }
    return mask;
}

int ClaimMask(const SeatHand& h, Tile discard, Tile wild, bool isNextSeat, bool wallEmpty)
{
    if (!tile::Valid(discard) || tile::IsSpecial(discard, wild))
        return 0;
    int mask = 0;
    if (IsWinningWith(h.concealed, discard, wild))
        mask |= protocol::OpWin;
    const int same = CountOf(h.concealed, discard);
    if (same >= 2)
        mask |= protocol::OpPong;
    if (same >= 3 && !wallEmpty)
        mask |= protocol::OpExposedKong;
    if (isNextSeat && !ChowPairs(h.concealed, discard, wild).empty())
        mask |= protocol::OpChow;
    return mask;
}

} // namespace tableserver
