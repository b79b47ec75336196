#pragma once

#include "chat/speak_box.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class Client;

namespace chat {

// The words the filter removes from every received line, in the order it
// removes them: four names of persons, a movement, five abusive expressions
// (the longer before its own start), three obscene words, two English
// swear words.
QStringList DefaultFilterWords();

// The chat subsystem's own state.
struct ChatState {
    // Words removed from every received line, in this order.
    QStringList FilterWords = DefaultFilterWords();
    // The speech-bubble windows made so far, at most one per view.
    std::vector<std::unique_ptr<SpeakBoxForm>> SpeakBoxes;
    // The emoticon (GIF resource number) each ucAni_BBQS shows, by view; 0
    // while it shows none.
    std::array<int16_t, 4> EmoticonIds{};

    // Chat switches and the emoticon picker. 16-bit: -1 true, 0 false.
    int16_t ChatAllowed = 0;
    int16_t BubblesAllowed = 0;
    int16_t DBQS_flag = 0;
    int16_t DBQS_Num = 0;
    uint32_t DBQ_click_time = 0;

    // Voices and whispers.
    std::array<QString, 4> SeatVoiceFolders; // by view
    int16_t WhisperSeat = 0;
    QString WhisperPrefix;
    // A Backspace was typed with the caret inside the whisper prefix, and
    // the chat box's text before that key.
    int16_t PrefixCutPending = 0;
    QString ChatBoxBeforeKey;

    // The chat button blinks this many more steps (a line from another seat).
    int16_t ChatBlinkCount = 0;
};

// The relay length of a chat frame: bytes 236-239, big-endian.
uint32_t RelayLength(const uint8_t* frame);
// True when the relay length marks a relayed plug-in frame (272 or 260).
bool IsRelayFrame(const uint8_t* frame);

// A received chat frame (kind 19), called by ReadMsg once the header is
// decoded: a relayed plug-in frame goes to the plug-in while it runs;
// otherwise the line is shown, a quick phrase also in a bubble with the
// speaker's voice, an emoticon beside the speaker's seat. A failure inside
// abandons the frame (ReadMsg has already moved on).
void OnChatFrame(Client& c);

// Posts a notice: the chat history (44 columns) and the two system-message
// boxes. A blank text is ignored.
void AddSystemLine(Client& c, const QString& text);

// The text with every word of the filter list removed.
QString FilterChat(const Client& c, const QString& text);

// Puts a line into the two one-line system-message boxes: the newest in
// Sysmsg(1), the one before in Sysmsg(0); the first line of all in Sysmsg(0).
// The line is shown as given (callers cut it to 45 characters).
void PushSystemMessage(Client& c, const QString& line);

// The first 45 characters of a line, as the one-line boxes show it.
QString SystemBoxText(const QString& text);

} // namespace chat
