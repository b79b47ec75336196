#include "window/layout.h"

#include "app/client.h"
#include "services/gm_channel.h"

namespace window {

void LayoutTableControls(Client& c) { c.game.GameRunning = -1; }

void LayoutPlayControls(Client& c) { services::InitUdpChannel(c); }

void DrawWindowFrame(Client& c) { c.window.WindowFramed = true; }

} // namespace window
