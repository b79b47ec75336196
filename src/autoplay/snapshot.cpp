#include "autoplay/snapshot.h"

#include "app/client.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace autoplay {

namespace {

int16_t Round16(double value) { return static_cast<int16_t>(std::nearbyint(value)); }

// Integer division that treats a zero divisor as "never full".
bool RowFull(int distance, int step) { return step != 0 && distance / step == 8; }

int PosMod(int value, int m) { return ((value % m) + m) % m; }

// The right-hand seat's rows run upward: each row is stacked so that its
// earliest tile ends in front.
void RestackRightRow(Client& c, int image)
{
    table::TableState& t = c.table;
    auto& tiles = c.MainForm->MJ_Image;
    // Room for three rows; a further discard keeps its place at the back.
    if (t.SideTileCount >= 0 && t.SideTileCount < static_cast<int16_t>(t.SideTiles.size())) {
        t.SideTiles[static_cast<std::size_t>(t.SideTileCount)] = static_cast<int16_t>(image);
        ++t.SideTileCount;
    }
    const int n = std::clamp<int>(t.SideTileCount, 0, static_cast<int>(t.SideTiles.size()));
    auto raise = [&](int from, int to) {
        for (int k = from; k >= to; --k)
            tiles[t.SideTiles[static_cast<std::size_t>(k)]].ZOrder(0);
    };
    if (n <= 8) {
        raise(n - 1, 0);
    } else if (n <= 16) {
        raise(n - 1, 8);
    } else {
        raise(15, 8);
        raise(n - 1, 16);
    }
}

// Moves a seat's next-discard place one tile on along its rows of eight.
void AdvanceDiscardPlace(Client& c, int v)
{
    table::PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
    const int w = c.table.TileWidth[static_cast<std::size_t>(v)];
    const int h = c.table.TileHeight[static_cast<std::size_t>(v)];
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;
    int16_t& x = p.NextDiscardX;
    int16_t& y = p.NextDiscardY;
    switch (v) {
    case 0:
        x = static_cast<int16_t>(x + w);
        if (RowFull(x - p.DiscardRowX, w)) {
            x = p.DiscardRowX;
            y = Round16(y - h + 18.0 * sy);
        }
        break;
    case 1: {
        const int step = static_cast<int>(std::nearbyint(h - 17.0 * sy));
        y = Round16(y + h - 17.0 * sy);
        x = static_cast<int16_t>(x - 5);
        if (RowFull(y - p.DiscardRowY, step)) {
            y = p.DiscardRowY;
            x = Round16(x + 40 + w - 5.0 * sx);
        }
        break;
    }
    case 2:
        x = static_cast<int16_t>(x - w);
        if (RowFull(p.DiscardRowX - x, w)) {
            x = p.DiscardRowX;
            y = Round16(y + h - 14.0 * sy);
        }
        break;
    default: {
        const int step = static_cast<int>(std::nearbyint(h - 17.0 * sy));
        y = Round16(y - h + 17.0 * sy);
        x = static_cast<int16_t>(x - 5);
        if (RowFull(p.DiscardRowY - y, step)) {
            y = p.DiscardRowY;
            x = Round16(x + 40 - w + 5.0 * sx);
        }
        break;
    }
    }
}

} // namespace

void SortTiles(int16_t* tiles, uint8_t count)
{
    for (int i = 0; i + 1 < count; ++i)
        for (int j = i + 1; j < count; ++j) {
            const int si = table::SuitBits(tiles[i]);
            const int sj = table::SuitBits(tiles[j]);
            if (si < sj || (si == sj && table::Rank(tiles[i]) > table::Rank(tiles[j])))
                std::swap(tiles[i], tiles[j]);
        }
}

void ShowSnapshotPiZiTile(Client& c, int16_t& image)
{
    const table::TableState& t = c.table;
    if (image < 0 || image >= table::kTileImages || t.WallTail < 0 || t.WallTail >= table::kTileImages)
        return;
    const int side = t.WallTail / 34;
    const auto ss = static_cast<std::size_t>(side);
    platform::Image& pizi = c.MainForm->MJ_Image[image];
    const platform::Image& tail = c.MainForm->MJ_Image[t.WallTail];
    const table::TileSize size = table::kWallTileSize[ss];
    pizi.Move(tail.Left, tail.Top - table::kStackRaise[ss], size.w * c.game.ScaleX, size.h * c.game.ScaleY);
    table::ShowTileImage(c, image, table::TilePicIndex(side, t.PiZiTile));
    pizi.ZOrder(0);
    pizi.SetVisible(true);
}

void SnapshotLayWall(Client& c)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    auto& tiles = c.MainForm->MJ_Image;
    table::SetTileSizes(c, table::kWallTileSize);
    for (int v = 0; v < 4; ++v) {
        table::PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
        for (int n = 0; n < g.SideSeatCounts[static_cast<std::size_t>(v)]; ++n) {
            if (g.SideCountC > g.SideCountA)
                return;
            const int image = PosMod(t.WallHead + g.SideCountC, table::kTileImages);
            t.LastDiscardImage = static_cast<int16_t>(image);
            // The discard's place and view go together, for whoever takes
            // the last discard up again.
            t.LastDiscardView = static_cast<int16_t>(v);
            ++g.SideCountC;
            platform::Image& tile = tiles[image];
            tile.Move(p.NextDiscardX, p.NextDiscardY, t.TileWidth[static_cast<std::size_t>(v)],
                      t.TileHeight[static_cast<std::size_t>(v)]);
            tile.SetVisible(true);
            tile.ZOrder(0);
            table::ShowTileImage(c, image, 36 * v + table::kFaceDownBack);
            switch (v) {
            case 0: tile.ZOrder(1); break;
            case 3:
                tile.ZOrder(1);
                RestackRightRow(c, image);
                break;
            default: tile.ZOrder(0); break;
            }
            t.SideDrawTile = p.NextDiscardX;
            t.SideDrawSlot = p.NextDiscardY;
            AdvanceDiscardPlace(c, v);
        }
    }
}

} // namespace autoplay
