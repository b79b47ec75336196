#include "table/claims.h"

#include "app/client.h"
#include "core/lobby.h"
#include "core/messages.h"
#include "platform/process.h"
#include "protocol/kinds.h"
#include "table/failure.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <algorithm>

namespace table {

namespace {

constexpr int kChoicePictures = 5; // Gang(0) to Gang(4)
constexpr int32_t kGreen = 0x00FF00;

enum class KongKind { Special, Exposed, Concealed };

struct KongSearch {
    int count = 0;
    std::array<KongKind, 10> kinds{};
};

void SendOperation(Client& c, int16_t op, int16_t t1, int16_t t2, int16_t t3)
{
    protocol::GameCmd cmd;
    cmd.Kind = protocol::CmdOperation;
    cmd.Seat = c.game.Players[0].SeatBit;
    cmd.Data = {op, t1, t2, t3};
    core::SendMsg(c, cmd);
}

// Puts the large upright face of a tile on a choice picture.
void LoadFace(Client& c, platform::Image& control, int code)
{
    const int picture = TilePicIndex(kLargeFaceGroup, code);
    if (picture >= 0 && picture < kTilePictures)
        window::LoadGifResource(c.window.PicIds.TilePicIds[static_cast<std::size_t>(picture)], QStringLiteral("GIF"),
                                control);
}

// The decision countdown again, at half length, while choice pictures are up.
void RestartCountdownAtHalf(Client& c)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    g.Countdown = static_cast<int16_t>(g.CountdownStart / 2);
    c.core.SchedDecision.Start();
    f.Number.SetCaption(QString::number(g.Countdown));
    f.Number.ForeColor = kGreen;
    f.Number.SetVisible(true);
    f.Time_Img.SetVisible(true);
    f.Time_Img.ZOrder(0);
    f.Number.ZOrder(0);
}

// The first local hand slot holding `code`, -1 when none does.
int FirstHandSlot(Client& c, int code)
{
    PlayerRecord& p = c.game.Players[0];
    for (int i = p.HandFirst; i < p.HandFirst + p.HandCount; ++i)
        if (SlotAt(p, i).TileCode == code)
            return i;
    return -1;
}

// Lists the kongs the local hand allows in KongCandidates, in the order the
// choice pictures show them; with `pictures` each of the first five gets its
// picture on Gang(k).
KongSearch SearchKongs(Client& c, bool pictures)
{
    TableState& t = c.table;
    const int16_t allowed = c.game.AllowedOps;
    PlayerRecord& p = c.game.Players[0];
    KongSearch found;
    auto add = [&](int slot, KongKind kind, int faceCode) {
        if (found.count >= static_cast<int>(t.KongCandidates.size()))
            return;
        if (pictures && found.count < kChoicePictures)
            LoadFace(c, c.MainForm->Gang[found.count], faceCode);
        t.KongCandidates[static_cast<std::size_t>(found.count)] = static_cast<int16_t>(slot);
        found.kinds[static_cast<std::size_t>(found.count)] = kind;
        ++found.count;
    };
    const int last = p.HandFirst + p.HandCount - 1;

    if (allowed & OpSpecialKong) {
        if (const int red = FirstHandSlot(c, kRedDragon); red >= 0)
            add(red, KongKind::Special, kRedDragon);
        if (const int green = FirstHandSlot(c, kGreenDragon); green >= 0)
            add(green, KongKind::Special, kGreenDragon);
        for (int m = 1; m <= p.MeldEnd - 5; m += 3) {
            const TileSlot& meld = SlotAt(p, m);
            if (meld.Kind != 3)
                continue;
            if (const int s = FirstHandSlot(c, meld.TileCode); s >= 0)
                add(s, KongKind::Special, meld.TileCode);
        }
    }
    if (allowed & OpExposedKong)
        for (int i = p.HandFirst; i <= last - 2; ++i) {
            const int16_t code = SlotAt(p, i).TileCode;
            if (code == SlotAt(p, i + 2).TileCode && code == t.LastDiscardTile) {
                add(i, KongKind::Exposed, code);
                break;
            }
        }
    if (allowed & OpConcealedKong)
        for (int i = p.HandFirst; i <= last - 3; ++i) {
            const int16_t code = SlotAt(p, i).TileCode;
            const int low = code & 0xFF;
            if (code == SlotAt(p, i + 3).TileCode && low != t.WildTile && low != kRedDragon && low != kGreenDragon)
                add(i, KongKind::Concealed, code);
        }
    if (allowed & OpSpecialKong)
        if (const int wild = FirstHandSlot(c, t.WildTile); wild >= 0)
            add(wild, KongKind::Special, t.WildTile);
    return found;
}

void SendKong(Client& c, KongKind kind, int slot)
{
    switch (kind) {
    case KongKind::Special:
        SendSpecialKong(c, slot);
        break;
    case KongKind::Exposed:
        SendExposedKong(c, slot);
        break;
    case KongKind::Concealed:
        SendConcealedKong(c, slot);
        break;
    }
}

// Copies three hand slots into the meld slots with the meld's kind.
void CopyMeld(Client& c, int slot, int16_t kind)
{
    PlayerRecord& p = c.game.Players[0];
    const int m = p.MeldEnd;
    for (int i = 0; i < 3; ++i) {
        TileSlot& to = SlotAt(p, m - 2 + i);
        to = SlotAt(p, slot + i);
        to.Kind = kind;
    }
}

} // namespace

