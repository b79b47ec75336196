#include "widgets/gif_encoder.h"
#include "widgets/gif_frames.h"
#include "widgets/gif_lzw.h"

#include "gif_builder.h"
#include "platform/resources.h"

#include <gtest/gtest.h>
#include <random>

using giftest::Bytes;
using giftest::GifBuilder;
using giftest::GiflibFile;
using widgets::GifAnimation;

namespace {

// Pictures of w x h indices below `colours`, of a few kinds.
enum class Kind { Noise, Gradient, Solid, Stripes };

Bytes Picture(Kind kind, int w, int h, int colours, unsigned seed = 7)
{
    Bytes p(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int v = 0;
            switch (kind) {
            case Kind::Noise: v = static_cast<int>(rng() % static_cast<unsigned>(colours)); break;
            case Kind::Gradient: v = (x + y) % colours; break;
            case Kind::Solid: v = colours - 1; break;
            case Kind::Stripes: v = (x / 3) % colours; break;
            }
            p[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
                static_cast<uint8_t>(v);
        }
    return p;
}

int BitsFor(int colours)
{
    int bits = 1;
    while ((1 << bits) < colours)
        ++bits;
    return bits;
}

int WriteToBytes(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

// giflib's own encoding of one frame (its minimum code size follows the
// table size), optionally interlaced.
Bytes GiflibEncode(const Bytes& pixels, int w, int h, int colours, bool interlaced)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToBytes, &error);
    const int bits = BitsFor(colours);
    std::vector<GifColorType> table(static_cast<std::size_t>(1) << bits);
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i), static_cast<GifByteType>(i * 3)};
    ColorMapObject* map = GifMakeMapObject(1 << bits, table.data());
    EGifPutScreenDesc(gif, w, h, bits, 0, map);
    EGifPutImageDesc(gif, 0, 0, w, h, interlaced, nullptr);
    if (!interlaced) {
        for (int y = 0; y < h; ++y)
            EGifPutLine(gif, const_cast<GifByteType*>(pixels.data()) + y * w, w);
    } else {
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = kStart[pass]; y < h; y += kStep[pass])
                EGifPutLine(gif, const_cast<GifByteType*>(pixels.data()) + y * w, w);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

Bytes OurIndices(const Bytes& gif, int frame = 0)
{
    GifAnimation a;
    if (a.Load(gif) <= frame)
        return {};
    a.BuildFrame(frame);
    const widgets::GifFrame& f = a.Frame(frame);
    return Bytes(a.Indices(frame), a.Indices(frame) + static_cast<std::size_t>(f.Width) * f.Height);
}

} // namespace

TEST(LzwDecode, ReadsTheSmallestStream)
{
    // clear (4), index 0, end (5) at 3 bits: 100 000 101
    const Bytes data{2, 2, 0x44, 0x01, 0};
    uint8_t out[2] = {9, 9};
    EXPECT_EQ(widgets::LzwDecode(data.data(), data.size(), out, 2), 1u);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 9); // the data had one pixel only
}

TEST(LzwDecode, DamagedStreamsStopWhereTheDamageIs)
{
    struct Case {
        const char* name;
        Bytes data;
        std::size_t pixels;
    };
    const Case cases[] = {
        {"minimum code size 0", {0, 2, 0x44, 0x01, 0}, 0},
        {"minimum code size 9", {9, 2, 0x44, 0x01, 0}, 0},
        {"no data", {2}, 0},
        // clear, 0, and the data ends inside the next code
        {"sub-block longer than the data", {2, 200, 0x44}, 1},
        // clear, 1, then code 7 (not defined yet: 6 is the next)
        {"undefined code", {2, 2, 0xCC, 0x01, 0}, 1},
        // 0, 6 (= 0 0), 6, then end at 4 bits; no clear code first
        {"no clear code first", {2, 2, 0xB0, 0x0B, 0}, 5},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> out(16, 0xAA);
        EXPECT_EQ(widgets::LzwDecode(c.data.data(), c.data.size(), out.data(), out.size()), c.pixels)
            << c.name;
        for (std::size_t i = c.pixels; i < out.size(); ++i)
            EXPECT_EQ(out[i], 0xAA) << c.name;
    }
}

