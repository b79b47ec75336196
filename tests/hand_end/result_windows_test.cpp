// The score, history and player-card windows: size, background, placement,
// dragging with the mouse, lists kept in step and the way from a history
// row to that hand's sheet.
#include "results/result_forms.h"

#include "results/hand_archive.h"

#include "support/test_client.h"
#include "window/main_form.h"

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <vector>

using namespace testing_support;

namespace {

struct Windows : TestClient {
    window::MainForm& f = *client.MainForm;
    results::ScoreForm& score = *client.Score;
    results::HeroForm& hero = *client.Hero;

    Windows()
    {
        f.move(100, 50);
        f.pic1->setGeometry(20, 30, 1000, 700);
    }

    static void Fill(platform::ListBox& list, int rows)
    {
        for (int r = 0; r < rows; ++r)
            list.AddItem(QStringLiteral("row %1").arg(r));
    }

    // Shows a window and lets it lay itself out.
    static void Show(QWidget& w)
    {
        w.show();
        QApplication::processEvents();
    }

    // A player's double click: a click, then the second press and release.
    static void DoubleClick(QWidget& w, QPoint at)
    {
        QTest::mouseClick(&w, Qt::LeftButton, {}, at);
        QTest::mouseDClick(&w, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&w, Qt::LeftButton, {}, at);
    }

    static QPoint RowPoint(platform::ListBox& list, int row)
    {
        return list.visualItemRect(list.item(row)).center();
    }

    // Presses on a point of a widget, moves the mouse by `by` and lets go,
    // as a player drags.
    static void Drag(QWidget& w, QPoint at, QPoint by, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(&w, button, {}, at);
        QTest::mouseMove(&w, at + by);
        QTest::mouseRelease(&w, button, {}, at + by);
    }

    QPoint TableCentre(const QWidget& w) const
    {
        const QPoint origin = f.pic1->mapToGlobal(QPoint(0, 0));
        return {origin.x() + (1000 - w.width()) / 2, origin.y() + (700 - w.height()) / 2};
    }
};

} // namespace

// ---- size, background, placement ----

TEST(ResultWindows, EachHasItsSizeAndItsOwnBackground)
{
    Windows t;
    const struct {
        results::ResultWindow* window;
        QSize size;
        int background;
    } cases[] = {{&t.score, {640, 480}, results::kScoreBackground},
                 {&t.hero, {655, 454}, results::kHeroBackground},
                 {t.client.Information.get(), {220, 330}, results::kInformationBackground}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window->objectName().toStdString());
        EXPECT_TRUE(c.window->BackPicture.isNull()); // made when the window first shows
        c.window->show();
        EXPECT_EQ(c.window->size(), c.size);
        EXPECT_EQ(c.window->BackPicture.resourceId, c.background);
        EXPECT_EQ(c.window->BackPicture.image.size(), c.size);
        EXPECT_NEAR(c.window->windowOpacity(), 200.0 / 255.0, 0.01);
        EXPECT_TRUE(c.window->windowFlags() & Qt::FramelessWindowHint);
    }
}

TEST(ResultWindows, TheControlsLieWhereTheWindowsDrawThem)
{
    Windows t;
    EXPECT_EQ(t.score.State[2]->geometry(), QRect(324, 86, 150, 326));
    EXPECT_EQ(t.score.State[7]->geometry(), QRect(480, 422, 150, 50));
    EXPECT_EQ(t.score.Tou[1].Left, 168);
    EXPECT_EQ(t.score.ID[3].Caption, QStringLiteral("玩家3"));
    EXPECT_EQ(t.score.ID[3].ForeColor, results::kLightYellow);
    EXPECT_EQ(t.hero.Num->geometry(), QRect(6, 76, 123, 310));
    EXPECT_EQ(t.hero.Grade[3]->geometry().topLeft(), QPoint(528, 76));
    EXPECT_EQ(t.hero.Label1.Caption, QStringLiteral("点击查看明细"));
    EXPECT_EQ(t.hero.Label2.Caption, QStringLiteral("输赢总分："));
    EXPECT_EQ(t.hero.sumScore[2].Left, 400);
    results::InformationForm& card = *t.client.Information;
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(card.Inf[k].Left, 128);
        EXPECT_EQ(card.Inf[k].Top, 40 + 32 * k);
        EXPECT_EQ(card.Inf[k].FontSize, 12);
        EXPECT_EQ(card.Inf[k].ForeColor, results::kLightGreen);
    }
}

