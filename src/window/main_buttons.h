#pragma once

#include <QString>
#include <cstdint>

class Client;

namespace window {

// The nine main buttons AnNiu(0-8): send the chat line, chat window,
// start/continue, settings, minimise, score sheet, history, rules, exit.
enum AnNiuButton : int16_t {
    AnNiuSend = 0,
    AnNiuChat = 1,
    AnNiuStart = 2,
    AnNiuSettings = 3,
    AnNiuMinimise = 4,
    AnNiuScore = 5,
    AnNiuHistory = 6,
    AnNiuRules = 7,
    AnNiuExit = 8,
};

// The entries of AnNiuPicIds a button shows: its normal and its hover
// picture. The start button has the start look until a hand has begun
// since the login, then the continue look.
int AnNiuNormalEntry(const Client& c, int index);
int AnNiuHoverEntry(const Client& c, int index);
// The tooltip of a main button.
QString AnNiuToolTip(int index);

void AnNiu_Click(Client& c, int16_t index);
// The pointer over a main button: its hover picture and tooltip.
void AnNiu_MouseMove(Client& c, int16_t index);
// The pointer over the bare table: every picture button back to its normal
// picture, a raised hand tile the pointer left lowered, the player card
// hidden, the prop video closed. x and y are pixels of pic1.
void pic1_MouseMove(Client& c, float x, float y);

// The multiplier indicators' tooltips.
void DiceMultiplier_MouseMove(Client& c);
void WealthMultiplier_MouseMove(Client& c);

// Puts the chat window over the lower part of the table (screen pixels).
void PlaceTalkWindow(Client& c);

// Connects the buttons, the indicators and the table picture's pointer.
void WireMainButtons(Client& c);

} // namespace window
