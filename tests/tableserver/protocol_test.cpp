#include "helpers.h"
#include "protocol.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

using namespace tableserver;

namespace {

QString Gbk(const std::string& bytes)
{
    QStringDecoder d("GBK");
    return d.decode(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace

TEST(ServerTexts, AreTheGbkBytesOfTheirWords)
{
    EXPECT_EQ(Gbk(proto::text::Robot), QStringLiteral("机器人"));
    EXPECT_EQ(Gbk(proto::text::Novice), QStringLiteral("新手"));
    EXPECT_EQ(Gbk(proto::text::Player), QStringLiteral("玩家"));
    EXPECT_EQ(Gbk(proto::text::SelfDrawn), QStringLiteral("自摸"));
    EXPECT_EQ(Gbk(proto::text::OnDiscard), QStringLiteral("点炮"));
    EXPECT_EQ(Gbk(proto::text::Drawn), QStringLiteral("流局"));
}

TEST(ServerFrames, HeaderWordsHighByteFirst)
{
    const auto f = proto::Header(protocol::MsgOperation, 4, 9, {8, 0x25, 0x25, 0x25});
    EXPECT_EQ(f[3], 7);
    EXPECT_EQ(f[6], 4);
    EXPECT_EQ(f[7], 9);
    EXPECT_EQ(f[8], 0);
    EXPECT_EQ(f[9], 8);
    EXPECT_EQ(f[14], 0);
    EXPECT_EQ(f[15], 0x25);
    EXPECT_EQ(f[0] | f[1] | f[2] | f[4], 0);
}

TEST(ServerFrames, DealCarriesRankThenSuitBit)
{
    const auto f = proto::Deal(ts_test::ParseTiles("5B 9D E Wd 1C"));
    EXPECT_EQ(ts_test::DataLow(f, 1), 5);
    const std::vector<int> bytes(f.begin() + 16, f.begin() + 26);
    EXPECT_EQ(bytes, (std::vector<int>{5, 2, 9, 8, 1, 1, 7, 1, 1, 4}));
    EXPECT_EQ(f[26], 0);
}

TEST(ServerFrames, TurnPromptCarriesStampMaskAndCountdown)
{
    const auto f = proto::TurnPrompt(3, 200, protocol::OpPong | protocol::OpPass, 15);
    EXPECT_EQ(f[6], 8);
    EXPECT_EQ(f[7], 200);
    EXPECT_EQ(ts_test::DataLow(f, 0), 9);
    EXPECT_EQ(f[protocol::turn_prompt_byte::Countdown], 15);
}

TEST(ServerFrames, GameStartCarriesTheReconnectIdLittleEndian)
{
    const auto f = proto::GameStarts(2, 384);
    EXPECT_EQ(f[6], 4);
    EXPECT_EQ(ts_test::DataLow(f, 3), protocol::StatusGameStarts);
    EXPECT_EQ(f[268], 0x80);
    EXPECT_EQ(f[269], 0x01);
    EXPECT_EQ(f[270], 0);
    EXPECT_EQ(f[271], 0);
    EXPECT_EQ(proto::ReconnectIdOf(f), 384u);
}

TEST(ServerFrames, WallRevealPutsTheFirstTileInTheLastWord)
{
    const auto f = proto::WallReveal(1, ts_test::ParseTiles("1B 2B 3B"), ts_test::ParseTiles("E S"));
    EXPECT_EQ(ts_test::DataLow(f, 3), 0x21);
    EXPECT_EQ(ts_test::DataLow(f, 2), 0x22);
    EXPECT_EQ(ts_test::DataLow(f, 1), 0x23);
    EXPECT_EQ(ts_test::DataLow(f, 0), 0);
    EXPECT_EQ(f[16], 0x11);
    EXPECT_EQ(f[17], 0x12);
    EXPECT_EQ(f[18], 0);
}

TEST(ServerFrames, UserInfoFields)
{
    proto::UserRecord u;
    u.account = "alice";
    u.nickname = proto::text::Robot + "1";
    u.avatar = "w3";
    u.sex = 0;
    u.coins = 10000;
    u.level = proto::text::Novice;
    u.title = proto::text::Player;
    u.userId = 1002;
    const auto f = proto::UserInfo(u, protocol::kOwnRecordSeat);
    EXPECT_EQ(f[6], 15);
    EXPECT_EQ(std::string(f.begin() + 16, f.begin() + 23), proto::text::Robot + "1");
    EXPECT_EQ(std::string(f.begin() + 48, f.begin() + 50), "w3");
    EXPECT_EQ(f[64], 0);
    EXPECT_EQ(f[96], 0x10);
    EXPECT_EQ(f[97], 0x27);
    EXPECT_EQ(std::string(f.begin() + 168, f.begin() + 173), "alice");
    EXPECT_EQ(f[173], 0);
    EXPECT_EQ(f[226], 0xEA); // 1002
    EXPECT_EQ(f[227], 0x03);
    EXPECT_EQ(f[255], 1); // no prop plug-in
}

TEST(ServerFrames, LoginReplyAndReady)
{
    const auto r = proto::LoginReply(protocol::LoginAccepted, 0, 8);
    EXPECT_EQ(ts_test::DataLow(r, 3), 1);
    EXPECT_EQ(ts_test::DataLow(r, 1) & 0x0F, 8);
    const auto ready = proto::PlayerReady("bob");
    EXPECT_EQ(ready[3], protocol::MsgPlayerReady);
    EXPECT_EQ(ts_test::DataLow(ready, 3), 1);
    EXPECT_EQ(std::string(ready.begin() + 16, ready.begin() + 19), "bob");
}

TEST(ServerFrames, ChatRelayNamesTheSenderAndClearsTheToken)
{
    auto in = ts_test::ClientFrame(protocol::CmdChat, 2, 0, {0, 0, 0, 0}, 0x1234);
    proto::PutText(in, 16, "hi", 200);
    const auto out = proto::ChatRelay(in, 3);
    EXPECT_EQ(out[6], 8);
    EXPECT_EQ(out[16], 'h');
    EXPECT_EQ(proto::TokenOf(out), 0);
}

TEST(ClientFrames, DecodeReadsWholeWords)
{
    const auto f = ts_test::ClientFrame(protocol::CmdDiscard, 1, 77, {0, 1, 0, 0x4025}, 0xBEEF);
    const auto c = proto::Decode(f);
    EXPECT_EQ(c.kind, 2);
    EXPECT_EQ(c.seatByte, 1);
    EXPECT_EQ(c.b3, 77);
    EXPECT_EQ(c.data[3], 0x4025);
    EXPECT_EQ(proto::WordTile(c.data[3]), 0x25);
    EXPECT_EQ(c.token, 0xBEEF);
    EXPECT_TRUE(proto::HeaderWellFormed(f));
}

TEST(ClientFrames, LoginNameKeyAndReconnectId)
{
    auto f = ts_test::LoginFrame("alice", protocol::CmdReconnect);
    proto::PutLittle(f, 268, 0x01020304, 4);
    EXPECT_EQ(proto::LoginName(f), "alice");
    EXPECT_EQ(proto::LoginKey(f), "key");
    EXPECT_EQ(proto::ReconnectIdOf(f), 0x01020304u);
    // A sixteen-byte name needs no terminator.
    auto full = ts_test::LoginFrame("abcdefghijklmnop");
    full[32] = 0;
    EXPECT_EQ(proto::LoginName(full), "abcdefghijklmnop");
}


class MalformedHeaderTest : public ::testing::TestWithParam<int> {};

TEST_P(MalformedHeaderTest, NonZeroFixedByteIsMalformed)
{
    auto f = ts_test::ClientFrame(protocol::CmdKeepAlive, 1, 0, {}, 1);
    f[static_cast<std::size_t>(GetParam())] = 1;
    EXPECT_FALSE(proto::HeaderWellFormed(f));
}

INSTANTIATE_TEST_SUITE_P(Bytes, MalformedHeaderTest, ::testing::Values(0, 1, 2, 4));

TEST(Trace, OneLineWithHeaderAndFields)
{
    const auto prompt = proto::TurnPrompt(0, 5, 0x81, 15);
    const std::string out = proto::Describe(prompt, false);
    EXPECT_EQ(out, "kind=6 hdr=0,1,5 data=129,0,0,0 token=0000 | prompt bit=1 stamp=5 mask=0x81 countdown=15");
    const auto discard = ts_test::ClientFrame(protocol::CmdDiscard, 2, 5, {0, 1, 0, 0x4025}, 0xABCD);
    EXPECT_EQ(proto::Describe(discard, true),
              "kind=2 hdr=0,2,5 data=0x0000,0x0001,0x0000,0x4025 token=abcd | discard bit=2 stamp=5 tile=0x25(5B) inside=1");
    EXPECT_EQ(std::string::npos, proto::Describe(proto::SeatResult(1, -20, -2, proto::text::Drawn), false).find('\n'));
    EXPECT_NE(std::string::npos, proto::Describe(proto::SeatResult(1, -20, -2, proto::text::Drawn), false).find("amount=-20 fan=-2"));
}
