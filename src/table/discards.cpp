#include "table/discards.h"

#include "app/client.h"
#include "table/failure.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "table/utilities.h"
#include "table/wall.h"
#include "window/main_form.h"
#include "window/sound.h"

namespace table {

namespace {

void SpeakTile(Client& c, int v, int16_t tile)
{
    if (c.window.Sound.SoundOn == 0)
        return;
    try {
        const core::UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(v)];
        const window::SeatVoice voice{u.Voice1, u.Voice2, u.Sex, u.VoiceKind};
        window::PlayWave(c, window::VoiceFileName(c, voice, window::TileVoiceCode(tile)), 0);
    } catch (const std::exception&) {
        // A voice that cannot be played is left out; the discard goes on.
    }
}

// Puts a local hand slot's image back at its place in the row; a tile that
// the tile input had marked as leaving gets its face back.
void RelayOwnSlot(Client& c, int j)
{
    PlayerRecord& p = c.game.Players[0];
    const TileSlot& slot = SlotAt(p, j);
    platform::Image& img = c.MainForm->MJ_Image[slot.Image];
    const float w = c.table.TileWidth[0];
    img.Move(p.HandX + j * w, p.HandY, w, c.table.TileHeight[0]);
    if (!img.Tag.isEmpty()) {
        ShowTileImage(c, slot.Image, TilePicIndex(kLargeFaceGroup, slot.TileCode));
        img.Tag.clear();
    }
}

void DiscardOwn(Client& c, int16_t tile)
{
    TableState& t = c.table;
    PlayerRecord& p = c.game.Players[0];
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
    t.TileWidth[0] = ScaledX(c, kWallTileSize[0].w);
    t.TileHeight[0] = ScaledY(c, kWallTileSize[0].h);
    ShowTileImage(c, t.LastDiscardImage, TilePicIndex(0, tile));
    platform::Image& img = c.MainForm->MJ_Image[t.LastDiscardImage];
    const float w = t.TileWidth[0];
    const float hgt = t.TileHeight[0];
    img.Move((c.MainForm->pic1->width() - w) / 2, (c.MainForm->pic1->height() - hgt) / 2, w, hgt);
    img.ZOrder(1);
    t.TileWidth[0] = ScaledX(c, kDrawnHandTileSize[0].w);
    t.TileHeight[0] = ScaledY(c, kDrawnHandTileSize[0].h);

    const int last = p.HandFirst + p.HandCount - 1;
    for (int j = h; j <= last - 1; ++j) {
        SlotAt(p, j) = SlotAt(p, j + 1);
        RelayOwnSlot(c, j);
    }
    for (int j = p.HandFirst; j < h; ++j)
        RelayOwnSlot(c, j);
    ArrangeHand(c, 0, p.HandCount - 1);
    --p.HandCount;
}

void DiscardOther(Client& c, int v, int16_t tile, const int16_t& flag)
{
    TableState& t = c.table;
    PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
    auto& images = c.MainForm->MJ_Image;
    t.TileWidth[static_cast<std::size_t>(v)] = ScaledX(c, kWallTileSize[static_cast<std::size_t>(v)].w);
    t.TileHeight[static_cast<std::size_t>(v)] = ScaledY(c, kWallTileSize[static_cast<std::size_t>(v)].h);
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
        ShowTileImage(c, t.LastDiscardImage, picture);
        slot.Image = drawn;
    } else {
        t.LastDiscardImage = SlotAt(p, lastSlot).Image;
        ShowTileImage(c, t.LastDiscardImage, picture);
    }
    platform::Image& img = images[t.LastDiscardImage];
    img.Move((c.MainForm->pic1->width() - img.Width) / 2, (c.MainForm->pic1->height() - img.Height) / 2,
             t.TileWidth[static_cast<std::size_t>(v)], t.TileHeight[static_cast<std::size_t>(v)]);
    img.ZOrder(v == 3 ? 1 : 0);
    --p.HandCount;

    WaitMs(c, 300);

    if (chosen < 0)
        return;
    images[drawn].Move(keptLeft, keptTop, keptWidth, keptHeight);
    if (v == 1) {
        for (int k = p.HandFirst; k < p.HandFirst + p.HandCount; ++k)
            images[SlotAt(p, k).Image].ZOrder(0);
        RaiseOwnSpecialKongRow(c);
    } else if (v == 3) {
        for (int k = p.HandFirst; k < p.HandFirst + p.HandCount; ++k)
            images[SlotAt(p, k).Image].ZOrder(1);
    }
}

} // namespace

void OnTileDiscarded(Client& c, uint8_t seat, int16_t tile, int16_t, const int16_t& flag)
{
    TableState& t = c.table;
    t.LastDiscardTile = tile;
    const int v = SeatView(c.game.Players[0].SeatBit, seat);
    SpeakTile(c, v, tile);
    t.LastDiscardView = static_cast<int16_t>(v);

    RunOrEnd([&] {
        if (v == 0)
            DiscardOwn(c, tile);
        else
            DiscardOther(c, v, tile, flag);
        c.MainForm->MJ_Image[t.PiZiImage].ZOrder(0);
    });
}

} // namespace table
