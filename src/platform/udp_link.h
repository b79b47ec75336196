#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

class QUdpSocket;

namespace platform {

// The UDP socket of the table window. Each datagram that arrives raises
// DataArrival once; GetData, called from the handler, takes that datagram
// and FromRemote tells whether it came from the remote host and port.
class UdpLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~UdpLink() override = default;

    // Binds the local port (0: any free one) without sharing it with other
    // sockets; false when it cannot be had.
    virtual bool Bind(int localPort) = 0;
    virtual int LocalPort() const = 0;
    virtual bool IsBound() const = 0;
    virtual void Close() = 0;
    // The datagram being announced; empty when it was taken already.
    virtual QByteArray GetData() = 0;

    // The far end that SendData sends to and that FromRemote compares with:
    // a host name or an address, and a port.
    virtual void SetRemote(const QString& host, int port) = 0;
    // Sends one datagram to the remote end; false when it could not leave
    // (socket not bound, no remote). A host name that is still being looked
    // up holds the datagram until its address is known.
    virtual bool SendData(const QByteArray& datagram) = 0;
    // True when the datagram being announced came from the remote host's
    // address and the remote port.
    virtual bool FromRemote() const = 0;

    // Probes one local port with a socket of its own: true only when binding
    // it fails because the address is in use.
    virtual bool ProbePortInUse(int localPort) = 0;

signals:
    void DataArrival(qint64 bytesTotal);
};

// The real link over QUdpSocket.
class QtUdpLink : public UdpLink {
    Q_OBJECT
public:
    explicit QtUdpLink(QObject* parent = nullptr);

    bool Bind(int localPort) override;
    int LocalPort() const override;
    bool IsBound() const override;
    void Close() override;
    QByteArray GetData() override;
    void SetRemote(const QString& host, int port) override;
    bool SendData(const QByteArray& datagram) override;
    bool FromRemote() const override;
    bool ProbePortInUse(int localPort) override;

private:
    void ReadDatagrams();
    void LookUp(const QString& host);
    void FlushHeld();

    QUdpSocket* socket_;
    QByteArray current_;
    QHostAddress sender_;
    int senderPort_ = 0;
    QString remoteHost_;
    int remotePort_ = 0;
    // The addresses of each host name looked up; a name being looked up has
    // no entry yet.
    QHash<QString, QList<QHostAddress>> addresses_;
    QList<QByteArray> held_;
};

} // namespace platform
