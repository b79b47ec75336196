// The player card on the pointer over a seat's avatar, name, money or level
// label, through real mouse moves over the table.

#include "chat_screen.h"

#include "chat/seat_handlers.h"
#include "results/result_forms.h"

#include <gtest/gtest.h>

using chat_test::ChatScreen;

namespace {

enum class Part { Avatar, Name, Money, Level };

struct CardCase {
    int view;
    Part part;
};

platform::GraphicControl& ControlOf(window::MainForm& f, const CardCase& k)
{
    switch (k.part) {
    case Part::Name:
        return f.Nid[k.view];
    case Part::Money:
        return f.Cash[k.view];
    case Part::Level:
        return f.Level[k.view];
    case Part::Avatar:
        break;
    }
    return f.Tou[k.view];
}

struct CardScreen : ChatScreen {
    CardScreen()
    {
        for (int v = 0; v < 4; ++v) {
            f.Nid[v].SetCaption(chat_test::Nickname((0 - v + 4) & 3));
            f.Cash[v].SetCaption(QStringLiteral("1000"));
            f.Level[v].SetCaption(QStringLiteral("新手"));
        }
    }
};

class CardHover : public testing::TestWithParam<CardCase> {};

TEST_P(CardHover, ShowsThatSeatsCardUntilThePointerMovesOnOverTheTable)
{
    const CardCase& k = GetParam();
    CardScreen t;
    platform::GraphicControl& control = ControlOf(t.f, k);
    ASSERT_TRUE(control.Visible && control.Width > 0 && control.Height > 0);
    t.MoveTo(control);
    chat::InformationForm& card = *t.c.Information;
    ASSERT_TRUE(card.Visible());
    EXPECT_EQ(card.Inf[0].Caption, t.c.game.UserInfos[static_cast<std::size_t>(k.view)].Nickname);
    const QRect table = t.f.pic1->geometry();
    const QPoint origin = t.f.pos() + table.topLeft();
    if (k.view == 0)
        EXPECT_EQ(card.pos(), origin + QPoint(0, static_cast<int>(table.height() * 0.42)));
    else
        EXPECT_EQ(card.pos(), origin + QPoint((k.view - 1) * table.width() / 3, static_cast<int>(table.height() * 0.11)));
    t.MoveTo(t.f.pic1, t.Cloth());
    EXPECT_FALSE(card.Visible());
}

INSTANTIATE_TEST_SUITE_P(Cases, CardHover,
                         testing::Values(CardCase{0, Part::Avatar}, CardCase{1, Part::Avatar}, CardCase{2, Part::Avatar},
                                         CardCase{3, Part::Avatar}, CardCase{1, Part::Name}, CardCase{2, Part::Money},
                                         CardCase{3, Part::Level}, CardCase{0, Part::Name}));

TEST(PlayerCard, ALevelWithoutANameShowsNoName)
{
    ChatScreen t;
    struct Step {
        double level;
        const char* shown;
    };
    for (const Step s : {Step{4, "黄金会员"}, Step{7, ""}, Step{0, "非会员"}, Step{2.5, ""}, Step{-1, ""}, Step{6, "钻石会员"}}) {
        t.c.Information->hide();
        t.c.game.UserInfos[1].MemberLevel = s.level;
        chat::Tou_MouseMove(t.c, 1, 0, 0, 0, 0);
        EXPECT_EQ(t.c.Information->Inf[4].Caption, QString::fromUtf8(s.shown)) << s.level;
    }
}

TEST(PlayerCard, SexAndCountsAsText)
{
    ChatScreen t;
    core::UserInfo& u = t.c.game.UserInfos[3];
    u.Sex = 0;
    u.Points = -25;
    chat::Tou_MouseMove(t.c, 3, 0, 0, 0, 0);
    EXPECT_EQ(t.c.Information->Inf[1].Caption, QStringLiteral("女"));
    EXPECT_EQ(t.c.Information->Inf[3].Caption, QStringLiteral("-25"));
}

} // namespace
