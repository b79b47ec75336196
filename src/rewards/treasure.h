#pragma once

#include <cstdint>

class Client;

// The treasure boxes of a hand's end while the prop plug-in runs with them,
// and the result of a drawn hand with the plug-in's changes.
namespace rewards {

// Starts the box choice: the local player's five boxes (or the other
// seats' boxes, one picked for each), the prompt on LbProp and a countdown
// of five seconds. With no seat to open a box, the result straight away.
void PlayBaoXiang(Client& c);

// One tick of the box choice's countdown, while TreasureCountdownOn: at the
// end of the choice the boxes open by themselves.
void TreasureCountdownStep(Client& c);

// Opens the local player's box `pick` (0-4), or with -1 the boxes picked for
// the other seats, and goes on to the hand's result.
void OpenTreasureBoxes(Client& c, int16_t pick);

// The score sheet of a drawn hand with the plug-in's coin changes, then the
// prompt for the next hand and (unless spectating) the ready countdown.
void ShowDrawnHandResult(Client& c);

// The hand's result (a drawn hand's or the score sheet), then the plug-in
// is told to prepare its next show.
void ShowPropHandResult(Client& c);

} // namespace rewards
