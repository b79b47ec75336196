// Chat frames out and back: what one client queues with SendMsg, relayed
// unchanged by the server, as another client at the same table shows it.

#include "chat_fixture.h"

#include "chat/speak_box.h"
#include "protocol/kinds.h"

#include <gtest/gtest.h>

using chat_test::ChatTable;

namespace {

// Alice's client sits at seat 0, Wang's at seat 2: each sees the other at
// view 2.
struct TwoClients {
    ChatTable alice{0};
    ChatTable wang{2};

    TwoClients()
    {
        for (ChatTable* t : {&alice, &wang})
            t->WritePhrases({QStringLiteral("快点吧"), QStringLiteral("等等我")}, {QStringLiteral("再见")});
    }

    // Alice sends the command with the chat text; the frame is returned as
    // it left her send ring.
    protocol::GameFrame Send(int mode, int item, int target, const QString& text)
    {
        protocol::GameCmd cmd;
        cmd.Kind = protocol::CmdChat;
        cmd.Seat = alice.c.game.Players[0].SeatBit;
        cmd.Data = {static_cast<int16_t>(mode), static_cast<int16_t>(target), 0, static_cast<int16_t>(item)};
        alice.c.core.ChatText = text;
        core::SendMsg(alice.c, cmd);
        protocol::GameFrame f;
        const core::FrameRing& ring = alice.c.core.SendRing;
        std::copy(ring.Data() + ring.Read, ring.Data() + ring.Read + protocol::kFrameSize, f.begin());
        return f;
    }

    QString Name217(const protocol::GameFrame& f) const
    {
        return platform::gbk::Decode(f.data() + 217, 16);
    }
};

TEST(ChatRoundTrip, ATypedLine)
{
    TwoClients t;
    const protocol::GameFrame f = t.Send(0, 0, 0, QStringLiteral("小张说道: 大家好"));
    EXPECT_EQ(t.Name217(f), QString()); // a typed line carries no name
    t.wang.Receive(f);
    EXPECT_EQ(t.wang.Box(0), QStringLiteral("小张说道: 大家好"));
    EXPECT_EQ(t.wang.c.chat.ChatBlinkCount, 8);
    // The sender's own copy comes back to her too, without a blink.
    t.alice.Receive(f);
    EXPECT_EQ(t.alice.Box(0), QStringLiteral("你说道: 大家好"));
    EXPECT_EQ(t.alice.c.chat.ChatBlinkCount, 0);
}

TEST(ChatRoundTrip, AWhisperNamesTheTargetAndReadsAsToYou)
{
    TwoClients t;
    const protocol::GameFrame f = t.Send(0, 0, 4, QStringLiteral("小张对小王说: 跟我"));
    EXPECT_EQ(f[10] << 8 | f[11], 4);
    t.wang.Receive(f);
    EXPECT_EQ(t.wang.Box(0), QStringLiteral("小张对你说: 跟我"));
}

TEST(ChatRoundTrip, APhraseCarriesTheGbkSeatName)
{
    TwoClients t;
    const protocol::GameFrame f = t.Send(1, 2, 0, QStringLiteral("小张说道: 等等我"));
    EXPECT_EQ(t.Name217(f), QStringLiteral("张三"));
    t.wang.Receive(f);
    chat::SpeakBoxForm* box = chat::FindSpeakBox(t.wang.c, 2);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->labPhrase.Caption, QStringLiteral("等等我"));
    EXPECT_EQ(t.wang.Box(0), QStringLiteral("小张说道: 等等我"));
}

TEST(ChatRoundTrip, AnEmoticonPlaysBesideTheSender)
{
    TwoClients t;
    const protocol::GameFrame f = t.Send(3, 7, 0, QString(QChar(0)));
    for (int i = 16; i < 216; ++i)
        ASSERT_EQ(f[static_cast<std::size_t>(i)], 0) << i;
    EXPECT_EQ(t.Name217(f), QStringLiteral("张三"));
    t.wang.Receive(f);
    EXPECT_EQ(t.wang.c.chat.EmoticonIds[2], 674);
    EXPECT_TRUE(t.wang.History().isEmpty());
    // Back at the sender: her own cell, and the price in the system lines.
    t.alice.Receive(f);
    EXPECT_EQ(t.alice.c.chat.EmoticonIds[0], 674);
    EXPECT_EQ(t.alice.Box(0), QStringLiteral("您使用动态表情，消耗50金币!"));
}

} // namespace
