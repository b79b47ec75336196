#pragma once

#include "platform/controls.h"

#include <cstdint>

class Client;

namespace chat {

// The chat-history window "聊天": the history list and a close label.
class TalkForm : public platform::Form {
    Q_OBJECT
public:
    explicit TalkForm(QWidget* owner);
    platform::ListBox* Text1;
    platform::Label Label1{QStringLiteral("Label1")};
};

// Half transparent, placed below the middle of the table window.
void Talk_Form_Load(Client& c);

// A click on the close label.
void Talk_Label1_Click(Client& c);

// A key in the history list: Alt, then C, with no other key between, hides
// the window.
void Talk_Text1_KeyDown(Client& c, int16_t keyCode);

// The history caption on the table and the two system-message boxes open
// the window below the middle of the table, or hide it when it is shown.
// The caption also hides the quick phrases.
void Lbchat_Click(Client& c);
void Sysmsg_Click(Client& c, int16_t index);

} // namespace chat
