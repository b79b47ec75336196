#include "autoplay/spectator.h"

#include "app/client.h"
#include "core/scheduler.h"
#include "protocol/operations.h"
#include "protocol/tile_code.h"
#include "results/result_forms.h"
#include "table/discard_rows.h"
#include "table/failure.h"
#include "table/geometry.h"
#include "table/indicator.h"
#include "table/tiles.h"
#include "table/wall.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/sound.h"

#include <cmath>
#include <string>

namespace autoplay {

using table::At;
using table::PlayerRecord;
using table::SlotAt;
using table::TileSlot;

namespace {

// Tile sizes of the spectator's table, in base pixels by view.
constexpr table::ViewSizes kWatchMeldSize{{{45, 56}, {45, 35}, {34, 40}, {45, 35}}};
// What a discard leaves in the working sizes once it is laid.
constexpr table::ViewSizes kAfterDiscardSize = table::kHandTileSize;

constexpr int kSlots = 18;
constexpr int kRowTiles = 4; // tiles one special-kong column holds

// Name colours of the score window once a seat has won (0x00BBGGRR).
constexpr int32_t kWinnerNameColour = 0xFF;
constexpr int32_t kLoserNameColour = 0xFF00;

// Seconds the table stands still for an enlarged discard and under a
// speech picture.
constexpr float kDiscardPause = 1.0f;
constexpr float kSpeechPause = 2.0f;

[[noreturn]] void Fail(const std::string& what) { throw table::TableFailure(what); }

void Require(bool condition, const char* what)
{
    if (!condition)
        Fail(what);
}

int ViewOf(const Client& c, uint8_t seat)
{
    if (seat != 1 && seat != 2 && seat != 4 && seat != 8)
        Fail("seat byte " + std::to_string(seat) + " names no seat");
    return table::SeatView(c.game.Players[0].SeatBit, seat);
}

void RequireTile(int tile, const char* what)
{
    if (!protocol::IsTileCode(tile & 0xFF))
        Fail(std::string(what) + ": no tile " + std::to_string(tile));
}

platform::Image& Img(Client& c, int image)
{
    table::RequireIndex(image, table::kTileImages, "tile image");
    return c.MainForm->MJ_Image[image];
}

// The image a slot holds, which must be one of the 136.
int ImageOf(const TileSlot& slot)
{
    table::RequireIndex(slot.Image, table::kTileImages, "tile image of a slot");
    return slot.Image;
}

void RequireSlots(int first, int last, const char* what)
{
    if (first < 0 || last >= kSlots || first > last + 1)
        Fail(std::string(what) + ": slots " + std::to_string(first) + "-" + std::to_string(last) + " outside 0-17");
}


int FacePicture(int view, int tile) { return table::TilePicIndex(view, tile & 0xFF); }
int FaceDownPicture(int view) { return 36 * view + table::kFaceDownBack; }
int StandingBack(int view) { return 36 * view + table::kStandingBack; }

void PlayVoice(Client& c, int view, const QString& code)
{
    window::SoundState& sound = c.window.Sound;
    if (sound.SoundOn == 0 || code.isEmpty())
        return;
    try {
        const core::UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(view)];
        window::PlayWave(c, window::VoiceFileName(c, {u.Voice1, u.Voice2, u.Sex, u.VoiceKind}, code), 0);
        window::SetWaveVolume(c, 3000);
    } catch (const std::exception&) {
        // A voice that cannot be played is left out.
    }
}

// ---- discards --------------------------------------------------------------

// The right seat's rows count their tiles in SideTiles, which has room for
// 24; a claim of its last discard takes one off again.
void RequireRightRowRoom(const table::TableState& t, int change)
{
    const int n = t.SideTileCount + change;
    if (t.SideTileCount < 0 || n < 0 || n > static_cast<int>(t.SideTiles.size()))
        Fail("the right seat's discard rows would hold " + std::to_string(n) + " tiles");
}

// ---- draws -----------------------------------------------------------------

// Places a standing back of `view` for hand slot `pos`; `q` is the slot
// count the right seat steps by.
void LayHandTile(Client& c, int view, int image, int pos, int q, float extra)
{
    const table::TableState& t = c.table;
    const PlayerRecord& p = c.game.Players[static_cast<std::size_t>(view)];
    const float sx = c.game.ScaleX;
    const auto sv = static_cast<std::size_t>(view);
    const float w = t.TileWidth[sv];
    float left = p.HandX, top = p.HandY;
    switch (view) {
    case 0: left = p.HandX + w * pos + extra; break;
    case 1:
        top = p.HandY + w * pos / 2.0f;
        left = p.HandX - 5.0f * sx * pos;
        break;
    case 2: left = p.HandX - w * pos; break;
    default:
        top = p.HandY - w * q / 2.0f;
        left = p.HandX - 5.0f * sx * q;
        break;
    }
    platform::Image& img = Img(c, image);
    img.Move(left, top, t.TileWidth[sv], t.TileHeight[sv]);
    table::ShowTileImage(c.Table(), image, StandingBack(view));
    if (view == 1)
        img.ZOrder(0);
    else if (view == 3)
        img.ZOrder(1);
}

// ---- operations ------------------------------------------------------------

struct MeldPlace {
    float left;
    float top;
};

// Where a meld tile of slot `s` lies, with the meld sizes in TileWidth and
// TileHeight.
MeldPlace MeldPlaceOf(const Client& c, int view, int s)
{
    const table::TableState& t = c.table;
    const PlayerRecord& p = c.game.Players[static_cast<std::size_t>(view)];
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;
    const float x = p.HandX, y = p.HandY;
    switch (view) {
    case 0: return {x + s * (t.TileWidth[0] - 2 * sx), y};
    case 1: return {x - 5 * sx * s, y + s * (t.TileHeight[1] - 17 * sy)};
    case 2: return {x - s * t.TileWidth[2], y};
    default: return {x - 5 * sx * s - 10 * sx, y - s * (t.TileHeight[3] - 17 * sy)};
    }
}

void LayMeldTile(Client& c, int view, int s, int picture)
{
    const auto sv = static_cast<std::size_t>(view);
    const int image = ImageOf(SlotAt(c.game.Players[sv], s));
    platform::Image& img = Img(c, image);
    const MeldPlace at = MeldPlaceOf(c, view, s);
    img.Move(at.left, at.top, c.table.TileWidth[sv], c.table.TileHeight[sv]);
    if (view == 0 || view == 1)
        img.ZOrder(0);
    else if (view == 3)
        img.ZOrder(1);
    table::ShowTileImage(c.Table(), image, picture);
}

// The speech picture (column of SpeakPicIds) and voice of an operation,
// -1 for an operation that has none.
struct Speech {
    int picture = -1;
    const char* voice = nullptr;
};

Speech SpeechOf(const Client& c, int16_t op, int16_t tile)
{
    switch (op) {
    case protocol::OpChow: return {0, window::kVoiceChow};
    case protocol::OpPong: return {1, window::kVoicePong};
    case protocol::OpExposedKong: return {2, window::kVoiceKong};
    case protocol::OpConcealedKong: return {3, window::kVoiceKong};
    case protocol::OpSpecialKong:
        if ((tile & 0xFF) == table::kRedDragon)
            return {4, window::kVoiceRedDragonKong};
        if ((tile & 0xFF) == c.table.WildTile)
            return {5, window::kVoiceWildKong};
        return {6, window::kVoiceKong};
    case protocol::OpWin: return {7, window::kVoiceWin};
    default: return {};
    }
}

// Another seat's speech picture and voice once the snapshot is complete.
// Only an operation with a picture of its own shows one and holds the table
// for two seconds; a pass or a false win goes by without either.
void Speak(Client& c, int16_t op, int view, int16_t tile)
{
    if (view == 0 || !c.game.TableSnapshotDone)
        return;
    const Speech speech = SpeechOf(c, op, tile);
    if (speech.picture < 0)
        return;
    platform::Image& speak = c.MainForm->Speak[view - 1];
    const QString& id =
        c.window.PicIds.SpeakPicIds[static_cast<std::size_t>(view)][static_cast<std::size_t>(speech.picture)];
    if (!window::LoadGifResource(id, QStringLiteral("GIF"), speak))
        return;
    speak.SetVisible(true);
    speak.ZOrder(0);
    PlayVoice(c, view, QString::fromLatin1(speech.voice));
    core::HoldDispatch(c, kSpeechPause);
    c.MainForm->Speak[view - 1].SetVisible(false);
}

// The discarder of a claimed discard gets its place back.
void TakeBackDiscardPlace(Client& c)
{
    table::TableState& t = c.table;
    PlayerRecord& d = At(c.game.Players, t.LastDiscardView, "discarder's view");
    d.NextDiscardX = t.SideDrawTile;
    d.NextDiscardY = t.SideDrawSlot;
    if (t.LastDiscardView == 3)
        --t.SideTileCount;
}

// What a claim on the last discard needs before anything moves.
void RequireClaimableDiscard(const Client& c)
{
    const table::TableState& t = c.table;
    table::RequireIndex(t.LastDiscardImage, table::kTileImages, "claimed discard image");
    table::RequireIndex(t.LastDiscardView, 4, "discarder's view");
    if (t.LastDiscardView == 3)
        RequireRightRowRoom(t, -1);
}

void ChowOrPong(Client& c, int16_t op, int view, const std::array<int16_t, 3>& tiles)
{
    table::TableState& t = c.table;
    PlayerRecord& p = c.game.Players[static_cast<std::size_t>(view)];
    const int M = p.MeldEnd, F = p.HandFirst, H = p.HandCount;
    for (int16_t tile : tiles)
        RequireTile(tile, "meld tile");
    Require(H >= 3, "a chow or pong from a hand of fewer than three tiles");
    RequireSlots(M - 2, M, "meld");
    RequireSlots(F, F + H, "hand");
    RequireClaimableDiscard(c);
    for (int k = F; k < F + 3; ++k)
        ImageOf(SlotAt(p, k));

    TakeBackDiscardPlace(c);
    SlotAt(p, M - 2) = SlotAt(p, F);
    SlotAt(p, M - 1) = SlotAt(p, F + 1);
    SlotAt(p, M).Image = t.LastDiscardImage;
    if (op == protocol::OpPong) {
        for (int i = 0; i < 3; ++i) {
            TileSlot& slot = SlotAt(p, M - 2 + i);
            slot.Kind = 3;
            slot.TileCode = tiles[static_cast<std::size_t>(i)];
        }
    }
    SlotAt(p, F + H) = SlotAt(p, F + 2);
    p.HandCount = static_cast<int16_t>(H - 2);
    p.HandFirst = static_cast<int16_t>(F + 3);
    for (int i = 2; i >= 0; --i)
        LayMeldTile(c, view, M - i, FacePicture(view, tiles[static_cast<std::size_t>(2 - i)]));
    p.MeldEnd = static_cast<int16_t>(M + 3);

    // The hand tile that moved to the end of a side hand goes to its slot's
    // place in the hand row, as a draw into that slot would lay it.
    if (view == 0)
        return;
    const int last = p.HandFirst + p.HandCount - 1;
    platform::Image& moved = Img(c, ImageOf(SlotAt(p, last)));
    const float sx = c.game.ScaleX;
    const float handWidth = table::ScaledX(c.Table(), table::kDrawnHandTileSize[static_cast<std::size_t>(view)].w);
    switch (view) {
    case 1: moved.Move(p.HandX - 5.0f * sx * last, p.HandY + handWidth * last / 2.0f); break;
    case 2: moved.Move(p.HandX - handWidth * last, moved.Top); break;
    default: moved.Move(p.HandX - 5.0f * sx * (last + 1), p.HandY - handWidth * (last + 1) / 2.0f); break;
    }
}

void ExposedOrConcealedKong(Client& c, int16_t op, int view, const std::array<int16_t, 3>& tiles)
{
    table::TableState& t = c.table;
    PlayerRecord& p = c.game.Players[static_cast<std::size_t>(view)];
    const int M = p.MeldEnd, F = p.HandFirst, H = p.HandCount;
    const bool exposed = op == protocol::OpExposedKong;
    RequireTile(tiles[2], "kong tile");
    if (exposed)
        for (int16_t tile : tiles)
            RequireTile(tile, "kong tile");
    Require(H >= (exposed ? 3 : 4), "a kong from a hand without its tiles");
    RequireSlots(M - 2, M, "meld");
    RequireSlots(F, F + H - 1, "hand");
    for (int k = F; k < F + 3; ++k)
        ImageOf(SlotAt(p, k));
    if (exposed)
        RequireClaimableDiscard(c);
    else
        ImageOf(SlotAt(p, F + H - 1));

    t.DrawFromHead = 0;
    if (exposed)
        TakeBackDiscardPlace(c);
    SlotAt(p, M) = SlotAt(p, F);
    SlotAt(p, M - 1) = SlotAt(p, F + 1);
    SlotAt(p, M - 2) = SlotAt(p, F + 2);
    if (!exposed)
        t.LastDiscardImage = SlotAt(p, F + H - 1).Image;
    const int fourth = t.LastDiscardImage;
    platform::Image& top = Img(c, fourth);
    top.ZOrder(0);
    p.HandCount = static_cast<int16_t>(H - 3);
    p.HandFirst = static_cast<int16_t>(F + 3);

    const auto sv = static_cast<std::size_t>(view);
    for (int i = 2; i >= 0; --i) {
        const int picture = !exposed   ? FaceDownPicture(view)
                            : view == 0 ? FacePicture(0, tiles[2])
                                        : FacePicture(view, tiles[static_cast<std::size_t>(2 - i)]);
        LayMeldTile(c, view, M - i, picture);
    }

    // The fourth tile lies on the middle one.
    const float sy = c.game.ScaleY;
    const platform::Image& middle = Img(c, ImageOf(SlotAt(p, M - 1)));
    float left = middle.Left, upper = p.HandY - 18 * sy;
    if (view == 1 || view == 3)
        upper = middle.Top - 18 * sy;
    else if (view == 2)
        left = p.HandX - (M - 1) * t.TileWidth[2];
    top.Move(left, upper, t.TileWidth[sv], t.TileHeight[sv]);
    if (view == 1 || view == 3)
        top.ZOrder(0);
    table::ShowTileImage(c.Table(), fourth,
                         exposed || view == 0 ? FacePicture(view, tiles[2]) : FaceDownPicture(view));
    if (!exposed)
        p.HandCount = static_cast<int16_t>(p.HandCount - 1);
    p.MeldEnd = static_cast<int16_t>(M + 3);
}

void SingleTileKong(Client& c, int view, const std::array<int16_t, 3>& tiles)
{
    table::TableState& t = c.table;
    GameState& g = c.game;
    const auto sv = static_cast<std::size_t>(view);
    PlayerRecord& p = g.Players[sv];
    const int M = p.MeldEnd, F = p.HandFirst, H = p.HandCount;
    const int16_t tile = static_cast<int16_t>(tiles[2] & 0xFF);
    RequireTile(tile, "single-tile kong tile");
    Require(H >= 1, "a single-tile kong from an empty hand");
    RequireSlots(M - 2, M - 2, "single-tile kong");
    RequireSlots(F, F + H - 1, "hand");
    ImageOf(SlotAt(p, F + H - 1));
    const bool red = tile == table::kRedDragon;
    const bool green = tile == table::kGreenDragon && tile != t.WildTile;
    const bool wild = !red && tile == t.WildTile;
    const int16_t& laidBefore = red ? p.RedLaid : green ? p.GreenLaid : p.WildLaid;
    if ((red || green || wild) && (laidBefore < 0 || laidBefore >= kRowTiles))
        Fail("a fifth tile for a special-kong column");

    t.DrawFromHead = 0;
    SlotAt(p, M - 2) = SlotAt(p, F + H - 1);
    const int image = SlotAt(p, M - 2).Image;
    platform::Image& img = Img(c, image);
    img.ZOrder(0);
    img.Move(img.Left, img.Top, t.TileWidth[sv], t.TileHeight[sv]);
    p.HandCount = static_cast<int16_t>(H - 1);
    if (red && p.RedLaid == 0)
        SlotAt(p, 0) = SlotAt(p, M - 2);

    const float sx = g.ScaleX, sy = g.ScaleY;
    const float x = p.HandX, y = p.HandY;
    const float w = t.TileWidth[sv], h = t.TileHeight[sv];
    if (red || wild || green) {
        // Red dragons, wild tiles and green dragons stand in three columns,
        // each growing upwards by 18 pixels a tile.
        const int col = red ? 0 : wild ? 1 : 2;
        int16_t& count = red ? p.RedLaid : wild ? p.WildLaid : p.GreenLaid;
        const float up = 18.0f * count * sy;
        float left = x, upper = y - up;
        switch (view) {
        case 0: left = col == 0 ? x : x + col * (w - 2); break;
        case 1:
            left = x - 5 * sx * col;
            upper = y + col * (h - 17 * sy) - up;
            break;
        case 2: left = x - col * w; break;
        default:
            left = x - 10 * sx - 5 * sx * col;
            upper = col == 0 ? y - up : y - col * (h - 17) - up;
            break;
        }
        img.Move(left, upper);
        if (view != 2)
            At(g.LaidTileImages[sv], (red ? 0 : wild ? 4 : 8) + count, "laid tile") = static_cast<int16_t>(image);
        count = static_cast<int16_t>(count + 1);
        if (view == 1)
            img.ZOrder(1);
        else if (view == 3)
            img.ZOrder(0);
        table::ShowTileImage(c.Table(), image, FacePicture(view, tile));
        return;
    }

    // The fourth tile of a pong goes on top of it.
    for (int s = 2; s <= M - 5; s += 3) {
        const TileSlot& first = SlotAt(p, s);
        if (first.Kind != 3 || (first.TileCode & 0xFF) != tile)
            continue;
        float left = x, upper = y - 18 * sy;
        switch (view) {
        case 0: left = x + (s + 1) * (t.TileWidth[0] - 2 * sx); break;
        case 1:
            left = x - 5 * sx * (s + 1);
            upper = y + (s + 1) * (t.TileHeight[1] - 17 * sy) - 17 * sy;
            break;
        case 2: left = x - (s + 1) * t.TileWidth[2]; break;
        default:
            left = Img(c, ImageOf(SlotAt(p, s + 1))).Left;
            upper = y - (s + 1) * (t.TileHeight[3] - 17 * sy) - 17 * sy;
            break;
        }
        img.Move(left, upper);
        table::ShowTileImage(c.Table(), image, FacePicture(view, tile));
        return;
    }
    // No pong of that tile: it has no place on the table, and is not left
    // standing where the hand ended.
    img.SetVisible(false);
}

void MarkWinner(Client& c, int view)
{
    GameState& g = c.game;
    if (g.WinnerView >= 0)
        return;
    results::ScoreForm& score = *c.Score;
    for (int i = 0; i < 4; ++i)
        score.ID[i].ForeColor = kLoserNameColour;
    g.WinnerView = static_cast<int16_t>(view);
    score.ID[view].ForeColor = kWinnerNameColour;
    for (int i = 0; i < 4; ++i)
        score.ID[i].Refresh();
}

// The side seats' hand tiles overlap: they are laid again in slot order.
void RestackSideHand(Client& c, int view)
{
    if (view != 1 && view != 3)
        return;
    PlayerRecord& p = c.game.Players[static_cast<std::size_t>(view)];
    RequireSlots(p.HandFirst, p.HandFirst + p.HandCount - 1, "hand");
    for (int k = p.HandFirst; k < p.HandFirst + p.HandCount; ++k)
        Img(c, ImageOf(SlotAt(p, k))).SetVisible(false);
    for (int k = p.HandFirst; k < p.HandFirst + p.HandCount; ++k) {
        platform::Image& img = Img(c, ImageOf(SlotAt(p, k)));
        img.SetVisible(true);
        img.ZOrder(view == 1 ? 0 : 1);
    }
}

// After a single-tile kong of a side seat, the special-kong columns over
// the hand.
void RestackSpecialColumns(Client& c, int view)
{
    PlayerRecord& p = c.game.Players[static_cast<std::size_t>(view)];
    auto& laid = c.game.LaidTileImages[static_cast<std::size_t>(view)];
    auto order = [&](int k, int position) { Img(c, At(laid, k, "laid tile")).ZOrder(position); };
    if (view == 1) {
        if (p.Slots[1].Image >= 0)
            Img(c, p.Slots[1].Image).ZOrder(1);
        for (int k = 1; k < p.WildLaid; ++k)
            order(4 + k, 0);
        if (p.Slots[0].Image >= 0) {
            for (int k = 0; k < p.RedLaid; ++k)
                order(k, 1);
            for (int k = p.WildLaid; k < p.RedLaid; ++k)
                order(k, 0);
        }
        for (int k = 0; k < p.GreenLaid; ++k)
            order(8 + k, 0);
    } else if (view == 3) {
        for (int k = 0; k < p.WildLaid; ++k)
            order(4 + k, 0);
        for (int k = 0; k < p.RedLaid; ++k)
            order(k, 0);
        for (int k = 0; k < p.GreenLaid; ++k)
            order(8 + k, 0);
    }
}

} // namespace

