#include "match/match.h"

#include "app/client.h"
#include "core/rings.h"

namespace match {

void QueueMatchFrame(Client& c, const protocol::GameFrame& frame) { core::QueueFrame(c, frame.data()); }

} // namespace match

namespace match {

void InitMatch(Client& c) { c.match = MatchState{}; }

int16_t GetMatchMode(Client&, int32_t) { return 1; }

void ShowMainFormByMatchType(Client&) {}

void MsgDecode_47(Client&, const protocol::GameFrame&) {}

void HandleMatchFrame(Client&, const protocol::GameFrame&) {}

} // namespace match
