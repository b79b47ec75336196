#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

namespace platform {

// The TCP connection to the game server (or to the SOCKS5 proxy in front of
// it). State() reports the socket states the client tests against; events
// come as signals.
class TcpLink : public QObject {
    Q_OBJECT
public:
    enum SocketState {
        Closed = 0,
        Open = 1,
        Listening = 2,
        ConnectionPending = 3,
        ResolvingHost = 4,
        HostResolved = 5,
        Connecting = 6,
        Connected = 7,
        Closing = 8,
        Error = 9,
    };

    using QObject::QObject;
    ~TcpLink() override = default;

    virtual int State() const = 0;
    virtual void Connect(const QString& host, int port) = 0;
    virtual void Close() = 0;
    virtual void SendData(const QByteArray& bytes) = 0;
    // Every byte received and not yet taken.
    virtual QByteArray GetData() = 0;
    // How many received bytes wait to be taken.
    virtual qint64 BytesAvailable() const = 0;
    // Takes at most maxBytes of the waiting bytes; the rest keep waiting.
    virtual QByteArray Read(qint64 maxBytes) = 0;

signals:
    void DataArrival(qint64 bytesTotal);
    void ConnectEvent();
    void CloseEvent();
    void ErrorEvent(int number, const QString& description);
};

// The real link over QTcpSocket.
class QtTcpLink : public TcpLink {
    Q_OBJECT
public:
    explicit QtTcpLink(QObject* parent = nullptr);

    int State() const override;
    void Connect(const QString& host, int port) override;
    void Close() override;
    void SendData(const QByteArray& bytes) override;
    QByteArray GetData() override;
    qint64 BytesAvailable() const override;
    QByteArray Read(qint64 maxBytes) override;

private:
    QTcpSocket* socket_;
    bool failed_ = false;
};

} // namespace platform
