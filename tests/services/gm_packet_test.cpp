// The customer-service datagrams the client builds and the texts it reads.
#include "platform/gbk.h"
#include "platform/udp_link.h"
#include "services/gm_packet.h"
#include "support/panel_fakes.h"

#include <gtest/gtest.h>

using namespace services;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

// Payload bytes from..to (inclusive) of a packet.
QByteArray PayloadOf(const GmPacket& p, int from, int to)
{
    return QByteArray(reinterpret_cast<const char*>(p.Payload.data()) + from, to - from + 1);
}

} // namespace

TEST(GmMessage, ShortMessageHasTheAccountTheTextAndOneZeroByteAfterIt)
{
    const GmPacket p = BuildGmMessage("abc", QString(), QStringLiteral("桌"), 0x5A, QStringLiteral("hi"));
    const QByteArray wire = GmPacketBytes(p);
    ASSERT_EQ(wire.size(), 71);
    EXPECT_EQ(wire.left(12), Bytes({0xFF, 0x7F, 71, 0, 0, 0, 11, 0, 0, 0, 0x5A, 0}));
    EXPECT_EQ(PayloadOf(p, 0, 15), QByteArray("abc") + QByteArray(13, '\0'));
    EXPECT_EQ(PayloadOf(p, 16, 47), QByteArray(32, '\0'));
    EXPECT_EQ(PayloadOf(p, 48, 55), platform::gbk::Encode(QStringLiteral("桌")) + QByteArray(6, '\0'));
    EXPECT_EQ(PayloadOf(p, 56, 57), QByteArray("hi"));
    EXPECT_EQ(wire.at(70), '\0');
}

