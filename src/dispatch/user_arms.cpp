// Users at the table: user records (kind 20), chat (kind 19) and the
// replies to a report of a cheater (kind 66).
#include "dispatch/arms.h"

#include "app/client.h"
#include "core/lobby.h"
#include "core/table_reset.h"
#include "core/user_info.h"
#include "dispatch/arm_helpers.h"
#include "dispatch/frame_fault.h"
#include "dispatch/frame_fields.h"
#include "window/web_panels.h"
#include "platform/clock.h"
#include "platform/gbk.h"
#include "results/result_forms.h"
#include "rewards/jade.h"
#include "rewards/prop_calls.h"
#include "table/animations.h"
#include "table/tiles.h"
#include "table/utilities.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <random>

namespace dispatch {
namespace {

constexpr int kVipBadgeGif = 896;

// Colour of the name label by VIP level (0x00BBGGRR); -1 leaves it.
int32_t VipColour(int level)
{
    switch (level) {
    case 0: return 0xFFFF80; // light cyan
    case 1: return 0x89F570;
    case 2: return 0xED6502;
    case 3: return 0x00FFFF; // yellow
    case 4: return 0x2424EB; // red
    case 5: return 0xEE2EB5; // purple
    case 6: return 0x0084FF; // orange
    default: return -1;
    }
}

// The avatar picture number of an avatar id. Ids of two or three
// characters carry the number; a malformed number is a fault of the frame.
// Ids of any other length take picture 0 of their sex.
int AvatarPicture(const QString& id)
{
    if (id.size() == 2 || id.size() == 3) {
        const std::optional<int> n = core::AvatarNumber(id);
        if (!n)
            throw FrameFault("avatar id without a picture number");
        return *n;
    }
    return id.startsWith(QLatin1Char('w')) ? 10 : 0;
}

// The seat's wealth on the wealth label: the smallest wealth of the table.
void ShowWealth(Client& c, int view, int32_t wealth, bool setFont)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    g.WealthMultiplier = wealth;
    if (wealth == 0) {
        f.Imgwealth.SetVisible(false);
        f.lbwealth.SetVisible(false);
        return;
    }
    if (setFont) {
        f.lbfont[1].SetVisible(true);
        f.lbfont[2].SetVisible(true);
        f.lbfont[0].SetVisible(false);
    }
    g.SeatWealth[static_cast<std::size_t>(view)] = wealth;
    f.lbwealth.SetCaption(WealthText(table::MinSeatWealth(g.SeatWealth)));
    if (setFont)
        f.lbwealth.FontSize = WealthFontSize(f.lbwealth.Caption);
    f.Imgwealth.SetVisible(true);
    f.lbwealth.SetVisible(true);
}

// Hands the user of a view to the prop plug-in, when its object exists.
void HandToPlugin(Client& c, int view, uint8_t seatBit)
{
    GameState& g = c.game;
    if (!rewards::PropPluginExists(c) || g.UserInfos[static_cast<std::size_t>(view)].Coins <= 0)
        return;
    const bool hasAmount = g.UserInfos[static_cast<std::size_t>(view)].MemberLevel != 0;
    if (!rewards::SetUserinfo(c, view, seatBit, hasAmount)) {
        rewards::ExitPropPlugin(c, 0);
        c.rewards.PropPluginState = -1;
    }
    c.MainForm->Tou[view].SetVisible(false);
    c.MainForm->Tou[view].Enabled = false;
}

// Decodes the record into the view and fills its seat panel.
void FillSeat(Client& c, int v, const QByteArray& account)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const protocol::GameFrame& frame = c.core.RecvFrame;
    const auto sv = static_cast<std::size_t>(v);
    core::UserInfo& u = g.UserInfos[sv];

    g.Players[sv].Name = account;
    if (frame[protocol::user_info_byte::Ready] == 1) {
        f.OK[v].SetVisible(true);
        f.OK[v].ZOrder(0);
    }
    core::ParseUserInfo(u, frame.data());
    if (frame[protocol::user_info_byte::GmService] == 1 && !c.services.GmServiceOn) {
        c.services.GmServiceOn = -1;
        f.ImgGm.SetVisible(true);
    }
    if (v == 0 && c.services.GmServiceOn && !u.Nickname.isEmpty())
        c.services.GmUserName = platform::gbk::Encode(u.Nickname);
    // Only a seat with money is handed to the plug-in and seated there.
    if (rewards::PropPluginExists(c) && u.Coins > 0) {
        const uint8_t bit = g.Players[sv].SeatBit != 0 ? g.Players[sv].SeatBit : static_cast<uint8_t>(1 << v);
        HandToPlugin(c, v, bit);
        rewards::rec_state(c, 2, true, v);
    }
    ClearTableWhenAllReady(c);

