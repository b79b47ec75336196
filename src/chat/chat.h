#pragma once

#include <QString>
#include <QStringList>

class Client;

namespace chat {

// A list box's lines as the chat windows keep them.
struct LineList {
    QStringList Items;
    void AddItem(const QString& line) { Items << line; }
    void Clear() { Items.clear(); }
};

struct ChatState {
    LineList TalkText1; // the chat history
};

// Relay length (bytes 236-239, big-endian) that marks a relayed plug-in frame.
bool IsRelayFrame(const uint8_t* frame);

// A received chat frame (kind 19), called by ReadMsg: relayed plug-in frames
// are dropped while no plug-in runs; a chat line is added to the history.
void OnChatFrame(Client& c);

} // namespace chat
