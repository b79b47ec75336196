#pragma once

#include <QString>

class Client;

// The two web panels of the table window as the arms drive them: the page a
// panel is sent to, where it stands and whether it is shown. Addresses come
// from the server, so a panel only ever gets an http or https address.
namespace dispatch {

// True for an absolute http or https address with a host.
bool IsWebAddress(const QString& address);

// Sends panel 1 (WebBrowser1) or 2 (WebBrowser2) to the address; panel 2 is
// also placed where its state says, brought to the front and shown (panel 1
// shows itself when its page is complete). An address that is not a web
// address leaves the panel as it is. Returns whether the panel took it.
bool NavigateWebPanel(Client& c, int panel, const QString& address);

void HideWebPanel(Client& c, int panel);

} // namespace dispatch