void WatchOnTilesDrawn(Client& c, uint8_t seat, uint8_t count, std::array<int16_t, 4>& data)
{
    table::RunOrEnd([&] {
        GameState& g = c.game;
        table::TableState& t = c.table;
        const int view = ViewOf(c, seat);
        table::SetTileSizes(c.Table(), table::kDrawnHandTileSize);
        PlayerRecord& p = g.Players[static_cast<std::size_t>(view)];
        const bool deal = count != 1;
        const bool fromHead = deal || t.DrawFromHead != 0;
        const int laid = view == 0 && deal ? 4 : fromHead ? count : 1;
        int pos = p.HandFirst + p.HandCount;
        Require(p.HandCount >= 0, "a hand of fewer than no tiles");
        RequireSlots(pos, pos + laid - 1, "drawn tiles");
        p.HandCount = static_cast<int16_t>(p.HandCount + count);

        const float gap = view == 0 ? t.TileWidth[0] / 2.0f : 0.0f;
        if (view == 0 && !deal && t.WildTile > 0) {
            // The hand pulled back into line before the new tile stands apart.
            for (int k = p.HandFirst; k < pos; ++k)
                Img(c, ImageOf(SlotAt(p, k))).Move(p.HandX + t.TileWidth[0] * k, p.HandY);
        }
        for (int i = 0; i < laid; ++i) {
            const int image = fromHead ? t.WallHead : t.WallTail;
            table::RequireIndex(image, table::kTileImages, fromHead ? "wall head" : "wall tail");
            TileSlot& slot = SlotAt(p, pos);
            if (view == 0) {
                int16_t& code = data[static_cast<std::size_t>(deal ? i : 3)];
                code = static_cast<int16_t>(code & 0xFF);
                slot.TileCode = code;
                code = static_cast<int16_t>(9 * table::SuitIndex(code) + table::Rank(code) - 1);
            }
            slot.Kind = 1;
            slot.Image = static_cast<int16_t>(image);
            const float extra = view == 0 && !deal && (!fromHead || t.WildTile > 0) ? gap : 0.0f;
            LayHandTile(c, view, image, pos, fromHead ? pos + 1 : pos, extra);
            if (fromHead) {
                t.WallHead = static_cast<int16_t>((t.WallHead + 1) % table::kTileImages);
            } else {
                t.WallTail = table::NextWallTail(t.WallTail);
                table::ShowPiZiTile(c.Table());
            }
            ++pos;
        }
        if (view == 1) {
            const PlayerRecord& own = g.Players[0];
            for (int k = 0; k < own.WildLaid && k < kRowTiles; ++k)
                Img(c, g.LaidTileImages[0][static_cast<std::size_t>(4 + k)]).ZOrder(0);
        }
        t.DrawFromHead = -1;
    });
}

