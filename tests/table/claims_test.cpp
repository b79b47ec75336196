#include "table/claims.h"

#include "app/client.h"
#include "support/table_fixture.h"

#include <gtest/gtest.h>

using testing_support::TableClient;
using testing_support::WordOf;

namespace {

// The chow pairs offered for a discard, as tile codes.
std::vector<std::pair<int, int>> PairsOffered(TableClient& table, int discard)
{
    Client& c = table.c;
    table::OfferChiChoices(c.Table(), discard);
    std::vector<std::pair<int, int>> pairs;
    const table::PlayerRecord& p = table.Player(0);
    auto code = [&](int slot) { return p.Slots[static_cast<std::size_t>(slot)].TileCode; };
    const auto sent = table.TakeSent();
    if (!sent.empty()) {
        pairs.emplace_back(WordOf(sent[0], 1) & 0xFF, WordOf(sent[0], 2) & 0xFF);
        return pairs;
    }
    for (int k = 0; k < 6 && table.f.Chi[k].Visible; k += 2)
        pairs.emplace_back(code(c.table.ChiChoices[static_cast<std::size_t>(k)]),
                           code(c.table.ChiChoices[static_cast<std::size_t>(k + 1)]));
    return pairs;
}

struct ChowCase {
    const char* name;
    std::vector<int> hand;
    int discard;
    std::vector<std::pair<int, int>> pairs;
};

class ChowChoices : public testing::TestWithParam<ChowCase> {};

} // namespace

TEST_P(ChowChoices, PairsAroundTheDiscardLowerRankFirst)
{
    TableClient table;
    table.c.table.WildTile = 0x29;
    table.c.table.LastDiscardTile = static_cast<int16_t>(GetParam().discard);
    table.GiveOwnHand(GetParam().hand, 0);
    EXPECT_EQ(PairsOffered(table, GetParam().discard), GetParam().pairs);
}

