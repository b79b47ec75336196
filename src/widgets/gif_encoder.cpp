#include "widgets/gif_encoder.h"

#include "widgets/gif_lzw.h"

namespace widgets {

namespace {

void PutWord(std::vector<uint8_t>& out, int value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

} // namespace

std::vector<uint8_t> EncodeFrameGif(const uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
                                    const GifPalette& palette, bool transparent, uint8_t transparentIndex)
{
    std::vector<uint8_t> out;
    out.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) + 801);
    for (const char c : {'G', 'I', 'F', '8', '9', 'a'})
        out.push_back(static_cast<uint8_t>(c));
    PutWord(out, width);
    PutWord(out, height);
    out.push_back(0x87); // a global colour table of 256 entries
    out.push_back(0);    // background colour index
    out.push_back(0);    // pixel aspect ratio
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = i < palette.count ? palette.colors[static_cast<std::size_t>(i)] : 0;
        out.push_back(static_cast<uint8_t>(rgb >> 16));
        out.push_back(static_cast<uint8_t>(rgb >> 8));
        out.push_back(static_cast<uint8_t>(rgb));
    }
    if (transparent)
        out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, transparentIndex, 0x00});
    out.push_back(0x2C);
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, width);
    PutWord(out, height);
    out.push_back(0); // no local table, not interlaced
    out.push_back(8); // minimum code size
    LzwEncode(pixels, width, height, stride, out);
    out.push_back(0);    // block terminator
    out.push_back(0x3B); // trailer
    return out;
}

} // namespace widgets
