#pragma once

#include "tiles.h"

#include <utility>
#include <vector>

namespace tableserver {

// Win detection. A concealed hand of 3n + 2 tiles wins when it splits into n
// melds (three equal tiles, or three tiles of one suit in a run) and a pair,
// every wild tile standing in for any tile it is needed as. The melds already
// laid on the table are complete and do not take part.
bool IsWinningHand(const std::vector<Tile>& concealed, Tile wild);

// The same with one more tile (a discard being claimed).
bool IsWinningWith(const std::vector<Tile>& concealed, Tile extra, Tile wild);

// A winning hand that needs no wild tile to stand in for another tile: every
// wild tile it holds counts as itself.
bool IsHardWin(const std::vector<Tile>& concealed, Tile wild);

// Whether a hand split into melds and a pair exists for these counts, with
// `jokers` tiles free to stand in for any tile.
bool Decomposes(TileCounts counts, int jokers);

int CountOf(const std::vector<Tile>& tiles, Tile t);

// The pairs of hand tiles (lower first) that make a run with `discard`,
// without using the wild tile's code. Each pair is listed once.
std::vector<std::pair<Tile, Tile>> ChowPairs(const std::vector<Tile>& concealed, Tile discard, Tile wild);

// True when {a, b, c} is a run of one suit (in any order).
bool IsRun(Tile a, Tile b, Tile c);

} // namespace tableserver
