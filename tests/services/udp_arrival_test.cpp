// Customer-service datagrams arriving on the table window's UDP socket.
#include "services/gm_packet.h"

#include "support/test_client.h"

#include <gtest/gtest.h>

using services::GmPacket;
using services::ParseGmPacket;
using testing_support::TestClient;

namespace {

// A datagram: header fields little-endian, then the payload bytes.
QByteArray Datagram(int magic, int length, int command, QByteArray payload = {}, int reserved = 0)
{
    QByteArray b;
    for (int v : {magic, length, reserved, command}) {
        b.append(static_cast<char>(v & 0xFF));
        b.append(static_cast<char>((v >> 8) & 0xFF));
    }
    b.append('\x01').append('\x02').append('\x2A').append('\x03'); // Byte8, Byte9, Check, Flag
    return b + payload;
}

bool AllZero(const GmPacket& p)
{
    if (p.Magic || p.Length || p.Reserved || p.Command || p.Byte8 || p.Byte9 || p.Check || p.Flag)
        return false;
    for (uint8_t b : p.Payload)
        if (b)
            return false;
    return true;
}

} // namespace

TEST(GmPacket, AcceptedDatagramFillsEveryField)
{
    QByteArray payload;
    for (int i = 0; i < 28; ++i)
        payload.append(static_cast<char>(0x40 + i));
    const GmPacket p = ParseGmPacket(Datagram(0x7FFF, 40, 44, payload, 7));
    EXPECT_EQ(p.Magic, 0x7FFF);
    EXPECT_EQ(p.Length, 40);
    EXPECT_EQ(p.Reserved, 7);
    EXPECT_EQ(p.Command, 44);
    EXPECT_EQ(p.Byte8, 1);
    EXPECT_EQ(p.Byte9, 2);
    EXPECT_EQ(p.Check, 0x2A);
    EXPECT_EQ(p.Flag, 3);
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(p.Payload[static_cast<std::size_t>(i)], 0x40 + i) << i;
    EXPECT_EQ(p.Payload[28], 0);
}

struct RejectCase {
    const char* name;
    QByteArray datagram;
};
void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.name; }

class GmRejectTest : public ::testing::TestWithParam<RejectCase> {};

TEST_P(GmRejectTest, GivesTheAllZeroRecord) { EXPECT_TRUE(AllZero(ParseGmPacket(GetParam().datagram))); }

INSTANTIATE_TEST_SUITE_P(
    GmPacket, GmRejectTest,
    ::testing::Values(RejectCase{"Empty", QByteArray()}, RejectCase{"ElevenBytes", Datagram(0x7FFF, 12, 22).left(11)},
                      RejectCase{"WrongMagic", Datagram(0x7FFE, 12, 22)},
                      RejectCase{"LengthBelowHeader", Datagram(0x7FFF, 11, 22)},
                      RejectCase{"LengthAboveLimit", Datagram(0x7FFF, 600, 22)},
                      RejectCase{"Length513", Datagram(0x7FFF, 513, 22)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GmPacket, ALengthBeyondTheDatagramLeavesTheMissingPayloadZero)
{
    // The length field says 40; the datagram holds 30 bytes: payload 0-17.
    const GmPacket p = ParseGmPacket(Datagram(0x7FFF, 40, 44, QByteArray(18, '\x55')));
    EXPECT_EQ(p.Length, 40);
    EXPECT_EQ(p.Payload[17], 0x55);
    for (int i = 18; i <= 27; ++i)
        EXPECT_EQ(p.Payload[static_cast<std::size_t>(i)], 0) << i;
}

TEST(GmPacket, ADatagramLongerThanItsLengthFieldIsCutThere)
{
    const GmPacket p = ParseGmPacket(Datagram(0x7FFF, 14, 88, QByteArray(10, '\x09')));
    EXPECT_EQ(p.Payload[0], 9);
    EXPECT_EQ(p.Payload[1], 9);
    EXPECT_EQ(p.Payload[2], 0);
}

TEST(GmPacket, SixteenBitFieldsAboveTheSignedRangeStayZero)
{
    const GmPacket p = ParseGmPacket(Datagram(0x7FFF, 12, 0x8001, {}, 0xFFFF));
    EXPECT_EQ(p.Magic, 0x7FFF);
    EXPECT_EQ(p.Command, 0);
    EXPECT_EQ(p.Reserved, 0);
}

TEST(WinsckUdp, EachArrivingDatagramIsTakenOnce)
{
    TestClient t;
    t.udp.Arrive(Datagram(0x7FFF, 16, 88, QByteArray("\x02\x00\x00\x00", 4)));
    t.udp.Arrive(QByteArray("junk"));
    EXPECT_EQ(t.udp.takes, 2);
    EXPECT_FALSE(t.process.ended);
}
