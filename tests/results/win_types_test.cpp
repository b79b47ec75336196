// The lines that explain one seat's result in a score list.
#include "results/win_types.h"

#include <QHash>
#include <gtest/gtest.h>

#include <stdexcept>

using results::WinTypeInput;
using results::WinTypeLines;

namespace {

struct Hand {
    std::array<std::array<int16_t, 17>, 4> rows{};
    std::array<int16_t, 4> fans{5, -3, 12, 0};
    QString winText = QStringLiteral("  十三幺 88番");
    int16_t winner = 0;

    QStringList Lines(int list, int seat) const { return WinTypeLines({rows, fans, winText, winner}, list, seat); }
};

// Every win type that names a win, with its text before the fan figure.
const QHash<int, QString>& WinTypeTexts()
{
    static const QHash<int, QString> texts = {
        {1, QStringLiteral("   屁胡：   ")},          {2, QStringLiteral("   碰碰胡： ")},
        {3, QStringLiteral("   清一色： ")},          {4, QStringLiteral("   风一色： ")},
        {5, QStringLiteral("   将一色： ")},          {6, QStringLiteral("   清一色碰碰胡： ")},
        {7, QStringLiteral("   风一色碰碰胡： ")},    {9, QStringLiteral("   将一色碰碰胡： ")},
        {17, QStringLiteral("   杠开：   ")},         {18, QStringLiteral("   杠开碰碰胡： ")},
        {19, QStringLiteral("   杠开清一色： ")},     {20, QStringLiteral("   杠开风一色： ")},
        {21, QStringLiteral("   杠开将一色： ")},     {22, QStringLiteral("   杠开清一色碰碰胡：")},
        {23, QStringLiteral("   杠开风一色碰碰胡：")}, {25, QStringLiteral("   杠开将一色碰碰胡：")},
        {33, QStringLiteral("   海捞：   ")},         {34, QStringLiteral("   海捞碰碰胡：")},
        {35, QStringLiteral("   海捞清一色：")},      {36, QStringLiteral("   海捞风一色：")},
        {37, QStringLiteral("   海捞将一色：")},      {38, QStringLiteral("   海捞清一色碰碰胡：")},
        {39, QStringLiteral("   海捞风一色碰碰胡：")}, {41, QStringLiteral("   海捞将一色碰碰胡：")},
        {49, QStringLiteral("   全求人： ")},         {50, QStringLiteral("   全求人碰碰胡：")},
        {51, QStringLiteral("   全求人清一色：")},    {52, QStringLiteral("   全求人风一色：")},
        {53, QStringLiteral("   全求人将一色：")},    {54, QStringLiteral("   全求人清一色碰碰胡：")},
        {55, QStringLiteral("   全求人风一色碰碰胡：")}, {57, QStringLiteral("   全求人将一色碰碰胡：")},
        {64, QStringLiteral("   抢杠：")},            {65, QStringLiteral("   抢杠屁胡：")},
        {66, QStringLiteral("   抢杠碰碰胡：")},      {67, QStringLiteral("   抢杠清一色：")},
        {68, QStringLiteral("   抢杠风一色：")},      {69, QStringLiteral("   抢杠将一色：")},
        {70, QStringLiteral("   抢杠清一色碰碰胡：")}, {71, QStringLiteral("   抢杠风一色碰碰胡：")},
        {73, QStringLiteral("   抢杠将一色碰碰胡：")}};
    return texts;
}

} // namespace

TEST(WinTypeLines, EveryLowByteGivesItsTableLineOrNothing)
{
    for (int t = 0; t < 512; ++t) {
        Hand h;
        h.rows[2][0] = static_cast<int16_t>(t);
        const QStringList lines = h.Lines(1, 2);
        const int low = t & 0xFF;
        if (low == 8) {
            EXPECT_EQ(lines, (QStringList{h.winText, QString()})) << t;
        } else if (WinTypeTexts().contains(low)) {
            // The list's own fan figure, not the described seat's.
            EXPECT_EQ(lines, (QStringList{WinTypeTexts()[low] + QStringLiteral("-3"), QString()})) << t;
        } else {
            EXPECT_TRUE(lines.isEmpty()) << t;
        }
    }
}

