// User records (kind 20), chat (kind 19) and report replies (kind 66).
#include "table_fixture.h"

#include "results/result_forms.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace dispatch_test;

namespace {

int AvatarGif(int n) { return n < 10 ? 191 + n : 391 + n; }

// The local player's record and three newcomers, as a table fills up.
void FillUp(Table& t)
{
    std::array<User, 4> users = FourUsers(0);
    t.Deliver(UserFrame(users[0])); // the own record, seat byte 15
    for (int i = 1; i < 4; ++i) {
        User u = users[static_cast<std::size_t>(i)];
        u.seat = 0;
        t.Deliver(UserFrame(u));
    }
}

} // namespace

// ---- Seating ----

class Seating : public testing::TestWithParam<int> {};

TEST_P(Seating, SeatNamesAndUserRecordsSeatFourPlayers)
{
    Table t;
    const int own = GetParam();
    t.SeatFour(own);
    GameState& g = t.client.game;
    window::MainForm& f = *t.client.MainForm;
    EXPECT_FALSE(t.Failed());
    const std::array<User, 4> users = FourUsers(own);
    for (int i = 0; i < 4; ++i) {
        const User& u = users[static_cast<std::size_t>(i)];
        const int v = table::SeatView(g.Players[0].SeatBit, static_cast<uint8_t>(1 << i));
        const auto sv = static_cast<std::size_t>(v);
        EXPECT_EQ(g.Players[sv].SeatBit, 1 << i);
        EXPECT_EQ(g.Players[sv].Name, u.account);
        EXPECT_EQ(g.UserInfos[sv].Nickname, u.nickname);
        EXPECT_EQ(f.Nid[v].Caption, QStringLiteral("[玩家] ") + u.nickname);
        EXPECT_EQ(f.Cash[v].Caption, QStringLiteral("10000金币"));
        EXPECT_EQ(f.Level[v].Caption, QStringLiteral("新手"));
        EXPECT_EQ(t.client.Hero->ID[v].Caption, u.nickname);
        EXPECT_EQ(t.client.results.SeatNamePics[sv].Name, u.nickname);
    }
    EXPECT_EQ(g.Players[0].SeatBit, 1 << own);
    // The seat draw ran on the fourth record.
    EXPECT_EQ(g.GamePhase, 5);
    EXPECT_EQ(g.SeatDrawArmed, 0);
    EXPECT_TRUE(f.ZhiNan.Visible);
    EXPECT_EQ(f.ZhiNan.PictureId(), 126 + own);
    for (int v = 0; v < 4; ++v) {
        const core::UserInfo& u = g.UserInfos[static_cast<std::size_t>(v)];
        EXPECT_EQ(u.Voice1, QStringLiteral("27"));
        EXPECT_EQ(t.client.chat.SeatVoiceFolders[static_cast<std::size_t>(v)], u.Voice2);
        if (u.Sex == 0) {
            EXPECT_EQ(u.VoiceKind, 2);
            EXPECT_TRUE(QStringList({"10", "20", "30"}).contains(u.Voice2)) << u.Voice2.toStdString();
        } else {
            EXPECT_EQ(u.VoiceKind, 3);
            EXPECT_TRUE(QStringList({"10", "20", "30", "40"}).contains(u.Voice2)) << u.Voice2.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kind20, Seating, testing::Values(0, 1, 2, 3));

TEST(Kind20, NewcomersFillTheTableAndClearItOnce)
{
    Table t;
    FillUp(t);
    GameState& g = t.client.game;
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(g.SeatedCount, 3);
    EXPECT_EQ(g.TableCleared, -1);
    EXPECT_EQ(g.Players[1].Name, "bob");
    EXPECT_EQ(g.Players[2].Name, "carol");
    EXPECT_EQ(g.Players[3].Name, "dave");
    EXPECT_EQ(t.client.MainForm->Sysmsg[0]->List(0), QStringLiteral("游戏将在15秒内开始"));
    EXPECT_EQ(t.lobby.commands, (std::vector<uint32_t>{platform::LobbyLink::kScMinimize}));
}

TEST(Kind20, SeatingAfterNewcomersEndsLikeSeatingWithoutThem)
{
    Table withNewcomers;
    FillUp(withNewcomers);
    withNewcomers.SeatFour(2);
    Table without;
    without.SeatFour(2);
    for (int v = 0; v < 4; ++v) {
        const auto sv = static_cast<std::size_t>(v);
        EXPECT_EQ(withNewcomers.client.game.Players[sv].SeatBit, without.client.game.Players[sv].SeatBit);
        EXPECT_EQ(withNewcomers.client.game.Players[sv].Name, without.client.game.Players[sv].Name);
        EXPECT_EQ(withNewcomers.client.game.UserInfos[sv].Nickname, without.client.game.UserInfos[sv].Nickname);
        EXPECT_EQ(withNewcomers.client.game.Players[sv].HandFirst, 4);
    }
    EXPECT_EQ(withNewcomers.client.game.GamePhase, 5); // the seat draw ran
    EXPECT_FALSE(withNewcomers.Failed());
}

struct NewcomerCase {
    int seatedBefore;
    std::vector<int> labelled; // views whose name label is filled
    int view;
};

class NewcomerPlace : public testing::TestWithParam<NewcomerCase> {};

TEST_P(NewcomerPlace, TheFirstEmptyPanelTakesTheNewcomer)
{
    Table t;
    t.client.game.SeatedCount = static_cast<int16_t>(GetParam().seatedBefore);
    t.client.game.TableCleared = -1;
    for (int v : GetParam().labelled)
        t.client.MainForm->Nid[v].SetCaption(QStringLiteral("someone"));
    User u;
    u.seat = 0;
    u.account = "erin";
    u.nickname = QStringLiteral("艾琳");
    t.Deliver(UserFrame(u));
    EXPECT_EQ(t.client.game.Players[static_cast<std::size_t>(GetParam().view)].Name, "erin");
    EXPECT_EQ(t.client.game.UserInfos[static_cast<std::size_t>(GetParam().view)].Nickname, u.nickname);
}

INSTANTIATE_TEST_SUITE_P(Kind20, NewcomerPlace,
                         testing::Values(NewcomerCase{1, {1, 2}, 3}, NewcomerCase{2, {1, 2, 3}, 1},
                                         NewcomerCase{1, {2}, 1}, NewcomerCase{0, {1, 2}, 1}));

TEST(Kind20, AfterAHandTheThirdNewcomerLeavesTheWindowsAlone)
{
    Table t;
    t.client.game.HandStartedFlag = 1;
    FillUp(t);
    EXPECT_TRUE(t.lobby.commands.empty());
}

TEST(Kind20, TheOwnSeatBitConfirmsWithoutDecodingAgain)
{
    Table t;
    t.SeatFour(0);
    User u = FourUsers(0)[0];
    u.seat = 1;
    u.nickname = QStringLiteral("别的名字");
    u.wealth = 300;
    t.Deliver(UserFrame(u));
    EXPECT_EQ(t.client.game.UserInfos[0].Nickname, FourUsers(0)[0].nickname);
    EXPECT_EQ(t.client.game.SeatWealth[0], 300);
    EXPECT_EQ(t.client.MainForm->lbwealth.Caption, QStringLiteral("30"));
}

struct AvatarCase {
    QByteArray id;
    int picture; // -1: the frame fails
};

class UserAvatar : public testing::TestWithParam<AvatarCase> {};

TEST_P(UserAvatar, TheAvatarIdNamesThePicture)
{
    Table t;
    t.SeatFour(0);
    User u = FourUsers(0)[1]; // seat bit 2: view 3
    u.avatar = GetParam().id;
    t.Deliver(UserFrame(u));
    if (GetParam().picture < 0) {
        EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control20 ")});
        return;
    }
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.Score->Tou[3].Tag, QString::number(GetParam().picture));
    EXPECT_EQ(t.client.MainForm->Tou[3].PictureId(), AvatarGif(GetParam().picture));
    EXPECT_EQ(t.client.Hero->Tou[3].PictureId(), AvatarGif(GetParam().picture));
    EXPECT_EQ(t.client.results.SeatNamePics[3].PicIndex, QString::number(GetParam().picture));
}

INSTANTIATE_TEST_SUITE_P(Kind20, UserAvatar,
                         testing::Values(AvatarCase{"m1", 0}, AvatarCase{"m9", 8}, AvatarCase{"m10", 9},
                                         AvatarCase{"w1", 10}, AvatarCase{"w10", 19}, AvatarCase{"m11", 0},
                                         AvatarCase{"", 0}, AvatarCase{"w", 10}, AvatarCase{"m1234", 0},
                                         AvatarCase{"mx", -1}, AvatarCase{"w0x", -1}));

struct VipCase {
    int level;
    int32_t colour; // -1: unchanged
};

class UserVip : public testing::TestWithParam<VipCase> {};

TEST_P(UserVip, TheLevelColoursTheNameAndShowsTheBadge)
{
    Table t;
    t.SeatFour(0);
    window::MainForm& f = *t.client.MainForm;
    f.Nid[3].ForeColor = 0x123456;
    User u = FourUsers(0)[1];
    u.vip = GetParam().level;
    t.Deliver(UserFrame(u));
    EXPECT_EQ(f.Nid[3].ForeColor, GetParam().colour < 0 ? 0x123456 : GetParam().colour);
    const bool badge = GetParam().level >= 1 && GetParam().level <= 6;
    EXPECT_EQ(f.img_vip[3].Visible, badge);
    if (badge) {
        EXPECT_EQ(f.img_vip[3].PictureId(), 896 + 4 * GetParam().level);
        EXPECT_EQ(t.client.rewards.PropAniState[3], 1);
        EXPECT_EQ(t.client.rewards.PropAniOn, -1);
    }
}

INSTANTIATE_TEST_SUITE_P(Kind20, UserVip,
                         testing::Values(VipCase{0, 0xFFFF80}, VipCase{1, 0x89F570}, VipCase{2, 0xED6502},
                                         VipCase{3, 0x00FFFF}, VipCase{4, 0x2424EB}, VipCase{5, 0xEE2EB5},
                                         VipCase{6, 0x0084FF}, VipCase{7, -1}));

TEST(Kind20, TheWealthLabelShowsTheSmallestWealth)
{
    Table t;
    t.SeatFour(0);
    std::array<User, 4> users = FourUsers(0);
    users[1].wealth = 500;
    users[2].wealth = 120;
    t.Deliver(UserFrame(users[1]));
    t.Deliver(UserFrame(users[2]));
    window::MainForm& f = *t.client.MainForm;
    EXPECT_EQ(f.lbwealth.Caption, QStringLiteral("12"));
    EXPECT_TRUE(f.lbwealth.Visible && f.Imgwealth.Visible);
    EXPECT_TRUE(f.lbfont[1].Visible && !f.lbfont[0].Visible);

    t.Deliver(UserFrame(users[3])); // no wealth: hides the labels
    EXPECT_FALSE(f.lbwealth.Visible || f.Imgwealth.Visible);
    EXPECT_EQ(t.client.game.WealthMultiplier, 0);
}

TEST(Kind20, AWealthOfTwoToTheThirtyFirstTakesTheFailurePath)
{
    Table t;
    User u = FourUsers(0)[0];
    u.wealth = 0x80000000u;
    t.Deliver(UserFrame(u));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control20 ")});
    EXPECT_TRUE(t.process.ended);
}

TEST(Kind20, APlugInRefusedByARecordStaysRefused)
{
    Table t;
    t.client.core.CmdLineField14 = 1;
    t.client.rewards.PropPluginState = 1;
    User u = FourUsers(0)[0];
    t.Deliver(UserFrame(u)); // byte 255 = 1: no plug-in
    EXPECT_EQ(t.client.rewards.PropPluginState, -1);
    GameFrame allowing = UserFrame(u);
    allowing[255] = 0;
    t.Deliver(allowing);
    EXPECT_EQ(t.client.rewards.PropPluginState, -1);
}

TEST(Kind20, ServiceSwitchReadyMarkAndTheSeatChangeShow)
{
    Table t;
    window::MainForm& f = *t.client.MainForm;
    t.client.window.ShuffleShowOn = -1;
    t.client.window.WebBrowser2Panel.Shown = -1;
    f.LblShuffle.SetVisible(true);
    User u = FourUsers(0)[0];
    u.ready = true;
    GameFrame frame = UserFrame(u);
    frame[254] = 1;
    t.Deliver(frame);
    EXPECT_EQ(t.client.services.GmServiceOn, -1);
    EXPECT_TRUE(f.ImgGm.Visible);
    EXPECT_EQ(platform::gbk::Decode(t.client.services.GmUserName), u.nickname);
    EXPECT_TRUE(f.OK[0].Visible);
    EXPECT_EQ(t.client.window.ShuffleShowOn, 0);
    EXPECT_FALSE(f.LblShuffle.Visible);
    EXPECT_EQ(t.client.window.WebBrowser2Panel.Shown, 0);
    EXPECT_FALSE(t.client.core.LeaveAfterHand);
}

// ---- Spectating ----

namespace {

struct Watching : Table {
    Watching()
    {
        client.game.WatchMode = true;
        client.game.UserInfos[0].UserId = 1002; // watches the player at seat bit 4
        for (int i = 0; i < 4; ++i)
            Deliver(Record(i, QStringLiteral("玩家%1").arg(i)));
    }
    static GameFrame Record(int seatIndex, const QString& nickname)
    {
        User u;
        u.seat = 1 << seatIndex;
        u.account = "p" + QByteArray::number(seatIndex);
        u.nickname = nickname;
        GameFrame f = UserFrame(u);
        PutLE(f, 226, 1000 + seatIndex, 8);
        return f;
    }
};

} // namespace

TEST(Kind20, ASpectatorSeatsTheTableFromFourRecords)
{
    Watching t;
    GameState& g = t.client.game;
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(g.Players[0].SeatBit, 4);
    EXPECT_EQ(g.Players[3].SeatBit, 8);
    EXPECT_EQ(g.Players[2].SeatBit, 1);
    EXPECT_EQ(g.Players[1].SeatBit, 2);
    EXPECT_EQ(g.UserInfos[0].Nickname, QStringLiteral("玩家2"));
    EXPECT_EQ(g.UserInfos[1].Nickname, QStringLiteral("玩家1"));
}

TEST(Kind20, ALaterRecordUpdatesTheSeatItNames)
{
    Watching t;
    t.Deliver(Watching::Record(1, QStringLiteral("新名字")));
    t.Deliver(Watching::Record(2, QStringLiteral("看着的人")));
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.game.UserInfos[1].Nickname, QStringLiteral("新名字"));
    EXPECT_EQ(t.client.MainForm->Nid[1].Caption, QStringLiteral("[玩家] 新名字"));
    EXPECT_EQ(t.client.game.UserInfos[0].Nickname, QStringLiteral("看着的人"));
}

