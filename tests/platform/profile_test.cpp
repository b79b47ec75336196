// Several keys of one section written in one go end the file exactly as one
// write per key does.
#include "platform/profile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace profile = platform::profile;

namespace {

using Pairs = QList<std::pair<QByteArray, QByteArray>>;

struct BatchCase {
    const char* name;
    QByteArray before; // the file's bytes first; empty: no file
    QByteArray section;
    Pairs pairs;
};
void PrintTo(const BatchCase& c, std::ostream* os) { *os << c.name; }

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class WriteStringsCase : public testing::TestWithParam<BatchCase> {};

TEST_P(WriteStringsCase, EndsAsOneWritePerKey)
{
    QTemporaryDir dir;
    const QString one = dir.filePath(QStringLiteral("one.ini"));
    const QString batch = dir.filePath(QStringLiteral("batch.ini"));
    Put(one, GetParam().before);
    Put(batch, GetParam().before);
    for (const auto& [key, value] : GetParam().pairs)
        ASSERT_TRUE(profile::WriteString(GetParam().section, key, value, one));
    ASSERT_TRUE(profile::WriteStrings(GetParam().section, GetParam().pairs, batch));
    EXPECT_EQ(Bytes(batch), Bytes(one));
    EXPECT_FALSE(Bytes(batch).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Profile, WriteStringsCase,
    testing::Values(
        BatchCase{"new_file", {}, "juNum:1", {{"name( 0 )", "a"}, {"count( 0 )", "2"}, {"count( 0 )( 0 )", "   x"}}},
        BatchCase{"section_between_others",
                  "; head\r\n[a]\r\nk=1\r\n\r\n\r\n[s]\r\nold=1\r\n\r\n[b]\r\nk=2\r\n",
                  " s ",
                  {{"new", "1"}, {"OLD", "2"}, {"second", ""}}},
        BatchCase{"same_key_twice", "[s]\r\nk=0\r\n", "s", {{"k", "1"}, {"other", "x"}, {"k", "2"}}},
        BatchCase{"file_without_line_ends", "[s]\nk=0\n[t]\r\nu=1", "t", {{"u", "2"}, {"v", "3"}}},
        BatchCase{"line_break_in_a_value",
                  "[s]\r\nk=0\r\n",
                  "s",
                  {{"a", "1\n[s]\r\nb=evil\n"}, {"b", "2"}, {"c", "x\r"}, {"d", "\n"}}},
        BatchCase{"line_break_in_a_key", {}, "s", {{"a\nb", "1"}, {"b", "2"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Profile, NoPairsLeaveTheFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.ini"));
    EXPECT_TRUE(profile::WriteStrings("s", {}, path));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Profile, AFileThatCannotBeWrittenReportsFalse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/p.ini"));
    EXPECT_FALSE(profile::WriteStrings("s", {{"k", "v"}}, path));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Profile, BackslashPathsReachTheSameFile)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("\\p.ini");
    ASSERT_TRUE(profile::WriteStrings("s", {{"k", "v"}, {"j", "w"}}, path));
    EXPECT_EQ(Bytes(dir.filePath(QStringLiteral("p.ini"))), QByteArray("[s]\r\nk=v\r\nj=w\r\n"));
}

} // namespace
