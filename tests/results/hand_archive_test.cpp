// The hand archive "info.zq": sections written from the score window and
// read back into it.
#include "sheet_fixture.h"

#include "core/ini_file.h"
#include "core/startup.h"
#include "platform/gbk.h"
#include "window/pictures.h"

#include <QFile>
#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>
#endif

using namespace results_test;

namespace {

// A line as the archive gives it back: without surrounding blanks, an
// empty line as one space.
QString Reloaded(const QString& line)
{
    const QString t = line.trimmed();
    return t.isEmpty() ? QStringLiteral(" ") : t;
}

QByteArray FileBytes(const Sheet& t)
{
    QFile f(results::HandArchivePath(t.client));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

core::classIniFile Archive(const Sheet& t)
{
    core::classIniFile ini;
    ini.setINIFileName(results::HandArchivePath(t.client));
    return ini;
}

void FillLists(Sheet& t, const QString& text, int count)
{
    for (platform::ListBox* list : t.score.State) {
        list->Clear();
        for (int k = 0; k < count; ++k)
            list->AddItem(text);
    }
}

#ifdef __linux__
// Counts the times a file of a folder is written and closed or replaced.
class FileWrites {
public:
    FileWrites(const QString& folder, const QByteArray& name)
        : fd_(inotify_init1(IN_NONBLOCK)), name_(name)
    {
        if (fd_ >= 0)
            inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_CLOSE_WRITE | IN_MOVED_TO);
    }
    ~FileWrites()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    bool Valid() const { return fd_ >= 0; }
    int Count()
    {
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0)
                return count_;
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                if (e->len > 0 && QByteArray(e->name) == name_)
                    ++count_;
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
    }

private:
    int fd_;
    QByteArray name_;
    int count_ = 0;
};
#endif

} // namespace

TEST(HandArchive, ASheetComesBackWithoutItsIndentation)
{
    Sheet t;
    t.PlainWin();
    t.client.rewards.PropSeatNames[2] = QStringLiteral("宝箱00000255");
    results::ShowHandScore(t.client);
    std::array<QStringList, 8> sheet;
    for (int j = 0; j < 8; ++j)
        sheet[static_cast<std::size_t>(j)] = t.Lines(j);

    FillLists(t, QStringLiteral("other"), 40);
    for (int i = 0; i < 4; ++i) {
        t.score.ID[i].SetCaption(QStringLiteral("other"));
        t.score.Tou[i].ClearPicture();
        results::SetListForeColor(*t.score.State[static_cast<std::size_t>(i)], 0x123456);
    }
    results::LoadHandSheet(t.client, 1);

    for (int j = 0; j < 8; ++j) {
        QStringList expected;
        for (const QString& line : sheet[static_cast<std::size_t>(j)])
            expected << Reloaded(line);
        EXPECT_EQ(t.Lines(j), expected) << j;
    }
    EXPECT_EQ(t.Lines(1)[2], QStringLiteral("--------------------"));
    EXPECT_TRUE(t.Lines(1).contains(QStringLiteral("点炮：   1 番")));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.score.ID[i].Caption, kNames[static_cast<std::size_t>(i)]);
        EXPECT_EQ(t.score.Tou[i].PictureId(),
                  t.client.window.PicIds.AvatarPicIds[static_cast<std::size_t>(i + 1)].toInt());
        EXPECT_EQ(results::ListForeColor(*t.score.State[static_cast<std::size_t>(i)]), i == 2 ? 255 : 0);
    }
}

TEST(HandArchive, KeysAreNamedAsTheFileFormatHasThem)
{
    Sheet t;
    t.PlainWin();
    t.g.RoundNo = 3;
    results::ShowHandScore(t.client);
    const QByteArray file = FileBytes(t);
    const auto has = [&file](const QString& line) { return file.contains(platform::gbk::Encode(line) + "\r\n"); };
    EXPECT_TRUE(file.startsWith("[juNum:3]\r\n"));
    EXPECT_TRUE(has(QStringLiteral("name( 2 )=卡罗尔")));
    EXPECT_TRUE(has(QStringLiteral("PicIndex( 3 )=4")));
    EXPECT_TRUE(has(QStringLiteral("count( 0 )=%1").arg(t.Lines(0).size())));
    EXPECT_TRUE(has(QStringLiteral("count( 5 )=1")));
    EXPECT_TRUE(has(QStringLiteral("count( 5 )( 0 )=最终分：-10金币")));
    EXPECT_TRUE(has(QStringLiteral("count( 1 )( 1 )=   房间底金： 5")));
    EXPECT_TRUE(has(QStringLiteral("count( 1 )( 12 )=====================")));
    EXPECT_TRUE(has(QStringLiteral("count( 0 )( 2 )=")));
    EXPECT_TRUE(has(QStringLiteral("count( 1 ) ForeColor=0")));
    EXPECT_FALSE(file.contains("count( 4 ) ForeColor"));
}

