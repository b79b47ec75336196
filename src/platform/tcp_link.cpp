#include "platform/tcp_link.h"

#include <QNetworkProxy>
#include <QTcpSocket>

namespace platform {

QtTcpLink::QtTcpLink(QObject* parent) : TcpLink(parent), socket_(new QTcpSocket(this))
{
    // Straight to the address given: a proxy is used only when the lobby
    // names one, and then the client speaks SOCKS5 to it itself. (This also
    // spares the system proxy lookup at every connect.)
    socket_->setProxy(QNetworkProxy::NoProxy);
    connect(socket_, &QTcpSocket::readyRead, this, [this] { emit DataArrival(socket_->bytesAvailable()); });
    connect(socket_, &QTcpSocket::connected, this, [this] { emit ConnectEvent(); });
    connect(socket_, &QTcpSocket::disconnected, this, [this] { emit CloseEvent(); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError err) {
        if (err == QAbstractSocket::RemoteHostClosedError)
            return; // reported as CloseEvent
        failed_ = true;
        emit ErrorEvent(static_cast<int>(err), socket_->errorString());
    });
}

int QtTcpLink::State() const
{
    switch (socket_->state()) {
    case QAbstractSocket::UnconnectedState: return failed_ ? Error : Closed;
    case QAbstractSocket::HostLookupState: return ResolvingHost;
    case QAbstractSocket::ConnectingState: return Connecting;
    case QAbstractSocket::ConnectedState: return Connected;
    case QAbstractSocket::BoundState: return Open;
    case QAbstractSocket::ListeningState: return Listening;
    case QAbstractSocket::ClosingState: return Closing;
    }
    return Closed;
}

void QtTcpLink::Connect(const QString& host, int port)
{
    failed_ = false;
    socket_->abort();
    socket_->connectToHost(host, static_cast<quint16>(port));
}

void QtTcpLink::Close()
{
    failed_ = false;
    socket_->abort();
}

void QtTcpLink::SendData(const QByteArray& bytes)
{
    if (socket_->state() == QAbstractSocket::ConnectedState)
        socket_->write(bytes);
}

QByteArray QtTcpLink::GetData() { return socket_->readAll(); }

qint64 QtTcpLink::BytesAvailable() const { return socket_->bytesAvailable(); }

QByteArray QtTcpLink::Read(qint64 maxBytes) { return socket_->read(maxBytes); }

} // namespace platform
