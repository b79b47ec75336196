#pragma once

#include <QString>
#include <cstdint>

class Client;

// Steps that several arms share.
namespace dispatch {

// Stops the speech-picture animation of the betting panel.
void StopPictureAnimation(Client& c);

// When a hand has been played since the login and the three other seats
// are ready, clears the table for the next hand.
void ClearTableWhenAllReady(Client& c);

// The wealth label's caption for a wealth w: "0.5" below 10, else w / 10 as
// a decimal number without trailing zeros.
QString WealthText(int32_t wealth);

// Font size of the wealth label for its caption: 16 points up to four
// characters, 13 for more.
float WealthFontSize(const QString& caption);

// Empties a seat's panel and records: ready mark, avatar, name, money, level
// and score labels (and the rank label when asked), the seat's name and the
// user record's own fields, the VIP badge.
void EmptySeat(Client& c, int view, bool rankLabelToo);

} // namespace dispatch
