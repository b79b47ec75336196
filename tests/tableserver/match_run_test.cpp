// The table server's small match: its sessions, the frames it sends and
// the match commands it answers.
#include "helpers.h"
#include "match_run.h"

#include <gtest/gtest.h>

using namespace tableserver;
namespace mp = tableserver::match_proto;

namespace {

constexpr int64_t kEpoch = 1'800'000'000;

uint32_t Le(const protocol::GameFrame& f, int at, int bytes = 4)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | f[static_cast<std::size_t>(at + i)];
    return v;
}

protocol::GameFrame Command(int kind, int32_t id = 0)
{
    protocol::GameFrame f{};
    f[protocol::frame_byte::Kind] = static_cast<uint8_t>(kind);
    for (int i = 0; i < 4; ++i)
        f[static_cast<std::size_t>(16 + i)] = static_cast<uint8_t>(static_cast<uint32_t>(id) >> (8 * i));
    return f;
}

std::vector<int> Kinds(const std::vector<MatchRun::Out>& out, int seat = -1)
{
    std::vector<int> kinds;
    for (const MatchRun::Out& o : out)
        if (seat < 0 || o.seat == seat)
            kinds.push_back(o.frame[3]);
    return kinds;
}

struct MatchRunTest : ::testing::Test {
    MatchConfig config = [] {
        MatchConfig c;
        c.on = true;
        c.epochAtZero = kEpoch;
        return c;
    }();
    MatchRun run{config};
    std::array<std::string, 4> names{"me", "r1", "r2", "r3"};
    std::array<MatchRun::Seat, 4> seats{{{"me", false}, {"r1", true}, {"r2", true}, {"r3", true}}};
};

} // namespace

TEST_F(MatchRunTest, AWelcomeListsTheSessionAMinuteAheadAndTheClock)
{
    run.Welcome(0, 5000);
    const std::vector<MatchRun::Out> out = run.TakeOutgoing();
    ASSERT_EQ(Kinds(out), (std::vector<int>{82, 74, 81}));
    EXPECT_EQ(out[0].frame[16], 1);
    EXPECT_EQ(Le(out[0].frame, 17), 101u);
    EXPECT_EQ(Le(out[0].frame, 21), static_cast<uint32_t>(kEpoch + 5 + 60));
    EXPECT_EQ(out[1].frame[16], 0); // not signed up yet
    EXPECT_EQ(Le(out[2].frame, 16), static_cast<uint32_t>(kEpoch + 5));
    EXPECT_EQ(run.NextDeadline(), 8000); // the states and clock again, once

    run.Advance(seats, 8000);
    EXPECT_EQ(Kinds(run.TakeOutgoing()), (std::vector<int>{74, 81}));
    EXPECT_EQ(run.NextDeadline(), 65000); // the start
}

TEST(MatchRunLead, TheAutomaticSignUpLeadIsSentOnlyWhenAsked)
{
    MatchConfig config;
    config.on = true;
    MatchRun quiet{config};
    quiet.Welcome(0, 0);
    EXPECT_EQ(Kinds(quiet.TakeOutgoing()), (std::vector<int>{82, 74, 81}));
    config.autoSignLead = 30;
    MatchRun eager{config};
    eager.Welcome(0, 0);
    const std::vector<MatchRun::Out> out = eager.TakeOutgoing();
    ASSERT_EQ(Kinds(out), (std::vector<int>{82, 74, 81, 90}));
    EXPECT_EQ(Le(out[3].frame, 16), 30u);
}

TEST_F(MatchRunTest, SignUpIsAnsweredAndCountedOnce)
{
    run.Welcome(0, 0);
    run.Welcome(2, 0);
    run.TakeOutgoing();
    ASSERT_TRUE(run.Command(0, Command(72, 101), names, 1000));
    std::vector<MatchRun::Out> out = run.TakeOutgoing();
    ASSERT_EQ(Kinds(out), (std::vector<int>{72, 87, 87}));
    EXPECT_EQ(out[0].frame[24], 1);
    EXPECT_EQ(Le(out[0].frame, 25, 2), 1u);
    EXPECT_EQ(Le(out[0].frame, 20), static_cast<uint32_t>(run.StartTime()));
    EXPECT_EQ(out[2].seat, 2);

    run.Command(0, Command(72, 101), names, 2000);
    out = run.TakeOutgoing();
    EXPECT_EQ(Le(out[0].frame, 25, 2), 1u);
    EXPECT_EQ(run.Entrants().size(), 1u);

    run.Command(0, Command(72, 55), names, 2000);
    out = run.TakeOutgoing();
    ASSERT_EQ(Kinds(out), std::vector<int>{72});
    EXPECT_EQ(out[0].frame[24], 0);
}

