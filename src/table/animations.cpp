#include "table/animations.h"

#include "app/client.h"
#include "core/lobby.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "table/tiles.h"
#include "table/utilities.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/sound.h"

#include <cmath>
#include <random>
#include <stdexcept>

namespace table {
namespace {

void PlayEffect(Client& c, int file)
{
    window::SoundState& s = c.window.Sound;
    if (s.SoundOn == -1)
        window::PlayWave(c, s.SoundFiles[static_cast<std::size_t>(file)], 0);
}

// A random source seeded from the time of day, as the animations want a
// different turn each time.
std::minstd_rand SeededFromClock(Client& c)
{
    return std::minstd_rand(static_cast<uint32_t>(c.plat.clock.secondsSinceMidnight()));
}

int Pick(std::minstd_rand& rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

// Picture k of the die store SZ_Image: faces 1-6, then ten tumbling frames.
// The store is filled from the resources the first time it is needed.
const platform::Picture& DiePicture(Client& c, int k)
{
    window::MainForm& f = *c.MainForm;
    if (k < 0 || k >= f.SZ_Image.Count())
        throw std::out_of_range("die picture");
    platform::Image& store = f.SZ_Image[k];
    if (store.GetPicture().isNull())
        window::LoadGifResource(c.window.PicIds.DiceRollPicIds[static_cast<std::size_t>(k)], QStringLiteral("GIF"),
                                store);
    return store.GetPicture();
}

int Tumble(Client& c, std::minstd_rand& rng)
{
    window::MainForm& f = *c.MainForm;
    const int n = Pick(rng, 5) + 20;
    for (int j = 0; j <= n; ++j) {
        for (int d = 0; d < 2; ++d)
            f.Sai_Image[d].SetPicture(DiePicture(c, Pick(rng, 10) + 6));
        WaitSeconds(c, 0.002f);
    }
    return n + 1;
}

void ShowFaces(Client& c, int16_t a, int16_t b)
{
    window::MainForm& f = *c.MainForm;
    if (a < 1 || a > 6 || b < 1 || b > 6)
        throw std::out_of_range("die value");
    f.Sai_Image[0].SetPicture(DiePicture(c, a - 1));
    f.Sai_Image[1].SetPicture(DiePicture(c, b - 1));
}

} // namespace

void AnimateSeatDraw(Client& c, int16_t seatIndex)
{
    window::MainForm& f = *c.MainForm;
    const TableState& t = c.table;
    PlayEffect(c, window::SoundTileDrawn);
    const float w = t.TileWidth[0];
    const float h = t.TileHeight[0];
    // The table picture's size in pixels (its twips divided by 15).
    const float x0 = f.pic1->width() / 2.0f - 2 * w;
    const float y = std::nearbyint(f.pic1->height() / 2.0f - h);
    for (int i = 0; i < 4; ++i) {
        f.MJ_Image[i].Move(x0 + i * w, y, w, h);
        ShowTileImage(c, i, kStandingBack);
        f.MJ_Image[i].SetVisible(true);
    }
    SleepSeconds(c, 0.5f);
    std::minstd_rand rng = SeededFromClock(c);
    ShowTileImage(c, Pick(rng, 4), 147 - seatIndex);
    SleepSeconds(c, 0.5f);
    for (int i = 0; i < 4; ++i)
        f.MJ_Image[i].SetVisible(false);
}

void ShowSeatCompass(Client& c)
{
    uint8_t& own = c.game.Players[0].SeatBit;
    if (own == 0)
        own = 1;
    window::LoadGifResource(c.window.PicIds.CompassPicIds[BitIndex(own) & 3], QStringLiteral("GIF"),
                            c.MainForm->ZhiNan);
    c.MainForm->ZhiNan.SetVisible(true);
}

bool AnimateDeal(Client& c)
{
    window::MainForm& f = *c.MainForm;
    try {
        PlayEffect(c, window::SoundShuffle);
        // Stack 0 of each side, face down, then stack after stack copying it.
        const int firstStack[4][2] = {{1, 0}, {35, 34}, {69, 68}, {102, 103}};
        for (int side = 0; side < 4; ++side)
            for (int image : firstStack[side]) {
                ShowTileImage(c, image, 36 * side + kFaceDownBack);
                f.MJ_Image[image].SetVisible(true);
            }
        for (int k = 1; k <= 16; ++k) {
            for (const auto& pair : firstStack)
                for (int image : pair) {
                    platform::Image& next = f.MJ_Image[image + 2 * k];
                    next.SetPicture(f.MJ_Image[image].GetPicture());
                    next.SetVisible(true);
                }
            for (int i = 0; i < f.ImgProp.Count(); ++i)
                if (f.ImgProp.Exists(i))
                    f.ImgProp[i].ZOrder(0);
            WaitSeconds(c, 0.01f);
        }
        core::PostLobbyMessage(c, core::LobbyMsgDealStart);

        GameState& g = c.game;
        g.ChoiceTileA.fill(0);
        g.ChoiceTileB.fill(0);
        g.ChoiceKind.fill(0);
        g.ChoiceCount = 0;
        g.ShownWallTiles.fill(0);
        g.ShownWallPos.fill(0);
        g.ChoiceState = 0;
        g.ChoiceSel1 = 0;
        g.ChoiceSel2 = 1;
        g.ShownWallCount = 0;
        // Other seats' concealed kongs of the last hand are forgotten.
        g.ConcealedKongImages.fill(0);
        g.ConcealedKongTiles.fill(0);
        g.ConcealedKongViews.fill(0);
        g.ConcealedKongCount = 0;
        return true;
    } catch (const std::exception& e) {
        qWarning("deal animation failed: %s", e.what());
        core::RestoreLobbyWindow(c);
        c.plat.process.endNow();
        return false;
    }
}

DiceRollSteps AnimateDiceRoll(Client& c, int16_t, std::array<int16_t, 4>& dice)
{
    window::MainForm& f = *c.MainForm;
    PlayEffect(c, window::SoundDice);
    for (int16_t& d : dice)
        if (d == 0)
            d = 1;
    f.Sai_Image[0].Move(400 * c.game.ScaleX, 344 * c.game.ScaleY);
    f.Sai_Image[1].Move(560 * c.game.ScaleX, 344 * c.game.ScaleY);
    f.Sai_Image[0].SetVisible(true);
    f.Sai_Image[1].SetVisible(true);
    std::minstd_rand rng = SeededFromClock(c);

    DiceRollSteps steps;
    steps.first = Tumble(c, rng);
    ShowFaces(c, dice[0], dice[1]);
    SleepSeconds(c, 0.6f);
    steps.second = Tumble(c, rng);
    ShowFaces(c, dice[2], dice[3]);
    SleepSeconds(c, 0.6f);
    f.Sai_Image[0].SetVisible(false);
    f.Sai_Image[1].SetVisible(false);
    return steps;
}

} // namespace table
