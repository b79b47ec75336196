#include "chat/emoticons.h"

#include "app/client.h"
#include "platform/resources.h"
#include "window/main_form.h"

#include <cmath>

namespace chat {

namespace {

constexpr int kEmoticonTicks = 60;
constexpr int kEmoticonSize = 65;
struct Place {
    int left, top;
};
// Beside each seat, by view, in pixels of the 1024 x 768 table.
constexpr std::array<Place, 4> kEmoticonPlaces{{{510, 441}, {197, 341}, {452, 165}, {752, 262}}};

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

void PlaceEmoticonCell(Client& c, int view)
{
    if (view < 0 || view > 3)
        return;
    const Place at = kEmoticonPlaces[static_cast<std::size_t>(view)];
    widgets::AniGifControl& cell = *c.MainForm->ucAni_BBQS[static_cast<std::size_t>(view)];
    cell.setGeometry(static_cast<int>(std::nearbyint(at.left * c.game.ScaleX)),
                     static_cast<int>(std::nearbyint(at.top * c.game.ScaleY)),
                     static_cast<int>(std::nearbyint(kEmoticonSize * c.game.ScaleX)),
                     static_cast<int>(std::nearbyint(kEmoticonSize * c.game.ScaleY)));
    cell.show();
    cell.ZOrder(0);
}

void PlayEmoticon(Client& c, int view, int number)
{
    if (view < 0 || view > 3 || number < 1 || number > kEmoticons)
        return;
    const int id = kEmoticonGifBase + number;
    if (const std::optional<QByteArray> bytes = platform::LoadResData(id, QStringLiteral("GIF")))
        c.MainForm->ucAni_BBQS[static_cast<std::size_t>(view)]->LoadAnimatedGIF_Array(*bytes);
    c.chat.EmoticonIds[static_cast<std::size_t>(view)] = static_cast<int16_t>(id);
    c.chat.DBQS_flag = -1;
    c.chat.DBQS_Num = 0;
}

} // namespace chat
