#include "table/discard_rows.h"

#include "table/failure.h"
#include "table/geometry.h"
#include "table/model.h"
#include "table/special_kongs.h"
#include "table/tiles.h"
#include "table/utilities.h"

#include <algorithm>
#include <cmath>

namespace table {

namespace {

int16_t Round16(double value) { return static_cast<int16_t>(std::nearbyint(value)); }

// Integer division that treats a zero divisor as "never full".
bool RowFull(int distance, int step) { return step != 0 && distance / step == 8; }

// The right-hand seat's rows run upward, so each new tile lies behind the
// tiles below it and each later row in front of the earlier ones.
void StackRightRow(TableModel& m, platform::Image& laid)
{
    laid.ZOrder(1);
    RecordRightRowTile(m, m.state.LastDiscardImage);
}

void LayIntoRow(TableModel& m, int u)
{
    TableState& t = m.state;
    PlayerRecord& p = m.players[static_cast<std::size_t>(u)];
    const TileSize base = kWallTileSize[static_cast<std::size_t>(u)];
    const int16_t w = ScaledX(m, base.w);
    const int16_t h = ScaledY(m, base.h);
    t.TileWidth[static_cast<std::size_t>(u)] = w;
    t.TileHeight[static_cast<std::size_t>(u)] = h;

    platform::Image& laid = m.board.MJ_Image[t.LastDiscardImage];
    laid.Move(p.NextDiscardX, p.NextDiscardY, w, h);
    if (u == 3)
        StackRightRow(m, laid);
    else
        laid.ZOrder(u == 0 ? 1 : 0);
    t.SideDrawTile = p.NextDiscardX;
    t.SideDrawSlot = p.NextDiscardY;

    AdvanceDiscardPlace(m, u, w, h);
    t.DiscardBlinkCount = 3;
}

} // namespace

void RecordRightRowTile(TableModel& m, int image)
{
    TableState& t = m.state;
    auto& img = m.board.MJ_Image;
    // Room for three rows; a further discard keeps its place at the back.
    if (t.SideTileCount >= 0 && t.SideTileCount < static_cast<int16_t>(t.SideTiles.size())) {
        t.SideTiles[static_cast<std::size_t>(t.SideTileCount)] = static_cast<int16_t>(image);
        ++t.SideTileCount;
    }
    const int n = std::clamp<int>(t.SideTileCount, 0, static_cast<int>(t.SideTiles.size()));
    auto raise = [&](int from, int to) {
        for (int k = from; k >= to; --k)
            img[t.SideTiles[static_cast<std::size_t>(k)]].ZOrder(0);
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

void AdvanceDiscardPlace(TableModel& m, int u, int w, int h)
{
    PlayerRecord& p = m.players[static_cast<std::size_t>(u)];
    const float sx = m.scaleX;
    const float sy = m.scaleY;
    int16_t& x = p.NextDiscardX;
    int16_t& y = p.NextDiscardY;
    switch (u) {
    case 0:
        x = static_cast<int16_t>(x + w);
        if (RowFull(x - p.DiscardRowX, w)) {
            x = p.DiscardRowX;
            y = Round16(y - h + 18.0 * sy);
        }
        break;
    case 1: {
        const int step = Round16(h - 17.0 * sy);
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
        const int step = Round16(h - 17.0 * sy);
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

void LayLastDiscard(TableModel& m, uint8_t seat, uint8_t count)
{
    TableState& t = m.state;
    if (t.DrawSkipsDiscardRow != 0 || t.LastDiscardImage < 0)
        return;
    if (count == 1)
        SleepSeconds(m.clock, 0.4f);
    const int u = t.LastDiscardView;
    if (u >= 0 && u <= 3) {
        const int low = t.LastDiscardTile & 0xFF;
        if (low == kRedDragon || low == kGreenDragon || low == t.WildTile)
            PlaceSpecialKongTile(m, static_cast<uint8_t>(u), t.LastDiscardTile, t.LastDiscardImage);
        else if (u != 0 || seat == m.players[3].SeatBit)
            LayIntoRow(m, u);
    }
    m.board.MJ_Image[t.PiZiImage].ZOrder(0);
}

} // namespace table
