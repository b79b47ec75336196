#include "widgets/gif_parser.h"

#include "gif_builder.h"

#include <gtest/gtest.h>

using giftest::Bytes;
using giftest::GifBuilder;
using widgets::GifStream;
using widgets::ParseGifStream;

namespace {

int Parse(const Bytes& b, GifStream& s) { return ParseGifStream(b, s); }

// A GIF with a global table of 4 colours and one 1x1 frame.
GifBuilder OnePixel(const std::string& signature = "GIF89a")
{
    GifBuilder g(signature, 1, 1, 0x81);
    g.Table(4);
    return g;
}

} // namespace

struct SignatureCase {
    const char* signature;
    int frames;
};

class GifSignature : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(GifSignature, OnlyTheTwoVersionsAreReadInAnyLetterCase)
{
    GifStream s;
    EXPECT_EQ(Parse(OnePixel(GetParam().signature).Solid(0, 0, 1, 1, 2).Trailer().b, s), GetParam().frames);
}

INSTANTIATE_TEST_SUITE_P(Header, GifSignature,
                         ::testing::Values(SignatureCase{"GIF89a", 1}, SignatureCase{"GIF87a", 1},
                                           SignatureCase{"gif89a", 1}, SignatureCase{"GiF87A", 1},
                                           SignatureCase{"GIF88a", 0}, SignatureCase{"GIF89b", 0},
                                           SignatureCase{"JIF89a", 0}, SignatureCase{"PNG89a", 0}));

TEST(GifParse, BytesTooShortForAHeaderAreRefused)
{
    GifStream s;
    for (const Bytes& b : {Bytes{}, Bytes{'G', 'I', 'F'}, Bytes{'G', 'I', 'F', '8', '9', 'a'},
                           Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}})
        EXPECT_EQ(Parse(b, s), 0) << b.size();
}

TEST(GifParse, TheCanvasIsTheUnionOfTheFramesNotTheLogicalScreen)
{
    GifStream s;
    GifBuilder g("GIF89a", 100, 100, 0x81);
    g.Table(4).Solid(3, 2, 4, 5, 1).Solid(0, 6, 2, 3, 1).Trailer();
    ASSERT_EQ(Parse(g.b, s), 2);
    EXPECT_EQ(s.canvasWidth, 7);
    EXPECT_EQ(s.canvasHeight, 9);
    EXPECT_EQ(s.frames[0].Left, 3);
    EXPECT_EQ(s.frames[0].Top, 2);
    EXPECT_EQ(s.frames[0].Width, 4);
    EXPECT_EQ(s.frames[0].Height, 5);
}

TEST(GifParse, ColourTablesGoToTheirRows)
{
    GifStream s;
    GifBuilder g("GIF89a", 2, 1, 0x80); // global table of 2
    g.Table(2, 10);
    g.Solid(0, 0, 1, 1, 1);             // global
    g.Solid(1, 0, 1, 1, 1, 0x82);       // local of 8
    g.Solid(0, 0, 1, 1, 0, 0x80);       // local of 2
    g.Trailer();
    ASSERT_EQ(Parse(g.b, s), 3);
    EXPECT_TRUE(s.hasGlobalTable);
    ASSERT_EQ(s.palettes.size(), 3u);
    EXPECT_EQ(s.palettes[0].count, 2);
    EXPECT_EQ(s.palettes[0].colors[1], (11u << 16) | (12u << 8) | 13u);
    EXPECT_EQ(s.palettes[1].count, 8);
    EXPECT_EQ(s.palettes[1].colors[7], (7u << 16) | (14u << 8) | 21u);
    EXPECT_EQ(s.palettes[2].count, 2);
    EXPECT_EQ(s.frames[0].PaletteRow, 0);
    EXPECT_EQ(s.frames[1].PaletteRow, 1);
    EXPECT_EQ(s.frames[2].PaletteRow, 2);
}

TEST(GifParse, LocalTablesAloneAreEnoughButAFrameWithoutAnyTableRefusesTheGif)
{
    GifStream s;
    GifBuilder locals("GIF87a", 1, 1, 0);
    locals.Solid(0, 0, 1, 1, 1, 0x80).Solid(0, 0, 1, 1, 1, 0x81).Trailer();
    EXPECT_EQ(Parse(locals.b, s), 2);
    EXPECT_FALSE(s.hasGlobalTable);

    GifBuilder bare("GIF87a", 1, 1, 0);
    bare.Solid(0, 0, 1, 1, 1, 0x80).Solid(0, 0, 1, 1, 1).Trailer();
    EXPECT_EQ(Parse(bare.b, s), 0);
    EXPECT_TRUE(s.frames.empty());
}

struct ExtensionCase {
    const char* name;
    Bytes extensions; // between the global table and the one frame
    int delayMs;
    int disposal;
    int transparent; // -1 none
};

