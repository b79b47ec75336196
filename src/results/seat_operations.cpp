#include "results/seat_operations.h"

#include "app/client.h"
#include "protocol/operations.h"
#include "protocol/tile_code.h"
#include "results/result_forms.h"
#include "table/claims.h"
#include "table/failure.h"
#include "table/geometry.h"
#include "table/melds.h"
#include "table/special_kongs.h"
#include "table/tiles.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/sound.h"

#include <stdexcept>

namespace results {

using table::At;
using table::PlayerRecord;
using table::SlotAt;

namespace {

// Name colours of the score window once a seat has won (0x00BBGGRR).
constexpr int32_t kWinnerNameColour = 255;  // red
constexpr int32_t kLoserNameColour = 65280; // green
// The local player's tile size once it has won, in base pixels.
constexpr table::TileSize kWinningTileSize{48, 78};

// The speech picture (SpeakPicIds column) and voice of an operation.
struct Speech {
    int picture = -1;
    const char* voice = nullptr;
    bool ownVoice = false; // the local player hears it too
};

Speech SpeechOf(const Client& c, int16_t op, const std::array<int16_t, 3>& tiles)
{
    switch (op) {
    case protocol::OpChow:
        return {0, window::kVoiceChow, false};
    case protocol::OpPong:
        return {1, window::kVoicePong, false};
    case protocol::OpExposedKong:
        return {2, window::kVoiceKong, true};
    case protocol::OpConcealedKong:
        return {3, window::kVoiceKong, true};
    case protocol::OpSpecialKong: {
        const int rank = tiles[2] & 15;
        const int suit = (tiles[2] / 16) & 15;
        if (rank == 5 && suit == 1)
            return {4, window::kVoiceRedDragonKong, true};
        if (rank == 6 && suit == 1)
            return {8, window::kVoiceKong, true};
        if (tiles[2] == c.table.WildTile)
            return {5, window::kVoiceWildKong, true};
        return {6, window::kVoiceKong, true};
    }
    case protocol::OpWin:
        return {7, window::kVoiceWin, false};
    default:
        return {};
    }
}

// Runs a step whose failure only leaves it out.
template <typename Step>
void TryStep(Step&& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

void SpeakOperation(Client& c, int16_t op, int v, const std::array<int16_t, 3>& tiles)
{
    const Speech speech = SpeechOf(c, op, tiles);
    window::MainForm& f = *c.MainForm;
    window::SoundState& sound = c.window.Sound;
    auto voiceName = [&]() -> QString {
        if (!speech.voice)
            return QString();
        const core::UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(v)];
        return window::VoiceFileName(c, {u.Voice1, u.Voice2, u.Sex, u.VoiceKind}, QString::fromLatin1(speech.voice));
    };
    auto loadPicture = [&] {
        if (speech.picture >= 0)
            window::LoadGifResource(c.window.PicIds.SpeakPicIds[static_cast<std::size_t>(v)]
                                                              [static_cast<std::size_t>(speech.picture)],
                                    QStringLiteral("GIF"), f.Speak[v - 1]);
    };
    auto play = [&](const QString& name) {
        if (sound.SoundOn == 0)
            return;
        window::PlayWave(c, name, 0);
        window::SetWaveVolume(c, 3000);
    };

    QString name;
    if (v >= 1) {
        if (op == protocol::OpFalseWin) {
            // A false win has no picture of its own: the control would show
            // the seat's last claim again.
            f.Speak[v - 1].SetVisible(false);
        } else if (op > 1) {
            f.Speak[v - 1].SetVisible(true);
            f.Speak[v - 1].ZOrder(0);
        }
        TryStep([&] {
            if (sound.SoundOn == -1)
                window::PlayWave(c, sound.SoundFiles[window::SoundTileLaid], 0);
        });
        if (op == protocol::OpChow || op == protocol::OpPong) {
            TryStep(loadPicture);
            if (sound.SoundOn != 0)
                name = voiceName();
        }
        TryStep([&] { play(name); });
    }
    if (op > protocol::OpPong) {
        if (op == protocol::OpExposedKong || op == protocol::OpConcealedKong || op == protocol::OpSpecialKong ||
            op == protocol::OpWin) {
            if (v >= 1)
                TryStep(loadPicture);
            if (sound.SoundOn != 0 && (v >= 1 || speech.ownVoice))
                name = voiceName();
        }
        play(name);
    }
    if (v >= 1) {
        c.game.SpeakShown = -1;
        c.game.SpeakTicks = 0;
        c.game.SpeakIndex = static_cast<int16_t>(v - 1);
        for (int i = 1; i <= 3; ++i)
            if (i != v)
                f.Speak[i - 1].SetVisible(false);
    }
}

// Where another seat's meld tile in slot s lies, with the view's drawing order.
void PlaceOtherMeldTile(Client& c, int v, int s, platform::Image& img)
{
    const PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;
    const float w = c.table.TileWidth[static_cast<std::size_t>(v)];
    const float h = c.table.TileHeight[static_cast<std::size_t>(v)];
    switch (v) {
    case 1:
        img.Move(p.HandX - 5 * sx * (s + 1), p.HandY + (s + 1) * (h - 17 * sy), w, h);
        img.ZOrder(0);
        break;
    case 2:
        img.Move(p.HandX - w * (s + 1), p.HandY, w, h);
        break;
    default:
        img.Move(p.HandX - 10 * sx - 5 * sx * (s + 1), p.HandY - (s + 1) * (h - 17 * sy), w, h);
        img.ZOrder(1);
        break;
    }
}

void ChowPongOther(Client& c, int v, int16_t op, const std::array<int16_t, 3>& tiles)
{
    PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
    auto& images = c.MainForm->MJ_Image;
    const int m = p.MeldEnd;
    const int h = p.HandFirst;
    const int n = p.HandCount;
    SlotAt(p, m - 2) = SlotAt(p, h);
    SlotAt(p, m - 1) = SlotAt(p, h + 1);
    SlotAt(p, m).Image = c.table.LastDiscardImage;
    if (op == protocol::OpPong)
        for (int j = 0; j < 3; ++j) {
            SlotAt(p, m - 2 + j).Kind = 3;
            SlotAt(p, m - 2 + j).TileCode = tiles[static_cast<std::size_t>(j)];
        }
    SlotAt(p, h + n) = SlotAt(p, h + 2);
    p.HandCount = static_cast<int16_t>(n - 2);
    p.HandFirst = static_cast<int16_t>(h + 3);
    for (int j = 0; j < 3; ++j) {
        const int s = m - 2 + j;
        const int16_t image = SlotAt(p, s).Image;
        table::ShowTileImage(c.Table(), image, table::TilePicIndex(v, tiles[static_cast<std::size_t>(j)]));
        PlaceOtherMeldTile(c, v, s, images[image]);
    }
    p.MeldEnd = static_cast<int16_t>(m + 3);

    // The hand's last tile closes up to the rest of the hand.
    const int k = p.HandFirst + p.HandCount - 1;
    platform::Image& lastTile = images[SlotAt(p, k).Image];
    const float sx = c.game.ScaleX;
    if (v == 2) {
        lastTile.Move(p.HandX - c.table.TileWidth[2] * (k + 1.3f), lastTile.Top);
    } else {
        const platform::Image& before = images[SlotAt(p, k - 1).Image];
        const float dy = 0.65f * c.table.TileWidth[static_cast<std::size_t>(v)];
        lastTile.Move(before.Left - 5 * sx, v == 1 ? before.Top + dy : before.Top - dy);
    }
}

void KongOf(Client& c, int v, int16_t op, std::array<int16_t, 3>& tiles)
{
    table::TableState& t = c.table;
    GameState& g = c.game;
    PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
    auto& images = c.MainForm->MJ_Image;
    const bool concealed = op == protocol::OpConcealedKong;
    t.DrawFromHead = 0;
    t.DrawSkipsDiscardRow = -1;
    const int m = p.MeldEnd;
    if (v != 0) {
        const int h = p.HandFirst;
        const int n = p.HandCount;
        SlotAt(p, m) = SlotAt(p, h);
        SlotAt(p, m - 1) = SlotAt(p, h + 1);
        SlotAt(p, m - 2) = SlotAt(p, h + 2);
        if (concealed) {
            t.LastDiscardImage = SlotAt(p, h + n - 1).Image;
            const int k = g.ConcealedKongCount;
            At(g.ConcealedKongImages, k, "concealed kong") = t.LastDiscardImage;
            At(g.ConcealedKongTiles, k, "concealed kong") = tiles[2];
            At(g.ConcealedKongViews, k, "concealed kong") = static_cast<uint8_t>(v);
            ++g.ConcealedKongCount;
        }
        images[t.LastDiscardImage].ZOrder(0);
        p.HandCount = static_cast<int16_t>(n - 3);
        p.HandFirst = static_cast<int16_t>(h + 3);
    }
    const float w = t.TileWidth[static_cast<std::size_t>(v)];
    const float h = t.TileHeight[static_cast<std::size_t>(v)];
    for (int s = m - 2; s <= m; ++s) {
        platform::Image& img = images[SlotAt(p, s).Image];
        img.Move(img.Left, img.Top, w, h);
    }
    if (v == 0) {
        const int slot = t.KongCandidates[0];
        if (concealed)
            table::ApplyConcealedKong(c.Table(), slot, tiles);
        else
            table::ApplyExposedKong(c.Table(), slot, tiles);
        p.HandCount = static_cast<int16_t>(p.HandCount - (concealed ? 4 : 3));
        p.HandFirst = static_cast<int16_t>(p.HandFirst + 3);
        p.MeldEnd = static_cast<int16_t>(p.MeldEnd + 3);
        return;
    }
    platform::Image& fourth = images[t.LastDiscardImage];
    fourth.Move(fourth.Left, fourth.Top, w, h);
    const int back = 36 * v + table::kFaceDownBack;
    for (int j = 0; j < 3; ++j) {
        const int s = m - 2 + j;
        const int16_t image = SlotAt(p, s).Image;
        PlaceOtherMeldTile(c, v, s, images[image]);
        table::ShowTileImage(c.Table(), image, concealed ? back : table::TilePicIndex(v, tiles[static_cast<std::size_t>(j)]));
    }
    const platform::Image& middle = images[SlotAt(p, m - 1).Image];
    const float sy = c.game.ScaleY;
    fourth.Move(middle.Left, v == 2 ? p.HandY - 18 * sy : middle.Top - 18 * sy);
    if (v != 2)
        fourth.ZOrder(0);
    table::ShowTileImage(c.Table(), t.LastDiscardImage, concealed ? back : table::TilePicIndex(v, tiles[2]));
    if (concealed)
        --p.HandCount;
    p.MeldEnd = static_cast<int16_t>(m + 3);
}

void SpecialKong(Client& c, int v, const std::array<int16_t, 3>& tiles)
{
    table::TableState& t = c.table;
    PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
    auto& images = c.MainForm->MJ_Image;
    const int16_t tile = tiles[2];
    t.DrawFromHead = 0;
    t.DrawSkipsDiscardRow = -1;
    const int kongSlot = p.MeldEnd - 2;
    if (v > 0) {
        SlotAt(p, kongSlot) = SlotAt(p, p.HandFirst + p.HandCount - 1);
        const int16_t image = SlotAt(p, kongSlot).Image;
        images[image].SetVisible(false);
        t.LastDiscardImage = image;
        t.LastDiscardTile = tile;
        --p.HandCount;
    }
    platform::Image& kong = images[SlotAt(p, kongSlot).Image];
    kong.ZOrder(0);
    kong.Move(kong.Left, kong.Top, t.TileWidth[static_cast<std::size_t>(v)], t.TileHeight[static_cast<std::size_t>(v)]);
    if ((tile == table::kRedDragon && p.RedLaid == 0) || (tile == table::kGreenDragon && p.GreenLaid == 0))
        SlotAt(p, 0) = SlotAt(p, kongSlot);
    if (v == 0) {
        table::ApplySpecialKong(c.Table(), t.KongCandidates[0]);
        --p.HandCount;
    }
    const int16_t image = SlotAt(p, kongSlot).Image;
    if (const auto column = table::ColumnOf(c.Table(), tile)) {
        table::LayIntoColumn(c.Table(), v, *column, image, tile);
        return;
    }
    // The fourth tile of one of the seat's pongs.
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;
    const float h = t.TileHeight[static_cast<std::size_t>(v)];
    platform::Image& img = images[image];
    for (int i = v == 0 ? 1 : 2; i <= p.MeldEnd - 5; i += 3) {
        const table::TileSlot& meld = SlotAt(p, i);
        if (meld.TileCode != tile || meld.Kind != 3)
            continue;
        switch (v) {
        case 0:
            img.Move(images[SlotAt(p, i + 1).Image].Left, p.HandY - 18 * sy);
            break;
        case 1:
            img.Move(p.HandX - 5 * (i + 2) * sx, p.HandY + (i + 2) * (h - 17 * sy) - 17 * sy);
            break;
        case 2:
            img.Move(p.HandX - (i + 2) * t.TileWidth[2], p.HandY - 18 * sy);
            break;
        default:
            img.Move(images[SlotAt(p, i + 1).Image].Left, p.HandY - (i + 2) * (h - 17 * sy) - 17 * sy);
            break;
        }
        table::ShowTileImage(c.Table(), image, table::TilePicIndex(v, tile));
        break;
    }
    if (v >= 1)
        img.SetVisible(true);
}

// The first win of the hand: the winner's name stands out on the score
// window, and a local win on a discard lays that discard at the end of the
// local hand. Later wins of the same hand change nothing.
void Win(Client& c, int v)
{
    GameState& g = c.game;
    if (g.WinnerView >= 0)
        return;
    ScoreForm& score = *c.Score;
    for (int i = 0; i < 4; ++i)
        score.ID[i].ForeColor = kLoserNameColour;
    g.WinnerView = static_cast<int16_t>(v);
    score.ID[v].ForeColor = kWinnerNameColour;
    for (int i = 0; i < 4; ++i)
        score.ID[i].Refresh();
    if (v != 0)
        return;

    table::TableState& t = c.table;
    t.TileWidth[0] = table::ScaledX(c.Table(), kWinningTileSize.w);
    t.TileHeight[0] = table::ScaledY(c.Table(), kWinningTileSize.h);
    PlayerRecord& p = g.Players[0];
    if ((p.HandCount - 2) % 3 == 0)
        return; // the winning tile was drawn and is in the hand
    auto& images = c.MainForm->MJ_Image;
    const int16_t lastImage = SlotAt(p, p.HandFirst + p.HandCount - 1).Image;
    table::RequireIndex(lastImage, table::kTileImages, "last hand tile image");
    table::RequireIndex(t.LastDiscardImage, table::kTileImages, "last discard image");
    if (!protocol::IsTileCode(t.LastDiscardTile & 0xFF))
        throw std::invalid_argument("the last discard is no tile");
    platform::Image& discard = images[t.LastDiscardImage];
    discard.Move(images[lastImage].Left + t.TileWidth[0], p.HandY, t.TileWidth[0], t.TileHeight[0]);
    table::ShowTileImage(c.Table(), t.LastDiscardImage, table::TilePicIndex(0, t.LastDiscardTile & 0xFF));
}

// The local player's false win: the notice, while the table window is in
// its normal state.
void FalseWin(Client& c, int v)
{
    if (v != 0 || (c.MainForm->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        return;
    c.game.ZhahuShown = -1;
    c.frmZhahu->Show();
    c.frmZhahu->SetVisible(true);
}

} // namespace

void ApplySeatOperation(Client& c, int16_t op, uint8_t seat, std::array<int16_t, 3>& tiles)
{
    table::SetTileSizes(c.Table(), table::kMeldTileSize);
    const int v = table::SeatView(c.game.Players[0].SeatBit, seat);
    SpeakOperation(c, op, v, tiles);

    table::RunOrEnd([&] {
        PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
        switch (op) {
        case protocol::OpChow:
        case protocol::OpPong:
            if (v != 0) {
                ChowPongOther(c, v, op, tiles);
                break;
            }
            if (op == protocol::OpChow)
                table::ApplyChiMeld(c.Table(), c.table.ChiChoices[0], c.table.ChiChoices[1], tiles);
            else
                table::ApplyPongMeld(c.Table(), tiles);
            p.HandCount = static_cast<int16_t>(p.HandCount - 2);
            p.HandFirst = static_cast<int16_t>(p.HandFirst + 3);
            p.MeldEnd = static_cast<int16_t>(p.MeldEnd + 3);
            break;
        case protocol::OpExposedKong:
        case protocol::OpConcealedKong:
            KongOf(c, v, op, tiles);
            break;
        case protocol::OpSpecialKong:
            SpecialKong(c, v, tiles);
            break;
        case protocol::OpWin:
            Win(c, v);
            break;
        case protocol::OpFalseWin:
            FalseWin(c, v);
            break;
        default:
            break;
        }
        table::StackSideHand(c.Table(), v);
        if (op == protocol::OpSpecialKong)
            table::RestackSideRow(c.Table(), v);
    });
}

} // namespace results
