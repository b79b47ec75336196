#include "platform/wait.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

using platform::Deadline;
using platform::WaitUntil;
using testing_support::FakeClock;

struct WaitCase {
    const char* name;
    uint32_t startMs;
    double startSeconds;
    bool ofDay;
    uint32_t spanMs;
    double spanSeconds;
    uint32_t expectedElapsedMs;
};

void PrintTo(const WaitCase& c, std::ostream* os) { *os << c.name; }

class DeadlineReached : public testing::TestWithParam<WaitCase> {};

TEST_P(DeadlineReached, WaitsOutTheSpanAndNoLonger)
{
    const WaitCase& w = GetParam();
    FakeClock clock;
    clock.ms = w.startMs;
    clock.seconds = w.startSeconds;
    const Deadline d = w.ofDay ? Deadline::InSecondsOfDay(clock, w.spanSeconds) : Deadline::InMs(clock, w.spanMs);
    EXPECT_FALSE(WaitUntil(clock, d));
    EXPECT_TRUE(d.Passed());
    EXPECT_EQ(clock.ms - w.startMs, w.expectedElapsedMs);
}

INSTANTIATE_TEST_SUITE_P(
    Wait, DeadlineReached,
    testing::Values(WaitCase{"ms_span", 1000, 0, false, 300, 0, 300},
                    WaitCase{"zero_span_runs_nothing", 5, 0, false, 0, 0, 0},
                    WaitCase{"across_the_ms_wrap", 0xFFFFFF00u, 0, false, 1000, 0, 1000},
                    // The time of day waits until more than the span has passed.
                    WaitCase{"seconds_of_day", 0, 100.0, true, 0, 0.5, 501},
                    WaitCase{"across_midnight", 0, 86399.75, true, 0, 0.5, 501}));

TEST(Wait, ATruePredicateEndsTheWaitEarly)
{
    FakeClock clock;
    int rounds = 0;
    clock.onEvents = [&] { ++rounds; };
    const bool done = WaitUntil(clock, Deadline::InMs(clock, 5000), [&] { return rounds == 3; }, 50);
    EXPECT_TRUE(done);
    EXPECT_EQ(clock.ms, 150u);
}

TEST(Wait, APredicateAlreadyTrueLetsNoEventRun)
{
    FakeClock clock;
    EXPECT_TRUE(WaitUntil(clock, Deadline::InMs(clock, 5000), [] { return true; }));
    EXPECT_EQ(clock.eventRounds, 0);
}

TEST(Wait, SlicesNeverOvershootTheDeadline)
{
    FakeClock clock;
    clock.ms = 0xFFFFFFF0u;
    EXPECT_FALSE(WaitUntil(clock, Deadline::InMs(clock, 120), [] { return false; }, 50));
    EXPECT_EQ(clock.ms - 0xFFFFFFF0u, 120u);
    EXPECT_EQ(clock.eventRounds, 3);
}
