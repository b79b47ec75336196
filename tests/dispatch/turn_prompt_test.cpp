#include "app/client.h"
#include "support/table_fixture.h"

#include <gtest/gtest.h>

using testing_support::DrawFrame;
using testing_support::PromptFrame;
using testing_support::TableClient;

namespace {

int NormalPicture(int button) { return 141 + 3 * button; }
int OfferedPicture(int button) { return 142 + 3 * button; }

} // namespace

TEST(TurnPrompt, OffersChowPongAndKongAndShowsAllFiveButtons)
{
    TableClient table;
    Client& c = table.c;
    c.game.ChoiceState = 7;
    table.Deliver(PromptFrame(1, 33, 0x1C));
    for (int k = 0; k < 5; ++k) {
        const platform::Image& b = table.f.Operation[k];
        const bool offered = k <= 2;
        EXPECT_TRUE(b.Visible) << k;
        EXPECT_EQ(b.Enabled, offered) << k;
        EXPECT_EQ(b.PictureId(), offered ? OfferedPicture(k) : NormalPicture(k)) << k;
        EXPECT_EQ(c.game.OfferedOps[static_cast<std::size_t>(k)], offered ? 2 : 0) << k;
    }
    EXPECT_EQ(c.game.AllowedOps, 0x1C);
    EXPECT_EQ(c.game.ChoiceState, 7);
    EXPECT_EQ(c.core.TurnStamp, 33);
    EXPECT_EQ(c.game.OpSent, 0);
    EXPECT_EQ(c.game.TurnPhase, 0);
}

struct WinOfferCase {
    int mask;
    int falseWin;
    int choiceState;
    int zhahuShown;
};

class WinOffer : public testing::TestWithParam<WinOfferCase> {};

TEST_P(WinOffer, ChoiceStateTellsHowTheWinButtonActs)
{
    TableClient table;
    table.c.frmZhahu->Show();
    table.Deliver(PromptFrame(1, 5, GetParam().mask, 15, GetParam().falseWin));
    EXPECT_EQ(table.c.game.ChoiceState, GetParam().choiceState);
    EXPECT_EQ(table.c.game.ZhahuShown, GetParam().zhahuShown);
    EXPECT_FALSE(table.c.frmZhahu->Visible());
    EXPECT_EQ(table.f.Operation[3].PictureId(), OfferedPicture(3));
}

INSTANTIATE_TEST_SUITE_P(Masks, WinOffer,
                         testing::Values(WinOfferCase{0x81, 1, 2, -1}, WinOfferCase{0x89, 1, 3, -1},
                                         WinOfferCase{0x80, 0, 1, 0}, WinOfferCase{0xC1, 1, 3, -1}),
                         [](const auto& info) {
                             return "Mask" + std::to_string(info.param.mask) + "FalseWin" +
                                    std::to_string(info.param.falseWin);
                         });

struct CountdownCase {
    bool own;
    int seconds;
    bool f1;
    int shown;
};

class PromptCountdown : public testing::TestWithParam<CountdownCase> {};

TEST_P(PromptCountdown, SecondsShownInGreen)
{
    TableClient table;
    Client& c = table.c;
    c.game.F1Minimized = GetParam().f1 ? -1 : 0;
    table.Deliver(PromptFrame(GetParam().own ? 1 : 4, 5, 0, GetParam().seconds));
    EXPECT_EQ(c.game.Countdown, GetParam().shown);
    EXPECT_EQ(table.f.Number.Caption, QString::number(GetParam().shown));
    EXPECT_EQ(table.f.Number.ForeColor, 0x00FF00);
    EXPECT_TRUE(table.f.Number.Visible);
    EXPECT_TRUE(table.f.Time_Img.Visible);
    EXPECT_TRUE(c.core.SchedDecision.On);
    EXPECT_EQ(c.game.CountdownKindFlag, GetParam().own ? -1 : 0);
    const auto& order = table.f.pic1->ZOrderList();
    EXPECT_EQ(order.back(), &table.f.Number);
    EXPECT_EQ(order[order.size() - 2], &table.f.Time_Img);
}

