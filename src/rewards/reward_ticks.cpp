#include "rewards/reward_ticks.h"

#include "app/client.h"
#include "core/countdowns.h"
#include "platform/clock.h"
#include "results/result_forms.h"
#include "rewards/prize_pool.h"
#include "widgets/sprite_sheet.h"
#include "window/main_form.h"

namespace rewards {
namespace {

// The score window follows the hand's end after this long.
constexpr uint32_t kScoreDelayMs = 2000;
// The jade reward stays on show this long.
constexpr uint32_t kJadeShownMs = 5000;
// The steps after the start button lie this far apart.
constexpr uint32_t kFinishStepMs = 2000;

// Time since a stored tick on the wrapping millisecond counter.
uint32_t Since(Client& c, uint32_t tick) { return c.plat.clock.timeGetTime() - tick; }

int DigitFrame(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9') ? ch.unicode() - '0' : 0; }

} // namespace

void ShowScoreWindow(Client& c)
{
    c.Score->Show();
    c.results.ScorePending = 0;
}

void HideJadeDisplay(Client& c)
{
    RewardsState& r = c.rewards;
    for (widgets::Apng* part : {r.APNG_Jadefinish, r.APNG_JadeKuang}) {
        if (part) {
            part->Pause();
            part->hide();
        }
    }
    for (widgets::Apng* digit : r.APNG_JadeNum) {
        digit->Pause();
        digit->hide();
    }
    r.JadeRewardActive = 0;
    if (c.MainForm->Pic_Jadetask)
        c.MainForm->Pic_Jadetask->hide();
}

void JadeRewardTimer(Client& c)
{
    RewardsState& r = c.rewards;
    if (Since(c, r.JadeShowTick) < kJadeShownMs)
        return;
    HideJadeDisplay(c);
    if (r.LotteryPending) {
        StartPrizeRoll(c);
        r.JadeShowing = 0;
        return;
    }
    if (c.results.ScorePending) {
        ShowScoreWindow(c);
        r.LotteryPending = 0;
    }
    r.JadeShowing = 0;
}

void RewardSequenceTimer(Client& c)
{
    RewardsState& r = c.rewards;
    results::ResultsState& res = c.results;
    if (res.ScorePending != -1 || Since(c, res.HandEndTick) <= kScoreDelayMs)
        return;
    const bool prizeHidden = !r.Bets.APNG_prize || r.Bets.APNG_prize->isHidden();
    if (prizeHidden && r.LotteryPending == -1 && !r.JadeShowing) {
        // The score window follows at the end of the roll.
        StartPrizeRoll(c);
        HideJadeDisplay(c);
        return;
    }
    if (r.JadeShowing || r.LotteryPending || r.FinishPending)
        return;
    if (!r.Bets.APNG_prizenum.empty()) {
        r.Bets.APNG_prizenum.front()->Pause();
        r.Bets.APNG_prizenum.front()->hide();
    }
    if (r.Bets.APNG_prize) {
        r.Bets.APNG_prize->Pause();
        r.Bets.APNG_prize->hide();
    }
    r.MyPrizeRolling = 0;
    ShowScoreWindow(c);
}

void SkipRewardRolls(Client& c)
{
    RewardsState& r = c.rewards;
    const uint32_t t = c.plat.clock.timeGetTime();
    if (r.JadeShowing == -1) {
        const QString& text = r.JadeRewardText;
        const auto L = static_cast<int>(text.size());
        const int n = static_cast<int>(r.APNG_JadeNum.size()) - 1;
        if (n < L - 1)
            return;
        for (widgets::Apng* digit : r.APNG_JadeNum) {
            digit->Pause();
            digit->hide();
        }
        for (int k = 0; k < L; ++k) {
            widgets::Apng& digit = *r.APNG_JadeNum[static_cast<std::size_t>(n - k)];
            digit.Pause(DigitFrame(text.at(L - 1 - k)));
            digit.show();
            digit.raise();
        }
        r.JadeShowing = 0;
    } else if (r.LotteryPending == -1) {
        // A roll under way stops on its next step.
        ShowPrizeAtOnce(c);
        r.LotteryPending = 0;
    }
    r.FinishPending = -1;
    r.RewardStepTick = t;
}

void FinishRewardSequence(Client& c)
{
    RewardsState& r = c.rewards;
    if (Since(c, r.RewardStepTick) < kFinishStepMs)
        return;
    if (r.LotteryPending == -1) {
        HideJadeDisplay(c);
        ShowPrizeAtOnce(c);
        r.LotteryPending = 0;
        r.RewardStepTick = c.plat.clock.timeGetTime();
    } else if (c.results.ScorePending == -1) {
        HidePrizeDisplay(c);
        ShowScoreWindow(c);
        r.RewardStepTick = c.plat.clock.timeGetTime();
    } else {
        HideJadeDisplay(c);
        HidePrizeDisplay(c);
        r.FinishPending = 0;
        core::SendReady(c);
    }
}

} // namespace rewards
