#pragma once

#include <QString>
#include <QStringList>

class Client;

namespace chat {

struct ChatState {};

// Relay length (bytes 236-239, big-endian) that marks a relayed plug-in frame.
bool IsRelayFrame(const uint8_t* frame);

// A received chat frame (kind 19), called by ReadMsg: relayed plug-in frames
// are dropped while no plug-in runs; a chat line is added to the history.
void OnChatFrame(Client& c);

} // namespace chat
