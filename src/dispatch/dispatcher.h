#pragma once

#include "core/frame.h"

class Client;

namespace dispatch {

// Takes effect of one received frame: takes over the server's echo token
// and runs the arm of the frame's kind.
void DispatchServerMsg(Client& c, core::GameCmd& msg);

// True for the kinds whose frames carry the echo token (all but 29 and
// 71-99).
constexpr bool CarriesEchoToken(int kind) { return kind != 29 && (kind < 71 || kind > 99); }

} // namespace dispatch
