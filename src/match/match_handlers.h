#pragma once

#include "protocol/frame.h"

#include <QString>
#include <cstdint>

class Client;

// The branches of HandleMatchFrame, one per received kind, and the steps
// they share.

namespace match {

// The match feature goes off: the ready and download flags are cleared and
// the match-list, ranking and open buttons hidden and disabled.
void HideMatchButtons(Client& c);

// The first MatchList row (1 to the count) whose title ("Kavelin" and the
// name of its match type) and start text are these, never a result row;
// 0 when none.
int FindShownMatchRow(Client& c, const QString& name, const QString& startText);

// Redraws the detail area when it shows a row of this instance.
void RefreshShownMatch(Client& c, int32_t instanceId);

// Redraws the open match list page and its detail area.
void RefreshMatchPanel(Client& c, int32_t instanceId);

// MatchList rebuilt from the instances.
void RebuildMatchList(Client& c);

// The time text of a moment field (mode 1) in the room's style.
QString MomentText(Client& c, int32_t seconds);

// Kinds 72, 73, 74, 87, 88: sign-ups and sign-up counts.
void MsgMatchSign(Client& c, const protocol::GameFrame& f);
void MsgMatchSignOff(Client& c, const protocol::GameFrame& f);
void MsgMatchStates(Client& c, const protocol::GameFrame& f);
void MsgMatchSignCount(Client& c, const protocol::GameFrame& f);
void MsgMatchPrizeBase(Client& c, const protocol::GameFrame& f);

// Kinds 82, 83, 75, 89: the sessions of the instances.
void MsgMatchList(Client& c, const protocol::GameFrame& f);
void MsgMatchUpdate(Client& c, const protocol::GameFrame& f);
void MsgMatchStartEnd(Client& c, const protocol::GameFrame& f);
void MsgMatchChampion(Client& c, const protocol::GameFrame& f);

// Kinds 77, 78, 79: the player's place and the ranking.
void MsgMatchSortSummary(Client& c, const protocol::GameFrame& f);
void MsgMatchResult(Client& c, const protocol::GameFrame& f);
void MsgMatchSort(Client& c, const protocol::GameFrame& f);

// Kinds 81, 90, 91, 92, 93: the server clock, the automatic sign-up's lead,
// gold changes and scrolling notices.
void MsgServerTime(Client& c, const protocol::GameFrame& f);
void MsgAutoSignLead(Client& c, const protocol::GameFrame& f);
void MsgGoldChange(Client& c, const protocol::GameFrame& f);
void MsgSeatGoldChange(Client& c, const protocol::GameFrame& f);
void MsgMarquee(Client& c, const protocol::GameFrame& f);

} // namespace match

namespace match {

// Queues a notice on the scrolling strip moveWord1, with its default colours.
void AddNotice(Client& c, const QString& text);

} // namespace match