struct TextCase {
    const char* name;
    QString text;
    int length;          // Length of the datagram
    int lastTextByte;    // the text field's byte that must be 0 (-1: none checked)
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class GmMessageText : public ::testing::TestWithParam<TextCase> {};

TEST_P(GmMessageText, IsCutToTheFieldInWholeCharacters)
{
    const GmPacket p = BuildGmMessage("abc", QStringLiteral("name"), QStringLiteral("cap"), 1, GetParam().text);
    EXPECT_EQ(p.Length, GetParam().length);
    EXPECT_EQ(GmPacketBytes(p).size(), GetParam().length);
    if (GetParam().lastTextByte >= 0) {
        EXPECT_EQ(p.Payload[static_cast<std::size_t>(56 + GetParam().lastTextByte)], 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    GmMessage, GmMessageText,
    ::testing::Values(
        TextCase{"FiveHundredAscii", QString(500, QLatin1Char('x')), 511, -1},
        // 441 single bytes and then a double-byte character: it does not fit.
        TextCase{"DoubleByteCharacterAtTheLastByte", QString(441, QLatin1Char('x')) + QStringLiteral("中文"), 510, 441},
        TextCase{"ChineseText", QStringLiteral("你好"), 73, -1},
        // Only the first 444 characters are taken, then the field's 442 bytes.
        TextCase{"SixHundredChinese", QString(600, QChar(0x4E2D)), 511, -1},
        TextCase{"LineBreaksOnly", QStringLiteral("\n\n"), 71, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GmMessage, AccountIsCutTo16BytesAndADoubleByteCharacterLeavesZero)
{
    const QByteArray account = platform::gbk::Encode(QStringLiteral("ab中") + QString(17, QLatin1Char('z')));
    const GmPacket p = BuildGmMessage(account, QString(), QString(), 0, QStringLiteral("x"));
    EXPECT_EQ(PayloadOf(p, 0, 15), QByteArray("ab") + QByteArray(1, '\0') + QByteArray(13, 'z'));
    EXPECT_EQ(p.Payload[16], 0);
}

TEST(GmMessage, NameAndCaptionAreCutToTheirFields)
{
    const GmPacket p = BuildGmMessage("a", QString(40, QLatin1Char('n')), QStringLiteral("一二三四五"), 0,
                                      QStringLiteral("x"));
    EXPECT_EQ(PayloadOf(p, 16, 47), QByteArray(32, 'n'));
    // Four double-byte characters fill the caption's 8 bytes; the fifth is left out.
    EXPECT_EQ(PayloadOf(p, 48, 55), platform::gbk::Encode(QStringLiteral("一二三四")));
    EXPECT_EQ(p.Payload[56], 'x');
}

struct RequestCase {
    const char* name;
    GmPacket packet;
    QByteArray wire;
};
void PrintTo(const RequestCase& c, std::ostream* os) { *os << c.name; }

class GmRequest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(GmRequest, GoesOnTheWireByteForByte) { EXPECT_EQ(GmPacketBytes(GetParam().packet), GetParam().wire); }

INSTANTIATE_TEST_SUITE_P(
    GmPacket, GmRequest,
    ::testing::Values(
        RequestCase{"Fetch", BuildGmFetch("abc"),
                    Bytes({0xFF, 0x7F, 28, 0, 0, 0, 33, 0, 0, 0, 0, 0}) + QByteArray("abc") + QByteArray(13, '\0')},
        RequestCase{"Query", BuildGmQuery("abc"),
                    Bytes({0xFF, 0x7F, 28, 0, 0, 0, 77, 0, 0, 0, 0, 0}) + QByteArray("abc") + QByteArray(13, '\0')},
        RequestCase{"Ack", BuildGmAck({0x01, 0xFE, 0x00, 0x80}, "abc"),
                    Bytes({0xFF, 0x7F, 32, 0, 0, 0, 55, 0, 0, 0, 0, 0, 0x01, 0xFE, 0x00, 0x80}) + QByteArray("abc") +
                        QByteArray(13, '\0')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PutGbkString, EmptyTextOrBadFieldWritesNothing)
{
    std::array<uint8_t, 500> payload{};
    payload.fill(7);
    EXPECT_EQ(PutGbkString(QString(), payload, 0, 8), 0);
    EXPECT_EQ(PutGbkString(QStringLiteral("x"), payload, -1, 8), 0);
    EXPECT_EQ(PutGbkString(QStringLiteral("x"), payload, 0, 0), 0);
    for (uint8_t b : payload)
        ASSERT_EQ(b, 7);
    // A real write clears the rest of its field, and only its field.
    EXPECT_EQ(PutGbkString(QStringLiteral("ab"), payload, 10, 4), 2);
    EXPECT_EQ(payload[10], 'a');
    EXPECT_EQ(payload[12], 0);
    EXPECT_EQ(payload[13], 0);
    EXPECT_EQ(payload[14], 7);
}

TEST(SendGmPacket, RefusesPacketsOutsideTheLimits)
{
    testing_support::FakeUdpLink udp;
    udp.Bind(3000);
    for (auto [length, command] : {std::pair{11, 33}, {513, 33}, {28, 0}, {28, -5}}) {
        GmPacket p = BuildGmFetch("abc");
        p.Length = static_cast<int16_t>(length);
        p.Command = static_cast<int16_t>(command);
        SendGmPacket(p, udp, QStringLiteral("127.0.0.1"), 4001);
    }
    EXPECT_TRUE(udp.sent.isEmpty());
    SendGmPacket(BuildGmQuery("abc"), udp, QStringLiteral("127.0.0.1"), 4001);
    ASSERT_EQ(udp.sent.size(), 1);
    EXPECT_EQ(udp.remoteHost, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(udp.remotePort, 4001);
}

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    int last;
    QString text;
};
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class GbkDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(GbkDecode, ReadsAtMost200BytesUpToTheFirstZero)
{
    QByteArray b = GetParam().bytes;
    b.resize(500, '\0');
    EXPECT_EQ(GbkBytesToString(reinterpret_cast<const uint8_t*>(b.constData()), GetParam().last), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    GmPacket, GbkDecode,
    ::testing::Values(
        DecodeCase{"ThreeHundredAscii", QByteArray(300, 'a'), 299, QString(200, QLatin1Char('a'))},
        DecodeCase{"SpacesAroundAreRemoved", QByteArray("  abc  "), 6, QStringLiteral("abc")},
        DecodeCase{"LoneLeadByteAtTheEnd", QByteArray("ab") + platform::gbk::Encode(QStringLiteral("中")).left(1), 2,
                   QStringLiteral("ab")},
        DecodeCase{"StopsAtZero", QByteArray("ab\0cd", 5), 4, QStringLiteral("ab")},
        DecodeCase{"Chinese", platform::gbk::Encode(QStringLiteral("客服回复")), 7, QStringLiteral("客服回复")},
        // A double-byte character whose lead byte is byte 199 is taken whole.
        DecodeCase{"LeadByteAt199", QByteArray(199, 'a') + platform::gbk::Encode(QStringLiteral("中")), 300,
                   QString(199, QLatin1Char('a')) + QStringLiteral("中")},
        DecodeCase{"LineBreaksInsideStay", QByteArray("a\r\nb"), 3, QStringLiteral("a\r\nb")}),
    [](const auto& info) { return std::string(info.param.name); });
