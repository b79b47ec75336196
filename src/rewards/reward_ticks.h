#pragma once

class Client;

// The reward animations the scheduler steps once per tick while their flag
// is set. The prize roll, the jade reward, the finish of the reward sequence
// and the prize pool do not move yet: each step does nothing. The reward
// sequence only shows the score window, two seconds after the hand's sheet.
namespace rewards {

void RollMyPrize(Client& c);          // while MyPrizeRolling
void JadeRewardTimer(Client& c);      // while JadeRewardActive
void RewardSequenceTimer(Client& c);  // while ScorePending
void FinishRewardSequence(Client& c); // while FinishPending
void RollPrizePool(Client& c);        // while PoolRolling

} // namespace rewards
