#include "protocol/codec.h"

#include "protocol/kinds.h"
#include "support/frame_builder.h"

#include <gtest/gtest.h>

using namespace protocol;
using testing_support::ServerFrame;

struct HeaderCase {
    const char* name;
    int kind;
    int hi;
    int lo;
    int16_t expected;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

class DecodeWordTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(DecodeWordTest, DataWordByKind)
{
    const HeaderCase& c = GetParam();
    auto f = ServerFrame(c.kind, {{8, c.hi}, {9, c.lo}, {14, c.hi}, {15, c.lo}});
    GameCmd m = DecodeHeader(f.data());
    EXPECT_EQ(m.Data[0], c.expected);
    EXPECT_EQ(m.Data[3], c.expected);
}

INSTANTIATE_TEST_SUITE_P(Codec, DecodeWordTest,
                         ::testing::Values(HeaderCase{"draw_low_byte_only", 5, 0x01, 0x02, 2},
                                           HeaderCase{"settlement_word", 17, 0x01, 0x02, 258},
                                           HeaderCase{"settlement_negative", 17, 0xFF, 0xFE, -2},
                                           HeaderCase{"other_kind_unsigned_low", 9, 0xFF, 0xFE, 254},
                                           HeaderCase{"settlement_min", 17, 0x80, 0x00, -32768}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Codec, HeaderBytesOfReceivedFrame)
{
    // Byte 2 is ignored (kind is byte 3 alone); seat keeps its low four bits.
    auto f = ServerFrame(4, {{0, 0xAA}, {1, 0xBB}, {2, 1}, {4, 0xCC}, {5, 0x11}, {6, 0x1F}, {7, 0x22}});
    GameCmd m = DecodeHeader(f.data());
    EXPECT_EQ(m.Kind, 4);
    EXPECT_EQ(m.B1, 0x11);
    EXPECT_EQ(m.Seat, 15);
    EXPECT_EQ(m.B3, 0x22);
}

TEST(Codec, EncodeHeaderBytes)
{
    GameCmd cmd;
    cmd.Kind = 16;
    cmd.B1 = 0x05;
    cmd.Seat = 4;
    cmd.B3 = 0x09;
    cmd.Data = {-2, 0x1234, 0, 1};
    EncodeContext ctx;
    ctx.echo0 = 0xAB;
    ctx.echo1 = 0xCD;
    GameFrame f{};
    f.fill(0x55);
    EncodeFrame(cmd, ctx, f.data());

    GameFrame want{};
    want[3] = 16;
    want[5] = 0x05;
    want[6] = 4;
    want[7] = 0x09;
    want[8] = 0xFF; want[9] = 0xFE;
    want[10] = 0x12; want[11] = 0x34;
    want[14] = 0x00; want[15] = 0x01;
    want[260] = 0xAB; want[261] = 0xCD;
    EXPECT_EQ(f, want);
}

TEST(Codec, KindAbove255SplitsIntoBytes2And3)
{
    GameCmd cmd;
    cmd.Kind = 0x0113;
    GameFrame f{};
    EncodeFrame(cmd, {}, f.data());
    EXPECT_EQ(f[2], 1);
    EXPECT_EQ(f[3], 0x13);
}

TEST(Codec, TurnStampReplacesB3OnlyForDiscardAndOperation)
{
    for (int kind : {2, 7, 16, 24}) {
        GameCmd cmd;
        cmd.Kind = static_cast<int16_t>(kind);
        cmd.B3 = 0x33;
        EncodeContext ctx;
        ctx.turnStamp = 0x77;
        GameFrame f{};
        EncodeFrame(cmd, ctx, f.data());
        EXPECT_EQ(f[7], (kind == 2 || kind == 7) ? 0x77 : 0x33) << "kind " << kind;
    }
}
