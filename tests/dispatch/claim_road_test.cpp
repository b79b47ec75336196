#include "app/client.h"
#include "support/table_fixture.h"

#include <gtest/gtest.h>

using testing_support::DiscardFrame;
using testing_support::DrawFrame;
using testing_support::OperationFrame;
using testing_support::PromptFrame;
using testing_support::TableClient;
using testing_support::WordOf;

namespace {

constexpr int kLeftSeat = 8; // view 1: the seat before the local player

int Meld(int code) { return 201 + table::TilePicIndex(0, code); }

// A table where the left seat holds 14 hidden tiles (images 20-33) and the
// local player the given tiles (images 0 on), the wild tile named.
struct ClaimTable : TableClient {
    explicit ClaimTable(std::initializer_list<int> own)
    {
        c.table.WildTile = 0x29;
        c.table.PiZiImage = 135;
        GiveOwnHand(own, 0);
        GiveOtherHand(1, 14, 20);
        c.core.EchoToken = {0x12, 0x34};
    }
    // Every frame of the server carries the same echo token here.
    void Deliver(protocol::GameFrame frame)
    {
        frame[260] = 0x12;
        frame[261] = 0x34;
        TableClient::Deliver(frame);
    }
    protocol::GameFrame Only()
    {
        auto sent = TakeSent();
        EXPECT_EQ(sent.size(), 1u);
        return sent.empty() ? protocol::GameFrame{} : sent[0];
    }
};

void ExpectClaim(const protocol::GameFrame& f, int stamp, int op, int t1, int t2, int t3)
{
    EXPECT_EQ(f[3], 7);
    EXPECT_EQ(f[6], 1);
    EXPECT_EQ(f[7], stamp);
    EXPECT_EQ(WordOf(f, 0), op);
    EXPECT_EQ(WordOf(f, 1), t1);
    EXPECT_EQ(WordOf(f, 2), t2);
    EXPECT_EQ(WordOf(f, 3), t3);
    EXPECT_EQ(f[260], 0x12);
    EXPECT_EQ(f[261], 0x34);
}

} // namespace

