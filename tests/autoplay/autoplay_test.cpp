#include "autoplay/autoplay.h"

#include "protocol/kinds.h"
#include "protocol/operations.h"
#include "support/table_fixture.h"
#include "window/pictures.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using testing_support::TableClient;
using testing_support::WordOf;

constexpr int East = 0x11;
constexpr int Wild = 0x49; // the 9 of characters
constexpr int B(int rank) { return 0x20 + rank; }
constexpr int D(int rank) { return 0x80 + rank; }

constexpr int kChow = 0, kPong = 1, kKong = 2, kWin = 3;
constexpr int kDiscardImage = 60; // another seat's discard in the middle

// The local player's hand from image 0 on; the countdown has run out
// (TurnPhase 3) and no operation went out yet.
struct Decision : TableClient {
    explicit Decision(const std::vector<int>& hand)
    {
        GiveOwnHand(hand, 0);
        c.table.WildTile = Wild;
        c.table.LastDrawnImage = static_cast<int16_t>(hand.size() - 1);
        c.table.LastDiscardImage = kDiscardImage;
        c.game.TurnPhase = 3;
        c.game.OpSent = 0;
    }
    void Offer(std::initializer_list<int> ops, int tile)
    {
        for (int op : ops)
            c.game.OfferedOps[static_cast<std::size_t>(op)] = 2;
        c.table.LastDiscardTile = static_cast<int16_t>(tile);
    }
};

// Kind and data word 0 of each frame sent.
std::vector<std::pair<int, int>> KindsAndOps(const std::vector<protocol::GameFrame>& frames)
{
    std::vector<std::pair<int, int>> out;
    for (const protocol::GameFrame& f : frames)
        out.emplace_back(f[3], WordOf(f, 0));
    return out;
}

const std::pair<int, int> Pass{protocol::CmdOperation, protocol::OpPass};
const std::pair<int, int> Win{protocol::CmdOperation, protocol::OpWin};
const std::pair<int, int> Pong{protocol::CmdOperation, protocol::OpPong};
const std::pair<int, int> Chow{protocol::CmdOperation, protocol::OpChow};
const std::pair<int, int> SpecialKong{protocol::CmdOperation, protocol::OpSpecialKong};
const std::pair<int, int> Discard{protocol::CmdDiscard, 0};

TEST(AutoPlayStep, SendsItsFramesInTheOrderOfItsSteps)
{
    struct Case {
        const char* name;
        std::vector<int> hand;
        std::vector<int> offered;
        int tile;
        int16_t opSent;
        int16_t allowedOps;
        std::vector<std::pair<int, int>> frames;
    };
    const std::vector<Case> cases{
        {"nothing offered, a discard due: the pass, then the discard",
         {D(9), B(2), B(3), B(4), B(7)}, {}, 0, 0, 0, {Pass, Discard}},
        {"a win offered with a pong: the win alone", {East, East, B(1), B(2)}, {kWin, kPong}, East, 0, 0, {Win}},
        {"already answered: no claim and no pass, the due discard still made",
         {D(9), B(2), B(3), B(4), B(7)}, {kPong}, D(9), -1, 0, {Discard}},
        {"a worthwhile pong alone", {East, East, B(1), B(2)}, {kPong}, East, 0, 0, {Pong}},
        {"a pong on a tile held once: the pass", {East, B(1), B(2), B(5)}, {kPong}, East, 0, 0, {Pass}},
        {"a worthwhile chow alone", {East, East, B(2), B(3), B(5), B(6), D(9)}, {kChow}, B(4), 0, 0, {Chow}},
        {"a lone wild tile heading the kongs: no kong, the pass",
         {Wild, B(1), B(2), B(3), D(1), D(2), D(3)}, {kKong}, 0, 0, protocol::OpSpecialKong, {Pass}},
        {"two wild tiles: the kong of the first alone",
         {Wild, Wild, B(1), B(2), B(3), D(1), D(2), D(3)}, {kKong}, 0, 0, protocol::OpSpecialKong, {SpecialKong}},
    };
    for (const Case& k : cases) {
        Decision d(k.hand);
        d.Offer({}, k.tile);
        for (int op : k.offered)
            d.c.game.OfferedOps[static_cast<std::size_t>(op)] = 2;
        d.c.game.OpSent = k.opSent;
        d.c.game.AllowedOps = k.allowedOps;
        autoplay::AutoPlayStep(d.c);
        EXPECT_EQ(KindsAndOps(d.TakeSent()), k.frames) << k.name;
        EXPECT_EQ(d.c.game.OpSent, -1) << k.name;
        EXPECT_EQ(d.c.table.DiscardDue, 0) << k.name;
        EXPECT_FALSE(d.t.process.ended) << k.name;
    }
}