TEST(ResultWindows, TheFirstShowingCentresOverTheTableInPixelsAndLaterOnesKeepThePlace)
{
    Windows t;
    for (results::ResultWindow* w : std::vector<results::ResultWindow*>{&t.score, &t.hero}) {
        SCOPED_TRACE(w->objectName().toStdString());
        Windows::Show(*w);
        EXPECT_EQ(w->pos(), t.TableCentre(*w));
        w->move(7, 9); // the player moved it
        w->hide();
        t.f.move(300, 300);
        Windows::Show(*w);
        EXPECT_EQ(w->pos(), QPoint(7, 9));
    }
}

TEST(ResultWindows, TheHistoryOpensScrolledToEachResultListsLastRow)
{
    Windows t;
    for (platform::ListBox* list : t.hero.Grade)
        Windows::Fill(*list, 60);
    Windows::Fill(*t.hero.Num, 60);
    Windows::Show(t.hero);
    for (platform::ListBox* list : t.hero.Grade) {
        EXPECT_GT(results::TopIndex(*list), 0);
        EXPECT_EQ(results::TopIndex(*list), list->verticalScrollBar()->maximum());
    }
    EXPECT_EQ(results::TopIndex(*t.hero.Num), 0); // the hand numbers keep their place
}

// ---- dragging ----

TEST(ResultWindows, APressOnTheScoreWindowOrItsControlsDragsIt)
{
    Windows t;
    Windows::Show(t.score);
    Windows::Fill(*t.score.State[1], 5);
    QApplication::processEvents();
    const QPoint by(40, -25);
    struct Target {
        const char* name;
        QWidget* widget;
        QPoint at;
        Qt::MouseButton button;
    };
    const Target targets[] = {
        {"window", &t.score, QPoint(320, 20), Qt::LeftButton},
        {"name", &t.score, QPoint(60, 45), Qt::LeftButton},
        {"avatar", &t.score, QPoint(20, 50), Qt::RightButton},
        {"sheet list", t.score.State[1]->viewport(), Windows::RowPoint(*t.score.State[1], 2), Qt::LeftButton},
    };
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        const QPoint before = t.score.pos();
        Windows::Drag(*target.widget, target.at, by, target.button);
        EXPECT_EQ(t.score.pos(), before + by);
    }
    EXPECT_EQ(t.score.State[1]->ListIndex(), 2); // the pressed row was still selected
}

TEST(ResultWindows, TheHistoryIsDraggedByItsCaptionsButNotByItsLists)
{
    Windows t;
    Windows::Fill(*t.hero.Grade[0], 3);
    Windows::Show(t.hero);
    const QPoint before = t.hero.pos();
    Windows::Drag(t.hero, QPoint(40, 38), QPoint(15, 10)); // Label1
    EXPECT_EQ(t.hero.pos(), before + QPoint(15, 10));
    Windows::Drag(*t.hero.Grade[0]->viewport(), Windows::RowPoint(*t.hero.Grade[0], 0), QPoint(15, 10));
    EXPECT_EQ(t.hero.pos(), before + QPoint(15, 10));
}

TEST(ResultWindows, TheMarksHideTheirWindow)
{
    Windows t;
    for (results::ResultWindow* w : std::vector<results::ResultWindow*>{&t.score, &t.hero}) {
        auto& marks = w == &t.score ? t.score.Image1 : t.hero.Image1;
        for (int i = 0; i < 2; ++i) {
            Windows::Show(*w);
            const QPoint at(static_cast<int>(marks[i].Left + 5), static_cast<int>(marks[i].Top + 5));
            QTest::mouseClick(w, Qt::LeftButton, {}, at);
            EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString() << " mark " << i;
        }
    }
}