// Another seat discards, the local player is offered a pong and takes it,
// the server confirms and asks for a discard, and a click on a hand tile
// discards it.
TEST(ClaimRoad, PongThenDiscard)
{
    ClaimTable table({0x25, 0x25, 0x83, 0x84, 0x86, 0x41, 0x42, 0x43, 0x17, 0x17, 0x11, 0x12, 0x13});
    Client& c = table.c;
    window::MainForm& f = table.f;

    table.Deliver(DiscardFrame(kLeftSeat, 0x25, 1));
    const int16_t claimed = c.table.LastDiscardImage;
    ASSERT_GE(claimed, 20);
    ASSERT_LE(claimed, 32);
    EXPECT_EQ(c.game.SeenTileCounts[1][5], 1);

    table.Deliver(PromptFrame(1, 77, 0x09));
    EXPECT_TRUE(f.Operation[1].Enabled);
    EXPECT_TRUE(f.Operation[4].Enabled);
    EXPECT_FALSE(f.Operation[0].Enabled);
    EXPECT_EQ(c.table.DiscardDue, 0);
    EXPECT_TRUE(table.TakeSent().empty());

    f.Operation[1].Click();
    ExpectClaim(table.Only(), 77, 8, 0x2025, 0x2025, 0x2025);
    EXPECT_FALSE(c.core.SchedDecision.On);
    EXPECT_EQ(c.game.OpSent, -1);
    for (int k = 0; k < 5; ++k)
        EXPECT_FALSE(f.Operation[k].Visible) << k;
    // The meld slots are ready for the confirmation; the hand is unchanged.
    const table::PlayerRecord& p = table.Player(0);
    EXPECT_EQ(p.Slots[1].Image, 0);
    EXPECT_EQ(p.Slots[2].Image, 1);
    EXPECT_EQ(p.Slots[3].Image, claimed);
    EXPECT_EQ(p.Slots[3].Kind, 3);
    EXPECT_EQ(p.HandCount, 13);

    table.Deliver(OperationFrame(1, 8, 0x25, 0x25, 0x25));
    EXPECT_EQ(p.HandCount, 11);
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(p.MeldEnd, 6);
    EXPECT_EQ(c.game.SeenTileCounts[1][5], 3);
    for (int m = 1; m <= 3; ++m) {
        const platform::Image& img = f.MJ_Image[p.Slots[static_cast<std::size_t>(m)].Image];
        EXPECT_FLOAT_EQ(img.Left, 19 + (m + 2) * 43.0f) << m;
        EXPECT_FLOAT_EQ(img.Top, 564) << m;
        EXPECT_FLOAT_EQ(img.Width, 45) << m;
        EXPECT_FLOAT_EQ(img.Height, 60) << m;
        EXPECT_EQ(img.PictureId(), Meld(0x25)) << m;
    }
    // The rest of the hand moved on by one slot, images with it.
    EXPECT_EQ(table.OwnHandCodes(), (std::vector<int16_t>{0x83, 0x84, 0x86, 0x41, 0x42, 0x43, 0x17, 0x17, 0x11,
                                                          0x12, 0x13}));
    EXPECT_EQ(p.Slots[7].Image, 2);
    EXPECT_FLOAT_EQ(f.MJ_Image[2].Left, 19 + 7 * 48.0f);

    table.Deliver(PromptFrame(1, 78, 0));
    EXPECT_EQ(c.table.DiscardDue, -1);

    // Click the 4 of dots (image 3). The decision is answered with a pass
    // first, then the discard goes out.
    f.MJ_Image[3].MouseDown(1, 0, 0, 0);
    auto sent = table.TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    ExpectClaim(sent[0], 78, 1, 0, 0, 0);
    EXPECT_EQ(sent[1][3], 2);
    EXPECT_EQ(sent[1][6], 1);
    EXPECT_EQ(sent[1][7], 78);
    EXPECT_EQ(WordOf(sent[1], 1), 1); // not the tile just drawn
    EXPECT_EQ(WordOf(sent[1], 3), 0x4084);
    EXPECT_EQ(c.table.LastDiscardImage, 3);
    EXPECT_EQ(f.MJ_Image[3].Tag, QStringLiteral("8"));
    EXPECT_FLOAT_EQ(f.MJ_Image[3].Left, (1024 - 36) / 2.0f);
    EXPECT_EQ(f.MJ_Image[3].PictureId(), Meld(0x84)); // the face as it lies on the table
    EXPECT_FLOAT_EQ(f.MJ_Image[4].Left, 19 + 8 * 48.0f); // the next tile closed the gap
    EXPECT_EQ(c.table.DiscardDue, 0);
    EXPECT_EQ(c.game.TurnPhase, 2);

    // A second click does nothing more.
    f.MJ_Image[5].MouseDown(1, 0, 0, 0);
    EXPECT_TRUE(table.TakeSent().empty());

    table.Deliver(DiscardFrame(1, 0x84, 1));
    EXPECT_EQ(p.HandCount, 10);
    EXPECT_EQ(c.table.LastDiscardImage, 3);
    EXPECT_EQ(f.MJ_Image[3].PictureId(), Meld(0x84));
    EXPECT_FALSE(table.t.process.ended);
}

TEST(ClaimRoad, TheJustDrawnTileIsDiscardedWithFlagZero)
{
    ClaimTable table({0x11, 0x12, 0x13, 0x14, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x81});
    table.c.table.WallHead = 60;
    table.Deliver(DrawFrame(1, 0x85));
    table.Deliver(PromptFrame(1, 9, 0));
    table.f.MJ_Image[60].MouseDown(1, 0, 0, 0);
    auto sent = table.TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(WordOf(sent[1], 1), 0);
    EXPECT_EQ(WordOf(sent[1], 3), 0x4085);
}

