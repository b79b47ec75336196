#include "table/discard_rows.h"

#include "app/client.h"
#include "support/table_fixture.h"

#include <gtest/gtest.h>

using testing_support::TableClient;

namespace {

// Lays `n` discards of view `u` (images 100 on) as a deal call would (no pause).
void LayDiscards(TableClient& table, int u, int n, int tile = 0x23)
{
    Client& c = table.c;
    for (int i = 0; i < n; ++i) {
        c.table.LastDiscardView = static_cast<int16_t>(u);
        c.table.LastDiscardImage = static_cast<int16_t>(100 + i);
        c.table.LastDiscardTile = static_cast<int16_t>(tile);
        table::LayLastDiscard(c.Table(), table.SeatBitOf(3), 4);
    }
}

} // namespace

struct RowCase {
    int view;
    float scale;
    float width, height;  // the laid tile's size
    float firstX, firstY; // the first discard
    float eighthX, eighthY;
    float ninthX, ninthY; // the first of the second row
};

class DiscardRows : public testing::TestWithParam<RowCase> {};

TEST_P(DiscardRows, EightToARowThenTheNextRow)
{
    const RowCase& k = GetParam();
    TableClient table(0, k.scale);
    LayDiscards(table, k.view, 9);
    const platform::Image& first = table.f.MJ_Image[100];
    EXPECT_FLOAT_EQ(first.Left, k.firstX);
    EXPECT_FLOAT_EQ(first.Top, k.firstY);
    EXPECT_FLOAT_EQ(first.Width, k.width);
    EXPECT_FLOAT_EQ(first.Height, k.height);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[107].Left, k.eighthX);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[107].Top, k.eighthY);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[108].Left, k.ninthX);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[108].Top, k.ninthY);
}

INSTANTIATE_TEST_SUITE_P(
    Views, DiscardRows,
    testing::Values(RowCase{0, 1.0f, 36, 50, 358, 438, 358 + 7 * 36, 438, 358, 438 - 32},
                    RowCase{1, 1.0f, 48, 35, 287, 238, 287 - 35, 238 + 7 * 18, 287 + 43, 238},
                    RowCase{2, 1.0f, 30, 36, 635, 238, 635 - 7 * 30, 238, 635, 238 + 22},
                    RowCase{3, 1.0f, 48, 35, 758, 438, 758 - 35, 438 - 7 * 18, 758 - 43, 438},
                    // Small layout: 38 x 27 tiles, a step of 14 per tile.
                    RowCase{1, 0.78125f, 38, 27, 224, 186, 224 - 35, 186 + 7 * 14, 224 + 34, 186},
                    RowCase{0, 0.78125f, 28, 39, 280, 342, 280 + 7 * 28, 342, 280, 342 - 25}),
    [](const auto& info) {
        return "View" + std::to_string(info.param.view) + (info.param.scale == 1.0f ? "Large" : "Small");
    });

TEST(DiscardRows, RightSeatRowsStackBehindTheTilesBelow)
{
    TableClient table;
    const auto& order = table.f.pic1->ZOrderList();
    auto top = [&](int k) { return order[order.size() - 1 - static_cast<std::size_t>(k)]; };
    LayDiscards(table, 3, 8);
    // First row: the first tile ends on top of its row.
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(top(1 + k), &table.f.MJ_Image[100 + k]) << k; // top(0) is the indicator
    LayDiscards(table, 3, 1);
    EXPECT_EQ(table.c.table.SideTiles[8], 100);
    EXPECT_EQ(top(1), &table.f.MJ_Image[100]); // the ninth (image 100 again) alone

    TableClient again;
    const auto& order2 = again.f.pic1->ZOrderList();
    LayDiscards(again, 3, 17);
    // Seventeenth: the second row from 15 down to 8, then the third row.
    std::vector<int> expected{116, 108, 109, 110, 111, 112, 113, 114, 115};
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(order2[order2.size() - 2 - k], &again.f.MJ_Image[expected[k]]) << k;
}

TEST(DiscardRows, ATwentyFifthRightSeatDiscardWritesNothingOutsideTheList)
{
    TableClient table;
    LayDiscards(table, 3, 25);
    EXPECT_EQ(table.c.table.SideTileCount, 24);
    EXPECT_FALSE(table.t.process.ended);
}

TEST(DiscardRows, AfterAKongTheDrawLaysNothingAndDoesNotPause)
{
    TableClient table;
    Client& c = table.c;
    c.table.PiZiImage = 70;
    c.table.DrawSkipsDiscardRow = -1;
    c.table.LastDiscardImage = 100;
    c.table.LastDiscardView = 1;
    table.f.MJ_Image[100].Move(3, 3, 5, 5);
    table.f.MJ_Image[71].ZOrder(0);
    const uint32_t before = table.t.clock.ms;
    table::LayLastDiscard(c.Table(), 8, 1);
    EXPECT_EQ(table.t.clock.ms, before);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[100].Left, 3);
    EXPECT_EQ(table.f.pic1->ZOrderList().back(), &table.f.MJ_Image[71]);
}

