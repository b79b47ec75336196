#include "core/exit_windows.h"

#include "app/client.h"
#include "core/lobby.h"
#include "core/reconnect.h"
#include "core/session.h"
#include "core/table_reset.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "platform/prop_plugin.h"
#include "platform/tcp_link.h"
#include "results/result_forms.h"
#include "table/utilities.h"
#include "window/main_form.h"
#include "window/pictures.h"

namespace core {

namespace {
const QString kQuestion = QStringLiteral("您真的要退出吗？");
const QString kInGameWarning = QStringLiteral("游戏正在进行，逃跑会扣分！");
const QString kRoundWarning = QStringLiteral("您未打完一圈，逃跑会扣分！");
const QString kStartWarning = QStringLiteral("游戏马上开始，请不要退出，退出会被托管扣分！");

constexpr int kWidth = 300;
constexpr int kHeight = 150;
// Text colours on the dark backgrounds, 0x00BBGGRR.
constexpr int32_t kPale = 0xC8F0FF;
constexpr int32_t kWarm = 0x60D0FF;

void Style(platform::Label& label, int32_t colour)
{
    label.ForeColor = colour;
    label.FontSize = 11;
    label.FontBold = true;
    label.Alignment = platform::Label::Center;
}

// Moves a window of the table window to the middle of it: its top left
// corner in screen pixels, from the table window's frame.
void CentreOverOwner(QWidget& w)
{
    const QWidget* owner = w.parentWidget();
    if (!owner)
        return;
    const QRect table = owner->frameGeometry();
    w.move(table.x() + (table.width() - w.width()) / 2, table.y() + (table.height() - w.height()) / 2);
}

void ShowInFront(platform::Form& w)
{
    w.Show();
    w.raise();
}

} // namespace

ExitForm::ExitForm(QWidget* owner)
    : window::DialogWindow(QStringLiteral("frmExit"), owner, kWidth, kHeight, kExitBackground)
{
    setWindowTitle(QStringLiteral("退出"));
    for (platform::GraphicControl* ctl : std::initializer_list<platform::GraphicControl*>{
             &Label1, &Label2, &Label3, &pbCloseMe, &pbCancel})
        Add(ctl);
    Style(Label1, kPale);
    Style(Label2, kWarm);
    Style(Label3, kWarm);
    Label1.Move(20, 30, 260, 20);
    Label2.Move(20, 60, 260, 20);
    Label3.Move(20, 36, 260, 44);
    pbCloseMe.Stretch = pbCancel.Stretch = true;
    pbCloseMe.Move(60, 101, 65, 30);
    pbCancel.Move(175, 101, 65, 30);
    Unload();
}

void ExitForm::showEvent(QShowEvent* event)
{
    CentreOverOwner(*this);
    window::DialogWindow::showEvent(event);
}

void ExitForm::Unload()
{
    Hide();
    Label1.SetCaption(kQuestion);
    Label1.SetVisible(true);
    Label2.SetCaption(kInGameWarning);
    Label2.SetVisible(false);
    Label3.SetCaption(kStartWarning);
    Label3.SetVisible(false);
    unloaded_ = true;
}

OtherExitForm::OtherExitForm(QWidget* owner)
    : window::DialogWindow(QStringLiteral("frmOtherExit"), owner, kWidth, kHeight, kOtherExitBackground)
{
    setWindowTitle(QStringLiteral("退出"));
    for (platform::GraphicControl* ctl :
         std::initializer_list<platform::GraphicControl*>{&Label1, &imgOK, &imgCancel})
        Add(ctl);
    Style(Label1, kPale);
    Label1.Move(20, 28, 260, 60);
    imgOK.Stretch = imgCancel.Stretch = true;
    // The window's own button pictures: "leave now" and "after the hand".
    imgOK.SetPicture(window::LoadGifPicture(130, QStringLiteral("GIF")));
    imgCancel.SetPicture(window::LoadGifPicture(132, QStringLiteral("GIF")));
    imgOK.Move(60, 101, 70, 30);
    imgCancel.Move(170, 101, 70, 30);
}

void OtherExitForm::showEvent(QShowEvent* event)
{
    CentreOverOwner(*this);
    window::DialogWindow::showEvent(event);
}

void BackToLobby(Client& c)
{
    if (!c.plat.lobby.FindWindow(c.core.LobbyTitle)) {
        c.plat.process.endNow();
        return;
    }
    c.MainForm->showMinimized();
    RestoreLobbyWindow(c);
    // The lobby learns that this client sits at no table any more.
    PostLobbyMessage(c, LobbyMsgIdle);
}

void OpenExitWindow(Client& c, bool hideResults)
{
    ExitForm& f = *c.frmExit;
    GameState& g = c.game;
    if (f.Visible()) {
        f.Hide();
        return;
    }
    if (f.Unloaded()) {
        // Loading: the button pictures, and the penalty line shown only
        // during a hand the player plays.
        window::LoadGifResource(c.window.PicIds.DialogPicIds[0], QStringLiteral("GIF"), f.pbCloseMe);
        window::LoadGifResource(c.window.PicIds.DialogPicIds[2], QStringLiteral("GIF"), f.pbCancel);
        f.Label2.SetVisible(g.InGame && !g.WatchMode);
        f.MarkLoaded();
    }
    // The warning of the first case that holds; labels a case does not name
    // keep what they show.
    if (g.PicAniRunning) {
        f.Label1.SetVisible(false);
        f.Label2.SetVisible(false);
        f.Label3.SetCaption(kStartWarning);
        f.Label3.SetVisible(true);
    } else if (g.InGame && !g.WatchMode) {
        f.Label2.SetCaption(kInGameWarning);
        f.Label2.SetVisible(true);
    } else {
        f.Label2.SetVisible(false);
        if (g.RoundNo < 1)
            g.RoundNo = 0;
        if (!g.StartBlocked && g.RoundNo != 0) {
            f.Label2.SetCaption(kRoundWarning);
            f.Label2.SetVisible(true);
        }
    }
    if (hideResults) {
        c.Hero->Hide();
        c.Score->Hide();
    }
    ShowInFront(f);
}

void UnloadExitWindow(Client& c) { c.frmExit->Unload(); }

void frmExit_pbCancel_Click(Client& c) { UnloadExitWindow(c); }

void frmExit_pbCloseMe_Click(Client& c)
{
    GameState& g = c.game;
    if (c.window.FrmRule)
        if (platform::Form* rules = c.window.FrmRule(); rules && rules->Visible())
            rules->Hide();
    c.match.AppClosing = -1;
    if (c.rewards.PropPluginState > 0) {
        if (c.rewards.PropPlugin) {
            try {
                c.rewards.PropPlugin->UpdataMyProp(false);
            } catch (...) {
                // The plug-in's failure does not keep the player at the table.
            }
        }
        table::WaitSeconds(c.plat.clock, 0.25f);
    }
    SendLeaveTable(c);
    if (c.plat.tcp.State() == platform::TcpLink::Connected)
        c.core.SchedWatch.Stop();
    g.TableCleared = 0;
    ResetSession(c);
    core::ResetPlayerState(c);
    core::ResetTableDisplay(c);
    UnloadExitWindow(c);
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
    ShowInFront(*c.frmOtherExit);
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
