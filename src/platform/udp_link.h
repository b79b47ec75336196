#pragma once

#include <QByteArray>
#include <QObject>

class QUdpSocket;

namespace platform {

// The UDP socket of the table window. Each datagram that arrives raises
// DataArrival once; GetData, called from the handler, takes that datagram.
class UdpLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~UdpLink() override = default;

    // Binds the local port (0: any free one); false when it cannot be had.
    virtual bool Bind(int localPort) = 0;
    virtual int LocalPort() const = 0;
    virtual void Close() = 0;
    // The datagram being announced; empty when it was taken already.
    virtual QByteArray GetData() = 0;

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
    void Close() override;
    QByteArray GetData() override;

private:
    void ReadDatagrams();

    QUdpSocket* socket_;
    QByteArray current_;
};

} // namespace platform
