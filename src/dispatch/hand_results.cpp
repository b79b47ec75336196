// The hand's end: the four seat results (kind 9) and the sixteen settlement
// frames (kind 17), handing over to the score sheet.
#include "dispatch/arms.h"

#include "app/client.h"
#include "dispatch/hold_back.h"
#include "core/countdowns.h"
#include "core/lobby.h"
#include "dispatch/frame_fault.h"
#include "dispatch/frame_fields.h"
#include "platform/gbk.h"
#include "results/hand_score.h"
#include "results/result_forms.h"
#include "rewards/goods_cmd.h"
#include "rewards/purchase.h"
#include "rewards/prop_calls.h"
#include "table/utilities.h"
#include "window/main_form.h"
#include "window/pictures.h"

namespace dispatch {
namespace {

constexpr double kLongMax = 2147483647.0;
constexpr int kChipButtonGif = 652;

void ErasePropResults(rewards::RewardsState& r)
{
    r.PropCoinDelta.fill(0);
    for (QString& s : r.PropSeatNames)
        s.clear();
    for (auto& row : r.PropSeatEntries)
        for (QString& s : row)
            s.clear();
}

// A hand that ended without any amount: the drawn-hand lines, and the
// ready countdown straight away.
void FinishDrawnHand(Client& c)
{
    GameState& g = c.game;
    for (int i = 0; i < 4; ++i) {
        const results::ResultsState::SeatNamePic& pic = c.results.SeatNamePics[static_cast<std::size_t>(i)];
        bool ok = false;
        const int n = pic.PicIndex.toInt(&ok);
        if (!ok || n < 0 || n > 19)
            throw FrameFault("a seat has no avatar number");
        window::LoadGifResource(c.window.PicIds.AvatarPicIds[static_cast<std::size_t>(n)], QStringLiteral("GIF"),
                                c.Score->Tou[i]);
        c.Score->ID[i].SetCaption(pic.Name);
    }
    if (c.rewards.PropPluginState > 0) {
        c.rewards.PropHandEndDue = -1;
        g.PropRoundState = 1;
        g.DrawnHandPending = -1;
        ErasePropResults(c.rewards);
        rewards::InitShowEnd(c);
        c.core.KeepAliveHold = false;
        return;
    }
    g.InGame = 0;
    c.Hero->Num->AddItem(table::PadRight(QString::number(g.RoundNo), 12));
    for (int i = 0; i < 4; ++i) {
        c.Score->State[static_cast<std::size_t>(i)]->AddItem(QStringLiteral("      黄  庄"));
        c.Score->State[static_cast<std::size_t>(i + 4)]->AddItem(QStringLiteral("最终分：0金币"));
        c.Hero->Grade[static_cast<std::size_t>(i)]->AddItem(table::PadRight(QStringLiteral("0"), 9) +
                                                            QStringLiteral("金币"));
    }
    if (!g.F1Minimized)
        c.Score->Show();
    core::ShowReadyPrompt(c);
    // At a table whose game cannot go on no ready goes out by itself: the
    // start button leads back to the lobby.
    if (!c.core.LeaveAfterHand)
        core::StartReadyCountdown(c, 15, table::ClockColour::Green);
    c.core.KeepAliveHold = false;
}

} // namespace

void OnSeatResult(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    core::CoreState& s = c.core;
    window::MainForm& f = *c.MainForm;
    const protocol::GameFrame& frame = s.RecvFrame;

    ArmHoldBack(c);
    s.KeepAliveHold = true;
    if (g.ZhahuShown) {
        c.frmZhahu->Hide();
        g.ZhahuShown = 0;
    }

    const int view = ViewOfSeat(c, msg.Seat & 0x0F);
    const auto v = static_cast<std::size_t>(view);

    int fan = msg.Data[3] & 0xFF;
    if (fan > 128)
        fan -= 256;
    c.rewards.BuyDeferred = 0;
    c.Score->State[v]->Clear();
    c.Score->State[v + 4]->Clear();
    c.results.FanValues[v] = static_cast<int16_t>(fan);

    double amount = Amount64(frame, protocol::seat_result_byte::Amount);
    if (amount < -kLongMax || amount > kLongMax)
        throw FrameFault("hand amount outside the 32-bit range");
    if (msg.Data[1] == 0)
        amount = -amount;
    g.Players[v].HandAmount = static_cast<int32_t>(amount);
    g.SeatFlags4[v] = frame[protocol::seat_result_byte::Flag] != 0 ? -1 : 0;

    if (++g.ResultFrameCount == 4) {
        if (c.match.RoomMatchMode >= 2)
            f.TimerKeepAlive->SetEnabled(true);
        rewards::SendDeferredBuy(c);
        f.Img_chip_bt.Enabled = true;
        window::LoadGifResource(kChipButtonGif, QStringLiteral("GIF"), f.Img_chip_bt);
        f.Img_chip_bt.Tag = QStringLiteral("0");
        g.ResultFrameCount = 0;
        bool drawn = true;
        for (const table::PlayerRecord& p : g.Players)
            drawn = drawn && p.HandAmount == 0;
        if (drawn) {
            FinishDrawnHand(c);
        } else {
            QByteArray text(reinterpret_cast<const char*>(frame.data() + protocol::seat_result_byte::Text), 20);
            text.replace('\0', ' ');
            c.results.HandResultText = platform::gbk::Decode(text).trimmed();
        }
    }

    if (g.F1Minimized) {
        f.showNormal();
        core::RestoreLobbyWindow(c);
        f.activateWindow();
    }
}

void OnSettlement(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    const protocol::GameFrame& frame = c.core.RecvFrame;

    const int view = ViewOfSeat(c, msg.Seat & 0x0F);
    const auto v = static_cast<std::size_t>(view);
    auto& column = g.HandResult[v];

    const int k = column[16] * 4;
    if (column[16] < 0x7FFF)
        ++column[16];
    g.HandSubtotals[v] = static_cast<double>(LittleEndian64(frame, protocol::settlement_byte::Subtotal));
    if (k >= 0 && k <= 12)
        for (int i = 0; i < 4; ++i)
            column[static_cast<std::size_t>(k + i)] = msg.Data[static_cast<std::size_t>(i)];

    // The text of a special win fills the frame up to the subtotal field.
    if (frame[protocol::frame_byte::Data] == 1 && frame[protocol::frame_byte::Data + 1] == 8)
        c.results.WinText =
            platform::gbk::Decode(frame.data() + protocol::settlement_byte::WinText,
                                  protocol::settlement_byte::Subtotal - protocol::settlement_byte::WinText);

    ++g.ResultFrameCount;
    if (g.ResultFrameCount % 4 == 0) {
        double amount = Amount64(frame, protocol::settlement_byte::Amount);
        if (frame[protocol::settlement_byte::AmountSign] == 0)
            amount = -amount;
        g.HandAmounts[v] = amount;

        const int cap = frame[protocol::settlement_byte::Cap] & 0x0F;
        if (frame[protocol::settlement_byte::TopCap] == 1)
            g.CapClass[v] = 16;
        else if (cap >= 8)
            g.CapClass[v] = 8;
        else if (cap >= 4)
            g.CapClass[v] = 4;
        else if (cap >= 2)
            g.CapClass[v] = 2;
        else if (cap == 1)
            g.CapClass[v] = 1;

        QString level;
        for (int p = 0; p <= 14 && frame[static_cast<std::size_t>(protocol::settlement_byte::Level + p)] != 0; p += 2)
            level += platform::gbk::Decode(frame.data() + protocol::settlement_byte::Level + p, 2);
        g.UserInfos[v].LevelText = level;
        c.MainForm->Level[view].SetCaption(level);
    }

    if (g.ResultFrameCount == 16) {
        c.rewards.PropHandEndDue = -1;
        if (c.rewards.PropPluginState > 0) {
            g.PropRoundState = 1;
            ErasePropResults(c.rewards);
            rewards::InitShowEnd(c);
        } else {
            results::ShowHandScore(c);
        }
    }
}

} // namespace dispatch
