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
        SettleCase{"AllPass", 0, {{1, protocol::OpPass}, {2, protocol::OpPass}}, -1, 0},
        SettleCase{"NoClaims", 0, {}, -1, 0},
        SettleCase{"ChowAlone", 0, {{1, protocol::OpChow}}, 1, protocol::OpChow},
        SettleCase{"PongBeatsChow", 0, {{1, protocol::OpChow}, {3, protocol::OpPong}}, 3, protocol::OpPong},
        SettleCase{"KongBeatsChow", 2, {{3, protocol::OpChow}, {1, protocol::OpExposedKong}}, 1, protocol::OpExposedKong},
        SettleCase{"WinBeatsPong", 0, {{1, protocol::OpPong}, {2, protocol::OpWin}}, 2, protocol::OpWin},
        SettleCase{"WinBeatsKong", 1, {{2, protocol::OpExposedKong}, {0, protocol::OpWin}}, 0, protocol::OpWin},
        SettleCase{"TwoWinsNearestAfterTheDiscarder", 1, {{0, protocol::OpWin}, {3, protocol::OpWin}}, 3, protocol::OpWin},
        SettleCase{"TwoWinsWrapAround", 3, {{2, protocol::OpWin}, {1, protocol::OpWin}}, 1, protocol::OpWin},
        SettleCase{"OrderOfAnswersDoesNotMatter", 0, {{3, protocol::OpWin}, {2, protocol::OpPass}, {1, protocol::OpWin}}, 1, protocol::OpWin}));

TEST(ClaimRank, Ordering)
{
    EXPECT_GT(ClaimRank(protocol::OpWin), ClaimRank(protocol::OpPong));
    EXPECT_EQ(ClaimRank(protocol::OpPong), ClaimRank(protocol::OpExposedKong));
    EXPECT_GT(ClaimRank(protocol::OpPong), ClaimRank(protocol::OpChow));
    EXPECT_GT(ClaimRank(protocol::OpChow), ClaimRank(protocol::OpPass));
}
