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

} // namespace chat
