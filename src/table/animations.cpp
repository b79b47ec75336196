#include "table/animations.h"

#include "app/client.h"
#include "table/tiles.h"
#include "window/main_form.h"
#include "window/pictures.h"

namespace table {

void ShowSeatCompass(Client& c)
{
    uint8_t& own = c.game.Players[0].SeatBit;
    if (own == 0)
        own = 1;
    window::LoadGifResource(c.window.PicIds.CompassPicIds[BitIndex(own) & 3], QStringLiteral("GIF"),
                            c.MainForm->ZhiNan);
    c.MainForm->ZhiNan.SetVisible(true);
}

} // namespace table
