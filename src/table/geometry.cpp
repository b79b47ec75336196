#include "table/geometry.h"

#include "table/model.h"

#include <cmath>

namespace table {

int16_t ScaledX(const TableModel& m, double base) { return static_cast<int16_t>(std::nearbyint(base * m.scaleX)); }
int16_t ScaledY(const TableModel& m, double base) { return static_cast<int16_t>(std::nearbyint(base * m.scaleY)); }

void SetTileSizes(TableModel& m, const ViewSizes& sizes)
{
    for (int v = 0; v < 4; ++v) {
        m.state.TileWidth[static_cast<std::size_t>(v)] = ScaledX(m, sizes[static_cast<std::size_t>(v)].w);
        m.state.TileHeight[static_cast<std::size_t>(v)] = ScaledY(m, sizes[static_cast<std::size_t>(v)].h);
    }
}

void LayOutWall(TableModel& m)
{
    auto& img = m.board.MJ_Image;
    const float sx = m.scaleX;
    const float sy = m.scaleY;
    for (int v = 0; v < 4; ++v)
        for (int i = 0; i < 34; ++i) {
            platform::Image& tile = img[34 * v + i];
            tile.Move(tile.Left, tile.Top, m.state.TileWidth[static_cast<std::size_t>(v)],
                   m.state.TileHeight[static_cast<std::size_t>(v)]);
        }

    // Stack 0 of each side, then each next stack from the previous upper
    // tile; the lower tile of a stack lies below its upper tile.
    struct Side {
        float left, top, dx, dy;
    };
    const Side sides[4] = {{809, 476, 0, 0}, {164, 476, 4, -15}, {236, 192, 0, 0}, {748, 192, 4, 15}};
    for (int v = 0; v < 4; ++v) {
        const int base = 34 * v;
        float left = sides[v].left * sx;
        float top = sides[v].top * sy;
        for (int k = 0; k < 17; ++k) {
            platform::Image& upper = img[base + 2 * k];
            if (k > 0) {
                const platform::Image& prev = img[base + 2 * k - 2];
                if (v == 0)
                    left = prev.Left - prev.Width;
                else if (v == 2)
                    left = prev.Left + prev.Width;
                else
                    left = prev.Left + sides[v].dx * sx;
                top = v == 0 || v == 2 ? prev.Top : prev.Top + sides[v].dy * sy;
            }
            upper.Move(left, top);
            img[base + 2 * k + 1].Move(left, top + kStackRaise[static_cast<std::size_t>(v)] * sy);
        }
    }

    // Overlapping order of the stacks.
    img[102].ZOrder(0);
    for (int k = 1; k <= 16; ++k) {
        img[2 * k].ZOrder(0);
        img[2 * k + 1].ZOrder(1);
        img[68 + 2 * k].ZOrder(0);
        img[69 + 2 * k].ZOrder(1);
        img[103 + 2 * k].ZOrder(0);
        img[102 + 2 * k].ZOrder(0);
    }
    img[0].ZOrder(0);
    img[2].ZOrder(0);
    for (int k = 0; k <= 16; ++k) {
        img[67 - 2 * k].ZOrder(0);
        img[66 - 2 * k].ZOrder(0);
    }
    img[69].ZOrder(1);
    img[71].ZOrder(1);
}

} // namespace table
