#pragma once

#include "protocol/frame.h"

#include <QByteArray>

namespace protocol {

// What SendMsg stamps into a frame besides the command itself.
struct EncodeContext {
    uint8_t echo0 = 0;
    uint8_t echo1 = 0;
    uint8_t turnStamp = 0;
    QByteArray chatText;   // GBK bytes of the chat line, at most 100 characters
    QByteArray playerName; // GBK bytes of the local player's name
};

// Writes the frame of `cmd` into `out` (all 272 bytes). Pure.
void EncodeFrame(const GameCmd& cmd, const EncodeContext& ctx, uint8_t* out);

// The header of a received frame as ReadMsg decodes it. Pure.
GameCmd DecodeHeader(const uint8_t* frame);

} // namespace protocol