INSTANTIATE_TEST_SUITE_P(
    Hands, ChowChoices,
    testing::Values(ChowCase{"ThreePairs", {0x83, 0x84, 0x86, 0x87, 0x11}, 0x85, {{0x83, 0x84}, {0x84, 0x86}, {0x86, 0x87}}},
                    ChowCase{"OnePairSentAtOnce", {0x84, 0x86, 0x11}, 0x85, {{0x84, 0x86}}},
                    ChowCase{"RankOneOnlyAbove", {0x22, 0x23, 0x24, 0x11}, 0x21, {{0x22, 0x23}}},
                    ChowCase{"OtherSuitOnly", {0x42, 0x43, 0x11}, 0x81, {}},
                    ChowCase{"OneTileOfTheSuit", {0x82, 0x11, 0x12}, 0x81, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChowChoices, NineOfASuitTakesOnlyTheTwoBelow)
{
    TableClient table;
    table.c.table.WildTile = 0x11;
    table.GiveOwnHand({0x47, 0x48, 0x49, 0x21}, 0);
    EXPECT_EQ(PairsOffered(table, 0x49), (std::vector<std::pair<int, int>>{{0x47, 0x48}}));
}

TEST(ChowChoices, OfTwoEqualTilesTheLastIsNamed)
{
    TableClient table;
    table.c.table.WildTile = 0x11;
    table.GiveOwnHand({0x84, 0x84, 0x86, 0x21}, 0);
    table::OfferChiChoices(table.c.Table(), 0x85);
    EXPECT_EQ(table.c.table.ChiChoices[0], 5);
    EXPECT_EQ(table.c.table.ChiChoices[1], 6);
}

TEST(ChowChoices, TheWildTileAtTheFrontNeverJoinsAChow)
{
    TableClient table;
    table.c.table.WildTile = 0x84;
    table.GiveOwnHand({0x84, 0x86, 0x11}, 0);
    table::OfferChiChoices(table.c.Table(), 0x85);
    EXPECT_TRUE(table.TakeSent().empty());
    EXPECT_FALSE(table.f.Chi[0].Visible);
}

TEST(FindKongCandidates, FiveTilesAreTooFewAndLeaveTheListAlone)
{
    TableClient table;
    Client& c = table.c;
    c.table.WildTile = 0x29;
    c.game.AllowedOps = 0x40;
    c.table.KongCandidates.fill(9);
    table.GiveOwnHand({0x29, 0x11, 0x12, 0x13, 0x14}, 0);
    EXPECT_FALSE(table::FindKongCandidates(c.Table()));
    EXPECT_EQ(c.table.KongCandidates[0], 9);
}

struct FindCase {
    const char* name;
    std::vector<int> hand;
    int16_t allowed;
    bool result;
};

class FindKong : public testing::TestWithParam<FindCase> {};

TEST_P(FindKong, TrueOnlyForTheSingleWildTileAlone)
{
    TableClient table;
    table.c.table.WildTile = 0x29;
    table.c.game.AllowedOps = GetParam().allowed;
    table.GiveOwnHand(GetParam().hand, 0);
    EXPECT_EQ(table::FindKongCandidates(table.c.Table()), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Hands, FindKong,
    testing::Values(FindCase{"OneWild", {0x29, 0x11, 0x12, 0x13, 0x14, 0x21}, 0x40, true},
                    FindCase{"TwoWilds", {0x29, 0x29, 0x12, 0x13, 0x14, 0x21}, 0x40, false},
                    FindCase{"WildAndRedDragon", {0x29, 0x15, 0x12, 0x13, 0x14, 0x21}, 0x40, false},
                    FindCase{"FourWildsConcealedOnly", {0x29, 0x29, 0x29, 0x29, 0x13, 0x14}, 0x20, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OfferKongChoices, FourWildTilesAreNoConcealedKongButTheCountdownRestarts)
{
    TableClient table;
    Client& c = table.c;
    c.table.WildTile = 0x29;
    c.game.AllowedOps = 0x20;
    c.game.Countdown = 1;
    table.GiveOwnHand({0x29, 0x29, 0x29, 0x29, 0x13, 0x14}, 0);
    table::OfferKongChoices(c.Table());
    EXPECT_TRUE(table.TakeSent().empty());
    EXPECT_FALSE(table.f.Gang[0].Visible);
    EXPECT_EQ(c.game.Countdown, 4);
    EXPECT_TRUE(c.core.SchedDecision.On);

    // Automatic play's own search lists the set.
    EXPECT_FALSE(table::FindKongCandidates(c.Table()));
    EXPECT_EQ(c.table.KongCandidates[0], 4);
}

// More kongs than pictures: the first five are offered, nothing fails, and
// automatic play still sends the first of the search.
TEST(OfferKongChoices, MoreThanFiveCandidates)
{
    TableClient table;
    Client& c = table.c;
    c.table.WildTile = 0x29;
    c.game.AllowedOps = 0x60;
    // Five equal tiles make two concealed sets: no server deals them, but the
    // client must not fail for them.
    table.GiveOwnHand({0x15, 0x16, 0x29, 0x11, 0x11, 0x11, 0x11, 0x11, 0x12, 0x12, 0x12, 0x12}, 0);
    table::OfferKongChoices(c.Table());
    EXPECT_TRUE(table.TakeSent().empty());
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(table.f.Gang[k].Visible) << k;
    const std::array<int16_t, 6> found{4, 5, 7, 8, 12, 6}; // red, green, three sets, the wild tile
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(c.table.KongCandidates[static_cast<std::size_t>(k)], found[static_cast<std::size_t>(k)]) << k;
    EXPECT_FALSE(table.t.process.ended);

    c.game.TurnPhase = 3;
    table::OfferKongChoices(c.Table());
    const auto sent = table.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(WordOf(sent[0], 0), 64);
    EXPECT_EQ(WordOf(sent[0], 3), 0x2015);
}

TEST(Senders, PongWithoutAPairSendsNothing)
{
    TableClient table;
    table.GiveOwnHand({0x25, 0x26}, 0);
    table::SendPong(table.c.Table(), 0x25);
    EXPECT_TRUE(table.TakeSent().empty());
    EXPECT_EQ(table.c.game.OpSent, 0);
    EXPECT_EQ(table.Player(0).Slots[1].Kind, 0);
}

TEST(Senders, ChowOfSlotsSixAndEight)
{
    TableClient table;
    Client& c = table.c;
    c.core.TurnStamp = 0x31;
    c.table.LastDiscardTile = 0x43;
    c.table.LastDiscardImage = 90;
    table.GiveOwnHand({0x11, 0x12, 0x41, 0x13, 0x42}, 0);
    table::SendChi(c.Table(), 6, 8);
    const auto sent = table.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][7], 0x31);
    EXPECT_EQ(sent[0][8], 0x00);
    EXPECT_EQ(sent[0][9], 0x04);
    EXPECT_EQ(WordOf(sent[0], 1), 0x2041);
    EXPECT_EQ(WordOf(sent[0], 2), 0x2042);
    EXPECT_EQ(WordOf(sent[0], 3), 0x2043);
    const table::PlayerRecord& p = table.Player(0);
    EXPECT_EQ(p.Slots[1].Image, 2);
    EXPECT_EQ(p.Slots[2].Image, 4);
    EXPECT_EQ(p.Slots[3].Image, 90);
    EXPECT_EQ(p.Slots[3].Kind, 2);
    EXPECT_EQ(c.game.OpSent, -1);
}
