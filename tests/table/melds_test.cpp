#include "table/melds.h"

#include "app/client.h"
#include "support/table_fixture.h"

#include <gtest/gtest.h>

using testing_support::TableClient;

namespace {

// A local hand of 13 tiles in slots 4-16, images 0-12 at their places, and
// the meld slots as a sender left them.
struct MeldTable : TableClient {
    MeldTable()
    {
        GiveOwnHand({0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46}, 0);
        c.table.LastDiscardImage = 90;
    }
    int16_t ImageOf(int slot) { return Player(0).Slots[static_cast<std::size_t>(slot)].Image; }
    float LeftOf(int slot) { return f.MJ_Image[ImageOf(slot)].Left; }
};

} // namespace

TEST(OwnMelds, ChowOfSlotsSixAndNineMovesTheRestOn)
{
    MeldTable table;
    table::PlayerRecord& p = table.Player(0);
    p.Slots[1] = {2, 0x83, 2};
    p.Slots[2] = {2, 0x86, 5};
    p.Slots[3] = {2, 0x84, 90};
    std::array<int16_t, 3> tiles{0x83, 0x86, 0x84};
    table::ApplyChiMeld(table.c.Table(), 6, 9, tiles);

    for (int m = 1; m <= 3; ++m)
        EXPECT_FLOAT_EQ(table.LeftOf(m), 19 + (m + 2) * 43.0f) << m;
    // Slots 4, 5 move to 7, 8; slots 7, 8 to 9, 10; slots 10-16 to 11-17.
    const std::vector<std::pair<int, int>> moves{{7, 0}, {8, 1}, {9, 3}, {10, 4}, {11, 6}, {17, 12}};
    for (auto [slot, image] : moves) {
        EXPECT_EQ(table.ImageOf(slot), image) << slot;
        EXPECT_FLOAT_EQ(table.LeftOf(slot), 19 + slot * 48.0f) << slot;
    }
}

TEST(OwnMelds, ChowOfAdjacentSlotsAtTheHandStart)
{
    MeldTable table;
    std::array<int16_t, 3> tiles{0x81, 0x82, 0x83};
    table.Player(0).Slots[1] = {2, 0x81, 0};
    table.Player(0).Slots[2] = {2, 0x82, 1};
    table.Player(0).Slots[3] = {2, 0x83, 90};
    table::ApplyChiMeld(table.c.Table(), 4, 5, tiles);
    EXPECT_EQ(table.ImageOf(7), 2);
    EXPECT_EQ(table.ImageOf(17), 12);
}

TEST(OwnMelds, PongCutsTheTileToItsLowByteInTheCallersArray)
{
    MeldTable table;
    table::PlayerRecord& p = table.Player(0);
    p.Slots[4].TileCode = p.Slots[5].TileCode = 0x81;
    p.Slots[1] = {3, 0x81, 0};
    p.Slots[2] = {3, 0x81, 1};
    p.Slots[3] = {3, 0x81, 90};
    std::array<int16_t, 3> tiles{0x2081, 0x81, 0x81};
    table::ApplyPongMeld(table.c.Table(), tiles);
    EXPECT_EQ(tiles[0], 0x81);
    EXPECT_EQ(table.ImageOf(7), 2);
}

TEST(OwnMelds, ExposedKongLeavesTheTilesAfterIt)
{
    MeldTable table;
    table::PlayerRecord& p = table.Player(0);
    for (int s = 8; s <= 10; ++s)
        p.Slots[static_cast<std::size_t>(s)].TileCode = 0x44;
    p.Slots[1] = {4, 0x44, 4};
    p.Slots[2] = {4, 0x44, 5};
    p.Slots[3] = {4, 0x44, 6};
    std::array<int16_t, 3> tiles{0x44, 0x44, 0x44};
    table::ApplyExposedKong(table.c.Table(), 8, tiles);
    for (int s = 11; s <= 16; ++s)
        EXPECT_EQ(table.ImageOf(s), s - 4) << s;
    EXPECT_EQ(table.ImageOf(7), 0);
    EXPECT_EQ(table.ImageOf(10), 3);
    const platform::Image& fourth = table.f.MJ_Image[90];
    EXPECT_FLOAT_EQ(fourth.Top, 564 - 18);
    EXPECT_FLOAT_EQ(fourth.Left, table.LeftOf(2));
}

TEST(OwnMelds, SingleTileKongOfTheLastSlotMovesNoOtherTile)
{
    MeldTable table;
    table::PlayerRecord& p = table.Player(0);
    p.Slots[1] = {6, 0x46, 12};
    std::vector<float> before;
    for (int s = 4; s <= 15; ++s)
        before.push_back(table.LeftOf(s));
    table::ApplySpecialKong(table.c.Table(), 16);
    for (int s = 4; s <= 15; ++s)
        EXPECT_FLOAT_EQ(table.LeftOf(s), before[static_cast<std::size_t>(s - 4)]) << s;
    EXPECT_EQ(table.c.table.LastDiscardImage, 12);
    EXPECT_EQ(table.c.table.LastDiscardTile, 0x46);
}