TEST(ClaimRoad, ChowWithOneChoiceIsSentAtOnce)
{
    ClaimTable table({0x84, 0x86, 0x41, 0x42, 0x43, 0x11, 0x11, 0x12, 0x13, 0x14, 0x14, 0x21, 0x22});
    Client& c = table.c;
    table.Deliver(DiscardFrame(kLeftSeat, 0x85, 0));
    table.Deliver(PromptFrame(1, 12, 0x05));
    table.f.Operation[0].Click();
    ExpectClaim(table.Only(), 12, 4, 0x2084, 0x2086, 0x2085);
    EXPECT_FALSE(table.f.Operation[0].Visible);
    for (int k = 0; k < 6; ++k)
        EXPECT_FALSE(table.f.Chi[k].Visible) << k;

    table.Deliver(OperationFrame(1, 4, 0x84, 0x86, 0x85));
    const table::PlayerRecord& p = table.Player(0);
    EXPECT_EQ(p.HandCount, 11);
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(table.f.MJ_Image[p.Slots[1].Image].PictureId(), Meld(0x84));
    EXPECT_EQ(table.f.MJ_Image[p.Slots[2].Image].PictureId(), Meld(0x86));
    EXPECT_EQ(table.f.MJ_Image[p.Slots[3].Image].PictureId(), Meld(0x85));
    EXPECT_EQ(c.game.SeenTileCounts[3][4], 1);
    EXPECT_EQ(c.game.SeenTileCounts[3][6], 1);
    EXPECT_EQ(c.game.SeenTileCounts[3][5], 1);
    EXPECT_EQ(table.OwnHandCodes(),
              (std::vector<int16_t>{0x41, 0x42, 0x43, 0x21, 0x22, 0x11, 0x11, 0x12, 0x13, 0x14, 0x14}));
}

TEST(ClaimRoad, ChowWithSeveralChoicesWaitsForThePictureClicked)
{
    ClaimTable table({0x83, 0x84, 0x86, 0x87, 0x41, 0x42, 0x43, 0x11, 0x12, 0x13, 0x14, 0x21, 0x22});
    Client& c = table.c;
    window::MainForm& f = table.f;
    f.Operation[0].Move(700, 600, 50, 40);
    f.Operation[1].Move(760, 600, 50, 40);
    table.Deliver(DiscardFrame(kLeftSeat, 0x85, 0));
    table.Deliver(PromptFrame(1, 12, 0x05));
    f.Operation[0].Click();
    EXPECT_TRUE(table.TakeSent().empty());

    // Pairs (3, 4), (4, 6), (6, 7): two pictures to a row, rows stacked upwards.
    const std::array<int, 6> faces{0x83, 0x84, 0x84, 0x86, 0x86, 0x87};
    for (int k = 0; k < 6; ++k) {
        const platform::Image& pic = f.Chi[k];
        EXPECT_TRUE(pic.Visible) << k;
        EXPECT_TRUE(pic.Enabled) << k;
        EXPECT_EQ(pic.PictureId(), 201 + table::TilePicIndex(4, faces[static_cast<std::size_t>(k)])) << k;
        EXPECT_FLOAT_EQ(pic.Width, 48 * 0.8f);
        EXPECT_FLOAT_EQ(pic.Left, 760 + pic.Width * (k % 2)) << k;
        EXPECT_FLOAT_EQ(pic.Top, 600 - 0.8f * pic.Height * (k / 2)) << k;
    }
    for (int k = 1; k <= 4; ++k)
        EXPECT_FALSE(f.Operation[k].Visible) << k;
    EXPECT_EQ(c.game.Countdown, c.game.CountdownStart / 2);
    EXPECT_TRUE(c.core.SchedDecision.On);
    EXPECT_TRUE(f.Number.Visible);

    f.Chi[3].Click();
    ExpectClaim(table.Only(), 12, 4, 0x2084, 0x2086, 0x2085);
    for (int k = 0; k < 6; ++k)
        EXPECT_FALSE(f.Chi[k].Visible) << k;
    EXPECT_FALSE(c.core.SchedDecision.On);
    EXPECT_EQ(c.table.ChiChoices[0], 5);
    EXPECT_EQ(c.table.ChiChoices[1], 6);

    table.Deliver(OperationFrame(1, 4, 0x84, 0x86, 0x85));
    EXPECT_EQ(table.OwnHandCodes(),
              (std::vector<int16_t>{0x83, 0x87, 0x41, 0x42, 0x43, 0x21, 0x22, 0x11, 0x12, 0x13, 0x14}));
}

