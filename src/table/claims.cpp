#include "table/claims.h"

#include "protocol/operations.h"
#include "table/failure.h"
#include "table/geometry.h"
#include "table/model.h"
#include "table/tiles.h"

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

void SendOperation(TableModel& m, int16_t op, int16_t t1, int16_t t2, int16_t t3)
{
    m.hooks.SendOperation(op, t1, t2, t3);
}

// Puts the large upright face of a tile on a choice picture.
void LoadFace(TableModel& m, platform::Image& control, int code)
{
    const int picture = TilePicIndex(kLargeFaceGroup, code);
    if (picture >= 0 && picture < kTilePictures)
        m.hooks.LoadTilePicture(picture, control);
}

// The decision countdown again, at half length, while choice pictures are up.
void RestartCountdownAtHalf(TableModel& m)
{
    Decision& d = m.decision;
    TableBoard& f = m.board;
    d.Countdown = static_cast<int16_t>(d.CountdownStart / 2);
    m.hooks.RunDecisionCountdown(true);
    ShowClock(f, d.Countdown, ClockColour::Green);
}

// The first local hand slot holding `code`, -1 when none does.
int FirstHandSlot(TableModel& m, int code)
{
    PlayerRecord& p = m.players[0];
    for (int i = p.HandFirst; i < p.HandFirst + p.HandCount; ++i)
        if (SlotAt(p, i).TileCode == code)
            return i;
    return -1;
}

// Lists the kongs the local hand allows in KongCandidates, in the order the
// choice pictures show them; with `pictures` each of the first five gets its
// picture on Gang(k).
KongSearch SearchKongs(TableModel& m, bool pictures)
{
    TableState& t = m.state;
    const int16_t allowed = m.decision.AllowedOps;
    PlayerRecord& p = m.players[0];
    KongSearch found;
    auto add = [&](int slot, KongKind kind, int faceCode) {
        if (found.count >= static_cast<int>(t.KongCandidates.size()))
            return;
        if (pictures && found.count < kChoicePictures)
            LoadFace(m, m.board.Gang[found.count], faceCode);
        t.KongCandidates[static_cast<std::size_t>(found.count)] = static_cast<int16_t>(slot);
        found.kinds[static_cast<std::size_t>(found.count)] = kind;
        ++found.count;
    };
    const int last = p.HandFirst + p.HandCount - 1;

    if (allowed & protocol::OpSpecialKong) {
        if (const int red = FirstHandSlot(m, kRedDragon); red >= 0)
            add(red, KongKind::Special, kRedDragon);
        if (const int green = FirstHandSlot(m, kGreenDragon); green >= 0)
            add(green, KongKind::Special, kGreenDragon);
        for (int k = 1; k <= p.MeldEnd - 5; k += 3) {
            const TileSlot& meld = SlotAt(p, k);
            if (meld.Kind != 3)
                continue;
            if (const int s = FirstHandSlot(m, meld.TileCode); s >= 0)
                add(s, KongKind::Special, meld.TileCode);
        }
    }
    if (allowed & protocol::OpExposedKong)
        for (int i = p.HandFirst; i <= last - 2; ++i) {
            const int16_t code = SlotAt(p, i).TileCode;
            if (code == SlotAt(p, i + 2).TileCode && code == t.LastDiscardTile) {
                add(i, KongKind::Exposed, code);
                break;
            }
        }
    if (allowed & protocol::OpConcealedKong)
        for (int i = p.HandFirst; i <= last - 3; ++i) {
            const int16_t code = SlotAt(p, i).TileCode;
            const int low = code & 0xFF;
            if (code == SlotAt(p, i + 3).TileCode && low != t.WildTile && low != kRedDragon && low != kGreenDragon)
                add(i, KongKind::Concealed, code);
        }
    if (allowed & protocol::OpSpecialKong)
        if (const int wild = FirstHandSlot(m, t.WildTile); wild >= 0)
            add(wild, KongKind::Special, t.WildTile);
    return found;
}

void SendKong(TableModel& m, KongKind kind, int slot)
{
    switch (kind) {
    case KongKind::Special:
        SendSpecialKong(m, slot);
        break;
    case KongKind::Exposed:
        SendExposedKong(m, slot);
        break;
    case KongKind::Concealed:
        SendConcealedKong(m, slot);
        break;
    }
}

