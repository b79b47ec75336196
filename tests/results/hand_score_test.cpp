// The score sheet of a hand: the four columns, the final scores, the seat
// records, the history row, the prompt for the next hand and the archive.
#include "sheet_fixture.h"

#include "core/scheduler.h"
#include "platform/clock.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace results_test;

namespace {

// The row of the "====================" line in each list.
std::array<int, 4> SeparatorRows(const Sheet& t)
{
    std::array<int, 4> rows{};
    for (int i = 0; i < 4; ++i)
        rows[static_cast<std::size_t>(i)] = static_cast<int>(t.Lines(i).indexOf(kSeparator));
    return rows;
}

} // namespace

TEST(ScoreSheet, APlainWinFillsEveryColumn)
{
    Sheet t;
    t.PlainWin();
    results::ShowHandScore(t.client);

    // The winner's list holds no blocks; empty lines bring its separator down
    // to the row of the deepest list.
    QStringList winner = {QStringLiteral("初始：1000"), QStringLiteral("   房间底金： 5")};
    for (int n = 0; n < 10; ++n)
        winner << QString();
    winner << kSeparator << QStringLiteral("小计:30") << QStringLiteral("封顶") << QStringLiteral("总分：30金币")
           << QString() << QStringLiteral("自摸") << QStringLiteral("最终分：30金币");
    EXPECT_EQ(t.Lines(0), winner);

    // The discarder's list: the winner's block with this list's fan figure,
    // then its own block.
    EXPECT_EQ(t.Lines(1), (QStringList{QStringLiteral("初始：1000"), QStringLiteral("   房间底金： 5"), kBlock,
                                       QStringLiteral("[甲]爱丽丝"), QStringLiteral("   屁胡：   -2"), QString(),
                                       QStringLiteral("   庄家：   1 番"), QStringLiteral("   自摸：   1 番"), kBlock,
                                       QStringLiteral("[乙]鲍勃"), QStringLiteral("   点炮：   1 番"), QString(),
                                       kSeparator, QStringLiteral("小计:-10"), QString(),
                                       QStringLiteral("总分：-10金币"), QString(), QString(),
                                       QStringLiteral("最终分：-10金币")}));
    EXPECT_EQ(t.Lines(2)[4], QStringLiteral("   屁胡：   -3"));
    EXPECT_EQ(t.Lines(2)[9], QStringLiteral("[丙]卡罗尔"));
    EXPECT_EQ(SeparatorRows(t), (std::array<int, 4>{12, 12, 12, 12}));

    for (int i = 0; i < 4; ++i) {
        const QString final = i == 0 ? QStringLiteral("最终分：30金币") : QStringLiteral("最终分：-10金币");
        EXPECT_EQ(t.Lines(i + 4), QStringList{final});
        EXPECT_EQ(t.score.ID[i].Caption, kNames[static_cast<std::size_t>(i)]);
        EXPECT_EQ(t.score.Tou[i].PictureId(), t.client.window.PicIds.AvatarPicIds[static_cast<std::size_t>(i + 1)].toInt());
        EXPECT_EQ(results::ListForeColor(*t.score.State[static_cast<std::size_t>(i)]), 0);
    }
    window::MainForm& f = *t.client.MainForm;
    EXPECT_EQ(f.Cash[0].Caption, QStringLiteral("1030金币"));
    EXPECT_EQ(f.Cash[3].Caption, QStringLiteral("990金币"));
    EXPECT_EQ(t.client.Hero->Num->List(0), QStringLiteral("           1"));
    EXPECT_EQ(t.client.Hero->Grade[0]->List(0), QStringLiteral("       30金币"));
    EXPECT_EQ(t.client.Hero->Grade[1]->List(0), QStringLiteral("      -10金币"));
    EXPECT_EQ(t.client.Hero->sumScore[1].Caption, QStringLiteral("-10金币"));
    EXPECT_EQ(t.r.CumulativeAmounts, (std::array<double, 4>{30, -10, -10, -10}));
    EXPECT_EQ(t.g.UserInfos[0].Count160, 1);
    EXPECT_EQ(t.g.UserInfos[2].Count164, 1);
    EXPECT_EQ(t.g.UserInfos[0].Points, 80);
    EXPECT_EQ(t.r.CurrencyFlag, 1);
}

