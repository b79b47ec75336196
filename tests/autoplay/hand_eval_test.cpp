#include "autoplay/hand_eval.h"
#include "core/numeric.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace {

using autoplay::ClaimScores;
using autoplay::EvalFault;
using autoplay::HandEvaluator;
using autoplay::SuitCounts;

// Tile codes.
constexpr int East = 0x11;
constexpr int Red = 0x15;
constexpr int White = 0x17;
constexpr int B(int rank) { return 0x20 + rank; } // bamboo
constexpr int D(int rank) { return 0x80 + rank; } // dots
constexpr int Ch(int rank) { return 0x40 + rank; } // characters

// A local hand from slot 4 on, nothing seen, no wild tile unless set.
struct Hand {
    table::PlayerRecord p;
    int16_t wild = -1;
    SuitCounts seen{};
    HandEvaluator ai{p, wild, seen};

    Hand() { p.HandFirst = 4; }
    explicit Hand(std::initializer_list<int> codes) : Hand()
    {
        for (int code : codes)
            Add(code);
    }
    void Add(int code)
    {
        p.Slots.at(static_cast<std::size_t>(p.HandFirst + p.HandCount)) = {1, static_cast<int16_t>(code),
                                                                            static_cast<int16_t>(p.HandCount)};
        ++p.HandCount;
    }
    int16_t Score(int mode, int tile)
    {
        ai.CountHandTiles();
        return ai.EvalSuit(mode, tile);
    }
};

TEST(EvalSuit, ScoresTheWorkedSuits)
{
    struct Case {
        const char* name;
        std::vector<int> tiles;
        int mode;
        int16_t score;
    };
    const std::vector<Case> cases{
        {"no tile of the suit", {}, 0, 0},
        {"one 5 of dots", {D(5)}, 0, -23},
        {"one 1 of bamboo", {B(1)}, 0, -45},
        {"two 5s of dots", {D(5), D(5)}, 0, 28},
        {"a run 1-2-3", {B(1), B(2), B(3)}, 0, 1000},
        {"a run 1-2-3 without meld bonus", {B(1), B(2), B(3)}, 4, 0},
        {"1-1-2-3: the run is taken, a 1 stays loose", {B(1), B(1), B(2), B(3)}, 0, 968},
        {"2-3-4-5: the lower rank wins a tie of weights", {D(2), D(3), D(4), D(5)}, 0, 985},
        {"one East", {East}, 0, -100},
        {"two Easts", {East, East}, 0, -30},
        {"three Easts", {East, East, East}, 0, 1000},
        {"four Easts: a pong and a loose East beside it", {East, East, East, East}, 0, 1050},
    };
    for (const Case& c : cases) {
        Hand h{};
        for (int t : c.tiles)
            h.Add(t);
        const int suitTile = c.tiles.empty() ? D(1) : c.tiles.front();
        EXPECT_EQ(h.Score(c.mode, suitTile), c.score) << c.name;
    }
}

TEST(EvalSuit, SeenTilesLowerALooseTile)
{
    Hand h{East};
    h.seen[0][1] = 2;
    EXPECT_EQ(h.Score(0, East), -104);
}

TEST(EvalSuit, ModeOneScoresWithoutTheTileAndPutsItBack)
{
    Hand h{B(1), B(1), B(2), B(3)};
    h.ai.CountHandTiles();
    EXPECT_EQ(h.ai.EvalSuit(1, B(1)), 1000);
    EXPECT_EQ(h.ai.AiTileCounts[1][1], 1);
    EXPECT_EQ(h.ai.AiTileCounts[1][2], 0);
    EXPECT_EQ(h.ai.AiMeldTiles[1][1], 1);
    EXPECT_EQ(h.ai.AiMeldTiles[1][2], 1);
    EXPECT_EQ(h.ai.AiMeldTiles[1][3], 1);
}

TEST(EvalSuit, TheWildTileAndRedDragonsChangeNoScore)
{
    Hand h{D(5), Red, 0x47, Red};
    h.wild = 0x47;
    EXPECT_EQ(h.Score(0, D(5)), -23);
    EXPECT_EQ(h.Score(0, East), 0);
    EXPECT_EQ(h.Score(0, Ch(1)), 0);
    EXPECT_EQ(h.p.Slots[5].TileCode, Red);
}

TEST(EvalSuit, CountingCutsEachHandCodeToItsLowByte)
{
    Hand h{0x2183};
    h.ai.CountHandTiles();
    EXPECT_EQ(h.p.Slots[4].TileCode, D(3));
    EXPECT_EQ(h.ai.AiTileCounts[3][3], 1);
}