TEST(LzwDecode, StopsAtTheEndOfTheFrameEvenInsideAString)
{
    const Bytes pixels = Picture(Kind::Solid, 64, 1, 4);
    Bytes data{8};
    widgets::LzwEncode(pixels.data(), 64, 1, 64, data);
    data.push_back(0);
    for (std::size_t size : {1u, 10u, 63u, 64u}) {
        std::vector<uint8_t> out(size + 1, 0xAA);
        EXPECT_EQ(widgets::LzwDecode(data.data(), data.size(), out.data(), size), size);
        EXPECT_EQ(out[size - 1], 3);
        EXPECT_EQ(out[size], 0xAA) << size;
    }
}

struct ImageCase {
    const char* name;
    Kind kind;
    int w, h, colours;
    bool interlaced;
};

class GiflibAgreement : public ::testing::TestWithParam<ImageCase> {};

// giflib encodes, we decode: the same indices.
TEST_P(GiflibAgreement, OurDecoderReadsWhatGiflibWrites)
{
    const ImageCase& c = GetParam();
    const Bytes pixels = Picture(c.kind, c.w, c.h, c.colours);
    EXPECT_EQ(OurIndices(GiflibEncode(pixels, c.w, c.h, c.colours, c.interlaced)), pixels) << c.name;
}

// We encode, giflib decodes: the same indices.
TEST_P(GiflibAgreement, GiflibReadsWhatOurEncoderWrites)
{
    const ImageCase& c = GetParam();
    const Bytes pixels = Picture(c.kind, c.w, c.h, c.colours);
    widgets::GifPalette palette;
    palette.count = c.colours;
    const Bytes gif = widgets::EncodeFrameGif(pixels.data(), c.w, c.h, c.w, palette, false, 0);
    GiflibFile file(gif.data(), gif.size());
    ASSERT_NE(file.gif, nullptr) << c.name;
    ASSERT_EQ(file.gif->ImageCount, 1);
    const SavedImage& image = file.gif->SavedImages[0];
    EXPECT_EQ(Bytes(image.RasterBits, image.RasterBits + pixels.size()), pixels) << c.name;
    EXPECT_EQ(OurIndices(gif), pixels) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Images, GiflibAgreement,
    ::testing::Values(ImageCase{"one pixel", Kind::Solid, 1, 1, 2, false},
                      ImageCase{"two colours", Kind::Noise, 37, 11, 2, false},
                      ImageCase{"four colour stripes", Kind::Stripes, 50, 20, 4, false},
                      // long runs of one value make the string that is being defined
                      ImageCase{"a long run", Kind::Solid, 300, 200, 16, false},
                      ImageCase{"gradient", Kind::Gradient, 255, 64, 256, false},
                      // noise fills the code table many times over
                      ImageCase{"noise", Kind::Noise, 640, 480, 256, false},
                      ImageCase{"interlaced noise", Kind::Noise, 33, 21, 32, true},
                      ImageCase{"interlaced, fewer rows than passes", Kind::Gradient, 9, 3, 8, true},
                      ImageCase{"interlaced single row", Kind::Gradient, 9, 1, 8, true}));

TEST(EncodeFrameGif, AOnePixelFrameIsClearPixelEndInFourBytes)
{
    widgets::GifPalette palette;
    palette.count = 4;
    palette.colors[1] = 0x102030;
    const uint8_t pixel = 5;
    const Bytes gif = widgets::EncodeFrameGif(&pixel, 1, 1, 1, palette, false, 0);
    ASSERT_EQ(gif.size(), 781u + 10 + 1 + 5 + 2);
    EXPECT_EQ(Bytes(gif.begin(), gif.begin() + 13), (Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x87, 0, 0}));
    EXPECT_EQ(Bytes(gif.begin() + 16, gif.begin() + 19), (Bytes{0x10, 0x20, 0x30}));
    // entries past the palette's four colours are black
    EXPECT_EQ(Bytes(gif.begin() + 13 + 12, gif.begin() + 781), Bytes(768 - 12, 0));
    EXPECT_EQ(Bytes(gif.begin() + 781, gif.end()),
              (Bytes{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 8, 4, 0x00, 0x0B, 0x04, 0x04, 0, 0x3B}));
}

