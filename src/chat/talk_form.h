#pragma once

#include "platform/controls.h"

namespace chat {

// The chat-history window.
class TalkForm : public platform::Form {
    Q_OBJECT
public:
    explicit TalkForm(QWidget* owner);
    platform::ListBox* Text1;
};

} // namespace chat
