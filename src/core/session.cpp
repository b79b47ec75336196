#include "core/session.h"

#include "app/client.h"
#include "core/exit_windows.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/tcp_link.h"
#include "window/web_panels.h"
#include "protocol/frame.h"
#include "protocol/kinds.h"
#include "results/result_forms.h"
#include "services/gm_channel.h"
#include "table/utilities.h"
#include "window/main_form.h"

#include <QFile>

namespace core {

namespace {

void StopTasks(Client& c)
{
    CoreState& s = c.core;
    for (SchedTask* t : {&s.SchedSend, &s.SchedReceive, &s.SchedLogin, &s.SchedBlink, &s.SchedWatch,
                         &s.SchedDecision, &s.SchedReady})
        t->On = false;
    c.chat.DBQS_flag = 0;
    c.chat.DBQS_Num = 0;
    c.chat.DBQ_click_time = 0;
    s.SchedWatch.Count = 0;
}

} // namespace

void SendLeaveTable(Client& c)
{
    protocol::GameFrame frame{};
    frame[protocol::frame_byte::Kind] = protocol::CmdLeaveTable;
    frame[protocol::frame_byte::Seat] = c.game.Players[0].SeatBit;

    StopTasks(c);
    c.game.SpeakShown = 0;
    window::MainForm& f = *c.MainForm;
    f.TimerBong->SetEnabled(false);
    if (c.match.RoomMatchMode <= 1)
        f.TimerKeepAlive->SetEnabled(false);
    if (c.plat.tcp.State() == platform::TcpLink::Connected)
        c.plat.tcp.SendData(QByteArray(reinterpret_cast<const char*>(frame.data()), protocol::kFrameSize));
    table::WaitSeconds(c.plat.clock, c.core.QuickLeave ? 0.8f : 0.4f);
    c.core.ReconnectArmed = false;
    f.LblShuffle.SetVisible(false);
    f.ImgShuffle.SetVisible(false);
    f.TimerShuffle->SetEnabled(false);
    c.window.ShuffleShowOn = 0;
    c.window.ShuffleLabelOn = 0;
    window::HideWebPanel(c, 2);
    c.core.Hooks.UnloadSpeakBoxes();
}

void ResetSession(Client& c)
{
    GameState& g = c.game;
    CoreState& s = c.core;
    window::MainForm& f = *c.MainForm;

    g.InGame = 0;
    g.AnNiuPressed[2] = -1;
    g.RoundNo = 0;
    StopTasks(c);
    f.TimerBong->SetEnabled(false);
    f.TimerKeepAlive->SetEnabled(false);
    f.Sysmsg[0]->Clear();
    f.Sysmsg[1]->Clear();

    s.KeepAliveHold = false;
    c.plat.tcp.Close();
    s.LoginPending = false;
    // Let the close go through; a socket that never leaves the connected
    // state does not hold the reset for more than a few seconds.
    for (int i = 0; i < 200 && c.plat.tcp.State() == platform::TcpLink::Connected; ++i)
        c.plat.clock.processEvents(10);

    for (int v = 0; v < 4; ++v) {
        f.Tou[v].ClearPicture();
        f.Nid[v].SetCaption(QString());
        f.Cash[v].SetCaption(QString());
        f.Level[v].SetCaption(QString());
        table::PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
        p.Name.clear();
        p.SeatBit = 0;
        g.UserInfos[static_cast<std::size_t>(v)].ClearSeatFields();
        f.img_vip[v].SetVisible(false);
        c.rewards.PropAniTicks[static_cast<std::size_t>(v)] = 0;
        c.rewards.PropAniState[static_cast<std::size_t>(v)] = 0;
    }
    if (c.rewards.PropAniOn == -1)
        c.rewards.PropAniOn = 0;

    c.Hero->Num->Clear();
    for (int v = 0; v < 4; ++v) {
        c.Hero->Tou[v].ClearPicture();
        c.Hero->ID[v].SetCaption(QString());
        c.Hero->Grade[static_cast<std::size_t>(v)]->Clear();
        c.Hero->sumScore[v].SetCaption(QString());
        c.Score->Tou[v].ClearPicture();
        c.Score->ID[v].SetCaption(QString());
        c.Score->State[static_cast<std::size_t>(v)]->Clear();
        c.Score->State[static_cast<std::size_t>(v + 4)]->Clear();
        f.OK[v].SetVisible(false);
        g.CapClass[static_cast<std::size_t>(v)] = 0;
    }
    c.Hero->Hide();
    c.Score->Hide();
    for (int i = 0; i < 3; ++i)
        f.Speak[i].SetVisible(false);
    f.Quoxa.SetPicture(f.quoxaImg.GetPicture());

    g.HoverEnabled = -1;
    c.core.Hooks.ClearTalkHistory();
    g.SeatedCount = g.InGame = c.rewards.BuyDeferred = c.rewards.DeferredBuyOn = 0;
    c.rewards.DeferredBuy = 0;
    // A flush of the reward sequence under way must not send a ready command
    // after the table was left.
    c.rewards.FinishPending = 0;
    c.rewards.RewardStepTick = 0;
    f.ZQ_Image.SetVisible(false);
    f.imgPiZi[0].SetVisible(false);
    f.imgPiZi[1].SetVisible(false);
    g.TableCleared = 0;
    f.showMinimized();
    g.TimeoutCount = 0;
    c.frmOtherExit->Hide();

    const QString archive = s.DataPath + QStringLiteral("/info.zq");
    if (!s.DataPath.isEmpty() && QFile::exists(archive))
        QFile::remove(archive);
    c.core.Hooks.UnloadSpeakBoxes();

    services::InitUdpChannel(c);
    c.chat.BubblesAllowed = 0;
    if (c.rewards.PropPluginState > 0)
        c.core.Hooks.ExitPropPlugin(0);
    for (platform::Image* img : {&f.ImgShowMatch, &f.ImgShowSort}) {
        img->SetVisible(false);
        img->Enabled = false;
    }
    f.Pic_matchDetail->hide();
    f.Pic_sortDetail->hide();
    f.ImgOpenMatchBtn.SetVisible(false);
    f.ImgOpenMatchBtn.Enabled = false;
    c.core.Hooks.InitChipPanel();
    f.lbl_matchtime.SetCaption(QString());
    f.lbl_matchtime.SetVisible(false);
    c.core.Hooks.InitJadeTask();
}

} // namespace core
