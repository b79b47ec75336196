#include "app/client.h"

#include "core/rings.h"
#include "platform/tcp_link.h"

Client::Client(platform::Services services) : plat(services)
{
    QObject::connect(&plat.tcp, &platform::TcpLink::DataArrival, &wiring_,
                     [this](qint64) { core::Winsock1_DataArrival(*this); });
}

Client::~Client() = default;
