#include "window/seat_change.h"

#include "app/client.h"
#include "window/web_panels.h"
#include "window/main_form.h"

namespace window {

void StartSeatChangeShow(Client& c)
{
    WindowState& w = c.window;
    MainForm& f = *c.MainForm;
    f.ImgShuffle.SetVisible(true);
    f.ImgShuffle.ZOrder(0);
    f.LblShuffle.SetVisible(true);
    f.LblShuffle.ZOrder(0);
    f.TimerShuffle->SetInterval(300);
    f.TimerShuffle->SetEnabled(true);
    f.LblShuffle.SetCaption(w.ShuffleCaptions[0]);
    w.ShuffleLabelOn = -1;
    w.ShuffleFlagA = 0;
    window::NavigateWebPanel(c, 2, w.GameAdFile);
}

} // namespace window
