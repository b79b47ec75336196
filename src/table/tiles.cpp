#include "table/tiles.h"

#include "table/model.h"

#include <algorithm>
#include <vector>

namespace table {

void ShowTileImage(TableModel& m, int image, int picture)
{
    if (image < 0 || image >= kTileImages || picture < 0 || picture >= kTilePictures)
        return;
    platform::Image& img = m.board.MJ_Image[image];
    img.SetVisible(false);
    if (m.hooks.LoadTilePicture(picture, img))
        img.SetVisible(true);
}

int FindHandTile(TableModel& m, int image)
{
    const PlayerRecord& p = m.players[0];
    for (int i = p.HandFirst; i < p.HandFirst + p.HandCount && i < 18; ++i)
        if (i >= 0 && p.Slots[static_cast<std::size_t>(i)].Image == image)
            return i;
    return -1;
}

bool HandHasTile(TableModel& m, int image) { return FindHandTile(m, image) >= 0; }

void ArrangeHand(TableModel& m, int view, int count)
{
    PlayerRecord& p = m.players[static_cast<std::size_t>(view & 3)];
    TableState& t = m.state;
    const int first = p.HandFirst;
    const int end = std::min(first + std::max(count, 0), 18); // one past the last hand slot
    auto code = [&](int i) -> int16_t& { return p.Slots[static_cast<std::size_t>(i)].TileCode; };
    auto low = [&](int i) { return code(i) & 0xFF; };
    const int16_t wild = t.WildTile;

    if (view == 0)
        for (int i = first; i < end; ++i)
            t.OldCodes[static_cast<std::size_t>(i)] = code(i);

    // A red or green dragon that is itself the wild tile stands among the
    // wild tiles, never in its own group, so no tile is counted twice.
    p.WildInHand = 0;
    p.RedInHand = 0;
    int16_t greens = 0;
    for (int i = first; i < end; ++i) {
        if (low(i) == wild)
            ++p.WildInHand;
        else if (low(i) == kRedDragon)
            ++p.RedInHand;
        else if (low(i) == kGreenDragon)
            ++greens;
    }
    if (wild != kGreenDragon)
        p.GreenInHand = greens;

    for (int i = first; i < end - 1; ++i)
        for (int j = i + 1; j < end; ++j) {
            const int si = SuitBits(code(i));
            const int sj = SuitBits(code(j));
            if (si < sj || (si == sj && Rank(code(i)) > Rank(code(j))))
                std::swap(code(i), code(j));
        }

    // Moves the group of `n` tiles matching `is` to slot `to`, keeping the
    // other tiles in their order.
    auto group = [&](int to, int n, auto is) {
        if (n <= 0)
            return;
        int16_t tile = 0;
        std::vector<int16_t> rest;
        for (int i = to; i < end; ++i) {
            if (is(i))
                tile = code(i);
            else
                rest.push_back(code(i));
        }
        int at = to;
        for (int k = 0; k < n; ++k)
            code(at++) = tile;
        for (int16_t r : rest)
            code(at++) = r;
    };
    group(first, p.WildInHand, [&](int i) { return low(i) == wild; });
    group(first + p.WildInHand, p.RedInHand, [&](int i) { return low(i) == kRedDragon; });
    if (wild != kGreenDragon)
        group(first + p.WildInHand + p.RedInHand, greens, [&](int i) { return low(i) == kGreenDragon; });

    for (int k = first; k < end; ++k) {
        int picture = TilePicIndex(view, code(k));
        if (view == 0)
            picture += 36 * kLargeFaceGroup;
        if (view == 0 && wild > 0 && code(k) == t.OldCodes[static_cast<std::size_t>(k)])
            continue;
        ShowTileImage(m, p.Slots[static_cast<std::size_t>(k)].Image, picture);
    }
}

} // namespace table
