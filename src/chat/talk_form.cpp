#include "chat/talk_form.h"

namespace chat {

TalkForm::TalkForm(QWidget* owner)
    : platform::Form(QStringLiteral("Talk"), owner), Text1(new platform::ListBox(this, QStringLiteral("Text1")))
{
    resize(300, 200);
    Text1->setGeometry(0, 0, 300, 200);
}

} // namespace chat
