#include "core/reconnect.h"

#include "app/client.h"

namespace core {

void OpenReconnectWindow(Client& c) { c.core.ReconnectWindowOpen = true; }

} // namespace core
