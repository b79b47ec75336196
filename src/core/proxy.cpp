#include "core/proxy.h"

#include "app/client.h"

namespace core {

void ProxyReceive(Client&)
{
    // The handshake itself comes with the SOCKS5 connection; until then the
    // proxy's bytes wait in the proxy ring.
}

} // namespace core