TEST(DiscardRows, OnlyASingleDrawPauses)
{
    TableClient table;
    Client& c = table.c;
    for (int count : {4, 1}) {
        c.table.LastDiscardImage = 100;
        c.table.LastDiscardView = 2;
        c.table.LastDiscardTile = 0x23;
        const uint32_t before = table.t.clock.ms;
        table::LayLastDiscard(c.Table(), 4, static_cast<uint8_t>(count));
        EXPECT_EQ(table.t.clock.ms - before, count == 1 ? 400u : 0u) << count;
    }
}

struct SpecialCase {
    int tile;
    int16_t wild;
};

class SpecialDiscard : public testing::TestWithParam<SpecialCase> {};

// A discarded red dragon, green dragon or wild tile goes to its discarder's
// special-kong row, whoever draws next.
TEST_P(SpecialDiscard, GoesToTheSpecialKongRowNotTheDiscardRow)
{
    TableClient table;
    Client& c = table.c;
    c.table.WildTile = GetParam().wild;
    table::PlayerRecord& p = table.Player(2);
    c.table.LastDiscardView = 2;
    c.table.LastDiscardImage = 100;
    c.table.LastDiscardTile = static_cast<int16_t>(GetParam().tile);
    table::LayLastDiscard(c.Table(), 8, 4);
    EXPECT_EQ(p.NextDiscardX, 635);
    EXPECT_EQ(p.NextDiscardY, 238);
    EXPECT_EQ(c.table.DiscardBlinkCount, 0);
    EXPECT_EQ(c.table.LastDiscardImage, -1);
    EXPECT_EQ(c.table.DrawSkipsDiscardRow, -1);
    EXPECT_EQ(p.RedLaid + p.GreenLaid + p.WildLaid, 1);
    EXPECT_EQ(p.Slots[static_cast<std::size_t>(p.MeldEnd - 2)].Image, 100);
    EXPECT_TRUE(table.f.MJ_Image[100].Visible);
    EXPECT_EQ(table.f.MJ_Image[100].PictureId(), 201 + table::TilePicIndex(2, GetParam().tile));
}

INSTANTIATE_TEST_SUITE_P(Tiles, SpecialDiscard,
                         testing::Values(SpecialCase{0x15, 0x29}, SpecialCase{0x16, 0x29}, SpecialCase{0x29, 0x29}),
                         [](const auto& info) { return "Tile" + std::to_string(info.param.tile); });

struct ColumnCase {
    int view;
    int tile;
    int laidBefore;
    float left, top;
    int entry; // LaidTileImages entry, -1 for none
};

class SpecialKongColumns : public testing::TestWithParam<ColumnCase> {};

TEST_P(SpecialKongColumns, EachTileStandsInItsColumn)
{
    const ColumnCase& k = GetParam();
    TableClient table;
    Client& c = table.c;
    c.table.WildTile = 0x29;
    table::PlayerRecord& p = table.Player(k.view);
    int16_t& count = k.tile == 0x15 ? p.RedLaid : k.tile == 0x16 ? p.GreenLaid : p.WildLaid;
    count = static_cast<int16_t>(k.laidBefore);
    c.table.LastDiscardView = static_cast<int16_t>(k.view);
    c.table.LastDiscardImage = 100;
    c.table.LastDiscardTile = static_cast<int16_t>(k.tile);
    table::LayLastDiscard(c.Table(), 8, 4);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[100].Left, k.left);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[100].Top, k.top);
    EXPECT_EQ(count, k.laidBefore + 1);
    if (k.entry >= 0) {
        EXPECT_EQ(c.game.LaidTileImages[static_cast<std::size_t>(k.view)][static_cast<std::size_t>(k.entry)], 100);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Views, SpecialKongColumns,
    testing::Values(ColumnCase{0, 0x15, 0, 19, 564, 0}, ColumnCase{0, 0x16, 0, 19 + 43, 564, 8},
                    ColumnCase{0, 0x29, 0, 19 + 86, 564, 4}, ColumnCase{0, 0x15, 3, 19, 564 - 54, 3},
                    ColumnCase{1, 0x16, 0, 163 - 5, 192 + 18, 8}, ColumnCase{1, 0x29, 1, 163 - 10, 192 + 36 - 18, 5},
                    ColumnCase{2, 0x29, 0, 842 - 68, 122, -1}, ColumnCase{3, 0x15, 0, 942 - 10, 560, 0},
                    ColumnCase{3, 0x16, 0, 942 - 15, 560 - 18, 8}),
    [](const auto& info) {
        return "View" + std::to_string(info.param.view) + "Tile" + std::to_string(info.param.tile) + "After" +
               std::to_string(info.param.laidBefore);
    });

TEST(SpecialKongColumns, TheFirstRedDragonIsCopiedToSlotZeroTheSecondIsNot)
{
    TableClient table;
    Client& c = table.c;
    for (int image : {100, 101}) {
        c.table.LastDiscardView = 1;
        c.table.LastDiscardImage = static_cast<int16_t>(image);
        c.table.LastDiscardTile = 0x15;
        c.table.DrawSkipsDiscardRow = 0; // as every draw leaves it
        table::LayLastDiscard(c.Table(), 8, 4);
    }
    EXPECT_EQ(table.Player(1).Slots[0].Image, 100);
    EXPECT_EQ(table.Player(1).RedLaid, 2);
}
