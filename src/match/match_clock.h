#pragma once

#include <QString>
#include <cstdint>

class Client;

namespace platform {
class PictureBox;
}

namespace match {

// The match clock, run on every 50 ms tick; its work runs at most once a
// second: the server clock, the refresh button of the ranking, automatic
// sign-up, the countdowns of the rows, the match-info box, the captions of
// the match button and the texts of the open panel.
void MatchTimerTick(Client& c);

// Shows `pic` growing in ten steps from (x0, y0) to the rectangle w x h at
// (x1, y1), at least 20 ms apart, letting events run between steps. True
// when it ends shown at the rectangle; false when the panel was closed
// meanwhile (hidden, or the window went away) or the program is closing.
bool GrowPicture(Client& c, platform::PictureBox* pic, float w, float h, float x1, float y1, float x0, float y0);

} // namespace match