TEST(Kind20, ALaterRecordWithoutASeatTakesTheFailurePath)
{
    Watching t;
    User u;
    u.seat = 0;
    u.account = "p9";
    t.Deliver(UserFrame(u));
    EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("fail control20 ")});
}

// ---- Kind 19 ----

TEST(Kind19, TheArmLeavesTheTableAlone)
{
    Table t;
    t.SeatFour(0);
    const QString nid = t.client.MainForm->Nid[1].Caption;
    t.Deliver(Frame(19, 2));
    EXPECT_FALSE(t.Failed());
    EXPECT_EQ(t.client.MainForm->Nid[1].Caption, nid);
}

// ---- Kind 66: report of a cheater ----

namespace {

GameFrame ImpeachFrame(int seatBit, int subCode, const QByteArray& text)
{
    GameFrame f = Frame(66, seatBit, {0, subCode, 0, 0});
    Put(f, 16, text);
    return f;
}

} // namespace

TEST(Kind66, AReportAboutTheLocalPlayerIsShownAndRecorded)
{
    Table t;
    t.SeatFour(0);
    t.Deliver(ImpeachFrame(1, 1, QByteArray("ok \xBA\xFA", 5)));
    EXPECT_EQ(t.client.MainForm->Sysmsg[1]->List(0), QStringLiteral("ok 胡"));
    EXPECT_EQ(t.client.game.ImpeachDone, -1);
    EXPECT_EQ(t.client.game.ImpeachSeat, 0);
}

