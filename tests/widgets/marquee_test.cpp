// The marquee: its queue and serials, the number of steps a message takes,
// the ring when full, its timer and what one step draws.
#include "widgets/marquee.h"

#include <QTest>
#include <gtest/gtest.h>
#include <cmath>
#include <vector>

using widgets::MoveWord;

namespace {

// A marquee whose texts measure a fixed width, so that the steps of a
// message do not depend on the fonts at hand.
class MeasuredMarquee : public MoveWord {
public:
    double textWidth = 210;

protected:
    double TextWidth(const QString&) const override { return textWidth; }
};

struct Ticked {
    std::vector<double> ended; // EndShow's keys, in order
    std::vector<int> endTicks; // the tick of each, counted from 1
    std::vector<QString> shown; // the message on display at each tick
};

// Ticks the marquee by hand.
Ticked Tick(MoveWord& m, int ticks)
{
    Ticked out;
    int tick = 0;
    m.EndShow = [&](double key) {
        out.ended.push_back(key);
        out.endTicks.push_back(tick);
    };
    for (tick = 1; tick <= ticks; ++tick) {
        m.StepTimer_Timer();
        out.shown.push_back(m.Count() > 0 ? m.Current().text : QString());
    }
    m.EndShow = nullptr;
    return out;
}

bool ShowsAnything(const MoveWord& m)
{
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            if (m.ShowsAt(QPoint(x, y)))
                return true;
    return false;
}

} // namespace

struct StepCase {
    int width;
    double textWidth;
    int steps;
    int ticks; // from the first drawing to the end of the message
};

class MarqueeSteps : public testing::TestWithParam<StepCase> {};

TEST_P(MarqueeSteps, AMessageTakesItsStepsPlusTwoTicks)
{
    const StepCase& k = GetParam();
    MeasuredMarquee m;
    m.resize(k.width, 30);
    m.textWidth = k.textWidth;
    ASSERT_EQ(m.Add(QStringLiteral("notice")), 1);
    const Ticked t = Tick(m, k.ticks + 1);
    EXPECT_EQ(m.Steps(), k.steps);
    ASSERT_EQ(t.endTicks.size(), 1u);
    EXPECT_EQ(t.endTicks[0], k.ticks);
    EXPECT_EQ(t.ended[0], 1);
}

INSTANTIATE_TEST_SUITE_P(Widths, MarqueeSteps,
                         testing::Values(StepCase{300, 210, 86, 88},   // 510 / 6 + 1
                                         StepCase{300, 215.5, 87, 89}, // 515.5 rounds to 516
                                         StepCase{0, 0, 1, 3}));

TEST(Marquee, SerialsCountUpAndEndShowReportsThemInTheOrderShown)
{
    MeasuredMarquee m;
    m.resize(0, 30);
    m.textWidth = 0; // one step: three ticks a message
    EXPECT_EQ(m.Add(QStringLiteral("first")), 1);
    EXPECT_EQ(m.Add(QStringLiteral("   ")), 0); // blank: nothing queued
    EXPECT_EQ(m.Add(QString()), 0);
    EXPECT_EQ(m.Add(QStringLiteral("  second one  ")), 2);
    EXPECT_EQ(m.Waiting(), 2);
    const Ticked t = Tick(m, 7);
    EXPECT_EQ(t.ended, (std::vector<double>{1, 2}));
    EXPECT_EQ(t.endTicks, (std::vector<int>{3, 6}));
    EXPECT_EQ(t.shown[3], QStringLiteral("second one")); // trimmed, inner spaces kept
    EXPECT_EQ(t.shown[6], QString());                    // all shown: idle
}

TEST(Marquee, APriorityMessageIsShownRightAfterTheOneOnDisplay)
{
    MeasuredMarquee m;
    m.resize(0, 30);
    m.textWidth = 0;
    // Added while nothing is on display, a priority message just queues.
    m.Add(QStringLiteral("a"));
    m.Add(QStringLiteral("b"), MoveWord::kDefaultFore, MoveWord::kDefaultShade, 1);
    Tick(m, 1); // "a" on display
    m.Add(QStringLiteral("c"));
    m.Add(QStringLiteral("urgent"), 0x0000FF, 0, 1);
    const Ticked t = Tick(m, 12);
    EXPECT_EQ(t.ended, (std::vector<double>{1, 4, 2, 3}));
    EXPECT_EQ(m.Waiting(), 0);
}

