#include "core/exit_windows.h"

#include "app/client.h"
#include "core/lobby.h"
#include "core/reconnect.h"
#include "core/session.h"
#include "core/table_reset.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "platform/tcp_link.h"
#include "results/result_forms.h"
#include "table/utilities.h"
#include "window/main_form.h"
#include "window/pictures.h"

namespace core {

namespace {
const QString kStartWarning = QStringLiteral("游戏马上开始，请不要退出，退出会被托管扣分！");

// Hands the desktop back to the lobby, or ends when the lobby is gone.
void BackToLobby(Client& c)
{
    if (!c.plat.lobby.FindWindow(c.core.LobbyTitle)) {
        c.plat.process.endNow();
        return;
    }
    c.MainForm->showMinimized();
    RestoreLobbyWindow(c);
}

void Prepare(platform::Form& f, int width, int height)
{
    f.setWindowTitle(QStringLiteral("退出"));
    f.setWindowOpacity(200.0 / 255.0);
    f.resize(width, height);
}

} // namespace

ExitForm::ExitForm(QWidget* owner) : platform::Form(QStringLiteral("frmExit"), owner)
{
    Prepare(*this, 300, 150);
    for (platform::GraphicControl* ctl : std::initializer_list<platform::GraphicControl*>{
             &Label1, &Label2, &Label3, &pbCloseMe, &pbCancel})
        Add(ctl);
    Label1.SetCaption(QStringLiteral("您真的要退出吗？"));
    Label1.Move(20, 20, 260, 20);
    Label2.Move(20, 50, 260, 20);
    Label3.Move(20, 35, 260, 40);
    Label3.SetCaption(kStartWarning);
    Label3.Visible = false;
    pbCloseMe.Stretch = pbCancel.Stretch = true;
    pbCloseMe.Move(60, 100, 65, 30);
    pbCancel.Move(175, 100, 65, 30);
}

OtherExitForm::OtherExitForm(QWidget* owner) : platform::Form(QStringLiteral("frmOtherExit"), owner)
{
    Prepare(*this, 300, 150);
    for (platform::GraphicControl* ctl :
         std::initializer_list<platform::GraphicControl*>{&Label1, &imgOK, &imgCancel})
        Add(ctl);
    Label1.Move(20, 20, 260, 60);
    imgOK.Stretch = imgCancel.Stretch = true;
    imgOK.Move(60, 100, 70, 30);
    imgCancel.Move(170, 100, 70, 30);
}

void OpenExitWindow(Client& c)
{
    ExitForm& f = *c.frmExit;
    GameState& g = c.game;
    if (f.Visible()) {
        f.Hide();
        return;
    }
    window::LoadGifResource(c.window.PicIds.DialogPicIds[0], QStringLiteral("GIF"), f.pbCloseMe);
    window::LoadGifResource(c.window.PicIds.DialogPicIds[2], QStringLiteral("GIF"), f.pbCancel);
    f.Label1.SetVisible(true);
    f.Label3.SetVisible(false);
    if (g.PicAniRunning) {
        f.Label1.SetVisible(false);
        f.Label2.SetVisible(false);
        f.Label3.SetVisible(true);
    } else if (!g.InGame || g.WatchMode) {
        if (g.RoundNo < 1)
            g.RoundNo = 0;
        const bool warn = g.RoundNo != 0 && !g.StartBlocked;
        f.Label2.SetCaption(warn ? QStringLiteral("您未打完一圈，逃跑会扣分！") : QString());
        f.Label2.SetVisible(warn);
    } else {
        f.Label2.SetCaption(QStringLiteral("游戏正在进行，逃跑会扣分！"));
        f.Label2.SetVisible(true);
    }
    c.Hero->Hide();
    c.Score->Hide();
    f.Show();
}

void frmExit_pbCancel_Click(Client& c) { c.frmExit->Hide(); }

void frmExit_pbCloseMe_Click(Client& c)
{
    GameState& g = c.game;
    c.match.AppClosing = -1;
    if (c.rewards.PropPluginState > 0)
        table::WaitSeconds(c.plat.clock, 0.25f);
    SendLeaveTable(c);
    if (c.plat.tcp.State() == platform::TcpLink::Connected)
        c.core.SchedWatch.Stop();
    g.TableCleared = 0;
    ResetSession(c);
    core::ResetPlayerState(c);
    core::ResetTableDisplay(c);
    c.frmExit->Label2.SetVisible(false);
    c.frmExit->Hide();
    UnloadReconnectWindow(c);
    BackToLobby(c);
    if (g.PicAniRunning) {
        for (platform::PictureBox* p : c.MainForm->Picture_ani)
            p->hide();
        c.MainForm->Timer_ani->SetEnabled(false);
        c.MainForm->Timer_ani->Tag = QStringLiteral("0");
        g.PicAniRunning = 0;
    }
}

void ShowOtherExit(Client& c, const QString& notice)
{
    c.frmOtherExit->Label1.SetCaption(notice);
    c.frmOtherExit->Show();
    SendLeaveTable(c);
}

void frmOtherExit_imgOK_Click(Client& c)
{
    c.game.RoundNo = 0;
    c.game.TableCleared = 0;
    ResetSession(c);
    core::ResetPlayerState(c);
    core::ResetTableDisplay(c);
    c.frmOtherExit->Hide();
    BackToLobby(c);
}

void frmOtherExit_imgCancel_Click(Client& c)
{
    c.core.LeaveAfterHand = true;
    c.game.RoundNo = 0;
    c.frmOtherExit->Hide();
}

} // namespace core