void StopDecisionCountdown(Client& c)
{
    c.core.SchedDecision.Stop();
    c.game.Countdown = c.game.CountdownStart;
    c.MainForm->Number.SetVisible(false);
    c.MainForm->Time_Img.SetVisible(false);
}

void SendChi(Client& c, int slotA, int slotB)
{
    PlayerRecord& p = c.game.Players[0];
    const int m = p.MeldEnd;
    TileSlot& a = SlotAt(p, m - 2);
    TileSlot& b = SlotAt(p, m - 1);
    TileSlot& d = SlotAt(p, m);
    a = SlotAt(p, slotA);
    a.Kind = 2;
    b = SlotAt(p, slotB);
    b.Kind = 2;
    d = {2, c.table.LastDiscardTile, c.table.LastDiscardImage};
    SendOperation(c, OpChow, ClaimTile(a.TileCode), ClaimTile(b.TileCode), ClaimTile(d.TileCode));
    c.game.OpSent = -1;
}

void SendPong(Client& c, int tile)
{
    PlayerRecord& p = c.game.Players[0];
    const int16_t code = static_cast<int16_t>(tile & 0xFF);
    int pair = -1;
    for (int i = p.HandFirst; i <= p.HandFirst + p.HandCount - 2; ++i)
        if (SlotAt(p, i).TileCode == code && SlotAt(p, i + 1).TileCode == code) {
            pair = i;
            break;
        }
    if (pair < 0)
        return;
    const int m = p.MeldEnd;
    TileSlot& a = SlotAt(p, m - 2);
    a = SlotAt(p, pair);
    a.Kind = 3;
    TileSlot& b = SlotAt(p, m - 1);
    b = SlotAt(p, pair + 1);
    b.Kind = 3;
    SlotAt(p, m) = {3, code, c.table.LastDiscardImage};
    const int16_t sent = ClaimTile(a.TileCode);
    SendOperation(c, OpPong, sent, sent, sent);
    c.game.OpSent = -1;
}

void SendExposedKong(Client& c, int slot)
{
    CopyMeld(c, slot, 4);
    PlayerRecord& p = c.game.Players[0];
    const int16_t sent = ClaimTile(SlotAt(p, p.MeldEnd - 2).TileCode);
    SendOperation(c, OpExposedKong, sent, sent, sent);
    c.game.OpSent = -1;
}

void SendConcealedKong(Client& c, int slot)
{
    CopyMeld(c, slot, 5);
    PlayerRecord& p = c.game.Players[0];
    const int16_t sent = ClaimTile(SlotAt(p, slot).TileCode);
    SendOperation(c, OpConcealedKong, sent, sent, sent);
    c.game.OpSent = -1;
}

void SendSpecialKong(Client& c, int slot)
{
    PlayerRecord& p = c.game.Players[0];
    TileSlot& kong = SlotAt(p, p.MeldEnd - 2);
    kong = SlotAt(p, slot);
    kong.Kind = 6;
    SendOperation(c, OpSpecialKong, 0, 0, ClaimTile(kong.TileCode));
    c.game.OpSent = -1;
}

void SendHu(Client& c) { SendOperation(c, OpWin, 0, 0, 0); }

void SendPassReply(Client& c)
{
    if (c.game.OpSent == 0)
        SendOperation(c, OpPass, 0, 0, 0);
    c.game.OpSent = -1;
}

