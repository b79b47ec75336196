#include "tiles.h"

#include "protocol/tile_code.h"

#include <cstdio>

namespace tableserver::tile {

bool Valid(Tile t) { return protocol::IsTileCode(t); }

int Index(Tile t)
{
    int r = Rank(t);
    switch (SuitBits(t)) {
    case Honours:
        return r - 1;
    case Bamboo:
        return 7 + r - 1;
    case Characters:
        return 16 + r - 1;
    default:
        return 25 + r - 1;
    }
}

Tile FromIndex(int index)
{
    if (index < 7)
        return static_cast<Tile>(Honours | (index + 1));
    if (index < 16)
        return static_cast<Tile>(Bamboo | (index - 7 + 1));
    if (index < 25)
        return static_cast<Tile>(Characters | (index - 16 + 1));
    return static_cast<Tile>(Dots | (index - 25 + 1));
}

Tile WildFor(Tile indicator)
{
    int r = Rank(indicator);
    int suit = SuitBits(indicator);
    if (suit != Honours)
        return static_cast<Tile>(suit | (r == 9 ? 1 : r + 1));
    if (r <= 4)
        return static_cast<Tile>(Honours | (r == 4 ? 1 : r + 1));
    // Dragons: red and white point at green, green points at white.
    return r == 6 ? White : Green;
}

std::string Name(Tile t)
{
    if (!Valid(t)) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "?%02x", t);
        return buf;
    }
    static const char* const honours[] = {"E", "S", "W", "N", "Rd", "Gd", "Wd"};
    switch (SuitBits(t)) {
    case Honours:
        return honours[Rank(t) - 1];
    case Bamboo:
        return std::to_string(Rank(t)) + "B";
    case Characters:
        return std::to_string(Rank(t)) + "C";
    default:
        return std::to_string(Rank(t)) + "D";
    }
}

std::array<Tile, Count> FullSet()
{
    std::array<Tile, Count> all{};
    for (int i = 0; i < Count; ++i)
        all[static_cast<std::size_t>(i)] = FromIndex(i / 4);
    return all;
}

} // namespace tableserver::tile

namespace tableserver {

TileCounts CountTiles(const std::vector<Tile>& tiles)
{
    TileCounts c{};
    for (Tile t : tiles)
        if (tile::Valid(t))
            ++c[static_cast<std::size_t>(tile::Index(t))];
    return c;
}

} // namespace tableserver
