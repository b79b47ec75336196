#include "window/claim_input.h"

#include "app/client.h"
#include "chat/huifu_form.h"
#include "chat/talk_form.h"
#include "core/exit_windows.h"
#include "core/lobby.h"
#include "core/messages.h"
#include "platform/process.h"
#include "protocol/kinds.h"
#include "protocol/operations.h"
#include "table/claims.h"
#include "table/failure.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "results/result_forms.h"
#include "window/input.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/sound.h"

#include <algorithm>

namespace window {

namespace {

using table::SlotAt;

void HideButtons(Client& c, std::initializer_list<int> buttons)
{
    for (int k : buttons)
        c.MainForm->Operation[k].SetVisible(false);
}

void HideZhahu(Client& c)
{
    if (!c.game.ZhahuShown)
        return;
    c.frmZhahu->Hide();
    c.game.ZhahuShown = 0;
}

// The false-win notice, shown only while the table window is in its normal
// state.
void ShowZhahu(Client& c)
{
    if (c.MainForm->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        return;
    c.game.ZhahuShown = -1;
    c.frmZhahu->Show();
}

// The local player's claim voice.
void PlayOwnVoice(Client& c, const char* code)
{
    if (c.window.Sound.SoundOn != -1)
        return;
    const core::UserInfo& u = c.game.UserInfos[0];
    PlayWave(c, VoiceFileName(c, {u.Voice1, u.Voice2, u.Sex, u.VoiceKind}, QString::fromLatin1(code)), 0);
    SetWaveVolume(c, 3000);
}

void SetOwnTileSize(Client& c, table::TileSize size)
{
    c.table.TileWidth[0] = table::ScaledX(c.Table(), size.w);
    c.table.TileHeight[0] = table::ScaledY(c.Table(), size.h);
}

bool DiscardDueByCount(const Client& c) { return (c.game.Players[0].HandCount - 2) % 3 == 0; }

bool IsTileImage(int image) { return image >= 0 && image < table::kTileImages; }

// One past the local hand's last slot, kept inside the slot table.
int HandEnd(const table::PlayerRecord& p)
{
    return std::clamp<int>(p.HandFirst + p.HandCount, 0, static_cast<int>(p.Slots.size()));
}

// Stops the countdown and hides the buttons as a pass answers the prompt:
// the countdown keeps running while a discard is still due.
void AnswerWithPass(Client& c)
{
    c.game.TurnPhase = 2;
    HideButtons(c, {0, 1, 2, 3, 4});
    if (!DiscardDueByCount(c))
        table::StopDecisionCountdown(c.Table());
    table::SendPassReply(c.Table());
    for (int b = 0; b < 5; ++b)
        SetClaimButtonIdle(c, b);
    c.game.TurnPhase = 1;
}

} // namespace

void SetClaimButtonIdle(Client& c, int button)
{
    if (button < 0 || button >= c.MainForm->Operation.Count())
        return;
    platform::Image& b = c.MainForm->Operation[button];
    LoadGifResource(c.window.PicIds.OperationPicIds[static_cast<std::size_t>(3 * button)], QStringLiteral("GIF"), b);
    b.Enabled = false;
}

void DiscardHandTile(Client& c, int16_t index)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    window::MainForm& f = *c.MainForm;
    table::PlayerRecord& p = g.Players[0];
    int s = table::FindHandTile(c.Table(), index);
    if (s < 0)
        return;
    SetOwnTileSize(c, table::kWallTileSize[0]);
    const int16_t code = SlotAt(p, s).TileCode;
    table::ArrangeHand(c.Table(), 0, p.HandCount);
    const int end = HandEnd(p);
    s = -1;
    for (int i = std::max<int>(p.HandFirst, 0); i < end; ++i)
        if (SlotAt(p, i).TileCode == code) {
            s = i;
            break;
        }
    if (s < 0)
        return;
    t.LastDiscardImage = SlotAt(p, s).Image;

    protocol::GameCmd cmd;
    cmd.Kind = protocol::CmdDiscard;
    cmd.Seat = p.SeatBit;
    cmd.Data = {0, static_cast<int16_t>(index == t.LastDrawnImage ? 0 : 1), 0, protocol::DiscardTile(code)};
    core::SendMsg(c, cmd);
    t.DiscardDue = 0;
    t.LastDiscardView = 0;

