#pragma once

#include <QString>

class Client;

namespace window {

// Opens a web page in the user's browser. Only http and https addresses
// are opened; false when the address is refused or the desktop cannot open
// it.
bool OpenWebPage(Client& c, const QString& address);

// The first panel finished a page: laid over the mascot and shown, unless
// it has reported a navigation error before.
void WebBrowser1_DocumentComplete(Client& c);
// The first panel failed a page: hidden for good.
void WebBrowser1_NavigateError(Client& c);
// The second panel failed a page: hidden.
void WebBrowser2_NavigateError(Client& c);

// The two web panels as the table drives them: the page a panel is sent to,
// where it stands and whether it is shown. Addresses come from the server,
// so a panel only ever gets an http or https address.
//
// Sends panel 1 (WebBrowser1) or 2 (WebBrowser2) to the address; panel 2 is
// also placed where its state says, brought to the front and shown (panel 1
// shows itself when its page is complete). An address that is not a web
// address leaves the panel as it is. Returns whether the panel took it.
bool NavigateWebPanel(Client& c, int panel, const QString& address);

void HideWebPanel(Client& c, int panel);

} // namespace window