TEST(ClaimRoad, ExposedKongOfADiscardThenTheReplacementFromTheTail)
{
    ClaimTable table({0x43, 0x43, 0x43, 0x81, 0x82, 0x83, 0x11, 0x12, 0x13, 0x14, 0x21, 0x22, 0x23});
    Client& c = table.c;
    table.Deliver(DiscardFrame(kLeftSeat, 0x43, 0));
    const int16_t claimed = c.table.LastDiscardImage;
    table.Deliver(PromptFrame(1, 20, 0x11));
    table.f.Operation[2].Click();
    ExpectClaim(table.Only(), 20, 16, 0x2043, 0x2043, 0x2043);
    EXPECT_FALSE(table.f.Operation[2].Visible);

    table.Deliver(OperationFrame(1, 16, 0x43, 0x43, 0x43));
    const table::PlayerRecord& p = table.Player(0);
    EXPECT_EQ(p.HandCount, 10);
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(p.MeldEnd, 6);
    EXPECT_EQ(c.table.DrawFromHead, 0);
    EXPECT_EQ(c.table.DrawSkipsDiscardRow, -1);
    EXPECT_EQ(c.game.SeenTileCounts[2][3], 4);
    // The claimed tile lies on the middle tile of the kong.
    const platform::Image& fourth = table.f.MJ_Image[claimed];
    EXPECT_FLOAT_EQ(fourth.Left, table.f.MJ_Image[p.Slots[2].Image].Left);
    EXPECT_FLOAT_EQ(fourth.Top, 564 - 18);
    EXPECT_EQ(fourth.PictureId(), Meld(0x43));

    c.table.WallTail = 128;
    table.Deliver(DrawFrame(1, 0x27));
    EXPECT_EQ(p.Slots[17].Image, 128);
    EXPECT_EQ(p.HandCount, 11);
    EXPECT_EQ(c.table.DrawFromHead, -1);
    EXPECT_FLOAT_EQ(fourth.Top, 564 - 18); // nothing was laid into a row
}

TEST(ClaimRoad, ConcealedKongOnTheOwnTurn)
{
    ClaimTable table({0x81, 0x12, 0x12, 0x12, 0x12, 0x82, 0x83, 0x11, 0x13, 0x14, 0x21, 0x22, 0x23, 0x24});
    Client& c = table.c;
    table.Deliver(PromptFrame(1, 21, 0x21));
    table.f.Operation[2].Click();
    ExpectClaim(table.Only(), 21, 32, 0x2012, 0x2012, 0x2012);

    table.Deliver(OperationFrame(1, 32, 0x12, 0x12, 0x12));
    const table::PlayerRecord& p = table.Player(0);
    EXPECT_EQ(p.HandCount, 10);
    EXPECT_EQ(p.HandFirst, 7);
    for (int m = 1; m <= 3; ++m)
        EXPECT_EQ(table.f.MJ_Image[p.Slots[static_cast<std::size_t>(m)].Image].PictureId(),
                  201 + table::kFaceDownBack)
            << m;
    const platform::Image& fourth = table.f.MJ_Image[c.table.LastDiscardImage];
    EXPECT_EQ(fourth.PictureId(), Meld(0x12));
    EXPECT_FLOAT_EQ(fourth.Top, 564 - 18);
    EXPECT_EQ(c.game.SeenTileCounts[0][2], 0);
    EXPECT_EQ(table.OwnHandCodes(),
              (std::vector<int16_t>{0x81, 0x82, 0x83, 0x21, 0x22, 0x23, 0x24, 0x11, 0x13, 0x14}));
}

