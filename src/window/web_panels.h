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

} // namespace window
