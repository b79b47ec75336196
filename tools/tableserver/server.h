#pragma once

#include "table.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QTcpSocket;

namespace tableserver {

struct ServerOptions {
    quint16 port = 0; // 0: any free port
    bool trace = false;
    TableConfig table;
};

// The network side of the table server: one listening socket on 127.0.0.1,
// one connection per client, bytes cut into 272-byte frames and handed to
// the Table; what the Table queues is written back. A client that sends a
// frame the server cannot take (a broken header, anything but a login or
// reconnect as its first frame) is dropped; the server goes on.
class TableServer : public QObject {
    Q_OBJECT
public:
    explicit TableServer(const ServerOptions& options, QObject* parent = nullptr);
    ~TableServer() override;

    bool Listen();
    quint16 Port() const;
    const Table& GetTable() const { return table_; }

    // Where trace lines go (one line per frame or note, without newline).
    // By default they are printed to standard output when tracing is on.
    void SetTraceSink(std::function<void(const QString&)> sink) { sink_ = std::move(sink); }

signals:
    // The game is over (the hand limit was reached) and every client has
    // been sent its last frame.
    void finished();

private:
    struct Connection {
        QTcpSocket* socket = nullptr;
        QByteArray buffer;
        int seat = -1;
        bool dropped = false; // no more frames are taken from it
        bool closed = false;  // the socket is gone
    };

    void OnNewConnection();
    void OnReadyRead(Connection* c);
    void OnDisconnected(Connection* c);
    void Sweep();
    void HandleFrame(Connection* c, const protocol::GameFrame& frame);
    void Drop(Connection* c, const QString& why);
    void CloseAfterWrite(Connection* c);
    void Flush();
    void Trace(const QString& line);
    int64_t Now() const { return clock_.elapsed(); }

    ServerOptions options_;
    QTcpServer listener_;
    QTimer timer_;
    QElapsedTimer clock_;
    Table table_;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::array<Connection*, 4> seatConnection_{};
    std::vector<Connection*> watcherConnection_; // by spectator number less Table::kFirstWatcher
    Connection*& ConnectionOf(int number);
    std::function<void(const QString&)> sink_;
    bool finishing_ = false;
};

} // namespace tableserver
