#pragma once

#include <cstdint>
#include <optional>

namespace table {

struct TableModel;

// The three columns of a seat's special-kong row.
enum SpecialKongColumn { RedColumn, GreenColumn, WildColumn };

// The column a tile belongs to, or none for the fourth tile of a pong.
std::optional<SpecialKongColumn> ColumnOf(const TableModel& m, int tile);

// Lays a tile into its column of the seat's special-kong row.
void LayIntoColumn(TableModel& m, int view, SpecialKongColumn column, int16_t image, int16_t tile);

// Re-stacks the special-kong row of a side seat after its hand was raised
// (view 1) or lowered (view 3).
void RestackSideRow(TableModel& m, int view);

// Side seats' hands: the left column's lower tiles cover the upper ones, the
// right column's upper tiles lie behind the lower ones.
void StackSideHand(TableModel& m, int view);

// Lays a discarded red dragon, green dragon or wild tile, shown by `image`,
// into the special-kong row of the seat in `view`; afterwards the table has
// no last discard to lay.
void PlaceSpecialKongTile(TableModel& m, uint8_t view, int16_t& tile, int16_t& image);

} // namespace table
