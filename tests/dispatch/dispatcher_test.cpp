#include "dispatch/dispatcher.h"

#include "app/client.h"
#include "core/messages.h"
#include "dispatch/hold_back.h"
#include "dispatch/recording_plugin.h"
#include "platform/lobby_link.h"
#include "support/table_fixture.h"

#include <gtest/gtest.h>

#include <set>

using dispatch::Route;
using dispatch::RouteOf;
using testing_support::FrameBuilder;
using testing_support::RecordingPlugin;
using testing_support::TableClient;

namespace {

// Reads the frame into RecvFrame and CurMsg and dispatches it, as the
// scheduler's receive task does.
void Dispatch(Client& c, const protocol::GameFrame& frame)
{
    c.core.RecvRing.Append(frame.data(), protocol::kFrameSize);
    core::ReadMsg(c);
    dispatch::DispatchServerMsg(c, c.core.CurMsg);
}

std::shared_ptr<RecordingPlugin> RunPlugin(Client& c)
{
    auto plugin = std::make_shared<RecordingPlugin>();
    c.rewards.PropPlugin = plugin;
    c.rewards.PropPluginState = 1;
    return plugin;
}

} // namespace

// Every kind has exactly one way: the arms of the table play, the kinds
// whose arms live elsewhere, the match handlers, and the plug-in for all
// the rest.
TEST(Routing, EveryKindHasItsWay)
{
    const std::set<int> play{1, 2, 5, 6, 7};
    const std::set<int> armed{3, 4, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 29, 40, 41, 66};
    for (int kind = 0; kind <= 255; ++kind) {
        Route expected = Route::Plugin;
        if (play.count(kind))
            expected = Route::TablePlay;
        else if (armed.count(kind))
            expected = Route::OtherArm;
        else if (kind == 46)
            expected = Route::PluginScore;
        else if (kind == 47)
            expected = Route::Match47;
        else if (kind >= 72 && kind <= 99)
            expected = Route::Match;
        EXPECT_EQ(RouteOf(kind), expected) << kind;
    }
}

struct EchoCase {
    int kind;
    bool takesToken;
};

class EchoToken : public testing::TestWithParam<EchoCase> {};

TEST_P(EchoToken, TakenOverByRawKind)
{
    testing_support::TestClient t;
    t.client.core.EchoToken = {0x11, 0x22};
    // Word 3 = 1: a reconnect reply (kind 29) that accepts, so the client stays.
    Dispatch(t.client, FrameBuilder(GetParam().kind).Echo(0xAB, 0xCD).Word(3, 1));
    const std::array<uint8_t, 2> expected =
        GetParam().takesToken ? std::array<uint8_t, 2>{0xAB, 0xCD} : std::array<uint8_t, 2>{0x11, 0x22};
    EXPECT_EQ(t.client.core.EchoToken, expected);
    EXPECT_FALSE(t.process.ended);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EchoToken,
                         testing::Values(EchoCase{29, false}, EchoCase{71, false}, EchoCase{72, false},
                                         EchoCase{99, false}, EchoCase{70, true}, EchoCase{100, true},
                                         EchoCase{8, true}, EchoCase{46, true}, EchoCase{255, true}),
                         [](const auto& info) { return "Kind" + std::to_string(info.param.kind); });

TEST(PluginFrames, KindsWithoutArmGoToTheRunningPluginOnly)
{
    testing_support::TestClient t;
    Dispatch(t.client, FrameBuilder(8));
    Dispatch(t.client, FrameBuilder(44));
    EXPECT_FALSE(t.process.ended);

    auto plugin = RunPlugin(t.client);
    for (int kind : {8, 44, 45, 0, 100, 255, 71})
        Dispatch(t.client, FrameBuilder(kind));
    EXPECT_EQ(plugin->kinds, (std::vector<int>{8, 44, 45, 0, 100, 255, 71}));
}

TEST(PluginFrames, ScoreFrameMarksScoreInfoOnlyWhileThePluginRuns)
{
    testing_support::TestClient t;
    t.client.rewards.PropScoreInfoDue = 5;
    Dispatch(t.client, FrameBuilder(46));
    EXPECT_EQ(t.client.rewards.PropScoreInfoDue, 5);

    auto plugin = RunPlugin(t.client);
    t.client.rewards.PropScoreInfoDue = 0;
    Dispatch(t.client, FrameBuilder(46));
    EXPECT_EQ(t.client.rewards.PropScoreInfoDue, -1);
    EXPECT_EQ(plugin->kinds, std::vector<int>{46});
}

TEST(PluginFrames, MatchFramesAndArmedKindsNeverReachThePlugin)
{
    testing_support::TestClient t;
    auto plugin = RunPlugin(t.client);
    for (int kind : {47, 72, 85, 99, 3, 19, 29, 66})
        Dispatch(t.client, FrameBuilder(kind).Seat(1).Word(3, 1)); // well-formed for the arms: 29 accepts
    EXPECT_TRUE(plugin->kinds.empty());
    EXPECT_FALSE(t.process.ended);
}

TEST(PluginFrames, RoutedByByte3AloneWhateverByte2Holds)
{
    testing_support::TestClient t;
    auto plugin = RunPlugin(t.client);
    Dispatch(t.client, FrameBuilder(8).Byte(2, 1));
    Dispatch(t.client, FrameBuilder(47).Byte(2, 3));
    EXPECT_EQ(plugin->kinds, std::vector<int>{8});
}

