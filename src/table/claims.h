#pragma once

#include <cstdint>

namespace table {

struct TableModel;
class TableBoard;

// The senders of the local player's claims. Each queues one kind-7 frame
// and copies the claim's tiles into the meld slots MeldEnd - 2 to MeldEnd,
// ready for the server's confirmation; all but SendHu mark the decision as
// answered (OpSent).

// A chow of hand slots slotA < slotB with the last discard.
void SendChi(TableModel& m, int slotA, int slotB);
// A pong of `tile` with the first pair of it in the hand. Sends nothing when
// the hand holds no such pair.
void SendPong(TableModel& m, int tile);
// An exposed kong of hand slots slot to slot + 2 with the last discard.
void SendExposedKong(TableModel& m, int slot);
// A concealed kong of hand slots slot to slot + 3.
void SendConcealedKong(TableModel& m, int slot);
// A single-tile kong of the tile in hand slot `slot`.
void SendSpecialKong(TableModel& m, int slot);
// A win.
void SendHu(TableModel& m);
// The pass reply (operation 1), unless the decision was already answered.
void SendPassReply(TableModel& m);

// The chow button: finds the chows the hand allows with `tile`; sends the
// only one at once, or offers two or three as choice pictures with the
// countdown restarted at half length.
void OfferChiChoices(TableModel& m, int tile);

// The kong button and automatic play: finds the kongs the hand allows; sends
// the first one when the countdown has run out or when there is only one,
// otherwise offers them as choice pictures (at most five) with the
// countdown restarted at half length.
void OfferKongChoices(TableModel& m);

// The kong search of automatic play, without pictures: true when the only
// kong on offer is declaring the hand's single wild tile.
bool FindKongCandidates(TableModel& m);

// Stops the decision countdown and hides it.
void StopDecisionCountdown(TableModel& m);

// Shows the countdown clock in front with `seconds` as its digits, in green
// or in the colour the digits had.
enum class ClockColour { Green, Unchanged };
void ShowClock(TableBoard& b, int seconds, ClockColour colour);

} // namespace table
