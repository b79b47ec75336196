#pragma once

#include <array>
#include <cstdint>

namespace table {

struct TableModel;

// Base sizes (pixels of the 1024 x 768 table) of the tiles laid in each view.
struct TileSize {
    int16_t w;
    int16_t h;
};
using ViewSizes = std::array<TileSize, 4>;

constexpr ViewSizes kWallTileSize{{{36, 50}, {48, 35}, {30, 36}, {48, 35}}};
constexpr ViewSizes kHandTileSize{{{48, 78}, {35, 66}, {37, 50}, {35, 66}}};
constexpr ViewSizes kMeldTileSize{{{45, 60}, {45, 35}, {34, 40}, {45, 35}}};
constexpr ViewSizes kRevealTileSize{{{48, 60}, {45, 35}, {36, 39}, {45, 35}}};

// How far the upper tile of a wall stack lies above the lower one, by side.
constexpr std::array<int16_t, 4> kStackRaise{22, 20, 16, 20};

// Seat origins by view: hand row and discard row start.
struct SeatOrigin {
    int16_t handX, handY, discardX, discardY;
};
constexpr std::array<SeatOrigin, 4> kSeatOrigins{{{19, 564, 358, 438},
                                                   {163, 192, 287, 238},
                                                   {842, 122, 635, 238},
                                                   {942, 560, 758, 438}}};

// A base x or y value scaled and rounded to an integer, halves to even.
int16_t ScaledX(const TableModel& m, double base);
int16_t ScaledY(const TableModel& m, double base);

// Sets the working tile size of every view to the given base sizes.
void SetTileSizes(TableModel& m, const ViewSizes& sizes);

// Places and sizes the 136 tile images as the four walls of 17 stacks and
// sets their overlapping order.
void LayOutWall(TableModel& m);

} // namespace table
