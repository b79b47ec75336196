#pragma once

#include "rng.h"
#include "tiles.h"

#include <array>
#include <vector>

namespace tableserver {

// The wall as a ring of 136 positions, walked the way the client walks its
// 136 wall images: the head runs forward one position per draw (upper tile,
// lower tile, next stack); the tail starts at the stack before the head's
// and runs backward stack by stack, upper tile before lower tile. Position 0
// is where the head starts, so the tail starts at 134.
class Wall {
public:
    explicit Wall(const std::array<Tile, tile::Count>& ring);

    // The 136 tiles in an order drawn from `rng` (Fisher-Yates).
    static Wall Shuffled(Rng& rng);

    int Remaining() const { return remaining_; }
    bool Empty() const { return remaining_ == 0; }

    // Take the next tile from the head or from the tail. A position already
    // taken from the other end is passed over, so no tile is drawn twice
    // even when the two ends meet. The wall must not be empty.
    Tile DrawHead();
    Tile DrawTail();

    // The tiles a hand end shows of the wall, in the order the client places
    // them: the tail tile, the next tail tile, then up to three head tiles.
    // The list stops at the first position that is no longer in the wall.
    std::vector<Tile> Preview() const;

    int HeadPosition() const { return head_; }
    int TailPosition() const { return tail_; }
    const std::array<Tile, tile::Count>& Ring() const { return ring_; }

    static int NextTail(int tail) { return tail % 2 == 0 ? (tail + 1) % 136 : (tail + 133) % 136; }

private:
    std::array<Tile, tile::Count> ring_;
    std::array<bool, tile::Count> taken_{};
    int head_ = 0;
    int tail_ = 134;
    int remaining_ = tile::Count;
};

} // namespace tableserver
