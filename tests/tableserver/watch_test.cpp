// Spectators of the table: what a watching client is sent.
#include "helpers.h"
#include "table.h"

#include <gtest/gtest.h>

using namespace tableserver;
using ts_test::DataLow;
using ts_test::Kind;
using ts_test::SeatOf;

namespace {

TableConfig Slow()
{
    TableConfig c;
    c.seed = 3;
    c.robotWaitMs = 0;
    c.robotDelayMs = 1000; // one robot step at a time
    return c;
}

std::vector<protocol::GameFrame> FramesFor(const std::vector<Outgoing>& out, int number)
{
    std::vector<protocol::GameFrame> f;
    for (const auto& o : out)
        if (o.seat == number)
            f.push_back(o.frame);
    return f;
}

int Count(const std::vector<protocol::GameFrame>& frames, int kind)
{
    return static_cast<int>(std::count_if(frames.begin(), frames.end(), [&](const auto& f) { return Kind(f) == kind; }));
}

} // namespace

TEST(Watching, AWatcherFromBeforeTheStartSeesEveryTableFrameButNoHiddenTile)
{
    Table table(Slow());
    table.Login("alice", 0);
    const int watcher = table.Watch(0);
    EXPECT_EQ(watcher, Table::kFirstWatcher);
    table.Advance(0); // the game starts with three robots
    std::vector<Outgoing> out = table.TakeOutgoing();
    // The robots play a few turns.
    for (int64_t now = 1000; now <= 5000; now += 1000) {
        table.Advance(now);
        auto more = table.TakeOutgoing();
        out.insert(out.end(), more.begin(), more.end());
    }
    const std::vector<protocol::GameFrame> seen = FramesFor(out, watcher);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(Kind(seen[0]), protocol::MsgLoginReply);
    EXPECT_EQ(DataLow(seen[0], 3), protocol::LoginAccepted);
    // The four records under their seat bits: none is the watcher's own.
    std::vector<int> bits;
    for (const auto& f : seen)
        if (Kind(f) == protocol::MsgUserInfo)
            bits.push_back(f[protocol::frame_byte::Seat]);
    EXPECT_EQ(bits, (std::vector<int>{1, 2, 4, 8}));
    EXPECT_EQ(Count(seen, protocol::MsgSeatName), 0);
    EXPECT_EQ(Count(seen, protocol::MsgTurnPrompt), 0);
    EXPECT_EQ(Count(seen, protocol::MsgHandStart), 1);
    EXPECT_EQ(Count(seen, protocol::MsgWildTile), 1);
    for (const auto& f : seen) {
        if (Kind(f) == protocol::MsgDeal) {
            EXPECT_EQ(DataLow(f, 1), 12);
            for (int i = 16; i < 40; ++i)
                EXPECT_EQ(f[static_cast<std::size_t>(i)], 0) << i;
        }
        if (Kind(f) == protocol::MsgDraw) {
            EXPECT_EQ(DataLow(f, 3), 0);
        }
        if (Kind(f) == protocol::MsgTableStatus) {
            EXPECT_EQ(f[268] | f[269] | f[270] | f[271], 0); // no reconnect id
        }
    }
    // Discards and every seat's draws come as they come to the players.
    const std::vector<protocol::GameFrame> alice = FramesFor(out, 0);
    EXPECT_EQ(Count(seen, protocol::MsgDiscard), Count(alice, protocol::MsgDiscard));
    EXPECT_EQ(Count(seen, protocol::MsgDraw), Count(alice, protocol::MsgDraw));
    EXPECT_EQ(Count(seen, protocol::MsgOperation), Count(alice, protocol::MsgOperation));
    // Every frame carries a fresh token of the watcher's own.
    for (std::size_t k = 1; k < seen.size(); ++k)
        EXPECT_NE(proto::TokenOf(seen[k]), proto::TokenOf(seen[k - 1])) << k;
}

