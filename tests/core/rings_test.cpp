#include "core/rings.h"

#include "core/messages.h"
#include "match/match.h"
#include "support/frame_builder.h"
#include "support/test_client.h"

#include <gtest/gtest.h>

#include <random>

using namespace core;
using namespace protocol;
using testing_support::Bytes;
using testing_support::ServerFrame;
using testing_support::TestClient;

namespace {

// Frames whose every byte tells which frame and which position it is.
QByteArray NumberedStream(int frames)
{
    QByteArray s;
    for (int n = 0; n < frames; ++n) {
        auto f = ServerFrame(5, {{6, 1 << (n % 4)}});
        for (int i = 16; i < kFrameSize; ++i)
            f[static_cast<std::size_t>(i)] = static_cast<uint8_t>(n * 31 + i);
        s += Bytes(f);
    }
    return s;
}

// Reads every whole frame waiting, as the receive task does.
QByteArray DrainFrames(TestClient& t)
{
    QByteArray got;
    while (t.client.core.RecvRing.HasFrame()) {
        ReadMsg(t.client);
        got += Bytes(t.client.core.RecvFrame);
    }
    return got;
}

} // namespace

TEST(Rings, ArrivalOf300BytesLeaves28Waiting)
{
    TestClient t;
    const QByteArray stream = NumberedStream(2);
    t.tcp.Arrive(stream.left(300));
    EXPECT_TRUE(t.client.core.SchedReceive.On);
    ASSERT_TRUE(t.client.core.RecvRing.HasFrame());
    ReadMsg(t.client);
    EXPECT_EQ(t.client.core.RecvRing.Waiting(), 28);
    EXPECT_FALSE(t.client.core.RecvRing.HasFrame());
    t.tcp.Arrive(stream.mid(300));
    EXPECT_EQ(DrainFrames(t), stream.mid(272));
}

TEST(Rings, StreamSplitAnywhereReassemblesExactly)
{
    // Odd sizes, single bytes, splits inside fields: over several laps of
    // the ring, interleaved with reads.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> size(1, 700);
    TestClient t;
    const QByteArray stream = NumberedStream(1600);
    QByteArray got;
    int at = 0;
    while (at < stream.size()) {
        const int n = std::min<int>(size(rng), static_cast<int>(stream.size()) - at);
        t.tcp.Arrive(stream.mid(at, n));
        at += n;
        if (rng() % 3 == 0)
            got += DrainFrames(t);
    }
    got += DrainFrames(t);
    EXPECT_FALSE(t.process.ended);
    EXPECT_EQ(got, stream);
}

TEST(Rings, FrameAtTheLastSlotIsReadWholeAndWritingWrapsToZero)
{
    TestClient t;
    FrameRing& ring = t.client.core.RecvRing;
    ring.Read = ring.Write = kRingSize - kFrameSize;
    const QByteArray stream = NumberedStream(2);
    t.tcp.Arrive(stream.left(kFrameSize + 5));
    EXPECT_EQ(ring.Write, 5);
    ReadMsg(t.client);
    EXPECT_EQ(Bytes(t.client.core.RecvFrame), stream.left(kFrameSize));
    EXPECT_EQ(ring.Read, 0);
    t.tcp.Arrive(stream.mid(kFrameSize + 5));
    EXPECT_EQ(DrainFrames(t), stream.mid(kFrameSize));
}