TEST(ScoreSheet, TheNextHandIsPromptedAndCountedDown)
{
    Sheet t;
    t.PlainWin();
    t.g.InGame = -1;
    t.g.AnNiuPressed[2] = -1;
    t.g.TableCleared = -1;
    t.g.ImpeachDone = -1;
    t.g.ImpeachSeat = 9;
    t.g.ImpeachFee = 1;
    t.g.PropResultDue = 0;
    t.client.core.KeepAliveHold = true;
    results::ShowHandScore(t.client);
    window::MainForm& f = *t.client.MainForm;
    EXPECT_EQ(f.Sysmsg[0]->List(0), QStringLiteral("请点击【继续】按钮继续游戏！"));
    EXPECT_EQ(f.Sysmsg[1]->List(0), QStringLiteral("游戏将在15秒内开始"));
    EXPECT_EQ(t.g.InGame, 0);
    EXPECT_EQ(t.g.AnNiuPressed[2], 0);
    EXPECT_EQ(t.g.TableCleared, 0);
    EXPECT_FALSE(t.client.core.KeepAliveHold);
    EXPECT_TRUE(t.client.core.SchedReady.On);
    EXPECT_EQ(t.g.Countdown, 15);
    EXPECT_EQ(f.Number.Caption, QStringLiteral("15"));
    EXPECT_EQ(f.Number.ForeColor, 0xFF00);
    EXPECT_TRUE(f.Number.Visible && f.Time_Img.Visible);
    // A report seat outside the four views is charged nothing.
    EXPECT_EQ(t.g.ImpeachDone, 0);
    EXPECT_EQ(t.g.ImpeachSeat, -1);
    EXPECT_EQ(t.g.PropRoundState, 2);
}

TEST(ScoreSheet, AutomaticPlayCountsThreeSecondsButSaysFifteen)
{
    Sheet t;
    t.PlainWin();
    t.g.AutoPlay = -1;
    results::ShowHandScore(t.client);
    EXPECT_EQ(t.g.Countdown, 3);
    EXPECT_EQ(t.client.MainForm->Sysmsg[1]->List(0), QStringLiteral("游戏将在15秒内开始"));
}

TEST(ScoreSheet, ASpectatorGetsSheetRowAndArchiveButNoCountdown)
{
    Sheet t;
    t.PlainWin();
    t.g.WatchMode = true;
    t.g.RoundNo = 4;
    results::ShowHandScore(t.client);
    EXPECT_FALSE(t.client.core.SchedReady.On);
    EXPECT_FALSE(t.client.MainForm->Number.Visible);
    EXPECT_EQ(t.Lines(0).last(), QStringLiteral("最终分：30金币"));
    EXPECT_EQ(t.client.Hero->Num->ListCount(), 1);
    QFile file(results::HandArchivePath(t.client));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[juNum:4]"));
}

TEST(ScoreSheet, ARobbedKongPutsThePayerInEveryOtherList)
{
    // The winner (view 2) robbed the kong of view 1, a lower view.
    Sheet t;
    t.Amounts({0, -30, 30, 0});
    t.g.WinnerView = 2;
    t.g.HandResult[2][0] = 65;
    t.g.HandResult[1][3] = 1;
    t.r.FanValues = {1, 2, 3, 4};
    results::ShowHandScore(t.client);

    const QStringList winner = t.Lines(2);
    const QStringList payer = t.Lines(1);
    EXPECT_EQ(winner.count(QStringLiteral("   杠进")), 2);
    EXPECT_EQ(payer.count(QStringLiteral("   杠出")), 2);
    EXPECT_FALSE(payer.contains(kBlock));
    // Every other list opens with the payer's block.
    for (int i : {0, 2, 3}) {
        const QStringList lines = t.Lines(i);
        EXPECT_EQ(lines[2], kBlock) << i;
        EXPECT_EQ(lines[3], QStringLiteral("[乙]鲍勃")) << i;
        EXPECT_EQ(lines[4], QStringLiteral("   明杠：   1 番")) << i;
    }
    EXPECT_TRUE(winner.contains(QStringLiteral("   抢杠屁胡：3")));
    // The payer's first mark came after its column was built: behind the
    // empty line that follows its total.
    const int total = static_cast<int>(payer.indexOf(QStringLiteral("总分：-30金币")));
    EXPECT_EQ(payer[total + 1], QString());
    EXPECT_EQ(payer[total + 2], QStringLiteral("   杠出"));
    EXPECT_EQ(payer[total + 3], QStringLiteral("   杠出"));
    const auto rows = SeparatorRows(t);
    EXPECT_TRUE(rows[0] == rows[1] && rows[1] == rows[2] && rows[2] == rows[3]);
}

