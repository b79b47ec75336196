// Time texts read back as moments: the occurrence nearest to the server
// clock, so that sessions keep their order across midnight and New Year.
#include "match/time_texts.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace match;

namespace {

int64_t At(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone::utc()).toSecsSinceEpoch();
}

} // namespace

TEST(TimeTextMoment, TakesTheOccurrenceNearestTheServerClock)
{
    const struct {
        const char* text;
        int64_t clock;
        int64_t moment;
    } cases[] = {
        // A time of day just after midnight, read a minute before it.
        {"00:00:30", At(2026, 3, 4, 23, 59, 0), At(2026, 3, 5, 0, 0, 30)},
        // A time of day just before midnight, read just after it.
        {"23:59:30", At(2026, 3, 5, 0, 0, 10), At(2026, 3, 4, 23, 59, 30)},
        {"12:00:00", At(2026, 3, 5, 11, 0, 0), At(2026, 3, 5, 12, 0, 0)},
        // A date without its year across New Year, both ways.
        {"01-01 00:00:30", At(2026, 12, 31, 23, 59, 0), At(2027, 1, 1, 0, 0, 30)},
        {"12-31 23:59:30", At(2027, 1, 1, 0, 0, 10), At(2026, 12, 31, 23, 59, 30)},
        // The 29th of February only in a leap year.
        {"02-29 08:00:00", At(2027, 1, 10, 0, 0, 0), At(2028, 2, 29, 8, 0, 0)},
        // No server clock yet: the text is read within one day or year.
        {"23:59:30", 0, At(1970, 1, 1, 23, 59, 30)},
        {"12-31 23:59:30", 0, At(1970, 12, 31, 23, 59, 30)},
    };
    for (const auto& c : cases) {
        const std::optional<int64_t> m = TimeTextMoment(QString::fromLatin1(c.text), c.clock);
        ASSERT_TRUE(m) << c.text;
        EXPECT_EQ(*m, c.moment) << c.text << " at " << c.clock;
    }
}

TEST(TimeTextMoment, LaterHoldsAcrossMidnightAndNewYear)
{
    const int64_t beforeMidnight = At(2026, 12, 31, 23, 58, 0);
    EXPECT_TRUE(TimeTextLater(QStringLiteral("00:01:00"), QStringLiteral("23:59:00"), beforeMidnight));
    EXPECT_FALSE(TimeTextLater(QStringLiteral("23:59:00"), QStringLiteral("00:01:00"), beforeMidnight));
    EXPECT_TRUE(TimeTextLater(QStringLiteral("01-01 00:01:00"), QStringLiteral("12-31 23:59:00"), beforeMidnight));
    // Texts of one day order as the plain reading does.
    EXPECT_TRUE(TimeTextLater(QStringLiteral("10:00:01"), QStringLiteral("10:00:00"), 0));
    EXPECT_FALSE(TimeTextLater(QStringLiteral("10:00:00"), QStringLiteral("10:00:00"), beforeMidnight));
}

TEST(TimeTextMoment, NoTimeTextGivesNothing)
{
    for (const char* text : {"", "25:00:00", "1:00:00", "13-01 10:00:00", "02-30 10:00:00", "10:00", "x"})
        EXPECT_FALSE(TimeTextMoment(QString::fromLatin1(text), At(2026, 1, 1, 0, 0, 0))) << text;
    EXPECT_FALSE(TimeTextLater(QStringLiteral("10:00:00"), QString(), 0));
}
