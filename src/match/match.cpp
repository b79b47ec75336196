#include "match/match.h"

#include "app/client.h"
#include "core/rings.h"

namespace match {

void QueueMatchFrame(Client& c, const core::GameFrame& frame) { core::QueueFrame(c, frame.data()); }

} // namespace match
