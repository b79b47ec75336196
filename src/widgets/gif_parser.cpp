#include "widgets/gif_parser.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace widgets {

namespace {

// The end of the readable bytes: every reader stops here and ends the parse.
struct EndOfData {};

// A frame the GIF may not have at all: the whole GIF is refused.
struct Refused {};

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : b_(bytes) {}

    std::size_t pos = 0;

    uint8_t Byte()
    {
        if (pos >= b_.size())
            throw EndOfData{};
        return b_[pos++];
    }

    uint16_t Word()
    {
        if (pos >= b_.size() || b_.size() - pos < 2)
            throw EndOfData{};
        const uint16_t w = static_cast<uint16_t>(b_[pos] | (b_[pos + 1] << 8));
        pos += 2;
        return w;
    }

    // n bytes, or nothing (and no move) when fewer remain.
    std::span<const uint8_t> Bytes(std::size_t n)
    {
        if (pos >= b_.size() || b_.size() - pos < n)
            return {};
        const std::span<const uint8_t> s = b_.subspan(pos, n);
        pos += n;
        return s;
    }

    // Reads 2^bits colour triples; the table and one byte after it must be
    // there.
    void ColorTable(GifPalette& row, int bits)
    {
        const std::size_t n = std::size_t{1} << bits;
        if (pos >= b_.size() || b_.size() - pos < 3 * n + 1)
            throw EndOfData{};
        for (std::size_t i = 0; i < n; ++i) {
            const uint8_t* t = &b_[pos + 3 * i];
            row.colors[i] = static_cast<uint32_t>(t[0]) << 16 | static_cast<uint32_t>(t[1]) << 8 | t[2];
        }
        row.count = static_cast<int>(n);
        pos += 3 * n;
    }

    // Skips data sub-blocks and their terminator. Returns false when the
    // blocks run past the end of the bytes (the position is then past it).
    bool SkipSubBlocks()
    {
        while (pos < b_.size() && b_[pos] != 0)
            pos += 1 + std::size_t{b_[pos]};
        ++pos;
        return pos <= b_.size();
    }

private:
    std::span<const uint8_t> b_;
};

bool SignatureIs(std::span<const uint8_t> bytes)
{
    if (bytes.size() < 6)
        return false;
    char text[7] = {};
    for (int i = 0; i < 6; ++i)
        text[i] = static_cast<char>(std::tolower(bytes[static_cast<std::size_t>(i)]));
    return std::strcmp(text, "gif89a") == 0 || std::strcmp(text, "gif87a") == 0;
}

bool IsNetscapeLoop(std::span<const uint8_t> id)
{
    static constexpr char kName[] = "NETSCAPE2.0";
    if (id.size() != sizeof kName - 1)
        return false;
    for (std::size_t i = 0; i < id.size(); ++i)
        if (std::toupper(id[i]) != kName[i])
            return false;
    return true;
}

} // namespace

int ParseGifStream(std::span<const uint8_t> bytes, GifStream& out)
{
    out = GifStream{};
    if (!SignatureIs(bytes))
        return 0;
    Reader r(bytes);
    int64_t totalPixels = 0;
    try {
        // The logical screen's size, background colour and aspect ratio are
        // not used: the canvas is the frames' union.
        r.pos = 10;
        const uint8_t screen = r.Byte();
        r.pos = 13;
        if (screen & 0x80) {
            out.palettes.emplace_back();
            r.ColorTable(out.palettes[0], (screen & 7) + 1);
            out.hasGlobalTable = true;
        } else {
            out.palettes.emplace_back(); // row 0 stays empty
        }

        GifFrame current;
        for (;;) {
            const uint8_t block = r.Byte();
            if (block == 0x00)
                continue; // stray padding between blocks
            if (block == 0x21) {
                const uint8_t label = r.Byte();
                if (label == 0xFF) {
                    const uint8_t size = r.Byte();
                    if (IsNetscapeLoop(r.Bytes(size))) {
                        if (r.Byte() == 3) {
                            r.pos += 1;
                            out.loops = r.Word();
                        } else {
                            r.pos -= 1;
                        }
                    }
                } else if (label == 0xF9) {
                    // The last graphic control extension before an image
                    // applies to it alone.
                    current = GifFrame{};
                    const std::size_t start = r.pos - 2;
                    r.Byte(); // block size, 4
                    const uint8_t packed = r.Byte();
                    current.Disposal = static_cast<uint8_t>((packed >> 2) & 3);
                    if (current.Disposal == 3 && out.frames.empty())
                        current.Disposal = 0; // nothing to restore before the first frame
                    current.DelayMs = int32_t{r.Word()} * 10;
                    current.IsTransparent = packed & 1;
                    if (current.IsTransparent)
                        current.TransparentIndex = r.Byte();
                    else
                        r.pos = start + 7;
                }
                r.SkipSubBlocks();
                continue;
            }
            if (block != 0x2C)
                break; // the trailer, or a byte that starts no block

            GifSpan span;
            span.dataPos = r.pos - 1;
            current.Left = r.Word();
            current.Top = r.Word();
            current.Width = r.Word();
            current.Height = r.Word();
            const uint8_t packed = r.Byte();
            current.Interlaced = (packed & 0x40) != 0;
            if (packed & 0x80) {
                current.PaletteRow = static_cast<int32_t>(out.palettes.size());
                out.palettes.emplace_back();
                r.ColorTable(out.palettes.back(), (packed & 7) + 1);
            } else if (!out.hasGlobalTable) {
                throw Refused{};
            }
            span.lzwPos = r.pos;
            r.Byte(); // minimum code size
            const bool complete = r.SkipSubBlocks();
            if (!complete)
                break; // cut off inside its data: not a frame
            span.dataLength = r.pos - span.dataPos;
            const GifFrame frame = current;
            current = GifFrame{};
            if (r.pos - span.lzwPos <= 2)
                continue; // no pixel data at all
            const int64_t right = int64_t{frame.Left} + frame.Width;
            const int64_t bottom = int64_t{frame.Top} + frame.Height;
            if (frame.Width <= 0 || frame.Height <= 0 || right > kGifMaxSide || bottom > kGifMaxSide)
                throw Refused{};
            totalPixels += int64_t{frame.Width} * frame.Height;
            if (totalPixels > kGifMaxTotalPixels)
                break;
            out.frames.push_back(frame);
            out.spans.push_back(span);
            out.canvasWidth = static_cast<int32_t>(std::max<int64_t>(out.canvasWidth, right));
            out.canvasHeight = static_cast<int32_t>(std::max<int64_t>(out.canvasHeight, bottom));
            if (out.frames.size() >= static_cast<std::size_t>(kGifMaxFrames))
                break;
        }
    } catch (const EndOfData&) {
        // The complete frames before the damage stand.
    } catch (const Refused&) {
        out = GifStream{};
        return 0;
    }
    if (out.frames.empty()) {
        out = GifStream{};
        return 0;
    }
    return static_cast<int>(out.frames.size());
}

} // namespace widgets