TEST(EvalSuit, TileCodesThatNameNoTileAreRefusedBeforeAnyTableIsRead)
{
    for (int bad : {0x80, 0x2A, 0x8F, 0x18, 0x19, 0x10}) {
        Hand h{D(5), D(6)};
        h.ai.CountHandTiles();
        EXPECT_THROW(h.ai.EvalSuit(1, bad), EvalFault) << bad;
        EXPECT_THROW(h.ai.ShouldClaim(2, bad), EvalFault) << bad;
        EXPECT_THROW(h.ai.ShouldClaim(1, bad), EvalFault) << bad;
    }
}

TEST(EvalSuit, HandTilesThatNameNoTileAreNotCounted)
{
    Hand h{0x18, 0x19, 0x80, 0x2A, B(2)};
    h.ai.CountHandTiles();
    int total = 0;
    for (const auto& suit : h.ai.AiTileCounts)
        for (int16_t n : suit)
            total += n;
    EXPECT_EQ(total, 1);
}

TEST(CountHandTiles, AHandBeyondTheLastSlotIsAFaultNotARead)
{
    Hand h{D(1), D(2)};
    h.p.HandFirst = 17;
    EXPECT_THROW(h.ai.CountHandTiles(), std::out_of_range);
}

TEST(ChooseDiscard, TotalsOfTheWorkedHandDiscardTheEarlierOneOfDots)
{
    Hand h{D(1), D(9), B(1), B(2), B(3), White, White};
    const std::vector<int16_t> totals{925, 925, -163, -200, -165, 810, 810};
    for (int i = 0; i < static_cast<int>(totals.size()); ++i)
        EXPECT_EQ(h.ai.DiscardTotal(4 + i), totals[static_cast<std::size_t>(i)]) << "slot " << 4 + i;
    EXPECT_EQ(h.ai.ChooseDiscard(), D(1));
}

TEST(ChooseDiscard, NeverTheWildTileOrARedDragon)
{
    Hand h{0x47, Red, East, 0x47};
    h.wild = 0x47;
    EXPECT_EQ(h.ai.ChooseDiscard(), East);

    Hand only{Red, 0x47, Red, 0x147};
    only.wild = 0x47;
    EXPECT_EQ(only.ai.ChooseDiscard(), 0x147) << "the last slot, its code as it stands";
}

// ChooseDiscard and KongScore count the hand once and reuse what cannot
// change; on any hand they agree with counting afresh before every score.
TEST(ChooseDiscard, AgreesWithAFreshCountForEveryTile)
{
    std::mt19937 random(16);
    const std::vector<int> kinds = [] {
        std::vector<int> k;
        for (int r = 1; r <= 7; ++r)
            k.push_back(0x10 + r);
        for (int suit : {0x20, 0x40, 0x80})
            for (int r = 1; r <= 9; ++r)
                k.push_back(suit + r);
        return k;
    }();
    for (int round = 0; round < 400; ++round) {
        Hand h;
        h.wild = static_cast<int16_t>(kinds[random() % kinds.size()]);
        const int count = 2 + static_cast<int>(random() % 13);
        for (int i = 0; i < count; ++i)
            h.Add(kinds[random() % kinds.size()]);
        for (auto& suit : h.seen)
            for (int16_t& n : suit)
                n = static_cast<int16_t>(random() % 3);

        int best = -20000;
        int16_t expected = h.p.Slots[static_cast<std::size_t>(4 + count - 1)].TileCode;
        for (int i = 4; i < 4 + count; ++i) {
            const int16_t code = h.p.Slots[static_cast<std::size_t>(i)].TileCode;
            if (code == h.wild || code == Red)
                continue;
            const int total = h.ai.DiscardTotal(i);
            if (total > best) {
                best = total;
                expected = code;
            }
        }
        EXPECT_EQ(h.ai.ChooseDiscard(), expected) << "round " << round;

        int kong = 0;
        for (int x = 0; x < 4; ++x)
            kong += h.Score(4, (1 << x) * 16 + 1);
        EXPECT_EQ(h.ai.KongScore(), kong) << "round " << round;
    }
}

TEST(ShouldKong, TrueAboveMinusHundredOnly)
{
    struct Case {
        std::vector<int> tiles;
        int16_t score;
        bool kong;
    };
    const std::vector<Case> cases{
        {{B(1), B(5), B(7)}, -99, true},
        {{East}, -100, false},
    };
    for (const Case& c : cases) {
        Hand h{};
        for (int t : c.tiles)
            h.Add(t);
        EXPECT_EQ(h.ai.KongScore(), c.score);
        EXPECT_EQ(h.ai.ShouldKong(), c.kong) << c.score;
    }
}

