// The table as a whole (kind 16): game over, players quitting, the game's
// start and players who lack gold.
#include "dispatch/arms.h"

#include "app/client.h"
#include "window/seat_change.h"
#include "core/exit_windows.h"
#include "core/lobby.h"
#include "core/session.h"
#include "core/startup.h"
#include "dispatch/arm_helpers.h"
#include "dispatch/frame_fault.h"
#include "dispatch/frame_fields.h"
#include "window/web_panels.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "platform/tcp_link.h"
#include "results/result_forms.h"
#include "rewards/jade.h"
#include "rewards/prop_calls.h"
#include "table/tiles.h"
#include "table/utilities.h"
#include "window/main_form.h"

#include <cmath>

namespace dispatch {
namespace {

const QString kWatchEnds = QStringLiteral("有用户退出，旁观结束！");

QString TimeOfDay(Client& c)
{
    const int s = static_cast<int>(c.plat.clock.secondsSinceMidnight());
    return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60).arg(s % 60);
}

bool OwnSeatIn(const Client& c, int mask)
{
    const int own = c.game.Players[0].SeatBit;
    return own != 0 && (mask & own) != 0;
}

// The spectator's table has gone: a message, then the end.
void EndWatching(Client& c)
{
    c.plat.dialogs.MsgBox(kWatchEnds);
    c.plat.process.endNow();
}

void GameOver(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const protocol::GameFrame& frame = c.core.RecvFrame;
    const float sx = g.ScaleX, sy = g.ScaleY;

    if (msg.Data[1] == 0)
        g.StartBlocked = -1;
    if (g.GameRunning) {
        g.GameRunning = 0;
        g.InGame = 0;
        c.rewards.BuyDeferred = 0;
        if (!g.WatchMode) {
            if (msg.Data[1] == 1)
                g.NextGameReady = -1;
            f.Time_Img.Move(f.Imgwealth.Left, f.Imgwealth.Top + 200 * sy);
            f.Number.Move(f.Time_Img.Left + 48 * sx, f.Time_Img.Top + 5 * sy);
            f.ImgShuffle.Move(136 * sx, 520 * sy);
            f.LblShuffle.Move(f.ImgShuffle.Left, f.ImgShuffle.Top + 6 * sy);
            c.window.ShuffleShowOn = -1;
            window::WindowState::WebPanel& web = c.window.WebBrowser2Panel;
            web.Left = f.ImgShuffle.Left;
            web.Top = f.ImgShuffle.Top + f.ImgShuffle.Height;
            web.Height = 2 * f.ImgShuffle.Height;
            web.Width = f.ImgShuffle.Width;
            if (msg.Data[2] == 1)
                window::StartSeatChangeShow(c);
        }
    }

    g.WealthMultiplier =
        NonNegative32(frame, protocol::table_status_byte::WealthMultiplier, "wealth multiplier of 2^31 or more");
    if (g.WealthMultiplier != 0) {
        f.lbwealth.SetCaption(WealthText(g.WealthMultiplier));
        f.lbwealth.FontSize = WealthFontSize(f.lbwealth.Caption);
        f.Imgwealth.SetVisible(true);
        f.lbwealth.SetVisible(true);
    } else {
        f.Imgwealth.SetVisible(false);
        f.lbwealth.SetVisible(false);
    }
}

void PlayersQuit(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    if (msg.Seat == 15)
        return;
    const int mask = 15 - msg.Seat;

    c.core.SchedReady.Stop();
    g.InGame = 0;
    c.rewards.BuyDeferred = 0;
    c.core.LeaveAfterHand = true;

    if (OwnSeatIn(c, mask)) {
        // The local player is among those who quit.
        if (c.rewards.PropPluginState > 0)
            rewards::ExitPropPlugin(c, 0);
        c.plat.tcp.Close();
        core::Form_Unload(c);
        return;
    }

    g.TableCleared = 0;
    c.rewards.BuyDeferred = 0;
    QString names;
    for (int bit : {1, 2, 4, 8}) {
        if ((mask & bit) == 0)
            continue;
        const int view = ViewOfSeat(c, bit);
        names += g.UserInfos[static_cast<std::size_t>(view)].Nickname + QStringLiteral(",");
        --g.SeatedCount;
        EmptySeat(c, view, false);
    }
    f.Sysmsg[0]->Clear();
    f.Sysmsg[1]->Clear();
    f.Sysmsg[0]->AddItem(names + QStringLiteral("退出了游戏！ ") + TimeOfDay(c));
    f.Sysmsg[1]->AddItem(QStringLiteral("请您退出重新开始游戏."));
    c.Hero->Show();
    table::SleepSeconds(c.plat.clock, 2.0f);
    core::ShowOtherExit(c, QStringLiteral("玩家") + names + QStringLiteral("退出了游戏！游戏结束！"));
    if (g.WatchMode)
        EndWatching(c);
}

void GameStarts(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const uint8_t banker = msg.Seat & 0x0F;
    if (!IsSeatBit(banker))
        throw FrameFault("banker's seat bit names no seat");
    const int b = table::BitIndex(banker);
    f.Zhuang.SetCaption(QStringLiteral("北西南东北西南").mid(b, 1));
    for (table::PlayerRecord& p : g.Players)
        if (p.SeatBit == banker)
            p.BankerMark = -1;
    if ((f.isMinimized() || f.isMaximized()) && !g.F1Minimized) {
        f.showNormal();
        core::MinimizeLobbyWindow(c);
        f.activateWindow();
    }
    for (int i = 1; i <= 3; ++i)
        g.OtherSeatNames[static_cast<std::size_t>(i)] = QString::fromLatin1(g.Players[static_cast<std::size_t>(i)].Name);
    // The id is only ever sent back: every bit pattern is kept as it came.
    c.core.ReconnectId = static_cast<int32_t>(LittleEndian32(c.core.RecvFrame, protocol::frame_byte::ReconnectId));
    f.ImgShuffle.SetVisible(false);
    f.LblShuffle.SetVisible(false);
    window::HideWebPanel(c, 2);
    g.GameRunning = -1;
    c.rewards.BuyDeferred = -1;
    if (c.window.ShuffleStep > 0)
        c.window.ShuffleStep = 0;
}

void LackOfGold(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const int own = g.Players[0].SeatBit;

    g.InGame = 0;
    c.rewards.BuyDeferred = 0;
    f.LblShuffle.SetVisible(false);
    f.ImgShuffle.SetVisible(false);
    window::HideWebPanel(c, 2);
    c.window.ShuffleShowOn = 0;
    c.window.ShuffleLabelOn = 0;

    const int mask = 15 - msg.Seat;
    QString others;
    QString ownName;
    for (int i = 0; i < 4; ++i) {
        const int bit = table::BitOf(static_cast<int16_t>(i));
        if ((mask & bit) != 0 && bit != own)
            others += g.UserInfos[static_cast<std::size_t>(ViewOfSeat(c, bit))].Nickname + QStringLiteral("，");
    }
    if (!others.isEmpty())
        others = QStringLiteral("玩家") + others.chopped(1);
    if (OwnSeatIn(c, mask))
        ownName = (others.isEmpty() ? QString() : QStringLiteral("，")) + g.UserInfos[0].Nickname;
    f.Sysmsg[0]->Clear();
    f.Sysmsg[0]->AddItem(others + ownName + QStringLiteral("金币不够，退出游戏！"));
    c.core.SchedReady.Stop();
    if (!f.isMinimized()) {
        c.Score->Show();
        c.results.ScorePending = -1;
        c.results.HandEndTick = c.plat.clock.timeGetTime();
    }

    if (OwnSeatIn(c, mask)) {
        c.core.LeaveAfterHand = true;
        const bool changeRoom = (msg.Data[1] & own) != 0;
        c.frmOtherExit->Label1.SetCaption(changeRoom ? QStringLiteral("您的金币不够，请更换房间或充值后继续游戏！")
                                                     : QStringLiteral("您的金币不够，请领取低保或充值后继续游戏！"));
        c.frmOtherExit->Show();
        if (g.PropRoundState == 1)
            g.PropResultDue = -1;
        else if (c.rewards.PropPluginState > 0)
            rewards::ExitPropPlugin(c, 0);
        c.core.SchedLogin.Stop();
        c.core.SchedWatch.Stop();
        c.core.ReconnectArmed = false;
        c.plat.tcp.Close();
        c.core.SchedReady.Stop();
        for (int view = 1; view <= 3; ++view) {
            g.TableCleared = 0;
            --g.SeatedCount;
            EmptySeat(c, view, true);
            f.Sysmsg[0]->Clear();
            g.OtherSeatNames[static_cast<std::size_t>(view)].clear();
            if (c.rewards.PropPluginState > 0)
                rewards::ClearUser(c, view);
            if (g.WealthMultiplier != 0) {
                g.SeatWealth[static_cast<std::size_t>(view)] = 0;
                f.lbwealth.SetCaption(WealthText(table::MinSeatWealth(g.SeatWealth)));
                const bool wide = std::nearbyint(f.lbwealth.Caption.toDouble()) >= 100;
                const bool small = g.ScaleX < 1.0f;
                f.lbwealth.FontSize = wide ? (small ? 11.0f : 12.0f) : (small ? 15.0f : 16.0f);
                f.Imgwealth.SetVisible(true);
                f.lbwealth.SetVisible(true);
            } else {
                f.Imgwealth.SetVisible(false);
                f.lbwealth.SetVisible(false);
            }
        }
        if (c.match.RoomMatchMode <= 1 && f.TimerKeepAlive->Enabled())
            f.TimerKeepAlive->SetEnabled(false);
        core::SendLeaveTable(c);
    }

    c.core.SchedReady.Stop();
    g.InGame = 0;
    g.TableCleared = 0;
    f.cmdImpeach.SetVisible(false);
    f.cmdImpeach.Enabled = false;
    g.ImpeachOffered = 0;
    g.ImpeachDone = 0;
    if (g.WatchMode)
        EndWatching(c);
}

} // namespace

void OnTableStatus(Client& c, const protocol::GameCmd& msg)
{
    StopPictureAnimation(c);
    c.frmExit->Label1.SetVisible(true);
    c.frmExit->Label3.SetCaption(QString());
    c.frmExit->Label3.SetVisible(false);

    switch (msg.Data[3]) {
    case protocol::StatusGameOver: GameOver(c, msg); break;
    case protocol::StatusPlayersQuit: PlayersQuit(c, msg); break;
    case protocol::StatusGameStarts: GameStarts(c, msg); break;
    default: LackOfGold(c, msg); break;
    }
}

} // namespace dispatch
