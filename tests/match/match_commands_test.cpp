// Match commands: built from zeros with the kind and the instance id, stamped
// with the echo token the client holds, and sent in order one per tick.
#include "match/match.h"

#include "core/rings.h"
#include "core/scheduler.h"
#include "support/frame_builder.h"
#include "support/test_client.h"

#include <gtest/gtest.h>

using namespace testing_support;
using protocol::kFrameSize;

namespace {

QByteArray Queued(Client& c)
{
    const core::FrameRing& ring = c.core.SendRing;
    return QByteArray(reinterpret_cast<const char*>(ring.FrontFrame()), kFrameSize);
}

} // namespace

TEST(MatchCommands, InstanceCommandsCarryTheIdLowByteFirstAndTheEchoToken)
{
    const struct {
        const char* what;
        void (*send)(Client&, int32_t);
        int32_t id;
        int kind;
        std::array<int, 4> idBytes;
    } cases[] = {
        {"sign-up", match::SendMatchSign, 258, 72, {2, 1, 0, 0}},
        {"ranking", match::SendSortRequest, 258, 79, {2, 1, 0, 0}},
        {"largest id", match::SendMatchSign, 0x7FFFFFFF, 72, {0xFF, 0xFF, 0xFF, 0x7F}},
        {"id 0", match::SendSortRequest, 0, 79, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestClient t;
        t.client.core.EchoToken = {0x5A, 0xA5};
        c.send(t.client, c.id);
        ASSERT_EQ(t.client.core.SendRing.Waiting(), kFrameSize);
        const auto expected = ServerFrame(c.kind, {{16, c.idBytes[0]}, {17, c.idBytes[1]}, {18, c.idBytes[2]},
                                                   {19, c.idBytes[3]}, {260, 0x5A}, {261, 0xA5}});
        EXPECT_EQ(Queued(t.client), Bytes(expected));
        EXPECT_TRUE(t.client.core.SchedSend.On);
    }
}

TEST(MatchCommands, ANegativeIdSendsNothing)
{
    TestClient t;
    match::SendMatchSign(t.client, -1);
    match::SendSortRequest(t.client, INT32_MIN);
    EXPECT_EQ(t.client.core.SendRing.Waiting(), 0);
}

TEST(MatchCommands, TheTimeRequestIsKindAndTokenOnlyAndNotesItsTime)
{
    TestClient t;
    t.client.core.EchoToken = {3, 4};
    t.clock.ms = 123456;
    match::SendMatchTimeRequest(t.client);
    EXPECT_EQ(Queued(t.client), Bytes(ServerFrame(81, {{260, 3}, {261, 4}})));
    EXPECT_EQ(t.client.match.TimeRequestTick, 123456u);

    // At tick 0 the request still counts as pending.
    TestClient early;
    match::SendMatchTimeRequest(early.client);
    EXPECT_NE(early.client.match.TimeRequestTick, 0u);
}

TEST(MatchCommands, AFrameAtTheRingsEndFillsItAndTheWriteIndexWraps)
{
    TestClient t;
    core::FrameRing& ring = t.client.core.SendRing;
    ring.Read = ring.Write = core::kRingSize - kFrameSize;
    match::SendMatchSign(t.client, 1);
    EXPECT_EQ(ring.Write, 0);
    ASSERT_TRUE(ring.HasFrame());
    EXPECT_EQ(ring.Data()[core::kRingSize - kFrameSize + 3], 72);
    EXPECT_EQ(ring.Data()[core::kRingSize - kFrameSize + 16], 1);
}

TEST(MatchCommands, TwoCommandsGoOutInOrderOnePerTick)
{
    TestClient t;
    t.tcp.state = platform::TcpLink::Connected;
    match::SendMatchSign(t.client, 5);
    match::SendSortRequest(t.client, 6);
    for (int i = 0; i < 4 && t.tcp.sent.size() < kFrameSize; ++i)
        core::TimerBong_Timer(t.client);
    ASSERT_EQ(t.tcp.sent.size(), kFrameSize);
    EXPECT_EQ(static_cast<uint8_t>(t.tcp.sent[3]), 72);
    for (int i = 0; i < 4 && t.tcp.sent.size() < 2 * kFrameSize; ++i)
        core::TimerBong_Timer(t.client);
    ASSERT_EQ(t.tcp.sent.size(), 2 * kFrameSize);
    EXPECT_EQ(static_cast<uint8_t>(t.tcp.sent[kFrameSize + 3]), 79);
    EXPECT_EQ(static_cast<uint8_t>(t.tcp.sent[kFrameSize + 16]), 6);
}
