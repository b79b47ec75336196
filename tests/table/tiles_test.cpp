#include "table/tiles.h"

#include "support/test_client.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace table;
using testing_support::TestClient;

TEST(Tiles, BitIndexAndBitOf)
{
    const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {7, 2}, {8, 3}, {15, 3}, {128, 7}, {255, 7}};
    for (auto [value, index] : cases)
        EXPECT_EQ(BitIndex(static_cast<uint8_t>(value)), index) << value;
    EXPECT_EQ(BitOf(-3), 1);
    EXPECT_EQ(BitOf(0), 1);
    EXPECT_EQ(BitOf(3), 8);
    EXPECT_EQ(BitOf(14), 16384);
}

TEST(Tiles, SeatViews)
{
    // own seat bit, other seat bit, view
    const int cases[][3] = {{1, 1, 0}, {1, 2, 3}, {1, 4, 2}, {1, 8, 1}, {4, 8, 3}, {4, 1, 2},
                            {4, 2, 1}, {8, 1, 3}, {0, 2, 3}, {2, 1, 1}};
    for (auto& c : cases)
        EXPECT_EQ(SeatView(static_cast<uint8_t>(c[0]), static_cast<uint8_t>(c[1])), c[2]) << c[0] << " " << c[1];
}

TEST(Tiles, PictureIndexesAndGifIdsForAllViews)
{
    TestClient t;
    struct Case {
        int group, code, index;
    };
    const Case cases[] = {
        {0, 0x11, 0},  {0, 0x17, 6},  {0, 0x21, 9},   {0, 0x49, 26},  {0, 0x89, 35}, {1, 0x15, 40},
        {2, 0x83, 101}, {3, 0x16, 113}, {4, 0x11, 144}, {4, 0x89, 179}, {4, 0x14, 147}};
    for (const Case& c : cases) {
        EXPECT_EQ(TilePicIndex(c.group, c.code), c.index) << std::hex << c.code;
        EXPECT_EQ(t.client.window.PicIds.TilePicIds[static_cast<std::size_t>(c.index)].toInt(), 201 + c.index);
    }
    // Offsets 7 and 8 of each group are the two backs.
    for (int v = 0; v <= 4; ++v) {
        EXPECT_EQ(36 * v + kStandingBack, TilePicIndex(v, 0x18));
        EXPECT_EQ(36 * v + kFaceDownBack, TilePicIndex(v, 0x19));
    }
}

TEST(Tiles, ShowTileImageBounds)
{
    TestClient t;
    auto& img = t.client.MainForm->MJ_Image;
    for (auto [image, picture] : {std::pair{136, 0}, {0, 180}, {-1, 0}, {0, -1}}) {
        ShowTileImage(t.client.Table(), image, picture);
    }
    for (int i = 0; i < 136; ++i)
        EXPECT_EQ(img[i].PictureId(), 0) << i;

    ShowTileImage(t.client.Table(), 5, 179);
    EXPECT_EQ(img[5].PictureId(), 380);
    EXPECT_TRUE(img[5].Visible);

    // A picture that cannot be loaded leaves the image hidden and unchanged.
    t.client.window.PicIds.TilePicIds[3] = QStringLiteral("121");
    ShowTileImage(t.client.Table(), 5, 3);
    EXPECT_FALSE(img[5].Visible);
    EXPECT_EQ(img[5].PictureId(), 380);
}

TEST(Tiles, FindHandTileLooksOnlyAtHandSlots)
{
    TestClient t;
    PlayerRecord& p = t.client.game.Players[0];
    p.HandFirst = 4;
    p.HandCount = 3;
    p.Slots[2].Image = 50; // a meld
    p.Slots[4].Image = 10;
    p.Slots[6].Image = 12;
    p.Slots[7].Image = 13; // past the hand
    EXPECT_EQ(FindHandTile(t.client.Table(), 12), 6);
    EXPECT_TRUE(HandHasTile(t.client.Table(), 10));
    EXPECT_EQ(FindHandTile(t.client.Table(), 50), -1);
    EXPECT_EQ(FindHandTile(t.client.Table(), 13), -1);
    EXPECT_FALSE(HandHasTile(t.client.Table(), 99));
}

struct ArrangeCase {
    const char* name;
    int16_t wild;
    std::vector<int16_t> hand;
    std::vector<int16_t> expected;
    int16_t wildIn, redIn, greenIn;
};
void PrintTo(const ArrangeCase& c, std::ostream* os) { *os << c.name; }

class ArrangeTest : public ::testing::TestWithParam<ArrangeCase> {};

