#pragma once

#include "protocol/frame.h"

class Client;

namespace match {

struct MatchState {
    // Set when the player leaves: match-info downloads stop.
    int16_t AppClosing = 0;

    // The room's match mode and how the table shows it.
    int16_t RoomMatchMode = 0;
    int16_t MatchPanelMode = 0;  // which match panel the table shows
    double ReservedMoney = 200.0; // money a match sign-up keeps back
};

// Queues a finished match frame in the send ring as it is (the third writer
// of the send ring besides SendMsg and SendRawFrame).
void QueueMatchFrame(Client& c, const protocol::GameFrame& frame);

} // namespace match

namespace match {

// Empties the match, goods and list tables.
void InitMatch(Client& c);

// The match mode of a match type: 1 when the tables know none.
int16_t GetMatchMode(Client& c, int32_t matchId);

// Arranges the score area of the table window for the room's match mode.
void ShowMainFormByMatchType(Client& c);

// A received kind-47 frame.
void MsgDecode_47(Client& c, const protocol::GameFrame& frame);

// A received match, goods, gold or notice frame (kinds 72-99).
void HandleMatchFrame(Client& c, const protocol::GameFrame& frame);

} // namespace match
