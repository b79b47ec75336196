#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class Client;

namespace core {

// SOCKS5 handshake states: odd ones are requests to send, even ones replies
// awaited.
enum ProxyStep : uint8_t {
    ProxyIdle = 0,
    ProxySendGreeting = 1,
    ProxyAwaitMethod = 2,
    ProxySendAuth = 3,
    ProxyAwaitAuth = 4,
    ProxySendConnect = 5,
    ProxyAwaitConnect = 6,
};

// How long the client waits for the proxy's TCP connection, and again for the
// handshake once the connection stands.
constexpr int kProxyConnectWaitMs = 10000;

// The client's requests, as they go on the wire.
QByteArray ProxyGreeting();
QByteArray ProxyAuthRequest(const QByteArray& user, const QByteArray& password);
// An IPv4 host in dotted form goes as an address, anything else as a domain
// name (at most 255 bytes; longer names give an empty request).
QByteArray ProxyConnectRequest(const QString& host, int32_t port);

// The length of a whole connect reply that starts with these bytes, or 0
// while too few bytes have arrived to tell; -1 for an address type the
// client does not know.
int ConnectReplyLength(const uint8_t* bytes, int available);

// Connects to the SOCKS5 proxy and sends the greeting; the rest of the
// handshake runs as the proxy's replies arrive, with the 50 ms timer on so
// that the connection watch looks after it.
void ProxyConnect(Client& c);

// Sends the request of an odd state and moves to the next state.
void ProxySend(Client& c);

// Judges the proxy's reply in the proxy ring once it has arrived whole, and
// sends the next request, completes the connection or reports the failure.
void ProxyReceive(Client& c);

// Run by the connection watch: a handshake that has not ended when the proxy
// closes the connection or the wait is over fails as a refused proxy does.
void ProxyWatch(Client& c);

} // namespace core