TEST(ScoreSheet, APayerAfterTheWinnerGetsItsFirstMarkUnderItsOpeningMoney)
{
    Sheet t;
    t.Amounts({0, 30, 0, -30});
    t.g.WinnerView = 1;
    t.g.HandResult[1][0] = 64;
    results::ShowHandScore(t.client);
    const QStringList payer = t.Lines(3);
    EXPECT_EQ(payer[0], QStringLiteral("初始：1000"));
    EXPECT_EQ(payer[1], QStringLiteral("   杠出"));
    EXPECT_EQ(payer[2], QStringLiteral("   房间底金： 5"));
    EXPECT_EQ(payer.count(QStringLiteral("   杠出")), 2);
    EXPECT_TRUE(t.Lines(1).contains(QStringLiteral("   抢杠：0")));
}

TEST(ScoreSheet, AllAmountsZeroLeaveOutSubtotalDiceAndWealth)
{
    Sheet t;
    t.Amounts({0, 0, 0, 0});
    t.g.HandSubtotals[1] = 5;
    t.g.WinnerView = 0;
    t.g.HandResult[0][0] = 1;
    t.g.DiceMultiplier = 2;
    t.g.WealthMultiplier = 3;
    t.g.CapClass = {0, 1, 0, 0};
    results::ShowHandScore(t.client);
    for (int i = 0; i < 4; ++i) {
        const QStringList lines = t.Lines(i);
        const int sep = static_cast<int>(lines.indexOf(kSeparator));
        ASSERT_GE(sep, 0);
        EXPECT_EQ(lines[sep + 1], i == 1 ? QStringLiteral("封顶") : QString()) << i;
        EXPECT_EQ(lines[sep + 2], QStringLiteral("总分：0金币")) << i;
        EXPECT_EQ(lines.filter(QStringLiteral("小计")).size(), 0);
        EXPECT_EQ(lines.filter(QStringLiteral("加倍")).size(), 0);
        EXPECT_EQ(lines.last(), QStringLiteral("最终分：0金币"));
    }
    EXPECT_EQ(t.g.HandSubtotals[1], 5);
}

TEST(ScoreSheet, DiceAndWealthLinesFollowTheCapLine)
{
    Sheet t;
    t.PlainWin();
    t.g.DiceMultiplier = 2;
    t.client.MainForm->lblDifen.SetCaption(QStringLiteral("4"));
    t.g.WealthMultiplier = 3;
    t.g.WealthCaption = QStringLiteral("8");
    results::ShowHandScore(t.client);
    const QStringList lines = t.Lines(0);
    const int sep = static_cast<int>(lines.indexOf(kSeparator));
    EXPECT_EQ(lines.mid(sep + 1, 5), (QStringList{QStringLiteral("小计:30"), QStringLiteral("封顶"),
                                                  QStringLiteral("骰子加倍 ×4"), QStringLiteral("财富加倍 ×8"),
                                                  QStringLiteral("总分：30金币")}));
}

struct CapCase {
    int16_t cap;
    QString line; // the line after the subtotal; empty text for none at all
    bool present;
};

class CapLine : public testing::TestWithParam<CapCase> {};