TEST(Watching, AWatcherJoiningARunningHandIsSentTheTableAsItStands)
{
    TableConfig c = Slow();
    c.robotDelayMs = 0;
    c.countdownSeconds = 0;
    c.graceMs = 100; // the server soon plays for the silent player
    Table table(c);
    table.Login("alice", 0);
    for (int64_t now = 0; now < 3000 && table.CurrentPhase() != Phase::BetweenHands; now += 100) {
        table.Advance(now);
        if (table.HandsPlayed() == 0 && table.CurrentWall().Remaining() < 60)
            break;
    }
    ASSERT_EQ(table.CurrentPhase(), Phase::Playing);
    table.TakeOutgoing();

    const int watcher = table.Watch(0);
    const std::vector<protocol::GameFrame> seen = FramesFor(table.TakeOutgoing(), watcher);
    ASSERT_EQ(seen.size(), 1u + 1 + 4 + 4);
    EXPECT_EQ(Kind(seen[1]), protocol::MsgRoundSnapshot);
    EXPECT_EQ(SeatOf(seen[1]), 1 << table.Banker());
    EXPECT_EQ(DataLow(seen[1], 2), table.Wild());
    EXPECT_EQ(DataLow(seen[1], 3), table.Indicator());
    for (int k = 2; k < 6; ++k)
        EXPECT_EQ(Kind(seen[static_cast<std::size_t>(k)]), protocol::MsgUserInfo);

    // Every tile out of the wall is in a hand, laid or in a discard row,
    // the indicator besides.
    const int out = 136 - table.CurrentWall().Remaining();
    int onTable = 1;
    for (int seat = 0; seat < 4; ++seat) {
        const protocol::GameFrame& f = seen[static_cast<std::size_t>(6 + seat)];
        ASSERT_EQ(Kind(f), protocol::MsgSeatSnapshot);
        EXPECT_EQ(SeatOf(f), 1 << seat);
        EXPECT_EQ(DataLow(f, 1), out);
        EXPECT_LE(DataLow(f, 3), 135);
        int hand = 0, laid = 0;
        for (int e = 0; e < 24; ++e) {
            const int cls = f[static_cast<std::size_t>(16 + 2 * e)];
            hand += cls == 0x10;
            laid += cls == 0x20;
        }
        EXPECT_EQ(hand, static_cast<int>(table.Hand(seat).concealed.size())) << seat;
        onTable += hand + laid + f[protocol::frame_byte::B3];
    }
    EXPECT_EQ(onTable, out);
}

TEST(Watching, WithOnlyAWatcherFourRobotsPlayAndAGoneWatcherStopsTheTable)
{
    Table table(Slow());
    const int watcher = table.Watch(0);
    table.Advance(0);
    ASSERT_EQ(table.CurrentPhase(), Phase::Playing);
    for (int seat = 0; seat < 4; ++seat)
        EXPECT_EQ(table.SeatControl(seat), Control::Robot) << seat;
    for (int64_t now = 1000; now <= 10000; now += 1000)
        table.Advance(now);
    const int discards = Count(FramesFor(table.TakeOutgoing(), watcher), protocol::MsgDiscard);
    EXPECT_GE(discards, 1);
    // Nobody there: the table holds still.
    table.WatcherGone(watcher);
    EXPECT_FALSE(table.NextDeadline().has_value());
    const std::size_t left = table.CurrentWall().Remaining();
    table.Advance(60000);
    EXPECT_EQ(static_cast<std::size_t>(table.CurrentWall().Remaining()), left);
}

TEST(Watching, AWatcherGoneBeforeTheStartLeavesNothingToWaitFor)
{
    Table table(Slow());
    const int watcher = table.Watch(0);
    EXPECT_TRUE(table.NextDeadline().has_value());
    table.WatcherGone(watcher);
    EXPECT_FALSE(table.NextDeadline().has_value());
    table.Advance(10000);
    EXPECT_EQ(table.CurrentPhase(), Phase::Waiting);
}

TEST(Watching, AWatcherThatIsGoneIsSentNothing)
{
    Table table(Slow());
    table.Login("alice", 0);
    const int watcher = table.Watch(0);
    table.TakeOutgoing();
    table.WatcherGone(watcher);
    table.Advance(0);
    EXPECT_TRUE(FramesFor(table.TakeOutgoing(), watcher).empty());
}
