// The claim buttons, the chow and kong choice pictures and the right-button
// pass on the table picture, clicked through real Qt mouse events; the
// answers are read from the bytes the client writes to its socket.
#include "support/mouse.h"
#include "chat/talk_form.h"
#include "protocol/operations.h"
#include "results/result_forms.h"
#include "support/table_fixture.h"
#include "window/claim_input.h"
#include "window/main_form.h"

#include <QTest>
#include <gtest/gtest.h>

using testing_support::DiscardFrame;
using testing_support::PromptFrame;
using testing_support::TableClient;
using testing_support::WordOf;

namespace {

constexpr int kOwnSeat = 1;
constexpr int kLeftSeat = 8;

struct ClaimWindow : TableClient {
    explicit ClaimWindow(std::initializer_list<int> hand)
    {
        c.table.WildTile = 0x29;
        c.table.PiZiImage = 135;
        GiveOwnHand(hand, 0);
        GiveOtherHand(1, 14, 20);
        for (int k = 0; k < 5; ++k)
            f.Operation[k].Move(358.0f + 50 * k, 461, 50, 71);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    }
    ~ClaimWindow() { f.hide(); }

    void Click(const platform::GraphicControl& control, Qt::MouseButton button = Qt::LeftButton)
    {
        Click(testing_support::CentreOf(control), button);
    }
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(f.pic1, button, {}, at, 20);
        QTest::mouseRelease(f.pic1, button, {}, at, 20);
    }
    // The one frame sent since the last look; its operation and tiles.
    std::array<int, 4> OnlyClaim()
    {
        auto sent = TakeSent();
        EXPECT_EQ(sent.size(), 1u);
        if (sent.size() != 1)
            return {-1, -1, -1, -1};
        EXPECT_EQ(sent[0][3], 7);
        EXPECT_EQ(sent[0][6], kOwnSeat);
        return {WordOf(sent[0], 0), WordOf(sent[0], 1), WordOf(sent[0], 2), WordOf(sent[0], 3)};
    }
};

// A bare spot of the table: no control lies there.
const QPoint kCloth(620, 380);

} // namespace

// ---- chow choices ----

struct ChowCase {
    int picture;
    int low, high; // the hand tiles sent with the discard
};

class ChowChoice : public testing::TestWithParam<ChowCase> {};

TEST_P(ChowChoice, EitherPictureOfAPairSendsThatPair)
{
    ClaimWindow w({0x83, 0x84, 0x86, 0x87, 0x41, 0x42, 0x43, 0x11, 0x12, 0x13, 0x14, 0x21, 0x22});
    w.Deliver(DiscardFrame(kLeftSeat, 0x85));
    w.Deliver(PromptFrame(kOwnSeat, 31, protocol::OpChow | protocol::OpPass));
    w.Click(w.f.Operation[0]);
    EXPECT_TRUE(w.TakeSent().empty()) << "three chows wait for a choice";
    for (int k = 0; k < 6; ++k)
        ASSERT_TRUE(w.f.Chi[k].Visible) << k;
    EXPECT_EQ(w.c.game.TurnPhase, 1);

    w.Click(w.f.Chi[GetParam().picture]);
    EXPECT_EQ(w.OnlyClaim(), (std::array<int, 4>{4, 0x2000 | GetParam().low, 0x2000 | GetParam().high, 0x2085}));
    for (int k = 0; k < 6; ++k)
        EXPECT_FALSE(w.f.Chi[k].Visible) << k;
    EXPECT_FALSE(w.f.Operation[0].Visible);
    EXPECT_FALSE(w.c.core.SchedDecision.On);
}

INSTANTIATE_TEST_SUITE_P(Pictures, ChowChoice,
                         testing::Values(ChowCase{0, 0x83, 0x84}, ChowCase{1, 0x83, 0x84}, ChowCase{2, 0x84, 0x86},
                                         ChowCase{3, 0x84, 0x86}, ChowCase{4, 0x86, 0x87}, ChowCase{5, 0x86, 0x87}));