// Copies three hand slots into the meld slots with the meld's kind.
void CopyMeld(TableModel& m, int slot, int16_t kind)
{
    PlayerRecord& p = m.players[0];
    const int end = p.MeldEnd;
    for (int i = 0; i < 3; ++i) {
        TileSlot& to = SlotAt(p, end - 2 + i);
        to = SlotAt(p, slot + i);
        to.Kind = kind;
    }
}

} // namespace

void StopDecisionCountdown(TableModel& m)
{
    m.hooks.RunDecisionCountdown(false);
    m.decision.Countdown = m.decision.CountdownStart;
    m.board.Number.SetVisible(false);
    m.board.Time_Img.SetVisible(false);
}

void ShowClock(TableBoard& b, int seconds, ClockColour colour)
{
    b.Number.SetCaption(QString::number(seconds));
    if (colour == ClockColour::Green)
        b.Number.ForeColor = kGreen;
    b.Number.SetVisible(true);
    b.Time_Img.SetVisible(true);
    b.Time_Img.ZOrder(0);
    b.Number.ZOrder(0);
}

void SendChi(TableModel& m, int slotA, int slotB)
{
    PlayerRecord& p = m.players[0];
    const int end = p.MeldEnd;
    TileSlot& a = SlotAt(p, end - 2);
    TileSlot& b = SlotAt(p, end - 1);
    TileSlot& d = SlotAt(p, end);
    a = SlotAt(p, slotA);
    a.Kind = 2;
    b = SlotAt(p, slotB);
    b.Kind = 2;
    d = {2, m.state.LastDiscardTile, m.state.LastDiscardImage};
    SendOperation(m, protocol::OpChow, protocol::ClaimTile(a.TileCode), protocol::ClaimTile(b.TileCode),
                  protocol::ClaimTile(d.TileCode));
    m.decision.OpSent = -1;
}

void SendPong(TableModel& m, int tile)
{
    PlayerRecord& p = m.players[0];
    const int16_t code = static_cast<int16_t>(tile & 0xFF);
    int pair = -1;
    for (int i = p.HandFirst; i <= p.HandFirst + p.HandCount - 2; ++i)
        if (SlotAt(p, i).TileCode == code && SlotAt(p, i + 1).TileCode == code) {
            pair = i;
            break;
        }
    if (pair < 0)
        return;
    const int end = p.MeldEnd;
    TileSlot& a = SlotAt(p, end - 2);
    a = SlotAt(p, pair);
    a.Kind = 3;
    TileSlot& b = SlotAt(p, end - 1);
    b = SlotAt(p, pair + 1);
    b.Kind = 3;
    SlotAt(p, end) = {3, code, m.state.LastDiscardImage};
    const int16_t sent = protocol::ClaimTile(a.TileCode);
    SendOperation(m, protocol::OpPong, sent, sent, sent);
    m.decision.OpSent = -1;
}

void SendExposedKong(TableModel& m, int slot)
{
    CopyMeld(m, slot, 4);
    PlayerRecord& p = m.players[0];
    const int16_t sent = protocol::ClaimTile(SlotAt(p, p.MeldEnd - 2).TileCode);
    SendOperation(m, protocol::OpExposedKong, sent, sent, sent);
    m.decision.OpSent = -1;
}

void SendConcealedKong(TableModel& m, int slot)
{
    CopyMeld(m, slot, 5);
    PlayerRecord& p = m.players[0];
    const int16_t sent = protocol::ClaimTile(SlotAt(p, slot).TileCode);
    SendOperation(m, protocol::OpConcealedKong, sent, sent, sent);
    m.decision.OpSent = -1;
}

void SendSpecialKong(TableModel& m, int slot)
{
    PlayerRecord& p = m.players[0];
    TileSlot& kong = SlotAt(p, p.MeldEnd - 2);
    kong = SlotAt(p, slot);
    kong.Kind = 6;
    SendOperation(m, protocol::OpSpecialKong, 0, 0, protocol::ClaimTile(kong.TileCode));
    m.decision.OpSent = -1;
}