TEST(AutoPlayStep, DiscardsTheLeastUsefulTileFromTheSortedHand)
{
    // Without the 9 of dots the hand scores 957, without the 7 of bamboo 955.
    Decision d({B(2), B(7), D(9), B(3), B(4)});
    d.c.table.LastDrawnImage = 2; // the 9 of dots was drawn last
    d.c.table.DiscardDue = -1;
    autoplay::AutoPlayStep(d.c);

    const auto frames = d.TakeSent();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(WordOf(frames[1], 3), 0x4000 | D(9));
    EXPECT_EQ(WordOf(frames[1], 1), 0) << "the drawn tile's own image was picked";
    EXPECT_EQ(frames[1][6], d.SeatBitOf(0));

    // Sorted: dots first. The tile leaves from slot 4, whose image now
    // shows it in the middle of the table; the rest close the gap.
    EXPECT_EQ(d.OwnHandCodes(), (std::vector<int16_t>{D(9), B(2), B(3), B(4), B(7)}));
    const table::PlayerRecord& p = d.Player(0);
    const int image = p.Slots[4].Image;
    EXPECT_EQ(d.c.table.LastDiscardImage, image);
    EXPECT_EQ(d.c.table.LastDiscardView, 0);
    const platform::Image& laid = d.f.MJ_Image[image];
    EXPECT_EQ(laid.Tag, QStringLiteral("4"));
    EXPECT_EQ(laid.Width, 36);
    EXPECT_EQ(laid.Height, 50);
    EXPECT_EQ(laid.Left, (d.f.pic1->width() - 36) / 2.0f);
    EXPECT_EQ(laid.Top, (d.f.pic1->height() - 50) / 2.0f);
    EXPECT_EQ(laid.PictureId(), 201 + table::TilePicIndex(0, D(9)));
    for (int i = 5; i <= 8; ++i) {
        const platform::Image& rest = d.f.MJ_Image[p.Slots[static_cast<std::size_t>(i)].Image];
        EXPECT_EQ(rest.Left, p.HandX + 48.0f * static_cast<float>(i - 1)) << "slot " << i;
        EXPECT_EQ(rest.Top, p.HandY) << "slot " << i;
    }
    EXPECT_EQ(d.c.table.TileWidth[0], 48);
    EXPECT_EQ(d.c.table.TileHeight[0], 78);
}

TEST(AutoPlayStep, ADiscardPickedFromAnotherImageThanTheDrawnOneSaysSo)
{
    Decision d({B(2), B(7), D(9), B(3), B(4)});
    d.c.table.LastDrawnImage = 4;
    autoplay::AutoPlayStep(d.c);
    const auto frames = d.TakeSent();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(WordOf(frames[1], 1), 1);
}

TEST(AutoPlayStep, AWinOnADiscardShowsTheTileAtTheEndOfTheHand)
{
    Decision d({East, East, B(1), B(2)});
    d.Offer({kWin}, B(3));
    autoplay::AutoPlayStep(d.c);
    const table::PlayerRecord& p = d.Player(0);
    const platform::Image& last = d.f.MJ_Image[p.Slots[7].Image];
    const platform::Image& won = d.f.MJ_Image[kDiscardImage];
    EXPECT_EQ(won.Left, last.Left + 48);
    EXPECT_EQ(won.Top, p.HandY);
    EXPECT_EQ(won.Width, 48);
    EXPECT_EQ(won.Height, 78);
    EXPECT_EQ(won.PictureId(), 201 + table::TilePicIndex(0, B(3)));
    EXPECT_TRUE(won.Visible);
}

TEST(AutoPlayStep, TheChowSendsThePartnersItChose)
{
    Decision d({East, East, B(2), B(3), B(5), B(6), D(9)});
    d.Offer({kChow, kPong}, B(4));
    autoplay::AutoPlayStep(d.c);
    const auto frames = d.TakeSent();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(WordOf(frames[0], 0), protocol::OpChow);
    EXPECT_EQ(WordOf(frames[0], 1), protocol::ClaimTile(B(2)));
    EXPECT_EQ(WordOf(frames[0], 2), protocol::ClaimTile(B(3)));
    EXPECT_EQ(WordOf(frames[0], 3), protocol::ClaimTile(B(4)));
    EXPECT_EQ(d.c.table.ChiChoices[0], 6);
    EXPECT_EQ(d.c.table.ChiChoices[1], 7);
}

