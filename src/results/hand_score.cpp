#include "results/hand_score.h"

#include "app/client.h"
#include "core/countdowns.h"
#include "platform/clock.h"
#include "results/result_forms.h"
#include "rewards/jade.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "table/utilities.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <cmath>
#include <stdexcept>

namespace results {
namespace {


QString Number(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qlonglong>(value));
    return QString::number(value, 'g', 15);
}

QString CurrencyWord(const GameState& g, int view)
{
    return (g.HandResult[static_cast<std::size_t>(view)][13] & 0xFF) == 1 ? QStringLiteral("金币")
                                                                          : QStringLiteral("金条");
}

} // namespace

void RevealSeatHand(Client& c, int16_t seatBits, std::array<int16_t, 4>& data)
{
    GameState& g = c.game;
    const int v = table::SeatView(g.Players[0].SeatBit, static_cast<uint8_t>(seatBits));
    table::SetTileSizes(c.Table(), table::kRevealTileSize);
    if (v == 0)
        return;
    table::PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
    auto& revealed = g.RevealedTiles[static_cast<std::size_t>(v)];
    int at = 0;
    while (at < 14 && revealed[static_cast<std::size_t>(at)].Code != 0)
        ++at;
    for (int n = 0; n < 4 && p.HandCount > 0; ++n) {
        const int slot = p.HandFirst + at;
        if (at >= static_cast<int>(revealed.size()) || slot < 0 || slot >= static_cast<int>(p.Slots.size()))
            throw std::out_of_range("more tiles turned up than the hand holds");
        const int16_t code = data[static_cast<std::size_t>(3 - n)];
        table::TileSlot& s = p.Slots[static_cast<std::size_t>(slot)];
        s.TileCode = code;
        revealed[static_cast<std::size_t>(at)] = {code, s.Image, 1};
        if (s.Image >= 0 && s.Image < table::kTileImages) {
            platform::Image& img = c.MainForm->MJ_Image[s.Image];
            img.Move(img.Left, img.Top, c.table.TileWidth[static_cast<std::size_t>(v)],
                     c.table.TileHeight[static_cast<std::size_t>(v)]);
            table::ShowTileImage(c.Table(), s.Image, table::TilePicIndex(v, code));
        }
        --p.HandCount;
        ++at;
    }
}

void ShowHandScore(Client& c)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    ScoreForm& score = *c.Score;
    HeroForm& hero = *c.Hero;

    c.results.CurrencyFlag = (g.HandResult[0][13] & 0xFF) == 1 ? 1 : 0;
    hero.Num->AddItem(table::PadRight(QString::number(g.RoundNo), 12));

    for (int i = 0; i < 4; ++i)
        score.State[static_cast<std::size_t>(i)]->AddItem(QStringLiteral("初始：") +
                                                         Number(g.UserInfos[static_cast<std::size_t>(i)].Coins));
    for (int i = 0; i < 4; ++i) {
        const auto si = static_cast<std::size_t>(i);
        platform::ListBox& list = *score.State[si];
        core::UserInfo& u = g.UserInfos[si];
        c.results.CumulativeAmounts[si] += g.HandAmounts[si];
        list.AddItem(QStringLiteral("   房间底金： ") + QString::number(g.HandResult[si][11] & 0xFF));
        if (c.results.WildStreakCount > 0 && c.results.WildStreakCount < 15)
            list.AddItem(QStringLiteral("   连赖  ×") + QString::number(table::BitOf(c.results.WildStreakCount)));
        u.Coins = std::max(0.0, u.Coins + g.HandAmounts[si]);
        list.AddItem(QStringLiteral("===================="));
        const bool coins = (g.HandResult[si][13] & 0xFF) == 1;
        list.AddItem((coins ? QStringLiteral("总分：") : QStringLiteral("总分： ")) +
                     QString::number(g.Players[si].HandAmount) + CurrencyWord(g, i));
        list.AddItem(QString());
    }
    for (int i = 0; i < 4; ++i) {
        const auto si = static_cast<std::size_t>(i);
        const QString finalScore = QStringLiteral("最终分：") + Number(g.HandAmounts[si]) + CurrencyWord(g, i);
        score.State[si]->AddItem(finalScore);
        f.Cash[i].SetCaption(Number(g.UserInfos[si].Coins) + CurrencyWord(g, i));
        score.State[si + 4]->AddItem(finalScore);
        hero.Grade[si]->AddItem(table::PadRight(Number(g.HandAmounts[si]), 9) + CurrencyWord(g, i));
        hero.sumScore[i].SetCaption(Number(c.results.CumulativeAmounts[si]) + CurrencyWord(g, i));
    }
    for (int k = 0; k < 4; ++k) {
        const ResultsState::SeatNamePic& pic = c.results.SeatNamePics[static_cast<std::size_t>(k)];
        bool ok = false;
        const int n = pic.PicIndex.toInt(&ok);
        if (ok && n >= 0 && n < 20)
            window::LoadGifResource(c.window.PicIds.AvatarPicIds[static_cast<std::size_t>(n)], QStringLiteral("GIF"),
                                    score.Tou[k]);
        score.ID[k].SetCaption(pic.Name);
    }
    if (!f.isMinimized()) {
        c.results.ScorePending = -1;
        c.results.HandEndTick = c.plat.clock.timeGetTime();
    }

    g.InGame = 0;
    g.AnNiuClicked = 0;
    core::ShowReadyPrompt(c);
    rewards::HideJadeTask(c);
    c.core.KeepAliveHold = false;

    core::StartReadyCountdown(c, g.AutoPlay ? 3 : 15, table::ClockColour::Green);
}

} // namespace results