TEST(EncodeFrameGif, OnlyATransparentFrameCarriesAGraphicControlExtension)
{
    widgets::GifPalette palette;
    palette.count = 2;
    const Bytes pixels = Picture(Kind::Noise, 5, 4, 2);
    const Bytes opaque = widgets::EncodeFrameGif(pixels.data(), 5, 4, 5, palette, false, 0);
    const Bytes clear = widgets::EncodeFrameGif(pixels.data(), 5, 4, 5, palette, true, 1);
    EXPECT_EQ(opaque[781], 0x2C);
    EXPECT_EQ(Bytes(clear.begin() + 781, clear.begin() + 789), (Bytes{0x21, 0xF9, 4, 1, 0, 0, 1, 0}));
    EXPECT_EQ(clear.size(), opaque.size() + 8);
    GiflibFile file(clear.data(), clear.size());
    ASSERT_NE(file.gif, nullptr);
    GraphicsControlBlock gcb;
    ASSERT_EQ(DGifSavedExtensionToGCB(file.gif, 0, &gcb), GIF_OK);
    EXPECT_EQ(gcb.TransparentColor, 1);
}

TEST(EncodeFrameGif, AFrameInsideAWiderStripEncodesItsOwnRows)
{
    // A 3 x 2 frame inside rows 8 bytes apart.
    const Bytes strip{1, 2, 3, 9, 9, 9, 9, 9, 4, 5, 6, 9, 9, 9, 9, 9};
    widgets::GifPalette palette;
    palette.count = 16;
    const Bytes gif = widgets::EncodeFrameGif(strip.data(), 3, 2, 8, palette, false, 0);
    EXPECT_EQ(OurIndices(gif), (Bytes{1, 2, 3, 4, 5, 6}));
}

// Four frames on a 2 x 1 canvas, palette index i = colour (i, 2i, 3i):
// 0 fills both pixels with index 0; 1 paints the left pixel with index 1
// and is disposed of as the case says; 2 covers both pixels with index 2
// (opaque, or all transparent) and restores what lay under it; 3 is one
// transparent pixel, so it shows the canvas as frame 2 left it.
TEST(GifCompose, DisposalAndTransparencyAsTheFramesSay)
{
    constexpr uint32_t c0 = 0xFF000000, c1 = 0xFF010203, c2 = 0xFF020406, none = 0;
    struct Case {
        const char* name;
        int disposal1;
        int transparent2; // -1 opaque
        uint32_t two[2];
        uint32_t three[2];
    };
    const Case cases[] = {
        {"leave, opaque over it", 1, -1, {c2, c2}, {c1, c0}},
        {"leave, transparent over it", 1, 2, {c1, c0}, {c1, c0}},
        {"restore to background", 2, 2, {none, c0}, {none, c0}},
        {"restore to background, opaque over it", 2, -1, {c2, c2}, {none, c0}},
        {"restore to previous", 3, 2, {c0, c0}, {c0, c0}},
    };
    for (const Case& c : cases) {
        GifBuilder g("GIF89a", 2, 1, 0x82);
        g.Table(8).Control(0, 1).Solid(0, 0, 2, 1, 0);
        g.Control(c.disposal1, 1).Solid(0, 0, 1, 1, 1);
        g.Control(3, 1, c.transparent2).Solid(0, 0, 2, 1, 2);
        g.Control(0, 1, 3).Solid(1, 0, 1, 1, 3).Trailer();
        GifAnimation a;
        ASSERT_EQ(a.Load(g.b), 4) << c.name;
        EXPECT_EQ(a.Compose(0).pixel(1, 0), c0) << c.name;
        EXPECT_EQ(a.Compose(1).pixel(0, 0), c1) << c.name;
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(a.Compose(2).pixel(x, 0), c.two[x]) << c.name << " x " << x;
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(a.Compose(3).pixel(x, 0), c.three[x]) << c.name << " x " << x;
        // showing a frame again gives the same picture
        EXPECT_EQ(a.Compose(3).pixel(0, 0), c.three[0]) << c.name;
        // and going round starts again on a clear canvas
        EXPECT_EQ(a.Compose(0).pixel(0, 0), c0) << c.name;
    }
}

