#include "app/client.h"
#include "dispatch/recording_plugin.h"
#include "support/table_fixture.h"
#include "table/wall.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::DealFrame;
using testing_support::DrawFrame;
using testing_support::TableClient;

namespace {

// The twelve tiles the local player is dealt in the tests below.
const std::initializer_list<int> kDealt{0x13, 0x85, 0x21, 0x41, 0x15, 0x89, 0x23, 0x42, 0x11, 0x81, 0x29, 0x47};

int FacePicture(int code) { return 201 + table::TilePicIndex(table::kLargeFaceGroup, code); }

struct SoundFolder {
    QTemporaryDir dir;
    QString drawn;
    explicit SoundFolder(Client& c)
    {
        drawn = dir.filePath(QStringLiteral("qupai.wav"));
        testing_support::WriteWave(drawn);
        c.window.Sound.SoundFiles[window::SoundTileDrawn] = drawn;
        c.window.Sound.SoundOn = -1;
    }
    int Plays(testing_support::TestClient& t, const QString& path) const
    {
        int n = 0;
        for (const auto& b : t.sound.buffers)
            n += b->path == path ? b->plays : 0;
        return n;
    }
};

} // namespace

TEST(Deal, TwelveTilesToEverySeatFromTheWallHead)
{
    TableClient table;
    SoundFolder sound(table.c);
    table.Deliver(DealFrame(12, kDealt));
    Client& c = table.c;

    EXPECT_EQ(c.table.WallHead, 48);
    EXPECT_EQ(sound.Plays(table.t, sound.drawn), 12);
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(table.Player(v).HandCount, 12) << v;

    // Each pass gives the local player four images, then the seats after it
    // in turn: view 3, view 2, view 1.
    const std::array<int, 12> ownImages{0, 1, 2, 3, 16, 17, 18, 19, 32, 33, 34, 35};
    auto codes = kDealt.begin();
    for (int i = 0; i < 12; ++i, ++codes) {
        const table::TileSlot& slot = table.Player(0).Slots[static_cast<std::size_t>(4 + i)];
        EXPECT_EQ(slot.Image, ownImages[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(slot.TileCode, *codes) << i;
        EXPECT_EQ(slot.Kind, 1);
        const platform::Image& img = table.f.MJ_Image[slot.Image];
        EXPECT_EQ(img.PictureId(), FacePicture(*codes)) << i;
        EXPECT_FLOAT_EQ(img.Left, 19 + (4 + i) * 48.0f);
        EXPECT_FLOAT_EQ(img.Top, 564);
        EXPECT_FLOAT_EQ(img.Width, 48);
        EXPECT_FLOAT_EQ(img.Height, 78);
    }
    EXPECT_EQ(table.Player(3).Slots[4].Image, 4);
    EXPECT_EQ(table.Player(2).Slots[4].Image, 8);
    EXPECT_EQ(table.Player(1).Slots[4].Image, 12);

    // Another seat's tiles stand as backs along its hand row.
    const platform::Image& left = table.f.MJ_Image[13]; // view 1, slot 5
    EXPECT_EQ(left.PictureId(), 201 + 36 + table::kStandingBack);
    EXPECT_FLOAT_EQ(left.Left, 163 - 5.0f * 5);
    EXPECT_FLOAT_EQ(left.Top, 192 + 35.0f * 5 / 2);
    const platform::Image& top = table.f.MJ_Image[9]; // view 2, slot 5
    EXPECT_EQ(top.PictureId(), 201 + 72 + table::kStandingBack);
    EXPECT_FLOAT_EQ(top.Left, 842 - 5 * 36.0f);
    EXPECT_FLOAT_EQ(top.Width, 36);
    const platform::Image& right = table.f.MJ_Image[5]; // view 3, slot 5
    EXPECT_FLOAT_EQ(right.Left, 942 - 5.0f * 6);
    EXPECT_FLOAT_EQ(right.Top, 560 - 35.0f * 6 / 2);
    EXPECT_EQ(c.table.LastDrawnImage, -1);
    EXPECT_FALSE(table.t.process.ended);
}

struct PassCase {
    int perSeat;
    int passes;
};

class DealPasses : public testing::TestWithParam<PassCase> {};

TEST_P(DealPasses, DealtInWholePassesOfFour)
{
    TableClient table;
    SoundFolder sound(table.c);
    table.Deliver(DealFrame(GetParam().perSeat, kDealt));
    EXPECT_EQ(table.Player(0).HandCount, 4 * GetParam().passes);
    EXPECT_EQ(table.Player(2).HandCount, 4 * GetParam().passes);
    EXPECT_EQ(sound.Plays(table.t, sound.drawn), 4 * GetParam().passes);
    EXPECT_FALSE(table.t.process.ended);
}

INSTANTIATE_TEST_SUITE_P(Counts, DealPasses,
                         testing::Values(PassCase{13, 3}, PassCase{2, 0}, PassCase{10, 2}, PassCase{6, 2},
                                         PassCase{1, 0}),
                         [](const auto& info) { return "PerSeat" + std::to_string(info.param.perSeat); });

TEST(Deal, ThePropRoundIsResetAtTheFirstDealFrameOnly)
{
    TableClient table;
    table.c.rewards.PropPlugin = std::make_shared<testing_support::RecordingPlugin>();
    table.c.rewards.PropPluginState = 1;
    table.Deliver(DealFrame(4, {0x11, 0x12, 0x13, 0x14}));
    EXPECT_EQ(table.c.game.PropRoundReset, -1);
    table.c.game.PropRoundReset = 0;
    table.Deliver(DealFrame(4, {0x11, 0x12, 0x13, 0x14}));
    EXPECT_EQ(table.c.game.PropRoundReset, 0);
}

struct CompletionCase {
    bool banker;
    int flippedAt; // the hand count at which the hand is shown face down and sorted
};

class DealCompletion : public testing::TestWithParam<CompletionCase> {};

// After the deal the server sends single draws: the banker's thirteenth,
// the other seats' thirteenth, then the banker's fourteenth. The hand is
// complete when it reaches 13 tiles (14 for the banker): it is shown face
// down for a second, then sorted face up.
TEST_P(DealCompletion, TheCompleteHandIsTurnedDownThenSorted)
{
    TableClient table;
    Client& c = table.c;
    c.game.Players[0].BankerMark = GetParam().banker ? -1 : 0;
    table.Deliver(DealFrame(12, kDealt));

    table.t.clock.Advance(5000);
    std::vector<int> backsSeen;
    table.t.clock.onEvents = [&] {
        // What the table shows while the client pauses.
        if (table.f.MJ_Image[0].PictureId() == 201 + table::kStandingBack)
            backsSeen.push_back(table.Player(0).HandCount);
    };

    std::vector<int> order = GetParam().banker ? std::vector<int>{1, 2, 4, 8, 1} : std::vector<int>{2, 4, 8, 1, 2};
    for (int seat : order)
        table.Deliver(DrawFrame(seat, seat == 1 ? 0x16 : 0));

    EXPECT_EQ(table.Player(0).HandCount, GetParam().banker ? 14 : 13);
    ASSERT_FALSE(backsSeen.empty());
    EXPECT_EQ(backsSeen.front(), GetParam().flippedAt);
    // Sorted: dots, characters, bamboo, honours by rank, the dragons first.
    const std::vector<int16_t> sortedBanker{0x15, 0x16, 0x16, 0x81, 0x85, 0x89, 0x41, 0x42,
                                            0x47, 0x21, 0x23, 0x29, 0x11, 0x13};
    std::vector<int16_t> expected = sortedBanker;
    if (!GetParam().banker)
        expected.erase(expected.begin() + 1);
    EXPECT_EQ(table.OwnHandCodes(), expected);
    const table::PlayerRecord& p = table.Player(0);
    for (int i = p.HandFirst; i < p.HandFirst + p.HandCount; ++i) {
        const table::TileSlot& slot = p.Slots[static_cast<std::size_t>(i)];
        EXPECT_EQ(table.f.MJ_Image[slot.Image].PictureId(), FacePicture(slot.TileCode)) << i;
    }
    EXPECT_EQ(c.table.WallHead, 53);
    // Every draw forgets the marked tile first; only the local player's own
    // draw marks one.
    EXPECT_EQ(c.table.LastDrawnImage, GetParam().banker ? 52 : -1);
    EXPECT_EQ(c.table.DrawFromHead, -1);
}

INSTANTIATE_TEST_SUITE_P(Seats, DealCompletion,
                         testing::Values(CompletionCase{true, 14}, CompletionCase{false, 13}),
                         [](const auto& info) { return info.param.banker ? "Banker" : "OtherSeat"; });

TEST(Draw, OwnHeadDrawOnceTheWildTileIsKnownStandsApart)
{
    TableClient table;
    Client& c = table.c;
    c.table.WildTile = 0x29;
    table.GiveOwnHand({0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26}, 100);
    table.f.MJ_Image[104].Move(table.f.MJ_Image[104].Left, 564 - 10); // raised by the pointer
    c.table.WallHead = 60;
    table.Deliver(DrawFrame(1, 0x27));

    const table::PlayerRecord& p = table.Player(0);
    EXPECT_EQ(p.HandCount, 14);
    EXPECT_EQ(p.Slots[17].Image, 60);
    EXPECT_EQ(p.Slots[17].TileCode, 0x27);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[60].Left, 19 + 17 * 48.0f + 24);
    EXPECT_EQ(table.f.MJ_Image[60].PictureId(), FacePicture(0x27));
    EXPECT_FLOAT_EQ(table.f.MJ_Image[104].Top, 564);
    EXPECT_EQ(c.table.WallHead, 61);
    EXPECT_EQ(c.table.LastDrawnImage, 60);
}

TEST(Draw, WallHeadWrapsAroundTheRing)
{
    TableClient table;
    table.c.table.WallHead = 135;
    table.Deliver(DrawFrame(4));
    EXPECT_EQ(table.Player(2).Slots[4].Image, 135);
    EXPECT_EQ(table.c.table.WallHead, 0);
}

struct TailCase {
    int16_t from;
    int16_t next;
};

class WallTail : public testing::TestWithParam<TailCase> {};

TEST_P(WallTail, UpperThenLowerThenTheStackBefore)
{
    EXPECT_EQ(table::NextWallTail(GetParam().from), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(Ring, WallTail,
                         testing::Values(TailCase{128, 129}, TailCase{129, 126}, TailCase{126, 127},
                                         TailCase{127, 124}, TailCase{1, 134}, TailCase{134, 135},
                                         TailCase{0, 1}),
                         [](const auto& info) { return "From" + std::to_string(info.param.from); });

struct ReplacementCase {
    int view;
    float left;
    float top;
};

class ReplacementDraw : public testing::TestWithParam<ReplacementCase> {};

// After a kong the seat's replacement tile comes from the wall tail and
// stands apart; the indicator moves to the new tail.
TEST_P(ReplacementDraw, FromTheTailSetApart)
{
    TableClient table;
    Client& c = table.c;
    const int v = GetParam().view;
    c.table.WildTile = 0x29;
    c.table.PiZiTile = 0x28;
    c.table.PiZiImage = 70;
    c.table.WallTail = 128;
    c.table.DrawFromHead = 0;
    c.table.DrawSkipsDiscardRow = -1;
    c.table.LastDiscardImage = 90;
    table.f.MJ_Image[90].Move(1, 1, 5, 5);
    if (v == 0)
        table.GiveOwnHand({0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x21, 0x22, 0x23}, 100);
    else
        table.GiveOtherHand(v, 10, 100);
    table.Deliver(DrawFrame(table.SeatBitOf(v), v == 0 ? 0x27 : 0));

    const table::TileSlot& drawn = table.Player(v).Slots[14];
    EXPECT_EQ(drawn.Image, 128);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[128].Left, GetParam().left);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[128].Top, GetParam().top);
    EXPECT_EQ(c.table.WallTail, 129);
    EXPECT_EQ(c.table.DrawFromHead, -1);
    EXPECT_EQ(c.table.DrawSkipsDiscardRow, 0);
    // The indicator lies on the stack at the new tail; the discard was not laid.
    EXPECT_FLOAT_EQ(table.f.MJ_Image[70].Left, table.f.MJ_Image[129].Left);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[90].Left, 1);
    EXPECT_EQ(c.table.LastDrawnImage, v == 0 ? 128 : -1);
}