TEST(WinTypeLines, TheSameSeatInTwoListsShowsEachListsFanFigure)
{
    Hand h;
    h.rows[0][0] = 3;
    h.rows[0][3] = 2;
    EXPECT_EQ(h.Lines(0, 0),
              (QStringList{QStringLiteral("   清一色： 5"), QString(), QStringLiteral("   明杠：   2 番")}));
    EXPECT_EQ(h.Lines(2, 0),
              (QStringList{QStringLiteral("   清一色： 12"), QString(), QStringLiteral("   明杠：   2 番")}));
}

TEST(WinTypeLines, CountLinesFollowInTheirOrder)
{
    Hand h;
    h.rows[1] = {0, 0x21, 3, 1, 2, 7, 0, 4, 1, 2, 9};
    EXPECT_EQ(h.Lines(1, 1), (QStringList{QStringLiteral("   红中杠： 1 番"), QStringLiteral("   发财杠： 2 番"),
                                          QStringLiteral("   赖子杠： 3 番"), QStringLiteral("   明杠：   1 番"),
                                          QStringLiteral("   暗杠：   2 番"), QStringLiteral("   硬胡：   1 番"),
                                          QStringLiteral("   开口：   4 番"), QStringLiteral("   包胡"),
                                          QStringLiteral("   庄家：   1 番"), QStringLiteral("   自摸：   1 番")}));
}

TEST(WinTypeLines, OnlyTheLowByteOfARowCounts)
{
    Hand h;
    h.rows[3] = {0x100, 0x100, 0x0101, 0, 0, 0, 0, 0, 0, 0, 0x200};
    EXPECT_EQ(h.Lines(3, 3), QStringList{QStringLiteral("   赖子杠： 1 番")});
}

struct DiscarderCase {
    const char* name;
    int winnerType;
    int16_t winner;
    QString line;
};
void PrintTo(const DiscarderCase& c, std::ostream* os) { *os << c.name; }

class DiscarderLine : public testing::TestWithParam<DiscarderCase> {};

TEST_P(DiscarderLine, CarriesAFigureOnlyAfterAPlainWin)
{
    Hand h;
    h.winner = GetParam().winner;
    h.rows[0][0] = static_cast<int16_t>(GetParam().winnerType);
    h.rows[3][6] = 1;
    EXPECT_EQ(h.Lines(3, 3), QStringList{GetParam().line});
}

INSTANTIATE_TEST_SUITE_P(
    WinTypeLines, DiscarderLine,
    testing::Values(DiscarderCase{"plain_win", 1, 0, QStringLiteral("   点炮：   1 番")},
                    DiscarderCase{"plain_win_high_byte", 0x101, 0, QStringLiteral("   点炮：   1 番")},
                    DiscarderCase{"kong_draw_plain", 17, 0, QStringLiteral("   点炮")},
                    DiscarderCase{"pure_suit", 3, 0, QStringLiteral("   点炮")},
                    DiscarderCase{"no_winner", 1, -1, QStringLiteral("   点炮")},
                    DiscarderCase{"winner_out_of_range", 1, 4, QStringLiteral("   点炮")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WinTypeLines, ANegativeFanKeepsItsSign)
{
    Hand h;
    h.rows[1][0] = 65;
    EXPECT_EQ(h.Lines(1, 1).first(), QStringLiteral("   抢杠屁胡：-3"));
}

TEST(WinTypeLines, ASeatWithoutWinOrCountsGivesNothing)
{
    Hand h;
    EXPECT_TRUE(h.Lines(0, 2).isEmpty());
}

TEST(WinTypeLines, AListOrSeatOutsideTheFourViewsIsRefused)
{
    Hand h;
    EXPECT_THROW(h.Lines(4, 0), std::out_of_range);
    EXPECT_THROW(h.Lines(0, 4), std::out_of_range);
    EXPECT_THROW(h.Lines(-1, 0), std::out_of_range);
}