// ---- the score lists in step ----

struct ScoreLists : Windows {
    ScoreLists(int columnRows = 40, int shortColumn = -1, int shortRows = 0)
    {
        for (int k = 0; k < 4; ++k)
            Fill(*score.State[static_cast<std::size_t>(k)], k == shortColumn ? shortRows : columnRows);
        for (int k = 4; k < 8; ++k)
            Fill(*score.State[static_cast<std::size_t>(k)], 3);
        Show(score);
    }
    std::vector<int> Rows() const
    {
        std::vector<int> out;
        for (platform::ListBox* list : score.State)
            out.push_back(list->ListIndex());
        return out;
    }
    std::vector<int> Tops() const
    {
        std::vector<int> out;
        for (platform::ListBox* list : score.State)
            out.push_back(results::TopIndex(*list));
        return out;
    }
};

TEST(ScoreLists, AClickInASheetColumnSelectsTheRowInTheOtherColumnsNotTheFooters)
{
    ScoreLists t;
    platform::ListBox& column = *t.score.State[2];
    QTest::mouseClick(column.viewport(), Qt::LeftButton, {}, Windows::RowPoint(column, 5));
    EXPECT_EQ(t.Rows(), (std::vector<int>{5, 5, 5, 5, -1, -1, -1, -1}));
}

TEST(ScoreLists, AClickInAFooterMovesTheColumnsAndTheFootersToItsLeft)
{
    ScoreLists t;
    platform::ListBox& footer = *t.score.State[6];
    QTest::mouseClick(footer.viewport(), Qt::LeftButton, {}, Windows::RowPoint(footer, 1));
    EXPECT_EQ(t.Rows(), (std::vector<int>{1, 1, 1, 1, 1, 1, 1, -1}));
}

TEST(ScoreLists, ScrollingAColumnScrollsTheOtherColumnsToTheSameTopRow)
{
    ScoreLists t;
    QWidget* viewport = t.score.State[2]->viewport();
    const QPointF at(40, 40);
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -360), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    const int top = results::TopIndex(*t.score.State[2]);
    ASSERT_GT(top, 0);
    EXPECT_EQ(t.Tops(), (std::vector<int>{top, top, top, top, 0, 0, 0, 0}));
}

TEST(ScoreLists, AShorterColumnTakesItsLastRow)
{
    ScoreLists t(40, 1, 3);
    platform::ListBox& column = *t.score.State[0];
    column.scrollToItem(column.item(20), QAbstractItemView::PositionAtTop);
    QApplication::processEvents();
    QTest::mouseClick(column.viewport(), Qt::LeftButton, {}, Windows::RowPoint(column, 22));
    EXPECT_EQ(t.Rows()[0], 22);
    EXPECT_EQ(t.Rows()[1], 2); // the short column's last row
    EXPECT_EQ(t.Rows()[3], 22);
    EXPECT_EQ(t.Tops()[1], 0);
    EXPECT_EQ(t.Tops()[3], t.Tops()[0]);
}

// ---- the history lists and the way to a hand's sheet ----

struct History : Windows {
    std::vector<int> asked;
    explicit History(int rows = 6)
    {
        client.results.LoadHandSheet = [this](int16_t hand) {
            asked.push_back(hand);
            if (hand > 0)
                score.ID[0].Caption = QStringLiteral("hand %1").arg(hand);
        };
        Fill(*hero.Num, rows);
        for (platform::ListBox* list : hero.Grade)
            Fill(*list, rows);
        Show(hero);
    }
};

