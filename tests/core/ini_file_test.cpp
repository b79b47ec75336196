#include "core/ini_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using core::classIniFile;

namespace {

struct IniFixture : ::testing::Test {
    QTemporaryDir dir;
    classIniFile ini;
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ini.setINIFileName(dir.path() + QStringLiteral("\\test.ini"));
    }
    QString Path() const { return dir.path() + QStringLiteral("/test.ini"); }
    void WriteRaw(const QByteArray& content)
    {
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray ReadRaw()
    {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(IniFixture, MissingFileSectionOrKeyReadsEmpty)
{
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("s"), QStringLiteral("k")), QString());
    EXPECT_FALSE(QFile::exists(Path()));
    ini.WriteIniKey(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("s"), QStringLiteral("other")), QString());
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("other"), QStringLiteral("k")), QString());
}

TEST_F(IniFixture, WriteCreatesFileAndReadsBack)
{
    ini.WriteIniKey(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("abc"));
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("abc"));
    EXPECT_EQ(ReadRaw(), QByteArray("[s]\r\nk=abc\r\n"));
}

TEST_F(IniFixture, OverwriteAndNewKeysStayInTheirSection)
{
    ini.WriteIniKey(QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("1"));
    ini.WriteIniKey(QStringLiteral("b"), QStringLiteral("y"), QStringLiteral("2"));
    ini.WriteIniKey(QStringLiteral("a"), QStringLiteral("z"), QStringLiteral("3"));
    ini.WriteIniKey(QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("4")); // names ignore case
    EXPECT_EQ(ReadRaw(), QByteArray("[a]\r\nX=4\r\nz=3\r\n[b]\r\ny=2\r\n"));
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("b"), QStringLiteral("Y")), QStringLiteral("2"));
}

TEST_F(IniFixture, ValueLongerThan1023BytesIsCut)
{
    const QString longValue(1500, QLatin1Char('q'));
    ini.WriteIniKey(QStringLiteral("s"), QStringLiteral("k"), longValue);
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("s"), QStringLiteral("k")), longValue.left(1023));
}

struct ReadCase {
    const char* name;
    const char* line;
    const char* expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class IniReadTest : public IniFixture, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IniReadTest, ValueAsStored)
{
    WriteRaw(QByteArray("; comment\r\n[ sec ]\r\n") + GetParam().line + "\r\n[next]\r\nk=other\r\n");
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("sec"), QStringLiteral("k")), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniReadTest,
    ::testing::Values(ReadCase{"plain", "k=abc", "abc"}, ReadCase{"spaces_around", "  k  =   abc   ", "abc"},
                      // Quotes go; leading spaces inside them are trimmed,
                      // trailing ones stay.
                      ReadCase{"quoted", "k=\"  abc  \"", "abc  "}, ReadCase{"single_quoted", "k='x y'", "x y"},
                      ReadCase{"unbalanced_quote", "k=\"abc", "\"abc"}, ReadCase{"empty", "k=", ""},
                      ReadCase{"key_case", "K=upper", "upper"},
                      ReadCase{"gbk", "k=\xD6\xD0\xCE\xC4", "中文"},
                      ReadCase{"equals_in_value", "k=a=b", "a=b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniFixture, GbkNamesAndValuesRoundTrip)
{
    ini.WriteIniKey(QStringLiteral("用户"), QStringLiteral("张三"), QStringLiteral("下注100"));
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("用户"), QStringLiteral("张三")), QStringLiteral("下注100"));
    EXPECT_TRUE(ReadRaw().contains(QByteArray("[\xD3\xC3\xBB\xA7]")));
}

TEST_F(IniFixture, DeleteKeyAndSection)
{
    ini.WriteIniKey(QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("1"));
    ini.WriteIniKey(QStringLiteral("a"), QStringLiteral("y"), QStringLiteral("2"));
    ini.WriteIniKey(QStringLiteral("b"), QStringLiteral("z"), QStringLiteral("3"));

    ini.DelIniKey(QStringLiteral("a"), QStringLiteral("x"));
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("a"), QStringLiteral("x")), QString());
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("a"), QStringLiteral("y")), QStringLiteral("2"));

    ini.DelIniSec(QStringLiteral("a"));
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("a"), QStringLiteral("y")), QString());
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("b"), QStringLiteral("z")), QStringLiteral("3"));
    EXPECT_EQ(ReadRaw(), QByteArray("[b]\r\nz=3\r\n"));

    // Deleting what is not there changes nothing and creates no file.
    ini.setINIFileName(dir.path() + QStringLiteral("\\absent.ini"));
    ini.DelIniKey(QStringLiteral("a"), QStringLiteral("x"));
    ini.DelIniSec(QStringLiteral("a"));
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/absent.ini")));
}

TEST_F(IniFixture, UnwritableFileFailsSilently)
{
    ini.setINIFileName(dir.path() + QStringLiteral("\\no\\such\\folder\\x.ini"));
    ini.WriteIniKey(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(ini.GetIniKey(QStringLiteral("s"), QStringLiteral("k")), QString());
}

TEST(IniJoinPath, ExactlyOneBackslash)
{
    const QString want = QStringLiteral("C:\\game\\chat.ini");
    EXPECT_EQ(classIniFile::JoinPath(QStringLiteral("C:\\game\\\\"), QStringLiteral("\\\\chat.ini")), want);
    EXPECT_EQ(classIniFile::JoinPath(QStringLiteral("C:\\game"), QStringLiteral("chat.ini")), want);
}
