#include "platform/udp_link.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

namespace platform {

QtUdpLink::QtUdpLink(QObject* parent) : UdpLink(parent), socket_(new QUdpSocket(this))
{
    connect(socket_, &QUdpSocket::readyRead, this, &QtUdpLink::ReadDatagrams);
}

bool QtUdpLink::Bind(int localPort)
{
    socket_->abort();
    return socket_->bind(QHostAddress::AnyIPv4, static_cast<quint16>(localPort));
}

int QtUdpLink::LocalPort() const { return socket_->localPort(); }

void QtUdpLink::Close()
{
    socket_->abort();
    current_.clear();
}

QByteArray QtUdpLink::GetData()
{
    QByteArray d = current_;
    current_.clear();
    return d;
}

void QtUdpLink::ReadDatagrams()
{
    // One event per datagram; a datagram the handler leaves is dropped.
    while (socket_->hasPendingDatagrams()) {
        current_ = socket_->receiveDatagram().data();
        emit DataArrival(current_.size());
    }
    current_.clear();
}

} // namespace platform
