#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The variable-width LZW code of GIF image data, both ways.
namespace widgets {

// Decodes one frame's image data: `data` starts at the minimum code size
// byte, followed by data sub-blocks (a missing terminator is the end of the
// data). Writes at most `outSize` colour indices to `out`, in the order the
// data holds them, and returns how many it wrote; a damaged stream stops at
// the damage and leaves the rest of `out` as it was. Allocates nothing.
std::size_t LzwDecode(const uint8_t* data, std::size_t size, uint8_t* out, std::size_t outSize);

// Encodes width x height 8-bit colour indices (rows `stride` bytes apart)
// at minimum code size 8 and appends the data sub-blocks, without their
// terminator, to `out`: the clear code, the codes, the end code.
void LzwEncode(const uint8_t* pixels, int width, int height, std::ptrdiff_t stride, std::vector<uint8_t>& out);

} // namespace widgets