void WatchOnTileDiscarded(Client& c, uint8_t seat, int16_t tile, int16_t)
{
    table::RunOrEnd([&] {
        GameState& g = c.game;
        table::TableState& t = c.table;
        t.LastDiscardTile = tile;
        const int view = ViewOf(c, seat);
        const auto sv = static_cast<std::size_t>(view);
        PlayerRecord& p = g.Players[sv];
        if (p.HandCount < 1) {
            // The seat holds no tile here to discard: nothing is laid, and
            // there is no discard for a claim to take.
            t.LastDiscardView = static_cast<int16_t>(view);
            t.LastDiscardImage = -1;
            return;
        }
        RequireTile(tile, "discarded tile");
        const int last = p.HandFirst + p.HandCount - 1;
        RequireSlots(p.HandFirst, last, "hand");
        const int image = ImageOf(SlotAt(p, last));
        if (view == 3)
            RequireRightRowRoom(t, 1);

        PlayVoice(c, view, window::TileVoiceCode(tile));
        t.LastDiscardView = static_cast<int16_t>(view);
        const int16_t w = table::ScaledX(c.Table(), table::kWallTileSize[sv].w);
        const int16_t h = table::ScaledY(c.Table(), table::kWallTileSize[sv].h);
        t.TileWidth[sv] = w;
        t.TileHeight[sv] = h;
        t.LastDiscardImage = static_cast<int16_t>(image);
        table::ShowTileImage(c.Table(), image, FacePicture(view, tile));
        platform::Image& img = Img(c, image);
        const int order = view == 1 || view == 2 ? 0 : 1;

        if (g.TableSnapshotDone) {
            // The discard in large in the middle of the table for a moment.
            const QSize table = c.MainForm->TableSize();
            const float bigW = w * 1.2f, bigH = h * 1.2f;
            img.Move((table.width() - bigW) / 2, (table.height() - bigH) / 2, bigW, bigH);
            img.ZOrder(order);
            core::HoldDispatch(c, kDiscardPause);
        }

        img.Move(p.NextDiscardX, p.NextDiscardY, w, h);
        img.ZOrder(order);
        if (view == 3)
            table::RecordRightRowTile(c.Table(), image);
        t.SideDrawTile = p.NextDiscardX;
        t.SideDrawSlot = p.NextDiscardY;
        table::AdvanceDiscardPlace(c.Table(), view, w, h);
        t.TileWidth[sv] = table::ScaledX(c.Table(), kAfterDiscardSize[sv].w);
        t.TileHeight[sv] = table::ScaledY(c.Table(), kAfterDiscardSize[sv].h);
        p.HandCount = static_cast<int16_t>(p.HandCount - 1);
        if (t.PiZiImage >= 0 && t.PiZiImage < table::kTileImages)
            c.MainForm->MJ_Image[t.PiZiImage].ZOrder(0);
    });
}

void WatchOnOperation(Client& c, int16_t op, uint8_t seat, std::array<int16_t, 3>& tiles)
{
    table::SetTileSizes(c.Table(), kWatchMeldSize);
    table::RunOrEnd([&] {
        const int view = ViewOf(c, seat);
        Speak(c, op, view, tiles[2]);
        switch (op) {
        case protocol::OpChow:
        case protocol::OpPong:
            ChowOrPong(c, op, view, tiles);
            break;
        case protocol::OpExposedKong:
        case protocol::OpConcealedKong:
            ExposedOrConcealedKong(c, op, view, tiles);
            break;
        case protocol::OpSpecialKong:
            SingleTileKong(c, view, tiles);
            break;
        case protocol::OpWin:
            MarkWinner(c, view);
            break;
        default:
            break;
        }
        RestackSideHand(c, view);
        if (op == protocol::OpSpecialKong && (view == 1 || view == 3))
            RestackSpecialColumns(c, view);
    });
}

} // namespace autoplay