TEST(ChowChoice, NothingOnceTheCountdownHasRunOut)
{
    ClaimWindow w({0x83, 0x84, 0x86, 0x87, 0x41, 0x42, 0x43, 0x11, 0x12, 0x13, 0x14, 0x21, 0x22});
    w.Deliver(DiscardFrame(kLeftSeat, 0x85));
    w.Deliver(PromptFrame(kOwnSeat, 32, protocol::OpChow | protocol::OpPass));
    w.Click(w.f.Operation[0]);
    w.c.game.TurnPhase = 3;
    w.Click(w.f.Chi[0]);
    EXPECT_TRUE(w.TakeSent().empty());
}

// ---- kong choices offered by the kong button ----

TEST(KongChoice, TheKongButtonOffersEachKongAndThePictureSendsIt)
{
    const std::initializer_list<int> hand{0x15, 0x11, 0x11, 0x11, 0x11, 0x21, 0x22,
                                          0x23, 0x41, 0x42, 0x43, 0x81, 0x82, 0x83};
    for (int picture : {0, 1}) {
        ClaimWindow w(hand);
        w.Deliver(PromptFrame(kOwnSeat, 33, protocol::OpSpecialKong | protocol::OpConcealedKong | protocol::OpPass));
        w.Click(w.f.Operation[2]);
        EXPECT_TRUE(w.TakeSent().empty());
        ASSERT_TRUE(w.f.Gang[0].Visible);
        ASSERT_TRUE(w.f.Gang[1].Visible);
        w.Click(w.f.Gang[picture]);
        const auto claim = w.OnlyClaim();
        if (picture == 0) {
            EXPECT_EQ(claim[0], protocol::OpSpecialKong);
            EXPECT_EQ(claim[3], 0x2015);
        } else {
            EXPECT_EQ(claim[0], protocol::OpConcealedKong);
        }
        for (int k = 0; k < 5; ++k) {
            EXPECT_FALSE(w.f.Gang[k].Visible) << k;
            EXPECT_FALSE(w.f.Operation[k].Visible) << k;
        }
    }
}

// Which kong a choice picture sends, by the hand slot it names: the hand is
// sorted, slots from 4 on.
struct KongCase {
    const char* name;
    std::vector<int> hand;
    int allowed;
    int slot;
    int op; // 0: nothing sent
};

class KongPicture : public testing::TestWithParam<KongCase> {};

