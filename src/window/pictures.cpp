#include "window/pictures.h"

#include "app/client.h"

#include <QFile>

namespace window {

void InitPicIds(Client& c)
{
    WindowState& w = c.window;
    const auto put = [](QStringList& table, int count, auto idOf) {
        table.clear();
        for (int i = 0; i < count; ++i)
            table << QString::number(idOf(i));
    };
    const bool full = c.game.ScaleX == 1.0f;
    put(w.AnNiuPicIds, 20, [&](int i) { return full || i < 2 ? 101 + i : 379 + i; });
    put(w.TilePicIds, 180, [](int i) { return 201 + i; });
    put(w.OperationPicIds, 18, [](int i) { return 141 + i; });
    put(w.DiceRollPicIds, 16, [](int i) { return 161 + i; });
    put(w.AvatarPicIds, 20, [](int i) { return i < 10 ? 191 + i : 391 + i; });
    put(w.DialogPicIds, 8, [](int i) { return 130 + i; });
    put(w.CompassPicIds, 4, [](int i) { return 126 + i; });
    put(w.DicePicIds, 6, [](int i) { return 600 + i; });
    for (int v = 1; v <= 3; ++v)
        for (int k = 0; k < 9; ++k)
            w.SpeakPicIds[v][k] = QString::number(430 + 9 * (v - 1) + k);
}

bool LoadGifResource(Client&, int id, const QString&, platform::HasPicture& control)
{
    QFile f(QStringLiteral(":/gif/%1.gif").arg(id));
    platform::Picture pic;
    pic.resourceId = id;
    if (f.open(QIODevice::ReadOnly)) {
        if (!pic.image.loadFromData(f.readAll()))
            return false;
    } else if (id < 101 || id > 923) {
        return false;
    }
    control.SetPicture(pic);
    return true;
}

} // namespace window
