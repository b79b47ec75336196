#include "rewards/jade.h"

#include "app/client.h"
#include "window/main_form.h"

namespace rewards {

void HideJadeTask(Client& c) { c.MainForm->Pic_Jadetask->hide(); }

void InitJadeTask(Client& c) { HideJadeTask(c); }

void ExitPropPlugin(Client& c, int16_t flag)
{
    RewardsState& r = c.rewards;
    window::MainForm& f = *c.MainForm;
    if (r.PropPluginState < 1)
        return;
    if (r.PropPlugin)
        r.PropPlugin->InitExit(flag);
    r.PropPluginState = 0;
    r.PropPluginReady = 0;
    f.TimerProp->SetEnabled(false);
    r.TreasureCountdownOn = 0;
    // The boxes go; the object stays for a later start.
    for (int i = 0; i < f.ImgProp.Count(); ++i)
        if (f.ImgProp.Exists(i)) {
            f.ImgProp[i].SetVisible(false);
            f.ImgProp[i].Enabled = false;
        }
    f.LbProp.SetCaption(QString());
    f.LbProp.SetVisible(false);
}

} // namespace rewards
