#include "rewards/jade.h"

#include "app/client.h"
#include "window/main_form.h"

namespace rewards {

void HideJadeTask(Client& c) { c.MainForm->Pic_Jadetask->hide(); }

} // namespace rewards
