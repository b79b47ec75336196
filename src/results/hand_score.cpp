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
