#pragma once

#include <QImage>

namespace resgen {

// Tile picture `index` (0-179: 36 per view, 9 per suit; offsets 7 and 8 of a
// view are the standing and face-down backs) drawn at w x h pixels.
QImage PaintTile(int index, int w, int h);

} // namespace resgen