TEST_P(CapLine, FollowsTheSubtotal)
{
    Sheet t;
    t.PlainWin();
    t.g.CapClass[2] = GetParam().cap;
    results::ShowHandScore(t.client);
    const QStringList lines = t.Lines(2);
    const int sub = static_cast<int>(lines.indexOf(QStringLiteral("小计:-10")));
    ASSERT_GE(sub, 0);
    if (GetParam().present)
        EXPECT_EQ(lines[sub + 1], GetParam().line);
    else
        EXPECT_EQ(lines[sub + 1], QStringLiteral("总分：-10金币"));
}

INSTANTIATE_TEST_SUITE_P(ScoreSheet, CapLine,
                         testing::Values(CapCase{0, QString(), true}, CapCase{-1, QString(), true},
                                         CapCase{1, QStringLiteral("封顶"), true},
                                         CapCase{2, QStringLiteral("金顶"), true},
                                         CapCase{4, QStringLiteral("光明顶"), true},
                                         CapCase{8, QStringLiteral("哈顶"), true},
                                         CapCase{16, QStringLiteral("金币封顶"), true}, CapCase{3, QString(), false},
                                         CapCase{32, QString(), false}),
                         [](const auto& info) {
                             const int cap = info.param.cap;
                             return (cap < 0 ? std::string("minus_") : std::string("cap_")) +
                                    std::to_string(cap < 0 ? -cap : cap);
                         });

TEST(ScoreSheet, GoldBarsAndCoinsAreWordedPerSeat)
{
    Sheet t;
    t.PlainWin();
    t.g.HandResult[0][13] = 0;
    t.g.HandResult[1][13] = 0x101; // only the low byte counts
    results::ShowHandScore(t.client);
    EXPECT_TRUE(t.Lines(0).contains(QStringLiteral("总分： 30金条")));
    EXPECT_EQ(t.Lines(4), QStringList{QStringLiteral("最终分：30金条")});
    EXPECT_TRUE(t.Lines(1).contains(QStringLiteral("总分：-10金币")));
    EXPECT_EQ(t.client.MainForm->Cash[0].Caption, QStringLiteral("1030金条"));
    EXPECT_EQ(t.client.Hero->Grade[0]->List(0), QStringLiteral("       30金条"));
    EXPECT_EQ(t.r.CurrencyFlag, 0);
}

TEST(ScoreSheet, ATextWinPutsTheHandTextInEveryOtherList)
{
    Sheet t;
    t.PlainWin();
    t.g.HandResult[0][0] = 8;
    t.r.WinText = QStringLiteral("十三幺");
    results::ShowHandScore(t.client);
    EXPECT_FALSE(t.Lines(0).contains(QStringLiteral("自摸")));
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(t.Lines(i)[4], QStringLiteral("十三幺"));
        EXPECT_EQ(t.Lines(i)[t.Lines(i).size() - 2], QStringLiteral("自摸"));
    }
}

TEST(ScoreSheet, AnUndeclaredWinnerIsTheLastSeatThatGained)
{
    Sheet t;
    t.Amounts({10, 20, -30, 0});
    t.g.WinnerView = -1;
    t.g.HandResult[1][0] = 2;
    results::ShowHandScore(t.client);
    EXPECT_EQ(t.g.WinnerView, 1);
    EXPECT_FALSE(t.Lines(1).contains(kBlock));
    EXPECT_EQ(t.Lines(0)[3], QStringLiteral("[乙]鲍勃"));
}

TEST(ScoreSheet, AHandWithoutAWinnerShowsNoBlocks)
{
    Sheet t;
    t.Amounts({0, -10, 0, 0});
    t.g.WinnerView = -1;
    t.g.HandResult[2][0] = 1;
    t.g.HandResult[3][6] = 1;
    t.r.HandResultText = QStringLiteral("旧的");
    results::ShowHandScore(t.client);
    EXPECT_EQ(t.g.WinnerView, -1);
    for (int i = 0; i < 4; ++i) {
        const QStringList lines = t.Lines(i);
        EXPECT_FALSE(lines.contains(kBlock)) << i;
        EXPECT_FALSE(lines.contains(QStringLiteral("旧的"))) << i;
        EXPECT_EQ(lines.last(), i == 1 ? QStringLiteral("最终分：-10金币") : QStringLiteral("最终分：0金币"));
    }
    EXPECT_EQ(t.client.Hero->Num->ListCount(), 1);
    EXPECT_TRUE(t.client.core.SchedReady.On);
}