class GifExtensions : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(GifExtensions, OnlyTheLastGraphicControlBeforeTheImageCounts)
{
    const ExtensionCase& e = GetParam();
    GifBuilder g = OnePixel();
    g.b.insert(g.b.end(), e.extensions.begin(), e.extensions.end());
    g.Solid(0, 0, 1, 1, 3).Trailer();
    GifStream s;
    ASSERT_EQ(Parse(g.b, s), 1) << e.name;
    EXPECT_EQ(s.frames[0].DelayMs, e.delayMs) << e.name;
    EXPECT_EQ(s.frames[0].Disposal, e.disposal) << e.name;
    EXPECT_EQ(s.frames[0].IsTransparent, e.transparent >= 0 ? 1 : 0) << e.name;
    if (e.transparent >= 0) {
        EXPECT_EQ(s.frames[0].TransparentIndex, e.transparent) << e.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, GifExtensions,
    ::testing::Values(
        ExtensionCase{"none", {}, 0, 0, -1},
        ExtensionCase{"control", {0x21, 0xF9, 4, 0x09, 7, 0, 2, 0}, 70, 2, 2},
        ExtensionCase{"opaque control", {0x21, 0xF9, 4, 0x04, 0x2C, 1, 9, 0}, 3000, 1, -1},
        ExtensionCase{"two controls", {0x21, 0xF9, 4, 0x09, 7, 0, 2, 0, 0x21, 0xF9, 4, 0x04, 5, 0, 0, 0}, 50, 1, -1},
        ExtensionCase{"comment", {0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0}, 0, 0, -1},
        ExtensionCase{"plain text", {0x21, 0x01, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 'x', 0}, 0, 0, -1},
        ExtensionCase{"other application", {0x21, 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 1,
                                            0x2C, 0},
                      0, 0, -1},
        ExtensionCase{"stray zeros", {0, 0, 0x21, 0xF9, 4, 0x01, 1, 0, 9, 0, 0, 0}, 10, 0, 9},
        ExtensionCase{"control before a comment", {0x21, 0xF9, 4, 0x08, 2, 0, 0, 0, 0x21, 0xFE, 1, 'c', 0}, 20, 2,
                      -1}));

struct LoopCase {
    const char* name;
    Bytes extension;
    int loops;
};

class GifLoops : public ::testing::TestWithParam<LoopCase> {};

TEST_P(GifLoops, TheNetscapeBlockSetsTheLoopCount)
{
    GifBuilder g = OnePixel();
    g.b.insert(g.b.end(), GetParam().extension.begin(), GetParam().extension.end());
    g.Solid(0, 0, 1, 1, 1).Trailer();
    GifStream s;
    ASSERT_EQ(Parse(g.b, s), 1) << GetParam().name;
    EXPECT_EQ(s.loops, GetParam().loops) << GetParam().name;
}

Bytes Netscape(const char* id, uint8_t subBlock, int count)
{
    Bytes b{0x21, 0xFF, 11};
    for (int i = 0; i < 11; ++i)
        b.push_back(static_cast<uint8_t>(id[i]));
    b.push_back(subBlock);
    b.push_back(1);
    b.push_back(static_cast<uint8_t>(count & 0xFF));
    b.push_back(static_cast<uint8_t>(count >> 8));
    if (subBlock > 3)
        b.insert(b.end(), static_cast<std::size_t>(subBlock - 3), 0xEE);
    b.push_back(0);
    return b;
}

INSTANTIATE_TEST_SUITE_P(Loops, GifLoops,
                         ::testing::Values(LoopCase{"three", Netscape("NETSCAPE2.0", 3, 3), 3},
                                           LoopCase{"for ever", Netscape("NETSCAPE2.0", 3, 0), 0},
                                           LoopCase{"largest", Netscape("NETSCAPE2.0", 3, 65535), 65535},
                                           LoopCase{"small letters", Netscape("netscape2.0", 3, 4), 4},
                                           LoopCase{"other name", Netscape("ANIMEXTS1.0", 3, 4), 0},
                                           LoopCase{"sub-block of 5", Netscape("NETSCAPE2.0", 5, 4), 0},
                                           LoopCase{"none", {}, 0}));

TEST(GifParse, DisposalKeepsItsLowTwoBitsAndNothingIsRestoredBeforeTheFirstFrame)
{
    // (disposal field of frame 1, of frame 2) -> what each reads
    struct Case {
        int first, second, firstRead, secondRead;
    };
    for (const Case c : {Case{3, 3, 0, 3}, Case{2, 2, 2, 2}, Case{1, 0, 1, 0}, Case{4, 6, 0, 2}, Case{7, 5, 0, 1},
                         Case{0, 7, 0, 3}}) {
        GifBuilder g = OnePixel();
        g.Control(c.first, 0).Solid(0, 0, 1, 1, 1).Control(c.second, 0).Solid(0, 0, 1, 1, 1).Trailer();
        GifStream s;
        ASSERT_EQ(Parse(g.b, s), 2);
        EXPECT_EQ(s.frames[0].Disposal, c.firstRead) << c.first;
        EXPECT_EQ(s.frames[1].Disposal, c.secondRead) << c.second;
    }
}

TEST(GifParse, AnExtensionAppliesToOneImageOnly)
{
    GifBuilder g = OnePixel();
    g.Control(2, 9, 1).Solid(0, 0, 1, 1, 1).Solid(0, 0, 1, 1, 1).Trailer();
    GifStream s;
    ASSERT_EQ(Parse(g.b, s), 2);
    EXPECT_EQ(s.frames[0].DelayMs, 90);
    EXPECT_EQ(s.frames[1].DelayMs, 0);
    EXPECT_EQ(s.frames[1].Disposal, 0);
    EXPECT_EQ(s.frames[1].IsTransparent, 0);
}

TEST(GifParse, TheInterlaceFlagIsKept)
{
    GifBuilder g = OnePixel();
    g.Solid(0, 0, 1, 1, 1, 0x40).Solid(0, 0, 1, 1, 1).Trailer();
    GifStream s;
    ASSERT_EQ(Parse(g.b, s), 2);
    EXPECT_TRUE(s.frames[0].Interlaced);
    EXPECT_FALSE(s.frames[1].Interlaced);
}

TEST(GifParse, AFrameWithoutPixelDataIsDroppedAndTheNextOneRead)
{
    GifBuilder g = OnePixel();
    g.Image(0, 0, 1, 1).Raw({2, 0}); // minimum code size and terminator only
    g.Solid(0, 0, 2, 2, 1).Trailer();
    GifStream s;
    ASSERT_EQ(Parse(g.b, s), 1);
    EXPECT_EQ(s.frames[0].Width, 2);
}

TEST(GifParse, FrameSizesAreChecked)
{
    struct Case {
        int left, top, width, height;
        int frames;
    };
    for (const Case c : {Case{0, 0, 0, 1, 0}, Case{0, 0, 1, 0, 0}, Case{4095, 0, 1, 1, 1}, Case{4095, 0, 2, 1, 0},
                         Case{0, 4000, 1, 97, 0}, Case{65535, 65535, 65535, 65535, 0}}) {
        GifBuilder g = OnePixel();
        g.Image(c.left, c.top, c.width, c.height).Raw({2, 2, 0x44, 0x01, 0}).Trailer();
        GifStream s;
        EXPECT_EQ(Parse(g.b, s), c.frames) << c.left << " " << c.top << " " << c.width << " " << c.height;
        if (c.frames == 0) {
            EXPECT_EQ(s.canvasWidth, 0);
        }
    }
}

TEST(GifParse, AZeroAreaFrameRefusesTheWholeGif)
{
    GifBuilder g = OnePixel();
    g.Solid(0, 0, 1, 1, 1).Image(0, 0, 5, 0).Raw({2, 2, 0x44, 0x01, 0}).Trailer();
    GifStream s;
    EXPECT_EQ(Parse(g.b, s), 0);
}

TEST(GifParse, FramesPastTheLimitAreNotRead)
{
    GifBuilder g = OnePixel();
    for (int i = 0; i < widgets::kGifMaxFrames + 3; ++i)
        g.Image(0, 0, 1, 1).Raw({2, 2, 0x44, 0x01, 0});
    g.Trailer();
    GifStream s;
    EXPECT_EQ(Parse(g.b, s), widgets::kGifMaxFrames);

    // 4096 x 4096 is the largest frame; four of them are all the pixels
    // one GIF may have.
    GifBuilder big = OnePixel();
    for (int i = 0; i < 6; ++i)
        big.Image(0, 0, 4096, 4096).Raw({2, 2, 0x44, 0x01, 0});
    big.Trailer();
    EXPECT_EQ(Parse(big.b, s), 4);
    EXPECT_EQ(s.canvasWidth, 4096);
}

// Cutting a three-frame GIF after every byte: the frames whose data ended
// before the cut are read, the rest is not, and nothing is read past the
// cut (each cut is a buffer of its own size, which the address sanitizer
// watches).
TEST(GifParse, ACutAtEveryByteKeepsTheCompleteFrames)
{
    GifBuilder g("GIF89a", 3, 3, 0x81);
    g.Table(4).Loop(2);
    std::vector<std::size_t> ends;
    g.Control(1, 5, 0).Solid(0, 0, 3, 3, 1);
    ends.push_back(g.b.size());
    g.Raw({0x21, 0xFE, 2, 'h', 'i', 0}).Control(2, 5).Solid(1, 1, 2, 2, 2, 0x81);
    ends.push_back(g.b.size());
    g.Solid(0, 0, 3, 3, 3);
    ends.push_back(g.b.size());
    g.Trailer();
    const std::size_t headerEnd = 13 + 12; // screen and global table, with one byte after it
    for (std::size_t cut = 0; cut <= g.b.size(); ++cut) {
        const std::unique_ptr<uint8_t[]> head(new uint8_t[cut == 0 ? 1 : cut]);
        std::copy_n(g.b.begin(), cut, head.get());
        GifStream s;
        const int frames = ParseGifStream(std::span<const uint8_t>(head.get(), cut), s);
        int expected = 0;
        if (cut > headerEnd)
            for (const std::size_t end : ends)
                expected += end <= cut ? 1 : 0;
        ASSERT_EQ(frames, expected) << "cut at " << cut;
        if (frames > 0) {
            EXPECT_EQ(s.loops, 2);
        }
    }
}
