#include "core/countdowns.h"

#include "app/client.h"
#include "autoplay/autoplay.h"
#include "core/messages.h"
#include "core/table_reset.h"
#include "platform/clock.h"
#include "protocol/kinds.h"
#include "window/hot_keys.h"
#include "window/main_form.h"
#include "window/notice_forms.h"
#include "window/pictures.h"
#include "window/seat_change.h"
#include "window/sound.h"

namespace core {
namespace {

constexpr int32_t kGreen = 0xFF00;
constexpr int32_t kRed = 0xFF;
constexpr int16_t kF1 = 112;

// A step is due once a second has passed since the last one, or the clock
// went back past midnight. A due step sets the mark.
bool StepDue(Client& c, const SchedTask& task, double& mark)
{
    if (!task.On || !c.game.InputEnabled)
        return false;
    const double now = c.plat.clock.secondsSinceMidnight();
    const double since = now - mark;
    if (since < 1.0 && since >= 0)
        return false;
    mark = now;
    return true;
}

void ShowCount(Client& c, bool redAtFive)
{
    window::MainForm& f = *c.MainForm;
    const int16_t n = c.game.Countdown;
    // The caption repaints the label when the number or its colour changed.
    f.Number.ForeColor = redAtFive && n <= 5 ? kRed : kGreen;
    f.Number.SetCaption(QString::number(n));
}

void HideCountdown(Client& c)
{
    c.MainForm->Time_Img.SetVisible(false);
    c.MainForm->Number.SetVisible(false);
}

} // namespace

void SchedDecisionTask(Client& c)
{
    GameState& g = c.game;
    if (!StepDue(c, c.core.SchedDecision, g.DecisionSecondMark))
        return;
    if (g.Countdown > 0) {
        --g.Countdown;
        ShowCount(c, true);
        if (g.Countdown <= 5 && c.window.Sound.SoundOn == -1) {
            window::PlayWave(c, c.window.Sound.SoundFiles[window::SoundAlert], 0);
            window::SetWaveVolume(c, 3000);
        }
    } else if (!g.CountdownKindFlag) {
        HideCountdown(c);
        g.Countdown = g.CountdownStart;
        c.core.SchedDecision.On = false;
    } else if (g.TurnPhase < 2) {
        g.TurnPhase = 3;
        if (!g.F1Minimized) {
            ++g.TimeoutCount;
            if (g.TimeoutLimit > 0 && g.TimeoutCount >= g.TimeoutLimit) {
                // The plug-in hears F1 first, then the table's own boss key
                // runs as if the player had pressed it.
                if (c.rewards.PropPluginState > 0 && c.rewards.PropPlugin)
                    c.rewards.PropPlugin->SetKeyDown(kF1);
                window::keys::pic1_KeyDown(c, kF1, 0);
            }
        }
        if (g.ZhahuShown) {
            c.frmZhahu->Hide();
            g.ZhahuShown = 0;
        }
        HideCountdown(c);
        g.Countdown = g.CountdownStart;
        c.core.SchedDecision.On = false;
        if (g.AutoPlay)
            autoplay::AutoPlayStep(c);
        else
            autoplay::TimeoutAction(c);
    }
    c.core.SchedDecision.Count = 0;
}

void SendReady(Client& c)
{
    protocol::GameCmd cmd;
    cmd.Kind = protocol::CmdReady;
    cmd.Seat = c.game.Players[0].SeatBit;
    cmd.Data = {0, 0, 0, 1};
    SendMsg(c, cmd);
}

void ShowReadyPrompt(Client& c)
{
    window::MainForm& f = *c.MainForm;
    f.Sysmsg[0]->Clear();
    f.Sysmsg[0]->AddItem(QStringLiteral("请点击【继续】按钮继续游戏！"));
    c.game.AnNiuPressed[2] = 0;
    c.game.TableCleared = 0;
    f.Sysmsg[1]->Clear();
    f.Sysmsg[1]->AddItem(QStringLiteral("游戏将在15秒内开始"));
}

void StartReadyCountdown(Client& c, int16_t seconds, table::ClockColour colour)
{
    if (c.game.WatchMode)
        return;
    c.core.SchedReady.Start();
    c.game.Countdown = seconds;
    table::ShowClock(*c.MainForm, seconds, colour);
}

void SchedReadyTask(Client& c)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    if (!StepDue(c, c.core.SchedReady, g.ReadySecondMark))
        return;
    if (g.Countdown > 0) {
        --g.Countdown;
        ShowCount(c, true);
    } else {
        HideCountdown(c);
        if (!g.TableCleared) {
            window::LoadGifResource(c.window.PicIds.AnNiuPicIds[6], QStringLiteral("GIF"), f.AnNiu[2]);
            g.AnNiuPressed[2] = -1;
            core::ClearTable(c);
        }
        if (g.ChipRefreshDue)
            g.ChipRefreshDue = 0;
        else
            c.core.Hooks.RefreshChipBox(true);
        SendReady(c);
        if (c.window.ShuffleShowOn && g.NextGameReady) {
            for (table::PlayerRecord& p : g.Players)
                p.SeatBit = 0;
            window::StartSeatChangeShow(c);
            c.window.ShuffleShowOn = 0;
        }
        f.cmdImpeach.SetVisible(false);
        f.cmdImpeach.Enabled = false;
        c.core.SchedReady.On = false;
    }
    c.core.SchedReady.Count = 0;
}

} // namespace core