    table::ShowTileImage(c.Table(), t.LastDiscardImage, table::TilePicIndex(0, code));
    if (IsTileImage(t.LastDiscardImage)) {
        platform::Image& leaving = f.MJ_Image[t.LastDiscardImage];
        leaving.Tag = QString::number(s);
        const float w = t.TileWidth[0];
        const float h = t.TileHeight[0];
        leaving.Move((f.pic1->width() - w) / 2, (f.pic1->height() - h) / 2, w, h);
        leaving.ZOrder(1);
    }
    SetOwnTileSize(c, table::kHandTileSize[0]);
    // The tiles after it close the gap; the slots change when the server
    // reports the discard.
    for (int i = s + 1; i < end; ++i)
        if (const int image = SlotAt(p, i).Image; IsTileImage(image))
            f.MJ_Image[image].Move(p.HandX + (i - 1) * static_cast<float>(t.TileWidth[0]), p.HandY);
}

void Operation_Click(Client& c, int16_t index)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    if (index < 0 || index > 4)
        return;
    const int k = index;
    if (g.OfferedOps[static_cast<std::size_t>(k)] < 2 || !g.InputEnabled || g.TurnPhase > 0)
        return;
    g.TurnPhase = 2;
    SetClaimButtonIdle(c, k);
    if (k < 3 || (k == 3 && g.ChoiceState < 2))
        table::StopDecisionCountdown(c.Table());
    SetOwnTileSize(c, table::kHandTileSize[0]);
    g.TimeoutCount = 0;

    switch (k) {
    case 0:
        HideZhahu(c);
        t.DiscardDue = 0;
        HideButtons(c, {1, 2, 3, 4});
        PlayOwnVoice(c, kVoiceChow);
        table::OfferChiChoices(c.Table(), t.LastDiscardTile);
        break;
    case 1:
        HideZhahu(c);
        t.DiscardDue = 0;
        HideButtons(c, {0, 1, 2, 3, 4});
        PlayOwnVoice(c, kVoicePong);
        table::SendPong(c.Table(), t.LastDiscardTile);
        break;
    case 2:
        HideZhahu(c);
        t.DiscardDue = 0;
        HideButtons(c, {0, 1, 3, 4});
        if (g.AllowedOps & protocol::OpConcealedKong)
            table::ArrangeHand(c.Table(), 0, g.Players[0].HandCount);
        table::OfferKongChoices(c.Table());
        break;
    case 3:
        t.DiscardDue = 0;
        if (g.ChoiceState == 1) {
            table::SendHu(c.Table());
            PlayOwnVoice(c, kVoiceWin);
            HideButtons(c, {0, 1, 2, 3, 4});
        } else if (g.ChoiceState == 2) {
            HideButtons(c, {0, 1, 2, 3, 4});
            if (!DiscardDueByCount(c))
                table::StopDecisionCountdown(c.Table());
            table::SendPassReply(c.Table());
            if (DiscardDueByCount(c))
                t.DiscardDue = -1;
            ShowZhahu(c);
        } else if (g.ChoiceState == 3) {
            // The false win is withdrawn; the other offers stay open.
            g.OfferedOps[3] = 0;
            SetClaimButtonIdle(c, 3);
            if (DiscardDueByCount(c))
                t.DiscardDue = -1;
            g.TurnPhase = 0;
            ShowZhahu(c);
            return;
        }
        break;
    default:
        HideZhahu(c);
        HideButtons(c, {0, 1, 2, 3, 4});
        if (!DiscardDueByCount(c))
            table::StopDecisionCountdown(c.Table());
        table::SendPassReply(c.Table());
        break;
    }
    g.OfferedOps.fill(0);
    for (int b = 0; b < 5; ++b)
        SetClaimButtonIdle(c, b);
    g.TurnPhase = 1;
}

