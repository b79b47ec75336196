#include "table/utilities.h"

#include "support/test_client.h"

#include <gtest/gtest.h>

using namespace table;
using testing_support::TestClient;

struct WrapCase {
    const char* name;
    QString text;
    int16_t width;
    QStringList lines;
};

void PrintTo(const WrapCase& c, std::ostream* os) { *os << c.name; }

class WrapTest : public ::testing::TestWithParam<WrapCase> {};

// Anything with AddItem serves as the list box.
struct Lines {
    QStringList items;
    void AddItem(const QString& s) { items << s; }
};

TEST_P(WrapTest, Lines)
{
    Lines list;
    WrapToList(list, GetParam().text, GetParam().width);
    EXPECT_EQ(list.items, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Utilities, WrapTest,
    ::testing::Values(
        WrapCase{"latin", QStringLiteral("abc"), 2, {QStringLiteral(" ab"), QStringLiteral(" c")}},
        WrapCase{"empty", QString(), 5, {}},
        WrapCase{"starts_with_nul", QString(QChar(0)) + QStringLiteral("abc"), 5, {}},
        WrapCase{"cut_at_nul", QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"), 5, {QStringLiteral(" ab")}},
        // Double-byte characters count two columns: width 5 gives 3 per line.
        WrapCase{"double_byte", QStringLiteral("一二三四五六七"), 5,
                 {QStringLiteral(" 一二三"), QStringLiteral(" 四五六"), QStringLiteral(" 七")}},
        WrapCase{"mixed", QStringLiteral("a中b"), 2, {QStringLiteral(" a中"), QStringLiteral(" b")}},
        WrapCase{"exact", QStringLiteral("abcd"), 4, {QStringLiteral(" abcd")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utilities, IsSingleByteChar)
{
    EXPECT_TRUE(IsSingleByteChar(QStringLiteral("A中")));
    EXPECT_FALSE(IsSingleByteChar(QStringLiteral("中A")));
}

TEST(Utilities, PadRight)
{
    EXPECT_EQ(PadRight(QStringLiteral("7"), 3), QStringLiteral("  7"));
    EXPECT_EQ(PadRight(QStringLiteral("1234"), 3), QStringLiteral("1234"));
    EXPECT_EQ(PadRight(QStringLiteral("-50"), 9), QStringLiteral("      -50"));
}

TEST(Utilities, MinSeatWealth)
{
    EXPECT_EQ(MinSeatWealth({0, 500, 200, 0}), 200);
    EXPECT_EQ(MinSeatWealth({0, 0, 0, 0}), 0);
    EXPECT_EQ(MinSeatWealth({-5, 7, 0, 9}), 7);
}

TEST(Utilities, WaitSecondsLetsEventsRunUntilTimeHasPassed)
{
    TestClient t;
    t.clock.seconds = 100.0;
    int events = 0;
    t.clock.onEvents = [&] { ++events; };
    WaitSeconds(t.client.plat.clock, 1.5f);
    EXPECT_GT(t.clock.seconds, 101.5 - 1e-9);
    EXPECT_GT(events, 0);
}

TEST(Utilities, WaitSecondsAcrossMidnightEnds)
{
    TestClient t;
    t.clock.seconds = 86399.5;
    WaitSeconds(t.client.plat.clock, 2.0f);
    EXPECT_GT(t.clock.seconds, 1.5 - 1e-9);
    EXPECT_LT(t.clock.seconds, 3.0);
}

TEST(Utilities, WaitZeroReturnsOnceTheClockMoved)
{
    TestClient t;
    WaitSeconds(t.client.plat.clock, 0.0f);
    EXPECT_EQ(t.clock.eventRounds, 1);
}

TEST(Utilities, WaitMsAcrossTheClockWrap)
{
    TestClient t;
    t.clock.ms = 0xFFFFFF00u;
    WaitMs(t.client.plat.clock, 300);
    EXPECT_EQ(t.clock.ms, 0xFFFFFF00u + 300u);
    EXPECT_GT(t.clock.eventRounds, 0);

    const uint32_t before = t.clock.ms;
    WaitMs(t.client.plat.clock, 0);
    EXPECT_EQ(t.clock.ms, before);
}
