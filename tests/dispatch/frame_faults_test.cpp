#include "app/client.h"
#include "platform/lobby_link.h"
#include "support/table_fixture.h"

#include <functional>
#include <gtest/gtest.h>

using testing_support::DealFrame;
using testing_support::DiscardFrame;
using testing_support::DrawFrame;
using testing_support::FrameBuilder;
using testing_support::OperationFrame;
using testing_support::TableClient;

namespace {

struct FaultCase {
    const char* name;
    std::function<void(TableClient&)> setUp;
    std::function<protocol::GameFrame()> frame;
};

void NoSetUp(TableClient&) {}

void OwnHand(TableClient& t, std::initializer_list<int> codes) { t.GiveOwnHand(codes, 0); }

// A claimable discard on the table.
void DiscardOnTable(TableClient& t)
{
    t.c.table.LastDiscardImage = 90;
    t.c.table.LastDiscardTile = 0x27;
    t.c.table.LastDiscardView = 1;
}

const FaultCase kFaults[] = {
    {"DealOfFourteen", NoSetUp,
     [] { return DealFrame(14, {0x11, 0x12, 0x13, 0x14, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28}).Frame(); }},
    {"DealtRankZero", NoSetUp, [] { return DealFrame(12, {0x20, 0x12, 0x13, 0x14}).Frame(); }},
    {"DealtRankTen", NoSetUp, [] { return DealFrame(4, {0x8A, 0x12, 0x13, 0x14}).Frame(); }},
    {"DealtHonourRankEight", NoSetUp, [] { return DealFrame(4, {0x11, 0x18, 0x13, 0x14}).Frame(); }},
    {"DealtTwoSuitBits", NoSetUp, [] { return DealFrame(4, {0x11, 0x12, 0x35, 0x14}).Frame(); }},
    {"DealtSuitByteOutOfRange", NoSetUp,
     [] { return DealFrame(4, {0x11, 0x12, 0x13}).Byte(22, 5).Byte(23, 0x12).Frame(); }},
    {"DealIntoFullHands",
     [](TableClient& t) {
         for (int v = 0; v < 4; ++v)
             t.Player(v).HandCount = 12;
     },
     [] { return DealFrame(4, {0x11, 0x12, 0x13, 0x14}).Frame(); }},
    {"DiscardedRankZero", [](TableClient& t) { t.GiveOtherHand(1, 3, 20); },
     [] { return DiscardFrame(8, 0x40).Frame(); }},
    {"DiscardedHonourRankNine", [](TableClient& t) { t.GiveOtherHand(1, 3, 20); },
     [] { return DiscardFrame(8, 0x19).Frame(); }},
    {"DiscardFromAnEmptyHand", NoSetUp, [] { return DiscardFrame(4, 0x23).Frame(); }},
    {"OwnDrawPastSlot17", [](TableClient& t) { t.Player(0).HandCount = 14; },
     [] { return DrawFrame(1, 0x23).Frame(); }},
    {"OtherDrawPastSlot17", [](TableClient& t) { t.Player(3).HandCount = 14; }, [] { return DrawFrame(2).Frame(); }},
    {"OwnDrawOfNoTile", NoSetUp, [] { return DrawFrame(1, 0x2A).Frame(); }},
    {"PongWithoutAMatchingPair",
     [](TableClient& t) {
         OwnHand(t, {0x27, 0x11, 0x12});
         DiscardOnTable(t);
     },
     [] { return OperationFrame(1, 8, 0x27, 0x27, 0x27).Frame(); }},
    {"ChowOfRankZero",
     [](TableClient& t) {
         OwnHand(t, {0x81, 0x82, 0x12});
         DiscardOnTable(t);
     },
     [] { return OperationFrame(1, 4, 0x81, 0x82, 0x80).Frame(); }},
    {"ChowWithoutTheChosenPair",
     [](TableClient& t) {
         OwnHand(t, {0x81, 0x82, 0x12});
         DiscardOnTable(t);
         t.c.table.ChiChoices = {9, 12, 0, 0, 0, 0};
     },
     [] { return OperationFrame(1, 4, 0x81, 0x82, 0x83).Frame(); }},
    {"ConcealedKongWithoutItsTiles",
     [](TableClient& t) {
         OwnHand(t, {0x81, 0x81, 0x81, 0x81, 0x12});
         t.c.table.KongCandidates[0] = 6;
     },
     [] { return OperationFrame(1, 32, 0x81, 0x81, 0x81).Frame(); }},
    {"SingleTileKongOfNoTile", [](TableClient& t) { t.GiveOtherHand(2, 5, 20); },
     [] { return OperationFrame(4, 64, 0, 0, 0x1A).Frame(); }},
    {"ClaimWithNoDiscardToTake", [](TableClient& t) { t.GiveOtherHand(2, 13, 20); },
     [] { return OperationFrame(4, 8, 0x27, 0x27, 0x27).Frame(); }},
    {"AFifthRedDragonInARow",
     [](TableClient& t) {
         t.GiveOtherHand(1, 5, 20);
         t.Player(1).RedLaid = 4;
     },
     [] { return OperationFrame(8, 64, 0, 0, 0x15).Frame(); }},
    {"OtherSeatsHandOutsideItsSlots",
     [](TableClient& t) {
         t.Player(3).HandFirst = 16;
         t.Player(3).HandCount = 3;
     },
     [] { return DiscardFrame(2, 0x23).Frame(); }},
};

class FrameFaults : public testing::TestWithParam<FaultCase> {};

} // namespace

