#pragma once

#include "table/geometry.h"

#include <array>
#include <cstdint>

namespace table {

struct TableModel;

// Sizes of tiles standing in a hand, as the draws lay them.
constexpr ViewSizes kDrawnHandTileSize{{{48, 78}, {35, 66}, {36, 50}, {35, 66}}};

// The next tail image after `tail`: the lower tile of the same stack after
// the upper one, then the upper tile of the stack before.
constexpr int16_t NextWallTail(int16_t tail)
{
    return static_cast<int16_t>(tail % 2 == 0 ? (tail + 1) % 136 : (tail + 133) % 136);
}

// Every tile that reaches a hand: the deal (count 4, the local player's four
// codes in data for every seat) and single draws (count 1, the tile in
// data[3]). Lays the previous discard first, then takes the tiles from the
// wall head, or from the tail for the replacement draw after a kong. For the
// local player each code used in data is replaced by its picture offset.
void OnTilesDrawn(TableModel& m, uint8_t seat, uint8_t count, std::array<int16_t, 4>& data);

// Brings the local player's special-kong row (wild tiles, red dragons, green
// dragons) in front of the left seat's hand.
void RaiseOwnSpecialKongRow(TableModel& m);

} // namespace table
