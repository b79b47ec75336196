#include "rewards/reward_ticks.h"

#include "app/client.h"
#include "platform/clock.h"
#include "results/result_forms.h"

namespace rewards {
namespace {

// The score window follows the hand's end after this long.
constexpr int32_t kScoreDelayMs = 2000;

} // namespace

void RollMyPrize(Client&) {}

void JadeRewardTimer(Client&) {}

// The score sheet of the hand just ended goes on screen two seconds after
// the sheet was built. No lottery roll or jade reward is shown before it yet.
void RewardSequenceTimer(Client& c)
{
    results::ResultsState& r = c.results;
    if (r.ScorePending != -1)
        return;
    const auto elapsed = static_cast<int32_t>(c.plat.clock.timeGetTime() - r.HandEndTick);
    if (elapsed <= kScoreDelayMs || c.rewards.FinishPending)
        return;
    c.Score->Show();
    r.ScorePending = 0;
}

void FinishRewardSequence(Client&) {}

void RollPrizePool(Client&) {}

} // namespace rewards
