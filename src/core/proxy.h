#pragma once

class Client;

namespace core {

// Takes the proxy's answer out of the proxy ring and moves the SOCKS5
// handshake on.
void ProxyReceive(Client& c);

} // namespace core
