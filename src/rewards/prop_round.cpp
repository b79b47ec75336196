#include "rewards/prop_round.h"

#include "app/client.h"
#include "rewards/prop_calls.h"
#include "window/main_form.h"

namespace rewards {

void ResetPropRound(Client& c)
{
    GameState& g = c.game;
    RewardsState& r = c.rewards;
    window::MainForm& f = *c.MainForm;
    if (g.PropRoundReset != 0)
        return;
    g.PropRoundReset = -1;
    // A box flight of the last hand still under way leaves its box alone.
    ++r.PropRoundSerial;
    for (int i = 0; i < f.ImgProp.Count(); ++i) {
        if (!f.ImgProp.Exists(i))
            continue;
        platform::Image& box = f.ImgProp[i];
        if (box.Visible || box.Enabled) {
            box.SetVisible(false);
            box.Enabled = false;
        }
    }
    if (f.LbProp.Visible) {
        f.LbProp.SetCaption(QString());
        f.LbProp.SetVisible(false);
    }
    InitShowNext(c, true);
    for (QString& name : r.PropSeatNames)
        name.clear();
    r.PropCoinDelta.fill(0);
}

void Proponeself_MouseMove(Client& c, float x, float y)
{
    RewardsState& r = c.rewards;
    const platform::Label& label = c.MainForm->Proponeself;
    if (!(x > 0 && x < label.Width && y > 0 && y < label.Height))
        return;
    if (r.PropPluginState <= 0 || !r.PropPlugin || r.PropOneSelfShown != 0)
        return;
    r.PropOneSelfShown = -1;
    if (r.PropPlugin->ShowZqVideo(0, true, 0))
        r.PropOneSelfHover = 1;
}

void CloseOwnSeatVideo(Client& c)
{
    RewardsState& r = c.rewards;
    if (r.PropOneSelfHover >= 1 && r.PropOneSelfHover <= 4) {
        if (r.PropPluginState > 0 && r.PropPlugin)
            r.PropPlugin->ShowZqVideo(static_cast<int16_t>(r.PropOneSelfHover - 1), false, 0);
        r.PropOneSelfHover = 0;
    }
    r.PropOneSelfShown = 0;
}

} // namespace rewards
