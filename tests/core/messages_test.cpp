#include "core/messages.h"

#include "core/rings.h"
#include "support/frame_builder.h"
#include "support/test_client.h"

#include <gtest/gtest.h>

using namespace core;
using namespace protocol;
using testing_support::ServerFrame;
using testing_support::TestClient;

namespace {

// Pushes one server frame into the receive ring and reads it.
void Receive(TestClient& t, const GameFrame& f)
{
    t.client.core.RecvRing.Append(f.data(), kFrameSize);
    ReadMsg(t.client);
}

GameFrame SentFrame(TestClient& t, int index)
{
    GameFrame f{};
    std::memcpy(f.data(), t.client.core.SendRing.Data() + index * kFrameSize, kFrameSize);
    return f;
}

int QueuedFrames(TestClient& t) { return t.client.core.SendRing.Waiting() / kFrameSize; }

} // namespace

TEST(Codec, SendMsgQueuesWithEchoTokenCurrentAtEncoding)
{
    TestClient t;
    GameCmd cmd;
    cmd.Kind = CmdKeepAlive;
    t.client.core.EchoToken = {1, 2};
    SendMsg(t.client, cmd);
    t.client.core.EchoToken = {3, 4};
    SendMsg(t.client, cmd);

    ASSERT_EQ(QueuedFrames(t), 2);
    EXPECT_EQ(SentFrame(t, 0)[260], 1);
    EXPECT_EQ(SentFrame(t, 0)[261], 2);
    EXPECT_EQ(SentFrame(t, 1)[260], 3);
    EXPECT_EQ(SentFrame(t, 1)[261], 4);
    EXPECT_TRUE(t.client.core.SchedSend.On);
}

TEST(Codec, ChatWithEmptyTextQueuesNothing)
{
    TestClient t;
    GameCmd cmd;
    cmd.Kind = CmdChat;
    SendMsg(t.client, cmd);
    EXPECT_EQ(t.client.core.SendRing.Write, 0);
    EXPECT_FALSE(t.client.core.SchedSend.On);
}

TEST(Codec, ChatTextIsGbkCutAt100CharactersAndEmptied)
{
    TestClient t;
    t.client.core.ChatText = QStringLiteral("ab") + QChar(0x4E2D); // ab中
    GameCmd cmd;
    cmd.Kind = CmdChat;
    SendMsg(t.client, cmd);
    GameFrame f = SentFrame(t, 0);
    EXPECT_EQ(f[16], 0x61);
    EXPECT_EQ(f[17], 0x62);
    EXPECT_EQ(f[18], 0xD6); // 中 in GBK
    EXPECT_EQ(f[19], 0xD0);
    EXPECT_EQ(f[20], 0);
    EXPECT_TRUE(t.client.core.ChatText.isEmpty());

    t.client.core.ChatText = QString(150, QLatin1Char('x'));
    SendMsg(t.client, cmd);
    f = SentFrame(t, 1);
    EXPECT_EQ(f[16 + 99], 'x');
    EXPECT_EQ(f[16 + 100], 0);

    // 100 double-byte characters fill bytes 16-215 exactly.
    t.client.core.ChatText = QString(120, QChar(0x4E2D));
    SendMsg(t.client, cmd);
    f = SentFrame(t, 2);
    EXPECT_EQ(f[214], 0xD6);
    EXPECT_EQ(f[215], 0xD0);
    EXPECT_EQ(f[216], 0);
}

TEST(Codec, ChatUnrepresentableCharacterBecomesQuestionMark)
{
    TestClient t;
    t.client.core.ChatText = QStringLiteral("a") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("b");
    GameCmd cmd;
    cmd.Kind = CmdChat;
    SendMsg(t.client, cmd);
    GameFrame f = SentFrame(t, 0);
    EXPECT_EQ(f[16], 'a');
    EXPECT_EQ(f[17], '?');
    EXPECT_EQ(f[18], 'b');
    EXPECT_EQ(f[19], 0);
}

TEST(Codec, ChatNameOnlyInModes1To3)
{
    for (int mode : {0, 1, 2, 3, 4}) {
        TestClient t;
        t.client.game.Players[0].Name = QByteArray("PlayerNameLonger17"); // cut to 16 bytes
        t.client.core.ChatText = QStringLiteral("hi");
        GameCmd cmd;
        cmd.Kind = CmdChat;
        cmd.Data[0] = static_cast<int16_t>(mode);
        SendMsg(t.client, cmd);
        GameFrame f = SentFrame(t, 0);
        QByteArray name(reinterpret_cast<const char*>(f.data() + 217), 17);
        if (mode >= 1 && mode <= 3)
            EXPECT_EQ(name, QByteArray("PlayerNameLonger", 16) + '\0') << "mode " << mode;
        else
            EXPECT_EQ(name, QByteArray(17, '\0')) << "mode " << mode;
    }
}

TEST(Codec, SendRawFrameTouchesOnlyTheEchoToken)
{
    TestClient t;
    t.client.core.EchoToken = {0x12, 0x34};
    GameFrame f{};
    for (int i = 0; i < kFrameSize; ++i)
        f[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i * 7 + 1);
    GameFrame expected = f;
    expected[260] = 0x12;
    expected[261] = 0x34;
    SendRawFrame(t.client, f);
    EXPECT_EQ(f, expected);              // the caller's array is stamped
    EXPECT_EQ(SentFrame(t, 0), expected); // and queued as built
    EXPECT_TRUE(t.client.core.SchedSend.On);
}

TEST(Codec, ReadMsgFillsRecvFrameAndCurMsgAndMovesOneFrame)
{
    TestClient t;
    auto f = ServerFrame(6, {{6, 0x24}, {9, 0x81}, {100, 0x5A}});
    Receive(t, f);
    EXPECT_EQ(t.client.core.RecvFrame, f);
    EXPECT_EQ(t.client.core.CurMsg.Kind, 6);
    EXPECT_EQ(t.client.core.CurMsg.Seat, 4);
    EXPECT_EQ(t.client.core.CurMsg.Data[0], 0x81);
    EXPECT_EQ(t.client.core.RecvRing.Read, kFrameSize);
}

TEST(Codec, SeatNamesAppendUpToFirstZeroByte)
{
    TestClient t;
    // 16 non-zero bytes need no terminator; byte 32 is not part of the name.
    std::initializer_list<std::pair<int, int>> full = {
        {6, 4}, {16, 'A'}, {17, 'B'}, {18, 'C'}, {19, 'D'}, {20, 'E'}, {21, 'F'}, {22, 'G'}, {23, 'H'},
        {24, 'I'}, {25, 'J'}, {26, 'K'}, {27, 'L'}, {28, 'M'}, {29, 'N'}, {30, 0xB0}, {31, 0xA1}, {32, 'Z'}};
    Receive(t, ServerFrame(3, full));
    EXPECT_EQ(t.client.core.SeatNames[2], QByteArray("ABCDEFGHIJKLMN\xB0\xA1"));

    Receive(t, ServerFrame(3, {{6, 1}, {16, 0}, {17, 'X'}}));
    EXPECT_TRUE(t.client.core.SeatNames[0].isEmpty());

    // Appended to what the entry already holds.
    Receive(t, ServerFrame(3, {{6, 4}, {16, 'x'}, {17, 'y'}}));
    EXPECT_EQ(t.client.core.SeatNames[2], QByteArray("ABCDEFGHIJKLMN\xB0\xA1xy"));
}
