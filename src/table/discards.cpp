#include "table/discards.h"

#include "table/failure.h"
#include "table/geometry.h"
#include "table/model.h"
#include "table/tiles.h"
#include "table/utilities.h"
#include "table/wall.h"

namespace table {

namespace {

// Puts a local hand slot's image back at its place in the row; a tile that
// the tile input had marked as leaving gets its face back.
void RelayOwnSlot(TableModel& m, int j)
{
    PlayerRecord& p = m.players[0];
    const TileSlot& slot = SlotAt(p, j);
    platform::Image& img = m.board.MJ_Image[slot.Image];
    const float w = m.state.TileWidth[0];
    img.Move(p.HandX + j * w, p.HandY, w, m.state.TileHeight[0]);
    if (!img.Tag.isEmpty()) {
        ShowTileImage(m, slot.Image, TilePicIndex(kLargeFaceGroup, slot.TileCode));
        img.Tag.clear();
    }
}

void DiscardOwn(TableModel& m, int16_t tile)
{
    TableState& t = m.state;
    PlayerRecord& p = m.players[0];
    int h = -1;
    for (int j = p.HandFirst; j < p.HandFirst + p.HandCount; ++j)
        if ((SlotAt(p, j).TileCode & 0xFF) == (tile & 0xFF)) {
            h = j;
            break;
        }
    if (h < 0) {
        // Not in the hand: no image shows this discard, so the next draw
        // must not lay the previous discard a second time.
        t.LastDiscardImage = -1;
        return;
    }
    t.LastDiscardImage = SlotAt(p, h).Image;
    t.TileWidth[0] = ScaledX(m, kWallTileSize[0].w);
    t.TileHeight[0] = ScaledY(m, kWallTileSize[0].h);
    ShowTileImage(m, t.LastDiscardImage, TilePicIndex(0, tile));
    platform::Image& img = m.board.MJ_Image[t.LastDiscardImage];
    const float w = t.TileWidth[0];
    const float hgt = t.TileHeight[0];
    img.Move((m.board.TableSize().width() - w) / 2, (m.board.TableSize().height() - hgt) / 2, w, hgt);
    img.ZOrder(1);
    t.TileWidth[0] = ScaledX(m, kDrawnHandTileSize[0].w);
    t.TileHeight[0] = ScaledY(m, kDrawnHandTileSize[0].h);

    const int last = p.HandFirst + p.HandCount - 1;
    for (int j = h; j <= last - 1; ++j) {
        SlotAt(p, j) = SlotAt(p, j + 1);
        RelayOwnSlot(m, j);
    }
    for (int j = p.HandFirst; j < h; ++j)
        RelayOwnSlot(m, j);
    ArrangeHand(m, 0, p.HandCount - 1);
    --p.HandCount;
}

void DiscardOther(TableModel& m, int v, int16_t tile, const int16_t& flag)
{
    TableState& t = m.state;
    PlayerRecord& p = m.players[static_cast<std::size_t>(v)];
    auto& images = m.board.MJ_Image;
    t.TileWidth[static_cast<std::size_t>(v)] = ScaledX(m, kWallTileSize[static_cast<std::size_t>(v)].w);
    t.TileHeight[static_cast<std::size_t>(v)] = ScaledY(m, kWallTileSize[static_cast<std::size_t>(v)].h);
    const int picture = TilePicIndex(v, tile);

    const int lastSlot = p.HandFirst + p.HandCount - 1;
    int chosen = -1;
    int16_t drawn = -1;
    float keptLeft = 0, keptTop = 0, keptWidth = 0, keptHeight = 0;
    if (flag == 1 && p.HandCount > 1) {
        drawn = SlotAt(p, lastSlot).Image;
        std::uniform_int_distribution<int> pick(0, p.HandCount - 2);
        chosen = p.HandFirst + pick(t.Random);
        TileSlot& slot = SlotAt(p, chosen);
        t.LastDiscardImage = slot.Image;
        const platform::Image& leaving = images[t.LastDiscardImage];
        keptLeft = leaving.Left;
        keptTop = leaving.Top;
        keptWidth = leaving.Width;
        keptHeight = leaving.Height;
        ShowTileImage(m, t.LastDiscardImage, picture);
        slot.Image = drawn;
    } else {
        t.LastDiscardImage = SlotAt(p, lastSlot).Image;
        ShowTileImage(m, t.LastDiscardImage, picture);
    }
    platform::Image& img = images[t.LastDiscardImage];
    img.Move((m.board.TableSize().width() - img.Width) / 2, (m.board.TableSize().height() - img.Height) / 2,
             t.TileWidth[static_cast<std::size_t>(v)], t.TileHeight[static_cast<std::size_t>(v)]);
    img.ZOrder(v == 3 ? 1 : 0);
    --p.HandCount;

    WaitMs(m.clock, 300);

    if (chosen < 0)
        return;
    images[drawn].Move(keptLeft, keptTop, keptWidth, keptHeight);
    if (v == 1) {
        for (int k = p.HandFirst; k < p.HandFirst + p.HandCount; ++k)
            images[SlotAt(p, k).Image].ZOrder(0);
        RaiseOwnSpecialKongRow(m);
    } else if (v == 3) {
        for (int k = p.HandFirst; k < p.HandFirst + p.HandCount; ++k)
            images[SlotAt(p, k).Image].ZOrder(1);
    }
}

} // namespace

void OnTileDiscarded(TableModel& m, uint8_t seat, int16_t tile, int16_t, const int16_t& flag)
{
    TableState& t = m.state;
    t.LastDiscardTile = tile;
    const int v = SeatView(m.players[0].SeatBit, seat);
    m.hooks.SpeakTile(v, tile);
    t.LastDiscardView = static_cast<int16_t>(v);

    RunOrEnd([&] {
        if (v == 0)
            DiscardOwn(m, tile);
        else
            DiscardOther(m, v, tile, flag);
        m.board.MJ_Image[t.PiZiImage].ZOrder(0);
    });
}

} // namespace table
