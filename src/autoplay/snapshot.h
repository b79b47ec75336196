#pragma once

#include <cstdint>

class Client;

// Helpers of the table snapshot that draws a running hand from scratch for
// a spectator who joins it.
namespace autoplay {

// Sorts the first `count` tile codes in place: dots, characters, bamboo,
// honours, each by rising rank.
void SortTiles(int16_t* tiles, uint8_t count);

// Shows the indicator tile face up on tile image `image`, on top of the
// stack at the wall tail, sized and turned for that side of the wall.
void ShowSnapshotPiZiTile(Client& c, int16_t& image);

// Lays every seat's discards so far face down into its discard rows, the
// images taken from the wall ring after those the snapshot used; stops
// when the snapshot's images run out. The last discard laid becomes the
// table's last discard, in the view it was laid for.
void SnapshotLayWall(Client& c);

} // namespace autoplay
