#include "autoplay/autoplay.h"

#include "app/client.h"
#include "autoplay/hand_eval.h"
#include "core/lobby.h"
#include "core/messages.h"
#include "core/numeric.h"
#include "platform/process.h"
#include "protocol/kinds.h"
#include "protocol/operations.h"
#include "table/claims.h"
#include "table/failure.h"
#include "table/tiles.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/sound.h"

#include <QtGlobal>
#include <string>

namespace autoplay {
namespace {

using table::SlotAt;

// Operation buttons: 0 chow, 1 pong, 2 kong, 3 win, 4 pass; the turn
// prompt marks an offered one with 2.
constexpr int kOpChow = 0;
constexpr int kOpPong = 1;
constexpr int kOpKong = 2;
constexpr int kOpWin = 3;
constexpr int16_t kOffered = 2;

// Base sizes of the local player's tiles: in the hand, and laid as a discard.
constexpr int kHandTileW = 48;
constexpr int kHandTileH = 78;
constexpr int kDiscardTileW = 36;
constexpr int kDiscardTileH = 50;

// Runs a decision; any failure inside it means the table can no longer be
// trusted: the lobby window comes back and the client ends.
template <typename Body>
void RunOrEnd(Client& c, const char* what, Body&& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        qWarning("%s failed: %s", what, e.what());
        core::RestoreLobbyWindow(c);
        c.plat.process.endNow();
    }
}

platform::Image& TileImage(Client& c, int image)
{
    table::RequireIndex(image, table::kTileImages, "tile image");
    return c.MainForm->MJ_Image[image];
}

// The local hand lies within the 18 slots and every tile of it shows on a
// tile image of the table; checked before anything is sent.
void RequireHand(const table::PlayerRecord& p)
{
    if (p.HandFirst < 0 || p.HandCount < 0 || p.HandFirst + p.HandCount > static_cast<int>(p.Slots.size()))
        throw table::IndexFault("the hand's slots " + std::to_string(p.HandFirst) + " + " +
                                std::to_string(p.HandCount) + " lie outside the 18");
    for (int i = p.HandFirst; i < p.HandFirst + p.HandCount; ++i)
        table::RequireIndex(p.Slots[static_cast<std::size_t>(i)].Image, table::kTileImages, "hand tile image");
}

// The hand holds one tile more than a set of melds and a pair.
bool DiscardDue(const table::PlayerRecord& p) { return p.HandCount >= 2 && (p.HandCount - 2) % 3 == 0; }

void SetOwnTileSize(Client& c, int w, int h)
{
    c.table.TileWidth[0] = core::CInt(w * static_cast<double>(c.game.ScaleX));
    c.table.TileHeight[0] = core::CInt(h * static_cast<double>(c.game.ScaleY));
}

// Hides the operation buttons (back to their normal pictures) and the kong
// and chow choice pictures.
void HideChoices(Client& c)
{
    window::MainForm& f = *c.MainForm;
    for (int i = 0; i < 5; ++i) {
        platform::Image& op = f.Operation[i];
        op.Enabled = false;
        op.SetVisible(false);
        // A button that shows its normal picture already keeps it undecoded.
        const QString& normal = c.window.PicIds.OperationPicIds[static_cast<std::size_t>(3 * i)];
        if (QString::number(op.PictureId()) != normal)
            window::LoadGifResource(normal, QStringLiteral("GIF"), op);
        f.Gang[i].Enabled = false;
        f.Gang[i].SetVisible(false);
    }
    for (int i = 0; i < 6; ++i) {
        f.Chi[i].Enabled = false;
        f.Chi[i].SetVisible(false);
    }
}

// The local player's voice for a claim, while sound is on.
void PlayOwnVoice(Client& c, const char* code)
{
    if (c.window.Sound.SoundOn == 0)
        return;
    const core::UserInfo& u = c.game.UserInfos[0];
    window::PlayWave(c, window::VoiceFileName(c, {u.Voice1, u.Voice2, u.Sex, u.VoiceKind}, QString::fromLatin1(code)),
                     0);
    window::SetWaveVolume(c, 3000);
}

void SendCmd(Client& c, int16_t kind, int16_t d0, int16_t d1, int16_t d3)
{
    protocol::GameCmd cmd;
    cmd.Kind = kind;
    cmd.B1 = 0;
    cmd.Seat = c.game.Players[0].SeatBit;
    cmd.B3 = 0;
    cmd.Data = {d0, d1, 0, d3};
    core::SendMsg(c, cmd);
}

void SendPass(Client& c)
{
    if (c.game.OpSent != 0)
        return;
    SendCmd(c, protocol::CmdOperation, protocol::OpPass, 0, 0);
    c.game.OpSent = -1;
}

// Lays the discarded tile `code` face up on `image` in the middle of the
// table, behind the other tiles, with `slot` in its tag.
void LayDiscardInMiddle(Client& c, int image, int code, int slot)
{
    window::MainForm& f = *c.MainForm;
    SetOwnTileSize(c, kDiscardTileW, kDiscardTileH);
    platform::Image& tile = TileImage(c, image);
    table::ShowTileImage(c.Table(), image, table::TilePicIndex(0, code));
    tile.Tag = QString::number(slot);
    const float w = c.table.TileWidth[0];
    const float h = c.table.TileHeight[0];
    tile.Move((f.pic1->width() - w) / 2, (f.pic1->height() - h) / 2, w, h);
    tile.ZOrder(1);
    SetOwnTileSize(c, kHandTileW, kHandTileH);
}

// The win on another seat's discard shows that tile at the end of the hand.
void ShowWinningTile(Client& c)
{
    table::PlayerRecord& p = c.game.Players[0];
    table::TableState& t = c.table;
    const int last = p.HandFirst + p.HandCount - 1;
    platform::Image& lastTile = TileImage(c, SlotAt(p, last).Image);
    platform::Image& won = TileImage(c, t.LastDiscardImage);
    won.Move(lastTile.Left + t.TileWidth[0], p.HandY, t.TileWidth[0], t.TileHeight[0]);
    table::ShowTileImage(c.Table(), t.LastDiscardImage, table::TilePicIndex(0, t.LastDiscardTile));
}

// The first hand slot whose code's low byte is `tile`, -1 when none is.
int FirstSlotWithLowByte(table::PlayerRecord& p, int tile)
{
    for (int i = p.HandFirst; i < p.HandFirst + p.HandCount; ++i)
        if ((SlotAt(p, i).TileCode & 0xFF) == tile)
            return i;
    return -1;
}

// Discards the tile the evaluation values least: the hand is sorted, the
// discard frame goes out, the tile lies in the middle of the table and the
// hand closes the gap. The hand record keeps the tile until the server
// reports the discard.
void DiscardWorstTile(Client& c, HandEvaluator& ai)
{
    table::PlayerRecord& p = c.game.Players[0];
    table::TableState& t = c.table;
    const int last = p.HandFirst + p.HandCount - 1;

    int tile = ai.ChooseDiscard();
    int picked = -1;
    if (const int s = FirstSlotWithLowByte(p, tile); s >= 0) {
        picked = SlotAt(p, s).Image;
    } else {
        const table::TileSlot& slot = SlotAt(p, last);
        t.LastDiscardImage = slot.Image;
        tile = slot.TileCode & 0xFF;
        picked = t.LastDrawnImage;
    }

    table::ArrangeHand(c.Table(), 0, p.HandCount);
    const int j = FirstSlotWithLowByte(p, tile);
    if (j < 0)
        throw table::TableFailure("the discarded tile left the hand while it was sorted");
    t.LastDiscardImage = SlotAt(p, j).Image;
    TileImage(c, t.LastDiscardImage); // checked before the frame goes out

    SendCmd(c, protocol::CmdDiscard, 0, static_cast<int16_t>(picked != t.LastDrawnImage ? 1 : 0),
            protocol::DiscardTile(tile));
    t.LastDiscardView = 0;
    LayDiscardInMiddle(c, t.LastDiscardImage, tile, j);
    for (int i = j + 1; i <= last; ++i)
        TileImage(c, SlotAt(p, i).Image).Move(p.HandX + t.TileWidth[0] * static_cast<float>(i - 1), p.HandY);
}

void AutoPlay(Client& c)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    table::PlayerRecord& p = g.Players[0];
    HandEvaluator ai(p, t.WildTile, g.SeenTileCounts);
    bool acted = false;