void SendHu(TableModel& m) { SendOperation(m, protocol::OpWin, 0, 0, 0); }

void SendPassReply(TableModel& m)
{
    if (m.decision.OpSent == 0)
        SendOperation(m, protocol::OpPass, 0, 0, 0);
    m.decision.OpSent = -1;
}

void OfferChiChoices(TableModel& m, int tile)
{
    TableState& t = m.state;
    PlayerRecord& p = m.players[0];
    TableBoard& f = m.board;
    SetTileSizes(m, kHandTileSize);
    ArrangeHand(m, 0, p.HandCount);

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
        SendChi(m, t.ChiChoices[0], t.ChiChoices[1]);
        return;
    }
    for (int k = 1; k <= 4; ++k) {
        f.Operation[k].SetVisible(false);
        f.Operation[k].Enabled = false;
    }
    for (int k = 0; k < n; ++k) {
        platform::Image& pic = f.Chi[k];
        LoadFace(m, pic, SlotAt(p, t.ChiChoices[static_cast<std::size_t>(k)]).TileCode);
        pic.Height = t.TileHeight[0] * 0.8f;
        pic.Width = t.TileWidth[0] * 0.8f;
        pic.Move(f.Operation[1].Left + pic.Width * static_cast<float>(k % 2),
                 f.Operation[0].Top - 0.8f * pic.Height * static_cast<float>(k / 2));
        pic.SetVisible(true);
        pic.ZOrder(0);
        pic.Enabled = true;
    }
    RestartCountdownAtHalf(m);
}

void OfferKongChoices(TableModel& m)
{
    try {
        TableBoard& f = m.board;
        const KongSearch found = SearchKongs(m, true);
        const auto& candidates = m.state.KongCandidates;
        if (m.decision.TurnPhase == 3) {
            if (found.count > 0)
                SendKong(m, found.kinds[0], candidates[0]);
            return;
        }
        if (found.count == 1) {
            f.Operation[2].SetVisible(false);
            SendKong(m, found.kinds[0], candidates[0]);
            return;
        }
        for (int k : {0, 1, 3, 4})
            f.Operation[k].SetVisible(false);
        for (int k = 0; k < std::min(found.count, kChoicePictures); ++k) {
            platform::Image& pic = f.Gang[k];
            pic.Height = m.state.TileHeight[0] * 0.8f;
            pic.Width = m.state.TileWidth[0] * 0.8f;
            pic.Move(f.Operation[3].Left, f.Operation[0].Top - 0.8f * pic.Height * static_cast<float>(k));
            pic.SetVisible(true);
            pic.ZOrder(0);
            pic.Enabled = true;
        }
        RestartCountdownAtHalf(m);
    } catch (const std::exception&) {
        m.hooks.EndClient();
    }
}

bool FindKongCandidates(TableModel& m)
{
    TableState& t = m.state;
    PlayerRecord& p = m.players[0];
    const int16_t allowed = m.decision.AllowedOps;
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
    if (allowed & protocol::OpSpecialKong) {
        if (const int red = FirstHandSlot(m, kRedDragon); red >= 0)
            add(red);
        for (int k = 2; k <= p.MeldEnd - 5; k += 3) {
            const TileSlot& meld = SlotAt(p, k);
            if (meld.Kind != 3)
                continue;
            if (const int s = FirstHandSlot(m, meld.TileCode); s >= 0)
                add(s);
        }
    }
    if (allowed & protocol::OpExposedKong)
        for (int i = p.HandFirst; i <= last - 2; ++i) {
            const int16_t code = SlotAt(p, i).TileCode;
            if (code == SlotAt(p, i + 2).TileCode && code == t.LastDiscardTile) {
                add(i);
                break;
            }
        }
    if (allowed & protocol::OpConcealedKong)
        for (int i = p.HandFirst; i <= last - 3; ++i)
            if (SlotAt(p, i).TileCode == SlotAt(p, i + 3).TileCode)
                add(i);
    if (allowed & protocol::OpSpecialKong)
        if (const int wild = FirstHandSlot(m, t.WildTile); wild >= 0) {
            wildFirst = count == 0;
            add(wild);
        }
    return wildFirst && wilds < 2;
}

} // namespace table