INSTANTIATE_TEST_SUITE_P(Seconds, PromptCountdown,
                         testing::Values(CountdownCase{true, 0, false, 8}, CountdownCase{true, 1, false, 8},
                                         CountdownCase{true, 15, false, 15}, CountdownCase{false, 0, false, 0},
                                         CountdownCase{false, 1, false, 1}, CountdownCase{false, 15, false, 15},
                                         CountdownCase{true, 15, true, 1}, CountdownCase{false, 15, true, 1}),
                         [](const auto& info) {
                             return std::string(info.param.own ? "Own" : "Other") + std::to_string(info.param.seconds) +
                                    (info.param.f1 ? "F1" : "");
                         });

TEST(TurnPrompt, ADiscardIsDueWithFourteenTilesNotWithThirteen)
{
    for (int tiles : {14, 13, 11}) {
        TableClient table;
        table.Player(0).HandCount = static_cast<int16_t>(tiles);
        table.Deliver(PromptFrame(1, 5, 0));
        EXPECT_EQ(table.c.table.DiscardDue, tiles == 13 ? 0 : -1) << tiles;
    }
}

struct ClockCase {
    int seat;
    float left, top;
};

class PromptClock : public testing::TestWithParam<ClockCase> {};

TEST_P(PromptClock, StandsBesideTheSeatWhoseTurnItIs)
{
    TableClient table;
    window::MainForm& f = table.f;
    f.Imgwealth.Move(600, 500, 40, 40);
    f.Host.Move(100, 200, 50, 60);
    f.Tou[2].Move(400, 20, 70, 70);
    f.Quoxa.Move(900, 300, 30, 30);
    table.Deliver(PromptFrame(GetParam().seat, 5, 0));
    EXPECT_FLOAT_EQ(f.Time_Img.Left, GetParam().left);
    EXPECT_FLOAT_EQ(f.Time_Img.Top, GetParam().top);
    EXPECT_FLOAT_EQ(f.Number.Left, GetParam().left + 48);
    EXPECT_FLOAT_EQ(f.Number.Top, GetParam().top + 5);
}

INSTANTIATE_TEST_SUITE_P(Seats, PromptClock,
                         testing::Values(ClockCase{1, 600, 700}, ClockCase{8, 100, 280}, ClockCase{4, 380, 160},
                                         ClockCase{2, 900, 330}),
                         [](const auto& info) { return "Seat" + std::to_string(info.param.seat); });

TEST(TurnPrompt, AnotherSeatsPromptKeepsTheTurnStamp)
{
    TableClient table;
    table.Deliver(PromptFrame(1, 40, 0));
    table.Deliver(PromptFrame(2, 41, 0x09));
    EXPECT_EQ(table.c.core.TurnStamp, 40);
    EXPECT_FALSE(table.f.Operation[1].Visible);
}

TEST(TurnPrompt, TheNextDrawResetsTheTurn)
{
    TableClient table;
    Client& c = table.c;
    table.Player(0).HandCount = 14;
    table.Deliver(PromptFrame(1, 5, 0x61, 12));
    c.game.Countdown = 3;
    table.Deliver(DrawFrame(2));
    EXPECT_EQ(c.table.DiscardDue, 0);
    EXPECT_FALSE(c.core.SchedDecision.On);
    EXPECT_EQ(c.game.Countdown, c.game.CountdownStart);
    EXPECT_FALSE(table.f.Number.Visible);
    EXPECT_FALSE(table.f.Time_Img.Visible);
    for (int k = 0; k < 5; ++k) {
        EXPECT_FALSE(table.f.Operation[k].Visible) << k;
        EXPECT_FALSE(table.f.Operation[k].Enabled) << k;
        EXPECT_EQ(table.f.Operation[k].PictureId(), NormalPicture(k)) << k;
    }
}
