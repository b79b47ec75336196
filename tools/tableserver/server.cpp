#include "server.h"

#include "protocol.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tableserver {

namespace {

QString SeatLabel(int seat) { return seat < 0 ? QStringLiteral("-") : QString::number(seat); }

// The key of a spectator's login.
const std::string kWatchKey = "watch";

} // namespace

TableServer::TableServer(const ServerOptions& options, QObject* parent)
    : QObject(parent), options_(options), table_(options.table)
{
    clock_.start();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        table_.Advance(Now());
        Flush();
    });
    connect(&listener_, &QTcpServer::newConnection, this, &TableServer::OnNewConnection);
}

TableServer::~TableServer()
{
    for (auto& c : connections_)
        if (c->socket)
            c->socket->disconnect(this);
}

bool TableServer::Listen() { return listener_.listen(QHostAddress::LocalHost, options_.port); }

quint16 TableServer::Port() const { return listener_.serverPort(); }

void TableServer::Trace(const QString& line)
{
    if (!options_.trace)
        return;
    if (sink_) {
        sink_(line);
        return;
    }
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void TableServer::OnNewConnection()
{
    while (QTcpSocket* socket = listener_.nextPendingConnection()) {
        auto conn = std::make_unique<Connection>();
        conn->socket = socket;
        Connection* c = conn.get();
        connections_.push_back(std::move(conn));
        connect(socket, &QTcpSocket::readyRead, this, [this, c] { OnReadyRead(c); });
        connect(socket, &QTcpSocket::disconnected, this, [this, c] { OnDisconnected(c); });
        Trace(QStringLiteral("NOTE seat=- connection from %1:%2")
                  .arg(socket->peerAddress().toString())
                  .arg(socket->peerPort()));
    }
}

void TableServer::OnReadyRead(Connection* c)
{
    if (c->dropped)
        return;
    c->buffer.append(c->socket->readAll());
    while (!c->dropped && c->buffer.size() >= protocol::kFrameSize) {
        protocol::GameFrame frame{};
        std::memcpy(frame.data(), c->buffer.constData(), protocol::kFrameSize);
        c->buffer.remove(0, protocol::kFrameSize);
        HandleFrame(c, frame);
    }
    Flush();
}

void TableServer::HandleFrame(Connection* c, const protocol::GameFrame& frame)
{
    Trace(QStringLiteral("IN seat=%1 ").arg(SeatLabel(c->seat))
          + QString::fromStdString(proto::Describe(frame, true)));
    if (!proto::HeaderWellFormed(frame)) {
        Drop(c, QStringLiteral("malformed frame header"));
        return;
    }
    const int kind = frame[protocol::frame_byte::Kind];
    const int64_t now = Now();

    if (c->seat < 0) {
        if (kind == protocol::CmdLogin && proto::LoginKey(frame) == kWatchKey) {
            c->seat = table_.Watch(now);
            ConnectionOf(c->seat) = c;
        } else if (kind == protocol::CmdLogin) {
            const Table::LoginResult r = table_.Login(proto::LoginName(frame), now);
            if (r.seat < 0) {
                Trace(QStringLiteral("OUT seat=- ") + QString::fromStdString(proto::Describe(r.refusal, false)));
                c->socket->write(reinterpret_cast<const char*>(r.refusal.data()), protocol::kFrameSize);
                CloseAfterWrite(c);
                return;
            }
            c->seat = r.seat;
            seatConnection_[static_cast<std::size_t>(r.seat)] = c;
        } else if (kind == protocol::CmdReconnect) {
            const int seat = table_.Reconnect(proto::ReconnectIdOf(frame), proto::TokenOf(frame), now);
            if (seat < 0) {
                const protocol::GameFrame reply = proto::ReconnectReply(false);
                Trace(QStringLiteral("OUT seat=- ") + QString::fromStdString(proto::Describe(reply, false)));
                c->socket->write(reinterpret_cast<const char*>(reply.data()), protocol::kFrameSize);
                CloseAfterWrite(c);
                return;
            }
            // A connection that still holds the seat is an old one the
            // client has given up on.
            if (Connection* old = seatConnection_[static_cast<std::size_t>(seat)]; old && old != c) {
                old->seat = -1;
                Drop(old, QStringLiteral("replaced by a reconnect"));
            }
            c->seat = seat;
            seatConnection_[static_cast<std::size_t>(seat)] = c;
        } else {
            Drop(c, QStringLiteral("first frame is no login"));
            return;
        }
        table_.Advance(now);
        return;
    }

    if (kind == protocol::CmdLogin || kind == protocol::CmdReconnect) {
        Trace(QStringLiteral("NOTE seat=%1 ignored: already logged in").arg(c->seat));
        return;
    }
    if (Table::IsWatcher(c->seat)) {
        // A spectator only watches; its leave frame ends the watching.
        if (proto::IsLeave(frame)) {
            table_.WatcherGone(c->seat);
            ConnectionOf(c->seat) = nullptr;
            c->seat = -1;
            CloseAfterWrite(c);
        }
        return;
    }
    table_.ClientFrame(c->seat, frame, now);
    if (proto::IsLeave(frame)) {
        // The seat is no longer this client's; it closes its end itself.
        seatConnection_[static_cast<std::size_t>(c->seat)] = nullptr;
        c->seat = -1;
        CloseAfterWrite(c);
    }
    table_.Advance(now);
}

TableServer::Connection*& TableServer::ConnectionOf(int number)
{
    if (!Table::IsWatcher(number))
        return seatConnection_[static_cast<std::size_t>(number & 3)];
    const auto k = static_cast<std::size_t>(number - Table::kFirstWatcher);
    if (k >= watcherConnection_.size())
        watcherConnection_.resize(k + 1, nullptr);
    return watcherConnection_[k];
}

void TableServer::Drop(Connection* c, const QString& why)
{
    if (c->dropped)
        return;
    Trace(QStringLiteral("NOTE seat=%1 dropped: %2").arg(SeatLabel(c->seat), why));
    c->dropped = true;
    const int seat = c->seat;
    c->seat = -1;
    if (seat >= 0 && ConnectionOf(seat) == c) {
        ConnectionOf(seat) = nullptr;
        if (Table::IsWatcher(seat))
            table_.WatcherGone(seat);
        else
            table_.ConnectionLost(seat, Now());
    }
    c->socket->abort();
}

void TableServer::CloseAfterWrite(Connection* c)
{
    c->dropped = true;
    c->socket->disconnectFromHost();
}

void TableServer::OnDisconnected(Connection* c)
{
    if (c->closed)
        return;
    c->closed = true;
    if (!c->buffer.isEmpty())
        Trace(QStringLiteral("NOTE seat=%1 discarded %2 bytes of an unfinished frame")
                  .arg(SeatLabel(c->seat))
                  .arg(c->buffer.size()));
    const int seat = c->seat;
    if (seat >= 0 && ConnectionOf(seat) == c) {
        Trace(QStringLiteral("NOTE seat=%1 disconnected").arg(seat));
        ConnectionOf(seat) = nullptr;
        if (Table::IsWatcher(seat))
            table_.WatcherGone(seat);
        else
            table_.ConnectionLost(seat, Now());
    }
    c->seat = -1;
    c->dropped = true;
    // The record may still be in use further up the stack (abort() reports
    // the disconnection at once): it goes at the next turn of the event loop.
    QMetaObject::invokeMethod(this, &TableServer::Sweep, Qt::QueuedConnection);
}

void TableServer::Sweep()
{
    for (auto it = connections_.begin(); it != connections_.end();) {
        if ((*it)->closed) {
            (*it)->socket->disconnect(this);
            (*it)->socket->deleteLater();
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
    Flush();
}

void TableServer::Flush()
{
    // Frames and notes in the order the table made them.
    std::vector<Note> notes = table_.TakeNotes();
    std::vector<Outgoing> frames = table_.TakeOutgoing();
    std::size_t n = 0;
    for (const Outgoing& o : frames) {
        for (; n < notes.size() && notes[n].order < o.order; ++n)
            Trace(QStringLiteral("NOTE seat=%1 %2").arg(SeatLabel(notes[n].seat), QString::fromStdString(notes[n].text)));
        Connection* c = ConnectionOf(o.seat);
        if (!c || c->dropped)
            continue;
        Trace(QStringLiteral("OUT seat=%1 ").arg(o.seat) + QString::fromStdString(proto::Describe(o.frame, false)));
        c->socket->write(reinterpret_cast<const char*>(o.frame.data()), protocol::kFrameSize);
    }
    for (; n < notes.size(); ++n)
        Trace(QStringLiteral("NOTE seat=%1 %2").arg(SeatLabel(notes[n].seat), QString::fromStdString(notes[n].text)));

    if (table_.Finished() && !finishing_) {
        finishing_ = true;
        timer_.stop();
        for (auto& c : connections_)
            if (!c->dropped)
                CloseAfterWrite(c.get());
        // Let the sockets write what they hold before the program ends.
        QTimer::singleShot(200, this, &TableServer::finished);
        return;
    }
    if (finishing_)
        return;
    if (const auto next = table_.NextDeadline())
        timer_.start(static_cast<int>(std::max<int64_t>(0, *next - Now())));
    else
        timer_.stop();
}

} // namespace tableserver
