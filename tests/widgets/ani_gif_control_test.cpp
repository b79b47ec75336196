#include "widgets/ani_gif_control.h"

#include "gif_builder.h"
#include "platform/resources.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using giftest::GifBuilder;
using giftest::ToQt;
using widgets::AniGifControl;

namespace {

constexpr int kStreakAnimation = 476; // twelve frames, looping for ever

QByteArray Animation() { return platform::LoadResData(kStreakAnimation, QStringLiteral("GIF")).value_or(QByteArray()); }

// Runs events until `done` holds or `ms` have passed.
void RunUntil(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

// Runs events until the control stops or `ms` have passed.
void RunUntilStopped(AniGifControl& ani, int ms)
{
    RunUntil([&ani] { return ani.Action() == 0; }, ms);
}

// Frames of 4 x 2 pixels, each of one colour index (1, 2, 3, ...), 1 cs
// each, with a global table of 16 colours (i, 2i, 3i).
QByteArray Frames(int n, int loops = -1, int width = 4, int height = 2)
{
    GifBuilder g("GIF89a", width, height, 0x83);
    g.Table(16);
    if (loops >= 0)
        g.Loop(loops);
    for (int i = 0; i < n; ++i)
        g.Control(1, 1).Solid(0, 0, width, height, static_cast<uint8_t>(i + 1));
    g.Trailer();
    return ToQt(g.b);
}

QRgb Colour(int index) { return qRgb(index, 2 * index, 3 * index); }

// A shown top-level window holding one control, so that paint, show, hide
// and mouse events reach it.
struct Shown {
    QWidget window;
    AniGifControl* ani;
    Shown()
    {
        window.resize(200, 200);
        ani = new AniGifControl(&window, QStringLiteral("ani"));
        ani->setGeometry(10, 10, 40, 20);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

TEST(AniGifControl, OneLoopPlaysOnceAndEndsBlank)
{
    AniGifControl ani;
    QSignalSpy ended(&ani, &AniGifControl::LoopsEnded);
    EXPECT_TRUE(ani.LoadAnimatedGIF_Array(Animation()));
    ani.SetLoops(1);
    EXPECT_EQ(ani.Action(), 1);
    RunUntilStopped(ani, 5000);
    EXPECT_EQ(ani.Action(), 0);
    EXPECT_EQ(ani.LoopsPlayed(), 1);
    EXPECT_EQ(ani.CurrentFrame(), -1);
    EXPECT_EQ(ani.FrameCount(), 0);
    EXPECT_EQ(ani.LoopsRemaining(), -1);
    EXPECT_EQ(ended.count(), 1);
    // A stopped control ignores playing and restarting until it is loaded.
    ani.SetAction(1);
    ani.SetAction(4);
    EXPECT_EQ(ani.Action(), 0);
    EXPECT_EQ(ani.CurrentFrame(), -1);
}

TEST(AniGifControl, NoLoopCountPlaysOnAndOn)
{
    AniGifControl ani;
    ani.LoadAnimatedGIF_Array(Animation());
    ani.SetLoops(0);
    RunUntilStopped(ani, 1500); // one loop takes about a second
    EXPECT_EQ(ani.Action(), 1);
    EXPECT_GE(ani.LoopsPlayed(), 1);
    EXPECT_EQ(ani.LoopsRemaining(), 0);
    ani.SetAction(2);
    EXPECT_EQ(ani.Action(), 2);
    const int frame = ani.CurrentFrame();
    RunFor(300);
    EXPECT_EQ(ani.CurrentFrame(), frame);
}

TEST(AniGifControl, BytesThatAreNoPictureLeaveItStopped)
{
    AniGifControl ani;
    EXPECT_FALSE(ani.LoadAnimatedGIF_Array(QByteArray("GIF89a but nothing more")));
    EXPECT_EQ(ani.Action(), 0);
    EXPECT_EQ(ani.CurrentFrame(), -1);
    EXPECT_TRUE(ani.LoadAnimatedGIF_Array(Frames(2)));
    EXPECT_FALSE(ani.LoadAnimatedGIF_Array(QByteArray()));
    EXPECT_EQ(ani.Action(), 0);
    EXPECT_EQ(ani.FrameCount(), 0);
    EXPECT_EQ(ani.ActualWidth(), 0);
    EXPECT_TRUE(ani.AnimatedGIF().isNull());
}

TEST(AniGifControl, ALoadStartsAgainFromTheFirstFrame)
{
    AniGifControl ani;
    ani.LoadAnimatedGIF_Array(Animation());
    ani.SetLoops(1);
    RunUntilStopped(ani, 5000);
    ani.LoadAnimatedGIF_Array(Animation());
    ani.SetLoops(1);
    EXPECT_EQ(ani.Action(), 1);
    EXPECT_EQ(ani.CurrentFrame(), 0);
    EXPECT_EQ(ani.LoopsPlayed(), 0);
    RunUntilStopped(ani, 5000);
    EXPECT_EQ(ani.LoopsPlayed(), 1);
}

TEST(AniGifControl, TheLoopCountComesFromTheFileUntilSet)
{
    AniGifControl ani;
    QSignalSpy changed(&ani, &AniGifControl::PropertyChanged);
    ani.LoadAnimatedGIF_Array(Frames(3, 3));
    EXPECT_EQ(ani.loops(), 3);
    EXPECT_EQ(ani.LoopsRemaining(), 3);
    ani.SetLoops(-2);
    EXPECT_EQ(ani.loops(), 2);
    ani.SetLoops(2);
    EXPECT_EQ(changed.count(), 1);
    ani.LoadAnimatedGIF_Array(Frames(3));
    EXPECT_EQ(ani.loops(), 0);
    ani.SetLoops(40000); // passes are counted in 32 bits
    EXPECT_EQ(ani.LoopsRemaining(), 40000);

    // The file's three passes, then the end.
    ani.SetMinFrameDelay(10);
    QSignalSpy ended(&ani, &AniGifControl::LoopsEnded);
    ani.LoadAnimatedGIF_Array(Frames(2, 3));
    RunUntilStopped(ani, 3000);
    EXPECT_EQ(ani.LoopsPlayed(), 3);
    EXPECT_EQ(ended.count(), 1);
}

TEST(AniGifControl, PropertiesKeepTheirRangesAndReportOnlyChanges)
{
    AniGifControl ani;
    QSignalSpy changed(&ani, &AniGifControl::PropertyChanged);
    struct Case {
        std::function<void()> set;
        std::function<int()> get;
        int expect;
        const char* reported; // nullptr: no change reported
    };
    const Case cases[] = {
        {[&] { ani.SetMinFrameDelay(5); }, [&] { return ani.MinFrameDelay(); }, 10, "Delay"},
        {[&] { ani.SetMinFrameDelay(40000); }, [&] { return ani.MinFrameDelay(); }, 32700, "Delay"},
        {[&] { ani.SetMinFrameDelay(32700); }, [&] { return ani.MinFrameDelay(); }, 32700, nullptr},
        {[&] { ani.SetStretch(5); }, [&] { return ani.Stretch(); }, 1, nullptr},
        {[&] { ani.SetStretch(1); }, [&] { return ani.Stretch(); }, 1, nullptr},
        {[&] { ani.SetStretch(0); }, [&] { return ani.Stretch(); }, 0, "Stretch"},
        {[&] { ani.SetMirrored(4); }, [&] { return ani.Mirrored(); }, 0, nullptr},
        {[&] { ani.SetMirrored(3); }, [&] { return ani.Mirrored(); }, 3, "Mirrored"},
        {[&] { ani.SetDelayAnimation(4); }, [&] { return ani.DelayAnimation(); }, 1, nullptr},
        {[&] { ani.SetDelayAnimation(-1); }, [&] { return ani.DelayAnimation(); }, 1, nullptr},
        {[&] { ani.SetDelayAnimation(2); }, [&] { return ani.DelayAnimation(); }, 2, "DelayAnimation"},
    };
    for (const Case& c : cases) {
        changed.clear();
        c.set();
        EXPECT_EQ(c.get(), c.expect);
        if (c.reported) {
            ASSERT_EQ(changed.count(), 1) << c.reported;
            EXPECT_EQ(changed[0][0].toString(), QString::fromLatin1(c.reported));
        } else {
            EXPECT_EQ(changed.count(), 0) << c.expect;
        }
    }
}

TEST(AniGifControl, AOneFrameGifIsShownButNeverPlays)
{
    Shown s;
    QSignalSpy over(s.ani, &AniGifControl::reportOver);
    ASSERT_TRUE(s.ani->LoadAnimatedGIF_Array(Frames(1)));
    EXPECT_EQ(s.ani->Action(), 0);
    s.ani->SetAction(1);
    EXPECT_EQ(s.ani->Action(), 0);
    EXPECT_EQ(s.ani->FrameCount(), 1);
    s.ani->repaint();
    s.ani->repaint();
    ASSERT_GE(over.count(), 2);
    EXPECT_EQ(over.last()[0].toInt(), 1);
    // Changing the stretch keeps it on show.
    s.ani->SetStretch(2);
    EXPECT_EQ(s.ani->Action(), 0);
    EXPECT_EQ(s.ani->FrameCount(), 1);
    EXPECT_EQ(s.ani->CurrentFrame(), 0);
}

TEST(AniGifControl, ChangingTheStretchKeepsAPauseAndKeepsPlaying)
{
    AniGifControl ani;
    ani.SetDelayAnimation(0);
    ani.LoadAnimatedGIF_Array(Frames(3));
    EXPECT_EQ(ani.Action(), 1);
    ani.SetStretch(2);
    EXPECT_EQ(ani.Action(), 1);
    ani.SetAction(2);
    ani.SetStretch(0);
    EXPECT_EQ(ani.Action(), 2);
    EXPECT_EQ(ani.FrameCount(), 3);
}

TEST(AniGifControl, ActionsStepPauseAndRestart)
{
    AniGifControl ani;
    ani.SetDelayAnimation(0);
    ani.LoadAnimatedGIF_Array(Frames(3));
    struct Step {
        int action;
        int state;
        int frame;
    };
    for (const Step s : {Step{2, 2, 0}, Step{3, 2, 1}, Step{3, 2, 2}, Step{3, 2, 0}, Step{1, 1, 0}, Step{3, 2, 1},
                         Step{4, 1, 0}, Step{7, 1, 0}, Step{0, 0, -1}, Step{1, 0, -1}, Step{3, 0, -1}}) {
        ani.SetAction(s.action);
        EXPECT_EQ(ani.Action(), s.state) << s.action;
        EXPECT_EQ(ani.CurrentFrame(), s.frame) << s.action;
    }
}

struct DelayCase {
    int mode;
    int actionAfterLoad;
    int actionAfterBuild;
};

class DelayAnimationModes : public ::testing::TestWithParam<DelayCase> {};

TEST_P(DelayAnimationModes, DecideWhenPlayingStarts)
{
    const DelayCase c = GetParam();
    AniGifControl ani;
    ani.SetDelayAnimation(c.mode);
    ani.SetMinFrameDelay(200);
    ani.LoadAnimatedGIF_Array(Frames(3));
    EXPECT_EQ(ani.Action(), c.actionAfterLoad);
    EXPECT_EQ(ani.CurrentFrame(), 0);
    RunFor(80); // past the deferred build, before the first frame ends
    EXPECT_EQ(ani.Action(), c.actionAfterBuild);
    EXPECT_EQ(ani.CurrentFrame(), 0);
    ani.SetAction(1);
    EXPECT_EQ(ani.Action(), 1);
    RunUntil([&ani] { return ani.CurrentFrame() == 2; }, 3000);
    EXPECT_EQ(ani.CurrentFrame(), 2);
}

INSTANTIATE_TEST_SUITE_P(Modes, DelayAnimationModes,
                         ::testing::Values(DelayCase{0, 1, 1}, DelayCase{1, 1, 1}, DelayCase{2, 1, 0},
                                           DelayCase{3, 1, 0}));

TEST(AniGifControl, FramesStayAtLeastTheMinimumDelay)
{
    AniGifControl ani;
    ani.SetDelayAnimation(0);
    ani.SetMinFrameDelay(200);
    ani.LoadAnimatedGIF_Array(Frames(2)); // each frame asks for 10 ms
    RunFor(120);
    EXPECT_EQ(ani.CurrentFrame(), 0);
    RunUntil([&ani] { return ani.CurrentFrame() == 1; }, 1000);
    EXPECT_EQ(ani.CurrentFrame(), 1);
}

TEST(AniGifControl, HidingPausesAndShowingPlaysEvenWhenTheLoadWaited)
{
    Shown s;
    s.ani->SetDelayAnimation(2);
    s.ani->LoadAnimatedGIF_Array(Frames(3));
    RunFor(40);
    EXPECT_EQ(s.ani->Action(), 0);
    s.ani->hide();
    EXPECT_EQ(s.ani->Action(), 0); // a stopped control is not paused
    s.ani->show();
    EXPECT_EQ(s.ani->Action(), 1);
    s.ani->hide();
    EXPECT_EQ(s.ani->Action(), 2);
    s.ani->show();
    EXPECT_EQ(s.ani->Action(), 1);
}

TEST(AniGifControl, HidingDuringTheDeferredBuildStillPlaysEveryFrameLater)
{
    Shown s;
    s.ani->SetMinFrameDelay(10);
    s.ani->LoadAnimatedGIF_Array(Frames(3));
    s.ani->hide(); // before the rest of the frames is built
    EXPECT_EQ(s.ani->Action(), 2);
    s.ani->show();
    RunUntil([&s] { return s.ani->CurrentFrame() == 2; }, 2000);
    EXPECT_EQ(s.ani->grab().toImage().pixel(0, 0), Colour(3));
}

struct StretchCase {
    int mode;
    int controlW, controlH;
    QSize size; // of the control after the layout
    QRgb at;    // the pixel at (size - 1) / 2
};

class StretchModes : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchModes, SizeTheControlAndThePicture)
{
    const StretchCase c = GetParam();
    Shown s;
    // a 20 x 10 canvas: the left half index 1, the right half index 2
    std::vector<uint8_t> halves(200);
    for (std::size_t i = 0; i < halves.size(); ++i)
        halves[i] = i % 20 < 10 ? 1 : 2;
    GifBuilder g("GIF89a", 20, 10, 0x83);
    g.Table(16).Image(0, 0, 20, 10).Pixels(halves, 20, 10).Trailer();
    s.ani->SetStretch(c.mode);
    ASSERT_TRUE(s.ani->LoadAnimatedGIF_Array(ToQt(g.b)));
    s.ani->resize(c.controlW, c.controlH);
    EXPECT_EQ(s.ani->size(), c.size) << c.mode;
    const QImage shot = s.ani->grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0), Colour(1)) << c.mode;
    EXPECT_EQ(shot.pixel(c.size.width() - 1, (c.size.height() - 1) / 2), c.at) << c.mode;
}

INSTANTIATE_TEST_SUITE_P(Modes, StretchModes,
                         ::testing::Values(StretchCase{0, 100, 50, {20, 10}, Colour(2)},
                                           StretchCase{0, 15, 50, {15, 10}, Colour(2)},
                                           StretchCase{1, 60, 50, {60, 30}, Colour(2)},
                                           StretchCase{2, 60, 50, {60, 50}, Colour(2)},
                                           StretchCase{3, 60, 50, {20, 10}, Colour(2)},
                                           StretchCase{3, 10, 50, {10, 5}, Colour(2)},
                                           StretchCase{4, 60, 50, {20, 10}, Colour(2)}));

TEST(AniGifControl, MirroringTurnsThePictureAndTheFrameReadBack)
{
    Shown s;
    // a 2 x 2 frame: indices 1 2 / 3 4
    GifBuilder g("GIF89a", 2, 2, 0x83);
    g.Table(16).Image(0, 0, 2, 2).Pixels({1, 2, 3, 4}, 2, 2).Trailer();
    s.ani->SetStretch(4);
    ASSERT_TRUE(s.ani->LoadAnimatedGIF_Array(ToQt(g.b)));
    struct Case {
        int style;
        int topLeft; // index shown at the top left
    };
    for (const Case c : {Case{0, 1}, Case{1, 2}, Case{2, 3}, Case{3, 4}, Case{0, 1}}) {
        s.ani->SetMirrored(c.style);
        EXPECT_EQ(s.ani->grab().toImage().pixel(0, 0), Colour(c.topLeft)) << c.style;
        const widgets::GifPicture frame = s.ani->AnimatedGIF();
        ASSERT_FALSE(frame.isNull());
        EXPECT_EQ(frame.image.size(), QSize(2, 2));
        EXPECT_EQ(frame.image.pixel(0, 0), Colour(c.topLeft)) << c.style;
    }
}

TEST(AniGifControl, TheFrameReadBackLoadsAsAOneFrameGif)
{
    AniGifControl ani;
    ani.SetDelayAnimation(0);
    GifBuilder g("GIF89a", 3, 1, 0x83);
    g.Table(16).Control(1, 1, 5).Image(0, 0, 3, 1).Pixels({5, 6, 7}, 3, 1).Solid(0, 0, 3, 1, 1).Trailer();
    ASSERT_TRUE(ani.LoadAnimatedGIF_Array(ToQt(g.b)));
    const widgets::GifPicture first = ani.AnimatedGIF();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(qAlpha(first.image.pixel(0, 0)), 0); // transparent index 5
    EXPECT_EQ(first.image.pixel(2, 0), Colour(7));

    AniGifControl other;
    QSignalSpy changed(&other, &AniGifControl::PropertyChanged);
    other.SetAnimatedGIF(first);
    EXPECT_EQ(other.FrameCount(), 1);
    EXPECT_EQ(other.ActualWidth(), 3);
    EXPECT_EQ(changed.count(), 1);
    other.SetAnimatedGIF(widgets::GifPicture{});
    EXPECT_EQ(other.FrameCount(), 0);
    EXPECT_TRUE(other.AnimatedGIF().isNull());
}

TEST(AniGifControl, AClickIsAPressAndAReleaseOfTheLeftButtonOnIt)
{
    Shown s;
    s.ani->LoadAnimatedGIF_Array(Frames(2));
    QSignalSpy clicks(s.ani, &AniGifControl::Click);
    QSignalSpy downs(s.ani, &AniGifControl::MouseDown);
    QSignalSpy ups(s.ani, &AniGifControl::MouseUp);
    QTest::mouseClick(s.ani, Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 3));
    EXPECT_EQ(clicks.count(), 1);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs[0][0].value<int16_t>(), 1);
    EXPECT_EQ(downs[0][1].value<int16_t>(), 1);
    EXPECT_EQ(downs[0][2].toFloat(), 7.0f);
    EXPECT_EQ(downs[0][3].toFloat(), 3.0f);
    EXPECT_EQ(ups.count(), 1);

    QTest::mouseClick(s.ani, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(downs.last()[0].value<int16_t>(), 2);

    // released away from the control: no click
    QTest::mousePress(s.ani, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(s.ani, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(clicks.count(), 1);

    // a disabled control hears nothing
    s.ani->SetEnabled(false);
    QTest::mouseClick(s.ani, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(AniGifControl, LoadsFilesAndEmptiesOnAMissingOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.gif"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Frames(2));
    file.close();
    AniGifControl ani;
    EXPECT_TRUE(ani.LoadAnimatedGIF_File(path));
    EXPECT_EQ(ani.FrameCount(), 2);
    EXPECT_FALSE(ani.LoadAnimatedGIF_File(dir.filePath(QStringLiteral("missing.gif"))));
    EXPECT_EQ(ani.FrameCount(), 0);
    EXPECT_FALSE(ani.LoadAnimatedGIF_File(dir.path())); // a folder
}

namespace {

// Answers every HTTP request on 127.0.0.1 with one canned response.
class OneShotHttp {
public:
    explicit OneShotHttp(QByteArray response) : response_(std::move(response))
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                request_ += socket->readAll();
                if (request_.contains("\r\n\r\n")) {
                    socket->write(response_);
                    socket->disconnectFromHost();
                }
            });
        });
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/a.gif").arg(server_.serverPort()); }

private:
    QTcpServer server_;
    QByteArray response_;
    QByteArray request_;
};

QByteArray Response(const QByteArray& status, const QByteArray& body, const QByteArray& length = QByteArray())
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: image/gif\r\nConnection: close\r\nContent-Length: " +
           (length.isEmpty() ? QByteArray::number(body.size()) : length) + "\r\n\r\n" + body;
}

} // namespace

