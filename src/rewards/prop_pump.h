#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class Client;

// The client's side of the prop plug-in's requests: every scheduler tick
// collects what the plug-in wants done, settles the end of a hand with it
// and counts the treasure-box choice down.
namespace rewards {

// One tick of the pump, while PropPluginReady. Carries out each waiting
// message (0 system line, 1 notice, 2 frame to send, 3 whisper to a seat,
// 4 key, 5 player card; anything that cannot be carried out is dropped),
// then the hand's end, then the treasure countdown. False when the tick is
// to end here: the plug-in stopped while its messages were fetched, or a
// hand's end was shown without it.
bool SchedPropPump(Client& c);

// A line of the plug-in for the chat history (44 columns) and the two
// system-message boxes; `text` is cut to its first 45 characters.
void AddSystemMessage(Client& c, QString& text);

// A notice of the plug-in on LbProp: box is width, height, left, top;
// style is the countdown's interval (ms) and steps, font size, colour
// (0x00BBGGRR) and alignment (0 left, 1 right, 2 centre).
void ShowPropNotice(Client& c, const QString& text, const std::vector<int32_t>& box,
                    const std::array<int32_t, 5>& style);

// A tick of TimerProp: the treasure boxes' result steps while they run,
// else counts the notice down and hides it at its end.
void TimerProp_Timer(Client& c);

// The width of a text in half-width columns: 2 for a double-byte
// character, 1 for any other.
int16_t DisplayWidth(const QString& text);

} // namespace rewards
