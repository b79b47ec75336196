#include "claims.h"

#include <gtest/gtest.h>

using namespace tableserver;

struct SettleCase {
    const char* name;
    int discarder;
    std::vector<std::pair<int, int>> claims; // seat, operation
    int winnerSeat;                          // -1: nobody takes the tile
    int winnerOp;
};

void PrintTo(const SettleCase& c, std::ostream* os) { *os << c.name; }

class SettleClaimsTest : public ::testing::TestWithParam<SettleCase> {};

TEST_P(SettleClaimsTest, PriorityWinOverKongAndPongOverChow)
{
    const SettleCase& c = GetParam();
    std::vector<Claim> claims;
    for (auto [seat, operation] : c.claims) {
        Claim k;
        k.seat = seat;
        k.op = operation;
        claims.push_back(k);
    }
    const auto got = SettleClaims(c.discarder, claims);
    if (c.winnerSeat < 0) {
        EXPECT_FALSE(got.has_value());
        return;
    }
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->seat, c.winnerSeat);
    EXPECT_EQ(got->op, c.winnerOp);
}

INSTANTIATE_TEST_SUITE_P(
    Claims, SettleClaimsTest,
    ::testing::Values(
        SettleCase{"AllPass", 0, {{1, op::Pass}, {2, op::Pass}}, -1, 0},
        SettleCase{"NoClaims", 0, {}, -1, 0},
        SettleCase{"ChowAlone", 0, {{1, op::Chow}}, 1, op::Chow},
        SettleCase{"PongBeatsChow", 0, {{1, op::Chow}, {3, op::Pong}}, 3, op::Pong},
        SettleCase{"KongBeatsChow", 2, {{3, op::Chow}, {1, op::ExposedKong}}, 1, op::ExposedKong},
        SettleCase{"WinBeatsPong", 0, {{1, op::Pong}, {2, op::Win}}, 2, op::Win},
        SettleCase{"WinBeatsKong", 1, {{2, op::ExposedKong}, {0, op::Win}}, 0, op::Win},
        SettleCase{"TwoWinsNearestAfterTheDiscarder", 1, {{0, op::Win}, {3, op::Win}}, 3, op::Win},
        SettleCase{"TwoWinsWrapAround", 3, {{2, op::Win}, {1, op::Win}}, 1, op::Win},
        SettleCase{"OrderOfAnswersDoesNotMatter", 0, {{3, op::Win}, {2, op::Pass}, {1, op::Win}}, 1, op::Win}));

TEST(ClaimRank, Ordering)
{
    EXPECT_GT(ClaimRank(op::Win), ClaimRank(op::Pong));
    EXPECT_EQ(ClaimRank(op::Pong), ClaimRank(op::ExposedKong));
    EXPECT_GT(ClaimRank(op::Pong), ClaimRank(op::Chow));
    EXPECT_GT(ClaimRank(op::Chow), ClaimRank(op::Pass));
}
