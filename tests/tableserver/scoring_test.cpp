#include "helpers.h"
#include "scoring.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace tableserver;
using ts_test::SeatPlayer;

struct OutcomeCase {
    const char* name;
    int winner;
    int discarder;
    bool hard;
    bool kongDraw;
    int winnerRedKongs;
    std::array<int64_t, 4> amounts;
    std::array<int, 4> fans;
};

void PrintTo(const OutcomeCase& c, std::ostream* os) { *os << c.name; }

class SettleTest : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(SettleTest, AmountsAddUp)
{
    const OutcomeCase& c = GetParam();
    HandOutcome h;
    h.winner = c.winner;
    h.discarder = c.discarder;
    h.hardWin = c.hard;
    h.kongDraw = c.kongDraw;
    h.banker = 0;
    h.stake = 10;
    if (c.winner >= 0)
        h.seats[static_cast<std::size_t>(c.winner)].redKongs = c.winnerRedKongs;
    const Settlement s = Settle(h);
    EXPECT_EQ(s.amounts, c.amounts);
    EXPECT_EQ(s.fans, c.fans);
    EXPECT_EQ(std::accumulate(s.amounts.begin(), s.amounts.end(), int64_t{0}), 0);
    for (int i = 0; i < 4; ++i) {
        const auto seat = static_cast<std::size_t>(i);
        EXPECT_EQ(s.subtotals[seat], static_cast<uint64_t>(std::llabs(s.amounts[seat])));
        EXPECT_EQ(s.rows[seat][row::AmountSign], s.amounts[seat] < 0 ? 0 : 1);
        EXPECT_EQ(s.rows[seat][row::Stake], 10);
        EXPECT_EQ(s.rows[seat][row::Currency], 1);
        EXPECT_EQ(s.rows[seat][row::Banker], i == 0 ? 1 : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SettleTest,
    ::testing::Values(
        // fan 1 + self-draw 1: each of the three others pays 20
        OutcomeCase{"SelfDraw", 2, -1, false, false, 0, {-20, -20, 60, -20}, {-2, -2, 2, -2}},
        // fan 1 + hard 1: the discarder alone pays 20
        OutcomeCase{"HardWinOnDiscard", 1, 3, true, false, 0, {0, 20, 0, -20}, {0, 2, 0, -2}},
        // fan 1 + self-draw 1 + two red-dragon kongs: 40 from each
        OutcomeCase{"KongsRaiseTheFan", 0, -1, false, true, 2, {120, -40, -40, -40}, {4, -4, -4, -4}},
        OutcomeCase{"DrawnHand", -1, -1, false, false, 0, {0, 0, 0, 0}, {0, 0, 0, 0}}));

TEST(Settle, RowsDescribeTheWin)
{
    HandOutcome h;
    h.winner = 1;
    h.discarder = 2;
    h.hardWin = true;
    h.banker = 3;
    h.seats[1] = {1, 2, 1, 1, 1, 2};
    const Settlement s = Settle(h);
    const auto& w = s.rows[1];
    EXPECT_EQ(w[row::WinType], kWinPlain);
    EXPECT_EQ(w[row::DragonKongs], 0x21);
    EXPECT_EQ(w[row::WildKongs], 1);
    EXPECT_EQ(w[row::ExposedKongs], 1);
    EXPECT_EQ(w[row::ConcealedKongs], 1);
    EXPECT_EQ(w[row::HardWin], 1);
    EXPECT_EQ(w[row::OpenMelds], 2);
    EXPECT_EQ(w[row::SelfDraw], 0);
    EXPECT_EQ(s.rows[2][row::Discarder], 1);
    EXPECT_EQ(s.rows[3][row::Banker], 1);
    EXPECT_EQ(s.rows[0][row::WinType], 0);

    h.discarder = -1;
    h.kongDraw = true;
    EXPECT_EQ(Settle(h).rows[1][row::WinType], kWinOnKong);
    EXPECT_EQ(Settle(h).rows[1][row::SelfDraw], 1);
}

TEST(SettlementFrames, NegativeAmountsTravelAsMagnitudeAndSign)
{
    std::array<int16_t, 16> rows{};
    rows[row::AmountSign] = 0;
    const auto k3 = proto::SettlementFrame(2, 3, rows, -256, 256, proto::text::Novice);
    EXPECT_EQ(ts_test::SettlementAmount(k3), -256);
    EXPECT_EQ(k3[16], 0x00);
    EXPECT_EQ(k3[17], 0x01);
    EXPECT_EQ(k3[13], 0); // low byte of row 14: a loss
    EXPECT_EQ(ts_test::Subtotal(k3), 256u);
    const auto r = proto::SeatResult(2, -256, -3, proto::text::OnDiscard);
    EXPECT_EQ(ts_test::ResultAmount(r), -256);
    EXPECT_EQ(ts_test::DataLow(r, 3), 253); // -3 as the client reads it: above 128 means value - 256
}

namespace {

// Plays whole hands at a table with one scripted player and three robots and
// returns every frame the player was sent.
std::vector<protocol::GameFrame> PlayHands(uint64_t seed, int hands, int claimOps)
{
    TableConfig c;
    c.seed = seed;
    c.hands = hands;
    c.robotWaitMs = 0;
    c.robotDelayMs = 0;
    Table table(c);
    SeatPlayer p;
    p.claimOps = claimOps;
    EXPECT_EQ(table.Login("alice", 0).seat, 0);
    ts_test::Pump(table, {&p}, 0);
    EXPECT_TRUE(table.Finished()) << "seed " << seed;
    return p.received;
}

} // namespace

class WholeHandsTest : public ::testing::TestWithParam<uint64_t> {};

TEST_P(WholeHandsTest, ResultAndSettlementFramesAddUp)
{
    const auto frames = PlayHands(GetParam(), 3, protocol::OpWin | protocol::OpPong);
    std::vector<protocol::GameFrame> results, settlements;
    for (const auto& f : frames) {
        if (ts_test::Kind(f) == protocol::MsgSeatResult)
            results.push_back(f);
        if (ts_test::Kind(f) == protocol::MsgSettlement)
            settlements.push_back(f);
    }
    ASSERT_EQ(results.size(), 12u);
    ASSERT_EQ(settlements.size(), 48u);
    for (int hand = 0; hand < 3; ++hand) {
        int64_t sum = 0;
        for (int seat = 0; seat < 4; ++seat) {
            const auto& r = results[static_cast<std::size_t>(hand * 4 + seat)];
            const auto& last = settlements[static_cast<std::size_t>(hand * 16 + seat * 4 + 3)];
            EXPECT_EQ(ts_test::SeatOf(r), 1 << seat);
            EXPECT_EQ(ts_test::SeatOf(last), 1 << seat);
            const int64_t amount = ts_test::ResultAmount(r);
            EXPECT_EQ(ts_test::SettlementAmount(last), amount) << "hand " << hand << " seat " << seat;
            EXPECT_EQ(ts_test::Subtotal(last), static_cast<uint64_t>(std::llabs(amount)));
            sum += amount;
            // Four settlement frames per seat, seat by seat.
            for (int k = 0; k < 4; ++k)
                EXPECT_EQ(ts_test::SeatOf(settlements[static_cast<std::size_t>(hand * 16 + seat * 4 + k)]), 1 << seat);
        }
        EXPECT_EQ(sum, 0) << "hand " << hand;
    }
}

TEST_P(WholeHandsTest, KindsOfAHandComeInOrder)
{
    const auto frames = PlayHands(GetParam(), 2, protocol::OpPong);
    // Past the seating: 16 (naming the banker), 4, 1, five draws, 14, then
    // play (6, 5, 2, 7), then 15s, 9 four times, 17 sixteen times, then ready
    // marks before the next 16.
    std::size_t i = 9;
    for (int hand = 0; hand < 2; ++hand) {
        ASSERT_LT(i + 9, frames.size());
        EXPECT_EQ(ts_test::Kind(frames[i]), 16);
        EXPECT_EQ(ts_test::DataLow(frames[i++], 3), 2);
        EXPECT_EQ(ts_test::Kind(frames[i++]), 4);
        EXPECT_EQ(ts_test::Kind(frames[i++]), 1);
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(ts_test::Kind(frames[i++]), 5);
        EXPECT_EQ(ts_test::Kind(frames[i++]), 14);
        while (i < frames.size() && ts_test::Kind(frames[i]) != 15) {
            const int k = ts_test::Kind(frames[i++]);
            EXPECT_TRUE(k == 2 || k == 5 || k == 6 || k == 7) << k;
        }
        int reveals = 0;
        while (i < frames.size() && ts_test::Kind(frames[i]) == 15) {
            ++reveals;
            ++i;
        }
        EXPECT_GE(reveals, 4);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(ts_test::Kind(frames[i++]), 9);
        for (int k = 0; k < 16; ++k)
            EXPECT_EQ(ts_test::Kind(frames[i++]), 17);
        if (hand == 0) {
            for (int k = 0; k < 4; ++k)
                EXPECT_EQ(ts_test::Kind(frames[i++]), 23);
        }
    }
    ASSERT_LT(i, frames.size());
    EXPECT_EQ(ts_test::Kind(frames[i]), 16); // the game is over
    EXPECT_EQ(ts_test::DataLow(frames[i], 3), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, WholeHandsTest, ::testing::Values(1, 2, 3, 17, 42, 1234, 99999));

TEST(WholeHands, CoinsFollowTheAmounts)
{
    TableConfig c;
    c.seed = 77;
    c.hands = 4;
    c.robotWaitMs = 0;
    c.robotDelayMs = 0;
    Table table(c);
    SeatPlayer p;
    p.claimOps = protocol::OpWin;
    table.Login("alice", 0);
    ts_test::Pump(table, {&p}, 0);
    int64_t total = 0;
    for (int seat = 0; seat < 4; ++seat)
        total += table.Coins(seat);
    EXPECT_EQ(total, 4 * c.startCoins);
}
