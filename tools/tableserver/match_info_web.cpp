#include "match_info_web.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QTcpSocket>

namespace tableserver {

namespace {

// A request head longer than this is not one of ours.
constexpr int kMaxHead = 8192;

} // namespace

MatchInfoWeb::MatchInfoWeb(QString name, QByteArray document, QObject* parent)
    : QObject(parent), name_(std::move(name)), document_(std::move(document))
{
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            connect(s, &QTcpSocket::readyRead, this, [this, s] { OnReadyRead(s); });
            connect(s, &QTcpSocket::disconnected, this, [this, s] {
                pending_.remove(s);
                s->deleteLater();
            });
        }
    });
}

bool MatchInfoWeb::Listen(quint16 port) { return server_.listen(QHostAddress::LocalHost, port); }

QString MatchInfoWeb::Url() const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(Port()).arg(name_); }

QString MatchInfoWeb::Md5() const
{
    return QString::fromLatin1(QCryptographicHash::hash(document_, QCryptographicHash::Md5).toHex());
}

void MatchInfoWeb::OnReadyRead(QTcpSocket* socket)
{
    QByteArray& head = pending_[socket];
    head += socket->readAll();
    const qsizetype end = head.indexOf("\r\n\r\n");
    if (end < 0) {
        if (head.size() > kMaxHead)
            Answer(socket, "400 Bad Request", QByteArray());
        return;
    }
    const QList<QByteArray> request = head.left(head.indexOf("\r\n")).split(' ');
    const QByteArray method = request.value(0);
    const QByteArray path = request.value(1);
    if (log_)
        log_(QStringLiteral("http %1 %2").arg(QString::fromLatin1(method), QString::fromLatin1(path.left(200))));
    if (method != "GET")
        Answer(socket, "405 Method Not Allowed", QByteArray());
    else if (path != "/" + name_.toUtf8())
        Answer(socket, "404 Not Found", QByteArray());
    else
        Answer(socket, "200 OK", document_);
}

void MatchInfoWeb::Answer(QTcpSocket* socket, const QByteArray& status, const QByteArray& body)
{
    pending_.remove(socket);
    socket->disconnect(this);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QByteArray reply = "HTTP/1.1 " + status + "\r\nContent-Type: text/xml\r\nContent-Length: " +
                       QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    socket->write(reply);
    socket->disconnectFromHost();
}

} // namespace tableserver
