#include "rewards/jade.h"

#include "app/client.h"
#include "window/main_form.h"

namespace rewards {

void HideJadeTask(Client& c) { c.MainForm->Pic_Jadetask->hide(); }

void InitJadeTask(Client& c) { HideJadeTask(c); }

void InitChipPanel(Client&) {}

void RefreshChipBox(Client&, bool) {}

void ExitPropPlugin(Client& c, int16_t)
{
    if (c.game.PropPluginState < 1)
        return;
    c.game.PropPluginState = 0;
}

} // namespace rewards
