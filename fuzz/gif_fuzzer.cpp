// Feeds any bytes to the GIF parser and, when they parse, decodes and
// composes every frame, then writes the first frame back out with our
// encoder and checks that it decodes to the same indices.

#include "widgets/gif_encoder.h"
#include "widgets/gif_frames.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

namespace {

// Large canvases cost time, not coverage: pictures past this many pixels
// are parsed but not decoded.
constexpr int64_t kDecodeLimit = int64_t{1} << 18;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    widgets::GifStream stream;
    const int frames = widgets::ParseGifStream(bytes, stream);
    if (frames == 0)
        return 0;
    int64_t pixels = int64_t{stream.canvasWidth} * stream.canvasHeight;
    for (const widgets::GifFrame& f : stream.frames)
        pixels += int64_t{f.Width} * f.Height;
    if (pixels > kDecodeLimit)
        return 0;

    widgets::GifAnimation gif;
    if (gif.Load(bytes) != frames)
        std::abort();
    for (int i = 0; i < frames; ++i)
        gif.Compose(i);
    gif.Compose(0); // round again from the start

    const widgets::GifFrame& f = gif.Frame(0);
    const std::vector<uint8_t> file = widgets::EncodeFrameGif(gif.Indices(0), f.Width, f.Height, f.Width,
                                                              gif.PaletteOf(0), f.IsTransparent, f.TransparentIndex);
    widgets::GifAnimation again;
    if (again.Load(file) != 1)
        std::abort();
    again.BuildFrame(0);
    if (std::memcmp(again.Indices(0), gif.Indices(0), static_cast<std::size_t>(f.Width) * f.Height) != 0)
        std::abort();
    return 0;
}
