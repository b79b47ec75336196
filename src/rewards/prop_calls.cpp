#include "rewards/prop_calls.h"

#include "app/client.h"

namespace rewards {

void InitPropPlugin(Client& c) { c.game.PropPluginState = -1; }

bool PropPluginExists(const Client&) { return false; }

void ClearUser(Client&, int) {}

bool SetUserinfo(Client&, int, uint8_t, bool) { return true; }

void rec_state(Client&, int, bool, int) {}

void InitShowEnd(Client&) {}

} // namespace rewards