TEST(FailurePath, PluginFailureShowsTheKindRestoresTheLobbyAndEnds)
{
    testing_support::TestClient t;
    RunPlugin(t.client)->fails = true;
    Dispatch(t.client, FrameBuilder(45).Echo(3, 4));
    ASSERT_EQ(t.dialogs.texts.size(), 1);
    EXPECT_EQ(t.dialogs.texts[0], QStringLiteral("fail control45 "));
    EXPECT_EQ(t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScRestore});
    EXPECT_TRUE(t.process.ended);
    EXPECT_EQ(t.client.core.EchoToken, (std::array<uint8_t, 2>{3, 4}));
}

TEST(FailurePath, APluginMarkedRunningWithoutItsObjectFails)
{
    testing_support::TestClient t;
    t.client.rewards.PropPluginState = 2;
    Dispatch(t.client, FrameBuilder(8));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control8 ")});
    EXPECT_TRUE(t.process.ended);
}

TEST(FailurePath, TheFailDetailOfTheCallFollowsTheKind)
{
    testing_support::TestClient t;
    RunPlugin(t.client)->fails = true;
    t.client.dispatch.FailDetail = QStringLiteral("left over");
    Dispatch(t.client, FrameBuilder(44));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control44 ")});
}

TEST(FailurePath, WithoutTheLobbyWindowTheClientEndsAtOnce)
{
    testing_support::TestClient t;
    t.lobby.exists = false;
    RunPlugin(t.client)->fails = true;
    Dispatch(t.client, FrameBuilder(8));
    EXPECT_TRUE(t.process.ended);
    EXPECT_TRUE(t.lobby.commands.empty());
}

// The receive task of the scheduler hands each frame to the dispatcher.
TEST(FailurePath, AFailingFrameThroughTheSchedulerIsConsumed)
{
    TableClient table;
    table.Deliver(FrameBuilder(1).Word(1, 14).Echo(9, 9));
    EXPECT_EQ(table.t.dialogs.texts, QStringList{QStringLiteral("fail control1 ")});
    EXPECT_TRUE(table.t.process.ended);
    EXPECT_FALSE(table.c.core.RecvRing.HasFrame());
    EXPECT_EQ(table.c.core.EchoToken, (std::array<uint8_t, 2>{9, 9}));
}

namespace {

// A plug-in frame as the send task sees it: kind 45 and a first word.
protocol::GameFrame PluginFrame(int word, int marker)
{
    return FrameBuilder(45).Word(0, word).Byte(6, 0).Byte(20, marker);
}

} // namespace

TEST(HoldBack, HandEndHoldsTheFirstFrameUntilTheNextHandStarts)
{
    TableClient table(2);
    Client& c = table.c;
    c.core.EchoToken = {7, 8};
    dispatch::ArmHoldBack(c);
    for (int marker : {1, 2}) {
        auto frame = PluginFrame(1032, marker);
        core::SendRawFrame(c, frame);
    }
    auto sent = table.TakeSent();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0][20], 2);
    EXPECT_FALSE(c.core.HoldBackArmed1);
    EXPECT_TRUE(c.core.HoldBackArmed2);

    c.core.EchoToken = {5, 6};
    dispatch::ReleaseHeldFrames(c);
    sent = table.TakeSent();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0][20], 1);
    EXPECT_EQ(sent[0][6], 4); // the local player's seat bit
    EXPECT_EQ(sent[0][260], 5);
    EXPECT_EQ(sent[0][261], 6);
    EXPECT_EQ(c.core.HoldBackFrame1[3], 0);

    // Released once only.
    dispatch::ReleaseHeldFrames(c);
    EXPECT_TRUE(table.TakeSent().empty());
}

TEST(HoldBack, TheSecondSortIsKeptWhileItsFlagIsStillArmed)
{
    TableClient table;
    Client& c = table.c;
    dispatch::ArmHoldBack(c);
    auto frame = PluginFrame(3088, 9);
    core::SendRawFrame(c, frame);
    EXPECT_TRUE(table.TakeSent().empty());
    EXPECT_FALSE(c.core.HoldBackArmed2);

    // Armed again by another hand end before the hand start: the held frame
    // is dropped.
    dispatch::ArmHoldBack(c);
    dispatch::ReleaseHeldFrames(c);
    EXPECT_TRUE(table.TakeSent().empty());
    EXPECT_FALSE(c.core.HoldBackArmed1);
    EXPECT_TRUE(c.core.HoldBackArmed2);
}

TEST(HoldBack, LoginReplyDisarmsAndEmptiesBoth)
{
    testing_support::TestClient t;
    Client& c = t.client;
    dispatch::ArmHoldBack(c);
    c.core.HoldBackFrame1[3] = 45;
    c.core.HoldBackFrame2[3] = 45;
    dispatch::DisarmHoldBack(c);
    EXPECT_FALSE(c.core.HoldBackArmed1);
    EXPECT_FALSE(c.core.HoldBackArmed2);
    EXPECT_EQ(c.core.HoldBackFrame1, protocol::GameFrame{});
    EXPECT_EQ(c.core.HoldBackFrame2, protocol::GameFrame{});
}