TEST(HandArchive, HandZeroChangesNothing)
{
    Sheet t;
    t.PlainWin();
    results::ShowHandScore(t.client);
    FillLists(t, QStringLiteral("kept"), 2);
    t.score.ID[1].SetCaption(QStringLiteral("kept"));
    results::LoadHandSheet(t.client, 0);
    EXPECT_EQ(t.Lines(3), (QStringList{QStringLiteral("kept"), QStringLiteral("kept")}));
    EXPECT_EQ(t.score.ID[1].Caption, QStringLiteral("kept"));
}

TEST(HandArchive, AHandWithoutASectionEmptiesTheSheet)
{
    Sheet t;
    t.PlainWin();
    results::ShowHandScore(t.client);
    const int picture = t.score.Tou[0].PictureId();
    results::LoadHandSheet(t.client, 2);
    for (int j = 0; j < 8; ++j)
        EXPECT_TRUE(t.Lines(j).isEmpty()) << j;
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(t.score.ID[i].Caption.isEmpty());
    EXPECT_EQ(t.score.Tou[0].PictureId(), picture);
}

TEST(HandArchive, NoArchiveFileAtAllEmptiesTheSheet)
{
    Sheet t;
    FillLists(t, QStringLiteral("earlier hand"), 3);
    results::LoadHandSheet(t.client, 1);
    EXPECT_TRUE(t.Lines(0).isEmpty());
}