    RequireHand(p);
    HideChoices(c);

    if (g.OfferedOps[kOpWin] == kOffered && g.OpSent == 0) {
        g.OpSent = -1;
        acted = true;
        PlayOwnVoice(c, window::kVoiceWin);
        SetOwnTileSize(c, kHandTileW, kHandTileH);
        if (!DiscardDue(p))
            ShowWinningTile(c);
        SendCmd(c, protocol::CmdOperation, protocol::OpWin, 0, 0);
    }

    if (g.OfferedOps[kOpKong] == kOffered && g.OpSent == 0 && !acted && !table::FindKongCandidates(c.Table()) &&
        ai.ShouldKong()) {
        g.OpSent = -1;
        acted = true;
        if (g.AllowedOps & protocol::OpConcealedKong)
            table::ArrangeHand(c.Table(), 0, p.HandCount);
        // The countdown has run out (TurnPhase 3): the first kong goes out
        // at once, without choice pictures.
        table::OfferKongChoices(c.Table());
    }

    if (g.OfferedOps[kOpPong] == kOffered && g.OpSent == 0 && !acted && ai.ShouldClaim(2, t.LastDiscardTile)) {
        g.OpSent = -1;
        acted = true;
        PlayOwnVoice(c, window::kVoicePong);
        table::SendPong(c.Table(), static_cast<int>(ai.AiClaimTileA));
    }

