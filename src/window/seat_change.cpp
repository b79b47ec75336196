#include "window/seat_change.h"

#include "app/client.h"
#include "dispatch/web_panels.h"
#include "window/main_form.h"

namespace window {

void StartSeatChangeShow(Client& c)
{
    GameState& g = c.game;
    MainForm& f = *c.MainForm;
    f.ImgShuffle.SetVisible(true);
    f.ImgShuffle.ZOrder(0);
    f.LblShuffle.SetVisible(true);
    f.LblShuffle.ZOrder(0);
    f.TimerShuffle->SetInterval(300);
    f.TimerShuffle->SetEnabled(true);
    f.LblShuffle.SetCaption(g.ShuffleCaptions[0]);
    g.ShuffleLabelOn = -1;
    g.ShuffleFlagA = 0;
    dispatch::NavigateWebPanel(c, 2, g.GameAdFile);
}

} // namespace window
