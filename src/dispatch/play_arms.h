#pragma once

#include "protocol/frame.h"

class Client;

namespace dispatch {

// The arms that carry the play of a hand. Each checks the frame's values
// before it uses them and throws FrameFault when they cannot be used.

// Kind 1: up to three passes of four tiles to every seat.
void MsgDeal(Client& c, const protocol::GameCmd& msg);
// Kind 2: a seat's discard.
void MsgDiscard(Client& c, const protocol::GameCmd& msg);
// Kind 5: a seat draws one tile.
void MsgDraw(Client& c, const protocol::GameCmd& msg);
// Kind 6: the local player's decision, or another seat's thinking time.
void MsgTurnPrompt(Client& c, const protocol::GameCmd& msg);
// Kind 7: the operation of any seat.
void MsgOperation(Client& c, const protocol::GameCmd& msg);

// The first steps of kinds 2, 5, 6 and 7: no discard due, the decision
// countdown stopped and hidden, the operation buttons back to normal.
void TurnReset(Client& c);

} // namespace dispatch
