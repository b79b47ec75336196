#pragma once

#include "widgets/gif_parser.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace widgets {

// Writes width x height colour indices (rows `stride` bytes apart) as a
// complete one-frame GIF89a file: a 256-entry global colour table from
// `palette` (entries past its count black), a graphic control extension
// only when `transparent` (disposal 0, delay 0, `transparentIndex`), the
// image at (0, 0), not interlaced, LZW at minimum code size 8, and the
// trailer.
std::vector<uint8_t> EncodeFrameGif(const uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
                                    const GifPalette& palette, bool transparent, uint8_t transparentIndex);

} // namespace widgets
