#include "chat/emoticons.h"

#include "app/client.h"
#include "window/main_form.h"

namespace chat {

namespace {
constexpr int kEmoticonTicks = 60;
} // namespace

void SchedEmoticonEnd(Client& c)
{
    GameState& g = c.game;
    if (g.DBQS_flag && g.DBQS_Num >= kEmoticonTicks) {
        for (widgets::AniGifControl* cell : c.MainForm->ucAni_BBQS)
            cell->LoadAnimatedGIF_Array(QByteArray()); // no picture: the cell is empty
        c.chat.EmoticonIds.fill(0);
        g.DBQS_flag = 0;
        g.DBQS_Num = 0;
    }
    if (!g.DBQS_flag && g.DBQS_Num >= kEmoticonTicks)
        g.DBQS_Num = 0;
}

} // namespace chat
