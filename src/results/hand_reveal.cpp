#include "results/hand_reveal.h"

#include "app/client.h"
#include "protocol/tile_code.h"
#include "table/failure.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace results {

namespace {

using table::SlotAt;

// The most tiles of one seat that the layout counts as turned up.
constexpr int kMostTurnedUp = 14;

platform::Image& TileImage(Client& c, int image)
{
    table::RequireIndex(image, table::kTileImages, "tile image");
    return c.MainForm->MJ_Image[image];
}

// The face of a tile in a group of pictures; a value that is no tile has
// no face and is refused.
int FaceOf(int group, int code, const char* what)
{
    if (!protocol::IsTileCode(code & 0xFF))
        throw std::invalid_argument(std::string(what) + " " + std::to_string(code) + " is no tile");
    return table::TilePicIndex(group, code & 0xFF);
}

// How many tiles of a seat have been turned up this hand (at most 14).
int TurnedUp(const GameState& g, int view)
{
    const auto& revealed = g.RevealedTiles[static_cast<std::size_t>(view)];
    int j = 0;
    while (j < kMostTurnedUp && revealed[static_cast<std::size_t>(j)].Code != 0)
        ++j;
    return j;
}

bool NothingTurnedUp(const GameState& g)
{
    for (int w = 1; w <= 3; ++w)
        if (g.RevealedTiles[static_cast<std::size_t>(w)][0].Code != 0)
            return false;
    return true;
}

bool AllHandsTurnedUp(const GameState& g)
{
    for (int w = 1; w <= 3; ++w)
        if (g.Players[static_cast<std::size_t>(w)].HandCount != 0)
            return false;
    return true;
}

// The local hand: the small faces its discards use. A spectator's watched
// hand is sorted and redrawn at the turned-up size.
void LayOutLocalHand(Client& c)
{
    GameState& g = c.game;
    table::PlayerRecord& p = g.Players[0];
    const int end = p.HandFirst + p.HandCount;
    if (!g.WatchMode) {
        for (int s = p.HandFirst; s < end; ++s) {
            const table::TileSlot& slot = SlotAt(p, s);
            TileImage(c, slot.Image);
            table::ShowTileImage(c.Table(), slot.Image, FaceOf(0, slot.TileCode, "local hand tile"));
        }
        return;
    }
    table::ArrangeHand(c.Table(), 0, p.HandCount);
    for (int s = p.HandFirst; s < end; ++s) {
        platform::Image& img = TileImage(c, SlotAt(p, s).Image);
        img.Move(img.Left, img.Top, c.table.TileWidth[0], c.table.TileHeight[0]);
    }
}

// Another seat's turned-up hand: sorted and face up, the last tile received
// at its end, and the last discard beside a winning hand of 3m + 1 tiles.
void LayOutOtherHand(Client& c, int w)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    table::PlayerRecord& p = g.Players[static_cast<std::size_t>(w)];
    const int j = TurnedUp(g, w);
    if (j == 0)
        return; // nothing of this hand came
    const int first = p.HandFirst;
    const int lastSlot = first + j - 1;
    SlotAt(p, first);
    const table::TileSlot& last = SlotAt(p, lastSlot);
    TileImage(c, last.Image);
    table::ShowTileImage(c.Table(), last.Image, FaceOf(w, last.TileCode, "turned-up tile"));
    table::ArrangeHand(c.Table(), w, j - 1);

    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;
    const float tw = t.TileWidth[static_cast<std::size_t>(w)];
    const float th = t.TileHeight[static_cast<std::size_t>(w)];
    for (int s = first; s <= lastSlot; ++s) {
        platform::Image& img = TileImage(c, SlotAt(p, s).Image);
        switch (w) {
        case 1:
            img.Move(img.Left, img.Top + 20 * sy, tw, th);
            break;
        case 2:
            img.Move(img.Left, img.Top, tw, th);
            break;
        default:
            img.Move(img.Left - 5 * sx, img.Top - 10 * sy, tw, th);
            break;
        }
    }

    if (w != g.WinnerView || (j - 2) % 3 == 0)
        return;
    // The winner holds 3m + 1 tiles: the winning discard lies beside them.
    platform::Image& discard = TileImage(c, t.LastDiscardImage);
    const int face = FaceOf(w, t.LastDiscardTile, "last discard");
    table::ShowTileImage(c.Table(), t.LastDiscardImage, face);
    const platform::Image& end = TileImage(c, last.Image);
    switch (w) {
    case 1:
        discard.Move(end.Left - 5 * sx, end.Top + th - 13 * sy, tw, th);
        discard.ZOrder(0);
        break;
    case 2:
        discard.Move(p.HandX - (first + j) * tw - 5 * sx, p.HandY, tw, th);
        break;
    default:
        discard.Move(end.Left - 5 * sx, end.Top - th + 13 * sy, tw, th);
        discard.ZOrder(1);
        break;
    }
}

} // namespace

void RevealSeatHand(Client& c, int16_t seatBits, std::array<int16_t, 4>& data)
{
    GameState& g = c.game;
    const int v = table::SeatView(g.Players[0].SeatBit, static_cast<uint8_t>(seatBits));
    table::SetTileSizes(c.Table(), table::kRevealTileSize);
    if (v == 0)
        return;
    // The first tiles since the seats were reset belong to a new hand, even
    // one restored from a snapshot without a hand start.
    if (NothingTurnedUp(g))
        c.results.RevealLaidOut = false;

    table::PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
    auto& revealed = g.RevealedTiles[static_cast<std::size_t>(v)];
    int at = 0;
    while (at < kMostTurnedUp && revealed[static_cast<std::size_t>(at)].Code != 0)
        ++at;
    const int count = std::clamp<int>(p.HandCount, 0, 4);
    for (int n = 0; n < count; ++n)
        FaceOf(v, data[static_cast<std::size_t>(3 - n)], "turned-up tile");
    for (int n = 0; n < count; ++n) {
        table::RequireIndex(at, static_cast<int>(revealed.size()), "turned-up tile");
        table::TileSlot& s = SlotAt(p, p.HandFirst + at);
        const int16_t code = data[static_cast<std::size_t>(3 - n)];
        s.TileCode = code;
        revealed[static_cast<std::size_t>(at)] = {code, s.Image, 1};
        // Each tile shows its face as it arrives; the final layout sorts them.
        if (s.Image >= 0 && s.Image < table::kTileImages) {
            platform::Image& img = c.MainForm->MJ_Image[s.Image];
            img.Move(img.Left, img.Top, c.table.TileWidth[static_cast<std::size_t>(v)],
                     c.table.TileHeight[static_cast<std::size_t>(v)]);
            table::ShowTileImage(c.Table(), s.Image, table::TilePicIndex(v, code));
        }
        --p.HandCount;
        ++at;
    }

    // The end of the hand is laid out once, when the last hidden tile came.
    if (c.results.RevealLaidOut || !AllHandsTurnedUp(g))
        return;
    c.results.RevealLaidOut = true;
    LayOutLocalHand(c);
    for (int w = 1; w <= 3; ++w)
        LayOutOtherHand(c, w);
}

} // namespace results
