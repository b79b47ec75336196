#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tableserver {

// A tile code as it travels in frames: bits 0-3 the rank, bits 4-7 one suit
// bit (0x10 honours, 0x20 bamboo, 0x40 characters, 0x80 dots).
using Tile = uint8_t;

namespace tile {

constexpr Tile Honours = 0x10;
constexpr Tile Bamboo = 0x20;
constexpr Tile Characters = 0x40;
constexpr Tile Dots = 0x80;

constexpr Tile East = 0x11;
constexpr Tile North = 0x14;
constexpr Tile Red = 0x15;
constexpr Tile Green = 0x16;
constexpr Tile White = 0x17;

constexpr int Kinds = 34;
constexpr int Count = 136;

constexpr int Rank(Tile t) { return t & 0x0F; }
constexpr int SuitBits(Tile t) { return t & 0xF0; }
constexpr bool IsHonour(Tile t) { return SuitBits(t) == Honours; }

// True for the 34 codes that exist.
bool Valid(Tile t);

// 0-33: honours 0-6, bamboo 7-15, characters 16-24, dots 25-33.
int Index(Tile t);
Tile FromIndex(int index);

// The wild tile that an indicator fixes: the next tile of its group. Suits
// run 1-9 and back to 1, winds East-South-West-North and back to East, the
// dragons green-white-green: the red dragon is never the wild tile, since it
// is a single-tile kong of its own.
Tile WildFor(Tile indicator);

// True for the tiles that can be declared as a single-tile kong alone: the
// red dragon, the green dragon and the hand's wild tile.
inline bool IsSpecial(Tile t, Tile wild) { return t == Red || t == Green || t == wild; }

// Short readable name for traces: "5B", "7C", "1D", "E", "S", "W", "N",
// "Rd", "Gd", "Wd"; "?xx" for anything else.
std::string Name(Tile t);

// Four of each of the 34 kinds, in index order.
std::array<Tile, Count> FullSet();

} // namespace tile

// Number of tiles of each kind, by Index.
using TileCounts = std::array<int, tile::Kinds>;
TileCounts CountTiles(const std::vector<Tile>& tiles);

} // namespace tableserver