TEST_P(KongPicture, SendsTheKongItsSlotMakes)
{
    const KongCase& kc = GetParam();
    ClaimWindow w({});
    w.GiveOwnHand(kc.hand, 0);
    w.Deliver(PromptFrame(kOwnSeat, 34, kc.allowed | protocol::OpPass));
    w.c.game.TurnPhase = 1; // the kong button was handled
    w.c.table.KongCandidates[0] = static_cast<int16_t>(kc.slot);
    platform::Image& pic = w.f.Gang[0];
    pic.Move(600, 380, 40, 60);
    pic.SetVisible(true);
    pic.Enabled = true;
    pic.ZOrder(0);
    w.Click(pic);
    auto sent = w.TakeSent();
    if (kc.op == 0) {
        EXPECT_TRUE(sent.empty());
    } else {
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(WordOf(sent[0], 0), kc.op);
        EXPECT_EQ(w.c.table.KongCandidates[0], kc.slot);
    }
    EXPECT_FALSE(w.t.process.ended);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, KongPicture,
    testing::Values(
        KongCase{"RedDragon", {0x15, 0x11, 0x12, 0x13, 0x21}, 64 | 32, 4, 64},
        KongCase{"WildTile", {0x29, 0x11, 0x12, 0x13, 0x21}, 64, 4, 64},
        KongCase{"SingleTileAddedToAPong", {0x11, 0x12, 0x13, 0x21, 0x22}, 64, 5, 64},
        KongCase{"LastSlotDiffersFromTheOneBefore", {0x11, 0x11, 0x12, 0x13, 0x47}, 64, 8, 64},
        KongCase{"LastSlotEqualToTheOneBefore", {0x11, 0x12, 0x13, 0x47, 0x47}, 64, 8, 0},
        KongCase{"FourInHand", {0x11, 0x11, 0x11, 0x11, 0x21}, 64 | 32, 4, 32},
        KongCase{"ThreeInHandExposed", {0x11, 0x11, 0x11, 0x21, 0x22}, 16, 4, 16},
        KongCase{"ThreeInHandButOnlyConcealedAllowed", {0x11, 0x11, 0x11, 0x21, 0x22}, 32, 4, 0},
        KongCase{"SlotOutsideTheHand", {0x11, 0x11, 0x11, 0x11, 0x21}, 32, 17, 0},
        KongCase{"SlotBeforeTheHand", {0x11, 0x11, 0x11, 0x11, 0x21}, 64 | 32, 2, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- pass ----

TEST(ClaimPass, RightReleaseOnTheTablePassesOnceWhileThePassButtonShows)
{
    ClaimWindow w({0x11, 0x12, 0x13, 0x14, 0x14, 0x21, 0x22, 0x23, 0x41, 0x42, 0x43, 0x81, 0x82});
    ASSERT_EQ(w.f.pic1->ControlAt(kCloth.x(), kCloth.y()), nullptr);
    w.f.Operation[4].SetVisible(false);
    w.Click(kCloth, Qt::RightButton);
    EXPECT_TRUE(w.TakeSent().empty()) << "no pass button, no pass";

    w.Deliver(DiscardFrame(kLeftSeat, 0x14));
    w.Deliver(PromptFrame(kOwnSeat, 35, protocol::OpPong | protocol::OpPass));
    ASSERT_EQ(w.f.pic1->ControlAt(kCloth.x(), kCloth.y()), nullptr);
    w.Click(kCloth, Qt::LeftButton);
    EXPECT_TRUE(w.TakeSent().empty()) << "the left button does not pass";
    w.Click(kCloth, Qt::RightButton);
    EXPECT_EQ(w.OnlyClaim(), (std::array<int, 4>{1, 0, 0, 0}));
    EXPECT_EQ(w.c.game.TurnPhase, 1);
    EXPECT_EQ(w.c.game.OfferedOps[1], 2) << "the offers are left as they were";
    EXPECT_FALSE(w.c.core.SchedDecision.On);
    EXPECT_FALSE(w.f.Number.Visible);
    for (int k = 0; k < 5; ++k) {
        EXPECT_FALSE(w.f.Operation[k].Visible) << k;
        EXPECT_FALSE(w.f.Operation[k].Enabled) << k;
        EXPECT_EQ(w.f.Operation[k].PictureId(), w.c.window.PicIds.OperationPicIds[static_cast<std::size_t>(3 * k)].toInt());
    }

    // The buttons are gone: another right release does nothing, and neither
    // does a pong click.
    w.Click(kCloth, Qt::RightButton);
    w.f.Operation[1].SetVisible(true);
    w.Click(w.f.Operation[1]);
    EXPECT_TRUE(w.TakeSent().empty());
}

TEST(ClaimPass, APassWhileADiscardIsDueKeepsTheCountdownAndSendsNoSecondPass)
{
    ClaimWindow w({0x11, 0x11, 0x11, 0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0x41, 0x42, 0x43, 0x81, 0x82});
    w.Deliver(PromptFrame(kOwnSeat, 36, protocol::OpConcealedKong | protocol::OpPass));
    w.Click(w.f.Operation[4]);
    EXPECT_EQ(w.OnlyClaim(), (std::array<int, 4>{1, 0, 0, 0}));
    EXPECT_TRUE(w.c.core.SchedDecision.On);
    EXPECT_EQ(w.c.table.DiscardDue, -1);

    // Already answered: the right release still resets the buttons but sends nothing.
    w.c.game.TurnPhase = 0;
    w.f.Operation[4].SetVisible(true);
    w.Click(kCloth, Qt::RightButton);
    EXPECT_TRUE(w.TakeSent().empty());
    EXPECT_FALSE(w.f.Operation[4].Visible);
}

// ---- the win button and the false win ----

TEST(ClaimWin, AFalseWinAloneSendsAPassAndShowsTheNotice)
{
    ClaimWindow w({0x11, 0x12, 0x13, 0x14, 0x14, 0x21, 0x22, 0x23, 0x41, 0x42, 0x43, 0x81, 0x82});
    w.Deliver(DiscardFrame(kLeftSeat, 0x83));
    w.Deliver(PromptFrame(kOwnSeat, 37, protocol::OpWin | protocol::OpPass, 15, 1));
    ASSERT_EQ(w.c.game.ChoiceState, 2);
    w.Click(w.f.Operation[3]);
    EXPECT_EQ(w.OnlyClaim(), (std::array<int, 4>{1, 0, 0, 0})) << "never a win";
    EXPECT_EQ(w.c.game.ZhahuShown, -1);
    EXPECT_TRUE(w.c.frmZhahu->isVisible());
    EXPECT_EQ(w.c.game.TurnPhase, 1);
    // A click on a tile takes the notice away.
    w.Click(QPoint(static_cast<int>(w.f.MJ_Image[0].Left + 10), static_cast<int>(w.f.MJ_Image[0].Top + 10)));
    EXPECT_FALSE(w.c.frmZhahu->isVisible());
    EXPECT_EQ(w.c.game.ZhahuShown, 0);
}

TEST(ClaimWin, AFalseWinWhileMinimisedShowsNoNotice)
{
    ClaimWindow w({0x11, 0x12, 0x13, 0x14, 0x14, 0x21, 0x22, 0x23, 0x41, 0x42, 0x43, 0x81, 0x82});
    w.Deliver(DiscardFrame(kLeftSeat, 0x83));
    w.Deliver(PromptFrame(kOwnSeat, 38, protocol::OpWin | protocol::OpPass, 15, 1));
    w.f.showMinimized();
    window::Operation_Click(w.c, 3); // a minimised window takes no pointer
    EXPECT_EQ(w.OnlyClaim(), (std::array<int, 4>{1, 0, 0, 0}));
    EXPECT_FALSE(w.c.frmZhahu->isVisible());
}

TEST(ClaimWin, AFalseWinBesideAPongLeavesThePongOpen)
{
    ClaimWindow w({0x11, 0x12, 0x13, 0x14, 0x14, 0x21, 0x22, 0x23, 0x41, 0x42, 0x43, 0x81, 0x82});
    w.Deliver(DiscardFrame(kLeftSeat, 0x14));
    w.Deliver(PromptFrame(kOwnSeat, 39, protocol::OpPong | protocol::OpWin | protocol::OpPass, 15, 1));
    ASSERT_EQ(w.c.game.ChoiceState, 3);
    w.Click(w.f.Operation[3]);
    EXPECT_TRUE(w.TakeSent().empty());
    EXPECT_FALSE(w.f.Operation[3].Enabled);
    EXPECT_EQ(w.c.game.OfferedOps[3], 0);
    EXPECT_EQ(w.c.game.TurnPhase, 0);
    EXPECT_TRUE(w.f.Operation[1].Enabled);
    EXPECT_TRUE(w.c.frmZhahu->isVisible());
    w.Click(w.f.Operation[1]);
    EXPECT_EQ(w.OnlyClaim(), (std::array<int, 4>{8, 0x2014, 0x2014, 0x2014}));
    EXPECT_FALSE(w.c.frmZhahu->isVisible()) << "the pong takes the notice away";
}

TEST(ClaimWin, ARealWinIsSent)
{
    ClaimWindow w({0x11, 0x12, 0x13, 0x14, 0x14, 0x21, 0x22, 0x23, 0x41, 0x42, 0x43, 0x81, 0x82});
    w.Deliver(DiscardFrame(kLeftSeat, 0x83));
    w.Deliver(PromptFrame(kOwnSeat, 40, protocol::OpWin | protocol::OpPass));
    w.Click(w.f.Operation[3]);
    EXPECT_EQ(w.OnlyClaim()[0], protocol::OpWin);
    w.Click(w.f.Operation[3]);
    EXPECT_TRUE(w.TakeSent().empty()) << "one answer per prompt";
}

// ---- the second table picture ----

TEST(Pic2Click, HidesTheSideWindows)
{
    ClaimWindow w({0x11});
    w.c.Talk->Show();
    w.c.Score->Show();
    w.c.Hero->Show();
    window::Pic2_Click(w.c);
    EXPECT_FALSE(w.c.Talk->Visible());
    EXPECT_FALSE(w.c.Score->Visible());
    EXPECT_FALSE(w.c.Hero->Visible());
}