// A frame whose values cannot be used takes the failure path: the message
// with the kind, the lobby restored, the process ended.
TEST_P(FrameFaults, TakeTheFailurePath)
{
    TableClient table;
    GetParam().setUp(table);
    protocol::GameFrame frame = GetParam().frame();
    frame[260] = 0x5A;
    table.Deliver(frame);
    EXPECT_EQ(table.t.dialogs.texts, QStringList{QStringLiteral("fail control%1 ").arg(frame[3])});
    EXPECT_EQ(table.t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScRestore});
    EXPECT_TRUE(table.t.process.ended);
    EXPECT_EQ(table.c.core.EchoToken[0], 0x5A);
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameFaults, testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

const FaultCase kHarmless[] = {
    {"OtherSeatsDrawCarriesNoTile", NoSetUp, [] { return DrawFrame(4, 0).Frame(); }},
    {"PassWithJunkTiles", NoSetUp, [] { return OperationFrame(2, 1, 0xFF, 0x00, 0x9A).Frame(); }},
    {"UnknownOperation", NoSetUp, [] { return OperationFrame(2, 200, 0xFF, 0, 0).Frame(); }},
    {"WinOfAnotherSeat", NoSetUp, [] { return OperationFrame(2, 128).Frame(); }},
    {"DealOfNothingWithJunk", NoSetUp, [] { return DealFrame(2, {0xFF, 0x00}).Frame(); }},
    {"OwnDiscardWithAnEmptyHand", NoSetUp, [] { return DiscardFrame(1, 0x23).Frame(); }},
    {"SeatBitsNoSeatHas", NoSetUp, [] { return DrawFrame(0x0F).Frame(); }},
    {"WatchedDiscardOfNoTile", [](TableClient& t) { t.c.game.WatchMode = true; },
     [] { return DiscardFrame(8, 0).Frame(); }},
};

class HarmlessFrames : public testing::TestWithParam<FaultCase> {};

} // namespace

TEST_P(HarmlessFrames, GoThroughWithoutFailing)
{
    TableClient table;
    GetParam().setUp(table);
    table.Deliver(GetParam().frame());
    EXPECT_TRUE(table.t.dialogs.texts.isEmpty());
    EXPECT_FALSE(table.t.process.ended);
}

INSTANTIATE_TEST_SUITE_P(Frames, HarmlessFrames, testing::ValuesIn(kHarmless),
                         [](const auto& info) { return std::string(info.param.name); });

// A failure inside a table procedure after its work has begun ends the
// client without a message, as that procedure's own handling does.
TEST(TableFailure, EndsWithoutAMessage)
{
    TableClient table;
    table.GiveOtherHand(1, 3, 20);
    table.Player(1).Slots[6].Image = 500; // no such tile image
    table.Deliver(DiscardFrame(8, 0x23, 0));
    EXPECT_TRUE(table.t.dialogs.texts.isEmpty());
    EXPECT_EQ(table.t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScRestore});
    EXPECT_TRUE(table.t.process.ended);
}