struct StreakCase {
    int16_t count;
    QString line; // empty: no line
};

class WildStreakLine : public testing::TestWithParam<StreakCase> {};

TEST_P(WildStreakLine, ShowsTwoToThePowerOfTheStreak)
{
    Sheet t;
    t.PlainWin();
    t.r.WildStreakCount = GetParam().count;
    results::ShowHandScore(t.client);
    for (int i = 0; i < 4; ++i) {
        const QStringList lines = t.Lines(i);
        if (GetParam().line.isEmpty())
            EXPECT_TRUE(lines.filter(QStringLiteral("连赖")).isEmpty());
        else
            EXPECT_EQ(lines[2], QStringLiteral("   连赖  ×") + GetParam().line);
    }
}

INSTANTIATE_TEST_SUITE_P(ScoreSheet, WildStreakLine,
                         testing::Values(StreakCase{0, QString()}, StreakCase{-3, QString()},
                                         StreakCase{1, QStringLiteral("2")}, StreakCase{14, QStringLiteral("16384")},
                                         StreakCase{15, QStringLiteral("32768")},
                                         StreakCase{40, QStringLiteral("1099511627776")},
                                         StreakCase{63, QStringLiteral("9223372036854775808")},
                                         StreakCase{64, QStringLiteral("1.84467440737096E+19")},
                                         StreakCase{32767, QStringLiteral("8.98846567431158E+307")}),
                         [](const auto& info) {
                             const int n = info.param.count;
                             return (n < 0 ? std::string("minus_") : std::string("streak_")) +
                                    std::to_string(n < 0 ? -n : n);
                         });

struct PropCase {
    const char* name;
    QString pieces;
    QStringList lines; // between the two framing empty lines
    int32_t colour;
};
void PrintTo(const PropCase& c, std::ostream* os) { *os << c.name; }

class PropResults : public testing::TestWithParam<PropCase> {};

