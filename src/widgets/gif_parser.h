#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Reading a GIF (87a or 89a) container: the frames' geometry, timing,
// transparency and disposal, the colour tables, and where each frame's
// image data lies. The pixels are decoded by gif_lzw and gif_frames.
namespace widgets {

// Largest canvas side and largest number of frames a GIF may have here, and
// the most frame pixels one GIF may decode to (one byte each).
inline constexpr int kGifMaxSide = 4096;
inline constexpr int kGifMaxFrames = 4096;
inline constexpr int64_t kGifMaxTotalPixels = int64_t{1} << 26;

// One accepted frame.
struct GifFrame {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t DelayMs = 0;    // delay of its graphic control extension x 10; 0 without one
    int32_t PaletteRow = 0; // 0 the global colour table, n > 0 its own local table
    uint8_t TransparentIndex = 0;
    uint8_t IsTransparent = 0;
    uint8_t Disposal = 0; // 0, 1 leave; 2 restore to background; 3 restore to previous
    bool Interlaced = false;
};

// Where a frame's image data lies in the GIF bytes (0-based): from its image
// descriptor to just after the terminator of its data sub-blocks, which
// always lies inside the bytes. `lzwPos` is the minimum code size byte.
struct GifSpan {
    std::size_t dataPos = 0;
    std::size_t dataLength = 0;
    std::size_t lzwPos = 0;
};

// A colour table: colours as red x 65536 + green x 256 + blue; entries past
// `count` are black.
struct GifPalette {
    std::array<uint32_t, 256> colors{};
    int count = 0;
};

struct GifStream {
    std::vector<GifFrame> frames;
    std::vector<GifSpan> spans;       // one per frame
    std::vector<GifPalette> palettes; // row 0 the global table (empty when there is none)
    bool hasGlobalTable = false;
    int32_t canvasWidth = 0;  // the largest Left + Width of the frames
    int32_t canvasHeight = 0; // the largest Top + Height
    int32_t loops = 0;        // NETSCAPE2.0 loop count; 0 without one
};

// Parses `bytes` into `out` and returns the number of frames, 0 when the GIF
// is refused: no GIF signature (87a or 89a in any letter case), no frame, a
// frame without any colour table, a frame of zero area or one that reaches
// past kGifMaxSide. Damage after a complete frame (a cut-off file, an
// unknown block) ends the parse and keeps the complete frames: a frame whose
// data runs past the end of the bytes is not complete. Frames past
// kGifMaxFrames or kGifMaxTotalPixels are not read. Never reads outside
// `bytes`.
int ParseGifStream(std::span<const uint8_t> bytes, GifStream& out);

} // namespace widgets