struct DamageCase {
    const char* name;
    int list;
    std::optional<QString> count; // nothing: the key is removed
};
void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class DamagedCount : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedCount, CountsAsAMissingSection)
{
    Sheet t;
    t.PlainWin();
    results::ShowHandScore(t.client);
    core::classIniFile ini = Archive(t);
    const QString key = QStringLiteral("count( %1 )").arg(GetParam().list);
    if (GetParam().count)
        ini.WriteIniKey(QStringLiteral("juNum:1"), key, *GetParam().count);
    else
        ini.DelIniKey(QStringLiteral("juNum:1"), key);
    results::LoadHandSheet(t.client, 1);
    for (int j = 0; j < 8; ++j)
        EXPECT_TRUE(t.Lines(j).isEmpty()) << j;
    EXPECT_TRUE(t.score.ID[3].Caption.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(HandArchive, DamagedCount,
                         testing::Values(DamageCase{"not_a_number", 0, QStringLiteral("many")},
                                         DamageCase{"negative", 2, QStringLiteral("-1")},
                                         DamageCase{"too_many", 3, QStringLiteral("501")},
                                         DamageCase{"huge", 1, QStringLiteral("1e300")},
                                         DamageCase{"empty", 0, QString()},
                                         DamageCase{"last_missing", 7, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HandArchive, SavingAHandAgainReadsOnlyTheNewCount)
{
    Sheet t;
    t.g.RoundNo = 2;
    FillLists(t, QStringLiteral("first"), 5);
    results::SaveHandSheet(t.client, 2);
    FillLists(t, QStringLiteral("second"), 2);
    results::SaveHandSheet(t.client, 2);
    EXPECT_TRUE(FileBytes(t).contains("count( 0 )( 4 )=first"));

    FillLists(t, QStringLiteral("x"), 9);
    results::LoadHandSheet(t.client, 2);
    EXPECT_EQ(t.Lines(0), (QStringList{QStringLiteral("second"), QStringLiteral("second")}));
    EXPECT_EQ(t.Lines(7), (QStringList{QStringLiteral("second"), QStringLiteral("second")}));
}

TEST(HandArchive, ListsAreCutOrExtendedToTheArchivedCount)
{
    Sheet t;
    FillLists(t, QStringLiteral("   三行"), 3);
    t.score.State[1]->AddItem(QString());
    results::SaveHandSheet(t.client, 1);
    FillLists(t, QStringLiteral("old"), 1);
    for (int k = 0; k < 10; ++k)
        t.score.State[2]->AddItem(QStringLiteral("old"));
    results::LoadHandSheet(t.client, 1);
    EXPECT_EQ(t.Lines(0), (QStringList{QStringLiteral("三行"), QStringLiteral("三行"), QStringLiteral("三行")}));
    EXPECT_EQ(t.Lines(1), (QStringList{QStringLiteral("三行"), QStringLiteral("三行"), QStringLiteral("三行"),
                                       QStringLiteral(" ")}));
    EXPECT_EQ(t.Lines(2).size(), 3);
}

TEST(HandArchive, HandNumbersKeepTheirOwnSections)
{
    Sheet t;
    for (int16_t hand : {1, 2, 3}) {
        FillLists(t, QStringLiteral("hand %1").arg(hand), hand);
        results::SaveHandSheet(t.client, hand);
    }
    results::LoadHandSheet(t.client, 2);
    EXPECT_EQ(t.Lines(4), (QStringList{QStringLiteral("hand 2"), QStringLiteral("hand 2")}));
    results::LoadHandSheet(t.client, 1);
    EXPECT_EQ(t.Lines(4), QStringList{QStringLiteral("hand 1")});
}

TEST(HandArchive, NamesOfAnyTextComeBackByteForByte)
{
    const std::array<QString, 4> names = {QStringLiteral("a]b=c"), QStringLiteral("x\r\n[juNum:9]\r\nname( 0 )=evil"),
                                          QStringLiteral("  \"quoted\"\t"), QStringLiteral("100%0A%25'q'")};
    Sheet t;
    for (int i = 0; i < 4; ++i)
        t.r.SeatNamePics[static_cast<std::size_t>(i)].Name = names[static_cast<std::size_t>(i)];
    FillLists(t, QStringLiteral("'a'\nb"), 1);
    results::SaveHandSheet(t.client, 1);
    FillLists(t, QString(), 0);
    results::LoadHandSheet(t.client, 1);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(t.score.ID[i].Caption, names[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(t.Lines(6), QStringList{QStringLiteral("'a'\nb")});

    // No name made a section or key of its own.
    const QByteArray file = FileBytes(t);
    EXPECT_FALSE(file.contains("\r\n[juNum:9]"));
    EXPECT_EQ(file.count("\r\nname( 0 )="), 1);
    results::LoadHandSheet(t.client, 9);
    EXPECT_TRUE(t.score.ID[0].Caption.isEmpty());
}

struct ColourCase {
    const char* name;
    std::optional<QString> value;
    int32_t colour;
};
void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }

class ArchivedColour : public testing::TestWithParam<ColourCase> {};

TEST_P(ArchivedColour, ReadsAsARgbValueOrBlack)
{
    Sheet t;
    FillLists(t, QStringLiteral("line"), 1);
    results::SaveHandSheet(t.client, 1);
    core::classIniFile ini = Archive(t);
    if (GetParam().value)
        ini.WriteIniKey(QStringLiteral("juNum:1"), QStringLiteral("count( 3 ) ForeColor"), *GetParam().value);
    else
        ini.DelIniKey(QStringLiteral("juNum:1"), QStringLiteral("count( 3 ) ForeColor"));
    results::SetListForeColor(*t.score.State[3], 77);
    results::LoadHandSheet(t.client, 1);
    EXPECT_EQ(results::ListForeColor(*t.score.State[3]), GetParam().colour);
    EXPECT_EQ(t.Lines(3), QStringList{QStringLiteral("line")});
}

INSTANTIATE_TEST_SUITE_P(HandArchive, ArchivedColour,
                         testing::Values(ColourCase{"rgb", QStringLiteral("65280"), 65280},
                                         ColourCase{"nearest_integer", QStringLiteral("254.6"), 255},
                                         ColourCase{"white", QStringLiteral("16777215"), 0xFFFFFF},
                                         ColourCase{"missing", std::nullopt, 0},
                                         ColourCase{"not_a_number", QStringLiteral("red"), 0},
                                         ColourCase{"negative", QStringLiteral("-5"), 0},
                                         ColourCase{"too_large", QStringLiteral("16777216"), 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HandArchive, AnAvatarNumberOutsideTheTwentyKeepsThePicture)
{
    Sheet t;
    t.r.SeatNamePics[0].PicIndex = QStringLiteral("20");
    t.r.SeatNamePics[1].PicIndex = QStringLiteral("x");
    t.r.SeatNamePics[2].PicIndex = QString();
    t.r.SeatNamePics[3].PicIndex = QStringLiteral("19");
    results::SaveHandSheet(t.client, 1);
    const auto& ids = t.client.window.PicIds.AvatarPicIds;
    for (int i = 0; i < 4; ++i)
        window::LoadGifResource(ids[5], QStringLiteral("GIF"), t.score.Tou[i]);
    results::LoadHandSheet(t.client, 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(t.score.Tou[i].PictureId(), ids[5].toInt()) << i;
    EXPECT_EQ(t.score.Tou[3].PictureId(), ids[19].toInt());
}

TEST(HandArchive, WithoutADataFolderNothingIsWritten)
{
    Sheet t;
    t.client.core.DataPath.clear();
    FillLists(t, QStringLiteral("line"), 1);
    results::SaveHandSheet(t.client, 1);
    EXPECT_TRUE(results::HandArchivePath(t.client).isEmpty());
    EXPECT_FALSE(QFile::exists(t.dir.filePath(QStringLiteral("info.zq"))));
}

TEST(HandArchive, AStaleArchiveIsDeletedAtStartUp)
{
    Sheet t;
    FillLists(t, QStringLiteral("from an earlier run"), 1);
    results::SaveHandSheet(t.client, 1);
    ASSERT_TRUE(QFile::exists(results::HandArchivePath(t.client)));
    ASSERT_TRUE(core::Form_Load(t.client, QStringLiteral("bob$key$127.0.0.1$8000$"), QSize(1280, 1024)));
    EXPECT_FALSE(QFile::exists(results::HandArchivePath(t.client)));
}

TEST(HandArchive, ASecondInstanceLeavesTheRunningOnesArchive)
{
    const QString lock = testing_support::TestClient::UniqueLockName();
    platform::InstanceLock running(lock);
    ASSERT_TRUE(running.TryAcquire());
    Sheet first;
    FillLists(first, QStringLiteral("line"), 1);
    results::SaveHandSheet(first.client, 1);
    testing_support::TestClient second(lock);
    second.client.core.DataPath = first.client.core.DataPath;
    EXPECT_FALSE(core::Form_Load(second.client, QStringLiteral("bob$key$127.0.0.1$8000$"), QSize(1280, 1024)));
    EXPECT_TRUE(QFile::exists(results::HandArchivePath(first.client)));
}

TEST(HandArchive, AWholeSheetIsOneWriteAndEndsAsKeyByKeyWrites)
{
#ifndef __linux__
    GTEST_SKIP() << "counts file writes with inotify";
#else
    Sheet t;
    t.PlainWin();
    t.g.RoundNo = 2;
    // An earlier hand 1, and a stale hand 2 with longer lists that the new
    // sheet overwrites in place.
    FillLists(t, QStringLiteral("hand 1"), 3);
    results::SaveHandSheet(t.client, 1);
    FillLists(t, QStringLiteral("stale"), 40);
    results::SaveHandSheet(t.client, 2);
    FillLists(t, QString(), 0);
    const QByteArray before = FileBytes(t);

    FileWrites writes(t.dir.path(), "info.zq");
    ASSERT_TRUE(writes.Valid());
    results::ShowHandScore(t.client);
    EXPECT_EQ(writes.Count(), 1);
    const QByteArray batch = FileBytes(t);

    // The same sheet written one key at a time from the same start.
    QTemporaryDir other;
    const QString path = other.filePath(QStringLiteral("info.zq"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(before);
    }
    core::classIniFile ini;
    ini.setINIFileName(path);
    const QString section = QStringLiteral("juNum:2");
    for (int i = 0; i < 4; ++i) {
        const auto& pic = t.r.SeatNamePics[static_cast<std::size_t>(i)];
        ini.WriteIniKey(section, QStringLiteral("name( %1 )").arg(i), pic.Name);
        ini.WriteIniKey(section, QStringLiteral("PicIndex( %1 )").arg(i), pic.PicIndex);
    }
    for (int j = 0; j < 8; ++j) {
        const QStringList lines = t.Lines(j);
        ini.WriteIniKey(section, QStringLiteral("count( %1 )").arg(j), QString::number(lines.size()));
        for (int k = 0; k < lines.size(); ++k)
            ini.WriteIniKey(section, QStringLiteral("count( %1 )( %2 )").arg(j).arg(k), lines[k]);
    }
    for (int k = 0; k < 4; ++k)
        ini.WriteIniKey(section, QStringLiteral("count( %1 ) ForeColor").arg(k),
                        QString::number(results::ListForeColor(*t.score.State[static_cast<std::size_t>(k)])));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(batch, f.readAll());
    EXPECT_TRUE(batch.contains(platform::gbk::Encode(QStringLiteral("count( 4 )( 0 )=最终分：30金币")) + "\r\n"));
    EXPECT_TRUE(batch.contains("count( 0 )( 39 )=stale\r\n"));
    EXPECT_TRUE(batch.startsWith("[juNum:1]\r\n"));
#endif
}