TEST(ClaimRoad, RedDragonDeclaredAloneGoesToTheSpecialKongRow)
{
    ClaimTable table({0x15, 0x81, 0x82, 0x83, 0x11, 0x12, 0x13, 0x14, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26});
    Client& c = table.c;
    table.Deliver(PromptFrame(1, 22, 0x41));
    table.f.Operation[2].Click();
    const protocol::GameFrame f = table.Only();
    ExpectClaim(f, 22, 64, 0, 0, 0x2015);
    EXPECT_EQ(f[8], 0x00);
    EXPECT_EQ(f[9], 0x40);

    table.Deliver(OperationFrame(1, 64, 0, 0, 0x15));
    const table::PlayerRecord& p = table.Player(0);
    EXPECT_EQ(p.HandCount, 13);
    EXPECT_EQ(p.HandFirst, 4);
    EXPECT_EQ(p.MeldEnd, 3);
    EXPECT_EQ(p.RedLaid, 1);
    EXPECT_EQ(c.game.LaidTileImages[0][0], 0);
    EXPECT_EQ(c.table.LastDiscardImage, 0);
    EXPECT_EQ(c.table.LastDiscardTile, 0x15);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[0].Left, 19);
    EXPECT_FLOAT_EQ(table.f.MJ_Image[0].Top, 564);
    EXPECT_EQ(table.f.MJ_Image[0].PictureId(), Meld(0x15));
    EXPECT_EQ(c.game.SeenTileCounts[0][5], 1);
    EXPECT_EQ(c.table.DrawFromHead, 0);
    EXPECT_EQ(table.OwnHandCodes().front(), 0x81);
}

TEST(ClaimRoad, SeveralKongsAreOfferedAsPicturesAndTheClickedOneSent)
{
    ClaimTable table({0x15, 0x43, 0x43, 0x43, 0x43, 0x81, 0x82, 0x83, 0x11, 0x12, 0x13, 0x14, 0x21, 0x22});
    Client& c = table.c;
    window::MainForm& f = table.f;
    f.Operation[0].Move(700, 600, 50, 40);
    f.Operation[3].Move(880, 600, 50, 40);
    table.Deliver(PromptFrame(1, 23, 0x61));
    f.Operation[2].Click();
    EXPECT_TRUE(table.TakeSent().empty());
    EXPECT_EQ(c.table.KongCandidates[0], 4);
    for (int k = 0; k < 2; ++k) {
        EXPECT_TRUE(f.Gang[k].Visible) << k;
        EXPECT_FLOAT_EQ(f.Gang[k].Left, 880) << k;
        EXPECT_FLOAT_EQ(f.Gang[k].Top, 600 - 0.8f * f.Gang[k].Height * k) << k;
    }
    EXPECT_EQ(f.Gang[0].PictureId(), 201 + table::TilePicIndex(4, 0x15));
    EXPECT_EQ(f.Gang[1].PictureId(), 201 + table::TilePicIndex(4, 0x43));
    EXPECT_FALSE(f.Gang[2].Visible);
    EXPECT_TRUE(f.Operation[2].Visible);
    EXPECT_EQ(c.game.Countdown, 4);

    f.Gang[1].Click();
    ExpectClaim(table.Only(), 23, 32, 0x2043, 0x2043, 0x2043);
    EXPECT_FALSE(f.Gang[0].Visible);
    EXPECT_EQ(c.table.KongCandidates[0], 8); // the first of the four, after the sorting
}

TEST(ClaimRoad, WinIsDeclaredWithoutMarkingTheDecisionAnswered)
{
    ClaimTable table({0x11, 0x11});
    table.Deliver(PromptFrame(1, 24, 0x81));
    table.f.Operation[3].Click();
    ExpectClaim(table.Only(), 24, 128, 0, 0, 0);
    EXPECT_EQ(table.c.game.OpSent, 0);
    for (int k = 0; k < 5; ++k)
        EXPECT_FALSE(table.f.Operation[k].Visible) << k;
}

TEST(ClaimRoad, AFalseWinIsAnsweredWithAPassAndTheNoticeUntilTheNextDiscard)
{
    ClaimTable table({0x11, 0x11});
    Client& c = table.c;
    table.Deliver(PromptFrame(1, 25, 0x81, 15, 1));
    table.f.Operation[3].Click();
    ExpectClaim(table.Only(), 25, 1, 0, 0, 0);
    EXPECT_TRUE(c.frmZhahu->Visible());
    EXPECT_EQ(c.game.ZhahuShown, -1);

    table.Deliver(DiscardFrame(2, 0x23));
    EXPECT_FALSE(c.frmZhahu->Visible());
    EXPECT_EQ(c.game.ZhahuShown, 0);
}

