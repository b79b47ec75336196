#pragma once

#include "protocol/frame.h"

#include <QString>
#include <cstdint>

class Client;

namespace chat {

// The typing side of the chat: the one-line chat box at the foot of the
// table, the whisper prefix and the 800 ms flood gate of the Enter key.

// The chat frame's modes (Data(0)).
enum ChatMode : int16_t { ModeLine = 0, ModePhrase1 = 1, ModePhrase2 = 2, ModeEmoticon = 3 };

// A chat frame's command record: kind 19 from the local player's seat, all
// data words 0.
protocol::GameCmd ChatCmd(const Client& c);

// The most entries the chat history keeps; older ones are dropped.
constexpr int kHistoryEntries = 100;
// Drops the oldest history entries above kHistoryEntries.
void TrimHistory(Client& c);

// A key typed into the chat box (KeyAscii: 13 Enter, 8 Backspace, else the
// character). Enter sends the box's line through the flood gate; Backspace
// into the whisper prefix marks the prefix for removal. Returns true when
// the key is used up here (Enter), so the box does not see it. Nothing
// happens while the player may not act.
bool Chat_KeyPress(Client& c, int16_t keyAscii);

// The chat box's text changed: after a Backspace into the whisper prefix,
// the whole prefix goes instead of one character, and the whisper ends.
void Chat_Change(Client& c);

void Chat_GotFocus(Client& c);
void Chat_LostFocus(Client& c);

// 800 ms after an Enter: the gate opens again.
void TimerChat_Timer(Client& c);

// Sends the chat box's line as a chat frame: a whisper when the box starts
// with the whisper prefix, else a plain line. A blank box (or the prefix
// alone) sends nothing. Used by Enter and by the send button.
void SendTypedLine(Client& c);

// Connects the chat box, the history window, the quick-phrase and emoticon
// windows and the seats' avatars and labels to their handlers.
void WireChat(Client& c);

} // namespace chat
