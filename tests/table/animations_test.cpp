#include "table/animations.h"

#include "core/table_reset.h"
#include "support/test_client.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "table/utilities.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace table;
using testing_support::TestClient;

namespace {

constexpr int kTileGif = 201;
constexpr int kDieGif = 161; // faces 1-6, then ten tumbling pictures

bool IsTumbling(int id) { return id >= kDieGif + 6 && id <= kDieGif + 15; }

} // namespace

// ---- Seat draw ----

struct SeatDrawCase {
    int16_t seatIndex;
    int picture;
};

class SeatDraw : public testing::TestWithParam<SeatDrawCase> {};

TEST_P(SeatDraw, OneBackTurnsIntoTheSeatsWind)
{
    TestClient t;
    Client& c = t.client;
    core::ResetTableDisplay(c);
    window::MainForm& f = *c.MainForm;
    std::vector<int> shown; // pictures of images 0-3 half-way
    const double start = t.clock.seconds;
    t.clock.onEvents = [&] {
        if (shown.empty() && t.clock.seconds - start >= 0.5)
            for (int i = 0; i < 4; ++i)
                shown.push_back(f.MJ_Image[i].PictureId());
    };
    AnimateSeatDraw(c.Table(), GetParam().seatIndex);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), kTileGif + GetParam().picture), 1);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), kTileGif + kStandingBack), 3);
    EXPECT_GE(t.clock.seconds - start, 1.0);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(f.MJ_Image[i].Visible);
    // Side by side in the middle of the table.
    EXPECT_EQ(f.MJ_Image[0].Left, 512 - 2 * 36);
    EXPECT_EQ(f.MJ_Image[3].Left, 512 + 36);
    EXPECT_EQ(f.MJ_Image[0].Top, 384 - 50);
}

INSTANTIATE_TEST_SUITE_P(Animations, SeatDraw,
                         testing::Values(SeatDrawCase{0, 147}, SeatDrawCase{1, 146}, SeatDrawCase{2, 145},
                                         SeatDrawCase{3, 144}));

// ---- Compass ----

TEST(Animations, TheCompassSeatsAnUnseatedPlayerAtIndexZero)
{
    TestClient t;
    ShowSeatCompass(t.client.Table());
    EXPECT_EQ(t.client.game.Players[0].SeatBit, 1);
    EXPECT_EQ(t.client.MainForm->ZhiNan.PictureId(), 126);
    EXPECT_TRUE(t.client.MainForm->ZhiNan.Visible);
}

TEST(Animations, TheCompassTurnsForTheOwnSeat)
{
    TestClient t;
    t.client.game.Players[0].SeatBit = 8;
    ShowSeatCompass(t.client.Table());
    EXPECT_EQ(t.client.MainForm->ZhiNan.PictureId(), 129);
}

// ---- Deal ----

TEST(Animations, TheDealBuildsTheWallStackByStack)
{
    TestClient t;
    Client& c = t.client;
    core::ResetTableDisplay(c);
    window::MainForm& f = *c.MainForm;
    GameState& g = c.game;
    g.ChoiceTileA.fill(3);
    g.ChoiceCount = 4;
    g.ShownWallCount = 2;
    g.ShownWallPos.fill(9);
    g.ChoiceState = 2;
    g.ChoiceSel2 = 5;
    g.ConcealedKongCount = 16;
    g.ConcealedKongImages.fill(7);
    // Stacks visible on each side at each round of events.
    std::vector<int> bottomStacks;
    t.clock.onEvents = [&] {
        int n = 0;
        while (n < 17 && f.MJ_Image[2 * n].Visible)
            ++n;
        bottomStacks.push_back(n);
    };
    ASSERT_TRUE(AnimateDeal(c.Table()));
    for (int side = 0; side < 4; ++side)
        for (int i = 0; i < 34; ++i) {
            const int image = 34 * side + i;
            ASSERT_TRUE(f.MJ_Image[image].Visible) << image;
            ASSERT_EQ(f.MJ_Image[image].PictureId(), kTileGif + 36 * side + kFaceDownBack) << image;
        }
    ASSERT_FALSE(bottomStacks.empty());
    EXPECT_EQ(bottomStacks.front(), 2); // stack 0 at once, stack 1 at the first step
    EXPECT_EQ(bottomStacks.back(), 17);
    EXPECT_TRUE(std::is_sorted(bottomStacks.begin(), bottomStacks.end()));
    EXPECT_EQ(t.lobby.posted, (std::vector<uint32_t>{0x467}));
    EXPECT_EQ(g.ChoiceTileA, (std::array<int16_t, 16>{}));
    EXPECT_EQ(g.ChoiceCount, 0);
    EXPECT_EQ(g.ShownWallCount, 0);
    EXPECT_EQ(g.ShownWallPos, (std::array<int16_t, 5>{}));
    EXPECT_EQ(g.ChoiceState, 0);
    EXPECT_EQ(g.ChoiceSel1, 0);
    EXPECT_EQ(g.ChoiceSel2, 1);
    EXPECT_EQ(g.ConcealedKongCount, 0);
    EXPECT_EQ(g.ConcealedKongImages[15], 0);
    EXPECT_FALSE(t.process.ended);
}

