#pragma once

#include "core/frame.h"

class Client;

namespace match {

struct MatchState {};

// Queues a finished match frame in the send ring as it is (the third writer
// of the send ring besides SendMsg and SendRawFrame).
void QueueMatchFrame(Client& c, const core::GameFrame& frame);

} // namespace match