TEST(Rings, FullReceiveRingLeavesTheRestInTheSocket)
{
    TestClient t;
    FrameRing& ring = t.client.core.RecvRing;
    const QByteArray stream = NumberedStream(700);
    t.tcp.Arrive(stream);
    // The ring takes what fits, keeping one cell free; the rest waits in the
    // socket, and a further arrival event while full takes nothing.
    EXPECT_EQ(ring.Waiting(), kRingSize - 1);
    EXPECT_EQ(t.tcp.incoming.size(), stream.size() - (kRingSize - 1));
    t.tcp.Arrive(QByteArray());
    EXPECT_EQ(ring.Waiting(), kRingSize - 1);
    EXPECT_FALSE(t.process.ended);
    EXPECT_TRUE(t.lobby.commands.empty());

    // Each frame taken makes room for the socket's next bytes.
    QByteArray got;
    while (ring.HasFrame()) {
        ReadMsg(t.client);
        got += Bytes(t.client.core.RecvFrame);
        TakeSocketBytes(t.client);
    }
    EXPECT_EQ(got, stream);
    EXPECT_TRUE(t.tcp.incoming.isEmpty());
    EXPECT_FALSE(t.process.ended);
}

TEST(Rings, HandshakeBytesGoToTheProxyRing)
{
    TestClient t;
    t.client.core.DirectConnection = false;
    t.tcp.Arrive(QByteArray("\x05\x02", 2));
    EXPECT_EQ(t.client.core.RecvRing.Write, 0);
    EXPECT_FALSE(t.client.core.SchedReceive.On);
    EXPECT_EQ(t.client.core.ProxyRing.Waiting(), 2);

    // A full proxy ring ends the client like the game ring.
    t.tcp.Arrive(QByteArray(kProxyRingSize, '\0'));
    EXPECT_TRUE(t.process.ended);
}

TEST(Rings, ResetRingsEmptiesBoth)
{
    TestClient t;
    t.tcp.Arrive(NumberedStream(3));
    GameCmd cmd;
    cmd.Kind = CmdKeepAlive;
    SendMsg(t.client, cmd);
    ResetRings(t.client);
    EXPECT_EQ(t.client.core.RecvRing.Waiting(), 0);
    EXPECT_EQ(t.client.core.SendRing.Waiting(), 0);
    EXPECT_EQ(t.client.core.RecvRing.Write, 0);
    EXPECT_EQ(t.client.core.SendRing.Write, 0);
}

TEST(Rings, SendRingRefusesThe512thFrameAndKeepsTheQueued)
{
    TestClient t;
    for (int i = 0; i < 511; ++i) {
        GameCmd cmd;
        cmd.Kind = CmdKeepAlive;
        cmd.Data[0] = static_cast<int16_t>(i);
        SendMsg(t.client, cmd);
    }
    FrameRing& ring = t.client.core.SendRing;
    EXPECT_EQ(ring.Waiting(), 511 * kFrameSize);
    const QByteArray before(reinterpret_cast<const char*>(ring.Data()), kRingSize);

    GameCmd extra;
    extra.Kind = CmdKeepAlive;
    SendMsg(t.client, extra);
    GameFrame raw{};
    SendRawFrame(t.client, raw);
    match::QueueMatchFrame(t.client, raw);

    EXPECT_EQ(ring.Waiting(), 511 * kFrameSize);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ring.Data()), kRingSize), before);
    EXPECT_EQ(ring.Read, 0);

    // Once a frame is taken out, there is room again.
    ring.PopFrame();
    SendMsg(t.client, extra);
    EXPECT_EQ(ring.Waiting(), 511 * kFrameSize);
}

TEST(Rings, MatchFramesAreQueuedAsBuiltWithTheEchoTokenStamped)
{
    TestClient t;
    t.client.core.EchoToken = {9, 8};
    auto f = ServerFrame(72, {{20, 0x44}, {260, 1}, {261, 2}});
    match::QueueMatchFrame(t.client, f);
    ASSERT_EQ(t.client.core.SendRing.Waiting(), kFrameSize);
    EXPECT_EQ(f[260], 9);
    EXPECT_EQ(f[261], 8);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(t.client.core.SendRing.Data()), kFrameSize),
              Bytes(ServerFrame(72, {{20, 0x44}, {260, 9}, {261, 8}})));
    EXPECT_TRUE(t.client.core.SchedSend.On);
}
