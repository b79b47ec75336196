#include "core/md5.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace core;

namespace {
const QString kEmptyDigest = QStringLiteral("d41d8cd98f00b204e9800998ecf8427e");

QString Md5Of(const QByteArray& b)
{
    return Md5Bytes(static_cast<std::size_t>(b.size()), reinterpret_cast<const uint8_t*>(b.constData()));
}
} // namespace

struct VectorCase {
    const char* input;
    const char* digest;
};
void PrintTo(const VectorCase& c, std::ostream* os) { *os << '"' << c.input << '"'; }

class Md5VectorTest : public ::testing::TestWithParam<VectorCase> {};

TEST_P(Md5VectorTest, Rfc1321Suite)
{
    EXPECT_EQ(Md5Of(QByteArray(GetParam().input)), QString::fromLatin1(GetParam().digest));
    if (*GetParam().input) {
        EXPECT_EQ(Md5String(QString::fromLatin1(GetParam().input)), QString::fromLatin1(GetParam().digest));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Md5, Md5VectorTest,
    ::testing::Values(
        VectorCase{"", "d41d8cd98f00b204e9800998ecf8427e"}, VectorCase{"a", "0cc175b9c0f1b6a831c399e269772661"},
        VectorCase{"abc", "900150983cd24fb0d6963f7d28e17f72"},
        VectorCase{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        VectorCase{"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        VectorCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                   "d174ab98d277d9f5a5611c2c9f419d9f"},
        VectorCase{"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
                   "57edf4a22be3c955ac49da2e2107b67a"}));

TEST(Md5, PaddingBoundaries)
{
    // Digests of n bytes of 'a' around the 56- and 64-byte boundaries, fed
    // whole and in pieces.
    const std::pair<int, const char*> cases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"}, {56, "3b0c8ac703f828b04c6c197006d17218"},
        {57, "652b906d60af96844ebd21b674f35e93"}, {63, "b06521f39153d618550606be297466d5"},
        {64, "014842d480b571495a4a0363793f7367"}, {65, "c743a45e0d2e6a95cb859adae0248435"},
    };
    for (auto [n, digest] : cases) {
        const QByteArray input(n, 'a');
        EXPECT_EQ(Md5Of(input), QString::fromLatin1(digest)) << n;
        Md5 md5;
        for (char ch : input)
            md5.Update(reinterpret_cast<const uint8_t*>(&ch), 1);
        EXPECT_EQ(md5.FinalHex(), QString::fromLatin1(digest)) << n << " bytewise";
    }
}

TEST(Md5, EmptyStringGivesEmptyButZeroBytesHaveADigest)
{
    EXPECT_EQ(Md5String(QString()), QString());
    EXPECT_EQ(Md5Bytes(0, nullptr), kEmptyDigest);
}

TEST(Md5, ChineseTextIsDigestedAsGbkBytes)
{
    // Two Chinese characters and "ab": six GBK bytes.
    const QString s = QStringLiteral("中文ab");
    EXPECT_EQ(AnsiByteLen(s), 6);
    const QByteArray gbk("\xD6\xD0\xCE\xC4" "ab");
    EXPECT_EQ(StringToAnsiBytes(s), gbk + '\0');
    EXPECT_EQ(Md5String(s), Md5Of(gbk));
    EXPECT_NE(Md5String(s), Md5Of(s.toUtf8()));
}

TEST(Md5, FileDigests)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(FileMD5(dir.path() + QStringLiteral("/missing.xml")), kEmptyDigest);

    QFile empty(dir.path() + QStringLiteral("/empty.xml"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_EQ(FileMD5(empty.fileName()), kEmptyDigest);

    // Larger than the read chunk, so the file is digested in pieces.
    QByteArray big;
    for (int i = 0; i < 200000; ++i)
        big += static_cast<char>(i * 13);
    QFile f(dir.path() + QStringLiteral("/big.bin"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(big);
    f.close();
    EXPECT_EQ(FileMD5(f.fileName()), Md5Of(big));
    // Backslash paths, as the program writes them.
    EXPECT_EQ(FileMD5(dir.path() + QStringLiteral("\\big.bin")), Md5Of(big));
}
