#include "chat/emoticons.h"

#include "app/client.h"
#include "window/main_form.h"

namespace chat {

namespace {
constexpr int kEmoticonTicks = 60;
} // namespace

void SchedEmoticonEnd(Client& c)
{
    ChatState& ch = c.chat;
    if (ch.DBQS_flag && ch.DBQS_Num >= kEmoticonTicks) {
        for (widgets::AniGifControl* cell : c.MainForm->ucAni_BBQS)
            cell->LoadAnimatedGIF_Array(QByteArray()); // no picture: the cell is empty
        c.chat.EmoticonIds.fill(0);
        ch.DBQS_flag = 0;
        ch.DBQS_Num = 0;
    }
    if (!ch.DBQS_flag && ch.DBQS_Num >= kEmoticonTicks)
        ch.DBQS_Num = 0;
}

} // namespace chat
