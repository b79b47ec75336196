#pragma once

class Client;

namespace chat {

// Animated emoticons: number n (1-18) is GIF resource 667 + n.
constexpr int kEmoticonGifBase = 667;
constexpr int kEmoticons = 18;

// The scheduler's step for the emoticons beside the seats: three seconds
// (60 ticks) after the last one started, all four are cleared.
void SchedEmoticonEnd(Client& c);

// Puts the table's emoticon cell of a view (0-3) at its place beside the
// seat, in front of the table.
void PlaceEmoticonCell(Client& c, int view);

// Plays emoticon `number` (1-18) in the cell of a view and starts the
// three seconds of the show; another number shows nothing.
void PlayEmoticon(Client& c, int view, int number);

} // namespace chat
