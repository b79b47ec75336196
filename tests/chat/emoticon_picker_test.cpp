// The emoticon picker through real mouse events: pages, the coin and
// seven-second rules, the frame it sends, a whisper spent on an emoticon.

#include "chat_screen.h"

#include "chat/talk_form.h"

#include <algorithm>
#include <gtest/gtest.h>

using chat_test::ChatScreen;
using chat_test::GameFrame;
using chat_test::NameBytes;
using chat_test::Word;

namespace {

struct PickerScreen : ChatScreen {
    chat::BiaoqingForm& b = *c.frmBiaoqing;
    PickerScreen()
    {
        clock.ms = 100000;
        Click(f.imgword1);
    }
    void ClickCell(int i) { Click(b.ucAni_DBQ[static_cast<std::size_t>(i)]); }
};

TEST(EmoticonPicker, OpensOnPageOneAboveTheChatBar)
{
    PickerScreen t;
    ASSERT_TRUE(t.b.Visible());
    EXPECT_TRUE(t.b.Pic_dynamicBQ->isVisible());
    EXPECT_EQ(t.b.Img_dd.GetPicture().resourceId, 768);
    EXPECT_FALSE(t.b.Img_dd.Enabled);
    EXPECT_EQ(t.b.CellGifs, (std::array<int, 8>{668, 669, 670, 671, 672, 673, 674, 675}));
    EXPECT_EQ(t.b.Lbl_Dcp.Caption, QStringLiteral("1"));
    EXPECT_EQ(t.b.Cmd_Dpp.GetPicture().resourceId, 772);
    const QRect table = t.f.pic1->geometry();
    EXPECT_EQ(t.b.pos(), QPoint(static_cast<int>(t.f.x() + table.x() + table.width() * 0.3),
                                static_cast<int>(t.f.y() + table.y() + table.height() * 0.62)));
    // Placed in its cell of 73x65; an unstretched control is cut to its GIF.
    const QRect cell = t.b.ucAni_DBQ[5]->geometry();
    EXPECT_EQ(cell.topLeft(), QPoint(72, 88));
    EXPECT_EQ(cell.width(), std::min(73, t.b.ucAni_DBQ[5]->ActualWidth()));
    EXPECT_EQ(cell.height(), std::min(65, t.b.ucAni_DBQ[5]->ActualHeight()));
    // The button again closes it.
    t.Click(t.f.imgword1);
    EXPECT_FALSE(t.b.Visible());
}

struct PageStep {
    bool next;
    int16_t page;
    int first, second, third; // GIFs of cells 0, 1 and 2
    int prevPicture, nextPicture;
};

TEST(EmoticonPicker, TurnsThroughThreePages)
{
    PickerScreen t;
    const PageStep steps[] = {{true, 2, 676, 677, 678, 769, 773},
                              {true, 3, 684, 685, 0, 769, 776},
                              {true, 3, 684, 685, 0, 769, 776}, // next is disabled on page 3
                              {false, 2, 676, 677, 678, 769, 773},
                              {false, 1, 668, 669, 670, 772, 773},
                              {false, 1, 668, 669, 670, 772, 773}};
    for (const PageStep& s : steps) {
        t.Click(s.next ? t.b.Cmd_Dnp : t.b.Cmd_Dpp);
        EXPECT_EQ(t.b.EmoticonPage, s.page);
        EXPECT_EQ(t.b.Lbl_Dcp.Caption, QString::number(s.page));
        EXPECT_EQ(t.b.CellGifs[0], s.first);
        EXPECT_EQ(t.b.CellGifs[1], s.second);
        EXPECT_EQ(t.b.CellGifs[2], s.third);
        EXPECT_EQ(t.b.Cmd_Dpp.GetPicture().resourceId, s.prevPicture);
        EXPECT_EQ(t.b.Cmd_Dnp.GetPicture().resourceId, s.nextPicture);
    }
}

TEST(EmoticonPicker, PageButtonsShowTheirHoverPictures)
{
    PickerScreen t;
    t.MoveTo(t.b.Cmd_Dnp);
    EXPECT_EQ(t.b.Cmd_Dnp.GetPicture().resourceId, 775);
    t.MoveTo(t.b.Cmd_Dpp); // disabled on page 1
    EXPECT_EQ(t.b.Cmd_Dpp.GetPicture().resourceId, 772);
    t.MoveTo(t.b.Pic_dynamicBQ, QPoint(5, 150));
    EXPECT_EQ(t.b.Cmd_Dnp.GetPicture().resourceId, 773);
    EXPECT_EQ(t.b.Cmd_Dnp.Tag, QStringLiteral("0"));
}

TEST(EmoticonPicker, ACellSendsItsNumberAndPlaysAtTheOwnSeat)
{
    PickerScreen t;
    t.Click(t.b.Cmd_Dnp);
    t.ClickCell(5);
    const GameFrame f = t.OnlySent();
    EXPECT_EQ(f[3], 19);
    EXPECT_EQ(f[6], 1);
    EXPECT_EQ(Word(f, 0), 3);
    EXPECT_EQ(Word(f, 1), 0);
    EXPECT_EQ(Word(f, 2), 0);
    EXPECT_EQ(Word(f, 3), 14);
    for (int i = 16; i <= 216; ++i)
        ASSERT_EQ(f[static_cast<std::size_t>(i)], 0) << i;
    EXPECT_EQ(NameBytes(f), t.NameOf(0) + QByteArray(16 - t.NameOf(0).size(), '\0'));
    EXPECT_EQ(t.c.chat.EmoticonIds[0], 681);
    EXPECT_EQ(t.c.chat.DBQS_flag, -1);
    EXPECT_TRUE(t.f.ucAni_BBQS[0]->isVisible());
    EXPECT_FALSE(t.b.Visible());
}

struct RuleCase {
    const char* name;
    double coins;
    uint32_t lastClick; // 0: none yet
    uint32_t now;
    bool sends;
    const char* line; // the system line said, or empty
};

class EmoticonRules : public testing::TestWithParam<RuleCase> {};

TEST_P(EmoticonRules, CoinsFirstThenSevenSeconds)
{
    const RuleCase& k = GetParam();
    PickerScreen t;
    t.c.game.UserInfos[0].Coins = k.coins;
    t.c.chat.DBQ_click_time = k.lastClick;
    t.clock.ms = k.now;
    t.ClickCell(0);
    EXPECT_EQ(t.Sent().size(), k.sends ? 1u : 0u) << k.name;
    EXPECT_EQ(t.Box(0), QString::fromUtf8(k.line)) << k.name;
    EXPECT_EQ(t.c.chat.DBQ_click_time, k.sends ? k.now : k.lastClick) << k.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EmoticonRules,
    testing::Values(RuleCase{"coins of 1000 are too few", 1000, 0, 50000, false, "您的金币低于1000，不能发送表情!"},
                    RuleCase{"the first click", 1001, 0, 50000, true, ""},
                    RuleCase{"6.5 s after the last", 5000, 50000, 56500, false, ""},
                    RuleCase{"7.0 s after the last", 5000, 50000, 57000, true, ""},
                    RuleCase{"6 s across the tick counter's wrap", 5000, 0xFFFFF000u, 1904, false, ""},
                    RuleCase{"7 s across the tick counter's wrap", 5000, 0xFFFFF000u, 2904, true, ""}));

TEST(EmoticonRules, AnEmptyCellSendsNothingButRestartsTheInterval)
{
    PickerScreen t;
    t.Click(t.b.Cmd_Dnp);
    t.Click(t.b.Cmd_Dnp);
    t.ClickCell(5);
    EXPECT_TRUE(t.Sent().empty());
    EXPECT_EQ(t.c.chat.DBQ_click_time, 100000u);
}

TEST(EmoticonPicker, AWhisperIsSpentOnTheEmoticonPrefixAndAll)
{
    PickerScreen t;
    t.b.hide();
    t.Click(t.f.Tou[2]); // 小王, seat bit 4
    t.Click(t.f.imgword1);
    t.ClickCell(1);
    EXPECT_EQ(Word(t.OnlySent(), 1), 4);
    EXPECT_EQ(t.c.chat.WhisperPrefix, QString());
    EXPECT_EQ(t.f.Chat->Text(), QString());
    // The next typed line is a plain one, without the old prefix as text.
    t.Say(QStringLiteral("hi"));
    const GameFrame line = t.OnlySent();
    EXPECT_EQ(Word(line, 1), 0);
    EXPECT_EQ(chat_test::TextOf(line), QStringLiteral("小张说道: hi"));
}

TEST(EmoticonPicker, OpeningItHidesTheOtherChatWindows)
{
    ChatScreen t;
    t.c.Talk->show();
    t.c.huifu->show();
    t.Click(t.f.imgword1);
    EXPECT_FALSE(t.c.Talk->isVisible());
    EXPECT_FALSE(t.c.huifu->isVisible());
    t.MoveTo(t.f.imgword1);
    EXPECT_EQ(t.f.imgword1.GetPicture().resourceId, 662);
}

} // namespace
