#pragma once

#include "core/frame.h"

#include <QByteArray>
#include <QString>

class Client;

namespace core {

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

// The GBK bytes of the first `maxChars` characters of a text.
QByteArray GbkPrefix(const QString& text, int maxChars);

// Encodes `cmd` and queues it in the send ring. Kind 19 takes its text from
// ChatText and queues nothing when that is empty. Kinds 2 and 7 carry the
// turn stamp in byte 7. Every frame carries the current echo token.
void SendMsg(Client& c, const GameCmd& cmd);

// Stamps the echo token into bytes 260-261 of `frame` and queues it.
void SendRawFrame(Client& c, GameFrame& frame);

// Takes one frame from the receive ring into RecvFrame and CurMsg. Handles
// kind 3 (seat names) and kind 19 (chat) itself. The caller makes sure a
// whole frame is waiting.
void ReadMsg(Client& c);

} // namespace core
