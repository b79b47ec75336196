// The ranking board: one page of ten rows printed on the ranking panel.
#include "match_fixture.h"
#include "match/match_results.h"

using match::DrawSortList;
using match::PrintedText;
using match::SortEntry;

namespace {

std::vector<SortEntry> Rows(int upperBound)
{
    std::vector<SortEntry> rows(static_cast<std::size_t>(upperBound) + 1);
    for (int p = 1; p <= upperBound; ++p)
        rows[static_cast<std::size_t>(p)] = SortEntry{QStringLiteral("玩家%1").arg(p), 1000 - p};
    return rows;
}

// The places printed in the first column, top to bottom, and their colours.
std::vector<std::pair<QString, uint32_t>> Places(const match::PrintLayer& layer)
{
    std::vector<std::pair<QString, uint32_t>> out;
    for (const PrintedText& t : layer.Lines)
        if (t.x == 25.0f && t.pointSize == 11)
            out.emplace_back(t.text, t.color);
    return out;
}

struct SortBoard : match_testing::MatchFixture {};

} // namespace

TEST_F(SortBoard, PagesLabelsAndTheFirstPlaceShown)
{
    const struct {
        int upper;
        int16_t askedFirst;
        bool result;
        QString label;
        int16_t first;
        int rows;
    } cases[] = {
        {10, 1, false, QStringLiteral("1/1"), 1, 10},  {11, 1, true, QStringLiteral("1/2"), 1, 10},
        {11, 11, true, QStringLiteral("2/2"), 11, 1},  {25, 5, true, QStringLiteral("3/3"), 21, 5},
        {25, 40, true, QStringLiteral("3/3"), 21, 5},  {25, 11, true, QStringLiteral("2/3"), 11, 10},
        {1, 1, false, QStringLiteral("1/1"), 1, 1},    {20, 20, true, QStringLiteral("2/2"), 11, 10},
    };
    for (const auto& k : cases) {
        QString current, pages, label;
        int16_t first = k.askedFirst;
        const bool more = DrawSortList(c, Rows(k.upper), current, pages, label, first);
        EXPECT_EQ(more, k.result) << k.upper << " from " << k.askedFirst;
        EXPECT_EQ(label, k.label) << k.upper << " from " << k.askedFirst;
        EXPECT_EQ(first, k.first) << k.upper << " from " << k.askedFirst;
        EXPECT_EQ(label, current + QLatin1Char('/') + pages);
        const auto places = Places(c.match.SortPrint);
        ASSERT_EQ(static_cast<int>(places.size()), k.rows) << k.upper << " from " << k.askedFirst;
        EXPECT_EQ(places.front().first, QString::number(k.first));
    }
}

TEST_F(SortBoard, HeaderColumnsAndPlaceColours)
{
    QString current, pages, label;
    int16_t first = 1;
    DrawSortList(c, Rows(11), current, pages, label, first);
    const std::vector<PrintedText>& lines = c.match.SortPrint.Lines;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, QStringLiteral("名次"));
    EXPECT_EQ(lines[1].text, QStringLiteral("昵称"));
    EXPECT_EQ(lines[2].text, QStringLiteral("积分"));
    EXPECT_EQ(lines[0].x, 25.0f);
    EXPECT_EQ(lines[1].x, 80.0f);
    EXPECT_EQ(lines[2].x, 240.0f);
    EXPECT_EQ(lines[0].color, 0xFFFE00u);
    EXPECT_EQ(lines[4].text, QStringLiteral("玩家1"));
    EXPECT_EQ(lines[5].text, QStringLiteral("999"));
    const auto places = Places(c.match.SortPrint);
    EXPECT_EQ(places[0].second, 0x00E5FFu);
    EXPECT_EQ(places[1].second, 0x00FF03u);
    EXPECT_EQ(places[2].second, 0xFFFE00u);
    EXPECT_EQ(places[3].second, 0xFFFFFFu);
    // Rows lie a row height apart under the header.
    EXPECT_FLOAT_EQ(lines[6].y - lines[3].y, 28.0f);

    // Place 11 on the second page is white.
    first = 11;
    DrawSortList(c, Rows(11), current, pages, label, first);
    EXPECT_EQ(Places(c.match.SortPrint), (std::vector<std::pair<QString, uint32_t>>{{QStringLiteral("11"), 0xFFFFFFu}}));
    EXPECT_EQ(c.match.SortPrint.Surface(), c.MainForm->Pic_sortDetail);
}

TEST_F(SortBoard, AnEmptyRankingClearsTheBoardAndTouchesNothingElse)
{
    QString current = QStringLiteral("c"), pages = QStringLiteral("p"), label = QStringLiteral("l");
    int16_t first = 1;
    DrawSortList(c, Rows(3), current, pages, label, first);
    ASSERT_FALSE(c.match.SortPrint.Lines.empty());
    current = QStringLiteral("c");
    first = 7;
    for (const std::vector<SortEntry>& rows : {Rows(0), std::vector<SortEntry>{}}) {
        EXPECT_FALSE(DrawSortList(c, rows, current, pages, label, first));
        EXPECT_TRUE(c.match.SortPrint.Lines.empty());
        EXPECT_EQ(current, QStringLiteral("c"));
        EXPECT_EQ(first, 7);
    }
}
