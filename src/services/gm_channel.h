#pragma once

#include "services/gm_packet.h"

#include <QString>
#include <cstdint>

class Client;

namespace platform {
class UdpLink;
}

namespace services {

// The customer-service host when the environment names none.
inline const QString kDefaultGmServiceHost = QStringLiteral("kefu.brannoch.example");
// The first local port of the search, and the last one there is.
constexpr int kFirstGmLocalPort = 3000;
constexpr int kLastLocalPort = 65535;
// Timers of the table window: the reply-count query clock (a query every
// tenth tick), the icon's blinking and the icon's click lock.
constexpr int kGmQueryMs = 40000;
constexpr int kGmFlashMs = 1000;
constexpr int kGmClickMs = 1000;
// The icon's pictures: highlighted and normal.
constexpr int kGmIconHighlighted = 1140;
constexpr int kGmIconNormal = 1141;
// The icon's tip when no local port could be had.
inline const QString kGmChannelDownTip = QStringLiteral("客服暂时无法连接");
// The conversation log in the data folder, and the size at which it is
// moved aside to Gm.log.txt.1 (replacing an older one) and begun afresh.
inline const QString kGmLogName = QStringLiteral("Gm.log.txt");
constexpr qint64 kGmLogMaxBytes = 256 * 1024;

// True only when binding the port fails because another socket holds it.
bool IsUdpPortInUse(platform::UdpLink& link, int port);
// The first port from `start` up that is not in use; -1 when every port up
// to 65535 is.
int FindFreeUdpPort(platform::UdpLink& link, int start);

// Sets up the customer-service channel for a new table: the icon placed and
// hidden, the state and timers reset, the socket bound to the first free
// port from 3000 with the service's port 4001 as its far end. When no port
// can be bound the channel is marked unavailable and the icon's tip says so.
void InitUdpChannel(Client& c);

// Sends a packet to the service, reopening the socket first when the
// service window closed it. Nothing leaves while the channel is down.
void SendGm(Client& c, const GmPacket& packet);

// A datagram arrived on the table window's UDP socket. Only datagrams from
// the service's host and port are handled; any other is dropped.
void WinsckUdp_DataArrival(Client& c, int64_t bytesTotal);

// Keeps a received packet in the customer-service state.
void ApplyGmPacket(Client& c, const GmPacket& packet);
// Shows and logs what ApplyGmPacket kept, while the service window is open.
void ShowGmPacket(Client& c, const GmPacket& packet);

// The table window's customer-service icon and timers.
void ImgGm_Click(Client& c);
void TimerGmQuery_Timer(Client& c);
void TimerGmFlash_Timer(Client& c);
void TimerClick_Timer(Client& c);

// Appends a text to a GBK file, one line per LF-separated piece, each ended
// by CR LF. A file that has reached maxBytes is first moved to <path>.1.
// Failures are ignored.
void AppendTextFile(const QString& path, const QString& text, qint64 maxBytes = kGmLogMaxBytes);
// Where the conversation log lives; empty when there is no data folder.
QString GmLogPath(const Client& c);

} // namespace services