TEST(ShouldClaim, JudgesTheWorkedClaims)
{
    struct Case {
        const char* name;
        std::vector<int> tiles;
        int kind;
        int tile;
        int seenBamboo2;
        int32_t withClaim;
        int32_t without;
        bool claim;
    };
    const std::vector<Case> cases{
        {"pong on East with two Easts", {East, East}, 2, East, 0, 1000, -30, true},
        {"pong on the 5 of dots with 5-5-6-7", {D(5), D(5), D(6), D(7)}, 2, D(5), 0, 941, 990, false},
        {"chow on the 4 of bamboo with 2-3-5-6", {B(2), B(3), B(5), B(6)}, 1, B(4), 0, 961, -78, true},
        {"a chow worth exactly 150 more", {B(2), B(4), B(5), B(5), B(6), B(6), B(8)}, 1, B(3), 3, 1083, 933, false},
        {"a chow worth 152 more", {B(2), B(4), B(5), B(5), B(6), B(6), B(8)}, 1, B(3), 4, 1083, 931, true},
    };
    for (const Case& c : cases) {
        Hand h{};
        for (int t : c.tiles)
            h.Add(t);
        h.seen[1][2] = static_cast<int16_t>(c.seenBamboo2);
        const ClaimScores s = h.ai.JudgeClaim(c.kind, c.tile);
        EXPECT_TRUE(s.possible) << c.name;
        EXPECT_EQ(s.withClaim, c.withClaim) << c.name;
        EXPECT_EQ(s.without, c.without) << c.name;
        EXPECT_EQ(h.ai.ShouldClaim(c.kind, c.tile), c.claim) << c.name;
    }
}

TEST(ShouldClaim, TheChowOnFourOfBambooTakesTwoAndThree)
{
    // The three runs score 961 (2-3-4), 936 (3-4-5) and 957 (4-5-6).
    for (const auto& [rest, score] : std::vector<std::pair<std::vector<int>, int>>{
             {{B(5), B(6)}, 961}, {{B(2), B(6)}, 936}, {{B(2), B(3)}, 957}}) {
        Hand h{};
        for (int t : rest)
            h.Add(t);
        EXPECT_EQ(h.Score(2, B(4)) + 1000, score);
    }

    Hand h{East, B(2), B(3), B(5), B(6)};
    ASSERT_TRUE(h.ai.ShouldClaim(1, B(4)));
    EXPECT_EQ(h.ai.AiClaimTileA, 5) << "the slot of the 2 of bamboo";
    EXPECT_EQ(h.ai.AiClaimTileB, 6) << "the slot of the 3 of bamboo";
}

TEST(ShouldClaim, APongRecordsTheTileCode)
{
    Hand h{East, East, D(9)};
    ASSERT_TRUE(h.ai.ShouldClaim(2, 0x311));
    EXPECT_EQ(h.ai.AiClaimTileA, East);
    EXPECT_EQ(h.ai.AiClaimTileB, 0);
}

TEST(ShouldClaim, APongOnATileHeldFewerThanTwiceIsRefused)
{
    struct Case {
        const char* name;
        std::vector<int> tiles;
        int tile;
    };
    const std::vector<Case> cases{
        {"one East", {East, D(1)}, East},
        {"no East", {D(1), D(2)}, East},
        {"two red dragons, never counted", {Red, Red, D(1)}, Red},
        {"two wild tiles, never counted", {0x47, 0x47, D(1)}, 0x47},
    };
    for (const Case& c : cases) {
        Hand h{};
        h.wild = 0x47;
        for (int t : c.tiles)
            h.Add(t);
        EXPECT_FALSE(h.ai.JudgeClaim(2, c.tile).possible) << c.name;
        EXPECT_FALSE(h.ai.ShouldClaim(2, c.tile)) << c.name;
    }
}

TEST(ShouldClaim, AChowWithoutPartnersIsRefused)
{
    Hand h{B(1), B(9), East};
    EXPECT_FALSE(h.ai.ShouldClaim(1, B(5)));
    EXPECT_EQ(h.ai.AiClaimTileA, 0);
    EXPECT_EQ(h.ai.AiClaimTileB, 0);
}

TEST(Numeric, RoundsHalvesToEvenAndRefusesOverflow)
{
    struct Case {
        double in;
        int16_t out;
    };
    for (const Case& c : std::vector<Case>{{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {37.5, 38},
                                           {48 * 0.78125, 38}, {78 * 0.78125, 61}, {32767.4, 32767}})
        EXPECT_EQ(core::CInt(c.in), c.out) << c.in;
    EXPECT_THROW(core::CInt(32767.5), core::NumericFault);
    EXPECT_THROW(core::CInt(-32768.6), core::NumericFault);
    EXPECT_EQ(core::CLng(2.5), 2);
    EXPECT_EQ(core::CLng(100000.5), 100000);
    EXPECT_THROW(core::Checked16(32768), core::NumericFault);
}

TEST(Numeric, IntegerDivisionTruncatesTowardZero)
{
    EXPECT_EQ(core::IntDiv(7, 2), 3);
    EXPECT_EQ(core::IntDiv(-7, 2), -3);
    EXPECT_EQ(core::IntDiv(7, -2), -3);
    EXPECT_THROW(core::IntDiv(1, 0), core::NumericFault);
}

} // namespace