TEST_F(MatchRunTest, TimeRequestsAreAnsweredAndOtherKindsLeftToTheTable)
{
    EXPECT_TRUE(run.Command(0, Command(81), names, 42'500));
    const std::vector<MatchRun::Out> out = run.TakeOutgoing();
    ASSERT_EQ(Kinds(out), std::vector<int>{81});
    EXPECT_EQ(Le(out[0].frame, 16), static_cast<uint32_t>(kEpoch + 42));
    EXPECT_FALSE(run.Command(0, Command(19), names, 0));

    MatchRun off{MatchConfig{}};
    EXPECT_FALSE(off.Command(0, Command(72, 101), names, 0));
    off.Welcome(0, 0);
    EXPECT_TRUE(off.TakeOutgoing().empty());
    EXPECT_FALSE(off.NextDeadline());
}

TEST_F(MatchRunTest, ASessionStartsRanksEndsAndAnnouncesTheNext)
{
    run.Welcome(0, 0);
    run.Command(0, Command(72, 101), names, 1000);
    run.Advance(seats, 3000);
    run.TakeOutgoing();
    const int32_t start = run.StartTime();

    run.Advance(seats, 60'000);
    std::vector<MatchRun::Out> out = run.TakeOutgoing();
    ASSERT_EQ(Kinds(out), (std::vector<int>{75, 77}));
    EXPECT_EQ(out[0].frame[24], 1);
    EXPECT_EQ(run.CurrentStage(), MatchRun::Stage::Running);
    EXPECT_EQ(run.Entrants().size(), 4u); // the robots joined

    // A sign-up while it runs is refused.
    run.Command(0, Command(72, 101), names, 61'000);
    out = run.TakeOutgoing();
    EXPECT_EQ(out[0].frame[24], 0);

    run.HandEnded(names, {-40, 100, -30, -30}, 70'000);
    out = run.TakeOutgoing();
    ASSERT_EQ(Kinds(out), std::vector<int>{77});
    EXPECT_EQ(Le(out[0].frame, 24), 4u); // me: 960, behind r1 (1100), r2 and r3 (970)
    EXPECT_EQ(Le(out[0].frame, 28), 960u);

    run.Command(0, Command(79, 101), names, 71'000);
    out = run.TakeOutgoing();
    ASSERT_EQ(Kinds(out), (std::vector<int>{79, 77}));
    EXPECT_EQ(Le(out[0].frame, 24, 2), 1u);
    EXPECT_EQ(Le(out[0].frame, 26, 2), 4u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&out[0].frame[28])), "r1");
    EXPECT_EQ(Le(out[0].frame, 60), 1100u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&out[0].frame[28 + 36 * 3])), "me");

    run.HandEnded(names, {200, 0, 0, -200}, 80'000);
    out = run.TakeOutgoing();
    // The result comes while the session is still the client's current one.
    ASSERT_EQ(Kinds(out), (std::vector<int>{78, 75, 83, 89}));
    EXPECT_EQ(Le(out[0].frame, 24), 1u); // me: 1160
    EXPECT_EQ(out[1].frame[24], 2);
    EXPECT_EQ(Le(out[1].frame, 20), static_cast<uint32_t>(start));
    EXPECT_EQ(Le(out[2].frame, 20), static_cast<uint32_t>(kEpoch + 80 + 60));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&out[3].frame[24])), "me");
    EXPECT_EQ(run.CurrentStage(), MatchRun::Stage::SignUp);
    EXPECT_TRUE(run.Entrants().empty());
    EXPECT_EQ(run.Sessions(), 1);
}

TEST(MatchRunTable, ALoginGetsTheMatchAndTheTableForwardsItsCommands)
{
    TableConfig config;
    config.match.on = true;
    config.match.epochAtZero = kEpoch;
    Table table(config);
    const Table::LoginResult r = table.Login("me", 0);
    ASSERT_EQ(r.seat, 0);
    std::vector<int> kinds;
    const std::vector<Outgoing> welcome = table.TakeOutgoing();
    for (const Outgoing& o : welcome)
        kinds.push_back(o.frame[3]);
    EXPECT_EQ(kinds, (std::vector<int>{18, 82, 74, 81}));

    // A time request, with the echo token of the login reply as the client sends it.
    protocol::GameFrame request = Command(81);
    request[260] = welcome[0].frame[260];
    request[261] = welcome[0].frame[261];
    table.ClientFrame(0, request, 7000);
    const std::vector<Outgoing> answer = table.TakeOutgoing();
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(answer[0].frame[3], 81);
    EXPECT_EQ(Le(answer[0].frame, 16), static_cast<uint32_t>(kEpoch + 7));
    EXPECT_TRUE(table.TakeNotes().empty()); // not refused
}
