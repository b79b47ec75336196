#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace servicehost {

// The customer-service desk: takes one client datagram at a time and gives
// the datagrams that answer it. A message is echoed at once and answered by
// a reply that waits until the client fetches it; a reply stays waiting
// until the client acknowledges it. Every account meets a welcome reply on
// its first contact (none when the welcome text is empty).
class ServiceDesk {
public:
    explicit ServiceDesk(QString welcome = QString());

    // The answers to one datagram; `notes` gets a line on what happened.
    QList<QByteArray> Handle(const QByteArray& datagram, QStringList& notes);

    // Replies waiting for an account (GBK bytes, as in the datagrams).
    int Waiting(const QByteArray& account) const;

    // What the echo of a message says before the client adds "留言如下:".
    static QString EchoText();
    // The reply that answers a message.
    static QString ReplyTo(const QString& message);

private:
    struct Reply {
        uint32_t id;
        QString text;
    };
    QList<Reply>& Queue(const QByteArray& account);

    QString welcome_;
    QHash<QByteArray, QList<Reply>> waiting_;
    uint32_t nextId_ = 1;
};

} // namespace servicehost