    if (g.OfferedOps[kOpChow] == kOffered && g.OpSent == 0 && !acted && ai.ShouldClaim(1, t.LastDiscardTile)) {
        g.OpSent = -1;
        acted = true;
        PlayOwnVoice(c, window::kVoiceChow);
        t.ChiChoices[0] = static_cast<int16_t>(ai.AiClaimTileA);
        t.ChiChoices[1] = ai.AiClaimTileB;
        table::SendChi(c.Table(), t.ChiChoices[0], t.ChiChoices[1]);
    }

    // Without a claim a pass goes out, whether or not anything was offered.
    SendPass(c);

    if (DiscardDue(p) && !acted)
        DiscardWorstTile(c, ai);

    t.DiscardDue = 0;
}

void Timeout(Client& c)
{
    table::PlayerRecord& p = c.game.Players[0];
    table::TableState& t = c.table;

    RequireHand(p);
    HideChoices(c);
    SendPass(c);
    if (!DiscardDue(p))
        return;

    // The last hand slot as it stands, the hand left unsorted.
    t.DiscardDue = 0;
    SetOwnTileSize(c, kDiscardTileW, kDiscardTileH);
    const int last = p.HandFirst + p.HandCount - 1;
    const table::TileSlot slot = SlotAt(p, last);
    TileImage(c, slot.Image); // checked before the frame goes out
    SendCmd(c, protocol::CmdDiscard, 0, static_cast<int16_t>(slot.Image != t.LastDrawnImage ? 1 : 0),
            protocol::DiscardTile(slot.TileCode));
    t.LastDiscardView = 0;
    t.LastDiscardImage = slot.Image;
    LayDiscardInMiddle(c, slot.Image, slot.TileCode, last);
}

} // namespace

void TimeoutAction(Client& c)
{
    RunOrEnd(c, "TimeoutAction", [&] { Timeout(c); });
}

void AutoPlayStep(Client& c)
{
    RunOrEnd(c, "AutoPlayStep", [&] { AutoPlay(c); });
}

} // namespace autoplay
