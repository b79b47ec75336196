#include "table/melds.h"

#include "table/failure.h"
#include "table/geometry.h"
#include "table/model.h"
#include "table/tiles.h"

namespace table {

namespace {

constexpr TileSize kOwnMeldSize{45, 60};
constexpr TileSize kOwnHandSize{48, 78};

void SetOwnSize(TableModel& m, TileSize size)
{
    m.state.TileWidth[0] = ScaledX(m, size.w);
    m.state.TileHeight[0] = ScaledY(m, size.h);
}

platform::Image& SlotImage(TableModel& m, int slot)
{
    return m.board.MJ_Image[SlotAt(m.players[0], slot).Image];
}

enum class MeldLook { Faces, KeepSize, FaceDown };

// Lays the three meld slots at their places in the meld row.
void LayMeld(TableModel& m, const std::array<int16_t, 3>& tiles, MeldLook look, bool front)
{
    PlayerRecord& p = m.players[0];
    SetOwnSize(m, kOwnMeldSize);
    const float w = m.state.TileWidth[0];
    const float h = m.state.TileHeight[0];
    const float step = w - 2 * m.scaleX;
    for (int i = 2; i >= 0; --i) {
        const int slot = p.MeldEnd - i;
        const int16_t image = SlotAt(p, slot).Image;
        platform::Image& img = m.board.MJ_Image[image];
        const float left = p.HandX + (slot + 2) * step;
        if (look == MeldLook::KeepSize)
            img.Move(left, p.HandY);
        else
            img.Move(left, p.HandY, w, h);
        const int16_t shown = look == MeldLook::Faces ? tiles[static_cast<std::size_t>(2 - i)] : tiles[2];
        ShowTileImage(m, image, look == MeldLook::FaceDown ? kFaceDownBack : TilePicIndex(0, shown));
        if (front)
            img.ZOrder(0);
    }
}

// The fourth tile of a kong, lying on the meld's middle tile.
void LayFourthTile(TableModel& m, int16_t image, int16_t tile)
{
    PlayerRecord& p = m.players[0];
    const platform::Image& middle = SlotImage(m, p.MeldEnd - 1);
    platform::Image& img = m.board.MJ_Image[image];
    img.Move(middle.Left, p.HandY - 18 * m.scaleY, m.state.TileWidth[0], m.state.TileHeight[0]);
    ShowTileImage(m, image, TilePicIndex(0, tile));
    img.ZOrder(0);
}

// Slot `to` := slot `from`, and its image moved k hand tiles to the right.
void MoveSlot(TableModel& m, int to, int from, int k)
{
    PlayerRecord& p = m.players[0];
    SlotAt(p, to) = SlotAt(p, from);
    platform::Image& img = SlotImage(m, to);
    img.Move(img.Left + k * static_cast<float>(m.state.TileWidth[0]), img.Top);
}

} // namespace

int FindHandPair(TableModel& m, int code)
{
    PlayerRecord& p = m.players[0];
    for (int i = p.HandFirst; i <= p.HandFirst + p.HandCount - 2; ++i)
        if (SlotAt(p, i).TileCode == code && SlotAt(p, i + 1).TileCode == code)
            return i;
    return -1;
}

void ApplyChiMeld(TableModel& m, int slotA, int slotB, std::array<int16_t, 3>& tiles)
{
    const PlayerRecord& p = m.players[0];
    const int f = p.HandFirst;
    const int n = p.HandCount;
    LayMeld(m, tiles, MeldLook::Faces, true);
    SetOwnSize(m, kOwnHandSize);
    for (int i = slotB; i >= slotA + 2; --i)
        MoveSlot(m, i, i - 1, 1);
    for (int i = slotA + 1; i >= f + 2; --i)
        MoveSlot(m, i, i - 2, 2);
    for (int i = f + n; i >= f + 3; --i)
        MoveSlot(m, i, i - 1, 1);
}

void ApplyPongMeld(TableModel& m, std::array<int16_t, 3>& tiles)
{
    const PlayerRecord& p = m.players[0];
    const int f = p.HandFirst;
    const int n = p.HandCount;
    tiles[0] = static_cast<int16_t>(tiles[0] & 0xFF);
    LayMeld(m, tiles, MeldLook::Faces, true);
    SetOwnSize(m, kOwnHandSize);
    const int pair = FindHandPair(m, tiles[0]);
    if (pair < 0)
        throw IndexFault("a pong of a tile the hand holds no pair of");
    for (int i = pair + 1; i >= f + 2; --i)
        MoveSlot(m, i, i - 2, 2);
    for (int i = f + n; i >= f + 3; --i)
        MoveSlot(m, i, i - 1, 1);
}

void ApplyExposedKong(TableModel& m, int slot, std::array<int16_t, 3>& tiles)
{
    const PlayerRecord& p = m.players[0];
    const int f = p.HandFirst;
    LayMeld(m, tiles, MeldLook::KeepSize, false);
    LayFourthTile(m, m.state.LastDiscardImage, tiles[2]);
    SetOwnSize(m, kOwnHandSize);
    for (int i = slot + 2; i >= f + 3; --i)
        MoveSlot(m, i, i - 3, 3);
}

void ApplyConcealedKong(TableModel& m, int slot, std::array<int16_t, 3>& tiles)
{
    PlayerRecord& p = m.players[0];
    const int f = p.HandFirst;
    const int n = p.HandCount;
    LayMeld(m, tiles, MeldLook::FaceDown, false);
    m.state.LastDiscardImage = SlotAt(p, slot + 3).Image;
    LayFourthTile(m, m.state.LastDiscardImage, tiles[2]);
    SetOwnSize(m, kOwnHandSize);
    for (int i = slot + 3; i >= f + 4; --i)
        SlotAt(p, i) = SlotAt(p, i - 4);
    const float w = m.state.TileWidth[0];
    for (int i = f + 3; i <= f + n - 2; ++i) {
        SlotAt(p, i) = SlotAt(p, i + 1);
        SlotImage(m, i).Move(p.HandX + i * w, p.HandY, w, m.state.TileHeight[0]);
    }
}

void ApplySpecialKong(TableModel& m, int slot)
{
    PlayerRecord& p = m.players[0];
    TableState& t = m.state;
    t.LastDiscardImage = SlotAt(p, p.MeldEnd - 2).Image;
    t.LastDiscardTile = SlotAt(p, slot).TileCode;
    SetOwnSize(m, kOwnHandSize);
    for (int i = slot; i <= p.HandFirst + p.HandCount - 2; ++i)
        MoveSlot(m, i, i + 1, -1);
}

} // namespace table