    const int n = AvatarPicture(u.AvatarId);
    c.Score->Tou[v].Tag = QString::number(n);
    const QString& avatarGif = c.window.PicIds.AvatarPicIds[static_cast<std::size_t>(n)];
    window::LoadGifResource(avatarGif, QStringLiteral("GIF"), f.Tou[v]);

    f.Nid[v].SetCaption(QStringLiteral("[") + u.Title + QStringLiteral("] ") + u.Nickname);
    const int32_t colour = VipColour(u.VipLevel);
    if (colour >= 0)
        f.Nid[v].ForeColor = colour;
    if (u.VipLevel >= 1 && u.VipLevel <= 6) {
        window::LoadGifResource(kVipBadgeGif + 4 * u.VipLevel, QStringLiteral("GIF"), f.img_vip[v]);
        f.img_vip[v].SetVisible(true);
        f.img_vip[v].ZOrder(0);
        c.rewards.PropAniTicks[sv] = 0;
        c.rewards.PropAniState[sv] = 1;
        if (c.rewards.PropAniOn == 0)
            c.rewards.PropAniOn = -1;
    } else {
        f.img_vip[v].SetVisible(false);
        c.rewards.PropAniTicks[sv] = 0;
    }
    f.Cash[v].SetCaption(Decimal(u.Coins) + QStringLiteral("金币"));
    f.Level[v].SetCaption(u.LevelText);
    c.Hero->ID[v].SetCaption(u.Nickname);
    window::LoadGifResource(avatarGif, QStringLiteral("GIF"), c.Hero->Tou[v]);
    c.results.SeatNamePics[sv] = {u.Nickname, QString::number(n)};

    if (g.SeatedCount == 3 && g.TableCleared == 0) {
        core::ClearTable(c);
        f.Sysmsg[0]->Clear();
        f.Sysmsg[0]->AddItem(QStringLiteral("游戏将在15秒内开始"));
    }
    ShowWealth(c, v, NonNegative32(frame, protocol::user_info_byte::Wealth, "wealth of 2^31 or more"), true);
}

// The second voice field of a woman's and a man's voice number.
const char* const kWomanVoices[6] = {"10", "20", "30", "10", "20", "30"};
const char* const kManVoices[5] = {"10", "20", "30", "40", "20"};

// Gives every seat a voice once the seating is complete: no two players of
// one sex draw the same voice number.
void DealVoices(Client& c)
{
    GameState& g = c.game;
    bool woman[6] = {};
    bool man[5] = {};
    std::minstd_rand rng(static_cast<uint32_t>(c.plat.clock.secondsSinceMidnight()));
    auto draw = [&](bool* taken, int count) {
        int j = std::uniform_int_distribution<int>(0, count - 1)(rng);
        if (taken[j])
            for (j = 0; j < count - 1 && taken[j]; ++j) {
            }
        taken[j] = true;
        return j;
    };
    for (int view = 0; view < 4; ++view) {
        core::UserInfo& u = g.UserInfos[static_cast<std::size_t>(view)];
        if (u.Sex == 0) {
            u.Voice1 = QStringLiteral("27");
            u.Voice2 = QString::fromLatin1(kWomanVoices[draw(woman, 6)]);
        } else if (u.Sex == 1) {
            u.Voice1 = QStringLiteral("27");
            u.Voice2 = QString::fromLatin1(kManVoices[draw(man, 5)]);
        }
        c.chat.SeatVoiceFolders[static_cast<std::size_t>(view)] = u.Voice2;
        u.VoiceKind = u.Sex == 0 ? 2 : 3;
    }
}

} // namespace