TEST(AutoPlayStep, HidesTheChoiceControls)
{
    Decision d({East, B(1), B(2), B(5)});
    window::MainForm& f = d.f;
    for (int i = 0; i < 5; ++i) {
        f.Operation[i].SetVisible(true);
        f.Operation[i].Enabled = true;
        f.Gang[i].SetVisible(true);
    }
    window::LoadGifResource(142, QStringLiteral("GIF"), f.Operation[0]); // the chow button's hover picture
    for (int i = 0; i < 6; ++i)
        f.Chi[i].SetVisible(true);
    autoplay::AutoPlayStep(d.c);
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(f.Operation[i].Visible) << i;
        EXPECT_FALSE(f.Operation[i].Enabled) << i;
        EXPECT_EQ(f.Operation[i].PictureId(), 141 + 3 * i) << i;
        EXPECT_FALSE(f.Gang[i].Visible) << i;
    }
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(f.Chi[i].Visible) << i;
}

TEST(AutoPlayStep, ValuesOutOfRangeTakeTheFailurePathBeforeAnyFrame)
{
    struct Case {
        const char* name;
        void (*spoil)(Decision&);
    };
    const std::vector<Case> cases{
        {"a claimed tile of rank 0", [](Decision& d) { d.Offer({kPong}, 0x80); }},
        {"a claimed tile of rank 10", [](Decision& d) { d.Offer({kChow}, 0x2A); }},
        {"an honour above the white dragon", [](Decision& d) { d.Offer({kPong}, 0x18); }},
        {"a hand running past the last slot", [](Decision& d) { d.Player(0).HandFirst = 15; }},
        {"a won tile's image beyond the table's", [](Decision& d) {
             d.Offer({kWin}, East);
             d.Player(0).HandCount = 4;
             d.c.table.LastDiscardImage = 136;
         }},
        {"a hand tile with no image", [](Decision& d) {
             d.Player(0).Slots[8].Image = -1;
         }},
    };
    for (const Case& k : cases) {
        Decision d({D(9), B(2), B(3), B(4), B(7)});
        k.spoil(d);
        autoplay::AutoPlayStep(d.c);
        EXPECT_TRUE(d.t.process.ended) << k.name;
        EXPECT_TRUE(d.TakeSent().empty()) << k.name;
    }
}

TEST(TimeoutAction, DiscardsTheLastSlotWithoutSorting)
{
    struct Case {
        int16_t drawn;
        int data1;
    };
    for (const Case& k : {Case{4, 0}, Case{2, 1}}) {
        Decision d({D(9), East, B(3), B(1), D(2)});
        d.c.table.LastDrawnImage = k.drawn;
        d.c.table.DiscardDue = -1;
        d.Player(0).Slots[8].TileCode = static_cast<int16_t>(0x1182);
        autoplay::TimeoutAction(d.c);

        const auto frames = d.TakeSent();
        ASSERT_EQ(KindsAndOps(frames), (std::vector<std::pair<int, int>>{Pass, Discard}));
        EXPECT_EQ(WordOf(frames[1], 1), k.data1);
        EXPECT_EQ(WordOf(frames[1], 3), 0x4182) << "the full code, masked";
        EXPECT_EQ(d.OwnHandCodes(), (std::vector<int16_t>{D(9), East, B(3), B(1), 0x1182}));
        EXPECT_EQ(d.c.table.DiscardDue, 0);
        EXPECT_EQ(d.c.table.LastDiscardImage, 4);
        const platform::Image& laid = d.f.MJ_Image[4];
        EXPECT_EQ(laid.Tag, QStringLiteral("8"));
        EXPECT_EQ(laid.Width, 36);
        EXPECT_EQ(laid.PictureId(), 201 + table::TilePicIndex(0, D(2)));
        EXPECT_EQ(d.f.MJ_Image[3].Left, d.Player(0).HandX + 7 * 48.0f) << "no other tile moves";
        EXPECT_EQ(d.c.table.TileWidth[0], 48);
    }
}

TEST(TimeoutAction, PassesOnlyWhenNotYetAnsweredAndDiscardsOnlyWhenDue)
{
    struct Case {
        const char* name;
        std::vector<int> hand;
        int16_t opSent;
        std::vector<std::pair<int, int>> frames;
    };
    const std::vector<Case> cases{
        {"answered, a discard due", {D(9), B(2), B(3), B(4), B(7)}, -1, {Discard}},
        {"not answered, no discard due", {D(9), B(2), B(3), B(4)}, 0, {Pass}},
        {"answered, no discard due", {D(9), B(2), B(3), B(4)}, -1, {}},
    };
    for (const Case& k : cases) {
        Decision d(k.hand);
        d.c.game.OpSent = k.opSent;
        autoplay::TimeoutAction(d.c);
        EXPECT_EQ(KindsAndOps(d.TakeSent()), k.frames) << k.name;
    }
}

} // namespace
