#include "table/wall.h"

#include "table/discard_rows.h"
#include "table/failure.h"
#include "table/indicator.h"
#include "table/model.h"
#include "table/tiles.h"
#include "table/utilities.h"

namespace table {

namespace {

// The picture offset of a tile inside a group of 36.
int16_t FaceOffset(int code) { return static_cast<int16_t>(9 * SuitIndex(code) + Rank(code) - 1); }

// Where slot s of another seat's hand stands.
void PlaceOtherHandTile(TableModel& m, int v, int s, platform::Image& img)
{
    const PlayerRecord& p = m.players[static_cast<std::size_t>(v)];
    const float sx = m.scaleX;
    const float w = m.state.TileWidth[static_cast<std::size_t>(v)];
    const float h = m.state.TileHeight[static_cast<std::size_t>(v)];
    float left = 0;
    float top = 0;
    switch (v) {
    case 1:
        left = p.HandX - 5 * sx * s;
        top = p.HandY + w * s / 2;
        break;
    case 2:
        left = p.HandX - s * w;
        top = p.HandY;
        break;
    default:
        left = p.HandX - 5 * sx * (s + 1);
        top = p.HandY - w * (s + 1) / 2;
        break;
    }
    img.Move(left, top, w, h);
}

// Moves a just-drawn tile of another seat a little away from its hand.
void SetOtherTileApart(TableModel& m, int v, platform::Image& img)
{
    if (v == 1)
        img.Move(img.Left, img.Top + 10 * m.scaleY);
    else if (v == 2)
        img.Move(img.Left - 10 * m.scaleX, img.Top);
    else
        img.Move(img.Left, img.Top - 10 * m.scaleY);
}

void ShowOtherHandTile(TableModel& m, int v, int image)
{
    ShowTileImage(m, image, 36 * v + kStandingBack);
    if (v == 1)
        m.board.MJ_Image[image].ZOrder(0);
    else if (v == 3)
        m.board.MJ_Image[image].ZOrder(1);
}

void DrawLocal(TableModel& m, int s, uint8_t count, std::array<int16_t, 4>& data)
{
    TableState& t = m.state;
    PlayerRecord& p = m.players[0];
    auto& img = m.board.MJ_Image;
    const float w = t.TileWidth[0];
    const float h = t.TileHeight[0];

    if (count != 1) {
        for (int i = 0; i < count; ++i) {
            const int16_t code = static_cast<int16_t>(At(data, i, "deal tile") & 0xFF);
            TileSlot& slot = SlotAt(p, s);
            slot.TileCode = code;
            slot.Kind = 1;
            slot.Image = t.WallHead;
            data[static_cast<std::size_t>(i)] = FaceOffset(code);
            ShowTileImage(m, t.WallHead, data[static_cast<std::size_t>(i)] + 36 * kLargeFaceGroup);
            img[t.WallHead].Move(p.HandX + s * w, p.HandY, w, h);
            t.WallHead = static_cast<int16_t>((t.WallHead + 1) % kTileImages);
            ++s;
        }
        return;
    }

    if (t.WildTile > 0) {
        // Lower a tile the pointer had raised: every tile back on its row.
        for (int j = p.HandFirst; j <= p.HandFirst + p.HandCount - 2; ++j)
            img[SlotAt(p, j).Image].Move(p.HandX + j * w, p.HandY);
        if (t.DrawFromHead == 0)
            ArrangeHand(m, 0, p.HandCount - 1);
    }
    const int16_t code = static_cast<int16_t>(data[3] & 0xFF);
    TileSlot& slot = SlotAt(p, s);
    slot.TileCode = code;
    slot.Kind = 1;
    data[3] = FaceOffset(code);
    if (t.DrawFromHead != 0) {
        slot.Image = t.WallHead;
        ShowTileImage(m, t.WallHead, data[3] + 36 * kLargeFaceGroup);
        platform::Image& drawn = img[t.WallHead];
        drawn.Move(p.HandX + s * w + (t.WildTile > 0 ? w / 2 : 0), p.HandY, w, h);
        t.WallHead = static_cast<int16_t>((t.WallHead + 1) % kTileImages);
    } else {
        slot.Image = t.WallTail;
        ShowTileImage(m, t.WallTail, data[3] + 36 * kLargeFaceGroup);
        img[t.WallTail].Move(p.HandX + s * w + w / 2, p.HandY, w, h);
        t.WallTail = NextWallTail(t.WallTail);
        ShowPiZiTile(m);
    }
    t.LastDrawnImage = slot.Image;

    // The deal is complete: show the hand face down for a moment, then sort
    // it face up.
    if ((t.WildTile < 0 && p.HandCount == 14) || (p.HandCount == 13 && p.BankerMark == 0)) {
        for (int k = p.HandFirst; k < p.HandFirst + p.HandCount; ++k)
            ShowTileImage(m, SlotAt(p, k).Image, kStandingBack);
        SleepSeconds(m.clock, 1.0f);
        ArrangeHand(m, 0, p.HandCount);
    }
}

void DrawOther(TableModel& m, int v, int s, uint8_t count)
{
    TableState& t = m.state;
    PlayerRecord& p = m.players[static_cast<std::size_t>(v)];
    auto& img = m.board.MJ_Image;

    if (count != 1 || t.DrawFromHead != 0) {
        for (int i = 0; i < count; ++i) {
            const int16_t w = t.WallHead;
            TileSlot& slot = SlotAt(p, s);
            platform::Image& tile = img[w];
            PlaceOtherHandTile(m, v, s, tile);
            if (count == 1 && (t.WildTile > 0 || (t.WildTile < 1 && p.HandCount == 14)))
                SetOtherTileApart(m, v, tile);
            ShowOtherHandTile(m, v, w);
            slot.Image = w;
            slot.Kind = 1;
            t.WallHead = static_cast<int16_t>((t.WallHead + 1) % kTileImages);
            ++s;
        }
    } else {
        const int16_t w = t.WallTail;
        TileSlot& slot = SlotAt(p, s);
        platform::Image& tile = img[w];
        PlaceOtherHandTile(m, v, s, tile);
        SetOtherTileApart(m, v, tile);
        ShowOtherHandTile(m, v, w);
        slot.Image = w;
        slot.Kind = 1;
        t.WallTail = NextWallTail(t.WallTail);
        ShowPiZiTile(m);
    }
    if (v == 1)
        RaiseOwnSpecialKongRow(m);
}

} // namespace

void RaiseOwnSpecialKongRow(TableModel& m)
{
    const PlayerRecord& own = m.players[0];
    auto& laid = m.laid[0];
    auto& img = m.board.MJ_Image;
    for (int k = 0; k < own.WildLaid; ++k)
        img[At(laid, 4 + k, "laid tile")].ZOrder(0);
    for (int k = 0; k < own.RedLaid; ++k)
        img[At(laid, k, "laid tile")].ZOrder(0);
    for (int k = 0; k < own.GreenLaid; ++k)
        img[At(laid, 8 + k, "laid tile")].ZOrder(0);
}

void OnTilesDrawn(TableModel& m, uint8_t seat, uint8_t count, std::array<int16_t, 4>& data)
{
    TableState& t = m.state;
    LayLastDiscard(m, seat, count);
    t.DrawSkipsDiscardRow = 0;
    const int v = SeatView(m.players[0].SeatBit, seat);
    SetTileSizes(m, kDrawnHandTileSize);

    RunOrEnd([&] {
        if (count > 4)
            throw IndexFault("a draw of more than four tiles");
        PlayerRecord& p = m.players[static_cast<std::size_t>(v)];
        const int s = p.HandFirst + p.HandCount;
        p.HandCount = static_cast<int16_t>(p.HandCount + count);
        if (v == 0)
            DrawLocal(m, s, count, data);
        else
            DrawOther(m, v, s, count);
        t.DrawFromHead = -1;
    });
}

} // namespace table