void OnUserInfo(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const protocol::GameFrame& frame = c.core.RecvFrame;

    if (frame[protocol::user_info_byte::NoPlugin] == 0 && c.core.CmdLineField14 == 1) {
        if (c.rewards.PropPluginState == 0)
            rewards::InitPropPlugin(c);
    } else {
        c.rewards.PropPluginState = -1;
    }
    const uint8_t seat = msg.Seat & 0x0F;
    c.core.LeaveAfterHand = false;

    bool laterWatchFrame = false;
    if (g.WatchMode) {
        int slot = 0;
        while (slot < 4 && g.WatchFrames[static_cast<std::size_t>(slot)][protocol::frame_byte::Kind] != 0)
            ++slot;
        if (slot < 4) {
            g.WatchFrames[static_cast<std::size_t>(slot)] = frame;
            if (slot < 3)
                return;
            core::ShowUserInfo(c);
        } else {
            // The four records are in: a later record updates the seat its
            // seat bit names.
            if (!IsSeatBit(seat))
                throw FrameFault("seat bit names no seat");
            laterWatchFrame = true;
        }
    }

    if (f.TimerShuffle->Enabled() || c.window.ShuffleShowOn || f.LblShuffle.Visible) {
        f.TimerShuffle->SetEnabled(false);
        f.LblShuffle.SetVisible(false);
        f.ImgShuffle.SetVisible(false);
        c.window.ShuffleShowOn = 0;
        c.window.ShuffleLabelOn = 0;
    }
    window::HideWebPanel(c, 2);

    const QByteArray account =
        ByteChars(frame, protocol::user_info_byte::Account, protocol::user_info_byte::Account + 15);
    if (g.SeatDrawArmed == -1)
        ++g.GamePhase;

    const uint8_t own = g.Players[0].SeatBit;
    if (laterWatchFrame) {
        FillSeat(c, ViewOfSeat(c, seat), account);
    } else if (seat == protocol::kOwnRecordSeat) {
        g.AnNiuPressed[2] = 0;
        FillSeat(c, 0, account);
    } else if (IsSeatBit(seat) && seat == own) {
        // The server confirms the local player's record under its seat bit.
        HandToPlugin(c, 0, own);
        const int32_t wealth = NonNegative32(frame, protocol::user_info_byte::Wealth, "wealth of 2^31 or more");
        ShowWealth(c, 0, wealth, false);
    } else if (IsSeatBit(seat)) {
        FillSeat(c, ViewOfSeat(c, seat), account);
    } else if (seat == 0) {
        int v = 1;
        if (g.SeatedCount > 0)
            for (int w = 1; w <= 3; ++w)
                if (f.Nid[w].Caption.isEmpty()) {
                    v = w;
                    break;
                }
        g.Players[static_cast<std::size_t>(v)].Name = account;
        ++g.SeatedCount;
        if (g.SeatedCount == 3 && g.HandStartedFlag == 0) {
            f.showNormal();
            core::MinimizeLobbyWindow(c);
            f.activateWindow();
        }
        FillSeat(c, v, account);
    } else {
        FillSeat(c, 0, account);
    }

    if (g.SeatDrawArmed == -1 && g.GamePhase == 4) {
        g.SeatDrawArmed = 0;
        g.GamePhase = 5;
        table::AnimateSeatDraw(c.Table(), table::BitIndex(g.Players[0].SeatBit));
        table::ShowSeatCompass(c.Table());
        g.AnNiuPressed[5] = 0;
        g.AnNiuPressed[6] = 0;
        DealVoices(c);
    }
}

void OnChat(Client&, const protocol::GameCmd&)
{
    // The line was shown when the frame was read.
}

void OnImpeach(Client& c, const protocol::GameCmd&)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    const protocol::GameFrame& frame = c.core.RecvFrame;
    const QString text = GbkText(frame, protocol::impeach_byte::Text, protocol::impeach_byte::Text + 240);
    const int v = ViewOfSeat(c, frame[protocol::frame_byte::Seat] & 0x0F);
    if (v == 0) {
        f.Sysmsg[1]->Clear();
        f.Sysmsg[1]->AddItem(text);
    }
    switch (frame[protocol::impeach_byte::Outcome]) {
    case 1:
        g.ImpeachDone = -1;
        g.ImpeachSeat = static_cast<int16_t>(v);
        break;
    case 11: {
        core::UserInfo& u = g.UserInfos[static_cast<std::size_t>(v)];
        if (u.Coins >= g.ImpeachFee) {
            u.Coins -= g.ImpeachFee;
            f.Cash[v].SetCaption(Decimal(u.Coins) +
                                 (c.results.CurrencyFlag == 1 ? QStringLiteral("金币") : QStringLiteral("金条")));
        }
        break;
    }
    default: break;
    }
}

} // namespace dispatch