struct RemoteCase {
    const char* name;
    QByteArray response;
    bool loaded;
};

class RemoteLoads : public ::testing::TestWithParam<RemoteCase> {};

TEST_P(RemoteLoads, LoadAGifOrReportAFailure)
{
    const RemoteCase& c = GetParam();
    OneShotHttp http(c.response);
    AniGifControl ani;
    std::vector<std::pair<float, float>> complete;
    QObject::connect(&ani, &AniGifControl::RemoteLoadComplete,
                     [&complete](float w, float h, bool&) { complete.emplace_back(w, h); });
    QSignalSpy failure(&ani, &AniGifControl::RemoteLoadFailure);
    ani.LoadAnimatedGIF_Remote(http.Url());
    RunUntil([&] { return !complete.empty() || failure.count() > 0; }, 5000);
    EXPECT_EQ(complete.size(), c.loaded ? 1u : 0u) << c.name;
    EXPECT_EQ(failure.count(), c.loaded ? 0 : 1) << c.name;
    EXPECT_EQ(ani.FrameCount(), c.loaded ? 2 : 0) << c.name;
    if (c.loaded) {
        EXPECT_EQ(complete[0].first, 4.0f);
        EXPECT_EQ(complete[0].second, 2.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Http, RemoteLoads,
    ::testing::Values(RemoteCase{"a gif", Response("200 OK", Frames(2)), true},
                      RemoteCase{"capital signature", Response("200 OK", "GIF89A" + Frames(2).mid(6)), true},
                      RemoteCase{"14 bytes", Response("200 OK", Frames(2).left(14)), false},
                      RemoteCase{"not a gif", Response("200 OK", "<html>nothing here</html>"), false},
                      RemoteCase{"not found", Response("404 Not Found", Frames(2)), false},
                      RemoteCase{"over the size limit", Response("200 OK", Frames(2), "9000000"), false}));

TEST(AniGifControl, RemoteLoadsTakeOnlyHttpAndHonourACancel)
{
    AniGifControl ani;
    QSignalSpy failure(&ani, &AniGifControl::RemoteLoadFailure);
    ani.LoadAnimatedGIF_Remote(QString());
    EXPECT_EQ(failure.count(), 0);
    for (const char* url : {"file:///etc/passwd", "ftp://127.0.0.1/a.gif", "not a url at all"})
        ani.LoadAnimatedGIF_Remote(QString::fromLatin1(url));
    EXPECT_EQ(failure.count(), 3);

    OneShotHttp http(Response("200 OK", Frames(2)));
    int complete = 0;
    QObject::connect(&ani, &AniGifControl::RemoteLoadComplete, [&complete](float, float, bool& cancel) {
        ++complete;
        cancel = true;
    });
    ani.LoadAnimatedGIF_Remote(http.Url());
    RunUntil([&] { return complete > 0; }, 5000);
    EXPECT_EQ(complete, 1);
    EXPECT_EQ(failure.count(), 3);
    EXPECT_EQ(ani.FrameCount(), 0);
}
