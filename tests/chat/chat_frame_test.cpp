#include "chat/chat.h"

#include "chat/talk_form.h"
#include "core/messages.h"
#include "core/rings.h"
#include "support/frame_builder.h"
#include "support/test_client.h"

#include <gtest/gtest.h>

using testing_support::ServerFrame;
using testing_support::TestClient;

namespace {

void Receive(TestClient& t, const protocol::GameFrame& f)
{
    t.client.core.RecvRing.Append(f.data(), protocol::kFrameSize);
    core::ReadMsg(t.client);
}

protocol::GameFrame ChatFrame(const QByteArray& text)
{
    auto f = ServerFrame(19, {{6, 2}});
    for (int i = 0; i < text.size(); ++i)
        f[static_cast<std::size_t>(16 + i)] = static_cast<uint8_t>(text[i]);
    return f;
}

} // namespace

TEST(ChatFrames, RelayedPluginFramesAreNotShown)
{
    for (int len : {272, 260}) {
        TestClient t;
        auto f = ChatFrame("hello");
        f[238] = static_cast<uint8_t>(len >> 8);
        f[239] = static_cast<uint8_t>(len & 0xFF);
        Receive(t, f);
        EXPECT_EQ(t.client.Talk->Text1->ListCount(), 0) << len;
        EXPECT_EQ(t.client.core.RecvRing.Read, protocol::kFrameSize);
    }
}

TEST(ChatFrames, LineGoesToTheHistoryWrapped)
{
    TestClient t;
    Receive(t, ChatFrame(QByteArray(60, 'x')));
    ASSERT_EQ(t.client.Talk->Text1->ListCount(), 2);
    EXPECT_EQ(t.client.Talk->Text1->List(0), QStringLiteral(" ") + QString(46, QLatin1Char('x')));
    EXPECT_EQ(t.client.Talk->Text1->List(1), QStringLiteral(" ") + QString(14, QLatin1Char('x')));
}

TEST(ChatFrames, ADoubleByteCharacterMayEndAtByte216)
{
    TestClient t;
    auto f = ChatFrame(QByteArray(199, 'a') + "\xD6");
    f[216] = 0xD0;
    Receive(t, f);
    QString all;
    for (int i = 0; i < t.client.Talk->Text1->ListCount(); ++i)
        all += t.client.Talk->Text1->List(i).mid(1);
    EXPECT_EQ(all, QString(199, QLatin1Char('a')) + QStringLiteral("中"));
}
