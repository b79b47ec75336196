#include "table/melds.h"

#include "app/client.h"
#include "table/failure.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "window/main_form.h"

namespace table {

namespace {

constexpr TileSize kOwnMeldSize{45, 60};
constexpr TileSize kOwnHandSize{48, 78};

void SetOwnSize(Client& c, TileSize size)
{
    c.table.TileWidth[0] = ScaledX(c, size.w);
    c.table.TileHeight[0] = ScaledY(c, size.h);
}

platform::Image& SlotImage(Client& c, int slot)
{
    return c.MainForm->MJ_Image[SlotAt(c.game.Players[0], slot).Image];
}

enum class MeldLook { Faces, KeepSize, FaceDown };

// Lays the three meld slots at their places in the meld row.
void LayMeld(Client& c, const std::array<int16_t, 3>& tiles, MeldLook look, bool front)
{
    PlayerRecord& p = c.game.Players[0];
    SetOwnSize(c, kOwnMeldSize);
    const float w = c.table.TileWidth[0];
    const float h = c.table.TileHeight[0];
    const float step = w - 2 * c.game.ScaleX;
    for (int i = 2; i >= 0; --i) {
        const int m = p.MeldEnd - i;
        const int16_t image = SlotAt(p, m).Image;
        platform::Image& img = c.MainForm->MJ_Image[image];
        const float left = p.HandX + (m + 2) * step;
        if (look == MeldLook::KeepSize)
            img.Move(left, p.HandY);
        else
            img.Move(left, p.HandY, w, h);
        const int16_t shown = look == MeldLook::Faces ? tiles[static_cast<std::size_t>(2 - i)] : tiles[2];
        ShowTileImage(c, image, look == MeldLook::FaceDown ? kFaceDownBack : TilePicIndex(0, shown));
        if (front)
            img.ZOrder(0);
    }
}

// The fourth tile of a kong, lying on the meld's middle tile.
void LayFourthTile(Client& c, int16_t image, int16_t tile)
{
    PlayerRecord& p = c.game.Players[0];
    const platform::Image& middle = SlotImage(c, p.MeldEnd - 1);
    platform::Image& img = c.MainForm->MJ_Image[image];
    img.Move(middle.Left, p.HandY - 18 * c.game.ScaleY, c.table.TileWidth[0], c.table.TileHeight[0]);
    ShowTileImage(c, image, TilePicIndex(0, tile));
    img.ZOrder(0);
}

// Slot `to` := slot `from`, and its image moved k hand tiles to the right.
void MoveSlot(Client& c, int to, int from, int k)
{
    PlayerRecord& p = c.game.Players[0];
    SlotAt(p, to) = SlotAt(p, from);
    platform::Image& img = SlotImage(c, to);
    img.Move(img.Left + k * static_cast<float>(c.table.TileWidth[0]), img.Top);
}

} // namespace

int FindHandPair(Client& c, int code)
{
    PlayerRecord& p = c.game.Players[0];
    for (int i = p.HandFirst; i <= p.HandFirst + p.HandCount - 2; ++i)
        if (SlotAt(p, i).TileCode == code && SlotAt(p, i + 1).TileCode == code)
            return i;
    return -1;
}

void ApplyChiMeld(Client& c, int slotA, int slotB, std::array<int16_t, 3>& tiles)
{
    const PlayerRecord& p = c.game.Players[0];
    const int f = p.HandFirst;
    const int n = p.HandCount;
    LayMeld(c, tiles, MeldLook::Faces, true);
    SetOwnSize(c, kOwnHandSize);
    for (int i = slotB; i >= slotA + 2; --i)
        MoveSlot(c, i, i - 1, 1);
    for (int i = slotA + 1; i >= f + 2; --i)
        MoveSlot(c, i, i - 2, 2);
    for (int i = f + n; i >= f + 3; --i)
        MoveSlot(c, i, i - 1, 1);
}

void ApplyPongMeld(Client& c, std::array<int16_t, 3>& tiles)
{
    const PlayerRecord& p = c.game.Players[0];
    const int f = p.HandFirst;
    const int n = p.HandCount;
    tiles[0] = static_cast<int16_t>(tiles[0] & 0xFF);
    LayMeld(c, tiles, MeldLook::Faces, true);
    SetOwnSize(c, kOwnHandSize);
    const int pair = FindHandPair(c, tiles[0]);
    if (pair < 0)
        throw IndexFault("a pong of a tile the hand holds no pair of");
    for (int i = pair + 1; i >= f + 2; --i)
        MoveSlot(c, i, i - 2, 2);
    for (int i = f + n; i >= f + 3; --i)
        MoveSlot(c, i, i - 1, 1);
}

void ApplyExposedKong(Client& c, int slot, std::array<int16_t, 3>& tiles)
{
    const PlayerRecord& p = c.game.Players[0];
    const int f = p.HandFirst;
    LayMeld(c, tiles, MeldLook::KeepSize, false);
    LayFourthTile(c, c.table.LastDiscardImage, tiles[2]);
    SetOwnSize(c, kOwnHandSize);
    for (int i = slot + 2; i >= f + 3; --i)
        MoveSlot(c, i, i - 3, 3);
}

void ApplyConcealedKong(Client& c, int slot, std::array<int16_t, 3>& tiles)
{
    PlayerRecord& p = c.game.Players[0];
    const int f = p.HandFirst;
    const int n = p.HandCount;
    LayMeld(c, tiles, MeldLook::FaceDown, false);
    c.table.LastDiscardImage = SlotAt(p, slot + 3).Image;
    LayFourthTile(c, c.table.LastDiscardImage, tiles[2]);
    SetOwnSize(c, kOwnHandSize);
    for (int i = slot + 3; i >= f + 4; --i)
        SlotAt(p, i) = SlotAt(p, i - 4);
    const float w = c.table.TileWidth[0];
    for (int i = f + 3; i <= f + n - 2; ++i) {
        SlotAt(p, i) = SlotAt(p, i + 1);
        SlotImage(c, i).Move(p.HandX + i * w, p.HandY, w, c.table.TileHeight[0]);
    }
}

void ApplySpecialKong(Client& c, int slot)
{
    PlayerRecord& p = c.game.Players[0];
    TableState& t = c.table;
    t.LastDiscardImage = SlotAt(p, p.MeldEnd - 2).Image;
    t.LastDiscardTile = SlotAt(p, slot).TileCode;
    SetOwnSize(c, kOwnHandSize);
    for (int i = slot; i <= p.HandFirst + p.HandCount - 2; ++i)
        MoveSlot(c, i, i + 1, -1);
}

} // namespace table
