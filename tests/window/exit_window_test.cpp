// The exit dialog and the table notice: where they open, what they show,
// and what their buttons do, driven by mouse clicks on the table window and
// on the dialogs themselves.
#include "support/mouse.h"
#include "core/exit_windows.h"

#include "core/messages.h"
#include "core/startup.h"
#include "protocol/kinds.h"
#include "results/result_forms.h"
#include "support/table_fixture.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

constexpr int kExitButton = 8;
constexpr int kStartButton = 2;
const QString kQuestion = QStringLiteral("您真的要退出吗？");
const QString kInGameWarning = QStringLiteral("游戏正在进行，逃跑会扣分！");
const QString kRoundWarning = QStringLiteral("您未打完一圈，逃跑会扣分！");
const QString kStartWarning = QStringLiteral("游戏马上开始，请不要退出，退出会被托管扣分！");

// A laid-out table window on screen, sized as start-up sizes it for a
// screen, and moved away from the screen's corner.
struct ExitTable : TableClient {
    explicit ExitTable(QSize screen = QSize(1024, 768))
        : TableClient(0, screen.width() >= 1024 ? 1.0f : 0.78125f)
    {
        core::SizeWindow(c, screen);
        window::LayoutTableControls(c);
        f.move(40, 30);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    }
    ~ExitTable()
    {
        c.frmExit->hide();
        c.frmOtherExit->hide();
        f.hide();
    }

    void ClickButton(int index)
    {
        testing_support::ClickAt(f.pic1, testing_support::CentreOf(f.AnNiu[index]));
    }
    static void ClickOn(QWidget& dialog, const platform::GraphicControl& control)
    {
        const QPoint at = control.PaintRect().center().toPoint();
        QTest::mousePress(&dialog, Qt::LeftButton, {}, at, 20);
        QTest::mouseRelease(&dialog, Qt::LeftButton, {}, at, 20);
        QApplication::processEvents();
    }
    core::ExitForm& Exit() { return *c.frmExit; }
    core::OtherExitForm& Notice() { return *c.frmOtherExit; }
};

// The centre of a window on the screen.
QPoint CentreOnScreen(const QWidget& w) { return w.frameGeometry().center(); }

// ---- placement and look ----

TEST(ExitDialog, OpensInTheMiddleOfTheTableOnItsOwnBackgroundAtBothScales)
{
    for (const QSize screen : {QSize(1024, 768), QSize(800, 600)}) {
        ExitTable t(screen);
        ASSERT_EQ(t.f.size(), screen);
        t.ClickButton(kExitButton);
        core::ExitForm& d = t.Exit();
        ASSERT_TRUE(d.isVisible()) << screen.width();
        EXPECT_EQ(d.parentWidget(), &t.f) << "owned by the table window";
        EXPECT_EQ(d.size(), QSize(300, 150));
        EXPECT_EQ(CentreOnScreen(d), CentreOnScreen(t.f)) << screen.width();
        EXPECT_TRUE(t.f.frameGeometry().contains(d.frameGeometry())) << "over the table, not at the screen's corner";
        EXPECT_EQ(d.BackPicture.resourceId, core::kExitBackground);
        EXPECT_FALSE(d.BackPicture.isNull());
        EXPECT_EQ(d.pbCloseMe.PictureId(), t.c.window.PicIds.DialogPicIds[0].toInt());
        EXPECT_EQ(d.pbCancel.PictureId(), t.c.window.PicIds.DialogPicIds[2].toInt());
        EXPECT_EQ(d.pbCloseMe.PaintRect().size(), QSizeF(65, 30));
        EXPECT_EQ(d.pbCancel.PaintRect().size(), QSizeF(65, 30));
    }
}

TEST(ExitDialog, FollowsTheTableWindowWhenItHasMoved)
{
    ExitTable t;
    t.ClickButton(kExitButton);
    t.ClickButton(kExitButton);
    ASSERT_FALSE(t.Exit().isVisible());
    t.f.move(120, 90);
    QApplication::processEvents();
    t.ClickButton(kExitButton);
    ASSERT_TRUE(t.Exit().isVisible());
    EXPECT_EQ(CentreOnScreen(t.Exit()), CentreOnScreen(t.f));
}

TEST(TableNotice, OpensInTheMiddleOfTheTableOnItsOwnBackground)
{
    for (const QSize screen : {QSize(1024, 768), QSize(800, 600)}) {
        ExitTable t(screen);
        core::ShowOtherExit(t.c, QStringLiteral("您的金币不够，请领取低保或充值后继续游戏！"));
        core::OtherExitForm& n = t.Notice();
        ASSERT_TRUE(n.isVisible());
        EXPECT_EQ(n.parentWidget(), &t.f);
        EXPECT_EQ(CentreOnScreen(n), CentreOnScreen(t.f)) << screen.width();
        EXPECT_EQ(n.BackPicture.resourceId, core::kOtherExitBackground);
        EXPECT_FALSE(n.BackPicture.isNull());
        EXPECT_FALSE(n.imgOK.GetPicture().isNull());
        EXPECT_FALSE(n.imgCancel.GetPicture().isNull());
        EXPECT_EQ(n.imgOK.PaintRect().size(), QSizeF(70, 30));
        EXPECT_EQ(n.Label1.Caption, QStringLiteral("您的金币不够，请领取低保或充值后继续游戏！"));
    }
}

