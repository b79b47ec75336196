#include "hand_eval.h"
#include "helpers.h"
#include "seat_hand.h"

#include <gtest/gtest.h>

using namespace tableserver;
using ts_test::ParseTile;
using ts_test::ParseTiles;

struct WinCase {
    const char* name;
    const char* tiles;
    const char* wild;
    bool wins;
    bool hard; // only looked at when it wins
};

void PrintTo(const WinCase& c, std::ostream* os) { *os << c.name; }

class WinTest : public ::testing::TestWithParam<WinCase> {};

TEST_P(WinTest, FourMeldsAndAPairWithWildTilesStandingIn)
{
    const WinCase& c = GetParam();
    const auto hand = ParseTiles(c.tiles);
    const Tile wild = ParseTile(c.wild);
    EXPECT_EQ(IsWinningHand(hand, wild), c.wins);
    if (c.wins) {
        EXPECT_EQ(IsHardWin(hand, wild), c.hard);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Hands, WinTest,
    ::testing::Values(
        WinCase{"PlainRunsAndPair", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C 5D 5D", "E", true, true},
        WinCase{"PongsAndPair", "E E E S S S 2C 2C 2C 9D 9D 9D Rd Rd", "N", true, true},
        WinCase{"OneTileShort", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 4C 5D 5D", "E", false, false},
        WinCase{"WildFillsARunGap", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C W 3C 5D 5D", "W", true, false},
        WinCase{"WildCompletesThePair", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C 5D W", "W", true, false},
        WinCase{"TwoWildsMakeAPong", "1B 2B 3B 4B 5B 6B 7B 8B 9B 7C S S 5D 5D", "S", true, false},
        WinCase{"WildAsItself", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C S S", "S", true, true},
        WinCase{"WildBelowATopRun", "8D 9D N 1B 2B 3B 4B 5B 6B 7C 7C 7C 2D 2D", "N", true, false},
        WinCase{"WildAboveALowRun", "N 1D 2D 1B 2B 3B 4B 5B 6B 7C 7C 7C 2D 2D", "N", true, false},
        WinCase{"FourWildsAreAPairAndAMissingMeld", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C E E E E", "E", true, false},
        WinCase{"HonoursDoNotRun", "E S W 1B 2B 3B 4B 5B 6B 7C 7C 7C 2D 2D", "9C", false, false},
        WinCase{"DragonsDoNotRun", "Rd Gd Wd 1B 2B 3B 4B 5B 6B 7C 7C 7C 2D 2D", "9C", false, false},
        WinCase{"RunsDoNotCrossSuits", "8B 9B 1C 1B 2B 3B 4B 5B 6B 7C 7C 7C 2D 2D", "E", false, false},
        WinCase{"SevenPairsIsNoWin", "1B 1B 3B 3B 5B 5B 7B 7B 9B 9B 2C 2C 4D 4D", "E", false, false},
        WinCase{"TwoTilesAfterFourMelds", "7D 7D", "E", true, true},
        WinCase{"LoneTileAndWild", "7D W", "W", true, false},
        WinCase{"TwoWildsAlone", "W W", "W", true, true},
        WinCase{"FiveTiles", "3C 4C 5C Gd Gd", "E", true, true},
        WinCase{"ThirteenTilesNeverWin", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C 5D", "E", false, false},
        WinCase{"WildChangesTheSplit", "1B 1B 1B 2B 3B 4B 4B 5C 6C 7C 8D 8D 8D N", "N", true, false}));

TEST(WinWith, ClaimedTileCompletesTheHand)
{
    const auto hand = ParseTiles("1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C 5D");
    EXPECT_TRUE(IsWinningWith(hand, ParseTile("5D"), ParseTile("E")));
    EXPECT_FALSE(IsWinningWith(hand, ParseTile("6D"), ParseTile("E")));
    // Any tile wins when a wild tile waits for the pair.
    const auto waiting = ParseTiles("1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C E");
    EXPECT_TRUE(IsWinningWith(waiting, ParseTile("6D"), ParseTile("E")));
}

struct ChowCase {
    const char* hand;
    const char* discard;
    const char* wild;
    int pairs;
};

void PrintTo(const ChowCase& c, std::ostream* os) { *os << c.hand << " + " << c.discard; }

class ChowTest : public ::testing::TestWithParam<ChowCase> {};

TEST_P(ChowTest, PairsAroundTheDiscard)
{
    const ChowCase& c = GetParam();
    EXPECT_EQ(static_cast<int>(ChowPairs(ParseTiles(c.hand), ParseTile(c.discard), ParseTile(c.wild)).size()), c.pairs);
}

INSTANTIATE_TEST_SUITE_P(Runs, ChowTest,
                         ::testing::Values(ChowCase{"3D 4D 6D 7D", "5D", "E", 3}, ChowCase{"4D 6D", "5D", "E", 1},
                                           ChowCase{"2B 3B", "1B", "E", 1}, ChowCase{"7B 8B", "9B", "E", 1},
                                           ChowCase{"4D 6D", "5D", "6D", 0}, // the wild tile takes no part
                                           ChowCase{"4C 6C", "5D", "E", 0}, ChowCase{"S W", "E", "Rd", 0}));

namespace {

SeatHand Holding(const char* tiles, Tile drawn)
{
    SeatHand h;
    h.concealed = ParseTiles(tiles);
    h.drawn = drawn;
    return h;
}

} // namespace

struct OwnTurnCase {
    const char* name;
    const char* tiles;
    const char* wild;
    bool wallEmpty;
    int mask;
};

void PrintTo(const OwnTurnCase& c, std::ostream* os) { *os << c.name; }

class OwnTurnTest : public ::testing::TestWithParam<OwnTurnCase> {};

TEST_P(OwnTurnTest, OperationsOfferedAfterADraw)
{
    const OwnTurnCase& c = GetParam();
    const SeatHand h = Holding(c.tiles, ParseTiles(c.tiles).back());
    EXPECT_EQ(OwnTurnMask(h, ParseTile(c.wild), c.wallEmpty), c.mask);
}

INSTANTIATE_TEST_SUITE_P(
    Kongs, OwnTurnTest,
    ::testing::Values(
        OwnTurnCase{"Nothing", "1B 5B 9B 2C 6C E S W N Wd 3D 7D 9D 1D", "2D", false, 0},
        OwnTurnCase{"RedDragonAlone", "1B 5B 9B 2C 6C E S W N Wd 3D 7D 9D Rd", "2D", false, protocol::OpSpecialKong},
        OwnTurnCase{"GreenDragonAlone", "1B 5B 9B 2C 6C E S W N Wd 3D 7D 9D Gd", "2D", false, protocol::OpSpecialKong},
        OwnTurnCase{"WildTileAlone", "1B 5B 9B 2C 6C E S W N Wd 3D 7D 9D 2D", "2D", false, protocol::OpSpecialKong},
        OwnTurnCase{"FourOfAKind", "1B 5B 9B 2C 6C E S W N 4D 4D 4D 4D 9D", "2D", false, protocol::OpConcealedKong},
        OwnTurnCase{"FourWildsAreNoConcealedKong", "1B 5B 9B 2C 6C E S W N 2D 2D 2D 2D 9D", "2D", false,
                    protocol::OpSpecialKong},
        OwnTurnCase{"FourRedDragonsAreSingleKongs", "1B 5B 9B 2C 6C E S W N Rd Rd Rd Rd 9D", "2D", false,
                    protocol::OpSpecialKong},
        OwnTurnCase{"NoKongWithAnEmptyWall", "1B 5B 9B 2C 6C E S W N 4D 4D 4D 4D Rd", "2D", true, 0},
        OwnTurnCase{"Win", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C 5D 5D", "E", false, protocol::OpWin},
        OwnTurnCase{"WinWithAWildInHand", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C 5D E", "E", false,
                    protocol::OpWin | protocol::OpSpecialKong}));

TEST(OwnTurn, NothingWithoutADraw)
{
    // After a chow or a pong the seat only discards.
    SeatHand h = Holding("1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C 5D 5D", 0);
    EXPECT_EQ(OwnTurnMask(h, ParseTile("E"), false), 0);
}

TEST(OwnTurn, FourthTileOfAnOwnPongIsASingleTileKong)
{
    SeatHand h = Holding("1B 5B 9B 2C 6C E S W N Wd 9D", ParseTile("9D"));
    h.melds.push_back({MeldKind::Pong, {ParseTile("9D"), ParseTile("9D"), ParseTile("9D")}, true});
    EXPECT_EQ(OwnTurnMask(h, ParseTile("2D"), false), protocol::OpSpecialKong);
    EXPECT_EQ(SingleKongTiles(h, ParseTile("2D")), std::vector<Tile>{ParseTile("9D")});
}

struct ClaimCase {
    const char* name;
    const char* tiles;
    const char* discard;
    const char* wild;
    bool next;
    bool wallEmpty;
    int mask;
};

void PrintTo(const ClaimCase& c, std::ostream* os) { *os << c.name; }

class ClaimMaskTest : public ::testing::TestWithParam<ClaimCase> {};

TEST_P(ClaimMaskTest, OperationsOfferedOnADiscard)
{
    const ClaimCase& c = GetParam();
    const SeatHand h = Holding(c.tiles, 0);
    EXPECT_EQ(ClaimMask(h, ParseTile(c.discard), ParseTile(c.wild), c.next, c.wallEmpty), c.mask);
}

INSTANTIATE_TEST_SUITE_P(
    Discards, ClaimMaskTest,
    ::testing::Values(
        ClaimCase{"Pong", "5D 5D 1B 9B 2C 6C E S W N Wd 3C 8C", "5D", "2D", false, false, protocol::OpPong},
        ClaimCase{"PongAndKong", "5D 5D 5D 9B 2C 6C E S W N Wd 3C 8C", "5D", "2D", false, false,
                  protocol::OpPong | protocol::OpExposedKong},
        ClaimCase{"NoKongWithAnEmptyWall", "5D 5D 5D 9B 2C 6C E S W N Wd 3C 8C", "5D", "2D", false, true, protocol::OpPong},
        ClaimCase{"ChowForTheNextSeat", "4D 6D 1B 9B 2C 6C E S W N Wd 3C 8C", "5D", "2D", true, false, protocol::OpChow},
        ClaimCase{"NoChowForOthers", "4D 6D 1B 9B 2C 6C E S W N Wd 3C 8C", "5D", "2D", false, false, 0},
        ClaimCase{"Win", "1B 2B 3B 4B 5B 6B 7B 8B 9B 1C 2C 3C 5D", "5D", "E", false, false, protocol::OpWin},
        ClaimCase{"WinAndPongAndChow", "1B 2B 3B 4B 5B 6B 7B 8B 9B 4D 6D 5D 5D", "5D", "E", true, false,
                  protocol::OpWin | protocol::OpPong | protocol::OpChow},
        ClaimCase{"RedDragonCannotBeClaimed", "Rd Rd 1B 9B 2C 6C E S W N Wd 3C 8C", "Rd", "2D", true, false, 0},
        ClaimCase{"GreenDragonCannotBeClaimed", "Gd Gd 1B 9B 2C 6C E S W N Wd 3C 8C", "Gd", "2D", true, false, 0},
        ClaimCase{"WildTileCannotBeClaimed", "2D 2D 1D 3D 2C 6C E S W N Wd 3C 8C", "2D", "2D", true, false, 0}));
