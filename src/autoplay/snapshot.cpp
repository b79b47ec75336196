#include "autoplay/snapshot.h"

#include "app/client.h"
#include "table/discard_rows.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace autoplay {

namespace {

int PosMod(int value, int m) { return ((value % m) + m) % m; }

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
    table::ShowTileImage(c.Table(), image, table::TilePicIndex(side, t.PiZiTile));
    pizi.ZOrder(0);
    pizi.SetVisible(true);
}

void SnapshotLayWall(Client& c)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    auto& tiles = c.MainForm->MJ_Image;
    table::SetTileSizes(c.Table(), table::kWallTileSize);
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
            table::ShowTileImage(c.Table(), image, 36 * v + table::kFaceDownBack);
            switch (v) {
            case 0: tile.ZOrder(1); break;
            case 3:
                tile.ZOrder(1);
                table::RecordRightRowTile(c.Table(), image);
                break;
            default: tile.ZOrder(0); break;
            }
            t.SideDrawTile = p.NextDiscardX;
            t.SideDrawSlot = p.NextDiscardY;
            table::AdvanceDiscardPlace(c.Table(), v, c.table.TileWidth[static_cast<std::size_t>(v)], c.table.TileHeight[static_cast<std::size_t>(v)]);
        }
    }
}

} // namespace autoplay