void OfferChiChoices(Client& c, int tile)
{
    TableState& t = c.table;
    PlayerRecord& p = c.game.Players[0];
    window::MainForm& f = *c.MainForm;
    SetTileSizes(c, kHandTileSize);
    ArrangeHand(c, 0, p.HandCount);

    const int last = p.HandFirst + p.HandCount - 1;
    p.WildInHand = 0;
    for (int i = p.HandFirst; i <= last && SlotAt(p, i).TileCode == t.WildTile; ++i)
        ++p.WildInHand;

    const int suit = (tile / 16) & 0x0F;
    const int r = tile & 0x0F;
    int first = -1;
    for (int i = p.HandFirst + p.WildInHand; i <= last; ++i)
        if (SuitBits(SlotAt(p, i).TileCode) == suit) {
            first = i;
            break;
        }
    int runEnd = -1;
    if (first >= 0) {
        runEnd = first;
        while (runEnd + 1 <= last && SuitBits(SlotAt(p, runEnd + 1).TileCode) == suit)
            ++runEnd;
    }
    if (runEnd - first <= 0)
        return;

    std::array<int, 16> cnt{};
    for (int i = first; i <= runEnd; ++i)
        ++cnt[static_cast<std::size_t>(SlotAt(p, i).TileCode & 0x0F)];
    std::array<int, 16> pos{};
    for (int k = 1; k <= 9; ++k)
        pos[static_cast<std::size_t>(k)] = pos[static_cast<std::size_t>(k - 1)] + cnt[static_cast<std::size_t>(k)];
    auto lastOf = [&](int rank) { return static_cast<int16_t>(first + pos[static_cast<std::size_t>(rank)] - 1); };
    auto has = [&](int rank) { return cnt[static_cast<std::size_t>(rank)] > 0; };

    int n = 0;
    auto pair = [&](int lowRank, int highRank) {
        t.ChiChoices[static_cast<std::size_t>(n)] = lastOf(lowRank);
        t.ChiChoices[static_cast<std::size_t>(n + 1)] = lastOf(highRank);
        n += 2;
    };
    if (r > 2 && has(r - 2) && has(r - 1))
        pair(r - 2, r - 1);
    if (r > 1 && r < 9 && has(r - 1) && has(r + 1))
        pair(r - 1, r + 1);
    if (r < 8 && has(r + 1) && has(r + 2))
        pair(r + 1, r + 2);

    if (n == 2) {
        f.Operation[0].SetVisible(false);
        SendChi(c, t.ChiChoices[0], t.ChiChoices[1]);
        return;
    }
    for (int k = 1; k <= 4; ++k) {
        f.Operation[k].SetVisible(false);
        f.Operation[k].Enabled = false;
    }
    for (int k = 0; k < n; ++k) {
        platform::Image& pic = f.Chi[k];
        LoadFace(c, pic, SlotAt(p, t.ChiChoices[static_cast<std::size_t>(k)]).TileCode);
        pic.Height = t.TileHeight[0] * 0.8f;
        pic.Width = t.TileWidth[0] * 0.8f;
        pic.Move(f.Operation[1].Left + pic.Width * static_cast<float>(k % 2),
                 f.Operation[0].Top - 0.8f * pic.Height * static_cast<float>(k / 2));
        pic.SetVisible(true);
        pic.ZOrder(0);
        pic.Enabled = true;
    }
    RestartCountdownAtHalf(c);
}

void OfferKongChoices(Client& c)
{
    try {
        window::MainForm& f = *c.MainForm;
        const KongSearch found = SearchKongs(c, true);
        const auto& candidates = c.table.KongCandidates;
        if (c.game.TurnPhase == 3) {
            if (found.count > 0)
                SendKong(c, found.kinds[0], candidates[0]);
            return;
        }
        if (found.count == 1) {
            f.Operation[2].SetVisible(false);
            SendKong(c, found.kinds[0], candidates[0]);
            return;
        }
        for (int k : {0, 1, 3, 4})
            f.Operation[k].SetVisible(false);
        for (int k = 0; k < std::min(found.count, kChoicePictures); ++k) {
            platform::Image& pic = f.Gang[k];
            pic.Height = c.table.TileHeight[0] * 0.8f;
            pic.Width = c.table.TileWidth[0] * 0.8f;
            pic.Move(f.Operation[3].Left, f.Operation[0].Top - 0.8f * pic.Height * static_cast<float>(k));
            pic.SetVisible(true);
            pic.ZOrder(0);
            pic.Enabled = true;
        }
        RestartCountdownAtHalf(c);
    } catch (const std::exception&) {
        core::RestoreLobbyWindow(c);
        c.plat.process.endNow();
    }
}

bool FindKongCandidates(Client& c)
{
    TableState& t = c.table;
    PlayerRecord& p = c.game.Players[0];
    const int16_t allowed = c.game.AllowedOps;
    const int last = p.HandFirst + p.HandCount - 1;
    int wilds = 0;
    for (int i = p.HandFirst; i <= last; ++i)
        if (SlotAt(p, i).TileCode == t.WildTile)
            ++wilds;
    if (p.HandCount < 6)
        return false;

    int count = 0;
    bool wildFirst = false;
    auto add = [&](int slot) {
        if (count < static_cast<int>(t.KongCandidates.size()))
            t.KongCandidates[static_cast<std::size_t>(count++)] = static_cast<int16_t>(slot);
    };
    if (allowed & OpSpecialKong) {
        if (const int red = FirstHandSlot(c, kRedDragon); red >= 0)
            add(red);
        for (int m = 2; m <= p.MeldEnd - 5; m += 3) {
            const TileSlot& meld = SlotAt(p, m);
            if (meld.Kind != 3)
                continue;
            if (const int s = FirstHandSlot(c, meld.TileCode); s >= 0)
                add(s);
        }
    }
    if (allowed & OpExposedKong)
        for (int i = p.HandFirst; i <= last - 2; ++i) {
            const int16_t code = SlotAt(p, i).TileCode;
            if (code == SlotAt(p, i + 2).TileCode && code == t.LastDiscardTile) {
                add(i);
                break;
            }
        }
    if (allowed & OpConcealedKong)
        for (int i = p.HandFirst; i <= last - 3; ++i)
            if (SlotAt(p, i).TileCode == SlotAt(p, i + 3).TileCode)
                add(i);
    if (allowed & OpSpecialKong)
        if (const int wild = FirstHandSlot(c, t.WildTile); wild >= 0) {
            wildFirst = count == 0;
            add(wild);
        }
    return wildFirst && wilds < 2;
}

} // namespace table
