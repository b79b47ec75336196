#pragma once

#include "platform/controls.h"

class Client;

namespace chat {

// The quick-phrase window: two phrase lists behind two tab pictures. Entry
// n - 1 of a list is quick phrase n.
class HuifuForm : public platform::Form {
    Q_OBJECT
public:
    explicit HuifuForm(QWidget* owner);
    platform::ListBox* List1;
    platform::ListBox* List2;
    platform::Image Picture1{QStringLiteral("Picture1")};
    platform::Image Picture2{QStringLiteral("Picture2")};
    platform::Label Label1{QStringLiteral("Label1")}; // closes the window
    // The lists were read (the window is read once, on its first use).
    bool Loaded = false;
};

// Reads the two phrase lists from chat.ini in the program folder, unless
// they were read already: section "Phrase1" (and "Phrase2"), key "num" the
// number of phrases, keys "1" to num the phrases. No file: empty lists.
void huifu_Form_Load(Client& c);

// Quick phrase `number` (1 for the first) of list 1 or 2; empty when the
// list has no such phrase.
QString QuickPhrase(Client& c, int list, int number);

// A double click on phrase list 1 or 2: the selected phrase goes out as a
// chat frame (to the whisper target while a whisper is armed), the window
// hides. Only while the player may act.
void huifu_List_DblClick(Client& c, int list);

// The tabs: a click shows the other list (Picture1 list 2, Picture2 list
// 1); the pointer over a tab shows its hover picture.
void huifu_Picture_Click(Client& c, int tab);
void huifu_Picture_MouseMove(Client& c, int tab);

// The quick-phrase button of the table: opens the window on list 2, turns
// it to list 2, or hides it; hides the history and the emoticon picker.
void imgword2_Click(Client& c);
void imgword2_MouseMove(Client& c);

// The pointer over the chat bar: the emoticon and quick-phrase buttons show
// their normal pictures again.
void ChatBar_MouseMove(Client& c);

// Places a chat side window (quick phrases, emoticons) above the chat bar.
void PlaceBesideChatBar(Client& c, QWidget& w);

} // namespace chat
