#pragma once

#include <QString>
#include <cstdint>

class Client;

// The calls the table makes on the prop plug-in component, through its
// interface (platform::PropPlugin) and the loader that finds it in the
// program's folder.
namespace rewards {

// Starts the plug-in: loads it from the program's folder unless its object
// exists, hands it the user, the table window and command-line field 15,
// and reads where its treasure boxes go. PropPluginState becomes 2 (with
// treasure boxes) or 1 and PropPluginReady is set; -1 when input is not
// allowed yet or there is no plug-in; 0 again (object released) when the
// plug-in refuses to start. Returns -1 on success, else 0.
int16_t InitPropPlugin(Client& c);

// True while the plug-in object exists.
bool PropPluginExists(const Client& c);

// The component's methods. SetUserinfo and rec_state are made whenever the
// object exists (SetUserinfo is true when there is none), whether or not
// the plug-in runs; callers that want a running plug-in test
// PropPluginState. The others only while the plug-in runs.
void ClearUser(Client& c, int view);
bool SetUserinfo(Client& c, int view, uint8_t seatBit, bool hasAmount);
void rec_state(Client& c, int what, bool on, int view);
void InitShowEnd(Client& c);
void InitShowNext(Client& c, bool show);

} // namespace rewards