void Chi_Click(Client& c, int16_t index)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    if (index < 0 || index > 5 || g.TurnPhase == 3 || !g.InputEnabled)
        return;
    table::StopDecisionCountdown(c.Table());
    const int first = index % 2 == 1 ? index - 1 : index;
    t.ChiChoices[0] = t.ChiChoices[static_cast<std::size_t>(first)];
    t.ChiChoices[1] = t.ChiChoices[static_cast<std::size_t>(first + 1)];
    const table::PlayerRecord& p = g.Players[0];
    auto inHand = [&](int slot) { return slot >= p.HandFirst && slot < HandEnd(p); };
    if (inHand(t.ChiChoices[0]) && inHand(t.ChiChoices[1]))
        table::SendChi(c.Table(), t.ChiChoices[0], t.ChiChoices[1]);
    for (int i = 0; i < 6; ++i) {
        c.MainForm->Chi[i].Enabled = false;
        c.MainForm->Chi[i].SetVisible(false);
    }
    c.MainForm->Operation[0].SetVisible(false);
}

void Gang_Click(Client& c, int16_t index)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    if (index < 0 || index > 4 || g.TurnPhase == 3 || !g.InputEnabled)
        return;
    table::StopDecisionCountdown(c.Table());
    for (int i = 0; i < 5; ++i) {
        c.MainForm->Gang[i].Enabled = false;
        c.MainForm->Gang[i].SetVisible(false);
    }
    HideButtons(c, {0, 1, 2, 3, 4});

    table::PlayerRecord& p = g.Players[0];
    const int s = t.KongCandidates[static_cast<std::size_t>(index)];
    const int end = HandEnd(p);
    // A candidate outside the hand sends nothing.
    if (s < p.HandFirst || s >= end)
        return;
    const int16_t code = SlotAt(p, s).TileCode;
    auto take = [&](void (*send)(table::TableModel&, int)) {
        t.KongCandidates[0] = static_cast<int16_t>(s);
        send(c.Table(), s);
    };
    if (g.AllowedOps & protocol::OpSpecialKong) {
        if (code == table::kRedDragon || code == table::kGreenDragon || code == t.WildTile)
            return take(table::SendSpecialKong);
        // The last hand tile is compared with the one before it.
        const int other = s + 1 < end ? s + 1 : s - 1;
        if (other < 0 || SlotAt(p, other).TileCode != code)
            return take(table::SendSpecialKong);
    }
    if (s + 3 < end && (g.AllowedOps & protocol::OpConcealedKong) && SlotAt(p, s + 3).TileCode == code)
        return take(table::SendConcealedKong);
    if (s + 2 < end && (g.AllowedOps & protocol::OpExposedKong) && SlotAt(p, s + 2).TileCode == code)
        return take(table::SendExposedKong);
}

void pic1_MouseUp(Client& c, int16_t button, int16_t, float, float)
{
    const GameState& g = c.game;
    if (!g.InputEnabled || button != 2 || !c.MainForm->Operation[4].Visible || g.TurnPhase > 0)
        return;
    AnswerWithPass(c);
}

void Pic2_MouseUp(Client& c, int16_t button, int16_t shift, float x, float y) { pic1_MouseUp(c, button, shift, x, y); }

void Pic2_Click(Client& c)
{
    c.Talk->Hide();
    c.huifu->Hide();
    c.Score->Hide();
    c.Hero->Hide();
    c.frmExit->Hide();
}

void RunInputHandler(Client& c, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        qWarning("input handler failed: %s", e.what());
        core::RestoreLobbyWindow(c);
        c.plat.process.endNow();
    }
}

void WireClaimInput(Client& c)
{
    window::MainForm& f = *c.MainForm;
    Client* client = &c;
    WireTileInput(c);
    for (int i = 0; i < f.Operation.Count(); ++i)
        f.Operation[i].Click = [client, i] {
            RunInputHandler(*client, [&] { Operation_Click(*client, static_cast<int16_t>(i)); });
        };
    for (int i = 0; i < f.Chi.Count(); ++i)
        f.Chi[i].Click = [client, i] {
            RunInputHandler(*client, [&] { Chi_Click(*client, static_cast<int16_t>(i)); });
        };
    for (int i = 0; i < f.Gang.Count(); ++i)
        f.Gang[i].Click = [client, i] {
            RunInputHandler(*client, [&] { Gang_Click(*client, static_cast<int16_t>(i)); });
        };
}

} // namespace window
