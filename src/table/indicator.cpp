#include "table/indicator.h"

#include "table/geometry.h"
#include "table/model.h"
#include "table/tiles.h"

namespace table {

void ShowPiZiTile(TableModel& m)
{
    const TableState& t = m.state;
    if (t.WallTail < 0 || t.WallTail >= kTileImages || t.PiZiImage < 0 || t.PiZiImage >= kTileImages)
        return;
    const int v = t.WallTail / 34;
    platform::Image& pizi = m.board.MJ_Image[t.PiZiImage];
    const platform::Image& tail = m.board.MJ_Image[t.WallTail];
    const TileSize size = kWallTileSize[static_cast<std::size_t>(v)];
    pizi.Move(tail.Left, tail.Top - kStackRaise[static_cast<std::size_t>(v)] * m.scaleY, ScaledX(m, size.w),
              ScaledY(m, size.h));
    ShowTileImage(m, t.PiZiImage, TilePicIndex(v, t.PiZiTile));
    pizi.ZOrder(0);
}

} // namespace table
