// The animation steps of the 50 ms tick: the blinking discard and chat
// button, the speech picture, the emoticons and the VIP badges.

#include "core/scheduler.h"

#include "chat/chat.h"
#include "core/messages.h"
#include "core/rings.h"
#include "support/frame_builder.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using testing_support::TestClient;

namespace {

struct Ticking : TestClient {
    Client& c = client;
    window::MainForm& f = *client.MainForm;
    int ticks = 0;

    void TickTo(int tick)
    {
        for (; ticks < tick; ++ticks)
            core::TimerBong_Timer(c);
    }
    int ChatButtonPicture() { return f.AnNiu[1].PictureId(); }
};

// ---- the last discard ----------------------------------------------------------

TEST(DiscardBlink, BlinksThreeTimesAndEndsVisible)
{
    Ticking t;
    t.c.core.SchedBlink.Start();
    t.c.table.LastDiscardImage = 40;
    t.c.table.DiscardBlinkCount = 3;
    t.f.MJ_Image[40].SetVisible(true);
    struct Row {
        int tick;
        bool visible;
    };
    for (const Row r : {Row{7, true}, Row{8, false}, Row{15, false}, Row{16, true}, Row{24, false}, Row{32, true},
                        Row{40, true}, Row{48, true}}) {
        t.TickTo(r.tick);
        EXPECT_EQ(t.f.MJ_Image[40].Visible, r.visible) << "tick " << r.tick;
    }
    EXPECT_EQ(t.c.table.DiscardBlinkCount, 0);
}

TEST(DiscardBlink, ANewDiscardShowsThePreviousOneAndBlinks)
{
    Ticking t;
    t.c.core.SchedBlink.Start();
    t.c.table.LastDiscardImage = 40;
    t.c.table.DiscardBlinkCount = 3;
    t.f.MJ_Image[40].SetVisible(true);
    t.TickTo(8); // 40 is hidden now
    ASSERT_FALSE(t.f.MJ_Image[40].Visible);
    t.c.table.LastDiscardImage = 41;
    t.c.table.DiscardBlinkCount = 3;
    t.f.MJ_Image[41].SetVisible(true);
    t.TickTo(16);
    EXPECT_TRUE(t.f.MJ_Image[40].Visible);
    EXPECT_FALSE(t.f.MJ_Image[41].Visible);
    EXPECT_EQ(t.c.table.PrevDiscardImage, 41);
}

TEST(DiscardBlink, NothingWhileTheTaskIsOff)
{
    Ticking t;
    t.c.table.LastDiscardImage = 40;
    t.c.table.DiscardBlinkCount = 3;
    t.f.MJ_Image[40].SetVisible(true);
    t.TickTo(40);
    EXPECT_TRUE(t.f.MJ_Image[40].Visible);
    EXPECT_EQ(t.c.table.DiscardBlinkCount, 3);
}

// ---- the chat button -----------------------------------------------------------

TEST(ChatButtonBlink, AlternatesEightTimesThenStaysNormal)
{
    Ticking t;
    t.c.core.SchedBlink.Start();
    t.c.chat.ChatBlinkCount = 8;
    const int normal = t.c.window.PicIds.AnNiuPicIds[2].toInt();
    const int lit = t.c.window.PicIds.AnNiuPicIds[3].toInt();
    const int expected[] = {normal, lit, normal, lit, normal, lit, normal, lit, normal, normal};
    for (int step = 0; step < 10; ++step) {
        t.TickTo(8 * (step + 1));
        EXPECT_EQ(t.ChatButtonPicture(), expected[step]) << "step " << step;
    }
}

// ---- speech pictures -----------------------------------------------------------

struct SpeechRow {
    int tick;
    bool visible;
};

class SpeechPicture : public ::testing::TestWithParam<SpeechRow> {};

TEST_P(SpeechPicture, IsHiddenFortyTicksAfterItWasShown)
{
    Ticking t;
    t.c.game.SpeakShown = -1;
    t.c.game.SpeakIndex = 1;
    t.c.game.SpeakTicks = 0;
    t.f.Speak[1].SetVisible(true);
    t.TickTo(GetParam().tick);
    EXPECT_EQ(t.f.Speak[1].Visible, GetParam().visible);
}

INSTANTIATE_TEST_SUITE_P(Ticks, SpeechPicture,
                         ::testing::Values(SpeechRow{1, true}, SpeechRow{39, true}, SpeechRow{40, false},
                                           SpeechRow{41, false}));

TEST(SpeechPictureOrder, AShownPictureStaysInFront)
{
    Ticking t;
    t.c.game.SpeakShown = -1;
    t.c.game.SpeakIndex = 2;
    t.f.Speak[2].SetVisible(true);
    t.f.Speak[2].ZOrder(1);
    t.TickTo(1);
    EXPECT_EQ(t.f.pic1->ZOrderList().back(), &t.f.Speak[2]);
}

// ---- emoticons -----------------------------------------------------------------

protocol::GameFrame Emoticon(Client& c, int view, int item)
{
    protocol::GameFrame f = testing_support::ServerFrame(19, {{6, c.game.Players[static_cast<std::size_t>(view)].SeatBit},
                                                         {9, 3},
                                                         {15, item}});
    const QByteArray name = c.game.Players[static_cast<std::size_t>(view)].Name;
    for (int i = 0; i < name.size(); ++i)
        f[static_cast<std::size_t>(217 + i)] = static_cast<uint8_t>(name[i]);
    return f;
}

struct EmoticonTable : Ticking {
    EmoticonTable()
    {
        const char* const names[4] = {"amy", "ben", "cat", "dan"};
        for (int v = 0; v < 4; ++v) {
            c.game.Players[static_cast<std::size_t>(v)].SeatBit = static_cast<uint8_t>(1 << v);
            c.game.Players[static_cast<std::size_t>(v)].Name = names[v];
        }
    }
    void Show(int view, int item)
    {
        const protocol::GameFrame frame = Emoticon(c, view, item);
        c.core.RecvRing.Append(frame.data(), protocol::kFrameSize);
        core::ReadMsg(c);
    }
    bool Showing(int view) { return c.chat.EmoticonIds[static_cast<std::size_t>(view)] != 0; }
};

TEST(EmoticonEnd, ClearedSixtyTicksAfterItStarted)
{
    EmoticonTable t;
    t.Show(2, 5);
    t.TickTo(59);
    EXPECT_TRUE(t.Showing(2));
    EXPECT_EQ(t.f.ucAni_BBQS[2]->Action(), 1);
    t.TickTo(60);
    EXPECT_FALSE(t.Showing(2));
    EXPECT_EQ(t.f.ucAni_BBQS[2]->CurrentFrame(), -1);
    EXPECT_EQ(t.c.chat.DBQS_flag, 0);
    EXPECT_EQ(t.c.chat.DBQS_Num, 0);
}

TEST(EmoticonEnd, ASecondOneRestartsTheCountAndBothEndTogether)
{
    EmoticonTable t;
    t.Show(2, 5);
    t.TickTo(40);
    t.Show(3, 6);
    t.TickTo(99);
    EXPECT_TRUE(t.Showing(2));
    EXPECT_TRUE(t.Showing(3));
    t.TickTo(100);
    EXPECT_FALSE(t.Showing(2));
    EXPECT_FALSE(t.Showing(3));
}

TEST(EmoticonEnd, TheTickCountRestartsWithoutAnEmoticon)
{
    Ticking t;
    t.TickTo(59);
    EXPECT_EQ(t.c.chat.DBQS_Num, 59);
    t.TickTo(60);
    EXPECT_EQ(t.c.chat.DBQS_Num, 0);
}

// ---- VIP badges ----------------------------------------------------------------

struct BadgeRow {
    int tick;
    int picture; // 0: the picture the badge had before the animation
};

TEST(VipBadges, AlternateEveryHalfSecond)
{
    Ticking t;
    t.c.rewards.PropAniOn = -1;
    t.c.game.UserInfos[2].VipLevel = 3;
    t.c.rewards.PropAniState[2] = 1;
    t.f.img_vip[2].SetVisible(true);
    const int before = t.f.img_vip[2].PictureId();
    for (const BadgeRow r : {BadgeRow{9, 0}, BadgeRow{10, 911}, BadgeRow{19, 911}, BadgeRow{20, 909},
                             BadgeRow{30, 911}, BadgeRow{40, 909}}) {
        t.TickTo(r.tick);
        EXPECT_EQ(t.f.img_vip[2].PictureId(), r.picture ? r.picture : before) << "tick " << r.tick;
        EXPECT_TRUE(t.f.img_vip[2].Visible);
    }
}

TEST(VipBadges, ASeatWithoutLevelLosesItsBadge)
{
    Ticking t;
    t.c.rewards.PropAniOn = -1;
    t.c.game.UserInfos[1].VipLevel = 0;
    t.f.img_vip[1].SetVisible(true);
    t.TickTo(9);
    EXPECT_TRUE(t.f.img_vip[1].Visible);
    t.TickTo(10);
    EXPECT_FALSE(t.f.img_vip[1].Visible);
}

TEST(VipBadges, StandStillWithoutTheAnimationOrWhenHidden)
{
    Ticking t;
    t.c.game.UserInfos[0].VipLevel = 2;
    t.c.game.UserInfos[3].VipLevel = 2;
    t.f.img_vip[0].SetVisible(true);
    const int before = t.f.img_vip[0].PictureId();
    t.TickTo(20);
    EXPECT_EQ(t.f.img_vip[0].PictureId(), before);
    t.c.rewards.PropAniOn = -1;
    t.f.img_vip[3].SetVisible(false);
    t.TickTo(40);
    EXPECT_EQ(t.c.rewards.PropAniTicks[3], 0);
    EXPECT_NE(t.f.img_vip[0].PictureId(), before);
}

// ---- the tick as a whole -------------------------------------------------------

TEST(AnimationTick, TheTimerIsOnAgainAfterEveryTick)
{
    Ticking t;
    t.TickTo(3);
    EXPECT_TRUE(t.f.TimerBong->Enabled());
}

} // namespace
