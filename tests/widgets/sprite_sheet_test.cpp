// The sprite-sheet animation over the program's own sheets: cells chosen
// by Pause and Start, the step timer, and the loads it refuses.
#include "widgets/sprite_sheet.h"

#include <QPainter>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using widgets::Apng;

namespace {

constexpr int kSmallDigits = 804; // 22 x 290: one column, ten rows
constexpr int kLargeDigits = 801; // 38 x 530: one column, ten rows
constexpr int kJade = 803;        // 1400 x 1400: 4 x 4 cells

// A window of a known colour holding the control at (10, 10).
struct Panel {
    QWidget window;
    Apng* ani = new Apng(&window, QStringLiteral("APNG_prizenum"));

    Panel()
    {
        window.resize(120, 120);
        QPalette p = window.palette();
        p.setColor(QPalette::Window, QColor(0, 0, 0));
        window.setPalette(p);
        window.setAutoFillBackground(true);
        ani->setGeometry(10, 10, 22, 29);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // What the window shows of the control's first cell-sized corner.
    QImage Shown() { return window.grab(QRect(10, 10, 22, 29)).toImage().convertToFormat(QImage::Format_RGB32); }
};

// The sheet's cell drawn over black, as the window should show it.
QImage Expected(const Apng& ani, QRect cell)
{
    QImage out(cell.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    p.drawImage(QPoint(0, 0), ani.Sheet(), cell);
    return out;
}

// The largest difference of one colour channel between two pictures of one
// size (blending may round differently by a step).
int Difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    return most;
}

} // namespace

TEST(SpriteSheet, PauseShowsTheDigitOfItsIndex)
{
    Panel panel;
    Apng& ani = *panel.ani;
    EXPECT_EQ(ani.LoadAnimation(kSmallDigits, 0, 0, 1, 10), 0);
    EXPECT_EQ(ani.CellSize(), QSize(22, 29));
    for (int digit : {3, 0, 9}) {
        ani.Pause(digit);
        EXPECT_EQ(ani.CellRect(), QRect(0, 29 * digit, 22, 29)) << digit;
        EXPECT_LE(Difference(panel.Shown(), Expected(ani, ani.CellRect())), 2) << digit;
    }
    // The cells differ, so the picture tells which one shows.
    EXPECT_GT(Difference(Expected(ani, QRect(0, 0, 22, 29)), Expected(ani, QRect(0, 29 * 3, 22, 29))), 50);
    // Pause without an index keeps the digit on show.
    ani.Pause();
    EXPECT_EQ(ani.FrameIndex(), 9);
}

TEST(SpriteSheet, FrameIndexIsKeptWithinTheCells)
{
    Apng ani;
    ani.LoadAnimation(kJade, 0, 0, 4, 4);
    EXPECT_EQ(ani.CellSize(), QSize(350, 350));
    ani.Pause(17);
    EXPECT_EQ(ani.FrameIndex(), 1);
    EXPECT_EQ(ani.CellRect(), QRect(350, 0, 350, 350));
    ani.Pause(15);
    EXPECT_EQ(ani.CellRect(), QRect(1050, 1050, 350, 350));
    // Ticks go on row by row and wrap to the first cell.
    ani.StepTimer_Timer();
    EXPECT_EQ(ani.FrameIndex(), 0);
    ani.StepTimer_Timer();
    EXPECT_EQ(ani.CellRect(), QRect(350, 0, 350, 350));

    // A new sheet keeps the index, counted in its own cells from there on.
    ani.Pause(13);
    ani.LoadAnimation(kSmallDigits, 0, 0, 1, 10);
    EXPECT_EQ(ani.CellRect(), QRect(0, 29 * 3, 22, 29));
    ani.Start(-1, 100);
    ani.StepTimer_Timer();
    EXPECT_EQ(ani.FrameIndex(), 4);
}

struct RefusedLoad {
    int resId, countX, countY;
};

class SpriteSheetRefuses : public testing::TestWithParam<RefusedLoad> {};

TEST_P(SpriteSheetRefuses, ABadLoadLeavesTheControlAsItWas)
{
    const RefusedLoad& k = GetParam();
    Apng ani;
    ani.LoadAnimation(kLargeDigits, 0, 0, 1, 10);
    ani.Pause(7);
    EXPECT_EQ(ani.LoadAnimation(k.resId, 3, 4, k.countX, k.countY), 0);
    EXPECT_EQ(ani.CountX(), 1);
    EXPECT_EQ(ani.CountY(), 10);
    EXPECT_EQ(ani.CellRect(), QRect(0, 53 * 7, 38, 53));
    EXPECT_EQ(ani.Sheet().size(), QSize(38, 530));

    // Nothing was ever loaded: nothing to draw, and ticks do no harm.
    Apng empty;
    empty.LoadAnimation(k.resId, 0, 0, k.countX, k.countY);
    EXPECT_EQ(empty.CountX(), 0);
    EXPECT_TRUE(empty.CellRect().isEmpty());
    empty.Pause(5);
    empty.StepTimer_Timer();
    EXPECT_EQ(empty.FrameIndex(), 6);
}

INSTANTIATE_TEST_SUITE_P(Loads, SpriteSheetRefuses,
                         testing::Values(RefusedLoad{kSmallDigits, 0, 10},   // no columns
                                         RefusedLoad{kSmallDigits, 1, 0},    // no rows
                                         RefusedLoad{kSmallDigits, -1, -1},  // negative counts
                                         RefusedLoad{kSmallDigits, 23, 1},   // cells narrower than a pixel
                                         RefusedLoad{kSmallDigits, 1, 291},  // cells lower than a pixel
                                         RefusedLoad{999, 1, 1},             // no such resource
                                         RefusedLoad{0, 1, 1}));

TEST(SpriteSheet, TheTimerNeverRunsWithoutAPositiveInterval)
{
    Apng ani;
    ani.LoadAnimation(kSmallDigits, 0, 0, 1, 10);
    ani.Start(-1, 0);
    EXPECT_TRUE(ani.Running());
    EXPECT_FALSE(ani.StepTimer->isActive());
    EXPECT_EQ(ani.Interval(), 0);

    ani.Start(2, 100);
    EXPECT_EQ(ani.FrameIndex(), 2);
    EXPECT_TRUE(ani.StepTimer->isActive());
    EXPECT_EQ(ani.StepTimer->interval(), 100);
    // Zero or less keeps the interval it had.
    ani.Start(-1, -20);
    EXPECT_EQ(ani.StepTimer->interval(), 100);
    ani.Pause();
    EXPECT_FALSE(ani.Running());
    EXPECT_FALSE(ani.StepTimer->isActive());
    EXPECT_EQ(ani.FrameIndex(), 2);
}

TEST(SpriteSheet, StartRollsTheDigitsOnItsTimer)
{
    Panel panel;
    Apng& ani = *panel.ani;
    ani.LoadAnimation(kSmallDigits, 0, 0, 1, 10);
    ani.Start(8, 20);
    // 8, 9, then round to 0 and on.
    EXPECT_TRUE(QTest::qWaitFor([&] { return ani.FrameIndex() == 1; }, 3000));
    ani.Pause();
    const int stopped = ani.FrameIndex();
    QTest::qWait(100);
    EXPECT_EQ(ani.FrameIndex(), stopped);
    EXPECT_LE(Difference(panel.Shown(), Expected(ani, ani.CellRect())), 2);
}

// A sheet is decoded only when it is first drawn or read; its cells come
// from the size its header gives, which must be the decoded picture's.
class SpriteSheetCells : public testing::TestWithParam<int> {};

TEST_P(SpriteSheetCells, TheHeadersSizeIsTheDecodedSheets)
{
    Apng ani;
    ani.LoadAnimation(GetParam(), 0, 0, 1, 1);
    ASSERT_GT(ani.CountX(), 0);
    const QSize cell = ani.CellSize();
    ASSERT_FALSE(ani.Sheet().isNull());
    EXPECT_EQ(ani.Sheet().size(), cell);
}

INSTANTIATE_TEST_SUITE_P(ProgramSheets, SpriteSheetCells, testing::Values(801, 802, 803, 804, 805));
