#include "table/animations.h"

#include "platform/clock.h"
#include "table/model.h"
#include "table/tiles.h"
#include "table/utilities.h"

#include <cmath>
#include <random>
#include <stdexcept>

namespace table {
namespace {

// A random source seeded from the time of day, as the animations want a
// different turn each time.
std::minstd_rand SeededFromClock(TableModel& m)
{
    return std::minstd_rand(static_cast<uint32_t>(m.clock.secondsSinceMidnight()));
}

int Pick(std::minstd_rand& rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

// Picture k of the die store SZ_Image: faces 1-6, then ten tumbling frames.
// The store is filled from the resources the first time it is needed.
const platform::Picture& DiePicture(TableModel& m, int k)
{
    TableBoard& f = m.board;
    if (k < 0 || k >= f.SZ_Image.Count())
        throw std::out_of_range("die picture");
    platform::Image& store = f.SZ_Image[k];
    if (store.GetPicture().isNull())
        m.hooks.LoadDiePicture(k, store);
    return store.GetPicture();
}

int Tumble(TableModel& m, std::minstd_rand& rng)
{
    TableBoard& f = m.board;
    const int n = Pick(rng, 5) + 20;
    for (int j = 0; j <= n; ++j) {
        for (int d = 0; d < 2; ++d)
            f.Sai_Image[d].SetPicture(DiePicture(m, Pick(rng, 10) + 6));
        WaitSeconds(m.clock, 0.002f);
    }
    return n + 1;
}

void ShowFaces(TableModel& m, int16_t a, int16_t b)
{
    TableBoard& f = m.board;
    if (a < 1 || a > 6 || b < 1 || b > 6)
        throw std::out_of_range("die value");
    f.Sai_Image[0].SetPicture(DiePicture(m, a - 1));
    f.Sai_Image[1].SetPicture(DiePicture(m, b - 1));
}

} // namespace

void AnimateSeatDraw(TableModel& m, int16_t seatIndex)
{
    TableBoard& f = m.board;
    const TableState& t = m.state;
    m.hooks.PlayEffect(TableEffect::TileDrawn);
    const float w = t.TileWidth[0];
    const float h = t.TileHeight[0];
    // The table picture's size in pixels (its twips divided by 15).
    const float x0 = f.TableSize().width() / 2.0f - 2 * w;
    const float y = std::nearbyint(f.TableSize().height() / 2.0f - h);
    for (int i = 0; i < 4; ++i) {
        f.MJ_Image[i].Move(x0 + i * w, y, w, h);
        ShowTileImage(m, i, kStandingBack);
        f.MJ_Image[i].SetVisible(true);
    }
    SleepSeconds(m.clock, 0.5f);
    std::minstd_rand rng = SeededFromClock(m);
    ShowTileImage(m, Pick(rng, 4), 147 - seatIndex);
    SleepSeconds(m.clock, 0.5f);
    for (int i = 0; i < 4; ++i)
        f.MJ_Image[i].SetVisible(false);
}

void ShowSeatCompass(TableModel& m)
{
    uint8_t& own = m.players[0].SeatBit;
    if (own == 0)
        own = 1;
    m.hooks.LoadCompassPicture(BitIndex(own) & 3, m.board.ZhiNan);
    m.board.ZhiNan.SetVisible(true);
}

bool AnimateDeal(TableModel& m)
{
    TableBoard& f = m.board;
    try {
        m.hooks.PlayEffect(TableEffect::Shuffle);
        // Stack 0 of each side, face down, then stack after stack copying it.
        const int firstStack[4][2] = {{1, 0}, {35, 34}, {69, 68}, {102, 103}};
        for (int side = 0; side < 4; ++side)
            for (int image : firstStack[side]) {
                ShowTileImage(m, image, 36 * side + kFaceDownBack);
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
            WaitSeconds(m.clock, 0.01f);
        }
        m.hooks.DealStarted();
        return true;
    } catch (const std::exception& e) {
        qWarning("deal animation failed: %s", e.what());
        m.hooks.EndClient();
        return false;
    }
}

DiceRollSteps AnimateDiceRoll(TableModel& m, int16_t, std::array<int16_t, 4>& dice)
{
    TableBoard& f = m.board;
    m.hooks.PlayEffect(TableEffect::Dice);
    for (int16_t& d : dice)
        if (d == 0)
            d = 1;
    f.Sai_Image[0].Move(400 * m.scaleX, 344 * m.scaleY);
    f.Sai_Image[1].Move(560 * m.scaleX, 344 * m.scaleY);
    f.Sai_Image[0].SetVisible(true);
    f.Sai_Image[1].SetVisible(true);
    std::minstd_rand rng = SeededFromClock(m);

    DiceRollSteps steps;
    steps.first = Tumble(m, rng);
    ShowFaces(m, dice[0], dice[1]);
    SleepSeconds(m.clock, 0.6f);
    steps.second = Tumble(m, rng);
    ShowFaces(m, dice[2], dice[3]);
    SleepSeconds(m.clock, 0.6f);
    f.Sai_Image[0].SetVisible(false);
    f.Sai_Image[1].SetVisible(false);
    return steps;
}

} // namespace table
