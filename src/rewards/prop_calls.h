#pragma once

#include <QString>
#include <cstdint>

class Client;

// The calls the table makes on the prop plug-in component. This build
// carries no component, so starting it fails and there is never an object
// to call: each call below is then what the client sees of a plug-in that
// is not there.
namespace rewards {

// Starts the plug-in: PropPluginState 1 or 2 on success, -1 when it is
// refused or fails (here: always, no component).
void InitPropPlugin(Client& c);

// True while the plug-in object exists.
bool PropPluginExists(const Client& c);

// The component's methods, made only while the object exists.
void ClearUser(Client& c, int view);
bool SetUserinfo(Client& c, int view, uint8_t seatBit, bool hasAmount);
void rec_state(Client& c, int what, bool on, int view);
void InitShowEnd(Client& c);

} // namespace rewards