TEST(Animations, TheDealGoesOnWithoutALobbyWindow)
{
    TestClient t;
    t.lobby.exists = false;
    core::ResetTableDisplay(t.client);
    EXPECT_TRUE(AnimateDeal(t.client.Table()));
    EXPECT_TRUE(t.lobby.posted.empty());
    EXPECT_TRUE(t.client.MainForm->MJ_Image[135].Visible);
}

// ---- Dice ----

TEST(Animations, TheDiceRollTwiceAndEndOnTheFourValues)
{
    TestClient t;
    Client& c = t.client;
    window::MainForm& f = *c.MainForm;
    std::array<int16_t, 4> dice = {0, 2, 5, 6};
    std::vector<std::pair<int, int>> seen; // the dice's pictures at each round of events
    t.clock.onEvents = [&] { seen.emplace_back(f.Sai_Image[0].PictureId(), f.Sai_Image[1].PictureId()); };
    const double start = t.clock.seconds;
    const DiceRollSteps steps = AnimateDiceRoll(c.Table(), 1, dice);

    EXPECT_EQ(dice, (std::array<int16_t, 4>{1, 2, 5, 6})); // the 0 became a 1
    EXPECT_GE(steps.first, 21);
    EXPECT_LE(steps.first, 25);
    EXPECT_GE(steps.second, 21);
    EXPECT_LE(steps.second, 25);
    EXPECT_GE(t.clock.seconds - start, 1.2);
    EXPECT_FALSE(f.Sai_Image[0].Visible);
    EXPECT_FALSE(f.Sai_Image[1].Visible);
    EXPECT_EQ(f.Sai_Image[0].Left, 400);
    EXPECT_EQ(f.Sai_Image[1].Left, 560);
    EXPECT_EQ(f.Sai_Image[0].Top, 344);

    // Tumbling pictures, the first pair's faces, tumbling again, the second
    // pair's faces.
    std::vector<std::pair<int, int>> phases;
    for (const auto& s : seen) {
        const std::pair<int, int> phase = IsTumbling(s.first) && IsTumbling(s.second) ? std::pair{0, 0} : s;
        if (phases.empty() || phases.back() != phase)
            phases.push_back(phase);
    }
    const std::vector<std::pair<int, int>> expected = {
        {0, 0}, {kDieGif + 0, kDieGif + 1}, {0, 0}, {kDieGif + 4, kDieGif + 5}};
    EXPECT_EQ(phases, expected);
}

TEST(Animations, ADieBeyondSixIsRefused)
{
    TestClient t;
    std::array<int16_t, 4> dice = {1, 2, 7, 1};
    EXPECT_THROW(AnimateDiceRoll(t.client.Table(), 0, dice), std::out_of_range);
}

// ---- Pauses ----

TEST(Animations, APauseLetsEventsRunUntilItsTimeIsUp)
{
    TestClient t;
    const uint32_t start = t.clock.ms;
    SleepSeconds(t.client.plat.clock, 0.6f);
    EXPECT_EQ(t.clock.ms - start, 600u);
    EXPECT_GE(t.clock.eventRounds, 1);
    SleepSeconds(t.client.plat.clock, 0.0f);
    EXPECT_EQ(t.clock.ms - start, 600u);
}