TEST(Marquee, AFullRingRefusesTheNextMessageAndKeepsTheOthers)
{
    MeasuredMarquee m;
    m.resize(0, 30);
    m.textWidth = 0;
    for (int i = 1; i <= MoveWord::kSlots - 1; ++i)
        ASSERT_EQ(m.Add(QStringLiteral("m%1").arg(i)), i);
    EXPECT_EQ(m.Waiting(), 199);
    EXPECT_EQ(m.Add(QStringLiteral("one too many")), 0);
    EXPECT_EQ(m.Add(QStringLiteral("urgent"), 0, 0, 1), 0);
    EXPECT_EQ(m.Waiting(), 199);

    // Nothing vanished: the first message comes up and, once it has gone,
    // there is room again.
    Ticked t = Tick(m, 3);
    EXPECT_EQ(t.shown[0], QStringLiteral("m1"));
    EXPECT_EQ(t.ended, (std::vector<double>{1}));
    EXPECT_EQ(m.Add(QStringLiteral("m200")), 200);
    t = Tick(m, 199 * 3);
    ASSERT_EQ(t.ended.size(), 199u);
    EXPECT_EQ(t.ended.front(), 2);
    EXPECT_EQ(t.ended.back(), 200);
}

TEST(Marquee, TheTimerStartsAtTheFirstAddOnlyWithAPositiveSpeed)
{
    MeasuredMarquee m;
    m.Setspeed(0);
    m.Add(QStringLiteral("a"));
    EXPECT_FALSE(m.StepTimer->isActive());
    m.Setspeed(-5);
    m.Add(QStringLiteral("b"));
    EXPECT_FALSE(m.StepTimer->isActive());

    m.Setspeed(250);
    m.Add(QStringLiteral("c"));
    EXPECT_TRUE(m.StepTimer->isActive());
    EXPECT_EQ(m.StepTimer->interval(), 250);
    // Later speeds leave the running timer alone.
    m.Setspeed(50);
    m.Add(QStringLiteral("d"));
    EXPECT_EQ(m.StepTimer->interval(), 250);
}

TEST(Marquee, TheTimerScrollsByItself)
{
    MeasuredMarquee m;
    m.resize(0, 30);
    m.textWidth = 0;
    m.Setspeed(10);
    std::vector<double> ended;
    m.EndShow = [&](double key) { ended.push_back(key); };
    m.Add(QStringLiteral("a"));
    m.Add(QStringLiteral("b"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended.size() == 2; }, 3000));
    EXPECT_EQ(ended, (std::vector<double>{1, 2}));
}

TEST(Marquee, FontSizeKeepsWithin8And24)
{
    MoveWord m;
    EXPECT_EQ(m.FontSize(), 16);
    for (const auto& [written, kept] : {std::pair{30, 24}, {25, 24}, {24, 24}, {12, 12}, {8, 8}, {4, 8}}) {
        m.SetFontSize(static_cast<int16_t>(written));
        EXPECT_EQ(m.FontSize(), kept) << written;
    }
}

TEST(Marquee, AStepDrawsTheTextWithItsShadowAndNothingElseShows)
{
    MoveWord m;
    m.resize(200, 30);
    m.SetFontSize(12);
    m.SetFontBold(true); // the shadow
    const QRgb fore = qRgb(0, 0, 255);   // 0xFF0000 as stored
    const QRgb shade = qRgb(0, 255, 0);  // 0x00FF00
    m.Add(QStringLiteral("Hi"), 0xFF0000, 0x00FF00);

    // The first step draws just outside the right edge.
    m.StepTimer_Timer();
    EXPECT_FALSE(ShowsAnything(m));
    // Further steps bring it in, 6 pixels at a time.
    for (int i = 0; i < 10; ++i)
        m.StepTimer_Timer();
    const QImage& s = m.SurfaceImage();
    int foreCount = 0;
    int leftmost = s.width();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const QRgb c = s.pixel(x, y) & 0xFFFFFF;
            EXPECT_TRUE(c == (fore & 0xFFFFFF) || c == (shade & 0xFFFFFF) || c == 0xFF0000) << x << "," << y;
            EXPECT_EQ(m.ShowsAt(QPoint(x, y)), c != 0xFF0000) << x << "," << y;
            if (c != (fore & 0xFFFFFF))
                continue;
            ++foreCount;
            leftmost = std::min(leftmost, x);
            // The shadow lies one pixel right of and below the text.
            const QPoint below(x + 1, y + 1);
            if (s.valid(below) && (s.pixel(below) & 0xFFFFFF) != (fore & 0xFFFFFF)) {
                EXPECT_EQ(s.pixel(below) & 0xFFFFFF, shade & 0xFFFFFF) << x << "," << y;
            }
        }
    EXPECT_GT(foreCount, 0);
    EXPECT_GE(leftmost, 200 - 6 * 10 - 1);

    // Once the message has scrolled out, nothing shows, and the steps go on.
    for (int i = 0; i < 200 && m.Count() > 0; ++i)
        m.StepTimer_Timer();
    m.StepTimer_Timer();
    EXPECT_FALSE(ShowsAnything(m));
}
