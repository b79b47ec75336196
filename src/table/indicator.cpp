#include "table/indicator.h"

#include "app/client.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "window/main_form.h"

namespace table {

void ShowPiZiTile(Client& c)
{
    const TableState& t = c.table;
    if (t.WallTail < 0 || t.WallTail >= kTileImages || t.PiZiImage < 0 || t.PiZiImage >= kTileImages)
        return;
    const int v = t.WallTail / 34;
    platform::Image& pizi = c.MainForm->MJ_Image[t.PiZiImage];
    const platform::Image& tail = c.MainForm->MJ_Image[t.WallTail];
    const TileSize size = kWallTileSize[static_cast<std::size_t>(v)];
    pizi.Move(tail.Left, tail.Top - kStackRaise[static_cast<std::size_t>(v)] * c.game.ScaleY, ScaledX(c, size.w),
              ScaledY(c, size.h));
    ShowTileImage(c, t.PiZiImage, TilePicIndex(v, t.PiZiTile));
    pizi.ZOrder(0);
}

} // namespace table