TEST(Kind66, AReportAboutAnotherSeatIsNotShown)
{
    Table t;
    t.SeatFour(0);
    t.Deliver(ImpeachFrame(4, 1, "text"));
    EXPECT_EQ(t.client.MainForm->Sysmsg[1]->ListCount(), 0);
    EXPECT_EQ(t.client.game.ImpeachSeat, 2);
}

struct FeeCase {
    double fee;
    int16_t currency;
    const char* cash;
};

class ImpeachFee : public testing::TestWithParam<FeeCase> {};

TEST_P(ImpeachFee, TheFeeIsTakenWhenTheMoneyCoversIt)
{
    Table t;
    t.SeatFour(0); // 10000 each
    t.client.game.ImpeachFee = GetParam().fee;
    t.client.results.CurrencyFlag = GetParam().currency;
    t.Deliver(ImpeachFrame(8, 11, "fee"));
    EXPECT_EQ(t.client.MainForm->Cash[1].Caption, QString::fromUtf8(GetParam().cash));
}

INSTANTIATE_TEST_SUITE_P(Kind66, ImpeachFee,
                         testing::Values(FeeCase{10000, 1, "0金币"}, FeeCase{10000, 0, "0金条"},
                                         FeeCase{2500, 1, "7500金币"}, FeeCase{10001, 1, "10000金币"}));

TEST(Kind66, AReportTextWithoutAZeroEndsWithTheFrame)
{
    Table t;
    t.SeatFour(0);
    GameFrame f = ImpeachFrame(1, 0, QByteArray(239, 't') + QByteArray("\xBA\xFA", 2));
    t.Deliver(f);
    EXPECT_EQ(t.client.MainForm->Sysmsg[1]->List(0), QString(239, QLatin1Char('t')) + QStringLiteral("胡"));
}
