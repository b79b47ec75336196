// The table window of a match room shows the match box, the match table
// picture, score and rank; any other room shows the betting strip, money
// and level.
#include "match/match.h"
#include "rewards/bets_fixture.h"
#include "rewards/chip_panel.h"

#include <QImage>

namespace {

using testing_support::BetTable;

struct RoomCase {
    int16_t mode;
    bool matchRoom;
};

class RoomKind : public ::testing::TestWithParam<RoomCase> {};

TEST_P(RoomKind, ArrangesTheScoreAreaForTheRoom)
{
    BetTable table;
    Client& c = table.c;
    window::MainForm& f = table.f;
    const bool matchRoom = GetParam().matchRoom;
    // Money and level stand as a seated player left them.
    for (int v = 0; v < 4; ++v) {
        f.Cash[v].SetVisible(true);
        f.Level[v].SetVisible(true);
    }
    f.lbl_matchtime.SetCaption(QStringLiteral("09:30"));
    f.lbl_matchtime.SetVisible(true);

    c.match.RoomMatchMode = GetParam().mode;
    match::ShowMainFormByMatchType(c);

    EXPECT_EQ(c.rewards.Bets.Pic_prize->isVisible(), !matchRoom);
    EXPECT_EQ(f.pic_matchinfo->isVisible(), matchRoom);
    for (int v = 0; v < 4; ++v) {
        EXPECT_EQ(f.lbl_score[v].Visible, matchRoom) << v;
        EXPECT_EQ(f.lbl_sort[v].Visible, matchRoom) << v;
        EXPECT_EQ(f.Cash[v].Visible, !matchRoom) << v;
        EXPECT_EQ(f.Level[v].Visible, !matchRoom) << v;
    }
    EXPECT_EQ(f.pic1->GetPicture().isNull(), !matchRoom);
    if (matchRoom) {
        EXPECT_EQ(f.pic1->GetPicture().image.size(), QSize(1024, 768));
        EXPECT_EQ(f.pic_matchinfo->pos(), QPoint(105, 654));
        // The match clock's label keeps what it had.
        EXPECT_EQ(f.lbl_matchtime.Caption, QStringLiteral("09:30"));
    } else {
        EXPECT_TRUE(f.lbl_matchtime.Caption.isEmpty());
        EXPECT_FALSE(f.lbl_matchtime.Visible);
    }

    // A session reset lays the strip out again: it stays where the room put it.
    rewards::InitChipPanel(c);
    EXPECT_EQ(c.rewards.Bets.Pic_prize->isVisible(), !matchRoom);
}

INSTANTIATE_TEST_SUITE_P(Modes, RoomKind,
                         ::testing::Values(RoomCase{0, false}, RoomCase{1, false}, RoomCase{2, true},
                                           RoomCase{3, true}),
                         [](const auto& info) { return "mode" + std::to_string(info.param.mode); });

// The match box at the small scale stands at the same window pixels, and the
// countdown the match clock writes is drawn inside it.
TEST(RoomKindBox, TheCountdownIsDrawnInTheBoxAtTheSmallScale)
{
    BetTable table;
    Client& c = table.c;
    window::MainForm& f = table.f;
    c.game.ScaleX = c.game.ScaleY = 0.78125f;
    c.match.RoomMatchMode = 2;
    match::ShowMainFormByMatchType(c);
    EXPECT_EQ(f.pic_matchinfo->pos(), QPoint(105, 654));

    const QImage before = f.pic_matchinfo->grab().toImage();
    f.lbl_matchinfo[0].SetCaption(QStringLiteral("00:05:00"));
    const QImage after = f.pic_matchinfo->grab().toImage();
    ASSERT_EQ(before.size(), after.size());
    // The new text changes pixels in the box's left part only.
    int changedLeft = 0;
    int changedRight = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                ++(x < 180 ? changedLeft : changedRight);
    EXPECT_GT(changedLeft, 20);
    EXPECT_EQ(changedRight, 0);
}

} // namespace
