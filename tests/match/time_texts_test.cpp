// Time and duration texts of the match frames.
#include "match/time_texts.h"

#include <gtest/gtest.h>

using namespace match;

TEST(TimeTexts, Durations)
{
    const std::pair<int32_t, QString> cases[] = {
        {59, QStringLiteral("59秒")},           {60, QStringLiteral("1分")},
        {61, QStringLiteral("1分1秒")},         {3600, QStringLiteral("1小时")},
        {3661, QStringLiteral("1小时1分1秒")},  {7260, QStringLiteral("2小时1分")},
        {86400, QStringLiteral("1天0秒")},      {90061, QStringLiteral("1天1小时1分1秒")},
        {172860, QStringLiteral("2天1分")},     {0, QStringLiteral("0秒")},
        {-5, QStringLiteral("0秒")},            {-90000, QStringLiteral("0秒")},
    };
    for (const auto& [n, text] : cases)
        EXPECT_EQ(TimeNumToStr(n, 0, 1), text) << n;
}

TEST(TimeTexts, MomentsAcrossMidnight)
{
    // 1970-01-01 23:59:59, then midnight, then 2024-02-29 00:00:01 (UTC).
    const struct {
        int32_t n;
        QString ordinary; // room match mode 1
        QString match;    // any other room
    } cases[] = {
        {86399, QStringLiteral("23:59:59"), QStringLiteral("01-01 23:59:59")},
        {86400, QStringLiteral("00:00:00"), QStringLiteral("01-02 00:00:00")},
        {1709164801, QStringLiteral("00:00:01"), QStringLiteral("02-29 00:00:01")},
        {0, QStringLiteral("00:00:00"), QStringLiteral("01-01 00:00:00")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeNumToStr(c.n, 1, 1), c.ordinary) << c.n;
        EXPECT_EQ(TimeNumToStr(c.n, 1, 2), c.match) << c.n;
        EXPECT_EQ(TimeNumToStr(c.n, -1, 0), c.match) << c.n;
    }
}

TEST(TimeTexts, ClockDurations)
{
    const std::pair<int32_t, QString> cases[] = {
        {3725, QStringLiteral("01:02:05")}, {40 * 3600, QStringLiteral("40:00:00")},
        {59, QStringLiteral("00:00:59")},   {360000, QStringLiteral("100:00:00")},
        {0, QStringLiteral("00:00:00")},    {-1, QStringLiteral("00:00:00")},
    };
    for (const auto& [n, text] : cases)
        EXPECT_EQ(StrDuration(n), text) << n;
}
