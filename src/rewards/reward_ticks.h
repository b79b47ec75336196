#pragma once

class Client;

// The hand-end reward sequence and the reward animations the scheduler
// steps once per tick while their flag is set: the jade reward, then the
// lottery roll, then the score window. The start button cuts the sequence
// short in steps two seconds apart and sends the ready command at its end.
namespace rewards {

void RollMyPrize(Client& c);          // while MyPrizeRolling
void JadeRewardTimer(Client& c);      // while JadeRewardActive
void RewardSequenceTimer(Client& c);  // while ScorePending
void FinishRewardSequence(Client& c); // while FinishPending
void RollPrizePool(Client& c);        // while PoolRolling

// The start button: the displays jump to their final values and the rest of
// the sequence follows from FinishRewardSequence.
void SkipRewardRolls(Client& c);

// Shows the hand's score window and clears ScorePending.
void ShowScoreWindow(Client& c);

// Hides the jade display and stops its timer step.
void HideJadeDisplay(Client& c);

} // namespace rewards
