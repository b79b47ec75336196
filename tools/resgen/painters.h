#pragma once

#include "art_table.h"
#include "gif_writer.h"

#include <vector>

namespace resgen {

// The frames of one picture of the table (one frame for a still picture),
// each exactly art.w x art.h.
std::vector<Frame> PaintArt(const Art& art);

} // namespace resgen
