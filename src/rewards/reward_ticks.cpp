#include "rewards/reward_ticks.h"

namespace rewards {

void RollMyPrize(Client&) {}

void JadeRewardTimer(Client&) {}

void RewardSequenceTimer(Client&) {}

void FinishRewardSequence(Client&) {}

void RollPrizePool(Client&) {}

} // namespace rewards
