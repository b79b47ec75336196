#include "wall.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace tableserver {

Wall::Wall(const std::array<Tile, tile::Count>& ring) : ring_(ring) {}

Wall Wall::Shuffled(Rng& rng)
{
    std::array<Tile, tile::Count> ring = tile::FullSet();
    for (int i = tile::Count - 1; i > 0; --i)
        std::swap(ring[static_cast<std::size_t>(i)], ring[static_cast<std::size_t>(rng.Below(i + 1))]);
    return Wall(ring);
}

Tile Wall::DrawHead()
{
    assert(remaining_ > 0);
    while (taken_[static_cast<std::size_t>(head_)])
        head_ = (head_ + 1) % 136;
    const auto at = static_cast<std::size_t>(head_);
    taken_[at] = true;
    --remaining_;
    head_ = (head_ + 1) % 136;
    return ring_[at];
}

Tile Wall::DrawTail()
{
    assert(remaining_ > 0);
    // The tail walk visits every position once per lap, so an untaken one
    // is found within 136 steps while the wall is not empty.
    while (taken_[static_cast<std::size_t>(tail_)])
        tail_ = NextTail(tail_);
    const auto at = static_cast<std::size_t>(tail_);
    taken_[at] = true;
    --remaining_;
    tail_ = NextTail(tail_);
    return ring_[at];
}

std::vector<Tile> Wall::Preview() const
{
    std::vector<int> positions{tail_, NextTail(tail_), head_, (head_ + 1) % 136, (head_ + 2) % 136};
    std::vector<Tile> out;
    std::vector<int> used;
    for (int p : positions) {
        if (taken_[static_cast<std::size_t>(p)] || std::find(used.begin(), used.end(), p) != used.end())
            break;
        used.push_back(p);
        out.push_back(ring_[static_cast<std::size_t>(p)]);
    }
    return out;
}

} // namespace tableserver
