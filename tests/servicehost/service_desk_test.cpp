// The customer-service host's desk, spoken to with the client's own packets.
#include "service_desk.h"

#include "platform/gbk.h"
#include "services/gm_packet.h"

#include <gtest/gtest.h>

using servicehost::ServiceDesk;
using namespace services;

namespace {

QByteArray Wire(const GmPacket& p) { return GmPacketBytes(p); }

GmPacket One(ServiceDesk& desk, const GmPacket& request, QStringList* notes = nullptr)
{
    QStringList n;
    const QList<QByteArray> answers = desk.Handle(Wire(request), n);
    if (notes)
        *notes = n;
    EXPECT_LE(answers.size(), 1);
    return answers.isEmpty() ? GmPacket{} : ParseGmPacket(answers.first());
}

QString TextOf(const GmPacket& p, int from, int last) { return GbkBytesToString(p.Payload.data() + from, last); }

} // namespace

TEST(ServiceDesk, EchoesAMessageWithItsCheckByteAndQueuesTheAnswer)
{
    ServiceDesk desk;
    QStringList notes;
    const GmPacket echo = One(desk, BuildGmMessage("alice", QStringLiteral("阿丽"), QStringLiteral("桌"), 0xA7,
                                                   QStringLiteral("牌局卡住了")),
                              &notes);
    EXPECT_EQ(echo.Command, GmEcho);
    EXPECT_EQ(echo.Check, 0xA7);
    EXPECT_NE(echo.Flag, 0);
    EXPECT_EQ(TextOf(echo, 0, echo.Length - 13), ServiceDesk::EchoText());
    EXPECT_EQ(notes, QStringList{QStringLiteral("message from alice (阿丽): 牌局卡住了")});
    EXPECT_EQ(desk.Waiting("alice"), 1);

    const GmPacket count = One(desk, BuildGmQuery("alice"));
    EXPECT_EQ(count.Command, GmCount);
    EXPECT_EQ(count.Length, 16);
    EXPECT_EQ(count.Payload[0], 1);

    const GmPacket reply = One(desk, BuildGmFetch("alice"));
    EXPECT_EQ(reply.Command, GmReply);
    EXPECT_EQ(reply.Flag, 1) << "no further reply waits";
    // The client reads Length - 17 bytes of text from payload offset 4.
    EXPECT_EQ(TextOf(reply, 4, reply.Length - 17), ServiceDesk::ReplyTo(QStringLiteral("牌局卡住了")));

    // The reply waits until it is acknowledged with its id.
    EXPECT_EQ(One(desk, BuildGmFetch("alice")).Command, GmReply);
    std::array<uint8_t, 4> id{};
    std::copy_n(reply.Payload.begin(), 4, id.begin());
    One(desk, BuildGmAck(id, "alice"));
    EXPECT_EQ(desk.Waiting("alice"), 0);
    EXPECT_EQ(One(desk, BuildGmFetch("alice")).Magic, 0) << "nothing waiting: no answer";
}

TEST(ServiceDesk, TheWelcomeWaitsForEveryNewAccountAndFlagsTheRest)
{
    ServiceDesk desk(QStringLiteral("欢迎"));
    One(desk, BuildGmMessage("bob", QString(), QString(), 1, QStringLiteral("hi")));
    EXPECT_EQ(desk.Waiting("bob"), 2);
    const GmPacket first = One(desk, BuildGmFetch("bob"));
    EXPECT_EQ(TextOf(first, 4, first.Length - 17), QStringLiteral("欢迎"));
    EXPECT_EQ(first.Flag, 2) << "one more waits after it";
    EXPECT_EQ(desk.Waiting("carol"), 0);
}

TEST(ServiceDesk, DropsWhatIsNotADatagramOfOurs)
{
    ServiceDesk desk;
    QStringList notes;
    EXPECT_TRUE(desk.Handle(QByteArray("\xFE\x7F" "0123456789", 12), notes).isEmpty());
    GmPacket odd = BuildGmFetch("x");
    odd.Command = 99;
    EXPECT_TRUE(desk.Handle(Wire(odd), notes).isEmpty());
    EXPECT_EQ(notes.size(), 2);
}
