#include "helpers.h"
#include "wall.h"

#include <gtest/gtest.h>

#include <map>

using namespace tableserver;
using ts_test::SeatPlayer;

TEST(Tiles, FullSetHasFourOfEachOfThe34Kinds)
{
    const auto all = tile::FullSet();
    std::map<Tile, int> count;
    for (Tile t : all) {
        EXPECT_TRUE(tile::Valid(t)) << int(t);
        ++count[t];
    }
    EXPECT_EQ(count.size(), 34u);
    for (auto [t, n] : count)
        EXPECT_EQ(n, 4) << tile::Name(t);
}

TEST(Tiles, IndexRoundTrips)
{
    for (int i = 0; i < tile::Kinds; ++i)
        EXPECT_EQ(tile::Index(tile::FromIndex(i)), i);
    EXPECT_FALSE(tile::Valid(0x18)); // honour rank 8
    EXPECT_FALSE(tile::Valid(0x2A)); // bamboo 10
    EXPECT_FALSE(tile::Valid(0x30)); // two suit bits
    EXPECT_FALSE(tile::Valid(0));
}

struct WildCase {
    const char* indicator;
    const char* wild;
};

void PrintTo(const WildCase& c, std::ostream* os) { *os << c.indicator << "->" << c.wild; }

class WildForTest : public ::testing::TestWithParam<WildCase> {};

TEST_P(WildForTest, IndicatorFixesTheWildTile)
{
    EXPECT_EQ(tile::WildFor(ts_test::ParseTile(GetParam().indicator)), ts_test::ParseTile(GetParam().wild));
}

INSTANTIATE_TEST_SUITE_P(Rule, WildForTest,
                         ::testing::Values(WildCase{"1B", "2B"}, WildCase{"8C", "9C"}, WildCase{"9D", "1D"},
                                           WildCase{"E", "S"}, WildCase{"N", "E"}, WildCase{"Rd", "Gd"},
                                           WildCase{"Gd", "Wd"}, WildCase{"Wd", "Gd"}));

TEST(Tiles, RedDragonIsNeverWild)
{
    for (int i = 0; i < tile::Kinds; ++i)
        EXPECT_NE(tile::WildFor(tile::FromIndex(i)), tile::Red);
}

TEST(Wall, ShuffledWallHoldsEveryTileOnce)
{
    Rng rng(99);
    Wall w = Wall::Shuffled(rng);
    std::map<Tile, int> count;
    while (!w.Empty())
        ++count[w.DrawHead()];
    EXPECT_EQ(count.size(), 34u);
    for (auto [t, n] : count)
        EXPECT_EQ(n, 4);
}

TEST(Wall, SameSeedSameWallOtherSeedOtherWall)
{
    Rng a(7), b(7), c(8);
    EXPECT_EQ(Wall::Shuffled(a).Ring(), Wall::Shuffled(b).Ring());
    Rng d(7);
    EXPECT_NE(Wall::Shuffled(d).Ring(), Wall::Shuffled(c).Ring());
}

// The ring positions as tile values, so draws show where they were taken.
std::array<Tile, 136> PositionRing()
{
    std::array<Tile, 136> r{};
    for (int i = 0; i < 136; ++i)
        r[static_cast<std::size_t>(i)] = static_cast<Tile>(i);
    return r;
}

TEST(Wall, TailRunsBackwardStackByStackUpperTileFirst)
{
    Wall w(PositionRing());
    EXPECT_EQ(w.DrawTail(), 134);
    EXPECT_EQ(w.DrawTail(), 135);
    EXPECT_EQ(w.DrawTail(), 132);
    EXPECT_EQ(w.DrawTail(), 133);
    EXPECT_EQ(w.DrawTail(), 130);
    EXPECT_EQ(w.DrawHead(), 0);
    EXPECT_EQ(w.DrawHead(), 1);
    EXPECT_EQ(w.Remaining(), 129);
}

TEST(Wall, EndsThatMeetNeverDrawATileTwice)
{
    Wall w(PositionRing());
    std::vector<int> seen(136, 0);
    for (int i = 0; !w.Empty(); ++i)
        ++seen[static_cast<std::size_t>(i % 3 == 0 ? w.DrawTail() : w.DrawHead())];
    for (int n : seen)
        EXPECT_EQ(n, 1);
}

TEST(Wall, PreviewListsTailTilesThenHeadTiles)
{
    Wall w(PositionRing());
    EXPECT_EQ(w.Preview(), (std::vector<Tile>{134, 135, 0, 1, 2}));
    w.DrawTail(); // 134 taken: the tail is now the lower tile 135, the next tail 132
    EXPECT_EQ(w.Preview(), (std::vector<Tile>{135, 132, 0, 1, 2}));
}