// ---- the warning of the moment ----

struct WarningCase {
    const char* name;
    int16_t picAni, inGame;
    bool watch;
    int16_t roundNo, startBlocked;
    bool question, penalty;
    QString penaltyCaption;
    bool startWarning;
    int16_t roundAfter;
};

TEST(ExitDialog, WarnsOfThePenaltyTheStateOfTheTableCosts)
{
    const std::vector<WarningCase> cases = {
        {"start animation", -1, -1, false, 2, 0, false, false, kInGameWarning, true, 2},
        {"hand in play", 0, -1, false, 2, 0, true, true, kInGameWarning, false, 2},
        {"spectating, round unfinished", 0, -1, true, 2, 0, true, true, kRoundWarning, false, 2},
        {"between hands, round unfinished", 0, 0, false, 2, 0, true, true, kRoundWarning, false, 2},
        {"between hands, next game blocked", 0, 0, false, 2, -1, true, false, kInGameWarning, false, 2},
        {"no hand begun yet", 0, 0, false, -1, 0, true, false, kInGameWarning, false, 0},
        {"round at zero", 0, 0, false, 0, 0, true, false, kInGameWarning, false, 0},
    };
    for (const WarningCase& k : cases) {
        ExitTable t;
        GameState& g = t.c.game;
        g.PicAniRunning = k.picAni;
        g.InGame = k.inGame;
        g.WatchMode = k.watch;
        g.RoundNo = k.roundNo;
        g.StartBlocked = k.startBlocked;
        t.c.Score->Show();
        t.c.Hero->Show();
        t.ClickButton(kExitButton);
        const core::ExitForm& d = t.Exit();
        ASSERT_TRUE(d.isVisible()) << k.name;
        EXPECT_EQ(d.Label1.Visible, k.question) << k.name;
        EXPECT_EQ(d.Label1.Caption, kQuestion) << k.name;
        EXPECT_EQ(d.Label2.Visible, k.penalty) << k.name;
        EXPECT_EQ(d.Label2.Caption, k.penaltyCaption) << k.name;
        EXPECT_EQ(d.Label3.Visible, k.startWarning) << k.name;
        EXPECT_EQ(d.Label3.Caption, kStartWarning) << k.name;
        EXPECT_EQ(g.RoundNo, k.roundAfter) << k.name;
        EXPECT_FALSE(t.c.Score->isVisible()) << k.name << ": the exit button hides the results";
        EXPECT_FALSE(t.c.Hero->isVisible()) << k.name;
    }
}

TEST(ExitDialog, OpenedWithoutHidingResultsLeavesThemShown)
{
    ExitTable t;
    t.c.Score->Show();
    t.c.Hero->Show();
    core::OpenExitWindow(t.c, false);
    EXPECT_TRUE(t.Exit().isVisible());
    EXPECT_TRUE(t.c.Score->isVisible());
    EXPECT_TRUE(t.c.Hero->isVisible());
    t.c.Score->hide();
    t.c.Hero->hide();
}

TEST(ExitDialog, OnlyHiddenItKeepsItsLabelsAButtonUnloadsItToItsDesign)
{
    ExitTable t;
    GameState& g = t.c.game;
    core::ExitForm& d = t.Exit();
    g.PicAniRunning = -1;
    t.ClickButton(kExitButton);
    t.ClickButton(kExitButton);
    ASSERT_FALSE(d.isVisible()) << "the exit button hides the open dialog";

    // A hand runs now: the start warning shown earlier stays beside the
    // penalty line, and the question stays hidden.
    g.PicAniRunning = 0;
    g.InGame = -1;
    t.ClickButton(kExitButton);
    ASSERT_TRUE(d.isVisible());
    EXPECT_FALSE(d.Label1.Visible);
    EXPECT_TRUE(d.Label2.Visible);
    EXPECT_TRUE(d.Label3.Visible);

    // Cancel unloads it: the next showing starts from the design.
    t.ClickOn(d, d.pbCancel);
    EXPECT_FALSE(d.isVisible());
    g.InGame = 0;
    g.RoundNo = 0;
    t.ClickButton(kExitButton);
    ASSERT_TRUE(d.isVisible());
    EXPECT_TRUE(d.Label1.Visible);
    EXPECT_FALSE(d.Label2.Visible);
    EXPECT_FALSE(d.Label3.Visible);
    EXPECT_TRUE(t.TakeSent().empty()) << "cancel keeps the player at the table";
    EXPECT_EQ(t.t.tcp.state, platform::TcpLink::Connected);
    EXPECT_FALSE(t.t.process.ended);
}

