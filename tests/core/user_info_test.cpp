#include "core/user_info.h"

#include "results/result_forms.h"
#include "support/frame_builder.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace core;
using namespace protocol;
using testing_support::TestClient;

namespace {

void Put(GameFrame& f, int at, const QByteArray& bytes)
{
    for (int i = 0; i < bytes.size(); ++i)
        f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(bytes[i]);
}

GameFrame FullUserFrame()
{
    GameFrame f{};
    f[3] = 20;
    Put(f, 16, QByteArray("\xD5\xC5\xC8\xFD" "ab"));  // 张三ab
    Put(f, 48, "w12");
    f[64] = 1;
    Put(f, 72, QByteArray("\xB0\xA1\xB0\xA2"));      // 啊阿
    Put(f, 80, QByteArray("\x01\x02\0\0\0\0\0\0", 8)); // 513
    Put(f, 88, QByteArray("\x06", 1));
    Put(f, 96, QByteArray("\x10\x27", 2));           // 10000
    Put(f, 104, QByteArray("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8));
    Put(f, 112, QByteArray("\xB8\xDF\xCA\xD6"));     // 高手
    Put(f, 128, QByteArray("\x07", 1));
    Put(f, 136, QByteArray("\x08", 1));
    Put(f, 144, QByteArray("\x03", 1));
    Put(f, 152, QByteArray("\x05\0\0\0", 4));
    Put(f, 156, QByteArray("\xFF\xFF\xFF\xFF", 4)); // -1
    Put(f, 160, QByteArray("\x00\x00\x00\x80", 4)); // top bit set
    Put(f, 164, QByteArray("\x2A\x01\0\0", 4));     // 298
    Put(f, 168, "player01");
    Put(f, 184, QByteArray("\xB4\xF3\xCF\xC0"));     // 大侠
    f[209] = 4;
    Put(f, 210, "v1");
    Put(f, 218, "x2");
    Put(f, 226, QByteArray("\x39\x30\0\0\0\0\0\0", 8)); // 12345
    return f;
}

} // namespace

TEST(UserInfo, ParsesEveryField)
{
    UserInfo u;
    u.VoiceKind = 3;
    u.SnapshotMark = -1;
    const GameFrame f = FullUserFrame();
    ParseUserInfo(u, f.data());
    EXPECT_EQ(u.Nickname, QStringLiteral("张三ab"));
    EXPECT_EQ(u.AvatarId, QStringLiteral("w12"));
    EXPECT_EQ(u.Sex, 1);
    EXPECT_EQ(u.CardText, QStringLiteral("啊阿"));
    EXPECT_EQ(u.Points, 513.0);
    EXPECT_EQ(u.MemberLevel, 6.0);
    EXPECT_EQ(u.Coins, 10000.0);
    EXPECT_EQ(u.Value104, 18446744073709551615.0); // no overflow at 2^64 - 1
    EXPECT_EQ(u.LevelText, QStringLiteral("高手"));
    EXPECT_EQ(u.Value128, 7.0);
    EXPECT_EQ(u.Value136, 8.0);
    EXPECT_EQ(u.RoomGrade, 3.0);
    EXPECT_EQ(u.Count152, 5);
    EXPECT_EQ(u.Count156, -1);
    EXPECT_EQ(u.Count160, INT32_MIN);
    EXPECT_EQ(u.Count164, 298);
    EXPECT_EQ(u.Account, QByteArray("player01"));
    EXPECT_EQ(u.Title, QStringLiteral("大侠"));
    EXPECT_EQ(u.VipLevel, 4);
    EXPECT_EQ(u.Voice1, QStringLiteral("v1"));
    EXPECT_EQ(u.Voice2, QStringLiteral("x2"));
    EXPECT_EQ(u.UserId, 12345.0);
    EXPECT_TRUE(u.HasSafeVoice());
    // Not from the frame.
    EXPECT_EQ(u.VoiceKind, 3);
    EXPECT_EQ(u.SnapshotMark, -1);
}

TEST(UserInfo, FieldEdges)
{
    GameFrame f{};
    // 32 single-byte characters fill the nickname field whole.
    Put(f, 16, QByteArray(32, 'n'));
    UserInfo u;
    ParseUserInfo(u, f.data());
    EXPECT_EQ(u.Nickname, QString(32, QLatin1Char('n')));
    EXPECT_EQ(u.AvatarId, QStringLiteral("m1"));
    // A lead byte at byte 47 is taken alone.
    f[47] = 0xB0;
    f[48] = 0xA1; // the avatar id is not read into the nickname
    ParseUserInfo(u, f.data());
    EXPECT_EQ(u.Nickname, QString(31, QLatin1Char('n')) + QLatin1Char('?'));
    // A zero lead byte ends a pair text.
    Put(f, 72, QByteArray("\xB0\xA1\0\xA2", 4));
    ParseUserInfo(u, f.data());
    EXPECT_EQ(u.CardText, QStringLiteral("啊"));
}

TEST(UserInfo, VoiceFieldsMustBeLettersAndDigits)
{
    for (auto [voice, safe] : {std::pair{"abc09Z", true}, {"", true}, {"../x", false}, {"a b", false},
                               {"a\\b", false}, {"a.wav", false}}) {
        GameFrame f{};
        Put(f, 218, voice);
        UserInfo u;
        ParseUserInfo(u, f.data());
        EXPECT_EQ(u.HasSafeVoice(), safe) << voice;
    }
}

TEST(UserInfo, AvatarNumbers)
{
    const std::pair<const char*, int> cases[] = {{"m1", 0},   {"m3", 2},  {"w3", 12}, {"w1", 10}, {"m10", 9},
                                                 {"w10", 19}, {"m11", 0}, {"w25", 10}, {"m0", -1}, {"m", -1},
                                                 {"mx", -1},  {"m1a", -1}, {"w123", -1}};
    for (auto [id, n] : cases) {
        const std::optional<int> got = AvatarNumber(QString::fromLatin1(id));
        EXPECT_EQ(got.value_or(-1), n) << id;
    }
}

TEST(UserInfo, SeatPanelShowsTheRecord)
{
    TestClient t;
    ParseUserInfo(t.client.game.UserInfos[2], FullUserFrame().data());
    ShowSeatPanel(t.client, 2);
    window::MainForm& f = *t.client.MainForm;
    EXPECT_EQ(f.Nid[2].Caption, QStringLiteral("[大侠] 张三ab"));
    EXPECT_EQ(f.Cash[2].Caption, QStringLiteral("10000金币"));
    EXPECT_EQ(f.Level[2].Caption, QStringLiteral("高手"));
    // "w12": 12 - 1 = 11 is 10 or more, so 0, plus 10 for a woman.
    EXPECT_EQ(f.Tou[2].PictureId(), 401);
}

TEST(UserInfo, AvatarOutsideThePicturesKeepsTheCurrentOne)
{
    TestClient t;
    window::MainForm& f = *t.client.MainForm;
    f.Tou[1].SetPicture({195, {}});
    t.client.game.UserInfos[1].AvatarId = QStringLiteral("m0");
    ShowSeatPanel(t.client, 1);
    EXPECT_EQ(f.Tou[1].PictureId(), 195);
    t.client.game.UserInfos[1].AvatarId = QStringLiteral("w3");
    ShowSeatPanel(t.client, 1);
    EXPECT_EQ(f.Tou[1].PictureId(), 403);
    EXPECT_EQ(t.client.Score->Tou[1].PictureId(), 403);
    EXPECT_EQ(t.client.Hero->Tou[1].PictureId(), 403);
}

TEST(UserInfo, SpectatorSeatsFromFourFrames)
{
    TestClient t;
    Client& c = t.client;
    c.game.WatchMode = true;
    c.game.UserInfos[0].UserId = 77;
    const uint8_t seats[4] = {1, 2, 4, 8};
    for (int i = 0; i < 4; ++i) {
        GameFrame f{};
        f[3] = 20;
        f[6] = static_cast<uint8_t>(0x10 | seats[i]); // high bits are not part of the seat
        Put(f, 168, QByteArray("acct") + char('A' + i));
        Put(f, 16, QByteArray("nick") + char('A' + i));
        Put(f, 48, "m2");
        f[226] = static_cast<uint8_t>(i == 2 ? 77 : 10 + i);
        c.game.WatchFrames[static_cast<std::size_t>(i)] = f;
    }
    c.game.DealerSeat = 8;
    c.game.RoundHeaderArgs = {3, 5};
    ShowUserInfo(c);

    // The watched player sits on seat 4.
    EXPECT_EQ(c.game.Players[0].SeatBit, 4);
    EXPECT_EQ(c.game.Players[0].Name, QByteArray("acctC"));
    EXPECT_EQ(c.game.Players[3].SeatBit, 8);
    EXPECT_EQ(c.game.Players[2].SeatBit, 1);
    EXPECT_EQ(c.game.Players[1].SeatBit, 2);
    EXPECT_EQ(c.game.Players[1].Name, QByteArray("acctB"));
    EXPECT_EQ(c.game.UserInfos[3].Nickname, QStringLiteral("nickD"));
    EXPECT_EQ(c.game.WatchFrames[0][6], 1);
    EXPECT_TRUE(c.MainForm->ZhiNan.Visible);
    EXPECT_EQ(c.MainForm->ZhiNan.PictureId(), 128);

    // Dealer in view 3: head = ((((3 + 13 - 3) mod 4) * 17 + 3 + 5) * 2) mod 136.
    EXPECT_EQ(c.game.Players[3].BankerMark, -1);
    EXPECT_EQ(c.table.WallHead, ((1 * 17 + 8) * 2) % 136);
    EXPECT_EQ(c.table.WallTail, (c.table.WallHead + 134) % 136);
    EXPECT_EQ(c.MainForm->Nid[0].Caption, QStringLiteral("[] nickC"));
    EXPECT_EQ(c.Score->ID[2].Caption, QStringLiteral("nickA"));
}

TEST(UserInfo, SpectatorWallStartStaysInTheRingForLargeHeaderValues)
{
    TestClient t;
    Client& c = t.client;
    c.game.Players[0].SeatBit = 1;
    c.game.DealerSeat = 1;
    c.game.RoundHeaderArgs = {250, 3};
    ShowUserInfo(c);
    EXPECT_GE(c.table.WallHead, 0);
    EXPECT_LT(c.table.WallHead, 136);
    EXPECT_GE(c.table.WallTail, 0);
}
