#include "window/layout.h"

#include "app/client.h"
#include "platform/web_panel.h"
#include "services/gm_channel.h"
#include "window/main_form.h"

#include <cmath>

namespace window {

void LayoutTableControls(Client& c) { c.game.GameRunning = -1; }

void LayoutPlayControls(Client& c)
{
    services::InitUdpChannel(c);

    // The mascot, and the first web panel laid over it, hidden until a page
    // has loaded into it.
    MainForm& f = *c.MainForm;
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;
    f.Bird.Move(936 * sx, 680 * sy, 82 * sx, 80 * sy);
    f.Bird.ZOrder(0);
    f.Bird.SetVisible(true);
    if (f.WebBrowser1) {
        f.WebBrowser1->hide();
        f.WebBrowser1->setGeometry(static_cast<int>(std::lrint(f.Bird.Left + 2)),
                                   static_cast<int>(std::lrint(f.Bird.Top + 2)),
                                   static_cast<int>(std::lrint(82 * sx)), static_cast<int>(std::lrint(80 * sy)));
    }
}

} // namespace window