TEST_P(ArrangeTest, Order)
{
    const ArrangeCase& a = GetParam();
    TestClient t;
    t.client.table.WildTile = a.wild;
    PlayerRecord& p = t.client.game.Players[0];
    p.HandFirst = 4;
    p.HandCount = static_cast<int16_t>(a.hand.size());
    p.GreenInHand = 9; // kept when the green dragon is wild
    for (std::size_t i = 0; i < a.hand.size(); ++i) {
        p.Slots[4 + i].TileCode = a.hand[i];
        p.Slots[4 + i].Image = static_cast<int16_t>(20 + i);
    }
    ArrangeHand(t.client.Table(), 0, p.HandCount);
    std::vector<int16_t> got;
    for (std::size_t i = 0; i < a.hand.size(); ++i) {
        got.push_back(p.Slots[4 + i].TileCode);
        EXPECT_EQ(p.Slots[4 + i].Image, 20 + static_cast<int>(i)); // images stay in their slots
    }
    EXPECT_EQ(got, a.expected);
    EXPECT_EQ(p.WildInHand, a.wildIn);
    EXPECT_EQ(p.RedInHand, a.redIn);
    EXPECT_EQ(p.GreenInHand, a.greenIn);
}

INSTANTIATE_TEST_SUITE_P(
    Tiles, ArrangeTest,
    ::testing::Values(
        ArrangeCase{"wild_then_red", 0x21, {0x83, 0x21, 0x15, 0x41, 0x13}, {0x21, 0x15, 0x83, 0x41, 0x13}, 1, 1, 0},
        ArrangeCase{"no_wild_yet", -1, {0x21, 0x89, 0x16, 0x15, 0x81}, {0x15, 0x16, 0x81, 0x89, 0x21}, 0, 1, 1},
        ArrangeCase{"suits_by_rank", -1, {0x13, 0x41, 0x29, 0x88, 0x21}, {0x88, 0x41, 0x21, 0x29, 0x13}, 0, 0, 0},
        ArrangeCase{"green_is_wild", 0x16,
                    {0x16, 0x82, 0x15, 0x16, 0x11},
                    {0x16, 0x16, 0x15, 0x82, 0x11}, 2, 1, 9},
        ArrangeCase{"wild_red_green_groups", 0x45,
                    {0x16, 0x45, 0x15, 0x81, 0x45, 0x16, 0x15},
                    {0x45, 0x45, 0x15, 0x15, 0x16, 0x16, 0x81}, 2, 2, 2},
        // The red dragon as wild tile: it stands in the wild group only,
        // no tile is lost or doubled.
        ArrangeCase{"red_is_wild", 0x15,
                    {0x83, 0x15, 0x16, 0x15, 0x22, 0x11},
                    {0x15, 0x15, 0x16, 0x83, 0x22, 0x11}, 2, 0, 1},
        ArrangeCase{"empty", 0x21, {}, {}, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Tiles, ArrangeRedrawsOnlyChangedSlotsOnceTheWildTileIsKnown)
{
    TestClient t;
    auto& img = t.client.MainForm->MJ_Image;
    PlayerRecord& p = t.client.game.Players[0];
    p.HandFirst = 4;
    p.HandCount = 3;
    const int16_t codes[] = {0x81, 0x82, 0x41};
    for (int i = 0; i < 3; ++i) {
        p.Slots[static_cast<std::size_t>(4 + i)].TileCode = codes[i];
        p.Slots[static_cast<std::size_t>(4 + i)].Image = static_cast<int16_t>(i);
    }
    // Before the wild tile every slot is redrawn, with the large faces.
    ArrangeHand(t.client.Table(), 0, 3);
    EXPECT_EQ(img[0].PictureId(), 201 + 144 + 27);
    EXPECT_EQ(img[2].PictureId(), 201 + 144 + 18);

    // With the wild tile known, unchanged slots keep their picture.
    t.client.table.WildTile = 0x41;
    img[0].SetPicture({999, {}});
    ArrangeHand(t.client.Table(), 0, 3);
    EXPECT_EQ(p.Slots[4].TileCode, 0x41);
    EXPECT_EQ(img[0].PictureId(), 201 + 144 + 18); // changed: redrawn
    EXPECT_EQ(img[1].PictureId(), 201 + 144 + 27);
}

TEST(Tiles, ArrangeOtherViewUsesItsGroup)
{
    TestClient t;
    PlayerRecord& p = t.client.game.Players[2];
    p.HandFirst = 4;
    p.Slots[4] = {1, 0x23, 40};
    ArrangeHand(t.client.Table(), 2, 1);
    EXPECT_EQ(t.client.MainForm->MJ_Image[40].PictureId(), 201 + 72 + 9 + 2);
}
