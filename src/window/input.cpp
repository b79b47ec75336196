#include "window/input.h"

#include "app/client.h"
#include "chat/talk_form.h"
#include "core/lobby.h"
#include "results/result_forms.h"
#include "window/main_form.h"

namespace window {

void pic1_KeyDown(Client& c, int16_t keyCode, int16_t)
{
    if (keyCode != 112)
        return;
    c.Score->Hide();
    c.Hero->Hide();
    c.Talk->Hide();
    c.MainForm->showMinimized();
    core::MinimizeLobbyWindow(c);
    c.game.F1Minimized = -1;
    c.game.AutoPlay = -1;
    c.game.CountdownStart = 2;
}

} // namespace window
