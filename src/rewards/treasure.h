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

// Loads box k (0-14) of ImgProp, hidden, with its click going to
// ImgProp_Click.
void LoadBox(Client& c, int k);

// A click on box `index`: while the boxes are in play the first click opens
// that box (once the click's handler has returned); otherwise the click
// unloads the boxes made at run time.
void ImgProp_Click(Client& c, int16_t index);

// Opens the local player's box `pick` (0-4), or with -1 the boxes picked for
// the other seats: the boxes fly to the table's centre, then the coin
// gains count up on LbProp in steps of TimerProp.
void OpenTreasureBoxes(Client& c, int16_t pick);

// The box results on LbProp: -1 lays the label out, a step below
// PropTimerLimit counts the gains up, PropTimerLimit or more writes the
// final lines (also to the chat history and the system boxes).
void ShowTreasureResults(Client& c, int16_t step);

// A tick of TimerProp while the result steps run: the next step, and after
// the last one the boxes fly to their seats and the hand's result follows.
void TreasureResultStep(Client& c);

// The score sheet of a drawn hand with the plug-in's coin changes, then the
// prompt for the next hand and (unless spectating) the ready countdown.
void ShowDrawnHandResult(Client& c);

// The hand's result (a drawn hand's or the score sheet), then the plug-in
// is told to prepare its next show.
void ShowPropHandResult(Client& c);

} // namespace rewards