TEST(HistoryLists, APressOnAResultListSelectsTheRowInEveryList)
{
    History t;
    platform::ListBox& grade = *t.hero.Grade[2];
    QTest::mouseClick(grade.viewport(), Qt::LeftButton, {}, Windows::RowPoint(grade, 3));
    EXPECT_EQ(t.hero.Num->ListIndex(), 3);
    for (platform::ListBox* list : t.hero.Grade)
        EXPECT_EQ(list->ListIndex(), 3);
    QTest::mouseClick(t.hero.Num->viewport(), Qt::LeftButton, {}, Windows::RowPoint(*t.hero.Num, 1));
    for (platform::ListBox* list : t.hero.Grade)
        EXPECT_EQ(list->ListIndex(), 1);
}

TEST(HistoryLists, APressBeyondAShorterListTakesItsLastRow)
{
    History t;
    delete t.hero.Grade[1]->takeItem(5); // taken items are the caller's
    delete t.hero.Grade[1]->takeItem(4);
    QTest::mouseClick(t.hero.Num->viewport(), Qt::LeftButton, {}, Windows::RowPoint(*t.hero.Num, 5));
    EXPECT_EQ(t.hero.Grade[0]->ListIndex(), 5);
    EXPECT_EQ(t.hero.Grade[1]->ListIndex(), 3);
}

struct DoubleClickCase {
    int list; // -1 Num, else the Grade list
    int row;
};

class HistoryDoubleClick : public testing::TestWithParam<DoubleClickCase> {};

TEST_P(HistoryDoubleClick, AsksForThatRowsHandAndShowsTheSheet)
{
    History t;
    platform::ListBox& list = GetParam().list < 0 ? *t.hero.Num : *t.hero.Grade[static_cast<std::size_t>(GetParam().list)];
    Windows::DoubleClick(*list.viewport(), Windows::RowPoint(list, GetParam().row));
    EXPECT_EQ(t.asked, std::vector<int>{GetParam().row + 1});
    EXPECT_TRUE(t.score.isVisible());
    EXPECT_EQ(t.score.ID[0].Caption, QStringLiteral("hand %1").arg(GetParam().row + 1));
}

INSTANTIATE_TEST_SUITE_P(Rows, HistoryDoubleClick,
                         testing::Values(DoubleClickCase{-1, 0}, DoubleClickCase{-1, 4}, DoubleClickCase{0, 2},
                                         DoubleClickCase{3, 5}));

// Without a stand-in the double click reads the archive on disk.
TEST(HistoryLists, ADoubleClickReloadsThatHandsArchivedSheet)
{
    QTemporaryDir dir;
    Windows t;
    t.client.core.DataPath = dir.path();
    t.client.results.SeatNamePics[0] = {QStringLiteral("alice"), QStringLiteral("3")};
    t.score.State[0]->AddItem(QStringLiteral("   底分:10"));
    results::SaveHandSheet(t.client, 2);
    t.client.results.SeatNamePics[0].Name = QStringLiteral("bob");
    results::SaveHandSheet(t.client, 1);
    t.score.ID[0].Caption.clear();
    t.score.State[0]->clear();
    Windows::Fill(*t.hero.Num, 2);
    Windows::Show(t.hero);
    Windows::DoubleClick(*t.hero.Num->viewport(), Windows::RowPoint(*t.hero.Num, 1));
    EXPECT_TRUE(t.score.isVisible());
    EXPECT_EQ(t.score.ID[0].Caption, QStringLiteral("alice"));
    ASSERT_EQ(t.score.State[0]->ListCount(), 1);
    EXPECT_EQ(t.score.State[0]->List(0), QStringLiteral("底分:10"));
}

TEST(HistoryLists, ADoubleClickOnAnEmptyListShowsTheSheetAsItIs)
{
    History t(0);
    Windows::DoubleClick(*t.hero.Num->viewport(), QPoint(20, 20));
    EXPECT_EQ(t.asked, std::vector<int>{0}); // hand 0: the archive loads nothing
    EXPECT_TRUE(t.score.isVisible());
}