TEST_P(PropResults, AddLinesAndTheListColour)
{
    Sheet t;
    t.PlainWin();
    t.client.rewards.PropSeatNames[1] = GetParam().pieces;
    t.client.rewards.PropCoinDelta[1] = 7;
    t.client.rewards.PropSeatEntries[1][2] = QStringLiteral("x");
    results::ShowHandScore(t.client);
    QStringList tail = {QStringLiteral("最终分：-10金币"), QString()};
    tail << GetParam().lines << QString();
    const QStringList lines = t.Lines(1);
    EXPECT_EQ(lines.mid(lines.size() - tail.size()), tail);
    EXPECT_EQ(results::ListForeColor(*t.score.State[1]), GetParam().colour);
    // The prop change counts in the final score, the money and the totals.
    EXPECT_EQ(t.Lines(5), QStringList{QStringLiteral("最终分：-3金币")});
    EXPECT_EQ(t.g.UserInfos[1].Coins, 997);
    EXPECT_EQ(t.r.CumulativeAmounts[1], -3);
    EXPECT_EQ(t.client.MainForm->Cash[1].Caption, QStringLiteral("997金币"));
    EXPECT_TRUE(t.client.rewards.PropSeatNames[1].isEmpty());
    EXPECT_EQ(t.client.rewards.PropCoinDelta[1], 0);
    EXPECT_TRUE(t.client.rewards.PropSeatEntries[1][2].isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    ScoreSheet, PropResults,
    testing::Values(
        PropCase{"eight_digit_colour", QStringLiteral("宝箱+5金币00000255"), {QStringLiteral("宝箱+5金币")}, 255},
        PropCase{"exactly_eight_digits", QStringLiteral("00065280"), {QString()}, 65280},
        PropCase{"last_colour_wins",
                 QStringLiteral("甲00000255|乙00065280"),
                 {QStringLiteral("甲"), QStringLiteral("乙")},
                 65280},
        PropCase{"short_piece_is_its_own_colour", QStringLiteral("12345"), {QStringLiteral("12345")}, 12345},
        PropCase{"short_text_names_no_colour", QStringLiteral("短"), {QStringLiteral("短")}, 0},
        PropCase{"colour_out_of_range", QStringLiteral("道具99999999"), {QStringLiteral("道具")}, 0},
        PropCase{"not_a_number", QStringLiteral("道具abcdefgh"), {QStringLiteral("道具")}, 0},
        PropCase{"trailing_bar", QStringLiteral("道具00000255|"), {QStringLiteral("道具")}, 255}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScoreSheet, MoneyAndPointsDoNotFallBelowTheirFloors)
{
    Sheet t;
    t.PlainWin();
    t.g.UserInfos[2].Coins = 4;
    t.g.UserInfos[2].Points = 3;
    results::ShowHandScore(t.client);
    EXPECT_EQ(t.g.UserInfos[2].Coins, 0);
    EXPECT_EQ(t.g.UserInfos[2].Points, 1);
    EXPECT_EQ(t.Lines(2)[0], QStringLiteral("初始：4"));
    EXPECT_EQ(t.client.MainForm->Cash[2].Caption, QStringLiteral("0金币"));
}

TEST(ScoreSheet, ASeatWithAZeroAmountWinsOnlyByItsHandAmount)
{
    Sheet t;
    t.PlainWin();
    t.g.HandAmounts[2] = 0;
    t.g.HandAmounts[3] = 0;
    t.g.Players[2].HandAmount = 5;
    t.g.Players[3].HandAmount = 0;
    results::ShowHandScore(t.client);
    EXPECT_EQ(t.g.UserInfos[2].Count160, 1);
    EXPECT_EQ(t.g.UserInfos[2].Count164, 0);
    EXPECT_EQ(t.g.UserInfos[3].Count160, 0);
    EXPECT_EQ(t.g.UserInfos[3].Count164, 1);
    // The subtotal keeps its sign for a positive hand amount.
    EXPECT_TRUE(t.Lines(2).contains(QStringLiteral("小计:10")));
    EXPECT_TRUE(t.Lines(3).contains(QStringLiteral("小计:-10")));
}

TEST(ScoreSheet, LargeAmountsUseFifteenDigits)
{
    Sheet t;
    t.PlainWin();
    t.g.HandAmounts[0] = 123456789012345678.0;
    results::ShowHandScore(t.client);
    EXPECT_EQ(t.Lines(4), QStringList{QStringLiteral("最终分：1.23456789012346E+17金币")});
}

struct AvatarCase {
    QString index;
    bool loads;
};

class SheetAvatar : public testing::TestWithParam<AvatarCase> {};

TEST_P(SheetAvatar, AnIndexOutsideTheTwentyKeepsThePicture)
{
    Sheet t;
    t.PlainWin();
    window::LoadGifResource(t.client.window.PicIds.AvatarPicIds[7], QStringLiteral("GIF"), t.score.Tou[2]);
    t.r.SeatNamePics[2].PicIndex = GetParam().index;
    results::ShowHandScore(t.client);
    const int expected = GetParam().loads ? t.client.window.PicIds.AvatarPicIds[static_cast<std::size_t>(
                                                GetParam().index.toInt())].toInt()
                                          : t.client.window.PicIds.AvatarPicIds[7].toInt();
    EXPECT_EQ(t.score.Tou[2].PictureId(), expected);
    EXPECT_EQ(t.score.ID[2].Caption, kNames[2]);
}

INSTANTIATE_TEST_SUITE_P(ScoreSheet, SheetAvatar,
                         testing::Values(AvatarCase{QStringLiteral("0"), true}, AvatarCase{QStringLiteral("19"), true},
                                         AvatarCase{QStringLiteral("20"), false},
                                         AvatarCase{QStringLiteral("-1"), false},
                                         AvatarCase{QStringLiteral("x"), false}, AvatarCase{QString(), false}),
                         [](const auto& info) {
                             return "index_" + std::to_string(info.index) + (info.param.loads ? "_loads" : "_kept");
                         });

struct ImpeachCase {
    const char* name;
    int16_t done;
    int16_t seat;
    double fee;
    std::array<double, 4> coins; // after the hand and the fee
};
void PrintTo(const ImpeachCase& c, std::ostream* os) { *os << c.name; }

class ImpeachFee : public testing::TestWithParam<ImpeachCase> {};

TEST_P(ImpeachFee, IsChargedOnlyWhenTheSeatCanPay)
{
    Sheet t;
    t.PlainWin();
    t.g.ImpeachDone = GetParam().done;
    t.g.ImpeachSeat = GetParam().seat;
    t.g.ImpeachFee = GetParam().fee;
    results::ShowHandScore(t.client);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(t.g.UserInfos[static_cast<std::size_t>(i)].Coins, GetParam().coins[static_cast<std::size_t>(i)]);
    EXPECT_EQ(t.client.MainForm->Cash[2].Caption,
              QString::number(GetParam().coins[2]) + QStringLiteral("金币"));
    EXPECT_EQ(t.g.ImpeachDone, 0);
    EXPECT_EQ(t.g.ImpeachSeat, -1);
}

INSTANTIATE_TEST_SUITE_P(
    ScoreSheet, ImpeachFee,
    testing::Values(ImpeachCase{"charged", -1, 2, 90, {1030, 990, 900, 990}},
                    ImpeachCase{"all_of_it", -1, 2, 990, {1030, 990, 0, 990}},
                    ImpeachCase{"too_dear", -1, 2, 991, {1030, 990, 990, 990}},
                    ImpeachCase{"not_reported", 0, 2, 90, {1030, 990, 990, 990}},
                    ImpeachCase{"seat_negative", -1, -1, 90, {1030, 990, 990, 990}},
                    ImpeachCase{"seat_four", -1, 4, 90, {1030, 990, 990, 990}},
                    ImpeachCase{"seat_large", -1, 300, 90, {1030, 990, 990, 990}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScoreSheet, ADuePropResultEndsThePropRound)
{
    Sheet t;
    t.PlainWin();
    t.g.PropResultDue = -1;
    t.g.PropRoundState = 1;
    results::ShowHandScore(t.client);
    EXPECT_EQ(t.g.PropRoundState, 0);
}

// The score window goes on screen two seconds after the sheet, through the
// scheduler's reward step; the ready countdown runs beside it.
TEST(ScoreSheet, TheScoreWindowOpensTwoSecondsLater)
{
    Sheet t;
    t.PlainWin();
    t.clock.ms = 5000;
    results::ShowHandScore(t.client);
    EXPECT_EQ(t.r.ScorePending, -1);
    EXPECT_EQ(t.r.HandEndTick, 5000u);
    EXPECT_TRUE(t.score.isHidden());
    t.clock.ms = 7000;
    core::TimerBong_Timer(t.client);
    EXPECT_TRUE(t.score.isHidden());
    t.clock.ms = 7001;
    core::TimerBong_Timer(t.client);
    EXPECT_FALSE(t.score.isHidden());
    EXPECT_EQ(t.r.ScorePending, 0);
    EXPECT_TRUE(t.client.core.SchedReady.On);
}

TEST(ScoreSheet, TheScoreWindowOpensAcrossTheClocksWrap)
{
    Sheet t;
    t.PlainWin();
    t.clock.ms = 0xFFFFFF00u;
    results::ShowHandScore(t.client);
    t.clock.ms = 0x00000800u;
    core::TimerBong_Timer(t.client);
    EXPECT_FALSE(t.score.isHidden());
}

TEST(ScoreSheet, AMinimisedTableSchedulesNoScoreWindow)
{
    Sheet t;
    t.PlainWin();
    t.client.MainForm->showMinimized();
    results::ShowHandScore(t.client);
    EXPECT_EQ(t.r.ScorePending, 0);
    t.clock.ms = 100000;
    core::TimerBong_Timer(t.client);
    EXPECT_TRUE(t.score.isHidden());
}
