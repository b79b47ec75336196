#include "platform/udp_link.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QPointer>
#include <QUdpSocket>

namespace platform {

namespace {

// Datagrams held while their host name is looked up; more are dropped.
constexpr int kMaxHeld = 8;

// The same address, an IPv4 address mapped into IPv6 included.
bool SameAddress(const QHostAddress& a, const QHostAddress& b)
{
    return a.isEqual(b, QHostAddress::TolerantConversion);
}

} // namespace

QtUdpLink::QtUdpLink(QObject* parent) : UdpLink(parent), socket_(new QUdpSocket(this))
{
    // A plain local socket: no proxy the application or the system names.
    socket_->setProxy(QNetworkProxy::NoProxy);
    connect(socket_, &QUdpSocket::readyRead, this, &QtUdpLink::ReadDatagrams);
}

bool QtUdpLink::Bind(int localPort)
{
    socket_->abort();
    // Not shared: a port another socket holds is refused, as the port search
    // expects.
    return socket_->bind(QHostAddress::AnyIPv4, static_cast<quint16>(localPort), QAbstractSocket::DontShareAddress);
}

int QtUdpLink::LocalPort() const { return socket_->localPort(); }

bool QtUdpLink::IsBound() const { return socket_->state() == QAbstractSocket::BoundState; }

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

void QtUdpLink::SetRemote(const QString& host, int port)
{
    remoteHost_ = host.trimmed();
    remotePort_ = port;
    if (!remoteHost_.isEmpty() && QHostAddress(remoteHost_).isNull() && !addresses_.contains(remoteHost_))
        LookUp(remoteHost_);
}

void QtUdpLink::LookUp(const QString& host)
{
    QPointer<QtUdpLink> self(this);
    QHostInfo::lookupHost(host, this, [self, host](const QHostInfo& info) {
        if (!self)
            return;
        self->addresses_.insert(host, info.error() == QHostInfo::NoError ? info.addresses() : QList<QHostAddress>{});
        self->FlushHeld();
    });
}

void QtUdpLink::FlushHeld()
{
    const QList<QByteArray> held = std::exchange(held_, {});
    for (const QByteArray& d : held)
        SendData(d);
}

bool QtUdpLink::SendData(const QByteArray& datagram)
{
    if (!IsBound() || remoteHost_.isEmpty() || remotePort_ <= 0 || remotePort_ > 65535)
        return false;
    QHostAddress to(remoteHost_);
    if (to.isNull()) {
        const auto known = addresses_.constFind(remoteHost_);
        if (known == addresses_.constEnd()) {
            if (held_.size() >= kMaxHeld)
                return false;
            held_ << datagram;
            return true;
        }
        if (known->isEmpty())
            return false;
        to = known->first();
    }
    return socket_->writeDatagram(datagram, to, static_cast<quint16>(remotePort_)) == datagram.size();
}

bool QtUdpLink::FromRemote() const
{
    if (senderPort_ != remotePort_ || sender_.isNull())
        return false;
    const QHostAddress literal(remoteHost_);
    if (!literal.isNull())
        return SameAddress(literal, sender_);
    for (const QHostAddress& a : addresses_.value(remoteHost_))
        if (SameAddress(a, sender_))
            return true;
    return false;
}

bool QtUdpLink::ProbePortInUse(int localPort)
{
    QUdpSocket probe;
    probe.setProxy(QNetworkProxy::NoProxy);
    if (probe.bind(QHostAddress::AnyIPv4, static_cast<quint16>(localPort), QAbstractSocket::DontShareAddress)) {
        probe.close();
        return false;
    }
    return probe.error() == QAbstractSocket::AddressInUseError;
}

void QtUdpLink::ReadDatagrams()
{
    // One event per datagram; a datagram the handler leaves is dropped.
    while (socket_->hasPendingDatagrams()) {
        const QNetworkDatagram d = socket_->receiveDatagram();
        current_ = d.data();
        sender_ = d.senderAddress();
        senderPort_ = d.senderPort();
        emit DataArrival(current_.size());
    }
    current_.clear();
    sender_.clear();
    senderPort_ = 0;
}

} // namespace platform
