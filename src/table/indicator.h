#pragma once

namespace table {

struct TableModel;

// Shows the indicator tile face up on top of the stack at the wall tail,
// sized and turned for that side of the wall.
void ShowPiZiTile(TableModel& m);

} // namespace table