TEST(ClaimRoad, AFalseWinBesideAPongIsWithdrawnAndThePongStaysOffered)
{
    ClaimTable table({0x25, 0x25, 0x11});
    Client& c = table.c;
    table.Deliver(DiscardFrame(kLeftSeat, 0x25, 0));
    table.Deliver(PromptFrame(1, 26, 0x89, 15, 1));
    table.f.Operation[3].Click();
    EXPECT_TRUE(table.TakeSent().empty());
    EXPECT_EQ(c.game.OfferedOps[3], 0);
    EXPECT_FALSE(table.f.Operation[3].Enabled);
    EXPECT_EQ(c.game.TurnPhase, 0);
    EXPECT_TRUE(c.frmZhahu->Visible());

    table.f.Operation[1].Click();
    ExpectClaim(table.Only(), 26, 8, 0x2025, 0x2025, 0x2025);
}

TEST(ClaimRoad, PassButtonSendsOnePassOnly)
{
    ClaimTable table({0x25, 0x25});
    table.Deliver(DiscardFrame(kLeftSeat, 0x25, 0));
    table.Deliver(PromptFrame(1, 27, 0x09));
    table.f.Operation[4].Click();
    ExpectClaim(table.Only(), 27, 1, 0, 0, 0);
    table.f.Operation[4].Click();
    EXPECT_TRUE(table.TakeSent().empty());
}

TEST(ClaimRoad, ButtonsDoNothingWhileInputIsDisabled)
{
    ClaimTable table({0x25, 0x25});
    table.c.game.InputEnabled = 0;
    table.Deliver(DiscardFrame(kLeftSeat, 0x25, 0));
    table.Deliver(PromptFrame(1, 28, 0x09));
    table.f.Operation[1].Click();
    EXPECT_TRUE(table.TakeSent().empty());
}

// Another seat's pong takes the claimed tile into its meld and its hand
// moves on, so its next discard and draws stay inside its slots.
TEST(OtherSeatClaims, PongMovesTheMeldOutOfTheHand)
{
    ClaimTable table({0x11});
    Client& c = table.c;
    table.GiveOtherHand(2, 13, 60);
    table.Deliver(DiscardFrame(kLeftSeat, 0x25, 0));
    const int16_t claimed = c.table.LastDiscardImage;
    table.Deliver(OperationFrame(4, 8, 0x25, 0x25, 0x25));
    const table::PlayerRecord& p = table.Player(2);
    EXPECT_EQ(p.HandCount, 11);
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(p.MeldEnd, 7);
    EXPECT_EQ(p.Slots[4].Image, claimed);
    EXPECT_EQ(p.Slots[4].Kind, 3);
    EXPECT_EQ(table.f.MJ_Image[claimed].PictureId(), 201 + table::TilePicIndex(2, 0x25));
    EXPECT_FLOAT_EQ(table.f.MJ_Image[claimed].Left, 842 - 34 * 5.0f);
    EXPECT_TRUE(table.f.Speak[1].Visible);
    EXPECT_EQ(c.game.SpeakShown, -1);
    EXPECT_EQ(c.game.SpeakIndex, 1);
    EXPECT_EQ(table.f.Speak[1].PictureId(), 430 + 9 + 1);
    EXPECT_EQ(c.game.SeenTileCounts[1][5], 3);
}

TEST(OtherSeatClaims, ConcealedKongIsRecordedFaceDown)
{
    ClaimTable table({0x11});
    Client& c = table.c;
    table.Deliver(OperationFrame(kLeftSeat, 32, 0x43, 0x43, 0x43));
    const table::PlayerRecord& p = table.Player(1);
    EXPECT_EQ(p.HandCount, 10);
    EXPECT_EQ(p.HandFirst, 7);
    EXPECT_EQ(c.game.ConcealedKongCount, 1);
    EXPECT_EQ(c.game.ConcealedKongImages[0], 33);
    EXPECT_EQ(c.game.ConcealedKongTiles[0], 0x43);
    EXPECT_EQ(c.game.ConcealedKongViews[0], 1);
    EXPECT_EQ(table.f.MJ_Image[33].PictureId(), 201 + 36 + table::kFaceDownBack);
    EXPECT_EQ(c.table.DrawFromHead, 0);
}
