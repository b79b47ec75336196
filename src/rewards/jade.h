#pragma once

#include <cstdint>

class Client;

namespace rewards {

// Hides the jade-task panel.
void HideJadeTask(Client& c);

// Resets the jade-task state and places the (hidden) panel.
void InitJadeTask(Client& c);

// Stops the prop plug-in when it runs; flag 1 at unload, 0 otherwise.
void ExitPropPlugin(Client& c, int16_t flag);

} // namespace rewards
