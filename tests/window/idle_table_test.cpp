// An idle table under the 50 ms tick: nothing is repainted but what
// changes, the blinking discard or chat button and the countdown.
#include "core/scheduler.h"
#include "core/startup.h"
#include "platform/tcp_link.h"
#include "support/paint_log.h"
#include "support/test_client.h"
#include "table/claims.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

using testing_support::PaintLog;
using testing_support::SettlePainting;
using testing_support::TestClient;

namespace {

QRect DirtyRect(const platform::GraphicControl& c) { return c.PaintRect().toAlignedRect().adjusted(-1, -1, 1, 1); }

QString Describe(const QRegion& r)
{
    QString s;
    for (const QRect& x : r)
        s += QStringLiteral("(%1,%2 %3x%4)").arg(x.x()).arg(x.y()).arg(x.width()).arg(x.height());
    return s;
}

constexpr int kDiscardImage = 40;

// A client at a laid-out table, connected, whose last discard lies in the
// middle and whose blink task runs as after a hand start; another seat's
// decision countdown shows 30. The window is shown and has painted.
struct IdleTable : TestClient {
    Client& c = client;
    window::MainForm& f = *client.MainForm;
    PaintLog log;

    // The text cursor of a focused chat box blinks on its own (Qt's, not a
    // repaint of the table): kept still so that only the table's own
    // repaints are seen, whichever box has the focus.
    const int flashTime = QApplication::cursorFlashTime();

    IdleTable()
    {
        QApplication::setCursorFlashTime(0);
        EXPECT_TRUE(core::Form_Load(c, QStringLiteral("alice$secret$127.0.0.1$8000$here$0$$0$$$0$Lobby$Table$1$42$"),
                                    {1280, 1024}));
        tcp.state = platform::TcpLink::Connected;
        c.game.InputEnabled = -1;
        c.core.SchedBlink.Start();
        c.table.LastDiscardImage = kDiscardImage;
        c.table.PrevDiscardImage = kDiscardImage;
        table::ShowTileImage(c.Table(), kDiscardImage, table::TilePicIndex(0, 0x23));
        f.MJ_Image[kDiscardImage].Move(420, 300, 36, 50);
        f.MJ_Image[kDiscardImage].SetVisible(true);
        c.game.CountdownKindFlag = 0;
        c.game.Countdown = 30;
        c.core.SchedDecision.Start();
        table::ShowClock(f, 30, table::ClockColour::Green);
        f.show();
        SettlePainting();
        log.Watch(&f);
        for (QWidget* w : f.findChildren<QWidget*>())
            log.Watch(w);
    }
    ~IdleTable() { QApplication::setCursorFlashTime(flashTime); }

    // Runs the tick by hand for `ms` of the fake clock; the window's own
    // timer is kept still so that no real tick runs in between.
    void Run(int ms)
    {
        for (int t = 0; t < ms; t += 50) {
            clock.Advance(50);
            core::TimerBong_Timer(c);
            f.TimerBong->stop();
            QApplication::processEvents();
        }
        SettlePainting();
    }

    // What was painted on any widget but the table picture.
    QRegion PaintedElsewhere() const
    {
        QRegion r;
        for (const PaintLog::Paint& p : log.paints)
            if (p.widget != f.pic1)
                r += p.region;
        return r;
    }
};

struct IdleCase {
    const char* name;
    std::function<void(IdleTable&)> start;
    std::function<QRegion(IdleTable&)> changing; // besides the countdown
};
void PrintTo(const IdleCase& c, std::ostream* os) { *os << c.name; }

} // namespace

class IdleTableTicks : public ::testing::TestWithParam<IdleCase> {};

TEST_P(IdleTableTicks, RepaintOnlyWhatChanges)
{
    IdleTable t;
    GetParam().start(t);
    t.Run(3200);

    const QRect countdown = DirtyRect(t.f.Number);
    const QRegion allowed = GetParam().changing(t) + countdown;
    const QRegion painted = t.log.PaintedOn(t.f.pic1);
    EXPECT_EQ(t.c.game.Countdown, 27) << "three steps of the countdown";
    EXPECT_TRUE(painted.contains(t.f.Number.PaintRect().toAlignedRect())) << "the countdown is repainted";
    EXPECT_EQ(painted - allowed, QRegion()) << "repainted besides: " << Describe(painted - allowed).toStdString();
    EXPECT_GE(t.log.CountOn(t.f.pic1), 1);
    EXPECT_EQ(t.PaintedElsewhere(), QRegion()) << Describe(t.PaintedElsewhere()).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    MainForm, IdleTableTicks,
    ::testing::Values(
        IdleCase{"TheBlinkOverAndTheCountdownRunning", [](IdleTable&) {}, [](IdleTable&) { return QRegion(); }},
        IdleCase{"ANewDiscardBlinking", [](IdleTable& t) { t.c.table.DiscardBlinkCount = 3; },
                 [](IdleTable& t) { return QRegion(DirtyRect(t.f.MJ_Image[kDiscardImage])); }},
        IdleCase{"TheChatButtonBlinking", [](IdleTable& t) { t.c.chat.ChatBlinkCount = 8; },
                 [](IdleTable& t) { return QRegion(DirtyRect(t.f.AnNiu[1])); }}),
    [](const ::testing::TestParamInfo<IdleCase>& i) { return std::string(i.param.name); });

TEST(IdleTable, AFinishedBlinkIsNotRepaintedAgain)
{
    IdleTable t;
    t.c.core.SchedDecision.Stop();
    t.Run(3000);
    EXPECT_TRUE(t.f.MJ_Image[kDiscardImage].Visible);
    EXPECT_EQ(t.log.paints.size(), 0u) << Describe(t.log.PaintedOn(t.f.pic1)).toStdString();
}

TEST(IdleTable, ABlinkingDiscardRepaintsItsTileWhileItChanges)
{
    IdleTable t;
    t.c.core.SchedDecision.Stop();
    t.c.table.DiscardBlinkCount = 3;
    const QRect tile = t.f.MJ_Image[kDiscardImage].PaintRect().toAlignedRect();
    // Hidden, shown, hidden, shown for good; then nothing changes.
    const bool visible[] = {false, true, false, true, true, true};
    const bool repainted[] = {true, true, true, true, false, false};
    for (int step = 0; step < 6; ++step) {
        t.log.Clear();
        t.Run(400);
        EXPECT_EQ(t.f.MJ_Image[kDiscardImage].Visible, visible[step]) << "step " << step;
        EXPECT_EQ(t.log.PaintedOn(t.f.pic1).contains(tile), repainted[step]) << "step " << step;
        EXPECT_EQ(t.log.PaintedOn(t.f.pic1) - DirtyRect(t.f.MJ_Image[kDiscardImage]), QRegion()) << "step " << step;
    }
}