// ---- leaving ----

TEST(ExitDialog, ConfirmLeavesTheTableAndHandsTheDesktopToTheLobby)
{
    for (bool lobbyThere : {true, false}) {
        ExitTable t;
        t.TakeSent();
        t.t.lobby.exists = lobbyThere;
        t.c.game.InGame = -1;
        const uint8_t seat = t.SeatBitOf(0);
        t.ClickButton(kExitButton);
        core::ExitForm& d = t.Exit();
        ASSERT_TRUE(d.isVisible());
        t.ClickOn(d, d.pbCloseMe);

        // The leave frame went straight to the socket, then the session
        // was closed.
        ASSERT_EQ(t.t.tcp.sent.size(), protocol::kFrameSize) << lobbyThere;
        EXPECT_EQ(static_cast<uint8_t>(t.t.tcp.sent[3]), protocol::CmdLeaveTable);
        EXPECT_EQ(static_cast<uint8_t>(t.t.tcp.sent[6]), seat);
        EXPECT_EQ(t.t.tcp.state, platform::TcpLink::Closed);
        EXPECT_FALSE(d.isVisible());
        EXPECT_FALSE(d.Label2.Visible) << "unloaded back to its design";
        EXPECT_EQ(t.c.game.InGame, 0);
        if (lobbyThere) {
            EXPECT_FALSE(t.t.process.ended);
            EXPECT_TRUE(t.f.isMinimized());
            EXPECT_EQ(t.t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScRestore});
            EXPECT_EQ(t.t.lobby.posted, std::vector<uint32_t>{0x400}) << "the lobby learns the client left";
        } else {
            EXPECT_EQ(t.t.process.calls, 1) << "the client ends at once";
            EXPECT_TRUE(t.t.lobby.commands.empty());
            EXPECT_TRUE(t.t.lobby.posted.empty());
        }
    }
}

TEST(TableNotice, LeaveNowGoesToTheLobbyLeaveAfterTheHandWaitsForTheStartButton)
{
    {
        ExitTable t;
        core::ShowOtherExit(t.c, QStringLiteral("通知"));
        t.ClickOn(t.Notice(), t.Notice().imgOK);
        EXPECT_FALSE(t.Notice().isVisible());
        EXPECT_EQ(t.t.tcp.state, platform::TcpLink::Closed);
        EXPECT_EQ(t.t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScRestore});
        EXPECT_EQ(t.t.lobby.posted, std::vector<uint32_t>{0x400});
    }
    {
        ExitTable t;
        core::ShowOtherExit(t.c, QStringLiteral("通知"));
        t.t.lobby.commands.clear();
        t.ClickOn(t.Notice(), t.Notice().imgCancel);
        EXPECT_FALSE(t.Notice().isVisible());
        EXPECT_TRUE(t.c.core.LeaveAfterHand);
        EXPECT_TRUE(t.t.lobby.commands.empty()) << "still at the table";
        EXPECT_TRUE(t.t.lobby.posted.empty());

        t.ClickButton(kStartButton);
        EXPECT_TRUE(t.f.isMinimized());
        EXPECT_EQ(t.t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScRestore});
        EXPECT_EQ(t.t.lobby.posted, std::vector<uint32_t>{0x400});
        EXPECT_FALSE(t.t.process.ended);
    }
}

TEST(StartButton, LeavingWithTheLobbyGoneEndsWithNothingHalfSent)
{
    ExitTable t;
    t.TakeSent();
    t.c.core.LeaveAfterHand = true;
    t.t.lobby.exists = false;
    // A chat line waits in the send ring when the button is pressed.
    protocol::GameCmd chat;
    chat.Kind = protocol::CmdChat;
    chat.Seat = t.SeatBitOf(0);
    t.c.core.ChatText = QStringLiteral("再见");
    core::SendMsg(t.c, chat);
    ASSERT_TRUE(t.c.core.SendRing.HasFrame());
    t.ClickButton(kStartButton);
    EXPECT_EQ(t.t.process.calls, 1);
    EXPECT_EQ(t.t.process.code, 0);
    EXPECT_EQ(t.t.tcp.state, platform::TcpLink::Closed);
    EXPECT_TRUE(t.t.tcp.sent.isEmpty()) << "neither the queued line nor a ready or leave frame left";
    EXPECT_TRUE(t.t.lobby.posted.empty());
    EXPECT_FALSE(t.c.core.SchedSend.On) << "nothing is left to send after the end";
}

} // namespace