TEST(Wall, PreviewStopsWhereTheWallEnds)
{
    Wall w(PositionRing());
    while (w.Remaining() > 3)
        w.DrawHead();
    // Left: 133, 134, 135. Tail 134, next tail 135, head 133, then 134 again.
    EXPECT_EQ(w.Preview(), (std::vector<Tile>{134, 135, 133}));
}

namespace {

// A table with one human at seat 0 and robots elsewhere, past the deal.
struct DealtTable {
    explicit DealtTable(uint64_t seed)
        : table([seed] {
              TableConfig c;
              c.seed = seed;
              c.robotWaitMs = 0;
              c.robotDelayMs = 1000;
              return c;
          }())
    {
        table.Login("alice", 0);
        table.Advance(0);
        player.Receive(table.TakeOutgoing());
    }
    Table table;
    SeatPlayer player;
};

} // namespace

TEST(Deal, ThirteenTilesEachAndFourteenForTheBanker)
{
    DealtTable d(5);
    for (int seat = 0; seat < 4; ++seat) {
        const auto& h = d.table.Hand(seat);
        EXPECT_EQ(h.concealed.size(), seat == d.table.Banker() ? 14u : 13u) << seat;
        EXPECT_TRUE(h.melds.empty());
    }
    // 53 tiles dealt and one indicator taken from the head.
    EXPECT_EQ(d.table.CurrentWall().Remaining(), 136 - 54);
    EXPECT_EQ(d.table.Wild(), tile::WildFor(d.table.Indicator()));
    // What the client was dealt is its hand: twelve in the deal frame, the
    // rest in single draws.
    auto mine = d.player.hand;
    auto server = d.table.Hand(0).concealed;
    std::sort(mine.begin(), mine.end());
    std::sort(server.begin(), server.end());
    EXPECT_EQ(mine, server);
}

TEST(Deal, AllTilesAccountedFor)
{
    DealtTable d(11);
    std::map<Tile, int> count;
    for (int seat = 0; seat < 4; ++seat)
        for (Tile t : d.table.Hand(seat).concealed)
            ++count[t];
    ++count[d.table.Indicator()];
    int total = 0;
    for (auto [t, n] : count) {
        EXPECT_LE(n, 4) << tile::Name(t);
        total += n;
    }
    EXPECT_EQ(total, 54);
    EXPECT_EQ(total + d.table.CurrentWall().Remaining(), 136);
}

TEST(Deal, ReproducibleWithASeed)
{
    DealtTable a(2024), b(2024), c(2025);
    for (int seat = 0; seat < 4; ++seat)
        EXPECT_EQ(a.table.Hand(seat).concealed, b.table.Hand(seat).concealed);
    EXPECT_EQ(a.table.Indicator(), b.table.Indicator());
    EXPECT_EQ(a.table.CurrentWall().Ring(), b.table.CurrentWall().Ring());
    EXPECT_NE(a.table.CurrentWall().Ring(), c.table.CurrentWall().Ring());
}

TEST(Deal, FramesOfTheHandStartInOrder)
{
    DealtTable d(3);
    // Login reply, four seat names, four user records, game start; then the
    // hand: start, deal, five single draws, the wild tile, the banker's prompt.
    const std::vector<int> expected{18, 3, 3, 3, 3, 20, 20, 20, 20, 16, 4, 1, 5, 5, 5, 5, 5, 14, 6};
    EXPECT_EQ(d.player.Kinds(), expected);
    const auto& f = d.player.received;
    EXPECT_EQ(ts_test::DataLow(f[11], 1), 12); // twelve tiles in the deal frame
    // The single draws: the banker, the three others, the banker again; a
    // seat sees only its own tile.
    const int banker = d.table.Banker();
    for (int k = 0; k < 5; ++k) {
        const auto& draw = f[static_cast<std::size_t>(12 + k)];
        const int seat = (banker + (k == 4 ? 0 : k)) % 4;
        EXPECT_EQ(ts_test::SeatOf(draw), 1 << seat);
        if (seat != 0) {
            EXPECT_EQ(ts_test::DataLow(draw, 3), 0);
        } else {
            EXPECT_NE(ts_test::DataLow(draw, 3), 0);
        }
    }
    EXPECT_EQ(ts_test::DataLow(f[17], 2), d.table.Wild());
    EXPECT_EQ(ts_test::DataLow(f[17], 3), d.table.Indicator());
}
