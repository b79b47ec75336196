#pragma once

#include "platform/controls.h"
#include "results/result_forms.h"

#include <array>
#include <memory>
#include <vector>
#include <cstdint>

class Client;

namespace chat {

// The player card is one of the result windows.
using InformationForm = results::InformationForm;

// A click on the avatar of view 1-3: the chat box is addressed to that
// seat ("你对" + nickname + "说: " in front of the typed text). Only while
// the player may act, and only for a seat with a nickname.
void Tou_Click(Client& c, int16_t view);

// The pointer over the avatar of a view 0-3: fills, places and shows that
// player's card, unless a card is shown already or the seat is empty.
void Tou_MouseMove(Client& c, int16_t view, int16_t button, int16_t shift, float x, float y);

} // namespace chat
