#pragma once

#include "protocol/frame.h"

#include <QByteArray>
#include <QString>

class Client;

namespace core {

// The GBK bytes of the first `maxChars` characters of a text.
QByteArray GbkPrefix(const QString& text, int maxChars);

// Encodes `cmd` and queues it in the send ring. Kind 19 takes its text from
// ChatText and queues nothing when that is empty. Kinds 2 and 7 carry the
// turn stamp in byte 7. Every frame carries the current echo token.
void SendMsg(Client& c, const protocol::GameCmd& cmd);

// Stamps the echo token into bytes 260-261 of `frame` and queues it.
void SendRawFrame(Client& c, protocol::GameFrame& frame);

// Takes one frame from the receive ring into RecvFrame and CurMsg. Handles
// kind 3 (seat names) and kind 19 (chat) itself. The caller makes sure a
// whole frame is waiting.
void ReadMsg(Client& c);

} // namespace core
