// The jade rewards: jadetask.xml read into its two tables, and the jade
// display of a hand's reward.

#include "rewards/jade.h"
#include "support/test_client.h"
#include "widgets/sprite_sheet.h"
#include "window/main_form.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::TestClient;

namespace {

// A jade-task document as the program's folder holds it: two levels (the
// second without its multiple) and three tasks (the second missing, the
// third with an odd prize list).
constexpr char kJadeTasks[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<jade>
  <rank n="2">
    <lvl1 color="16711680" mutiple="3"/>
    <lvl2 color="255"/>
  </rank>
  <task n="3">
    <task_1 id="101" des="打满十局" des2="每日" prize="3:200;4:1"/>
    <task_3 id="103" des="胡一把" des2="" prize="5;7:9;"/>
  </task>
</jade>
)";

struct JadeClient : TestClient {
    QTemporaryDir folder;
    Client& c = client;

    JadeClient() { c.core.AppPath = folder.path(); }
    void Write(const QByteArray& text)
    {
        QFile file(QDir(folder.path()).filePath(QStringLiteral("jadetask.xml")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
};

TEST(JadeTaskFile, FillsTheLevelsAndTheTasks)
{
    JadeClient t;
    t.Write(kJadeTasks);
    ASSERT_TRUE(rewards::LoadJadeTaskXml(t.c));
    const auto& levels = t.c.rewards.JadeLevels;
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[0].level, 0);
    EXPECT_EQ(levels[1].level, 1);
    EXPECT_EQ(levels[1].color, 16711680);
    EXPECT_EQ(levels[1].mutiple, 3);
    EXPECT_EQ(levels[2].level, 2);
    EXPECT_EQ(levels[2].color, 255);
    EXPECT_EQ(levels[2].mutiple, 0);

    const auto& tasks = t.c.rewards.JadeTasks;
    ASSERT_EQ(tasks.size(), 4u);
    EXPECT_EQ(tasks[1].id, 101);
    EXPECT_EQ(tasks[1].des, QStringLiteral("打满十局"));
    EXPECT_EQ(tasks[1].des2, QStringLiteral("每日"));
    EXPECT_EQ(tasks[1].prizeCount, 2);
    EXPECT_EQ(tasks[1].prizeKinds, (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(tasks[1].prizeAmounts, (std::vector<int32_t>{200, 1}));
    // The missing task stays empty.
    EXPECT_EQ(tasks[2].id, 0);
    EXPECT_EQ(tasks[2].prizeCount, 0);
    // An item without ":" is a kind with nothing; the empty last item counts.
    EXPECT_EQ(tasks[3].prizeCount, 3);
    EXPECT_EQ(tasks[3].prizeKinds, (std::vector<int32_t>{5, 7, 0}));
    EXPECT_EQ(tasks[3].prizeAmounts, (std::vector<int32_t>{0, 9, 0}));
}

struct BadFileCase {
    const char* what;
    const char* text; // nullptr: no file
    bool read;
    std::size_t levels;
    std::size_t tasks;
};

class JadeTaskBadFile : public testing::TestWithParam<BadFileCase> {};

TEST_P(JadeTaskBadFile, LeavesTablesOfSafeSize)
{
    const BadFileCase& b = GetParam();
    JadeClient t;
    if (b.text)
        t.Write(b.text);
    EXPECT_EQ(rewards::LoadJadeTaskXml(t.c), b.read) << b.what;
    EXPECT_EQ(t.c.rewards.JadeLevels.size(), b.levels) << b.what;
    EXPECT_EQ(t.c.rewards.JadeTasks.size(), b.tasks) << b.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, JadeTaskBadFile,
    testing::Values(BadFileCase{"no file", nullptr, false, 1, 1},
                    BadFileCase{"not a document", "<jade><rank n=", false, 1, 1},
                    BadFileCase{"no counts", "<j><rank/><task/></j>", true, 1, 1},
                    BadFileCase{"negative counts", "<j><rank n='-4'/><task n='-1'/></j>", true, 1, 1},
                    BadFileCase{"counts beyond 16 bits", "<j><rank n='99999999'/><task n='x'/></j>", true, 32768, 1},
                    BadFileCase{"only tasks", "<j><task n='2'/></j>", true, 1, 3}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// ---- the display ---------------------------------------------------------------

struct JadeDisplay : TestClient {
    Client& c = client;
    JadeDisplay() { rewards::InitJadeTask(c); }
    widgets::Apng& Digit(int j) { return *c.rewards.APNG_JadeNum[static_cast<std::size_t>(j)]; }
    int VisibleDigits() const
    {
        int n = 0;
        for (widgets::Apng* d : c.rewards.APNG_JadeNum)
            n += d->isVisibleTo(c.MainForm->pic1) ? 1 : 0;
        return n;
    }
};

TEST(JadeDisplay, StartsHiddenAndLaidOut)
{
    JadeDisplay t;
    const rewards::RewardsState& r = t.c.rewards;
    ASSERT_NE(r.APNG_Jadefinish, nullptr);
    EXPECT_FALSE(r.APNG_Jadefinish->isVisibleTo(t.c.MainForm->pic1));
    EXPECT_EQ(r.APNG_Jadefinish->geometry(), QRect(340, 171, 350, 350));
    EXPECT_EQ(r.APNG_JadeKuang->geometry(), QRect(310, 471, 418, 86));
    EXPECT_EQ(r.APNG_JadeNum.size(), 1u);
    EXPECT_EQ(t.Digit(0).geometry(), QRect(444, 501, 22, 29));
    EXPECT_EQ(r.APNG_JadeKuang->CountX(), 1);
    EXPECT_EQ(t.Digit(0).CountY(), 10);
    EXPECT_FALSE(t.c.MainForm->Pic_Jadetask->isVisibleTo(t.c.MainForm.get()));
    EXPECT_EQ(r.JadeShowing, 0);
}

struct AmountCase {
    const char* text;
    std::vector<int> lefts;  // of the digits, from the frame's left edge
    std::vector<int> frames; // the digit each shows
};

class JadeAmount : public testing::TestWithParam<AmountCase> {};

TEST_P(JadeAmount, ShowsOneDigitPerCharacterCentredOnTheFrame)
{
    const AmountCase& a = GetParam();
    JadeDisplay t;
    t.clock.ms = 777;
    t.c.rewards.JadeRewardText = QString::fromUtf8(a.text);
    rewards::ShowJadeReward(t.c);
    const rewards::RewardsState& r = t.c.rewards;
    EXPECT_TRUE(r.APNG_Jadefinish->isVisibleTo(t.c.MainForm->pic1));
    EXPECT_TRUE(r.APNG_JadeKuang->isVisibleTo(t.c.MainForm->pic1));
    EXPECT_EQ(r.APNG_Jadefinish->CountX(), 4);
    EXPECT_EQ(r.APNG_Jadefinish->CountY(), 4);
    EXPECT_TRUE(r.APNG_Jadefinish->Running());
    EXPECT_EQ(r.APNG_Jadefinish->Interval(), 200);
    ASSERT_EQ(t.VisibleDigits(), static_cast<int>(a.lefts.size())) << a.text;
    const int frameLeft = r.APNG_JadeKuang->x();
    for (std::size_t j = 0; j < a.lefts.size(); ++j) {
        EXPECT_EQ(t.Digit(static_cast<int>(j)).x() - frameLeft, a.lefts[j]) << a.text << " " << j;
        EXPECT_EQ(t.Digit(static_cast<int>(j)).FrameIndex(), a.frames[j]) << a.text << " " << j;
        EXPECT_EQ(t.Digit(static_cast<int>(j)).y(), r.APNG_JadeKuang->y() + 30);
    }
    EXPECT_EQ(r.JadeShowTick, 777u);
    EXPECT_EQ(r.JadeRewardActive, -1);
    EXPECT_EQ(r.JadeShowing, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, JadeAmount,
    testing::Values(AmountCase{"", {}, {}}, AmountCase{"7", {190}, {7}}, AmountCase{"12", {180, 200}, {1, 2}},
                    AmountCase{"305", {170, 190, 210}, {3, 0, 5}},
                    AmountCase{"9999", {160, 180, 200, 220}, {9, 9, 9, 9}},
                    AmountCase{"12345", {140, 156, 172, 188, 204}, {1, 2, 3, 4, 5}},
                    AmountCase{"4a", {180, 200}, {4, 0}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(JadeDisplay, AShorterAmountRemovesTheExtraDigits)
{
    JadeDisplay t;
    t.c.rewards.JadeRewardText = QStringLiteral("12345");
    rewards::ShowJadeReward(t.c);
    EXPECT_EQ(t.c.rewards.APNG_JadeNum.size(), 5u);
    t.c.rewards.JadeRewardText = QStringLiteral("8");
    rewards::ShowJadeReward(t.c);
    EXPECT_EQ(t.c.rewards.APNG_JadeNum.size(), 1u);
    EXPECT_EQ(t.VisibleDigits(), 1);
    EXPECT_EQ(t.Digit(0).FrameIndex(), 8);
    // The session's reset hides the display again and keeps one digit.
    t.c.rewards.JadeRewardText = QStringLiteral("66");
    rewards::ShowJadeReward(t.c);
    rewards::InitJadeTask(t.c);
    EXPECT_EQ(t.c.rewards.APNG_JadeNum.size(), 1u);
    EXPECT_EQ(t.VisibleDigits(), 0);
    EXPECT_EQ(t.c.rewards.JadeShowing, 0);
    EXPECT_EQ(t.c.rewards.JadeRewardActive, 0);
}

} // namespace
