#pragma once

#include "protocol/kinds.h"

namespace protocol {

// The server's echo token: bytes 260-261 of its frames. The client takes it
// over from every frame that carries one and writes the token it holds into
// every frame it sends. Kind 29 and the kinds 71-99 carry none.
constexpr int kFirstTokenlessKind = 71;
constexpr int kLastTokenlessKind = 99;

constexpr bool CarriesEchoToken(int kind)
{
    return kind != MsgReconnectReply && (kind < kFirstTokenlessKind || kind > kLastTokenlessKind);
}

} // namespace protocol
