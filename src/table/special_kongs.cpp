#include "table/special_kongs.h"

#include "table/failure.h"
#include "table/geometry.h"
#include "table/model.h"
#include "table/tiles.h"

namespace table {

void LayIntoColumn(TableModel& m, int v, SpecialKongColumn column, int16_t image, int16_t tile)
{
    PlayerRecord& p = m.players[static_cast<std::size_t>(v)];
    const float sx = m.scaleX;
    const float sy = m.scaleY;
    const float x = p.HandX;
    const float y = p.HandY;
    const float w = m.state.TileWidth[static_cast<std::size_t>(v)];
    const float h = m.state.TileHeight[static_cast<std::size_t>(v)];
    int16_t& count = column == RedColumn ? p.RedLaid : column == GreenColumn ? p.GreenLaid : p.WildLaid;
    const int n = count;
    const float up = 18.0f * static_cast<float>(n) * sy;
    // Column index 0 red, 1 green, 2 wild: how far the column stands from the first.
    const int col = column == RedColumn ? 0 : column == GreenColumn ? 1 : 2;
    float left = x;
    float top = y - up;
    switch (v) {
    case 0:
        left = x + col * (w - 5 * sx);
        break;
    case 1:
        left = x - 5 * sx * col;
        top = y + col * (h - 17 * sy) - up;
        break;
    case 2:
        left = x - col * w;
        break;
    default:
        left = x - 10 * sx - 5 * sx * col;
        top = y - col * (h - 17 * sy) - up;
        break;
    }
    platform::Image& img = m.board.MJ_Image[image];
    img.Move(left, top);
    if (v != 2) {
        const int base = column == RedColumn ? 0 : column == WildColumn ? 4 : 8;
        if (n > 3)
            throw IndexFault("a fifth tile in a special-kong column");
        At(m.laid[static_cast<std::size_t>(v)], base + n, "laid tile") = image;
    }
    ++count;
    ShowTileImage(m, image, TilePicIndex(v, tile));
    if (v == 1)
        img.ZOrder(1);
    else if (v == 3)
        img.ZOrder(0);
    if (v >= 1)
        img.SetVisible(true);
}

std::optional<SpecialKongColumn> ColumnOf(const TableModel& m, int tile)
{
    if (tile == kRedDragon)
        return RedColumn;
    if (tile == kGreenDragon)
        return GreenColumn;
    if (tile == m.state.WildTile)
        return WildColumn;
    return std::nullopt;
}

void RestackSideRow(TableModel& m, int v)
{
    const PlayerRecord& p = m.players[static_cast<std::size_t>(v)];
    auto& laid = m.laid[static_cast<std::size_t>(v)];
    auto& images = m.board.MJ_Image;
    auto image = [&](int k) -> platform::Image& { return images[At(laid, k, "laid tile")]; };
    if (v == 1) {
        if (p.RedLaid > 0) {
            image(0).ZOrder(1);
            for (int k = 1; k < p.RedLaid; ++k)
                image(k).ZOrder(0);
        }
        for (int k = 0; k < p.GreenLaid; ++k)
            image(8 + k).ZOrder(0);
        if (p.WildLaid > 0) {
            for (int k = 0; k < p.WildLaid; ++k)
                image(4 + k).ZOrder(0);
            if (p.MeldEnd >= 6) {
                image(4).ZOrder(1);
                if (p.GreenLaid >= 1) {
                    image(8).ZOrder(1);
                    if (p.RedLaid >= 1)
                        image(0).ZOrder(1);
                }
            }
        }
    } else if (v == 3) {
        for (int k = 0; k < p.WildLaid; ++k)
            image(4 + k).ZOrder(0);
        for (int k = 0; k < p.GreenLaid; ++k)
            image(8 + k).ZOrder(0);
        for (int k = 0; k < p.RedLaid; ++k)
            image(k).ZOrder(0);
    }
}

void StackSideHand(TableModel& m, int v)
{
    if (v != 1 && v != 3)
        return;
    PlayerRecord& p = m.players[static_cast<std::size_t>(v)];
    for (int k = p.HandFirst; k < p.HandFirst + p.HandCount; ++k)
        m.board.MJ_Image[SlotAt(p, k).Image].ZOrder(v == 1 ? 0 : 1);
}

void PlaceSpecialKongTile(TableModel& m, uint8_t view, int16_t& tile, int16_t& image)
{
    TableState& t = m.state;
    t.DrawSkipsDiscardRow = -1;
    SetTileSizes(m, kMeldTileSize);
    PlayerRecord& p = At(m.players, view, "view");
    const int16_t laid = image;
    const int low = tile & 0xFF;
    const int kongSlot = p.MeldEnd - 2;
    SlotAt(p, kongSlot).Image = laid;
    platform::Image& img = m.board.MJ_Image[laid];
    img.ZOrder(0);
    img.Move(img.Left, img.Top, t.TileWidth[view], t.TileHeight[view]);
    if ((low == kRedDragon && p.RedLaid == 0) || (low == kGreenDragon && p.GreenLaid == 0))
        SlotAt(p, 0) = SlotAt(p, kongSlot);
    if (view == 0) {
        t.TileWidth[0] = ScaledX(m, 48);
        t.TileHeight[0] = ScaledY(m, 78);
    }
    if (const auto column = ColumnOf(m, low))
        LayIntoColumn(m, view, *column, laid, static_cast<int16_t>(low));
    else if (view >= 1)
        img.SetVisible(true);
    t.LastDiscardImage = -1;
    StackSideHand(m, view);
    RestackSideRow(m, view);
}

} // namespace table
