// The table window's own frame and title bar: where the pieces go, how the
// close and minimise pictures follow the mouse, dragging, and what a
// minimise and a restore do.
#include "support/mouse.h"
#include "window/chrome.h"

#include "chat/huifu_form.h"
#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "core/startup.h"
#include "platform/lobby_link.h"
#include "results/result_forms.h"
#include "support/test_client.h"
#include "window/hot_keys.h"
#include "window/main_form.h"
#include "window/notice_forms.h"
#include "window/settings_form.h"
#include "window/pictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::FakePropPlugin;
using testing_support::TestClient;
using window::MainForm;

namespace {

constexpr float kTwip = 1.0f / 15.0f;

// Sends a mouse event to the window at a point of its own.
void Mouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton,
           Qt::MouseButtons held = Qt::NoButton, QPoint global = QPoint(-1, -1))
{
    if (global == QPoint(-1, -1))
        global = w.mapToGlobal(at);
    QMouseEvent e(type, QPointF(at), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

using testing_support::CentreOf;

// A client whose window is framed for a 1280 x 1024 screen.
struct Framed : TestClient {
    Framed() { core::SizeWindow(client, {1280, 1024}); }
    MainForm& f = *client.MainForm;
};

} // namespace

// ---- the frame ----

TEST(WindowFrame, AtFullSizeTheChromeSitsInTheTitleBar)
{
    Framed t;
    MainForm& f = t.f;
    ASSERT_TRUE(t.client.window.WindowFramed);
    ASSERT_EQ(f.size(), QSize(1040, 796));

    const platform::Image& close = f.Imgclose[0];
    EXPECT_TRUE(close.Visible);
    EXPECT_EQ(close.PictureId(), window::kClosePictures);
    EXPECT_FLOAT_EQ(close.Left + close.Width, 1040 - 70 * kTwip) << "70 twips from the right edge";
    EXPECT_FLOAT_EQ(close.Top, 25 * kTwip);

    const platform::Image& minimise = f.ImgMin[0];
    EXPECT_TRUE(minimise.Visible);
    EXPECT_EQ(minimise.PictureId(), window::kMinimisePictures);
    EXPECT_FLOAT_EQ(minimise.Left + minimise.Width, close.Left - 30 * kTwip) << "30 twips left of the close image";
    EXPECT_FLOAT_EQ(minimise.Top, 25 * kTwip);

    EXPECT_TRUE(f.LbMove.Visible);
    EXPECT_FLOAT_EQ(f.LbMove.Left, 290 * kTwip);
    EXPECT_FLOAT_EQ(f.LbMove.Top, 0);
    EXPECT_FLOAT_EQ(f.LbMove.Width, minimise.Left - 290 * kTwip);
    EXPECT_FLOAT_EQ(f.LbMove.Height, close.Height + 50 * kTwip);

    EXPECT_TRUE(f.lcaption.Visible);
    EXPECT_EQ(f.lcaption.Caption, QStringLiteral("Brannoch"));
    EXPECT_FLOAT_EQ(f.lcaption.Left, 300 * kTwip);
    EXPECT_FLOAT_EQ(f.lcaption.Top, 25 * kTwip);
    EXPECT_EQ(f.lcaption.ForeColor, 0xFFFFFF);

    EXPECT_TRUE(f.ImgIcon.Visible);
    EXPECT_FLOAT_EQ(f.ImgIcon.Left, 50 * kTwip);
    EXPECT_FLOAT_EQ(f.ImgIcon.Width, 16);
    EXPECT_FLOAT_EQ(f.ImgIcon.Height, 16);

    // The buttons lie in front of the title strip, and everything outside
    // the table picture.
    const auto& order = f.ZOrderList();
    const auto at = [&order](const platform::GraphicControl* c) { return std::find(order.begin(), order.end(), c); };
    EXPECT_LT(at(&f.LbMove), at(&close));
    EXPECT_LT(at(&f.LbMove), at(&minimise));
    EXPECT_FALSE(f.pic1->geometry().intersects(QRectF(close.Left, close.Top, close.Width, close.Height).toRect()));
}

// Points of the window and the points of the skin whose colour they take.
struct PieceCase {
    const char* name;
    QPoint window; // on a 1040 x 796 window
    QPoint skin;   // on the 46 x 220 skin
};
void PrintTo(const PieceCase& c, std::ostream* os) { *os << c.name; }

class SkinPieceTest : public ::testing::TestWithParam<PieceCase> {};

TEST_P(SkinPieceTest, TakesItsColourFromTheSkin)
{
    Framed t;
    // The frame as its pieces paint it on the window.
    QImage frame(t.f.size(), QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    {
        QPainter p(&frame);
        for (int k = 0; k < t.f.FrameSkin.Count(); ++k) {
            ASSERT_TRUE(t.f.FrameSkin[k].Visible) << k;
            t.f.FrameSkin[k].Paint(p);
        }
    }
    const QImage& skin = t.f.Skin.GetPicture().image;
    ASSERT_EQ(frame.size(), QSize(1040, 796));
    ASSERT_EQ(skin.size(), QSize(46, 220));
    const PieceCase& pc = GetParam();
    EXPECT_EQ(frame.pixel(pc.window), skin.pixel(pc.skin));
}

INSTANTIATE_TEST_SUITE_P(
    WindowFrame, SkinPieceTest,
    ::testing::Values(PieceCase{"TopLeftCorner", {0, 0}, {0, 0}}, PieceCase{"TopLeftCornerInside", {6, 19}, {6, 19}},
                      PieceCase{"TopEdge", {520, 10}, {12, 10}}, PieceCase{"TopEdgeGoldLine", {900, 19}, {10, 19}},
                      PieceCase{"TopRightCorner", {1039, 0}, {45, 0}}, PieceCase{"TopRightInside", {1033, 12}, {39, 12}},
                      PieceCase{"LeftEdge", {3, 400}, {3, 100}}, PieceCase{"RightEdge", {1036, 400}, {42, 100}},
                      PieceCase{"BottomLeftCorner", {0, 795}, {0, 219}}, PieceCase{"BottomEdge", {500, 790}, {12, 214}},
                      PieceCase{"BottomRightCorner", {1039, 795}, {45, 219}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ScreenCase {
    const char* name;
    QSize screen;
    bool framed;
};
void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.name; }

class ChromeScreenTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(ChromeScreenTest, ChromeOnlyWhenTheScreenHasRoomForTheFrame)
{
    const ScreenCase& sc = GetParam();
    TestClient t;
    core::SizeWindow(t.client, sc.screen);
    MainForm& f = *t.client.MainForm;
    EXPECT_EQ(t.client.window.WindowFramed, sc.framed);
    EXPECT_EQ(f.Imgclose[0].Visible, sc.framed);
    EXPECT_EQ(f.ImgMin[0].Visible, sc.framed);
    EXPECT_EQ(f.LbMove.Visible, sc.framed);
    EXPECT_EQ(f.lcaption.Visible, sc.framed);
    for (int k = 0; k < f.FrameSkin.Count(); ++k)
        EXPECT_EQ(f.FrameSkin[k].Visible, sc.framed) << k;
    // The picture stores never show.
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(f.Imgclose[i].Visible);
        EXPECT_FALSE(f.ImgMin[i].Visible);
    }
    EXPECT_FALSE(f.Skin.Visible);
    if (sc.framed) {
        EXPECT_FLOAT_EQ(f.Imgclose[0].Left + f.Imgclose[0].Width, static_cast<float>(f.width()) - 70 * kTwip);
    }
}

INSTANTIATE_TEST_SUITE_P(Chrome, ChromeScreenTest,
                         ::testing::Values(ScreenCase{"s800x600", {800, 600}, false},
                                           ScreenCase{"s1024x768", {1024, 768}, false},
                                           ScreenCase{"s1280x1024", {1280, 1024}, true},
                                           ScreenCase{"s1366x768", {1366, 768}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WindowFrame, TheTableWindowHasNoSystemFrame)
{
    TestClient t;
    EXPECT_TRUE(t.client.MainForm->windowFlags() & Qt::FramelessWindowHint);
}

// ---- the title-bar pictures ----

TEST(Chrome, HoverShowsOnceAndTheTitleStripRestoresBothOnce)
{
    Framed t;
    MainForm& f = t.f;
    window::WindowState& w = t.client.window;
    w.ChromeNormal = -1;

    window::Imgclose_MouseMove(t.client, 0);
    EXPECT_EQ(f.Imgclose[0].PictureId(), window::kClosePictures + 1);
    EXPECT_EQ(w.ChromeNormal, 0);
    // While one button is lit the other does not light up.
    window::ImgMin_MouseMove(t.client, 0);
    EXPECT_EQ(f.ImgMin[0].PictureId(), window::kMinimisePictures);

    window::LbMove_MouseMove(t.client);
    EXPECT_EQ(f.Imgclose[0].PictureId(), window::kClosePictures);
    EXPECT_EQ(f.ImgMin[0].PictureId(), window::kMinimisePictures);
    EXPECT_EQ(w.ChromeNormal, -1);
    EXPECT_EQ(f.cursor().shape(), Qt::ArrowCursor);

    // The flag stops repeats: a second move leaves the pictures alone.
    f.Imgclose[0].SetPicture(f.Imgclose[3].GetPicture());
    window::LbMove_MouseMove(t.client);
    window::Form_MouseMove(t.client);
    EXPECT_EQ(f.Imgclose[0].PictureId(), window::kClosePictures + 2);
}

struct PressCase {
    const char* name;
    bool close;
    int16_t index;
    int down; // picture after the press, as an offset from the normal picture
    int up;   // after the release
};
void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }

class ChromePressTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(ChromePressTest, PressedThenHover)
{
    const PressCase& pc = GetParam();
    Framed t;
    platform::Image& button = pc.close ? t.f.Imgclose[0] : t.f.ImgMin[0];
    const int normal = pc.close ? window::kClosePictures : window::kMinimisePictures;
    if (pc.close)
        window::Imgclose_MouseDown(t.client, pc.index);
    else
        window::ImgMin_MouseDown(t.client, pc.index);
    EXPECT_EQ(button.PictureId(), normal + pc.down);
    if (pc.close)
        window::Imgclose_MouseUp(t.client, pc.index);
    else
        window::ImgMin_MouseUp(t.client, pc.index);
    EXPECT_EQ(button.PictureId(), normal + pc.up);
}

INSTANTIATE_TEST_SUITE_P(Chrome, ChromePressTest,
                         ::testing::Values(PressCase{"Close", true, 0, 2, 1}, PressCase{"Minimise", false, 0, 2, 1},
                                           PressCase{"CloseStoreIgnored", true, 2, 0, 0},
                                           PressCase{"MinimiseStoreIgnored", false, 3, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Chrome, RealMouseMovesLightAndRestoreTheButtons)
{
    Framed t;
    MainForm& f = t.f;
    t.client.window.ChromeNormal = -1;
    Mouse(f, QEvent::MouseMove, CentreOf(f.Imgclose[0]));
    EXPECT_EQ(f.Imgclose[0].PictureId(), window::kClosePictures + 1);
    // The left border: the window itself, no control.
    Mouse(f, QEvent::MouseMove, QPoint(3, 400));
    EXPECT_EQ(f.Imgclose[0].PictureId(), window::kClosePictures);
    EXPECT_EQ(t.client.window.ChromeNormal, -1);

    Mouse(f, QEvent::MouseMove, CentreOf(f.ImgMin[0]));
    EXPECT_EQ(f.ImgMin[0].PictureId(), window::kMinimisePictures + 1);
    Mouse(f, QEvent::MouseMove, QPoint(static_cast<int>(f.LbMove.Left) + 40, 5));
    EXPECT_EQ(f.ImgMin[0].PictureId(), window::kMinimisePictures);
}

TEST(Chrome, CloseImageOpensTheExitWindowAndClosesThePluginsBank)
{
    Framed t;
    auto plugin = std::make_unique<FakePropPlugin>();
    FakePropPlugin& p = *plugin;
    t.client.rewards.PropPlugin = std::move(plugin);
    t.client.rewards.PropPluginState = 1;
    const QPoint at = CentreOf(t.f.Imgclose[0]);
    Mouse(t.f, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(t.f.Imgclose[0].PictureId(), window::kClosePictures + 2);
    Mouse(t.f, QEvent::MouseButtonRelease, at, Qt::LeftButton);
    EXPECT_TRUE(t.client.frmExit->Visible());
    EXPECT_EQ(p.calls, QStringList{QStringLiteral("setbankstate(2)")});
    // A second click closes the exit window again, as the exit button does.
    window::Imgclose_Click(t.client, 0);
    EXPECT_FALSE(t.client.frmExit->Visible());
    window::Imgclose_Click(t.client, 1);
    EXPECT_FALSE(t.client.frmExit->Visible());
}

TEST(Chrome, MinimiseImageActsAsTheMinimiseButton)
{
    Framed t;
    GameState& g = t.client.game;
    auto plugin = std::make_unique<FakePropPlugin>();
    FakePropPlugin& p = *plugin;
    t.client.rewards.PropPlugin = std::move(plugin);
    t.client.rewards.PropPluginState = 1;
    t.f.show();
    QWidget* side[] = {t.client.Talk.get(), t.client.huifu.get(), t.client.Hero.get(), t.client.Score.get(),
                       t.client.VosSet.get(), t.client.FrmRule.get()};
    for (QWidget* w : side)
        w->show();
    const QPoint at = CentreOf(t.f.ImgMin[0]);
    Mouse(t.f, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Mouse(t.f, QEvent::MouseButtonRelease, at, Qt::LeftButton);
    EXPECT_TRUE(t.f.isMinimized());
    for (QWidget* w : side)
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_EQ(g.F1Minimized, -1);
    // The window's own F1: the plug-in hears it once, the countdown and
    // hosted play stay as they were.
    EXPECT_EQ(p.calls, QStringList{QStringLiteral("SetKeyDown(112)")});
    EXPECT_EQ(g.CountdownStart, 8);
    EXPECT_EQ(g.AutoPlay, 0);
    EXPECT_EQ(t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScMinimize});
    EXPECT_FALSE(t.process.ended);
}

// ---- dragging by the title strip ----

TEST(Chrome, TitleStripDragsTheWindow)
{
    Framed t;
    MainForm& f = t.f;
    f.show();
    f.move(100, 50);
    QWidget* side[] = {t.client.Talk.get(), t.client.huifu.get(), t.client.FrmRule.get()};
    for (QWidget* w : side)
        w->show();
    t.client.Score->Show();
    const QPoint press(static_cast<int>(f.LbMove.Left) + 30, 8);
    const QPoint pressGlobal(100 + press.x(), 50 + press.y());
    Mouse(f, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton, pressGlobal);
    for (QWidget* w : side)
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_TRUE(t.client.Score->Visible()) << "only the chat, quick-phrase and rules windows go";
    EXPECT_EQ(f.cursor().shape(), Qt::SizeAllCursor);

    Mouse(f, QEvent::MouseMove, press, Qt::NoButton, Qt::LeftButton, pressGlobal + QPoint(40, 25));
    EXPECT_EQ(f.pos(), QPoint(140, 75));
    Mouse(f, QEvent::MouseButtonRelease, press, Qt::LeftButton, Qt::NoButton, pressGlobal + QPoint(40, 25));
    Mouse(f, QEvent::MouseMove, press, Qt::NoButton, Qt::NoButton, pressGlobal + QPoint(90, 90));
    EXPECT_EQ(f.pos(), QPoint(140, 75)) << "the drag ends with the button";
}

TEST(Chrome, RightButtonOnTheTitleStripDoesNotDrag)
{
    Framed t;
    t.f.show();
    t.f.move(100, 50);
    const QPoint press(static_cast<int>(t.f.LbMove.Left) + 30, 8);
    Mouse(t.f, QEvent::MouseButtonPress, press, Qt::RightButton, Qt::RightButton, QPoint(200, 58));
    Mouse(t.f, QEvent::MouseMove, press, Qt::NoButton, Qt::RightButton, QPoint(260, 98));
    EXPECT_EQ(t.f.pos(), QPoint(100, 50));
}

// ---- minimise and restore ----

TEST(FormResize, RestoringAfterF1EndsAutoPlayAndBringsTheCountdownBackToEight)
{
    Framed t;
    MainForm& f = t.f;
    GameState& g = t.client.game;
    auto plugin = std::make_unique<FakePropPlugin>();
    FakePropPlugin& p = *plugin;
    t.client.rewards.PropPlugin = std::move(plugin);
    t.client.rewards.PropPluginState = 2;
    f.show();
    g.ZhahuShown = -1;
    g.TimeoutCount = 3;
    g.AutoPlay = -1;

    window::keys::pic1_KeyDown(t.client, 112, 0);
    ASSERT_TRUE(f.isMinimized());
    EXPECT_EQ(g.ZhahuShown, 0) << "the false-win window goes with the minimise";
    EXPECT_EQ(g.CountdownStart, 0);
    EXPECT_EQ(p.Count(QStringLiteral("FixBuffPos")), 0);
    const std::size_t commands = t.lobby.commands.size();

    f.showNormal();
    ASSERT_FALSE(f.isMinimized());
    EXPECT_EQ(g.F1Minimized, 0);
    EXPECT_EQ(g.AutoPlay, 0);
    EXPECT_EQ(g.CountdownStart, 8);
    EXPECT_EQ(g.TimeoutCount, 0);
    EXPECT_EQ(p.Count(QStringLiteral("FixBuffPos")), 1);
    ASSERT_EQ(t.lobby.commands.size(), commands + 1);
    EXPECT_EQ(t.lobby.commands.back(), platform::LobbyLink::kScMinimize) << "the lobby steps back";
    EXPECT_FALSE(t.process.ended);
}

TEST(FormResize, RestoreWithoutF1LeavesThePlaySettingsAndAStoppedPluginAlone)
{
    Framed t;
    GameState& g = t.client.game;
    auto plugin = std::make_unique<FakePropPlugin>();
    FakePropPlugin& p = *plugin;
    t.client.rewards.PropPlugin = std::move(plugin);
    t.client.rewards.PropPluginState = 0;
    g.AutoPlay = -1;
    g.CountdownStart = 2;
    t.f.show();
    t.f.showMinimized();
    t.f.showNormal();
    EXPECT_EQ(g.AutoPlay, -1);
    EXPECT_EQ(g.CountdownStart, 2);
    EXPECT_TRUE(p.calls.isEmpty());
}

// A client that a lobby started: the lobby's title does not match the main
// lobby title the client switches to, so any call to the lobby would end it.
TEST(FormResize, PlacementMovesAndSizeChangesDoNotTouchTheLobby)
{
    TestClient t;
    ASSERT_TRUE(core::Form_Load(t.client,
                                QStringLiteral("alice$secret$127.0.0.1$8000$here$0$$0$$$0$Lobby$Table$1$42$"),
                                {1280, 1024}));
    MainForm& f = *t.client.MainForm;
    t.lobby.commands.clear();
    t.client.game.F1Minimized = -1;

    f.move(30, 40);
    f.setFixedSize(1040, 790);
    f.setFixedSize(1040, 796);
    f.hide();
    f.show();
    QApplication::processEvents();
    // The platform repeating the state it already has counts for nothing.
    QWindowStateChangeEvent same(f.windowState());
    QApplication::sendEvent(&f, &same);

    EXPECT_FALSE(t.process.ended);
    EXPECT_TRUE(t.lobby.commands.empty());
    EXPECT_EQ(t.client.game.F1Minimized, -1);
}

// ---- the file test ----

struct FileCase {
    const char* name;
    QString path;     // under the test folder, which holds Gm.log.txt, b.txt and the folder sub
    QString fileName;
    bool exists;
};
void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class FileExistTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(FileExistTest, FirstNameFoundMustBeTheFileName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"Gm.log.txt", "b.txt"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const FileCase& fc = GetParam();
    const QString path = fc.path.isEmpty() ? QString() : dir.path() + QLatin1Char('/') + fc.path;
    EXPECT_EQ(window::Is_File_Exist(path, fc.fileName), fc.exists);
}

INSTANTIATE_TEST_SUITE_P(
    MainForm, FileExistTest,
    ::testing::Values(FileCase{"ThereByItsName", QStringLiteral("Gm.log.txt"), QStringLiteral("Gm.log.txt"), true},
                      FileCase{"NameDiffersInCase", QStringLiteral("Gm.log.txt"), QStringLiteral("gm.log.txt"), false},
                      FileCase{"PathDiffersInCase", QStringLiteral("GM.LOG.TXT"), QStringLiteral("GM.LOG.TXT"), false},
                      FileCase{"Missing", QStringLiteral("none.txt"), QStringLiteral("none.txt"), false},
                      FileCase{"PatternFindsItFirst", QStringLiteral("*.txt"), QStringLiteral("Gm.log.txt"), true},
                      FileCase{"PatternFindsAnotherFirst", QStringLiteral("*.txt"), QStringLiteral("b.txt"), false},
                      FileCase{"FolderSearchFindsItFirst", QStringLiteral("./"),
                               QStringLiteral("Gm.log.txt"), true},
                      FileCase{"AFolderIsNoFile", QStringLiteral("sub"), QStringLiteral("sub"), false},
                      FileCase{"EmptyPath", QString(), QStringLiteral("Gm.log.txt"), false},
                      FileCase{"EmptyName", QStringLiteral("Gm.log.txt"), QString(), false}),
    [](const auto& info) { return std::string(info.param.name); });
