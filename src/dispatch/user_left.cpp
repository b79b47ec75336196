// A user leaves the table (kind 21).
#include "dispatch/snapshot_arms.h"

#include "app/client.h"
#include "core/countdowns.h"
#include "dispatch/arm_helpers.h"
#include "dispatch/frame_fault.h"
#include "window/web_panels.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "rewards/prop_calls.h"
#include "table/utilities.h"
#include "window/main_form.h"

#include <cmath>

namespace dispatch {

namespace {

constexpr int kNameFirst = protocol::user_left_byte::Name;
constexpr int kNameLast = kNameFirst + protocol::kNameBytes - 1;
constexpr int kFirstCharFlag = protocol::user_left_byte::FirstCharFlag;

// The name of the user who left, as the seat names are kept: one byte per
// character. Byte 16 always counts; with the flag of byte 8 it is one less
// than sent (a flagged zero names no character: a fault of the frame).
QByteArray LeavingName(const protocol::GameFrame& f)
{
    int first = f[kNameFirst];
    if (f[kFirstCharFlag] == 1) {
        first -= 1;
        if (first < 0)
            throw FrameFault("leaving user's name starts with no character");
    }
    QByteArray name(1, static_cast<char>(first));
    for (int i = kNameFirst + 1; i <= kNameLast && f[static_cast<std::size_t>(i)] != 0; ++i)
        name += static_cast<char>(f[static_cast<std::size_t>(i)]);
    return name;
}

// The time of day as "H:M:S", each without leading zeros.
QString TimeOfDay(Client& c)
{
    const auto seconds = static_cast<int64_t>(std::floor(c.plat.clock.secondsSinceMidnight()));
    const int64_t h = seconds / 3600 % 24;
    const int64_t m = seconds / 60 % 60;
    const int64_t s = seconds % 60;
    return QStringLiteral("%1:%2:%3").arg(h).arg(m).arg(s);
}

void EmptyLeavingSeat(Client& c, int v)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const auto sv = static_cast<std::size_t>(v);
    g.TableCleared = 0;
    --g.SeatedCount;

    f.OK[v].SetVisible(false);
    f.Tou[v].ClearPicture();
    f.Nid[v].SetCaption(QString());
    f.Cash[v].SetCaption(QString());
    f.Level[v].SetCaption(QString());

    core::UserInfo& u = g.UserInfos[sv];
    f.Sysmsg[0]->Clear();
    f.Sysmsg[0]->AddItem(u.Nickname + QStringLiteral("退出了游戏 ") + TimeOfDay(c));
    f.Sysmsg[1]->Clear();

    g.OtherSeatNames[sv].clear();
    g.Players[sv].Name.clear();

    // The record's own fields go; the account, title, voices, the snapshot
    // mark and the user id stay.
    u.ClearSeatFields();

    f.img_vip[v].SetVisible(false);
    c.rewards.PropAniTicks[sv] = 0;
    c.rewards.PropAniState[sv] = 0;
    rewards::ClearUser(c, v);

    if (g.WealthMultiplier != 0) {
        g.SeatWealth[sv] = 0;
        f.lbwealth.SetCaption(WealthText(table::MinSeatWealth(g.SeatWealth)));
        f.lbwealth.FontSize = WealthFontSize(f.lbwealth.Caption);
        f.Imgwealth.SetVisible(true);
        f.lbwealth.SetVisible(true);
    } else {
        f.Imgwealth.SetVisible(false);
        f.lbwealth.SetVisible(false);
    }
}

} // namespace

void OnUserLeft(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const protocol::GameFrame& frame = c.core.RecvFrame;

    f.cmdImpeach.SetVisible(false);
    f.cmdImpeach.Enabled = false;
    g.ImpeachOffered = 0;
    g.ImpeachDone = 0;
    f.LblShuffle.SetVisible(false);
    f.ImgShuffle.SetVisible(false);
    c.window.ShuffleShowOn = 0;
    c.window.ShuffleLabelOn = 0;
    window::HideWebPanel(c, 2);

    const QByteArray name = LeavingName(frame);
    if (name == g.Players[0].Name) {
        // The local player was taken off the table.
        c.plat.process.endNow();
        return;
    }

    // The seat is found by its name alone; every seat of that name empties.
    for (int v = 1; v <= 3; ++v)
        if (!name.isEmpty() && g.Players[static_cast<std::size_t>(v)].Name == name)
            EmptyLeavingSeat(c, v);

    if (c.rewards.PropPluginState > 0 && g.HandStartedFlag != 0 && c.rewards.LeaveResetDue) {
        c.rewards.LeaveResetDue = 0;
        for (int v = 1; v <= 3; ++v) {
            rewards::rec_state(c, 2, false, v);
            f.Tou[v].SetVisible(true);
        }
        if (c.rewards.PropPluginState > 0 && c.rewards.PropPlugin)
            c.rewards.PropPlugin->Ainit(QStringLiteral("newzqp") + QStringLiteral(".xml"));
    }

    for (table::PlayerRecord& p : g.Players)
        p.SeatBit = 0;

    if (g.GameRunning) {
        g.GameRunning = 0;
        g.AnNiuPressed[2] = 0;
        g.InGame = 0;
        c.rewards.BuyDeferred = 0;
        g.AnNiuClicked = 0;
        g.TableCleared = 0;
        // The digits keep the colour they had.
        const int16_t seconds = g.F1Minimized ? 1 : (msg.Data[1] & 0xFF) == 1 ? 10 : 15;
        core::StartReadyCountdown(c, seconds, table::ClockColour::Unchanged);
    }
    g.GameRunning = -1;

    if (!f.TimerKeepAlive->Enabled())
        f.TimerKeepAlive->SetEnabled(true);
    if (g.PicAniRunning)
        StopPictureAnimation(c);

    if (g.WatchMode) {
        c.plat.dialogs.MsgBox(QStringLiteral("有用户退出，旁观结束！"));
        c.plat.process.endNow();
    }
}

} // namespace dispatch
