#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <functional>

class QTcpSocket;

namespace tableserver {

// A very small web server on 127.0.0.1 that serves one document: GET of
// "/<name>" answers 200 with its bytes, any other path 404, any other
// method 405. One request per connection; the connection closes after it.
class MatchInfoWeb : public QObject {
    Q_OBJECT
public:
    MatchInfoWeb(QString name, QByteArray document, QObject* parent = nullptr);

    bool Listen(quint16 port = 0);
    quint16 Port() const { return server_.serverPort(); }
    // The document's address and MD5 (lower-case hex).
    QString Url() const;
    QString Md5() const;

    // Where a line per request goes.
    void SetLog(std::function<void(const QString&)> log) { log_ = std::move(log); }

private:
    void OnReadyRead(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const QByteArray& status, const QByteArray& body);

    QString name_;
    QByteArray document_;
    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
    std::function<void(const QString&)> log_;
};

} // namespace tableserver