TEST(GifCompose, AnOpaqueFrameShowsTheColourThatWasTransparentBefore)
{
    GifBuilder g("GIF89a", 1, 1, 0x81);
    g.Table(4).Control(1, 1, 2).Solid(0, 0, 1, 1, 2).Control(1, 1).Solid(0, 0, 1, 1, 2).Trailer();
    GifAnimation a;
    ASSERT_EQ(a.Load(g.b), 2);
    EXPECT_EQ(a.Compose(0).pixel(0, 0), 0u); // transparent
    EXPECT_EQ(a.Compose(1).pixel(0, 0), 0xFF020406u);
}

TEST(GifCompose, IndicesPastThePaletteAreBlack)
{
    GifBuilder g("GIF89a", 1, 1, 0x80);
    g.Table(2).Image(0, 0, 1, 1).Pixels({200}, 1, 1).Trailer();
    EXPECT_EQ(widgets::GifFirstFrame(giftest::ToQt(g.b)).pixel(0, 0), 0xFF000000u);
}

TEST(GifFirstFrame, RefusedBytesGiveANullImage)
{
    EXPECT_TRUE(widgets::GifFirstFrame(QByteArray()).isNull());
    EXPECT_TRUE(widgets::GifFirstFrame(QByteArray("GIF89a\1\0\1\0\0\0\0;")).isNull());
    EXPECT_TRUE(widgets::GifFirstFrame(QByteArray("\x89PNG\r\n\x1a\n")).isNull());
}

// Every GIF of the picture store decodes to the indices and colours giflib
// reads from it, frame by frame.
TEST(GifStore, EveryPictureDecodesAsGiflibDecodesIt)
{
    int gifs = 0;
    for (int id = 101; id <= 923; ++id) {
        const std::optional<QByteArray> bytes = platform::LoadResData(id, QStringLiteral("GIF"));
        if (!bytes || !bytes->startsWith("GIF"))
            continue;
        ++gifs;
        const auto* data = reinterpret_cast<const uint8_t*>(bytes->constData());
        GiflibFile ref(data, static_cast<std::size_t>(bytes->size()));
        ASSERT_NE(ref.gif, nullptr) << id;
        GifAnimation ours;
        ASSERT_EQ(ours.Load(std::span<const uint8_t>(data, static_cast<std::size_t>(bytes->size()))),
                  ref.gif->ImageCount)
            << id;
        for (int i = 0; i < ref.gif->ImageCount; ++i) {
            const SavedImage& image = ref.gif->SavedImages[i];
            const widgets::GifFrame& f = ours.Frame(i);
            ASSERT_EQ(f.Left, image.ImageDesc.Left) << id;
            ASSERT_EQ(f.Top, image.ImageDesc.Top) << id;
            ASSERT_EQ(f.Width, image.ImageDesc.Width) << id;
            ASSERT_EQ(f.Height, image.ImageDesc.Height) << id;
            ours.BuildFrame(i);
            const std::size_t n = static_cast<std::size_t>(f.Width) * static_cast<std::size_t>(f.Height);
            ASSERT_EQ(Bytes(ours.Indices(i), ours.Indices(i) + n), Bytes(image.RasterBits, image.RasterBits + n))
                << id << " frame " << i;
            const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : ref.gif->SColorMap;
            const widgets::GifPalette& palette = ours.PaletteOf(i);
            ASSERT_EQ(palette.count, map->ColorCount) << id;
            for (int k = 0; k < map->ColorCount; ++k) {
                const GifColorType& c = map->Colors[k];
                ASSERT_EQ(palette.colors[static_cast<std::size_t>(k)],
                          static_cast<uint32_t>(c.Red << 16 | c.Green << 8 | c.Blue))
                    << id;
            }
            GraphicsControlBlock gcb;
            if (DGifSavedExtensionToGCB(ref.gif, i, &gcb) == GIF_OK) {
                EXPECT_EQ(f.DelayMs, gcb.DelayTime * 10) << id;
                EXPECT_EQ(f.IsTransparent != 0, gcb.TransparentColor != NO_TRANSPARENT_COLOR) << id;
            }
        }
    }
    EXPECT_GT(gifs, 400);
}