INSTANTIATE_TEST_SUITE_P(Views, ReplacementDraw,
                         testing::Values(ReplacementCase{0, 19 + 14 * 48.0f + 24, 564},
                                         ReplacementCase{1, 163 - 5.0f * 14, 192 + 35.0f * 14 / 2 + 10},
                                         ReplacementCase{2, 842 - 14 * 36.0f - 10, 122},
                                         ReplacementCase{3, 942 - 5.0f * 15, 560 - 35.0f * 15 / 2 - 10}),
                         [](const auto& info) { return "View" + std::to_string(info.param.view); });

TEST(Draw, LeftSeatDrawBringsTheOwnSpecialKongRowToTheFront)
{
    TableClient table;
    Client& c = table.c;
    table::PlayerRecord& own = table.Player(0);
    own.WildLaid = 1;
    own.RedLaid = 2;
    c.game.LaidTileImages[0][4] = 40;
    c.game.LaidTileImages[0][0] = 41;
    c.game.LaidTileImages[0][1] = 42;
    table.Deliver(DrawFrame(8));
    const auto& order = table.f.pic1->ZOrderList();
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[order.size() - 3], &table.f.MJ_Image[40]);
    EXPECT_EQ(order[order.size() - 2], &table.f.MJ_Image[41]);
    EXPECT_EQ(order[order.size() - 1], &table.f.MJ_Image[42]);
}
