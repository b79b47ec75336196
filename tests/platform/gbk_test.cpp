#include "platform/gbk.h"

#include <gtest/gtest.h>

using namespace platform::gbk;

namespace {
QString DecodeBytes(const QByteArray& b) { return Decode(b); }
} // namespace

TEST(Gbk, EncodesSingleAndDoubleByteCharacters)
{
    EXPECT_EQ(Encode(QStringLiteral("ab中文")), QByteArray("ab\xD6\xD0\xCE\xC4"));
    EXPECT_EQ(ByteLength(QStringLiteral("ab中文")), 6);
}

TEST(Gbk, UnrepresentableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(Encode(QStringLiteral("x") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("y")),
              QByteArray("x?y"));
    EXPECT_EQ(Encode(QString(QChar(0x0E01))), QByteArray("?")); // Thai is outside code page 936
}

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    QString text;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class GbkDecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(GbkDecodeTest, Field)
{
    EXPECT_EQ(DecodeBytes(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Gbk, GbkDecodeTest,
    ::testing::Values(DecodeCase{"ascii", QByteArray("abc"), QStringLiteral("abc")},
                      DecodeCase{"ends_at_zero", QByteArray("ab\0cd", 5), QStringLiteral("ab")},
                      DecodeCase{"double_byte", QByteArray("\xD6\xD0x"), QStringLiteral("中x")},
                      // A lead byte cut by the end of the field reads nothing past it.
                      DecodeCase{"cut_lead", QByteArray("a\xD6"), QStringLiteral("a?")},
                      // A lead byte always takes the next byte, even a zero.
                      DecodeCase{"lead_then_zero", QByteArray("\xD6\0b", 3), QStringLiteral("?b")},
                      DecodeCase{"undefined_pair", QByteArray("\xFF\xFF"), QStringLiteral("?")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Gbk, DecodeNeverReadsPastTheField)
{
    const uint8_t buf[3] = {'a', 0xD6, 0xD0};
    EXPECT_EQ(Decode(buf, 2), QStringLiteral("a?"));
    EXPECT_EQ(Decode(buf, 3), QStringLiteral("a中"));
}
